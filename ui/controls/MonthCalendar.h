#pragma once

#include <QCalendarWidget>
#include <QDate>

namespace puka::ui {

/// A one-month calendar in Japanese with Sunday in the first column (Sundays red, Saturdays
/// blue) and today marked. It reports what the user does only, so a panel can set the date
/// from its own code without running its handlers: dateClicked for a click on a date, and
/// dateChangedByKeyboard when the arrow keys, the page keys or a typed date move the selection.
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
    /// The user moved the selection to @p date without the mouse.
    void dateChangedByKeyboard(const QDate& date);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void markToday();
    void onSelectionChanged();

    QDate m_today;
    bool m_settingDate = false;  ///< the program is selecting a date
    bool m_clickPending = false; ///< a mouse button came up on the dates: a click may follow
};

} // namespace puka::ui
