#pragma once

#include <QString>

#include <memory>
#include <vector>

namespace puka {

/// One measurement: one line of the measurement log.
struct WeightRecord {
    QString date;      ///< "yyyy/mm/dd"
    QString situation; ///< the situation word (shown under "行動")
    float weight = 0;  ///< kg
    QString comment;   ///< the one-line diary comment
    float bodyFat = 0; ///< %
    QString spare;     ///< unused, written empty by new records

    bool operator==(const WeightRecord& o) const {
        return date == o.date && situation == o.situation && weight == o.weight && comment == o.comment &&
               bodyFat == o.bodyFat && spare == o.spare;
    }
    bool operator!=(const WeightRecord& o) const { return !(*this == o); }
};

/// Records shared by a reading of the log and the lists made from it: a list keeps them for its
/// rows instead of a copy of their texts.
using SharedRecords = std::shared_ptr<const std::vector<WeightRecord>>;

} // namespace puka
