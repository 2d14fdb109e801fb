#include "ui/controls/QtPrinter.h"

#include "core/base/Messages.h"
#include "ui/controls/Dialogs.h"
#include "ui/controls/PrinterPageSink.h"

#include <QPageLayout>
#include <QPageSize>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QWidget>

namespace puka::ui {
namespace {

QString documentName(QWidget* parent) {
    const QString caption = parent ? parent->window()->windowTitle().trimmed() : QString();
    return caption.isEmpty() ? messages::productName() : caption;
}

std::unique_ptr<QPrinter> defaultPrinter() {
    QPrinterInfo info = QPrinterInfo::defaultPrinter();
    if (info.isNull() && !QPrinterInfo::availablePrinters().isEmpty())
        info = QPrinterInfo::availablePrinters().constFirst();
    return std::make_unique<QPrinter>(info, QPrinter::HighResolution);
}

} // namespace

bool QtPrinter::hasPrinter() const {
    return !QPrinterInfo::availablePrinters().isEmpty();
}

std::unique_ptr<QPrinter> QtPrinter::pdfPrinter(const QString& suggestedName) {
    const auto answer =
        m_dialogs.message(QStringLiteral("プリンターが見つかりません。\r\nPDFファイルとして保存しますか？"),
                          messages::printTitle(), Dialogs::Icon::Question, Dialogs::Buttons::YesNo);
    if (answer != Dialogs::Answer::Yes)
        return nullptr;
    QString path = m_dialogs.saveFileName(QStringLiteral("PDFファイルとして保存"), suggestedName,
                                          QStringLiteral("PDFファイル (*.pdf)"));
    if (path.isEmpty())
        return nullptr;
    if (!path.endsWith(QStringLiteral(".pdf"), Qt::CaseInsensitive))
        path += QStringLiteral(".pdf");
    auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    printer->setOutputFormat(QPrinter::PdfFormat);
    printer->setOutputFileName(path);
    printer->setCreator(messages::productName());
    // about the hard margins of a desk printer, so a page laid out for paper fits the file too
    printer->setPageLayout(
        QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(4, 4, 4, 4), QPageLayout::Millimeter));
    return printer;
}

Printer::Outcome QtPrinter::print(QWidget* parent, const QString& pdfSuggestedName, const Drawing& drawing) {
    const std::unique_ptr<QPrinter> printer = hasPrinter() ? defaultPrinter() : pdfPrinter(pdfSuggestedName);
    if (!printer)
        return Outcome::Cancelled;
    printer->setDocName(documentName(parent));

    // the last drawing is the paper's: its outcome is the printout's
    bool begun = false;
    bool ended = false;
    const auto paint = [&](QPrinter& target) {
        PrinterPageSink page(target);
        begun = page.isOpen();
        ended = false;
        if (!begun)
            return;
        drawing(page);
        ended = page.endDocument();
    };
    if (!preview(parent, *printer, paint))
        return Outcome::Cancelled;
    if (ended)
        return Outcome::Printed;

    QString problem;
    if (printer->outputFormat() == QPrinter::PdfFormat)
        problem = QStringLiteral("PDFファイルを作成できませんでした。\r\n") + printer->outputFileName();
    else if (!begun)
        problem = QStringLiteral("印刷を開始できませんでした。\r\nプリンターの状態を確認してください。");
    else
        problem = QStringLiteral("印刷を完了できませんでした。\r\nプリンターの状態を確認してください。");
    m_dialogs.message(problem, messages::printTitle(), Dialogs::Icon::Critical, Dialogs::Buttons::Ok);
    return Outcome::Failed;
}

bool QtPrinter::preview(QWidget* parent, QPrinter& printer, const std::function<void(QPrinter&)>& paint) {
    QPrintPreviewDialog dialog(&printer, parent);
    dialog.setWindowTitle(QStringLiteral("印刷プレビュー"));
    if (parent)
        dialog.resize(parent->window()->size() * 9 / 10);
    QObject::connect(&dialog, &QPrintPreviewDialog::paintRequested, &dialog,
                     [&paint](QPrinter* target) { paint(*target); });
    return dialog.exec() == QDialog::Accepted;
}

} // namespace puka::ui
