#pragma once

#include <QMainWindow>
#include <QString>

#include <array>

class QFrame;

namespace puka::ui {

class Toolbar;

/// The main window: the toolbar across the top and eight panels, one visible at a time.
class frmMain : public QMainWindow {
    Q_OBJECT
public:
    /// A window working on the data files of @p workDir.
    explicit frmMain(const QString& workDir, QWidget* parent = nullptr);

    const QString& workDir() const { return m_workDir; }

    /// Makes every panel invisible.
    void HIDE_PANELS();

private:
    QFrame* makePanel(const char* name, const QString& title);
    void showPanel(QFrame* panel);

    QString m_workDir;
    Toolbar* m_toolbar = nullptr;
    QFrame* fraMain = nullptr;
    QFrame* fraTaijyu = nullptr;
    QFrame* fraBunseki = nullptr;
    QFrame* fraRenTai = nullptr;
    QFrame* fraAvgTai = nullptr;
    QFrame* fraCale = nullptr;
    QFrame* fraMemo = nullptr;
    QFrame* fraSettei = nullptr;
};

} // namespace puka::ui
