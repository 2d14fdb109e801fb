#include "ui/controls/PageSink.h"

#include <algorithm>

namespace puka::ui {

void PageSink::breakPageIfFull() {
    // a line that does not fit below the previous one continues at the top of a new page
    const int height = pageHeight();
    if (height > 0 && m_y > 0 && m_y + lineHeight() > height) {
        newPage();
        m_y = 0;
    }
}

void PageSink::print(const QString& text) {
    if (m_ended)
        return;
    breakPageIfFull();
    if (!text.isEmpty())
        putText(m_x, m_y, text);
    m_x += textWidth(text);
}

void PageSink::printLine(const QString& text) {
    print(text);
    m_x = 0;
    m_y += lineHeight();
}

void PageSink::printZones(const QStringList& items) {
    const int zone = std::max(zoneWidth(), 1);
    for (qsizetype i = 0; i < items.size(); ++i) {
        if (i > 0)
            m_x = (m_x / zone + 1) * zone;
        print(items[i]);
    }
    printLine();
}

void PageSink::drawPicture(const QPixmap& picture, int xTwips, int yTwips, int widthTwips, int heightTwips) {
    if (m_ended || picture.isNull() || widthTwips <= 0 || heightTwips <= 0)
        return;
    putPicture(picture, QRect(xTwips, yTwips, widthTwips, heightTwips));
}

void PageSink::drawPicture(const QPixmap& picture, int xTwips, int yTwips) {
    const QSizeF size = picture.deviceIndependentSize();
    const double dpi = picture.logicalDpiX() > 0 ? picture.logicalDpiX() : 96.0;
    drawPicture(picture, xTwips, yTwips, static_cast<int>(size.width() * 1440 / dpi + 0.5),
                static_cast<int>(size.height() * 1440 / dpi + 0.5));
}

bool PageSink::endDocument() {
    if (m_ended)
        return false;
    m_ended = true;
    return finish();
}

} // namespace puka::ui
