#include "AnalysisPanel.h"

#include "GraphPanel.h"
#include "PanelHost.h"
#include "controls/GridView.h"
#include "controls/Twips.h"

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
    auto* grid = new GridView(parent);
    grid->setObjectName(QString::fromUtf8(name));
    // the four columns share the frame's width, so the lists fill their frames at any size
    grid->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    grid->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    grid->setMinimumSize(scaledPixels(300, parent), scaledPixels(160, parent));
    return grid;
}

QLabel* resultLabel(const char* name, QWidget* parent) {
    auto* label = new QLabel(parent);
    label->setObjectName(QString::fromUtf8(name));
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    label->setMinimumHeight(scaledPixels(24, parent));
    // red on a pale face of its own, readable on a light and a dark window alike
    label->setStyleSheet(QStringLiteral("color: #B03A48; background: #FFF3F4; border: 1px solid #F1CDD2; "
                                        "border-radius: 3px; padding: 1px 6px; font-weight: bold;"));
    return label;
}

QRadioButton* optionButton(const char* name, const QString& text, QWidget* parent) {
    auto* b = new QRadioButton(text, parent);
    b->setObjectName(QString::fromUtf8(name));
    return b;
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
    : Panel(state, host, "fraBunseki", parent), m_view(analysis::SET_BUNSEKI_GRID()) {
    auto* fraB1 = new QGroupBox(QStringLiteral("    時系列体重データ"), this);
    auto* fraB2 = new QGroupBox(QStringLiteral("    区切り経過"), this);
    auto* fraB3 = new QGroupBox(QStringLiteral("    体重平均推移"), this);
    fraB4 = new QGroupBox(m_view.fraB4Caption, this);
    fraB4->setObjectName(QStringLiteral("fraB4"));

    msgB1 = listGrid("msgB1", fraB1);
    msgB2 = listGrid("msgB2", fraB2);
    msgB3 = listGrid("msgB3", fraB3);
    msgB4 = listGrid("msgB4", fraB4);
    label5_0 = resultLabel("Label5(0)", fraB2);
    label5_1 = resultLabel("Label5(1)", fraB3);

    option1_0 = optionButton("Option1(0)", QStringLiteral("前回との差"), fraB1);
    option1_1 = optionButton("Option1(1)", QStringLiteral("初回との差"), fraB1);
    option2_0 = optionButton("Option2(0)", QStringLiteral("１.０Ｋｇ刻み"), fraB4);
    option2_1 = optionButton("Option2(1)", QStringLiteral("０.５Ｋｇ刻み"), fraB4);
    option1_0->setChecked(true);
    option2_1->setChecked(true);
    auto* option1 = new QButtonGroup(this);
    auto* option2 = new QButtonGroup(this);
    for (QRadioButton* b : {option1_0, option1_1}) {
        option1->addButton(b);
        connect(b, &QRadioButton::clicked, this, &AnalysisPanel::onOption1);
    }
    for (QRadioButton* b : {option2_0, option2_1}) {
        option2->addButton(b);
        connect(b, &QRadioButton::clicked, this, &AnalysisPanel::onOption2);
    }

    frameLayout(fraB1, msgB1, {option1_0, option1_1});
    frameLayout(fraB2, msgB2, {label5_0});
    frameLayout(fraB3, msgB3, {label5_1});
    frameLayout(fraB4, msgB4, {option2_0, option2_1});

    auto* layout = new QGridLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(10);
    layout->addWidget(fraB1, 0, 0);
    layout->addWidget(fraB2, 0, 1);
    layout->addWidget(fraB3, 1, 0);
    layout->addWidget(fraB4, 1, 1);
    for (int i = 0; i < 2; ++i) {
        layout->setRowStretch(i, 1);
        layout->setColumnStretch(i, 1);
    }
    // frame by frame, left to right and top to bottom, each list before its options
    setTabChain({msgB1, option1_0, option1_1, msgB2, msgB3, msgB4, option2_0, option2_1});
    paint();
}

void AnalysisPanel::open() {
    m_host.HIDE_PANELS();
    fillLists(true);
    paint();
    showWithGuidance(analysis::guidanceText());
}

void AnalysisPanel::refresh() {
    fillLists(false);
    paint(true);
}

void AnalysisPanel::fillLists(bool tell) {
    // the graph's DSP_RENTAI loads the snapshot and rebuilds the hidden whole-period chart
    if (m_graph) {
        if (tell)
            m_graph->DSP_RENTAI();
        else
            m_graph->rebuildQuietly();
    } else {
        m_ownSnapshot = readSnapshot(m_state, tell);
    }
    const AnalysisSnapshot& snap = snapshot();
    // the lists of an unchanged snapshot and options are the ones filled before
    const Filled filled{&snap, m_graph ? m_graph->snapshotReading() : nullptr, diffMode(), bandStep()};
    if (m_filled == filled && m_graph)
        return;
    // without a record the lists show no rows rather than those of a log that is gone
    if (snap.empty())
        m_view = analysis::SET_BUNSEKI_GRID();
    analysis::fill(snap, diffMode(), bandStep(), &m_view);
    m_filled = filled;
}

const AnalysisSnapshot& AnalysisPanel::snapshot() const {
    return m_graph ? m_graph->snapshot() : m_ownSnapshot;
}

analysis::DiffMode AnalysisPanel::diffMode() const {
    return option1_1->isChecked() ? analysis::DiffMode::First : analysis::DiffMode::Previous;
}

analysis::BandStep AnalysisPanel::bandStep() const {
    return option2_0->isChecked() ? analysis::BandStep::One : analysis::BandStep::Half;
}

void AnalysisPanel::paint(bool keepPlace) {
    const std::pair<GridView*, const GridModel*> lists[] = {
        {msgB1, &m_view.msgB1}, {msgB2, &m_view.msgB2}, {msgB3, &m_view.msgB3}, {msgB4, &m_view.msgB4}};
    for (const auto& [grid, model] : lists) {
        if (keepPlace)
            grid->updateModel(*model);
        else
            grid->setModel(*model);
    }
    label5_0->setText(m_view.label5_0);
    label5_1->setText(m_view.label5_1);
    fraB4->setTitle(m_view.fraB4Caption);
}

void AnalysisPanel::onOption1() {
    m_filled.reset();
    analysis::DSP_JIKEIRETSU(snapshot(), diffMode(), &m_view.msgB1);
    msgB1->setModel(m_view.msgB1);
}

void AnalysisPanel::onOption2() {
    m_filled.reset();
    analysis::DSP_BANZUKE(snapshot(), bandStep(), &m_view.msgB4, &m_view.fraB4Caption);
    msgB4->setModel(m_view.msgB4);
    fraB4->setTitle(m_view.fraB4Caption);
}

} // namespace puka::ui
