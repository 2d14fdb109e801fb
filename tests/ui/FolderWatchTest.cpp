// Changes other programs make to the folder while the window is open reach the panel on
// screen; the window's own writes rebuild once; unchanged files are not read again.

#include "core/files/FileNames.h"
#include "core/files/FileOps.h"
#include "core/files/FolderReadings.h"
#include "core/files/Settings.h"
#include "tests/ui/UiTestSupport.h"
#include "ui/FolderWatcher.h"
#include "ui/controls/GridView.h"

#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QProcess>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

using namespace puka;

namespace {

const QString kLog = QStringLiteral("\"2026/12/05\",\"起床後\",60.2,\"\",25,\"\"\r\n"
                                    "\"2026/12/06\",\"就寝前\",60.7,\"\",25.1,\"\"\r\n");

void twoDays(const test::WorkDir& dir) {
    test::writeOwnProfile(dir);
    dir.writeText(files::kData, kLog);
}

// Runs a shell command in the folder as another program would, and waits for it.
void otherProgram(const test::Window& t, const QString& command) {
    QProcess shell;
    shell.setWorkingDirectory(t.dir().path());
    shell.start(QStringLiteral("/bin/sh"), {QStringLiteral("-c"), command});
    ASSERT_TRUE(shell.waitForFinished(10000));
    ASSERT_EQ(shell.exitCode(), 0) << shell.readAllStandardError().toStdString();
}

// Lets the window run until @p done holds, for at most two seconds: the panel must follow a
// change within a second of it.
bool within(const std::function<bool()>& done) {
    QElapsedTimer clock;
    clock.start();
    while (!done() && clock.elapsed() < 2000)
        QTest::qWait(20);
    return done();
}

// Lets the window run for longer than the watcher waits for a burst to settle.
void settle() {
    QTest::qWait(4 * ui::FolderWatcher::kSettleMs);
}

} // namespace

TEST(FolderWatch, AnotherProgramsAppendReachesTheOpenPanel) {
    test::Window t(twoDays);
    t.start();
    t.click(QStringLiteral("cmdTaijyu"));
    // the user's conditions stay: the keyword typed, the weekday and period as they were
    t.find<QLineEdit>(QStringLiteral("txtKey"))->setText(QStringLiteral("起床"));
    t.click(QStringLiteral("cmdKensaku"));
    ASSERT_EQ(grid(t, "msgBunseki")->model().bodyRows(), 1);
    t.takeCalls();

    otherProgram(t, QStringLiteral("'%1' -C . --today 2026/12/07 add --weight 59.9 --fat 24.9 --situation 起床後")
                        .arg(QStringLiteral(PUKAPUKA_LOG_TOOL)));
    ASSERT_TRUE(within([&] { return grid(t, "msgBunseki")->model().bodyRows() == 2; }));
    EXPECT_EQ(grid(t, "msgBunseki")->cellText(2, 4), QStringLiteral("59.9Kg"));
    EXPECT_EQ(t.find<QLineEdit>(QStringLiteral("txtKey"))->text(), QStringLiteral("起床"));
    // the period's end was the opening build's: it follows the log to its new last day
    EXPECT_EQ(t.find<QComboBox>(QStringLiteral("cboEddate"))->currentText(), QStringLiteral("2026/12/07"));
    EXPECT_TRUE(t.takeCalls().isEmpty());
}

TEST(FolderWatch, ARewriteByRenameAndARecreatedLogReachTheOpenPanel) {
    test::Window t(twoDays);
    t.start();
    t.click(QStringLiteral("cmdMemo"));
    Q_EMIT grid(t, "msgMemoList")->cellClicked(2, 2);
    t.find<QLineEdit>(QStringLiteral("txtMemo"))->setText(QStringLiteral("書きかけ"));
    t.takeCalls();

    // a sync client puts a whole new log in place through a rename; the records keep their
    // size, so only the file's identity tells the change
    t.dir().write(QStringLiteral("new.tmp"),
                  test::sjis(QString(kLog)
                                 .replace(QStringLiteral("60.2,\"\",25,"), QStringLiteral("60.2,\"\",2,"))
                                 .replace(QStringLiteral("\"\",25.1"), QStringLiteral("\"a\",25.1"))));
    otherProgram(t, QStringLiteral("mv new.tmp 'データ.txt'"));
    ASSERT_TRUE(within([&] { return grid(t, "msgMemoList")->cellText(2, 7) == QStringLiteral("a"); }));
    // the chosen measurement and the comment being typed stay
    EXPECT_EQ(grid(t, "msgMemoList")->currentRow(), 2);
    EXPECT_EQ(t.find<QLineEdit>(QStringLiteral("txtMemo"))->text(), QStringLiteral("書きかけ"));

    // an editor that deletes the log and writes it anew, with a third record
    t.dir().write(QStringLiteral("new.tmp"),
                  test::sjis(kLog + QStringLiteral("\"2026/12/07\",\"朝\",59,\"\",24,\"\"\r\n")));
    otherProgram(t, QStringLiteral("rm 'データ.txt' && cp new.tmp 'データ.txt'"));
    ASSERT_TRUE(within([&] { return grid(t, "msgMemoList")->model().bodyRows() == 3; }));
    EXPECT_EQ(grid(t, "msgMemoList")->cellText(3, 2), QStringLiteral("朝"));
    EXPECT_TRUE(t.takeCalls().isEmpty());
}

TEST(FolderWatch, TheWindowsOwnSaveIsReadOnceAndRebuildsOnce) {
    test::Window t(twoDays);
    t.start();
    settle();
    QSignalSpy taken(&t.w(), &ui::MainWindow::outsideChangesTaken);
    const int reads = t.w().readings().readCount(files::kData);

    t.pickSituation(QStringLiteral("起床後"));
    t.find<QLineEdit>(QStringLiteral("txtTaiInp"))->setText(QStringLiteral("59.5"));
    t.click(QStringLiteral("cmdTaiHozon"));
    EXPECT_EQ(grid(t, "msgDayList")->model().bodyRows(), 1);
    settle();
    EXPECT_EQ(t.w().readings().readCount(files::kData), reads + 1);
    EXPECT_EQ(taken.count(), 0);
    EXPECT_TRUE(t.takeCalls().isEmpty());
}

TEST(FolderWatch, PanelsOpenedAgainDoNotReadAnUnchangedLog) {
    test::Window t(twoDays);
    t.start();
    for (const char* button : {"cmdRentai", "cmdTaijyu", "cmdBunseki", "cmdAvgtai", "cmdCale", "cmdMemo", "cmdMain"})
        t.click(QString::fromUtf8(button));
    for (const char* button : {"cmdTaijyu", "cmdMemo", "cmdRentai"})
        t.click(QString::fromUtf8(button));
    settle();
    EXPECT_EQ(t.w().readings().readCount(files::kData), 1);
    EXPECT_EQ(t.w().readings().readCount(files::kProfile), 1);
}

TEST(FolderWatch, ALogThatCannotBeReadIsToldOnceAndTheOtherSettingsFollow) {
    test::Window t(twoDays);
    t.start();
    t.click(QStringLiteral("cmdRentai"));
    t.takeCalls();
    const QString log = QDir(t.dir().path()).filePath(files::kData);
    setFaultHook([log](FileStep step, const QString& path) { return step == FileStep::Read && path == log ? EIO : 0; });
    QSignalSpy taken(&t.w(), &ui::MainWindow::outsideChangesTaken);

    otherProgram(t, QStringLiteral("printf 'x\\r\\n' >> 'データ.txt'"));
    ASSERT_TRUE(within([&] { return taken.count() == 1; }));
    auto calls = t.takeCalls();
    ASSERT_EQ(calls.size(), 1);
    EXPECT_EQ(calls[0].title, QStringLiteral("データファイルの確認"));
    EXPECT_TRUE(calls[0].prompt.contains(files::kData)) << calls[0].prompt.toStdString();

    // the log stays unreadable through another change: nothing more is said; the profile
    // changed at the same time reaches the caption
    otherProgram(t, QStringLiteral("printf 'x\\r\\n' >> 'データ.txt'"));
    ASSERT_TRUE(settings::writeProfile(t.dir().path(), Profile{QStringLiteral("次郎"), 170.0f, 60.0f}));
    ASSERT_TRUE(within([&] { return t.w().windowTitle().contains(QStringLiteral("次郎")); }));
    settle();
    EXPECT_TRUE(t.takeCalls().isEmpty());
    setFaultHook(nullptr);
}
