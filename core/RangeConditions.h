#pragma once

#include "ViewModel.h"
#include "WeightRecord.h"

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
    DSP_TAIJYU,          ///< every record; fills the date lists
    DSP_TAIJYU_KIKAN,    ///< period
    DSP_TAIJYU_KEY,      ///< keyword and period
    DSP_TAIJYU_YOUBI,    ///< weekday and period
    DSP_TAIJYU_KEYYOUBI, ///< keyword, weekday and period
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
    Kikan1 = 1, ///< "前日"
    Kikan2,     ///< "１週間"
    Kikan3,     ///< "２週間"
    Kikan4,     ///< "１ヶ月"
    Kikan5,     ///< "３ヶ月"
    Kikan6,     ///< "半年"
    Kikan7,     ///< "１年"
    Kikan8,     ///< "３日"
    AllDay,     ///< `cmdAllDay` "全部"
    KikanF,     ///< `cmdKikanF` "任意"
};

/// The bound texts a period button writes into `cboStdate` and `cboEddate`.
struct PeriodBounds {
    QString start;
    QString end;
};

/**
 * REFRESH_TAIJYU's choice: the builder for the keyword and the weekday of @p conditions
 * (the period applies to every one of them).
 */
Builder REFRESH_TAIJYU(const Conditions& conditions);

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

/// The number of days before today at which a period button's start lies; 0 for AllDay and KikanF.
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
