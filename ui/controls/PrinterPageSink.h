#pragma once

#include "ui/controls/PageSink.h"

#include <QFont>
#include <QPainter>

class QPrinter;

namespace puka::ui {

/// A page on a QPrinter: a system printer, a PDF file or a print preview. The document is
/// begun on construction; isOpen() tells whether QPainter::begin succeeded.
class PrinterPageSink : public PageSink {
public:
    /// @p printer must outlive the page.
    explicit PrinterPageSink(QPrinter& printer);
    /// Ends an unfinished document, so that what was printed still comes out.
    ~PrinterPageSink() override;

    bool isOpen() const { return m_open; }

    int textWidth(const QString& text) const override;
    int lineHeight() const override;
    int averageCharacterWidth() const override;

protected:
    int pageHeight() const override;
    void newPage() override;
    void putText(int xTwips, int yTwips, const QString& text) override;
    void putPicture(const QPixmap& picture, const QRect& twips) override;
    bool finish() override;

private:
    double toDevice(int twips) const;
    int toTwips(double devicePixels) const;

    QPrinter* m_printer;
    QPainter m_painter;
    QFont m_font;
    double m_resolution = 1200;
    bool m_open = false;
};

} // namespace puka::ui
