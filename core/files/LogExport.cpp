#include "core/files/LogExport.h"

#include "core/files/DataLog.h"
#include "core/files/FileNames.h"
#include "core/files/FileOps.h"
#include "core/files/FolderWriteLock.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <sys/stat.h>

namespace puka::logexport {
namespace {

Outcome failed(const QString& message, bool fileError) {
    Outcome outcome;
    outcome.status = Status::failure(message);
    outcome.fileError = fileError;
    return outcome;
}

bool sameEntry(const QString& a, const QString& b) {
    struct stat x {};
    struct stat y {};
    return ::stat(QFile::encodeName(a).constData(), &x) == 0 && ::stat(QFile::encodeName(b).constData(), &y) == 0 &&
           x.st_dev == y.st_dev && x.st_ino == y.st_ino;
}

// The program's own file that @p path would replace: one of them itself (also through a link),
// or a file in the working folder under one of their names in any letter case; else empty.
QString ownFileAt(const QString& dir, const QString& path) {
    const QString names[] = {files::kData,      files::kSituations,    files::kHelpTour,  files::kSteps,
                             files::kTimeStamp, files::kMovingAverage, files::kMarker,    files::kProfile,
                             files::kNotes,     files::kDailyExport,   files::kLegacyLog, files::kLegacyLogBackup,
                             files::kDataBackup};
    const QFileInfo target(path);
    const bool inFolder = sameEntry(target.absolutePath(), dir);
    for (const QString& name : names) {
        if (inFolder && target.fileName().compare(name, Qt::CaseInsensitive) == 0)
            return name;
        const QString own = resolveFile(dir, name);
        if (QFileInfo::exists(own) && QFileInfo::exists(path) && sameEntry(own, path))
            return name;
    }
    return QString();
}

} // namespace

QString encodingName(csvexport::Encoding encoding) {
    // a file always starts with the mark
    return encoding == csvexport::Encoding::Utf8 ? QStringLiteral("UTF-8（BOM 付き）")
                                                 : QStringLiteral("Shift_JIS（CP932）");
}

Outcome exportLog(const QString& dir, csvexport::Encoding encoding, bool byteOrderMark) {
    const LogContents log = datalog::readLog(dir);
    if (!log.status)
        return failed(log.status.message(), true);
    if (!log.exists)
        return failed(QStringLiteral("「%1」がありません。書き出す記録がありません。").arg(files::kData), false);
    if (log.records.empty())
        return failed(QStringLiteral("「%1」に記録がありません。書き出す記録がありません。").arg(files::kData), false);
    csvexport::CsvOutcome csv = csvexport::write(log.records, encoding, byteOrderMark);
    if (!csv.status)
        return failed(csv.status.message(), false);
    Outcome outcome;
    outcome.bytes = std::move(csv.bytes);
    outcome.records = static_cast<qint64>(log.records.size());
    outcome.firstDate = log.records.front().date;
    outcome.lastDate = log.records.back().date;
    outcome.notice = log.skippedNotice();
    return outcome;
}

Outcome exportToFile(const QString& dir, const QString& path, csvexport::Encoding encoding) {
    if (QFileInfo(path).isDir())
        return failed(QStringLiteral("「%1」はフォルダです。書き出すファイルの名前を指定してください。").arg(path),
                      true);
    const QString own = ownFileAt(dir, path);
    if (!own.isEmpty())
        return failed(QStringLiteral("「%1」はこのソフトのデータのファイルです。\r\n"
                                     "エクスポートは別の名前のファイルに保存してください。")
                          .arg(own),
                      false);
    // under the folder's lock the export reads a log no writer is halfway through, and a file
    // in the folder is written as every other file there is; a folder the user may not write
    // (no lock file can be made there) still exports to a file elsewhere
    const FolderWriteLock lock(dir);
    if (lock.busy())
        return failed(lock.failure(path).message(), true);
    Outcome outcome = exportLog(dir, encoding, true);
    if (!outcome.status)
        return outcome;
    outcome.status = writeFileAtomic(path, outcome.bytes);
    outcome.fileError = !outcome.status.inPlace();
    return outcome;
}

QString doneLine(const Outcome& outcome, const QString& path, csvexport::Encoding encoding) {
    return QStringLiteral("%1 件の記録（%2～%3）を「%4」に書き出しました（%5）")
        .arg(outcome.records)
        .arg(outcome.firstDate, outcome.lastDate, QDir::toNativeSeparators(path), encodingName(encoding));
}

} // namespace puka::logexport
