#pragma once

#include "core/base/ViewModel.h"
#include "core/base/WeightRecord.h"

#include <QDate>
#include <QString>

#include <optional>

namespace puka::range {

/// `selectedWeekday` when no weekday is chosen.
inline constexpr int kAllWeekdays = 99;
/// The background of the condition button that marks the current choice of its group.
inline constexpr Rgb kHighlight = rgb(255, 255, 192);

/// The five list builders of the range view.
enum class Builder {
    Opening,        ///< every record; fills the date lists
    Period,         ///< period
    Keyword,        ///< keyword and period
    Weekday,        ///< weekday and period
    KeywordWeekday, ///< keyword, weekday and period
};

/// What the range panel holds as its conditions.
struct Conditions {
    QString keyword;                    ///< the text of `txtKey`; empty means every situation
    int selectedWeekday = kAllWeekdays; ///< 0 Sunday to 6 Saturday, or kAllWeekdays
    QString startText;                  ///< the text of `cboStdate`; empty means no lower bound
    QString endText;                    ///< the text of `cboEddate`; empty lets nothing through
};

/// The period buttons; the first eight carry the number of their `cmdKikan` control.
enum class Period {
    PreviousDay = 1, ///< "前日"
    OneWeek,         ///< "１週間"
    TwoWeeks,        ///< "２週間"
    OneMonth,        ///< "１ヶ月"
    ThreeMonths,     ///< "３ヶ月"
    HalfYear,        ///< "半年"
    OneYear,         ///< "１年"
    ThreeDays,       ///< "３日"
    All,             ///< `cmdAllDay` "全部"
    Free,            ///< `cmdKikanF` "任意"
};

/// The bound texts a period button writes into `cboStdate` and `cboEddate`.
struct PeriodBounds {
    QString start;
    QString end;
};

/**
 * builderFor's choice: the builder for the keyword and the weekday of @p conditions
 * (the period applies to every one of them).
 */
Builder builderFor(const Conditions& conditions);

/**
 * Whether @p builder lists @p record under @p conditions: the keyword as a case-sensitive
 * substring of the situation, the weekday of the date, and the date between the bound texts,
 * both inclusive and compared code unit by code unit.
 */
bool passes(Builder builder, const Conditions& conditions, const WeightRecord& record);

/// The day of the week of a "yyyy/mm/dd" date, 0 Sunday to 6 Saturday, or -1 for no date.
int weekdayOf(const QString& date);
/// The one-character name of a weekday 0..6 ("日" to "土"), also the `cmdWeek` caption.
QString weekdayName(int weekday);

/// The number of days before today at which a period button's start lies; 0 for All and Free.
int periodDays(Period period);
/// The caption of a period button.
QString periodCaption(Period period);

/**
 * The bounds a period button writes, from @p today; "全部" starts at @p startDate, the date of
 * the log's first record as the main view last read it. "任意" writes nothing: the texts of the
 * two date boxes stand as they are.
 */
std::optional<PeriodBounds> periodBounds(Period period, const QDate& today, const QString& startDate);

/// The guidance text of the range panel, lines ended by CR LF.
QString guidanceText();

} // namespace puka::range
