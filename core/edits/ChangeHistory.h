#pragma once

#include "core/base/Status.h"
#include "core/edits/LogEdits.h"
#include "core/edits/SituationEditing.h"

#include <QByteArray>
#include <QString>

#include <functional>
#include <optional>
#include <vector>

namespace puka {

/// The window's changes to the log and the situation list, kept so that they can be taken back
/// (元に戻す) and made again (やり直し). Taking a change back applies its inverse to the files
/// as they are now, under the folder's write lock; an old copy is never written back over what
/// other windows and programs wrote since.
namespace history {

/// A change of the situation list file: its bytes before and after (a missing file counts as
/// empty). The list is small and edited by hand at most, so a change is taken back only while
/// the file still holds exactly what the change wrote.
struct ListChange {
    QByteArray before;
    QByteArray after;
};

/// One change the window made.
struct Change {
    QString description;            ///< what it was, for the menu: 「修正」, 「状況の追加」, …
    logedits::LogChange log;        ///< the records it took out, put in or replaced
    std::optional<ListChange> list; ///< the situation list, when it changed
    bool acrossLog = false;         ///< a rename across the whole log: backed up before each undo and redo

    bool empty() const { return log.empty() && !list; }
};

/// A saved measurement as a change: the record put in by its date.
Change savedMeasurement(const WeightRecord& record);

/**
 * Runs @p edit (a writer of the situation list that takes the folder's write lock itself)
 * inside one hold of that lock, and gives in @p change what it changed in the list, found by
 * comparing the file before and after. @p change is filled whenever the edit put its change
 * in place (Status::inPlace()).
 */
Status captureList(const QString& dir, const std::function<Status()>& edit, Change* change);

/// A rename across the log as a change, from what editing::renameWord() reports.
Change renamed(const QString& description, const editing::RenameResult& result);

/// The window's changes in order, with the ones taken back for making again.
class ChangeHistory {
public:
    /// A change the window has just made: the changes taken back can no longer be made again.
    void record(Change change);
    bool canUndo() const { return !m_done.empty(); }
    bool canRedo() const { return !m_undone.empty(); }
    /// The description of the change undo() / redo() would take back or make again.
    QString undoDescription() const;
    QString redoDescription() const;
    /// Whether the change undo() / redo() would take back or make again touches the situation list.
    bool undoTouchesList() const { return !m_done.empty() && m_done.back().list.has_value(); }
    bool redoTouchesList() const { return !m_undone.empty() && m_undone.back().list.has_value(); }
    /**
     * Takes the last change back in the files of @p dir. When the files no longer hold what
     * the change left (another window or program changed the same record or list since),
     * nothing is written, the history stays as it is and the failure says why.
     */
    Status undo(const QString& dir);
    /// Makes the last change taken back again, on the same terms.
    Status redo(const QString& dir);
    /// Forgets every change (after the log was replaced whole).
    void clear();

private:
    std::vector<Change> m_done;
    std::vector<Change> m_undone;
};

} // namespace history
} // namespace puka
