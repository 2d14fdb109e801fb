#include "OpenPageSink.h"

#include "PrinterPageSink.h"

#include <QPrinterInfo>
#include <QWidget>

namespace puka::ui {
namespace {

const QString kTitle = QStringLiteral("印刷");

} // namespace

bool printerAvailable() {
    return !QPrinterInfo::availablePrinters().isEmpty();
}

std::unique_ptr<PageSink> openPageSink(QWidget* parent, Dialogs& dialogs, const QString& pdfSuggestedName) {
    return openPageSink(parent, dialogs, pdfSuggestedName, printerAvailable());
}

std::unique_ptr<PageSink> openPageSink(QWidget* parent, Dialogs& dialogs, const QString& pdfSuggestedName,
                                       bool hasPrinter) {
    QString documentName = parent ? parent->window()->windowTitle().trimmed() : QString();
    if (documentName.isEmpty())
        documentName = QStringLiteral("Pukapuka☆ダイエット");

    if (hasPrinter) {
        auto sink = PrinterPageSink::toDefaultPrinter(documentName);
        if (sink->isOpen())
            return sink;
        dialogs.message(QStringLiteral("印刷を開始できませんでした。\r\nプリンターの状態を確認してください。"), kTitle,
                        Dialogs::Icon::Critical, Dialogs::Buttons::Ok);
        return nullptr;
    }

    const auto answer =
        dialogs.message(QStringLiteral("プリンターが見つかりません。\r\nPDFファイルとして保存しますか？"), kTitle,
                        Dialogs::Icon::Question, Dialogs::Buttons::YesNo);
    if (answer != Dialogs::Answer::Yes)
        return nullptr;
    QString path = dialogs.saveFileName(QStringLiteral("PDFファイルとして保存"), pdfSuggestedName,
                                        QStringLiteral("PDFファイル (*.pdf)"));
    if (path.isEmpty())
        return nullptr;
    if (!path.endsWith(QStringLiteral(".pdf"), Qt::CaseInsensitive))
        path += QStringLiteral(".pdf");
    auto sink = PrinterPageSink::toPdf(path, documentName);
    if (sink->isOpen())
        return sink;
    dialogs.message(QStringLiteral("PDFファイルを作成できませんでした。\r\n") + path, kTitle, Dialogs::Icon::Critical,
                    Dialogs::Buttons::Ok);
    return nullptr;
}

} // namespace puka::ui
