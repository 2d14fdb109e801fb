#include "core/files/FileNames.h"
#include "core/views/CalendarView.h"
#include "tests/ui/UiTestSupport.h"
#include "ui/controls/GridView.h"
#include "ui/controls/MonthCalendar.h"
#include "ui/controls/RecordingPageSink.h"
#include "ui/panels/MainPanel.h"

#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

#include <cerrno>

using namespace puka;
using Call = ui::ScriptedDialogs::Call;
using Answer = ui::Dialogs::Answer;
using Icon = ui::Dialogs::Icon;
using Buttons = ui::Dialogs::Buttons;
using Operation = ui::RecordingPageSink::Operation;
using test::FewDaysWindow;

namespace {

QColor buttonColour(test::Window& t, int index) {
    return t.find<QPushButton>(QStringLiteral("cmdSel1(%1)").arg(index))->palette().color(QPalette::Button);
}

QString labelText(test::Window& t, const char* name) {
    return t.find<QLabel>(QString::fromUtf8(name))->text();
}

QString visibleFace(test::Window& t) {
    for (const char* name : {"imgWara2", "imgNiko2", "imgKana2"})
        if (!t.find<QLabel>(QString::fromUtf8(name))->isHidden())
            return QString::fromUtf8(name);
    return QString();
}

/// A double-click as the window system delivers it: a click, then the second press as a double-click.
void doubleClick(QAbstractItemView* view, const QModelIndex& index) {
    const QPoint at = view->visualRect(index).center();
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, at);
}

void doubleClickCell(test::Window& t, int row, int column) {
    ui::GridView* g = grid(t, "msgList2");
    doubleClick(g, g->tableModel()->index(row - 1, column));
}

const QColor kSelected = QColor::fromRgb(calendar::kSelectedButtonColour);

} // namespace

TEST(CalendarPanel, OpensInDetailedModeWithTheCountsAndTheFace) {
    FewDaysWindow f;
    test::Window& t = f.t;
    t.click(QStringLiteral("cmdCale"));
    EXPECT_EQ(t.w().visiblePanel()->objectName(), QStringLiteral("fraCale"));
    const GridModel& g = grid(t, "msgList2")->model();
    ASSERT_EQ(g.bodyRows(), 2);
    EXPECT_EQ(g.cell(0, 0), QStringLiteral("2026年11月"));
    EXPECT_EQ(g.cell(1, 0), QStringLiteral("2026年12月"));
    EXPECT_EQ(g.colour(0, 1), calendar::kUpColour);
    EXPECT_EQ(g.colour(0, 2), calendar::kOnceColour);
    EXPECT_EQ(g.colour(0, 3), std::nullopt);
    EXPECT_EQ(g.colour(0, 4), calendar::kDownColour);
    EXPECT_EQ(g.colour(0, 5), calendar::kNoChangeColour);
    EXPECT_EQ(g.colour(1, 1), calendar::kOnceColour);

    EXPECT_EQ(labelText(t, "lblDn_c"), QStringLiteral("体重減  1日"));
    EXPECT_EQ(labelText(t, "lblUp_c"), QStringLiteral("体重増  1日"));
    EXPECT_EQ(labelText(t, "lblSm_c"), QStringLiteral("増減無し  1日"));
    EXPECT_EQ(labelText(t, "lblOne_c"), QStringLiteral("１回だけ計測  2日"));
    // 2026/11/01 to yesterday 2026/12/06 are 36 days, 5 of them measured
    EXPECT_EQ(labelText(t, "lblNon_c"), QStringLiteral("未計測  31日"));
    EXPECT_EQ(labelText(t, "lblGenT"), QStringLiteral("2日"));
    EXPECT_EQ(labelText(t, "lblZouT"), QStringLiteral("3日"));
    EXPECT_EQ(labelText(t, "lblHugou"), QStringLiteral("<"));
    EXPECT_EQ(visibleFace(t), QStringLiteral("imgKana2"));

    EXPECT_EQ(t.find<QPushButton>(QStringLiteral("cmdSel1(0)"))->text(), QStringLiteral("詳細表示"));
    EXPECT_EQ(t.find<QPushButton>(QStringLiteral("cmdSel1(1)"))->text(), QStringLiteral("簡易表示"));
    EXPECT_EQ(buttonColour(t, 0), kSelected);
    EXPECT_NE(buttonColour(t, 1), kSelected);
}

TEST(CalendarPanel, SimpleModeRecoloursOnlyAndReopeningReturnsToDetailed) {
    FewDaysWindow f;
    test::Window& t = f.t;
    t.click(QStringLiteral("cmdCale"));
    const QColor face = buttonColour(t, 1);

    t.click(QStringLiteral("cmdSel1(1)"));
    EXPECT_EQ(t.w().visiblePanel()->objectName(), QStringLiteral("fraCale"));
    const GridModel& g = grid(t, "msgList2")->model();
    EXPECT_EQ(g.colour(0, 1), calendar::kUpColour);
    EXPECT_EQ(g.colour(0, 2), calendar::kUpColour);
    EXPECT_EQ(g.colour(0, 4), calendar::kDownColour);
    EXPECT_EQ(g.colour(0, 5), calendar::kDownColour);
    EXPECT_EQ(g.colour(1, 1), calendar::kUpColour);
    EXPECT_EQ(labelText(t, "lblSm_c"), QStringLiteral("増減無し  1日"));
    EXPECT_EQ(labelText(t, "lblOne_c"), QStringLiteral("１回だけ計測  2日"));
    EXPECT_EQ(labelText(t, "lblHugou"), QStringLiteral("<"));
    EXPECT_EQ(buttonColour(t, 1), kSelected);
    EXPECT_EQ(buttonColour(t, 0), face);

    t.click(QStringLiteral("cmdSel1(0)"));
    EXPECT_EQ(grid(t, "msgList2")->model().colour(0, 2), calendar::kOnceColour);
    EXPECT_EQ(buttonColour(t, 0), kSelected);

    t.click(QStringLiteral("cmdSel1(1)"));
    t.click(QStringLiteral("cmdMain"));
    t.click(QStringLiteral("cmdCale"));
    EXPECT_EQ(grid(t, "msgList2")->model().colour(0, 2), calendar::kOnceColour);
    EXPECT_EQ(buttonColour(t, 0), kSelected);
    EXPECT_EQ(buttonColour(t, 1), face);
}

TEST(CalendarPanel, DoubleClickOnADayShowsThatDayOnTheMainPanel) {
    FewDaysWindow f;
    test::Window& t = f.t;
    t.click(QStringLiteral("cmdCale"));
    doubleClickCell(t, 1, 4);
    EXPECT_EQ(t.w().visiblePanel(), t.w().mainPanel());
    EXPECT_EQ(t.find<ui::MonthCalendar>(QStringLiteral("mtvmain"))->selectedDate(), QDate(2026, 11, 4));
    EXPECT_EQ(grid(t, "msgDayList")->model().bodyRows(), 2);
    EXPECT_TRUE(t.takeCalls().isEmpty());

    // a day without measurements is shown as well
    t.click(QStringLiteral("cmdCale"));
    doubleClickCell(t, 2, 15);
    EXPECT_EQ(t.w().visiblePanel(), t.w().mainPanel());
    EXPECT_EQ(t.find<ui::MonthCalendar>(QStringLiteral("mtvmain"))->selectedDate(), QDate(2026, 12, 15));
    EXPECT_EQ(grid(t, "msgDayList")->model().bodyRows(), 0);
}

TEST(CalendarPanel, DoubleClickOnACellThatIsNoDateDoesNothing) {
    FewDaysWindow f;
    test::Window& t = f.t;
    t.click(QStringLiteral("cmdCale"));
    const QDate before = t.find<ui::MonthCalendar>(QStringLiteral("mtvmain"))->selectedDate();

    ui::GridView* g = grid(t, "msgList2");
    QSignalSpy delivered(g, &ui::GridView::cellDoubleClicked);
    doubleClickCell(t, 1, 31); // November has 30 days
    auto* months = g->findChild<QTableView*>(QStringLiteral("gridFrozenColumn"));
    ASSERT_NE(months, nullptr);
    doubleClick(months, g->tableModel()->index(0, 0));
    Q_EMIT g->cellDoubleClicked(0, 5); // the header row
    EXPECT_EQ(delivered.count(), 3);

    EXPECT_EQ(t.w().visiblePanel()->objectName(), QStringLiteral("fraCale"));
    EXPECT_EQ(t.find<ui::MonthCalendar>(QStringLiteral("mtvmain"))->selectedDate(), before);
    EXPECT_TRUE(t.takeCalls().isEmpty());
}
