#include "core/edits/LogImport.h"

#include "core/base/Messages.h"
#include "core/edits/MeasurementEntry.h"
#include "core/files/Backups.h"
#include "core/files/FileNames.h"
#include "core/files/FileOps.h"
#include "core/files/FolderWriteLock.h"
#include "core/files/LogLines.h"
#include "core/files/Settings.h"
#include "core/files/TextLines.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cerrno>
#include <sys/stat.h>

namespace puka::logimport {
namespace {

QString dateText(const QDate& date) {
    return date.toString(QStringLiteral("yyyy/MM/dd"));
}

Source failedSource(const QString& path, const QString& message, bool fileError) {
    Source source;
    source.path = path;
    source.status = Status::failure(message);
    source.fileError = fileError;
    return source;
}

QString tooLargeMessage(const QString& path, qint64 size) {
    return QStringLiteral("「%1」は大きすぎます（%2 MB）。\r\n取り込めるのは %3 MB までのファイルです。"
                          "ファイルを分けて取り込んでください。")
        .arg(QFileInfo(path).fileName())
        .arg((size + 1024 * 1024 - 1) / (1024 * 1024))
        .arg(kLargestFile / (1024 * 1024));
}

// The records put in by a merge that only adds: walking both record lists together, a record of
// the new log that is not the next old one was added. No added record equals an old one (it
// would have been a duplicate), so the walk never pairs the wrong ones.
logedits::LogChange addedRecords(const QByteArray& before, const QByteArray& after) {
    std::vector<WeightRecord> old;
    for (loglines::Line& line : loglines::split(before))
        if (line.record)
            old.push_back(std::move(*line.record));
    logedits::LogChange change;
    size_t next = 0;
    int number = 0;
    std::optional<WeightRecord> previous;
    for (loglines::Line& line : loglines::split(after)) {
        if (!line.record)
            continue;
        ++number;
        if (next < old.size() && old[next] == *line.record) {
            ++next;
        } else {
            logedits::RecordStep step;
            step.added = *line.record;
            step.addedNumber = number;
            step.addedAfter = previous;
            change.steps.push_back(std::move(step));
        }
        previous = std::move(*line.record);
    }
    return change;
}

// Plans the import against the log bytes @p log (nothing: no log yet), with the checks every
// import makes before anything is written.
Outcome planAgainst(const QString& dir, const std::optional<QByteArray>& log, const Source& source,
                    bool takeBeforeStart) {
    Outcome outcome;
    if (!source.status) {
        outcome.status = source.status;
        outcome.fileError = source.fileError;
        return outcome;
    }
    outcome.plan = planImport(log, source.table.rows, takeBeforeStart);
    if (!outcome.plan.status) {
        // a log this program must not write (saved as UTF-8), or a text it cannot hold
        outcome.status = outcome.plan.status;
        outcome.fileError = true;
        return outcome;
    }
    if (!outcome.plan.startDate.isEmpty() &&
        entry::isSampleData(outcome.plan.startDate, settings::readProfile(dir).value)) {
        outcome.status = Status::failure(messages::sampleDataRefusal());
        return outcome;
    }
    return outcome;
}

// The log's bytes (nothing when there is none); a log that cannot be read fails @p outcome.
std::optional<QByteArray> readLogBytes(const QString& path, Outcome* outcome) {
    auto file = readFileBytes(path);
    if (!file) {
        outcome->status = file.status();
        outcome->fileError = true;
        return std::nullopt;
    }
    if (!file->exists)
        return std::nullopt;
    return std::move(file->bytes);
}

} // namespace

QString Source::defaultSituationName() const {
    if (std::any_of(withoutSituation.begin(), withoutSituation.end(),
                    [this](size_t i) { return table.rows[i].time.isValid(); }))
        return QStringLiteral("測定の時刻（時刻のない行は「%1」）").arg(csvimport::kDefaultSituation);
    return csvimport::kDefaultSituation;
}

Source readSource(const QString& path, const csvimport::Options& options) {
    const QString name = QFileInfo(path).fileName();
    struct stat st {};
    if (::stat(QFile::encodeName(path).constData(), &st) != 0) {
        if (errno == ENOENT || errno == ENOTDIR)
            return failedSource(path, QStringLiteral("ファイル「%1」が見つかりません。").arg(path), true);
        return failedSource(path, readFailureMessage(path, errno), true);
    }
    if (S_ISDIR(st.st_mode))
        return failedSource(path, QStringLiteral("「%1」はフォルダです。取り込むファイルを選んでください。").arg(name),
                            true);
    // a pipe or a device would never end, or block the reading
    if (!S_ISREG(st.st_mode))
        return failedSource(path, QStringLiteral("「%1」は普通のファイルではないため、読み込めません。").arg(name),
                            true);
    if (st.st_size > kLargestFile)
        return failedSource(path, tooLargeMessage(path, st.st_size), false);
    const auto file = readFileBytes(path);
    if (!file)
        return failedSource(path, file.message(), true);
    if (!file->exists)
        return failedSource(path, QStringLiteral("ファイル「%1」が見つかりません。").arg(path), true);
    // the file may have grown between the check and the reading
    if (file->bytes.size() > kLargestFile)
        return failedSource(path, tooLargeMessage(path, file->bytes.size()), false);

    csvimport::Options own = options;
    own.situation.clear();
    Source source;
    source.path = path;
    source.table = csvimport::read(file->bytes, own);
    if (!source.table.status) {
        source.status = source.table.status;
        return source;
    }
    for (size_t i = 0; i < source.table.rows.size(); ++i)
        if (source.table.rows[i].situation.isEmpty())
            source.withoutSituation.push_back(i);
    const Status chosen = chooseSituation(&source, options.situation);
    if (!chosen)
        source.status = chosen;
    return source;
}

Status chooseSituation(Source* source, const QString& situation) {
    const Status problem = textFieldProblem(situation, QStringLiteral("状況"));
    if (!problem)
        return problem;
    source->situation = situation;
    for (const size_t i : source->withoutSituation)
        source->table.rows[i].situation = situation;
    return {};
}

Outcome preview(const QString& dir, const Source& source, bool takeBeforeStart) {
    Outcome outcome;
    const auto log = readLogBytes(resolveFile(dir, files::kData), &outcome);
    if (!outcome.status)
        return outcome;
    return planAgainst(dir, log, source, takeBeforeStart);
}

Outcome importInto(const QString& dir, const Source& source, bool takeBeforeStart) {
    const QString logPath = resolveFile(dir, files::kData);
    Outcome outcome;
    const FolderWriteLock lock(dir);
    if (!lock.locked()) {
        outcome.status = lock.failure(logPath);
        outcome.fileError = true;
        return outcome;
    }
    // what the log holds now, under the lock: another writer's change since the preview is kept
    const auto log = readLogBytes(logPath, &outcome);
    if (!outcome.status)
        return outcome;
    outcome = planAgainst(dir, log, source, takeBeforeStart);
    if (!outcome.status || !outcome.plan.changes())
        return outcome;
    if (log) {
        const Status backup = backups::backupBeforeChange(dir, backups::Reason::Import, &*log, &outcome.backupName);
        if (!backup) {
            outcome.status = backup;
            outcome.fileError = true;
            return outcome;
        }
    }
    outcome.status = writeFileAtomic(logPath, outcome.plan.content);
    if (!outcome.status.inPlace()) {
        outcome.fileError = true;
        return outcome;
    }
    if (log)
        outcome.change = addedRecords(*log, outcome.plan.content);
    return outcome;
}

QStringList previewLines(const Source& source, const Outcome& outcome) {
    QStringList lines = source.table.findings();
    if (!source.withoutSituation.empty()) {
        const QString count = QString::number(source.withoutSituation.size());
        const QString fallback = source.defaultSituationName();
        if (!source.situation.isEmpty())
            lines << QStringLiteral("状況のない行: %1 行（状況は「%2」にします）").arg(count, source.situation);
        else if (fallback != csvimport::kDefaultSituation)
            lines << QStringLiteral("状況のない行: %1 行（測定の時刻を状況にします。時刻のない行は「%2」）")
                         .arg(count, csvimport::kDefaultSituation);
        else
            lines << QStringLiteral("状況のない行: %1 行（状況は「%2」にします）").arg(count, fallback);
    }
    lines << QString();
    if (!outcome.status)
        lines << outcome.status.message().split(QStringLiteral("\r\n"));
    else
        lines << outcome.plan.summary();
    return lines;
}

QString doneLine(const Outcome& outcome, const csvimport::Table& table) {
    const ImportPlan& plan = outcome.plan;
    QString line = plan.added > 0 ? QStringLiteral("%1 行を取り込みました（%2～%3）")
                                        .arg(plan.added)
                                        .arg(dateText(plan.firstAdded), dateText(plan.lastAdded))
                                  : QStringLiteral("取り込む行はありませんでした（記録は変わりません）");
    QStringList left;
    if (plan.duplicatesOfLog + plan.duplicatesInFile > 0)
        left << QStringLiteral("重複 %1 行").arg(plan.duplicatesOfLog + plan.duplicatesInFile);
    if (plan.beforeStart > 0 && !plan.beforeStartTaken)
        left << QStringLiteral("開始記録より前の %1 行").arg(plan.beforeStart);
    if (table.refusedCount > 0)
        left << QStringLiteral("読めない %1 行").arg(table.refusedCount);
    if (!left.isEmpty())
        line += QStringLiteral("。取り込まなかった行: ") + left.join(QStringLiteral("、"));
    if (plan.added > 0 && plan.newLog)
        line += QStringLiteral("。「%1」を新しく作りました").arg(files::kData);
    else if (plan.beforeStartTaken)
        line += QStringLiteral("。開始日は %1 になりました").arg(plan.newStartDate);
    return line;
}

} // namespace puka::logimport
