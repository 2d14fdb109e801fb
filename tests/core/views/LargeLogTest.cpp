// A log larger than any 16-bit count: every list shows all of it.

#include "tests/core/CoreTestHelpers.h"

#include "core/files/DataLog.h"
#include "core/files/FileNames.h"
#include "core/files/FolderReadings.h"
#include "core/files/TextLines.h"
#include "core/views/AnalysisSnapshot.h"
#include "core/views/AnalysisView.h"
#include "core/views/CalendarView.h"
#include "core/views/DailyView.h"
#include "core/views/DiaryView.h"
#include "core/views/GraphView.h"
#include "core/views/MainView.h"
#include "core/views/RangeView.h"
#include "core/views/TrendView.h"
#include "tools/report/ReportPrinter.h"

#include "tests/core/TestSupport.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

using namespace puka;

namespace {

constexpr int kTotal = 40000;
constexpr int kTwiceDays = 3500;                         // days with two weigh-ins
constexpr int kBusyDayRecords = kTotal - 2 * kTwiceDays; // all on the last day: 33,000
const QDate kFirst(2010, 1, 1);
const QDate kBusyDay = kFirst.addDays(kTwiceDays);

// Weights in tenths of a kilogram: a slow loss from 100.0 kg to 65.0 kg, the second weight of
// a day one of up, down or unchanged in turn; the busy last day between 64.0 and 64.9 kg.
std::vector<WeightRecord> largeLog() {
    std::vector<WeightRecord> log;
    log.reserve(kTotal);
    for (int day = 0; day < kTwiceDays; ++day) {
        const QString date = kFirst.addDays(day).toString(QStringLiteral("yyyy/MM/dd"));
        const int tenths = 1000 - day / 10;
        const int second = tenths + (day % 3 == 0 ? 3 : day % 3 == 1 ? -2 : 0);
        log.push_back(test::record(date, QStringLiteral("起床後"), tenths / 10.0f));
        log.push_back(test::record(date, QStringLiteral("就寝前"), second / 10.0f, QStringLiteral("日記")));
    }
    const QString busy = kBusyDay.toString(QStringLiteral("yyyy/MM/dd"));
    for (int i = 0; i < kBusyDayRecords; ++i)
        log.push_back(test::record(busy, QStringLiteral("%1:00:00").arg(i % 24), (640 + i % 10) / 10.0f));
    return log;
}

class LargeLog : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        sharedDir = new test::WorkDir;
        ASSERT_TRUE(datalog::writeLog(sharedDir->path(), largeLog()));
        sharedLog = new LogContents(datalog::readLog(sharedDir->path()));
    }
    static void TearDownTestSuite() {
        delete sharedLog;
        delete sharedDir;
    }
    static const std::vector<WeightRecord>& records() { return sharedLog->records; }

    static test::WorkDir* sharedDir;
    static LogContents* sharedLog;
};
test::WorkDir* LargeLog::sharedDir = nullptr;
LogContents* LargeLog::sharedLog = nullptr;

TEST_F(LargeLog, ReadsEveryRecordBack) {
    ASSERT_EQ(records().size(), size_t(kTotal));
    EXPECT_TRUE(sharedLog->skipped.empty());
    EXPECT_EQ(records(), largeLog());
}

TEST_F(LargeLog, MainDayListHoldsEveryRecordOfTheBusyDay) {
    const MainView v = mainview::buildMainView(records(), kBusyDay, 170.0f);
    ASSERT_EQ(v.dayList.bodyRows(), kBusyDayRecords);
    EXPECT_EQ(v.values.recordCount, kTotal);
    EXPECT_EQ(v.dayList.cell(kBusyDayRecords - 1, 1), QStringLiteral("23:00:00"));
    EXPECT_EQ(v.chart.categoryCount(), kBusyDayRecords);
}

TEST_F(LargeLog, RangeListsAllAndAKeywordItsShare) {
    const range::RangeView all = range::buildOpening(records(), 170.0f);
    EXPECT_EQ(all.grid.bodyRows(), kTotal);
    EXPECT_EQ(all.chart.categoryCount(), kTotal);
    EXPECT_EQ(all.dates.size(), kTwiceDays + 1);

    range::Conditions c;
    c.keyword = QStringLiteral(":00:00");
    c.startText = all.startText;
    c.endText = all.endText;
    EXPECT_EQ(range::refresh(records(), 170.0f, c).grid.bodyRows(), kBusyDayRecords);
}

TEST_F(LargeLog, AnalysisListsAreComplete) {
    const AnalysisSnapshot snap = AnalysisSnapshot::load(records());
    AnalysisView v = analysis::emptyAnalysisView();
    analysis::fill(snap, analysis::DifferenceMode::First, analysis::BandStep::Half, &v);
    EXPECT_EQ(v.timeSeries.bodyRows(), kTotal);
    EXPECT_EQ(v.timeSeries.cell(kTotal - 1, 0), QStringLiteral("40000回目"));
    EXPECT_EQ(v.meanTrend.bodyRows(), kTotal);
    // a best loss of 36.0 kg from 100.0 kg is 72 half-kilogram milestones
    EXPECT_EQ(v.milestones.bodyRows(), 72);

    int visits = 0;
    for (int r = 0; r < v.ranking.bodyRows(); ++r)
        visits += v.ranking.cell(r, 2).chopped(1).toInt();
    EXPECT_EQ(visits, kTotal);
    // the busy day fills two bands with half of its 33,000 visits each
    EXPECT_GE(v.ranking.cell(0, 2).chopped(1).toInt(), kBusyDayRecords / 2);
    EXPECT_GE(v.ranking.cell(1, 2).chopped(1).toInt(), kBusyDayRecords / 2);
}

TEST_F(LargeLog, GraphHasAPointPerRecord) {
    const GraphView v = graph::buildGraph(AnalysisSnapshot::load(records()), 60.0f, QStringLiteral("10"), false);
    ASSERT_EQ(v.chart.categoryCount(), kTotal);
    EXPECT_EQ(v.chart.categoryLabels.size(), kTotal);
    for (const ChartSeries& s : v.chart.series)
        EXPECT_EQ(s.points.size(), size_t(kTotal)) << s.name.toStdString();
}

TEST_F(LargeLog, DailyAveragesCountEveryWeighInOfTheBusyDay) {
    const daily::DayTable table = daily::buildDayTable(records());
    ASSERT_EQ(table.days, kTwiceDays + 1);
    EXPECT_EQ(table.count.back(), kBusyDayRecords);
    const daily::DailyView v = daily::buildDailyView(records());
    EXPECT_EQ(v.grid.bodyRows(), kTwiceDays + 1);
    EXPECT_EQ(v.dateList.size(), kTwiceDays + 1);
    // 64.0 to 64.9 in equal shares: a mean of 64.45 kg
    EXPECT_NEAR(v.chart.series.front().points.back(), 64.45, 0.01);
}

TEST_F(LargeLog, CalendarCountsEveryDay) {
    const calendar::CalendarView v = calendar::buildCalendar(records(), calendar::Mode::Detailed, kBusyDay.addDays(1));
    // the busy day ends on 64.9 kg after 64.0 kg: up
    EXPECT_EQ(v.down, (kTwiceDays + 1) / 3);
    EXPECT_EQ(v.up, (kTwiceDays + 2) / 3 + 1);
    EXPECT_EQ(v.same, kTwiceDays / 3);
    EXPECT_EQ(v.down + v.up + v.same + v.once, kTwiceDays + 1);
    const int months = (kBusyDay.year() - kFirst.year()) * 12 + kBusyDay.month() - kFirst.month() + 1;
    EXPECT_EQ(v.grid.bodyRows(), months);
}

TEST_F(LargeLog, DiaryListsEveryRecord) {
    const GridModel g = diary::buildDiaryList(records());
    ASSERT_EQ(g.bodyRows(), kTotal);
    EXPECT_GT(g.topRow, 32767);
}

} // namespace

namespace {

// Every view of the log as the report prints it, in one text to compare.
QByteArray everyView(const std::shared_ptr<const LogContents>& log) {
    const SharedRecords records(log, &log->records);
    const AnalysisSnapshot snapshot = AnalysisSnapshot::load(log->records);
    AnalysisView analysis = analysis::emptyAnalysisView();
    analysis::fill(snapshot, analysis::DifferenceMode::First, analysis::BandStep::One, &analysis);
    const std::vector<ViewModel> views = {
        mainview::viewModel(mainview::buildMainView(log->records, kBusyDay, 170.0f), std::nullopt),
        range::viewModel(range::buildOpening(records, 170.0f)),
        analysis::viewModel(analysis),
        graph::viewModel(graph::buildGraph(snapshot, 65.0f, QStringLiteral("7"), false)),
        daily::viewModel(daily::buildDailyView(log->records)),
        calendar::viewModel(calendar::buildCalendar(log->records, calendar::Mode::Detailed, kBusyDay)),
        diary::view(log),
        trend::viewModel(trend::compute(log->records, {}, 65.0f)),
    };
    QByteArray all;
    for (const ViewModel& v : views)
        all += report::toJson(v);
    return all;
}

} // namespace

TEST_F(LargeLog, ViewsFromTheKeptReadingEqualThoseFromAFreshOne) {
    test::WorkDir dir;
    ASSERT_TRUE(datalog::writeLog(dir.path(), records()));
    FolderReadings readings(dir.path());
    const std::shared_ptr<const LogContents> kept = readings.log();
    EXPECT_EQ(readings.log(), kept);
    EXPECT_EQ(everyView(kept), everyView(std::make_shared<const LogContents>(datalog::readLog(dir.path()))));

    // a record appended by another program: the next reading is the log as it is now
    QFile file(QDir(dir.path()).filePath(files::kData));
    ASSERT_TRUE(file.open(QIODevice::Append));
    file.write(test::sjis(QStringLiteral("\"2019/12/31\",\"最後\",63.9,\"\",20,\"\"\r\n")));
    file.close();
    const std::shared_ptr<const LogContents> next = readings.log();
    ASSERT_NE(next, kept);
    EXPECT_EQ(next->records.size(), kept->records.size() + 1);
    EXPECT_EQ(everyView(next), everyView(std::make_shared<const LogContents>(datalog::readLog(dir.path()))));
    EXPECT_EQ(readings.readCount(files::kData), 2);
}
