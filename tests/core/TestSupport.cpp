#include "TestSupport.h"

#include "Cp932.h"
#include "ReportCli.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

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
    for (const QString& name : sample.entryList(QDir::Files)) {
        QFile::remove(QDir(path()).filePath(name));
        ASSERT_TRUE(QFile::copy(sample.filePath(name), QDir(path()).filePath(name)));
        QFile::setPermissions(QDir(path()).filePath(name), QFile::ReadOwner | QFile::WriteOwner);
    }
}

QStringList WorkDir::files() const {
    return QDir(path()).entryList(QDir::Files | QDir::Hidden, QDir::Name);
}

ReportRun runReport(const QStringList& args) {
    QByteArray out;
    QByteArray err;
    const int status = report::run(args, &out, &err);
    return {status, QString::fromUtf8(out), QString::fromUtf8(err)};
}

QString sampleDir() {
    return QStringLiteral(PUKAPUKA_SAMPLE_DIR);
}

QByteArray sjis(const QString& text) {
    QString bad;
    const auto bytes = cp932::encode(text, &bad);
    EXPECT_TRUE(bytes.has_value()) << "cannot encode " << bad.toStdString();
    return bytes.value_or(QByteArray());
}

} // namespace puka::test
