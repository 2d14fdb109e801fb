#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

namespace puka {

/// Conversion between the program's strings and Windows code page 932 (Shift_JIS
/// with the NEC and IBM extensions), through glibc iconv.
namespace cp932 {

/// Encodes @p text. Returns nothing when a character cannot be held by code page 932;
/// @p badChar then receives the first such character (a whole surrogate pair for emoji).
std::optional<QByteArray> encode(const QString& text, QString* badChar = nullptr);

/// Decodes @p bytes. Returns nothing when they are not valid code page 932
/// (an unmapped byte, or a lead byte without its trail byte).
std::optional<QString> decode(const QByteArray& bytes);

/// The Japanese message for text that cannot be saved, naming the character.
QString unencodableMessage(const QString& badChar);

} // namespace cp932
} // namespace puka
