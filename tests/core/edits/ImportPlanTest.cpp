// Merging imported rows into the log: their places, duplicates, rows before the start record,
// and the lines of the log that must keep their bytes.
#include "tests/core/CoreTestHelpers.h"

#include "core/edits/ImportPlan.h"
#include "core/files/CsvImport.h"
#include "core/files/DataLog.h"
#include "core/files/FileNames.h"

#include <gtest/gtest.h>

using namespace puka;
using test::crlfLines;

namespace {

const QString kStart = QStringLiteral(R"("2003/07/25","はじめの一歩",75.5,"",22.3,"")");
const QString kDay26a = QStringLiteral(R"("2003/07/26","起床後",75.1,"",22.6,"")");
const QString kDay26b = QStringLiteral(R"("2003/07/26","夕食後",76,"日記",22.4,"")");
const QString kDay28 = QStringLiteral(R"("2003/07/28","起床後",74.8,"",22.2,"")");
// a line that is no measurement, in bytes that do not even decode: kept as it is
const QByteArray kBroken("\"2003/07/26\",\"\x82\",75,\"\",22,\"\"");

// The log: a lone LF after the start record, the broken line, no line end at the very end.
QByteArray logBytes() {
    return test::sjis(kStart) + "\n" + test::sjis(kDay26a) + "\r\n" + kBroken + "\r\n" + test::sjis(kDay26b) + "\r\n" +
           test::sjis(kDay28);
}

// In file order: days 28, 26, 27 (7:00 then 6:00), a duplicate of the log, a duplicate of the
// file, and a day before the start.
std::vector<csvimport::Row> rows() {
    const csvimport::Table t = csvimport::read(QStringLiteral("date,time,situation,weight,fat\n"
                                                              "2003/07/28,21:00,,74.9,22.1\n"
                                                              "2003/07/26,,夜,75.8,22.5\n"
                                                              "2003/07/27,7:00,,75.2,22.4\n"
                                                              "2003/07/27,6:00,,75.4,22.4\n"
                                                              "2003/07/26,,起床後,75.1,22.6\n"
                                                              "2003/07/27,6:00:00,,75.4,22.4\n"
                                                              "2003/07/20,,朝,76.5,23\n")
                                                   .toUtf8());
    EXPECT_TRUE(t.status && t.refusedCount == 0) << qPrintable(t.findings().join(u'\n'));
    return t.rows;
}

const QString kRow28 = QStringLiteral(R"("2003/07/28","21:00:00",74.9,"",22.1,"")");
const QString kRow26 = QStringLiteral(R"("2003/07/26","夜",75.8,"",22.5,"")");
const QString kRow27a = QStringLiteral(R"("2003/07/27","6:00:00",75.4,"",22.4,"")");
const QString kRow27b = QStringLiteral(R"("2003/07/27","7:00:00",75.2,"",22.4,"")");
const QString kRow20 = QStringLiteral(R"("2003/07/20","朝",76.5,"",23,"")");

// The log's lines with the rows among them, every line ended by CR LF.
QByteArray merged(bool withEarlier) {
    QByteArray out = withEarlier ? crlfLines({kRow20}) : QByteArray();
    out += crlfLines({kStart, kDay26a}) + kBroken + "\r\n" +
           crlfLines({kDay26b, kRow26, kRow27a, kRow27b, kDay28, kRow28});
    return out;
}

} // namespace

TEST(ImportPlan, RowsGoInDateOrderAfterTheirDaysRecordsAndEveryLineKeepsItsBytes) {
    const ImportPlan plan = planImport(logBytes(), rows(), false);
    ASSERT_TRUE(plan.status) << qPrintable(plan.status.message());
    EXPECT_EQ(plan.content, merged(false));
    EXPECT_EQ(plan.added, 4);
    EXPECT_EQ(plan.duplicatesOfLog, 1);
    EXPECT_EQ(plan.duplicatesInFile, 1);
    EXPECT_EQ(plan.beforeStart, 1);
    EXPECT_FALSE(plan.beforeStartTaken);
    EXPECT_EQ(plan.newStartDate, QStringLiteral("2003/07/25"));
    EXPECT_EQ(plan.firstAdded, QDate(2003, 7, 26));
    EXPECT_EQ(plan.lastAdded, QDate(2003, 7, 28));
    const QString summary = plan.summary().join(u'\n');
    EXPECT_TRUE(summary.contains(QStringLiteral("追加する行: 4 行（2003/07/26～2003/07/28）"))) << qPrintable(summary);
    EXPECT_TRUE(summary.contains(QStringLiteral("記録にあるもの 1 行、ファイル内の重複 1 行"))) << qPrintable(summary);
    EXPECT_TRUE(summary.contains(QStringLiteral("開始記録（2003/07/25）より前の行: 1 行（取り込みません）")));
    EXPECT_TRUE(plan.beforeStartQuestion().contains(QStringLiteral("開始日が 2003/07/20 に変わり")));
}

TEST(ImportPlan, RowsBeforeTheStartMoveItWhenTaken) {
    const ImportPlan plan = planImport(logBytes(), rows(), true);
    EXPECT_EQ(plan.content, merged(true));
    EXPECT_EQ(plan.added, 5);
    EXPECT_TRUE(plan.beforeStartTaken);
    EXPECT_EQ(plan.startDate, QStringLiteral("2003/07/25"));
    EXPECT_EQ(plan.newStartDate, QStringLiteral("2003/07/20"));

    // written, the log reads as the new records in order, the broken line still skipped
    const test::WorkDir dir;
    dir.write(files::kData, plan.content);
    const LogContents log = datalog::readLog(dir.path());
    ASSERT_EQ(log.records.size(), size_t(9));
    EXPECT_EQ(log.records.front().date, QStringLiteral("2003/07/20"));
    ASSERT_EQ(log.skipped.size(), size_t(1));
    EXPECT_EQ(log.skipped.front().lineNumber, 4);
}

TEST(ImportPlan, ImportingTheSameFileTwiceAddsNothing) {
    const ImportPlan first = planImport(logBytes(), rows(), true);
    const ImportPlan second = planImport(first.content, rows(), true);
    ASSERT_TRUE(second.status);
    EXPECT_FALSE(second.changes());
    EXPECT_TRUE(second.content.isEmpty());
    EXPECT_EQ(second.duplicatesOfLog, 7);
    EXPECT_EQ(second.duplicatesInFile, 0);
    EXPECT_EQ(second.beforeStart, 0);
}

TEST(ImportPlan, AFolderWithoutALogGetsOneWhoseFirstRowIsTheStart) {
    const ImportPlan plan = planImport(std::nullopt, rows(), false);
    ASSERT_TRUE(plan.status);
    EXPECT_TRUE(plan.newLog);
    EXPECT_EQ(plan.content,
              crlfLines({kRow20, QStringLiteral(R"("2003/07/26","夜",75.8,"",22.5,"")"),
                         QStringLiteral(R"("2003/07/26","起床後",75.1,"",22.6,"")"), kRow27a, kRow27b, kRow28}));
    EXPECT_EQ(plan.newStartDate, QStringLiteral("2003/07/20"));
    EXPECT_TRUE(plan.summary().join(u'\n').contains(QStringLiteral("最初の行 2003/07/20 が開始記録")));

    // an empty log, or one of lines that are no measurements, has no start either
    const ImportPlan empty = planImport(kBroken, rows(), false);
    EXPECT_EQ(empty.beforeStart, 0);
    EXPECT_TRUE(empty.content.startsWith(kBroken + "\r\n" + crlfLines({kRow20})));
    EXPECT_FALSE(empty.newLog);
}

TEST(ImportPlan, ALogSavedAsUtf8IsRefused) {
    const ImportPlan plan = planImport(kStart.toUtf8() + "\r\n", rows(), false);
    EXPECT_FALSE(plan.status);
    EXPECT_TRUE(plan.status.message().contains(QStringLiteral("UTF-8")));
    EXPECT_FALSE(plan.changes());
    EXPECT_TRUE(plan.content.isEmpty());
}
