#pragma once

#include "AnalysisSnapshot.h"
#include "GraphView.h"

#include "Panel.h"

#include <optional>

class QComboBox;
class QLabel;
class QPushButton;
class QRadioButton;

namespace puka::ui {

class ChartView;

/// The log as the analyses read it. A log that cannot be read is reported to the user and
/// gives an empty snapshot; a missing log gives an empty snapshot silently.
AnalysisSnapshot readSnapshot(AppState& state);

/// The panel fraRenTai: the whole-period chart with its moving average, the two summary
/// labels, the target toggle and the series choice. It owns the form-level snapshot that
/// the analysis panel reads as well.
class GraphPanel : public Panel {
    Q_OBJECT
public:
    GraphPanel(AppState& state, PanelHost& host, QWidget* parent = nullptr);

    void open() override;
    QString helpPage() const override { return QStringLiteral("graph.html"); }

    /// DSP_RENTAI: reads the log into the snapshot and rebuilds the chart, its axes, both
    /// labels and the caption of the target toggle, whether the panel is shown or not.
    void DSP_RENTAI();
    /// The snapshot the last DSP_RENTAI loaded.
    const AnalysisSnapshot& snapshot() const { return m_snapshot; }

private:
    void paint();
    void showSeries(graph::SeriesChoice choice);
    void showAllSeries();
    void onWindowApplied();
    void onMokuChk();
    void paintMokuChkColour();

    AnalysisSnapshot m_snapshot;
    GraphView m_view; ///< what is shown; every series in it stays visible, the choice lives in the view
    bool m_targetOn = false;
    /// The setting last put into the combo: the combo follows the shared state only when the
    /// state has moved on, so a text typed and not yet applied survives a reopening.
    std::optional<QString> m_shownWindow;

    ChartView* mcrRentai;
    QComboBox* cboIdou;
    QLabel* lblNichis;
    QLabel* lblKiro;
    QPushButton* cmdMokuChk;
    QRadioButton* optTai1;
    QRadioButton* optShi1;
    QRadioButton* optKon1;
};

} // namespace puka::ui
