#pragma once

#include "BmiMeter.h"
#include "MainView.h"
#include "Settings.h"

#include <QString>

#include <functional>
#include <memory>

class QWidget;

namespace puka::ui {

class Dialogs;
class PageSink;

/// Opens the page a printout goes to; nothing when the user declines.
using PageOpener = std::function<std::unique_ptr<PageSink>(QWidget* parent, const QString& pdfSuggestedName)>;

/// The state the panels of the main window share: the working directory, the profile and
/// settings as read at start-up and changed by the handlers, and what the last main-view
/// pass left for the others.
struct AppState {
    QString workDir;
    Dialogs* dialogs = nullptr;
    /// The printer, or a PDF file when there is none; tests put a recording page here.
    PageOpener openPage;

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
