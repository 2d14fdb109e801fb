#include "core/Version.h"
#include "core/base/Allocator.h"
#include "ui/MainWindow.h"
#include "ui/SingleWindow.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QMessageBox>
#include <QTranslator>

#include <cstdio>
#include <cstring>

namespace {

const char* const kHelp = "usage: pukapuka [QT OPTIONS]\n"
                          "       pukapuka --help | --version\n"
                          "\n"
                          "Opens the window of Pukapuka☆ダイエット, the diet diary, on the data files of the\n"
                          "current folder: the measurement log データ.txt and the setting files, all Shift_JIS text.\n"
                          "pukapuka-launcher starts it in the user's data folder, ~/.local/share/pukapuka.\n"
                          "\n"
                          "Options:\n"
                          "  -h, --help     print this help and exit\n"
                          "  --version      print the version and exit\n"
                          "Qt's own options apply as well, such as -style Fusion or -platform offscreen.\n";

// The answer to --help or --version, given before any window needs a display; -1 to go on.
int answerInformationOption(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
            std::fputs(kHelp, stdout);
            return 0;
        }
        if (std::strcmp(argv[i], "--version") == 0) {
            std::printf("pukapuka %s\n", puka::kVersion);
            return 0;
        }
    }
    return -1;
}

} // namespace

int main(int argc, char** argv) {
    if (const int status = answerInformationOption(argc, argv); status >= 0)
        return status;
    puka::allocator::keepFreedMemory();
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("pukapuka"));
    QApplication::setApplicationVersion(QString::fromLatin1(puka::kVersion));
    // Qt's own boxes (the print preview, the file and print dialogs) speak Japanese when the
    // system has Qt's translations
    QTranslator qtTexts;
    if (qtTexts.load(QLocale(QLocale::Japanese, QLocale::Japan), QStringLiteral("qtbase"), QStringLiteral("_"),
                     QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtTexts);
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

    puka::ui::MainWindow window(workDir);
    QObject::connect(&single, &puka::ui::SingleWindow::raiseRequested, &window, &puka::ui::MainWindow::bringToFront);
    window.startup();
    return QApplication::exec();
}
