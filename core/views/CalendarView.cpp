#include "core/views/CalendarView.h"

#include <algorithm>

namespace puka::calendar {
namespace {

// Record dates have passed the log reader's check: "yyyy/mm/dd" with digits in place.
QDate recordDate(const QString& text) {
    if (text.size() != 10)
        return QDate();
    const QStringView t(text);
    return QDate(t.mid(0, 4).toInt(), t.mid(5, 2).toInt(), t.mid(8, 2).toInt());
}

QString monthText(const QString& date) {
    return date.left(4) + QStringLiteral("年") + date.mid(5, 2) + QStringLiteral("月");
}

// Enough rows for a log in date order: one per month from the first record to the last.
int expectedMonths(const std::vector<WeightRecord>& records) {
    const QDate first = recordDate(records.front().date);
    const QDate last = recordDate(records.back().date);
    if (!first.isValid() || !last.isValid() || last < first)
        return 1;
    const qint64 months = (last.year() - first.year()) * 12LL + (last.month() - first.month()) + 1;
    return static_cast<int>(std::min<qint64>(months, static_cast<qint64>(records.size())));
}

QString daysText(const QString& caption, int days) {
    return caption + QString::number(days) + QStringLiteral("日");
}

} // namespace

DayKind classify(float first, float last, int count) {
    if (count <= 1)
        return DayKind::Once;
    if (last < first)
        return DayKind::Down;
    if (last > first)
        return DayKind::Up;
    return DayKind::NoChange;
}

Rgb colourOf(DayKind kind, Mode mode) {
    switch (kind) {
    case DayKind::Down:
        return kDownColour;
    case DayKind::Up:
        return kUpColour;
    case DayKind::NoChange:
        return mode == Mode::Simple ? kDownColour : kNoChangeColour;
    case DayKind::Once:
        return mode == Mode::Simple ? kUpColour : kOnceColour;
    }
    return kOnceColour;
}

std::optional<Rgb> modeButtonColour(Mode mode, int index) {
    if (index == static_cast<int>(mode))
        return kSelectedButtonColour;
    return std::nullopt;
}

QString modeCaption(Mode mode) {
    return mode == Mode::Simple ? QStringLiteral("簡易表示") : QStringLiteral("詳細表示");
}

std::array<Rgb, 5> legendColours() {
    return {kDownColour, kUpColour, kNoChangeColour, kOnceColour, rgb(255, 255, 255)};
}

std::array<Rgb, 4> colourBars() {
    return {kDownColour, kNoChangeColour, kUpColour, kOnceColour};
}

GridModel emptyCalendarGrid() {
    GridModel g;
    g.name = QStringLiteral("msgList2");
    g.fixedColumns = 1;
    g.fontPt = 10;
    g.columns.reserve(32);
    g.columns.push_back({QStringLiteral("年月"), 1360, Align::CenterCenter, Align::CenterCenter});
    for (int c = 1; c <= 31; ++c)
        g.columns.push_back({QString::number(c), 310, Align::CenterCenter, Align::CenterCenter});
    return g;
}

CalendarView buildCalendar(const std::vector<WeightRecord>& records, Mode mode, const QDate& today) {
    CalendarView v;
    v.grid = emptyCalendarGrid();
    if (!records.empty())
        v.grid.reserve(expectedMonths(records));

    QString currentMonth;
    QString previousDate;
    int currentRow = -1;
    // the day in progress: the row of its month, its first and last weight and their number
    int dayRow = -1;
    float first = 0, last = 0;
    int count = 0;

    const auto closeDay = [&]() {
        const DayKind kind = classify(first, last, count);
        switch (kind) {
        case DayKind::Down:
            ++v.down;
            break;
        case DayKind::Up:
            ++v.up;
            break;
        case DayKind::NoChange:
            ++v.same;
            break;
        case DayKind::Once:
            ++v.once;
            break;
        }
        v.grid.setColour(dayRow, QStringView(previousDate).mid(8, 2).toInt(), colourOf(kind, mode));
    };

    // the year and month of the record before: a record of the same ones keeps its row
    QStringView year, monthNumber;
    bool started = false;
    for (const WeightRecord& r : records) {
        const QStringView date(r.date);
        if (!started || date.left(4) != year || date.mid(5, 2) != monthNumber) {
            const QString month = monthText(r.date);
            if (month != currentMonth) {
                currentRow = v.grid.addRow();
                currentMonth = month;
                v.grid.setCell(currentRow, 0, month);
            }
            year = date.left(4);
            monthNumber = date.mid(5, 2);
            started = true;
        }
        if (count > 0 && r.date == previousDate) {
            last = r.weight;
            ++count;
        } else {
            // the day before is complete; its cell stays in its own month's row, which is the
            // row above when this record opened a new month
            if (count > 0)
                closeDay();
            first = last = r.weight;
            count = 1;
            dayRow = currentRow;
        }
        previousDate = r.date;
    }
    if (count > 0)
        closeDay();

    v.unmeasured = unmeasuredDays(records, today);
    const int good = v.down + v.same;
    const int bad = v.up + v.once;
    v.downText = daysText(QStringLiteral("体重減  "), v.down);
    v.upText = daysText(QStringLiteral("体重増  "), v.up);
    v.sameText = daysText(QStringLiteral("増減無し  "), v.same);
    v.onceText = daysText(QStringLiteral("１回だけ計測  "), v.once);
    v.unmeasuredText = daysText(QStringLiteral("未計測  "), v.unmeasured);
    v.goodDaysText = daysText(QString(), good);
    v.badDaysText = daysText(QString(), bad);
    if (good > bad) {
        v.balanceSign = QStringLiteral(">");
        v.face = QStringLiteral("imgWara2");
    } else if (good == bad) {
        v.balanceSign = QStringLiteral("=");
        v.face = QStringLiteral("imgNiko2");
    } else {
        v.balanceSign = QStringLiteral("<");
        v.face = QStringLiteral("imgKana2");
    }
    return v;
}

int unmeasuredDays(const std::vector<WeightRecord>& records, const QDate& today) {
    if (records.empty() || !today.isValid())
        return 0;
    const QDate start = recordDate(records.front().date);
    if (!start.isValid())
        return 0;
    // the days from the start up to yesterday
    const qint64 span = start.daysTo(today);
    if (span <= 0)
        return 0;
    std::vector<bool> measured(static_cast<size_t>(span), false);
    qint64 measuredDays = 0;
    const QString* previous = nullptr;
    for (const WeightRecord& r : records) {
        if (previous && *previous == r.date)
            continue;
        previous = &r.date;
        const qint64 i = start.daysTo(recordDate(r.date));
        // a record before the start is out of order; one after yesterday is outside the span
        if (i < 0 || i >= span || measured[static_cast<size_t>(i)])
            continue;
        measured[static_cast<size_t>(i)] = true;
        ++measuredDays;
    }
    return static_cast<int>(span - measuredDays);
}

std::optional<QDate> dateOfCell(const GridModel& grid, int row, int column) {
    if (row < 1 || row > grid.bodyRows() || column < 1 || column > 31 || column >= grid.columnCount())
        return std::nullopt;
    const QString& month = grid.cell(row - 1, 0);
    // "yyyy年mm月"
    if (month.size() != 8 || month.at(4) != QChar(u'年') || month.at(7) != QChar(u'月'))
        return std::nullopt;
    bool yearOk = false, monthOk = false;
    const int year = month.left(4).toInt(&yearOk);
    const int monthNumber = month.mid(5, 2).toInt(&monthOk);
    if (!yearOk || !monthOk)
        return std::nullopt;
    const QDate date(year, monthNumber, column);
    if (!date.isValid())
        return std::nullopt;
    return date;
}

ViewModel viewModel(const CalendarView& calendar) {
    ViewModel v;
    v.view = QStringLiteral("calendar");
    v.grids.push_back(calendar.grid);
    v.labels = {
        {QStringLiteral("lblDn_c"), calendar.downText},        {QStringLiteral("lblUp_c"), calendar.upText},
        {QStringLiteral("lblSm_c"), calendar.sameText},        {QStringLiteral("lblOne_c"), calendar.onceText},
        {QStringLiteral("lblNon_c"), calendar.unmeasuredText}, {QStringLiteral("lblGenT"), calendar.goodDaysText},
        {QStringLiteral("lblZouT"), calendar.badDaysText},     {QStringLiteral("lblHugou"), calendar.balanceSign},
    };
    v.face = calendar.face;
    return v;
}

QString guidanceText() {
    return QStringLiteral("一日の中で体重増減状況を色で把握できるカレンダーです。\r\n"
                          "\r\n"
                          "体重が減っていれば「緑色」、増減がなければ「黄色」、増えちゃったら「赤色」です。\r\n"
                          "一日の中で１回しか測定しなかった日は「紫色」で表しています。\r\n"
                          "\r\n"
                          "詳細／簡易ボタンで「増えた日/１回測定」と「減った日/増減無し」に切り替えられます\r\n"
                          "\r\n"
                          "赤色以外を増やすようにがんばりましょう！");
}

} // namespace puka::calendar
