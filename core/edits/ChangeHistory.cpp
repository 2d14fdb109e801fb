#include "core/edits/ChangeHistory.h"

#include "core/files/Backups.h"
#include "core/files/FileNames.h"
#include "core/files/FileOps.h"
#include "core/files/FolderWriteLock.h"

namespace puka::history {
namespace {

const QString kCrLf = QStringLiteral("\r\n");

// A file's bytes, a missing file as empty; a failure when it cannot be read.
Result<QByteArray> bytesOf(const QString& path) {
    auto file = readFileBytes(path);
    if (!file)
        return file.status();
    return std::move(file->bytes);
}

// Applies @p change forwards (to make it again) or backwards (to take it back). @p made
// receives the log change as it was made, with the numbers the records have now.
Status apply(const QString& dir, const Change& change, bool forward, logedits::LogChange* made) {
    const QString logPath = resolveFile(dir, files::kData);
    const QString listPath = resolveFile(dir, files::kSituations);
    const FolderWriteLock lock(dir);
    if (!lock.locked())
        return lock.failure(change.log.empty() ? listPath : logPath);

    // everything is checked and made in memory before the first file changes
    Status status;
    if (change.list) {
        const auto list = bytesOf(listPath);
        if (!list)
            return list.status();
        if (*list != (forward ? change.list->before : change.list->after))
            return Status::failure(
                QStringLiteral("「%1」が、この変更の後にほかのウィンドウかプログラムで変更されています。\r\n"
                               "何も変更していません。")
                    .arg(files::kSituations));
    }
    QByteArray logBefore;
    QByteArray logAfter;
    if (!change.log.empty()) {
        const auto log = bytesOf(logPath);
        if (!log)
            return log.status();
        logBefore = *log;
        status = logedits::changedLog(logBefore, forward ? change.log : change.log.inverse(), &logAfter, made);
        if (!status)
            return status;
        status = backups::backupBeforeChange(
            dir, change.acrossLog ? backups::Reason::Rename : backups::Reason::FirstChangeOfDay, &logBefore);
        if (!status)
            return status;
        status = writeFileAtomic(logPath, logAfter);
        if (!status.inPlace())
            return status;
    }
    Status flushed = status;
    if (change.list) {
        status = writeFileAtomic(listPath, forward ? change.list->after : change.list->before);
        if (!status.inPlace()) {
            // the log goes back too, so that both files stay as they were; under the lock it
            // still holds exactly what was written above
            if (!change.log.empty() && !writeFileAtomic(logPath, logBefore).inPlace())
                return Status::failure(status.message() + kCrLf + kCrLf +
                                       QStringLiteral("「%1」は変更した後のままです。").arg(files::kData));
            return status;
        }
        if (flushed)
            flushed = status;
    }
    return flushed;
}

QString failed(const QString& what, const QString& description, const Status& status) {
    return QStringLiteral("「%1」を%2。\r\n%3").arg(description, what, status.message());
}

} // namespace

Change savedMeasurement(const WeightRecord& record) {
    Change change;
    change.description = QStringLiteral("測定の保存");
    change.log.steps.push_back(
        {std::nullopt, 0, record, 0, false, std::nullopt, std::nullopt, QByteArray(), QByteArray()});
    return change;
}

Status captureList(const QString& dir, const std::function<Status()>& edit, Change* change) {
    const QString listPath = resolveFile(dir, files::kSituations);
    const FolderWriteLock lock(dir);
    if (!lock.locked())
        return edit();
    const auto before = bytesOf(listPath);
    const Status status = edit();
    if (!status.inPlace() || !before)
        return status;
    const auto after = bytesOf(resolveFile(dir, files::kSituations));
    if (after && *after != *before)
        change->list = ListChange{*before, *after};
    return status;
}

Change renamed(const QString& description, const editing::RenameResult& result) {
    Change change;
    change.description = description;
    change.log = result.logChange;
    if (result.listAfter != result.listBefore)
        change.list = ListChange{result.listBefore, result.listAfter};
    change.acrossLog = true;
    return change;
}

void ChangeHistory::record(Change change) {
    if (change.empty())
        return;
    m_done.push_back(std::move(change));
    m_undone.clear();
}

QString ChangeHistory::undoDescription() const {
    return m_done.empty() ? QString() : m_done.back().description;
}

QString ChangeHistory::redoDescription() const {
    return m_undone.empty() ? QString() : m_undone.back().description;
}

Status ChangeHistory::undo(const QString& dir) {
    if (m_done.empty())
        return Status::failure(QStringLiteral("元に戻せる変更はありません。"));
    Change& change = m_done.back();
    logedits::LogChange made;
    const Status status = apply(dir, change, false, &made);
    if (!status.inPlace())
        return Status::failure(failed(QStringLiteral("元に戻せませんでした"), change.description, status));
    // the change as it can now be made again, with the numbers the records have now
    change.log = made.inverse();
    m_undone.push_back(std::move(change));
    m_done.pop_back();
    return status;
}

Status ChangeHistory::redo(const QString& dir) {
    if (m_undone.empty())
        return Status::failure(QStringLiteral("やり直せる変更はありません。"));
    Change& change = m_undone.back();
    logedits::LogChange made;
    const Status status = apply(dir, change, true, &made);
    if (!status.inPlace())
        return Status::failure(failed(QStringLiteral("やり直せませんでした"), change.description, status));
    change.log = made;
    m_done.push_back(std::move(change));
    m_undone.pop_back();
    return status;
}

void ChangeHistory::clear() {
    m_done.clear();
    m_undone.clear();
}

} // namespace puka::history
