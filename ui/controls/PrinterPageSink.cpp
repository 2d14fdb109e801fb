#include "ui/controls/PrinterPageSink.h"

#include "ui/controls/UiFont.h"

#include <QFontMetricsF>
#include <QPrinter>

#include <cmath>

namespace puka::ui {

PrinterPageSink::PrinterPageSink(QPrinter& printer) : m_printer(&printer) {
    // 9 points keeps the daily list's second print zone on an A4 page
    m_font = uiFont(9);
    m_resolution = m_printer->resolution() > 0 ? m_printer->resolution() : 1200;
    m_open = m_painter.begin(m_printer);
    if (m_open) {
        m_painter.setFont(m_font);
        m_painter.setPen(Qt::black);
        m_painter.setRenderHint(QPainter::SmoothPixmapTransform);
        m_painter.setRenderHint(QPainter::Antialiasing);
    }
}

PrinterPageSink::~PrinterPageSink() {
    if (m_open && !ended())
        endDocument();
}

double PrinterPageSink::toDevice(int twips) const {
    return twips * m_resolution / 1440.0;
}

int PrinterPageSink::toTwips(double devicePixels) const {
    return static_cast<int>(std::lround(devicePixels * 1440.0 / m_resolution));
}

int PrinterPageSink::textWidth(const QString& text) const {
    return toTwips(QFontMetricsF(m_font, m_printer).horizontalAdvance(text));
}

int PrinterPageSink::lineHeight() const {
    return toTwips(QFontMetricsF(m_font, m_printer).lineSpacing());
}

int PrinterPageSink::averageCharacterWidth() const {
    // a CJK face's own average counts its kanji; a character column is a half-width character
    static const QString sample = QStringLiteral("0123456789abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ");
    return toTwips(QFontMetricsF(m_font, m_printer).horizontalAdvance(sample) / sample.size());
}

int PrinterPageSink::pageHeight() const {
    return toTwips(m_printer->height());
}

void PrinterPageSink::newPage() {
    if (m_open)
        m_printer->newPage();
}

void PrinterPageSink::putText(int xTwips, int yTwips, const QString& text) {
    if (!m_open)
        return;
    const QFontMetricsF metrics(m_font, m_printer);
    m_painter.drawText(QPointF(toDevice(xTwips), toDevice(yTwips) + metrics.ascent()), text);
}

void PrinterPageSink::putPicture(const QPixmap& picture, const QRect& twips) {
    if (!m_open)
        return;
    const QRectF target(toDevice(twips.x()), toDevice(twips.y()), toDevice(twips.width()), toDevice(twips.height()));
    m_painter.drawPixmap(target, picture, QRectF(picture.rect()));
}

bool PrinterPageSink::finish() {
    if (!m_open)
        return false;
    m_open = false;
    return m_painter.end();
}

} // namespace puka::ui
