#include "Allocator.h"
#include "SingleWindow.h"
#include "frmMain.h"

#include <QApplication>
#include <QMessageBox>

int main(int argc, char** argv) {
    puka::allocator::keepFreedMemory();
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("pukapuka"));
    // The data files live in the working directory and are opened relative to it, so that a
    // folder whose name is no valid UTF-8 works like any other.
    const QString workDir = QStringLiteral(".");

    // One window per folder: a second start brings the first window to the front and ends
    // before it reads or writes anything.
    puka::ui::SingleWindow single(workDir);
    switch (single.claim()) {
    case puka::ui::SingleWindow::Start::Raised:
        return 0;
    case puka::ui::SingleWindow::Start::AlreadyOpen:
        QMessageBox::information(nullptr, puka::ui::SingleWindow::alreadyOpenTitle(),
                                 puka::ui::SingleWindow::alreadyOpenMessage());
        return 0;
    case puka::ui::SingleWindow::Start::First:
        break;
    }

    puka::ui::frmMain window(workDir);
    QObject::connect(&single, &puka::ui::SingleWindow::raiseRequested, &window, &puka::ui::frmMain::bringToFront);
    window.startup();
    return QApplication::exec();
}
