#pragma once

#include "core/base/Status.h"

#include <QByteArray>
#include <QString>

#include <optional>

namespace puka {

/// Conversion between the program's strings and Windows code page 932 (Shift_JIS
/// with the NEC and IBM extensions), through glibc iconv.
namespace cp932 {

/// Encodes @p text. A failure when a character cannot be held by code page 932: its message
/// (unencodableMessage()) names the first such character (a whole surrogate pair for emoji).
Result<QByteArray> encode(const QString& text);

/// Decodes @p bytes. Returns nothing when they are not valid code page 932
/// (an unmapped byte, or a lead byte without its trail byte).
std::optional<QString> decode(const QByteArray& bytes);

/// The Japanese message for text that cannot be saved, naming the character.
QString unencodableMessage(const QString& badCharacter);

/// True when @p bytes look like a file another editor saved in UTF-8: they start with the
/// UTF-8 byte order mark, or they are valid UTF-8 throughout, hold at least one character
/// of three or more bytes, and are no valid code page 932 text. (Real code page 932 text
/// almost always fails the second test at its first kanji or kana: their lead bytes 81-9F
/// are UTF-8 continuation bytes. Bytes valid in both are taken as ours: reading them as code
/// page 932 and writing them back keeps them, where taking them for UTF-8 would refuse
/// every save.)
bool looksLikeUtf8(const QByteArray& bytes);

/// False when the start @p bytes of a file already show that looksLikeUtf8() is false for the
/// whole file: they hold a byte sequence that is no UTF-8 (one cut off at their end may still
/// be) and no byte order mark.
bool mayBeUtf8(const QByteArray& bytes);

/// @p bytes decoded as UTF-8 without their byte order mark.
QString decodeUtf8(const QByteArray& bytes);

/// The Japanese message for a file of @p fileName that looks saved in UTF-8.
QString utf8Message(const QString& fileName);

} // namespace cp932
} // namespace puka
