#pragma once

#include <QString>

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

} // namespace puka
