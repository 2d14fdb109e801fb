#pragma once

#include "core/base/WeightRecord.h"
#include "core/files/Cp932.h"
#include "core/files/FileOps.h"
#include "tests/core/TestSupport.h"

#include <QMap>
#include <QRegularExpression>
#include <QString>
#include <QStringList>

#include <gtest/gtest.h>

#include <dirent.h>
#include <fcntl.h>
#include <ostream>
#include <unistd.h>
#include <utility>

namespace puka {
inline void PrintTo(const WeightRecord& r, std::ostream* os) {
    *os << '{' << r.date.toStdString() << ", " << r.situation.toStdString() << ", " << r.weight << ", "
        << r.comment.toStdString() << ", " << r.bodyFat << ", " << r.spare.toStdString() << '}';
}
} // namespace puka

namespace puka::test {

/// A measurement with the fields the tests care about.
inline WeightRecord record(const QString& date, const QString& situation, float weight, const QString& comment = {},
                           float bodyFat = 22.3f, const QString& spare = {}) {
    WeightRecord r;
    r.date = date;
    r.situation = situation;
    r.weight = weight;
    r.comment = comment;
    r.bodyFat = bodyFat;
    r.spare = spare;
    return r;
}

/// Installs a fault hook for one scope; the hook is removed again even when an assertion fails.
/// The disk is not asked to flush meanwhile (the flush steps still run through the hook): the
/// fault tests run their writers thousands of times in scratch folders.
class FaultGuard {
public:
    explicit FaultGuard(FaultHook hook) {
        setFaultHook(std::move(hook));
        setDiskFlushes(false);
    }
    ~FaultGuard() {
        setFaultHook(nullptr);
        setDiskFlushes(true);
    }
    FaultGuard(const FaultGuard&) = delete;
    FaultGuard& operator=(const FaultGuard&) = delete;
};

/// Every file of a folder with its bytes, to compare a folder before and after an operation.
inline QMap<QString, QByteArray> snapshot(const WorkDir& dir) {
    QMap<QString, QByteArray> files;
    for (const QString& name : dir.files())
        files.insert(name, dir.read(name));
    return files;
}

/// Compares two folder snapshots and describes the first differences briefly.
inline ::testing::AssertionResult sameFiles(const QMap<QString, QByteArray>& expected,
                                            const QMap<QString, QByteArray>& actual) {
    QStringList differences;
    for (auto it = expected.begin(); it != expected.end(); ++it) {
        if (!actual.contains(it.key())) {
            differences << QStringLiteral("missing %1").arg(it.key());
            continue;
        }
        const QByteArray& a = actual.value(it.key());
        if (a == it.value())
            continue;
        qsizetype at = 0;
        while (at < a.size() && at < it.value().size() && a.at(at) == it.value().at(at))
            ++at;
        const qsizetype lineStart = at == 0 ? 0 : it.value().lastIndexOf('\n', at - 1) + 1;
        const auto lineAt = [lineStart](const QByteArray& bytes) {
            const qsizetype end = bytes.indexOf('\n', lineStart);
            const QByteArray line = bytes.mid(lineStart, end < 0 ? -1 : end - lineStart);
            return cp932::decode(line).value_or(QString::fromLatin1(line.toHex(' ')));
        };
        differences << QStringLiteral("%1 differs at byte %2 of %3 (now %4 bytes), line was: %5 / now: %6")
                           .arg(it.key())
                           .arg(at)
                           .arg(it.value().size())
                           .arg(a.size())
                           .arg(lineAt(it.value()), lineAt(a));
    }
    for (auto it = actual.begin(); it != actual.end(); ++it)
        if (!expected.contains(it.key()))
            differences << QStringLiteral("extra %1 (%2 bytes)").arg(it.key()).arg(it.value().size());
    if (differences.isEmpty())
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << differences.join(QStringLiteral("; ")).toStdString();
}

/// True when @p name is a copy that the atomic replace of the file @p target makes beside it
/// (".データ.txt.Ab3dEf9h.tmp"): only a killed write leaves one behind.
inline bool isCopyName(const QString& name, const QString& target) {
    const QRegularExpression pattern(
        QStringLiteral("^\\.%1\\.[A-Za-z0-9]{8}\\.tmp$").arg(QRegularExpression::escape(target)));
    return pattern.match(name).hasMatch();
}

/// The hidden files of a folder: the copies an atomic replace leaves only when it is killed.
inline QStringList copiesLeft(const WorkDir& dir) {
    return dir.files().filter(QRegularExpression(QStringLiteral("^\\.")));
}

/// Removes the folder @p path (by its bytes, as a name that is no UTF-8 cannot go through a
/// QString) with the files in it.
inline void removeFolder(const QByteArray& path) {
    if (DIR* entries = ::opendir(path.constData())) {
        while (const dirent* entry = ::readdir(entries))
            ::unlinkat(::dirfd(entries), entry->d_name, 0);
        ::closedir(entries);
    }
    ::rmdir(path.constData());
}

/// CP932 lines, each followed by CR LF.
inline QByteArray crlfLines(const QStringList& lines) {
    QByteArray out;
    for (const QString& line : lines)
        out += sjis(line) + "\r\n";
    return out;
}

} // namespace puka::test
