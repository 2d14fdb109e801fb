#pragma once

#include <QFont>

namespace puka::ui {

/// The font of the display controls at @p pointSize: a Japanese face where one is installed,
/// so that kanji take their Japanese forms rather than a fallback face's Chinese ones.
QFont uiFont(double pointSize);

} // namespace puka::ui
