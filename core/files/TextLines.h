#pragma once

#include "core/base/Status.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QStringView>
#include <QVarLengthArray>

#include <optional>
#include <vector>

namespace puka {

/// Splits file bytes into lines at CR LF, LF or a lone CR. A final line end yields no
/// empty last line; @p lastTerminated tells whether the last line had its line end.
std::vector<QByteArray> splitLines(const QByteArray& bytes, bool* lastTerminated = nullptr);

/// The fields of one line by the field rules shared by every data and setting file:
/// blanks before a field are skipped; a field starting with a double quote runs to the
/// next double quote (whatever follows up to the comma is skipped); any other field runs
/// to the next comma with its trailing blanks dropped. A blank line has no fields.
/// Returns nothing when a quoted field has no closing quote (a torn line).
std::optional<QStringList> splitFields(const QString& line);

/// The fields of @p line as splitFields() cuts them, as views into the line (no copies, for
/// the log reader); nothing for a torn quoted field. Only the first @p keep fields are kept;
/// @p count, when given, receives how many fields the line has, so that a line of millions of
/// commas costs no memory for each.
std::optional<QVarLengthArray<QStringView, 8>> fieldViews(QStringView line, qsizetype keep = -1,
                                                          qsizetype* count = nullptr);

/// A text in the quoted write form: "text".
QString quoted(const QString& text);

/// A failure with the Japanese message when @p text cannot stand in a text field of our files,
/// success when it can: no double quote, no line break, only code page 932 characters.
/// @p what names the field for the user ("状況", "一言日記", ...).
Status textFieldProblem(const QString& text, const QString& what);

/// Like textFieldProblem() for multi-line text that is written whole (the notes memo):
/// only the characters must be held by code page 932.
Status freeTextProblem(const QString& text);

/// @p line in code page 932 followed by CR LF; a failure naming the character when code page
/// 932 cannot hold it.
Result<QByteArray> encodeLine(const QString& line);
/// Each of @p lines so, one after the other.
Result<QByteArray> encodeLines(const QStringList& lines);

/// Decoded lines of a text file; lines that are no valid code page 932 are counted, not kept.
struct DecodedLines {
    QStringList lines;
    int undecodable = 0;
};
DecodedLines decodeLines(const QByteArray& bytes);

/// The decoded lines of the file @p name in @p dir (the extension in any case).
/// A file that looks saved in UTF-8 (cp932::looksLikeUtf8) is read as UTF-8, with the notice
/// for the user in @c problem.
struct TextFile {
    bool missing = false; ///< there is no such file
    bool utf8 = false;    ///< the file looks saved in UTF-8
    DecodedLines decoded;
    QString problem; ///< the Japanese message when the file could not be read
};
TextFile readTextFile(const QString& dir, const QString& name);

/// Why the file at @p path must not be written now, as a failure; success when it may be. A file that looks
/// saved in UTF-8 is neither appended to nor rewritten: our lines would mix two encodings.
/// With @p wholeReadNeeded (a rewrite made from what a reader showed) a file that does not
/// decode whole as code page 932 is refused too, since the lines that could not be read
/// would be lost. A missing or unreadable file is no reason here; the write reports that.
Status writeRefusal(const QString& path, bool wholeReadNeeded);

} // namespace puka
