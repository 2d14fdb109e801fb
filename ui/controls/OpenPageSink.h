#pragma once

#include "Dialogs.h"
#include "PageSink.h"

#include <memory>

class QWidget;

namespace puka::ui {

/// Whether the system has a printer to print on.
bool printerAvailable();

/// A page on the default printer or, when the system has no printer, on a PDF file the user
/// agrees to and names (@p pdfSuggestedName is offered). Returns nullptr when the user declines
/// or the document cannot be begun; the user has then been told why. The print job is named
/// after @p parent's window caption.
std::unique_ptr<PageSink> openPageSink(QWidget* parent, Dialogs& dialogs, const QString& pdfSuggestedName);
/// As above, with the printer check already made: for tests and for callers that know.
std::unique_ptr<PageSink> openPageSink(QWidget* parent, Dialogs& dialogs, const QString& pdfSuggestedName,
                                       bool hasPrinter);

} // namespace puka::ui
