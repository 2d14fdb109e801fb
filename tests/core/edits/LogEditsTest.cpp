// Corrections and deletions of single measurements: every other line keeps its bytes, a new
// date moves the record to the end of its day, the start record stays first and cannot be
// deleted, and a record another program changed meanwhile is never overwritten.
#include "tests/core/CoreTestHelpers.h"

#include "core/edits/LogEdits.h"
#include "core/files/DataLog.h"
#include "core/files/FileNames.h"

#include <gtest/gtest.h>

#include <functional>

using namespace puka;

namespace {

// A log as a hand-edited file may be: mixed line ends, a line that is no measurement, a record
// with a spare field, and a last record without its line end.
const QByteArray kLog = test::sjis(QStringLiteral("\"2026/12/01\",\"はじめの一歩\",61.5,\"\",26,\"\"\r\n"
                                                  "\"2026/12/02\",\"起床後\",61.2,\"\",25.8,\"予備\"\n"
                                                  "壊れた行,,\r\n"
                                                  "\"2026/12/02\",\"就寝前\",61.9,\"食べ過ぎ\",25.9,\"\"\r"
                                                  "\"2026/12/04\",\"起床後\",60.8,\"\",25.5,\"\"\r\n"
                                                  "\"2026/12/05\",\"起床後\",6.07,\"\",25.4,\"\""));

std::vector<WeightRecord> records(const test::WorkDir& dir) {
    return datalog::readLog(dir.path()).records;
}

WeightRecord with(WeightRecord r, const std::function<void(WeightRecord&)>& change) {
    change(r);
    return r;
}

} // namespace

TEST(LogEdits, CorrectionAndDeletionKeepEveryOtherLineByteForByte) {
    test::WorkDir dir;
    dir.write(files::kData, kLog);
    const WeightRecord last = records(dir).at(4);
    // record 5 is the last line, without a line end: corrected in place it gets one
    ASSERT_TRUE(logedits::correctRecord(dir.path(), 5, last, with(last, [](WeightRecord& r) { r.weight = 60.7f; })));
    QByteArray expected = kLog;
    expected.replace(test::sjis(QStringLiteral("6.07,\"\",25.4,\"\"")),
                     test::sjis(QStringLiteral("60.7,\"\",25.4,\"\"\r\n")));
    EXPECT_EQ(dir.read(files::kData), expected);

    // the record with a spare field keeps it; its neighbours keep their own line ends
    const WeightRecord second = records(dir).at(1);
    ASSERT_TRUE(logedits::correctRecord(dir.path(), 2, second,
                                        with(second, [](WeightRecord& r) { r.comment = QStringLiteral("直した"); })));
    expected.replace(test::sjis(QStringLiteral("61.2,\"\",25.8,\"予備\"\n")),
                     test::sjis(QStringLiteral("61.2,\"直した\",25.8,\"予備\"\r\n")));
    EXPECT_EQ(dir.read(files::kData), expected);

    ASSERT_TRUE(logedits::deleteRecord(dir.path(), 3, records(dir).at(2)));
    expected.replace(test::sjis(QStringLiteral("\"2026/12/02\",\"就寝前\",61.9,\"食べ過ぎ\",25.9,\"\"\r")),
                     QByteArray());
    EXPECT_EQ(dir.read(files::kData), expected);
    EXPECT_EQ(dir.files(), QStringList{files::kData});
}

TEST(LogEdits, ANewDateMovesTheRecordToTheEndOfThatDay) {
    test::WorkDir dir;
    dir.write(files::kData, kLog);
    const WeightRecord moved = records(dir).at(3); // 2026/12/04
    logedits::LogChange applied;
    ASSERT_TRUE(logedits::correctRecord(
        dir.path(), 4, moved, with(moved, [](WeightRecord& r) { r.date = QStringLiteral("2026/12/02"); }), &applied));
    const auto now = records(dir);
    ASSERT_EQ(now.size(), 5u);
    EXPECT_EQ(now.at(1).situation, QStringLiteral("起床後"));
    EXPECT_EQ(now.at(2).situation, QStringLiteral("就寝前"));
    EXPECT_EQ(now.at(3).date, QStringLiteral("2026/12/02"));
    EXPECT_EQ(now.at(3).weight, 60.8f);
    ASSERT_EQ(applied.steps.size(), 1u);
    EXPECT_EQ(applied.steps[0].removedNumber, 4);
    EXPECT_EQ(applied.steps[0].addedNumber, 4);

    // later than every record: last
    const WeightRecord first = now.at(1);
    ASSERT_TRUE(logedits::correctRecord(
        dir.path(), 2, first, with(first, [](WeightRecord& r) { r.date = QStringLiteral("2026/12/09"); }), &applied));
    EXPECT_EQ(records(dir).back().date, QStringLiteral("2026/12/09"));
    EXPECT_EQ(applied.steps[0].addedNumber, 5);
}

TEST(LogEdits, TheStartRecordStaysFirstAndCannotBeDeleted) {
    test::WorkDir dir;
    dir.write(files::kData, kLog);
    const WeightRecord start = records(dir).front();
    // on the next record's date it is still the start record
    ASSERT_TRUE(logedits::correctRecord(dir.path(), 1, start,
                                        with(start, [](WeightRecord& r) { r.date = QStringLiteral("2026/12/02"); })));
    EXPECT_EQ(records(dir).front().situation, QStringLiteral("はじめの一歩"));
    EXPECT_EQ(records(dir).front().date, QStringLiteral("2026/12/02"));

    const QByteArray before = dir.read(files::kData);
    const Status late = logedits::correctRecord(
        dir.path(), 1, std::nullopt, with(start, [](WeightRecord& r) { r.date = QStringLiteral("2026/12/03"); }));
    EXPECT_FALSE(late.ok());
    EXPECT_TRUE(late.message().contains(QStringLiteral("2026/12/02"))) << late.message().toStdString();
    EXPECT_EQ(logedits::dateProblem(records(dir), 1, QStringLiteral("2026/12/03")).message(), late.message());

    const Status deleted = logedits::deleteRecord(dir.path(), 1, std::nullopt);
    EXPECT_FALSE(deleted.ok());
    EXPECT_EQ(deleted.message(), logedits::startRecordMessage());
    EXPECT_TRUE(deleted.message().contains(QStringLiteral("新規スタート")));
    const Status missing = logedits::deleteRecord(dir.path(), 9, std::nullopt);
    EXPECT_EQ(missing.message(), QStringLiteral("9 番目の記録はありません（記録は 1 番目から 5 番目まであります）。"));
    EXPECT_EQ(dir.read(files::kData), before);
}

TEST(LogEdits, ARecordChangedElsewhereIsNeverOverwrittenAndAMovedOneIsFound) {
    test::WorkDir dir;
    dir.write(files::kData, kLog);
    const auto shown = records(dir);

    // another program put an earlier record in: the shown record 4 is now record 5 and is found
    ASSERT_TRUE(
        datalog::insertRecord(dir.path(), test::record(QStringLiteral("2026/12/01"), QStringLiteral("夜"), 61)));
    ASSERT_TRUE(logedits::correctRecord(dir.path(), 4, shown.at(3),
                                        with(shown.at(3), [](WeightRecord& r) { r.weight = 60.9f; })));
    EXPECT_EQ(records(dir).at(4).weight, 60.9f);
    EXPECT_EQ(records(dir).at(3), shown.at(2));

    // another program changed the shown record: nothing is written
    ASSERT_TRUE(datalog::rewriteLog(dir.path(), [](WeightRecord& r) {
        if (r.situation != QStringLiteral("就寝前"))
            return false;
        r.comment = QStringLiteral("別の窓で");
        return true;
    }));
    const QByteArray before = dir.read(files::kData);
    const Status s = logedits::deleteRecord(dir.path(), 3, shown.at(2));
    EXPECT_FALSE(s.ok());
    EXPECT_TRUE(s.message().contains(logedits::recordText(shown.at(2)))) << s.message().toStdString();
    EXPECT_EQ(dir.read(files::kData), before);
}

TEST(LogEdits, TheEntrysChecksAgainstTheMeasurementBeforeThePlace) {
    const std::vector<WeightRecord> log = {test::record(QStringLiteral("2026/12/01"), QStringLiteral("a"), 61.5f),
                                           test::record(QStringLiteral("2026/12/02"), QStringLiteral("b"), 61.2f),
                                           test::record(QStringLiteral("2026/12/05"), QStringLiteral("c"), 6.07f)};
    // the typing slip 6.07 is checked against the day before its place, not against itself
    EXPECT_EQ(logedits::referenceFor(log, 3, QStringLiteral("2026/12/05")), log.at(1));
    EXPECT_EQ(logedits::referenceFor(log, 3, QStringLiteral("2026/11/30")), log.at(0));
    EXPECT_EQ(logedits::referenceFor(log, 2, QStringLiteral("2026/12/02")), log.at(0));
    EXPECT_EQ(logedits::referenceFor(log, 2, QStringLiteral("2026/12/06")), log.at(2));
    EXPECT_EQ(logedits::referenceFor(log, 1, QStringLiteral("2026/12/01")), log.at(1));
    EXPECT_EQ(logedits::referenceFor({log.at(0)}, 1, QStringLiteral("2026/12/01")), std::nullopt);

    logedits::Correction c = logedits::correctionOf(log.at(2));
    EXPECT_EQ(c.weightText, QStringLiteral("6.07"));
    auto check = logedits::firstCheck(c, false, log.at(1));
    ASSERT_TRUE(check);
    EXPECT_TRUE(check->confirm);
    EXPECT_EQ(check->notice.text, QStringLiteral("前回より５Ｋｇ以上の変動がありますが間違いありませんか？"));
    c.weightText = QStringLiteral("60.7");
    EXPECT_FALSE(logedits::firstCheck(c, false, log.at(1)));
    c.weightText = QStringLiteral("999");
    EXPECT_EQ(logedits::firstCheck(c, false, log.at(1))->notice.text, QStringLiteral("９９９以上は入力できません"));
    EXPECT_EQ(logedits::firstCheck(c, true, log.at(1))->notice.title, QStringLiteral("新規スタート促し"));
    c = logedits::correctionOf(log.at(2));
    c.situation.clear();
    EXPECT_EQ(logedits::firstCheck(c, false, std::nullopt)->notice.text, QStringLiteral("行動が指定されていません"));
}
