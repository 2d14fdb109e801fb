#include "MainPanel.h"

#include "AppState.h"
#include "BmiScale.h"
#include "Clock.h"
#include "DataLog.h"
#include "FileNames.h"
#include "MeasurementEntry.h"
#include "NumberFormat.h"
#include "PanelHost.h"
#include "RecordEditor.h"
#include "Settings.h"
#include "SituationList.h"
#include "TextLines.h"
#include "TrendView.h"
#include "controls/ChartView.h"
#include "controls/ChoiceList.h"
#include "controls/Dialogs.h"
#include "controls/GridView.h"
#include "controls/MonthCalendar.h"
#include "controls/PictureButton.h"
#include "controls/Twips.h"

#include <QButtonGroup>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

namespace puka::ui {
namespace {

QString colourCss(Rgb c) {
    return QStringLiteral("#%1").arg(c, 6, 16, QLatin1Char('0'));
}

QLabel* facePicture(const char* name, QWidget* parent) {
    auto* label = new QLabel(parent);
    label->setObjectName(QString::fromUtf8(name));
    const int side = scaledPixels(96, parent);
    label->setPixmap(QIcon(QStringLiteral(":/pictures/faces/%1.svg").arg(QString::fromUtf8(name))).pixmap(side, side));
    label->setFixedSize(side + 4, side + 4);
    label->setAlignment(Qt::AlignCenter);
    return label;
}

QToolButton* pictureButton(const char* name, const QString& tooltip, QWidget* parent) {
    auto* b = new PictureButton(parent);
    b->setObjectName(QString::fromUtf8(name));
    b->setToolTip(tooltip);
    b->setIcon(QIcon(QStringLiteral(":/pictures/buttons/%1.svg").arg(QString::fromUtf8(name))));
    b->setIconSize(QSize(scaledPixels(32, parent), scaledPixels(32, parent)));
    b->setAutoRaise(false);
    return b;
}

QPushButton* arrowButton(const char* name, const QString& text, QWidget* parent) {
    auto* b = new QPushButton(text, parent);
    b->setObjectName(QString::fromUtf8(name));
    b->setFixedWidth(scaledPixels(34, parent));
    b->setAutoDefault(false);
    return b;
}

} // namespace

MainPanel::MainPanel(AppState& state, PanelHost& host, QWidget* parent)
    : Panel(state, host, "fraMain", parent), m_log(std::make_shared<const LogContents>()) {

    // left column: the calendar, the face and the progress figures
    mtvmain = new MonthCalendar(this);
    mtvmain->setObjectName(QStringLiteral("mtvmain"));
    mtvmain->setFixedSize(scaledPixels(300, this), scaledPixels(210, this));

    auto* faces = new QWidget(this);
    auto* faceGrid = new QGridLayout(faces);
    faceGrid->setContentsMargins(0, 0, 0, 0);
    imgwara = facePicture("imgwara", faces);
    imgniko = facePicture("imgniko", faces);
    imgkana = facePicture("imgkana", faces);
    imgNashi = facePicture("imgNashi", faces);
    for (QLabel* face : {imgwara, imgniko, imgkana, imgNashi})
        faceGrid->addWidget(face, 0, 0, Qt::AlignCenter);

    auto* progress = new QGroupBox(QStringLiteral("ダイエット経過"), this);
    auto* progressGrid = new QGridLayout(progress);
    const std::pair<const char*, QLabel**> figures[] = {{"日数", &lblDspNissuu},
                                                        {"体重", &lblDspTai},
                                                        {"ＢＭＩ値", &lblDspBmi},
                                                        {"肥満度", &lblDspHiman},
                                                        {"トレンド", &lblDspTrend}};
    const char* names[] = {"lblDspNissuu", "lblDspTai", "lblDspBmi", "lblDspHiman", "lblDspTrend"};
    int row = 0;
    for (const auto& [caption, label] : figures) {
        auto* c = new QLabel(QString::fromUtf8(caption), progress);
        // a caption beside its figure: muted in any palette
        c->setForegroundRole(QPalette::PlaceholderText);
        *label = new QLabel(progress);
        (*label)->setObjectName(QString::fromUtf8(names[row]));
        (*label)->setTextInteractionFlags(Qt::TextSelectableByMouse);
        QFont f = (*label)->font();
        f.setPointSizeF(f.pointSizeF() + 1);
        f.setBold(true);
        (*label)->setFont(f);
        progressGrid->addWidget(c, row, 0);
        progressGrid->addWidget(*label, row, 1);
        ++row;
    }
    progressGrid->setColumnStretch(1, 1);

    auto* bmiBox = new QGroupBox(QStringLiteral("体型判定"), this);
    auto* bmiLayout = new QVBoxLayout(bmiBox);
    lblMHyouka = new QLabel(bmiBox);
    lblMHyouka->setObjectName(QStringLiteral("lblMHyouka"));
    lblMHyouka->setAlignment(Qt::AlignCenter);
    lblMHyouka->setMinimumHeight(scaledPixels(26, this));
    m_indicator = new BmiScale(BmiMeter::kIndicatorScale, QStringLiteral("Image1"), bmiBox);
    bmiLayout->addWidget(lblMHyouka);
    bmiLayout->addWidget(m_indicator, 0, Qt::AlignHCenter);

    // the entry
    auto* entryBox = new QGroupBox(QStringLiteral("測定入力"), this);
    buildEntry(entryBox);

    // the day list and the chart
    msgDayList = new GridView(this);
    msgDayList->setObjectName(QStringLiteral("msgDayList"));
    msgDayList->setModel(mainview::SET_MAIN_GRID());
    m_state.editor->attach(msgDayList, [this](int gridRow) { return recordInRow(gridRow); });

    mcrMain = new ChartView(this);
    mcrMain->setObjectName(QStringLiteral("mcrMain"));
    mcrMain->setToolTip(QStringLiteral("グラフをクリックするとマーカーの形が変わります"));
    mcrMain->setMinimumSize(scaledPixels(320, this), scaledPixels(220, this));
    optTai = new QRadioButton(QStringLiteral("体重"), this);
    optTai->setObjectName(QStringLiteral("optTai"));
    optShi = new QRadioButton(QStringLiteral("体脂肪率"), this);
    optShi->setObjectName(QStringLiteral("optShi"));
    optKon = new QRadioButton(QStringLiteral("混合"), this);
    optKon->setObjectName(QStringLiteral("optKon"));
    auto* modes = new QButtonGroup(this);
    for (QRadioButton* o : {optTai, optShi, optKon}) {
        modes->addButton(o);
        connect(o, &QRadioButton::toggled, this, [this](bool on) {
            if (on)
                onChartMode();
        });
    }

    // layout
    auto* left = new QVBoxLayout;
    left->addWidget(mtvmain);
    auto* faceRow = new QHBoxLayout;
    faceRow->addWidget(faces);
    faceRow->addWidget(bmiBox, 1);
    left->addLayout(faceRow);
    left->addWidget(progress);
    left->addStretch(1);

    auto* chartBox = new QVBoxLayout;
    auto* modeRow = new QHBoxLayout;
    modeRow->addStretch(1);
    for (QRadioButton* o : {optTai, optShi, optKon})
        modeRow->addWidget(o);
    chartBox->addLayout(modeRow);
    chartBox->addWidget(mcrMain, 1);

    auto* right = new QVBoxLayout;
    auto* top = new QHBoxLayout;
    top->addWidget(entryBox, 3);
    top->addLayout(chartBox, 4);
    right->addLayout(top, 1);
    right->addWidget(msgDayList, 1);

    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addLayout(left);
    layout->addLayout(right, 1);

    connect(mtvmain, &MonthCalendar::dateClicked, this, &MainPanel::onDateClicked);
    // a day moved to with the keys is shown at once, so that a save lands on the day in view
    connect(mtvmain, &MonthCalendar::dateChangedByKeyboard, this, [this] { DSP_MAIN(); });
    connect(mcrMain, &ChartView::clicked, this, &MainPanel::onChartClicked);
    mcrMain->setSeriesColour(0, QColor(0x3a, 0x6e, 0xd8));
    mcrMain->setSeriesColour(1, QColor(0xe0, 0x7a, 0x2e));
    showFace(QStringLiteral("imgNashi"));

    // the calendar, the entry from the situation to the save button, the chart's choice, the list
    setTabChain({mtvmain, lstAct, cmdFree, cmdJikan, txtTaiInp, cmdUp, cmdDn, txtShiInp, cmdUp1, cmdDn1, cmdTaiHozon,
                 optTai, optShi, optKon, msgDayList});
}

void MainPanel::buildEntry(QWidget* box) {
    lstAct = new ChoiceList(box);
    lstAct->setObjectName(QStringLiteral("lstAct"));
    lstAct->setToolTip(QStringLiteral("体重を測ったときの状況を選んでください"));
    cmdFree = pictureButton("cmdFree", QStringLiteral("状況選択リスト外の内容を入力"), box);
    cmdJikan = pictureButton("cmdJikan", QStringLiteral("状況をその時の時間で保存"), box);
    txtTaiInp = new QLineEdit(box);
    txtTaiInp->setObjectName(QStringLiteral("txtTaiInp"));
    txtShiInp = new QLineEdit(box);
    txtShiInp->setObjectName(QStringLiteral("txtShiInp"));
    for (QLineEdit* field : {txtTaiInp, txtShiInp}) {
        field->setAlignment(Qt::AlignRight);
        field->setFixedWidth(scaledPixels(90, box));
        QFont f = field->font();
        f.setPointSizeF(f.pointSizeF() + 3);
        field->setFont(f);
        field->installEventFilter(this);
    }
    cmdUp = arrowButton("cmdUp", QStringLiteral("↑"), box);
    cmdDn = arrowButton("cmdDn", QStringLiteral("↓"), box);
    cmdUp1 = arrowButton("cmdUp1", QStringLiteral("↑"), box);
    cmdDn1 = arrowButton("cmdDn1", QStringLiteral("↓"), box);
    cmdTaiHozon = pictureButton("cmdTaiHozon", QStringLiteral("測定値を保存します"), box);
    cmdTaiHozon->setIconSize(QSize(scaledPixels(40, box), scaledPixels(40, box)));

    // the situation on the left, the two values and the save button on the right
    auto* listColumn = new QVBoxLayout;
    listColumn->addWidget(new QLabel(QStringLiteral("状況選択"), box));
    listColumn->addWidget(lstAct, 1);
    auto* pickRow = new QHBoxLayout;
    pickRow->addWidget(cmdFree);
    pickRow->addWidget(cmdJikan);
    pickRow->addStretch(1);
    listColumn->addLayout(pickRow);

    auto* values = new QGridLayout;
    values->setVerticalSpacing(4);
    values->addWidget(new QLabel(QStringLiteral("体重（Kg）"), box), 0, 0, 1, 3);
    values->addWidget(txtTaiInp, 1, 0);
    values->addWidget(cmdUp, 1, 1);
    values->addWidget(cmdDn, 1, 2);
    values->setRowMinimumHeight(2, 10);
    values->addWidget(new QLabel(QStringLiteral("体脂肪率（％）"), box), 3, 0, 1, 3);
    values->addWidget(txtShiInp, 4, 0);
    values->addWidget(cmdUp1, 4, 1);
    values->addWidget(cmdDn1, 4, 2);
    values->setRowMinimumHeight(5, 10);
    values->addWidget(cmdTaiHozon, 6, 0, 1, 3, Qt::AlignCenter);
    values->setRowStretch(7, 1);

    auto* row = new QHBoxLayout(box);
    row->addLayout(listColumn, 1);
    row->addSpacing(8);
    row->addLayout(values);

    connect(lstAct, &QListWidget::itemClicked, this, &MainPanel::onSituationClicked);
    connect(lstAct, &ChoiceList::chosenByKeyboard, this, &MainPanel::onSituationChosenByKeyboard);
    connect(cmdFree, &QToolButton::clicked, this, &MainPanel::onFree);
    connect(cmdJikan, &QToolButton::clicked, this, &MainPanel::onTime);
    connect(cmdUp, &QPushButton::clicked, this, [this] { onStep(txtTaiInp, m_state.steps.weightStep, +1); });
    connect(cmdDn, &QPushButton::clicked, this, [this] { onStep(txtTaiInp, m_state.steps.weightStep, -1); });
    connect(cmdUp1, &QPushButton::clicked, this, [this] { onStep(txtShiInp, m_state.steps.fatStep, +1); });
    connect(cmdDn1, &QPushButton::clicked, this, [this] { onStep(txtShiInp, m_state.steps.fatStep, -1); });
    connect(cmdTaiHozon, &QToolButton::clicked, this, &MainPanel::onSave);
    connect(txtTaiInp, &QLineEdit::returnPressed, this, [this] {
        if (!txtTaiInp->text().isEmpty())
            txtShiInp->setFocus(Qt::TabFocusReason);
    });
    connect(txtShiInp, &QLineEdit::returnPressed, this, [this] {
        if (!txtShiInp->text().isEmpty())
            cmdTaiHozon->setFocus(Qt::TabFocusReason);
    });
}

bool MainPanel::eventFilter(QObject* watched, QEvent* event) {
    // a field that gets the focus has its whole text selected, ready to be typed over
    if (event->type() == QEvent::FocusIn) {
        if (auto* field = qobject_cast<QLineEdit*>(watched))
            QTimer::singleShot(0, field, &QLineEdit::selectAll);
    }
    return Panel::eventFilter(watched, event);
}

std::optional<logedits::NumberedRecord> MainPanel::recordInRow(int gridRow) const {
    const QString day = m_shownDate.toString(QStringLiteral("yyyy/MM/dd"));
    int row = 0;
    for (size_t i = 0; m_log && i < m_log->records.size(); ++i) {
        if (m_log->records[i].date == day && ++row == gridRow)
            return logedits::NumberedRecord{static_cast<int>(i) + 1, m_log->records[i]};
    }
    return std::nullopt;
}

void MainPanel::open() {
    // the main panel is shown as it was left, unless the log changed meanwhile; the trend's
    // forecast follows a target weight changed meanwhile
    if (log() != m_log)
        refresh();
    else
        showTrend();
    m_host.HIDE_PANELS();
    setVisible(true);
}

void MainPanel::refresh() {
    m_log = log();
    const MainView view = mainview::DSP_MAIN(m_log->records, m_shownDate, m_state.profile.height);
    m_state.main = view.values;
    paint(view, true);
    SET_BMI_HANTEI();
}

void MainPanel::selectDate(const QDate& date) {
    mtvmain->setSelectedDate(date);
}

QDate MainPanel::selectedDate() const {
    return mtvmain->selectedDate();
}

void MainPanel::setSituations(const QStringList& words) {
    lstAct->clear();
    lstAct->addItems(words);
}

void MainPanel::appendSituation(const QString& word) {
    lstAct->addItem(word);
}

void MainPanel::setStepButtonsEnabled(bool enabled) {
    for (QPushButton* b : {cmdDn, cmdUp, cmdDn1, cmdUp1})
        b->setEnabled(enabled);
}

void MainPanel::selectMixedMode() {
    if (optKon->isChecked())
        onChartMode();
    else
        optKon->setChecked(true);
}

void MainPanel::DSP_MAIN() {
    m_log = log();
    m_shownDate = mtvmain->selectedDate();
    const MainView view = mainview::DSP_MAIN(m_log->records, m_shownDate, m_state.profile.height);
    m_state.main = view.values;
    paint(view);
    SET_BMI_HANTEI();
    // the entry starts empty: a situation must be chosen again
    m_selectedSituation.clear();
    txtTaiInp->clear();
    txtShiInp->clear();
}

void MainPanel::paint(const MainView& view, bool keepPlace) {
    if (keepPlace)
        msgDayList->updateModel(view.dayList);
    else
        msgDayList->setModel(view.dayList);
    mcrMain->setChart(view.chart);
    lblDspNissuu->setText(view.lblDspNissuu);
    lblDspTai->setText(view.lblDspTai);
    lblDspBmi->setText(view.lblDspBmi);
    lblDspHiman->setText(view.lblDspHiman);
    showTrend();
    showFace(view.face);
}

void MainPanel::showTrend() {
    lblDspTrend->setText(trend::progressText(trend::compute(m_log->records, {}, m_state.profile.targetWeight)));
}

void MainPanel::showFace(const QString& name) {
    for (QLabel* face : {imgwara, imgniko, imgkana, imgNashi})
        face->setVisible(face->objectName() == name);
}

void MainPanel::SET_BMI_HANTEI() {
    if (!m_state.meter.SET_BMI_HANTEI(m_state.main.currentWeight, m_state.profile.height, m_state.main.recordCount))
        return;
    m_indicator->placePointer(m_state.meter.meterBmi());
    const body::BodyType& type = m_state.meter.figures().currentType;
    lblMHyouka->setText(type.word);
    lblMHyouka->setStyleSheet(QStringLiteral("background: %1; color: #1a1a1a; border: 1px solid #b8aec8; "
                                             "border-radius: 4px; font-weight: bold; padding: 2px 8px;")
                                  .arg(colourCss(type.colour)));
    Q_EMIT meterChanged();
}

void MainPanel::SET_MARKER() {
    switch (m_state.markerMode) {
    case 0:
        mcrMain->setMarkerStyle(ChartView::MarkerStyle::None);
        break;
    case 1:
        mcrMain->setMarkerStyle(ChartView::MarkerStyle::Circle);
        break;
    default:
        mcrMain->setMarkerStyle(ChartView::MarkerStyle::Ball);
        break;
    }
}

void MainPanel::READY_INPUT() {
    txtTaiInp->setText(shortestText(m_state.main.currentWeight));
    cmdDn->setEnabled(true);
    cmdUp->setEnabled(true);
    txtShiInp->setText(shortestText(m_state.main.currentBodyFat));
    cmdDn1->setEnabled(true);
    cmdUp1->setEnabled(true);
}

void MainPanel::onSituationClicked(QListWidgetItem* item) {
    if (!item)
        return;
    m_selectedSituation = item->text();
    READY_INPUT();
    txtTaiInp->setFocus(Qt::OtherFocusReason);
}

void MainPanel::onSituationChosenByKeyboard(QListWidgetItem* item, bool confirmed) {
    // a move onto a word chooses it and leaves the focus for the next move; Enter goes on as a click
    if (confirmed) {
        onSituationClicked(item);
        return;
    }
    m_selectedSituation = item->text();
    READY_INPUT();
}

void MainPanel::onTime() {
    m_selectedSituation = clock::timeText(clock::now());
    READY_INPUT();
    txtTaiInp->setFocus(Qt::OtherFocusReason);
}

void MainPanel::onFree() {
    Dialogs& dialogs = *m_state.dialogs;
    const QString word = dialogs.input(entry::freePrompt(), QStringLiteral("状況フリー入力"));
    if (word.isEmpty())
        return;
    const QString problem = textFieldProblem(word, QStringLiteral("状況"));
    if (!problem.isEmpty()) {
        dialogs.message(problem, QStringLiteral("入力できない文字"), Dialogs::Icon::Warning);
        return;
    }
    m_selectedSituation = word;
    READY_INPUT();
    const auto answer =
        dialogs.message(QStringLiteral("状況リストに追加しますか？\n\n"), QStringLiteral("状況リスト登録の有無"),
                        Dialogs::Icon::Question, Dialogs::Buttons::YesNo);
    if (answer == Dialogs::Answer::Yes) {
        const Status s = m_state.editor->run(QStringLiteral("状況の追加"),
                                             [&] { return situations::ADD_JYOUKYOU(m_state.workDir, word); });
        m_host.noteFileWritten(files::kSituations);
        if (s)
            Q_EMIT situationAdded(word);
        else
            dialogs.message(s.message(), QStringLiteral("保存エラー"), Dialogs::Icon::Critical);
    }
    txtTaiInp->selectAll();
    txtTaiInp->setFocus(Qt::OtherFocusReason);
}

void MainPanel::onStep(QLineEdit* field, const QString& step, int direction) {
    QString problem;
    const auto text = entry::stepped(field->text(), step, direction, &problem);
    if (!text) {
        m_state.dialogs->message(problem, QStringLiteral("入力刻み"), Dialogs::Icon::Warning);
        return;
    }
    field->setText(*text);
}

void MainPanel::onSave() {
    Dialogs& dialogs = *m_state.dialogs;
    entry::Input in;
    in.sampleMode = m_state.sampleMode;
    in.situation = m_selectedSituation;
    in.weightText = txtTaiInp->text();
    in.fatText = txtShiInp->text();
    in.currentWeight = m_state.main.currentWeight;
    in.currentBodyFat = m_state.main.currentBodyFat;
    int from = 0;
    while (const auto check = entry::firstCheck(in, from)) {
        if (!check->confirm) {
            dialogs.message(check->message, check->title, Dialogs::Icon::Warning);
            return;
        }
        const auto answer = dialogs.message(check->message, check->title, Dialogs::Icon::Warning,
                                            Dialogs::Buttons::YesNo, Dialogs::DefaultButton::Second);
        if (answer != Dialogs::Answer::Yes)
            return;
        from = check->step + 1;
    }
    entry::SaveResult saved;
    const Status s =
        entry::saveEntry(m_state.workDir, in, m_shownDate, m_state.timeStamp == 1, clock::now(), std::nullopt, &saved);
    m_host.noteFileWritten(files::kData);
    if (!s) {
        if (saved.refused) {
            dialogs.message(s.message(), QStringLiteral("入力できない文字"), Dialogs::Icon::Warning);
            return;
        }
        dialogs.message(s.message(), QStringLiteral("保存エラー"), Dialogs::Icon::Critical);
        // a measurement that is in place, though not yet flushed to disk, is shown
        if (!s.inPlace())
            return;
    }
    m_state.editor->rememberSaved(saved.record);
    DSP_MAIN();
    setStepButtonsEnabled(false);
}

void MainPanel::onChartMode() {
    const bool weight = !optShi->isChecked();
    const bool fat = !optTai->isChecked();
    mcrMain->setSeriesVisible(0, weight);
    mcrMain->setSeriesVisible(1, fat);
    mcrMain->setAxisVisible(ChartView::Axis::Primary, weight);
    mcrMain->setAxisVisible(ChartView::Axis::Secondary, fat);
}

void MainPanel::onChartClicked() {
    m_state.markerMode = m_state.markerMode + 1 > 2 ? 0 : m_state.markerMode + 1;
    SET_MARKER();
    const Status s = settings::WRITE_MARKER(m_state.workDir, m_state.markerMode);
    m_host.noteFileWritten(files::kMarker);
    if (!s)
        m_state.dialogs->message(s.message(), QStringLiteral("保存エラー"), Dialogs::Icon::Critical);
}

void MainPanel::onDateClicked(const QDate&) {
    DSP_MAIN();
    lstAct->setFocus(Qt::OtherFocusReason);
}

} // namespace puka::ui
