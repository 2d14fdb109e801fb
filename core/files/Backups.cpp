#include "core/files/Backups.h"

#include "core/base/Clock.h"
#include "core/edits/LogEdits.h"
#include "core/files/Cp932.h"
#include "core/files/FileNames.h"
#include "core/files/FileOps.h"
#include "core/files/FolderWriteLock.h"
#include "core/files/LogLines.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

namespace puka::backups {
namespace {

constexpr int kNewestKept = 14;
constexpr int kMonthsKept = 12;

const QString kCrLf = QStringLiteral("\r\n");

const QRegularExpression& namePattern() {
    static const QRegularExpression pattern(QStringLiteral("^データ_(\\d{8})_(\\d{6})(?:_(\\d+))?\\.txt$"));
    return pattern;
}

// A backup by when it was taken; two of one second are told apart by their number.
struct Dated {
    QString name;
    QDateTime taken;
    int serial = 1;
};

std::vector<Dated> datedNewestFirst(const QStringList& names) {
    std::vector<Dated> dated;
    for (const QString& name : names) {
        const auto match = namePattern().match(name);
        const auto taken = takenAt(name);
        if (!taken)
            continue;
        dated.push_back({name, *taken, match.captured(3).isEmpty() ? 1 : match.captured(3).toInt()});
    }
    std::sort(dated.begin(), dated.end(), [](const Dated& a, const Dated& b) {
        return a.taken != b.taken ? a.taken > b.taken : a.serial > b.serial;
    });
    return dated;
}

QString folderPath(const QString& dir) {
    return QDir(dir).filePath(folderName());
}

QStringList backupNames(const QString& folder) {
    return QDir(folder).entryList({QStringLiteral("データ_*.txt")}, QDir::Files | QDir::Hidden, QDir::Name);
}

bool hasBackupOf(const QString& folder, const QDate& day) {
    const QString prefix = QStringLiteral("データ_") + day.toString(QStringLiteral("yyyyMMdd")) + QLatin1Char('_');
    const QStringList names = backupNames(folder);
    return std::any_of(names.begin(), names.end(),
                       [&](const QString& name) { return name.startsWith(prefix) && takenAt(name); });
}

QString failedBackup(const QString& why) {
    return QStringLiteral("「%1」のバックアップを作れなかったため、変更を取りやめました。\r\n%2")
        .arg(files::kData, why);
}

QString reasonOf(int error) {
    switch (error) {
    case ENOSPC:
    case EDQUOT:
        return QStringLiteral("ディスクの空き容量が足りません。");
    case EACCES:
    case EPERM:
    case EROFS:
        return QStringLiteral("書き込みの権限がありません。");
    case EEXIST:
    case ENOTDIR:
        return QStringLiteral("同じ名前のファイルがあります。");
    default:
        return QStringLiteral("エラーが起きました（%1）。").arg(QString::fromLocal8Bit(strerror(error)));
    }
}

// Makes the backup folder when it is not there. A folder that the administrator makes goes to
// the working folder's owner, so that the user's own saves can go on backing up.
Status ensureFolder(const QString& dir) {
    const QByteArray folder = QFile::encodeName(folderPath(dir));
    struct stat st {};
    if (::stat(folder.constData(), &st) == 0) {
        if (S_ISDIR(st.st_mode))
            return {};
        return Status::failure(failedBackup(
            QStringLiteral("フォルダ「%1」を作れませんでした。\r\n%2").arg(folderName(), reasonOf(EEXIST))));
    }
    if (::mkdir(folder.constData(), 0777) != 0 && errno != EEXIST)
        return Status::failure(failedBackup(
            QStringLiteral("フォルダ「%1」を作れませんでした。\r\n%2").arg(folderName(), reasonOf(errno))));
    struct stat parent {};
    if (::geteuid() == 0 && ::stat(QFile::encodeName(dir).constData(), &parent) == 0 && parent.st_uid != 0)
        (void)::chown(folder.constData(), parent.st_uid, parent.st_gid);
    return {};
}

QString freshName(const QString& folder, const QDateTime& when) {
    const QString stem = QStringLiteral("データ_") + when.toString(QStringLiteral("yyyyMMdd_HHmmss"));
    QString name = stem + QStringLiteral(".txt");
    for (int i = 2; entryExists(QDir(folder).filePath(name)); ++i)
        name = stem + QLatin1Char('_') + QString::number(i) + QStringLiteral(".txt");
    return name;
}

// A backup of a private log stays as private as the log.
void takeModeOf(const QString& logPath, const QString& backupPath) {
    struct stat st {};
    if (::stat(QFile::encodeName(logPath).constData(), &st) == 0)
        (void)::chmod(QFile::encodeName(backupPath).constData(), st.st_mode & 0666);
}

void rotate(const QString& folder, const QDate& today) {
    // a backup that cannot be removed now goes at a later rotation; it stops no change
    for (const QString& victim : rotationVictims(backupNames(folder), today))
        QFile::remove(QDir(folder).filePath(victim));
}

BackupInfo infoOf(const QString& folder, const QString& name, const QDateTime& taken) {
    BackupInfo info;
    info.name = name;
    info.taken = taken;
    const auto log = loglines::readLog(QDir(folder).filePath(name));
    if (!log) {
        info.problem = log.message();
        info.unreadable = true;
        return info;
    }
    for (const loglines::Line& line : log->lines) {
        if (!line.record)
            continue;
        ++info.records;
        info.last = line.record;
    }
    if (log->utf8)
        info.problem = cp932::utf8Message(name);
    else if (info.records == 0)
        info.problem =
            QStringLiteral("「%1」には測定の記録がありません。記録のファイルではないため、戻せません。").arg(name);
    return info;
}

} // namespace

QString folderName() {
    return QStringLiteral("バックアップ");
}

std::optional<QDateTime> takenAt(const QString& name) {
    const auto match = namePattern().match(name);
    if (!match.hasMatch())
        return std::nullopt;
    const QDate date = QDate::fromString(match.captured(1), QStringLiteral("yyyyMMdd"));
    const QTime time = QTime::fromString(match.captured(2), QStringLiteral("HHmmss"));
    if (!date.isValid() || !time.isValid())
        return std::nullopt;
    return QDateTime(date, time);
}

QStringList rotationVictims(const QStringList& names, const QDate& today) {
    const std::vector<Dated> dated = datedNewestFirst(names);
    std::vector<bool> kept(dated.size(), false);
    for (size_t i = 0; i < dated.size() && i < static_cast<size_t>(kNewestKept); ++i)
        kept[i] = true;
    const QDate thisMonth(today.year(), today.month(), 1);
    for (int back = 0; back < kMonthsKept; ++back) {
        const QDate month = thisMonth.addMonths(-back);
        // newest first: the first one of the month is its newest
        for (size_t i = 0; i < dated.size(); ++i) {
            const QDate d = dated[i].taken.date();
            if (d.year() == month.year() && d.month() == month.month()) {
                kept[i] = true;
                break;
            }
        }
    }
    QStringList victims;
    for (size_t i = 0; i < dated.size(); ++i)
        if (!kept[i])
            victims.append(dated[i].name);
    return victims;
}

Status backupBeforeChange(const QString& dir, Reason reason, const QByteArray* logBytes, QString* backupName) {
    if (backupName)
        backupName->clear();
    const QString logPath = resolveFile(dir, files::kData);
    const FolderWriteLock lock(dir);
    if (!lock.locked())
        return lock.failure(logPath);
    const QDateTime now(clock::today(), clock::now());
    const QString folder = folderPath(dir);
    if (reason == Reason::FirstChangeOfDay && hasBackupOf(folder, now.date()))
        return {};
    QByteArray bytes;
    if (logBytes) {
        bytes = *logBytes;
    } else {
        const auto file = readFileBytes(logPath);
        if (!file)
            return Status::failure(failedBackup(file.message()));
        if (!file->exists)
            return {};
        bytes = file->bytes;
    }
    Status status = ensureFolder(dir);
    if (!status)
        return status;
    const QString name = freshName(folder, now);
    const QString path = QDir(folder).filePath(name);
    status = writeFileAtomic(path, bytes);
    // a copy that is in place though its folder could not be flushed is a backup all the same
    if (!status.inPlace())
        return Status::failure(failedBackup(status.message()));
    takeModeOf(logPath, path);
    rotate(folder, now.date());
    if (backupName)
        *backupName = name;
    return {};
}

Result<std::vector<BackupInfo>> listBackups(const QString& dir) {
    std::vector<BackupInfo> list;
    const QString folder = folderPath(dir);
    const Status problem = QFileInfo(folder).isDir() ? folderReadProblem(folder) : Status();
    if (!problem)
        return problem;
    for (const Dated& d : datedNewestFirst(backupNames(folder)))
        list.push_back(infoOf(folder, d.name, d.taken));
    return list;
}

Status restoreBackup(const QString& dir, const QString& name, RestoreResult* result) {
    const auto taken = takenAt(name);
    const QString folder = folderPath(dir);
    const QString path = QDir(folder).filePath(name);
    if (!taken || !QFileInfo(path).isFile())
        return Status::failure(QStringLiteral("「%1」というバックアップはありません。").arg(name));
    const QString logPath = resolveFile(dir, files::kData);
    const FolderWriteLock lock(dir);
    if (!lock.locked())
        return lock.failure(logPath);
    const auto backup = loglines::readLog(path);
    if (!backup)
        return backup.status();
    Status status;
    RestoreResult r;
    r.restored = infoOf(folder, name, *taken);
    if (!r.restored.problem.isEmpty())
        return Status::failure(r.restored.problem);
    auto current = readFileBytes(logPath);
    if (!current)
        return current.status();
    if (current->exists) {
        status = backupBeforeChange(dir, Reason::Restore, &current->bytes, &r.savedAs);
        if (!status)
            return status;
    }
    status = writeFileAtomic(logPath, backup->bytes);
    if (status.inPlace() && result)
        *result = r;
    return status;
}

QString describe(const BackupInfo& b) {
    QString text = b.taken.toString(QStringLiteral("yyyy/MM/dd HH:mm:ss")) + QStringLiteral("　%1 件").arg(b.records);
    if (b.last)
        text += QStringLiteral("　最後の記録 ") + logedits::recordText(*b.last);
    return text;
}

QString restoreQuestion(const BackupInfo& b) {
    QString text = QStringLiteral("「%1」を %2 のバックアップに戻します。\r\n\r\n　%3 件")
                       .arg(files::kData, b.taken.toString(QStringLiteral("yyyy/MM/dd HH:mm:ss")))
                       .arg(b.records);
    if (b.last)
        text += QStringLiteral("、最後の記録 ") + logedits::recordText(*b.last);
    return text + QStringLiteral("\r\n\r\n今の記録はバックアップしてから置き換えます。よろしいですか？");
}

QString restoredNotice(const RestoreResult& r) {
    QString text = QStringLiteral("%1 のバックアップ（%2 件）に戻しました。")
                       .arg(r.restored.taken.toString(QStringLiteral("yyyy/MM/dd HH:mm:ss")))
                       .arg(r.restored.records);
    if (!r.savedAs.isEmpty())
        text += kCrLf +
                QStringLiteral("戻す前の記録は「%1」フォルダの「%2」に残してあります。").arg(folderName(), r.savedAs);
    return text;
}

QString noBackupsNotice() {
    return QStringLiteral("バックアップはまだありません。\r\n"
                          "記録を変更すると、その日の最初の変更の前に「%1」フォルダへ自動的にバックアップを作ります。")
        .arg(folderName());
}

} // namespace puka::backups
