#pragma once

#include <QString>

#include <functional>

class QWidget;

namespace puka::ui {

class PageSink;

/// Where the printouts go: a preview first, then the paper (or a PDF file when the system has
/// no printer) once the user prints from it. Panels hold a Printer& so that tests can stand in
/// for the user and the device.
class Printer {
public:
    /// Draws one printout on a page. It is called once for the preview and again for the paper,
    /// and draws the same each time.
    using Drawing = std::function<void(PageSink& page)>;
    enum class Outcome {
        Printed,   ///< the document went to its device whole
        Cancelled, ///< the user closed the preview or declined the PDF file: nothing printed
        Failed,    ///< the device refused; the user has been told why
    };

    virtual ~Printer() = default;

    /// Shows @p drawing in the preview and prints it when the user asks for it. Without a
    /// printer the user is offered a PDF file, @p pdfSuggestedName first. The print job is named
    /// after @p parent's window caption.
    virtual Outcome print(QWidget* parent, const QString& pdfSuggestedName, const Drawing& drawing) = 0;
};

} // namespace puka::ui
