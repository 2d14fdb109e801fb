#pragma once

class QWidget;

namespace puka::ui {

/// Pixels for a length in twips (1/1440 inch) on the screen of @p widget, from its logical DPI.
int twipsToPixels(int twips, const QWidget* widget = nullptr);

} // namespace puka::ui
