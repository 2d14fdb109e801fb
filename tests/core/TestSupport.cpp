#include "tests/core/TestSupport.h"

#include "core/base/Clock.h"
#include "core/files/Cp932.h"
#include "core/files/FolderWriteLock.h"
#include "tools/log/LogCli.h"
#include "tools/report/ReportCli.h"

#include <QDateTime>
#include <QDir>
#include <QDirIterator>
#include <QFile>

#include <gtest/gtest.h>

#include <grp.h>
#include <pwd.h>
#include <sys/wait.h>
#include <unistd.h>

void PrintTo(const QString& text, std::ostream* os) {
    *os << '"' << text.toStdString() << '"';
}

void PrintTo(const QByteArray& bytes, std::ostream* os) {
    if (const auto text = puka::cp932::decode(bytes))
        *os << "cp932 \"" << text->toStdString() << '"';
    else
        *os << "bytes " << bytes.toHex(' ').toStdString();
}

namespace puka::test {

WorkDir::WorkDir() : m_dir(std::make_unique<QTemporaryDir>()) {
    EXPECT_TRUE(m_dir->isValid());
}

void WorkDir::write(const QString& name, const QByteArray& bytes) const {
    QFile f(QDir(path()).filePath(name));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    ASSERT_EQ(f.write(bytes), bytes.size());
}

void WorkDir::writeText(const QString& name, const QString& text) const {
    write(name, sjis(text));
}

QByteArray WorkDir::read(const QString& name) const {
    QFile f(QDir(path()).filePath(name));
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return f.readAll();
}

bool WorkDir::exists(const QString& name) const {
    return QFile::exists(QDir(path()).filePath(name));
}

void WorkDir::copySample() const {
    const QDir sample(sampleDir());
    // a plain copy: QFile::copy waits for each file to reach the disk, which thousands of scratch
    // folders do not need
    for (const QString& name : sample.entryList(QDir::Files)) {
        QFile from(sample.filePath(name));
        ASSERT_TRUE(from.open(QIODevice::ReadOnly));
        QFile::remove(QDir(path()).filePath(name));
        write(name, from.readAll());
        QFile::setPermissions(QDir(path()).filePath(name), QFile::ReadOwner | QFile::WriteOwner);
    }
}

QStringList WorkDir::files() const {
    QStringList names = QDir(path()).entryList(QDir::Files | QDir::Hidden, QDir::Name);
    // the writers' lock file is made on the first write and stays; it holds nothing
    names.removeAll(FolderWriteLock::fileName());
    return names;
}

ToolRun runReport(const QStringList& args) {
    QByteArray out;
    QByteArray err;
    const int status = report::run(args, &out, &err);
    return {status, QString::fromUtf8(out), QString::fromUtf8(err)};
}

ToolRun runLog(const WorkDir& dir, const QStringList& args) {
    clock::setFixed(QDateTime(QDate(2026, 12, 7), QTime(9, 5, 3)));
    QByteArray out;
    QByteArray err;
    const int status = logtool::run(QStringList{QStringLiteral("-C"), dir.path()} + args, &out, &err);
    clock::setFixed(std::nullopt);
    return {status, QString::fromUtf8(out), QString::fromUtf8(err)};
}

std::optional<std::string> runUnprivileged(const WorkDir& dir, const std::function<std::string()>& body,
                                           std::string* why) {
    const bool root = ::geteuid() == 0;
    const passwd* nobody = root ? ::getpwnam("nobody") : nullptr;
    if (root && !nobody) {
        *why = "the tests run as root and there is no user \"nobody\" to drop to";
        return std::nullopt;
    }
    if (root) {
        const QByteArray folder = QFile::encodeName(dir.path());
        if (::chown(folder.constData(), nobody->pw_uid, nobody->pw_gid) != 0) {
            *why = "cannot give the folder to nobody";
            return std::nullopt;
        }
        // the files and the folders in it (the backups) too
        QDirIterator entries(dir.path(), QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                             QDirIterator::Subdirectories);
        while (entries.hasNext()) {
            const QByteArray file = QFile::encodeName(entries.next());
            (void)::lchown(file.constData(), nobody->pw_uid, nobody->pw_gid);
        }
    }
    int channel[2];
    if (::pipe(channel) != 0) {
        *why = "no pipe";
        return std::nullopt;
    }
    const pid_t pid = ::fork();
    if (pid < 0) {
        *why = "no child process";
        return std::nullopt;
    }
    if (pid == 0) {
        ::close(channel[0]);
        std::string result;
        if (root && (::setgroups(0, nullptr) != 0 || ::setgid(nobody->pw_gid) != 0 || ::setuid(nobody->pw_uid) != 0))
            result = "could not drop to nobody";
        else
            result = body();
        const char* data = result.data();
        size_t left = result.size();
        while (left > 0) {
            const ssize_t n = ::write(channel[1], data, left);
            if (n <= 0)
                break;
            data += n;
            left -= static_cast<size_t>(n);
        }
        ::_exit(0);
    }
    ::close(channel[1]);
    std::string result;
    char buffer[4096];
    ssize_t n;
    while ((n = ::read(channel[0], buffer, sizeof buffer)) > 0)
        result.append(buffer, static_cast<size_t>(n));
    ::close(channel[0]);
    int status = 0;
    ::waitpid(pid, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return "the child process failed";
    return result;
}

QString sampleDir() {
    return QStringLiteral(PUKAPUKA_SAMPLE_DIR);
}

QByteArray sjis(const QString& text) {
    const auto bytes = cp932::encode(text);
    EXPECT_TRUE(bytes.ok()) << bytes.message().toStdString();
    return bytes ? *bytes : QByteArray();
}

} // namespace puka::test
