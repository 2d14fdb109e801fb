#include "frmMain.h"

#include <QApplication>
#include <QDir>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("pukapuka"));
    QApplication::setApplicationDisplayName(QStringLiteral("Pukapuka☆ダイエット"));
    // the data files live in the working directory
    puka::ui::frmMain window(QDir::currentPath());
    window.show();
    return QApplication::exec();
}
