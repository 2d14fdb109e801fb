#include "ui/panels/MainPanel.h"

#include "core/base/Clock.h"
#include "core/base/Messages.h"
#include "core/base/NumberFormat.h"
#include "core/edits/MeasurementEntry.h"
#include "core/files/DataLog.h"
#include "core/files/FileNames.h"
#include "core/files/Settings.h"
#include "core/files/SituationList.h"
#include "core/files/TextLines.h"
#include "core/views/TrendView.h"
#include "ui/AppState.h"
#include "ui/RecordEditor.h"
#include "ui/controls/ChartView.h"
#include "ui/controls/ChoiceList.h"
#include "ui/controls/Dialogs.h"
#include "ui/controls/GridView.h"
#include "ui/controls/MonthCalendar.h"
#include "ui/controls/Twips.h"
#include "ui/controls/Widgets.h"
#include "ui/panels/BmiScale.h"
#include "ui/panels/PanelHost.h"

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

QLabel* facePicture(const char* name, QWidget* parent) {
    const int side = scaledPixels(96, parent);
    QLabel* label = widgets::facePicture(QString::fromUtf8(name), side, parent);
    label->setFixedSize(side + 4, side + 4);
    return label;
}

QToolButton* pictureButton(const char* name, const QString& tooltip, QWidget* parent) {
    QToolButton* b = widgets::pictureButton(QString::fromUtf8(name), 32, parent);
    b->setToolTip(tooltip);
    b->setAutoRaise(false);
    return b;
}

QPushButton* arrowButton(const char* name, const QString& text, QWidget* parent) {
    QPushButton* b = widgets::pushButton(QString::fromUtf8(name), text, parent);
    b->setFixedWidth(scaledPixels(34, parent));
    return b;
}

} // namespace

MainPanel::MainPanel(AppState& state, PanelHost& host, QWidget* parent)
    : Panel(state, host, "fraMain", parent), m_log(std::make_shared<const LogContents>()) {
    QVBoxLayout* left = buildLeftColumn();

    // the entry
    auto* entryBox = new QGroupBox(QStringLiteral("測定入力"), this);
    buildEntry(entryBox);

    // the day list and the chart
    m_dayList = widgets::grid(QStringLiteral("msgDayList"), this);
    m_dayList->setModel(mainview::emptyDayList());
    m_state.editor->attach(m_dayList, [this](int gridRow) { return recordInRow(gridRow); });
    QVBoxLayout* chartBox = buildChartBox();

    auto* right = new QVBoxLayout;
    auto* top = new QHBoxLayout;
    top->addWidget(entryBox, 3);
    top->addLayout(chartBox, 4);
    right->addLayout(top, 1);
    right->addWidget(m_dayList, 1);

    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addLayout(left);
    layout->addLayout(right, 1);

    connect(m_calendar, &MonthCalendar::dateClicked, this, &MainPanel::onDateClicked);
    // a day moved to with the keys is shown at once, so that a save lands on the day in view
    connect(m_calendar, &MonthCalendar::dateChangedByKeyboard, this, [this] { buildMainView(); });
    connect(m_chart, &ChartView::clicked, this, &MainPanel::onChartClicked);
    m_chart->setSeriesColour(0, QColor(0x3a, 0x6e, 0xd8));
    m_chart->setSeriesColour(1, QColor(0xe0, 0x7a, 0x2e));
    showFace(QStringLiteral("imgNashi"));

    // the calendar, the entry from the situation to the save button, the chart's choice, the list
    setTabChain({m_calendar, m_situationList, m_freeSituationButton, m_timeButton, m_weightField, m_weightUpButton,
                 m_weightDownButton, m_bodyFatField, m_bodyFatUpButton, m_bodyFatDownButton, m_saveButton,
                 m_weightOption, m_bodyFatOption, m_mixedOption, m_dayList});
}

QVBoxLayout* MainPanel::buildLeftColumn() {
    // left column: the calendar, the face and the progress figures
    m_calendar = new MonthCalendar(this);
    m_calendar->setObjectName(QStringLiteral("mtvmain"));
    m_calendar->setFixedSize(scaledPixels(300, this), scaledPixels(210, this));

    auto* faces = new QWidget(this);
    auto* faceGrid = new QGridLayout(faces);
    faceGrid->setContentsMargins(0, 0, 0, 0);
    m_laughingFace = facePicture("imgwara", faces);
    m_smilingFace = facePicture("imgniko", faces);
    m_sulkyFace = facePicture("imgkana", faces);
    m_blankFace = facePicture("imgNashi", faces);
    for (QLabel* face : {m_laughingFace, m_smilingFace, m_sulkyFace, m_blankFace})
        faceGrid->addWidget(face, 0, 0, Qt::AlignCenter);

    QGroupBox* progress = buildProgress();

    auto* bmiBox = new QGroupBox(QStringLiteral("体型判定"), this);
    auto* bmiLayout = new QVBoxLayout(bmiBox);
    m_bodyTypeLabel = widgets::namedLabel(QStringLiteral("lblMHyouka"), bmiBox);
    m_bodyTypeLabel->setAlignment(Qt::AlignCenter);
    m_bodyTypeLabel->setMinimumHeight(scaledPixels(26, this));
    m_indicator = new BmiScale(BmiMeter::kIndicatorScale, QStringLiteral("Image1"), bmiBox);
    bmiLayout->addWidget(m_bodyTypeLabel);
    bmiLayout->addWidget(m_indicator, 0, Qt::AlignHCenter);

    auto* left = new QVBoxLayout;
    left->addWidget(m_calendar);
    auto* faceRow = new QHBoxLayout;
    faceRow->addWidget(faces);
    faceRow->addWidget(bmiBox, 1);
    left->addLayout(faceRow);
    left->addWidget(progress);
    left->addStretch(1);
    return left;
}

QGroupBox* MainPanel::buildProgress() {
    auto* progress = new QGroupBox(QStringLiteral("ダイエット経過"), this);
    auto* progressGrid = new QGridLayout(progress);
    const std::pair<const char*, QLabel**> figures[] = {{"日数", &m_daysLabel},
                                                        {"体重", &m_weightLabel},
                                                        {"ＢＭＩ値", &m_bmiLabel},
                                                        {"肥満度", &m_obesityLabel},
                                                        {"トレンド", &m_trendLabel}};
    const char* names[] = {"lblDspNissuu", "lblDspTai", "lblDspBmi", "lblDspHiman", "lblDspTrend"};
    int row = 0;
    for (const auto& [caption, label] : figures) {
        auto* c = new QLabel(QString::fromUtf8(caption), progress);
        // a caption beside its figure: muted in any palette
        c->setForegroundRole(QPalette::PlaceholderText);
        *label = widgets::namedLabel(QString::fromUtf8(names[row]), progress);
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
    return progress;
}

QVBoxLayout* MainPanel::buildChartBox() {
    m_chart = new ChartView(this);
    m_chart->setObjectName(QStringLiteral("mcrMain"));
    m_chart->setToolTip(QStringLiteral("グラフをクリックするとマーカーの形が変わります"));
    m_chart->setMinimumSize(scaledPixels(320, this), scaledPixels(220, this));
    m_weightOption = widgets::radioButton(QStringLiteral("optTai"), QStringLiteral("体重"), this);
    m_bodyFatOption = widgets::radioButton(QStringLiteral("optShi"), QStringLiteral("体脂肪率"), this);
    m_mixedOption = widgets::radioButton(QStringLiteral("optKon"), QStringLiteral("混合"), this);
    auto* modes = new QButtonGroup(this);
    for (QRadioButton* o : {m_weightOption, m_bodyFatOption, m_mixedOption}) {
        modes->addButton(o);
        connect(o, &QRadioButton::toggled, this, [this](bool on) {
            if (on)
                onChartMode();
        });
    }

    auto* chartBox = new QVBoxLayout;
    auto* modeRow = new QHBoxLayout;
    modeRow->addStretch(1);
    for (QRadioButton* o : {m_weightOption, m_bodyFatOption, m_mixedOption})
        modeRow->addWidget(o);
    chartBox->addLayout(modeRow);
    chartBox->addWidget(m_chart, 1);
    return chartBox;
}

void MainPanel::buildEntry(QWidget* box) {
    // the situation on the left, the two values and the save button on the right
    QVBoxLayout* listColumn = buildSituationColumn(box);
    QGridLayout* values = buildValueFields(box);
    auto* row = new QHBoxLayout(box);
    row->addLayout(listColumn, 1);
    row->addSpacing(8);
    row->addLayout(values);
    connectEntry();
}

QVBoxLayout* MainPanel::buildSituationColumn(QWidget* box) {
    m_situationList = new ChoiceList(box);
    m_situationList->setObjectName(QStringLiteral("lstAct"));
    m_situationList->setToolTip(QStringLiteral("体重を測ったときの状況を選んでください"));
    m_freeSituationButton = pictureButton("cmdFree", QStringLiteral("状況選択リスト外の内容を入力"), box);
    m_timeButton = pictureButton("cmdJikan", QStringLiteral("状況をその時の時間で保存"), box);

    auto* listColumn = new QVBoxLayout;
    listColumn->addWidget(new QLabel(QStringLiteral("状況選択"), box));
    listColumn->addWidget(m_situationList, 1);
    auto* pickRow = new QHBoxLayout;
    pickRow->addWidget(m_freeSituationButton);
    pickRow->addWidget(m_timeButton);
    pickRow->addStretch(1);
    listColumn->addLayout(pickRow);
    return listColumn;
}

QGridLayout* MainPanel::buildValueFields(QWidget* box) {
    m_weightField = widgets::lineEdit(QStringLiteral("txtTaiInp"), box);
    m_bodyFatField = widgets::lineEdit(QStringLiteral("txtShiInp"), box);
    for (QLineEdit* field : {m_weightField, m_bodyFatField}) {
        field->setAlignment(Qt::AlignRight);
        field->setFixedWidth(scaledPixels(90, box));
        QFont f = field->font();
        f.setPointSizeF(f.pointSizeF() + 3);
        field->setFont(f);
        field->installEventFilter(this);
    }
    m_weightUpButton = arrowButton("cmdUp", QStringLiteral("↑"), box);
    m_weightDownButton = arrowButton("cmdDn", QStringLiteral("↓"), box);
    m_bodyFatUpButton = arrowButton("cmdUp1", QStringLiteral("↑"), box);
    m_bodyFatDownButton = arrowButton("cmdDn1", QStringLiteral("↓"), box);
    m_saveButton = pictureButton("cmdTaiHozon", QStringLiteral("測定値を保存します"), box);
    m_saveButton->setIconSize(QSize(scaledPixels(40, box), scaledPixels(40, box)));

    auto* values = new QGridLayout;
    values->setVerticalSpacing(4);
    values->addWidget(new QLabel(QStringLiteral("体重（Kg）"), box), 0, 0, 1, 3);
    values->addWidget(m_weightField, 1, 0);
    values->addWidget(m_weightUpButton, 1, 1);
    values->addWidget(m_weightDownButton, 1, 2);
    values->setRowMinimumHeight(2, 10);
    values->addWidget(new QLabel(QStringLiteral("体脂肪率（％）"), box), 3, 0, 1, 3);
    values->addWidget(m_bodyFatField, 4, 0);
    values->addWidget(m_bodyFatUpButton, 4, 1);
    values->addWidget(m_bodyFatDownButton, 4, 2);
    values->setRowMinimumHeight(5, 10);
    values->addWidget(m_saveButton, 6, 0, 1, 3, Qt::AlignCenter);
    values->setRowStretch(7, 1);
    return values;
}

void MainPanel::connectEntry() {
    connect(m_situationList, &QListWidget::itemClicked, this, &MainPanel::onSituationClicked);
    connect(m_situationList, &ChoiceList::chosenByKeyboard, this, &MainPanel::onSituationChosenByKeyboard);
    connect(m_freeSituationButton, &QToolButton::clicked, this, &MainPanel::onFree);
    connect(m_timeButton, &QToolButton::clicked, this, &MainPanel::onTime);
    connect(m_weightUpButton, &QPushButton::clicked, this,
            [this] { onStep(m_weightField, m_state.steps.weightStep, +1); });
    connect(m_weightDownButton, &QPushButton::clicked, this,
            [this] { onStep(m_weightField, m_state.steps.weightStep, -1); });
    connect(m_bodyFatUpButton, &QPushButton::clicked, this,
            [this] { onStep(m_bodyFatField, m_state.steps.fatStep, +1); });
    connect(m_bodyFatDownButton, &QPushButton::clicked, this,
            [this] { onStep(m_bodyFatField, m_state.steps.fatStep, -1); });
    connect(m_saveButton, &QToolButton::clicked, this, &MainPanel::onSave);
    connect(m_weightField, &QLineEdit::returnPressed, this, [this] {
        if (!m_weightField->text().isEmpty())
            m_bodyFatField->setFocus(Qt::TabFocusReason);
    });
    connect(m_bodyFatField, &QLineEdit::returnPressed, this, [this] {
        if (!m_bodyFatField->text().isEmpty())
            m_saveButton->setFocus(Qt::TabFocusReason);
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
    m_host.hidePanels();
    setVisible(true);
}

void MainPanel::refresh() {
    m_log = log();
    const MainView view = mainview::buildMainView(m_log->records, m_shownDate, m_state.profile.height);
    m_state.main = view.values;
    paint(view, true);
    judgeBmi();
}

void MainPanel::selectDate(const QDate& date) {
    m_calendar->setSelectedDate(date);
}

QDate MainPanel::selectedDate() const {
    return m_calendar->selectedDate();
}

void MainPanel::setSituations(const QStringList& words) {
    m_situationList->clear();
    m_situationList->addItems(words);
}

void MainPanel::appendSituation(const QString& word) {
    m_situationList->addItem(word);
}

void MainPanel::setStepButtonsEnabled(bool enabled) {
    for (QPushButton* b : {m_weightDownButton, m_weightUpButton, m_bodyFatDownButton, m_bodyFatUpButton})
        b->setEnabled(enabled);
}

void MainPanel::selectMixedMode() {
    if (m_mixedOption->isChecked())
        onChartMode();
    else
        m_mixedOption->setChecked(true);
}

void MainPanel::buildMainView() {
    m_log = log();
    m_shownDate = m_calendar->selectedDate();
    const MainView view = mainview::buildMainView(m_log->records, m_shownDate, m_state.profile.height);
    m_state.main = view.values;
    paint(view);
    judgeBmi();
    // the entry starts empty: a situation must be chosen again
    m_selectedSituation.clear();
    m_weightField->clear();
    m_bodyFatField->clear();
}

void MainPanel::paint(const MainView& view, bool keepPlace) {
    if (keepPlace)
        m_dayList->updateModel(view.dayList);
    else
        m_dayList->setModel(view.dayList);
    m_chart->setChart(view.chart);
    m_daysLabel->setText(view.daysText);
    m_weightLabel->setText(view.weightText);
    m_bmiLabel->setText(view.bmiText);
    m_obesityLabel->setText(view.obesityText);
    showTrend();
    showFace(view.face);
}

void MainPanel::showTrend() {
    m_trendLabel->setText(trend::progressText(trend::compute(m_log->records, {}, m_state.profile.targetWeight)));
}

void MainPanel::showFace(const QString& name) {
    for (QLabel* face : {m_laughingFace, m_smilingFace, m_sulkyFace, m_blankFace})
        face->setVisible(face->objectName() == name);
}

void MainPanel::judgeBmi() {
    if (!m_state.meter.judgeBmi(m_state.main.currentWeight, m_state.profile.height, m_state.main.recordCount))
        return;
    m_indicator->placePointer(m_state.meter.meterBmi());
    const body::BodyType& type = m_state.meter.figures().currentType;
    m_bodyTypeLabel->setText(type.word);
    m_bodyTypeLabel->setStyleSheet(QStringLiteral("background: %1; color: #1a1a1a; border: 1px solid #b8aec8; "
                                                  "border-radius: 4px; font-weight: bold; padding: 2px 8px;")
                                       .arg(widgets::colourCss(type.colour)));
    Q_EMIT meterChanged();
}

void MainPanel::applyMarkerStyle() {
    switch (m_state.markerMode) {
    case 0:
        m_chart->setMarkerStyle(ChartView::MarkerStyle::None);
        break;
    case 1:
        m_chart->setMarkerStyle(ChartView::MarkerStyle::Circle);
        break;
    default:
        m_chart->setMarkerStyle(ChartView::MarkerStyle::Ball);
        break;
    }
}

void MainPanel::prepareEntry() {
    m_weightField->setText(shortestText(m_state.main.currentWeight));
    m_weightDownButton->setEnabled(true);
    m_weightUpButton->setEnabled(true);
    m_bodyFatField->setText(shortestText(m_state.main.currentBodyFat));
    m_bodyFatDownButton->setEnabled(true);
    m_bodyFatUpButton->setEnabled(true);
}

void MainPanel::onSituationClicked(QListWidgetItem* item) {
    if (!item)
        return;
    m_selectedSituation = item->text();
    prepareEntry();
    m_weightField->setFocus(Qt::OtherFocusReason);
}

void MainPanel::onSituationChosenByKeyboard(QListWidgetItem* item, bool confirmed) {
    // a move onto a word chooses it and leaves the focus for the next move; Enter goes on as a click
    if (confirmed) {
        onSituationClicked(item);
        return;
    }
    m_selectedSituation = item->text();
    prepareEntry();
}

void MainPanel::onTime() {
    m_selectedSituation = clock::timeText(clock::now());
    prepareEntry();
    m_weightField->setFocus(Qt::OtherFocusReason);
}

void MainPanel::onFree() {
    Dialogs& dialogs = *m_state.dialogs;
    const QString word = dialogs.input(entry::freePrompt(), QStringLiteral("状況フリー入力"));
    if (word.isEmpty())
        return;
    const Status problem = textFieldProblem(word, QStringLiteral("状況"));
    if (!problem) {
        dialogs.message(problem.message(), messages::unencodableTitle(), Dialogs::Icon::Warning);
        return;
    }
    m_selectedSituation = word;
    prepareEntry();
    const auto answer =
        dialogs.message(QStringLiteral("状況リストに追加しますか？\n\n"), QStringLiteral("状況リスト登録の有無"),
                        Dialogs::Icon::Question, Dialogs::Buttons::YesNo);
    if (answer == Dialogs::Answer::Yes) {
        const Status s = m_state.editor->run(messages::addSituationTitle(),
                                             [&] { return situations::appendWord(m_state.workDir, word); });
        m_host.noteFileWritten(files::kSituations);
        if (s)
            Q_EMIT situationAdded(word);
        else
            showFailure(dialogs, s);
    }
    m_weightField->selectAll();
    m_weightField->setFocus(Qt::OtherFocusReason);
}

void MainPanel::onStep(QLineEdit* field, const QString& step, int direction) {
    const auto text = entry::stepped(field->text(), step, direction);
    if (!text) {
        m_state.dialogs->message(text.message(), text.status().notice().title, Dialogs::Icon::Warning);
        return;
    }
    field->setText(*text);
}

void MainPanel::onSave() {
    Dialogs& dialogs = *m_state.dialogs;
    entry::Input in;
    in.sampleMode = m_state.sampleMode;
    in.situation = m_selectedSituation;
    in.weightText = m_weightField->text();
    in.fatText = m_bodyFatField->text();
    in.currentWeight = m_state.main.currentWeight;
    in.currentBodyFat = m_state.main.currentBodyFat;
    int from = 0;
    while (const auto check = entry::firstCheck(in, from)) {
        if (!check->confirm) {
            dialogs.message(check->notice.text, check->notice.title, Dialogs::Icon::Warning);
            return;
        }
        const auto answer = dialogs.message(check->notice.text, check->notice.title, Dialogs::Icon::Warning,
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
            dialogs.message(s.message(), messages::unencodableTitle(), Dialogs::Icon::Warning);
            return;
        }
        showFailure(dialogs, s);
        // a measurement that is in place, though not yet flushed to disk, is shown
        if (!s.inPlace())
            return;
    }
    m_state.editor->rememberSaved(saved.record);
    buildMainView();
    setStepButtonsEnabled(false);
}

void MainPanel::onChartMode() {
    const bool weight = !m_bodyFatOption->isChecked();
    const bool fat = !m_weightOption->isChecked();
    m_chart->setSeriesVisible(0, weight);
    m_chart->setSeriesVisible(1, fat);
    m_chart->setAxisVisible(ChartView::Axis::Primary, weight);
    m_chart->setAxisVisible(ChartView::Axis::Secondary, fat);
}

void MainPanel::onChartClicked() {
    m_state.markerMode = m_state.markerMode + 1 > 2 ? 0 : m_state.markerMode + 1;
    applyMarkerStyle();
    const Status s = settings::writeMarker(m_state.workDir, m_state.markerMode);
    m_host.noteFileWritten(files::kMarker);
    if (!s)
        showFailure(*m_state.dialogs, s);
}

void MainPanel::focusEntry() {
    m_situationList->setFocus(Qt::OtherFocusReason);
}

void MainPanel::onDateClicked(const QDate&) {
    buildMainView();
    focusEntry();
}

} // namespace puka::ui
