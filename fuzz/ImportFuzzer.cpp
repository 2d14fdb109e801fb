// The import: any file read as a table, its rows merged into a folder without a log, and the
// export of what was merged read back the same.

#include "fuzz/FuzzSupport.h"

#include "core/edits/ImportPlan.h"
#include "core/files/Cp932.h"
#include "core/files/CsvExport.h"
#include "core/files/CsvImport.h"
#include "core/files/DataLog.h"
#include "core/files/TextLines.h"

using namespace puka;

namespace {

const QDate kFirst(1900, 1, 1);
const QDate kLast(2099, 12, 31);

// The records of a log's bytes; every line must be one.
std::vector<WeightRecord> recordsOf(const QByteArray& log) {
    std::vector<WeightRecord> records;
    for (const QByteArray& line : splitLines(log)) {
        const auto text = cp932::decode(line);
        FUZZ_CHECK(text.has_value());
        const auto record = datalog::parseLine(*text);
        FUZZ_CHECK(record.has_value());
        records.push_back(*record);
    }
    return records;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    csvimport::Options options;
    options.zone = QTimeZone(9 * 3600);
    options.rowLimit = 2000;
    const csvimport::Table table = csvimport::read(fuzz::bytesOf(data, size), options);
    if (!table.status) {
        FUZZ_CHECK(!table.status.message().isEmpty() && table.rows.empty());
        return 0;
    }
    FUZZ_CHECK(table.refused.size() <= size_t(csvimport::kKeptRefusals));
    FUZZ_CHECK(table.refusedCount >= qint64(table.refused.size()));
    qint64 previous = 0;
    for (const csvimport::RefusedRow& r : table.refused) {
        FUZZ_CHECK(r.lineNumber > previous && !r.reason.isEmpty());
        previous = r.lineNumber;
    }
    // every row is a measurement the entry would save
    for (const csvimport::Row& row : table.rows) {
        FUZZ_CHECK(row.date >= kFirst && row.date <= kLast);
        FUZZ_CHECK(row.weight > 0 && row.weight < 999);
        FUZZ_CHECK(row.bodyFat >= 0 && row.bodyFat <= 100);
        FUZZ_CHECK(datalog::recordProblem(row.record()).ok());
        FUZZ_CHECK(row.date >= table.firstDate && row.date <= table.lastDate);
    }

    // merged into a folder without a log: every row but the duplicates, in date order
    const ImportPlan plan = planImport(std::nullopt, table.rows, false);
    FUZZ_CHECK(plan.status.ok());
    FUZZ_CHECK(plan.added + plan.duplicatesInFile == qint64(table.rows.size()));
    FUZZ_CHECK(plan.duplicatesOfLog == 0 && plan.beforeStart == 0);
    const std::vector<WeightRecord> records = recordsOf(plan.content);
    FUZZ_CHECK(qint64(records.size()) == plan.added);
    for (size_t i = 1; i < records.size(); ++i)
        FUZZ_CHECK(records[i - 1].date <= records[i].date);

    // exported and read back, the records are the same
    const csvexport::CsvOutcome exported = csvexport::write(records, csvexport::Encoding::Utf8);
    FUZZ_CHECK(exported.status.ok());
    const csvimport::Table back = csvimport::read(exported.bytes, options);
    FUZZ_CHECK(back.status.ok() && back.refusedCount == 0);
    FUZZ_CHECK(back.rows.size() == records.size());
    for (size_t i = 0; i < records.size(); ++i)
        FUZZ_CHECK(back.rows[i].record() == records[i]);
    return 0;
}
