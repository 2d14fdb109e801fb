#include "core/views/MainView.h"

#include <gtest/gtest.h>

using namespace puka;

namespace {

WeightRecord rec(const char* date, float weight, float fat = 20, const char* situation = "起床後") {
    WeightRecord r;
    r.date = QString::fromUtf8(date);
    r.situation = QString::fromUtf8(situation);
    r.weight = weight;
    r.bodyFat = fat;
    return r;
}

QDate day(const char* text) {
    return QDate::fromString(QString::fromUtf8(text), QStringLiteral("yyyy/MM/dd"));
}

QStringList row(const GridModel& g, int r) {
    QStringList out;
    for (int c = 0; c < g.columnCount(); ++c)
        out.append(g.cell(r, c));
    return out;
}

constexpr float kHeight = 168.5f;

} // namespace

TEST(MainView, DayListComparesFirstRowWithTheLastMeasurementOfAnEarlierDay) {
    const std::vector<WeightRecord> log = {rec("2003/07/25", 75.5f), rec("2003/07/26", 75.0f), rec("2003/07/28", 75.4f),
                                           rec("2003/07/28", 74.9f)};
    const MainView v = mainview::buildMainView(log, day("2003/07/28"), kHeight);
    ASSERT_EQ(v.dayList.bodyRows(), 2);
    EXPECT_EQ(row(v.dayList, 0).mid(0, 7), (QStringList{"1", "起床後", "75.4Kg", "0.4Kg", "↑", "0.0Kg", "→"}));
    EXPECT_EQ(row(v.dayList, 1).mid(0, 7), (QStringList{"2", "起床後", "74.9Kg", "-0.5Kg", "↓", "-0.5Kg", "↓"}));
    EXPECT_EQ(v.dayList.colour(0, 4), differencecolour::kUp);
    EXPECT_EQ(v.dayList.colour(0, 6), differencecolour::kSame);
    EXPECT_EQ(v.dayList.colour(1, 6), differencecolour::kDown);
    EXPECT_FALSE(v.dayList.colour(0, 3).has_value());
    EXPECT_EQ(v.face, QStringLiteral("imgwara"));
}

TEST(MainView, StartDateComparesItsFirstRowWithItself) {
    const std::vector<WeightRecord> log = {rec("2003/07/25", 75.5f), rec("2003/07/25", 75.9f)};
    const MainView v = mainview::buildMainView(log, day("2003/07/25"), kHeight);
    EXPECT_EQ(v.dayList.cell(0, 3), QStringLiteral("0.0Kg"));
    EXPECT_EQ(v.dayList.cell(0, 4), QStringLiteral("→"));
    EXPECT_EQ(v.dayList.cell(1, 3), QStringLiteral("0.4Kg"));
    EXPECT_EQ(v.face, QStringLiteral("imgkana"));
}

TEST(MainView, FaceFollowsTheDaysLastAgainstItsFirst) {
    // a middle measurement higher than both ends does not matter
    const std::vector<WeightRecord> down = {rec("2003/07/25", 70.0f), rec("2003/07/25", 71.0f),
                                            rec("2003/07/25", 69.9f)};
    EXPECT_EQ(mainview::buildMainView(down, day("2003/07/25"), kHeight).face, QStringLiteral("imgwara"));
    // less than 0.05 kg shows 0.0Kg and counts as unchanged
    const std::vector<WeightRecord> same = {rec("2003/07/25", 70.0f), rec("2003/07/25", 70.04f)};
    const MainView v = mainview::buildMainView(same, day("2003/07/25"), kHeight);
    EXPECT_EQ(v.dayList.cell(1, 5), QStringLiteral("0.0Kg"));
    EXPECT_EQ(v.dayList.cell(1, 6), QStringLiteral("→"));
    EXPECT_EQ(v.face, QStringLiteral("imgniko"));
    const std::vector<WeightRecord> one = {rec("2003/07/25", 70.0f)};
    EXPECT_EQ(mainview::buildMainView(one, day("2003/07/25"), kHeight).face, QStringLiteral("imgniko"));
}

TEST(MainView, DayWithoutMeasurementsFallsBackToTheLastRecord) {
    const std::vector<WeightRecord> log = {rec("2003/07/25", 75.5f, 22.3f), rec("2003/08/01", 74.2f, 21.9f)};
    const MainView v = mainview::buildMainView(log, day("2003/08/05"), kHeight);
    EXPECT_EQ(v.dayList.bodyRows(), 0);
    EXPECT_EQ(v.face, QStringLiteral("imgNashi"));
    EXPECT_FLOAT_EQ(v.values.currentWeight, 74.2f);
    EXPECT_FLOAT_EQ(v.values.currentBodyFat, 21.9f);
    EXPECT_EQ(v.values.currentDate, QStringLiteral("2003/08/01"));
    EXPECT_EQ(v.daysText, QStringLiteral("03/07/25 → 7日経過"));
    EXPECT_EQ(v.weightText, QStringLiteral("75.5Kg → 1.3Kg 減"));
    EXPECT_EQ(v.values.recordCount, 2);
    EXPECT_EQ(v.values.lastDate, QStringLiteral("2003/08/01"));
    EXPECT_FALSE(v.chart.primary.min.has_value());
}

TEST(MainView, ProgressLabelsAndChangeWords) {
    const std::vector<WeightRecord> log = {rec("2003/07/25", 74.5f), rec("2003/07/26", 73.2f)};
    const MainView down = mainview::buildMainView(log, day("2003/07/26"), kHeight);
    EXPECT_EQ(down.weightText, QStringLiteral("74.5Kg → 1.3Kg 減"));
    EXPECT_TRUE(down.bmiText.endsWith(QStringLiteral(" 減")));
    EXPECT_TRUE(down.obesityText.contains(QStringLiteral("% → ")));
    const std::vector<WeightRecord> equal = {rec("2003/07/25", 74.5f), rec("2003/07/26", 74.5f)};
    const MainView same = mainview::buildMainView(equal, day("2003/07/26"), kHeight);
    EXPECT_EQ(same.weightText, QStringLiteral("74.5Kg → 0.0Kg 同"));
    EXPECT_TRUE(same.bmiText.endsWith(QStringLiteral(" 同")));
    EXPECT_TRUE(same.obesityText.endsWith(QStringLiteral(" 同")));
    const std::vector<WeightRecord> up = {rec("2003/07/25", 74.5f), rec("2003/07/26", 75.0f)};
    EXPECT_EQ(mainview::buildMainView(up, day("2003/07/26"), kHeight).weightText, QStringLiteral("74.5Kg → 0.5Kg 増"));
}

TEST(MainView, BmiAndObesityColumns) {
    const std::vector<WeightRecord> log = {rec("2003/07/25", 65.0f, 22.3f)};
    const MainView v = mainview::buildMainView(log, day("2003/07/25"), kHeight);
    // 65 / 1.685² = 22.89; standard weight 62.46, obesity +4.1 %
    EXPECT_EQ(v.dayList.cell(0, 7), QStringLiteral("22.9"));
    EXPECT_EQ(v.dayList.cell(0, 8), QStringLiteral("4.1%"));
    EXPECT_EQ(v.dayList.cell(0, 9), QStringLiteral("22.3%"));
}

TEST(MainView, WithoutHeightNoBmiIsShown) {
    const std::vector<WeightRecord> log = {rec("2003/07/25", 65.0f)};
    const MainView v = mainview::buildMainView(log, day("2003/07/25"), 0);
    EXPECT_EQ(v.dayList.cell(0, 7), QString());
    EXPECT_EQ(v.bmiText, QStringLiteral("身長が未設定です"));
}

TEST(MainView, AxisRunsToTheNextWholeKilogram) {
    EXPECT_EQ(mainview::ceilingOfStored(70.0f), 70);
    EXPECT_EQ(mainview::ceilingOfStored(70.1f), 71);
    EXPECT_EQ(mainview::ceilingOfStored(69.05f), 69);
    EXPECT_EQ(mainview::ceilingOfStored(69.25f), 70);
    const std::vector<WeightRecord> log = {rec("2003/07/25", 69.6f, 20.4f), rec("2003/07/25", 70.1f, 19.6f)};
    const MainView v = mainview::buildMainView(log, day("2003/07/25"), kHeight);
    EXPECT_EQ(v.chart.primary.min, 69);
    EXPECT_EQ(v.chart.primary.max, 71);
    EXPECT_EQ(v.chart.secondary.min, 19);
    EXPECT_EQ(v.chart.secondary.max, 21);
    ASSERT_EQ(v.chart.categoryCount(), 2);
    EXPECT_DOUBLE_EQ(v.chart.series[0].points[1], 70.1);
    // one value on a whole kilogram still gives the axis some height
    const std::vector<WeightRecord> flat = {rec("2003/07/25", 70.0f, 20.0f)};
    const MainView f = mainview::buildMainView(flat, day("2003/07/25"), kHeight);
    EXPECT_LT(*f.chart.primary.min, *f.chart.primary.max);
}

TEST(MainView, LongDaysScrollToTheirEnd) {
    std::vector<WeightRecord> log;
    for (int i = 0; i < 10; ++i)
        log.push_back(rec("2003/07/25", 70.0f + i * 0.1f));
    EXPECT_EQ(mainview::buildMainView(log, day("2003/07/25"), kHeight).dayList.topRow, 0);
    log.push_back(rec("2003/07/25", 71.0f));
    EXPECT_EQ(mainview::buildMainView(log, day("2003/07/25"), kHeight).dayList.topRow, 11);
}

TEST(MainView, EmptyLogShowsNothingAndDoesNotCrash) {
    const MainView v = mainview::buildMainView({}, day("2003/07/25"), kHeight);
    EXPECT_EQ(v.values.recordCount, 0);
    EXPECT_TRUE(v.weightText.isEmpty());
    EXPECT_EQ(v.face, QStringLiteral("imgNashi"));
}
