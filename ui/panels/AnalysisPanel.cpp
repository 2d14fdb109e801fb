#include "ui/panels/AnalysisPanel.h"

#include "ui/controls/GridView.h"
#include "ui/controls/Twips.h"
#include "ui/controls/Widgets.h"
#include "ui/panels/GraphPanel.h"
#include "ui/panels/PanelHost.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QRadioButton>
#include <QVBoxLayout>

namespace puka::ui {
namespace {

GridView* listGrid(const char* name, QWidget* parent) {
    GridView* grid = widgets::grid(QString::fromUtf8(name), parent);
    // the four columns share the frame's width, so the lists fill their frames at any size
    grid->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    grid->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    grid->setMinimumSize(scaledPixels(300, parent), scaledPixels(160, parent));
    return grid;
}

QLabel* resultLabel(const char* name, QWidget* parent) {
    QLabel* label = widgets::namedLabel(QString::fromUtf8(name), parent);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    label->setMinimumHeight(scaledPixels(24, parent));
    // red on a pale face of its own, readable on a light and a dark window alike
    label->setStyleSheet(QStringLiteral("color: #B03A48; background: #FFF3F4; border: 1px solid #F1CDD2; "
                                        "border-radius: 3px; padding: 1px 6px; font-weight: bold;"));
    return label;
}

// A frame: its list over a footer row of option buttons or a result label.
void frameLayout(QGroupBox* frame, GridView* grid, const QList<QWidget*>& footer) {
    auto* column = new QVBoxLayout(frame);
    column->setContentsMargins(10, 8, 10, 8);
    column->setSpacing(6);
    column->addWidget(grid, 1);
    auto* row = new QHBoxLayout;
    row->setSpacing(16);
    for (QWidget* w : footer)
        row->addWidget(w);
    row->addStretch(1);
    column->addLayout(row);
}

} // namespace

AnalysisPanel::AnalysisPanel(AppState& state, PanelHost& host, QWidget* parent)
    : Panel(state, host, "fraBunseki", parent), m_view(analysis::emptyAnalysisView()) {
    auto* timeSeriesFrame = new QGroupBox(QStringLiteral("    時系列体重データ"), this);
    auto* milestonesFrame = new QGroupBox(QStringLiteral("    区切り経過"), this);
    auto* meanTrendFrame = new QGroupBox(QStringLiteral("    体重平均推移"), this);
    m_rankingFrame = new QGroupBox(m_view.rankingCaption, this);
    m_rankingFrame->setObjectName(QStringLiteral("fraB4"));

    m_timeSeries = listGrid("msgB1", timeSeriesFrame);
    m_milestones = listGrid("msgB2", milestonesFrame);
    m_meanTrend = listGrid("msgB3", meanTrendFrame);
    m_ranking = listGrid("msgB4", m_rankingFrame);
    m_milestoneSummary = resultLabel("Label5(0)", milestonesFrame);
    m_meanTrendSummary = resultLabel("Label5(1)", meanTrendFrame);

    m_previousOption =
        widgets::radioButton(QStringLiteral("Option1(0)"), QStringLiteral("前回との差"), timeSeriesFrame);
    m_firstOption = widgets::radioButton(QStringLiteral("Option1(1)"), QStringLiteral("初回との差"), timeSeriesFrame);
    m_oneKiloOption =
        widgets::radioButton(QStringLiteral("Option2(0)"), QStringLiteral("１.０Ｋｇ刻み"), m_rankingFrame);
    m_halfKiloOption =
        widgets::radioButton(QStringLiteral("Option2(1)"), QStringLiteral("０.５Ｋｇ刻み"), m_rankingFrame);
    m_previousOption->setChecked(true);
    m_halfKiloOption->setChecked(true);
    auto* option1 = new QButtonGroup(this);
    auto* option2 = new QButtonGroup(this);
    for (QRadioButton* b : {m_previousOption, m_firstOption}) {
        option1->addButton(b);
        connect(b, &QRadioButton::clicked, this, &AnalysisPanel::onOption1);
    }
    for (QRadioButton* b : {m_oneKiloOption, m_halfKiloOption}) {
        option2->addButton(b);
        connect(b, &QRadioButton::clicked, this, &AnalysisPanel::onOption2);
    }

    frameLayout(timeSeriesFrame, m_timeSeries, {m_previousOption, m_firstOption});
    frameLayout(milestonesFrame, m_milestones, {m_milestoneSummary});
    frameLayout(meanTrendFrame, m_meanTrend, {m_meanTrendSummary});
    frameLayout(m_rankingFrame, m_ranking, {m_oneKiloOption, m_halfKiloOption});

    auto* layout = new QGridLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(10);
    layout->addWidget(timeSeriesFrame, 0, 0);
    layout->addWidget(milestonesFrame, 0, 1);
    layout->addWidget(meanTrendFrame, 1, 0);
    layout->addWidget(m_rankingFrame, 1, 1);
    for (int i = 0; i < 2; ++i) {
        layout->setRowStretch(i, 1);
        layout->setColumnStretch(i, 1);
    }
    // frame by frame, left to right and top to bottom, each list before its options
    setTabChain({m_timeSeries, m_previousOption, m_firstOption, m_milestones, m_meanTrend, m_ranking, m_oneKiloOption,
                 m_halfKiloOption});
    paint();
}

void AnalysisPanel::open() {
    m_host.hidePanels();
    fillLists(true);
    paint();
    showWithGuidance(analysis::guidanceText());
}

void AnalysisPanel::refresh() {
    fillLists(false);
    paint(true);
}

void AnalysisPanel::fillLists(bool tell) {
    // the graph's buildGraph loads the snapshot and rebuilds the hidden whole-period chart
    if (m_graph) {
        if (tell)
            m_graph->buildGraph();
        else
            m_graph->rebuildQuietly();
    } else {
        m_ownSnapshot = readSnapshot(m_state, tell);
    }
    const AnalysisSnapshot& snap = snapshot();
    // the lists of an unchanged snapshot and options are the ones filled before
    const Filled filled{&snap, m_graph ? m_graph->snapshotReading() : nullptr, differenceMode(), bandStep()};
    if (m_filled == filled && m_graph)
        return;
    // without a record the lists show no rows rather than those of a log that is gone
    if (snap.empty())
        m_view = analysis::emptyAnalysisView();
    analysis::fill(snap, differenceMode(), bandStep(), &m_view);
    m_filled = filled;
}

const AnalysisSnapshot& AnalysisPanel::snapshot() const {
    return m_graph ? m_graph->snapshot() : m_ownSnapshot;
}

analysis::DifferenceMode AnalysisPanel::differenceMode() const {
    return m_firstOption->isChecked() ? analysis::DifferenceMode::First : analysis::DifferenceMode::Previous;
}

analysis::BandStep AnalysisPanel::bandStep() const {
    return m_oneKiloOption->isChecked() ? analysis::BandStep::One : analysis::BandStep::Half;
}

void AnalysisPanel::paint(bool keepPlace) {
    const std::pair<GridView*, const GridModel*> lists[] = {{m_timeSeries, &m_view.timeSeries},
                                                            {m_milestones, &m_view.milestones},
                                                            {m_meanTrend, &m_view.meanTrend},
                                                            {m_ranking, &m_view.ranking}};
    for (const auto& [grid, model] : lists) {
        if (keepPlace)
            grid->updateModel(*model);
        else
            grid->setModel(*model);
    }
    m_milestoneSummary->setText(m_view.milestoneSummary);
    m_meanTrendSummary->setText(m_view.meanTrendSummary);
    m_rankingFrame->setTitle(m_view.rankingCaption);
}

void AnalysisPanel::onOption1() {
    m_filled.reset();
    analysis::fillTimeSeries(snapshot(), differenceMode(), &m_view.timeSeries);
    m_timeSeries->setModel(m_view.timeSeries);
}

void AnalysisPanel::onOption2() {
    m_filled.reset();
    analysis::fillRanking(snapshot(), bandStep(), &m_view.ranking, &m_view.rankingCaption);
    m_ranking->setModel(m_view.ranking);
    m_rankingFrame->setTitle(m_view.rankingCaption);
}

} // namespace puka::ui
