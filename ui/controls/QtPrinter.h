#pragma once

#include "ui/controls/Printer.h"

#include <functional>
#include <memory>

class QPrinter;

namespace puka::ui {

class Dialogs;

/// The real printer: Qt's print preview over the system's default printer or, when the system
/// has none, over a PDF file the user agrees to and names. Every failure is told in a box.
class QtPrinter : public Printer {
public:
    explicit QtPrinter(Dialogs& dialogs) : m_dialogs(dialogs) {}

    Outcome print(QWidget* parent, const QString& pdfSuggestedName, const Drawing& drawing) override;

protected:
    /// Whether the system has a printer to print on.
    virtual bool hasPrinter() const;
    /// Shows the preview of @p printer, which @p paint draws on, until the user closes it or
    /// prints from it; true when they printed. @p paint is called again for the paper.
    virtual bool preview(QWidget* parent, QPrinter& printer, const std::function<void(QPrinter&)>& paint);

private:
    std::unique_ptr<QPrinter> pdfPrinter(const QString& suggestedName);

    Dialogs& m_dialogs;
};

} // namespace puka::ui
