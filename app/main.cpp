#include "Allocator.h"
#include "frmMain.h"

#include <QApplication>
#include <QDir>

int main(int argc, char** argv) {
    puka::allocator::keepFreedMemory();
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("pukapuka"));
    // the data files live in the working directory
    puka::ui::frmMain window(QDir::currentPath());
    window.startup();
    return QApplication::exec();
}
