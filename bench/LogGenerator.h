#pragma once

#include <QDate>
#include <QString>

namespace puka::bench {

/// What a generated data set looks like.
struct GeneratedLog {
    int records = 0;
    int days = 0; ///< calendar days from the first to the last record
    QDate first;
    QDate last;
    QDate busiestDay; ///< a day with the most records
    QDate middleDay;  ///< a measured day about half-way through the log
};

/**
 * Writes a diary of @p records measurements ending on @p lastDay into @p dir: "データ.txt"
 * (code page 932, CR LF) with several weigh-ins on most days, unmeasured days between them,
 * situation words that change with the years, times of day as situations, comments on some
 * records; and the profile, settings, situation list and notes a user of some years has.
 * The same arguments always give the same bytes.
 */
GeneratedLog writeDataSet(const QString& dir, int records, const QDate& lastDay);

} // namespace puka::bench
