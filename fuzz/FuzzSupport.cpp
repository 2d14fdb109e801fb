#include "fuzz/FuzzSupport.h"

#include "core/base/NumberFormat.h"
#include "core/files/Cp932.h"
#include "core/files/TextLines.h"

#include <QDir>
#include <QFile>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <dirent.h>
#include <fcntl.h>
#include <unistd.h>

namespace fuzz {
namespace {

QString currentScratchDir;

void removeScratch() {
    if (!currentScratchDir.isEmpty())
        QDir(currentScratchDir).removeRecursively();
}

QByteArray native(const QString& dir, const QString& name) {
    return QFile::encodeName(dir + QLatin1Char('/') + name);
}

} // namespace

void fail(const char* what, const char* file, int line) {
    std::fprintf(stderr, "fuzz check failed: %s (%s:%d)\n", what, file, line);
    std::fflush(stderr);
    __builtin_trap();
}

const QString& scratchDir() {
    if (currentScratchDir.isEmpty()) {
        QByteArray pattern =
            access("/dev/shm", W_OK) == 0 ? "/dev/shm/pukapuka-fuzz-XXXXXX" : "/tmp/pukapuka-fuzz-XXXXXX";
        if (!mkdtemp(pattern.data())) {
            std::perror("mkdtemp");
            std::abort();
        }
        currentScratchDir = QFile::decodeName(pattern);
        std::atexit(removeScratch);
    }
    return currentScratchDir;
}

void clearDir(const QString& dir) {
    const QByteArray path = QFile::encodeName(dir);
    DIR* d = opendir(path.constData());
    if (!d)
        return;
    while (const dirent* e = readdir(d)) {
        if (e->d_name[0] == '.' && (e->d_name[1] == 0 || (e->d_name[1] == '.' && e->d_name[2] == 0)))
            continue;
        unlinkat(dirfd(d), e->d_name, 0);
    }
    closedir(d);
}

void writeFile(const QString& dir, const QString& name, const QByteArray& bytes) {
    const int fd = ::open(native(dir, name).constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    FUZZ_CHECK(fd >= 0);
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.constData() + done, static_cast<size_t>(bytes.size() - done));
        FUZZ_CHECK(n > 0 || errno == EINTR);
        if (n > 0)
            done += n;
    }
    ::close(fd);
}

std::optional<QByteArray> readFile(const QString& dir, const QString& name) {
    QFile f(dir + QLatin1Char('/') + name);
    if (!f.open(QIODevice::ReadOnly))
        return std::nullopt;
    return f.readAll();
}

bool takenForUtf8(const QString& dir, const QString& name) {
    const auto bytes = readFile(dir, name);
    return bytes && puka::cp932::looksLikeUtf8(*bytes);
}

QByteArray bytesOf(const uint8_t* data, size_t size) {
    return QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
}

float written(float value) {
    const auto back = puka::parseNumber(puka::shortestText(value));
    FUZZ_CHECK(back.has_value());
    return static_cast<float>(*back);
}

bool sameAfterWrite(const puka::WeightRecord& a, const puka::WeightRecord& b) {
    return a.date == b.date && a.situation == b.situation && a.comment == b.comment && a.spare == b.spare &&
           written(a.weight) == b.weight && written(a.bodyFat) == b.bodyFat;
}

QStringList plainFields(const QString& text) {
    const auto fields = puka::splitFields(text);
    FUZZ_CHECK(fields.has_value());
    return *fields;
}

} // namespace fuzz
