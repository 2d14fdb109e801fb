#pragma once

#include "core/base/Status.h"
#include "core/base/WeightRecord.h"

#include <QByteArray>
#include <QDate>
#include <QDateTime>
#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

namespace puka {

/// The automatic backups of the measurement log: copies in the folder "バックアップ" beside it,
/// named by the date and time they were taken (データ_20261207_090503.txt), and putting one back.
namespace backups {

/// The folder of the backups in the working folder.
QString folderName();

/// Why a backup is taken.
enum class Reason {
    FirstChangeOfDay, ///< before the first change of the log on a day: taken once a day
    Rename,           ///< before a situation is renamed across the whole log
    Import,           ///< before measurements of another program are merged into the log
    Restore,          ///< before a backup is put back as the log
    Conversion,       ///< before an older data file is converted into the log
    NewStart,         ///< before a new start replaces the log
};

/**
 * The one entry point for a writer that is about to change the measurement log: a copy of the
 * log as it is now goes into the backup folder, then the backups are thinned out as
 * rotationVictims() says. With Reason::FirstChangeOfDay nothing is copied when a backup of
 * today (the clock's date) is there already; every other reason always copies. Nothing is
 * copied when there is no log yet.
 *
 * Call it while holding the folder's write lock for the whole change (it takes the lock
 * itself as well, which a holder may take again), directly before the change is written, and
 * stop the change when it fails: a failed backup is never skipped silently. @p logBytes, when
 * given, are the log's bytes as the caller read them under the lock, which saves reading
 * them again. @p backupName receives the name of the copy, or an empty string when none was
 * needed. The failure names the log and says why (a folder that cannot be made, a full disk).
 */
Status backupBeforeChange(const QString& dir, Reason reason, const QByteArray* logBytes = nullptr,
                          QString* backupName = nullptr);

/// One backup as the restore list shows it.
struct BackupInfo {
    QString name;                     ///< the file name in the backup folder
    QDateTime taken;                  ///< when it was taken, from its name
    int records = 0;                  ///< readable records
    std::optional<WeightRecord> last; ///< its last record
    QString problem;                  ///< why it cannot be put back, or empty
    bool unreadable = false;          ///< the problem is that the file could not be read
};

/// The backups in the folder, newest first, each read for its records. Files that are not
/// named as backups are left out. A backup folder that cannot be read fails.
Result<std::vector<BackupInfo>> listBackups(const QString& dir);

/// When the backup of that name was taken; nothing for a name that is no backup's.
std::optional<QDateTime> takenAt(const QString& name);

/**
 * Of the backups @p names, those to remove on @p today: all but the 14 newest and, for each of
 * the last 12 months (today's month and the 11 before it), the newest of that month.
 * Names that are not backups' are never among them.
 */
QStringList rotationVictims(const QStringList& names, const QDate& today);

/// What a restore did.
struct RestoreResult {
    BackupInfo restored;
    QString savedAs; ///< the backup of the log it replaced, or empty when there was none
};

/**
 * Puts the backup @p name back as the measurement log, under the folder's write lock: the
 * backup must be readable and hold a log (at least one measurement, Shift_JIS text); the log
 * it replaces is backed up first (Reason::Restore); then the backup's bytes replace the log at
 * once. On any failure the log is as it was.
 */
Status restoreBackup(const QString& dir, const QString& name, RestoreResult* result = nullptr);

/// The question before a restore, and the notice after it.
QString restoreQuestion(const BackupInfo& backup);
QString restoredNotice(const RestoreResult& result);
/// The one line of the restore list for a backup: when, how many records, the last one.
QString describe(const BackupInfo& backup);
/// The text when there is no backup yet.
QString noBackupsNotice();

} // namespace backups
} // namespace puka
