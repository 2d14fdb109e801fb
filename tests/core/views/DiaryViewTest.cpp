#include "tests/core/CoreTestHelpers.h"

#include "core/views/DiaryView.h"

#include <gtest/gtest.h>

using namespace puka;
using test::record;

namespace {

enum Column { Number = 0, Date = 1, Situation = 2, Weight = 3, Difference = 4, Arrow = 5, Fat = 6, Comment = 7 };

std::vector<WeightRecord> weights(std::initializer_list<float> values) {
    std::vector<WeightRecord> records;
    int day = 1;
    for (float w : values)
        records.push_back(
            record(QStringLiteral("2003/08/%1").arg(day++, 2, 10, QLatin1Char('0')), QStringLiteral("起床後"), w));
    return records;
}

struct Shown {
    QString difference;
    QString arrow;
    std::optional<Rgb> colour;
};

Shown row(const GridModel& g, int bodyRow) {
    return {g.cell(bodyRow, Difference), g.cell(bodyRow, Arrow), g.colour(bodyRow, Arrow)};
}

} // namespace

TEST(DiaryGrid, FirstRowShowsNoChangeOnLightYellow) {
    const GridModel g = diary::buildDiaryList({record(QStringLiteral("2003/07/25"), QStringLiteral("はじめの一歩"),
                                                      75.5f, QStringLiteral("9:05:03"), 22.3f)});
    ASSERT_EQ(g.bodyRows(), 1);
    EXPECT_EQ(g.cell(0, Number), QStringLiteral("1"));
    EXPECT_EQ(g.cell(0, Date), QStringLiteral("2003/07/25"));
    EXPECT_EQ(g.cell(0, Weight), QStringLiteral("75.5"));
    EXPECT_EQ(g.cell(0, Fat), QStringLiteral("22.3"));
    EXPECT_EQ(g.cell(0, Comment), QStringLiteral("9:05:03"));
    const Shown s = row(g, 0);
    EXPECT_EQ(s.difference, QStringLiteral("0.0"));
    EXPECT_EQ(s.arrow, QStringLiteral("→"));
    EXPECT_EQ(s.colour, std::optional<Rgb>(rgb(0xFF, 0xFF, 0xC0)));
    EXPECT_FALSE(g.colour(0, Difference).has_value());
}

TEST(DiaryGrid, RiseAndFallShowSignedDifferenceArrowAndColour) {
    GridModel g = diary::buildDiaryList(weights({65.3f, 65.8f, 65.3f}));
    const Shown up = row(g, 1);
    EXPECT_EQ(up.difference, QStringLiteral("0.5"));
    EXPECT_EQ(up.arrow, QStringLiteral("↑"));
    EXPECT_EQ(up.colour, std::optional<Rgb>(rgb(0xFF, 0xC0, 0xC0)));
    const Shown down = row(g, 2);
    EXPECT_EQ(down.difference, QStringLiteral("-0.5"));
    EXPECT_EQ(down.arrow, QStringLiteral("↓"));
    EXPECT_EQ(down.colour, std::optional<Rgb>(rgb(0xC0, 0xFF, 0xC0)));
}

TEST(DiaryGrid, ArrowFollowsTheExactSignEvenWhenTheDifferenceShowsAsZero) {
    const GridModel g = diary::buildDiaryList(weights({65.3f, 65.32f, 65.3f, 65.3f}));
    EXPECT_EQ(row(g, 1).difference, QStringLiteral("0.0"));
    EXPECT_EQ(row(g, 1).arrow, QStringLiteral("↑"));
    EXPECT_EQ(row(g, 2).difference, QStringLiteral("0.0"));
    EXPECT_EQ(row(g, 2).arrow, QStringLiteral("↓"));
    EXPECT_EQ(row(g, 3).arrow, QStringLiteral("→"));
}

TEST(DiaryGrid, AfterAWeightOfZeroTheDifferenceIsZero) {
    const GridModel g = diary::buildDiaryList(weights({65.0f, 0.0f, 64.0f}));
    EXPECT_EQ(row(g, 1).difference, QStringLiteral("-65.0"));
    EXPECT_EQ(row(g, 2).difference, QStringLiteral("0.0"));
    EXPECT_EQ(row(g, 2).arrow, QStringLiteral("→"));
    EXPECT_EQ(g.cell(1, Weight), QStringLiteral("0"));
    EXPECT_EQ(g.cell(2, Weight), QStringLiteral("64"));
}

TEST(DiaryGrid, ScrollsToTheEndOnlyBeyondFifteenRecords) {
    std::vector<WeightRecord> records;
    for (int i = 0; i < 15; ++i)
        records.push_back(record(QStringLiteral("2003/08/01"), QStringLiteral("朝"), 60.0f + i));
    EXPECT_EQ(diary::buildDiaryList(records).topRow, 0);
    records.push_back(record(QStringLiteral("2003/08/02"), QStringLiteral("朝"), 70.0f));
    const GridModel g = diary::buildDiaryList(records);
    EXPECT_EQ(g.bodyRows(), 16);
    EXPECT_EQ(g.topRow, 16); // grid row 16 is the last body row
    EXPECT_EQ(g.cell(15, Number), QStringLiteral("16"));
}

TEST(DiaryGrid, EmptyLogGivesTheHeaderOnly) {
    const GridModel g = diary::buildDiaryList(std::vector<WeightRecord>());
    EXPECT_EQ(g.bodyRows(), 0);
    EXPECT_EQ(g.columnCount(), 8);
    EXPECT_EQ(g.topRow, 0);
}

TEST(DiaryGrid, SampleViewHasOneRowPerRecord) {
    const LogContents log = datalog::readLog(test::sampleDir());
    const ViewModel v = diary::view(std::make_shared<const LogContents>(log));
    const GridModel* g = v.grid(QStringLiteral("msgMemoList"));
    ASSERT_NE(g, nullptr);
    ASSERT_EQ(g->bodyRows(), static_cast<int>(log.records.size()));
    EXPECT_EQ(g->topRow, g->bodyRows());
    for (int r = 0; r < g->bodyRows(); ++r)
        EXPECT_TRUE(g->colour(r, Arrow).has_value()) << r;
}
