#pragma once

#include <QToolButton>

namespace puka::ui {

/// A picture button that Enter and Return press as well as Space, as a keyboard user expects
/// of every button in the window.
class PictureButton : public QToolButton {
    Q_OBJECT
public:
    using QToolButton::QToolButton;

protected:
    void keyPressEvent(QKeyEvent* event) override;
};

} // namespace puka::ui
