#include "FileOps.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace puka {
namespace {

FaultHook& hook() {
    static FaultHook h;
    return h;
}

int injected(FileStep step, const QString& path) {
    const FaultHook& h = hook();
    return h ? h(step, path) : 0;
}

QByteArray native(const QString& path) {
    return QFile::encodeName(path);
}

QString fileNameOf(const QString& path) {
    return QFileInfo(path).fileName();
}

// Each helper returns 0 or the errno of the failure, injected or real.
int openForWrite(const QString& path, int flags, mode_t mode, int* fd) {
    if (int e = injected(FileStep::Open, path))
        return e;
    do {
        *fd = ::open(native(path).constData(), flags | O_CLOEXEC, mode);
    } while (*fd < 0 && errno == EINTR);
    return *fd < 0 ? errno : 0;
}

int writeAll(int fd, const QString& path, const char* data, qsizetype size) {
    while (size > 0) {
        if (int e = injected(FileStep::Write, path))
            return e;
        const ssize_t n = ::write(fd, data, static_cast<size_t>(size));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return errno;
        }
        data += n;
        size -= n;
    }
    return 0;
}

int flush(int fd, const QString& path) {
    if (int e = injected(FileStep::Flush, path))
        return e;
    return ::fsync(fd) == 0 ? 0 : errno;
}

int flushFolderOf(const QString& path) {
    const QString folder = QFileInfo(path).absolutePath();
    if (int e = injected(FileStep::Flush, folder))
        return e;
    const int fd = ::open(native(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return errno;
    const int rc = ::fsync(fd) == 0 ? 0 : errno;
    ::close(fd);
    // Some file systems cannot sync a folder; the rename itself has happened.
    return rc == EINVAL ? 0 : rc;
}

int renameOver(const QString& from, const QString& to) {
    if (int e = injected(FileStep::Rename, to))
        return e;
    return ::rename(native(from).constData(), native(to).constData()) == 0 ? 0 : errno;
}

} // namespace

void setFaultHook(FaultHook h) {
    hook() = std::move(h);
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

std::optional<FileBytes> readFileBytes(const QString& path, Status* status) {
    FileBytes result;
    QFile f(path);
    if (!f.exists())
        return result;
    if (!f.open(QIODevice::ReadOnly)) {
        if (status)
            *status = Status::failure(
                QStringLiteral("「%1」を読み込めませんでした。\r\n%2").arg(fileNameOf(path), f.errorString()));
        return std::nullopt;
    }
    result.exists = true;
    result.bytes = f.readAll();
    if (f.error() != QFileDevice::NoError) {
        if (status)
            *status = Status::failure(
                QStringLiteral("「%1」を読み込めませんでした。\r\n%2").arg(fileNameOf(path), f.errorString()));
        return std::nullopt;
    }
    return result;
}

Status writeFileAtomic(const QString& path, const QByteArray& bytes, const QString& copyPathIn) {
    const QString copyPath = copyPathIn.isEmpty() ? path + QStringLiteral(".tmp") : copyPathIn;
    mode_t mode = 0644;
    struct stat st {};
    if (::stat(native(path).constData(), &st) == 0)
        mode = st.st_mode & 07777;

    int fd = -1;
    int err = openForWrite(copyPath, O_WRONLY | O_CREAT | O_TRUNC, mode, &fd);
    if (err == 0) {
        err = writeAll(fd, copyPath, bytes.constData(), bytes.size());
        if (err == 0)
            err = flush(fd, copyPath);
        if (::close(fd) != 0 && err == 0)
            err = errno;
    }
    if (err == 0)
        err = renameOver(copyPath, path);
    if (err != 0) {
        if (fd >= 0 || QFileInfo::exists(copyPath))
            ::unlink(native(copyPath).constData());
        return Status::failure(writeFailureMessage(path, err));
    }
    // The new content is in place once the rename succeeded; a folder that cannot be flushed
    // only delays when the rename reaches the disk, so it is no failure to report.
    flushFolderOf(path);
    return {};
}

Status appendToFile(const QString& path, const QByteArray& lineIn) {
    const bool existed = QFileInfo::exists(path);
    int fd = -1;
    int err = openForWrite(path, O_WRONLY | O_CREAT | O_APPEND, 0644, &fd);
    if (err != 0)
        return Status::failure(writeFailureMessage(path, err));

    struct stat st {};
    if (::fstat(fd, &st) != 0) {
        err = errno;
        ::close(fd);
        return Status::failure(writeFailureMessage(path, err));
    }
    const off_t oldSize = st.st_size;
    QByteArray line = lineIn;
    if (oldSize > 0) {
        const int rfd = ::open(native(path).constData(), O_RDONLY | O_CLOEXEC);
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
    err = writeAll(fd, path, line.constData(), line.size());
    if (err == 0)
        err = flush(fd, path);
    if (err != 0) {
        if (::ftruncate(fd, oldSize) == 0)
            ::fsync(fd);
        ::close(fd);
        // a file this append created goes again, so nothing is left that was not there
        if (!existed)
            ::unlink(native(path).constData());
        return Status::failure(writeFailureMessage(path, err));
    }
    if (::close(fd) != 0)
        return Status::failure(writeFailureMessage(path, errno));
    return {};
}

Status renameFile(const QString& from, const QString& to) {
    if (int e = renameOver(from, to))
        return Status::failure(writeFailureMessage(to, e));
    flushFolderOf(to);
    return {};
}

} // namespace puka
