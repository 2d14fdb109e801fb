// The keyboard on the main window: the toolbar keys, the Tab order of every panel and F1.
#include "tests/core/TestSupport.h"
#include "tests/ui/UiTestSupport.h"
#include "ui/HelpWindow.h"
#include "ui/MainWindow.h"
#include "ui/panels/Panel.h"

#include <QApplication>
#include <QFile>
#include <QImage>
#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>

using namespace puka;

namespace {

struct PanelKeys {
    const char* button;   ///< its toolbar button
    const char* panel;    ///< the panel's object name
    const char* helpPage; ///< the page F1 opens
    int altDigit;         ///< Alt and this digit open it
};

const PanelKeys kPanels[] = {
    {"cmdMain", "fraMain", "main.html", 1},           {"cmdRentai", "fraRenTai", "graph.html", 2},
    {"cmdAvgtai", "fraAvgTai", "daily.html", 3},      {"cmdTaijyu", "fraTaijyu", "range.html", 4},
    {"cmdBunseki", "fraBunseki", "analysis.html", 5}, {"cmdCale", "fraCale", "calendar.html", 6},
    {"cmdMemo", "fraMemo", "diary.html", 7},          {"cmdSettei", "fraSettei", "edit.html", 8},
};

// The sample data without the help tour's boxes, the window shown and active.
class Keyboard : public ::testing::Test {
protected:
    void SetUp() override {
        m_window.start();
        m_window.w().activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&m_window.w()));
    }

    void openPanel(const char* button) {
        QTest::mouseClick(m_window.find<QToolButton>(QString::fromUtf8(button)), Qt::LeftButton);
        QApplication::processEvents();
    }

    // The name of the control that has the focus: Qt's own inner parts (a calendar's table, a
    // combo box's field) stand for the control they belong to.
    static QString focusName() {
        QWidget* w = QApplication::focusWidget();
        while (w && (w->objectName().isEmpty() || w->objectName().startsWith(QLatin1String("qt_"))))
            w = w->parentWidget();
        return w ? w->objectName() : QStringLiteral("(none)");
    }

    // Puts the focus on @p first and presses Tab until @p stops controls were visited.
    QStringList walk(const QString& first, int stops) {
        QWidget* start = m_window.w().findChild<QWidget*>(first);
        if (!start)
            return {};
        start->setFocus(Qt::TabFocusReason);
        QStringList names = {focusName()};
        for (int i = 1; i < stops; ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            names.append(focusName());
        }
        return names;
    }

    test::Window m_window{[](const test::WorkDir& d) {
        d.copySample();
        d.writeText(QStringLiteral("設定.TXT"), QStringLiteral("\"ヘルプツアー\",0\r\n"));
    }};
};

// Each panel's chain from its first control; the stop after the last one is back on the toolbar.
void expectChain(const QStringList& walked, const QStringList& expected) {
    EXPECT_EQ(walked.mid(0, expected.size()), expected);
    EXPECT_EQ(walked.value(expected.size()), QStringLiteral("cmdMain")) << "after " << expected.last().toStdString();
}

} // namespace

TEST_F(Keyboard, StartUpPutsTheKeysOnTheSituationList) {
    EXPECT_EQ(focusName(), QStringLiteral("lstAct"));
}

TEST_F(Keyboard, ToolbarIsOneTabChainEndingWithTheHelpTour) {
    const QStringList expected = {"cmdMain", "cmdRentai", "cmdAvgtai", "cmdTaijyu", "cmdBunseki", "cmdCale",
                                  "cmdMemo", "cmdSettei", "cmdHelp",   "cmdOwari",  "chkHelp",    "mtvmain"};
    EXPECT_EQ(walk(QStringLiteral("cmdMain"), expected.size()), expected);
}

TEST_F(Keyboard, AltAndDigitOpensEachPanelAndTheTooltipSaysSo) {
    for (const PanelKeys& p : kPanels) {
        const int digit = Qt::Key_1 + p.altDigit - 1;
        QTest::keyClick(&m_window.w(), static_cast<Qt::Key>(digit), Qt::AltModifier);
        // a shortcut presses its button as a click does, seen pressed for a moment
        QWidget* panel = m_window.find<QWidget>(QString::fromUtf8(p.panel));
        EXPECT_TRUE(QTest::qWaitFor([panel] { return panel->isVisible(); }, 2000)) << p.panel;
        EXPECT_EQ(m_window.w().visiblePanel()->objectName(), QString::fromUtf8(p.panel));
        const QString tip = m_window.find<QToolButton>(QString::fromUtf8(p.button))->toolTip();
        EXPECT_TRUE(tip.endsWith(QStringLiteral("(Alt+%1)").arg(p.altDigit))) << tip.toStdString();
    }
}

TEST_F(Keyboard, SpaceAndEnterPressAToolbarButton) {
    auto* graph = m_window.find<QToolButton>(QStringLiteral("cmdRentai"));
    graph->setFocus(Qt::TabFocusReason);
    QTest::keyClick(graph, Qt::Key_Space);
    EXPECT_EQ(m_window.w().visiblePanel()->objectName(), QStringLiteral("fraRenTai"));

    auto* daily = m_window.find<QToolButton>(QStringLiteral("cmdAvgtai"));
    daily->setFocus(Qt::TabFocusReason);
    QTest::keyClick(daily, Qt::Key_Return);
    // the press is drawn before the click lands
    QWidget* panel = m_window.find<QWidget>(QStringLiteral("fraAvgTai"));
    EXPECT_TRUE(QTest::qWaitFor([panel] { return panel->isVisible(); }, 2000));
}

// Of a group of option buttons Tab stops at the first only; the arrow keys go on to the others.
TEST_F(Keyboard, MainPanelTabOrder) {
    // the step buttons wait for a situation, so the walk passes them by
    expectChain(walk(QStringLiteral("mtvmain"), 10), {"mtvmain", "lstAct", "cmdFree", "cmdJikan", "txtTaiInp",
                                                      "txtShiInp", "cmdTaiHozon", "optTai", "msgDayList"});
}

TEST_F(Keyboard, GraphPanelTabOrder) {
    openPanel("cmdRentai");
    expectChain(walk(QStringLiteral("cmdMokuChk"), 5), {"cmdMokuChk", "optTai1", "cboIdou", "cboJyoukyou"});
}

TEST_F(Keyboard, DailyPanelTabOrder) {
    openPanel("cmdAvgtai");
    expectChain(walk(QStringLiteral("cboStdate2"), 7),
                {"cboStdate2", "cboEddate2", "cmdKikanF2", "cmdAvgHozon", "cmdAvgPri", "msgAvgtai"});
}

TEST_F(Keyboard, RangePanelTabOrder) {
    openPanel("cmdTaijyu");
    const QStringList expected = {"lstAct2",    "txtKey",     "cmdKensaku", "cmdAllact",  "cmdWeek(0)", "cmdWeek(1)",
                                  "cmdWeek(2)", "cmdWeek(3)", "cmdWeek(4)", "cmdWeek(5)", "cmdWeek(6)", "cmdAllWeek",
                                  "cmdKikan1",  "cmdKikan8",  "cmdKikan2",  "cmdKikan3",  "cmdKikan4",  "cmdKikan5",
                                  "cmdKikan6",  "cmdKikan7",  "cmdAllDay",  "cmdKikanF",  "cboStdate",  "cboEddate",
                                  "msgBunseki", "optTai2",    "cmdPriData"};
    expectChain(walk(QStringLiteral("lstAct2"), expected.size() + 1), expected);
}

TEST_F(Keyboard, AnalysisPanelTabOrder) {
    openPanel("cmdBunseki");
    expectChain(walk(QStringLiteral("msgB1"), 7), {"msgB1", "Option1(0)", "msgB2", "msgB3", "msgB4", "Option2(0)"});
}

TEST_F(Keyboard, CalendarPanelTabOrder) {
    openPanel("cmdCale");
    expectChain(walk(QStringLiteral("cmdSel1(0)"), 4), {"cmdSel1(0)", "cmdSel1(1)", "msgList2"});
}

TEST_F(Keyboard, DiaryPanelTabOrderLeavesTheNotesWithTab) {
    openPanel("cmdMemo");
    // the comment's save button waits for a chosen row
    expectChain(walk(QStringLiteral("txtMemo"), 5), {"txtMemo", "msgMemoList", "txtKizuki", "cmdKizukiHozon"});
}

TEST_F(Keyboard, EditPanelTabOrder) {
    openPanel("cmdSettei");
    // sorting, deleting and renaming wait for a chosen situation
    const QStringList expected = {"lstKoumoku",    "cmdNew2",    "cmdDel2",    "txtChg",       "txtPriData",
                                  "txtSincyou",    "txtMokuTai", "cmdPHozon1", "optKizami(1)", "txtKizami",
                                  "optKizami1(1)", "txtKizami2", "chkJikan",   "cmdImport",    "cmdExport",
                                  "cmdRestore",    "cmdNew1",    "HScroll1"};
    expectChain(walk(QStringLiteral("lstKoumoku"), expected.size() + 1), expected);
}

TEST_F(Keyboard, ArrowKeysGoOnThroughAGroupOfOptionButtons) {
    openPanel("cmdRentai");
    walk(QStringLiteral("optTai1"), 1);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Right);
    EXPECT_EQ(focusName(), QStringLiteral("optShi1"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Right);
    EXPECT_EQ(focusName(), QStringLiteral("optKon1"));
}

TEST_F(Keyboard, F1OpensTheHelpPageOfThePanelInView) {
    ui::HelpWindow* help = m_window.w().helpWindow();
    for (const PanelKeys& p : kPanels) {
        openPanel(p.button);
        // the help window took the focus last time: the main window has it back first
        m_window.w().activateWindow();
        ASSERT_TRUE(QTest::qWaitFor([this] { return QApplication::activeWindow() == &m_window.w(); }, 2000));
        QTest::keyClick(&m_window.w(), Qt::Key_F1);
        EXPECT_TRUE(help->isVisible()) << p.panel;
        EXPECT_EQ(help->currentPage(), QString::fromUtf8(p.helpPage));
        EXPECT_EQ(m_window.w().visiblePanel()->helpPage(), QString::fromUtf8(p.helpPage));
        help->close();
    }
}

TEST_F(Keyboard, EveryPanelPageShowsItsOwnScreenshot) {
    for (const PanelKeys& p : kPanels) {
        const QString page = QString::fromUtf8(p.helpPage);
        const QString picture = QStringLiteral("screenshots/%1.png").arg(page.section(QLatin1Char('.'), 0, 0));
        QFile html(QStringLiteral(":/help/") + page);
        ASSERT_TRUE(html.open(QIODevice::ReadOnly)) << p.helpPage;
        EXPECT_TRUE(QString::fromUtf8(html.readAll()).contains(QStringLiteral("src=\"%1\"").arg(picture)))
            << p.helpPage;
        const QImage shot(QStringLiteral(":/help/") + picture);
        EXPECT_FALSE(shot.isNull()) << picture.toStdString();
        EXPECT_LE(shot.width(), 800) << picture.toStdString();
    }
}
