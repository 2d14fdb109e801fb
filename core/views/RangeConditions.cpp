#include "core/views/RangeConditions.h"

namespace puka::range {
namespace {

const QString kDateForm = QStringLiteral("yyyy/MM/dd");

int digitsAt(const QString& text, int from, int count) {
    int value = 0;
    for (int i = from; i < from + count; ++i) {
        const QChar c = text.at(i);
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return -1;
        value = value * 10 + (c.unicode() - '0');
    }
    return value;
}

} // namespace

Builder builderFor(const Conditions& conditions) {
    const bool keyword = !conditions.keyword.isEmpty();
    const bool weekday = conditions.selectedWeekday != kAllWeekdays;
    if (weekday)
        return keyword ? Builder::KeywordWeekday : Builder::Weekday;
    return keyword ? Builder::Keyword : Builder::Period;
}

bool passes(Builder builder, const Conditions& conditions, const WeightRecord& record) {
    if (builder == Builder::Opening)
        return true;
    // plain text order: an empty start text sorts below every date and so bounds nothing,
    // an empty end text sorts below every date too and so lets nothing through
    if (!(conditions.startText <= record.date && record.date <= conditions.endText))
        return false;
    const bool keyword = builder == Builder::Keyword || builder == Builder::KeywordWeekday;
    if (keyword && !conditions.keyword.isEmpty() && !record.situation.contains(conditions.keyword))
        return false;
    const bool weekday = builder == Builder::Weekday || builder == Builder::KeywordWeekday;
    if (weekday && weekdayOf(record.date) != conditions.selectedWeekday)
        return false;
    return true;
}

int weekdayOf(const QString& date) {
    // the builders ask this of every record, so the fixed form is read without a format parser
    if (date.size() != 10 || date.at(4) != QLatin1Char('/') || date.at(7) != QLatin1Char('/'))
        return -1;
    const int y = digitsAt(date, 0, 4);
    const int m = digitsAt(date, 5, 2);
    const int d = digitsAt(date, 8, 2);
    if (y < 0 || m < 0 || d < 0 || !QDate::isValid(y, m, d))
        return -1;
    // the weekday of the proleptic Gregorian calendar that QDate counts in, from the year,
    // month and day alone (0 Sunday)
    static const int kMonthOffset[] = {0, 3, 2, 5, 0, 3, 5, 1, 4, 6, 2, 4};
    const int year = m < 3 ? y - 1 : y;
    return (year + year / 4 - year / 100 + year / 400 + kMonthOffset[m - 1] + d) % 7;
}

QString weekdayName(int weekday) {
    static const QString kNames[] = {QStringLiteral("日"), QStringLiteral("月"), QStringLiteral("火"),
                                     QStringLiteral("水"), QStringLiteral("木"), QStringLiteral("金"),
                                     QStringLiteral("土")};
    return weekday >= 0 && weekday < 7 ? kNames[weekday] : QString();
}

int periodDays(Period period) {
    switch (period) {
    case Period::PreviousDay:
        return 1;
    case Period::ThreeDays:
        return 2;
    case Period::OneWeek:
        return 7;
    case Period::TwoWeeks:
        return 14;
    case Period::OneMonth:
        return 30;
    case Period::ThreeMonths:
        return 90;
    case Period::HalfYear:
        return 180;
    case Period::OneYear:
        return 365;
    case Period::All:
    case Period::Free:
        break;
    }
    return 0;
}

QString periodCaption(Period period) {
    switch (period) {
    case Period::PreviousDay:
        return QStringLiteral("前日");
    case Period::ThreeDays:
        return QStringLiteral("３日");
    case Period::OneWeek:
        return QStringLiteral("１週間");
    case Period::TwoWeeks:
        return QStringLiteral("２週間");
    case Period::OneMonth:
        return QStringLiteral("１ヶ月");
    case Period::ThreeMonths:
        return QStringLiteral("３ヶ月");
    case Period::HalfYear:
        return QStringLiteral("半年");
    case Period::OneYear:
        return QStringLiteral("１年");
    case Period::All:
        return QStringLiteral("全部");
    case Period::Free:
        return QStringLiteral("任意");
    }
    return QString();
}

std::optional<PeriodBounds> periodBounds(Period period, const QDate& today, const QString& startDate) {
    const QString end = today.toString(kDateForm);
    switch (period) {
    case Period::Free:
        return std::nullopt;
    case Period::All:
        return PeriodBounds{startDate, end};
    default:
        return PeriodBounds{today.addDays(-periodDays(period)).toString(kDateForm), end};
    }
}

QString guidanceText() {
    static const char* const kLines[] = {
        "これまで入力してきたデータを「状況」「曜日」「期間」指定で表示できます。",
        "",
        "「状況」をリストから選択すると、その「状況」のみのデータになります。",
        "　※状況欄に直接任意の語句を入力することができます。（入力後Enter）",
        "",
        "各種曜日ボタンで選択すると指定した曜日でのデータになります。",
        "",
        "「期間」をボタンで選択すると指定した期間でのデータになります。",
        "　※期間のコンボリストで任意に指定することも可能です。",
    };
    QString text;
    for (const char* line : kLines)
        text += QString::fromUtf8(line) + QStringLiteral("\r\n");
    return text;
}

} // namespace puka::range
