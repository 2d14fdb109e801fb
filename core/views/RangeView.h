#pragma once

#include "core/base/ViewModel.h"
#include "core/base/WeightRecord.h"
#include "core/views/RangeConditions.h"

#include <QString>
#include <QStringList>

#include <vector>

namespace puka::range {

/// What one build of the range view gives the panel.
struct RangeView {
    GridModel grid;   ///< msgBunseki
    ChartModel chart; ///< mcrBunseki: weight on the primary axis, body fat on the secondary
    /// The items of `cboStdate` and `cboEddate`: the log's dates, each once, in log order.
    /// Filled by the opening build only; the other builders leave the date lists alone.
    QStringList dates;
    /// The texts of `cboStdate` and `cboEddate`: set by the opening build to the first and the
    /// last date; the other builders copy the bounds they used.
    QString startText;
    QString endText;
    /// The number of the record each listed row shows, counted in the records given from 1,
    /// for correcting or deleting it from the list.
    std::vector<int> recordNumbers;
};

/// The chart options of the range panel.
enum class ChartOption {
    Weight,  ///< "体重": the weight and its axis only
    BodyFat, ///< "体脂肪率": the body fat and its axis only
    Mixed,   ///< "混合": both
};

/// The empty `msgBunseki` with its headers, widths, alignments and fixed column.
GridModel emptyRangeList();

/**
 * One build of the range list and chart from the whole log, for a profile height in cm.
 * The opening build (buildOpening) lists every record and fills the date lists and bound texts;
 * the others list the records that pass their test under @p conditions. The rows are not
 * limited in number.
 */
RangeView build(Builder builder, const SharedRecords& records, float heightCm, const Conditions& conditions = {});
/// build() from a copy of @p records.
RangeView build(Builder builder, const std::vector<WeightRecord>& records, float heightCm,
                const Conditions& conditions = {});

/// The opening build.
RangeView buildOpening(const SharedRecords& records, float heightCm);
RangeView buildOpening(const std::vector<WeightRecord>& records, float heightCm);

/// The rebuild after a change of condition: the builder builderFor chooses.
RangeView refresh(const SharedRecords& records, float heightCm, const Conditions& conditions);
RangeView refresh(const std::vector<WeightRecord>& records, float heightCm, const Conditions& conditions);

/// Shows and hides the axes and series of @p chart as the chosen option does; the data stay.
void applyChartOption(ChartModel& chart, ChartOption option);

/// The view as the report prints it.
ViewModel viewModel(const RangeView& view);

} // namespace puka::range
