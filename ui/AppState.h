#pragma once

#include "core/files/Settings.h"
#include "core/views/BmiMeter.h"
#include "core/views/MainView.h"

#include <QString>

namespace puka {
class FolderReadings;
}

namespace puka::ui {

class Dialogs;
class Printer;
class RecordEditor;

/// The state the panels of the main window share: the working directory, the profile and
/// settings as read at start-up and changed by the handlers, and what the last main-view
/// pass left for the others.
struct AppState {
    QString workDir;
    /// The data files as the window last read them: every panel takes its log from here.
    FolderReadings* readings = nullptr;
    Dialogs* dialogs = nullptr;
    /// The printouts' preview and device; tests put a scripted printer here.
    Printer* printer = nullptr;
    /// Corrections, deletions and the undo of the window's changes.
    RecordEditor* editor = nullptr;

    Profile profile;
    Steps steps;
    int helpTour = settings::kDefaultHelpTour;
    int timeStamp = settings::kDefaultTimeStamp;
    int markerMode = settings::kDefaultMarker;
    QString movingAverage = settings::kDefaultWindow;
    QString notesText;

    bool startupGuard = false; ///< while set, handlers of controls set by the program do nothing
    bool sampleMode = false;   ///< the shipped sample data are loaded: saving is refused
    QString guidanceText;      ///< what the help tour says for the panel that opened last

    MainValues main; ///< what the last main-view pass computed
    BmiMeter meter;
};

} // namespace puka::ui
