#pragma once

#include "core/base/ViewModel.h"
#include "core/base/WeightRecord.h"

#include <QDate>
#include <QString>

#include <optional>
#include <vector>

namespace puka {

/// Which records a trend follows: every record, or those of one situation, inside an optional period.
struct TrendChoice {
    std::optional<QString> situation; ///< only records whose situation is exactly this text
    QDate from;                       ///< the first day taken; null for no lower bound
    QDate to;                         ///< the last day taken; null for no upper bound
};

/// What the forecast of a trend says.
enum class TrendForecast {
    None,             ///< no record was chosen: no forecast at all
    NoTarget,         ///< the profile holds no target weight
    Reached,          ///< the trend is at or below the target
    NotFalling,       ///< the trend does not fall
    Date,             ///< the trend reaches the target on forecastDate
    BeyondThreeYears, ///< the trend would take more than three years to reach the target
};

/// The weight with the day-to-day noise taken out, day by day from the first to the last day
/// with a chosen record, with the rate, the energy balance and the forecast it gives.
struct TrendView {
    QDate firstDay;              ///< the first day with a record; null when none was chosen
    std::vector<double> dayMean; ///< the mean weight of each day with records, NaN on a day without
    std::vector<double> trend;   ///< the trend of every day
    double slope = 0;            ///< kg per day over the last days of the trend
    TrendForecast forecast = TrendForecast::None;
    QDate forecastDate;  ///< the day of TrendForecast::Date
    QString trendText;   ///< the last day's trend, "0.00Kg"
    QString rateText;    ///< kg per week, "-0.45Kg/週", "+0.10Kg/週", "0.00Kg/週"
    QString balanceText; ///< kcal per day, "-350kcal/日", "+120kcal/日", "0kcal/日"
    QString forecastText;

    bool empty() const { return trend.empty(); }
    QDate lastDay() const { return firstDay.addDays(static_cast<qint64>(trend.size()) - 1); }
};

namespace trend {

/// Each day's trend moves this share of the way from the day before towards the day's weight.
inline constexpr double kSmoothing = 0.1;
/// The slope is fitted over this many last days (fewer when the trend is shorter).
inline constexpr int kSlopeDays = 28;
/// The energy of one kilogram of body weight.
inline constexpr double kKcalPerKg = 7200;
/// A forecast further away than this many days says "3年以上先".
inline constexpr qint64 kForecastDays = 1095;

/**
 * The trend of the records that @p choice takes, in the order of @p records. Each day with a
 * record gets the mean of its weights; a day between two such days takes the straight line
 * between them. The trend starts at the first day's mean and each next day moves kSmoothing of
 * the way towards the day's value. The slope is the least-squares slope of the last kSlopeDays
 * days of the trend (0 for a single day); the rate is 7 days of it and the energy balance
 * kKcalPerKg times it. The forecast compares the last trend with @p targetWeight (0 or less:
 * none set) and never lies before the last day. Records whose date is no calendar day are left
 * out. No chosen record gives an empty view with empty texts.
 */
TrendView compute(const std::vector<WeightRecord>& records, const TrendChoice& choice, float targetWeight);

/// The view as the report prints it: grid `trend` (日付, 体重, トレンド; one row per day), chart
/// `trend` (series 体重 and トレンド, one point per day) and the labels `lblTrend`, `lblRate`,
/// `lblBalance`, `lblForecast`.
ViewModel viewModel(const TrendView& view);

/// The trend line of the main panel's progress box: the last trend, the rate per week and the
/// forecast; empty without a record.
QString progressText(const TrendView& view);

/// The series "トレンド" over records dated @p dates (a chart with one category per record):
/// the trend of each record's day, unset for a day outside the trend.
ChartSeries recordSeries(const TrendView& view, const std::vector<QString>& dates);

} // namespace trend
} // namespace puka
