// The measurement log: readLog on any file, then writeLog of what it read.

#include "fuzz/FuzzSupport.h"

#include "core/files/DataLog.h"
#include "core/files/FileNames.h"
#include "core/files/TextLines.h"

#include <algorithm>

using namespace puka;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QString& dir = fuzz::scratchDir();
    const QByteArray bytes = fuzz::bytesOf(data, size);
    fuzz::clearDir(dir);
    fuzz::writeFile(dir, files::kData, bytes);

    const LogContents first = datalog::readLog(dir);
    FUZZ_CHECK(first.exists && first.status.ok());
    const qsizetype lineCount = static_cast<qsizetype>(splitLines(bytes).size());
    FUZZ_CHECK(static_cast<qsizetype>(first.records.size()) + first.skippedCount <= lineCount);
    FUZZ_CHECK(first.skipped.size() ==
               std::min<size_t>(static_cast<size_t>(first.skippedCount), LogContents::kMaxSkippedKept));
    qint64 previous = 0;
    for (const SkippedLine& s : first.skipped) {
        FUZZ_CHECK(s.lineNumber > previous && s.lineNumber <= lineCount);
        FUZZ_CHECK(!s.reason.isEmpty());
        previous = s.lineNumber;
    }
    if (first.skippedCount > 0)
        FUZZ_CHECK(!first.skippedNotice().isEmpty());

    // what was read, written anew, reads back the same
    const Status written = datalog::writeLog(dir, first.records);
    if (!written) {
        FUZZ_CHECK(!written.message().isEmpty());
        FUZZ_CHECK(fuzz::readFile(dir, files::kData) == bytes);
        return 0;
    }
    if (fuzz::takenForUtf8(dir, files::kData))
        return 0;
    const LogContents second = datalog::readLog(dir);
    FUZZ_CHECK(second.status.ok() && second.skippedCount == 0);
    FUZZ_CHECK(second.records.size() == first.records.size());
    for (size_t i = 0; i < first.records.size(); ++i)
        FUZZ_CHECK(fuzz::sameAfterWrite(first.records[i], second.records[i]));

    // once written, the records are stable
    FUZZ_CHECK(datalog::writeLog(dir, second.records).ok());
    const LogContents third = datalog::readLog(dir);
    FUZZ_CHECK(third.skippedCount == 0 && third.records == second.records);
    return 0;
}
