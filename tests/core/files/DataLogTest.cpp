#include "tests/core/CoreTestHelpers.h"

#include "core/files/DataLog.h"
#include "core/files/FileNames.h"

#include <gtest/gtest.h>

using namespace puka;
using test::crlfLines;
using test::record;

namespace {

const QString kLog = files::kData;

const QString kStart = QStringLiteral(R"("2003/07/25","はじめの一歩",75.5,"",22.3,"")");
const QString kDay26a = QStringLiteral(R"("2003/07/26","起床後",75.1,"",22.6,"")");
const QString kDay26b = QStringLiteral(R"("2003/07/26","夕食後",76,"",22.4,"")");
const QString kDay28 = QStringLiteral(R"("2003/07/28","起床後",74.8,"",22.2,"")");

std::vector<QString> dates(const LogContents& log) {
    std::vector<QString> out;
    for (const WeightRecord& r : log.records)
        out.push_back(r.date + QLatin1Char(' ') + r.situation);
    return out;
}

std::vector<int> skippedLineNumbers(const LogContents& log) {
    std::vector<int> out;
    for (const SkippedLine& s : log.skipped)
        out.push_back(static_cast<int>(s.lineNumber));
    return out;
}

// A log whose lines 2 to 7 and the torn last line 9 are no measurements.
QByteArray logWithBadLines() {
    return crlfLines({kStart, QStringLiteral(R"("2003/07/26","朝",75.1,"")"),
                      QStringLiteral(R"("2003/07/26","朝",75.1,"",22.3,"","")"),
                      QStringLiteral(R"("2003/02/30","朝",75.1,"",22.3,"")"),
                      QStringLiteral(R"("2003/07/26","朝",abc,"",22.3,"")"),
                      QStringLiteral(R"("2003/07/26","朝",nan,"",22.3,"")")}) +
           QByteArray("\"2003/07/26\",\"\x82\",75,\"\",22,\"\"\r\n") +
           crlfLines({QStringLiteral(R"("2003/07/27","夕食後",74.9,"",22.1,"")")}) +
           test::sjis(QStringLiteral(R"("2003/07/28","朝)"));
}

} // namespace

TEST(DataLogAppend, SameDayTwiceAppendsInSavingOrder) {
    test::WorkDir dir;
    dir.write(kLog, crlfLines({kStart}));
    ASSERT_TRUE(
        datalog::appendRecord(dir.path(), record(QStringLiteral("2003/07/25"), QStringLiteral("朝食後"), 75.6f)));
    ASSERT_TRUE(datalog::appendRecord(dir.path(), record(QStringLiteral("2003/07/25"), QStringLiteral("夕食後"), 76.0f,
                                                         QStringLiteral("21:05:03"), 22.35f)));
    EXPECT_EQ(dir.read(kLog), crlfLines({kStart, QStringLiteral(R"("2003/07/25","朝食後",75.6,"",22.3,"")"),
                                         QStringLiteral(R"("2003/07/25","夕食後",76,"21:05:03",22.35,"")")}));
    EXPECT_EQ(dir.files(), QStringList{kLog});
}

TEST(DataLogAppend, OntoAFileWithoutFinalLineEndKeepsBothLinesWhole) {
    test::WorkDir dir;
    dir.write(kLog, test::sjis(kStart));
    ASSERT_TRUE(datalog::appendRecord(
        dir.path(), record(QStringLiteral("2003/07/26"), QStringLiteral("起床後"), 75.1f, QString(), 22.6f)));
    EXPECT_EQ(dir.read(kLog), crlfLines({kStart, kDay26a}));
    const LogContents log = datalog::readLog(dir.path());
    EXPECT_EQ(log.records.size(), 2u);
    EXPECT_TRUE(log.skipped.empty());
}

TEST(DataLogAppend, ExistingLogWithUpperCaseExtensionIsTheOneWritten) {
    test::WorkDir dir;
    dir.write(QStringLiteral("データ.TXT"), crlfLines({kStart}));
    ASSERT_TRUE(datalog::appendRecord(
        dir.path(), record(QStringLiteral("2003/07/26"), QStringLiteral("起床後"), 75.1f, QString(), 22.6f)));
    ASSERT_TRUE(datalog::insertRecord(dir.path(), record(QStringLiteral("2003/07/25"), QStringLiteral("夜"), 75.0f)));
    EXPECT_EQ(dir.files(), QStringList{QStringLiteral("データ.TXT")});
    EXPECT_EQ(datalog::readLog(dir.path()).records.size(), 3u);
}

TEST(DataLogInsert, GoesAfterTheLastLineOfItsDayAndBeforeTheNextLaterDay) {
    test::WorkDir dir;
    dir.write(kLog, crlfLines({kStart, kDay26a, kDay26b, kDay28}));
    ASSERT_TRUE(
        datalog::insertRecord(dir.path(), record(QStringLiteral("2003/07/26"), QStringLiteral("就寝前"), 75.7f)));
    ASSERT_TRUE(
        datalog::insertRecord(dir.path(), record(QStringLiteral("2003/07/27"), QStringLiteral("起床後"), 75.0f)));
    EXPECT_EQ(dir.read(kLog),
              crlfLines({kStart, kDay26a, kDay26b, QStringLiteral(R"("2003/07/26","就寝前",75.7,"",22.3,"")"),
                         QStringLiteral(R"("2003/07/27","起床後",75,"",22.3,"")"), kDay28}));
    EXPECT_EQ(dir.files(), QStringList{kLog});
}

TEST(DataLogInsert, BeforeTheStartDateBecomesTheFirstLine) {
    test::WorkDir dir;
    dir.write(kLog, crlfLines({kStart, kDay26a}));
    ASSERT_TRUE(
        datalog::insertRecord(dir.path(), record(QStringLiteral("2003/07/20"), QStringLiteral("起床後"), 77.0f)));
    const LogContents log = datalog::readLog(dir.path());
    ASSERT_EQ(log.records.size(), 3u);
    EXPECT_EQ(log.records.front(), record(QStringLiteral("2003/07/20"), QStringLiteral("起床後"), 77.0f));
    EXPECT_EQ(dir.read(kLog).mid(crlfLines({QStringLiteral(R"("2003/07/20","起床後",77,"",22.3,"")")}).size()),
              crlfLines({kStart, kDay26a}));
}

TEST(DataLogInsert, KeepsUnreadableLinesByteForByte) {
    test::WorkDir dir;
    const QByteArray before = logWithBadLines();
    dir.write(kLog, before);
    ASSERT_TRUE(datalog::insertRecord(dir.path(), record(QStringLiteral("2003/07/26"), QStringLiteral("昼"), 75.2f)));
    // the first readable record of a later date is line 8; the torn last line gains its line end
    const QByteArray line8 = crlfLines({QStringLiteral(R"("2003/07/27","夕食後",74.9,"",22.1,"")")});
    const qsizetype at = before.indexOf(line8);
    ASSERT_GT(at, 0);
    const QByteArray expected =
        before.left(at) + crlfLines({QStringLiteral(R"("2003/07/26","昼",75.2,"",22.3,"")")}) + before.mid(at) + "\r\n";
    EXPECT_EQ(dir.read(kLog), expected);
    const LogContents log = datalog::readLog(dir.path());
    EXPECT_EQ(log.records.size(), 3u);
    EXPECT_EQ(log.skipped.size(), 7u);
}

TEST(DataLogRead, CommaInSituationAndTimeOfDayTextsRoundTrip) {
    test::WorkDir dir;
    dir.write(kLog, crlfLines({kStart, kDay28}));
    const WeightRecord appended =
        record(QStringLiteral("2003/07/28"), QStringLiteral("朝,散歩後"), 74.5f, QStringLiteral("9:05:03"), 22.0f);
    const WeightRecord inserted =
        record(QStringLiteral("2003/07/26"), QStringLiteral("21:30:00"), 75.35f, QStringLiteral("食べ過ぎ, 反省"));
    ASSERT_TRUE(datalog::appendRecord(dir.path(), appended));
    ASSERT_TRUE(datalog::insertRecord(dir.path(), inserted));
    const LogContents log = datalog::readLog(dir.path());
    ASSERT_EQ(log.records.size(), 4u);
    EXPECT_EQ(log.records[1], inserted);
    EXPECT_EQ(log.records[3], appended);
    EXPECT_TRUE(dir.read(kLog).contains(test::sjis(QStringLiteral(R"("朝,散歩後",74.5,"9:05:03",22,"")"))));
}

TEST(DataLogRead, CrOnlyAndLfOnlyFilesRead) {
    for (const char* end : {"\r", "\n"}) {
        test::WorkDir dir;
        dir.write(kLog,
                  test::sjis(kStart + QLatin1String(end) + kDay26a + QLatin1String(end) + kDay28 + QLatin1String(end)));
        const LogContents log = datalog::readLog(dir.path());
        EXPECT_EQ(log.records.size(), 3u) << end;
        EXPECT_TRUE(log.skipped.empty()) << end;
    }
}

TEST(DataLogRead, MissingLogIsNoErrorAndEmptyLogExists) {
    test::WorkDir dir;
    LogContents log = datalog::readLog(dir.path());
    EXPECT_FALSE(log.exists);
    EXPECT_TRUE(log.status.ok());
    EXPECT_TRUE(log.empty());
    dir.write(kLog, QByteArray());
    log = datalog::readLog(dir.path());
    EXPECT_TRUE(log.exists);
    EXPECT_TRUE(log.empty());
    EXPECT_TRUE(log.skipped.empty());
}

TEST(DataLogRead, MalformedLinesAreSkippedAndCountedWithLineNumbers) {
    test::WorkDir dir;
    dir.write(kLog, logWithBadLines());
    const LogContents log = datalog::readLog(dir.path());
    EXPECT_EQ(dates(log),
              (std::vector<QString>{QStringLiteral("2003/07/25 はじめの一歩"), QStringLiteral("2003/07/27 夕食後")}));
    EXPECT_EQ(skippedLineNumbers(log), (std::vector<int>{2, 3, 4, 5, 6, 7, 9}));
    for (const SkippedLine& s : log.skipped)
        EXPECT_FALSE(s.reason.isEmpty());
    EXPECT_TRUE(log.skippedNotice().startsWith(QStringLiteral("「データ.txt」に読み取れない行が 7 行ありました。")))
        << log.skippedNotice().toStdString();
    EXPECT_TRUE(datalog::readLog(test::sampleDir()).skippedNotice().isEmpty());
}

// Millions of unreadable lines must not cost memory for each: all are counted, the first
// hundred keep their line number and reason, and the notice lists five of them.
TEST(DataLogRead, EveryUnreadableLineIsCountedAndTheFirstHundredKept) {
    test::WorkDir dir;
    QByteArray bytes = crlfLines({kStart});
    for (int i = 0; i < 250; ++i)
        bytes += "x\r\n";
    dir.write(kLog, bytes + crlfLines({kDay28}));
    const LogContents log = datalog::readLog(dir.path());
    EXPECT_EQ(log.records.size(), 2u);
    EXPECT_EQ(log.skippedCount, 250);
    ASSERT_EQ(log.skipped.size(), LogContents::kMaxSkippedKept);
    EXPECT_EQ(log.skipped.front().lineNumber, 2);
    EXPECT_EQ(log.skipped.back().lineNumber, 101);
    const QString notice = log.skippedNotice();
    EXPECT_TRUE(notice.startsWith(QStringLiteral("「データ.txt」に読み取れない行が 250 行ありました。")))
        << notice.toStdString();
    EXPECT_EQ(notice.count(QStringLiteral("行目:")), 5);
    EXPECT_TRUE(notice.endsWith(QStringLiteral("…")));
}

// A date outside 1900/01/01 to 2099/12/31 makes a line no measurement, so that no view is
// asked for millions of days: such lines are skipped with their reason and kept by rewrites,
// and no writer makes one.
TEST(DataLogRead, DatesOutsideTheTwoCenturiesAreUnreadableLines) {
    test::WorkDir dir;
    const QStringList outside = {
        QStringLiteral(R"("0001/01/01","朝",75,"",22,"")"), QStringLiteral(R"("1899/12/31","朝",75,"",22,"")"),
        QStringLiteral(R"("2100/01/01","朝",75,"",22,"")"), QStringLiteral(R"("9999/12/31","朝",75,"",22,"")")};
    const QByteArray before = crlfLines({kStart, outside[0], outside[1], kDay26a, outside[2], outside[3]});
    dir.write(kLog, before);
    const LogContents log = datalog::readLog(dir.path());
    EXPECT_EQ(log.records.size(), 2u);
    EXPECT_EQ(skippedLineNumbers(log), (std::vector<int>{2, 3, 5, 6}));
    EXPECT_TRUE(log.skipped.front().reason.contains(QStringLiteral("1900/01/01 から 2099/12/31")))
        << log.skipped.front().reason.toStdString();
    EXPECT_EQ(log.records.front().date, QStringLiteral("2003/07/25"));

    for (const char* date : {"2100/01/01", "1899/12/31"}) {
        const WeightRecord r = record(QString::fromLatin1(date), QStringLiteral("朝"), 75);
        EXPECT_FALSE(datalog::recordProblem(r).ok()) << date;
        EXPECT_FALSE(datalog::appendRecord(dir.path(), r)) << date;
        EXPECT_FALSE(datalog::insertRecord(dir.path(), r)) << date;
    }
    EXPECT_EQ(dir.read(kLog), before);
    ASSERT_TRUE(datalog::insertRecord(dir.path(), record(QStringLiteral("2003/07/25"), QStringLiteral("夜"), 75)));
    const QByteArray after = dir.read(kLog);
    for (const QString& line : outside)
        EXPECT_TRUE(after.contains(test::sjis(line) + "\r\n")) << line.toStdString();
}

TEST(DataLogRead, EmptyBodyFatIsTheOlderFormAndReadsAsZero) {
    test::WorkDir dir;
    dir.write(kLog, crlfLines({QStringLiteral(R"("2003/07/25","朝",75.5,"memo",,"")"),
                               QStringLiteral(R"("2003/07/26","朝",75.5,"","","")")}));
    const LogContents log = datalog::readLog(dir.path());
    ASSERT_EQ(log.records.size(), 2u);
    EXPECT_EQ(log.records[0].bodyFat, 0.0f);
    EXPECT_EQ(log.records[0].comment, QStringLiteral("memo"));
    EXPECT_EQ(log.records[1].bodyFat, 0.0f);
}

TEST(DataLogRead, SampleLogReadsWholeAndRewritesToTheSameBytes) {
    const LogContents sample = datalog::readLog(test::sampleDir());
    ASSERT_TRUE(sample.exists);
    EXPECT_TRUE(sample.skipped.empty());
    ASSERT_GT(sample.records.size(), 16u);
    EXPECT_EQ(sample.records.front(), record(QStringLiteral("2003/07/25"), QStringLiteral("はじめの一歩"), 75.5f));

    test::WorkDir dir;
    dir.copySample();
    const QByteArray original = dir.read(kLog);
    EXPECT_EQ(original.count('\n'), static_cast<qsizetype>(sample.records.size()));
    int changed = -1;
    ASSERT_TRUE(datalog::rewriteLog(
        dir.path(), [](WeightRecord&) { return false; }, &changed));
    EXPECT_EQ(changed, 0);
    EXPECT_EQ(dir.read(kLog), original);
    // the diary save writes every record back from what was read
    ASSERT_TRUE(datalog::writeLog(dir.path(), sample.records));
    EXPECT_EQ(dir.read(kLog), original);
}

TEST(DataLogRewrite, ChangesExactlyTheMatchingRecords) {
    test::WorkDir dir;
    dir.copySample();
    const LogContents before = datalog::readLog(dir.path());
    int changed = 0;
    const Status s = datalog::rewriteLog(
        dir.path(),
        [](WeightRecord& r) {
            if (r.situation != QStringLiteral("起床後"))
                return false;
            r.situation = QStringLiteral("起きてすぐ");
            return true;
        },
        &changed);
    ASSERT_TRUE(s) << s.message().toStdString();
    const LogContents after = datalog::readLog(dir.path());
    ASSERT_EQ(after.records.size(), before.records.size());
    int expectedChanges = 0;
    for (size_t i = 0; i < before.records.size(); ++i) {
        WeightRecord expected = before.records[i];
        if (expected.situation == QStringLiteral("起床後")) {
            expected.situation = QStringLiteral("起きてすぐ");
            ++expectedChanges;
        }
        EXPECT_EQ(after.records[i], expected) << i;
    }
    EXPECT_GT(expectedChanges, 0);
    EXPECT_EQ(changed, expectedChanges);
    EXPECT_EQ(test::copiesLeft(dir), QStringList());
}

TEST(DataLogRewrite, KeepsUnchangedAndUnreadableLinesByteForByte) {
    test::WorkDir dir;
    const QString oddButReadable = QStringLiteral(R"( "2003/07/25" , "夜" ,75.50,"", 22.30 ,"予備")");
    const QByteArray bad = logWithBadLines();
    dir.write(kLog,
              crlfLines({oddButReadable, QStringLiteral(R"( "2003/07/25" , "朝" ,75.50,"", 22.30 ,"予備")")}) + bad);
    int changed = 0;
    ASSERT_TRUE(datalog::rewriteLog(
        dir.path(),
        [](WeightRecord& r) {
            if (r.situation != QStringLiteral("朝"))
                return false;
            r.situation = QStringLiteral("起床後");
            return true;
        },
        &changed));
    EXPECT_EQ(changed, 1);
    // the changed record is written in the standard form, its spare field kept
    EXPECT_EQ(dir.read(kLog),
              crlfLines({oddButReadable, QStringLiteral(R"("2003/07/25","起床後",75.5,"",22.3,"予備")")}) + bad +
                  "\r\n");
    EXPECT_EQ(dir.files(), QStringList{kLog});
}

TEST(DataLogWrite, WriteDataReplacesTheLogInTheGivenOrder) {
    test::WorkDir dir;
    dir.write(kLog, crlfLines({kStart, kDay26a}));
    ASSERT_TRUE(datalog::writeLog(
        dir.path(), {record(QStringLiteral("2003/07/26"), QStringLiteral("起床後"), 75.1f, QString(), 22.6f),
                     record(QStringLiteral("2003/07/25"), QStringLiteral("はじめの一歩"), 75.5f)}));
    EXPECT_EQ(dir.read(kLog), crlfLines({kDay26a, kStart}));
    ASSERT_TRUE(datalog::writeLog(dir.path(), {}));
    EXPECT_EQ(dir.read(kLog), QByteArray());
    EXPECT_EQ(dir.files(), QStringList{kLog});
}

TEST(DataLogWrite, SixtyFourBitValuesUseFifteenDigits) {
    const WeightRecord r = record(QStringLiteral("2003/07/25"), QStringLiteral("はじめの一歩"), 0);
    EXPECT_EQ(datalog::formatLine64(r, 75.5, 22.3), kStart);
    EXPECT_EQ(datalog::formatLine64(r, 75.0, 1.0 / 3.0),
              QStringLiteral(R"("2003/07/25","はじめの一歩",75,"",0.333333333333333,"")"));
}

TEST(DataLogRefusal, RefusedTextsLeaveTheLogUnchanged) {
    test::WorkDir dir;
    dir.copySample();
    const auto before = test::snapshot(dir);
    const QString d = QStringLiteral("2003/07/26");

    const Status quote = datalog::appendRecord(dir.path(), record(d, QStringLiteral("朝\"食"), 75));
    EXPECT_TRUE(quote.message().contains(QStringLiteral("状況"))) << quote.message().toStdString();
    const Status lineBreak =
        datalog::insertRecord(dir.path(), record(d, QStringLiteral("朝"), 75, QStringLiteral("a\r\nb")));
    EXPECT_TRUE(lineBreak.message().contains(QStringLiteral("一言日記"))) << lineBreak.message().toStdString();
    const Status emoji = datalog::appendRecord(dir.path(), record(d, QStringLiteral("朝"), 75, QStringLiteral("🍰")));
    EXPECT_TRUE(emoji.message().contains(QStringLiteral("🍰"))) << emoji.message().toStdString();
    const Status rewrite = datalog::rewriteLog(dir.path(), [](WeightRecord& r) {
        r.comment = QStringLiteral("😀");
        return true;
    });
    EXPECT_TRUE(rewrite.message().contains(QStringLiteral("😀"))) << rewrite.message().toStdString();
    std::vector<WeightRecord> records = datalog::readLog(dir.path()).records;
    records.back().situation = QStringLiteral("\"");
    const Status write = datalog::writeLog(dir.path(), records);

    for (const Status* s : {&quote, &lineBreak, &emoji, &rewrite, &write})
        EXPECT_FALSE(s->ok());
    EXPECT_FALSE(write.message().isEmpty());
    EXPECT_TRUE(test::sameFiles(before, test::snapshot(dir)));
}

TEST(DataLogNumbers, ARepeatedNumberTextReadsAlikeEachTimeAndARefusalStaysARefusal) {
    for (int pass = 0; pass < 3; ++pass) {
        const auto a = datalog::parseLine(QStringLiteral("\"2024/01/02\",\"起床後\",65.35,\"\",22.5,\"\""));
        ASSERT_TRUE(a);
        EXPECT_EQ(a->weight, 65.35f);
        EXPECT_EQ(a->bodyFat, 22.5f);
        QString reason;
        EXPECT_FALSE(datalog::parseLine(QStringLiteral("\"2024/01/02\",\"起床後\",2000000,\"\",22.5,\"\""), &reason));
        EXPECT_TRUE(reason.contains(QStringLiteral("大きすぎます")));
        EXPECT_FALSE(datalog::parseLine(QStringLiteral("\"2024/01/02\",\"起床後\",65-35,\"\",22.5,\"\"")));
    }
}

// A line in the written form is cut in one pass; a blank in front sends the same line through
// the general field splitter, which must read it alike, down to the reason for a refusal.
TEST(DataLogNumbers, TheWrittenFormReadsAsTheGeneralSplitterReadsIt) {
    const QStringList dates = {QStringLiteral("2024/01/02"), QStringLiteral("2024/02/30"), QStringLiteral("24/01/02"),
                               QString()};
    const QStringList texts = {QString(), QStringLiteral("起床後"), QStringLiteral("朝,食"), QStringLiteral(" 夜 "),
                               QStringLiteral("07:15:00")};
    const QStringList numbers = {
        QStringLiteral("65.35"), QStringLiteral("-0"),      QStringLiteral("0"),   QString(),
        QStringLiteral("1.2.3"), QStringLiteral("2000000"), QStringLiteral("--1"), QStringLiteral("."),
        QStringLiteral("70")};
    std::uint32_t state = 99;
    const auto pick = [&state](const QStringList& from) {
        state = state * 1664525u + 1013904223u;
        return from[static_cast<int>((state >> 16) % static_cast<std::uint32_t>(from.size()))];
    };
    int records = 0;
    for (int i = 0; i < 3000; ++i) {
        QString line = QStringLiteral(R"("%1","%2",%3,"%4",%5,"%6")")
                           .arg(pick(dates), pick(texts), pick(numbers), pick(texts), pick(numbers), pick(texts));
        if (i % 50 == 0)
            line.chop(1); // an unclosed last field
        if (i % 70 == 0)
            line += QStringLiteral(",\"\""); // a seventh field
        QString writtenReason;
        QString generalReason;
        const auto written = datalog::parseLine(line, &writtenReason);
        const auto general = datalog::parseLine(QLatin1Char(' ') + line, &generalReason);
        ASSERT_EQ(written.has_value(), general.has_value()) << line.toStdString();
        if (written) {
            EXPECT_EQ(*written, *general) << line.toStdString();
            ++records;
        } else {
            EXPECT_EQ(writtenReason, generalReason) << line.toStdString();
        }
    }
    EXPECT_GT(records, 50);
}
