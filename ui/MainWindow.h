#pragma once

#include "ui/AppState.h"
#include "ui/panels/PanelHost.h"

#include <QMainWindow>
#include <QMap>
#include <QString>

#include <memory>
#include <vector>

class QFrame;
class QGridLayout;
class QToolButton;

namespace puka {
class FolderReadings;
}

namespace puka::ui {

class FolderWatcher;
class Dialogs;
class Printer;
class GraphPanel;
class HelpWindow;
class MainPanel;
class DiaryPanel;
class Panel;
class RecordEditor;
class EditPanel;
class Toolbar;

/// The main window: the toolbar across the top and eight panels, one visible at a time.
class MainWindow : public QMainWindow, public PanelHost {
    Q_OBJECT
public:
    /// A window working on the data files of @p workDir, asking the user through @p dialogs
    /// (the real message boxes when none is given).
    explicit MainWindow(const QString& workDir, Dialogs* dialogs = nullptr, QWidget* parent = nullptr);
    ~MainWindow() override;

    /// The start-up sequence: reads every file, builds the main view, shows the window and,
    /// with the help tour on, ends with the introduction.
    void startup();

    void hidePanels() override;
    void showGuidance() override;
    void buildMainView() override;
    void showMainPanelFor(const QDate& date) override;
    void readSituationList() override;
    void setSituationLists(const QStringList& words) override;
    void appendSituation(const QString& word) override;
    void setCaptionFor(const QString& userName) override;
    void endProgram() override;
    void noteFileWritten(const QString& name) override;
    void refreshPanelOnScreen() override;
    /// Takes in what other programs changed in the data files since the last look: the
    /// settings into the state, the lists, the main view and the panel on screen rebuilt, and
    /// a file that can no longer be read told once. The folder watcher calls it.
    void takeOutsideChanges();
    /// The data files as the window last read them.
    FolderReadings& readings() const { return *m_readings; }
    /// The watcher of the working folder; none before start-up has run.
    FolderWatcher* folderWatcher() const { return m_watcher; }
    /// The panel that is visible now.
    Panel* visiblePanel() const;
    /// Shows the window in front of the others: a later start on the same folder asks for it.
    void bringToFront();
    /// Whether the loaded data are the shipped sample data set.
    void checkForSample();

    const AppState& state() const { return m_state; }
    AppState& state() { return m_state; }
    MainPanel* mainPanel() const { return m_mainPanel; }
    HelpWindow* helpWindow() const { return m_help; }
    RecordEditor* recordEditor() const { return m_editor; }

    /// The introduction the help tour shows at the end of start-up.
    static QString introductionText();

Q_SIGNALS:
    /// Changes other programs made to @p files have been taken in and the panel on screen rebuilt.
    void outsideChangesTaken(const QStringList& files);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    /// Creates the panels in @p place from one table in the toolbar's order, each opened by its button.
    void createPanels(QWidget* place);
    void connectToolbar();
    /// F1 for the help of the panel in view; the undo and redo keys.
    void createShortcuts();
    void openPanel(Panel* panel);
    /// A problem start-up found, told at its end; nothing once the folder cannot be searched.
    void noteStartupProblem(const QString& problem);
    /// Start-up before the main view: profile, caption, situation lists, moving average, time stamp.
    void readStartupFiles();
    /// Start-up after the main view: marker, meter, notes, help tour and steps.
    void loadSettingsAfterMainView();
    /// The sample data open on their sample day, which the user is told.
    void showSampleDay();
    /// Follows the folder from now on, with the problems start-up found taken as told.
    void startWatching(const QString& folderProblem);
    void convertOlderFiles();
    void tellAboutFiles(const QStringList& notices);
    /// Reads the data file @p name again after another program changed it and puts it into
    /// the state and the controls; returns its problem for the user, or an empty string.
    QString takeChangedFile(const QString& name);
    /// The problem of the data file @p name as the window reads it now, or an empty string.
    QString problemOf(const QString& name);
    static QString missingLogNotice();
    /// A folder without any diary: says so kindly and opens the new-start form.
    void welcomeNewUser();
    void onHelpTourClicked();
    void onHelp();
    void onContextHelp();
    void onQuit();
    /// Shows the files again after a correction, a deletion, an undo or a redo: the main view,
    /// the situation lists when @p listChanged, and the panel in view.
    void showChangedFiles(bool listChanged);

    AppState m_state;
    std::unique_ptr<FolderReadings> m_readings;
    FolderWatcher* m_watcher = nullptr;
    /// The problem last told of each data file, so that one that stays is not told again.
    QMap<QString, QString> m_toldProblems;
    bool m_takingChanges = false; ///< a box shown while changes are taken in runs the event loop
    bool m_changesWaiting = false;
    std::unique_ptr<Dialogs> m_ownDialogs;
    std::unique_ptr<Printer> m_ownPrinter;
    Toolbar* m_toolbar = nullptr;
    QGridLayout* m_panelPlace = nullptr;
    /// Every panel, in the toolbar's order.
    std::vector<Panel*> m_panels;
    HelpWindow* m_help = nullptr;
    RecordEditor* m_editor = nullptr;
    QStringList m_startupNotices;
    bool m_folderReadable = true; ///< the working folder could be searched at start-up
    // the panels the window speaks to by their own interface
    MainPanel* m_mainPanel = nullptr;
    GraphPanel* m_graphPanel = nullptr;
    DiaryPanel* m_diaryPanel = nullptr;
    EditPanel* m_editPanel = nullptr;
    QToolButton* m_helpTourButton = nullptr;
};

} // namespace puka::ui
