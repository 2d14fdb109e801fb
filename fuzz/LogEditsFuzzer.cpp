// Corrections and deletions of single records on any log, and their undo, in memory: the
// first byte chooses the record and the kind of change, the rest is the log. Every line that
// is not changed keeps its bytes, and on a log in date order the undo gives every record back.

#include "fuzz/FuzzSupport.h"

#include "core/edits/LogEdits.h"
#include "core/files/Cp932.h"
#include "core/files/LogLines.h"

#include <algorithm>

using namespace puka;

namespace {

std::vector<WeightRecord> recordsOf(const std::vector<loglines::Line>& lines) {
    std::vector<WeightRecord> records;
    for (const loglines::Line& line : lines)
        if (line.record)
            records.push_back(*line.record);
    return records;
}

// The texts of the lines that are no measurement, in their order.
QList<QByteArray> otherLines(const std::vector<loglines::Line>& lines) {
    QList<QByteArray> texts;
    for (const loglines::Line& line : lines)
        if (!line.record)
            texts.append(line.text.toByteArray());
    return texts;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1)
        return 0;
    const uint8_t choice = data[0];
    const QByteArray bytes = fuzz::bytesOf(data + 1, size - 1);
    const std::vector<loglines::Line> lines = loglines::split(bytes);
    QByteArray joined;
    for (const loglines::Line& line : lines) {
        joined += line.text;
        joined += line.end;
    }
    FUZZ_CHECK(joined == bytes);
    const std::vector<WeightRecord> records = recordsOf(lines);
    if (records.empty() || cp932::looksLikeUtf8(bytes))
        return 0;

    const int number = static_cast<int>(choice % records.size()) + 1;
    const WeightRecord& old = records[static_cast<size_t>(number - 1)];
    logedits::LogChange change;
    logedits::RecordStep step;
    step.removed = old;
    step.removedNumber = number;
    const int kind = (choice >> 5) % 3;
    if (kind == 0) { // a comment corrected in place
        WeightRecord corrected = old;
        corrected.comment = old.comment == QStringLiteral("直した") ? QString() : QStringLiteral("直した");
        step.added = corrected;
        step.addedNumber = number;
        step.inPlace = true;
    } else if (kind == 1) { // a record moved to the day of another one
        WeightRecord moved = old;
        moved.date = records[static_cast<size_t>((choice * 7) % records.size())].date;
        step.added = moved;
    }
    change.steps.push_back(step);

    QByteArray after;
    logedits::LogChange applied;
    const Status made = logedits::changedLog(bytes, change, &after, &applied);
    if (!made) {
        // a record the written form cannot hold (a double quote in a plain field) is refused
        FUZZ_CHECK(!made.message().isEmpty());
        return 0;
    }
    // a log whose unreadable lines happen to be UTF-8 may look saved in UTF-8 once a line has
    // gone; the writers leave such a file alone, as the log fuzzer's writes do
    if (cp932::looksLikeUtf8(after))
        return 0;
    const std::vector<loglines::Line> afterLines = loglines::split(after);
    const std::vector<WeightRecord> afterRecords = recordsOf(afterLines);
    FUZZ_CHECK(otherLines(afterLines) == otherLines(lines));
    FUZZ_CHECK(afterRecords.size() == records.size() - (kind == 2 ? 1 : 0));
    if (kind == 0) {
        // the corrected record as its written form gives it back, every other one as it was
        std::vector<WeightRecord> expected = records;
        expected[static_cast<size_t>(number - 1)] = afterRecords.at(static_cast<size_t>(number - 1));
        FUZZ_CHECK(afterRecords == expected);
        FUZZ_CHECK(fuzz::sameAfterWrite(*step.added, expected[static_cast<size_t>(number - 1)]));
    }

    QByteArray back;
    const Status undone = logedits::changedLog(after, applied.inverse(), &back);
    FUZZ_CHECK(undone.ok());
    const std::vector<loglines::Line> backLines = loglines::split(back);
    FUZZ_CHECK(otherLines(backLines) == otherLines(lines));
    const bool inDateOrder = std::is_sorted(
        records.begin(), records.end(), [](const WeightRecord& a, const WeightRecord& b) { return a.date < b.date; });
    if (kind == 0 || inDateOrder)
        FUZZ_CHECK(recordsOf(backLines) == records);
    return 0;
}
