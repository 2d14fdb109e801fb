// The two older forms: convertLegacyLog and convertData on any file. The first byte picks the
// conversion; the bytes up to the first NUL are the typed body-fat answer, the rest the file.

#include "fuzz/FuzzSupport.h"

#include "core/base/NumberFormat.h"
#include "core/files/DataLog.h"
#include "core/files/FileNames.h"
#include "core/files/LegacyConversion.h"
#include "core/files/TextLines.h"

#include <cmath>

using namespace puka;

namespace {

// The body fat every converted record reads back with.
float answeredFat(const QString& answer) {
    const auto back = parseNumber(shortestText(leadingNumber(answer)));
    FUZZ_CHECK(back.has_value());
    return static_cast<float>(*back);
}

bool withinOneStep(float a, float b) {
    return a == b || std::nextafter(a, b) == b;
}

// The conversion writes a weight from its own text in the 64-bit form ("25.6666666666667"
// for a long text), so it reads back as the float the old log gave; a weight that went
// through the 32-bit form ("25.66667") may lie a step or two away from it.
bool sameWeight(float old, float now) {
    return withinOneStep(old, now) || withinOneStep(fuzz::written(old), now);
}

void checkLegacyLog(const QString& dir, const QString& answer, const QByteArray& bytes) {
    fuzz::writeFile(dir, files::kLegacyLog, bytes);
    FUZZ_CHECK(legacy::needsLegacyLog(dir));
    legacy::ConversionOutcome r;
    const Status s = legacy::convertLegacyLog(dir, answer, &r);
    if (!s) {
        // a refusal (an answer no record can hold) changes nothing
        FUZZ_CHECK(!s.message().isEmpty() && !answer.isEmpty());
        FUZZ_CHECK(fuzz::readFile(dir, files::kLegacyLog) == bytes && !fuzz::readFile(dir, files::kData));
        return;
    }
    if (answer.isEmpty()) {
        FUZZ_CHECK(!r.converted && fuzz::readFile(dir, files::kLegacyLog) == bytes);
        FUZZ_CHECK(!fuzz::readFile(dir, files::kData));
        return;
    }
    FUZZ_CHECK(r.converted && !legacy::needsLegacyLog(dir));
    FUZZ_CHECK(fuzz::readFile(dir, r.backupName) == bytes);
    const auto log = fuzz::readFile(dir, files::kData);
    FUZZ_CHECK(log.has_value());
    if (fuzz::takenForUtf8(dir, files::kData))
        return;
    FUZZ_CHECK(static_cast<int>(splitLines(*log).size()) == r.records);
    const LogContents c = datalog::readLog(dir);
    FUZZ_CHECK(static_cast<qint64>(c.records.size()) + c.skippedCount == r.records);
    const float fat = answeredFat(answer);
    for (const WeightRecord& rec : c.records)
        FUZZ_CHECK(rec.comment.isEmpty() && rec.spare.isEmpty() && rec.bodyFat == fat);
    // a log written by this conversion never asks for the other one
    FUZZ_CHECK(!legacy::needsData(dir));
}

void data(const QString& dir, const QString& answer, const QByteArray& bytes) {
    fuzz::writeFile(dir, files::kData, bytes);
    const LogContents before = datalog::readLog(dir);
    legacy::needsData(dir);
    legacy::ConversionOutcome r;
    const Status s = legacy::convertData(dir, answer, &r);
    if (!s) {
        // a refusal (an answer no record can hold, a log in UTF-8) changes nothing
        FUZZ_CHECK(!s.message().isEmpty() && !answer.isEmpty());
        FUZZ_CHECK(fuzz::readFile(dir, files::kData) == bytes && !fuzz::readFile(dir, files::kDataBackup));
        return;
    }
    if (answer.isEmpty()) {
        FUZZ_CHECK(!r.converted && fuzz::readFile(dir, files::kData) == bytes);
        return;
    }
    FUZZ_CHECK(r.converted);
    FUZZ_CHECK(fuzz::readFile(dir, r.backupName) == bytes);
    if (fuzz::takenForUtf8(dir, files::kData))
        return;
    const LogContents after = datalog::readLog(dir);
    // every record of the old log is still there, in order: with the answered body fat, or
    // unchanged when a text of it cannot be written in the quoted form
    const float fat = answeredFat(answer);
    size_t j = 0;
    for (const WeightRecord& old : before.records) {
        const bool kept = !datalog::recordProblem(old).ok();
        auto matches = [&](const WeightRecord& rec) {
            if (kept)
                return rec == old;
            return rec.date == old.date && rec.situation == old.situation && rec.comment == old.comment &&
                   rec.spare == old.spare && sameWeight(old.weight, rec.weight) && rec.bodyFat == fat;
        };
        while (j < after.records.size() && !matches(after.records[j]))
            ++j;
        FUZZ_CHECK(j < after.records.size());
        ++j;
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0)
        return 0;
    const QByteArray rest = fuzz::bytesOf(data + 1, size - 1);
    const qsizetype nul = rest.indexOf('\0');
    const QString answer = QString::fromUtf8(nul < 0 ? QByteArray() : rest.left(nul));
    const QByteArray bytes = nul < 0 ? rest : rest.mid(nul + 1);
    const QString& dir = fuzz::scratchDir();
    fuzz::clearDir(dir);
    if (data[0] & 1)
        ::data(dir, answer, bytes);
    else
        checkLegacyLog(dir, answer, bytes);
    return 0;
}
