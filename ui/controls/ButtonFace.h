#pragma once

#include <QColor>

#include <optional>

class QAbstractButton;

namespace puka::ui {

/// Gives @p button a face of exactly @p colour, as a chosen condition or a pending action
/// shows it, or the style's own face again with std::nullopt. The colour is painted flat, since
/// a style that shades a face (Fusion's gradient) would change it, and the caption turns dark
/// on it whatever the palette. The palette's Button colour tells the colour set.
void setButtonFace(QAbstractButton* button, const std::optional<QColor>& colour);

} // namespace puka::ui
