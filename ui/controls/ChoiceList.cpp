#include "ui/controls/ChoiceList.h"

#include <QKeyEvent>

namespace puka::ui {

void ChoiceList::keyPressEvent(QKeyEvent* event) {
    const int key = event->key();
    const bool confirm = key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Space;
    if (confirm && (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier && currentItem()) {
        QListWidgetItem* item = currentItem();
        // the focus alone may rest on a word that is not selected yet
        item->setSelected(true);
        event->accept();
        Q_EMIT chosenByKeyboard(item, true);
        return;
    }
    QListWidgetItem* before = currentItem();
    QListWidget::keyPressEvent(event);
    QListWidgetItem* after = currentItem();
    if (after && after != before && after->isSelected())
        Q_EMIT chosenByKeyboard(after, false);
}

} // namespace puka::ui
