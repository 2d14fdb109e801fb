// Reading the tables other programs write: encodings, separators, headers, units, and the rows
// that must be refused with their line numbers.
#include "tests/core/CoreTestHelpers.h"

#include "core/base/NumberFormat.h"
#include "core/files/CsvImport.h"

#include <QtEndian>

#include <gtest/gtest.h>

using namespace puka;
using csvimport::Encoding;
using csvimport::Options;
using csvimport::Table;
using csvimport::Unit;

namespace {

// A row as "date|situation|weight|body fat|comment", the numbers in their stored text.
QString rowText(const csvimport::Row& row) {
    const WeightRecord r = row.record();
    return QStringList{r.date, r.situation, shortestText(r.weight), shortestText(r.bodyFat), r.comment}.join(u'|');
}

QStringList rowTexts(const Table& table) {
    QStringList out;
    for (const csvimport::Row& row : table.rows)
        out << rowText(row);
    return out;
}

QByteArray utf16(const QString& text, bool littleEndian, bool byteOrderMark) {
    QByteArray out;
    const QString all = byteOrderMark ? QChar(0xFEFF) + text : text;
    for (const QChar c : all) {
        uchar unit[2];
        if (littleEndian)
            qToLittleEndian<quint16>(c.unicode(), unit);
        else
            qToBigEndian<quint16>(c.unicode(), unit);
        out.append(reinterpret_cast<const char*>(unit), 2);
    }
    return out;
}

Table readUtf8(const QString& text, const Options& options = Options()) {
    return csvimport::read(text.toUtf8(), options);
}

// The line numbers and reasons of the refused rows, as "line: reason".
QStringList refusals(const Table& table) {
    QStringList out;
    for (const csvimport::RefusedRow& r : table.refused)
        out << QStringLiteral("%1: %2").arg(r.lineNumber).arg(r.reason);
    return out;
}

Options tokyo() {
    Options o;
    o.zone = QTimeZone(9 * 3600);
    return o;
}

} // namespace

TEST(CsvImport, EachEncodingIsDetected) {
    const QString text = QStringLiteral("日付,体重(kg),体脂肪率(%),メモ\r\n2020/01/05,65.3,22.1,朝食後 ～①\r\n");
    const std::pair<QByteArray, Encoding> cases[] = {
        {text.toUtf8(), Encoding::Utf8},
        {QByteArray("\xEF\xBB\xBF") + text.toUtf8(), Encoding::Utf8WithBom},
        {utf16(text, true, true), Encoding::Utf16LittleEndian},
        {utf16(text, false, true), Encoding::Utf16BigEndian},
        {utf16(text, true, false), Encoding::Utf16LittleEndian},
        {test::sjis(text), Encoding::Cp932},
    };
    for (const auto& [bytes, encoding] : cases) {
        const Table t = csvimport::read(bytes);
        ASSERT_TRUE(t.status) << qPrintable(t.status.message());
        EXPECT_EQ(t.encoding, encoding) << qPrintable(csvimport::encodingName(encoding));
        EXPECT_EQ(rowTexts(t), QStringList{QStringLiteral("2020/01/05|インポート|65.3|22.1|朝食後 ～①")})
            << qPrintable(csvimport::encodingName(encoding));
    }
}

TEST(CsvImport, SeparatorsAndQuotes) {
    // a quoted cell may hold separators and doubled quotes; the column after it stays in place
    const QStringList expected = {QStringLiteral("2020/01/05|朝|65.3|22|a,b;c"), QStringLiteral("2020/01/06|夜|65|0|")};
    const QString cases[] = {
        QStringLiteral("date,situation,weight,fat,note,extra\n2020-01-05,朝,65.3,22,\"a,b;c\",\"say \"\"hi\"\", ok\"\n"
                       "2020-01-06, 夜 ,65,,,\n"),
        QStringLiteral("date;situation;weight;fat;note;extra\n2020-01-05;朝;65,3;22;\"a,b;c\";\"say \"\"hi\"\"; ok\"\n"
                       "2020-01-06;\"夜\";65;;;\n"),
        QStringLiteral("date\tsituation\tweight\tfat\tnote\textra\n2020-01-05\t朝\t65.3\t22\ta,b;c\tsay \"hi\", ok\n"
                       "2020-01-06\t夜\t65\t\t\t\n"),
        // a spreadsheet's note of its separator, and quotes around every cell
        QStringLiteral("sep=;\n\"date\";\"situation\";\"weight\";\"fat\";\"note\";\"extra\"\n"
                       "\"2020-01-05\";\"朝\";\"65.3\";\"22\";\"a,b;c\";\"\"\"\"\n"
                       "\"2020-01-06\";\"夜\";\"65\";\"\";\"\";\"\"\n"),
    };
    const QChar separators[] = {QLatin1Char(','), QLatin1Char(';'), QLatin1Char('\t'), QLatin1Char(';')};
    for (int i = 0; i < 4; ++i) {
        const Table t = readUtf8(cases[i]);
        ASSERT_TRUE(t.status) << i << qPrintable(t.status.message());
        EXPECT_EQ(t.separator, separators[i]) << i;
        EXPECT_EQ(rowTexts(t), expected) << i << qPrintable(refusals(t).join(u'\n'));
        EXPECT_EQ(t.withoutBodyFat, 1) << i;
    }
}

TEST(CsvImport, HeadersInEitherLanguageWhateverTheirForm) {
    struct Case {
        QString header;
        QString date, weight, fat, situation, comment;
        csvimport::FatColumn fatColumn;
    };
    const Case cases[] = {
        {QStringLiteral("Date,Weight (kg),Body Fat (%),Situation,Note"), QStringLiteral("Date"),
         QStringLiteral("Weight (kg)"), QStringLiteral("Body Fat (%)"), QStringLiteral("Situation"),
         QStringLiteral("Note"), csvimport::FatColumn::Percentage},
        {QStringLiteral("DATE,WEIGHT_KG,FAT %,COMMENTS"), QStringLiteral("DATE"), QStringLiteral("WEIGHT_KG"),
         QStringLiteral("FAT %"), QString(), QStringLiteral("COMMENTS"), csvimport::FatColumn::Percentage},
        {QStringLiteral("日付,状況,体重(kg),体脂肪率(%),コメント"), QStringLiteral("日付"), QStringLiteral("体重(kg)"),
         QStringLiteral("体脂肪率(%)"), QStringLiteral("状況"), QStringLiteral("コメント"),
         csvimport::FatColumn::Percentage},
        {QStringLiteral("測定日時,体重（ｋｇ）,体脂肪量［kg］,行動,一言日記"), QStringLiteral("測定日時"),
         QStringLiteral("体重（ｋｇ）"), QStringLiteral("体脂肪量［kg］"), QStringLiteral("行動"),
         QStringLiteral("一言日記"), csvimport::FatColumn::Mass},
        {QStringLiteral("Ｄａｔｅ,BMI,Goal weight,Weight,Fat mass (kg),Memo"), QStringLiteral("Ｄａｔｅ"),
         QStringLiteral("Weight"), QStringLiteral("Fat mass (kg)"), QString(), QStringLiteral("Memo"),
         csvimport::FatColumn::Mass},
        {QStringLiteral("年月日,体重kg,体脂肪【%】,備考"), QStringLiteral("年月日"), QStringLiteral("体重kg"),
         QStringLiteral("体脂肪【%】"), QString(), QStringLiteral("備考"), csvimport::FatColumn::Percentage},
    };
    for (const Case& c : cases) {
        const Table t = readUtf8(c.header + QStringLiteral("\n"));
        ASSERT_TRUE(t.status) << qPrintable(c.header) << qPrintable(t.status.message());
        EXPECT_EQ(t.columns.date, c.date) << qPrintable(c.header);
        EXPECT_EQ(t.columns.weight, c.weight) << qPrintable(c.header);
        EXPECT_EQ(t.columns.bodyFat, c.fat) << qPrintable(c.header);
        EXPECT_EQ(t.columns.situation, c.situation) << qPrintable(c.header);
        EXPECT_EQ(t.columns.comment, c.comment) << qPrintable(c.header);
        EXPECT_EQ(t.fat, c.fatColumn) << qPrintable(c.header);
        EXPECT_TRUE(t.rows.empty());
    }
}

TEST(CsvImport, TrackerAndScaleExportsNeedNoOptions) {
    // preamble lines, a '#' header, '#' comments among the rows, newest first, times and zones
    const QString withComments = QStringLiteral("Weight export\r\n# exported 2020-02-01\r\n"
                                                "# Date,Weight (kg),Fat mass (kg),Comments\r\n"
                                                "\"2020-01-16 07:40:00\",\"70.00\",\"14.70\",\"\"\r\n"
                                                "# a note among the rows\r\n"
                                                "\"2020-01-15 21:05:03\",\"70.4\",\"\",\"after dinner\"\r\n");
    Table t = readUtf8(withComments, tokyo());
    ASSERT_TRUE(t.status) << qPrintable(t.status.message());
    EXPECT_EQ(rowTexts(t), (QStringList{QStringLiteral("2020/01/16|7:40:00|70|21|"),
                                        QStringLiteral("2020/01/15|21:05:03|70.4|0|after dinner")}));
    EXPECT_EQ(t.firstDate, QDate(2020, 1, 15));
    EXPECT_EQ(t.lastDate, QDate(2020, 1, 16));
    EXPECT_EQ(t.refusedCount, 0);

    // a Japanese scale app: separate date and time columns, weekday after the date
    t = readUtf8(QStringLiteral("測定日,測定時刻,体重(kg),体脂肪率(%)\n2020/1/5(日),午後7:05,65.35,22.4\n"
                                "2020年1月6日,6時30分,65.2,22.5\n"));
    EXPECT_EQ(rowTexts(t), (QStringList{QStringLiteral("2020/01/05|19:05:00|65.35|22.4|"),
                                        QStringLiteral("2020/01/06|6:30:00|65.2|22.5|")}))
        << qPrintable(refusals(t).join(u'\n'));

    // ISO 8601 with zones, taken into the user's zone (here +09:00), and the other date forms
    t = readUtf8(QStringLiteral("timestamp,weight\n2020-01-14T22:30:00Z,65\n2020-01-15T07:31:00.250+09:00,65.1\n"
                                "2020-01-15T00:32:00-0500,65.2\n2020.01.16,65.3\n20200117,65.4\n"
                                "2020-01-18 7:05 PM,65.5\n"),
                 tokyo());
    EXPECT_EQ(
        rowTexts(t),
        (QStringList{QStringLiteral("2020/01/15|7:30:00|65|0|"), QStringLiteral("2020/01/15|7:31:00|65.1|0|"),
                     QStringLiteral("2020/01/15|14:32:00|65.2|0|"), QStringLiteral("2020/01/16|インポート|65.3|0|"),
                     QStringLiteral("2020/01/17|インポート|65.4|0|"), QStringLiteral("2020/01/18|19:05:00|65.5|0|")}))
        << qPrintable(refusals(t).join(u'\n'));
    EXPECT_EQ(t.withoutBodyFat, 6);
}

TEST(CsvImport, SituationFromItsColumnTheCallerTheTimeOrTheDefault) {
    const QString text = QStringLiteral("date,time,weight,状況\n2020-01-05,7:05:03,65,朝食前\n"
                                        "2020-01-05,21:00,65.5,\n2020-01-06,,65.2,\n");
    EXPECT_EQ(rowTexts(readUtf8(text)),
              (QStringList{QStringLiteral("2020/01/05|朝食前|65|0|"), QStringLiteral("2020/01/05|21:00:00|65.5|0|"),
                           QStringLiteral("2020/01/06|インポート|65.2|0|")}));
    Options chosen;
    chosen.situation = QStringLiteral("体重計");
    EXPECT_EQ(rowTexts(readUtf8(text, chosen)),
              (QStringList{QStringLiteral("2020/01/05|朝食前|65|0|"), QStringLiteral("2020/01/05|体重計|65.5|0|"),
                           QStringLiteral("2020/01/06|体重計|65.2|0|")}));
    chosen.situation = QStringLiteral("朝\"食");
    const Table refused = readUtf8(text, chosen);
    EXPECT_FALSE(refused.status);
    EXPECT_TRUE(refused.status.message().contains(QStringLiteral("状況に半角の「\"」は使えません")));
}

TEST(CsvImport, PoundsBecomeKilogramsToTheHundredth) {
    // the unit from the header, from the caller, and from a cell
    Table t = readUtf8(QStringLiteral("Date,Weight (lb),Fat mass (lb)\n2020-01-05,180.4,36.08\n"
                                      "2020-01-06,180.5,\n2020-01-07,100,\n"));
    EXPECT_EQ(rowTexts(t), (QStringList{QStringLiteral("2020/01/05|インポート|81.83|20|"),
                                        QStringLiteral("2020/01/06|インポート|81.87|0|"),
                                        QStringLiteral("2020/01/07|インポート|45.36|0|")}));
    EXPECT_TRUE(t.pounds);
    EXPECT_FALSE(t.kilograms);

    Options pounds;
    pounds.unit = Unit::Pound;
    t = readUtf8(QStringLiteral("Date,Weight,Fat\n2020-01-05,150,25\n"), pounds);
    EXPECT_EQ(rowTexts(t), QStringList{QStringLiteral("2020/01/05|インポート|68.04|25|")});

    t = readUtf8(QStringLiteral("Date,Weight,Fat\n2020-01-05,68 kg,25\n2020-01-06,150 lbs,25 %\n"));
    EXPECT_EQ(rowTexts(t), (QStringList{QStringLiteral("2020/01/05|インポート|68|25|"),
                                        QStringLiteral("2020/01/06|インポート|68.04|25|")}));
    EXPECT_TRUE(t.pounds && t.kilograms);
    EXPECT_TRUE(t.findings().join(u'\n').contains(QStringLiteral("kg と lb が混ざっています")));
}

TEST(CsvImport, FatMassBecomesAPercentageOfTheRowsWeight) {
    const Table t = readUtf8(QStringLiteral("Date,Weight (kg),Fat mass (kg)\n2020-01-05,76,15.2\n"
                                            "2020-01-06,75.3,15.23\n2020-01-07,60,60.1\n2020-01-08,60,-1\n"));
    EXPECT_EQ(rowTexts(t), (QStringList{QStringLiteral("2020/01/05|インポート|76|20|"),
                                        QStringLiteral("2020/01/06|インポート|75.3|20.2|")}));
    EXPECT_EQ(refusals(t), (QStringList{QStringLiteral("4: 体脂肪量「60.1」: 体重より多くなっています"),
                                        QStringLiteral("5: 体脂肪量「-1」: ０未満が入力されています")}));
}

TEST(CsvImport, RefusedRowsKeepTheirLineNumbersAndReasons) {
    const QString text = QStringLiteral("日付,体重,体脂肪率,メモ\r\n"
                                        "2020/02/30,65,20,\r\n"                   // 2
                                        "1899/12/31,65,20,\r\n"                   // 3
                                        "2100/01/01,65,20,\r\n"                   // 4
                                        "2020/01/05,-1,20,\r\n"                   // 5
                                        "2020/01/05,999,20,\r\n"                  // 6
                                        "2020/01/05,abc,20,\r\n"                  // 7
                                        "2020/01/05,,20,\r\n"                     // 8
                                        "2020/01/05,65,-0.5,\r\n"                 // 9
                                        "2020/01/05,65,101,\r\n"                  // 10
                                        "2020/01/05,65,20,\"say \"\"hi\"\"\"\r\n" // 11
                                        "2020/01/05,65,20,😀\r\n"                  // 12
                                        "2020/01/05,65,20\r\n"                    // 13
                                        "2020/01/05,65,20,a,b\r\n"                // 14
                                        "05/01/2020,65,20,\r\n"                   // 15
                                        "2020/01/05 25:00,65,20,\r\n"             // 16
                                        "2020/01/05,998.9,0,two\r\n"              // 17
                                        "lines\"\r\n" // 18: a quote inside a cell opens nothing
                                        "2020/01/06,65,20,\"first\r\nsecond\"\r\n" // 19-20
                                        "2020/01/07,65,20,ok,,\r\n"             // 21: empty cells after the last column
                                        "2020/01/08,65,20,\"never closed\r\n"); // 22
    const Table t = readUtf8(text);
    ASSERT_TRUE(t.status) << qPrintable(t.status.message());
    EXPECT_EQ(rowTexts(t), (QStringList{QStringLiteral("2020/01/05|インポート|998.9|0|two"),
                                        QStringLiteral("2020/01/07|インポート|65|20|ok")}));
    const QStringList expected = {
        QStringLiteral("2: 日付「2020/02/30」はありえない日付です"),
        QStringLiteral("3: 日付「1899/12/31」は 1900/01/01～2099/12/31 の範囲外です"),
        QStringLiteral("4: 日付「2100/01/01」は 1900/01/01～2099/12/31 の範囲外です"),
        QStringLiteral("5: 体重「-1」: ０以下が入力されています"),
        QStringLiteral("6: 体重「999」: ９９９以上は入力できません"),
        QStringLiteral("7: 体重「abc」: 数値を入力してください"),
        QStringLiteral("8: 体重が入力されていません"),
        QStringLiteral("9: 体脂肪率「-0.5」: ０未満が入力されています"),
        QStringLiteral("10: 体脂肪率「101」: 100％を超えています"),
        QStringLiteral("11: 一言日記に半角の「\"」は使えません。 全角の「”」などに置き換えてください。"),
        QStringLiteral("12: 「😀」はこのソフトのファイル（Shift_JIS）に保存できない文字です。 "
                       "別の文字に置き換えてください。"),
        QStringLiteral("13: 項目が足りません（見出しは 4 項目、この行は 3 項目）"),
        QStringLiteral("14: 項目が多すぎます（見出しは 4 項目、この行は 5 項目）"),
        QStringLiteral("15: 日付「05/01/2020」が読めません（2020/01/31、2020-01-31 などの形で書いてください）"),
        QStringLiteral("16: 日付「2020/01/05 25:00」の時刻が読めません"),
        QStringLiteral("18: 項目が足りません（見出しは 4 項目、この行は 1 項目）"),
        QStringLiteral("19: 一言日記に改行は使えません。"),
        QStringLiteral("22: 引用符（\"）が閉じていません"),
    };
    EXPECT_EQ(refusals(t), expected);
    EXPECT_EQ(t.refusedCount, expected.size());
}

TEST(CsvImport, FilesWithoutATableSayWhy) {
    const std::pair<QByteArray, QString> cases[] = {
        {QByteArray(), QStringLiteral("ファイルが空です")},
        {QByteArray("\xEF\xBB\xBF \r\n\r\n"), QStringLiteral("ファイルが空です")},
        {QByteArray("2020-01-05,65.3\n2020-01-06,65.1\n"), QStringLiteral("取り込める表が見つかりません")},
        {QStringLiteral("日付,BMI\n2020-01-05,22\n").toUtf8(),
         QStringLiteral("体重の列が見つかりません（日付の列「日付」はあります）")},
        {QStringLiteral("Day of week,Weight\nMon,65\n").toUtf8(), QStringLiteral("日付の列が見つかりません")},
        {QByteArray("PK\x03\x04\x14\x00\x06\x00", 8), QStringLiteral("Excel")},
        {QByteArray::fromHex("fffe000044000000"), QStringLiteral("UTF-32")},
        {QByteArray("\x00\x01\x02\xFF\xFE\xFD garbage", 15), QStringLiteral("取り込める表が見つかりません")},
    };
    for (const auto& [bytes, message] : cases) {
        const Table t = csvimport::read(bytes);
        EXPECT_FALSE(t.status) << bytes.toHex().toStdString();
        EXPECT_TRUE(t.status.message().contains(message)) << qPrintable(t.status.message());
        EXPECT_TRUE(t.rows.empty());
        EXPECT_EQ(t.findings(), QStringList{t.status.message()});
    }
}

TEST(CsvImport, ALogOfThisProgramReadsWithoutAHeader) {
    const QByteArray log = test::crlfLines({QStringLiteral(R"("2003/07/25","はじめの一歩",75.5,"",22.3,"")"),
                                            QStringLiteral(R"("2003/07/26","夕食後, 外食",75.1,"9:05:03",22.6,"")"),
                                            QStringLiteral(R"("2003/07/27","起床後",74.9,"",,"")")});
    const Table t = csvimport::read(log);
    ASSERT_TRUE(t.status) << qPrintable(t.status.message());
    EXPECT_TRUE(t.columns.logFormat);
    EXPECT_EQ(t.encoding, Encoding::Cp932);
    EXPECT_EQ(rowTexts(t), (QStringList{QStringLiteral("2003/07/25|はじめの一歩|75.5|22.3|"),
                                        QStringLiteral("2003/07/26|夕食後, 外食|75.1|22.6|9:05:03"),
                                        QStringLiteral("2003/07/27|起床後|74.9|0|")}));
}

TEST(CsvImport, UnreadableAndOverlongLinesAreRefusedAndReadingGoesOn) {
    QByteArray bytes = test::sjis(QStringLiteral("日付,体重\r\n2020/01/05,65\r\n"));
    bytes += "2020/01/06,\x82\r\n";                                 // 3: a lead byte without its trail byte
    bytes += "2020/01/07," + QByteArray(1100 * 1000, '6') + "\r\n"; // 4: longer than any row
    bytes += "2020/01/08,65.5\r\n";
    for (int i = 0; i < 150; ++i) // rows 6 to 155 refused: only the first reasons are kept
        bytes += "x,1\r\n";
    const Table t = csvimport::read(bytes);
    ASSERT_TRUE(t.status) << qPrintable(t.status.message());
    EXPECT_EQ(t.encoding, Encoding::Cp932);
    EXPECT_EQ(rowTexts(t), (QStringList{QStringLiteral("2020/01/05|インポート|65|0|"),
                                        QStringLiteral("2020/01/08|インポート|65.5|0|")}));
    ASSERT_EQ(t.refused.size(), size_t(csvimport::kKeptRefusals));
    EXPECT_EQ(t.refusedCount, 152);
    EXPECT_EQ(
        refusals(t).mid(0, 3),
        (QStringList{QStringLiteral("3: Shift_JIS（CP932） として読めない文字があります"),
                     QStringLiteral("4: 行が長すぎます（1 MB を超えています）"),
                     QStringLiteral("6: 日付「x」が読めません（2020/01/31、2020-01-31 などの形で書いてください）")}));
    EXPECT_EQ(t.refused.back().lineNumber, 103);
    EXPECT_TRUE(t.findings().join(u'\n').contains(QStringLiteral("ほか 52 行")));
}

TEST(CsvImport, AFileOfMoreMeasurementsThanTheLimitIsRefusedWhole) {
    Options limited;
    limited.rowLimit = 3;
    const QString rows = QStringLiteral("date,weight\n2020-01-01,65\nbad,65\n2020-01-02,65\n2020-01-03,65\n");
    EXPECT_EQ(readUtf8(rows, limited).rows.size(), size_t(3));
    const Table t = readUtf8(rows + QStringLiteral("2020-01-04,65\n"), limited);
    EXPECT_FALSE(t.status);
    EXPECT_TRUE(t.rows.empty());
    EXPECT_TRUE(t.status.message().contains(QStringLiteral("6 行目で 3 行を超えました")))
        << qPrintable(t.status.message());
}
