#include "GraphPanel.h"

#include "AppState.h"
#include "DataLog.h"
#include "FileNames.h"
#include "FolderReadings.h"
#include "PanelHost.h"
#include "Settings.h"
#include "controls/ButtonFace.h"
#include "controls/ChartView.h"
#include "controls/Dialogs.h"
#include "controls/Twips.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QEvent>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include <functional>

namespace puka::ui {
namespace {

const QColor kWeightColour(0x2B, 0x6C, 0xD9);
const QColor kAverageColour(0xDD, 0x3C, 0x3C);
const QColor kFatColour(0x3C, 0xA0, 0x5A);
const QColor kTrendColour(0x8E, 0x44, 0xAD);

// the trend is drawn after the panel's own three series
constexpr int kTrendSeries = 3;

QLabel* summaryLabel(const char* name, QWidget* parent) {
    auto* label = new QLabel(parent);
    label->setObjectName(QString::fromUtf8(name));
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    QFont f = label->font();
    f.setPointSizeF(f.pointSizeF() + 1);
    label->setFont(f);
    return label;
}

QRadioButton* choiceButton(const char* name, const QString& text, QWidget* parent) {
    auto* b = new QRadioButton(text, parent);
    b->setObjectName(QString::fromUtf8(name));
    return b;
}

// Catches Enter in the combo before the line edit and the combo each report it (a plain
// QComboBox reports one Enter twice), so that one key press applies the window once.
class EnterFilter : public QObject {
public:
    EnterFilter(QObject* parent, std::function<void()> onEnter) : QObject(parent), m_onEnter(std::move(onEnter)) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::KeyPress) {
            const int key = static_cast<QKeyEvent*>(event)->key();
            if (key == Qt::Key_Return || key == Qt::Key_Enter) {
                m_onEnter();
                return true;
            }
        }
        return QObject::eventFilter(watched, event);
    }

private:
    std::function<void()> m_onEnter;
};

// A log that cannot be read is reported; it gives no record.
void tellUnreadable(AppState& state, const LogContents& log) {
    if (!log.status.ok())
        state.dialogs->message(log.status.message(), QStringLiteral("読み込みエラー"), Dialogs::Icon::Critical);
}

} // namespace

AnalysisSnapshot readSnapshot(AppState& state, bool tell) {
    const std::shared_ptr<const LogContents> log = state.readings->log();
    if (tell)
        tellUnreadable(state, *log);
    return AnalysisSnapshot::load(log->records);
}

GraphPanel::GraphPanel(AppState& state, PanelHost& host, QWidget* parent) : Panel(state, host, "fraRenTai", parent) {
    // the summary across the top, the target toggle at its right
    auto* summary = new QFrame(this);
    summary->setObjectName(QStringLiteral("graphSummary"));
    summary->setStyleSheet(QStringLiteral("QFrame#graphSummary { background: #F6F8FC; border: 1px solid #D5DCE7; "
                                          "border-radius: 4px; } QFrame#graphSummary QLabel { color: #222B38; }"));
    lblNichis = summaryLabel("lblNichis", summary);
    lblKiro = summaryLabel("lblKiro", summary);
    cmdMokuChk = new QPushButton(summary);
    cmdMokuChk->setObjectName(QStringLiteral("cmdMokuChk"));
    cmdMokuChk->setToolTip(QStringLiteral("グラフの下限を目標体重と最小体重で切り替えます"));
    cmdMokuChk->setAutoDefault(false);
    cmdMokuChk->setMinimumSize(scaledPixels(190, this), scaledPixels(40, this));
    {
        QFont f = cmdMokuChk->font();
        f.setPointSizeF(f.pointSizeF() + 1);
        f.setBold(true);
        cmdMokuChk->setFont(f);
    }
    auto* texts = new QVBoxLayout;
    texts->setSpacing(4);
    texts->addWidget(lblNichis);
    texts->addWidget(lblKiro);
    auto* summaryRow = new QHBoxLayout(summary);
    summaryRow->setContentsMargins(12, 8, 12, 8);
    summaryRow->addLayout(texts, 1);
    summaryRow->addSpacing(12);
    summaryRow->addWidget(cmdMokuChk, 0, Qt::AlignVCenter);

    mcrRentai = new ChartView(this);
    mcrRentai->setObjectName(QStringLiteral("mcrRentai"));
    mcrRentai->setMinimumSize(scaledPixels(480, this), scaledPixels(300, this));
    mcrRentai->setAxisTitle(ChartView::Axis::Primary, QStringLiteral("体重 (Kg)"));
    mcrRentai->setAxisTitle(ChartView::Axis::Secondary, QStringLiteral("体脂肪率 (%)"));

    // the series choice and the moving-average window under the chart
    auto* choiceBox = new QGroupBox(QStringLiteral("表示"), this);
    optTai1 = choiceButton("optTai1", QStringLiteral("体重"), choiceBox);
    optShi1 = choiceButton("optShi1", QStringLiteral("体脂肪率"), choiceBox);
    optKon1 = choiceButton("optKon1", QStringLiteral("混合"), choiceBox);
    auto* choices = new QButtonGroup(this);
    auto* choiceRow = new QHBoxLayout(choiceBox);
    choiceRow->setContentsMargins(10, 4, 10, 4);
    choiceRow->setSpacing(16);
    const std::pair<QRadioButton*, graph::SeriesChoice> buttons[] = {
        {optTai1, graph::SeriesChoice::Weight},
        {optShi1, graph::SeriesChoice::BodyFat},
        {optKon1, graph::SeriesChoice::Mixed},
    };
    for (const auto& [button, choice] : buttons) {
        choices->addButton(button);
        choiceRow->addWidget(button);
        const graph::SeriesChoice c = choice;
        connect(button, &QRadioButton::clicked, this, [this, c] { showSeries(c); });
    }

    auto* windowBox = new QGroupBox(QStringLiteral("移動平均"), this);
    cboIdou = new QComboBox(windowBox);
    cboIdou->setObjectName(QStringLiteral("cboIdou"));
    cboIdou->setToolTip(QStringLiteral("何回分の体重を平均するかを選ぶか入力してEnterキーを押してください"));
    cboIdou->setEditable(true);
    cboIdou->setInsertPolicy(QComboBox::NoInsert);
    cboIdou->setCompleter(nullptr);
    cboIdou->setMaxVisibleItems(15);
    cboIdou->setMinimumWidth(scaledPixels(80, this));
    cboIdou->addItems(settings::idouChoices());
    auto* windowRow = new QHBoxLayout(windowBox);
    windowRow->setContentsMargins(10, 4, 10, 4);
    windowRow->addWidget(cboIdou);
    windowRow->addWidget(new QLabel(QStringLiteral("回分"), windowBox));

    // the situation whose weigh-ins the chart and the trend follow
    auto* situationBox = new QGroupBox(QStringLiteral("状況"), this);
    cboJyoukyou = new QComboBox(situationBox);
    cboJyoukyou->setObjectName(QStringLiteral("cboJyoukyou"));
    cboJyoukyou->setToolTip(QStringLiteral("選んだ状況で測った体重だけでグラフとトレンドを表示します"));
    cboJyoukyou->setMinimumWidth(scaledPixels(120, this));
    cboJyoukyou->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    cboJyoukyou->addItem(QStringLiteral("すべて"));
    auto* situationRow = new QHBoxLayout(situationBox);
    situationRow->setContentsMargins(10, 4, 10, 4);
    situationRow->addWidget(cboJyoukyou);

    auto* bottom = new QHBoxLayout;
    bottom->addWidget(choiceBox);
    bottom->addWidget(windowBox);
    bottom->addWidget(situationBox);
    bottom->addStretch(1);

    // the trend's figures beside the chart
    auto* trendBox = new QFrame(this);
    trendBox->setObjectName(QStringLiteral("graphTrend"));
    trendBox->setStyleSheet(QStringLiteral("QFrame#graphTrend { background: #F6F8FC; border: 1px solid #D5DCE7; "
                                           "border-radius: 4px; } QFrame#graphTrend QLabel { color: #222B38; }"));
    auto* trendColumn = new QVBoxLayout(trendBox);
    trendColumn->setContentsMargins(12, 10, 12, 10);
    trendColumn->setSpacing(2);
    const std::pair<const char*, QLabel**> figures[] = {{"トレンド", &lblTrend},
                                                        {"1週間の変化", &lblRate},
                                                        {"エネルギー収支", &lblBalance},
                                                        {"目標到達の見込み", &lblForecast}};
    const char* names[] = {"lblTrend", "lblRate", "lblBalance", "lblForecast"};
    int figure = 0;
    for (const auto& [caption, label] : figures) {
        auto* c = new QLabel(QString::fromUtf8(caption), trendBox);
        c->setStyleSheet(QStringLiteral("color: #5A6578;"));
        *label = summaryLabel(names[figure++], trendBox);
        QFont f = (*label)->font();
        f.setBold(true);
        (*label)->setFont(f);
        trendColumn->addWidget(c);
        trendColumn->addWidget(*label);
        trendColumn->addSpacing(8);
    }
    trendColumn->addStretch(1);

    auto* middle = new QHBoxLayout;
    middle->setSpacing(8);
    middle->addWidget(mcrRentai, 1);
    middle->addWidget(trendBox);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(8);
    layout->addWidget(summary);
    layout->addLayout(middle, 1);
    layout->addLayout(bottom);

    // An item chosen from the list applies at once. A plain editable combo also reports an
    // item when a typed text that matches one loses the focus; the window is applied only
    // by a choice or by Enter, so that report is cut off here.
    disconnect(cboIdou->lineEdit(), &QLineEdit::editingFinished, cboIdou, nullptr);
    connect(cboIdou, &QComboBox::activated, this, &GraphPanel::onWindowApplied);
    auto* enter = new EnterFilter(this, [this] { onWindowApplied(); });
    cboIdou->installEventFilter(enter);
    cboIdou->lineEdit()->installEventFilter(enter);
    connect(cmdMokuChk, &QPushButton::clicked, this, &GraphPanel::onMokuChk);
    connect(cboJyoukyou, &QComboBox::activated, this, &GraphPanel::onSituationChosen);
    setTabChain({cmdMokuChk, optTai1, optShi1, optKon1, cboIdou, cboJyoukyou});

    // an empty build gives the chart its four series, so their colours can be set now
    build({});
    paint();
    mcrRentai->setSeriesColour(0, kWeightColour);
    mcrRentai->setSeriesColour(1, kAverageColour);
    mcrRentai->setSeriesColour(2, kFatColour);
    mcrRentai->setSeriesColour(kTrendSeries, kTrendColour);
}

void GraphPanel::open() {
    DSP_RENTAI();
    // the panel always opens on the weight view, whatever was chosen before
    optTai1->setChecked(true);
    showSeries(graph::SeriesChoice::Weight);
    m_host.HIDE_PANELS();
    showWithGuidance(graph::guidanceText());
}

void GraphPanel::DSP_RENTAI() {
    // the combo takes the setting read at start-up; from then on it keeps what the user typed
    if (m_shownWindow != m_state.movingAverage) {
        cboIdou->setEditText(m_state.movingAverage);
        m_shownWindow = m_state.movingAverage;
    }
    rebuild(true);
    showAllSeries();
}

void GraphPanel::rebuildQuietly() {
    if (m_shownWindow != m_state.movingAverage) {
        cboIdou->setEditText(m_state.movingAverage);
        m_shownWindow = m_state.movingAverage;
    }
    rebuild(false);
}

void GraphPanel::refresh() {
    rebuildQuietly();
    showSeries(seriesChoice());
}

void GraphPanel::rebuild(bool tell) {
    const std::shared_ptr<const LogContents> reading = log();
    if (tell)
        tellUnreadable(m_state, *reading);
    if (reading != m_snapshotReading) {
        m_snapshot = AnalysisSnapshot::load(reading->records);
        m_snapshotReading = reading;
    }
    const BuildInputs inputs{reading, m_state.profile.targetWeight, cboIdou->currentText(), m_targetOn,
                             cboJyoukyou->currentIndex()};
    // the chart shown is the one these would build
    if (m_built == inputs)
        return;
    build(reading->records);
    paint();
    m_built = inputs;
}

void GraphPanel::build(const std::vector<WeightRecord>& records) {
    TrendChoice choice;
    m_chosenSnapshot.reset();
    if (cboJyoukyou->currentIndex() > 0) {
        choice.situation = cboJyoukyou->currentText();
        std::vector<WeightRecord> chosen;
        for (const WeightRecord& r : records)
            if (r.situation == *choice.situation)
                chosen.push_back(r);
        m_chosenSnapshot = AnalysisSnapshot::load(chosen);
    }
    const float target = m_state.profile.targetWeight;
    m_view = graph::DSP_RENTAI(shownSnapshot(), target, cboIdou->currentText(), m_targetOn);
    const TrendView chosenTrend = trend::compute(records, choice, target);
    m_view.mcrRentai.series.push_back(trend::recordSeries(chosenTrend, shownSnapshot().date));
    lblTrend->setText(chosenTrend.lblTrend);
    lblRate->setText(chosenTrend.lblRate);
    lblBalance->setText(chosenTrend.lblBalance);
    lblForecast->setText(chosenTrend.lblForecast);
}

void GraphPanel::setSituations(const QStringList& words) {
    // the choice stays on its word while the list still holds it
    const QString chosen = cboJyoukyou->currentIndex() > 0 ? cboJyoukyou->currentText() : QString();
    while (cboJyoukyou->count() > 1)
        cboJyoukyou->removeItem(1);
    cboJyoukyou->addItems(words);
    const int at = chosen.isEmpty() ? -1 : static_cast<int>(words.indexOf(chosen));
    cboJyoukyou->setCurrentIndex(at < 0 ? 0 : at + 1);
}

void GraphPanel::appendSituation(const QString& word) {
    cboJyoukyou->addItem(word);
}

graph::SeriesChoice GraphPanel::seriesChoice() const {
    if (optShi1->isChecked())
        return graph::SeriesChoice::BodyFat;
    if (optKon1->isChecked())
        return graph::SeriesChoice::Mixed;
    return graph::SeriesChoice::Weight;
}

void GraphPanel::onSituationChosen() {
    // the chart is built afresh from the log for the new choice; the view the user chose stays
    rebuild(true);
    showSeries(seriesChoice());
}

void GraphPanel::paint() {
    mcrRentai->setChart(m_view.mcrRentai);
    lblNichis->setText(m_view.lblNichis);
    lblKiro->setText(m_view.lblKiro);
    cmdMokuChk->setText(m_view.cmdMokuChk);
    // without a record there is no weight to bound the chart by
    cmdMokuChk->setEnabled(!shownSnapshot().empty());
    paintMokuChkColour();
}

void GraphPanel::showSeries(graph::SeriesChoice choice) {
    // the choice is worked out on the series' axes alone: the points stay where they are
    ChartModel shown;
    for (const ChartSeries& s : m_view.mcrRentai.series)
        shown.series.push_back(ChartSeries{s.name, s.secondaryAxis, {}, true});
    graph::applySeriesChoice(choice, &shown);
    for (size_t i = 0; i < shown.series.size(); ++i)
        mcrRentai->setSeriesVisible(static_cast<int>(i), shown.series[i].visible);
    mcrRentai->setAxisVisible(ChartView::Axis::Primary, shown.primary.visible);
    mcrRentai->setAxisVisible(ChartView::Axis::Secondary, shown.secondary.visible);
}

void GraphPanel::showAllSeries() {
    for (int i = 0; i < mcrRentai->seriesCount(); ++i)
        mcrRentai->setSeriesVisible(i, true);
    mcrRentai->setAxisVisible(ChartView::Axis::Primary, true);
    mcrRentai->setAxisVisible(ChartView::Axis::Secondary, true);
}

void GraphPanel::onWindowApplied() {
    const QString text = cboIdou->currentText();
    if (text.isEmpty())
        return;
    const std::optional<int> window = graph::windowOf(text);
    if (!window) {
        cboIdou->clearEditText();
        return;
    }
    // the moving average is refilled with the panel's own series; the trend stays as it is
    ChartSeries trendSeries = std::move(m_view.mcrRentai.series[kTrendSeries]);
    graph::SET_IDOU_HEIKIN(shownSnapshot(), *window, &m_view.mcrRentai);
    m_built.reset();
    m_view.mcrRentai.series.push_back(std::move(trendSeries));
    mcrRentai->setChart(m_view.mcrRentai);
    const Status s = settings::WRITE_IDOU(m_state.workDir, text);
    m_host.noteFileWritten(files::kMovingAverage);
    if (!s) {
        m_state.dialogs->message(s.message(), QStringLiteral("保存エラー"), Dialogs::Icon::Critical);
        return;
    }
    m_state.movingAverage = text;
    m_shownWindow = text;
}

void GraphPanel::onMokuChk() {
    m_targetOn = !m_targetOn;
    m_built.reset();
    const double minimum = graph::primaryMinimum(shownSnapshot(), m_state.profile.targetWeight, m_targetOn);
    // kept in the shown model too, so that a new moving average keeps the bound
    m_view.mcrRentai.primary.min = minimum;
    mcrRentai->setAxisLimits(ChartView::Axis::Primary, minimum, m_view.mcrRentai.primary.max);
    paintMokuChkColour();
}

void GraphPanel::paintMokuChkColour() {
    const std::optional<Rgb> colour = graph::mokuChkColour(m_targetOn);
    setButtonFace(cmdMokuChk, colour ? std::optional<QColor>(QColor::fromRgb(*colour)) : std::nullopt);
}

} // namespace puka::ui
