#include "core/edits/MeasurementEntry.h"

#include <gtest/gtest.h>

using namespace puka;

namespace {

entry::Input valid() {
    entry::Input in;
    in.situation = QStringLiteral("起床後");
    in.weightText = QStringLiteral("70.2");
    in.fatText = QStringLiteral("20.5");
    in.currentWeight = 70.0f;
    in.currentBodyFat = 20.0f;
    return in;
}

int firstStep(const entry::Input& in, int from = 0) {
    const auto c = entry::firstCheck(in, from);
    return c ? c->step : -1;
}

} // namespace

TEST(EntryChecks, RunInTheirFixedOrder) {
    entry::Input in = valid();
    in.sampleMode = true;
    in.situation.clear();
    const auto sample = entry::firstCheck(in);
    ASSERT_TRUE(sample);
    EXPECT_EQ(sample->notice.text,
              QStringLiteral("ご自身のデータでスタートする時は編集ボタンで新規スタートしてください。"));
    EXPECT_EQ(sample->notice.title, QStringLiteral("新規スタート促し"));
    in.sampleMode = false;
    const auto situation = entry::firstCheck(in);
    ASSERT_TRUE(situation);
    EXPECT_EQ(situation->notice.text, QStringLiteral("行動が指定されていません"));
    EXPECT_EQ(situation->notice.title, QStringLiteral("行動未入力"));
    EXPECT_EQ(firstStep(valid()), -1);
}

TEST(EntryChecks, WeightBounds) {
    entry::Input in = valid();
    in.currentWeight = 996.0f;
    in.weightText = QStringLiteral("999");
    const auto c = entry::firstCheck(in);
    ASSERT_TRUE(c);
    EXPECT_EQ(c->notice.text, QStringLiteral("９９９以上は入力できません"));
    EXPECT_EQ(c->notice.title, QStringLiteral("入力制限"));
    in.weightText = QStringLiteral("998.9");
    EXPECT_EQ(firstStep(in), -1);
    in.weightText = QStringLiteral("0");
    EXPECT_EQ(entry::firstCheck(in)->notice.text, QStringLiteral("０以下が入力されています"));
    in.weightText = QString();
    EXPECT_EQ(entry::firstCheck(in)->notice.title, QStringLiteral("体重未入力"));
    in.weightText = QStringLiteral("70kg");
    EXPECT_EQ(entry::firstCheck(in)->notice.title, QStringLiteral("数値以外入力"));
    in.weightText = QStringLiteral(" 70.5 ");
    in.currentWeight = 70.0f;
    EXPECT_EQ(firstStep(in), -1);
}

TEST(EntryChecks, LargeChangesAskAndGoOnAfterYes) {
    entry::Input in = valid();
    in.weightText = QStringLiteral("75.0"); // 5.0 away
    const auto c = entry::firstCheck(in);
    ASSERT_TRUE(c);
    EXPECT_TRUE(c->confirm);
    EXPECT_EQ(c->notice.text, QStringLiteral("前回より５Ｋｇ以上の変動がありますが間違いありませんか？"));
    EXPECT_EQ(c->notice.title, QStringLiteral("異常確認"));
    EXPECT_EQ(firstStep(in, c->step + 1), -1);
    in.weightText = QStringLiteral("74.9");
    EXPECT_EQ(firstStep(in), -1);
    in.fatText = QStringLiteral("30.0"); // 10.0 points away
    const auto fat = entry::firstCheck(in);
    ASSERT_TRUE(fat);
    EXPECT_EQ(fat->step, 10);
    EXPECT_EQ(fat->notice.text, QStringLiteral("前回より１０％以上の変動がありますが間違いありませんか？"));
    in.fatText = QStringLiteral("29.9");
    EXPECT_EQ(firstStep(in), -1);
}

TEST(EntryChecks, BodyFat) {
    entry::Input in = valid();
    in.currentBodyFat = 5.0f;
    in.fatText = QStringLiteral("0");
    EXPECT_EQ(firstStep(in), -1);
    in.fatText = QStringLiteral("-0.1");
    EXPECT_EQ(entry::firstCheck(in)->notice.text, QStringLiteral("０未満が入力されています"));
    in.fatText = QString();
    EXPECT_EQ(entry::firstCheck(in)->notice.text, QStringLiteral("体脂肪率が入力されていません"));
    in.fatText = QStringLiteral("abc");
    EXPECT_EQ(entry::firstCheck(in)->notice.text, QStringLiteral("数値を入力してください"));
}

TEST(EntryStep, SteppingIn64BitsGivesShortText) {
    EXPECT_EQ(*entry::stepped(QStringLiteral("75.5"), QStringLiteral("0.1"), +1), QStringLiteral("75.6"));
    EXPECT_EQ(*entry::stepped(QStringLiteral("75.5"), QStringLiteral("0.1"), -1), QStringLiteral("75.4"));
    EXPECT_EQ(*entry::stepped(QString(), QStringLiteral("0.1"), +1), QStringLiteral("0.1"));
    QString text = QStringLiteral("70");
    for (int i = 0; i < 30; ++i)
        text = *entry::stepped(text, QStringLiteral("0.1"), +1);
    EXPECT_EQ(text, QStringLiteral("73"));
    const auto refused = entry::stepped(QStringLiteral("70"), QStringLiteral("abc"), +1);
    EXPECT_FALSE(refused);
    EXPECT_TRUE(refused.message().contains(QStringLiteral("abc")));
    EXPECT_FALSE(entry::stepped(QStringLiteral("70"), QStringLiteral("-0.1"), +1));
    EXPECT_FALSE(entry::stepped(QStringLiteral("70"), QStringLiteral("0"), +1));
}

TEST(EntryRecord, AppendTodayWithTimeStampInsertEarlierWithout) {
    const entry::Input in = valid();
    const QTime now(9, 5, 3);
    auto [appended, where] = entry::makeRecord(in, QDate(2003, 11, 8), QStringLiteral("2003/11/08"), true, now);
    EXPECT_EQ(where, entry::Placement::Append);
    EXPECT_EQ(appended.comment, QStringLiteral("9:05:03"));
    EXPECT_EQ(appended.date, QStringLiteral("2003/11/08"));
    EXPECT_FLOAT_EQ(appended.weight, 70.2f);
    auto [inserted, place] = entry::makeRecord(in, QDate(2003, 11, 7), QStringLiteral("2003/11/08"), true, now);
    EXPECT_EQ(place, entry::Placement::Insert);
    EXPECT_TRUE(inserted.comment.isEmpty());
    auto [plain, p2] = entry::makeRecord(in, QDate(2003, 11, 9), QStringLiteral("2003/11/08"), false, now);
    EXPECT_EQ(p2, entry::Placement::Append);
    EXPECT_TRUE(plain.comment.isEmpty());
}
