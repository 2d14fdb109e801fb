#pragma once

#include <QDate>
#include <QString>
#include <QStringList>

namespace puka::ui {

/// What a panel asks of the main window that holds it.
class PanelHost {
public:
    virtual ~PanelHost() = default;
    /// Makes every panel invisible.
    virtual void hidePanels() = 0;
    /// Shows the guidance text of the state when the help tour is on.
    virtual void showGuidance() = 0;
    /// Rebuilds the main panel for the date selected in its calendar.
    virtual void buildMainView() = 0;
    /// Selects @p date on the main panel, rebuilds it and shows the main panel.
    virtual void showMainPanelFor(const QDate& date) = 0;
    /// Reads the situation list file again into every situation list of the window.
    virtual void readSituationList() = 0;
    /// Puts @p words into every situation list of the window.
    virtual void setSituationLists(const QStringList& words) = 0;
    /// Appends @p word to every situation list of the window.
    virtual void appendSituation(const QString& word) = 0;
    /// Sets the window caption for a user name.
    virtual void setCaptionFor(const QString& userName) = 0;
    /// Ends the program at once (after a new start).
    virtual void endProgram() = 0;
    /// Tells the window that a handler has just written the data file @p name (a name of
    /// files::): its kept reading is read again when next asked for, and the folder watcher
    /// does not take the change for another program's. Call it after every write of a data
    /// file, whether or not the write succeeded.
    virtual void noteFileWritten(const QString& name) = 0;
    /// Rebuilds the panel on screen from the files as they are now, keeping the user's choices
    /// where they still exist.
    virtual void refreshPanelOnScreen() = 0;
};

} // namespace puka::ui
