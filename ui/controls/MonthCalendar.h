#pragma once

#include <QCalendarWidget>
#include <QDate>

namespace puka::ui {

/// A one-month calendar in Japanese with Sunday in the first column (Sundays red, Saturdays
/// blue) and today marked. dateClicked reports the user's clicks only, so a panel can set the
/// date from its own code without running its click handler.
class MonthCalendar : public QCalendarWidget {
    Q_OBJECT
public:
    explicit MonthCalendar(QWidget* parent = nullptr);

    /// Selects @p date and shows its month; dateClicked is not emitted.
    void setSelectedDate(const QDate& date);
    /// Moves the today mark, for a clock that was changed after the calendar was made.
    void setToday(const QDate& today);
    QDate today() const { return m_today; }

Q_SIGNALS:
    /// The user clicked a date (the selection has already moved to it).
    void dateClicked(const QDate& date);

private:
    void markToday();

    QDate m_today;
};

} // namespace puka::ui
