#pragma once

#include "core/base/Status.h"
#include "core/base/WeightRecord.h"

#include <QByteArray>
#include <QString>

#include <optional>
#include <vector>

namespace puka {

/// The measurement log line by line, each line with its bytes, its line end and its record,
/// for the writers that change single records and for reading backups.
namespace loglines {

/// One line of the log.
/// One line of the log. Its texts are views into the bytes it was split from, which must stay
/// as they are while it is used.
struct Line {
    QByteArrayView text;                ///< the line's bytes without its line end
    QByteArrayView end;                 ///< its line end as it stands: CR LF, LF, CR, or none at the end
    std::optional<WeightRecord> record; ///< the measurement it holds, when it holds one
};

/// The lines of @p bytes; @p utf8 reads them as UTF-8 (a log another editor saved so).
/// The records are those the log reader takes: the same lines, in the same order.
std::vector<Line> split(const QByteArray& bytes, bool utf8 = false);

/// The lines of @p bytes with their line ends only, no record read yet.
std::vector<Line> splitBytes(const QByteArray& bytes);

/// The measurement of one line's code page 932 bytes, as split() reads it.
std::optional<WeightRecord> recordOf(QByteArrayView text);

/// A log file read whole; its lines are views into its bytes.
struct ReadLog {
    bool exists = false;
    bool utf8 = false; ///< the file looks saved in UTF-8
    QByteArray bytes;
    std::vector<Line> lines;

    int recordCount() const;
};

/// Reads the log file at @p path; a failure when it is there but cannot be read.
Result<ReadLog> readLog(const QString& path);

} // namespace loglines
} // namespace puka
