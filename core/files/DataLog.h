#pragma once

#include "core/base/Status.h"
#include "core/base/WeightRecord.h"
#include "core/files/FileOps.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>
#include <vector>

namespace puka {

/// A line of the log that could not be read as a measurement.
struct SkippedLine {
    qint64 lineNumber = 0; ///< counted from 1
    QString reason;        ///< Japanese, for the user
};

/// Everything a view needs from one pass over the measurement log.
struct LogContents {
    bool exists = false;               ///< false when there is no "データ.txt"
    std::vector<WeightRecord> records; ///< the readable records in file order
    std::vector<SkippedLine> skipped;  ///< the first kMaxSkippedKept lines that are no measurement, in file order
    qint64 skippedCount = 0;           ///< how many lines are no measurement, all counted
    Status status;                     ///< a failure to read the file at all
    bool utf8 = false;                 ///< the log looks saved in UTF-8: read as such, never written
    FileIdentity identity;             ///< the file as it was opened for this reading

    /// How many skipped lines keep their line number and reason; the rest are only counted, so
    /// that a log of millions of unreadable lines costs no more memory than its notice shows.
    static constexpr size_t kMaxSkippedKept = 100;

    bool empty() const { return records.empty(); }
    /// The Japanese notice for a log that looks saved in UTF-8 and for skipped lines, or an
    /// empty string when the log read cleanly.
    QString skippedNotice() const;
};

/// The measurement log "データ.txt" of a working directory.
namespace datalog {

/// The dates a record may carry. A line dated outside them is no measurement: the views never
/// have to span more than these two hundred years.
inline constexpr int kFirstYear = 1900;
inline constexpr int kLastYear = 2099;

/// Parses one decoded line; nothing (and a reason) when it is no measurement.
std::optional<WeightRecord> parseLine(const QString& line, QString* reason = nullptr);
/// parseLine() on a part of a decoded text, without a copy of it.
std::optional<WeightRecord> parseLine(QStringView line, QString* reason = nullptr);

/// The line of a record (without line end): numbers in their 7-digit shortest form.
QString formatLine(const WeightRecord& record);
/// The line of a record whose weight and body fat are 64-bit values (new start, conversions).
QString formatLine64(const WeightRecord& record, double weight, double bodyFat);

/// The Japanese message when a record cannot be written (a date that is no date from 1900/01/01
/// to 2099/12/31, a double quote, a line break or a character that code page 932 cannot hold in
/// one of its texts), as a failure; success when it can.
Status recordProblem(const WeightRecord& record);

/// Every record of the log in file order. A log that looks saved in UTF-8 by
/// another editor is read as UTF-8 so that nothing shows garbled; every writer below
/// refuses such a log until it is saved as Shift_JIS again.
LogContents readLog(const QString& dir);

/// The date of the log's last readable record as the file holds it now, read from its end;
/// an empty string for a log without records or without a file. A failure to read it fails.
Result<QString> lastRecordDate(const QString& dir);

// Every writer below takes the folder's write lock (FolderWriteLock) for its whole
// read-modify-write, and takes the day's first backup of the log (backups::backupBeforeChange)
// before it writes; a failed backup stops it.

/// The record as one new last line.
Status appendRecord(const QString& dir, const WeightRecord& record);

/// The record directly before the first record of a later date, after all
/// records of its own date; the whole log, as it is when the lock is taken, is replaced at once.
Status insertRecord(const QString& dir, const WeightRecord& record);

/// A change to one record for rewriteLog: returns true when it changed the record.
using RecordRule = std::function<bool(WeightRecord&)>;

/// Every record as changed by @p rule, the whole log replaced at once.
/// Unchanged lines, and lines that are no measurement, keep their bytes. @p changed receives
/// how many records the rule changed.
Status rewriteLog(const QString& dir, const RecordRule& rule, int* changed = nullptr);

/// Sees how many records the rewrite read, after the rule has seen them all and before
/// anything is written; a failure stops the rewrite with its message.
using RewriteCheck = std::function<Status(int records)>;

/// What a rewrite did, for a caller that has more files to write and may have to undo it.
struct RewriteOutcome {
    int changed = 0;   ///< records the rule changed
    QByteArray before; ///< the log as it was read
    QByteArray after;  ///< the log as it was written
};

/// rewriteLog with a last check over what was read, so that a caller can make sure the log
/// is still the one it showed without reading it a second time. @p outcome is filled when the
/// new log is in place (Status::inPlace()).
Status rewriteLog(const QString& dir, const RecordRule& rule, const RewriteCheck& check,
                  RewriteOutcome* outcome = nullptr);

/// The log replaced by @p records in the given order.
Status writeLog(const QString& dir, const std::vector<WeightRecord>& records);

} // namespace datalog
} // namespace puka
