#include "ui/MainWindow.h"
#include "tests/core/TestSupport.h"
#include "tests/ui/UiTestSupport.h"

#include <QFrame>
#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>

using namespace puka;

namespace {

QFrame* panel(const ui::MainWindow& w, const char* name) {
    return w.findChild<QFrame*>(QString::fromUtf8(name));
}

QToolButton* button(const ui::MainWindow& w, const char* name) {
    return w.findChild<QToolButton*>(QString::fromUtf8(name));
}

const char* const kPanels[] = {"fraMain",   "fraTaijyu", "fraBunseki", "fraRenTai",
                               "fraAvgTai", "fraCale",   "fraMemo",    "fraSettei"};

int visiblePanels(const ui::MainWindow& w) {
    int n = 0;
    for (const char* name : kPanels)
        n += panel(w, name)->isVisible() ? 1 : 0;
    return n;
}

} // namespace

TEST(MainWindow, CaptionCarriesTheProfileName) {
    test::Window t([](const test::WorkDir& d) { d.copySample(); });
    t.start();
    EXPECT_EQ(t.w().windowTitle(), QStringLiteral(" ｔ＆Ｔ の Pukapuka☆ダイエット"));
}

TEST(MainWindow, CaptionWithoutProfileHasItsLeadingBlank) {
    test::Window t(nullptr);
    t.start();
    EXPECT_EQ(t.w().windowTitle(), QStringLiteral(" Pukapuka☆ダイエット"));
}

TEST(MainWindow, ToolbarHasEveryButtonWithCaptionAndTooltip) {
    test::WorkDir dir;
    ui::MainWindow w(dir.path());
    const std::pair<const char*, const char*> expected[] = {
        {"cmdMain", "メイン"},        {"cmdRentai", "全グラフ"}, {"cmdAvgtai", "日平均"}, {"cmdTaijyu", "範囲指定"},
        {"cmdBunseki", "分析リスト"}, {"cmdCale", "カレンダー"}, {"cmdMemo", "一言日記"}, {"cmdSettei", "編集"},
        {"cmdHelp", "ヘルプ"},        {"cmdOwari", "終了"}};
    for (const auto& [name, caption] : expected) {
        QToolButton* b = button(w, name);
        ASSERT_NE(b, nullptr) << name;
        EXPECT_EQ(b->text(), QString::fromUtf8(caption));
        EXPECT_FALSE(b->toolTip().isEmpty());
        EXPECT_FALSE(b->icon().isNull()) << name;
    }
    QToolButton* help = button(w, "chkHelp");
    ASSERT_NE(help, nullptr);
    EXPECT_TRUE(help->isCheckable());
    EXPECT_EQ(help->toolTip(), QStringLiteral("ヘルプツアーのＯｎ／Ｏｆｆです"));
}

TEST(MainWindow, PanelButtonsShowExactlyOnePanel) {
    test::Window t([](const test::WorkDir& d) {
        d.copySample();
        d.writeText(QStringLiteral("設定.TXT"), QStringLiteral("\"ヘルプツアー\",0\r\n"));
    });
    t.start();
    const ui::MainWindow& w = t.w();
    EXPECT_TRUE(panel(w, "fraMain")->isVisible());
    const std::pair<const char*, const char*> switches[] = {{"cmdRentai", "fraRenTai"}, {"cmdAvgtai", "fraAvgTai"},
                                                            {"cmdTaijyu", "fraTaijyu"}, {"cmdBunseki", "fraBunseki"},
                                                            {"cmdCale", "fraCale"},     {"cmdMemo", "fraMemo"},
                                                            {"cmdSettei", "fraSettei"}, {"cmdMain", "fraMain"}};
    for (const auto& [buttonName, panelName] : switches) {
        QTest::mouseClick(button(w, buttonName), Qt::LeftButton);
        EXPECT_TRUE(panel(w, panelName)->isVisible()) << panelName;
        EXPECT_EQ(visiblePanels(w), 1);
    }
}
