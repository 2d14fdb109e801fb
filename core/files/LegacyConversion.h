#pragma once

#include "core/base/Status.h"

#include <QString>

namespace puka {

/// Conversion of the two older forms of data files into the measurement log. Both older
/// forms lack body fat; the user's answer (its leading number) goes into every record.
namespace legacy {

/// The question both conversions ask, and its title.
QString title();
QString promptLegacyLog();
QString promptData();

/// What a conversion did, for the caller's message.
struct ConversionOutcome {
    bool converted = false;
    int records = 0;          ///< records written
    int keptAsIs = 0;         ///< lines that were no record, carried over unchanged or left in the backup
    QString backupName;       ///< the name the old file now has
    QString oldLogBackupName; ///< conversion A: where an existing log was kept, if there was one
};

/// True when "連続体重.txt" is there to be converted.
bool needsLegacyLog(const QString& dir);

/// "連続体重.txt" (date, situation, weight a line) becomes the measurement log
/// with @p answer as every body fat, and is then renamed to "連続体重bak.txt" (or a fresh
/// name when that is taken). A log that already exists is kept under a backup name first.
/// An empty answer changes nothing.
Status convertLegacyLog(const QString& dir, const QString& answer, ConversionOutcome* result = nullptr);

/// True when the log's first record has an empty body fat (the older log form).
bool needsData(const QString& dir);

/// Every record of the older log gets @p answer as its body fat; the old log is
/// kept as "データbak.txt" (or a fresh name when that is taken), the new one is written whole
/// and replaces it at once. An empty answer changes nothing.
Status convertData(const QString& dir, const QString& answer, ConversionOutcome* result = nullptr);

/// @p name when no file of that name exists in @p dir, else the first free of
/// "name2.ext", "name3.ext", ...
QString freshName(const QString& dir, const QString& name);

} // namespace legacy
} // namespace puka
