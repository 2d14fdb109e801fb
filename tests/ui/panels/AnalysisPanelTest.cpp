#include "core/files/FileNames.h"
#include "core/views/AnalysisView.h"
#include "tests/ui/UiTestSupport.h"
#include "ui/controls/ChartView.h"
#include "ui/controls/GridView.h"
#include "ui/panels/Panel.h"

#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>

using namespace puka;
using Icon = ui::Dialogs::Icon;
using Axis = ui::ChartView::Axis;
using test::kSampleRecords;
using test::OnEvent;
using test::quietSample;
using test::touringSample;

namespace {

ui::ChartView* chart(test::Window& t) {
    return t.find<ui::ChartView>(QStringLiteral("mcrRentai"));
}

} // namespace

TEST(AnalysisPanel, OpensWithListsAndGraphBuiltBeforeShowingThenGuides) {
    test::Window t(touringSample);
    t.start();
    t.takeCalls();

    auto* panel = t.find<QWidget>(QStringLiteral("fraBunseki"));
    int callsAtShow = -1;
    int rowsAtShow = -1;
    int graphPointsAtShow = -1;
    OnEvent onShow(panel, QEvent::Show, [&] {
        callsAtShow = static_cast<int>(t.dialogs().calls().size());
        rowsAtShow = grid(t, "msgB1")->model().bodyRows();
        graphPointsAtShow = chart(t)->pointCount(0);
    });
    t.click(QStringLiteral("cmdBunseki"));

    ASSERT_TRUE(onShow.seen());
    EXPECT_EQ(callsAtShow, 0) << "the guidance must come after the panel is shown";
    EXPECT_EQ(rowsAtShow, kSampleRecords);
    EXPECT_EQ(graphPointsAtShow, kSampleRecords);
    const auto calls = t.takeCalls();
    ASSERT_EQ(calls.size(), 1);
    EXPECT_EQ(calls[0].title, QStringLiteral("ヘルプツアー"));
    EXPECT_EQ(calls[0].prompt, analysis::guidanceText());

    EXPECT_TRUE(panel->isVisible());
    EXPECT_FALSE(t.find<QWidget>(QStringLiteral("fraRenTai"))->isVisible());
    ASSERT_NE(t.w().visiblePanel(), nullptr);
    EXPECT_EQ(t.w().visiblePanel()->objectName(), QStringLiteral("fraBunseki"));

    // every list is filled, the time series scrolled to its newest row
    EXPECT_EQ(grid(t, "msgB1")->model().topRow, kSampleRecords);
    EXPECT_EQ(grid(t, "msgB1")->cellText(0, 3), QStringLiteral("前回差"));
    EXPECT_EQ(grid(t, "msgB1")->cellText(1, 3), QStringLiteral("±0.0Kg"));
    EXPECT_GT(grid(t, "msgB2")->model().bodyRows(), 0);
    EXPECT_EQ(grid(t, "msgB3")->model().bodyRows(), kSampleRecords);
    EXPECT_GT(grid(t, "msgB4")->model().bodyRows(), 0);
    EXPECT_TRUE(t.find<QLabel>(QStringLiteral("Label5(0)"))->text().startsWith(QStringLiteral("最高　")));
    EXPECT_FALSE(t.find<QLabel>(QStringLiteral("Label5(1)"))->text().isEmpty());
    EXPECT_EQ(t.find<QGroupBox>(QStringLiteral("fraB4"))->title(),
              QStringLiteral("    体重推移累積番付 < 0.5Kg刻み >"));
    EXPECT_TRUE(t.find<QRadioButton>(QStringLiteral("Option1(0)"))->isChecked());
    EXPECT_TRUE(t.find<QRadioButton>(QStringLiteral("Option2(1)"))->isChecked());

    // the whole-period graph was built on the way, though it stays hidden
    EXPECT_TRUE(t.find<QLabel>(QStringLiteral("lblNichis"))
                    ->text()
                    .startsWith(QStringLiteral("2003/07/25 ( 75.5Kg ) でスタート ～ 2003/11/22 ( 68.9Kg ) まで ")));
    EXPECT_EQ(t.find<QPushButton>(QStringLiteral("cmdMokuChk"))->text(), QStringLiteral("目標まで残り　3.9Kg"));

    // a second click while the panel is shown neither reads the log again nor guides again
    t.dir().writeText(files::kData, QStringLiteral("\"2003/07/25\",\"起床後\",75.5,\"\",22.3,\"\"\r\n"));
    t.click(QStringLiteral("cmdBunseki"));
    EXPECT_TRUE(t.takeCalls().isEmpty());
    EXPECT_EQ(grid(t, "msgB1")->model().bodyRows(), kSampleRecords);
}

TEST(AnalysisPanel, OptionsRefillOnlyTheirOwnListFromTheLoadedSnapshot) {
    test::Window t(quietSample);
    t.start();
    t.takeCalls();
    t.click(QStringLiteral("cmdBunseki"));
    EXPECT_TRUE(t.takeCalls().isEmpty());

    const char* names[] = {"msgB1", "msgB2", "msgB3", "msgB4"};
    std::vector<std::unique_ptr<QSignalSpy>> resets;
    for (const char* name : names)
        resets.push_back(std::make_unique<QSignalSpy>(grid(t, name)->tableModel(), &QAbstractItemModel::modelReset));
    const QString label0 = t.find<QLabel>(QStringLiteral("Label5(0)"))->text();
    const QString label1 = t.find<QLabel>(QStringLiteral("Label5(1)"))->text();
    const QString previousRow3 = grid(t, "msgB1")->cellText(3, 3);
    const int halfBands = grid(t, "msgB4")->model().bodyRows();

    // the options work on the snapshot loaded at opening, not on the log as it is now
    t.dir().writeText(files::kData, QStringLiteral("\"2003/07/25\",\"起床後\",75.5,\"\",22.3,\"\"\r\n"));

    t.click(QStringLiteral("Option1(1)"));
    ui::GridView* b1 = grid(t, "msgB1");
    EXPECT_EQ(b1->cellText(0, 3), QStringLiteral("初回差"));
    EXPECT_EQ(b1->model().bodyRows(), kSampleRecords);
    EXPECT_EQ(b1->cellText(1, 3), QStringLiteral("±0.0Kg"));
    // 75.5, 75.1, 75.6: the third record is 0.5 above the previous and 0.1 above the first
    EXPECT_EQ(previousRow3, QStringLiteral("+0.5Kg"));
    EXPECT_EQ(b1->cellText(3, 3), QStringLiteral("+0.1Kg"));
    EXPECT_EQ(b1->cellText(3, 2), QStringLiteral("75.6Kg"));
    EXPECT_EQ(resets[0]->count(), 1);
    EXPECT_EQ(resets[1]->count() + resets[2]->count() + resets[3]->count(), 0);

    t.click(QStringLiteral("Option2(0)"));
    EXPECT_EQ(t.find<QGroupBox>(QStringLiteral("fraB4"))->title(),
              QStringLiteral("    体重推移累積番付 < 1.0Kg刻み >"));
    ui::GridView* b4 = grid(t, "msgB4");
    EXPECT_LT(b4->model().bodyRows(), halfBands);
    EXPECT_TRUE(b4->cellText(1, 1).endsWith(QStringLiteral(".9Kg")));
    EXPECT_TRUE(b4->cellText(1, 1).contains(QStringLiteral(".0～")));
    EXPECT_EQ(resets[3]->count(), 1);
    EXPECT_EQ(resets[0]->count(), 1);
    EXPECT_EQ(resets[1]->count() + resets[2]->count(), 0);
    EXPECT_EQ(t.find<QLabel>(QStringLiteral("Label5(0)"))->text(), label0);
    EXPECT_EQ(t.find<QLabel>(QStringLiteral("Label5(1)"))->text(), label1);

    // back to the first choices
    t.click(QStringLiteral("Option1(0)"));
    t.click(QStringLiteral("Option2(1)"));
    EXPECT_EQ(b1->cellText(0, 3), QStringLiteral("前回差"));
    EXPECT_EQ(b1->cellText(3, 3), QStringLiteral("+0.5Kg"));
    EXPECT_EQ(b4->model().bodyRows(), halfBands);
    EXPECT_TRUE(t.takeCalls().isEmpty());
}

TEST(AnalysisPanel, EmptyOrMissingLogShowsHeadersOnly) {
    test::Window t([](const test::WorkDir& d) { test::writeOwnProfile(d); });
    t.start();
    t.takeCalls();

    t.click(QStringLiteral("cmdBunseki"));
    EXPECT_TRUE(t.takeCalls().isEmpty()) << "a missing log is told at start-up, not again here";
    for (const char* name : {"msgB1", "msgB2", "msgB3", "msgB4"})
        EXPECT_EQ(grid(t, name)->model().bodyRows(), 0) << name;
    EXPECT_EQ(grid(t, "msgB1")->cellText(0, 0), QStringLiteral("回数"));
    EXPECT_FALSE(t.find<QPushButton>(QStringLiteral("cmdMokuChk"))->isEnabled());

    t.dir().writeText(files::kData, QStringLiteral("\"2026/11/30\",\"起床後\",60.2,\"\",25,\"\"\r\n"
                                                   "\"2026/12/06\",\"起床後\",59.6,\"\",24.8,\"\"\r\n"));
    t.click(QStringLiteral("cmdMain"));
    t.click(QStringLiteral("cmdBunseki"));
    EXPECT_EQ(grid(t, "msgB1")->model().bodyRows(), 2);
    EXPECT_EQ(grid(t, "msgB2")->cellText(1, 0), QStringLiteral("0.5Kg減"));
    EXPECT_TRUE(t.find<QPushButton>(QStringLiteral("cmdMokuChk"))->isEnabled());

    // a log emptied since leaves no rows of the records that are gone
    t.dir().write(files::kData, QByteArray());
    t.click(QStringLiteral("cmdMain"));
    t.click(QStringLiteral("cmdBunseki"));
    for (const char* name : {"msgB1", "msgB2", "msgB3", "msgB4"})
        EXPECT_EQ(grid(t, name)->model().bodyRows(), 0) << name;
    EXPECT_TRUE(t.find<QLabel>(QStringLiteral("Label5(0)"))->text().isEmpty());
    EXPECT_TRUE(t.takeCalls().isEmpty());
}
