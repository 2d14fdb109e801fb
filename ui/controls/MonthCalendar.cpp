#include "ui/controls/MonthCalendar.h"

#include "core/base/Clock.h"
#include "core/files/DataLog.h"
#include "ui/controls/UiFont.h"

#include <QAbstractItemView>
#include <QEvent>
#include <QTextCharFormat>
#include <QTimer>

namespace puka::ui {
namespace {

const QColor kSunday(0xD9, 0x3A, 0x3A);
const QColor kSaturday(0x2F, 0x6F, 0xD0);
const QColor kToday(0xFF, 0xE4, 0xB8);
const QColor kTodayText(0x2E, 0x2A, 0x38);

} // namespace

MonthCalendar::MonthCalendar(QWidget* parent) : QCalendarWidget(parent) {
    setLocale(QLocale(QLocale::Japanese, QLocale::Japan));
    setFont(uiFont(9));
    setFirstDayOfWeek(Qt::Sunday);
    // the days a measurement may be dated: the calendar does not lead to a day no save can take
    setDateRange(QDate(datalog::kFirstYear, 1, 1), QDate(datalog::kLastYear, 12, 31));
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

    m_today = clock::today();
    markToday();
    QCalendarWidget::setSelectedDate(m_today);

    // the built-in clicked signal comes from the mouse only
    connect(this, &QCalendarWidget::clicked, this, [this](const QDate& date) {
        m_clickPending = false;
        Q_EMIT dateClicked(date);
    });
    connect(this, &QCalendarWidget::selectionChanged, this, &MonthCalendar::onSelectionChanged);
    // the table of dates inside tells a click from a key
    if (auto* dates = findChild<QAbstractItemView*>()) {
        dates->installEventFilter(this);
        dates->viewport()->installEventFilter(this);
    }
}

void MonthCalendar::setSelectedDate(const QDate& date) {
    m_settingDate = true;
    QCalendarWidget::setSelectedDate(date);
    setCurrentPage(date.year(), date.month());
    m_settingDate = false;
}

bool MonthCalendar::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::MouseButtonRelease:
        // a release on a date first moves the selection, then reports the click: the click
        // speaks for both. A release elsewhere reports nothing; the flag goes with this event.
        m_clickPending = true;
        QTimer::singleShot(0, this, [this] { m_clickPending = false; });
        break;
    case QEvent::MouseButtonPress:
    case QEvent::KeyPress:
        m_clickPending = false;
        break;
    default:
        break;
    }
    return QCalendarWidget::eventFilter(watched, event);
}

void MonthCalendar::onSelectionChanged() {
    if (m_settingDate || m_clickPending)
        return;
    Q_EMIT dateChangedByKeyboard(selectedDate());
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
    // dark on the light mark whatever the palette's text colour
    format.setForeground(kTodayText);
    format.setFontWeight(QFont::Bold);
    format.setFontUnderline(true);
    setDateTextFormat(m_today, format);
}

} // namespace puka::ui
