#pragma once

class QWidget;

namespace puka::ui {

/// Pixels for a length in twips (1/1440 inch) on the screen of @p widget, from its logical DPI.
int twipsToPixels(int twips, const QWidget* widget = nullptr);

/// Pixels for a length of @p pixels on a 96 dpi screen, on the screen of @p widget: a size
/// laid out for a normal screen grows with a larger font setting, as the text in it does.
int scaledPixels(int pixels, const QWidget* widget = nullptr);

} // namespace puka::ui
