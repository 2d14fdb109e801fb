#pragma once

#include "core/base/Status.h"
#include "core/base/ViewModel.h"
#include "core/base/WeightRecord.h"

#include <QDate>
#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

namespace puka {

/// The daily-average panel `fraAvgTai`: one mean weight per calendar day.
namespace daily {

/// The day table of one build: every calendar day from the log's first to its last date.
struct DayTable {
    QDate firstDate;
    QDate lastDate;
    int days = 0; ///< lastDate - firstDate + 1, or 0 for an empty log
    /// Day d (from 1) is index d - 1: the sum of its weights and how many there were.
    std::vector<float> sum;
    std::vector<int> count;
    float heaviest = 0; ///< of the whole log, 0 when empty
    float lightest = 999;

    QDate date(int day) const { return firstDate.addDays(day - 1); }
};

/// What the panel shows: the grid, the chart and the two period combos.
struct DailyView {
    GridModel grid;   ///< msgAvgtai
    ChartModel chart; ///< mcrAvgtai
    /// The entries of both combo lists (`cboStdate2`, `cboEddate2`), one per day of the log.
    QStringList dateList;
    QString startText; ///< the text of `cboStdate2`
    QString endText;   ///< the text of `cboEddate2`
};

/// The longest period `fillPeriod` accepts, in days: a century is more than any diet
/// needs, and a typing slip in a four-digit year would otherwise ask for millions of rows.
inline constexpr int kMaxPeriodDays = 36525;

/**
 * Builds the day table with one pass over the records. The records are in date order, so a
 * cursor walks the days forward only; a record dated before the cursor (out of order) stops
 * the counting, and it and every later record are counted on no day. The heaviest and
 * lightest weights take every record.
 */
DayTable buildDayTable(const std::vector<WeightRecord>& records);

/// The grid `msgAvgtai` with its header row only.
GridModel emptyDailyList();

/**
 * The whole log, one row per calendar day from the first to the last record.
 * A day without measurements has an empty mean in the list, while the chart repeats the
 * mean carried from the day before. Both combo lists are refilled and their texts set to the
 * first and the last day ("yy/mm/dd").
 */
DailyView buildDailyView(const std::vector<WeightRecord>& records);

/**
 * Reads a combo text as a date: year, month and day separated by "/", the year with two
 * digits (00-29 is 2000-2029, 30-99 is 1930-1999, as the combos write it) or four.
 * Blanks around the text are ignored. Nothing when the text is no calendar date.
 */
std::optional<QDate> readComboDate(const QString& text);

/**
 * Checks the period texts of `cboStdate2` and `cboEddate2`: both must be dates, the End not
 * before the Start, and the period at most kMaxPeriodDays long. A failure holds the Japanese
 * message for the user under periodRefusalTitle().
 */
struct Period {
    QDate start;
    QDate end;
};
Result<Period> readPeriod(const QString& startText, const QString& endText);

/// The title of the warning that shows a refusal of readPeriod().
QString periodRefusalTitle();

/**
 * Refills the grid and the chart of @p view for the period in
 * @p startText to @p endText; the combos of @p view are left as they are. The grid gets one
 * row per day of the period; rows are filled from the first logged day inside the period on,
 * so a period that starts before the log leaves its spare rows empty at the end. Means are
 * carried on the whole-log table, and the axes span the whole log's weights.
 * When readPeriod() refuses the texts, @p view is not changed and its message is returned.
 */
Status fillPeriod(const std::vector<WeightRecord>& records, const QString& startText, const QString& endText,
                  DailyView* view);

/// The view as the report prints it: the grid, the chart and the combo texts.
ViewModel viewModel(const DailyView& averages);

/// The help-tour text shown when the panel opens (each line followed by CR LF).
QString guidanceText();

} // namespace daily
} // namespace puka
