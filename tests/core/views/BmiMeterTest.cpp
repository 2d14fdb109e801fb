#include "core/views/BmiMeter.h"

#include <gtest/gtest.h>

using namespace puka;

TEST(BodyType, ClassBoundsInSinglePrecision) {
    EXPECT_EQ(body::classify(16.99f).word, QStringLiteral("やせ過ぎ"));
    EXPECT_EQ(body::classify(17.0f).word, QStringLiteral("やせ気味"));
    EXPECT_EQ(body::classify(19.99f).word, QStringLiteral("やせ気味"));
    EXPECT_EQ(body::classify(20.0f).word, QStringLiteral("スタンダード"));
    EXPECT_EQ(body::classify(24.0f).word, QStringLiteral("スタンダード"));
    EXPECT_EQ(body::classify(24.1f).word, QStringLiteral("でぶメゾフォルテ"));
    EXPECT_EQ(body::classify(26.4f).word, QStringLiteral("でぶメゾフォルテ"));
    EXPECT_EQ(body::classify(26.41f).word, QStringLiteral("でぶフォルテ"));
    EXPECT_EQ(body::classify(30.0f).word, QStringLiteral("でぶフォルテシモ"));
    EXPECT_EQ(body::classify(30.0f).colour, rgb(255, 192, 192));
    EXPECT_EQ(body::classify(22.0f).colour, rgb(192, 255, 192));
}

TEST(BmiMeter, HighBmiClampsThePointerButNotTheWord) {
    BmiMeter m;
    const float height = 160.0f;
    const float weight = 35.0f * 1.6f * 1.6f; // BMI 35
    ASSERT_TRUE(m.judgeBmi(weight, height, 10));
    EXPECT_EQ(m.scrollValue(), 320);
    EXPECT_FLOAT_EQ(m.meterBmi(), 32.0f);
    EXPECT_EQ(m.figures().currentType.word, QStringLiteral("でぶフォルテシモ"));
    EXPECT_EQ(m.figures().bmi, QStringLiteral("35.0"));
    EXPECT_EQ(m.figures().meterType.word, QStringLiteral("でぶフォルテシモ"));
}

TEST(BmiMeter, LowBmiJudgesTheMeterFromTheClampedValue) {
    BmiMeter m;
    const float weight = 15.0f * 1.6f * 1.6f;
    ASSERT_TRUE(m.judgeBmi(weight, 160.0f, 10));
    EXPECT_EQ(m.scrollValue(), 170);
    EXPECT_EQ(m.figures().currentType.word, QStringLiteral("やせ過ぎ"));
    EXPECT_EQ(m.figures().meterType.word, QStringLiteral("やせ気味"));
}

TEST(BmiMeter, UserMoveShowsTheWeightForTheChosenBmi) {
    BmiMeter m;
    m.setMeterBase(69.3f, 168.5f);
    EXPECT_EQ(m.figures().height, QStringLiteral("1.685"));
    EXPECT_EQ(m.figures().weight, QStringLiteral("69.3"));
    // the program's own move of the bar keeps the weight figure from the log
    ASSERT_TRUE(m.judgeBmi(69.3f, 168.5f, 5));
    EXPECT_EQ(m.scrollValue(), 244);
    EXPECT_EQ(m.figures().weight, QStringLiteral("69.3"));
    EXPECT_EQ(m.figures().formulaWeight, QStringLiteral("69.3"));
    // the user's move to 22.0 shows the standard weight and an obesity degree of 0.0
    m.updateMeter(220, 168.5f, 5);
    EXPECT_EQ(m.figures().bmi, QStringLiteral("22.0"));
    EXPECT_EQ(m.figures().weight, QStringLiteral("62.5"));
    EXPECT_EQ(m.figures().standardWeight, QStringLiteral("62.5"));
    EXPECT_EQ(m.figures().obesity, QStringLiteral("0.0"));
    EXPECT_EQ(m.figures().meterType.word, QStringLiteral("スタンダード"));
}

TEST(BmiMeter, EmptyLogOrNoHeightChangesNothing) {
    BmiMeter m;
    EXPECT_FALSE(m.judgeBmi(70.0f, 168.5f, 0));
    EXPECT_FALSE(m.judgeBmi(70.0f, 0.0f, 3));
    m.updateMeter(250, 168.5f, 0);
    EXPECT_EQ(m.scrollValue(), 220);
    EXPECT_TRUE(m.figures().bmi.isEmpty());
}

TEST(BmiMeter, PointerPositionIsLinearAndClamped) {
    const int yellow = 5000;
    EXPECT_EQ(BmiMeter::pointerLeft(24.0f, 500, yellow), yellow - 240);
    EXPECT_EQ(BmiMeter::pointerLeft(22.0f, 500, yellow), yellow - 1240);
    EXPECT_EQ(BmiMeter::pointerLeft(10.0f, 160, yellow), BmiMeter::pointerLeft(17.0f, 160, yellow));
    EXPECT_EQ(BmiMeter::pointerLeft(40.0f, 160, yellow), yellow - 240 + 8 * 160);
    EXPECT_EQ(BmiMeter::scrollValueFor(22.25f), 222); // halves to even
    EXPECT_EQ(BmiMeter::scrollValueFor(22.35f), 224);
}
