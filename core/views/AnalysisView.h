#pragma once

#include "core/base/ViewModel.h"
#include "core/views/AnalysisSnapshot.h"

#include <QString>

#include <vector>

namespace puka {

/// What the analysis panel `fraBunseki` shows: its four grids and the three texts the lists set.
struct AnalysisView {
    GridModel timeSeries;     ///< time series
    GridModel milestones;     ///< milestones
    GridModel meanTrend;      ///< running-mean trend
    GridModel ranking;        ///< band ranking
    QString milestoneSummary; ///< `Label5(0)` under the milestones
    QString meanTrendSummary; ///< `Label5(1)` under the trend
    QString rankingCaption;   ///< the caption of the frame `fraB4`
};

namespace analysis {

/// The difference of the time series, by the element of `Option1`.
enum class DifferenceMode {
    Previous = 0, ///< "前回との差", selected at start-up
    First = 1,    ///< "初回との差"
};

/// The band width of the ranking, by the element of `Option2`.
enum class BandStep {
    One = 0,  ///< "１.０Ｋｇ刻み"
    Half = 1, ///< "０.５Ｋｇ刻み", selected at start-up
};

/// Milestone rows are one per half kilogram lost; only a corrupted weight in the log asks for
/// more than this (a loss of 50 tonnes), and the list stops there instead of exhausting memory.
inline constexpr int kMaxMilestoneRows = 100000;

/// The four grids with their header rows only, and the texts the panel
/// starts with (the labels empty, the ranking caption for 0.5 kg bands).
AnalysisView emptyAnalysisView();

/**
 * Int(x × 10 + 0.5) / 10 as the lists round a single-precision value to one decimal: x × 10
 * in single precision, the half added and the floor taken in double precision, the result
 * stored as a single value. Halves go up: -0.25 gives -0.2, 0.25 gives 0.3.
 */
float roundTenth(float x);

/**
 * Every record with its weight and its difference to the previous or to the
 * first record, rounded by roundTenth() and shown with "±" for zero, "+" above zero and its
 * own minus sign below. The header of column 3 follows the mode. Scrolled to the last row
 * beyond 10 grid rows. An empty snapshot leaves @p timeSeries untouched.
 */
void fillTimeSeries(const AnalysisSnapshot& snapshot, DifferenceMode mode, GridModel* timeSeries);

/**
 * One row per 0.5 kg of the best loss (rounded by roundTenth()), each filled at
 * the first record whose loss from the first record reaches it, with the days since the
 * first record and since the milestone above. @p milestoneSummary receives the best loss and the
 * days since its first day; with no milestone (a best loss under 0.5 kg) the grid keeps its
 * header only and @p milestoneSummary is left as it was. An empty snapshot changes nothing.
 */
void fillMilestones(const AnalysisSnapshot& snapshot, GridModel* milestones, QString* milestoneSummary);

/**
 * The running mean after every record (sum, mean and change in single
 * precision) and its change in grams. @p meanTrendSummary counts the latest records in a row that
 * have not raised the mean. An empty snapshot changes nothing.
 */
void fillMeanTrend(const AnalysisSnapshot& snapshot, GridModel* meanTrend, QString* meanTrendSummary);

/**
 * The weight bands of 1.0 or 0.5 kg between Int(minWeight) and
 * Int(maxWeight) + 1, ranked by how many records fell into each, most visited first; bands
 * without a visit are not listed. A weight in the last 0.01 kg of a band counts in none.
 * Equal counts come out in the order of the exchange sort (see exchangeOrder()). Sets the
 * caption of `fraB4`. An empty snapshot changes nothing.
 */
void fillRanking(const AnalysisSnapshot& snapshot, BandStep step, GridModel* ranking, QString* rankingCaption);

/**
 * The order in which the ranking's exchange sort (for j, for m > j: swap when
 * visits[j] < visits[m]) leaves the items @p visits, as their indexes: descending by visits,
 * equal counts in the order that exact procedure gives (2, 3, 2, 3 gives 1, 3, 2, 0).
 * Runs in about n log n steps for the counts a log produces rather than n².
 */
std::vector<int> exchangeOrder(const std::vector<int>& visits);

/// The four lists as the panel fills them on opening (`cmdBunseki`), in their order.
void fill(const AnalysisSnapshot& snapshot, DifferenceMode mode, BandStep step, AnalysisView* view);

/// The view as the report prints it: the four grids, `Label5(0)`, `Label5(1)` and `fraB4`.
ViewModel viewModel(const AnalysisView& view);

/// The help-tour text shown when the panel opens (lines joined by CR LF, none after the last).
QString guidanceText();

} // namespace analysis
} // namespace puka
