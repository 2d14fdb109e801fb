#pragma once

#include <QObject>
#include <QString>

#include <functional>
#include <memory>

class QMenu;

namespace puka::ui {

class GridView;

/// The context menu and the keys of a list whose rows show measurements: 修正… (F2 or Enter on a
/// row), 削除… (Delete), 元に戻す (Ctrl+Z) and やり直し (Ctrl+Y). A right click chooses the row
/// under the pointer first.
class RecordListMenu : public QObject {
    Q_OBJECT
public:
    /// What the menu's entries do.
    struct Actions {
        std::function<bool(int gridRow)> holdsRecord; ///< whether a grid row shows a measurement
        std::function<void(int gridRow)> correct;
        std::function<void(int gridRow)> remove;
        std::function<void()> undo;
        std::function<void()> redo;
        /// What undo and redo would take back or make again; empty when there is nothing.
        std::function<QString()> undoDescription;
        std::function<QString()> redoDescription;
    };

    /// Gives @p grid the menu and the keys; the helper is a child of the grid.
    RecordListMenu(GridView* grid, Actions actions);

    /// The menu for grid row @p gridRow (0 or less: no row), built afresh; its entries act when
    /// triggered. Shown at the pointer by a right click.
    std::unique_ptr<QMenu> menuFor(int gridRow);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    GridView* m_grid;
    Actions m_actions;
};

} // namespace puka::ui
