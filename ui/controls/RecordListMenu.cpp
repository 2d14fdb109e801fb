#include "ui/controls/RecordListMenu.h"

#include "ui/controls/GridView.h"

#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMenu>

namespace puka::ui {

RecordListMenu::RecordListMenu(GridView* grid, Actions actions)
    : QObject(grid), m_grid(grid), m_actions(std::move(actions)) {
    setObjectName(QStringLiteral("recordListMenu"));
    grid->installEventFilter(this);
    grid->viewport()->installEventFilter(this);
    // the fixed column lies over the grid's left edge: a right click there means the same row
    if (auto* frozen = grid->findChild<QTableView*>(QStringLiteral("gridFrozenColumn")))
        frozen->viewport()->installEventFilter(this);
}

std::unique_ptr<QMenu> RecordListMenu::menuFor(int gridRow) {
    auto menu = std::make_unique<QMenu>(m_grid);
    const bool onRecord = gridRow >= 1 && m_actions.holdsRecord(gridRow);
    const auto add = [&](const char* name, const QString& text, const QKeySequence& keys, bool enabled,
                         std::function<void()> act) {
        QAction* action = menu->addAction(text);
        action->setObjectName(QString::fromUtf8(name));
        action->setShortcut(keys);
        // the keys are the list's own and the window's; the menu only shows them
        action->setShortcutContext(Qt::WidgetShortcut);
        action->setEnabled(enabled);
        connect(action, &QAction::triggered, this, [act = std::move(act)] { act(); });
    };
    add("actCorrect", QStringLiteral("修正…"), QKeySequence(Qt::Key_F2), onRecord,
        [this, gridRow] { m_actions.correct(gridRow); });
    add("actDelete", QStringLiteral("削除…"), QKeySequence(Qt::Key_Delete), onRecord,
        [this, gridRow] { m_actions.remove(gridRow); });
    menu->addSeparator();
    const QString undo = m_actions.undoDescription();
    const QString redo = m_actions.redoDescription();
    add("actUndo", undo.isEmpty() ? QStringLiteral("元に戻す") : QStringLiteral("元に戻す（%1）").arg(undo),
        QKeySequence(Qt::CTRL | Qt::Key_Z), !undo.isEmpty(), [this] { m_actions.undo(); });
    add("actRedo", redo.isEmpty() ? QStringLiteral("やり直し") : QStringLiteral("やり直し（%1）").arg(redo),
        QKeySequence(Qt::CTRL | Qt::Key_Y), !redo.isEmpty(), [this] { m_actions.redo(); });
    return menu;
}

bool RecordListMenu::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::ContextMenu) {
        auto* view = qobject_cast<QTableView*>(watched->parent());
        if (!view)
            return false;
        const auto* e = static_cast<QContextMenuEvent*>(event);
        const int row = view->rowAt(e->pos().y());
        const int gridRow = row < 0 ? 0 : row + 1;
        if (gridRow >= 1)
            m_grid->setCurrentCell(gridRow, std::max(m_grid->currentColumn(), 1));
        menuFor(gridRow)->exec(e->globalPos());
        return true;
    }
    if (watched == m_grid && event->type() == QEvent::KeyPress) {
        const auto* e = static_cast<QKeyEvent*>(event);
        const int gridRow = m_grid->currentRow();
        if (e->modifiers() & ~Qt::KeypadModifier)
            return false;
        const bool correct = e->key() == Qt::Key_F2 || e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter;
        const bool remove = e->key() == Qt::Key_Delete;
        if ((!correct && !remove) || gridRow < 1 || !m_actions.holdsRecord(gridRow))
            return false;
        if (correct)
            m_actions.correct(gridRow);
        else
            m_actions.remove(gridRow);
        return true;
    }
    return false;
}

} // namespace puka::ui
