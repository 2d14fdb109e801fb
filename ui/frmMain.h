#pragma once

#include "AppState.h"

#include <QMainWindow>
#include <QString>

#include <memory>

class QFrame;
class QGridLayout;
class QToolButton;

namespace puka::ui {

class Dialogs;
class HelpWindow;
class MainPanel;
class SetteiPanel;
class Toolbar;

/// The main window: the toolbar across the top and eight panels, one visible at a time.
class frmMain : public QMainWindow {
    Q_OBJECT
public:
    /// A window working on the data files of @p workDir, asking the user through @p dialogs
    /// (the real message boxes when none is given).
    explicit frmMain(const QString& workDir, Dialogs* dialogs = nullptr, QWidget* parent = nullptr);
    ~frmMain() override;

    /// The start-up sequence: reads every file, builds the main view, shows the window and,
    /// with the help tour on, ends with the introduction.
    void startup();

    /// Makes every panel invisible.
    void HIDE_PANELS();
    /// DSP_HELP: shows the guidance text when the help tour is on.
    void DSP_HELP();
    /// CHECK_SAMPLE: whether the loaded data are the shipped sample data set.
    void CHECK_SAMPLE();

    const AppState& state() const { return m_state; }
    MainPanel* mainPanel() const { return fraMain; }
    HelpWindow* helpWindow() const { return m_help; }

    /// The introduction the help tour shows at the end of start-up.
    static QString introductionText();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    QFrame* makePlaceholder(const char* name, const QString& title);
    void showPanel(QFrame* panel);
    void READ_JYOUKYOU();
    void convertOlderFiles();
    void tellAboutFiles(const QStringList& notices);
    void onHelpTourClicked();
    void onHelp();
    void onQuit();

    AppState m_state;
    std::unique_ptr<Dialogs> m_ownDialogs;
    Toolbar* m_toolbar = nullptr;
    QGridLayout* m_panels = nullptr;
    HelpWindow* m_help = nullptr;
    QStringList m_startupNotices;
    MainPanel* fraMain = nullptr;
    QFrame* fraTaijyu = nullptr;
    QFrame* fraBunseki = nullptr;
    QFrame* fraRenTai = nullptr;
    QFrame* fraAvgTai = nullptr;
    QFrame* fraCale = nullptr;
    QFrame* fraMemo = nullptr;
    SetteiPanel* fraSettei = nullptr;
    QToolButton* chkHelp = nullptr;
};

} // namespace puka::ui
