#include "core/files/DataLog.h"
#include "core/files/FileNames.h"
#include "core/files/Settings.h"
#include "tests/ui/UiTestSupport.h"
#include "ui/controls/ChartView.h"
#include "ui/controls/GridView.h"
#include "ui/controls/MonthCalendar.h"

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>

using namespace puka;
using Call = ui::ScriptedDialogs::Call;
using Answer = ui::Dialogs::Answer;
using Icon = ui::Dialogs::Icon;
using Buttons = ui::Dialogs::Buttons;

namespace {

const QDate kToday(2026, 12, 7);

QString visibleFace(test::Window& t) {
    for (const char* name : {"imgwara", "imgniko", "imgkana", "imgNashi"})
        if (!t.find<QLabel>(QString::fromUtf8(name))->isHidden())
            return QString::fromUtf8(name);
    return QString();
}

const GridModel& dayList(test::Window& t) {
    return t.find<ui::GridView>(QStringLiteral("msgDayList"))->model();
}

void ownData(const test::WorkDir& dir) {
    test::writeOwnProfile(dir);
    dir.writeText(files::kData, QStringLiteral("\"2026/11/30\",\"起床後\",60.2,\"\",25,\"\"\r\n"
                                               "\"2026/12/06\",\"起床後\",59.8,\"\",24.8,\"\"\r\n"));
}

void enter(test::Window& t, const QString& weight, const QString& fat) {
    t.find<QLineEdit>(QStringLiteral("txtTaiInp"))->setText(weight);
    t.find<QLineEdit>(QStringLiteral("txtShiInp"))->setText(fat);
}

std::vector<WeightRecord> records(const test::Window& t) {
    return datalog::readLog(t.dir().path()).records;
}

} // namespace

TEST(Startup, SampleDataShowTheSampleDayAndRefuseSaving) {
    test::Window t([](const test::WorkDir& d) { d.copySample(); });
    t.start();
    const auto calls = t.takeCalls();
    ASSERT_EQ(calls.size(), 2);
    EXPECT_EQ(calls[0].prompt, QStringLiteral("サンプルとして2003年11月08日のデータを表示させています。"));
    EXPECT_EQ(calls[0].title, QStringLiteral("サンプル表示"));
    EXPECT_EQ(calls[0].icon, Icon::Information);
    // the help tour is on in the sample: the introduction comes last
    EXPECT_EQ(calls[1].title, QStringLiteral("ヘルプツアー"));
    EXPECT_EQ(calls[1].prompt, ui::MainWindow::introductionText());
    EXPECT_TRUE(calls[1].prompt.endsWith(QStringLiteral("締めくくろう！\r\n")));

    EXPECT_EQ(t.w().windowTitle(), QStringLiteral(" ｔ＆Ｔ の Pukapuka☆ダイエット"));
    EXPECT_EQ(t.find<ui::MonthCalendar>(QStringLiteral("mtvmain"))->selectedDate(), QDate(2003, 11, 8));
    EXPECT_EQ(dayList(t).bodyRows(), 5);
    EXPECT_EQ(visibleFace(t), QStringLiteral("imgwara"));
    EXPECT_TRUE(t.find<QRadioButton>(QStringLiteral("optKon"))->isChecked());
    EXPECT_TRUE(t.find<QToolButton>(QStringLiteral("chkHelp"))->isChecked());
    EXPECT_FALSE(t.find<QPushButton>(QStringLiteral("cmdUp"))->isEnabled());
    EXPECT_FALSE(t.find<QLabel>(QStringLiteral("lblMHyouka"))->text().isEmpty());

    const QByteArray before = t.dir().read(files::kData);
    t.pickSituation(QStringLiteral("起床後"));
    t.click(QStringLiteral("cmdTaiHozon"));
    const auto refusal = t.takeCalls();
    ASSERT_EQ(refusal.size(), 1);
    EXPECT_EQ(refusal[0].prompt,
              QStringLiteral("ご自身のデータでスタートする時は編集ボタンで新規スタートしてください。"));
    EXPECT_EQ(refusal[0].title, QStringLiteral("新規スタート促し"));
    EXPECT_EQ(refusal[0].icon, Icon::Warning);
    EXPECT_EQ(t.dir().read(files::kData), before);
}

TEST(Startup, OwnDataShowTodayEmptyWithNoFace) {
    test::Window t(ownData);
    t.start();
    EXPECT_TRUE(t.takeCalls().isEmpty());
    EXPECT_EQ(t.w().windowTitle(), QStringLiteral(" 花子 の Pukapuka☆ダイエット"));
    EXPECT_EQ(t.find<ui::MonthCalendar>(QStringLiteral("mtvmain"))->selectedDate(), kToday);
    EXPECT_EQ(dayList(t).bodyRows(), 0);
    EXPECT_EQ(visibleFace(t), QStringLiteral("imgNashi"));
    // the progress figures refer to the last record
    EXPECT_EQ(t.find<QLabel>(QStringLiteral("lblDspTai"))->text(), QStringLiteral("60.2Kg → 0.4Kg 減"));
}

TEST(Startup, EmptyFolderIsWelcomedIntoTheNewStart) {
    test::Window t(nullptr);
    t.start();
    auto calls = t.takeCalls();
    // without a settings file the help tour is on: its introduction comes first
    ASSERT_EQ(calls.size(), 2);
    EXPECT_EQ(calls[0].title, QStringLiteral("ヘルプツアー"));
    EXPECT_EQ(calls[1].title, QStringLiteral("ようこそ"));
    EXPECT_EQ(calls[1].icon, Icon::Information);
    EXPECT_EQ(calls[1].buttons, Buttons::Ok);
    EXPECT_TRUE(calls[1].prompt.contains(QStringLiteral("まだ体重の記録がありません")))
        << calls[1].prompt.toStdString();
    EXPECT_TRUE(t.find<QWidget>(QStringLiteral("fraSettei"))->isVisible());
    EXPECT_FALSE(t.find<QWidget>(QStringLiteral("fraMain"))->isVisible());
    EXPECT_TRUE(t.find<QWidget>(QStringLiteral("fraNew"))->isVisible());
    EXPECT_EQ(t.w().focusWidget(), t.find<QLineEdit>(QStringLiteral("txtPriData1")));
    EXPECT_TRUE(t.dir().files().isEmpty());

    // the form opened for them starts the diary as the edit panel's own button does
    t.find<QLineEdit>(QStringLiteral("txtPriData1"))->setText(QStringLiteral("花子"));
    t.find<QLineEdit>(QStringLiteral("txtSincyou1"))->setText(QStringLiteral("160"));
    t.find<QLineEdit>(QStringLiteral("txtMokuTai1"))->setText(QStringLiteral("50"));
    t.find<QLineEdit>(QStringLiteral("txtNowTai"))->setText(QStringLiteral("55.5"));
    t.find<QLineEdit>(QStringLiteral("txtNowShi"))->setText(QStringLiteral("27"));
    t.dialogs().queueAnswer(Answer::Ok);
    t.click(QStringLiteral("cmdStHozon"));
    calls = t.takeCalls();
    ASSERT_EQ(calls.size(), 2);
    EXPECT_EQ(calls[1].title, QStringLiteral("新規登録終了"));
    EXPECT_FALSE(t.w().isVisible());
    ASSERT_EQ(records(t).size(), 1u);
    EXPECT_EQ(records(t)[0].date, QStringLiteral("2026/12/07"));

    t.restart();
    for (const Call& call : t.takeCalls())
        EXPECT_NE(call.title, QStringLiteral("ようこそ"));
    EXPECT_TRUE(t.find<QWidget>(QStringLiteral("fraMain"))->isVisible());
    EXPECT_EQ(t.w().windowTitle(), QStringLiteral(" 花子 の Pukapuka☆ダイエット"));
    EXPECT_EQ(dayList(t).bodyRows(), 1);
}

TEST(Startup, FolderWithSettingsButNoLogIsWelcomedToo) {
    test::Window t([](const test::WorkDir& d) { test::writeOwnProfile(d); });
    t.start();
    const auto calls = t.takeCalls();
    ASSERT_EQ(calls.size(), 1);
    EXPECT_EQ(calls[0].title, QStringLiteral("ようこそ"));
    EXPECT_TRUE(t.find<QWidget>(QStringLiteral("fraNew"))->isVisible());
    EXPECT_EQ(visibleFace(t), QStringLiteral("imgNashi"));

    // the toolbar still opens the form the usual way
    t.click(QStringLiteral("cmdMain"));
    t.click(QStringLiteral("cmdSettei"));
    t.click(QStringLiteral("cmdNew1"));
    ASSERT_EQ(t.takeCalls().size(), 1);
}

TEST(Startup, SkippedLinesAreToldOnce) {
    test::Window t([](const test::WorkDir& d) {
        ownData(d);
        d.write(files::kData, d.read(files::kData) + "garbage line\r\n");
    });
    t.start();
    const auto calls = t.takeCalls();
    ASSERT_EQ(calls.size(), 1);
    EXPECT_TRUE(calls[0].prompt.contains(QStringLiteral("1 行"))) << calls[0].prompt.toStdString();
    EXPECT_EQ(t.find<QLabel>(QStringLiteral("lblDspTai"))->text(), QStringLiteral("60.2Kg → 0.4Kg 減"));
}

TEST(Startup, OlderLogAsksForBodyFatAndCancelChangesNothing) {
    test::Window t([](const test::WorkDir& d) {
        test::writeOwnProfile(d);
        d.writeText(files::kLegacyLog, QStringLiteral("\"2001/01/05\",\"起床後\",70.5\r\n"));
    });
    t.dialogs().queueInput(QString());
    const QByteArray before = t.dir().read(files::kLegacyLog);
    t.start();
    const auto calls = t.takeCalls();
    ASSERT_GE(calls.size(), 1);
    EXPECT_EQ(calls[0].kind, ui::ScriptedDialogs::Kind::Input);
    EXPECT_EQ(calls[0].title, QStringLiteral("データ変換および体脂肪率確認"));
    EXPECT_EQ(calls[0].prompt,
              QStringLiteral("連続体重.txtを検出しました。\r\n\r\n変換する場合は現在の体脂肪率を入力してください。"));
    EXPECT_EQ(t.dir().read(files::kLegacyLog), before);
    EXPECT_FALSE(t.dir().exists(files::kData));
    // the older log is still there to convert: no welcome to a first start
    EXPECT_TRUE(calls.back().prompt.contains(QStringLiteral("新規スタート"))) << calls.back().prompt.toStdString();
    EXPECT_TRUE(t.find<QWidget>(QStringLiteral("fraMain"))->isVisible());
}

TEST(Startup, OlderLogConvertedWithTheAnswer) {
    test::Window t([](const test::WorkDir& d) {
        test::writeOwnProfile(d);
        d.writeText(files::kLegacyLog,
                    QStringLiteral("\"2026/12/05\",\"起床後\",70.5\r\n\"2026/12/07\",\"起床後\",70\r\n"));
    });
    t.dialogs().queueInput(QStringLiteral("25"));
    t.start();
    ASSERT_EQ(records(t).size(), 2u);
    EXPECT_FLOAT_EQ(records(t)[1].bodyFat, 25.0f);
    EXPECT_TRUE(t.dir().exists(files::kLegacyLogBackup));
    EXPECT_EQ(dayList(t).bodyRows(), 1);
}

TEST(Entry, ChecksComeInTheirOrderWithTitles) {
    test::Window t(ownData);
    t.start();
    t.takeCalls();
    enter(t, QStringLiteral("60"), QStringLiteral("25"));
    t.click(QStringLiteral("cmdTaiHozon"));
    auto calls = t.takeCalls();
    ASSERT_EQ(calls.size(), 1);
    EXPECT_EQ(calls[0].prompt, QStringLiteral("行動が指定されていません"));
    EXPECT_EQ(calls[0].title, QStringLiteral("行動未入力"));

    t.pickSituation(QStringLiteral("起床後"));
    EXPECT_EQ(t.find<QLineEdit>(QStringLiteral("txtTaiInp"))->text(), QStringLiteral("59.8"));
    EXPECT_EQ(t.find<QLineEdit>(QStringLiteral("txtShiInp"))->text(), QStringLiteral("24.8"));
    enter(t, QStringLiteral("65"), QStringLiteral("24.8"));
    t.dialogs().queueAnswer(Answer::No);
    t.click(QStringLiteral("cmdTaiHozon"));
    calls = t.takeCalls();
    ASSERT_EQ(calls.size(), 1);
    EXPECT_EQ(calls[0].title, QStringLiteral("異常確認"));
    EXPECT_EQ(calls[0].buttons, Buttons::YesNo);
    EXPECT_EQ(calls[0].def, ui::Dialogs::DefaultButton::Second);
    EXPECT_EQ(records(t).size(), 2u);

    // Yes goes on to the body-fat checks
    enter(t, QStringLiteral("65"), QStringLiteral("abc"));
    t.dialogs().queueAnswer(Answer::Yes);
    t.click(QStringLiteral("cmdTaiHozon"));
    calls = t.takeCalls();
    ASSERT_EQ(calls.size(), 2);
    EXPECT_EQ(calls[1].prompt, QStringLiteral("数値を入力してください"));
    EXPECT_EQ(calls[1].title, QStringLiteral("数値以外入力"));
    EXPECT_EQ(records(t).size(), 2u);
}

TEST(Entry, SaveAppendsTodayWithTimeStampAndRebuildsTheDay) {
    test::Window t([](const test::WorkDir& d) {
        ownData(d);
        d.writeText(files::kTimeStamp, QStringLiteral(" 1 \r\n"));
    });
    t.start();
    t.pickSituation(QStringLiteral("起床後"));
    enter(t, QStringLiteral("59.5"), QStringLiteral("24.5"));
    t.click(QStringLiteral("cmdTaiHozon"));
    EXPECT_TRUE(t.takeCalls().isEmpty());
    const auto log = records(t);
    ASSERT_EQ(log.size(), 3u);
    EXPECT_EQ(log[2].date, QStringLiteral("2026/12/07"));
    EXPECT_EQ(log[2].comment, QStringLiteral("9:05:03"));
    EXPECT_FLOAT_EQ(log[2].weight, 59.5f);
    EXPECT_EQ(dayList(t).bodyRows(), 1);
    EXPECT_TRUE(t.find<QLineEdit>(QStringLiteral("txtTaiInp"))->text().isEmpty());
    EXPECT_FALSE(t.find<QPushButton>(QStringLiteral("cmdUp"))->isEnabled());
    EXPECT_EQ(visibleFace(t), QStringLiteral("imgniko"));

    // a second, lower measurement makes the face laugh; a higher one sulk
    t.pickSituation(QStringLiteral("就寝前"));
    enter(t, QStringLiteral("59.2"), QStringLiteral("24.5"));
    t.click(QStringLiteral("cmdTaiHozon"));
    EXPECT_EQ(visibleFace(t), QStringLiteral("imgwara"));
    t.pickSituation(QStringLiteral("就寝前"));
    enter(t, QStringLiteral("60.1"), QStringLiteral("24.5"));
    t.click(QStringLiteral("cmdTaiHozon"));
    EXPECT_EQ(visibleFace(t), QStringLiteral("imgkana"));
}

TEST(Entry, EarlierDayIsInsertedWithoutComment) {
    test::Window t([](const test::WorkDir& d) {
        ownData(d);
        d.writeText(files::kTimeStamp, QStringLiteral(" 1 \r\n"));
    });
    t.start();
    auto* calendar = t.find<ui::MonthCalendar>(QStringLiteral("mtvmain"));
    calendar->setSelectedDate(QDate(2026, 12, 1));
    Q_EMIT calendar->dateClicked(QDate(2026, 12, 1));
    t.pickSituation(QStringLiteral("起床後"));
    enter(t, QStringLiteral("60.0"), QStringLiteral("25"));
    t.click(QStringLiteral("cmdTaiHozon"));
    const auto log = records(t);
    ASSERT_EQ(log.size(), 3u);
    EXPECT_EQ(log[1].date, QStringLiteral("2026/12/01"));
    EXPECT_TRUE(log[1].comment.isEmpty());
    for (const QString& name : t.dir().files())
        EXPECT_FALSE(name.startsWith(QLatin1Char('.'))) << "left behind: " << name.toStdString();
}

// The keyboard alone: the day moved to with the arrow keys is shown at once, the arrow keys
// choose a situation, and Enter goes from the list to the weight, the body fat and the save
// button, which saves on the day in view.
TEST(Entry, KeyboardAloneChoosesDayAndSituationAndSaves) {
    test::Window t(ownData);
    t.start();
    auto* calendar = t.find<ui::MonthCalendar>(QStringLiteral("mtvmain"));
    QTest::keyClick(calendar->focusProxy(), Qt::Key_Left);
    EXPECT_EQ(calendar->selectedDate(), QDate(2026, 12, 6));
    EXPECT_EQ(dayList(t).bodyRows(), 1);

    auto* words = t.find<QListWidget>(QStringLiteral("lstAct"));
    auto* weight = t.find<QLineEdit>(QStringLiteral("txtTaiInp"));
    auto* fat = t.find<QLineEdit>(QStringLiteral("txtShiInp"));
    words->setFocus(Qt::TabFocusReason);
    words->setCurrentRow(0, QItemSelectionModel::NoUpdate);
    QTest::keyClick(words, Qt::Key_Down);
    // each move chooses as a click does, and the next move stays in the list
    EXPECT_EQ(weight->text(), QStringLiteral("59.8"));
    EXPECT_TRUE(t.find<QPushButton>(QStringLiteral("cmdUp"))->isEnabled());
    EXPECT_EQ(t.w().focusWidget(), words);
    QTest::keyClick(words, Qt::Key_Return);
    EXPECT_EQ(t.w().focusWidget(), weight);

    weight->setText(QStringLiteral("59.4"));
    QTest::keyClick(weight, Qt::Key_Return);
    EXPECT_EQ(t.w().focusWidget(), fat);
    QTest::keyClick(fat, Qt::Key_Return);
    auto* save = t.find<QToolButton>(QStringLiteral("cmdTaiHozon"));
    EXPECT_EQ(t.w().focusWidget(), save);
    QTest::keyClick(save, Qt::Key_Return);
    ASSERT_TRUE(QTest::qWaitFor([&t] { return records(t).size() == 3; }, 2000));
    EXPECT_TRUE(t.takeCalls().isEmpty());
    const WeightRecord saved = records(t)[2];
    EXPECT_EQ(saved.date, QStringLiteral("2026/12/06"));
    EXPECT_EQ(saved.situation, QStringLiteral("就寝前"));
    EXPECT_FLOAT_EQ(saved.weight, 59.4f);
    EXPECT_EQ(dayList(t).bodyRows(), 2);
}

TEST(Entry, FreeSituationCanBeAddedToTheList) {
    test::Window t(ownData);
    t.start();
    t.dialogs().queueInput(QStringLiteral("散歩後"));
    t.dialogs().queueAnswer(Answer::Yes);
    t.click(QStringLiteral("cmdFree"));
    const auto calls = t.takeCalls();
    ASSERT_EQ(calls.size(), 2);
    EXPECT_EQ(calls[0].title, QStringLiteral("状況フリー入力"));
    EXPECT_TRUE(calls[0].prompt.startsWith(QStringLiteral("状況リストに無い内容をフリーで入力できます。\n\n")));
    EXPECT_EQ(calls[1].prompt, QStringLiteral("状況リストに追加しますか？\n\n"));
    EXPECT_EQ(calls[1].title, QStringLiteral("状況リスト登録の有無"));
    EXPECT_EQ(calls[1].icon, Icon::Question);
    auto* list = t.find<QListWidget>(QStringLiteral("lstAct"));
    EXPECT_EQ(list->item(list->count() - 1)->text(), QStringLiteral("散歩後"));
    EXPECT_TRUE(t.dir().read(QStringLiteral("状況リスト.txt")).endsWith(test::sjis(QStringLiteral("\"散歩後\"\r\n"))));
    EXPECT_EQ(t.find<QLineEdit>(QStringLiteral("txtTaiInp"))->text(), QStringLiteral("59.8"));

    // a double quote is refused before anything is written
    t.dialogs().queueInput(QStringLiteral("朝\"食"));
    t.click(QStringLiteral("cmdFree"));
    const auto refused = t.takeCalls();
    ASSERT_EQ(refused.size(), 2);
    EXPECT_EQ(refused[1].icon, Icon::Warning);
}

TEST(Entry, StepButtonsUseTheStepsAndRefuseABadOne) {
    test::Window t(ownData);
    t.start();
    t.pickSituation(QStringLiteral("起床後"));
    t.click(QStringLiteral("cmdUp"));
    EXPECT_EQ(t.find<QLineEdit>(QStringLiteral("txtTaiInp"))->text(), QStringLiteral("59.9"));
    t.click(QStringLiteral("cmdDn1"));
    EXPECT_EQ(t.find<QLineEdit>(QStringLiteral("txtShiInp"))->text(), QStringLiteral("24.7"));
    ASSERT_TRUE(settings::writeSteps(t.dir().path(), Steps{QStringLiteral("abc"), QStringLiteral("0.1")}));
    t.restart();
    t.takeCalls();
    t.pickSituation(QStringLiteral("起床後"));
    t.click(QStringLiteral("cmdUp"));
    const auto calls = t.takeCalls();
    ASSERT_EQ(calls.size(), 1);
    EXPECT_TRUE(calls[0].prompt.contains(QStringLiteral("abc")));
    EXPECT_EQ(t.find<QLineEdit>(QStringLiteral("txtTaiInp"))->text(), QStringLiteral("59.8"));
}

TEST(MainChart, ClicksCycleTheMarkerAndRewriteItsFile) {
    test::Window t(ownData);
    t.start();
    auto* chart = t.find<ui::ChartView>(QStringLiteral("mcrMain"));
    EXPECT_EQ(chart->markerStyle(), ui::ChartView::MarkerStyle::Circle);
    QTest::mouseClick(chart->viewport(), Qt::LeftButton);
    EXPECT_EQ(chart->markerStyle(), ui::ChartView::MarkerStyle::Ball);
    EXPECT_EQ(settings::readMarker(t.dir().path()).value, 2);
    QTest::mouseClick(chart->viewport(), Qt::LeftButton);
    EXPECT_EQ(settings::readMarker(t.dir().path()).value, 0);
    QTest::mouseClick(chart->viewport(), Qt::LeftButton);
    EXPECT_EQ(chart->markerStyle(), ui::ChartView::MarkerStyle::Circle);
    EXPECT_EQ(settings::readMarker(t.dir().path()).value, 1);
}

TEST(MainChart, ModesShowAndHideSeriesAndAxes) {
    test::Window t([](const test::WorkDir& d) { d.copySample(); });
    t.start();
    auto* chart = t.find<ui::ChartView>(QStringLiteral("mcrMain"));
    t.find<QRadioButton>(QStringLiteral("optTai"))->click();
    EXPECT_TRUE(chart->isSeriesVisible(0));
    EXPECT_FALSE(chart->isSeriesVisible(1));
    EXPECT_FALSE(chart->isAxisVisible(ui::ChartView::Axis::Secondary));
    t.find<QRadioButton>(QStringLiteral("optShi"))->click();
    EXPECT_FALSE(chart->isSeriesVisible(0));
    EXPECT_TRUE(chart->isSeriesVisible(1));
    EXPECT_EQ(chart->pointCount(0), 5);
    t.find<QRadioButton>(QStringLiteral("optKon"))->click();
    EXPECT_TRUE(chart->isSeriesVisible(0) && chart->isSeriesVisible(1));
}

TEST(HelpTour, SwitchWritesTheFileAndSurvivesARestart) {
    test::Window t(ownData);
    t.start();
    EXPECT_FALSE(t.find<QToolButton>(QStringLiteral("chkHelp"))->isChecked());
    t.click(QStringLiteral("chkHelp"));
    auto calls = t.takeCalls();
    ASSERT_EQ(calls.size(), 1);
    EXPECT_EQ(calls[0].prompt, QStringLiteral("ヘルプツアー機能をオンにします。"));
    EXPECT_EQ(calls[0].title, QStringLiteral("ヘルプツアーＯＮ"));
    EXPECT_EQ(settings::readHelpTour(t.dir().path()).value, 1);
    t.restart();
    calls = t.takeCalls();
    // the restart shows the introduction, not the switch message
    ASSERT_EQ(calls.size(), 1);
    EXPECT_EQ(calls[0].title, QStringLiteral("ヘルプツアー"));
    EXPECT_TRUE(t.find<QToolButton>(QStringLiteral("chkHelp"))->isChecked());
    t.click(QStringLiteral("chkHelp"));
    calls = t.takeCalls();
    ASSERT_EQ(calls.size(), 1);
    EXPECT_EQ(calls[0].title, QStringLiteral("ヘルプツアーＯＦＦ"));
    EXPECT_EQ(settings::readHelpTour(t.dir().path()).value, 0);
}

TEST(Panels, MainButtonShowsTheMainPanelAsItWasLeft) {
    test::Window t(ownData);
    t.start();
    t.pickSituation(QStringLiteral("起床後"));
    t.click(QStringLiteral("cmdMain"));
    EXPECT_EQ(t.find<QLineEdit>(QStringLiteral("txtTaiInp"))->text(), QStringLiteral("59.8"));
    t.click(QStringLiteral("cmdSettei"));
    EXPECT_TRUE(t.find<QFrame>(QStringLiteral("fraSettei"))->isVisible());
    t.click(QStringLiteral("cmdMain"));
    EXPECT_TRUE(t.find<QFrame>(QStringLiteral("fraMain"))->isVisible());
    // not rebuilt: the entry keeps what it had
    EXPECT_EQ(t.find<QLineEdit>(QStringLiteral("txtTaiInp"))->text(), QStringLiteral("59.8"));
}

TEST(Progress, TrendLineFollowsSavesAndTheTargetWeight) {
    test::Window t(ownData);
    t.start();
    auto* line = t.find<QLabel>(QStringLiteral("lblDspTrend"));
    // 60.2 and, six days later, 59.8 kg: the trend of the whole log against the target of 50 kg
    EXPECT_EQ(line->text(), QStringLiteral("60.08Kg  -0.14Kg/週  目標到達 2028/04/24"));

    t.pickSituation(QStringLiteral("起床後"));
    enter(t, QStringLiteral("59"), QStringLiteral("24.5"));
    t.click(QStringLiteral("cmdTaiHozon"));
    EXPECT_EQ(line->text(), QStringLiteral("59.97Kg  -0.20Kg/週  目標到達 2027/11/25"));

    // a target changed on the edit panel shows when the main panel comes back
    t.click(QStringLiteral("cmdSettei"));
    t.find<QLineEdit>(QStringLiteral("txtMokuTai"))->setText(QStringLiteral("60"));
    t.click(QStringLiteral("cmdPHozon1"));
    t.takeCalls();
    t.click(QStringLiteral("cmdMain"));
    EXPECT_EQ(line->text(), QStringLiteral("59.97Kg  -0.20Kg/週  目標達成"));
}

TEST(BmiMeter, ScrollBarShowsTheStandardWeightAt22) {
    test::Window t([](const test::WorkDir& d) { d.copySample(); });
    t.start();
    auto* bar = t.find<QScrollBar>(QStringLiteral("HScroll1"));
    EXPECT_EQ(bar->value(), 244); // the day's 69.3 kg at 168.5 cm
    // the meter starts from the log's last weight
    EXPECT_EQ(t.find<QLabel>(QStringLiteral("lblTai"))->text(), QStringLiteral("68.9"));
    bar->setValue(220);
    EXPECT_EQ(t.find<QLabel>(QStringLiteral("lblTai"))->text(), QStringLiteral("62.5"));
    EXPECT_EQ(t.find<QLabel>(QStringLiteral("lblHiman"))->text(), QStringLiteral("0.0"));
    EXPECT_EQ(t.find<QLabel>(QStringLiteral("lblHyouka"))->text(), QStringLiteral("スタンダード"));
}
