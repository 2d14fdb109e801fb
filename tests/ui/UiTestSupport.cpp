#include "tests/ui/UiTestSupport.h"

#include "core/base/Clock.h"
#include "core/files/FileNames.h"
#include "core/files/Settings.h"
#include "ui/controls/GridView.h"

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

ui::GridView* grid(Window& t, const char* name) {
    return t.find<ui::GridView>(QString::fromUtf8(name));
}

void quietSample(const WorkDir& dir) {
    dir.copySample();
    dir.writeText(QStringLiteral("設定.TXT"), QStringLiteral("\"ヘルプツアー\",0\r\n"));
}

void touringSample(const WorkDir& dir) {
    dir.copySample();
}

FewDaysWindow::FewDaysWindow(int helpTour)
    : t([helpTour](const WorkDir& dir) {
          writeOwnProfile(dir, helpTour);
          dir.writeText(files::kData, QStringLiteral("\"2026/11/01\",\"起床後\",60,\"\",25,\"\"\r\n"
                                                     "\"2026/11/01\",\"就寝前\",60.4,\"\",25,\"\"\r\n"
                                                     "\"2026/11/02\",\"起床後\",60.1,\"\",25,\"\"\r\n"
                                                     "\"2026/11/04\",\"起床後\",59.9,\"\",25,\"\"\r\n"
                                                     "\"2026/11/04\",\"就寝前\",59.5,\"\",25,\"\"\r\n"
                                                     "\"2026/11/05\",\"起床後\",59.8,\"\",25,\"\"\r\n"
                                                     "\"2026/11/05\",\"昼食後\",60,\"\",25,\"\"\r\n"
                                                     "\"2026/11/05\",\"就寝前\",59.8,\"\",25,\"\"\r\n"
                                                     "\"2026/12/01\",\"起床後\",59,\"\",25,\"\"\r\n"));
      }) {
    t.start();
    t.takeCalls();
}

} // namespace puka::test
