#pragma once

#include "core/base/ViewModel.h"
#include "core/views/AnalysisSnapshot.h"
#include "core/views/TrendView.h"

#include <QString>

#include <optional>
#include <vector>

namespace puka {

/// What the whole-period graph panel `fraRenTai` shows.
struct GraphView {
    /// `mcrRentai`: one category per record, labelled with its date; series "推移" (weight),
    /// "移動平均" (moving average) and "体脂肪率" (body fat, secondary axis), in this order.
    ChartModel chart;
    QString periodText;
    QString lowestText;
    QString targetCaption; ///< the caption of the target toggle
};

/// What the graph panel shows for the situation chosen: the graph of the records taken with
/// their trend drawn last, and the trend's figures.
struct GraphTrendView {
    /// The records taken when one situation is chosen; nothing when every record is taken
    /// and the graph was drawn from the caller's snapshot of the whole log.
    std::optional<AnalysisSnapshot> chosen;
    /// `mcrRentai` with the three series of the log and "トレンド" (graph::kTrendSeries) last.
    GraphView graph;
    /// The trend of the records taken: its texts are `lblTrend`, `lblRate`, `lblBalance` and
    /// `lblForecast`.
    TrendView trend;
};

namespace graph {

/// The trend is drawn after the three series of the log.
inline constexpr int kTrendSeries = 3;

/// The series choice of the option buttons under the chart.
enum class SeriesChoice {
    Weight,  ///< `optTai1` "体重": weight and moving average on the primary axis
    BodyFat, ///< `optShi1` "体脂肪率": body fat on the secondary axis
    Mixed,   ///< `optKon1` "混合": everything
};

/// The background of `cmdMokuChk` while the target is the lower bound; off, the button has
/// the system's button-face colour.
inline constexpr Rgb kTargetOnColour = rgb(255, 224, 192);

/// Windows up to this many records are summed in single precision one window at a time; a
/// longer window, only ever typed, uses a running sum in double precision so that the chart
/// stays linear in the size of the log.
inline constexpr int kLongestSinglePrecisionWindow = 1000;

/**
 * The moving-average window a text of `cboIdou` asks for: the whole part of its leading
 * number (read as a basic Val() reads it, so "12回" is 12 and "2.5" is 2) when that number is
 * at least 1; nothing for an empty text, 0, a negative number or a text that is no number.
 * Windows beyond the range of int are capped (any window above the record count draws
 * no moving average anyway).
 */
std::optional<int> windowOf(const QString& text);

/**
 * Refills the three series of @p chart from the snapshot: weight, body fat,
 * and the mean of the @p window latest weights from record @p window on (accumulated in single
 * precision, divided in double precision). A window below 1 or above the record count gives
 * the moving average no point at all. Axes, visibility and labels are left as they are.
 */
void fillChartSeries(const AnalysisSnapshot& snapshot, int window, ChartModel* chart);

/**
 * buildGraph after its loading step: the chart filled with the window of @p windowText (see
 * windowOf(); a text that asks for none draws no moving average), the axes, `lblNichis`,
 * `lblKiro` and the caption of `cmdMokuChk`. The primary minimum is Int(targetWeight) while
 * @p targetOn, else Int(minWeight). Every series and axis is visible. An empty snapshot gives
 * an empty chart with unset axes and empty texts.
 */
GraphView buildGraph(const AnalysisSnapshot& snapshot, float targetWeight, const QString& windowText, bool targetOn);

/**
 * The graph panel's view for the situation chosen: the records of @p situation (every record
 * when there is none), the graph of them (see buildGraph) and their trend (see trend::compute),
 * the trend's series appended to the chart with one point per record. @p everyRecord is the
 * snapshot of all @p records, drawn from as it is when no situation is chosen.
 */
GraphTrendView buildWithTrend(const std::vector<WeightRecord>& records, const AnalysisSnapshot& everyRecord,
                              const std::optional<QString>& situation, float targetWeight, const QString& windowText,
                              bool targetOn);

/// The primary axis minimum for the target toggle: Int(targetWeight) when on, Int(minWeight) off.
double primaryMinimum(const AnalysisSnapshot& snapshot, float targetWeight, bool targetOn);

/// The background of `cmdMokuChk` for a toggle state: kTargetOnColour, or nothing for the
/// system's button-face colour.
std::optional<Rgb> targetButtonColour(bool targetOn);

/// Shows and hides the axes and series of `mcrRentai` as @p choice asks; data stay in place.
void applySeriesChoice(SeriesChoice choice, ChartModel* chart);

/// The view as the report prints it: `mcrRentai`, `lblNichis`, `lblKiro`, `cmdMokuChk`.
ViewModel viewModel(const GraphView& view);

/// The help-tour text shown when the panel opens (each line followed by CR LF).
QString guidanceText();

} // namespace graph
} // namespace puka
