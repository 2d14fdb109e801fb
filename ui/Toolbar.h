#pragma once

#include <QWidget>

class QAbstractButton;
class QToolButton;

namespace puka::ui {

/// The row of picture buttons across the top of the main window.
class Toolbar : public QWidget {
    Q_OBJECT
public:
    explicit Toolbar(QWidget* parent = nullptr);

    /// The button of @p objectName ("cmdMain" ... "cmdOwari", "chkHelp").
    QToolButton* button(const QString& objectName) const;
    /// The buttons that open a panel, left to right: those with an Alt key of their own.
    QList<QToolButton*> panelButtons() const { return m_panelButtons; }

private:
    QToolButton* addButton(const QString& name, const QString& caption, const QString& tooltip);

    QList<QToolButton*> m_panelButtons;
};

} // namespace puka::ui
