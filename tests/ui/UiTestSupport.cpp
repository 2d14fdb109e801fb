#include "tests/ui/UiTestSupport.h"

#include "core/base/Clock.h"
#include "core/files/Settings.h"

#include <QAbstractButton>
#include <QListWidget>
#include <QTest>

#include <gtest/gtest.h>

namespace puka::test {

Window::Window(const std::function<void(const WorkDir&)>& setUp, const QDateTime& now) {
    clock::setFixed(now);
    if (setUp)
        setUp(m_dir);
    m_dialogs.setFailureHandler([](const QString& why) { ADD_FAILURE() << why.toStdString(); });
    m_printer.setFailureHandler([](const QString& why) { ADD_FAILURE() << why.toStdString(); });
    m_window = std::make_unique<ui::MainWindow>(m_dir.path(), &m_dialogs);
    m_window->state().printer = &m_printer;
}

Window::~Window() {
    m_window.reset();
    clock::setFixed(std::nullopt);
}

void Window::start() {
    m_window->startup();
}

void Window::restart() {
    m_window.reset();
    m_window = std::make_unique<ui::MainWindow>(m_dir.path(), &m_dialogs);
    m_window->state().printer = &m_printer;
    m_window->startup();
}

void Window::click(const QString& name) {
    auto* button = find<QAbstractButton>(name);
    ASSERT_NE(button, nullptr);
    ASSERT_TRUE(button->isEnabled()) << name.toStdString();
    button->click();
}

void Window::pickSituation(const QString& word) {
    auto* list = find<QListWidget>(QStringLiteral("lstAct"));
    ASSERT_NE(list, nullptr);
    const auto items = list->findItems(word, Qt::MatchExactly);
    ASSERT_FALSE(items.isEmpty()) << word.toStdString();
    list->setCurrentItem(items.first());
    const QRect rect = list->visualItemRect(items.first());
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, rect.center());
}

void writeOwnProfile(const WorkDir& dir, int helpTour) {
    ASSERT_TRUE(settings::writeProfile(dir.path(), Profile{QStringLiteral("花子"), 160.0f, 50.0f}));
    ASSERT_TRUE(settings::writeHelpTour(dir.path(), helpTour));
    ASSERT_TRUE(settings::writeSteps(dir.path(), Steps{}));
    dir.writeText(QStringLiteral("状況リスト.txt"), QStringLiteral("起床後\r\n就寝前\r\n"));
}

} // namespace puka::test
