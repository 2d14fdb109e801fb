#include "tests/core/CoreTestHelpers.h"

#include "core/base/NumberFormat.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <vector>

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
    EXPECT_EQ(formats::kg(206646.25f), QStringLiteral("206646.3Kg"));
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
    EXPECT_EQ(formats::onePercent(23.45f), QStringLiteral("23.5%"));
    EXPECT_EQ(formats::signedKg(0.3f), QStringLiteral("+0.3Kg"));
    EXPECT_EQ(formats::signedKg(-0.0f), QStringLiteral("±0.0Kg"));
    EXPECT_EQ(formats::signedKg(-0.3f), QStringLiteral("-0.3Kg"));
    // a repeated value gives the same text from the kept ones
    EXPECT_EQ(formats::signedKg(0.3f), QStringLiteral("+0.3Kg"));
    EXPECT_EQ(formats::kg(0.3f), QStringLiteral("0.3Kg"));
    EXPECT_EQ(integerText(12, u"回目"), QStringLiteral("12回目"));
    EXPECT_EQ(integerText(-7), QStringLiteral("-7"));
    EXPECT_EQ(integerText(0), QStringLiteral("0"));
}

TEST(NumberForm, DisplayRoundsHalfAwayFromZeroOnTheShortestText) {
    // 65.35f is 65.3499985 in binary; the user typed 65.35 and expects 65.4
    EXPECT_EQ(formats::kg(65.35f), QStringLiteral("65.4Kg"));
    EXPECT_EQ(formats::kg(65.15f), QStringLiteral("65.2Kg"));
    EXPECT_EQ(formats::kg(75.35f), QStringLiteral("75.4Kg"));
    EXPECT_EQ(formats::kg(75.0f), QStringLiteral("75.0Kg"));
    EXPECT_EQ(formats::one(9.95f), QStringLiteral("10.0"));
    EXPECT_EQ(formats::one(-9.95f), QStringLiteral("-10.0"));
    EXPECT_EQ(formats::one(-0.05f), QStringLiteral("-0.1"));
    EXPECT_EQ(formats::one(-0.25f), QStringLiteral("-0.3"));
    EXPECT_EQ(formats::one(0.04f), QStringLiteral("0.0"));
    EXPECT_EQ(fixedText(2.5, 0), QStringLiteral("3"));
    EXPECT_EQ(fixedText(-2.5, 0), QStringLiteral("-3"));
    EXPECT_EQ(fixedText(0.125f, 2), QStringLiteral("0.13"));
}

TEST(NumberForm, ValuesThatRoundToZeroShowNoMinus) {
    EXPECT_EQ(formats::one(-0.04f), QStringLiteral("0.0"));
    EXPECT_EQ(formats::one(-0.0f), QStringLiteral("0.0"));
    EXPECT_EQ(formats::kg(-0.049f), QStringLiteral("0.0Kg"));
    EXPECT_EQ(formats::grams(-0.4), QStringLiteral("0g"));
    EXPECT_EQ(formats::grams(-0.5), QStringLiteral("-1g"));
    EXPECT_EQ(formats::kgThreeDecimals(-0.0004), QStringLiteral("0.000Kg"));
    EXPECT_EQ(formats::percent(-0.0004), QStringLiteral("0.0%"));
}

TEST(NumberForm, PercentGramsAndThreeDecimals) {
    EXPECT_EQ(formats::percent(0.123f), QStringLiteral("12.3%"));
    EXPECT_EQ(formats::percent(0.0f), QStringLiteral("0.0%"));
    EXPECT_EQ(formats::percent(0.1235), QStringLiteral("12.4%"));
    EXPECT_EQ(formats::percent(-0.25), QStringLiteral("-25.0%"));
    EXPECT_EQ(formats::grams(0.0), QStringLiteral("0g"));
    EXPECT_EQ(formats::grams(12.5), QStringLiteral("13g"));
    EXPECT_EQ(formats::grams(-350.0), QStringLiteral("-350g"));
    EXPECT_EQ(formats::kgThreeDecimals(0.0), QStringLiteral("0.000Kg"));
    EXPECT_EQ(formats::kgThreeDecimals(1.2345), QStringLiteral("1.235Kg"));
    EXPECT_EQ(formats::kgThreeDecimals(70.0), QStringLiteral("70.000Kg"));
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

namespace {
// The shortest text rounded half away from zero to @p decimals, digit by digit.
QString roundedShortest(const QString& shortest, int decimals) {
    QString body = shortest;
    const bool negative = body.startsWith(QLatin1Char('-'));
    if (negative)
        body.remove(0, 1);
    if (!body.contains(QLatin1Char('.')))
        body += QLatin1Char('.');
    while (body.size() - body.indexOf(QLatin1Char('.')) - 1 <= decimals)
        body += QLatin1Char('0');
    const int dot = body.indexOf(QLatin1Char('.'));
    QString digits = QLatin1Char('0') + body.left(dot) + body.mid(dot + 1, decimals);
    if (body.at(dot + 1 + decimals) >= QLatin1Char('5')) {
        int i = digits.size() - 1;
        for (; digits[i] == QLatin1Char('9'); --i)
            digits[i] = QLatin1Char('0');
        digits[i] = QChar(digits[i].unicode() + 1);
    }
    QString integer = digits.left(digits.size() - decimals);
    while (integer.size() > 1 && integer.startsWith(QLatin1Char('0')))
        integer.remove(0, 1);
    QString text = decimals ? integer + QLatin1Char('.') + digits.right(decimals) : integer;
    const bool zero = std::all_of(text.begin(), text.end(), [](QChar c) { return c == u'0' || c == u'.'; });
    return (negative && !zero ? QStringLiteral("-") : QString()) + text;
}
} // namespace

TEST(NumberForm, FixedTextsMatchTheShortestTextRoundedForEveryKindOfValue) {
    // near ties of the last kept decimal, values past the significant digits, and a sweep
    const std::vector<float> picked = {0.0005f,   0.0015f,   1.0005f,  2.5f,      -2.5f,    12.345f,  999.9995f,
                                       99.995f,   0.045f,    -0.0049f, 65.35f,    74.85f,   1e-30f,   123456.5f,
                                       1234567.f, 9999999.f, 3e9f,     -0.00049f, 0.00051f, 70.0625f, 0.125f};
    std::vector<float> values = picked;
    std::uint32_t state = 12345;
    for (int i = 0; i < 5000; ++i) {
        state = state * 1664525u + 1013904223u;
        const float scale = std::pow(10.0f, static_cast<float>(static_cast<int>(state >> 28) % 9 - 3));
        state = state * 1664525u + 1013904223u;
        values.push_back((static_cast<float>(state >> 8) / 16777216.0f - 0.3f) * scale);
        // a value that is a tie in three decimals once written to seven digits
        values.push_back(static_cast<float>(static_cast<int>(state % 200000)) / 1000.0f + 0.0005f);
    }
    // running means: a few units of the seventh digit either side of a half of the last decimal
    for (const float unit : {1e-6f, 1e-5f, 1e-4f, 1e-3f})
        for (int k = 0; k < 400; ++k) {
            const float half = (static_cast<float>(k) * 37.0f + 0.5f) * unit * 10.0f;
            for (int j = -4; j <= 4; ++j)
                for (const float step : {0.01f, 0.1f})
                    values.push_back(half + static_cast<float>(j) * unit * step);
        }
    for (const float v : values)
        for (const int decimals : {0, 1, 3})
            ASSERT_EQ(fixedText(v, decimals), roundedShortest(shortestText(v), decimals)) << v << " " << decimals;
    for (const double v : {0.0005, 1.0005, 2.5, 74.85, 0.1 + 0.2, 12345.0000005, -0.0004999999})
        for (const int decimals : {0, 1, 3})
            ASSERT_EQ(fixedText(v, decimals), roundedShortest(shortestText(v), decimals)) << v << " " << decimals;
}

TEST(NumberForm, KeptRowNumbersMatchTheirSuffixWhateverTheOrderOfUse) {
    // more suffixes than the kept tables, used in turn, and numbers past the kept ones
    const std::vector<QString> suffixes = {QString(), QStringLiteral("回目"), QStringLiteral("位"),
                                           QStringLiteral("回"), QStringLiteral("日後")};
    for (const qint64 n : {qint64(1), qint64(2), qint64(40000), qint64(7), qint64(0), qint64(1) << 21, qint64(-3)})
        for (const QString& suffix : suffixes)
            EXPECT_EQ(countText(n, suffix), integerText(n, suffix)) << n << " " << suffix.toStdString();
    EXPECT_EQ(countText(12, u"回目"), QStringLiteral("12回目"));
}

TEST(NumberForm, KeptShortTextsKeepTheirOwnAffixes) {
    for (int pass = 0; pass < 2; ++pass) {
        EXPECT_EQ(fixedText(12.0f, 0, u"+", u"g"), QStringLiteral("+12g"));
        EXPECT_EQ(fixedText(12.0f, 0, {}, u"g"), QStringLiteral("12g"));
        EXPECT_EQ(fixedText(12.0f, 0, u"+", u"Kg"), QStringLiteral("+12Kg"));
        EXPECT_EQ(fixedText(12.0f, 0, u"±", u"g"), QStringLiteral("±12g"));
        EXPECT_EQ(fixedText(-12.0f, 0, {}, u"g"), QStringLiteral("-12g"));
        EXPECT_EQ(fixedText(1.2f, 1, u"+", u"g"), QStringLiteral("+1.2g"));
        EXPECT_EQ(fixedText(12.0f, 0), QStringLiteral("12"));
    }
}

// Repeated number texts are handed out over storage kept for the whole run: a text must stay
// whole however many texts come after it, also once that storage is full.
TEST(NumberForm, KeptTextsOutliveTheirCacheSlotsAndThePoolLimit) {
    const QString weight = formats::kg(65.4f);
    const QString row = countText(12, u"回目");
    const QString mean = fixedText(65.432f, 3, {}, u"Kg");
    std::vector<QString> held;
    for (int i = 0; i < 400000; ++i) {
        // well past the pool's two million characters
        held.push_back(countText(i, u"回目"));
        if (i % 4 == 0)
            held.push_back(formats::kg(static_cast<float>(i) / 10.0f));
    }
    for (int i = 0; i < 400000; i += 997)
        ASSERT_EQ(countText(i, u"回目"), integerText(i, u"回目")) << i;
    EXPECT_EQ(held[1], QStringLiteral("0.0Kg"));
    EXPECT_EQ(held[2], QStringLiteral("1回目"));
    EXPECT_EQ(held.back(), integerText(399999, u"回目"));
    EXPECT_EQ(weight, QStringLiteral("65.4Kg"));
    EXPECT_EQ(row, QStringLiteral("12回目"));
    EXPECT_EQ(mean, QStringLiteral("65.432Kg"));
    // a kept text can be changed like any other without touching the kept one
    QString changed = formats::kg(65.4f);
    changed[0] = QLatin1Char('7');
    EXPECT_EQ(changed, QStringLiteral("75.4Kg"));
    EXPECT_EQ(formats::kg(65.4f), QStringLiteral("65.4Kg"));
    EXPECT_EQ(formats::kg(65.4f).utf16()[6], 0); // ends with a terminating zero when asked
}
