#include "tests/core/CoreTestHelpers.h"

#include "core/views/TrendView.h"

#include <QDate>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <gtest/gtest.h>

#include <cmath>

using namespace puka;

namespace {

const QString kMorning = QStringLiteral("起床後");
const QString kNight = QStringLiteral("就寝前");

QString dayText(const QDate& day) {
    return day.toString(QStringLiteral("yyyy/MM/dd"));
}

// One morning record a day from @p first on.
std::vector<WeightRecord> daily(const std::vector<float>& weights, const QDate& first = QDate(2024, 1, 1)) {
    std::vector<WeightRecord> records;
    QDate day = first;
    for (float w : weights) {
        records.push_back(test::record(dayText(day), kMorning, w));
        day = day.addDays(1);
    }
    return records;
}

struct Labels {
    QString trend, rate, balance, forecast;
};

void expectLabels(const TrendView& v, const Labels& expected) {
    EXPECT_EQ(v.trendText, expected.trend);
    EXPECT_EQ(v.rateText, expected.rate);
    EXPECT_EQ(v.balanceText, expected.balance);
    EXPECT_EQ(v.forecastText, expected.forecast);
}

// The rows of the grid `trend` as "date|mean|trend".
QStringList rowsOf(const TrendView& v) {
    const ViewModel model = trend::viewModel(v);
    const GridModel* grid = model.grid(QStringLiteral("trend"));
    QStringList rows;
    for (int r = 0; grid && r < grid->bodyRows(); ++r)
        rows.append(grid->cell(r, 0) + QLatin1Char('|') + grid->cell(r, 1) + QLatin1Char('|') + grid->cell(r, 2));
    return rows;
}

// A trend that falls 0.1 kg a day for its last 28 days from a flat start of @p flatDays days
// at 80 kg: each falling day weighs what moves the trend exactly 0.1 kg down.
std::vector<WeightRecord> fallingForFourWeeks(int flatDays) {
    std::vector<float> weights(static_cast<size_t>(flatDays), 80.0f);
    for (int d = 1; d <= 27; ++d)
        weights.push_back(static_cast<float>(79.0 - 0.1 * (d - 1)));
    return daily(weights);
}

} // namespace

TEST(TrendView, DayMeansFillAGapOnTheLineBetweenThem) {
    // two weigh-ins on the first day, none on the two days after
    std::vector<WeightRecord> records = {test::record(QStringLiteral("2024/01/01"), kMorning, 70.2f),
                                         test::record(QStringLiteral("2024/01/01"), kNight, 69.8f),
                                         test::record(QStringLiteral("2024/01/04"), kMorning, 67.0f)};
    const TrendView v = trend::compute(records, {}, 65.0f);
    EXPECT_EQ(rowsOf(v), (QStringList{"2024/01/01|70.00Kg|70.00Kg", "2024/01/02||69.90Kg", "2024/01/03||69.71Kg",
                                      "2024/01/04|67.00Kg|69.44Kg"}));
    // slope over the four days: -0.9365 / 5 = -0.1873 kg a day; (69.439 - 65) / 0.1873 = 23.7 days
    expectLabels(v, {"69.44Kg", "-1.31Kg/週", "-1349kcal/日", "2024/01/28"});
    EXPECT_EQ(v.forecast, TrendForecast::Date);
    EXPECT_EQ(trend::progressText(v), QStringLiteral("69.44Kg  -1.31Kg/週  目標到達 2024/01/28"));

    // the day's mean is of its weigh-ins whatever their order in the log
    std::swap(records[0], records[2]);
    EXPECT_EQ(rowsOf(trend::compute(records, {}, 65.0f)), rowsOf(v));
}

TEST(TrendView, SingleDayOrFlatTrendNeverForecasts) {
    const TrendView one = trend::compute(daily({70.0f}), {}, 65.0f);
    EXPECT_EQ(rowsOf(one), QStringList{"2024/01/01|70.00Kg|70.00Kg"});
    expectLabels(one, {"70.00Kg", "0.00Kg/週", "0kcal/日", "減少傾向なし"});
    EXPECT_EQ(one.slope, 0);

    // four flat weeks: the slope is exactly zero, never a tiny fall that would forecast
    const TrendView flat = trend::compute(daily(std::vector<float>(28, 65.3f)), {}, 60.0f);
    EXPECT_EQ(flat.slope, 0);
    expectLabels(flat, {"65.30Kg", "0.00Kg/週", "0kcal/日", "減少傾向なし"});

    EXPECT_EQ(trend::compute(daily({70.0f}), {}, 70.0f).forecastText, QStringLiteral("目標達成"));
    EXPECT_EQ(trend::compute(daily({70.0f}), {}, 0.0f).forecastText, QStringLiteral("目標体重未設定"));
    EXPECT_EQ(trend::progressText(trend::compute(daily({70.0f}), {}, 0.0f)),
              QStringLiteral("70.00Kg  0.00Kg/週  目標体重未設定"));
}

TEST(TrendView, FitsTheSlopeOverTheLastFourWeeksOnly) {
    // exactly 28 days, and 30 days whose first two flat days lie off the line: the same slope
    for (int flatDays : {1, 3}) {
        const TrendView v = trend::compute(fallingForFourWeeks(flatDays), {}, 70.05f);
        ASSERT_EQ(v.trend.size(), static_cast<size_t>(flatDays + 27)) << flatDays;
        EXPECT_NEAR(v.slope, -0.1, 1e-9) << flatDays;
        // (77.3 - 70.05) / 0.1 = 72.5 days: the 73rd day after the last
        expectLabels(v, {"77.30Kg", "-0.70Kg/週", "-720kcal/日", dayText(v.lastDay().addDays(73))});
    }
}

TEST(TrendView, RisingTrendAndReachedTargetGiveTheirReasons) {
    const TrendView rising = trend::compute(daily({70.0f, 71.0f}), {}, 65.0f);
    expectLabels(rising, {"70.10Kg", "+0.70Kg/週", "+720kcal/日", "減少傾向なし"});
    EXPECT_EQ(rising.forecast, TrendForecast::NotFalling);

    // falling, and already at or below the target
    const TrendView reached = trend::compute(daily({70.0f, 69.0f}), {}, 69.95f);
    expectLabels(reached, {"69.90Kg", "-0.70Kg/週", "-720kcal/日", "目標達成"});
    EXPECT_EQ(trend::progressText(reached), QStringLiteral("69.90Kg  -0.70Kg/週  目標達成"));
}

TEST(TrendView, ForecastBeyondThreeYearsSaysSo) {
    // the trend falls 0.001 kg a day from 69.999 kg
    const std::vector<WeightRecord> slow = daily({70.0f, 69.99f});
    const TrendView within = trend::compute(slow, {}, 68.9045f); // 1094.5 days
    EXPECT_EQ(within.forecastText, QStringLiteral("2027/01/01"));
    EXPECT_EQ(within.balanceText, QStringLiteral("-7kcal/日"));
    const TrendView beyond = trend::compute(slow, {}, 68.9035f); // 1095.5 days
    EXPECT_EQ(beyond.forecast, TrendForecast::BeyondThreeYears);
    EXPECT_EQ(beyond.forecastText, QStringLiteral("3年以上先"));
    EXPECT_EQ(trend::progressText(beyond), QStringLiteral("70.00Kg  -0.01Kg/週  目標到達 3年以上先"));
}

TEST(TrendView, GapOfTwoCenturiesIsOneRowADay) {
    const std::vector<WeightRecord> records = {test::record(QStringLiteral("1900/01/01"), kMorning, 70.0f),
                                               test::record(QStringLiteral("2100/01/01"), kMorning, 80.0f)};
    const TrendView v = trend::compute(records, {}, 65.0f);
    const qint64 days = QDate(1900, 1, 1).daysTo(QDate(2100, 1, 1)) + 1;
    ASSERT_EQ(static_cast<qint64>(v.trend.size()), days);
    const QStringList rows = rowsOf(v);
    EXPECT_EQ(rows.at(1), QStringLiteral("1900/01/02||70.00Kg"));
    EXPECT_EQ(rows.last(), QStringLiteral("2100/01/01|80.00Kg|80.00Kg"));
    // 10 kg over 200 years: a rate that rounds to zero shows no sign, the balance does
    expectLabels(v, {"80.00Kg", "0.00Kg/週", "+1kcal/日", "減少傾向なし"});
}

TEST(TrendView, SituationAndPeriodChooseTheRecords) {
    std::vector<WeightRecord> records;
    for (int d = 0; d < 5; ++d) {
        const QString date = dayText(QDate(2024, 3, 1).addDays(d));
        records.push_back(test::record(date, kMorning, 70.0f - static_cast<float>(d)));
        records.push_back(test::record(date, kNight, 72.0f));
    }
    records.push_back(test::record(QStringLiteral("昨日"), kMorning, 10.0f)); // no calendar day

    TrendChoice morning;
    morning.situation = kMorning;
    morning.from = QDate(2024, 3, 2);
    morning.to = QDate(2024, 3, 4);
    const TrendView v = trend::compute(records, morning, 0.0f);
    EXPECT_EQ(rowsOf(v),
              (QStringList{"2024/03/02|69.00Kg|69.00Kg", "2024/03/03|68.00Kg|68.90Kg", "2024/03/04|67.00Kg|68.71Kg"}));
    EXPECT_EQ(trend::compute(records, {}, 0.0f).dayMean.front(), 71.0);

    // on the graph, each record gets its day's trend; a day outside the trend none
    const ChartSeries series = trend::recordSeries(v, {QStringLiteral("2024/03/01"), QStringLiteral("2024/03/03"),
                                                       QStringLiteral("2024/03/03"), QStringLiteral("2024/03/05")});
    EXPECT_EQ(series.name, QStringLiteral("トレンド"));
    ASSERT_EQ(series.points.size(), 4u);
    EXPECT_TRUE(std::isnan(series.points[0]));
    EXPECT_EQ(series.points[1], v.trend[1]);
    EXPECT_EQ(series.points[2], v.trend[1]);
    EXPECT_TRUE(std::isnan(series.points[3]));

    // nothing chosen: an empty view with empty texts
    TrendChoice none;
    none.situation = QStringLiteral("昼食後");
    const TrendView empty = trend::compute(records, none, 65.0f);
    EXPECT_TRUE(empty.empty());
    expectLabels(empty, {});
    EXPECT_TRUE(trend::progressText(empty).isEmpty());
    EXPECT_EQ(trend::viewModel(empty).grid(QStringLiteral("trend"))->bodyRows(), 0);
    EXPECT_TRUE(std::isnan(trend::recordSeries(empty, {QStringLiteral("2024/03/01")}).points.front()));
}

TEST(TrendReport, PrintsTheDaysTheChartAndTheLabels) {
    test::WorkDir dir;
    dir.writeText(QStringLiteral("データ.txt"), QStringLiteral("\"2024/01/01\",\"起床後\",70.2,\"\",22,\"\"\r\n"
                                                               "\"2024/01/01\",\"就寝前\",69.8,\"\",22,\"\"\r\n"
                                                               "\"2024/01/04\",\"起床後\",67,\"\",22,\"\"\r\n"));
    dir.writeText(QStringLiteral("ﾌﾟﾗｲﾍﾞｰﾄ.txt"),
                  QStringLiteral("\"氏名\",\"\"\r\n\"身長\",170\r\n\"目標体重\",65\r\n"));
    const test::ToolRun tsv = test::runReport({QStringLiteral("-C"), dir.path(), QStringLiteral("trend")});
    ASSERT_EQ(tsv.status, 0) << tsv.err.toStdString();
    EXPECT_EQ(tsv.out, QStringLiteral("# trend\n日付\t体重\tトレンド\n"
                                      "2024/01/01\t70.00Kg\t70.00Kg\n2024/01/02\t\t69.90Kg\n"
                                      "2024/01/03\t\t69.71Kg\n2024/01/04\t67.00Kg\t69.44Kg\n"
                                      "lblTrend\t69.44Kg\nlblRate\t-1.31Kg/週\nlblBalance\t-1349kcal/日\n"
                                      "lblForecast\t2024/01/28\n"
                                      "# trend\n1\t70\t70\n2\t\t69.9\n3\t\t69.71\n4\t67\t69.439\n"));

    // the morning weigh-ins alone: a day without one is a null point
    const test::ToolRun json =
        test::runReport({QStringLiteral("-C"), dir.path(), QStringLiteral("--format"), QStringLiteral("json"),
                         QStringLiteral("trend"), QStringLiteral("--situation"), kMorning});
    ASSERT_EQ(json.status, 0) << json.err.toStdString();
    const QJsonObject root = QJsonDocument::fromJson(json.out.toUtf8()).object();
    const QJsonArray rows = root[QStringLiteral("grids")][QStringLiteral("trend")][QStringLiteral("rows")].toArray();
    ASSERT_EQ(rows.size(), 5);
    EXPECT_EQ(rows.at(1).toArray().at(1).toString(), QStringLiteral("70.20Kg"));
    const QJsonArray series =
        root[QStringLiteral("charts")][QStringLiteral("trend")][QStringLiteral("series")].toArray();
    ASSERT_EQ(series.size(), 2);
    EXPECT_EQ(series.at(1)[QStringLiteral("name")].toString(), QStringLiteral("トレンド"));
    EXPECT_TRUE(series.at(0)[QStringLiteral("points")][1].isNull());

    // no chosen record: an empty grid and every label empty
    const test::ToolRun none = test::runReport({QStringLiteral("-C"), dir.path(), QStringLiteral("trend"),
                                                QStringLiteral("--from"), QStringLiteral("2024/01/05")});
    ASSERT_EQ(none.status, 0);
    EXPECT_EQ(none.out, QStringLiteral("# trend\n日付\t体重\tトレンド\nlblTrend\t\nlblRate\t\nlblBalance\t\n"
                                       "lblForecast\t\n# trend\n"));
}

TEST(TrendReport, BadOptionsAreUsageErrors) {
    test::WorkDir dir;
    dir.writeText(QStringLiteral("データ.txt"), QStringLiteral("\"2024/01/01\",\"起床後\",70,\"\",22,\"\"\r\n"));
    const QStringList bad[] = {
        {QStringLiteral("--from"), QStringLiteral("2024/02/30")},
        {QStringLiteral("--to"), QStringLiteral("24/01/01")},
        {QStringLiteral("--from"), QStringLiteral("2024/02/01"), QStringLiteral("--to"), QStringLiteral("2024/01/01")},
        {QStringLiteral("--situation")},
        {QStringLiteral("--window"), QStringLiteral("3")}};
    for (const QStringList& options : bad) {
        const test::ToolRun r =
            test::runReport(QStringList{QStringLiteral("-C"), dir.path(), QStringLiteral("trend")} + options);
        EXPECT_EQ(r.status, 2) << options.join(QLatin1Char(' ')).toStdString();
        EXPECT_TRUE(r.out.isEmpty());
        EXPECT_EQ(r.err.count(QLatin1Char('\n')), 1) << r.err.toStdString();
    }
    const test::ToolRun help = test::runReport({QStringLiteral("--help")});
    EXPECT_TRUE(help.out.contains(QStringLiteral("--situation TEXT")));
}
