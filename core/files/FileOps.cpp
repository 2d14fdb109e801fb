#include "core/files/FileOps.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace puka {
namespace {

/// Why a read failed, from the system's error number.
QString readFailureReason(int error) {
    return error == EACCES || error == EPERM
               ? QStringLiteral("読み込みの権限がありません。")
               : QStringLiteral("読み込み中にエラーが起きました（%1）。").arg(QString::fromLocal8Bit(strerror(error)));
}

FaultHook& hook() {
    static FaultHook h;
    return h;
}

bool& diskFlushes() {
    static bool on = true;
    return on;
}

int syncToDisk(int fd) {
    return !diskFlushes() || ::fsync(fd) == 0 ? 0 : errno;
}

Fault injected(FileStep step, const QString& path) {
    const FaultHook& h = hook();
    return h ? h(step, path) : Fault();
}

QByteArray native(const QString& path) {
    return QFile::encodeName(path);
}

QString decoded(const QByteArray& path) {
    return QFile::decodeName(path);
}

QString fileNameOf(const QString& path) {
    return QFileInfo(path).fileName();
}

// The folder part of a path in bytes: "." for a bare name, "/" for a name in the root.
QByteArray folderOf(const QByteArray& path) {
    const qsizetype slash = path.lastIndexOf('/');
    if (slash < 0)
        return QByteArrayLiteral(".");
    if (slash == 0)
        return QByteArrayLiteral("/");
    return path.left(slash);
}

QByteArray baseNameOf(const QByteArray& path) {
    return path.mid(path.lastIndexOf('/') + 1);
}

// The file a path names once every symbolic link on its last part is followed: a data file
// kept as a link to a synced folder is written where the link points, and the link stays.
// A link that points nowhere gives the path it points to, where the file is then made.
int followLinks(const QByteArray& path, QByteArray* target) {
    QByteArray p = path;
    for (int hop = 0; hop < 40; ++hop) {
        struct stat st {};
        if (::lstat(p.constData(), &st) != 0) {
            if (errno != ENOENT)
                return errno;
            *target = p;
            return 0;
        }
        if (!S_ISLNK(st.st_mode)) {
            *target = p;
            return 0;
        }
        char buffer[PATH_MAX];
        const ssize_t n = ::readlink(p.constData(), buffer, sizeof buffer);
        if (n < 0)
            return errno;
        if (static_cast<size_t>(n) >= sizeof buffer)
            return ENAMETOOLONG;
        QByteArray next(buffer, n);
        if (!next.startsWith('/'))
            next = folderOf(p) + '/' + next;
        p = next;
    }
    return ELOOP;
}

// Each helper returns 0 or the errno of the failure, injected or real.
int openFile(const QByteArray& path, int flags, mode_t mode, int* fd) {
    if (int e = injected(FileStep::Open, decoded(path)).error)
        return e;
    do {
        *fd = ::open(path.constData(), flags | O_CLOEXEC, mode);
    } while (*fd < 0 && errno == EINTR);
    return *fd < 0 ? errno : 0;
}

// A new file beside @p target under a name no other file has: created exclusively and never
// through a link, so no file of the user's is ever opened, whatever its name.
int createCopy(const QByteArray& target, int* fd, QByteArray* copyPath) {
    static const char kLetters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    const QByteArray stem = folderOf(target) + "/." + baseNameOf(target) + '.';
    for (int attempt = 0; attempt < 100; ++attempt) {
        QByteArray candidate = stem;
        for (int i = 0; i < 8; ++i)
            candidate += kLetters[QRandomGenerator::global()->bounded(static_cast<int>(sizeof kLetters - 1))];
        candidate += ".tmp";
        const int e = openFile(candidate, O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW, 0644, fd);
        if (e == EEXIST)
            continue;
        if (e == 0)
            *copyPath = candidate;
        return e;
    }
    return EEXIST;
}

// Returns the number of bytes written in @p written, also when a later call fails.
int writeAll(int fd, const QString& path, const char* data, qsizetype size, qsizetype* written = nullptr) {
    qsizetype done = 0;
    int error = 0;
    while (done < size) {
        const Fault fault = injected(FileStep::Write, path);
        if (fault.error && fault.timing == FaultTiming::Before) {
            error = fault.error;
            break;
        }
        // a fault after the call writes part of the bytes, then fails
        const size_t want = static_cast<size_t>(fault.error ? std::max<qsizetype>(1, (size - done) / 2) : size - done);
        const ssize_t n = ::write(fd, data + done, want);
        if (fault.error) {
            done += std::max<ssize_t>(n, 0);
            error = fault.error;
            break;
        }
        if (n < 0) {
            if (errno == EINTR)
                continue;
            error = errno;
            break;
        }
        done += n;
    }
    if (written)
        *written = done;
    return error;
}

// Runs @p call for the step unless a fault strikes before it; a fault after it replaces its result.
template <typename Call> int faultable(FileStep step, const QString& path, Call call) {
    const Fault fault = injected(step, path);
    if (fault.error && fault.timing == FaultTiming::Before)
        return fault.error;
    const int rc = call();
    return fault.error ? fault.error : rc;
}

int flush(int fd, const QString& path) {
    return faultable(FileStep::Flush, path, [fd] { return syncToDisk(fd); });
}

int flushFolder(const QByteArray& folder) {
    return faultable(FileStep::Flush, decoded(folder), [&folder] {
        const int fd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (fd < 0)
            return errno;
        const int rc = syncToDisk(fd);
        ::close(fd);
        // some file systems cannot sync a folder; the rename has happened all the same
        return rc == EINVAL ? 0 : rc;
    });
}

// The file @p from was, by its device and inode.
struct Identity {
    dev_t device = 0;
    ino_t inode = 0;
};

// True when @p path names the file @p was: a rename to it took place.
bool isNow(const QByteArray& path, const Identity& was) {
    struct stat st {};
    return was.inode != 0 && ::lstat(path.constData(), &st) == 0 && st.st_dev == was.device && st.st_ino == was.inode;
}

// Renames @p from over @p to. A rename that reports a failure but took place all the same (a
// network file system may answer so) is a success: the file @p from was now stands at @p to.
int renameOver(const QByteArray& from, const QByteArray& to) {
    Identity moving;
    struct stat st {};
    if (::lstat(from.constData(), &st) == 0)
        moving = {st.st_dev, st.st_ino};
    const int rc = faultable(FileStep::Rename, decoded(to),
                             [&] { return ::rename(from.constData(), to.constData()) == 0 ? 0 : errno; });
    return rc != 0 && isNow(to, moving) && !isNow(from, moving) ? 0 : rc;
}

// A file that the administrator makes in a user's folder goes to the folder's owner, so that
// running the program once as root never leaves the user a file they cannot read.
void giveToFolderOwner(int fd, const QByteArray& folder) {
    if (::geteuid() != 0)
        return;
    struct stat st {};
    if (::stat(folder.constData(), &st) == 0 && st.st_uid != 0)
        (void)::fchown(fd, st.st_uid, st.st_gid);
}

// The copy takes the old file's owner and group where the process may set them (root may; a
// user may set a group they belong to), and its permission bits.
int takeOwnerAndMode(int fd, const struct stat& old) {
    struct stat now {};
    if (::fstat(fd, &now) != 0)
        return errno;
    if ((now.st_uid != old.st_uid || now.st_gid != old.st_gid) && ::fchown(fd, old.st_uid, old.st_gid) != 0)
        (void)::fchown(fd, static_cast<uid_t>(-1), old.st_gid);
    return ::fchmod(fd, old.st_mode & 07777) == 0 ? 0 : errno;
}

} // namespace

void setFaultHook(FaultHook h) {
    hook() = std::move(h);
}

void setDiskFlushes(bool on) {
    diskFlushes() = on;
}

QString writeFailureMessage(const QString& path, int error) {
    QString reason;
    switch (error) {
    case ENOSPC:
    case EDQUOT:
        reason = QStringLiteral("ディスクの空き容量が足りません。");
        break;
    case EACCES:
    case EPERM:
    case EROFS:
        reason = QStringLiteral("書き込みの権限がありません。");
        break;
    default:
        reason = QStringLiteral("書き込み中にエラーが起きました（%1）。").arg(QString::fromLocal8Bit(strerror(error)));
        break;
    }
    return QStringLiteral("「%1」を保存できませんでした。\r\n%2\r\nファイルは保存前の内容のままです。")
        .arg(fileNameOf(path), reason);
}

QString readFailureMessage(const QString& path, int error) {
    const QString reason = readFailureReason(error);
    return QStringLiteral("「%1」を読み込めませんでした。\r\n%2").arg(fileNameOf(path), reason);
}

QString folderFlushMessage(const QString& path, int error) {
    return QStringLiteral("「%1」は保存しましたが、フォルダの変更をディスクに書き込めませんでした（%2）。\r\n"
                          "停電などがあると、保存前の内容に戻ることがあります。")
        .arg(fileNameOf(path), QString::fromLocal8Bit(strerror(error)));
}

namespace {

// A failure when @p path is a symbolic link whose target is not there (a synced folder that
// is not mounted), for a read or a save.
Status danglingLinkProblem(const QByteArray& path, bool save) {
    struct stat st {};
    if (::lstat(path.constData(), &st) != 0 || !S_ISLNK(st.st_mode))
        return {};
    QByteArray target;
    if (followLinks(path, &target) != 0)
        target = path;
    return Status::failure(
        QStringLiteral("「%1」を%2。\r\nリンク先の「%3」が見つかりません。"
                       "同期フォルダなどのリンク先がつながっているか確かめてください。")
            .arg(fileNameOf(decoded(path)),
                 save ? QStringLiteral("保存できませんでした") : QStringLiteral("読み込めませんでした"),
                 QDir::toNativeSeparators(decoded(target))));
}

FileIdentity identityOf(const struct stat& st) {
    FileIdentity id;
    id.exists = true;
    id.device = static_cast<quint64>(st.st_dev);
    id.inode = static_cast<quint64>(st.st_ino);
    id.size = static_cast<qint64>(st.st_size);
    id.modified = static_cast<qint64>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
    id.changed = static_cast<qint64>(st.st_ctim.tv_sec) * 1000000000 + st.st_ctim.tv_nsec;
    return id;
}

} // namespace

bool FileIdentity::operator==(const FileIdentity& o) const {
    return exists == o.exists && error == o.error && device == o.device && inode == o.inode && size == o.size &&
           modified == o.modified && changed == o.changed;
}

FileIdentity fileIdentity(const QString& path) {
    struct stat st {};
    if (::stat(native(path).constData(), &st) == 0)
        return identityOf(st);
    FileIdentity id;
    if (errno != ENOENT)
        id.error = errno;
    return id;
}

FileReader::FileReader(const QString& path) : m_path(path) {
    const auto fail = [this](int error) {
        m_status = Status::failure(readFailureMessage(m_path, error));
        m_identity = FileIdentity();
        m_identity.error = error;
    };
    if (int e = injected(FileStep::Read, path).error) {
        fail(e);
        return;
    }
    do {
        m_fd = ::open(native(path).constData(), O_RDONLY | O_CLOEXEC);
    } while (m_fd < 0 && errno == EINTR);
    if (m_fd < 0) {
        // only a name that is not there is a missing file; a folder that may not be searched
        // is no missing log, and neither is a link whose target is gone
        if (errno != ENOENT) {
            fail(errno);
            return;
        }
        if (const Status dangling = danglingLinkProblem(native(path), false); !dangling)
            m_status = dangling;
        return;
    }
    struct stat st {};
    if (::fstat(m_fd, &st) != 0 || S_ISDIR(st.st_mode)) {
        fail(S_ISDIR(st.st_mode) ? EISDIR : errno);
        ::close(m_fd);
        m_fd = -1;
        return;
    }
    m_identity = identityOf(st);
}

FileReader::~FileReader() {
    if (m_fd >= 0)
        ::close(m_fd);
}

qint64 FileReader::read(QByteArray* bytes, qint64 most) {
    if (m_fd < 0)
        return m_status.ok() ? 0 : -1;
    const qsizetype size = bytes->size();
    bytes->resize(size + static_cast<qsizetype>(most));
    ssize_t n = 0;
    do {
        n = ::read(m_fd, bytes->data() + size, static_cast<size_t>(most));
    } while (n < 0 && errno == EINTR);
    if (n < 0) {
        const int error = errno;
        bytes->truncate(size);
        m_status = Status::failure(readFailureMessage(m_path, error));
        ::close(m_fd);
        m_fd = -1;
        return -1;
    }
    bytes->truncate(size + static_cast<qsizetype>(n));
    return n;
}

Result<FileBytes> readFileBytes(const QString& path) {
    FileReader reader(path);
    if (!reader.status().ok())
        return reader.status();
    FileBytes result;
    if (!reader.exists())
        return result;
    QByteArray bytes;
    bytes.reserve(static_cast<qsizetype>(reader.identity().size) + 1);
    while (true) {
        // the size when opened, and a piece more for a file that grew while it was read
        const qint64 room = std::max<qint64>(bytes.capacity() - bytes.size(), 64 * 1024);
        const qint64 n = reader.read(&bytes, room);
        if (n < 0)
            return reader.status();
        if (n == 0)
            break;
    }
    result.exists = true;
    result.bytes = std::move(bytes);
    result.identity = reader.identity();
    return result;
}

Status folderReadProblem(const QString& dir) {
    int error = injected(FileStep::Read, dir).error;
    if (error == 0 && ::faccessat(AT_FDCWD, native(dir).constData(), X_OK, AT_EACCESS) != 0)
        error = errno;
    if (error == 0)
        return {};
    const QString reason = readFailureReason(error);
    return Status::failure(
        QStringLiteral("作業フォルダ「%1」を読み込めませんでした。\r\n%2\r\n"
                       "このフォルダのファイルは表示も保存もできません。フォルダの権限を確かめてください。")
            .arg(QDir::toNativeSeparators(QDir(dir).absolutePath()), reason));
}

Status writeFileAtomic(const QString& path, const QByteArray& bytes) {
    QByteArray target;
    if (int e = followLinks(native(path), &target))
        return Status::failure(writeFailureMessage(path, e));
    struct stat old {};
    const bool existed = ::stat(target.constData(), &old) == 0;
    if (!existed && errno != ENOENT)
        return Status::failure(writeFailureMessage(path, errno));
    if (existed && !S_ISREG(old.st_mode))
        return Status::failure(writeFailureMessage(path, S_ISDIR(old.st_mode) ? EISDIR : EINVAL));
    // a file the user may not write is not replaced either, though the folder would allow it
    if (existed && ::faccessat(AT_FDCWD, target.constData(), W_OK, AT_EACCESS) != 0)
        return Status::failure(writeFailureMessage(path, errno));

    int fd = -1;
    QByteArray copy;
    int err = createCopy(target, &fd, &copy);
    if (err == 0) {
        if (existed)
            err = takeOwnerAndMode(fd, old);
        else
            giveToFolderOwner(fd, folderOf(target));
        if (err == 0)
            err = writeAll(fd, decoded(copy), bytes.constData(), bytes.size());
        if (err == 0)
            err = flush(fd, decoded(copy));
        if (::close(fd) != 0 && err == 0)
            err = errno;
        if (err == 0)
            err = renameOver(copy, target);
        if (err != 0)
            ::unlink(copy.constData());
    }
    if (err != 0)
        return Status::failure(writeFailureMessage(path, err));
    if (int e = flushFolder(folderOf(target)))
        return Status::notFlushed(folderFlushMessage(path, e));
    return {};
}

Status appendToFile(const QString& path, const QByteArray& lineIn) {
    const QByteArray name = native(path);
    int fd = -1;
    bool created = false;
    int err = openFile(name, O_WRONLY | O_APPEND, 0, &fd);
    if (err == ENOENT) {
        // nothing is appended through a link whose target is gone: its reader says why
        if (const Status dangling = danglingLinkProblem(name, true); !dangling)
            return dangling;
        err = openFile(name, O_WRONLY | O_APPEND | O_CREAT | O_EXCL, 0644, &fd);
        created = err == 0;
    }
    if (err != 0)
        return Status::failure(writeFailureMessage(path, err));
    QByteArray target;
    if (created && followLinks(name, &target) == 0)
        giveToFolderOwner(fd, folderOf(target));

    struct stat st {};
    if (::fstat(fd, &st) != 0) {
        err = errno;
        ::close(fd);
        return Status::failure(writeFailureMessage(path, err));
    }
    const off_t oldSize = st.st_size;
    QByteArray line = lineIn;
    if (oldSize > 0) {
        const int rfd = ::open(name.constData(), O_RDONLY | O_CLOEXEC);
        char last = '\n';
        if (rfd >= 0) {
            if (::pread(rfd, &last, 1, oldSize - 1) != 1)
                last = '\n';
            ::close(rfd);
        }
        if (last != '\n' && last != '\r')
            line.prepend("\r\n");
    }
    // One write call for the whole line: a crash leaves the line whole or absent, except
    // for a torn tail that readers skip and the next append closes with a line end.
    qsizetype written = 0;
    err = writeAll(fd, path, line.constData(), line.size(), &written);
    if (err == 0)
        err = flush(fd, path);
    if (err != 0) {
        // Under the folder's write lock nothing else is appended meanwhile; a file that holds
        // more than this append wrote was written by someone else too, and is left as it is.
        if (::fstat(fd, &st) == 0 && st.st_size == oldSize + written && ::ftruncate(fd, oldSize) == 0)
            ::fsync(fd);
        ::close(fd);
        // a file this append created goes again, so nothing is left that was not there
        if (created)
            ::unlink(name.constData());
        return Status::failure(writeFailureMessage(path, err));
    }
    if (::close(fd) != 0)
        return Status::failure(writeFailureMessage(path, errno));
    if (created) {
        if (int e = flushFolder(folderOf(target.isEmpty() ? name : target)))
            return Status::notFlushed(folderFlushMessage(path, e));
    }
    return {};
}

Status renameFile(const QString& from, const QString& to) {
    const QByteArray target = native(to);
    if (int e = renameOver(native(from), target))
        return Status::failure(writeFailureMessage(to, e));
    if (int e = flushFolder(folderOf(target)))
        return Status::notFlushed(folderFlushMessage(to, e));
    return {};
}

bool entryExists(const QString& path) {
    struct stat st {};
    return ::lstat(native(path).constData(), &st) == 0;
}

} // namespace puka
