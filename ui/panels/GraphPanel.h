#pragma once

#include "core/files/DataLog.h"
#include "core/views/AnalysisSnapshot.h"
#include "core/views/GraphView.h"

#include "ui/panels/Panel.h"

#include <optional>

class QComboBox;
class QFrame;
class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;

namespace puka::ui {

class ChartView;

/// The log as the analyses read it. A log that cannot be read is reported to the user when
/// @p tell is set and gives an empty snapshot; a missing log gives an empty snapshot silently.
AnalysisSnapshot readSnapshot(AppState& state, bool tell = true);

/// The panel fraRenTai: the whole-period chart with its moving average and trend, the two
/// summary labels, the target toggle, the series choice, the situation choice and the trend's
/// rate, balance and forecast. It owns the form-level snapshot that the analysis panel reads
/// as well.
class GraphPanel : public Panel {
    Q_OBJECT
public:
    GraphPanel(AppState& state, PanelHost& host, QWidget* parent = nullptr);

    void open() override;
    QString helpPage() const override { return QStringLiteral("graph.html"); }
    /// Rebuilds the chart, the labels and the trend from the log as it is now; the series,
    /// the window typed, the target toggle and the situation chosen stay.
    void refresh() override;
    void setSituations(const QStringList& words) override;
    void appendSituation(const QString& word) override;

    /// Reads the log into the snapshot and rebuilds the chart, its axes, both
    /// labels and the caption of the target toggle, whether the panel is shown or not.
    void buildGraph();
    /// buildGraph() without telling the user about a log that cannot be read (the window does).
    void rebuildQuietly();
    /// The snapshot the last buildGraph loaded: every record, whatever situation is chosen.
    const AnalysisSnapshot& snapshot() const { return m_snapshot; }
    /// The reading the snapshot was loaded from.
    const std::shared_ptr<const LogContents>& snapshotReading() const { return m_snapshotReading; }

private:
    /// The two summary labels with the target toggle at their right.
    QFrame* buildSummary();
    void buildChart();
    QGroupBox* buildSeriesChoice();
    /// The moving-average window.
    QGroupBox* buildWindowBox();
    /// The situation the chart and the trend follow.
    QGroupBox* buildSituationBox();
    /// The trend's figures beside the chart.
    QFrame* buildTrendBox();
    void connectControls();
    /// Reads the log into the snapshot, builds and paints; a log that cannot be read is told
    /// when @p tell is set.
    void rebuild(bool tell);
    /// The shown model with the trend from @p records for the chosen situation.
    void build(const std::vector<WeightRecord>& records);
    /// The records the chart shows: those of the chosen situation, or all of them.
    const AnalysisSnapshot& shownSnapshot() const { return m_view.chosen ? *m_view.chosen : m_snapshot; }
    graph::SeriesChoice seriesChoice() const;
    void onSituationChosen();
    void paint();
    void showSeries(graph::SeriesChoice choice);
    void showAllSeries();
    void onWindowApplied();
    void onTargetToggled();
    void paintTargetColour();

    AnalysisSnapshot m_snapshot;
    /// The reading m_snapshot was loaded from: an unchanged log is not loaded again.
    std::shared_ptr<const LogContents> m_snapshotReading;
    /// What the chart shown was built from; a build from the same is not made again.
    struct BuildInputs {
        std::shared_ptr<const LogContents> reading;
        float targetWeight = 0;
        QString window;
        bool targetOn = false;
        int situation = 0;
        bool operator==(const BuildInputs& o) const {
            return reading == o.reading && targetWeight == o.targetWeight && window == o.window &&
                   targetOn == o.targetOn && situation == o.situation;
        }
    };
    std::optional<BuildInputs> m_built;
    /// What is shown: the panel's three series and the trend last, and the records of the
    /// chosen situation (nothing while 「すべて」 is chosen). Every series in it stays visible;
    /// the choice lives in the view.
    GraphTrendView m_view;
    bool m_targetOn = false;
    /// The setting last put into the combo: the combo follows the shared state only when the
    /// state has moved on, so a text typed and not yet applied survives a reopening.
    std::optional<QString> m_shownWindow;

    ChartView* m_chart;
    QComboBox* m_windowBox;
    QLabel* m_periodLabel;
    QLabel* m_lowestLabel;
    QPushButton* m_targetButton;
    QRadioButton* m_weightOption;
    QRadioButton* m_bodyFatOption;
    QRadioButton* m_mixedOption;
    QComboBox* m_situationBox;
    QLabel* m_trendLabel;
    QLabel* m_rateLabel;
    QLabel* m_balanceLabel;
    QLabel* m_forecastLabel;
};

} // namespace puka::ui
