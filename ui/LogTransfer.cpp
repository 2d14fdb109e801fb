#include "ui/LogTransfer.h"

#include "core/base/Clock.h"
#include "core/base/Messages.h"
#include "core/edits/LogImport.h"
#include "core/files/Backups.h"
#include "core/files/LogExport.h"
#include "core/files/SituationList.h"
#include "ui/AppState.h"
#include "ui/RecordEditor.h"
#include "ui/controls/Dialogs.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>

namespace puka::ui {
namespace {

const QString kImportTitle = QStringLiteral("インポート");
const QString kExportTitle = QStringLiteral("エクスポート");

// The most records an import may add and still be taken back by 元に戻す: making a change again
// puts its records in one by one, which for a thousand records in a log of 30,000 takes about
// 0.3 s; a larger import is taken back from its backup instead.
constexpr size_t kUndoableRecords = 1000;

// The export's file types, in the order of csvexport::Encoding.
const QStringList kExportTypes = {QStringLiteral("CSV UTF-8（BOM 付き、新しい表計算ソフト向け） (*.csv)"),
                                  QStringLiteral("CSV Shift_JIS（CP932、古い表計算ソフト向け） (*.csv)")};

// The wait cursor while a large file is read or merged, which takes seconds.
class WaitCursor {
public:
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};

// The preview's lines are shown in a text box, where a line ends with LF alone.
QString previewText(const QStringList& lines) {
    return lines.join(QLatin1Char('\n')).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

// The form of the import's preview: each situation the user types is previewed afresh from
// @p source, which keeps the last one chosen.
ImportPreviewForm previewForm(const QString& dir, const QString& path, const bool& takeBeforeStart,
                              logimport::Source* source) {
    ImportPreviewForm form;
    form.fileName = QFileInfo(path).fileName();
    form.asksSituation = !source->withoutSituation.empty();
    form.defaultSituationName = source->defaultSituationName();
    form.situations = situations::readSituationList(dir).words;
    form.describe = [dir, source, &takeBeforeStart](const QString& situation) {
        const WaitCursor wait;
        const Status chosen = logimport::chooseSituation(source, situation);
        if (!chosen)
            return ImportPreviewText{previewText({chosen.message()}), false};
        const logimport::Outcome outcome = logimport::preview(dir, *source, takeBeforeStart);
        return ImportPreviewText{previewText(logimport::previewLines(*source, outcome)),
                                 outcome.status.ok() && outcome.plan.changes()};
    };
    return form;
}

// What an import that was written tells: the rows taken, where the user goes on, the backup
// and how the import is taken back.
QString importNotice(const logimport::Outcome& done, const logimport::Source& source, bool undoable) {
    QString notice = logimport::doneLine(done, source.table) + QStringLiteral("。");
    if (done.written() && done.plan.newLog)
        notice += QStringLiteral("\r\n\r\n名前・身長・目標体重は、この画面の「プライベートデータ」に入力して"
                                 "「データ変更」を押してください。");
    if (!done.backupName.isEmpty())
        notice += QStringLiteral("\r\n\r\n取り込む前の記録は「%1」フォルダの「%2」に残してあります。")
                      .arg(backups::folderName(), done.backupName);
    if (undoable)
        notice += QStringLiteral("\r\n取り込みは「元に戻す」（Ctrl+Z）でまとめて取り消せます。");
    else if (!done.change.empty())
        notice += QStringLiteral("\r\n取り込んだ行が多いため、「元に戻す」では取り消せません。"
                                 "取り込む前の記録には「バックアップから戻す…」で戻せます。");
    return notice;
}

} // namespace

LogTransfer::LogTransfer(AppState& state, std::function<void()> showChangedLog)
    : m_state(state), m_showChangedLog(std::move(showChangedLog)) {}

void LogTransfer::rememberImport(const logedits::LogChange& imported) {
    history::Change change;
    change.description = kImportTitle;
    change.log = imported;
    // many records at once: a backup is taken before it is undone or made again
    change.acrossLog = true;
    m_state.editor->remember(std::move(change));
}

void LogTransfer::importFile() {
    Dialogs& dialogs = *m_state.dialogs;
    const QString& dir = m_state.workDir;
    // the sample data take no measurement, however it comes
    if (m_state.sampleMode) {
        dialogs.message(messages::sampleDataRefusal(), messages::sampleDataRefusalTitle(), Dialogs::Icon::Warning);
        return;
    }
    const QString path = dialogs.openFileName(QStringLiteral("取り込むファイルを選んでください"),
                                              QStringLiteral("表のファイル (*.csv *.tsv *.txt);;すべてのファイル (*)"));
    if (path.isEmpty())
        return;
    std::optional<WaitCursor> waiting(std::in_place);
    logimport::Source source = logimport::readSource(path);
    const logimport::Outcome first = logimport::preview(dir, source, false);
    waiting.reset();
    if (!source.status) {
        dialogs.message(source.status.message(), kImportTitle,
                        source.fileError ? Dialogs::Icon::Critical : Dialogs::Icon::Warning);
        return;
    }
    if (!first.status) {
        dialogs.message(first.status.message(), kImportTitle,
                        first.fileError ? Dialogs::Icon::Critical : Dialogs::Icon::Warning);
        return;
    }
    // the start record moves only when the user says so; the preview then shows that import
    bool takeBeforeStart = false;
    if (first.plan.beforeStart > 0)
        takeBeforeStart =
            dialogs.message(first.plan.beforeStartQuestion(), kImportTitle, Dialogs::Icon::Question,
                            Dialogs::Buttons::YesNo, Dialogs::DefaultButton::Second) == Dialogs::Answer::Yes;

    const ImportPreviewForm form = previewForm(dir, path, takeBeforeStart, &source);
    const std::optional<QString> situation = dialogs.previewImport(kImportTitle, form);
    if (!situation || !logimport::chooseSituation(&source, *situation))
        return;

    waiting.emplace();
    const logimport::Outcome done = logimport::importInto(dir, source, takeBeforeStart);
    waiting.reset();
    if (!done.status.inPlace()) {
        if (done.fileError)
            showFailure(dialogs, done.status);
        else
            dialogs.message(done.status.message(), kImportTitle, Dialogs::Icon::Warning);
        return;
    }
    if (!done.status.ok())
        showFailure(dialogs, done.status);
    const bool undoable = !done.change.empty() && done.change.steps.size() <= kUndoableRecords;
    if (undoable)
        rememberImport(done.change);
    if (done.written())
        m_showChangedLog();
    dialogs.message(importNotice(done, source, undoable), kImportTitle, Dialogs::Icon::Information);
}

void LogTransfer::exportFile() {
    Dialogs& dialogs = *m_state.dialogs;
    const QString suggested =
        QDir(m_state.workDir)
            .absoluteFilePath(
                QStringLiteral("体重記録_%1.csv").arg(clock::today().toString(QStringLiteral("yyyyMMdd"))));
    const auto target = dialogs.saveFileAs(QStringLiteral("エクスポートするファイル"), suggested, kExportTypes);
    if (!target)
        return;
    const auto encoding = target->type == 1 ? csvexport::Encoding::Cp932 : csvexport::Encoding::Utf8;
    QString path = target->path;
    if (QFileInfo(path).suffix().isEmpty())
        path += QStringLiteral(".csv");
    const logexport::Outcome done = logexport::exportToFile(m_state.workDir, path, encoding);
    if (!done.status.inPlace()) {
        if (done.fileError)
            showFailure(dialogs, done.status);
        else
            dialogs.message(done.status.message(), kExportTitle, Dialogs::Icon::Warning);
        return;
    }
    if (!done.status.ok())
        showFailure(dialogs, done.status);
    QString notice = logexport::doneLine(done, path, encoding) + QStringLiteral("。");
    if (!done.notice.isEmpty())
        notice += QStringLiteral("\r\n\r\n") + done.notice;
    dialogs.message(notice, kExportTitle, Dialogs::Icon::Information);
}

} // namespace puka::ui
