#include "ui/controls/PictureButton.h"

#include <QKeyEvent>

namespace puka::ui {

void PictureButton::keyPressEvent(QKeyEvent* event) {
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    // the keypad's Enter carries the keypad modifier: it is the same key to the user
    if (enter && (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
        animateClick();
        return;
    }
    QToolButton::keyPressEvent(event);
}

} // namespace puka::ui
