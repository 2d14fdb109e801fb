#include "core/edits/DiarySave.h"
#include "core/files/DataLog.h"
#include "core/files/FileNames.h"
#include "core/files/Settings.h"
#include "tests/ui/UiTestSupport.h"
#include "ui/controls/GridView.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

using namespace puka;
using Icon = ui::Dialogs::Icon;

namespace {

constexpr int kComment = 7;

// Three measurements with comments and a filled spare field, so that a rewrite that loses
// anything shows.
void diaryData(const test::WorkDir& dir) {
    test::writeOwnProfile(dir);
    dir.writeText(files::kData, QStringLiteral("\"2026/12/05\",\"起床後\",60.2,\"いい感じ\",25,\"x\"\r\n"
                                               "\"2026/12/06\",\"就寝前\",60.7,\"食べ過ぎ\",25.1,\"\"\r\n"
                                               "\"2026/12/07\",\"起床後\",59.8,\"\",24.8,\"y\"\r\n"));
}

std::vector<WeightRecord> records(const test::Window& t) {
    return datalog::readLog(t.dir().path()).records;
}

ui::GridView* grid(test::Window& t) {
    return t.find<ui::GridView>(QStringLiteral("msgMemoList"));
}

QLineEdit* memoField(test::Window& t) {
    return t.find<QLineEdit>(QStringLiteral("txtMemo"));
}

QPlainTextEdit* notesField(test::Window& t) {
    return t.find<QPlainTextEdit>(QStringLiteral("txtKizuki"));
}

// A click on a body row as the grid reports it.
void chooseRow(test::Window& t, int gridRow) {
    Q_EMIT grid(t)->cellClicked(gridRow, 2);
}

} // namespace

TEST(Diary, OpeningListsEveryRecordWithTheSaveDisabled) {
    test::Window t([](const test::WorkDir& d) {
        diaryData(d);
        ASSERT_TRUE(settings::writeHelpTour(d.path(), 1));
    });
    t.start();
    t.takeCalls();
    memoField(t)->setText(QStringLiteral("前の入力"));
    t.click(QStringLiteral("cmdMemo"));
    const auto calls = t.takeCalls();
    ASSERT_EQ(calls.size(), 1);
    EXPECT_EQ(calls[0].title, QStringLiteral("ヘルプツアー"));
    EXPECT_EQ(calls[0].prompt, diary::guidanceText());

    EXPECT_TRUE(t.find<QFrame>(QStringLiteral("fraMemo"))->isVisible());
    EXPECT_EQ(grid(t)->model().bodyRows(), 3);
    EXPECT_EQ(grid(t)->cellText(2, 2), QStringLiteral("就寝前"));
    EXPECT_EQ(grid(t)->cellText(2, 4), QStringLiteral("0.5"));
    EXPECT_EQ(grid(t)->cellText(2, kComment), QStringLiteral("食べ過ぎ"));
    EXPECT_FALSE(t.find<QPushButton>(QStringLiteral("cmdMemoHozon"))->isEnabled());
    EXPECT_EQ(memoField(t)->text(), QStringLiteral("前の入力"));
}

TEST(Diary, ChosenRowGetsTheCommentAndEveryOtherRecordIsKept) {
    test::Window t(diaryData);
    t.start();
    const auto before = records(t);
    t.click(QStringLiteral("cmdMemo"));

    chooseRow(t, 2);
    EXPECT_EQ(memoField(t)->text(), QStringLiteral("食べ過ぎ"));
    EXPECT_EQ(grid(t)->currentRow(), 2);
    EXPECT_EQ(grid(t)->currentColumn(), kComment);
    memoField(t)->setText(QStringLiteral("外食で食べ過ぎ"));
    t.click(QStringLiteral("cmdMemoHozon"));
    EXPECT_TRUE(t.takeCalls().isEmpty());

    const auto after = records(t);
    ASSERT_EQ(after.size(), before.size());
    for (size_t i = 0; i < after.size(); ++i) {
        WeightRecord expected = before[i];
        expected.spare.clear();
        if (i == 1)
            expected.comment = QStringLiteral("外食で食べ過ぎ");
        EXPECT_EQ(after[i], expected) << i;
    }
    EXPECT_EQ(grid(t)->cellText(2, kComment), QStringLiteral("外食で食べ過ぎ"));
    // the button and the field stay as they were, ready for the next change
    EXPECT_TRUE(t.find<QPushButton>(QStringLiteral("cmdMemoHozon"))->isEnabled());
    EXPECT_EQ(memoField(t)->text(), QStringLiteral("外食で食べ過ぎ"));

    // an empty comment is stored as empty
    chooseRow(t, 1);
    memoField(t)->clear();
    QTest::keyClick(memoField(t), Qt::Key_Return);
    EXPECT_TRUE(records(t)[0].comment.isEmpty());
    EXPECT_EQ(records(t)[1].comment, QStringLiteral("外食で食べ過ぎ"));
}

TEST(Diary, EnterStoresOnlyAfterARowIsChosen) {
    test::Window t(diaryData);
    t.start();
    const QByteArray before = t.dir().read(files::kData);
    t.click(QStringLiteral("cmdMemo"));
    memoField(t)->setText(QStringLiteral("どこにも書かれない"));
    QTest::keyClick(memoField(t), Qt::Key_Return);
    EXPECT_EQ(t.dir().read(files::kData), before);
    EXPECT_TRUE(t.takeCalls().isEmpty());

    // a click on the header chooses nothing either
    Q_EMIT grid(t)->cellClicked(0, kComment);
    EXPECT_FALSE(t.find<QPushButton>(QStringLiteral("cmdMemoHozon"))->isEnabled());

    chooseRow(t, 3);
    memoField(t)->setText(QStringLiteral("Enterで保存"));
    QTest::keyClick(memoField(t), Qt::Key_Return);
    EXPECT_EQ(records(t)[2].comment, QStringLiteral("Enterで保存"));

    // opening the panel again disables the save until a row is chosen anew
    t.click(QStringLiteral("cmdMain"));
    t.click(QStringLiteral("cmdMemo"));
    const QByteArray saved = t.dir().read(files::kData);
    memoField(t)->setText(QStringLiteral("また書かれない"));
    QTest::keyClick(memoField(t), Qt::Key_Return);
    EXPECT_EQ(t.dir().read(files::kData), saved);
}

TEST(Diary, CommentTheLogCannotHoldIsRefused) {
    test::Window t(diaryData);
    t.start();
    const QByteArray before = t.dir().read(files::kData);
    t.click(QStringLiteral("cmdMemo"));
    chooseRow(t, 1);
    memoField(t)->setText(QStringLiteral("今日は\"最高\""));
    t.click(QStringLiteral("cmdMemoHozon"));
    const auto calls = t.takeCalls();
    ASSERT_EQ(calls.size(), 1);
    EXPECT_EQ(calls[0].title, QStringLiteral("保存エラー"));
    EXPECT_EQ(calls[0].icon, Icon::Critical);
    EXPECT_EQ(t.dir().read(files::kData), before);
    EXPECT_EQ(grid(t)->cellText(1, kComment), QStringLiteral("いい感じ"));
}

TEST(Diary, LogChangedSinceOpeningIsNotOverwritten) {
    test::Window t(diaryData);
    t.start();
    t.click(QStringLiteral("cmdMemo"));
    // another measurement arrives at the front after the grid was filled
    const QByteArray changed =
        test::sjis(QStringLiteral("\"2026/12/01\",\"起床後\",61,\"\",25,\"\"\r\n")) + t.dir().read(files::kData);
    t.dir().write(files::kData, changed);
    chooseRow(t, 2);
    memoField(t)->setText(QStringLiteral("別の行に付いてはいけない"));
    t.click(QStringLiteral("cmdMemoHozon"));
    const auto calls = t.takeCalls();
    ASSERT_EQ(calls.size(), 1);
    EXPECT_EQ(calls[0].icon, Icon::Critical);
    EXPECT_EQ(t.dir().read(files::kData), changed);
}

TEST(Memo, NotesSurviveARestartWithTheirEmptyLines) {
    test::Window t(diaryData);
    t.start();
    t.click(QStringLiteral("cmdMemo"));
    EXPECT_TRUE(notesField(t)->toPlainText().isEmpty());
    notesField(t)->setPlainText(QStringLiteral("朝に量る\n\n夜は気にしない\n"));
    t.click(QStringLiteral("cmdKizukiHozon"));
    EXPECT_TRUE(t.takeCalls().isEmpty());
    const QByteArray file = t.dir().read(files::kNotes);
    EXPECT_EQ(file, test::sjis(QStringLiteral("朝に量る\r\n\r\n夜は気にしない\r\n\r\n")));
    t.click(QStringLiteral("cmdKizukiHozon"));
    EXPECT_EQ(t.dir().read(files::kNotes), file);

    t.restart();
    EXPECT_EQ(notesField(t)->toPlainText(), QStringLiteral("朝に量る\n\n夜は気にしない\n"));
    // the start-up reads the memo but does not write it
    EXPECT_EQ(t.dir().read(files::kNotes), file);
}

TEST(Memo, UnsavedNotesStayWhilePanelsChange) {
    test::Window t([](const test::WorkDir& d) {
        diaryData(d);
        d.writeText(files::kNotes, QStringLiteral("一行目\r\n二行目\r\n"));
    });
    t.start();
    t.click(QStringLiteral("cmdMemo"));
    EXPECT_EQ(notesField(t)->toPlainText(), QStringLiteral("一行目\n二行目"));
    notesField(t)->setPlainText(QStringLiteral("書きかけ"));
    t.click(QStringLiteral("cmdSettei"));
    t.click(QStringLiteral("cmdMemo"));
    EXPECT_EQ(notesField(t)->toPlainText(), QStringLiteral("書きかけ"));
    EXPECT_EQ(t.dir().read(files::kNotes), test::sjis(QStringLiteral("一行目\r\n二行目\r\n")));

    // a character the file cannot hold is told, and the file stays
    notesField(t)->setPlainText(QStringLiteral("絵文字😀"));
    t.click(QStringLiteral("cmdKizukiHozon"));
    const auto calls = t.takeCalls();
    ASSERT_EQ(calls.size(), 1);
    EXPECT_EQ(calls[0].icon, Icon::Critical);
    EXPECT_EQ(t.dir().read(files::kNotes), test::sjis(QStringLiteral("一行目\r\n二行目\r\n")));
}
