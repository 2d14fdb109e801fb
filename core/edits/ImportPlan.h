#pragma once

#include "core/base/Status.h"
#include "core/files/CsvImport.h"

#include <QByteArray>
#include <QDate>
#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

namespace puka {

/// What merging the rows of a file into the measurement log would give: the whole new log and
/// the counts the user is shown before anything is written.
struct ImportPlan {
    Status status;      ///< a failure: the log cannot take the rows, and nothing may be written
    QByteArray content; ///< the whole new log, or empty when nothing would be added
    qint64 added = 0;
    qint64 duplicatesOfLog = 0;    ///< rows equal to a record already in the log
    qint64 duplicatesInFile = 0;   ///< rows equal to an earlier row of the file
    qint64 beforeStart = 0;        ///< rows (not duplicates) dated before the log's start record
    QDate beforeStartFirst;        ///< the earliest date among them
    bool beforeStartTaken = false; ///< those rows are in content: the start record changes
    bool newLog = false;           ///< there was no log: the earliest row becomes the start record
    QString startDate;             ///< the start record's date before the import; empty without one
    QString newStartDate;          ///< the start record's date after it
    QDate firstAdded;              ///< the earliest date among the added rows
    QDate lastAdded;               ///< the latest

    /// True when there is something to write.
    bool changes() const { return status.ok() && added > 0; }

    /// The Japanese lines that say what the import would do.
    QStringList summary() const;

    /// The question asked before rows dated before the start record are taken (Yes takes them,
    /// No leaves them out and imports the rest); empty when there are none.
    QString beforeStartQuestion() const;
};

/**
 * Merges @p rows into the log whose bytes are @p log (nothing: the folder has no log yet).
 *
 * The rows go in date order, as the entry inserts a record: a row directly before the first
 * record of a later date, so that a day's imported rows follow its existing ones; among
 * themselves by time of day where they have one, else in file order. Every line of the log
 * keeps its bytes and its place, also the lines that are no measurement. A row equal to a
 * record of the log or to an earlier row of the file (same date, situation, weight and body
 * fat) is left out as a duplicate, so importing a file twice adds nothing the second time.
 * Rows dated before the start record are left out unless @p takeBeforeStart; taken, the
 * earliest of them becomes the start record. A log that looks saved in UTF-8 is refused, as by
 * every writer of the log.
 */
ImportPlan planImport(const std::optional<QByteArray>& log, const std::vector<csvimport::Row>& rows,
                      bool takeBeforeStart);

} // namespace puka
