#include "tests/core/CoreTestHelpers.h"

#include "core/files/DailyExport.h"
#include "core/files/FileNames.h"
#include "core/views/DailyView.h"
#include "tools/report/ReportCli.h"

#include "tests/core/TestSupport.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cmath>

using namespace puka;

namespace {

WeightRecord rec(const char* date, float weight) {
    return test::record(QString::fromUtf8(date), QStringLiteral("起床後"), weight);
}

QStringList row(const GridModel& g, int r) {
    QStringList out;
    for (int c = 0; c < g.columnCount(); ++c)
        out.append(g.cell(r, c));
    return out;
}

const std::vector<double>& points(const daily::DailyView& v) {
    return v.chart.series.front().points;
}

// 2003/11/08 to 2003/11/12 with nothing on 11/10
std::vector<WeightRecord> fiveDays() {
    return {rec("2003/11/08", 66.0f), rec("2003/11/08", 66.4f), rec("2003/11/09", 65.5f),
            rec("2003/11/11", 65.0f), rec("2003/11/11", 64.7f), rec("2003/11/12", 64.3f)};
}

} // namespace

TEST(DailyGrid, MeasurementsOfOneDayMakeOneRowWithTheirMean) {
    const auto v =
        daily::buildDailyView({rec("2003/11/08", 65.0f), rec("2003/11/08", 65.4f), rec("2003/11/09", 64.9f)});
    ASSERT_EQ(v.grid.bodyRows(), 2);
    EXPECT_EQ(row(v.grid, 0), (QStringList{"1", "03/11/08", "65.2"}));
    EXPECT_EQ(row(v.grid, 1), (QStringList{"2", "03/11/09", "64.9"}));
    EXPECT_EQ(points(v), (std::vector<double>{65.2, 64.9}));
    EXPECT_EQ(v.grid.columns.at(0).header, QStringLiteral("数"));
    EXPECT_EQ(v.grid.columns.at(2).align, Align::RightCenter);
}

TEST(DailyGrid, MeanRoundsHalfAwayFromZeroOnItsShortestText) {
    // (65.2 + 65.5) / 2 is the float 65.3499985, whose shortest text is 65.35
    const auto v = daily::buildDailyView({rec("2003/11/08", 65.2f), rec("2003/11/08", 65.5f)});
    EXPECT_EQ(v.grid.cell(0, 2), QStringLiteral("65.4"));
    EXPECT_EQ(points(v).at(0), 65.35);
}

TEST(DailyGrid, UnmeasuredDayIsListedEmptyAndChartedWithTheCarriedMean) {
    const auto v = daily::buildDailyView(fiveDays());
    ASSERT_EQ(v.grid.bodyRows(), 5);
    for (int r = 0; r < 5; ++r)
        EXPECT_EQ(v.grid.cell(r, 0), QString::number(r + 1));
    EXPECT_EQ(row(v.grid, 2), (QStringList{"3", "03/11/10", ""}));
    EXPECT_EQ(row(v.grid, 3), (QStringList{"4", "03/11/11", "64.9"}));
    ASSERT_EQ(points(v).size(), 5u);
    EXPECT_EQ(points(v).at(2), points(v).at(1));
    EXPECT_EQ(points(v).at(1), 65.5);
    EXPECT_EQ(v.dateList, (QStringList{"03/11/08", "03/11/09", "03/11/10", "03/11/11", "03/11/12"}));
    EXPECT_EQ(v.startText, QStringLiteral("03/11/08"));
    EXPECT_EQ(v.endText, QStringLiteral("03/11/12"));
}

TEST(DailyGrid, EveryCalendarDayAcrossYearEndAndLeapDayIsListed) {
    const auto v = daily::buildDailyView(
        {rec("2003/12/31", 70.0f), rec("2004/01/01", 69.8f), rec("2004/02/28", 69.0f), rec("2004/03/01", 68.6f)});
    // 1 day of December, 31 of January, 29 of February, 1 of March
    ASSERT_EQ(v.grid.bodyRows(), 62);
    EXPECT_EQ(row(v.grid, 1), (QStringList{"2", "04/01/01", "69.8"}));
    EXPECT_EQ(row(v.grid, 32), (QStringList{"33", "04/02/01", ""}));
    EXPECT_EQ(row(v.grid, 59), (QStringList{"60", "04/02/28", "69.0"}));
    EXPECT_EQ(row(v.grid, 60), (QStringList{"61", "04/02/29", ""}));
    EXPECT_EQ(row(v.grid, 61), (QStringList{"62", "04/03/01", "68.6"}));
    EXPECT_EQ(points(v).at(60), 69.0);
    EXPECT_EQ(points(v).at(31), 69.8);
}

TEST(DailyGrid, SingleDayLogHasOneRowAndBothCombosOnThatDay) {
    const auto v = daily::buildDailyView({rec("2003/07/25", 75.5f)});
    ASSERT_EQ(v.grid.bodyRows(), 1);
    EXPECT_EQ(v.dateList, QStringList{"03/07/25"});
    EXPECT_EQ(v.startText, QStringLiteral("03/07/25"));
    EXPECT_EQ(v.endText, QStringLiteral("03/07/25"));
}

TEST(DailyGrid, EmptyLogHasNoRowsAndLeavesTheAxesFree) {
    const auto v = daily::buildDailyView({});
    EXPECT_EQ(v.grid.bodyRows(), 0);
    EXPECT_EQ(v.chart.categoryCount(), 0);
    EXPECT_FALSE(v.chart.primary.min.has_value());
    EXPECT_FALSE(v.chart.primary.max.has_value());
}

TEST(DailyAxes, SpanTheWholeNumbersAroundTheLogsWeights) {
    auto axes = [](std::vector<WeightRecord> log) {
        const auto v = daily::buildDailyView(log);
        return std::pair{*v.chart.primary.min, *v.chart.primary.max};
    };
    EXPECT_EQ(axes({rec("2003/11/08", 70.2f), rec("2003/11/09", 64.3f)}), (std::pair{64.0, 71.0}));
    EXPECT_EQ(axes({rec("2003/11/08", 70.0f), rec("2003/11/09", 64.3f)}), (std::pair{64.0, 70.0}));
    EXPECT_EQ(axes({rec("2003/11/08", 70.1f), rec("2003/11/09", 64.3f)}), (std::pair{64.0, 71.0}));
    // one whole-number weight still gives the axis a height
    EXPECT_EQ(axes({rec("2003/11/08", 65.0f)}), (std::pair{65.0, 66.0}));
}

TEST(DailyTable, RecordOutOfOrderStopsTheCountingButNotTheExtremes) {
    const daily::DayTable t = daily::buildDayTable(
        {rec("2003/11/08", 65.0f), rec("2003/11/10", 66.0f), rec("2003/11/09", 67.0f), rec("2003/11/10", 68.0f)});
    ASSERT_EQ(t.days, 3);
    EXPECT_EQ(t.count, (std::vector<int>{1, 0, 1}));
    EXPECT_EQ(t.sum.at(2), 66.0f);
    EXPECT_EQ(t.heaviest, 68.0f);
    EXPECT_EQ(t.lightest, 65.0f);

    // a last record before the first leaves no day at all rather than a negative count
    const auto v = daily::buildDailyView({rec("2003/11/08", 65.0f), rec("2003/11/01", 66.0f)});
    EXPECT_EQ(v.grid.bodyRows(), 0);
    EXPECT_EQ(v.chart.categoryCount(), 0);
}

TEST(DailyTable, CountsMoreThanASixteenBitNumberOfMeasurementsOnOneDay) {
    std::vector<WeightRecord> log(40000, rec("2003/11/08", 65.5f));
    const daily::DayTable t = daily::buildDayTable(log);
    ASSERT_EQ(t.days, 1);
    EXPECT_EQ(t.count.at(0), 40000);
}

TEST(DailyPeriod, ChosenDaysAreNumberedFromOneWithTheWholeLogsAxes) {
    auto v = daily::buildDailyView(fiveDays());
    const Status s = daily::fillPeriod(fiveDays(), QStringLiteral("03/11/09"), QStringLiteral("03/11/11"), &v);
    ASSERT_TRUE(s) << s.message().toStdString();
    ASSERT_EQ(v.grid.bodyRows(), 3);
    EXPECT_EQ(row(v.grid, 0), (QStringList{"1", "03/11/09", "65.5"}));
    EXPECT_EQ(row(v.grid, 2), (QStringList{"3", "03/11/11", "64.9"}));
    EXPECT_EQ(points(v), (std::vector<double>{65.5, 65.5, 64.85}));
    EXPECT_EQ(v.chart.primary.min, 64.0);
    EXPECT_EQ(v.chart.primary.max, 67.0);
    // the combos keep what the user chose and the lists of the whole log
    EXPECT_EQ(v.startText, QStringLiteral("03/11/08"));
    EXPECT_EQ(v.dateList.size(), 5);
}

TEST(DailyPeriod, StartOnAnUnmeasuredDayChartsTheMeanCarriedFromBefore) {
    auto v = daily::buildDailyView(fiveDays());
    ASSERT_TRUE(daily::fillPeriod(fiveDays(), QStringLiteral("03/11/10"), QStringLiteral("03/11/12"), &v));
    EXPECT_EQ(row(v.grid, 0), (QStringList{"1", "03/11/10", ""}));
    EXPECT_EQ(points(v).at(0), 65.5);
}

TEST(DailyPeriod, BeyondBothEndsOfTheLogLeavesTheSpareRowsEmptyAtTheEnd) {
    auto v = daily::buildDailyView(fiveDays());
    ASSERT_TRUE(daily::fillPeriod(fiveDays(), QStringLiteral("03/11/06"), QStringLiteral("03/11/15"), &v));
    ASSERT_EQ(v.grid.bodyRows(), 10);
    EXPECT_EQ(row(v.grid, 0), (QStringList{"1", "03/11/08", "66.2"}));
    EXPECT_EQ(row(v.grid, 4), (QStringList{"5", "03/11/12", "64.3"}));
    for (int r = 5; r < 10; ++r)
        EXPECT_EQ(row(v.grid, r), (QStringList{"", "", ""})) << r;
    ASSERT_EQ(points(v).size(), 10u);
    EXPECT_EQ(points(v).at(4), 64.3);
    EXPECT_TRUE(std::isnan(points(v).at(5)));
}

TEST(DailyPeriod, PeriodWhollyOutsideTheLogFillsNoRow) {
    auto v = daily::buildDailyView(fiveDays());
    // an End before the log's first day must not let the log's days run past the rows
    ASSERT_TRUE(daily::fillPeriod(fiveDays(), QStringLiteral("03/11/01"), QStringLiteral("03/11/03"), &v));
    ASSERT_EQ(v.grid.bodyRows(), 3);
    for (int r = 0; r < 3; ++r)
        EXPECT_EQ(row(v.grid, r), (QStringList{"", "", ""}));
    ASSERT_TRUE(daily::fillPeriod(fiveDays(), QStringLiteral("03/12/01"), QStringLiteral("03/12/02"), &v));
    EXPECT_EQ(row(v.grid, 0), (QStringList{"", "", ""}));
}

TEST(DailyPeriod, EndBeforeStartOrATextThatIsNoDateChangesNothing) {
    const auto before = daily::buildDailyView(fiveDays());
    const std::vector<std::pair<QString, QString>> refused = {
        {"03/11/11", "03/11/09"}, {"abc", "03/11/09"},     {"", "03/11/09"},         {"03/11/08", "03/02/30"},
        {"03/11", "03/11/09"},    {"3/11/08", "03/11/09"}, {"03-11-08", "03/11/09"}, {"1900/01/01", "2003/11/09"}};
    for (const auto& [start, end] : refused) {
        auto v = before;
        const Status s = daily::fillPeriod(fiveDays(), start, end, &v);
        EXPECT_FALSE(s) << start.toStdString() << " " << end.toStdString();
        EXPECT_FALSE(s.message().isEmpty());
        EXPECT_EQ(v.grid.texts(), before.grid.texts());
        EXPECT_EQ(v.chart.categoryCount(), before.chart.categoryCount());
    }
    auto v = before;
    EXPECT_TRUE(daily::fillPeriod(fiveDays(), QStringLiteral("03/11/11"), QStringLiteral("03/11/09"), &v)
                    .message()
                    .contains(QStringLiteral("開始日")));
}

TEST(DailyPeriod, ComboTextsReadTwoAndFourDigitYears) {
    EXPECT_EQ(daily::readComboDate(QStringLiteral("03/11/08")), QDate(2003, 11, 8));
    EXPECT_EQ(daily::readComboDate(QStringLiteral(" 2003/11/8 ")), QDate(2003, 11, 8));
    EXPECT_EQ(daily::readComboDate(QStringLiteral("29/01/02")), QDate(2029, 1, 2));
    EXPECT_EQ(daily::readComboDate(QStringLiteral("30/01/02")), QDate(1930, 1, 2));
    EXPECT_EQ(daily::readComboDate(QStringLiteral("04/02/29")), QDate(2004, 2, 29));
    EXPECT_FALSE(daily::readComboDate(QStringLiteral("03/02/29")).has_value());
    EXPECT_FALSE(daily::readComboDate(QStringLiteral("03/11/+8")).has_value());
}

TEST(DailyExport, WritesQuotedDatesAndPlainNumbersInCp932WithCrLf) {
    test::WorkDir dir;
    auto v = daily::buildDailyView({rec("2003/11/08", 65.3f), rec("2003/11/09", 65.0f), rec("2003/11/11", 64.0f)});
    ASSERT_EQ(v.grid.cell(1, 2), QStringLiteral("65.0"));
    const Status s = daily::exportAverages(dir.path(), v.grid);
    ASSERT_TRUE(s) << s.message().toStdString();
    EXPECT_EQ(dir.read(files::kDailyExport), QByteArray("\"03/11/08\",65.3\r\n\"03/11/09\",65\r\n\"03/11/10\",0\r\n"
                                                        "\"03/11/11\",64\r\n"));
    EXPECT_EQ(dir.files(), QStringList{files::kDailyExport});

    // a second export replaces the first, whatever the case of the existing name's extension
    QFile::rename(dir.path() + QLatin1Char('/') + files::kDailyExport, dir.path() + QStringLiteral("/日毎平均.TXT"));
    ASSERT_TRUE(daily::fillPeriod({rec("2003/11/08", 65.3f), rec("2003/11/09", 65.0f)}, QStringLiteral("03/11/09"),
                                  QStringLiteral("03/11/10"), &v));
    ASSERT_TRUE(daily::exportAverages(dir.path(), v.grid));
    EXPECT_EQ(dir.files(), QStringList{QStringLiteral("日毎平均.TXT")});
    // the period's spare last row exports an empty date and 0
    EXPECT_EQ(dir.read(QStringLiteral("日毎平均.TXT")), QByteArray("\"03/11/09\",65\r\n\"\",0\r\n"));
}

TEST(DailyExport, FailedWriteIsReportedAndKeepsTheFormerFile) {
    const auto v = daily::buildDailyView(fiveDays());
    for (const FileStep failing : {FileStep::Open, FileStep::Write, FileStep::Flush, FileStep::Rename}) {
        test::WorkDir dir;
        const QByteArray former = test::sjis(QStringLiteral("\"03/01/01\",70\r\n"));
        dir.write(files::kDailyExport, former);
        Status s;
        {
            test::FaultGuard guard([failing](FileStep step, const QString& path) {
                return step == failing && !QFileInfo(path).isDir() ? ENOSPC : 0;
            });
            s = daily::exportAverages(dir.path(), v.grid);
        }
        EXPECT_FALSE(s.ok()) << static_cast<int>(failing);
        EXPECT_TRUE(s.message().contains(files::kDailyExport)) << s.message().toStdString();
        EXPECT_EQ(dir.read(files::kDailyExport), former);
        EXPECT_EQ(dir.files(), QStringList{files::kDailyExport});
    }
}

TEST(DailyPrintout, ListStandsBesideTheChartAtX9500) {
    auto v = daily::buildDailyView(fiveDays());
    const daily::AveragePrintout page = daily::printout(v.grid);
    EXPECT_EQ(page.chartXTwips, 0);
    EXPECT_EQ(page.chartYTwips, 0);
    ASSERT_EQ(page.lines.size(), 7u);
    EXPECT_EQ(page.lines.at(0).yTwips, 0);
    EXPECT_EQ(page.lines.at(0).zones, QStringList{QStringLiteral("　日付け    　  体重")});
    EXPECT_EQ(page.lines.at(1).zones, QStringList{QString(19, QLatin1Char('-'))});
    EXPECT_EQ(page.lines.at(2).zones, (QStringList{"03/11/08", "66.2"}));
    EXPECT_EQ(page.lines.at(4).zones, (QStringList{"03/11/10", ""}));
    for (const auto& line : page.lines)
        EXPECT_EQ(line.xTwips, 9500);
    for (size_t i = 1; i < page.lines.size(); ++i)
        EXPECT_FALSE(page.lines.at(i).yTwips.has_value());
}

TEST(DailyReport, SampleListsEveryDayAndThePeriodOptionsNarrowIt) {
    const QStringList base = {QStringLiteral("-C"), test::sampleDir(), QStringLiteral("daily")};
    const test::ToolRun whole = test::runReport(base);
    ASSERT_EQ(whole.status, 0) << whole.err.toStdString();
    const QStringList lines = whole.out.split(QLatin1Char('\n'));
    EXPECT_EQ(lines.at(0), QStringLiteral("# msgAvgtai"));
    EXPECT_EQ(lines.at(1), QStringLiteral("数\t日付\t体重"));
    EXPECT_EQ(lines.at(2), QStringLiteral("1\t03/07/25\t75.5"));
    EXPECT_EQ(lines.at(3), QStringLiteral("2\t03/07/26\t75.6"));
    // 2003/07/25 to 2003/11/22
    EXPECT_EQ(lines.at(2 + 120), QStringLiteral("121\t03/11/22\t68.7"));
    EXPECT_TRUE(lines.contains(QStringLiteral("cboStdate2\t03/07/25")));
    EXPECT_TRUE(lines.contains(QStringLiteral("cboEddate2\t03/11/22")));

    const test::ToolRun period = test::runReport(base + QStringList{"--from", "03/11/09", "--to", "03/11/11"});
    ASSERT_EQ(period.status, 0) << period.err.toStdString();
    const QStringList p = period.out.split(QLatin1Char('\n'));
    EXPECT_TRUE(p.at(2).startsWith(QStringLiteral("1\t03/11/09\t")));
    EXPECT_TRUE(p.at(4).startsWith(QStringLiteral("3\t03/11/11\t")));
    EXPECT_EQ(p.at(5), QStringLiteral("cboStdate2\t03/11/09"));

    // an omitted bound keeps the last day of the log
    const test::ToolRun from = test::runReport(base + QStringList{"--from", "03/11/21"});
    ASSERT_EQ(from.status, 0);
    EXPECT_TRUE(from.out.contains(QStringLiteral("\n2\t03/11/22\t")));

    for (const QStringList& bad : {QStringList{"--from", "03/11/11", "--to", "03/11/09"},
                                   QStringList{"--from", "yesterday"}, QStringList{"--simple"}}) {
        const test::ToolRun r = test::runReport(base + bad);
        EXPECT_EQ(r.status, 2) << bad.join(QLatin1Char(' ')).toStdString();
        EXPECT_EQ(r.err.count(QLatin1Char('\n')), 1) << r.err.toStdString();
    }
}
