#pragma once

#include "core/base/Status.h"
#include "core/files/CsvExport.h"

#include <QByteArray>
#include <QString>

namespace puka {

/// Taking every record of the log out as a CSV file, as the edit panel's 「エクスポート…」 and
/// `pukapuka-log export` do it.
namespace logexport {

/// What an export wrote.
struct Outcome {
    Status status;          ///< a failure: no file was written
    bool fileError = false; ///< the failure is a file that cannot be read or written, not a check
    QByteArray bytes;       ///< the CSV
    qint64 records = 0;     ///< the records in it
    QString firstDate;      ///< the first record's date, and the last's
    QString lastDate;
    QString notice; ///< lines of the log that are no measurement and are not in the CSV, or empty
};

/**
 * The CSV of every record of the log of @p dir (csvexport::write()). A folder without a log,
 * or a log without a record, is refused; lines that are no measurement are left out and
 * said in Outcome::notice. @p byteOrderMark starts a UTF-8 file with its mark.
 */
Outcome exportLog(const QString& dir, csvexport::Encoding encoding, bool byteOrderMark);

/**
 * Writes the CSV of the log of @p dir to the file @p path at once (a complete copy renamed over
 * it), UTF-8 with a byte order mark or code page 932. A path that is one of the program's own
 * data files in the folder is refused, so that an export never replaces the log.
 */
Outcome exportToFile(const QString& dir, const QString& path, csvexport::Encoding encoding);

/// The one line after an export to a file.
QString doneLine(const Outcome& outcome, const QString& path, csvexport::Encoding encoding);

/// The Japanese name of the encoding of an exported file.
QString encodingName(csvexport::Encoding encoding);

} // namespace logexport
} // namespace puka
