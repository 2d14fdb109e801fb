#include "ui/MainWindow.h"

#include "core/base/Clock.h"
#include "core/edits/MeasurementEntry.h"
#include "core/files/FileNames.h"
#include "core/files/FileOps.h"
#include "core/files/FolderReadings.h"
#include "core/files/LegacyConversion.h"
#include "core/files/SituationList.h"
#include "ui/FolderWatcher.h"
#include "ui/HelpWindow.h"
#include "ui/RecordEditor.h"
#include "ui/Toolbar.h"
#include "ui/controls/QtDialogs.h"
#include "ui/controls/QtPrinter.h"
#include "ui/panels/AnalysisPanel.h"
#include "ui/panels/CalendarPanel.h"
#include "ui/panels/DailyPanel.h"
#include "ui/panels/DiaryPanel.h"
#include "ui/panels/EditPanel.h"
#include "ui/panels/GraphPanel.h"
#include "ui/panels/MainPanel.h"
#include "ui/panels/RangePanel.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFrame>
#include <QGridLayout>
#include <QIcon>
#include <QLabel>
#include <QShortcut>
#include <QSignalBlocker>
#include <QToolButton>
#include <QVBoxLayout>

#include <functional>
#include <iterator>

// The pictures are compiled into this static library and must be registered by hand.
static void registerPictures() {
    Q_INIT_RESOURCE(pictures);
}

namespace puka::ui {
namespace {

const QString kSampleDay = QStringLiteral("2003/11/08");

} // namespace

MainWindow::MainWindow(const QString& workDir, Dialogs* dialogs, QWidget* parent) : QMainWindow(parent) {
    registerPictures();
    setObjectName(QStringLiteral("frmMain"));
    setWindowIcon(QIcon(QStringLiteral(":/pictures/app/pukapuka.svg")));
    m_state.workDir = workDir;
    m_readings = std::make_unique<FolderReadings>(workDir);
    m_state.readings = m_readings.get();
    if (!dialogs) {
        m_ownDialogs = std::make_unique<QtDialogs>(this);
        dialogs = m_ownDialogs.get();
    }
    m_state.dialogs = dialogs;
    m_ownPrinter = std::make_unique<QtPrinter>(*dialogs);
    m_state.printer = m_ownPrinter.get();
    m_editor = new RecordEditor(
        m_state, [this](bool listChanged) { showChangedFiles(listChanged); }, this);
    m_state.editor = m_editor;
    setWindowTitle(settings::windowCaption(QString()));

    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    m_toolbar = new Toolbar(central);
    layout->addWidget(m_toolbar);
    auto* rule = new QFrame(central);
    rule->setFrameShape(QFrame::HLine);
    rule->setFrameShadow(QFrame::Sunken);
    layout->addWidget(rule);

    // All panels share one place; exactly one of them is visible.
    auto* stack = new QWidget(central);
    m_panelPlace = new QGridLayout(stack);
    m_panelPlace->setContentsMargins(8, 8, 8, 8);
    layout->addWidget(stack, 1);
    setCentralWidget(central);

    createPanels(stack);
    connectToolbar();
    m_help = new HelpWindow(this);
    createShortcuts();
    hidePanels();
    m_mainPanel->setVisible(true);
    resize(1100, 780);
    setMinimumSize(1024, 700);
}

void MainWindow::createPanels(QWidget* place) {
    AppState& s = m_state;
    AnalysisPanel* analysis = nullptr;
    // the panel of each panel button, in the toolbar's order
    const std::pair<const char*, std::function<Panel*()>> table[] = {
        {"cmdMain", [&] { return m_mainPanel = new MainPanel(s, *this, place); }},
        {"cmdRentai", [&] { return m_graphPanel = new GraphPanel(s, *this, place); }},
        {"cmdAvgtai", [&] { return new DailyPanel(s, *this, place); }},
        {"cmdTaijyu", [&] { return new RangePanel(s, *this, place); }},
        {"cmdBunseki", [&] { return analysis = new AnalysisPanel(s, *this, place); }},
        {"cmdCale", [&] { return new CalendarPanel(s, *this, place); }},
        {"cmdMemo", [&] { return m_diaryPanel = new DiaryPanel(s, *this, place); }},
        {"cmdSettei", [&] { return m_editPanel = new EditPanel(s, *this, place); }},
    };
    const QList<QToolButton*> buttons = m_toolbar->panelButtons();
    Q_ASSERT(buttons.size() == static_cast<qsizetype>(std::size(table)));
    for (size_t i = 0; i < std::size(table); ++i) {
        Panel* panel = table[i].second();
        QToolButton* button = buttons.at(static_cast<qsizetype>(i));
        Q_ASSERT(button->objectName() == QLatin1String(table[i].first));
        m_panels.push_back(panel);
        m_panelPlace->addWidget(panel, 0, 0);
        connect(button, &QToolButton::clicked, this, [this, panel] { openPanel(panel); });
    }
    analysis->setGraphPanel(m_graphPanel);
    connect(m_mainPanel, &MainPanel::situationAdded, this, &MainWindow::appendSituation);
    connect(m_mainPanel, &MainPanel::meterChanged, m_editPanel, &EditPanel::followJudgement);
}

void MainWindow::connectToolbar() {
    connect(m_toolbar->button(QStringLiteral("cmdOwari")), &QToolButton::clicked, this, &MainWindow::onQuit);
    connect(m_toolbar->button(QStringLiteral("cmdHelp")), &QToolButton::clicked, this, &MainWindow::onHelp);
    m_helpTourButton = m_toolbar->button(QStringLiteral("chkHelp"));
    connect(m_helpTourButton, &QToolButton::clicked, this, &MainWindow::onHelpTourClicked);
}

void MainWindow::createShortcuts() {
    // F1 opens the help at the page of the panel in view
    auto* contextHelp = new QShortcut(QKeySequence(Qt::Key_F1), this);
    contextHelp->setObjectName(QStringLiteral("contextHelp"));
    connect(contextHelp, &QShortcut::activated, this, &MainWindow::onContextHelp);
    // the window's changes are undone and redone from anywhere in it; a text field keeps these
    // keys for its own text
    const std::pair<const char*, QKeySequence> undoKeys[] = {
        {"undoShortcut", QKeySequence(Qt::CTRL | Qt::Key_Z)},
        {"redoShortcut", QKeySequence(Qt::CTRL | Qt::Key_Y)},
        {"redoShortcut2", QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)}};
    for (const auto& [name, keys] : undoKeys) {
        auto* shortcut = new QShortcut(keys, this);
        shortcut->setObjectName(QString::fromUtf8(name));
        const bool undo = QByteArray(name).startsWith("undo");
        connect(shortcut, &QShortcut::activated, this, [this, undo] { undo ? m_editor->undo() : m_editor->redo(); });
    }
}

MainWindow::~MainWindow() = default;

void MainWindow::startup() {
    AppState& s = m_state;
    m_startupNotices.clear();
    // A folder that cannot be searched is said once; every file in it then fails alike, and
    // nothing in it is taken for missing: no welcome, no conversion, nothing written.
    const Status folderProblem = folderReadProblem(s.workDir);
    m_folderReadable = folderProblem.ok();
    if (!m_folderReadable)
        m_startupNotices.append(folderProblem.message());

    showNormal();
    s.startupGuard = true;
    hidePanels();
    m_mainPanel->selectDate(clock::today());
    m_editPanel->clearWeightLabel();
    readStartupFiles();
    if (m_folderReadable)
        convertOlderFiles();

    m_mainPanel->buildMainView();
    const LogContents& log = m_mainPanel->lastLog();
    // an empty folder is a first start, not a fault: it is welcomed at the end of start-up
    const bool noDiaryYet = log.status.ok() && !log.exists && !legacy::needsLegacyLog(s.workDir);
    if (!log.status.ok())
        noteStartupProblem(log.status.message());
    else if (!log.exists && !noDiaryYet)
        noteStartupProblem(missingLogNotice());
    noteStartupProblem(log.skippedNotice());
    loadSettingsAfterMainView();

    show();
    QApplication::processEvents();
    m_mainPanel->setVisible(true);
    {
        const QSignalBlocker block(m_helpTourButton);
        m_helpTourButton->setChecked(s.helpTour != 0);
    }
    m_mainPanel->setStepButtonsEnabled(false);
    tellAboutFiles(m_startupNotices);

    checkForSample();
    if (s.sampleMode)
        showSampleDay();
    m_mainPanel->selectMixedMode();
    // the keys start where a measurement does, not on the toolbar's first button
    m_mainPanel->focusEntry();
    QApplication::processEvents();
    s.startupGuard = false;
    startWatching(folderProblem.message());

    s.guidanceText = introductionText();
    showGuidance();

    if (noDiaryYet)
        welcomeNewUser();
}

void MainWindow::noteStartupProblem(const QString& problem) {
    if (!problem.isEmpty() && m_folderReadable)
        m_startupNotices.append(problem);
}

void MainWindow::readStartupFiles() {
    AppState& s = m_state;
    FolderReadings& readings = *m_readings;
    const auto profile = readings.read(files::kProfile, &settings::readProfile);
    noteStartupProblem(profile->problem);
    s.profile = profile->value;
    setWindowTitle(settings::windowCaption(s.profile.userName));

    readSituationList();

    const auto window = readings.read(files::kMovingAverage, &settings::readMovingAverage);
    noteStartupProblem(window->problem);
    s.movingAverage = window->value;
    const auto timeStamp = readings.read(files::kTimeStamp, &settings::readTimeStamp);
    noteStartupProblem(timeStamp->problem);
    s.timeStamp = timeStamp->value;
    m_editPanel->setTimeStamp(s.timeStamp);
    // ticking the box writes its file, at start-up as on a click
    const Status rewritten = settings::rewriteTimeStampInWrittenForm(s.workDir, *timeStamp);
    noteFileWritten(files::kTimeStamp);
    if (!rewritten)
        noteStartupProblem(rewritten.message());
}

void MainWindow::loadSettingsAfterMainView() {
    AppState& s = m_state;
    FolderReadings& readings = *m_readings;
    const auto marker = readings.read(files::kMarker, &settings::readMarker);
    noteStartupProblem(marker->problem);
    s.markerMode = marker->value;
    m_mainPanel->applyMarkerStyle();

    m_mainPanel->judgeBmi();
    m_editPanel->setMeterBase();
    m_editPanel->updateMeter();

    const auto notes = readings.read(files::kNotes, &settings::readNotes);
    noteStartupProblem(notes->problem);
    s.notesText = notes->value;
    m_diaryPanel->setNotes(s.notesText);
    const auto tour = readings.read(files::kHelpTour, &settings::readHelpTour);
    noteStartupProblem(tour->problem);
    s.helpTour = tour->value;
    const auto steps = readings.read(files::kSteps, &settings::readSteps);
    noteStartupProblem(steps->problem);
    s.steps = steps->value;
    m_editPanel->showSteps(s.steps);
}

void MainWindow::showSampleDay() {
    m_mainPanel->selectDate(QDate::fromString(kSampleDay, QStringLiteral("yyyy/MM/dd")));
    m_mainPanel->buildMainView();
    m_mainPanel->judgeBmi();
    m_editPanel->setMeterBase();
    m_editPanel->updateMeter();
    m_state.dialogs->message(QStringLiteral("サンプルとして2003年11月08日のデータを表示させています。"),
                             QStringLiteral("サンプル表示"), Dialogs::Icon::Information);
}

void MainWindow::startWatching(const QString& folderProblem) {
    // from here on the window follows what other programs change in the folder; a problem
    // start-up found is not told again
    for (const QString& name : FolderReadings::dataFiles())
        m_toldProblems[name] = m_folderReadable ? problemOf(name) : folderProblem;
    if (!m_folderReadable)
        m_toldProblems[QStringLiteral(".")] = folderProblem;
    if (!m_watcher) {
        m_watcher = new FolderWatcher(m_state.workDir, FolderReadings::dataFiles(), this);
        connect(m_watcher, &FolderWatcher::changed, this, &MainWindow::takeOutsideChanges);
    }
}

void MainWindow::welcomeNewUser() {
    const char* const lines[] = {
        "Pukapuka☆ダイエットへようこそ！",
        "",
        "このフォルダにはまだ体重の記録がありません。",
        "これから編集画面の「新規スタート登録枠」を開きます。",
        "名前、身長、目標体重、今の体重と体脂肪率を入力して「新規登録」を押すと、記録が始まります。",
        "登録が終わるとプログラムは一旦終了します。次に起動したときから毎日の記録をつけられます。",
    };
    QStringList text;
    for (const char* line : lines)
        text.append(QString::fromUtf8(line));
    m_state.dialogs->message(text.join(QStringLiteral("\r\n")), QStringLiteral("ようこそ"), Dialogs::Icon::Information);
    m_editPanel->openForNewStart();
}

void MainWindow::readSituationList() {
    const auto list = m_readings->read(files::kSituations, &situations::readSituationList);
    if (!list->problem.isEmpty() && m_folderReadable)
        m_startupNotices.append(list->problem);
    setSituationLists(list->words);
}

void MainWindow::setSituationLists(const QStringList& words) {
    for (Panel* panel : m_panels)
        panel->setSituations(words);
}

void MainWindow::appendSituation(const QString& word) {
    for (Panel* panel : m_panels)
        panel->appendSituation(word);
}

void MainWindow::buildMainView() {
    m_mainPanel->buildMainView();
}

void MainWindow::showMainPanelFor(const QDate& date) {
    m_mainPanel->selectDate(date);
    m_mainPanel->buildMainView();
    hidePanels();
    m_mainPanel->setVisible(true);
}

void MainWindow::showChangedFiles(bool listChanged) {
    noteFileWritten(files::kData);
    if (listChanged) {
        noteFileWritten(files::kSituations);
        readSituationList();
    }
    m_mainPanel->buildMainView();
    Panel* shown = visiblePanel();
    if (shown && shown != m_mainPanel)
        shown->refresh();
}

void MainWindow::setCaptionFor(const QString& userName) {
    setWindowTitle(settings::windowCaption(userName));
}

void MainWindow::noteFileWritten(const QString& name) {
    m_readings->noteWritten(name);
}

void MainWindow::refreshPanelOnScreen() {
    if (Panel* panel = visiblePanel())
        panel->refresh();
}

QString MainWindow::missingLogNotice() {
    return QStringLiteral("「%1」が見つかりません。\r\n編集画面の「新規スタート」から記録を始めてください。")
        .arg(files::kData);
}

QString MainWindow::problemOf(const QString& name) {
    FolderReadings& readings = *m_readings;
    if (name == files::kData) {
        const std::shared_ptr<const LogContents> log = readings.log();
        if (!log->status.ok())
            return log->status.message();
        return log->exists ? log->skippedNotice() : missingLogNotice();
    }
    if (name == files::kSituations)
        return readings.read(name, &situations::readSituationList)->problem;
    if (name == files::kProfile)
        return readings.read(name, &settings::readProfile)->problem;
    if (name == files::kMovingAverage)
        return readings.read(name, &settings::readMovingAverage)->problem;
    if (name == files::kTimeStamp)
        return readings.read(name, &settings::readTimeStamp)->problem;
    if (name == files::kMarker)
        return readings.read(name, &settings::readMarker)->problem;
    if (name == files::kNotes)
        return readings.read(name, &settings::readNotes)->problem;
    if (name == files::kHelpTour)
        return readings.read(name, &settings::readHelpTour)->problem;
    if (name == files::kSteps)
        return readings.read(name, &settings::readSteps)->problem;
    return QString();
}

QString MainWindow::takeChangedFile(const QString& name) {
    AppState& s = m_state;
    FolderReadings& readings = *m_readings;
    if (name == files::kProfile) {
        s.profile = readings.read(name, &settings::readProfile)->value;
        setWindowTitle(settings::windowCaption(s.profile.userName));
    } else if (name == files::kSituations) {
        setSituationLists(readings.read(name, &situations::readSituationList)->words);
    } else if (name == files::kMovingAverage) {
        s.movingAverage = readings.read(name, &settings::readMovingAverage)->value;
    } else if (name == files::kTimeStamp) {
        s.timeStamp = readings.read(name, &settings::readTimeStamp)->value;
        m_editPanel->setTimeStamp(s.timeStamp);
    } else if (name == files::kMarker) {
        s.markerMode = readings.read(name, &settings::readMarker)->value;
        m_mainPanel->applyMarkerStyle();
    } else if (name == files::kHelpTour) {
        s.helpTour = readings.read(name, &settings::readHelpTour)->value;
        const QSignalBlocker block(m_helpTourButton);
        m_helpTourButton->setChecked(s.helpTour != 0);
    } else if (name == files::kSteps) {
        s.steps = readings.read(name, &settings::readSteps)->value;
        // showing the steps chooses options, which must not write the file back
        const bool guard = s.startupGuard;
        s.startupGuard = true;
        m_editPanel->showSteps(s.steps);
        s.startupGuard = guard;
    } else if (name == files::kNotes) {
        const QString text = readings.read(name, &settings::readNotes)->value;
        // a memo being typed is the user's: it stays, and its save will write it
        if (m_diaryPanel->notes() == s.notesText)
            m_diaryPanel->setNotes(text);
        s.notesText = text;
    }
    return problemOf(name);
}

void MainWindow::takeOutsideChanges() {
    // a box shown below runs the event loop, where the watcher may call again: that call is
    // taken in after this one
    if (m_takingChanges) {
        m_changesWaiting = true;
        return;
    }
    m_takingChanges = true;
    do {
        m_changesWaiting = false;
        const QStringList changed = m_readings->outsideChanges();
        if (changed.isEmpty())
            continue;
        QStringList notices;
        const Status folderProblem = folderReadProblem(m_state.workDir);
        if (!folderProblem) {
            // a folder that cannot be searched is said once, not once for each of its files
            if (m_toldProblems.value(QStringLiteral(".")) != folderProblem.message())
                notices.append(folderProblem.message());
            m_toldProblems[QStringLiteral(".")] = folderProblem.message();
        } else {
            m_toldProblems.remove(QStringLiteral("."));
        }
        for (const QString& name : changed) {
            const QString problem = takeChangedFile(name);
            if (folderProblem && !problem.isEmpty() && problem != m_toldProblems.value(name))
                notices.append(problem);
            m_toldProblems[name] = problem;
        }
        // the main view holds the values the other panels start from: it follows every change
        m_mainPanel->refresh();
        m_state.sampleMode = entry::isSampleData(m_state.main.startDate, m_state.profile);
        Panel* shown = visiblePanel();
        if (shown && shown != m_mainPanel)
            shown->refresh();
        if (!notices.isEmpty())
            tellAboutFiles(notices);
        Q_EMIT outsideChangesTaken(changed);
    } while (m_changesWaiting);
    m_takingChanges = false;
}

void MainWindow::endProgram() {
    m_help->close();
    close();
    QApplication::quit();
}

Panel* MainWindow::visiblePanel() const {
    for (Panel* panel : m_panels)
        if (panel->isVisible())
            return panel;
    return nullptr;
}

void MainWindow::bringToFront() {
    setWindowState((windowState() & ~Qt::WindowMinimized) | Qt::WindowActive);
    show();
    raise();
    activateWindow();
}

void MainWindow::convertOlderFiles() {
    Dialogs& dialogs = *m_state.dialogs;
    auto report = [&](const Status& status) {
        if (!status)
            showFailure(dialogs, status);
    };
    if (legacy::needsLegacyLog(m_state.workDir)) {
        const QString answer = dialogs.input(legacy::promptLegacyLog(), legacy::title());
        if (!answer.isEmpty()) {
            report(legacy::convertLegacyLog(m_state.workDir, answer));
            noteFileWritten(files::kData);
        }
    }
    if (legacy::needsData(m_state.workDir)) {
        const QString answer = dialogs.input(legacy::promptData(), legacy::title());
        if (!answer.isEmpty()) {
            report(legacy::convertData(m_state.workDir, answer));
            noteFileWritten(files::kData);
        }
    }
}

void MainWindow::tellAboutFiles(const QStringList& notices) {
    // a damaged file never stops the program: it says what it found and goes on
    if (notices.isEmpty())
        return;
    m_state.dialogs->message(notices.join(QStringLiteral("\r\n\r\n")), QStringLiteral("データファイルの確認"),
                             Dialogs::Icon::Information);
}

void MainWindow::checkForSample() {
    m_state.sampleMode = entry::isSampleData(m_state.main.startDate, m_state.profile);
}

void MainWindow::hidePanels() {
    for (Panel* panel : m_panels)
        panel->setVisible(false);
}

void MainWindow::openPanel(Panel* panel) {
    // a panel's button does nothing while its panel is visible
    if (panel->isVisible())
        return;
    panel->open();
}

void MainWindow::showGuidance() {
    if (m_state.helpTour != 0)
        m_state.dialogs->message(m_state.guidanceText, QStringLiteral("ヘルプツアー"), Dialogs::Icon::Information);
}

void MainWindow::onHelpTourClicked() {
    if (m_state.startupGuard)
        return;
    if (m_helpTourButton->isChecked()) {
        m_state.dialogs->message(QStringLiteral("ヘルプツアー機能をオンにします。"), QStringLiteral("ヘルプツアーＯＮ"),
                                 Dialogs::Icon::Information);
        m_state.helpTour = 1;
    } else {
        m_state.dialogs->message(QStringLiteral("ヘルプツアー機能をオフにします。"),
                                 QStringLiteral("ヘルプツアーＯＦＦ"), Dialogs::Icon::Information);
        m_state.helpTour = 0;
    }
    const Status s = settings::writeHelpTour(m_state.workDir, m_state.helpTour);
    noteFileWritten(files::kHelpTour);
    if (!s)
        showFailure(*m_state.dialogs, s);
}

void MainWindow::onHelp() {
    m_help->showTopic();
}

void MainWindow::onContextHelp() {
    const Panel* panel = visiblePanel();
    if (!panel || !m_help->showTopic(panel->helpPage()))
        m_help->showTopic();
}

void MainWindow::onQuit() {
    close();
}

void MainWindow::closeEvent(QCloseEvent* event) {
    // every change was written when it was made: nothing to ask, nothing to save
    m_help->close();
    QMainWindow::closeEvent(event);
}

QString MainWindow::introductionText() {
    const char* const lines[] = {
        "Pukapuka☆ダイエットに興味をもっていただきありがとうございます。(^o^)／",
        "",
        "このソフトは「体重計乗るだけダイエット」を楽しくサポートするダイエット支援ソフトです。",
        "体重と体脂肪率、状況を入力するだけの超簡単入力！",
        "多彩な表示内容でダイエット意識の継続を促します。 ",
        "",
        "<入力方法>",
        "①「状況選択」リストから体重測定時の状況を選択します。",
        "",
        "②前回の体重と体脂肪率が表示されますので↑↓ボタンで今回の体重と体脂肪率を指定します。",
        "表示欄に直接入力することもできます。",
        "",
        "③あとはフロッピーアイコン（保存ボタン）をクリックするだけ。",
        "",
        "リストとグラフに結果が表示されます。",
        "",
        "左上のフェイスマークはその日での体重変動に連動しています。",
        "減っていれば「笑い」、変動なければ「ニコ」、増えたら「ムスッ」です。",
        "",
        "一日の終わりを「笑い」か「ニコ」で締めくくろう！",
    };
    QString text;
    for (const char* line : lines)
        text += QString::fromUtf8(line) + QStringLiteral("\r\n");
    return text;
}

} // namespace puka::ui
