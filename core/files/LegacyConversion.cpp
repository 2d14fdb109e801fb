#include "core/files/LegacyConversion.h"

#include "core/base/Messages.h"
#include "core/base/NumberFormat.h"
#include "core/files/Backups.h"
#include "core/files/Cp932.h"
#include "core/files/DataLog.h"
#include "core/files/FileNames.h"
#include "core/files/FileOps.h"
#include "core/files/FolderWriteLock.h"
#include "core/files/TextLines.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace puka::legacy {
namespace {

const QByteArray kLineEnd("\r\n");

// Keeps @p bytes under a fresh backup name; returns the name used.
Status keepBackup(const QString& dir, const QString& wanted, const QByteArray& bytes, QString* used) {
    const QString name = freshName(dir, wanted);
    const Status s = writeFileAtomic(QDir(dir).filePath(name), bytes);
    if (s.inPlace())
        *used = name;
    return s;
}

// The refusal of a body-fat answer no record could hold: a conversion must not turn every
// record into a line the log reader skips.
Status fatProblem(double fat) {
    WeightRecord probe;
    probe.date = QStringLiteral("2000/01/01");
    if (datalog::parseLine(datalog::formatLine64(probe, 0, fat)))
        return {};
    return Status::failure(QStringLiteral("体脂肪率「%1」は大きすぎて記録できません。\r\n変換は行いませんでした。")
                               .arg(shortestText(fat)));
}

// True when the texts of an older log's six fields can be written in the quoted form.
bool textsFit(const QStringList& f) {
    WeightRecord texts;
    texts.date = f.at(0);
    texts.situation = f.at(1);
    texts.comment = f.at(3);
    texts.spare = f.at(5);
    return datalog::recordProblem(texts).ok();
}

} // namespace

QString title() {
    return QStringLiteral("データ変換および体脂肪率確認");
}

QString promptLegacyLog() {
    return QStringLiteral("連続体重.txtを検出しました。\r\n\r\n変換する場合は現在の体脂肪率を入力してください。");
}

QString promptData() {
    return QStringLiteral(
        "Pukapuka☆ダイエットのデータを検出しました。\r\n\r\n変換する場合は現在の体脂肪率を入力してください。");
}

QString freshName(const QString& dir, const QString& name) {
    // a link of that name, even one that points nowhere, is the user's and no free name
    const auto taken = [&dir](const QString& n) { return fileExists(dir, n) || entryExists(QDir(dir).filePath(n)); };
    if (!taken(name))
        return name;
    const QFileInfo fi(name);
    for (int i = 2;; ++i) {
        const QString candidate = fi.completeBaseName() + QString::number(i) + QLatin1Char('.') + fi.suffix();
        if (!taken(candidate))
            return candidate;
    }
}

bool needsLegacyLog(const QString& dir) {
    QFile f(resolveFile(dir, files::kLegacyLog));
    return f.open(QIODevice::ReadOnly);
}

namespace {

Status convertLegacyLogSteps(const QString& dir, const QString& answer, ConversionOutcome* result) {
    ConversionOutcome r;
    if (answer.isEmpty()) {
        if (result)
            *result = r;
        return {};
    }
    const double fat = leadingNumber(answer);
    if (const Status problem = fatProblem(fat); !problem)
        return problem;
    const FolderWriteLock lock(dir);
    const QString sourcePath = resolveFile(dir, files::kLegacyLog);
    if (!lock.locked())
        return lock.failure(resolveFile(dir, files::kData));
    const auto source = readFileBytes(sourcePath);
    if (!source)
        return source.status();
    if (!source->exists)
        return Status::failure(messages::fileNotFound(files::kLegacyLog));

    QByteArray out;
    for (const QByteArray& raw : splitLines(source->bytes)) {
        const auto text = cp932::decode(raw);
        const auto fields = text ? splitFields(*text) : std::nullopt;
        if (fields && fields->isEmpty())
            continue;
        const auto weight = fields && fields->size() >= 3 ? parseNumber(fields->at(2)) : std::nullopt;
        if (!weight) {
            // the line stays readable in the backup of the old file
            ++r.keptAsIs;
            continue;
        }
        WeightRecord rec;
        rec.date = fields->at(0);
        rec.situation = fields->at(1);
        if (!datalog::recordProblem(rec)) {
            ++r.keptAsIs;
            continue;
        }
        out += *cp932::encode(datalog::formatLine64(rec, *weight, fat)) + kLineEnd;
        ++r.records;
    }

    // An existing log is kept before it is replaced, so that nothing is lost.
    const QString logPath = resolveFile(dir, files::kData);
    const auto oldLog = readFileBytes(logPath);
    if (!oldLog)
        return oldLog.status();
    Status status;
    // a file that is in place but could not be flushed to disk stops nothing; it is told at the end
    UnflushedWrites unflushed;
    if (oldLog->exists) {
        status = backups::backupBeforeChange(dir, backups::Reason::Conversion, &oldLog->bytes);
        if (!status)
            return status;
        status = keepBackup(dir, files::kDataBackup, oldLog->bytes, &r.oldLogBackupName);
        if (!unflushed.inPlace(status))
            return status;
    }
    // A step that fails undoes the steps before it: the folder is as it was, and the
    // conversion is asked for again at the next start.
    auto dropBackup = [&] {
        if (!r.oldLogBackupName.isEmpty())
            QFile::remove(QDir(dir).filePath(r.oldLogBackupName));
    };
    status = writeFileAtomic(logPath, out);
    if (!unflushed.inPlace(status)) {
        dropBackup();
        return status;
    }
    r.backupName = freshName(dir, files::kLegacyLogBackup);
    status = renameFile(sourcePath, QDir(dir).filePath(r.backupName));
    if (!unflushed.inPlace(status)) {
        const Status undone = oldLog->exists ? writeFileAtomic(logPath, oldLog->bytes)
                                             : Status(QFile::remove(logPath) ? Status() : Status::failure(QString()));
        if (undone)
            dropBackup();
        return Status::failure(
            QStringLiteral("「%1」を「%2」に変えられなかったため、変換を取りやめました。\r\n%3")
                .arg(files::kLegacyLog, r.backupName, status.message().section(QStringLiteral("\r\n"), 1, 1)));
    }
    r.converted = true;
    if (result)
        *result = r;
    return unflushed.status();
}

} // namespace

Status convertLegacyLog(const QString& dir, const QString& answer, ConversionOutcome* result) {
    return convertLegacyLogSteps(dir, answer, result).titled(messages::conversionTitle());
}

bool needsData(const QString& dir) {
    // only the first record is tested: start-up reads no further than its line
    QFile f(resolveFile(dir, files::kData));
    if (!f.open(QIODevice::ReadOnly))
        return false;
    // a log saved in UTF-8 is not ours to convert; the reader tells the user about it
    if (f.peek(3) == QByteArray("\xEF\xBB\xBF"))
        return false;
    while (!f.atEnd()) {
        QByteArray raw = f.readLine();
        // a file with CR-only line ends reads as one line: its first record ends at the first CR
        raw = raw.left(raw.indexOf('\r') >= 0 ? raw.indexOf('\r') : raw.size()).trimmed();
        if (raw.isEmpty())
            continue;
        const auto text = cp932::decode(raw);
        const auto fields = text ? splitFields(*text) : std::nullopt;
        if (fields && fields->isEmpty())
            continue;
        // asked only for a record the conversion turns into one with a body fat: a first line
        // it carries over as it is would ask again at every start
        return fields && fields->size() == 6 && fields->at(4).isEmpty() && parseNumber(fields->at(2)) &&
               textsFit(*fields);
    }
    return false;
}

namespace {

Status convertDataSteps(const QString& dir, const QString& answer, ConversionOutcome* result) {
    ConversionOutcome r;
    if (answer.isEmpty()) {
        if (result)
            *result = r;
        return {};
    }
    if (const Status problem = fatProblem(leadingNumber(answer)); !problem)
        return problem;
    const QString fatText = shortestText(leadingNumber(answer));
    const FolderWriteLock lock(dir);
    const QString logPath = resolveFile(dir, files::kData);
    if (!lock.locked())
        return lock.failure(logPath);
    const auto old = readFileBytes(logPath);
    if (!old)
        return old.status();
    if (!old->exists)
        return Status::failure(messages::fileNotFound(files::kData));
    if (cp932::looksLikeUtf8(old->bytes))
        return Status::failure(cp932::utf8Message(QFileInfo(logPath).fileName()));

    QByteArray out;
    for (const QByteArray& raw : splitLines(old->bytes)) {
        const auto text = cp932::decode(raw);
        const auto fields = text ? splitFields(*text) : std::nullopt;
        const auto weight = fields && fields->size() == 6 ? parseNumber(fields->at(2)) : std::nullopt;
        // A text the quoted form cannot hold (a plain field with a double quote in it) would
        // come back changed: such a line, like any that is no record, is carried over as it is.
        if (!weight || !textsFit(*fields)) {
            if (!raw.trimmed().isEmpty()) {
                out += raw + kLineEnd;
                ++r.keptAsIs;
            }
            continue;
        }
        const QStringList& f = *fields;
        const QString line = quoted(f.at(0)) + QLatin1Char(',') + quoted(f.at(1)) + QLatin1Char(',') +
                             shortestText(*weight) + QLatin1Char(',') + quoted(f.at(3)) + QLatin1Char(',') + fatText +
                             QLatin1Char(',') + quoted(f.at(5));
        out += *cp932::encode(line) + kLineEnd;
        ++r.records;
    }

    // The old log is kept first; then the new one replaces it in one step, so there is
    // never a moment without a log.
    Status status = backups::backupBeforeChange(dir, backups::Reason::Conversion, &old->bytes);
    if (!status)
        return status;
    status = keepBackup(dir, files::kDataBackup, old->bytes, &r.backupName);
    if (!status.inPlace())
        return status;
    const Status backupStatus = status;
    status = writeFileAtomic(logPath, out);
    if (!status.inPlace()) {
        // the old log is still in place: the backup of it is not needed
        QFile::remove(QDir(dir).filePath(r.backupName));
        return status;
    }
    r.converted = true;
    if (result)
        *result = r;
    // a file that is in place but could not be flushed to disk is told
    return backupStatus ? status : backupStatus;
}

} // namespace

Status convertData(const QString& dir, const QString& answer, ConversionOutcome* result) {
    return convertDataSteps(dir, answer, result).titled(messages::conversionTitle());
}

} // namespace puka::legacy
