#include "ui/panels/GraphPanel.h"

#include "core/base/Messages.h"
#include "core/files/DataLog.h"
#include "core/files/FileNames.h"
#include "core/files/FolderReadings.h"
#include "core/files/Settings.h"
#include "ui/AppState.h"
#include "ui/controls/ButtonFace.h"
#include "ui/controls/ChartView.h"
#include "ui/controls/Dialogs.h"
#include "ui/controls/Twips.h"
#include "ui/controls/Widgets.h"
#include "ui/panels/PanelHost.h"

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

QLabel* summaryLabel(const char* name, QWidget* parent) {
    QLabel* label = widgets::namedLabel(QString::fromUtf8(name), parent);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    QFont f = label->font();
    f.setPointSizeF(f.pointSizeF() + 1);
    label->setFont(f);
    return label;
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
        showFailure(*state.dialogs, log.status.titled(messages::readErrorTitle()));
}

} // namespace

AnalysisSnapshot readSnapshot(AppState& state, bool tell) {
    const std::shared_ptr<const LogContents> log = state.readings->log();
    if (tell)
        tellUnreadable(state, *log);
    return AnalysisSnapshot::load(log->records);
}

GraphPanel::GraphPanel(AppState& state, PanelHost& host, QWidget* parent) : Panel(state, host, "fraRenTai", parent) {
    QFrame* summary = buildSummary();
    buildChart();
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(buildSeriesChoice());
    bottom->addWidget(buildWindowBox());
    bottom->addWidget(buildSituationBox());
    bottom->addStretch(1);
    QFrame* trendBox = buildTrendBox();

    auto* middle = new QHBoxLayout;
    middle->setSpacing(8);
    middle->addWidget(m_chart, 1);
    middle->addWidget(trendBox);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(8);
    layout->addWidget(summary);
    layout->addLayout(middle, 1);
    layout->addLayout(bottom);
    connectControls();

    // an empty build gives the chart its four series, so their colours can be set now
    build({});
    paint();
    m_chart->setSeriesColour(0, kWeightColour);
    m_chart->setSeriesColour(1, kAverageColour);
    m_chart->setSeriesColour(2, kFatColour);
    m_chart->setSeriesColour(graph::kTrendSeries, kTrendColour);
}

QFrame* GraphPanel::buildSummary() {
    // the summary across the top, the target toggle at its right
    auto* summary = new QFrame(this);
    summary->setObjectName(QStringLiteral("graphSummary"));
    summary->setStyleSheet(QStringLiteral("QFrame#graphSummary { background: #F6F8FC; border: 1px solid #D5DCE7; "
                                          "border-radius: 4px; } QFrame#graphSummary QLabel { color: #222B38; }"));
    m_periodLabel = summaryLabel("lblNichis", summary);
    m_lowestLabel = summaryLabel("lblKiro", summary);
    m_targetButton = widgets::pushButton(QStringLiteral("cmdMokuChk"), QString(), summary);
    m_targetButton->setToolTip(QStringLiteral("グラフの下限を目標体重と最小体重で切り替えます"));
    m_targetButton->setMinimumSize(scaledPixels(190, this), scaledPixels(40, this));
    QFont f = m_targetButton->font();
    f.setPointSizeF(f.pointSizeF() + 1);
    f.setBold(true);
    m_targetButton->setFont(f);
    auto* texts = new QVBoxLayout;
    texts->setSpacing(4);
    texts->addWidget(m_periodLabel);
    texts->addWidget(m_lowestLabel);
    auto* summaryRow = new QHBoxLayout(summary);
    summaryRow->setContentsMargins(12, 8, 12, 8);
    summaryRow->addLayout(texts, 1);
    summaryRow->addSpacing(12);
    summaryRow->addWidget(m_targetButton, 0, Qt::AlignVCenter);
    return summary;
}

void GraphPanel::buildChart() {
    m_chart = new ChartView(this);
    m_chart->setObjectName(QStringLiteral("mcrRentai"));
    m_chart->setMinimumSize(scaledPixels(480, this), scaledPixels(300, this));
    m_chart->setAxisTitle(ChartView::Axis::Primary, QStringLiteral("体重 (Kg)"));
    m_chart->setAxisTitle(ChartView::Axis::Secondary, QStringLiteral("体脂肪率 (%)"));
}

QGroupBox* GraphPanel::buildSeriesChoice() {
    // the series choice and the moving-average window under the chart
    auto* choiceBox = new QGroupBox(QStringLiteral("表示"), this);
    m_weightOption = widgets::radioButton(QStringLiteral("optTai1"), QStringLiteral("体重"), choiceBox);
    m_bodyFatOption = widgets::radioButton(QStringLiteral("optShi1"), QStringLiteral("体脂肪率"), choiceBox);
    m_mixedOption = widgets::radioButton(QStringLiteral("optKon1"), QStringLiteral("混合"), choiceBox);
    auto* choices = new QButtonGroup(this);
    auto* choiceRow = new QHBoxLayout(choiceBox);
    choiceRow->setContentsMargins(10, 4, 10, 4);
    choiceRow->setSpacing(16);
    const std::pair<QRadioButton*, graph::SeriesChoice> buttons[] = {
        {m_weightOption, graph::SeriesChoice::Weight},
        {m_bodyFatOption, graph::SeriesChoice::BodyFat},
        {m_mixedOption, graph::SeriesChoice::Mixed},
    };
    for (const auto& [button, choice] : buttons) {
        choices->addButton(button);
        choiceRow->addWidget(button);
        const graph::SeriesChoice c = choice;
        connect(button, &QRadioButton::clicked, this, [this, c] { showSeries(c); });
    }
    return choiceBox;
}

QGroupBox* GraphPanel::buildWindowBox() {
    auto* windowBox = new QGroupBox(QStringLiteral("移動平均"), this);
    m_windowBox = new QComboBox(windowBox);
    m_windowBox->setObjectName(QStringLiteral("cboIdou"));
    m_windowBox->setToolTip(QStringLiteral("何回分の体重を平均するかを選ぶか入力してEnterキーを押してください"));
    m_windowBox->setEditable(true);
    m_windowBox->setInsertPolicy(QComboBox::NoInsert);
    m_windowBox->setCompleter(nullptr);
    m_windowBox->setMaxVisibleItems(15);
    m_windowBox->setMinimumWidth(scaledPixels(80, this));
    m_windowBox->addItems(settings::movingAverageChoices());
    auto* windowRow = new QHBoxLayout(windowBox);
    windowRow->setContentsMargins(10, 4, 10, 4);
    windowRow->addWidget(m_windowBox);
    windowRow->addWidget(new QLabel(QStringLiteral("回分"), windowBox));
    return windowBox;
}

QGroupBox* GraphPanel::buildSituationBox() {
    // the situation whose weigh-ins the chart and the trend follow
    auto* situationBox = new QGroupBox(QStringLiteral("状況"), this);
    m_situationBox = new QComboBox(situationBox);
    m_situationBox->setObjectName(QStringLiteral("cboJyoukyou"));
    m_situationBox->setToolTip(QStringLiteral("選んだ状況で測った体重だけでグラフとトレンドを表示します"));
    m_situationBox->setMinimumWidth(scaledPixels(120, this));
    m_situationBox->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    m_situationBox->addItem(QStringLiteral("すべて"));
    auto* situationRow = new QHBoxLayout(situationBox);
    situationRow->setContentsMargins(10, 4, 10, 4);
    situationRow->addWidget(m_situationBox);
    return situationBox;
}

QFrame* GraphPanel::buildTrendBox() {
    // the trend's figures beside the chart
    auto* trendBox = new QFrame(this);
    trendBox->setObjectName(QStringLiteral("graphTrend"));
    trendBox->setStyleSheet(QStringLiteral("QFrame#graphTrend { background: #F6F8FC; border: 1px solid #D5DCE7; "
                                           "border-radius: 4px; } QFrame#graphTrend QLabel { color: #222B38; }"));
    auto* trendColumn = new QVBoxLayout(trendBox);
    trendColumn->setContentsMargins(12, 10, 12, 10);
    trendColumn->setSpacing(2);
    const std::pair<const char*, QLabel**> figures[] = {{"トレンド", &m_trendLabel},
                                                        {"1週間の変化", &m_rateLabel},
                                                        {"エネルギー収支", &m_balanceLabel},
                                                        {"目標到達の見込み", &m_forecastLabel}};
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
    return trendBox;
}

void GraphPanel::connectControls() {
    // An item chosen from the list applies at once. A plain editable combo also reports an
    // item when a typed text that matches one loses the focus; the window is applied only
    // by a choice or by Enter, so that report is cut off here.
    disconnect(m_windowBox->lineEdit(), &QLineEdit::editingFinished, m_windowBox, nullptr);
    connect(m_windowBox, &QComboBox::activated, this, &GraphPanel::onWindowApplied);
    auto* enter = new EnterFilter(this, [this] { onWindowApplied(); });
    m_windowBox->installEventFilter(enter);
    m_windowBox->lineEdit()->installEventFilter(enter);
    connect(m_targetButton, &QPushButton::clicked, this, &GraphPanel::onTargetToggled);
    connect(m_situationBox, &QComboBox::activated, this, &GraphPanel::onSituationChosen);
    setTabChain({m_targetButton, m_weightOption, m_bodyFatOption, m_mixedOption, m_windowBox, m_situationBox});
}

void GraphPanel::open() {
    buildGraph();
    // the panel always opens on the weight view, whatever was chosen before
    m_weightOption->setChecked(true);
    showSeries(graph::SeriesChoice::Weight);
    m_host.hidePanels();
    showWithGuidance(graph::guidanceText());
}

void GraphPanel::buildGraph() {
    // the combo takes the setting read at start-up; from then on it keeps what the user typed
    if (m_shownWindow != m_state.movingAverage) {
        m_windowBox->setEditText(m_state.movingAverage);
        m_shownWindow = m_state.movingAverage;
    }
    rebuild(true);
    showAllSeries();
}

void GraphPanel::rebuildQuietly() {
    if (m_shownWindow != m_state.movingAverage) {
        m_windowBox->setEditText(m_state.movingAverage);
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
    const BuildInputs inputs{reading, m_state.profile.targetWeight, m_windowBox->currentText(), m_targetOn,
                             m_situationBox->currentIndex()};
    // the chart shown is the one these would build
    if (m_built == inputs)
        return;
    build(reading->records);
    paint();
    m_built = inputs;
}

void GraphPanel::build(const std::vector<WeightRecord>& records) {
    std::optional<QString> situation;
    if (m_situationBox->currentIndex() > 0)
        situation = m_situationBox->currentText();
    m_view = graph::buildWithTrend(records, m_snapshot, situation, m_state.profile.targetWeight,
                                   m_windowBox->currentText(), m_targetOn);
}

void GraphPanel::setSituations(const QStringList& words) {
    // the choice stays on its word while the list still holds it
    const QString chosen = m_situationBox->currentIndex() > 0 ? m_situationBox->currentText() : QString();
    while (m_situationBox->count() > 1)
        m_situationBox->removeItem(1);
    m_situationBox->addItems(words);
    const int at = chosen.isEmpty() ? -1 : static_cast<int>(words.indexOf(chosen));
    m_situationBox->setCurrentIndex(at < 0 ? 0 : at + 1);
}

void GraphPanel::appendSituation(const QString& word) {
    m_situationBox->addItem(word);
}

graph::SeriesChoice GraphPanel::seriesChoice() const {
    if (m_bodyFatOption->isChecked())
        return graph::SeriesChoice::BodyFat;
    if (m_mixedOption->isChecked())
        return graph::SeriesChoice::Mixed;
    return graph::SeriesChoice::Weight;
}

void GraphPanel::onSituationChosen() {
    // the chart is built afresh from the log for the new choice; the view the user chose stays
    rebuild(true);
    showSeries(seriesChoice());
}

void GraphPanel::paint() {
    m_chart->setChart(m_view.graph.chart);
    m_periodLabel->setText(m_view.graph.periodText);
    m_lowestLabel->setText(m_view.graph.lowestText);
    m_targetButton->setText(m_view.graph.targetCaption);
    m_trendLabel->setText(m_view.trend.trendText);
    m_rateLabel->setText(m_view.trend.rateText);
    m_balanceLabel->setText(m_view.trend.balanceText);
    m_forecastLabel->setText(m_view.trend.forecastText);
    // without a record there is no weight to bound the chart by
    m_targetButton->setEnabled(!shownSnapshot().empty());
    paintTargetColour();
}

void GraphPanel::showSeries(graph::SeriesChoice choice) {
    // the choice is worked out on the series' axes alone: the points stay where they are
    ChartModel shown;
    for (const ChartSeries& s : m_view.graph.chart.series)
        shown.series.push_back(ChartSeries{s.name, s.secondaryAxis, {}, true});
    graph::applySeriesChoice(choice, &shown);
    for (size_t i = 0; i < shown.series.size(); ++i)
        m_chart->setSeriesVisible(static_cast<int>(i), shown.series[i].visible);
    m_chart->setAxisVisible(ChartView::Axis::Primary, shown.primary.visible);
    m_chart->setAxisVisible(ChartView::Axis::Secondary, shown.secondary.visible);
}

void GraphPanel::showAllSeries() {
    for (int i = 0; i < m_chart->seriesCount(); ++i)
        m_chart->setSeriesVisible(i, true);
    m_chart->setAxisVisible(ChartView::Axis::Primary, true);
    m_chart->setAxisVisible(ChartView::Axis::Secondary, true);
}

void GraphPanel::onWindowApplied() {
    const QString text = m_windowBox->currentText();
    if (text.isEmpty())
        return;
    const std::optional<int> window = graph::windowOf(text);
    if (!window) {
        m_windowBox->clearEditText();
        return;
    }
    // the moving average is refilled with the panel's own series; the trend stays as it is
    ChartModel& chart = m_view.graph.chart;
    ChartSeries trendSeries = std::move(chart.series[graph::kTrendSeries]);
    graph::fillChartSeries(shownSnapshot(), *window, &chart);
    m_built.reset();
    chart.series.push_back(std::move(trendSeries));
    m_chart->setChart(chart);
    const Status s = settings::writeMovingAverage(m_state.workDir, text);
    m_host.noteFileWritten(files::kMovingAverage);
    if (!s) {
        showFailure(*m_state.dialogs, s);
        return;
    }
    m_state.movingAverage = text;
    m_shownWindow = text;
}

void GraphPanel::onTargetToggled() {
    m_targetOn = !m_targetOn;
    m_built.reset();
    const double minimum = graph::primaryMinimum(shownSnapshot(), m_state.profile.targetWeight, m_targetOn);
    // kept in the shown model too, so that a new moving average keeps the bound
    m_view.graph.chart.primary.min = minimum;
    m_chart->setAxisLimits(ChartView::Axis::Primary, minimum, m_view.graph.chart.primary.max);
    paintTargetColour();
}

void GraphPanel::paintTargetColour() {
    const std::optional<Rgb> colour = graph::targetButtonColour(m_targetOn);
    setButtonFace(m_targetButton, colour ? std::optional<QColor>(QColor::fromRgb(*colour)) : std::nullopt);
}

} // namespace puka::ui
