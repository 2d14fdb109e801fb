// How the writers share a folder with the user, a sync client, other windows and scripts: a
// user's files of any name are never touched, links stay links, owners and modes are kept, the
// write lock is waited for, and a folder name that is no UTF-8 works like any other.
#include "tests/core/CoreTestHelpers.h"

#include "core/base/CommandLine.h"
#include "core/edits/DiarySave.h"
#include "core/edits/SituationEditing.h"
#include "core/files/DataLog.h"
#include "core/files/FileNames.h"
#include "core/files/FolderWriteLock.h"
#include "core/files/LegacyConversion.h"
#include "core/files/Settings.h"
#include "core/files/SituationList.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <pwd.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

using namespace puka;
using test::crlfLines;
using test::record;

namespace {

const QStringList kLog = {
    QStringLiteral(R"("2003/07/25","起床後",75.5,"",22.3,"")"),
    QStringLiteral(R"("2003/07/27","起床後",75.1,"",22.6,"")"),
};

QByteArray native(const QString& path) {
    return QFile::encodeName(path);
}

QString pathIn(const test::WorkDir& dir, const QString& name) {
    return QDir(dir.path()).filePath(name);
}

// The link's target as it reads, or an empty text when @p path is no link.
QString linkTarget(const QString& path) {
    char buffer[4096];
    const ssize_t n = ::readlink(native(path).constData(), buffer, sizeof buffer);
    return n < 0 ? QString() : QFile::decodeName(QByteArray(buffer, n));
}

// The rewrites of the log and the list that once went through fixed copy names.
Status rewriteEverything(const QString& dir) {
    if (Status s = datalog::insertRecord(dir, record(QStringLiteral("2003/07/26"), QStringLiteral("夜"), 75.3f)); !s)
        return s;
    if (Status s = editing::renameWord(dir, QStringLiteral("起床後"), QStringLiteral("起きてすぐ")); !s)
        return s;
    return diary::saveComment(dir, datalog::readLog(dir).records, 1, QStringLiteral("書いた"));
}

} // namespace

// Older versions wrote their copies under these names, truncating whatever was there and writing
// through a link of that name; now a user's file of any name stays as it is, and so does the
// file such a link points to.
TEST(UserFiles, UnderTheOldCopyNamesAndAsLinksAreNeverTouched) {
    const QStringList oldCopyNames = {QStringLiteral("データコピー.txt"), QStringLiteral("データＣＨＧ.txt"),
                                      QStringLiteral("状況リストＣＨＧ.txt"), QStringLiteral("データ1.txt")};
    for (const bool asLinks : {false, true}) {
        SCOPED_TRACE(asLinks ? "links" : "files");
        test::WorkDir dir;
        test::WorkDir elsewhere;
        // the older log form, so that the conversion (which wrote through "データ1.txt") runs too
        dir.write(files::kData, crlfLines({QStringLiteral(R"("2003/07/25","起床後",75.5,"","","")"),
                                           QStringLiteral(R"("2003/07/27","起床後",75.1,"","","")")}));
        dir.write(files::kSituations, crlfLines({QStringLiteral("起床後")}));
        for (const QString& name : oldCopyNames) {
            const QByteArray mine = "the user's own " + name.toUtf8();
            if (asLinks) {
                elsewhere.write(name, mine);
                ASSERT_EQ(::symlink(native(pathIn(elsewhere, name)).constData(), native(pathIn(dir, name)).constData()),
                          0);
            } else {
                dir.write(name, mine);
            }
        }
        const auto before = test::snapshot(asLinks ? elsewhere : dir);
        ASSERT_TRUE(legacy::convertData(dir.path(), QStringLiteral("22")));
        const Status s = rewriteEverything(dir.path());
        ASSERT_TRUE(s) << s.message().toStdString();
        const auto after = test::snapshot(asLinks ? elsewhere : dir);
        for (const QString& name : oldCopyNames) {
            EXPECT_EQ(after.value(name), before.value(name)) << name.toStdString();
            if (asLinks) {
                EXPECT_EQ(linkTarget(pathIn(dir, name)), pathIn(elsewhere, name));
            }
        }
        EXPECT_EQ(datalog::readLog(dir.path()).records.size(), 3u);
        EXPECT_EQ(test::copiesLeft(dir), QStringList());
    }
}

// A log kept in a synced folder through a link: every kind of write changes the file the link
// points to, the link stays a link, and no copy is left on either side.
TEST(UserFiles, ALinkedLogAndMarkerStayLinks) {
    test::WorkDir dir;
    test::WorkDir synced;
    synced.write(files::kData, crlfLines(kLog));
    synced.write(files::kMarker, "1\r\n");
    const QString relative = QDir(dir.path()).relativeFilePath(pathIn(synced, files::kData));
    ASSERT_EQ(::symlink(native(relative).constData(), native(pathIn(dir, files::kData)).constData()), 0);
    ASSERT_EQ(
        ::symlink(native(pathIn(synced, files::kMarker)).constData(), native(pathIn(dir, files::kMarker)).constData()),
        0);

    ASSERT_TRUE(datalog::insertRecord(dir.path(), record(QStringLiteral("2003/07/26"), QStringLiteral("夜"), 75.3f)));
    ASSERT_TRUE(datalog::appendRecord(dir.path(), record(QStringLiteral("2003/07/28"), QStringLiteral("朝"), 75.0f)));
    ASSERT_TRUE(datalog::rewriteLog(dir.path(), [](WeightRecord& r) {
        r.comment = QStringLiteral("書き換え");
        return true;
    }));
    ASSERT_TRUE(settings::writeMarker(dir.path(), 2));

    EXPECT_EQ(linkTarget(pathIn(dir, files::kData)), relative);
    EXPECT_EQ(linkTarget(pathIn(dir, files::kMarker)), pathIn(synced, files::kMarker));
    EXPECT_EQ(datalog::readLog(synced.path()).records.size(), 4u);
    EXPECT_EQ(synced.read(files::kMarker), "2\r\n");
    EXPECT_EQ(dir.files(), (QStringList{files::kData, files::kMarker}));
    EXPECT_EQ(synced.files(), (QStringList{files::kData, files::kMarker}));
}

// A log linked into a synced folder that is not mounted is no missing log: the reader says the
// link's target is gone, and no save makes a log anywhere.
TEST(UserFiles, ALinkWhoseTargetIsGoneIsNoMissingLog) {
    test::WorkDir dir;
    test::WorkDir unmounted;
    const QString target = QDir(unmounted.path()).filePath(QStringLiteral("同期/データ.txt"));
    ASSERT_EQ(::symlink(native(target).constData(), native(pathIn(dir, files::kData)).constData()), 0);
    const LogContents log = datalog::readLog(dir.path());
    EXPECT_FALSE(log.exists);
    EXPECT_FALSE(log.status.ok());
    EXPECT_TRUE(log.status.message().contains(QStringLiteral("リンク先の「%1」が見つかりません").arg(target)))
        << log.status.message().toStdString();
    const Status append =
        datalog::appendRecord(dir.path(), record(QStringLiteral("2003/07/28"), QStringLiteral("朝"), 75));
    EXPECT_FALSE(append.inPlace());
    EXPECT_TRUE(append.message().contains(QStringLiteral("リンク先の「%1」が見つかりません").arg(target)))
        << append.message().toStdString();
    EXPECT_FALSE(datalog::insertRecord(dir.path(), record(QStringLiteral("2003/07/28"), QStringLiteral("朝"), 75)));
    // the link stays as it was, and nothing else is made on either side
    EXPECT_EQ(linkTarget(pathIn(dir, files::kData)), target);
    EXPECT_EQ(dir.files(), QStringList());
    EXPECT_EQ(unmounted.files(), QStringList());
}

TEST(UserFiles, ARewriteKeepsThePermissionBits) {
    test::WorkDir dir;
    dir.write(files::kData, crlfLines(kLog));
    const QByteArray log = native(pathIn(dir, files::kData));
    ASSERT_EQ(::chmod(log.constData(), 0640), 0);
    ASSERT_TRUE(datalog::insertRecord(dir.path(), record(QStringLiteral("2003/07/26"), QStringLiteral("夜"), 75.3f)));
    struct stat st {};
    ASSERT_EQ(::stat(log.constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
}

// Running the program once as root must not leave the user files they cannot read: a rewrite
// keeps the old owner, and a file made anew goes to the folder's owner.
TEST(UserFiles, RootKeepsTheUsersOwnership) {
    const passwd* nobody = ::getpwnam("nobody");
    if (::geteuid() != 0 || !nobody)
        GTEST_SKIP() << "only root can write files of another user";
    test::WorkDir dir;
    dir.write(files::kData, crlfLines(kLog));
    for (const QString& path : {dir.path(), pathIn(dir, files::kData)})
        ASSERT_EQ(::chown(native(path).constData(), nobody->pw_uid, nobody->pw_gid), 0);
    ASSERT_TRUE(datalog::insertRecord(dir.path(), record(QStringLiteral("2003/07/26"), QStringLiteral("夜"), 75.3f)));
    ASSERT_TRUE(settings::writeMarker(dir.path(), 2));
    ASSERT_TRUE(situations::appendWord(dir.path(), QStringLiteral("夜")));
    for (const QString& name : {files::kData, files::kMarker, files::kSituations, FolderWriteLock::fileName()}) {
        struct stat st {};
        ASSERT_EQ(::stat(native(pathIn(dir, name)).constData(), &st), 0) << name.toStdString();
        EXPECT_EQ(st.st_uid, nobody->pw_uid) << name.toStdString();
        EXPECT_EQ(st.st_gid, nobody->pw_gid) << name.toStdString();
    }
}

// A folder or a log that is there but may not be read is no missing log: the reader says so,
// and no writer takes it for a new one.
TEST(UserFiles, AFolderThatCannotBeReadIsNoMissingLog) {
    test::WorkDir dir;
    dir.write(files::kData, crlfLines(kLog));
    const auto before = test::snapshot(dir);
    std::string why;
    const auto failures = test::runUnprivileged(
        dir,
        [&dir] {
            std::string out;
            const auto expectRefused = [&out](const char* what, const Status& s, bool exists) {
                if (s.ok() || exists || !s.message().contains(QStringLiteral("権限")))
                    out += std::string(what) + ": " + s.message().toStdString() + "\n";
            };
            QFile::setPermissions(pathIn(dir, files::kData), QFile::WriteOwner);
            const LogContents unreadableLog = datalog::readLog(dir.path());
            expectRefused("unreadable log", unreadableLog.status, unreadableLog.exists);
            QFile::setPermissions(pathIn(dir, files::kData), QFile::ReadOwner | QFile::WriteOwner);
            QFile::setPermissions(dir.path(), QFile::WriteOwner);
            const LogContents unreadableFolder = datalog::readLog(dir.path());
            expectRefused("unreadable folder", unreadableFolder.status, unreadableFolder.exists);
            const Status append =
                datalog::appendRecord(dir.path(), record(QStringLiteral("2003/07/28"), QStringLiteral("朝"), 75));
            expectRefused("append", append, false);
            // the command-line tools' -C says so too
            QByteArray program("pukapuka-log");
            QByteArray option("-C");
            QByteArray folder = QFile::encodeName(dir.path());
            char* argv[] = {program.data(), option.data(), folder.data(), nullptr};
            expectRefused("-C", commandline::enterFolder(3, argv, {}).status(), false);
            QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
            return out;
        },
        &why);
    if (!failures)
        GTEST_SKIP() << why;
    EXPECT_EQ(*failures, "");
    EXPECT_TRUE(test::sameFiles(before, test::snapshot(dir)));
}

// Another holder of the lock (a window saving, a script) is waited for; one that does not
// finish within the limit stops the save with a message and nothing written; one that dies
// leaves no lock behind.
TEST(FolderWriteLocking, WaitsForTheHolderGivesUpAfterTheLimitAndOutlivesADeadHolder) {
    test::WorkDir dir;
    dir.write(files::kData, crlfLines(kLog));
    const auto append = [&dir](const char* date) {
        return datalog::appendRecord(dir.path(), record(QString::fromLatin1(date), QStringLiteral("朝"), 75));
    };
    const int holder = ::open(native(pathIn(dir, FolderWriteLock::fileName())).constData(), O_RDWR | O_CREAT, 0644);
    ASSERT_GE(holder, 0);
    ASSERT_EQ(::flock(holder, LOCK_EX), 0);

    const auto limit = FolderWriteLock::waitLimit();
    FolderWriteLock::setWaitLimit(std::chrono::milliseconds(300));
    const auto start = std::chrono::steady_clock::now();
    const Status refused = append("2003/07/28");
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(300));
    EXPECT_FALSE(refused.ok());
    EXPECT_TRUE(refused.message().contains(files::kData)) << refused.message().toStdString();
    EXPECT_TRUE(refused.message().contains(QStringLiteral("別のウィンドウかプログラム")))
        << refused.message().toStdString();
    EXPECT_EQ(dir.read(files::kData), crlfLines(kLog));

    FolderWriteLock::setWaitLimit(std::chrono::seconds(10));
    std::thread finish([holder] {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        ::close(holder);
    });
    EXPECT_TRUE(append("2003/07/28"));
    finish.join();

    // a holder killed while it holds the lock
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        const FolderWriteLock lock(dir.path());
        ::raise(SIGSTOP);
        ::_exit(0);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, WUNTRACED), child);
    ASSERT_TRUE(WIFSTOPPED(status));
    ::kill(child, SIGKILL);
    ::waitpid(child, &status, 0);
    FolderWriteLock::setWaitLimit(std::chrono::milliseconds(300));
    EXPECT_TRUE(append("2003/07/29"));
    FolderWriteLock::setWaitLimit(limit);
    EXPECT_EQ(datalog::readLog(dir.path()).records.size(), 4u);
}

// The program works in a folder whose name is raw Shift_JIS bytes from an old archive: it
// opens its files relative to the folder, so the name is never decoded.
TEST(UserFiles, AFolderNameThatIsNoUtf8WorksLikeAnyOther) {
    test::WorkDir dir;
    const QByteArray folder = native(dir.path()) + "/\x83\x66\x81\x5B\x83\x5E"; // データ in Shift_JIS
    ASSERT_EQ(::mkdir(folder.constData(), 0755), 0);
    const int home = ::open(".", O_RDONLY | O_DIRECTORY);
    ASSERT_GE(home, 0);
    ASSERT_EQ(::chdir(folder.constData()), 0);
    const QString here = QStringLiteral(".");
    const auto status = [&] {
        test::WorkDir scratch;
        scratch.write(files::kData, crlfLines(kLog));
        if (!QFile::copy(pathIn(scratch, files::kData), files::kData))
            return Status::failure(QStringLiteral("no log"));
        if (Status s = datalog::appendRecord(here, record(QStringLiteral("2003/07/28"), QStringLiteral("朝"), 75)); !s)
            return s;
        if (Status s = datalog::insertRecord(here, record(QStringLiteral("2003/07/26"), QStringLiteral("夜"), 75)); !s)
            return s;
        if (Status s = situations::appendWord(here, QStringLiteral("夜")); !s)
            return s;
        return editing::renameWord(here, QStringLiteral("夜"), QStringLiteral("夜遅く"));
    }();
    const LogContents log = datalog::readLog(here);
    const QStringList words = situations::readSituationList(here).words;
    ASSERT_EQ(::fchdir(home), 0);
    ::close(home);
    test::removeFolder(folder);
    ASSERT_TRUE(status) << status.message().toStdString();
    ASSERT_EQ(log.records.size(), 4u);
    EXPECT_EQ(log.records[1].situation, QStringLiteral("夜遅く"));
    EXPECT_EQ(words, QStringList{QStringLiteral("夜遅く")});
}
