#include "RangeConditions.h"

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

Builder REFRESH_TAIJYU(const Conditions& conditions) {
    const bool keyword = !conditions.keyword.isEmpty();
    const bool weekday = conditions.selectedWeekday != kAllWeekdays;
    if (weekday)
        return keyword ? Builder::DSP_TAIJYU_KEYYOUBI : Builder::DSP_TAIJYU_YOUBI;
    return keyword ? Builder::DSP_TAIJYU_KEY : Builder::DSP_TAIJYU_KIKAN;
}

bool passes(Builder builder, const Conditions& conditions, const WeightRecord& record) {
    if (builder == Builder::DSP_TAIJYU)
        return true;
    // plain text order: an empty start text sorts below every date and so bounds nothing,
    // an empty end text sorts below every date too and so lets nothing through
    if (!(conditions.startText <= record.date && record.date <= conditions.endText))
        return false;
    const bool keyword = builder == Builder::DSP_TAIJYU_KEY || builder == Builder::DSP_TAIJYU_KEYYOUBI;
    if (keyword && !conditions.keyword.isEmpty() && !record.situation.contains(conditions.keyword))
        return false;
    const bool weekday = builder == Builder::DSP_TAIJYU_YOUBI || builder == Builder::DSP_TAIJYU_KEYYOUBI;
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
    case Period::Kikan1:
        return 1;
    case Period::Kikan8:
        return 2;
    case Period::Kikan2:
        return 7;
    case Period::Kikan3:
        return 14;
    case Period::Kikan4:
        return 30;
    case Period::Kikan5:
        return 90;
    case Period::Kikan6:
        return 180;
    case Period::Kikan7:
        return 365;
    case Period::AllDay:
    case Period::KikanF:
        break;
    }
    return 0;
}

QString periodCaption(Period period) {
    switch (period) {
    case Period::Kikan1:
        return QStringLiteral("前日");
    case Period::Kikan8:
        return QStringLiteral("３日");
    case Period::Kikan2:
        return QStringLiteral("１週間");
    case Period::Kikan3:
        return QStringLiteral("２週間");
    case Period::Kikan4:
        return QStringLiteral("１ヶ月");
    case Period::Kikan5:
        return QStringLiteral("３ヶ月");
    case Period::Kikan6:
        return QStringLiteral("半年");
    case Period::Kikan7:
        return QStringLiteral("１年");
    case Period::AllDay:
        return QStringLiteral("全部");
    case Period::KikanF:
        return QStringLiteral("任意");
    }
    return QString();
}

std::optional<PeriodBounds> periodBounds(Period period, const QDate& today, const QString& startDate) {
    const QString end = today.toString(kDateForm);
    switch (period) {
    case Period::KikanF:
        return std::nullopt;
    case Period::AllDay:
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
