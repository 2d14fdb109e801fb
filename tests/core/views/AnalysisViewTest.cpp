#include "tests/core/CoreTestHelpers.h"

#include "core/files/DataLog.h"
#include "core/views/AnalysisSnapshot.h"
#include "core/views/AnalysisView.h"
#include "tools/report/ReportCli.h"

#include <QDate>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include "tests/core/TestSupport.h"

#include <gtest/gtest.h>

#include <limits>
#include <random>

using namespace puka;
using analysis::BandStep;
using analysis::DifferenceMode;

namespace {

// One record a day from 2003/07/25 on, with the given weights.
std::vector<WeightRecord> daily(const std::vector<float>& weights) {
    std::vector<WeightRecord> records;
    QDate day(2003, 7, 25);
    for (float w : weights) {
        records.push_back(test::record(day.toString(QStringLiteral("yyyy/MM/dd")), QStringLiteral("朝"), w));
        day = day.addDays(1);
    }
    return records;
}

AnalysisSnapshot snapshot(const std::vector<float>& weights) {
    return AnalysisSnapshot::load(daily(weights));
}

AnalysisSnapshot dated(const std::vector<std::pair<QString, float>>& entries) {
    std::vector<WeightRecord> records;
    for (const auto& [date, weight] : entries)
        records.push_back(test::record(date, QStringLiteral("朝"), weight));
    return AnalysisSnapshot::load(records);
}

QStringList row(const GridModel& g, int bodyRow) {
    QStringList cells;
    for (int c = 0; c < g.columnCount(); ++c)
        cells << g.cell(bodyRow, c);
    return cells;
}

QStringList columnTexts(const GridModel& g, int column) {
    QStringList cells;
    for (int r = 0; r < g.bodyRows(); ++r)
        cells << g.cell(r, column);
    return cells;
}

GridModel timeSeries(const std::vector<float>& weights, DifferenceMode mode = DifferenceMode::Previous) {
    GridModel g = analysis::emptyAnalysisView().timeSeries;
    analysis::fillTimeSeries(snapshot(weights), mode, &g);
    return g;
}

struct Milestones {
    GridModel grid;
    QString label;
};

Milestones milestones(const AnalysisSnapshot& s, const QString& previousLabel = QStringLiteral("前の表示")) {
    Milestones m{analysis::emptyAnalysisView().milestones, previousLabel};
    analysis::fillMilestones(s, &m.grid, &m.label);
    return m;
}

struct Trend {
    GridModel grid;
    QString label;
};

Trend trend(const std::vector<float>& weights) {
    Trend t{analysis::emptyAnalysisView().meanTrend, {}};
    analysis::fillMeanTrend(snapshot(weights), &t.grid, &t.label);
    return t;
}

GridModel bands(const std::vector<float>& weights, BandStep step) {
    AnalysisView v = analysis::emptyAnalysisView();
    analysis::fillRanking(snapshot(weights), step, &v.ranking, &v.rankingCaption);
    return v.ranking;
}

// The ranking's exchange sort exactly as the list describes it, over every band.
std::vector<int> naiveExchange(std::vector<int> visits) {
    std::vector<int> item(visits.size());
    for (size_t i = 0; i < item.size(); ++i)
        item[i] = static_cast<int>(i);
    for (size_t j = 0; j + 1 < visits.size(); ++j)
        for (size_t m = j + 1; m < visits.size(); ++m)
            if (visits[j] < visits[m]) {
                std::swap(visits[j], visits[m]);
                std::swap(item[j], item[m]);
            }
    return item;
}

} // namespace

TEST(AnalysisSnapshot, KeepsLogOrderAndExtremesWithTheEarliestMinimumDate) {
    const AnalysisSnapshot s = dated({{QStringLiteral("2003/07/25"), 70.0f},
                                      {QStringLiteral("2003/07/26"), 68.5f},
                                      {QStringLiteral("2003/07/28"), 71.2f},
                                      {QStringLiteral("2003/07/30"), 68.5f}});
    ASSERT_EQ(s.count(), 4);
    EXPECT_EQ(s.weight[2], 71.2f);
    EXPECT_EQ(s.date[3], QStringLiteral("2003/07/30"));
    EXPECT_EQ(s.maxWeight, 71.2f);
    EXPECT_EQ(s.minWeight, 68.5f);
    EXPECT_EQ(s.minWeightDate, QStringLiteral("2003/07/26"));
    EXPECT_EQ(s.maxFat, 22.3f);
    EXPECT_EQ(s.minFat, 22.3f);
}

TEST(AnalysisSnapshot, WeightsOutsideTheEntryRangeStillNameARecord) {
    const AnalysisSnapshot s = snapshot({1200.0f, 1100.0f});
    EXPECT_EQ(s.minWeight, 1100.0f);
    EXPECT_EQ(s.minWeightDate, QStringLiteral("2003/07/26"));
}

TEST(AnalysisRounding, HalvesGoUpAndNegativeHalvesTowardZero) {
    EXPECT_EQ(analysis::roundTenth(0.25f), 0.3f);
    EXPECT_EQ(analysis::roundTenth(-0.25f), -0.2f);
    EXPECT_EQ(analysis::roundTenth(-0.75f), -0.7f);
    EXPECT_EQ(analysis::roundTenth(0.04f), 0.0f);
    EXPECT_EQ(analysis::roundTenth(-0.04f), 0.0f);
    EXPECT_EQ(analysis::roundTenth(1.96f), 2.0f);
}

TEST(AnalysisTimeSeries, RowsShowCountDateWeightAndSignedDifference) {
    const GridModel g = timeSeries({65.4f, 65.1f, 65.4f, 65.4f, 65.44f});
    EXPECT_EQ(g.columns[3].header, QStringLiteral("前回差"));
    ASSERT_EQ(g.bodyRows(), 5);
    EXPECT_EQ(row(g, 0), (QStringList{"1回目", "2003/07/25", "65.4Kg", "±0.0Kg"}));
    EXPECT_EQ(row(g, 1), (QStringList{"2回目", "2003/07/26", "65.1Kg", "-0.3Kg"}));
    EXPECT_EQ(g.cell(2, 3), QStringLiteral("+0.3Kg"));
    EXPECT_EQ(g.cell(3, 3), QStringLiteral("±0.0Kg"));
    EXPECT_EQ(g.cell(4, 3), QStringLiteral("±0.0Kg")); // a rise of 0.04 rounds to zero
}

TEST(AnalysisTimeSeries, NegativeHalvesRoundUpToTheNextTenth) {
    // 65.0 and 64.75 are exact binary values: the difference is exactly -0.25 and +0.25
    const GridModel g = timeSeries({65.0f, 64.75f, 65.0f});
    EXPECT_EQ(g.cell(1, 3), QStringLiteral("-0.2Kg"));
    EXPECT_EQ(g.cell(2, 3), QStringLiteral("+0.3Kg"));
}

TEST(AnalysisTimeSeries, DifferenceIsTakenInSinglePrecision) {
    // 60.0 - 59.15 is 0.8499985 in single precision, which rounds down to 0.8
    const GridModel previous = timeSeries({59.15f, 60.0f});
    EXPECT_EQ(previous.cell(1, 3), QStringLiteral("+0.8Kg"));
    const GridModel first = timeSeries({59.15f, 58.0f, 60.0f}, DifferenceMode::First);
    EXPECT_EQ(first.cell(2, 3), QStringLiteral("+0.8Kg"));
}

TEST(AnalysisTimeSeries, FirstModeComparesWithTheFirstRecordAndChangesOnlyColumnThree) {
    const std::vector<float> weights{70.0f, 69.5f, 69.0f, 70.3f};
    const GridModel previous = timeSeries(weights, DifferenceMode::Previous);
    const GridModel first = timeSeries(weights, DifferenceMode::First);
    EXPECT_EQ(first.columns[3].header, QStringLiteral("初回差"));
    EXPECT_EQ(columnTexts(first, 3), (QStringList{"±0.0Kg", "-0.5Kg", "-1.0Kg", "+0.3Kg"}));
    EXPECT_EQ(columnTexts(previous, 3), (QStringList{"±0.0Kg", "-0.5Kg", "-0.5Kg", "+1.3Kg"}));
    for (int c = 0; c < 3; ++c)
        EXPECT_EQ(columnTexts(first, c), columnTexts(previous, c)) << c;
}

TEST(AnalysisTimeSeries, ScrollsToTheLastRowFromTenRecords) {
    EXPECT_EQ(timeSeries(std::vector<float>(9, 65.0f)).topRow, 0);
    const GridModel g = timeSeries(std::vector<float>(10, 65.0f));
    EXPECT_EQ(g.bodyRows(), 10);
    EXPECT_EQ(g.topRow, 10);
}

TEST(AnalysisTimeSeries, EmptyLogLeavesTheGridAlone) {
    GridModel g = analysis::emptyAnalysisView().timeSeries;
    g.addRow();
    g.setCell(0, 0, QStringLiteral("残る"));
    analysis::fillTimeSeries(AnalysisSnapshot{}, DifferenceMode::Previous, &g);
    EXPECT_EQ(g.cell(0, 0), QStringLiteral("残る"));
    EXPECT_EQ(g.columns[3].header, QStringLiteral("初回差"));
}

TEST(AnalysisMilestones, EachHalfKiloAtTheFirstRecordReachingIt) {
    const Milestones m = milestones(dated({{QStringLiteral("2003/07/25"), 70.0f},
                                           {QStringLiteral("2003/07/27"), 69.6f},
                                           {QStringLiteral("2003/07/30"), 69.5f},
                                           {QStringLiteral("2003/08/02"), 69.8f},
                                           {QStringLiteral("2003/08/04"), 69.0f},
                                           {QStringLiteral("2003/08/09"), 68.4f},
                                           {QStringLiteral("2003/08/11"), 68.9f}}));
    ASSERT_EQ(m.grid.bodyRows(), 3);
    EXPECT_EQ(row(m.grid, 0), (QStringList{"0.5Kg減", "2003/07/30", "5日後", "5日後"}));
    EXPECT_EQ(row(m.grid, 1), (QStringList{"1.0Kg減", "2003/08/04", "10日後", "5日後"}));
    EXPECT_EQ(row(m.grid, 2), (QStringList{"1.5Kg減", "2003/08/09", "15日後", "5日後"}));
    EXPECT_EQ(m.label, QStringLiteral("最高　1.6Kg減を達成してから　2日経過"));
}

TEST(AnalysisMilestones, OneRecordCanReachSeveralAndAReturnDoesNotRewrite) {
    const Milestones m = milestones(dated({{QStringLiteral("2003/07/25"), 70.0f},
                                           {QStringLiteral("2003/07/29"), 68.8f},
                                           {QStringLiteral("2003/07/30"), 70.2f},
                                           {QStringLiteral("2003/08/03"), 68.8f},
                                           {QStringLiteral("2003/08/05"), 68.5f}}));
    ASSERT_EQ(m.grid.bodyRows(), 3);
    EXPECT_EQ(row(m.grid, 0), (QStringList{"0.5Kg減", "2003/07/29", "4日後", "4日後"}));
    EXPECT_EQ(row(m.grid, 1), (QStringList{"1.0Kg減", "2003/07/29", "4日後", "0日後"}));
    EXPECT_EQ(row(m.grid, 2), (QStringList{"1.5Kg減", "2003/08/05", "11日後", "7日後"}));
    // the minimum was reached on the last day
    EXPECT_EQ(m.label, QStringLiteral("最高　1.5Kg減を達成してから　0日経過"));
}

TEST(AnalysisMilestones, BestLossJustUnderAStepLeavesTheLastRowEmpty) {
    // 1.96 rounds to 2.0: four rows, of which 2.0Kg減 is never reached
    const Milestones m = milestones(snapshot({70.0f, 68.04f}));
    ASSERT_EQ(m.grid.bodyRows(), 4);
    EXPECT_EQ(m.grid.cell(2, 0), QStringLiteral("1.5Kg減"));
    EXPECT_EQ(row(m.grid, 3), (QStringList{"", "", "", ""}));
    EXPECT_EQ(m.label, QStringLiteral("最高　2.0Kg減を達成してから　0日経過"));

    // 64.2 - 63.7 is 0.4999962 in single precision: it rounds to one step but does not reach it
    const Milestones single = milestones(snapshot({64.2f, 63.7f}));
    ASSERT_EQ(single.grid.bodyRows(), 1);
    EXPECT_EQ(row(single.grid, 0), (QStringList{"", "", "", ""}));
}

TEST(AnalysisMilestones, UnderHalfAKiloShowsTheHeaderOnlyAndKeepsTheLabel) {
    const Milestones m = milestones(snapshot({70.0f, 69.6f, 70.4f}));
    EXPECT_EQ(m.grid.bodyRows(), 0);
    EXPECT_EQ(m.label, QStringLiteral("前の表示"));
}

TEST(AnalysisMilestones, LabelCountsFromTheFirstDayOfTheMinimum) {
    const Milestones m = milestones(dated({{QStringLiteral("2003/07/25"), 70.0f},
                                           {QStringLiteral("2003/07/28"), 69.0f},
                                           {QStringLiteral("2003/08/01"), 69.5f},
                                           {QStringLiteral("2003/08/07"), 69.0f},
                                           {QStringLiteral("2003/08/10"), 69.4f}}));
    EXPECT_EQ(m.label, QStringLiteral("最高　1.0Kg減を達成してから　13日経過"));
}

TEST(AnalysisMilestones, ManyRowsScrollToTheEnd) {
    const Milestones m = milestones(snapshot({80.0f, 74.0f}));
    ASSERT_EQ(m.grid.bodyRows(), 12);
    EXPECT_EQ(m.grid.cell(11, 0), QStringLiteral("6.0Kg減"));
    EXPECT_EQ(m.grid.topRow, 12);
    EXPECT_EQ(milestones(snapshot({80.0f, 75.5f})).grid.topRow, 0);
}

TEST(AnalysisMilestones, ACorruptedWeightCannotAskForUnboundedRows) {
    const Milestones m = milestones(snapshot({1.0e9f, 60.0f}));
    EXPECT_EQ(m.grid.bodyRows(), analysis::kMaxMilestoneRows);
    EXPECT_EQ(m.grid.cell(analysis::kMaxMilestoneRows - 1, 1), QStringLiteral("2003/07/26"));
}

TEST(AnalysisTrend, RunningMeanInGramsWithTheStreakLabel) {
    const Trend t = trend({70.0f, 69.0f, 69.5f});
    ASSERT_EQ(t.grid.bodyRows(), 3);
    EXPECT_EQ(row(t.grid, 0), (QStringList{"1回目", "70.0Kg", "70.000Kg", "0g"}));
    EXPECT_EQ(row(t.grid, 1), (QStringList{"2回目", "69.0Kg", "69.500Kg", "-500g"}));
    EXPECT_EQ(row(t.grid, 2), (QStringList{"3回目", "69.5Kg", "69.500Kg", "±0g"}));
    EXPECT_EQ(t.label, QStringLiteral("連続マイナス記録 2回達成！"));
}

TEST(AnalysisTrend, ARiseResetsTheStreak) {
    const Trend t = trend({70.0f, 69.0f, 71.0f});
    EXPECT_EQ(row(t.grid, 2), (QStringList{"3回目", "71.0Kg", "70.000Kg", "+500g"}));
    EXPECT_EQ(t.label, QStringLiteral("平均を上回ってしまいました..."));
    EXPECT_EQ(trend({70.0f}).label, QStringLiteral("平均を上回ってしまいました..."));
}

TEST(AnalysisTrend, SignFollowsTheUnroundedChange) {
    // the mean rises by a third of a gram: shown as +0g, and it ends the streak
    const Trend t = trend({65.0f, 65.0f, 65.001f});
    EXPECT_EQ(t.grid.cell(2, 3), QStringLiteral("+0g"));
    EXPECT_EQ(t.label, QStringLiteral("平均を上回ってしまいました..."));
}

TEST(AnalysisTrend, LongStreaksAreCountedWithoutOverflow) {
    const Trend t = trend(std::vector<float>(40000, 65.0f));
    EXPECT_EQ(t.grid.bodyRows(), 40000);
    EXPECT_EQ(t.grid.cell(39999, 0), QStringLiteral("40000回目"));
    EXPECT_EQ(t.label, QStringLiteral("連続マイナス記録 39999回達成！"));
    EXPECT_EQ(t.grid.topRow, 40000);
}

TEST(AnalysisBands, OneKiloAndHalfKiloBands) {
    const std::vector<float> weights{65.0f, 65.4f, 65.6f, 66.2f};
    const GridModel one = bands(weights, BandStep::One);
    ASSERT_EQ(one.bodyRows(), 2);
    EXPECT_EQ(row(one, 0), (QStringList{"1位", "65.0～65.9Kg", "3回", ""}));
    EXPECT_EQ(row(one, 1), (QStringList{"2位", "66.0～66.9Kg", "1回", "2回"}));
    EXPECT_EQ(one.topRow, 0);
    const GridModel half = bands(weights, BandStep::Half);
    ASSERT_EQ(half.bodyRows(), 3);
    EXPECT_EQ(columnTexts(half, 1), (QStringList{"65.0～65.4Kg", "65.5～65.9Kg", "66.0～66.4Kg"}));
    EXPECT_EQ(columnTexts(half, 2), (QStringList{"2回", "1回", "1回"}));
    EXPECT_EQ(columnTexts(half, 3), (QStringList{"", "1回", "0回"}));
}

TEST(AnalysisBands, TiesComeOutInTheExchangeSortOrder) {
    // bands A 65, B 66, C 67, D 68 with 2, 3, 2, 3 visits end as B, D, C, A
    const GridModel g = bands({65.0f, 65.5f, 66.0f, 66.1f, 66.2f, 67.0f, 67.3f, 68.0f, 68.5f, 68.9f}, BandStep::One);
    EXPECT_EQ(columnTexts(g, 1), (QStringList{"66.0～66.9Kg", "68.0～68.9Kg", "67.0～67.9Kg", "65.0～65.9Kg"}));
    EXPECT_EQ(columnTexts(g, 3), (QStringList{"", "0回", "1回", "0回"}));
}

TEST(AnalysisBands, LowerBoundBelongsToTheBandAndTheLastHundredthToNone) {
    const GridModel one = bands({65.0f, 65.99f, 66.0f, 65.98f}, BandStep::One);
    EXPECT_EQ(columnTexts(one, 1), (QStringList{"65.0～65.9Kg", "66.0～66.9Kg"}));
    EXPECT_EQ(columnTexts(one, 2), (QStringList{"2回", "1回"}));
    const GridModel half = bands({65.49f, 65.5f, 65.0f, 65.485f}, BandStep::Half);
    EXPECT_EQ(columnTexts(half, 1), (QStringList{"65.0～65.4Kg", "65.5～65.9Kg"}));
    EXPECT_EQ(columnTexts(half, 2), (QStringList{"2回", "1回"}));
}

TEST(AnalysisBands, OneBandAndCountsBeyondSixteenBits) {
    const GridModel g = bands(std::vector<float>(40000, 65.2f), BandStep::Half);
    ASSERT_EQ(g.bodyRows(), 1);
    EXPECT_EQ(row(g, 0), (QStringList{"1位", "65.0～65.4Kg", "40000回", ""}));
}

TEST(AnalysisBands, SwitchingTheWidthRewritesCaptionAndRows) {
    AnalysisView v = analysis::emptyAnalysisView();
    EXPECT_EQ(v.rankingCaption, QStringLiteral("    体重推移累積番付 < 0.5Kg刻み >"));
    const AnalysisSnapshot s = snapshot({65.0f, 65.6f, 66.2f, 66.7f});
    analysis::fillRanking(s, BandStep::Half, &v.ranking, &v.rankingCaption);
    EXPECT_EQ(v.ranking.bodyRows(), 4);
    analysis::fillRanking(s, BandStep::One, &v.ranking, &v.rankingCaption);
    EXPECT_EQ(v.rankingCaption, QStringLiteral("    体重推移累積番付 < 1.0Kg刻み >"));
    EXPECT_EQ(v.ranking.bodyRows(), 2);
    EXPECT_EQ(columnTexts(v.ranking, 2), (QStringList{"2回", "2回"}));
}

TEST(AnalysisBands, FastExchangeOrderMatchesTheExchangeSortWithEmptyBandsLeftOut) {
    std::mt19937 random(20031122);
    for (int trial = 0; trial < 3000; ++trial) {
        std::uniform_int_distribution<int> length(1, 14);
        std::uniform_int_distribution<int> count(0, 4);
        std::vector<int> all(static_cast<size_t>(length(random)));
        for (int& v : all)
            v = count(random);
        // the sort over every band, the empty ones dropped afterwards
        std::vector<int> expected;
        for (int i : naiveExchange(all))
            if (all[static_cast<size_t>(i)] > 0)
                expected.push_back(i);
        std::vector<int> visited;
        std::vector<int> index;
        for (size_t i = 0; i < all.size(); ++i)
            if (all[i] > 0) {
                visited.push_back(all[i]);
                index.push_back(static_cast<int>(i));
            }
        std::vector<int> actual;
        for (int i : analysis::exchangeOrder(visited))
            actual.push_back(index[static_cast<size_t>(i)]);
        ASSERT_EQ(actual, expected) << "trial " << trial;
    }
    EXPECT_EQ(analysis::exchangeOrder({2, 3, 2, 3}), (std::vector<int>{1, 3, 2, 0}));
}

TEST(AnalysisPanel, EmptyLogChangesNothing) {
    AnalysisView v = analysis::emptyAnalysisView();
    v.milestoneSummary = QStringLiteral("a");
    v.meanTrendSummary = QStringLiteral("b");
    analysis::fill(AnalysisSnapshot{}, DifferenceMode::First, BandStep::One, &v);
    for (const GridModel* g : {&v.timeSeries, &v.milestones, &v.meanTrend, &v.ranking})
        EXPECT_EQ(g->bodyRows(), 0) << g->name.toStdString();
    EXPECT_EQ(v.milestoneSummary, QStringLiteral("a"));
    EXPECT_EQ(v.meanTrendSummary, QStringLiteral("b"));
    EXPECT_EQ(v.rankingCaption, QStringLiteral("    体重推移累積番付 < 0.5Kg刻み >"));
}

TEST(AnalysisPanel, GridsHaveTheirHeadersWidthsAndAlignments) {
    const AnalysisView v = analysis::emptyAnalysisView();
    const std::vector<std::pair<const GridModel*, QStringList>> expected{
        {&v.timeSeries, {"回数", "日付", "体重", "初回差"}},
        {&v.milestones, {"区切り", "日付", "達成", "経過"}},
        {&v.meanTrend, {"回数", "体重", "平均体重", "差"}},
        {&v.ranking, {"順位", "体重範囲", "累積", "差"}}};
    for (const auto& [g, headers] : expected) {
        QStringList actual;
        for (const GridColumn& c : g->columns) {
            actual << c.header;
            EXPECT_EQ(c.align, Align::RightCenter);
            EXPECT_EQ(c.headerAlign, Align::CenterCenter);
        }
        EXPECT_EQ(actual, headers);
        EXPECT_EQ(g->fixedColumns, 0);
        EXPECT_EQ(g->fontPt, 11);
    }
    EXPECT_EQ(v.meanTrend.columns[2].widthTwips, 1520);
    EXPECT_EQ(v.ranking.columns[1].widthTwips, 2000);
}

TEST(AnalysisPanel, GuidanceTextHasTwelveLinesWithoutAFinalLineEnd) {
    const QString text = analysis::guidanceText();
    const QStringList lines = text.split(QStringLiteral("\r\n"));
    ASSERT_EQ(lines.size(), 12);
    EXPECT_EQ(lines.at(0), QStringLiteral("登録されている体重データを元に４つの分析結果を一覧表示します。"));
    EXPECT_TRUE(lines.at(9).isEmpty());
    EXPECT_TRUE(lines.at(10).isEmpty());
    EXPECT_EQ(lines.at(11), QStringLiteral("これらの情報を利用してダイエットの励みにしましょう。"));
}

TEST(AnalysisSample, ListsOfTheSampleDataAreConsistent) {
    const LogContents log = datalog::readLog(test::sampleDir());
    const AnalysisSnapshot s = AnalysisSnapshot::load(log.records);
    ASSERT_EQ(s.count(), 363);
    AnalysisView v = analysis::emptyAnalysisView();
    analysis::fill(s, DifferenceMode::Previous, BandStep::Half, &v);

    EXPECT_EQ(v.timeSeries.bodyRows(), 363);
    EXPECT_EQ(row(v.timeSeries, 0), (QStringList{"1回目", "2003/07/25", "75.5Kg", "±0.0Kg"}));
    EXPECT_EQ(v.timeSeries.topRow, 363);

    // milestones: every row filled, dates and days rising, the gaps adding up to the days
    ASSERT_GT(v.milestones.bodyRows(), 0);
    qint64 total = 0;
    for (int r = 0; r < v.milestones.bodyRows(); ++r) {
        EXPECT_FALSE(v.milestones.cell(r, 1).isEmpty()) << r;
        total += v.milestones.cell(r, 3).chopped(2).toLongLong();
        EXPECT_EQ(v.milestones.cell(r, 2), QString::number(total) + QStringLiteral("日後"));
    }
    EXPECT_TRUE(v.milestoneSummary.startsWith(QStringLiteral("最高　")));

    EXPECT_EQ(v.meanTrend.bodyRows(), 363);
    EXPECT_EQ(v.meanTrend.cell(0, 2), QStringLiteral("75.500Kg"));
    EXPECT_FALSE(v.meanTrendSummary.isEmpty());

    // every sample weight has one decimal, so every record lands in a band
    int visits = 0;
    int above = std::numeric_limits<int>::max();
    for (int r = 0; r < v.ranking.bodyRows(); ++r) {
        const int n = v.ranking.cell(r, 2).chopped(1).toInt();
        EXPECT_LE(n, above);
        above = n;
        visits += n;
    }
    EXPECT_EQ(visits, 363);
}

TEST(AnalysisReport, OptionsChooseModeAndBandWidth) {
    const QString dir = test::sampleDir();
    const test::ToolRun plain = test::runReport({QStringLiteral("-C"), dir, QStringLiteral("analysis")});
    ASSERT_EQ(plain.status, 0) << plain.err.toStdString();
    EXPECT_TRUE(
        plain.out.startsWith(QStringLiteral("# msgB1\n回数\t日付\t体重\t前回差\n1回目\t2003/07/25\t75.5Kg\t±0.0Kg\n")));
    EXPECT_TRUE(plain.out.contains(QStringLiteral("fraB4\t    体重推移累積番付 < 0.5Kg刻み >\n")));

    const test::ToolRun json = test::runReport(
        {QStringLiteral("-C"), dir, QStringLiteral("--format"), QStringLiteral("json"), QStringLiteral("analysis"),
         QStringLiteral("--first"), QStringLiteral("--band"), QStringLiteral("1.0")});
    ASSERT_EQ(json.status, 0) << json.err.toStdString();
    const QJsonObject root = QJsonDocument::fromJson(json.out.toUtf8()).object();
    const QJsonObject grids = root.value(QStringLiteral("grids")).toObject();
    EXPECT_EQ(grids.keys(), (QStringList{"msgB1", "msgB2", "msgB3", "msgB4"}));
    const QJsonArray b1 = grids.value(QStringLiteral("msgB1")).toObject().value(QStringLiteral("rows")).toArray();
    EXPECT_EQ(b1.at(0).toArray().at(3).toString(), QStringLiteral("初回差"));
    EXPECT_EQ(b1.at(2).toArray().at(3).toString(), QStringLiteral("-0.4Kg"));
    const QJsonObject labels = root.value(QStringLiteral("labels")).toObject();
    EXPECT_EQ(labels.value(QStringLiteral("fraB4")).toString(), QStringLiteral("    体重推移累積番付 < 1.0Kg刻み >"));
    EXPECT_TRUE(labels.contains(QStringLiteral("Label5(0)")));
    EXPECT_TRUE(labels.contains(QStringLiteral("Label5(1)")));
}

TEST(AnalysisReport, BadOptionsExitWithTwo) {
    for (const QStringList& extra : {QStringList{"--band", "0.7"}, QStringList{"--band", "1"}, QStringList{"--band"},
                                     QStringList{"--window", "3"}, QStringList{"--first", "x"}}) {
        const test::ToolRun r =
            test::runReport(QStringList{QStringLiteral("-C"), test::sampleDir(), QStringLiteral("analysis")} + extra);
        EXPECT_EQ(r.status, 2) << extra.join(QLatin1Char(' ')).toStdString();
        EXPECT_EQ(r.err.count(QLatin1Char('\n')), 1);
    }
}
