// Correcting and deleting from the three lists, undo and redo from the keys and the menus, and
// putting a backup back from the edit panel, driven through the real window.
#include "core/edits/LogEdits.h"
#include "core/files/Backups.h"
#include "core/files/DataLog.h"
#include "core/files/FileNames.h"
#include "tests/ui/UiTestSupport.h"
#include "ui/RecordEditor.h"
#include "ui/controls/GridView.h"
#include "ui/controls/RecordListMenu.h"

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QTest>

#include <gtest/gtest.h>

using namespace puka;
using Call = ui::ScriptedDialogs::Call;
using Icon = ui::Dialogs::Icon;

namespace {

// Today, 2026/12/07, holds two measurements; the second is a typing slip.
void ownData(const test::WorkDir& dir) {
    test::writeOwnProfile(dir);
    dir.writeText(files::kData, QStringLiteral("\"2026/12/01\",\"はじめの一歩\",61.5,\"\",26,\"\"\r\n"
                                               "\"2026/12/05\",\"起床後\",60.6,\"\",25.5,\"\"\r\n"
                                               "\"2026/12/07\",\"起床後\",60.2,\"\",25.4,\"\"\r\n"
                                               "\"2026/12/07\",\"就寝前\",6.07,\"\",25.6,\"\"\r\n"));
}

std::vector<WeightRecord> records(test::Window& t) {
    return datalog::readLog(t.dir().path()).records;
}

// Triggers an entry of a list's context menu for a grid row, as a right click and a choice do.
void chooseFromMenu(ui::GridView* list, int gridRow, const char* action) {
    auto* menu = list->findChild<ui::RecordListMenu*>();
    ASSERT_NE(menu, nullptr);
    const auto built = menu->menuFor(gridRow);
    auto* entry = built->findChild<QAction*>(QString::fromUtf8(action));
    ASSERT_NE(entry, nullptr) << action;
    ASSERT_TRUE(entry->isEnabled()) << action;
    entry->trigger();
}

void pressKeys(test::Window& t, QWidget* target, Qt::Key key, Qt::KeyboardModifiers modifiers = {}) {
    t.w().activateWindow();
    ASSERT_TRUE(QTest::qWaitFor([&t] { return QApplication::activeWindow() == &t.w(); }, 2000));
    target->setFocus(Qt::OtherFocusReason);
    QTest::keyClick(target, key, modifiers);
}

ui::ScriptedDialogs::RecordAnswer weightTyped(const QString& text) {
    return [text](const ui::RecordForm& shown) -> std::optional<ui::RecordForm> {
        ui::RecordForm form = shown;
        form.weightText = text;
        return form;
    };
}

} // namespace

TEST(RecordEditing, ACorrectionFromTheDayListIsCheckedAsTheEntryAndShownAtOnce) {
    test::Window t(ownData);
    t.start();
    t.takeCalls();
    ui::GridView* dayList = grid(t, "msgDayList");
    ASSERT_EQ(dayList->cellText(2, 2), QStringLiteral("6.1Kg"));

    // the slip is typed again wrongly, then right: the entry's message, and the dialog comes back
    t.dialogs().queueRecordAnswer(weightTyped(QStringLiteral("６０．７")));
    t.dialogs().queueRecordAnswer(weightTyped(QStringLiteral("60.7")));
    chooseFromMenu(dayList, 2, "actCorrect");
    const QList<Call> calls = t.takeCalls();
    ASSERT_EQ(calls.size(), 3);
    EXPECT_EQ(calls[0].kind, ui::ScriptedDialogs::Kind::RecordForm);
    EXPECT_EQ(calls[0].title, QStringLiteral("記録の修正"));
    EXPECT_EQ(calls[0].form, (ui::RecordForm{QDate(2026, 12, 7), QStringLiteral("就寝前"), QStringLiteral("6.07"),
                                             QStringLiteral("25.6"), QString()}));
    EXPECT_EQ(calls[0].items, (QStringList{QStringLiteral("起床後"), QStringLiteral("就寝前")}));
    EXPECT_EQ(calls[1].prompt, QStringLiteral("数値を入力してください"));
    EXPECT_EQ(calls[1].icon, Icon::Warning);
    EXPECT_EQ(calls[2].form.weightText, QStringLiteral("６０．７"));

    EXPECT_EQ(records(t).at(3).weight, 60.7f);
    EXPECT_EQ(dayList->cellText(2, 2), QStringLiteral("60.7Kg"));
    EXPECT_EQ(t.w().recordEditor()->changes().undoDescription(), QStringLiteral("記録の修正"));

    // F2 on a row opens the same dialog; a change of 5 kg asks, and No goes back to the dialog
    t.dialogs().queueRecordAnswer(weightTyped(QStringLiteral("70")));
    t.dialogs().queueAnswer(ui::Dialogs::Answer::No);
    t.dialogs().queueRecordAnswer([](const ui::RecordForm&) { return std::nullopt; });
    dayList->setCurrentCell(1, 2);
    pressKeys(t, dayList, Qt::Key_F2);
    const QList<Call> asked = t.takeCalls();
    ASSERT_EQ(asked.size(), 3);
    EXPECT_EQ(asked[0].form.situation, QStringLiteral("起床後"));
    EXPECT_EQ(asked[1].prompt, QStringLiteral("前回より５Ｋｇ以上の変動がありますが間違いありませんか？"));
    EXPECT_EQ(asked[1].def, ui::Dialogs::DefaultButton::Second);
    EXPECT_EQ(records(t).at(2).weight, 60.2f);
}

TEST(RecordEditing, DeletingAsksNoFirstAndNeverTakesTheStartRecord) {
    test::Window t(ownData);
    t.start();
    t.click(QStringLiteral("cmdTaijyu"));
    t.takeCalls();
    ui::GridView* range = grid(t, "msgBunseki");
    ASSERT_EQ(range->model().bodyRows(), 4);

    const QByteArray before = t.dir().read(files::kData);
    range->setCurrentCell(1, 3);
    pressKeys(t, range, Qt::Key_Delete);
    QList<Call> calls = t.takeCalls();
    ASSERT_EQ(calls.size(), 1);
    EXPECT_EQ(calls[0].prompt, logedits::startRecordMessage());

    t.dialogs().queueAnswer(ui::Dialogs::Answer::No);
    range->setCurrentCell(4, 3);
    pressKeys(t, range, Qt::Key_Delete);
    calls = t.takeCalls();
    ASSERT_EQ(calls.size(), 1);
    EXPECT_EQ(calls[0].prompt, logedits::deleteQuestion(4, records(t).at(3)));
    EXPECT_EQ(calls[0].buttons, ui::Dialogs::Buttons::YesNo);
    EXPECT_EQ(calls[0].def, ui::Dialogs::DefaultButton::Second);
    EXPECT_EQ(t.dir().read(files::kData), before);

    t.dialogs().queueAnswer(ui::Dialogs::Answer::Yes);
    chooseFromMenu(range, 4, "actDelete");
    EXPECT_EQ(records(t).size(), 3u);
    EXPECT_EQ(range->model().bodyRows(), 3);
    EXPECT_TRUE(t.find<QFrame>(QStringLiteral("fraTaijyu"))->isVisible());
}

TEST(RecordEditing, CtrlZAndCtrlYTakeBackAndRemakeASaveAndARename) {
    test::Window t(ownData);
    t.start();
    t.takeCalls();
    const QByteArray before = t.dir().read(files::kData);
    t.pickSituation(QStringLiteral("起床後"));
    t.find<QLineEdit>(QStringLiteral("txtTaiInp"))->setText(QStringLiteral("6.2"));
    t.click(QStringLiteral("cmdTaiHozon"));
    t.takeCalls();
    const QByteArray saved = t.dir().read(files::kData);
    ASSERT_NE(saved, before);
    ui::GridView* dayList = grid(t, "msgDayList");
    ASSERT_EQ(dayList->model().bodyRows(), 3);

    pressKeys(t, dayList, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(t.dir().read(files::kData), before);
    EXPECT_EQ(dayList->model().bodyRows(), 2);
    pressKeys(t, dayList, Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(t.dir().read(files::kData), saved);
    EXPECT_EQ(dayList->model().bodyRows(), 3);

    // a rename across the log, taken back from the diary list's menu: both files and every list
    t.click(QStringLiteral("cmdSettei"));
    auto* words = t.find<QListWidget>(QStringLiteral("lstKoumoku"));
    QTest::mouseClick(words->viewport(), Qt::LeftButton, {}, words->visualItemRect(words->item(0)).center());
    t.find<QLineEdit>(QStringLiteral("txtChg"))->setText(QStringLiteral("起きてすぐ"));
    t.dialogs().queueAnswer(ui::Dialogs::Answer::Ok);
    t.click(QStringLiteral("cmdChg"));
    t.takeCalls();
    ASSERT_EQ(records(t).at(1).situation, QStringLiteral("起きてすぐ"));
    const QByteArray list = test::sjis(QStringLiteral("起床後\r\n就寝前\r\n"));
    ASSERT_NE(t.dir().read(files::kSituations), list);
    t.click(QStringLiteral("cmdMemo"));
    chooseFromMenu(grid(t, "msgMemoList"), 1, "actUndo");
    EXPECT_EQ(t.dir().read(files::kData), saved);
    EXPECT_EQ(t.dir().read(files::kSituations), list);
    EXPECT_EQ(t.find<QListWidget>(QStringLiteral("lstAct"))->item(0)->text(), QStringLiteral("起床後"));
    EXPECT_EQ(grid(t, "msgMemoList")->cellText(2, 2), QStringLiteral("起床後"));
    EXPECT_TRUE(t.takeCalls().isEmpty());
}

TEST(RecordEditing, AnUndoRefusedAfterAnotherProgramChangedTheRecordSaysWhyAndChangesNothing) {
    test::Window t(ownData);
    t.start();
    t.click(QStringLiteral("cmdMemo"));
    t.takeCalls();
    ui::GridView* diary = grid(t, "msgMemoList");
    t.dialogs().queueRecordAnswer(weightTyped(QStringLiteral("60.7")));
    diary->setCurrentCell(4, 2);
    pressKeys(t, diary, Qt::Key_Return);
    t.takeCalls();
    ASSERT_EQ(records(t).at(3).weight, 60.7f);
    EXPECT_EQ(diary->cellText(4, 3), QStringLiteral("60.7"));

    // a script puts a comment on the same record
    ASSERT_TRUE(datalog::rewriteLog(t.dir().path(), [](WeightRecord& r) {
        if (r.situation != QStringLiteral("就寝前"))
            return false;
        r.comment = QStringLiteral("スクリプトから");
        return true;
    }));
    const QByteArray before = t.dir().read(files::kData);
    pressKeys(t, diary, Qt::Key_Z, Qt::ControlModifier);
    const QList<Call> calls = t.takeCalls();
    ASSERT_EQ(calls.size(), 1);
    EXPECT_EQ(calls[0].title, QStringLiteral("元に戻せません"));
    EXPECT_TRUE(calls[0].prompt.startsWith(QStringLiteral("「記録の修正」を元に戻せませんでした。")))
        << calls[0].prompt.toStdString();
    EXPECT_EQ(t.dir().read(files::kData), before);
}

TEST(RecordEditing, ABackupIsPutBackFromTheEditPanelAfterAQuestion) {
    test::Window t([](const test::WorkDir& dir) {
        ownData(dir);
        ASSERT_TRUE(backups::backupBeforeChange(dir.path(), backups::Reason::Import));
    });
    t.start();
    const QByteArray original = t.dir().read(files::kData);
    ASSERT_TRUE(logedits::deleteRecord(t.dir().path(), 4, std::nullopt));
    t.click(QStringLiteral("cmdSettei"));
    t.takeCalls();

    t.dialogs().queueChoice(0);
    t.dialogs().queueAnswer(ui::Dialogs::Answer::Ok);
    t.click(QStringLiteral("cmdRestore"));
    const QList<Call> calls = t.takeCalls();
    ASSERT_EQ(calls.size(), 3);
    EXPECT_EQ(calls[0].kind, ui::ScriptedDialogs::Kind::Choice);
    EXPECT_EQ(calls[0].items.at(1), QStringLiteral("2026/12/07 09:05:03\t4 件\t2026/12/07　就寝前　6.1Kg　25.6%"));
    EXPECT_EQ(calls[1].icon, Icon::Exclamation);
    EXPECT_EQ(calls[1].buttons, ui::Dialogs::Buttons::OkCancel);
    EXPECT_TRUE(calls[2].prompt.startsWith(QStringLiteral("2026/12/07 09:05:03 のバックアップ（4 件）に戻しました。")))
        << calls[2].prompt.toStdString();
    EXPECT_EQ(t.dir().read(files::kData), original);
    EXPECT_EQ(grid(t, "msgDayList")->model().bodyRows(), 2);
}
