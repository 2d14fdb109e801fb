#pragma once

#include "core/base/WeightRecord.h"

#include <QString>

#include <vector>

namespace puka {

/// The in-memory copy of the measurement log read by the analysis lists and the whole-period
/// graph. Record i of the log (counted from 1 in the lists) is index i - 1 here.
struct AnalysisSnapshot {
    std::vector<float> weight; ///< kg, log order
    std::vector<float> fat;    ///< body fat %, log order
    std::vector<QString> date; ///< "yyyy/mm/dd" exactly as stored
    float maxWeight = 0;
    float minWeight = 999;
    QString minWeightDate; ///< the first record in log order that holds minWeight
    float maxFat = 0;
    float minFat = 999;

    int count() const { return static_cast<int>(weight.size()); }
    bool empty() const { return weight.empty(); }

    /**
     * The loading step of `buildGraph`: weights, body fats and dates in log order with the
     * extremes of weight and body fat. The earliest of equal minimum weights gives
     * minWeightDate. The extremes start from the first record, so a weight outside the
     * entry's range (0 to 999 kg) in a hand-edited log still yields a real record.
     */
    static AnalysisSnapshot load(const std::vector<WeightRecord>& records);
};

} // namespace puka
