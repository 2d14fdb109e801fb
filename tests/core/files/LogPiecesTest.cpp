// Logs larger than the pieces the readers and writers decode at a time: whatever the line
// ends, bad lines and where the piece borders fall, every reader and writer must give what a
// plain line-by-line reading of the file gives.

#include "tests/core/CoreTestHelpers.h"

#include "core/edits/DiarySave.h"
#include "core/files/DataLog.h"
#include "core/files/FileNames.h"
#include "core/files/TextLines.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

using namespace puka;

namespace {

const QString kLog = files::kData;

// What readLog must give: each line as splitLines() cuts it, decoded on its own.
struct Reference {
    std::vector<WeightRecord> records;
    std::vector<int> skipped;
};

Reference readLineByLine(const QByteArray& bytes, bool utf8) {
    Reference ref;
    const std::vector<QByteArray> lines = splitLines(bytes);
    for (size_t i = 0; i < lines.size(); ++i) {
        const std::optional<QString> text =
            utf8 ? std::optional<QString>(cp932::decodeUtf8(lines[i])) : cp932::decode(lines[i]);
        if (text && text->trimmed().isEmpty())
            continue;
        const auto record = text ? datalog::parseLine(*text) : std::nullopt;
        if (record)
            ref.records.push_back(*record);
        else
            ref.skipped.push_back(static_cast<int>(i) + 1);
    }
    return ref;
}

// The log after inserting @p line: before the first record of a later date, every line
// ended by CR LF.
QByteArray insertedLineByLine(const QByteArray& bytes, const WeightRecord& inserted) {
    QByteArray out;
    bool done = false;
    const QByteArray line = cp932::encode(datalog::formatLine(inserted)).value() + "\r\n";
    for (const QByteArray& raw : splitLines(bytes)) {
        const auto text = cp932::decode(raw);
        const auto record = text ? datalog::parseLine(*text) : std::nullopt;
        if (!done && record && record->date > inserted.date) {
            out += line;
            done = true;
        }
        out += raw + "\r\n";
    }
    return done ? out : out + line;
}

// The log after a rewrite: the lines whose record the rule changes in the standard form.
QByteArray rewrittenLineByLine(const QByteArray& bytes, const datalog::RecordRule& rule) {
    QByteArray out;
    for (const QByteArray& raw : splitLines(bytes)) {
        const auto text = cp932::decode(raw);
        auto record = text ? datalog::parseLine(*text) : std::nullopt;
        if (record && rule(*record))
            out += cp932::encode(datalog::formatLine(*record)).value() + "\r\n";
        else
            out += raw + "\r\n";
    }
    return out;
}

struct Lines {
    std::vector<QByteArray> lines; // without line ends
    QDate last;
};

// About @p count lines of a log from 2005 on: mostly records, with blank lines, lines that
// are no measurement and lines that do not decode among them.
Lines randomLines(std::mt19937& rng, int count) {
    const QStringList situations = {QStringLiteral("起床後"), QStringLiteral("朝食後"), QStringLiteral("夕食後"),
                                    QStringLiteral("入浴前"), QStringLiteral("就寝前")};
    const QStringList comments = {QString(), QString(), QStringLiteral("ケーキ～①"), QStringLiteral("髙橋さんと散歩"),
                                  QStringLiteral("07:15:00")};
    std::uniform_int_distribution<int> pick(0, 99);
    Lines out;
    QDate day(2005, 1, 1);
    for (int i = 0; i < count; ++i) {
        const int kind = pick(rng);
        if (kind < 3) {
            out.lines.push_back(QByteArray());
        } else if (kind < 5) {
            out.lines.push_back(test::sjis(QStringLiteral(R"("%1","朝",75.1,"")").arg(day.toString(u"yyyy/MM/dd"))));
        } else if (kind < 7) {
            out.lines.push_back("\"" + day.toString(u"yyyy/MM/dd").toLatin1() + "\",\"\x82\",75,\"\",22,\"\"");
        } else {
            if (kind % 3 == 0)
                day = day.addDays(1 + pick(rng) % 3);
            const QString line = QStringLiteral(R"("%1","%2",%3,"%4",%5,"")")
                                     .arg(day.toString(u"yyyy/MM/dd"), situations[pick(rng) % situations.size()])
                                     .arg(60 + pick(rng) / 10.0)
                                     .arg(comments[pick(rng) % comments.size()])
                                     .arg(20 + pick(rng) / 20.0);
            out.lines.push_back(test::sjis(line));
        }
    }
    out.last = day;
    return out;
}

// The lines joined with line ends chosen at random among CR LF, LF and CR; the last line
// sometimes has none.
QByteArray joinMixed(std::mt19937& rng, const std::vector<QByteArray>& lines) {
    static const QByteArray ends[] = {"\r\n", "\r\n", "\n", "\r"};
    std::uniform_int_distribution<int> pick(0, 3);
    QByteArray out;
    for (size_t i = 0; i < lines.size(); ++i) {
        out += lines[i];
        if (i + 1 < lines.size() || pick(rng) != 0)
            out += ends[pick(rng)];
    }
    return out;
}

void expectSameReading(const QByteArray& bytes, bool utf8, const QString& what) {
    test::WorkDir dir;
    dir.write(kLog, bytes);
    const Reference ref = readLineByLine(bytes, utf8);
    const LogContents log = datalog::readLog(dir.path());
    ASSERT_EQ(log.utf8, utf8) << what.toStdString();
    ASSERT_EQ(log.records.size(), ref.records.size()) << what.toStdString();
    for (size_t i = 0; i < ref.records.size(); ++i)
        ASSERT_EQ(log.records[i], ref.records[i]) << what.toStdString() << " record " << i;
    // every skipped line is counted; the first ones keep their line numbers
    EXPECT_EQ(log.skippedCount, static_cast<qint64>(ref.skipped.size())) << what.toStdString();
    std::vector<int> skipped;
    for (const SkippedLine& s : log.skipped)
        skipped.push_back(static_cast<int>(s.lineNumber));
    const size_t kept = std::min(ref.skipped.size(), LogContents::kMaxSkippedKept);
    EXPECT_EQ(skipped, std::vector<int>(ref.skipped.begin(), ref.skipped.begin() + static_cast<long>(kept)))
        << what.toStdString();
}

void expectSameWrites(const QByteArray& bytes, const QDate& middle, const QString& what) {
    test::WorkDir dir;
    const WeightRecord inserted = test::record(middle.toString(u"yyyy/MM/dd"), QStringLiteral("昼食前"), 70.2f);
    dir.write(kLog, bytes);
    ASSERT_TRUE(datalog::insertRecord(dir.path(), inserted));
    EXPECT_EQ(dir.read(kLog), insertedLineByLine(bytes, inserted)) << what.toStdString();

    const datalog::RecordRule rule = [](WeightRecord& r) {
        if (r.situation != QStringLiteral("夕食後"))
            return false;
        r.situation = QStringLiteral("晩ごはんの後");
        return true;
    };
    dir.write(kLog, bytes);
    int changed = 0;
    ASSERT_TRUE(datalog::rewriteLog(dir.path(), rule, &changed));
    const QByteArray expected = rewrittenLineByLine(bytes, rule);
    EXPECT_EQ(dir.read(kLog), expected) << what.toStdString();
    EXPECT_GT(changed, 0);
    EXPECT_EQ(dir.files(), QStringList{kLog});
}

} // namespace

TEST(LogPieces, RandomLogsReadAndRewriteAsLineByLine) {
    for (unsigned seed = 1; seed <= 4; ++seed) {
        std::mt19937 rng(seed);
        const Lines lines = randomLines(rng, 8000); // about 340 KB: several pieces
        const QByteArray bytes = joinMixed(rng, lines.lines);
        ASSERT_GT(bytes.size(), 4 * 64 * 1024);
        const QString what = QStringLiteral("seed %1").arg(seed);
        expectSameReading(bytes, false, what);
        expectSameWrites(bytes, lines.last.addDays(-700), what);
        // the same lines saved as UTF-8 by another editor, with a BOM
        QByteArray utf8 = "\xEF\xBB\xBF";
        for (const QByteArray& line : lines.lines)
            utf8 += (cp932::decode(line) ? cp932::decode(line)->toUtf8() : line) + "\r\n";
        expectSameReading(utf8, true, what + QStringLiteral(" (UTF-8)"));
    }
}

// Lines of one length, shifted by every offset: a piece border falls inside every position of
// a line once, between the CR and the LF of a line end among them.
TEST(LogPieces, EveryBorderPositionWithinALine) {
    const QByteArray record = test::sjis(QStringLiteral(R"("2010/05/01","夕食後",65.5,"ケーキ",21.5,"")"));
    const qsizetype length = record.size() + 2;
    for (qsizetype shift = 0; shift < length; ++shift) {
        QByteArray bytes = test::sjis(QStringLiteral(R"("2010/04/30","起床後",66,"%1",22,"")")
                                          .arg(QString(static_cast<int>(shift), QLatin1Char('x')))) +
                           "\r\n";
        while (bytes.size() < 64 * 1024 + 4 * length)
            bytes += record + "\r\n";
        // a line that does not decode just after the border
        bytes += "\"2010/05/01\",\"\x82\",75,\"\",22,\"\"\r\n" +
                 test::sjis(QStringLiteral(R"("2010/05/02","起床後",65,"",22,"")"));
        const QString what = QStringLiteral("shift %1").arg(shift);
        expectSameReading(bytes, false, what);
        expectSameWrites(bytes, QDate(2010, 5, 1), what);
    }
}

// The diary save reads the log once: the check that the log is still the one shown comes
// from the same reading as the rewrite.
TEST(LogPieces, DiarySaveOnALargeLogRefusesAChangedLogAndWritesTheChosenRow) {
    std::mt19937 rng(7);
    const Lines lines = randomLines(rng, 3000);
    QByteArray bytes;
    for (const QByteArray& line : lines.lines)
        bytes += line + "\r\n";
    test::WorkDir dir;
    dir.write(kLog, bytes);
    const std::vector<WeightRecord> shown = datalog::readLog(dir.path()).records;
    const int row = static_cast<int>(shown.size()) - 5;

    // a record added since the grid was shown
    ASSERT_TRUE(
        datalog::appendRecord(dir.path(), test::record(QStringLiteral("2030/01/01"), QStringLiteral("朝"), 70)));
    const QByteArray grown = dir.read(kLog);
    const Status stale = diary::saveComment(dir.path(), shown, row, QStringLiteral("おつかれさま"));
    EXPECT_FALSE(stale.ok());
    EXPECT_TRUE(stale.message().contains(QStringLiteral("変わっています"))) << stale.message().toStdString();
    EXPECT_EQ(dir.read(kLog), grown);

    dir.write(kLog, bytes);
    ASSERT_TRUE(diary::saveComment(dir.path(), shown, row, QStringLiteral("おつかれさま")));
    const std::vector<WeightRecord> after = datalog::readLog(dir.path()).records;
    ASSERT_EQ(after.size(), shown.size());
    for (size_t i = 0; i < shown.size(); ++i) {
        WeightRecord expected = shown[i];
        expected.spare.clear();
        if (static_cast<int>(i) == row - 1)
            expected.comment = QStringLiteral("おつかれさま");
        ASSERT_EQ(after[i], expected) << i;
    }
}

// The reader takes the file a block of 256 KB at a time: a line (and a CR LF) cut by a block
// border, and logs that start as plain ASCII for more than a block (read whole, since only all
// of them can tell UTF-8 from code page 932), read as line by line.
TEST(LogPieces, BlockBordersAndLogsThatStartAsAscii) {
    constexpr qsizetype kBlock = 256 * 1024;
    const QByteArray ascii = R"("2010/05/01","07:15:00",65.5,"",21.5,"")";
    const QByteArray kanji = test::sjis(QStringLiteral(R"("2010/05/02","夕食後",65.5,"ケーキ",21.5,"")"));
    for (qsizetype shift : {qsizetype(0), qsizetype(1), qsizetype(17), ascii.size(), ascii.size() + 1}) {
        QByteArray bytes = kanji + "\r\n" + QByteArray(shift, 'x') + "\r\n";
        while (bytes.size() < 2 * kBlock + 4 * kanji.size())
            bytes += kanji + "\r\n";
        bytes += "\"2010/05/03\",\"\x82\",75,\"\",22,\"\"\r\n" + kanji;
        expectSameReading(bytes, false, QStringLiteral("shift %1").arg(shift));
    }
    QByteArray plain;
    while (plain.size() < kBlock + 100)
        plain += ascii + "\r\n";
    expectSameReading(plain + kanji + "\r\n", false, QStringLiteral("ASCII, then code page 932"));
    expectSameReading(plain + QStringLiteral(R"("2010/05/02","夕食後",65,"",21,"")").toUtf8(), true,
                      QStringLiteral("ASCII, then UTF-8"));
}
