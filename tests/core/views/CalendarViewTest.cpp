#include "tests/core/CoreTestHelpers.h"

#include "core/views/CalendarView.h"
#include "tools/report/ReportCli.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <gtest/gtest.h>

using namespace puka;
using calendar::Mode;

namespace {

WeightRecord rec(const char* date, float weight) {
    return test::record(QString::fromUtf8(date), QStringLiteral("起床後"), weight);
}

const QDate kToday(2008, 7, 1);

calendar::CalendarView build(const std::vector<WeightRecord>& log, Mode mode = Mode::Detailed,
                             const QDate& today = kToday) {
    return calendar::buildCalendar(log, mode, today);
}

/// The columns of body row @p r that carry a colour, as "column:#RRGGBB".
QStringList colouredCells(const GridModel& g, int r) {
    QStringList out;
    for (int c = 0; c < g.columnCount(); ++c)
        if (const auto colour = g.colour(r, c))
            out.append(QStringLiteral("%1:%2").arg(c).arg(*colour, 6, 16, QLatin1Char('0')));
    return out;
}

// one day of each kind in May 2008: down on the 1st, up on the 2nd, no change on the 3rd
// (with other weights between), one measurement on the 4th
std::vector<WeightRecord> fourKinds() {
    return {rec("2008/05/01", 66.0f), rec("2008/05/01", 65.5f), rec("2008/05/02", 65.5f),
            rec("2008/05/02", 66.1f), rec("2008/05/03", 65.8f), rec("2008/05/03", 67.0f),
            rec("2008/05/03", 64.0f), rec("2008/05/03", 65.8f), rec("2008/05/04", 65.0f)};
}

} // namespace

TEST(CalendarGrid, SingleRecordIsOneLightPurpleDayAndASadFace) {
    const auto v = build({rec("2008/05/03", 65.0f)});
    ASSERT_EQ(v.grid.bodyRows(), 1);
    EXPECT_EQ(v.grid.cell(0, 0), QStringLiteral("2008年05月"));
    EXPECT_EQ(colouredCells(v.grid, 0), QStringList{"3:c0c0ff"});
    EXPECT_EQ(v.onceText, QStringLiteral("１回だけ計測  1日"));
    EXPECT_EQ(v.downText, QStringLiteral("体重減  0日"));
    EXPECT_EQ(v.goodDaysText, QStringLiteral("0日"));
    EXPECT_EQ(v.badDaysText, QStringLiteral("1日"));
    EXPECT_EQ(v.balanceSign, QStringLiteral("<"));
    EXPECT_EQ(v.face, QStringLiteral("imgKana2"));
}

TEST(CalendarClass, DayIsJudgedByItsFirstAndLastWeightOnly) {
    const auto v = build(fourKinds());
    EXPECT_EQ(colouredCells(v.grid, 0), (QStringList{"1:c0ffc0", "2:ffc0c0", "3:ffffc0", "4:c0c0ff"}));
    EXPECT_EQ(v.downText, QStringLiteral("体重減  1日"));
    EXPECT_EQ(v.upText, QStringLiteral("体重増  1日"));
    EXPECT_EQ(v.sameText, QStringLiteral("増減無し  1日"));
    EXPECT_EQ(v.onceText, QStringLiteral("１回だけ計測  1日"));
    // two good days against two bad ones
    EXPECT_EQ(v.goodDaysText, QStringLiteral("2日"));
    EXPECT_EQ(v.badDaysText, QStringLiteral("2日"));
    EXPECT_EQ(v.balanceSign, QStringLiteral("="));
    EXPECT_EQ(v.face, QStringLiteral("imgNiko2"));

    // the weights are compared as numbers, also across 100 kg
    EXPECT_EQ(calendar::classify(99.8f, 100.2f, 2), calendar::DayKind::Up);
    EXPECT_EQ(calendar::classify(100.2f, 99.8f, 3), calendar::DayKind::Down);
}

TEST(CalendarClass, SimpleModeRecoloursOnlyNoChangeAndOnceDays) {
    const auto detailed = build(fourKinds(), Mode::Detailed);
    const auto simple = build(fourKinds(), Mode::Simple);
    EXPECT_EQ(colouredCells(simple.grid, 0), (QStringList{"1:c0ffc0", "2:ffc0c0", "3:c0ffc0", "4:ffc0c0"}));
    for (const auto& [a, b] : {std::pair{&detailed.downText, &simple.downText},
                               {&detailed.upText, &simple.upText},
                               {&detailed.sameText, &simple.sameText},
                               {&detailed.onceText, &simple.onceText},
                               {&detailed.balanceSign, &simple.balanceSign},
                               {&detailed.face, &simple.face}})
        EXPECT_EQ(*a, *b);

    EXPECT_EQ(calendar::modeButtonColour(Mode::Detailed, 0), calendar::kSelectedButtonColour);
    EXPECT_FALSE(calendar::modeButtonColour(Mode::Detailed, 1).has_value());
    EXPECT_EQ(calendar::modeButtonColour(Mode::Simple, 1), calendar::kSelectedButtonColour);
    EXPECT_FALSE(calendar::modeButtonColour(Mode::Simple, 0).has_value());
}

TEST(CalendarClass, LastDayOfTheLogIsClassedLikeAnyOther) {
    // an unchanged last day shows the Down colour in simple mode; alone it counts as once
    const auto same =
        build({rec("2008/05/01", 65.0f), rec("2008/05/02", 64.0f), rec("2008/05/02", 64.0f)}, Mode::Simple);
    EXPECT_EQ(colouredCells(same.grid, 0), (QStringList{"1:ffc0c0", "2:c0ffc0"}));
    EXPECT_EQ(same.sameText, QStringLiteral("増減無し  1日"));
    const auto once = build({rec("2008/05/01", 65.0f), rec("2008/05/01", 64.0f), rec("2008/05/02", 64.0f)});
    EXPECT_EQ(once.onceText, QStringLiteral("１回だけ計測  1日"));
    EXPECT_EQ(once.balanceSign, QStringLiteral("="));
}

TEST(CalendarGrid, DayBeforeAMonthChangeIsColouredInItsOwnMonthsRow) {
    const auto v = build({rec("2008/05/03", 65.0f), rec("2008/05/03", 64.5f), rec("2008/06/15", 64.0f)});
    ASSERT_EQ(v.grid.bodyRows(), 2);
    EXPECT_EQ(v.grid.cell(0, 0), QStringLiteral("2008年05月"));
    EXPECT_EQ(v.grid.cell(1, 0), QStringLiteral("2008年06月"));
    EXPECT_EQ(colouredCells(v.grid, 0), QStringList{"3:c0ffc0"});
    EXPECT_EQ(colouredCells(v.grid, 1), QStringList{"15:c0c0ff"});
}

TEST(CalendarGrid, MonthsWithoutRecordsHaveNoRowAcrossAYearEnd) {
    const auto v =
        build({rec("2003/11/30", 70.0f), rec("2003/12/31", 69.0f), rec("2004/02/29", 68.0f), rec("2004/02/29", 68.5f)});
    ASSERT_EQ(v.grid.bodyRows(), 3);
    EXPECT_EQ(v.grid.cell(0, 0), QStringLiteral("2003年11月"));
    EXPECT_EQ(v.grid.cell(1, 0), QStringLiteral("2003年12月"));
    EXPECT_EQ(v.grid.cell(2, 0), QStringLiteral("2004年02月"));
    EXPECT_EQ(colouredCells(v.grid, 0), QStringList{"30:c0c0ff"});
    EXPECT_EQ(colouredCells(v.grid, 1), QStringList{"31:c0c0ff"});
    EXPECT_EQ(colouredCells(v.grid, 2), QStringList{"29:ffc0c0"});
}

TEST(CalendarCounts, MoreGoodDaysGiveTheGreaterSignAndTheLaughingFace) {
    const auto v = build({rec("2008/05/01", 66.0f), rec("2008/05/01", 65.5f), rec("2008/05/02", 65.5f),
                          rec("2008/05/02", 65.5f), rec("2008/05/03", 65.0f)});
    EXPECT_EQ(v.goodDaysText, QStringLiteral("2日"));
    EXPECT_EQ(v.badDaysText, QStringLiteral("1日"));
    EXPECT_EQ(v.balanceSign, QStringLiteral(">"));
    EXPECT_EQ(v.face, QStringLiteral("imgWara2"));
}

TEST(CalendarCounts, CountsBeyondASixteenBitNumberOfDays) {
    std::vector<WeightRecord> log;
    log.reserve(40000);
    QDate d(1950, 1, 1);
    for (int i = 0; i < 40000; ++i, d = d.addDays(1))
        log.push_back(test::record(d.toString(QStringLiteral("yyyy/MM/dd")), QStringLiteral("起床後"), 65.0f));
    const auto v = build(log, Mode::Detailed, d);
    EXPECT_EQ(v.once, 40000);
    EXPECT_EQ(v.badDaysText, QStringLiteral("40000日"));
    EXPECT_EQ(v.unmeasured, 0);
}

TEST(CalendarUnmeasured, CountsDaysWithoutRecordUpToYesterdayAndNeverBelowZero) {
    const std::vector<WeightRecord> log = {rec("2003/11/08", 65.0f), rec("2003/11/09", 65.0f), rec("2003/11/09", 64.0f),
                                           rec("2003/11/11", 64.0f)};
    // 11/08 to 11/11: only 11/10 is missing; today 11/12 has no measurement yet and is not counted
    EXPECT_EQ(calendar::unmeasuredDays(log, QDate(2003, 11, 12)), 1);
    EXPECT_EQ(calendar::unmeasuredDays(log, QDate(2003, 11, 14)), 3);
    EXPECT_EQ(calendar::unmeasuredDays(log, QDate(2003, 11, 11)), 1);
    EXPECT_EQ(calendar::unmeasuredDays(log, QDate(2003, 11, 8)), 0);
    // a clock before the start of the log
    EXPECT_EQ(calendar::unmeasuredDays(log, QDate(2003, 1, 1)), 0);
    EXPECT_EQ(calendar::unmeasuredDays({}, QDate(2003, 11, 12)), 0);
    // records dated after today, and a date repeated out of order, do not count twice
    const std::vector<WeightRecord> odd = {rec("2003/11/08", 65.0f), rec("2003/11/09", 65.0f), rec("2003/11/08", 64.0f),
                                           rec("2003/12/20", 64.0f)};
    EXPECT_EQ(calendar::unmeasuredDays(odd, QDate(2003, 11, 10)), 0);
    EXPECT_EQ(calendar::unmeasuredDays(odd, QDate(2003, 11, 11)), 1);

    EXPECT_EQ(build(log, Mode::Detailed, QDate(2003, 11, 14)).unmeasuredText, QStringLiteral("未計測  3日"));
}

TEST(CalendarCell, DoubleClickedCellGivesItsDateOrNothing) {
    const auto v = build({rec("2004/02/10", 65.0f), rec("2004/04/10", 64.0f)});
    EXPECT_EQ(calendar::dateOfCell(v.grid, 1, 29), QDate(2004, 2, 29));
    EXPECT_EQ(calendar::dateOfCell(v.grid, 2, 1), QDate(2004, 4, 1));
    // a day without measurement jumps as well
    EXPECT_EQ(calendar::dateOfCell(v.grid, 2, 30), QDate(2004, 4, 30));
    EXPECT_FALSE(calendar::dateOfCell(v.grid, 1, 30).has_value());
    EXPECT_FALSE(calendar::dateOfCell(v.grid, 2, 31).has_value());
    EXPECT_FALSE(calendar::dateOfCell(v.grid, 0, 5).has_value());
    EXPECT_FALSE(calendar::dateOfCell(v.grid, 1, 0).has_value());
    EXPECT_FALSE(calendar::dateOfCell(v.grid, 3, 5).has_value());
    EXPECT_FALSE(calendar::dateOfCell(v.grid, -1, 5).has_value());
    EXPECT_FALSE(calendar::dateOfCell(v.grid, 1, 32).has_value());
}

TEST(CalendarReport, SampleCountsEveryDayAndSimpleKeepsTheCounts) {
    const QStringList base = {QStringLiteral("-C"),         test::sampleDir(),          QStringLiteral("--today"),
                              QStringLiteral("2003/11/23"), QStringLiteral("--format"), QStringLiteral("json"),
                              QStringLiteral("calendar")};
    QByteArray out, err;
    ASSERT_EQ(report::run(base, &out, &err), 0) << err.toStdString();
    const QJsonObject root = QJsonDocument::fromJson(out).object();
    const QJsonObject grid = root.value("grids").toObject().value("msgList2").toObject();
    const QJsonArray rows = grid.value("rows").toArray();
    // July to November 2003
    ASSERT_EQ(rows.size(), 6);
    EXPECT_EQ(rows.at(1).toArray().at(0).toString(), QStringLiteral("2003年07月"));
    EXPECT_EQ(rows.at(5).toArray().at(0).toString(), QStringLiteral("2003年11月"));
    // 2003/07/25 holds one measurement
    EXPECT_EQ(grid.value("colours").toArray().at(1).toArray().at(25).toString(), QStringLiteral("#C0C0FF"));
    EXPECT_TRUE(grid.value("colours").toArray().at(1).toArray().at(24).isNull());

    const QJsonObject labels = root.value("labels").toObject();
    auto days = [&](const char* name) {
        const QString text = labels.value(QLatin1String(name)).toString();
        return text.mid(text.lastIndexOf(QLatin1Char(' ')) + 1).chopped(1).toInt();
    };
    // 111 measured days of 121 from 07/25 to 11/22
    EXPECT_EQ(days("lblDn_c") + days("lblUp_c") + days("lblSm_c") + days("lblOne_c"), 111);
    EXPECT_EQ(labels.value("lblNon_c").toString(), QStringLiteral("未計測  10日"));
    EXPECT_FALSE(root.value("face").toString().isEmpty());

    QByteArray simpleOut;
    ASSERT_EQ(report::run(base + QStringList{QStringLiteral("--simple")}, &simpleOut, &err), 0);
    const QJsonObject simple = QJsonDocument::fromJson(simpleOut).object();
    EXPECT_EQ(simple.value("labels"), root.value("labels"));
    EXPECT_EQ(simple.value("face"), root.value("face"));
    EXPECT_EQ(
        simple.value("grids").toObject().value("msgList2").toObject().value("colours").toArray().at(1).toArray().at(25),
        QStringLiteral("#FFC0C0"));

    QByteArray badOut, badErr;
    EXPECT_EQ(report::run({QStringLiteral("-C"), test::sampleDir(), QStringLiteral("calendar"),
                           QStringLiteral("--from"), QStringLiteral("03/11/01")},
                          &badOut, &badErr),
              2);
}
