#pragma once

#include "core/base/Status.h"
#include "core/base/WeightRecord.h"

#include <QByteArray>
#include <QString>

#include <vector>

namespace puka {

/// The measurement log as a CSV file that spreadsheets open, and that the import reads back.
namespace csvexport {

/// The header line.
inline const QString kHeader = QStringLiteral("日付,状況,体重(kg),体脂肪率(%),コメント");

/// The encodings of an export.
enum class Encoding {
    Utf8,  ///< UTF-8
    Cp932, ///< Shift_JIS (code page 932), as older spreadsheets expect
};

/// An export: the bytes of the file, or why there are none.
struct CsvOutcome {
    Status status;
    QByteArray bytes;
};

/**
 * Every record as one CSV line after the header kHeader: date ("yyyy/mm/dd"), situation, weight
 * and body fat in their stored text, comment; lines end with CR LF. A text is quoted when it
 * holds a comma, a double quote (doubled), a line break or blanks at either end. A text that
 * starts with = + - @ (which a spreadsheet would take for a formula) or with a quote gets a
 * quote in front, which the import drops again. @p byteOrderMark puts the UTF-8 byte order mark
 * first, by which Japanese spreadsheets recognise UTF-8. In code page 932 a character that it
 * cannot hold fails the export with a message naming it; nothing is replaced.
 */
CsvOutcome write(const std::vector<WeightRecord>& records, Encoding encoding, bool byteOrderMark = true);

} // namespace csvexport
} // namespace puka
