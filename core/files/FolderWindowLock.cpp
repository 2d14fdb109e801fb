#include "core/files/FolderWindowLock.h"

#include <QCryptographicHash>
#include <QFile>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace puka {

FolderWindowLock::FolderWindowLock(const QString& dir) {
    const int fd = ::open(QFile::encodeName(dir).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return;
    int rc;
    do {
        rc = ::flock(fd, LOCK_EX | LOCK_NB);
    } while (rc != 0 && errno == EINTR);
    if (rc == 0) {
        m_fd = fd;
        return;
    }
    m_heldElsewhere = errno == EWOULDBLOCK;
    ::close(fd);
}

FolderWindowLock::~FolderWindowLock() {
    if (m_fd >= 0)
        ::close(m_fd);
}

QString FolderWindowLock::serverName(const QString& dir) {
    // the folder by its real path as bytes: its name need not be valid UTF-8
    QByteArray folder = QFile::encodeName(dir);
    if (char* real = ::realpath(folder.constData(), nullptr)) {
        folder = QByteArray(real);
        std::free(real);
    }
    const QByteArray key = QByteArray::number(static_cast<qulonglong>(::getuid())) + '\0' + folder;
    return QStringLiteral("pukapuka-") +
           QString::fromLatin1(QCryptographicHash::hash(key, QCryptographicHash::Sha1).toHex().left(24));
}

} // namespace puka
