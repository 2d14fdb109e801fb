#include "core/views/TrendView.h"

#include "core/base/NumberFormat.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>

namespace puka::trend {
namespace {

const QString kWeightHeader = QStringLiteral("体重");
const QString kTrendHeader = QStringLiteral("トレンド");

// The day number of a "yyyy/mm/dd" text, or nothing when it is no calendar day. The log
// repeats one date for the records of a day, so the last text read is kept.
class DayReader {
public:
    std::optional<qint64> dayOf(const QString& text) {
        if (m_used && text == m_text)
            return m_day;
        m_used = true;
        m_text = text;
        m_day = read(text);
        return m_day;
    }

private:
    static std::optional<qint64> read(const QString& text) {
        if (text.size() != 10 || text.at(4) != QLatin1Char('/') || text.at(7) != QLatin1Char('/'))
            return std::nullopt;
        int parts[3] = {0, 0, 0};
        const int starts[3] = {0, 5, 8};
        const int lengths[3] = {4, 2, 2};
        for (int p = 0; p < 3; ++p) {
            for (int i = starts[p]; i < starts[p] + lengths[p]; ++i) {
                const char16_t c = text.at(i).unicode();
                if (c < u'0' || c > u'9')
                    return std::nullopt;
                parts[p] = parts[p] * 10 + (c - u'0');
            }
        }
        const QDate date(parts[0], parts[1], parts[2]);
        if (!date.isValid())
            return std::nullopt;
        return date.toJulianDay();
    }

    bool m_used = false;
    QString m_text;
    std::optional<qint64> m_day;
};

QString dateText(const QDate& date) {
    int year = 0;
    int month = 0;
    int day = 0;
    date.getDate(&year, &month, &day);
    if (year < 1 || year > 9999)
        return date.toString(QStringLiteral("yyyy/MM/dd"));
    QString text(10, Qt::Uninitialized);
    QChar* out = text.data();
    const auto put = [&out](int value, int digits) {
        for (int divisor = digits == 4 ? 1000 : 10; divisor > 0; divisor /= 10)
            *out++ = QLatin1Char(static_cast<char>('0' + value / divisor % 10));
    };
    put(year, 4);
    *out++ = QLatin1Char('/');
    put(month, 2);
    *out++ = QLatin1Char('/');
    put(day, 2);
    return text;
}

// A rounded value with its sign always shown, except on a value that rounds to zero.
QString signedText(double value, int decimals, QStringView suffix) {
    const QString text = fixedText(value, decimals, {}, suffix);
    const bool zero =
        std::none_of(text.begin(), text.end(), [](QChar c) { return c >= QLatin1Char('1') && c <= QLatin1Char('9'); });
    return zero || text.startsWith(QLatin1Char('-')) ? text : QLatin1Char('+') + text;
}

// The least-squares slope of the last kSlopeDays values: x counts the days from 0; the values
// are taken relative to the first of them, which leaves the slope as it is and makes a flat
// trend come out as exactly 0.
double slopeOf(const std::vector<double>& trend) {
    const size_t days = std::min(trend.size(), static_cast<size_t>(kSlopeDays));
    if (days < 2)
        return 0;
    const size_t start = trend.size() - days;
    const double middle = static_cast<double>(days - 1) / 2;
    const double base = trend[start];
    double sumXY = 0;
    for (size_t k = 0; k < days; ++k)
        sumXY += (static_cast<double>(k) - middle) * (trend[start + k] - base);
    const double n = static_cast<double>(days);
    const double sumXX = n * (n * n - 1) / 12;
    return sumXY / sumXX;
}

void setForecast(float targetWeight, TrendView* view) {
    if (!(targetWeight > 0)) {
        view->forecast = TrendForecast::NoTarget;
        view->forecastText = QStringLiteral("目標体重未設定");
        return;
    }
    const double target = storedValue(targetWeight);
    const double last = view->trend.back();
    if (last <= target) {
        view->forecast = TrendForecast::Reached;
        view->forecastText = QStringLiteral("目標達成");
        return;
    }
    if (view->slope >= 0) {
        view->forecast = TrendForecast::NotFalling;
        view->forecastText = QStringLiteral("減少傾向なし");
        return;
    }
    // both sides are positive, so the forecast is at least one day after the last day
    const double days = std::ceil((last - target) / -view->slope);
    if (!(days <= static_cast<double>(kForecastDays))) {
        view->forecast = TrendForecast::BeyondThreeYears;
        view->forecastText = QStringLiteral("3年以上先");
        return;
    }
    view->forecast = TrendForecast::Date;
    view->forecastDate = view->lastDay().addDays(static_cast<qint64>(days));
    view->forecastText = dateText(view->forecastDate);
}

} // namespace

TrendView compute(const std::vector<WeightRecord>& records, const TrendChoice& choice, float targetWeight) {
    TrendView view;
    const qint64 from = choice.from.isValid() ? choice.from.toJulianDay() : std::numeric_limits<qint64>::min();
    const qint64 to = choice.to.isValid() ? choice.to.toJulianDay() : std::numeric_limits<qint64>::max();

    struct Taken {
        qint64 day;
        double weight;
    };
    std::vector<Taken> taken;
    taken.reserve(records.size());
    DayReader reader;
    qint64 first = 0;
    qint64 last = 0;
    for (const WeightRecord& r : records) {
        if (choice.situation && r.situation != *choice.situation)
            continue;
        const std::optional<qint64> day = reader.dayOf(r.date);
        if (!day || *day < from || *day > to)
            continue;
        if (taken.empty() || *day < first)
            first = *day;
        if (taken.empty() || *day > last)
            last = *day;
        taken.push_back({*day, storedValue(r.weight)});
    }
    if (taken.empty())
        return view;

    // each day's weights are summed in log order, then divided by their count
    const size_t days = static_cast<size_t>(last - first + 1);
    view.firstDay = QDate::fromJulianDay(first);
    view.dayMean.assign(days, 0);
    std::vector<std::uint32_t> counts(days, 0);
    for (const Taken& t : taken) {
        const size_t i = static_cast<size_t>(t.day - first);
        view.dayMean[i] += t.weight;
        ++counts[i];
    }
    for (size_t i = 0; i < days; ++i)
        view.dayMean[i] = counts[i] ? view.dayMean[i] / counts[i] : ChartModel::unset();

    // a day without a value lies on the line between the days before and after it that have one
    std::vector<double>& smoothed = view.trend;
    smoothed.resize(days);
    smoothed[0] = view.dayMean[0];
    size_t before = 0;
    for (size_t after = 1; after < days; ++after) {
        if (!counts[after])
            continue;
        const double valueBefore = view.dayMean[before];
        const double valueAfter = view.dayMean[after];
        const double gap = static_cast<double>(after - before);
        for (size_t day = before + 1; day <= after; ++day) {
            const double value =
                day == after ? valueAfter
                             : valueBefore + (valueAfter - valueBefore) * static_cast<double>(day - before) / gap;
            smoothed[day] = smoothed[day - 1] + kSmoothing * (value - smoothed[day - 1]);
        }
        before = after;
    }

    view.slope = slopeOf(smoothed);
    view.trendText = fixedText(smoothed.back(), 2, {}, u"Kg");
    view.rateText = signedText(view.slope * 7, 2, u"Kg/週");
    view.balanceText = signedText(view.slope * kKcalPerKg, 0, u"kcal/日");
    setForecast(targetWeight, &view);
    return view;
}

ViewModel viewModel(const TrendView& view) {
    ViewModel v;
    v.view = QStringLiteral("trend");

    GridModel grid;
    grid.name = QStringLiteral("trend");
    grid.columns = {{QStringLiteral("日付"), 1200, Align::CenterCenter},
                    {kWeightHeader, 1000, Align::RightCenter},
                    {kTrendHeader, 1000, Align::RightCenter}};
    const int days = static_cast<int>(view.trend.size());
    grid.addRows(days);
    QDate day = view.firstDay;
    for (int i = 0; i < days; ++i, day = day.addDays(1)) {
        grid.setCell(i, 0, dateText(day));
        const double mean = view.dayMean[static_cast<size_t>(i)];
        if (!std::isnan(mean))
            grid.setCell(i, 1, fixedText(mean, 2, {}, u"Kg"));
        grid.setCell(i, 2, fixedText(view.trend[static_cast<size_t>(i)], 2, {}, u"Kg"));
    }
    v.grids.push_back(std::move(grid));

    ChartModel chart;
    chart.name = QStringLiteral("trend");
    chart.series = {ChartSeries{kWeightHeader, false, view.dayMean, true},
                    ChartSeries{kTrendHeader, false, view.trend, true}};
    v.charts.push_back(std::move(chart));

    v.labels = {{QStringLiteral("lblTrend"), view.trendText},
                {QStringLiteral("lblRate"), view.rateText},
                {QStringLiteral("lblBalance"), view.balanceText},
                {QStringLiteral("lblForecast"), view.forecastText}};
    return v;
}

QString progressText(const TrendView& view) {
    if (view.empty())
        return {};
    QString forecast = view.forecastText;
    if (view.forecast == TrendForecast::Date || view.forecast == TrendForecast::BeyondThreeYears)
        forecast = QStringLiteral("目標到達 ") + forecast;
    return view.trendText + QStringLiteral("  ") + view.rateText + QStringLiteral("  ") + forecast;
}

ChartSeries recordSeries(const TrendView& view, const std::vector<QString>& dates) {
    ChartSeries series{kTrendHeader, false, {}, true};
    series.points.reserve(dates.size());
    const qint64 first = view.firstDay.isValid() ? view.firstDay.toJulianDay() : 0;
    const qint64 count = static_cast<qint64>(view.trend.size());
    DayReader reader;
    for (const QString& date : dates) {
        const std::optional<qint64> day = reader.dayOf(date);
        const qint64 i = day ? *day - first : -1;
        series.points.push_back(i >= 0 && i < count ? view.trend[static_cast<size_t>(i)] : ChartModel::unset());
    }
    return series;
}

} // namespace puka::trend
