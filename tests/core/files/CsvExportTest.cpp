// The log as CSV, and back: export, then import into an empty folder, gives the same records.
#include "tests/core/CoreTestHelpers.h"

#include "core/edits/ImportPlan.h"
#include "core/files/CsvExport.h"
#include "core/files/CsvImport.h"
#include "core/files/DataLog.h"
#include "core/files/FileNames.h"

#include <gtest/gtest.h>

using namespace puka;
using test::record;

namespace {

// Texts with separators, full-width quotes, Japanese, a time-of-day comment, and texts a
// spreadsheet would take for a formula or that start with the guard's own quote.
std::vector<WeightRecord> records() {
    return {
        record(QStringLiteral("2003/07/25"), QStringLiteral("はじめの一歩"), 75.5f, {}, 22.3f),
        record(QStringLiteral("2003/07/26"), QStringLiteral("夕食後, 外食"), 75.1f, QStringLiteral("9:05:03"), 22.6f),
        record(QStringLiteral("2003/07/26"), QStringLiteral("起床後"), 65.35f, QStringLiteral("”最高”; 'よし'"), 0),
        record(QStringLiteral("2003/07/27"), QStringLiteral("-0.5kg目標"), 100, QStringLiteral("=1+1"), 9.95f),
        record(QStringLiteral("2003/07/27"), QStringLiteral("@home"), 74.25f, QStringLiteral("'quoted"), 21),
        record(QStringLiteral("2003/07/28"), QStringLiteral(" 朝 "), 45.36f, QStringLiteral("+α、髙橋さん～①"), 30.05f),
    };
}

// Export, read back, and merge into a folder without a log.
std::vector<WeightRecord> roundTrip(const QByteArray& exported) {
    const csvimport::Table table = csvimport::read(exported);
    EXPECT_TRUE(table.status) << qPrintable(table.status.message());
    EXPECT_EQ(table.refusedCount, 0) << qPrintable(table.findings().join(u'\n'));
    const ImportPlan plan = planImport(std::nullopt, table.rows, false);
    EXPECT_TRUE(plan.changes()) << qPrintable(plan.summary().join(u'\n'));
    const test::WorkDir dir;
    dir.write(files::kData, plan.content);
    const LogContents log = datalog::readLog(dir.path());
    EXPECT_TRUE(log.skipped.empty());
    return log.records;
}

} // namespace

TEST(CsvExport, LinesAsSpreadsheetsReadThem) {
    const csvexport::CsvOutcome result = csvexport::write(records(), csvexport::Encoding::Utf8);
    ASSERT_TRUE(result.status);
    const QString expected = QStringLiteral("日付,状況,体重(kg),体脂肪率(%),コメント\r\n"
                                            "2003/07/25,はじめの一歩,75.5,22.3,\r\n"
                                            "2003/07/26,\"夕食後, 外食\",75.1,22.6,9:05:03\r\n"
                                            "2003/07/26,起床後,65.35,0,”最高”; 'よし'\r\n"
                                            "2003/07/27,'-0.5kg目標,100,9.95,'=1+1\r\n"
                                            "2003/07/27,'@home,74.25,21,''quoted\r\n"
                                            "2003/07/28,\" 朝 \",45.36,30.05,'+α、髙橋さん～①\r\n");
    EXPECT_EQ(result.bytes, QByteArray("\xEF\xBB\xBF") + expected.toUtf8());
    EXPECT_EQ(csvexport::write(records(), csvexport::Encoding::Utf8, false).bytes, expected.toUtf8());
    EXPECT_EQ(csvexport::write(records(), csvexport::Encoding::Cp932).bytes, test::sjis(expected));
    // a quote or a line break in a text (never in our log) is quoted as spreadsheets expect
    const auto odd = csvexport::write({record(QStringLiteral("2003/07/25"), QStringLiteral("a\"b"), 70, "x\ny")},
                                      csvexport::Encoding::Utf8, false);
    EXPECT_TRUE(odd.bytes.endsWith("2003/07/25,\"a\"\"b\",70,22.3,\"x\ny\"\r\n"));
}

TEST(CsvExport, ACharacterCodePage932CannotHoldFailsTheExportAndIsNamed) {
    // a log saved in UTF-8 by another editor can hold one
    std::vector<WeightRecord> withEmoji = records();
    withEmoji.back().comment = QStringLiteral("よし😀");
    const csvexport::CsvOutcome result = csvexport::write(withEmoji, csvexport::Encoding::Cp932);
    EXPECT_FALSE(result.status);
    EXPECT_TRUE(result.status.message().contains(QStringLiteral("「😀」")));
    EXPECT_TRUE(result.bytes.isEmpty());
    EXPECT_TRUE(csvexport::write(withEmoji, csvexport::Encoding::Utf8).status);
}

TEST(CsvExport, ExportThenImportIntoAnEmptyFolderGivesTheSameRecords) {
    EXPECT_EQ(roundTrip(csvexport::write(records(), csvexport::Encoding::Utf8).bytes), records());
    EXPECT_EQ(roundTrip(csvexport::write(records(), csvexport::Encoding::Cp932).bytes), records());
    EXPECT_EQ(roundTrip(csvexport::write(records(), csvexport::Encoding::Utf8, false).bytes), records());
}
