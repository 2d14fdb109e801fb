#pragma once

#include "core/base/Status.h"
#include "core/edits/ImportPlan.h"
#include "core/edits/LogEdits.h"
#include "core/files/CsvImport.h"

#include <QString>
#include <QStringList>

#include <vector>

namespace puka {

/// Bringing the measurements of another program's file into the log, as the edit panel's
/// 「インポート…」 and `pukapuka-log import` do it: the file is read and checked for the preview,
/// and only a confirmed import writes, under the folder's write lock.
namespace logimport {

/// The largest file read. A tracker's export of a million measurements (the row limit), even
/// in UTF-16, stays well below it; a larger file is refused before it is read.
constexpr qint64 kLargestFile = 256LL * 1024 * 1024;

/// A file read for an import.
struct Source {
    Status status;          ///< a failure: nothing can be imported from the file
    bool fileError = false; ///< the failure is that the file could not be read, not what it holds
    QString path;
    csvimport::Table table;               ///< the rows; those without a situation of their own carry the chosen one
    std::vector<size_t> withoutSituation; ///< the rows that have no situation of their own
    QString situation;                    ///< the one chosen for them; empty: the time of day or 「インポート」

    /// The Japanese name of the default choice for the rows without a situation: their time of
    /// day (in the time button's form) where the file has one, else 「インポート」.
    QString defaultSituationName() const;
};

/**
 * Reads the file @p path as a table (csvimport::read() with @p options). A file that is not
 * there, is no regular file or cannot be read fails as a file error; a file larger than
 * kLargestFile or one that holds no table is refused with the reason. The situation of
 * @p options is the one chosen for the rows without a situation of their own.
 */
Source readSource(const QString& path, const csvimport::Options& options = csvimport::Options());

/// Gives the rows of @p source that have no situation of their own @p situation (empty: the
/// default). A text that the log cannot hold fails with the entry's message and changes nothing.
Status chooseSituation(Source* source, const QString& situation);

/// What an import would do, or did.
struct Outcome {
    Status status;          ///< a failure: nothing was written
    bool fileError = false; ///< the failure is a file that cannot be read or written, not a check
    ImportPlan plan;        ///< the merge into the log as it was read
    /// After the write: the records put in, with their numbers, so that the import can be taken
    /// back as a whole. Empty when the import made a new log.
    logedits::LogChange change;
    QString backupName; ///< the automatic backup taken before the write; empty without a log

    /// True when the import was written.
    bool written() const { return status.inPlace() && plan.changes(); }
};

/**
 * What importing @p source would do to the log of @p dir as it is now, for the preview: the
 * log is read without the lock, and nothing is written. The shipped sample data take no
 * import (the entry's message).
 */
Outcome preview(const QString& dir, const Source& source, bool takeBeforeStart);

/**
 * Imports @p source into the log of @p dir, all or nothing: under the folder's write lock the
 * log is read again and the rows are merged into what it holds now, so a record another
 * window or program wrote since the preview is kept (and a row equal to it is a duplicate).
 * When there is anything to add, the log is backed up (backups::Reason::Import) and replaced
 * at once by the merged content. On any failure the log is as it was.
 */
Outcome importInto(const QString& dir, const Source& source, bool takeBeforeStart);

/// The Japanese lines of the preview and of `--dry-run`: what was found in the file, then what
/// the import would do.
QStringList previewLines(const Source& source, const Outcome& outcome);

/// The one line after an import: what was added, what was left out.
QString doneLine(const Outcome& outcome, const csvimport::Table& table);

} // namespace logimport
} // namespace puka
