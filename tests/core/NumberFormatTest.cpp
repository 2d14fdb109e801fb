#include "CoreTestHelpers.h"

#include "NumberFormat.h"

#include <gtest/gtest.h>

#include <limits>

using namespace puka;

TEST(NumberForm, FloatsUseSevenSignificantDigitsDoublesFifteen) {
    EXPECT_EQ(shortestText(75.5f), QStringLiteral("75.5"));
    EXPECT_EQ(shortestText(75.0f), QStringLiteral("75"));
    EXPECT_EQ(shortestText(65.35f), QStringLiteral("65.35"));
    EXPECT_EQ(shortestText(74.85f), QStringLiteral("74.85"));
    EXPECT_EQ(shortestText(0.1f), QStringLiteral("0.1"));
    EXPECT_EQ(shortestText(-0.0f), QStringLiteral("0"));
    EXPECT_EQ(shortestText(0.001f), QStringLiteral("0.001"));
    // the same float seen as a 64-bit value shows its binary error at 15 digits
    EXPECT_EQ(shortestText(static_cast<double>(0.1f)), QStringLiteral("0.100000001490116"));
    EXPECT_EQ(shortestText(1.0 / 3.0), QStringLiteral("0.333333333333333"));
    EXPECT_EQ(shortestText(1.0f / 3.0f), QStringLiteral("0.3333333"));
    EXPECT_EQ(shortestText(0.1 + 0.2), QStringLiteral("0.3"));
    EXPECT_EQ(shortestText(75.0), QStringLiteral("75"));
}

TEST(NumberForm, TinyValuesKeepTheirSignificantDigits) {
    EXPECT_EQ(shortestText(0.0000001f), QStringLiteral("0.0000001"));
    EXPECT_EQ(shortestText(0.00005f), QStringLiteral("0.00005"));
    EXPECT_EQ(shortestText(1.23456789012345e-10), QStringLiteral("0.000000000123456789012345"));
}

TEST(NumberForm, AnExactTieAtTheLastSignificantDigitRoundsAwayFromZero) {
    // these binary values end exactly on a 5 one place beyond the digits kept
    EXPECT_EQ(shortestText(206646.25f), QStringLiteral("206646.3"));
    EXPECT_EQ(shortestText(-206646.25f), QStringLiteral("-206646.3"));
    EXPECT_EQ(shortestText(239.7965087890625), QStringLiteral("239.796508789063"));
    EXPECT_EQ(fmt::kg(206646.25f), QStringLiteral("206646.3Kg"));
    EXPECT_EQ(storedValue(206646.25f), 206646.3);
    // a 5 that is not the end of the value was already rounded the right way
    EXPECT_EQ(shortestText(1.00000050000001), QStringLiteral("1.00000050000001"));
    EXPECT_EQ(shortestText(9999999.5f), QStringLiteral("10000000"));
    EXPECT_EQ(shortestText(1.0e30f), QStringLiteral("1000000000000000000000000000000"));
}

TEST(NumberForm, AffixesAndIntegersAreWrittenAroundTheNumber) {
    EXPECT_EQ(fixedText(-0.04f, 1, u"±", u"Kg"), QStringLiteral("±0.0Kg"));
    EXPECT_EQ(fixedText(12.5, 0, u"+", u"g"), QStringLiteral("+13g"));
    EXPECT_EQ(fixedText(0.5, 1, {}, u"Kg減"), QStringLiteral("0.5Kg減"));
    EXPECT_EQ(fmt::onePercent(23.45f), QStringLiteral("23.5%"));
    EXPECT_EQ(fmt::signedKg(0.3f), QStringLiteral("+0.3Kg"));
    EXPECT_EQ(fmt::signedKg(-0.0f), QStringLiteral("±0.0Kg"));
    EXPECT_EQ(fmt::signedKg(-0.3f), QStringLiteral("-0.3Kg"));
    // a repeated value gives the same text from the kept ones
    EXPECT_EQ(fmt::signedKg(0.3f), QStringLiteral("+0.3Kg"));
    EXPECT_EQ(fmt::kg(0.3f), QStringLiteral("0.3Kg"));
    EXPECT_EQ(integerText(12, u"回目"), QStringLiteral("12回目"));
    EXPECT_EQ(integerText(-7), QStringLiteral("-7"));
    EXPECT_EQ(integerText(0), QStringLiteral("0"));
}

TEST(NumberForm, DisplayRoundsHalfAwayFromZeroOnTheShortestText) {
    // 65.35f is 65.3499985 in binary; the user typed 65.35 and expects 65.4
    EXPECT_EQ(fmt::kg(65.35f), QStringLiteral("65.4Kg"));
    EXPECT_EQ(fmt::kg(65.15f), QStringLiteral("65.2Kg"));
    EXPECT_EQ(fmt::kg(75.35f), QStringLiteral("75.4Kg"));
    EXPECT_EQ(fmt::kg(75.0f), QStringLiteral("75.0Kg"));
    EXPECT_EQ(fmt::one(9.95f), QStringLiteral("10.0"));
    EXPECT_EQ(fmt::one(-9.95f), QStringLiteral("-10.0"));
    EXPECT_EQ(fmt::one(-0.05f), QStringLiteral("-0.1"));
    EXPECT_EQ(fmt::one(-0.25f), QStringLiteral("-0.3"));
    EXPECT_EQ(fmt::one(0.04f), QStringLiteral("0.0"));
    EXPECT_EQ(fixedText(2.5, 0), QStringLiteral("3"));
    EXPECT_EQ(fixedText(-2.5, 0), QStringLiteral("-3"));
    EXPECT_EQ(fixedText(0.125f, 2), QStringLiteral("0.13"));
}

TEST(NumberForm, ValuesThatRoundToZeroShowNoMinus) {
    EXPECT_EQ(fmt::one(-0.04f), QStringLiteral("0.0"));
    EXPECT_EQ(fmt::one(-0.0f), QStringLiteral("0.0"));
    EXPECT_EQ(fmt::kg(-0.049f), QStringLiteral("0.0Kg"));
    EXPECT_EQ(fmt::grams(-0.4), QStringLiteral("0g"));
    EXPECT_EQ(fmt::grams(-0.5), QStringLiteral("-1g"));
    EXPECT_EQ(fmt::kg3(-0.0004), QStringLiteral("0.000Kg"));
    EXPECT_EQ(fmt::percent(-0.0004), QStringLiteral("0.0%"));
}

TEST(NumberForm, PercentGramsAndThreeDecimals) {
    EXPECT_EQ(fmt::percent(0.123f), QStringLiteral("12.3%"));
    EXPECT_EQ(fmt::percent(0.0f), QStringLiteral("0.0%"));
    EXPECT_EQ(fmt::percent(0.1235), QStringLiteral("12.4%"));
    EXPECT_EQ(fmt::percent(-0.25), QStringLiteral("-25.0%"));
    EXPECT_EQ(fmt::grams(0.0), QStringLiteral("0g"));
    EXPECT_EQ(fmt::grams(12.5), QStringLiteral("13g"));
    EXPECT_EQ(fmt::grams(-350.0), QStringLiteral("-350g"));
    EXPECT_EQ(fmt::kg3(0.0), QStringLiteral("0.000Kg"));
    EXPECT_EQ(fmt::kg3(1.2345), QStringLiteral("1.235Kg"));
    EXPECT_EQ(fmt::kg3(70.0), QStringLiteral("70.000Kg"));
}

TEST(NumberForm, ParseNumberTakesPlainDecimalsOnly) {
    EXPECT_EQ(parseNumber(QStringLiteral("75.5")), std::optional<double>(75.5));
    EXPECT_EQ(parseNumber(QStringLiteral(" 75.5 ")), std::optional<double>(75.5));
    EXPECT_EQ(parseNumber(QStringLiteral("-3")), std::optional<double>(-3.0));
    EXPECT_EQ(parseNumber(QStringLiteral("0")), std::optional<double>(0.0));
    for (const char* bad :
         {"", " ", "nan", "NaN", "inf", "-inf", "Infinity", "1e999", "abc", "75,5", "75.5kg", "0x10", "1 2", "--1"})
        EXPECT_FALSE(parseNumber(QString::fromLatin1(bad)).has_value()) << bad;
    EXPECT_FALSE(parseNumber(QStringLiteral("７５")).has_value());
}

TEST(NumberForm, LeadingNumberReadsWhatATypedTextBeginsWith) {
    EXPECT_EQ(leadingNumber(QStringLiteral("25")), 25.0);
    EXPECT_EQ(leadingNumber(QStringLiteral(" 25.5abc")), 25.5);
    EXPECT_EQ(leadingNumber(QStringLiteral("abc")), 0.0);
    EXPECT_EQ(leadingNumber(QString()), 0.0);
    EXPECT_EQ(leadingNumber(QStringLiteral("-3.5%")), -3.5);
    EXPECT_EQ(leadingNumber(QStringLiteral("+7")), 7.0);
    EXPECT_EQ(leadingNumber(QStringLiteral("1.2.3")), 1.2);
    EXPECT_EQ(leadingNumber(QStringLiteral(".5")), 0.5);
    EXPECT_EQ(leadingNumber(QStringLiteral(".")), 0.0);
    EXPECT_EQ(leadingNumber(QStringLiteral("２５")), 0.0);
}
