#include "core/views/AnalysisSnapshot.h"

namespace puka {

AnalysisSnapshot AnalysisSnapshot::load(const std::vector<WeightRecord>& records) {
    AnalysisSnapshot s;
    s.weight.reserve(records.size());
    s.fat.reserve(records.size());
    s.date.reserve(records.size());
    if (!records.empty()) {
        const WeightRecord& first = records.front();
        s.maxWeight = s.minWeight = first.weight;
        s.minWeightDate = first.date;
        s.maxFat = s.minFat = first.bodyFat;
    }
    for (const WeightRecord& r : records) {
        s.weight.push_back(r.weight);
        s.fat.push_back(r.bodyFat);
        s.date.push_back(r.date);
        if (r.weight > s.maxWeight)
            s.maxWeight = r.weight;
        // strict: the earliest of equal minima keeps its date
        if (r.weight < s.minWeight) {
            s.minWeight = r.weight;
            s.minWeightDate = r.date;
        }
        if (r.bodyFat > s.maxFat)
            s.maxFat = r.bodyFat;
        if (r.bodyFat < s.minFat)
            s.minFat = r.bodyFat;
    }
    return s;
}

} // namespace puka
