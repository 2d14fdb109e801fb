#include "tests/core/CoreTestHelpers.h"

#include "core/files/DataLog.h"
#include "core/views/AnalysisSnapshot.h"
#include "core/views/GraphView.h"
#include "tools/report/ReportCli.h"

#include <QDate>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include "tests/core/TestSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using namespace puka;
using graph::SeriesChoice;

namespace {

struct Entry {
    QString date;
    float weight;
    float fat = 22.3f;
};

AnalysisSnapshot dated(const std::vector<Entry>& entries) {
    std::vector<WeightRecord> records;
    for (const Entry& e : entries)
        records.push_back(test::record(e.date, QStringLiteral("朝"), e.weight, {}, e.fat));
    return AnalysisSnapshot::load(records);
}

// One record a day from 2003/07/25 on.
AnalysisSnapshot daily(const std::vector<float>& weights) {
    std::vector<Entry> entries;
    QDate day(2003, 7, 25);
    for (float w : weights) {
        entries.push_back({day.toString(QStringLiteral("yyyy/MM/dd")), w});
        day = day.addDays(1);
    }
    return dated(entries);
}

std::vector<double> movingAverage(const AnalysisSnapshot& s, int window) {
    ChartModel chart;
    graph::fillChartSeries(s, window, &chart);
    return chart.series[1].points;
}

int pointCount(const std::vector<double>& points) {
    int n = 0;
    for (double p : points)
        n += std::isnan(p) ? 0 : 1;
    return n;
}

QJsonObject reportChart(const QStringList& args) {
    const test::ToolRun r = test::runReport(args);
    EXPECT_EQ(r.status, 0) << r.err.toStdString();
    return QJsonDocument::fromJson(r.out.toUtf8())
        .object()
        .value(QStringLiteral("charts"))
        .toObject()
        .value(QStringLiteral("mcrRentai"))
        .toObject();
}

QJsonArray seriesPoints(const QJsonObject& chart, int index) {
    return chart.value(QStringLiteral("series"))
        .toArray()
        .at(index)
        .toObject()
        .value(QStringLiteral("points"))
        .toArray();
}

} // namespace

TEST(GraphWindow, TextsThatAskForAWindow) {
    EXPECT_EQ(graph::windowOf(QStringLiteral("10")), 10);
    EXPECT_EQ(graph::windowOf(QStringLiteral("1")), 1);
    EXPECT_EQ(graph::windowOf(QStringLiteral(" 7")), 7);
    EXPECT_EQ(graph::windowOf(QStringLiteral("2.5")), 2);
    EXPECT_EQ(graph::windowOf(QStringLiteral("12回")), 12);
    EXPECT_EQ(graph::windowOf(QStringLiteral("99999999999")), std::numeric_limits<int>::max());
    for (const char* text : {"", "0", "0.5", "-3", "abc", "回"})
        EXPECT_FALSE(graph::windowOf(QString::fromUtf8(text)).has_value()) << text;
}

TEST(GraphChart, MovingAverageStartsAtTheWindowAndCoversExactlyIt) {
    std::vector<float> weights;
    for (int i = 0; i < 25; ++i)
        weights.push_back(60.0f + 0.5f * static_cast<float>(i));
    const std::vector<double> points = movingAverage(daily(weights), 10);
    ASSERT_EQ(points.size(), 25u);
    for (int i = 0; i < 9; ++i)
        EXPECT_TRUE(std::isnan(points[static_cast<size_t>(i)])) << i;
    EXPECT_EQ(points[9], 62.25);  // records 1 to 10
    EXPECT_EQ(points[24], 69.75); // records 16 to 25
    EXPECT_EQ(pointCount(points), 16);
}

TEST(GraphChart, WindowOfOneIsTheWeightLine) {
    ChartModel chart;
    graph::fillChartSeries(daily({75.1f, 74.85f, 65.35f}), 1, &chart);
    EXPECT_EQ(chart.series[1].points, chart.series[0].points);
    EXPECT_EQ(chart.series[0].points, (std::vector<double>{75.1, 74.85, 65.35}));
}

TEST(GraphChart, WindowBeyondTheCountOrBelowOneDrawsNoAverage) {
    const AnalysisSnapshot s = daily({70.0f, 69.0f, 68.0f});
    EXPECT_EQ(pointCount(movingAverage(s, 3)), 1);
    EXPECT_EQ(pointCount(movingAverage(s, 4)), 0);
    EXPECT_EQ(pointCount(movingAverage(s, std::numeric_limits<int>::max())), 0);
    EXPECT_EQ(pointCount(movingAverage(s, 0)), 0);
    // a stored window that is no number must not stop the panel
    const GraphView v = graph::buildGraph(s, 65.0f, QStringLiteral("abc"), false);
    EXPECT_EQ(pointCount(v.chart.series[1].points), 0);
    EXPECT_EQ(pointCount(v.chart.series[0].points), 3);
}

TEST(GraphChart, SumIsAccumulatedInSinglePrecision) {
    // these ten weights add up to 712.0001 in single precision (712.0 in decimals)
    const std::vector<double> points =
        movingAverage(daily({62.9f, 65.4f, 69.9f, 70.7f, 78.0f, 71.1f, 73.2f, 68.4f, 75.7f, 76.7f}), 10);
    EXPECT_EQ(points[9], 712.0001 / 10);
}

TEST(GraphChart, LongTypedWindowStaysAccurate) {
    std::vector<float> weights;
    for (int i = 0; i < 3000; ++i)
        weights.push_back(i % 2 ? 65.2f : 65.1f);
    const std::vector<double> points = movingAverage(daily(weights), 1500);
    EXPECT_EQ(pointCount(points), 1501);
    EXPECT_TRUE(std::isnan(points[1498]));
    EXPECT_NEAR(points[1499], 65.15, 1e-9);
    EXPECT_NEAR(points[2999], 65.15, 1e-9);
}

TEST(GraphChart, SeriesOrderAxesAndDateCategories) {
    const GraphView v = graph::buildGraph(
        dated({{QStringLiteral("2003/07/25"), 70.2f, 25.1f}, {QStringLiteral("2003/07/26"), 64.3f, 22.4f}}), 65.0f,
        QStringLiteral("10"), false);
    const ChartModel& c = v.chart;
    EXPECT_EQ(c.name, QStringLiteral("mcrRentai"));
    ASSERT_EQ(c.series.size(), 3u);
    EXPECT_EQ(c.series[0].name, QStringLiteral("推移"));
    EXPECT_EQ(c.series[1].name, QStringLiteral("移動平均"));
    EXPECT_EQ(c.series[2].name, QStringLiteral("体脂肪率"));
    EXPECT_FALSE(c.series[0].secondaryAxis);
    EXPECT_FALSE(c.series[1].secondaryAxis);
    EXPECT_TRUE(c.series[2].secondaryAxis);
    EXPECT_EQ(c.series[2].points, (std::vector<double>{25.1, 22.4}));
    EXPECT_EQ(c.categoryLabels, (QStringList{"2003/07/25", "2003/07/26"}));
    EXPECT_EQ(c.primary.min, 64.0);
    EXPECT_EQ(c.primary.max, 71.0);
    EXPECT_EQ(c.secondary.min, 18.0);
    EXPECT_EQ(c.secondary.max, 29.0);
}

TEST(GraphAxes, TopIsTheNextWholeKiloAtOrAboveTheStoredValue) {
    const auto top = [](float heaviest, float fat) {
        const GraphView v = graph::buildGraph(dated({{QStringLiteral("2003/07/25"), heaviest, fat}}), 60.0f,
                                              QStringLiteral("1"), false);
        return std::pair{*v.chart.primary.max, *v.chart.secondary.max};
    };
    EXPECT_EQ(top(70.0f, 20.0f).first, 70.0);
    EXPECT_EQ(top(70.1f, 20.0f).first, 71.0);
    EXPECT_EQ(top(69.95f, 20.0f).first, 70.0);
    // 33.1 is 33.0999985 in single precision: the stored value still gives 33.1 + 3.9 = 37
    EXPECT_EQ(top(70.0f, 33.1f).second, 37.0);
    EXPECT_EQ(top(70.0f, 25.0f).second, 28.0);
}

TEST(GraphAxes, TargetToggleChoosesTheLowerBound) {
    const AnalysisSnapshot s = daily({70.2f, 64.3f});
    EXPECT_EQ(graph::buildGraph(s, 62.5f, QStringLiteral("10"), false).chart.primary.min, 64.0);
    EXPECT_EQ(graph::buildGraph(s, 62.5f, QStringLiteral("10"), true).chart.primary.min, 62.0);
    EXPECT_EQ(graph::primaryMinimum(s, 62.5f, true), 62.0);
    EXPECT_EQ(graph::primaryMinimum(s, 62.5f, false), 64.0);
    EXPECT_EQ(graph::targetButtonColour(true), std::optional<Rgb>(rgb(255, 224, 192)));
    EXPECT_FALSE(graph::targetButtonColour(false).has_value());
}

TEST(GraphLabels, PeriodMinimumAndTargetTexts) {
    const GraphView v = graph::buildGraph(dated({{QStringLiteral("2003/07/25"), 70.5f},
                                                 {QStringLiteral("2003/07/28"), 67.5f},
                                                 {QStringLiteral("2003/08/02"), 67.5f},
                                                 {QStringLiteral("2003/08/10"), 68.0f}}),
                                          68.8f, QStringLiteral("10"), false);
    EXPECT_EQ(v.periodText, QStringLiteral("2003/07/25 ( 70.5Kg ) でスタート ～ 2003/08/10 ( 68Kg ) まで 16日経過 _ "
                                           "2.5Kg 減"));
    EXPECT_EQ(v.lowestText, QStringLiteral("最小記録 2003/07/28 の 67.5Kg   初日から 3.0Kg 減"));
    EXPECT_EQ(v.targetCaption, QStringLiteral("目標まで残り　-0.8Kg"));
}

TEST(GraphLabels, ChangeWordsForSameAndMore) {
    const GraphView same = graph::buildGraph(daily({65.4f, 66.0f, 65.4f}), 60.0f, QStringLiteral("10"), false);
    EXPECT_TRUE(same.periodText.endsWith(QStringLiteral("まで 2日経過 _ 0.0Kg 同"))) << same.periodText.toStdString();
    EXPECT_EQ(same.lowestText, QStringLiteral("最小記録 2003/07/25 の 65.4Kg   初日から 0.0Kg 同"));
    EXPECT_EQ(same.targetCaption, QStringLiteral("目標まで残り　5.4Kg"));
    const GraphView more = graph::buildGraph(daily({65.0f, 65.8f}), 60.0f, QStringLiteral("10"), false);
    EXPECT_TRUE(more.periodText.endsWith(QStringLiteral("( 65.8Kg ) まで 1日経過 _ 0.8Kg 増")))
        << more.periodText.toStdString();
}

TEST(GraphPanel, SeriesChoiceShowsAndHidesWithoutLosingData) {
    GraphView v = graph::buildGraph(daily({70.0f, 69.0f}), 65.0f, QStringLiteral("1"), false);
    ChartModel& c = v.chart;
    const auto shown = [&c] {
        return std::vector<bool>{c.primary.visible, c.secondary.visible, c.series[0].visible, c.series[1].visible,
                                 c.series[2].visible};
    };
    graph::applySeriesChoice(SeriesChoice::BodyFat, &c);
    EXPECT_EQ(shown(), (std::vector<bool>{false, true, false, false, true}));
    graph::applySeriesChoice(SeriesChoice::Weight, &c);
    EXPECT_EQ(shown(), (std::vector<bool>{true, false, true, true, false}));
    graph::applySeriesChoice(SeriesChoice::Mixed, &c);
    EXPECT_EQ(shown(), (std::vector<bool>{true, true, true, true, true}));
    EXPECT_EQ(pointCount(c.series[1].points), 2);
}

TEST(GraphPanel, ChosenSituationDrawsItsRecordsWithTheirTrendLast) {
    std::vector<WeightRecord> records;
    for (int d = 0; d < 3; ++d) {
        const QString date = QDate(2024, 3, 1).addDays(d).toString(QStringLiteral("yyyy/MM/dd"));
        records.push_back(test::record(date, QStringLiteral("朝"), 70.0f - static_cast<float>(d), {}, 22.0f));
        records.push_back(test::record(date, QStringLiteral("夜"), 80.0f, {}, 22.0f));
    }
    const AnalysisSnapshot every = AnalysisSnapshot::load(records);
    TrendChoice morning;
    morning.situation = QStringLiteral("朝");
    const GraphTrendView chosen =
        graph::buildWithTrend(records, every, morning.situation, 65.0f, QStringLiteral("2"), false);
    ASSERT_TRUE(chosen.chosen.has_value());
    EXPECT_EQ(chosen.chosen->weight, (std::vector<float>{70.0f, 69.0f, 68.0f}));
    const std::vector<ChartSeries>& series = chosen.graph.chart.series;
    ASSERT_EQ(series.size(), static_cast<size_t>(graph::kTrendSeries + 1));
    EXPECT_EQ(series[graph::kTrendSeries].name, QStringLiteral("トレンド"));
    const TrendView trend = trend::compute(records, morning, 65.0f);
    EXPECT_EQ(series[graph::kTrendSeries].points, trend.trend);
    EXPECT_EQ(chosen.trend.forecastText, trend.forecastText);
    EXPECT_EQ(chosen.graph.lowestText, graph::buildGraph(*chosen.chosen, 65.0f, QStringLiteral("2"), false).lowestText);

    // every record: the caller's snapshot is drawn as it is, one trend point per record
    const GraphTrendView all = graph::buildWithTrend(records, every, std::nullopt, 65.0f, QStringLiteral("2"), false);
    EXPECT_FALSE(all.chosen.has_value());
    EXPECT_EQ(all.graph.chart.series[0].points.size(), records.size());
    EXPECT_EQ(all.graph.chart.series[graph::kTrendSeries].points.size(), records.size());
    EXPECT_EQ(all.trend.trendText, trend::compute(records, {}, 65.0f).trendText);
}

TEST(GraphPanel, EmptyLogGivesAnEmptyChart) {
    const GraphView v = graph::buildGraph(AnalysisSnapshot{}, 65.0f, QStringLiteral("10"), true);
    EXPECT_EQ(v.chart.categoryCount(), 0);
    EXPECT_EQ(v.chart.series.size(), 3u);
    EXPECT_FALSE(v.chart.primary.min.has_value());
    EXPECT_FALSE(v.chart.secondary.max.has_value());
    EXPECT_TRUE(v.periodText.isEmpty());
    EXPECT_TRUE(v.targetCaption.isEmpty());
}

TEST(GraphPanel, GuidanceTextEndsEveryLineWithCrLf) {
    const QString text = graph::guidanceText();
    EXPECT_TRUE(text.endsWith(QStringLiteral("切り替えられます。\r\n")));
    const QStringList lines = text.split(QStringLiteral("\r\n"));
    ASSERT_EQ(lines.size(), 9); // eight lines and the empty rest after the last line end
    EXPECT_EQ(lines.at(0), QStringLiteral("プカプカダイエットを開始した日から現在までの体重の推移を表示します。"));
    EXPECT_TRUE(lines.at(6).isEmpty());
    EXPECT_EQ(lines.at(5), QStringLiteral("突発的な増減の影響を受けず傾向をつかみやすいグラフになります。"));
}

TEST(GraphSample, WholeSampleIsChartedWithinItsAxes) {
    const AnalysisSnapshot s = AnalysisSnapshot::load(datalog::readLog(test::sampleDir()).records);
    ASSERT_EQ(s.count(), 363);
    const GraphView v = graph::buildGraph(s, 65.0f, QStringLiteral("10"), false);
    const ChartModel& c = v.chart;
    EXPECT_EQ(c.categoryCount(), 363);
    EXPECT_EQ(pointCount(c.series[1].points), 354);
    for (int s1 = 0; s1 < 2; ++s1)
        for (double p : c.series[static_cast<size_t>(s1)].points)
            if (!std::isnan(p)) {
                EXPECT_GE(p, *c.primary.min);
                EXPECT_LE(p, *c.primary.max);
            }
    for (double p : c.series[2].points) {
        EXPECT_GE(p, *c.secondary.min);
        EXPECT_LE(p, *c.secondary.max);
    }
    EXPECT_TRUE(v.periodText.startsWith(QStringLiteral("2003/07/25 ( 75.5Kg ) でスタート ～ 2003/11/22 ")));
    EXPECT_TRUE(v.targetCaption.startsWith(QStringLiteral("目標まで残り　")));
}

TEST(GraphReport, WindowComesFromTheFileOrTheOption) {
    const QString dir = test::sampleDir();
    const QStringList base{QStringLiteral("-C"), dir, QStringLiteral("--format"), QStringLiteral("json"),
                           QStringLiteral("graph")};
    const QJsonObject stored = reportChart(base);
    const QJsonArray average = seriesPoints(stored, 1);
    ASSERT_EQ(average.size(), 363);
    EXPECT_TRUE(average.at(8).isNull()); // the sample stores a window of 10
    EXPECT_FALSE(average.at(9).isNull());
    const QJsonArray primary = stored.value(QStringLiteral("primary")).toArray();
    ASSERT_EQ(primary.size(), 2);
    EXPECT_EQ(primary.at(0).toDouble(), 68.0);
    EXPECT_EQ(primary.at(1).toDouble(), 77.0);

    const QJsonArray three = seriesPoints(reportChart(base + QStringList{"--window", "3"}), 1);
    EXPECT_TRUE(three.at(1).isNull());
    EXPECT_FALSE(three.at(2).isNull());
    const QJsonArray typed = seriesPoints(reportChart(base + QStringList{"--window", "2.5"}), 1);
    EXPECT_TRUE(typed.at(0).isNull());
    EXPECT_FALSE(typed.at(1).isNull());
}

TEST(GraphReport, BadWindowExitsWithTwoAndAStoredBadWindowDrawsNoAverage) {
    for (const char* value : {"0", "-2", "abc", "10abc", ""}) {
        const test::ToolRun r = test::runReport({QStringLiteral("-C"), test::sampleDir(), QStringLiteral("graph"),
                                                 QStringLiteral("--window"), QString::fromUtf8(value)});
        EXPECT_EQ(r.status, 2) << value;
        EXPECT_EQ(r.err.count(QLatin1Char('\n')), 1);
    }
    test::WorkDir dir;
    dir.copySample();
    dir.writeText(QStringLiteral("移動平均.TXT"), QStringLiteral("abc\r\n"));
    const QJsonObject chart = reportChart({QStringLiteral("-C"), dir.path(), QStringLiteral("--format"),
                                           QStringLiteral("json"), QStringLiteral("graph")});
    for (const QJsonValue p : seriesPoints(chart, 1))
        EXPECT_TRUE(p.isNull());
    EXPECT_EQ(seriesPoints(chart, 0).size(), 363);
}

TEST(GraphReport, LabelsAndCaptionArePrinted) {
    const test::ToolRun r = test::runReport({QStringLiteral("-C"), test::sampleDir(), QStringLiteral("graph")});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.contains(QStringLiteral("\nlblKiro\t最小記録 ")));
    EXPECT_TRUE(r.out.contains(QStringLiteral("cmdMokuChk\t目標まで残り　")));
    EXPECT_TRUE(r.out.contains(QStringLiteral("# mcrRentai\n1\t75.5\t\t22.3\n")));
}
