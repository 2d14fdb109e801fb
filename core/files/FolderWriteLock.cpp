#include "core/files/FolderWriteLock.h"

#include "core/files/FileOps.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace puka {
namespace {

// The locks this thread holds, by the lock file's device and inode: the same folder reached
// by another path ("." or a link) is the same lock.
struct Held {
    unsigned long long device;
    unsigned long long inode;
    int fd;
    int depth;
};

thread_local std::vector<Held> heldByThisThread;
std::atomic<long long> waitMilliseconds{5000};

Held* heldLock(unsigned long long device, unsigned long long inode) {
    for (Held& h : heldByThisThread)
        if (h.device == device && h.inode == inode)
            return &h;
    return nullptr;
}

int openLockFile(const QString& dir) {
    const QByteArray path = QFile::encodeName(QDir(dir).filePath(FolderWriteLock::fileName()));
    int fd = -1;
    do {
        fd = ::open(path.constData(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0666);
    } while (fd < 0 && errno == EINTR);
    // a lock file another user made may still be locked through a descriptor for reading; a
    // folder the user may not write has none to make
    if (fd < 0 && (errno == EACCES || errno == EPERM)) {
        const int refused = errno;
        fd = ::open(path.constData(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
        if (fd < 0)
            errno = refused;
    }
    return fd;
}

} // namespace

QString FolderWriteLock::fileName() {
    return QStringLiteral(".pukapuka.lock");
}

std::chrono::milliseconds FolderWriteLock::waitLimit() {
    return std::chrono::milliseconds(waitMilliseconds.load());
}

void FolderWriteLock::setWaitLimit(std::chrono::milliseconds limit) {
    waitMilliseconds = limit.count();
}

FolderWriteLock::FolderWriteLock(const QString& dir) {
    const int fd = openLockFile(dir);
    if (fd < 0) {
        m_error = errno;
        return;
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0) {
        m_error = errno;
        ::close(fd);
        return;
    }
    m_device = st.st_dev;
    m_inode = st.st_ino;
    if (Held* held = heldLock(m_device, m_inode)) {
        ++held->depth;
        ::close(fd); // closing another descriptor leaves a flock on the held one in place
        m_locked = true;
        return;
    }
    // the lock file of a user's folder stays the user's when the administrator makes it
    struct stat folder {};
    if (::geteuid() == 0 && st.st_uid == 0 && ::stat(QFile::encodeName(dir).constData(), &folder) == 0 &&
        folder.st_uid != 0)
        (void)::fchown(fd, folder.st_uid, folder.st_gid);

    using Clock = std::chrono::steady_clock;
    const auto deadline = Clock::now() + waitLimit();
    auto pause = std::chrono::milliseconds(1);
    while (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        if (errno == EINTR)
            continue;
        if (errno != EWOULDBLOCK || Clock::now() >= deadline) {
            m_error = errno;
            ::close(fd);
            return;
        }
        std::this_thread::sleep_for(pause);
        pause = std::min(pause * 2, std::chrono::milliseconds(10));
    }
    heldByThisThread.push_back({m_device, m_inode, fd, 1});
    m_locked = true;
}

FolderWriteLock::~FolderWriteLock() {
    if (!m_locked)
        return;
    Held* held = heldLock(m_device, m_inode);
    if (!held || --held->depth > 0)
        return;
    ::close(held->fd); // the lock goes with the last descriptor of its open file
    heldByThisThread.erase(heldByThisThread.begin() + (held - heldByThisThread.data()));
}

Status FolderWriteLock::failure(const QString& path) const {
    if (m_locked)
        return {};
    if (m_error != EWOULDBLOCK)
        return Status::failure(writeFailureMessage(path, m_error));
    const long long seconds = (waitLimit().count() + 999) / 1000;
    return Status::failure(
        QStringLiteral("「%1」を保存できませんでした。\r\n"
                       "別のウィンドウかプログラムがこのフォルダのファイルを書き込んでいて、"
                       "%2 秒待っても終わりませんでした。\r\n"
                       "しばらくしてからもう一度保存してください。ファイルは保存前の内容のままです。")
            .arg(QFileInfo(path).fileName())
            .arg(seconds));
}

} // namespace puka
