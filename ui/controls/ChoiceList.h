#pragma once

#include <QListWidget>

namespace puka::ui {

/// A list of words to choose from with the mouse or the keyboard. A click reports
/// itemClicked as in any list; the keyboard chooses as well: moving the current word (the
/// arrow keys, Home, End, the page keys or typing its first letters) chooses it and leaves
/// the focus in the list for the next move, and Enter or Space chooses the current word as a
/// click does.
class ChoiceList : public QListWidget {
    Q_OBJECT
public:
    using QListWidget::QListWidget;

Q_SIGNALS:
    /// The keyboard chose @p item: @p confirmed for Enter or Space, false for a move onto it.
    void chosenByKeyboard(QListWidgetItem* item, bool confirmed);

protected:
    void keyPressEvent(QKeyEvent* event) override;
};

} // namespace puka::ui
