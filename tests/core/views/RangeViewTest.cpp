#include "core/views/RangeView.h"
#include "core/base/Messages.h"
#include "core/views/RangePrintout.h"
#include "tools/report/ReportCli.h"

#include "tests/core/CoreTestHelpers.h"
#include "tests/core/TestSupport.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <gtest/gtest.h>

// Readable failure output for the row and column lists of this file.
static void PrintTo(const QStringList& list, std::ostream* os) {
    *os << '{' << list.join(QStringLiteral(" | ")).toStdString() << '}';
}

using namespace puka;
using range::Builder;
using range::Conditions;
using range::RangeView;

namespace {

constexpr float kHeight = 168.5f;

WeightRecord rec(const QString& date, float weight, float fat = 22.0f, const QString& situation = "起床後") {
    return test::record(date, situation, weight, {}, fat);
}

QStringList row(const GridModel& g, int r) {
    QStringList out;
    for (int c = 0; c < g.columnCount(); ++c)
        out.append(g.cell(r, c));
    return out;
}

QStringList column(const GridModel& g, int c) {
    QStringList out;
    for (int r = 0; r < g.bodyRows(); ++r)
        out.append(g.cell(r, c));
    return out;
}

Conditions period(const QString& start, const QString& end) {
    Conditions c;
    c.startText = start;
    c.endText = end;
    return c;
}

// 2003/07/25 is a Friday
const std::vector<WeightRecord> kWeek = {
    rec("2003/07/25", 75.5f, 22.3f, "はじめの一歩"), rec("2003/07/26", 75.1f, 22.6f, "起床後"),
    rec("2003/07/26", 75.6f, 22.2f, "朝食後"),       rec("2003/07/27", 75.0f, 22.8f, "起床後"),
    rec("2003/07/28", 74.8f, 22.5f, "朝起床"),       rec("2003/08/01", 74.6f, 22.1f, "ｷｼｮｳ"),
    rec("2003/08/02", 74.4f, 22.0f, "起床 後"),
};

QStringList dates(const RangeView& v) {
    return column(v.grid, 1);
}

} // namespace

TEST(RangeGrid, HasTwelveColumnsWithHeadersWidthsAndAlignments) {
    const GridModel g = range::emptyRangeList();
    EXPECT_EQ(g.name, QStringLiteral("msgBunseki"));
    EXPECT_EQ(g.fixedColumns, 1);
    EXPECT_EQ(g.fontPt, 10);
    EXPECT_EQ(g.bodyRows(), 0);
    const QStringList headers = {"回", "日付け", "曜", "行動",   "体重",   "前回差",
                                 "差", "初回差", "差", "ＢＭＩ", "肥満度", "体脂肪"};
    const std::vector<int> widths = {600, 950, 320, 1800, 800, 730, 320, 730, 320, 580, 700, 700};
    ASSERT_EQ(g.columnCount(), 12);
    for (int c = 0; c < 12; ++c) {
        EXPECT_EQ(g.columns[c].header, headers[c]);
        EXPECT_EQ(g.columns[c].widthTwips, widths[c]);
        EXPECT_EQ(g.columns[c].headerAlign, Align::CenterCenter);
        const bool centred = c == 0 || c == 1 || c == 2 || c == 6 || c == 8;
        const Align expected = c == 3 ? Align::LeftCenter : centred ? Align::CenterCenter : Align::RightCenter;
        EXPECT_EQ(g.columns[c].align, expected) << c;
    }
}

TEST(RangeBuild, OpeningListsEveryRecordWithAllColumns) {
    const RangeView v = range::buildOpening(kWeek, kHeight);
    ASSERT_EQ(v.grid.bodyRows(), 7);
    EXPECT_EQ(row(v.grid, 0), (QStringList{"1", "03/07/25", "金", "はじめの一歩", "75.5Kg", "0.0Kg", "→", "0.0Kg", "→",
                                           "26.6", "20.9%", "22.3%"}));
    EXPECT_EQ(row(v.grid, 2), (QStringList{"3", "03/07/26", "土", "朝食後", "75.6Kg", "0.5Kg", "↑", "0.1Kg", "↑",
                                           "26.6", "21.0%", "22.2%"}));
    EXPECT_EQ(row(v.grid, 3).mid(0, 9),
              (QStringList{"4", "03/07/27", "日", "起床後", "75.0Kg", "-0.6Kg", "↓", "-0.5Kg", "↓"}));
    // the first row is compared with itself in both difference columns
    EXPECT_EQ(v.grid.colour(0, 6), differencecolour::kSame);
    EXPECT_EQ(v.grid.colour(0, 8), differencecolour::kSame);
    EXPECT_EQ(v.grid.colour(2, 6), differencecolour::kUp);
    EXPECT_EQ(v.grid.colour(3, 8), differencecolour::kDown);
    // only the arrow cells carry a colour
    for (int c = 0; c < 12; ++c)
        EXPECT_EQ(v.grid.colour(1, c).has_value(), c == 6 || c == 8) << c;
    EXPECT_EQ(v.chart.name, QStringLiteral("mcrBunseki"));
    ASSERT_EQ(v.chart.series.size(), 2u);
    EXPECT_FALSE(v.chart.series[0].secondaryAxis);
    EXPECT_TRUE(v.chart.series[1].secondaryAxis);
    EXPECT_EQ(v.chart.series[0].points, (std::vector<double>{75.5, 75.1, 75.6, 75.0, 74.8, 74.6, 74.4}));
    EXPECT_EQ(v.chart.series[1].points, (std::vector<double>{22.3, 22.6, 22.2, 22.8, 22.5, 22.1, 22.0}));
    EXPECT_EQ(v.grid.topRow, 0);
}

TEST(RangeBuild, OpeningFillsEachDateOnceAndSetsTheBoundsToFirstAndLast) {
    const RangeView v = range::buildOpening(kWeek, kHeight);
    EXPECT_EQ(v.dates,
              (QStringList{"2003/07/25", "2003/07/26", "2003/07/27", "2003/07/28", "2003/08/01", "2003/08/02"}));
    EXPECT_EQ(v.startText, QStringLiteral("2003/07/25"));
    EXPECT_EQ(v.endText, QStringLiteral("2003/08/02"));

    // only the opening build writes the date lists; a rebuild reports the bounds it used
    const RangeView again = range::refresh(kWeek, kHeight, period("2003/07/26", "2003/07/27"));
    EXPECT_TRUE(again.dates.isEmpty());
    EXPECT_EQ(again.startText, QStringLiteral("2003/07/26"));
    EXPECT_EQ(again.endText, QStringLiteral("2003/07/27"));

    const RangeView empty = range::buildOpening(std::vector<WeightRecord>(), kHeight);
    EXPECT_TRUE(empty.dates.isEmpty());
    EXPECT_TRUE(empty.startText.isEmpty());
    EXPECT_TRUE(empty.endText.isEmpty());
}

TEST(RangeBuild, PeriodBoundsAreInclusiveTextComparisons) {
    EXPECT_EQ(dates(range::refresh(kWeek, kHeight, period("2003/07/26", "2003/07/28"))),
              (QStringList{"03/07/26", "03/07/26", "03/07/27", "03/07/28"}));
    // a prefix sorts before the longer text: "2003/08" lets all of August in from below but
    // nothing of it from above
    EXPECT_EQ(dates(range::refresh(kWeek, kHeight, period("2003/08", "2003/12"))),
              (QStringList{"03/08/01", "03/08/02"}));
    EXPECT_EQ(dates(range::refresh(kWeek, kHeight, period("2003/07/28", "2003/08"))), (QStringList{"03/07/28"}));
    // an empty start bounds nothing, an empty end lets nothing through
    EXPECT_EQ(range::refresh(kWeek, kHeight, period("", "2003/07/26")).grid.bodyRows(), 3);
    EXPECT_EQ(range::refresh(kWeek, kHeight, period("2003/07/25", "")).grid.bodyRows(), 0);
    EXPECT_EQ(range::refresh(kWeek, kHeight, period("", "")).grid.bodyRows(), 0);
    // bounds are not validated: a reversed period lists nothing
    EXPECT_EQ(range::refresh(kWeek, kHeight, period("2003/08/02", "2003/07/25")).grid.bodyRows(), 0);
}

TEST(RangeBuild, KeywordIsACaseSensitiveSubstringOfTheSituation) {
    Conditions c = period("2003/07/25", "2003/08/02");
    c.keyword = QStringLiteral("起床");
    EXPECT_EQ(column(range::refresh(kWeek, kHeight, c).grid, 3),
              (QStringList{"起床後", "起床後", "朝起床", "起床 後"}));
    c.keyword = QStringLiteral("walk");
    const std::vector<WeightRecord> walk = {rec("2003/07/25", 70.0f, 20.0f, "Walk")};
    EXPECT_EQ(range::refresh(walk, kHeight, c).grid.bodyRows(), 0);
    c.keyword = QStringLiteral("Wa");
    EXPECT_EQ(range::refresh(walk, kHeight, c).grid.bodyRows(), 1);
    c.keyword = QStringLiteral("キショウ"); // full-width katakana is not the half-width ｷｼｮｳ
    EXPECT_EQ(range::refresh(kWeek, kHeight, c).grid.bodyRows(), 0);
    c.keyword = QStringLiteral("ｼｮ");
    EXPECT_EQ(column(range::refresh(kWeek, kHeight, c).grid, 3), (QStringList{"ｷｼｮｳ"}));
    c.keyword = QStringLiteral(" "); // a blank is a keyword too
    EXPECT_EQ(column(range::refresh(kWeek, kHeight, c).grid, 3), (QStringList{"起床 後"}));
    // the period still applies
    c.keyword = QStringLiteral("起床");
    c.endText = QStringLiteral("2003/07/26");
    EXPECT_EQ(range::refresh(kWeek, kHeight, c).grid.bodyRows(), 1);
    // "検索" runs the keyword builder whatever weekday is chosen; an empty keyword lists all
    c = period("2003/07/25", "2003/08/02");
    c.selectedWeekday = 1;
    EXPECT_EQ(range::build(Builder::Keyword, kWeek, kHeight, c).grid.bodyRows(), 7);
}

TEST(RangeBuild, WeekdayFollowsTheDateAndCombinesWithKeywordAndPeriod) {
    Conditions c = period("2003/07/25", "2003/08/02");
    c.selectedWeekday = 6; // Saturday
    EXPECT_EQ(dates(range::refresh(kWeek, kHeight, c)), (QStringList{"03/07/26", "03/07/26", "03/08/02"}));
    EXPECT_EQ(column(range::refresh(kWeek, kHeight, c).grid, 2), (QStringList{"土", "土", "土"}));
    c.selectedWeekday = 0;
    EXPECT_EQ(dates(range::refresh(kWeek, kHeight, c)), (QStringList{"03/07/27"}));
    c.selectedWeekday = 6;
    c.keyword = QStringLiteral("朝");
    EXPECT_EQ(column(range::refresh(kWeek, kHeight, c).grid, 3), (QStringList{"朝食後"}));
    c.endText = QStringLiteral("2003/07/25");
    EXPECT_EQ(range::refresh(kWeek, kHeight, c).grid.bodyRows(), 0);

    EXPECT_EQ(range::weekdayOf("2003/07/27"), 0);
    EXPECT_EQ(range::weekdayOf("2004/02/29"), 0);
    EXPECT_EQ(range::weekdayOf("2003/02/29"), -1);
    EXPECT_EQ(range::weekdayOf("03/07/27"), -1);
}

TEST(RangeBuild, RefreshChoosesTheBuilderFromKeywordAndWeekday) {
    Conditions c;
    EXPECT_EQ(range::builderFor(c), Builder::Period);
    c.keyword = QStringLiteral(" ");
    EXPECT_EQ(range::builderFor(c), Builder::Keyword);
    c.selectedWeekday = 0;
    EXPECT_EQ(range::builderFor(c), Builder::KeywordWeekday);
    c.keyword.clear();
    EXPECT_EQ(range::builderFor(c), Builder::Weekday);
}

TEST(RangeBuild, DifferencesReferToListedRowsNotToTheLog) {
    Conditions c = period("2003/07/25", "2003/08/02");
    c.selectedWeekday = 6;
    const RangeView v = range::refresh(kWeek, kHeight, c);
    ASSERT_EQ(v.grid.bodyRows(), 3);
    EXPECT_EQ(column(v.grid, 0), (QStringList{"1", "2", "3"}));
    EXPECT_EQ(column(v.grid, 5), (QStringList{"0.0Kg", "0.5Kg", "-1.2Kg"}));
    EXPECT_EQ(column(v.grid, 7), (QStringList{"0.0Kg", "0.5Kg", "-0.7Kg"}));
}

TEST(RangeBuild, AListedWeightOfZeroLeavesTheNextRowWithoutDifference) {
    const std::vector<WeightRecord> log = {rec("2003/07/25", 70.0f), rec("2003/07/25", 0.0f, 21.0f),
                                           rec("2003/07/26", 69.5f), rec("2003/07/26", 69.3f)};
    const RangeView v = range::buildOpening(log, kHeight);
    EXPECT_EQ(column(v.grid, 5), (QStringList{"0.0Kg", "-70.0Kg", "0.0Kg", "-0.2Kg"}));
    EXPECT_EQ(column(v.grid, 6), (QStringList{"→", "↓", "→", "↓"}));
    // the first weight stays the first row's
    EXPECT_EQ(column(v.grid, 7), (QStringList{"0.0Kg", "-70.0Kg", "-0.5Kg", "-0.7Kg"}));
    // a first listed weight of 0 is kept as the first weight
    const RangeView zeroFirst = range::buildOpening({rec("2003/07/25", 0.0f), rec("2003/07/26", 65.0f)}, kHeight);
    EXPECT_EQ(column(zeroFirst.grid, 5), (QStringList{"0.0Kg", "0.0Kg"}));
    EXPECT_EQ(column(zeroFirst.grid, 7), (QStringList{"0.0Kg", "65.0Kg"}));
}

TEST(RangeBuild, ArrowsFollowTheDifferenceRoundedAtFiveHundredths) {
    const std::vector<WeightRecord> log = {
        rec("2003/07/25", 70.0f), rec("2003/07/25", 69.96f), rec("2003/07/25", 69.9f), rec("2003/07/25", 69.94f),
        rec("2003/07/25", 70.0f), rec("2003/07/25", 70.05f), rec("2003/07/25", 70.0f)};
    const RangeView v = range::buildOpening(log, kHeight);
    EXPECT_EQ(column(v.grid, 5), (QStringList{"0.0Kg", "0.0Kg", "-0.1Kg", "0.0Kg", "0.1Kg", "0.1Kg", "-0.1Kg"}));
    EXPECT_EQ(column(v.grid, 6), (QStringList{"→", "→", "↓", "→", "↑", "↑", "↓"}));
    EXPECT_EQ(v.grid.colour(1, 6), differencecolour::kSame);
    EXPECT_EQ(v.grid.colour(2, 6), differencecolour::kDown);
    // against the first weight: -0.04 is no change, -0.06 is down
    EXPECT_EQ(column(v.grid, 7).mid(1, 3), (QStringList{"0.0Kg", "-0.1Kg", "-0.1Kg"}));
    EXPECT_EQ(column(v.grid, 8).mid(1, 3), (QStringList{"→", "↓", "↓"}));
}

TEST(RangeBuild, AxisLimitsFromTheListedExtremes) {
    const std::vector<WeightRecord> log = {rec("2003/07/25", 64.3f, 25.1f), rec("2003/07/26", 70.1f, 22.4f),
                                           rec("2003/07/27", 66.0f, 23.0f)};
    const RangeView v = range::buildOpening(log, kHeight);
    EXPECT_EQ(v.chart.primary.min, 64);
    EXPECT_EQ(v.chart.primary.max, 71);
    EXPECT_EQ(v.chart.secondary.min, 18);
    EXPECT_EQ(v.chart.secondary.max, 29);
    // a whole heaviest weight is its own maximum
    const RangeView whole =
        range::buildOpening({rec("2003/07/25", 68.2f, 9.95f), rec("2003/07/25", 70.0f, 0.0f)}, kHeight);
    EXPECT_EQ(whole.chart.primary.max, 70);
    EXPECT_EQ(whole.chart.primary.min, 68);
    EXPECT_EQ(whole.chart.secondary.max, 13);
    EXPECT_EQ(whole.chart.secondary.min, -4);
    // only the listed rows count
    const RangeView part = range::refresh(log, kHeight, period("2003/07/27", "2003/07/27"));
    EXPECT_EQ(part.chart.primary.min, 66);
    EXPECT_EQ(part.chart.primary.max, 67);
}

TEST(RangeBuild, AxisLimitsWithoutAUsableRange) {
    // nothing listed: the axes are left to choose their own range
    const RangeView none = range::refresh(kWeek, kHeight, period("2003/07/25", ""));
    EXPECT_EQ(none.grid.bodyRows(), 0);
    EXPECT_EQ(none.chart.categoryCount(), 0);
    EXPECT_FALSE(none.chart.primary.min.has_value());
    EXPECT_FALSE(none.chart.primary.max.has_value());
    EXPECT_FALSE(none.chart.secondary.min.has_value());
    EXPECT_FALSE(none.chart.secondary.max.has_value());
    // one whole weight would give minimum and maximum alike: the axis gets one kilogram
    const RangeView one = range::buildOpening({rec("2003/07/25", 70.0f)}, kHeight);
    EXPECT_EQ(one.chart.primary.min, 70);
    EXPECT_EQ(one.chart.primary.max, 71);
}

TEST(RangeBuild, BmiAndObesityFromTheProfileHeight) {
    const RangeView v = range::buildOpening({rec("2003/07/25", 63.58f, 20.0f)}, 170.0f);
    EXPECT_EQ(v.grid.cell(0, 9), QStringLiteral("22.0"));
    EXPECT_EQ(v.grid.cell(0, 10), QStringLiteral("0.0%"));
    EXPECT_EQ(v.grid.cell(0, 11), QStringLiteral("20.0%"));
    // without a height the two columns stay empty rather than showing a division by zero
    const RangeView noHeight = range::buildOpening({rec("2003/07/25", 63.58f, 20.0f)}, 0.0f);
    EXPECT_TRUE(noHeight.grid.cell(0, 9).isEmpty());
    EXPECT_TRUE(noHeight.grid.cell(0, 10).isEmpty());
    EXPECT_EQ(noHeight.grid.cell(0, 4), QStringLiteral("63.6Kg"));
}

TEST(RangeBuild, ScrollsToTheEndFromElevenListedRows) {
    std::vector<WeightRecord> log;
    for (int i = 0; i < 11; ++i)
        log.push_back(rec("2003/07/25", 70.0f));
    EXPECT_EQ(range::buildOpening(log, kHeight).grid.topRow, 11);
    log.pop_back();
    EXPECT_EQ(range::buildOpening(log, kHeight).grid.topRow, 0);
}

TEST(RangeBuild, ListsMoreRowsThanASixteenBitCounterHolds) {
    std::vector<WeightRecord> log;
    const int count = 40000;
    log.reserve(count);
    QDate day(1900, 1, 1);
    for (int i = 0; i < count; ++i) {
        log.push_back(rec(day.toString(QStringLiteral("yyyy/MM/dd")), 70.0f + (i % 10) / 10.0f, 20.0f));
        day = day.addDays(1);
    }
    const RangeView v = range::buildOpening(log, kHeight);
    ASSERT_EQ(v.grid.bodyRows(), count);
    EXPECT_EQ(v.grid.cell(32766, 0), QStringLiteral("32767"));
    EXPECT_EQ(v.grid.cell(count - 1, 0), QStringLiteral("40000"));
    EXPECT_EQ(v.chart.categoryCount(), count);
    EXPECT_EQ(v.dates.size(), count);
    EXPECT_EQ(v.grid.topRow, count);
    Conditions c = period(v.startText, v.endText);
    c.selectedWeekday = 1;
    EXPECT_EQ(range::refresh(log, kHeight, c).grid.bodyRows(), count / 7 + (count % 7 > 0 ? 1 : 0));
}

TEST(RangePeriod, ButtonsCountFixedDaysBackFromToday) {
    const QDate today(2003, 11, 22);
    const auto bounds = [&](range::Period p) {
        const auto b = range::periodBounds(p, today, QStringLiteral("2003/07/25"));
        return b ? QStringList{b->start, b->end} : QStringList{};
    };
    EXPECT_EQ(bounds(range::Period::PreviousDay), (QStringList{"2003/11/21", "2003/11/22"}));
    EXPECT_EQ(bounds(range::Period::ThreeDays), (QStringList{"2003/11/20", "2003/11/22"}));
    EXPECT_EQ(bounds(range::Period::OneWeek), (QStringList{"2003/11/15", "2003/11/22"}));
    EXPECT_EQ(bounds(range::Period::TwoWeeks), (QStringList{"2003/11/08", "2003/11/22"}));
    EXPECT_EQ(bounds(range::Period::OneMonth), (QStringList{"2003/10/23", "2003/11/22"}));
    EXPECT_EQ(bounds(range::Period::ThreeMonths), (QStringList{"2003/08/24", "2003/11/22"}));
    EXPECT_EQ(bounds(range::Period::HalfYear), (QStringList{"2003/05/26", "2003/11/22"}));
    EXPECT_EQ(bounds(range::Period::OneYear), (QStringList{"2002/11/22", "2003/11/22"}));
    EXPECT_EQ(bounds(range::Period::All), (QStringList{"2003/07/25", "2003/11/22"}));
    EXPECT_TRUE(bounds(range::Period::Free).isEmpty());
    // a year is 365 days, also across a leap day
    EXPECT_EQ(range::periodBounds(range::Period::OneYear, QDate(2004, 3, 1), {})->start, QStringLiteral("2003/03/02"));
    EXPECT_EQ(range::periodCaption(range::Period::ThreeDays), QStringLiteral("３日"));
    EXPECT_EQ(range::periodCaption(range::Period::OneMonth), QStringLiteral("１ヶ月"));
}

TEST(RangePeriod, ButtonsDropRecordsDatedAfterToday) {
    const std::vector<WeightRecord> log = {rec("2003/11/19", 70.0f), rec("2003/11/20", 70.0f), rec("2003/11/22", 70.0f),
                                           rec("2003/11/23", 70.0f)};
    const auto listed = [&](range::Period p) {
        const auto b = range::periodBounds(p, QDate(2003, 11, 22), QStringLiteral("2003/11/19"));
        return dates(range::refresh(log, kHeight, period(b->start, b->end)));
    };
    EXPECT_EQ(listed(range::Period::ThreeDays), (QStringList{"03/11/20", "03/11/22"}));
    EXPECT_EQ(listed(range::Period::All), (QStringList{"03/11/19", "03/11/20", "03/11/22"}));
    EXPECT_EQ(range::buildOpening(log, kHeight).grid.bodyRows(), 4);
}

TEST(RangeChart, OptionsShowAndHideAxesAndSeriesKeepingTheData) {
    RangeView v = range::buildOpening(kWeek, kHeight);
    range::applyChartOption(v.chart, range::ChartOption::BodyFat);
    EXPECT_FALSE(v.chart.primary.visible);
    EXPECT_FALSE(v.chart.series[0].visible);
    EXPECT_TRUE(v.chart.secondary.visible);
    EXPECT_TRUE(v.chart.series[1].visible);
    EXPECT_EQ(v.chart.series[0].points.size(), 7u);
    range::applyChartOption(v.chart, range::ChartOption::Weight);
    EXPECT_TRUE(v.chart.primary.visible && v.chart.series[0].visible);
    EXPECT_FALSE(v.chart.secondary.visible || v.chart.series[1].visible);
    range::applyChartOption(v.chart, range::ChartOption::Mixed);
    EXPECT_TRUE(v.chart.primary.visible && v.chart.series[0].visible);
    EXPECT_TRUE(v.chart.secondary.visible && v.chart.series[1].visible);
}

TEST(RangeGuidance, TextHasNineLinesEndedByCrLf) {
    const QString text = range::guidanceText();
    EXPECT_TRUE(text.endsWith(QStringLiteral("です。\r\n")));
    const QStringList lines = text.split(QStringLiteral("\r\n"));
    ASSERT_EQ(lines.size(), 10);
    EXPECT_TRUE(lines[1].isEmpty() && lines[4].isEmpty() && lines[6].isEmpty() && lines[9].isEmpty());
    EXPECT_EQ(lines[3], QStringLiteral("\u3000※状況欄に直接任意の語句を入力することができます。（入力後Enter）"));
    EXPECT_EQ(lines[8], QStringLiteral("\u3000※期間のコンボリストで任意に指定することも可能です。"));
    EXPECT_EQ(text.count(QLatin1Char('\n')), text.count(QStringLiteral("\r\n")));
}

TEST(RangePrintout, HeaderAndRuleLinesKeepTheirBlanks) {
    const QString header = QStringLiteral(
        "\u3000日付け    \u3000\u3000  状況\u3000\u3000\u3000    \u3000  \u3000\u3000  \u3000\u3000\u3000体重"
        "\u3000  \u3000\u3000ＢＭＩ\u3000    \u3000\u3000肥満度 \u3000  体脂肪率");
    EXPECT_EQ(range::printHeaderLine(), header);
    EXPECT_EQ(range::printHeaderLine().size(), 59);
    EXPECT_EQ(range::printRuleLine(), QString(68, QLatin1Char('-')));
    EXPECT_EQ(messages::printQuestion(),
              QStringLiteral("表示中のデータを印刷しますか？ \r\n\r\n良かったらＯＫボタンを押してください"));
    EXPECT_EQ(messages::printQuestionTitle(), QStringLiteral("印刷確認"));
}

TEST(RangePrintout, PageHoldsChartHeaderRuleThenOneLinePerListedRow) {
    using Kind = range::PrintOperation::Kind;
    const std::vector<WeightRecord> log = {rec("2003/07/25", 75.5f, 22.3f, "はじめの一歩"),
                                           rec("2003/07/26", 75.1f, 22.6f, "とても長い状況の言葉がここに入る")};
    const RangeView v = range::buildOpening(log, 168.5f);
    const std::vector<range::PrintOperation> operations = range::printout(v.grid);
    ASSERT_EQ(operations.size(), 4u + 3u * 2u);
    EXPECT_EQ(operations[0].kind, Kind::ChartPicture);
    EXPECT_EQ(operations[0].x, 0);
    EXPECT_EQ(operations[0].y, 0);
    EXPECT_EQ(operations[1].kind, Kind::SetY);
    EXPECT_EQ(operations[1].y, 5000);
    EXPECT_EQ(operations[2].kind, Kind::PrintLine);
    EXPECT_EQ(operations[2].text, range::printHeaderLine());
    EXPECT_EQ(operations[3].kind, Kind::PrintLine);
    EXPECT_EQ(operations[3].text, range::printRuleLine());
    // each row: date and situation stay on the line, the values start at 3000 in print zones
    for (int r = 0; r < 2; ++r) {
        const range::PrintOperation& lead = operations[4 + 3 * r];
        const range::PrintOperation& column = operations[5 + 3 * r];
        const range::PrintOperation& values = operations[6 + 3 * r];
        EXPECT_EQ(lead.kind, Kind::Print);
        EXPECT_EQ(lead.text, v.grid.cell(r, 1) + QStringLiteral("\u3000\u3000") + v.grid.cell(r, 3));
        EXPECT_EQ(column.kind, Kind::SetX);
        EXPECT_EQ(column.x, 3000);
        EXPECT_EQ(values.kind, Kind::PrintZones);
        EXPECT_TRUE(values.text.isEmpty());
    }
    EXPECT_EQ(operations[4].text, QStringLiteral("03/07/25\u3000\u3000はじめの一歩"));
    EXPECT_EQ(operations[6].items, (QStringList{"75.5Kg", "26.6", "20.9%", "22.3%"}));
    // row number, weekday, differences and arrows are not printed
    EXPECT_EQ(operations[9].items, (QStringList{"75.1Kg", "26.5", "20.2%", "22.6%"}));
    EXPECT_FALSE(operations[7].text.contains(QStringLiteral("土")));
}

TEST(RangePrintout, WithoutRowsThePageHoldsChartHeaderAndRuleOnly) {
    const RangeView v = range::refresh(kWeek, kHeight, period("2003/07/25", ""));
    const std::vector<range::PrintOperation> operations = range::printout(v.grid);
    ASSERT_EQ(operations.size(), 4u);
    EXPECT_EQ(operations.back().text, range::printRuleLine());
}

TEST(RangePrintout, ChartPictureKeepsItsSizeUnlessItWouldReachTheTextOrLeaveThePaper) {
    // small enough: its own size
    EXPECT_EQ(range::chartPictureSize(QSize(6000, 4000)), QSize(6000, 4000));
    EXPECT_EQ(range::chartPictureSize(QSize(6000, 4800)), QSize(6000, 4800));
    // too tall: scaled with its proportions so that it ends above the header line
    const QSize tall = range::chartPictureSize(QSize(9000, 6000));
    EXPECT_LE(tall.height(), range::kTextTopTwips - range::kChartGapTwips);
    EXPECT_GE(tall.height(), range::kTextTopTwips - range::kChartGapTwips - 1);
    EXPECT_NEAR(tall.width() * 6000.0 / tall.height(), 9000.0, 3.0);
    // too wide for the paper: scaled to its width
    const QSize wide = range::chartPictureSize(QSize(20000, 4000));
    EXPECT_LE(wide.width(), range::kChartMaxWidthTwips);
    EXPECT_NEAR(wide.height(), 2000, 1);
    // nothing to draw
    EXPECT_TRUE(range::chartPictureSize(QSize(0, 100)).isEmpty());
}

namespace {

struct ToolRun {
    int status;
    QString out;
    QString err;
};

ToolRun runRange(const QString& dir, const QStringList& options, const QString& format = QStringLiteral("json")) {
    QByteArray out, err;
    const int status = report::run(
        QStringList{QStringLiteral("-C"), dir, QStringLiteral("--format"), format, QStringLiteral("range")} + options,
        &out, &err);
    return {status, QString::fromUtf8(out), QString::fromUtf8(err)};
}

QJsonArray rowsOf(const ToolRun& r) {
    const QJsonObject root = QJsonDocument::fromJson(r.out.toUtf8()).object();
    return root.value(QStringLiteral("grids"))
        .toObject()
        .value(QStringLiteral("msgBunseki"))
        .toObject()
        .value(QStringLiteral("rows"))
        .toArray();
}

QString labelOf(const ToolRun& r, const QString& name) {
    return QJsonDocument::fromJson(r.out.toUtf8())
        .object()
        .value(QStringLiteral("labels"))
        .toObject()
        .value(name)
        .toString();
}

} // namespace

TEST(RangeReport, OpeningBuildOfTheSample) {
    const ToolRun r = runRange(test::sampleDir(), {});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    const QJsonArray rows = rowsOf(r);
    ASSERT_EQ(rows.size(), 364);
    EXPECT_EQ(rows.at(1).toArray().at(1).toString(), QStringLiteral("03/07/25"));
    EXPECT_EQ(rows.at(1).toArray().at(2).toString(), QStringLiteral("金"));
    EXPECT_EQ(rows.at(1).toArray().at(4).toString(), QStringLiteral("75.5Kg"));
    EXPECT_EQ(rows.at(363).toArray().at(0).toString(), QStringLiteral("363"));
    EXPECT_EQ(labelOf(r, QStringLiteral("cboStdate")), QStringLiteral("2003/07/25"));
    EXPECT_EQ(labelOf(r, QStringLiteral("cboEddate")), QStringLiteral("2003/11/22"));
    const QJsonObject chart = QJsonDocument::fromJson(r.out.toUtf8())
                                  .object()
                                  .value(QStringLiteral("charts"))
                                  .toObject()
                                  .value(QStringLiteral("mcrBunseki"))
                                  .toObject();
    EXPECT_EQ(chart.value(QStringLiteral("series"))
                  .toArray()
                  .at(0)
                  .toObject()
                  .value(QStringLiteral("points"))
                  .toArray()
                  .size(),
              363);
}

TEST(RangeReport, ConditionsRebuildAndOmittedBoundsKeepTheOpeningOnes) {
    const ToolRun saturdays = runRange(test::sampleDir(), {QStringLiteral("--weekday"), QStringLiteral("6")});
    ASSERT_EQ(saturdays.status, 0) << saturdays.err.toStdString();
    const QJsonArray rows = rowsOf(saturdays);
    ASSERT_GT(rows.size(), 1);
    for (int i = 1; i < rows.size(); ++i)
        EXPECT_EQ(rows.at(i).toArray().at(2).toString(), QStringLiteral("土"));
    EXPECT_EQ(labelOf(saturdays, QStringLiteral("cboStdate")), QStringLiteral("2003/07/25"));
    EXPECT_EQ(labelOf(saturdays, QStringLiteral("cboEddate")), QStringLiteral("2003/11/22"));

    const ToolRun key = runRange(test::sampleDir(), {QStringLiteral("--key"), QStringLiteral("起床"),
                                                     QStringLiteral("--to"), QStringLiteral("2003/07/31")});
    ASSERT_EQ(key.status, 0);
    for (int i = 1; i < rowsOf(key).size(); ++i) {
        EXPECT_TRUE(rowsOf(key).at(i).toArray().at(3).toString().contains(QStringLiteral("起床")));
        EXPECT_LE(rowsOf(key).at(i).toArray().at(1).toString(), QStringLiteral("03/07/31"));
    }
    EXPECT_EQ(labelOf(key, QStringLiteral("cboEddate")), QStringLiteral("2003/07/31"));

    // an empty start bounds nothing; an empty end lists nothing
    const ToolRun emptyFrom = runRange(test::sampleDir(), {QStringLiteral("--from"), QString()});
    EXPECT_EQ(rowsOf(emptyFrom).size(), 364);
    EXPECT_EQ(labelOf(emptyFrom, QStringLiteral("cboStdate")), QString());
    const ToolRun emptyTo = runRange(test::sampleDir(), {QStringLiteral("--to"), QString()});
    EXPECT_EQ(rowsOf(emptyTo).size(), 1);
}

TEST(RangeReport, BadOptionsExitWithTwo) {
    for (const QStringList& options :
         {QStringList{"--weekday", "7"}, QStringList{"--weekday", "-1"}, QStringList{"--weekday", "99"},
          QStringList{"--weekday", "mon"}, QStringList{"--weekday"}, QStringList{"--date", "2003/07/25"}}) {
        const ToolRun r = runRange(test::sampleDir(), options, QStringLiteral("tsv"));
        EXPECT_EQ(r.status, 2) << options.join(' ').toStdString();
        EXPECT_TRUE(r.out.isEmpty());
        EXPECT_EQ(r.err.count(QLatin1Char('\n')), 1);
    }
    test::WorkDir empty;
    EXPECT_EQ(runRange(empty.path(), {}).status, 2);
}
