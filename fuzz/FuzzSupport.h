#pragma once

#include "core/base/WeightRecord.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <cstddef>
#include <cstdint>
#include <optional>

// A property that must hold for every input; on failure the fuzzer keeps the input as a crash.
#define FUZZ_CHECK(cond)                                                                                               \
    do {                                                                                                               \
        if (!(cond))                                                                                                   \
            fuzz::fail(#cond, __FILE__, __LINE__);                                                                     \
    } while (0)

namespace fuzz {

[[noreturn]] void fail(const char* what, const char* file, int line);

/// A folder of its own for this process, made on first use (under /dev/shm when there is one,
/// so the many small writes stay in memory) and removed when the process ends.
const QString& scratchDir();

/// Removes every file in @p dir.
void clearDir(const QString& dir);

/// Writes @p bytes as the file @p name in @p dir, replacing what was there.
void writeFile(const QString& dir, const QString& name, const QByteArray& bytes);

/// The bytes of @p name in @p dir, or nothing when there is no such file.
std::optional<QByteArray> readFile(const QString& dir, const QString& name);

/// True when the file our writer just wrote would be read as UTF-8: a kanji whose second byte
/// is 80-BF followed by a half-width katakana is also a valid three-byte UTF-8 character. The
/// readers' guess cannot tell such a file from a UTF-8 one, so its round trip is not checked.
bool takenForUtf8(const QString& dir, const QString& name);

/// The input as bytes.
QByteArray bytesOf(const uint8_t* data, size_t size);

/// A 32-bit number field as it reads back after being written once: the writers keep 7
/// significant digits, so a value with more comes back rounded.
float written(float value);

/// True when @p b is @p a after one write and read: the texts alike, the numbers rounded as written.
bool sameAfterWrite(const puka::WeightRecord& a, const puka::WeightRecord& b);

/// The fields of @p text read as one plain line: the shape a plain-form writer's text takes on
/// its way back (commas split it, outer blanks go).
QStringList plainFields(const QString& text);

} // namespace fuzz
