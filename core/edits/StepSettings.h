#pragma once

#include "core/base/Status.h"
#include "core/files/Settings.h"

#include <QString>
#include <QStringList>

#include <optional>

namespace puka {

/// The input increments of the edit panel: the weight and body-fat steps of the up and down
/// buttons, chosen by option (`optKizami`, `optKizami1`) or typed (`txtKizami`, `txtKizami2`).
namespace increments {

/// Which of the two steps.
enum class Kind {
    Weight, ///< weightStep: optKizami, txtKizami, line 1 of the file
    Fat,    ///< fatStep: optKizami1, txtKizami2, line 2 of the file
};

/// The step an option button stands for: index 1 "0.1", 2 "0.2", 3 "0.5"; empty for any other.
QString optionStep(int index);

/// The captions of the options with index 1 to 3.
QStringList optionCaptions(Kind kind);

/// The option that shows @p step after reading the steps file: 1 to 3 when the text is exactly
/// "0.1", "0.2" or "0.5", else 0, a free value (so "0.10" counts as free). For 0 the options
/// are cleared and the free field receives the step; otherwise the free field keeps its text.
int optionFor(const QString& step);

/// The step of a typed free value: the text without blanks at either end, or a refusal that
/// says why in Japanese when it is no positive number (the up and down buttons could not step
/// by it).
Result<QString> freeStep(const QString& typed);

/**
 * An option clicked: the step of @p kind becomes optionStep(@p index) and "体重計刻み.TXT" is
 * written with both lines, the other step as the file holds it (as @p steps holds it when the
 * file has no usable steps). @p steps becomes what was written, and changes only when the file
 * was written, so the two stay equal. An index outside 1 to 3 changes nothing.
 */
Status chooseOption(const QString& dir, Steps& steps, Kind kind, int index);

/// Enter in a free field: the step of @p kind becomes freeStep(@p typed) and the file is
/// written with both lines; a text that is no positive number is refused and nothing changes.
Status confirmFree(const QString& dir, Steps& steps, Kind kind, const QString& typed);

} // namespace increments
} // namespace puka
