#pragma once

#include "core/files/DataLog.h"
#include "core/views/AnalysisSnapshot.h"
#include "core/views/AnalysisView.h"

#include "ui/panels/Panel.h"

#include <memory>
#include <optional>

class QGroupBox;
class QLabel;
class QRadioButton;

namespace puka::ui {

class GraphPanel;
class GridView;

/// The panel fraBunseki: the time series, the milestones, the running-mean trend and the
/// band ranking, all four from the snapshot the whole-period graph loads.
class AnalysisPanel : public Panel {
    Q_OBJECT
public:
    AnalysisPanel(AppState& state, PanelHost& host, QWidget* parent = nullptr);

    void open() override;
    QString helpPage() const override { return QStringLiteral("analysis.html"); }
    /// Fills the four lists again from the log as it is now, with the options chosen; the
    /// lists keep their chosen rows and scroll positions.
    void refresh() override;

    /// The graph panel whose buildGraph loads the snapshot the lists read; opening this panel
    /// rebuilds that graph too. Without one the panel loads a snapshot of its own.
    void setGraphPanel(GraphPanel* graph) { m_graph = graph; }

private:
    const AnalysisSnapshot& snapshot() const;
    analysis::DifferenceMode differenceMode() const;
    analysis::BandStep bandStep() const;
    /// Loads the snapshot and fills the four lists; a log that cannot be read is told when
    /// @p tell is set.
    void fillLists(bool tell);
    /// Shows the lists; @p keepPlace keeps each list's chosen row and scroll position.
    void paint(bool keepPlace = false);
    void onOption1();
    void onOption2();

    GraphPanel* m_graph = nullptr;
    AnalysisSnapshot m_ownSnapshot;
    /// What the panel shows; a list that a fill leaves alone keeps its texts here.
    AnalysisView m_view;
    /// What m_view was filled from.
    struct Filled {
        const AnalysisSnapshot* snapshot = nullptr;
        std::shared_ptr<const LogContents> reading;
        analysis::DifferenceMode differenceMode = analysis::DifferenceMode::Previous;
        analysis::BandStep bandStep = analysis::BandStep::Half;
        bool operator==(const Filled& o) const {
            return snapshot == o.snapshot && reading == o.reading && differenceMode == o.differenceMode &&
                   bandStep == o.bandStep;
        }
    };
    std::optional<Filled> m_filled;

    GridView* m_timeSeries;
    GridView* m_milestones;
    GridView* m_meanTrend;
    GridView* m_ranking;
    QLabel* m_milestoneSummary;
    QLabel* m_meanTrendSummary;
    QGroupBox* m_rankingFrame;
    QRadioButton* m_previousOption;
    QRadioButton* m_firstOption;
    QRadioButton* m_oneKiloOption;
    QRadioButton* m_halfKiloOption;
};

} // namespace puka::ui
