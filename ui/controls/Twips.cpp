#include "ui/controls/Twips.h"

#include <QApplication>
#include <QScreen>
#include <QWidget>

#include <cmath>

namespace puka::ui {

int twipsToPixels(int twips, const QWidget* widget) {
    double dpi = 96.0;
    if (widget)
        dpi = widget->logicalDpiX();
    else if (const QScreen* screen = QApplication::primaryScreen())
        dpi = screen->logicalDotsPerInchX();
    return static_cast<int>(std::lround(twips * dpi / 1440.0));
}

int scaledPixels(int pixels, const QWidget* widget) {
    // 96 dpi is 15 twips to the pixel
    return twipsToPixels(pixels * 15, widget);
}

} // namespace puka::ui
