#pragma once

#include "tests/core/TestSupport.h"
#include "ui/MainWindow.h"
#include "ui/controls/ScriptedDialogs.h"
#include "ui/controls/ScriptedPrinter.h"

#include <QDate>
#include <QEvent>
#include <QObject>

#include <gtest/gtest.h>

#include <functional>

#include <memory>

namespace puka::ui {
class GridView;
}

namespace puka::test {

/// A main window on a scratch working directory with scripted dialogs, a scripted printer and a
/// fixed clock.
class Window {
public:
    /// @p setUp fills the folder before the window is made.
    explicit Window(const std::function<void(const WorkDir&)>& setUp, const QDateTime& now = defaultNow());
    ~Window();

    static QDateTime defaultNow() { return QDateTime(QDate(2026, 12, 7), QTime(9, 5, 3)); }

    /// Runs the start-up sequence.
    void start();
    /// A new window on the same folder, as after a restart.
    void restart();

    ui::MainWindow& w() { return *m_window; }
    ui::ScriptedDialogs& dialogs() { return m_dialogs; }
    ui::ScriptedPrinter& printer() { return m_printer; }
    const WorkDir& dir() const { return m_dir; }

    template <class T> T* find(const QString& name) {
        T* widget = m_window->findChild<T*>(name);
        EXPECT_NE(widget, nullptr) << name.toStdString();
        return widget;
    }
    /// Clicks the button of @p name.
    void click(const QString& name);
    /// Picks @p word in the situation list.
    void pickSituation(const QString& word);
    /// The prompts and titles of the boxes shown since the last call, forgotten afterwards.
    QList<ui::ScriptedDialogs::Call> takeCalls() { return m_dialogs.takeCalls(); }

private:
    WorkDir m_dir;
    ui::ScriptedDialogs m_dialogs;
    ui::ScriptedPrinter m_printer;
    std::unique_ptr<ui::MainWindow> m_window;
};

/// The profile and settings of a user who is not the sample.
void writeOwnProfile(const WorkDir& dir, int helpTour = 0);

/// The grid of @p name in the window.
ui::GridView* grid(Window& t, const char* name);

/// The records of the shipped sample data.
inline constexpr int kSampleRecords = 363;
/// The sample data with the help tour off.
void quietSample(const WorkDir& dir);
/// The sample data as shipped, the help tour on.
void touringSample(const WorkDir& dir);

/// A window, started, on the user's own log of a few days: 11/01 up, 11/02 once, 11/03
/// nothing, 11/04 down, 11/05 back to its first weight, 12/01 once; no box is left over from
/// the start.
struct FewDaysWindow {
    explicit FewDaysWindow(int helpTour = 0);
    Window t;
};

/// Runs @p action the first time @p target receives an event of @p type.
class OnEvent : public QObject {
public:
    OnEvent(QObject* target, QEvent::Type type, std::function<void()> action)
        : m_type(type), m_action(std::move(action)) {
        target->installEventFilter(this);
    }
    bool seen() const { return m_seen; }

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == m_type && !m_seen) {
            m_seen = true;
            m_action();
        }
        return false;
    }

private:
    QEvent::Type m_type;
    std::function<void()> m_action;
    bool m_seen = false;
};

} // namespace puka::test
