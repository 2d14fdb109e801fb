#include "ui/RecordEditor.h"

#include "core/base/Messages.h"
#include "core/base/NumberFormat.h"
#include "core/files/DataLog.h"
#include "core/files/FolderReadings.h"
#include "core/files/SituationList.h"
#include "ui/AppState.h"
#include "ui/controls/Dialogs.h"
#include "ui/controls/GridView.h"
#include "ui/controls/RecordListMenu.h"

namespace puka::ui {
namespace {

const QString kDateForm = QStringLiteral("yyyy/MM/dd");

RecordForm formOf(const WeightRecord& r) {
    return {QDate::fromString(r.date, kDateForm), r.situation, shortestText(r.weight), shortestText(r.bodyFat),
            r.comment};
}

logedits::Correction correctionOf(const RecordForm& form) {
    return {form.date.toString(kDateForm), form.situation, form.weightText, form.fatText, form.comment};
}

} // namespace

RecordEditor::RecordEditor(AppState& state, std::function<void(bool)> showFiles, QObject* parent)
    : QObject(parent), m_state(state), m_showFiles(std::move(showFiles)) {}

void RecordEditor::attach(GridView* grid, RecordAt recordAt) {
    RecordListMenu::Actions actions;
    actions.holdsRecord = [recordAt](int row) { return recordAt(row).has_value(); };
    actions.correct = [this, recordAt](int row) {
        if (const auto shown = recordAt(row))
            correct(*shown);
    };
    actions.remove = [this, recordAt](int row) {
        if (const auto shown = recordAt(row))
            remove(*shown);
    };
    actions.undo = [this] { undo(); };
    actions.redo = [this] { redo(); };
    actions.undoDescription = [this] { return m_history.undoDescription(); };
    actions.redoDescription = [this] { return m_history.redoDescription(); };
    new RecordListMenu(grid, std::move(actions));
}

QStringList RecordEditor::situationWords() const {
    return situations::readSituationList(m_state.workDir).words;
}

void RecordEditor::tellIfNotFlushed(const Status& status) {
    if (!status.ok())
        showFailure(*m_state.dialogs, status);
}

void RecordEditor::correct(const logedits::NumberedRecord& shown) {
    Dialogs& dialogs = *m_state.dialogs;
    const QString title = messages::correctRecordTitle();
    const QString prompt =
        QStringLiteral("%1 番目の記録を直します。\r\n直したい項目を書きかえて「保存」を押してください。")
            .arg(shown.number);
    const QStringList words = situationWords();
    RecordForm form = formOf(shown.record);
    // the dialog comes back with what the user entered until the entry passes every check
    while (true) {
        const auto answer = dialogs.editRecord(title, prompt, form, words);
        if (!answer)
            return;
        form = *answer;
        const logedits::Correction correction = correctionOf(form);
        // the window's reading of the log, read again only when the file changed
        const std::shared_ptr<const LogContents> log = m_state.readings->log();
        const std::vector<WeightRecord>& records = log->records;
        const auto reference = logedits::referenceFor(records, shown.number, correction.date);
        const CheckAnswer checked = askChecks(correction, reference);
        if (checked == CheckAnswer::GiveUp)
            return;
        if (checked == CheckAnswer::EnterAgain)
            continue;
        const WeightRecord corrected = logedits::correctedRecord(correction, shown.record);
        Status problem = datalog::recordProblem(corrected);
        if (problem)
            problem = logedits::dateProblem(records, shown.number, corrected.date);
        if (!problem) {
            dialogs.message(problem.message(), QStringLiteral("入力できない内容"), Dialogs::Icon::Warning);
            continue;
        }
        if (corrected == shown.record)
            return;
        logedits::LogChange applied;
        const Status s = logedits::correctRecord(m_state.workDir, shown.number, shown.record, corrected, &applied);
        if (!s.inPlace()) {
            showFailure(dialogs, s);
            // a list that showed a record changed elsewhere shows the log as it is now
            m_showFiles(false);
            return;
        }
        tellIfNotFlushed(s);
        history::Change change;
        change.description = messages::correctRecordTitle();
        change.log = applied;
        m_history.record(std::move(change));
        m_showFiles(false);
        return;
    }
}

RecordEditor::CheckAnswer RecordEditor::askChecks(const logedits::Correction& correction,
                                                  const std::optional<WeightRecord>& reference) {
    Dialogs& dialogs = *m_state.dialogs;
    int from = 0;
    while (const auto check = logedits::firstCheck(correction, m_state.sampleMode, reference, from)) {
        if (!check->confirm) {
            dialogs.message(check->notice.text, check->notice.title, Dialogs::Icon::Warning);
            // the sample data take no change, however it is entered
            return check->step == 0 ? CheckAnswer::GiveUp : CheckAnswer::EnterAgain;
        }
        if (dialogs.message(check->notice.text, check->notice.title, Dialogs::Icon::Warning, Dialogs::Buttons::YesNo,
                            Dialogs::DefaultButton::Second) != Dialogs::Answer::Yes)
            return CheckAnswer::EnterAgain;
        from = check->step + 1;
    }
    return CheckAnswer::Passed;
}

void RecordEditor::remove(const logedits::NumberedRecord& shown) {
    Dialogs& dialogs = *m_state.dialogs;
    if (m_state.sampleMode) {
        dialogs.message(messages::sampleDataRefusal(), messages::sampleDataRefusalTitle(), Dialogs::Icon::Warning);
        return;
    }
    if (shown.number == 1) {
        dialogs.message(logedits::startRecordMessage(), QStringLiteral("削除できません"), Dialogs::Icon::Exclamation);
        return;
    }
    if (dialogs.message(logedits::deleteQuestion(shown.number, shown.record), logedits::deleteTitle(),
                        Dialogs::Icon::Exclamation, Dialogs::Buttons::YesNo,
                        Dialogs::DefaultButton::Second) != Dialogs::Answer::Yes)
        return;
    logedits::LogChange applied;
    const Status s = logedits::deleteRecord(m_state.workDir, shown.number, shown.record, &applied);
    if (!s.inPlace()) {
        showFailure(dialogs, s);
        m_showFiles(false);
        return;
    }
    tellIfNotFlushed(s);
    history::Change change;
    change.description = QStringLiteral("記録の削除");
    change.log = applied;
    m_history.record(std::move(change));
    m_showFiles(false);
}

void RecordEditor::undo() {
    if (!m_history.canUndo())
        return;
    // asked before the change moves to the redo side
    const bool list = m_history.undoTouchesList();
    showTakenBack(list, m_history.undo(m_state.workDir), QStringLiteral("元に戻せません"));
}

void RecordEditor::redo() {
    if (!m_history.canRedo())
        return;
    const bool list = m_history.redoTouchesList();
    showTakenBack(list, m_history.redo(m_state.workDir), QStringLiteral("やり直せません"));
}

void RecordEditor::showTakenBack(bool listChanged, const Status& status, const QString& refusalTitle) {
    if (!status.inPlace()) {
        m_state.dialogs->message(status.message(), refusalTitle, Dialogs::Icon::Warning);
        return;
    }
    tellIfNotFlushed(status);
    m_showFiles(listChanged);
}

void RecordEditor::rememberSaved(const WeightRecord& record) {
    m_history.record(history::savedMeasurement(record));
}

void RecordEditor::remember(history::Change change) {
    m_history.record(std::move(change));
}

Status RecordEditor::run(const QString& description, const std::function<Status()>& edit) {
    history::Change change;
    change.description = description;
    const Status s = history::captureList(m_state.workDir, edit, &change);
    if (s.inPlace())
        m_history.record(std::move(change));
    return s;
}

void RecordEditor::forget() {
    m_history.clear();
}

} // namespace puka::ui
