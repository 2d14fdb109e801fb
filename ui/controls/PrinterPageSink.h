#pragma once

#include "PageSink.h"

#include <QFont>
#include <QPainter>

#include <memory>

class QPrinter;

namespace puka::ui {

/// A page on a QPrinter: a system printer or a PDF file. The document is begun on
/// construction; isOpen() tells whether QPainter::begin succeeded.
class PrinterPageSink : public PageSink {
public:
    explicit PrinterPageSink(std::unique_ptr<QPrinter> printer);
    /// Ends an unfinished document, so that what was printed still comes out.
    ~PrinterPageSink() override;

    /// A page on the system's default printer (or the first printer when none is the default).
    static std::unique_ptr<PrinterPageSink> toDefaultPrinter(const QString& documentName);
    /// A page in the PDF file @p path, A4 portrait.
    static std::unique_ptr<PrinterPageSink> toPdf(const QString& path, const QString& documentName);

    bool isOpen() const { return m_open; }
    QPrinter* printer() const { return m_printer.get(); }

    int textWidth(const QString& text) const override;
    int lineHeight() const override;
    int averageCharWidth() const override;

protected:
    int pageHeight() const override;
    void newPage() override;
    void putText(int xTwips, int yTwips, const QString& text) override;
    void putPicture(const QPixmap& picture, const QRect& twips) override;
    bool finish() override;

private:
    double toDevice(int twips) const;
    int toTwips(double devicePixels) const;

    std::unique_ptr<QPrinter> m_printer;
    QPainter m_painter;
    QFont m_font;
    double m_resolution = 1200;
    bool m_open = false;
};

} // namespace puka::ui
