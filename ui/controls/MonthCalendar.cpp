#include "MonthCalendar.h"

#include "Clock.h"
#include "UiFont.h"

#include <QTextCharFormat>

namespace puka::ui {
namespace {

const QColor kSunday(0xD9, 0x3A, 0x3A);
const QColor kSaturday(0x2F, 0x6F, 0xD0);
const QColor kToday(0xFF, 0xE4, 0xB8);

} // namespace

MonthCalendar::MonthCalendar(QWidget* parent) : QCalendarWidget(parent) {
    setLocale(QLocale(QLocale::Japanese, QLocale::Japan));
    setFont(uiFont(9));
    setFirstDayOfWeek(Qt::Sunday);
    setVerticalHeaderFormat(QCalendarWidget::NoVerticalHeader);
    setHorizontalHeaderFormat(QCalendarWidget::ShortDayNames);
    setGridVisible(false);

    QTextCharFormat sunday;
    sunday.setForeground(kSunday);
    QTextCharFormat saturday;
    saturday.setForeground(kSaturday);
    setWeekdayTextFormat(Qt::Sunday, sunday);
    setWeekdayTextFormat(Qt::Saturday, saturday);
    // the header row takes its colours from the weekday formats too
    QTextCharFormat header;
    header.setFontWeight(QFont::Bold);
    setHeaderTextFormat(header);

    // the built-in clicked signal comes from the mouse only; keyboard moves and setSelectedDate stay silent
    connect(this, &QCalendarWidget::clicked, this, &MonthCalendar::dateClicked);
    m_today = clock::today();
    markToday();
    QCalendarWidget::setSelectedDate(m_today);
}

void MonthCalendar::setSelectedDate(const QDate& date) {
    QCalendarWidget::setSelectedDate(date);
    setCurrentPage(date.year(), date.month());
}

void MonthCalendar::setToday(const QDate& today) {
    if (m_today.isValid())
        setDateTextFormat(m_today, QTextCharFormat());
    m_today = today;
    markToday();
}

void MonthCalendar::markToday() {
    if (!m_today.isValid())
        return;
    QTextCharFormat format;
    format.setBackground(kToday);
    format.setFontWeight(QFont::Bold);
    format.setFontUnderline(true);
    setDateTextFormat(m_today, format);
}

} // namespace puka::ui
