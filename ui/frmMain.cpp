#include "frmMain.h"

#include "Clock.h"
#include "FileNames.h"
#include "FileOps.h"
#include "FolderReadings.h"
#include "FolderWatcher.h"
#include "HelpWindow.h"
#include "LegacyConversion.h"
#include "MeasurementEntry.h"
#include "RecordEditor.h"
#include "SituationList.h"
#include "Toolbar.h"
#include "controls/QtDialogs.h"
#include "controls/QtPrinter.h"
#include "panels/AnalysisPanel.h"
#include "panels/CalendarPanel.h"
#include "panels/DailyPanel.h"
#include "panels/GraphPanel.h"
#include "panels/MainPanel.h"
#include "panels/MemoPanel.h"
#include "panels/RangePanel.h"
#include "panels/SetteiPanel.h"

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

// The pictures are compiled into this static library and must be registered by hand.
static void initPictures() {
    Q_INIT_RESOURCE(pictures);
}

namespace puka::ui {
namespace {

const QString kSampleDay = QStringLiteral("2003/11/08");

} // namespace

frmMain::frmMain(const QString& workDir, Dialogs* dialogs, QWidget* parent) : QMainWindow(parent) {
    initPictures();
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
    setWindowTitle(settings::SET_TITLE(QString()));

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
    m_panels = new QGridLayout(stack);
    m_panels->setContentsMargins(8, 8, 8, 8);
    layout->addWidget(stack, 1);
    setCentralWidget(central);

    fraMain = new MainPanel(m_state, *this, stack);
    fraTaijyu = new RangePanel(m_state, *this, stack);
    fraBunseki = new AnalysisPanel(m_state, *this, stack);
    fraRenTai = new GraphPanel(m_state, *this, stack);
    fraBunseki->setGraphPanel(fraRenTai);
    fraAvgTai = new DailyPanel(m_state, *this, stack);
    fraCale = new CalendarPanel(m_state, *this, stack);
    fraMemo = new MemoPanel(m_state, *this, stack);
    fraSettei = new SetteiPanel(m_state, *this, stack);
    for (Panel* panel : panels())
        m_panels->addWidget(panel, 0, 0);

    const std::pair<const char*, Panel*> switches[] = {
        {"cmdMain", fraMain},       {"cmdRentai", fraRenTai}, {"cmdAvgtai", fraAvgTai}, {"cmdTaijyu", fraTaijyu},
        {"cmdBunseki", fraBunseki}, {"cmdCale", fraCale},     {"cmdMemo", fraMemo},     {"cmdSettei", fraSettei},
    };
    for (const auto& [name, panel] : switches) {
        Panel* target = panel;
        connect(m_toolbar->button(QString::fromUtf8(name)), &QToolButton::clicked, this,
                [this, target] { openPanel(target); });
    }
    connect(m_toolbar->button(QStringLiteral("cmdOwari")), &QToolButton::clicked, this, &frmMain::onQuit);
    connect(m_toolbar->button(QStringLiteral("cmdHelp")), &QToolButton::clicked, this, &frmMain::onHelp);
    chkHelp = m_toolbar->button(QStringLiteral("chkHelp"));
    connect(chkHelp, &QToolButton::clicked, this, &frmMain::onHelpTourClicked);

    connect(fraMain, &MainPanel::situationAdded, this, &frmMain::appendSituation);
    connect(fraMain, &MainPanel::meterChanged, fraSettei, &SetteiPanel::followJudgement);

    m_help = new HelpWindow(this);
    // F1 opens the help at the page of the panel in view
    auto* contextHelp = new QShortcut(QKeySequence(Qt::Key_F1), this);
    contextHelp->setObjectName(QStringLiteral("contextHelp"));
    connect(contextHelp, &QShortcut::activated, this, &frmMain::onContextHelp);
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
    HIDE_PANELS();
    fraMain->setVisible(true);
    resize(1100, 780);
    setMinimumSize(1024, 700);
}

frmMain::~frmMain() = default;

void frmMain::startup() {
    AppState& s = m_state;
    QStringList& notices = m_startupNotices;
    notices.clear();
    // A folder that cannot be searched is said once; every file in it then fails alike, and
    // nothing in it is taken for missing: no welcome, no conversion, nothing written.
    const QString folderProblem = folderReadProblem(s.workDir);
    m_folderReadable = folderProblem.isEmpty();
    if (!m_folderReadable)
        notices.append(folderProblem);
    auto note = [this, &notices](const QString& problem) {
        if (!problem.isEmpty() && m_folderReadable)
            notices.append(problem);
    };

    showNormal();
    s.startupGuard = true;
    HIDE_PANELS();
    fraMain->selectDate(clock::today());
    fraSettei->clearWeightLabel();

    FolderReadings& readings = *m_readings;
    const auto profile = readings.read(files::kProfile, &settings::READ_PRIVATE);
    note(profile->problem);
    s.profile = profile->value;
    setWindowTitle(settings::SET_TITLE(s.profile.userName));

    READ_JYOUKYOU();

    const auto window = readings.read(files::kMovingAverage, &settings::READ_IDOU);
    note(window->problem);
    s.movingAverage = window->value;
    const auto timeStamp = readings.read(files::kTimeStamp, &settings::READ_JIKAN);
    note(timeStamp->problem);
    s.timeStamp = timeStamp->value;
    fraSettei->setTimeStamp(s.timeStamp);
    // ticking the box writes its file, at start-up as on a click
    const Status rewritten = settings::rewriteTimeStampInWrittenForm(s.workDir, *timeStamp);
    noteFileWritten(files::kTimeStamp);
    if (!rewritten)
        note(rewritten.message());

    if (m_folderReadable)
        convertOlderFiles();

    fraMain->DSP_MAIN();
    const LogContents& log = fraMain->lastLog();
    // an empty folder is a first start, not a fault: it is welcomed at the end of start-up
    const bool noDiaryYet = log.status.ok() && !log.exists && !legacy::needsRenzoku(s.workDir);
    if (!log.status.ok())
        note(log.status.message());
    else if (!log.exists && !noDiaryYet)
        note(missingLogNotice());
    note(log.skippedNotice());

    const auto marker = readings.read(files::kMarker, &settings::READ_MARKER);
    note(marker->problem);
    s.markerMode = marker->value;
    fraMain->SET_MARKER();

    fraMain->SET_BMI_HANTEI();
    fraSettei->SET_METER_BASE();
    fraSettei->DSP_METER();

    const auto notes = readings.read(files::kNotes, &settings::READ_KIZUKI);
    note(notes->problem);
    s.notesText = notes->value;
    fraMemo->setNotes(s.notesText);
    const auto tour = readings.read(files::kHelpTour, &settings::READ_SETTEI);
    note(tour->problem);
    s.helpTour = tour->value;
    const auto steps = readings.read(files::kSteps, &settings::READ_KIZAMI);
    note(steps->problem);
    s.steps = steps->value;
    fraSettei->showSteps(s.steps);

    show();
    QApplication::processEvents();
    fraMain->setVisible(true);
    {
        const QSignalBlocker block(chkHelp);
        chkHelp->setChecked(s.helpTour != 0);
    }
    fraMain->setStepButtonsEnabled(false);
    tellAboutFiles(notices);

    CHECK_SAMPLE();
    if (s.sampleMode) {
        fraMain->selectDate(QDate::fromString(kSampleDay, QStringLiteral("yyyy/MM/dd")));
        fraMain->DSP_MAIN();
        fraMain->SET_BMI_HANTEI();
        fraSettei->SET_METER_BASE();
        fraSettei->DSP_METER();
        s.dialogs->message(QStringLiteral("サンプルとして2003年11月08日のデータを表示させています。"),
                           QStringLiteral("サンプル表示"), Dialogs::Icon::Information);
    }
    fraMain->selectMixedMode();
    QApplication::processEvents();
    s.startupGuard = false;

    // from here on the window follows what other programs change in the folder; a problem
    // start-up found is not told again
    for (const QString& name : FolderReadings::dataFiles())
        m_toldProblems[name] = m_folderReadable ? problemOf(name) : folderProblem;
    if (!m_folderReadable)
        m_toldProblems[QStringLiteral(".")] = folderProblem;
    if (!m_watcher) {
        m_watcher = new FolderWatcher(s.workDir, FolderReadings::dataFiles(), this);
        connect(m_watcher, &FolderWatcher::changed, this, &frmMain::takeOutsideChanges);
    }

    s.guidanceText = introductionText();
    DSP_HELP();

    if (noDiaryYet)
        welcomeNewUser();
}

void frmMain::welcomeNewUser() {
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
    fraSettei->openForNewStart();
}

void frmMain::READ_JYOUKYOU() {
    const auto list = m_readings->read(files::kSituations, &situations::READ_JYOUKYOU);
    if (!list->problem.isEmpty() && m_folderReadable)
        m_startupNotices.append(list->problem);
    setSituationLists(list->words);
}

void frmMain::setSituationLists(const QStringList& words) {
    for (Panel* panel : panels())
        panel->setSituations(words);
}

void frmMain::appendSituation(const QString& word) {
    for (Panel* panel : panels())
        panel->appendSituation(word);
}

void frmMain::DSP_MAIN() {
    fraMain->DSP_MAIN();
}

void frmMain::showMainPanelFor(const QDate& date) {
    fraMain->selectDate(date);
    fraMain->DSP_MAIN();
    HIDE_PANELS();
    fraMain->setVisible(true);
}

void frmMain::showChangedFiles(bool listChanged) {
    noteFileWritten(files::kData);
    if (listChanged) {
        noteFileWritten(files::kSituations);
        READ_JYOUKYOU();
    }
    fraMain->DSP_MAIN();
    Panel* shown = visiblePanel();
    if (shown && shown != fraMain)
        shown->refresh();
}

void frmMain::setCaptionFor(const QString& userName) {
    setWindowTitle(settings::SET_TITLE(userName));
}

void frmMain::noteFileWritten(const QString& name) {
    m_readings->noteWritten(name);
}

void frmMain::refreshPanelOnScreen() {
    if (Panel* panel = visiblePanel())
        panel->refresh();
}

QString frmMain::missingLogNotice() {
    return QStringLiteral("「%1」が見つかりません。\r\n編集画面の「新規スタート」から記録を始めてください。")
        .arg(files::kData);
}

QString frmMain::problemOf(const QString& name) {
    FolderReadings& readings = *m_readings;
    if (name == files::kData) {
        const std::shared_ptr<const LogContents> log = readings.log();
        if (!log->status.ok())
            return log->status.message();
        return log->exists ? log->skippedNotice() : missingLogNotice();
    }
    if (name == files::kSituations)
        return readings.read(name, &situations::READ_JYOUKYOU)->problem;
    if (name == files::kProfile)
        return readings.read(name, &settings::READ_PRIVATE)->problem;
    if (name == files::kMovingAverage)
        return readings.read(name, &settings::READ_IDOU)->problem;
    if (name == files::kTimeStamp)
        return readings.read(name, &settings::READ_JIKAN)->problem;
    if (name == files::kMarker)
        return readings.read(name, &settings::READ_MARKER)->problem;
    if (name == files::kNotes)
        return readings.read(name, &settings::READ_KIZUKI)->problem;
    if (name == files::kHelpTour)
        return readings.read(name, &settings::READ_SETTEI)->problem;
    if (name == files::kSteps)
        return readings.read(name, &settings::READ_KIZAMI)->problem;
    return QString();
}

QString frmMain::takeChangedFile(const QString& name) {
    AppState& s = m_state;
    FolderReadings& readings = *m_readings;
    if (name == files::kProfile) {
        s.profile = readings.read(name, &settings::READ_PRIVATE)->value;
        setWindowTitle(settings::SET_TITLE(s.profile.userName));
    } else if (name == files::kSituations) {
        setSituationLists(readings.read(name, &situations::READ_JYOUKYOU)->words);
    } else if (name == files::kMovingAverage) {
        s.movingAverage = readings.read(name, &settings::READ_IDOU)->value;
    } else if (name == files::kTimeStamp) {
        s.timeStamp = readings.read(name, &settings::READ_JIKAN)->value;
        fraSettei->setTimeStamp(s.timeStamp);
    } else if (name == files::kMarker) {
        s.markerMode = readings.read(name, &settings::READ_MARKER)->value;
        fraMain->SET_MARKER();
    } else if (name == files::kHelpTour) {
        s.helpTour = readings.read(name, &settings::READ_SETTEI)->value;
        const QSignalBlocker block(chkHelp);
        chkHelp->setChecked(s.helpTour != 0);
    } else if (name == files::kSteps) {
        s.steps = readings.read(name, &settings::READ_KIZAMI)->value;
        // showing the steps chooses options, which must not write the file back
        const bool guard = s.startupGuard;
        s.startupGuard = true;
        fraSettei->showSteps(s.steps);
        s.startupGuard = guard;
    } else if (name == files::kNotes) {
        const QString text = readings.read(name, &settings::READ_KIZUKI)->value;
        // a memo being typed is the user's: it stays, and its save will write it
        if (fraMemo->notes() == s.notesText)
            fraMemo->setNotes(text);
        s.notesText = text;
    }
    return problemOf(name);
}

void frmMain::takeOutsideChanges() {
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
        const QString folderProblem = folderReadProblem(m_state.workDir);
        if (!folderProblem.isEmpty()) {
            // a folder that cannot be searched is said once, not once for each of its files
            if (m_toldProblems.value(QStringLiteral(".")) != folderProblem)
                notices.append(folderProblem);
            m_toldProblems[QStringLiteral(".")] = folderProblem;
        } else {
            m_toldProblems.remove(QStringLiteral("."));
        }
        for (const QString& name : changed) {
            const QString problem = takeChangedFile(name);
            if (folderProblem.isEmpty() && !problem.isEmpty() && problem != m_toldProblems.value(name))
                notices.append(problem);
            m_toldProblems[name] = problem;
        }
        // the main view holds the values the other panels start from: it follows every change
        fraMain->refresh();
        m_state.sampleMode = entry::isSampleData(m_state.main.startDate, m_state.profile);
        Panel* shown = visiblePanel();
        if (shown && shown != fraMain)
            shown->refresh();
        if (!notices.isEmpty())
            tellAboutFiles(notices);
        Q_EMIT outsideChangesTaken(changed);
    } while (m_changesWaiting);
    m_takingChanges = false;
}

void frmMain::endProgram() {
    m_help->close();
    close();
    QApplication::quit();
}

QList<Panel*> frmMain::panels() const {
    return {fraMain, fraTaijyu, fraBunseki, fraRenTai, fraAvgTai, fraCale, fraMemo, fraSettei};
}

Panel* frmMain::visiblePanel() const {
    for (Panel* panel : panels())
        if (panel->isVisible())
            return panel;
    return nullptr;
}

void frmMain::bringToFront() {
    setWindowState((windowState() & ~Qt::WindowMinimized) | Qt::WindowActive);
    show();
    raise();
    activateWindow();
}

void frmMain::convertOlderFiles() {
    Dialogs& dialogs = *m_state.dialogs;
    auto report = [&](const Status& status) {
        if (!status)
            dialogs.message(status.message(), QStringLiteral("データ変換"), Dialogs::Icon::Critical);
    };
    if (legacy::needsRenzoku(m_state.workDir)) {
        const QString answer = dialogs.input(legacy::promptRenzoku(), legacy::title());
        if (!answer.isEmpty()) {
            report(legacy::CONV_RENZOKU(m_state.workDir, answer));
            noteFileWritten(files::kData);
        }
    }
    if (legacy::needsData(m_state.workDir)) {
        const QString answer = dialogs.input(legacy::promptData(), legacy::title());
        if (!answer.isEmpty()) {
            report(legacy::CONV_DATA(m_state.workDir, answer));
            noteFileWritten(files::kData);
        }
    }
}

void frmMain::tellAboutFiles(const QStringList& notices) {
    // a damaged file never stops the program: it says what it found and goes on
    if (notices.isEmpty())
        return;
    m_state.dialogs->message(notices.join(QStringLiteral("\r\n\r\n")), QStringLiteral("データファイルの確認"),
                             Dialogs::Icon::Information);
}

void frmMain::CHECK_SAMPLE() {
    m_state.sampleMode = entry::isSampleData(m_state.main.startDate, m_state.profile);
}

void frmMain::HIDE_PANELS() {
    for (Panel* panel : {static_cast<Panel*>(fraTaijyu), static_cast<Panel*>(fraBunseki),
                         static_cast<Panel*>(fraRenTai), static_cast<Panel*>(fraMain), static_cast<Panel*>(fraSettei),
                         static_cast<Panel*>(fraCale), static_cast<Panel*>(fraMemo), static_cast<Panel*>(fraAvgTai)})
        panel->setVisible(false);
}

void frmMain::openPanel(Panel* panel) {
    // a panel's button does nothing while its panel is visible
    if (panel->isVisible())
        return;
    panel->open();
}

void frmMain::DSP_HELP() {
    if (m_state.helpTour != 0)
        m_state.dialogs->message(m_state.guidanceText, QStringLiteral("ヘルプツアー"), Dialogs::Icon::Information);
}

void frmMain::onHelpTourClicked() {
    if (m_state.startupGuard)
        return;
    if (chkHelp->isChecked()) {
        m_state.dialogs->message(QStringLiteral("ヘルプツアー機能をオンにします。"), QStringLiteral("ヘルプツアーＯＮ"),
                                 Dialogs::Icon::Information);
        m_state.helpTour = 1;
    } else {
        m_state.dialogs->message(QStringLiteral("ヘルプツアー機能をオフにします。"),
                                 QStringLiteral("ヘルプツアーＯＦＦ"), Dialogs::Icon::Information);
        m_state.helpTour = 0;
    }
    const Status s = settings::WRITE_SETTEI(m_state.workDir, m_state.helpTour);
    noteFileWritten(files::kHelpTour);
    if (!s)
        m_state.dialogs->message(s.message(), QStringLiteral("保存エラー"), Dialogs::Icon::Critical);
}

void frmMain::onHelp() {
    m_help->showTopic();
}

void frmMain::onContextHelp() {
    const Panel* panel = visiblePanel();
    if (!panel || !m_help->showTopic(panel->helpPage()))
        m_help->showTopic();
}

void frmMain::onQuit() {
    close();
}

void frmMain::closeEvent(QCloseEvent* event) {
    // every change was written when it was made: nothing to ask, nothing to save
    m_help->close();
    QMainWindow::closeEvent(event);
}

QString frmMain::introductionText() {
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
