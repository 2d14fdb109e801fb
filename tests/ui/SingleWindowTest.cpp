// One window per folder: a second start brings the first window to the front and ends
// without touching a file, and a window that died leaves nothing in the way.
#include "tests/core/CoreTestHelpers.h"
#include "tests/ui/UiTestSupport.h"

#include "core/files/FolderWindowLock.h"
#include "ui/SingleWindow.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLocalServer>
#include <QTest>

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

using namespace puka;
using Start = ui::SingleWindow::Start;

namespace {

// Runs the event loop until @p done holds or a second has passed.
bool within(const std::function<bool()>& done) {
    QElapsedTimer timer;
    timer.start();
    while (!done() && timer.elapsed() < 1000)
        QTest::qWait(10);
    return done();
}

} // namespace

TEST(SingleWindow, ASecondStartRaisesTheFirstWindowAndWritesNothing) {
    test::WorkDir dir;
    dir.copySample();
    const auto before = test::snapshot(dir);
    ui::SingleWindow first(dir.path());
    ASSERT_EQ(first.claim(), Start::First);
    int raised = 0;
    QObject::connect(&first, &ui::SingleWindow::raiseRequested, [&raised] { ++raised; });

    // the same folder through a link is the same folder
    test::WorkDir links;
    const QString link = QDir(links.path()).filePath(QStringLiteral("日記"));
    ASSERT_TRUE(QFile::link(dir.path(), link));
    for (const QString& path : {dir.path(), link}) {
        ui::SingleWindow second(path);
        EXPECT_EQ(second.claim(std::chrono::milliseconds(500)), Start::Raised) << path.toStdString();
    }
    EXPECT_TRUE(within([&raised] { return raised == 2; })) << raised;
    EXPECT_TRUE(test::sameFiles(before, test::snapshot(dir)));

    // another folder is no other window's
    test::WorkDir other;
    ui::SingleWindow elsewhere(other.path());
    EXPECT_EQ(elsewhere.claim(), Start::First);
}

// A window that was killed leaves its server name behind: a socket nobody listens on. The next
// start takes the folder all the same, and a start after it reaches the new window.
TEST(SingleWindow, AWindowThatDiedLeavesNothingInTheWay) {
    test::WorkDir dir;
    const QString name = FolderWindowLock::serverName(dir.path());
    const QByteArray socketPath = QFile::encodeName(QDir(QDir::tempPath()).filePath(name));
    const int stale = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    ASSERT_LT(static_cast<size_t>(socketPath.size()), sizeof address.sun_path);
    std::memcpy(address.sun_path, socketPath.constData(), static_cast<size_t>(socketPath.size()));
    ::unlink(socketPath.constData());
    ASSERT_EQ(::bind(stale, reinterpret_cast<const sockaddr*>(&address), sizeof address), 0);
    ::close(stale);

    ui::SingleWindow next(dir.path());
    ASSERT_EQ(next.claim(), Start::First);
    int raised = 0;
    QObject::connect(&next, &ui::SingleWindow::raiseRequested, [&raised] { ++raised; });
    ui::SingleWindow later(dir.path());
    EXPECT_EQ(later.claim(std::chrono::milliseconds(500)), Start::Raised);
    EXPECT_TRUE(within([&raised] { return raised == 1; }));
}

// A window whose server cannot be reached (it is busy starting, or listens no more) is said to
// have the folder open, after the wait.
TEST(SingleWindow, AnUnreachableWindowIsReportedAsOpen) {
    test::WorkDir dir;
    const FolderWindowLock holder(dir.path());
    ASSERT_TRUE(holder.locked());
    ui::SingleWindow second(dir.path());
    EXPECT_EQ(second.claim(std::chrono::milliseconds(200)), Start::AlreadyOpen);
    EXPECT_EQ(dir.files(), QStringList());
}
