#pragma once

#include "core/base/Status.h"
#include "core/edits/ChangeHistory.h"
#include "core/edits/LogEdits.h"

#include <QObject>
#include <QString>

#include <functional>
#include <optional>

namespace puka::ui {

struct AppState;
class GridView;

/// Correcting and deleting measurements from the lists, and the window's undo and redo of its
/// changes to the log and the situation list since it opened.
class RecordEditor : public QObject {
    Q_OBJECT
public:
    /// @p showFiles shows the files again after a change; its argument tells whether the
    /// situation list changed too.
    RecordEditor(AppState& state, std::function<void(bool listChanged)> showFiles, QObject* parent = nullptr);

    /// What a grid row shows: the measurement and its number in the log, or nothing.
    using RecordAt = std::function<std::optional<logedits::NumberedRecord>(int gridRow)>;
    /// Gives @p grid the context menu and the keys that correct, delete, undo and redo.
    void attach(GridView* grid, RecordAt recordAt);

    /// The correction dialog for a record a list shows, checked as the entry checks; saved when
    /// every check passes.
    void correct(const logedits::NumberedRecord& shown);
    /// Deletes a record a list shows after a Yes/No question (No the default).
    void remove(const logedits::NumberedRecord& shown);
    /// Takes the last change back, or makes the last one taken back again; a change that no
    /// longer applies is said and nothing changes.
    void undo();
    void redo();

    /// A measurement the save button saved, to be taken back later.
    void rememberSaved(const WeightRecord& record);
    /// A change another writer of the window made and reported (an import), to be taken back later.
    void remember(history::Change change);
    /// Runs @p edit, a writer of the situation list, and keeps what it changed in the list for
    /// undo under @p description. Returns the writer's status.
    Status run(const QString& description, const std::function<Status()>& edit);
    /// Forgets every change (after the log was replaced by a backup).
    void forget();

    const history::ChangeHistory& changes() const { return m_history; }

private:
    /// What the user made of the entry's checks on a correction.
    enum class CheckAnswer {
        Passed,     ///< every check passed, every question answered Yes
        EnterAgain, ///< a refusal was shown or a question answered No: the form comes back
        GiveUp,     ///< the sample data: no correction is taken
    };

    /// Shows the entry's refusals and questions about @p correction in turn.
    CheckAnswer askChecks(const logedits::Correction& correction, const std::optional<WeightRecord>& reference);
    /// After an undo or redo: the refusal under @p refusalTitle, or the files shown again
    /// (@p listChanged when the situation list was among them).
    void showTakenBack(bool listChanged, const Status& status, const QString& refusalTitle);
    /// The words of the situation list, for the dialog's choice.
    QStringList situationWords() const;
    void tellIfNotFlushed(const Status& status);

    AppState& m_state;
    std::function<void(bool)> m_showFiles;
    history::ChangeHistory m_history;
};

} // namespace puka::ui
