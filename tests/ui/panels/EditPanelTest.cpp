#include "core/edits/NewStart.h"
#include "core/edits/SituationEditing.h"
#include "core/files/DataLog.h"
#include "core/files/FileNames.h"
#include "core/files/Settings.h"
#include "core/files/SituationList.h"
#include "tests/ui/UiTestSupport.h"
#include "ui/controls/GridView.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>

using namespace puka;
using Answer = ui::Dialogs::Answer;
using Buttons = ui::Dialogs::Buttons;
using Icon = ui::Dialogs::Icon;

namespace {

const QString kList = QStringLiteral("状況リスト.txt");

QStringList items(QListWidget* list) {
    QStringList words;
    for (int i = 0; i < list->count(); ++i)
        words.append(list->item(i)->text());
    return words;
}

/// The profile of a user who is not the sample, the situations A to D and a log in which one
/// situation only begins with another.
void editData(const test::WorkDir& dir) {
    test::writeOwnProfile(dir);
    dir.writeText(kList, QStringLiteral("A\r\nB\r\nC\r\nD\r\n"));
    dir.writeText(files::kData, QStringLiteral("\"2026/12/05\",\"A\",60.2,\"朝\",25,\"x\"\r\n"
                                               "\"2026/12/06\",\"AB\",60.7,\"夜\",25.1,\"\"\r\n"
                                               "\"2026/12/07\",\"A\",59.8,\"\",24.8,\"y\"\r\n"));
}

class EditWindow : public test::Window {
public:
    explicit EditWindow(const std::function<void(const test::WorkDir&)>& setUp = editData) : test::Window(setUp) {
        start();
        click(QStringLiteral("cmdSettei"));
        takeCalls();
    }

    QListWidget* editorList() { return find<QListWidget>(QStringLiteral("lstKoumoku")); }
    QListWidget* mainList() { return find<QListWidget>(QStringLiteral("lstAct")); }
    QListWidget* rangeList() { return find<QListWidget>(QStringLiteral("lstAct2")); }
    QToolButton* sortButton() { return find<QToolButton>(QStringLiteral("cmdSort")); }
    QLineEdit* field(const char* name) { return find<QLineEdit>(QString::fromUtf8(name)); }
    bool sortMarked() {
        return sortButton()->palette().color(QPalette::Button) == QColor::fromRgb(editing::kOrderChangedColour);
    }

    /// A click on the word at @p row of the editor's list.
    void choose(int row) {
        QListWidget* list = editorList();
        const QPoint at = list->visualItemRect(list->item(row)).center();
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
    }
    /// Presses the mouse on the word at @p from and lets it go over the word at @p to.
    void drag(int from, int to) {
        QListWidget* list = editorList();
        const QPoint source = list->visualItemRect(list->item(from)).center();
        const QPoint target = list->visualItemRect(list->item(to)).center();
        QTest::mousePress(list->viewport(), Qt::LeftButton, {}, source);
        QTest::mouseMove(list->viewport(), target);
        QTest::mouseRelease(list->viewport(), Qt::LeftButton, {}, target);
    }
    std::vector<WeightRecord> records() const { return datalog::readLog(dir().path()).records; }
};

} // namespace

TEST(Edit, OpeningFillsTheProfileAndWaitsForAChoice) {
    EditWindow t;
    EXPECT_EQ(t.field("txtPriData")->text(), QStringLiteral("花子"));
    EXPECT_EQ(t.field("txtSincyou")->text(), QStringLiteral("160"));
    EXPECT_EQ(t.field("txtMokuTai")->text(), QStringLiteral("50"));
    for (const char* name : {"cmdSort", "cmdDel", "cmdChg"})
        EXPECT_FALSE(t.find<QAbstractButton>(QString::fromUtf8(name))->isEnabled()) << name;
    EXPECT_EQ(items(t.editorList()), QStringList({"A", "B", "C", "D"}));
    t.choose(1);
    for (const char* name : {"cmdSort", "cmdDel", "cmdChg"})
        EXPECT_TRUE(t.find<QAbstractButton>(QString::fromUtf8(name))->isEnabled()) << name;
}

TEST(Edit, DragPutsTheWordBeforeTheTargetUntilTheOrderIsSaved) {
    EditWindow t;
    const QByteArray file = t.dir().read(kList);
    // onto the word right after it: nothing moves, nothing is marked
    t.drag(1, 2);
    EXPECT_EQ(items(t.editorList()), QStringList({"A", "B", "C", "D"}));
    EXPECT_FALSE(t.sortMarked());

    t.drag(0, 2);
    EXPECT_EQ(items(t.editorList()), QStringList({"B", "A", "C", "D"}));
    EXPECT_EQ(t.editorList()->currentRow(), 1);
    EXPECT_TRUE(t.sortMarked());
    t.drag(3, 1);
    EXPECT_EQ(items(t.editorList()), QStringList({"B", "D", "A", "C"}));
    // the file and the other lists keep the old order, also while another panel is shown
    EXPECT_EQ(t.dir().read(kList), file);
    EXPECT_EQ(items(t.mainList()), QStringList({"A", "B", "C", "D"}));
    EXPECT_EQ(items(t.rangeList()), QStringList({"A", "B", "C", "D"}));
    t.click(QStringLiteral("cmdMain"));
    t.click(QStringLiteral("cmdSettei"));
    EXPECT_EQ(items(t.editorList()), QStringList({"B", "D", "A", "C"}));
    EXPECT_TRUE(t.sortMarked());
    EXPECT_TRUE(t.takeCalls().isEmpty());

    t.choose(2);
    t.click(QStringLiteral("cmdSort"));
    const auto calls = t.takeCalls();
    ASSERT_EQ(calls.size(), 1);
    EXPECT_EQ(calls[0].prompt, QStringLiteral("並び替えた順番で状況リストを作成しました"));
    EXPECT_EQ(calls[0].title, QStringLiteral("並び替え完了"));
    EXPECT_FALSE(t.sortMarked());
    EXPECT_EQ(situations::readSituationList(t.dir().path()).words, QStringList({"B", "D", "A", "C"}));
    EXPECT_EQ(items(t.mainList()), QStringList({"B", "D", "A", "C"}));
    EXPECT_EQ(items(t.rangeList()), QStringList({"B", "D", "A", "C"}));
    // the editor keeps the chosen word
    EXPECT_EQ(t.editorList()->currentItem()->text(), QStringLiteral("A"));
}

TEST(Edit, AddedWordGoesToTheFileAndEveryList) {
    EditWindow t;
    t.dialogs().queueInput(QStringLiteral("散歩後"));
    t.click(QStringLiteral("cmdNew2"));
    auto calls = t.takeCalls();
    ASSERT_EQ(calls.size(), 1);
    EXPECT_EQ(calls[0].prompt, QStringLiteral("追加したい状況を入力して下さい"));
    EXPECT_EQ(calls[0].title, QStringLiteral("状況追加"));
    const QStringList expected = {"A", "B", "C", "D", "散歩後"};
    EXPECT_EQ(items(t.editorList()), expected);
    EXPECT_EQ(items(t.mainList()), expected);
    EXPECT_EQ(items(t.rangeList()), expected);
    EXPECT_EQ(situations::readSituationList(t.dir().path()).words, expected);

    // a cancelled box adds nothing
    const QByteArray file = t.dir().read(kList);
    t.dialogs().queueInput(QString());
    t.click(QStringLiteral("cmdNew2"));
    EXPECT_EQ(t.takeCalls().size(), 1);
    EXPECT_EQ(t.dir().read(kList), file);
    EXPECT_EQ(items(t.mainList()), expected);
}

TEST(Edit, DeleteAsksFirstAndLeavesTheLogAlone) {
    EditWindow t;
    const QByteArray list = t.dir().read(kList);
    const QByteArray log = t.dir().read(files::kData);
    t.choose(0);
    t.dialogs().queueAnswer(Answer::Cancel);
    t.click(QStringLiteral("cmdDel"));
    auto calls = t.takeCalls();
    ASSERT_EQ(calls.size(), 1);
    EXPECT_EQ(calls[0].prompt, QStringLiteral("Aを削除します。よろしいですか？"));
    EXPECT_EQ(calls[0].title, QStringLiteral("クリア確認"));
    EXPECT_EQ(calls[0].icon, Icon::Exclamation);
    EXPECT_EQ(calls[0].buttons, Buttons::OkCancel);
    EXPECT_EQ(calls[0].def, ui::Dialogs::DefaultButton::First);
    EXPECT_EQ(t.dir().read(kList), list);
    EXPECT_EQ(items(t.editorList()), QStringList({"A", "B", "C", "D"}));

    t.dialogs().queueAnswer(Answer::Ok);
    t.click(QStringLiteral("cmdDel"));
    calls = t.takeCalls();
    ASSERT_EQ(calls.size(), 2);
    EXPECT_EQ(calls[1].prompt, QStringLiteral("選択したデータを削除しました"));
    EXPECT_EQ(calls[1].title, QStringLiteral("削除完了"));
    EXPECT_EQ(situations::readSituationList(t.dir().path()).words, QStringList({"B", "C", "D"}));
    EXPECT_EQ(items(t.editorList()), QStringList({"B", "C", "D"}));
    EXPECT_EQ(items(t.mainList()), QStringList({"B", "C", "D"}));
    EXPECT_EQ(items(t.rangeList()), QStringList({"B", "C", "D"}));
    EXPECT_EQ(t.dir().read(files::kData), log);

    // the button stays enabled, but with no word chosen nothing is removed
    ASSERT_TRUE(t.find<QAbstractButton>(QStringLiteral("cmdDel"))->isEnabled());
    t.click(QStringLiteral("cmdDel"));
    calls = t.takeCalls();
    ASSERT_EQ(calls.size(), 1);
    EXPECT_EQ(calls[0].buttons, Buttons::Ok);
    EXPECT_EQ(items(t.editorList()), QStringList({"B", "C", "D"}));
}

TEST(Edit, DeleteAllEmptiesTheFileAndEveryList) {
    EditWindow t;
    const QByteArray list = t.dir().read(kList);
    t.dialogs().queueAnswer(Answer::Cancel);
    t.click(QStringLiteral("cmdDel2"));
    auto calls = t.takeCalls();
    ASSERT_EQ(calls.size(), 1);
    EXPECT_EQ(calls[0].prompt, QStringLiteral("状況リストを全削除します。よろしいですか？"));
    EXPECT_EQ(calls[0].buttons, Buttons::OkCancel);
    EXPECT_EQ(t.dir().read(kList), list);
    EXPECT_EQ(t.mainList()->count(), 4);

    t.dialogs().queueAnswer(Answer::Ok);
    t.click(QStringLiteral("cmdDel2"));
    calls = t.takeCalls();
    ASSERT_EQ(calls.size(), 2);
    EXPECT_EQ(calls[1].prompt,
              QStringLiteral("状況リストを削除しました。\n\n任意の状況をあらためて登録してください。"));
    EXPECT_EQ(calls[1].title, QStringLiteral("削除完了"));
    EXPECT_TRUE(t.dir().exists(kList));
    EXPECT_TRUE(t.dir().read(kList).isEmpty());
    EXPECT_EQ(t.editorList()->count(), 0);
    EXPECT_EQ(t.mainList()->count(), 0);
    EXPECT_EQ(t.rangeList()->count(), 0);
    EXPECT_EQ(t.records().size(), 3u);
}

TEST(Edit, RenameChangesExactMatchesEverywhere) {
    EditWindow t;
    const auto before = t.records();
    // the main panel shows today's measurement with its situation
    auto* day = t.find<ui::GridView>(QStringLiteral("msgDayList"));
    ASSERT_EQ(day->model().bodyRows(), 1);
    const int situationColumn = 1;
    ASSERT_EQ(day->cellText(1, situationColumn), QStringLiteral("A"));

    t.choose(0);
    t.click(QStringLiteral("cmdChg"));
    auto calls = t.takeCalls();
    ASSERT_EQ(calls.size(), 1);
    EXPECT_EQ(calls[0].prompt, QStringLiteral("変更したいコメントを入力してください"));
    EXPECT_EQ(calls[0].title, QStringLiteral("変更後コメント未入力"));
    EXPECT_EQ(calls[0].icon, Icon::Exclamation);

    t.field("txtChg")->setText(QStringLiteral("起床後"));
    t.dialogs().queueAnswer(Answer::Cancel);
    t.click(QStringLiteral("cmdChg"));
    calls = t.takeCalls();
    ASSERT_EQ(calls.size(), 1);
    EXPECT_EQ(calls[0].prompt, QStringLiteral("『A』 を 『起床後』 に変更します。よろしいですか？"));
    EXPECT_EQ(t.records(), before);

    t.dialogs().queueAnswer(Answer::Ok);
    t.click(QStringLiteral("cmdChg"));
    calls = t.takeCalls();
    ASSERT_EQ(calls.size(), 2);
    EXPECT_EQ(calls[1].prompt, QStringLiteral("コメントを入れ替えました。"));
    EXPECT_EQ(calls[1].title, QStringLiteral("コメント変更終了"));

    const auto after = t.records();
    ASSERT_EQ(after.size(), 3u);
    EXPECT_EQ(after[0].situation, QStringLiteral("起床後"));
    EXPECT_EQ(after[1], before[1]);
    EXPECT_EQ(after[2].situation, QStringLiteral("起床後"));
    for (size_t i : {0u, 2u}) {
        WeightRecord expected = before[i];
        expected.situation = QStringLiteral("起床後");
        EXPECT_EQ(after[i], expected) << i;
    }
    const QStringList words = {"起床後", "B", "C", "D"};
    EXPECT_EQ(items(t.editorList()), words);
    EXPECT_EQ(items(t.mainList()), words);
    EXPECT_EQ(items(t.rangeList()), words);
    EXPECT_TRUE(t.dir().read(kList).startsWith(test::sjis(QStringLiteral("\"起床後\"\r\n"))));
    EXPECT_EQ(day->cellText(1, situationColumn), QStringLiteral("起床後"));
    EXPECT_EQ(t.field("txtChg")->text(), QStringLiteral("起床後"));

    // the lists were refilled, so no word is chosen: nothing more is renamed
    const QByteArray log = t.dir().read(files::kData);
    t.click(QStringLiteral("cmdChg"));
    calls = t.takeCalls();
    ASSERT_EQ(calls.size(), 1);
    EXPECT_EQ(calls[0].buttons, Buttons::Ok);
    EXPECT_EQ(t.dir().read(files::kData), log);

    t.restart();
    EXPECT_EQ(items(t.mainList()), words);
}

TEST(Edit, RenameDropsAnUnsavedOrder) {
    EditWindow t;
    t.drag(0, 2);
    ASSERT_TRUE(t.sortMarked());
    t.choose(0);
    t.field("txtChg")->setText(QStringLiteral("E"));
    t.dialogs().queueAnswer(Answer::Ok);
    t.click(QStringLiteral("cmdChg"));
    // the list file kept the old order; the lists show it again
    EXPECT_EQ(items(t.editorList()), QStringList({"A", "E", "C", "D"}));
    EXPECT_FALSE(t.sortMarked());
}

// --- new start ---

namespace {

void fillNewStart(EditWindow& t) {
    t.field("txtPriData1")->setText(QStringLiteral("太郎"));
    t.field("txtSincyou1")->setText(QStringLiteral("170"));
    t.field("txtMokuTai1")->setText(QStringLiteral("62"));
    t.field("txtNowTai")->setText(QStringLiteral("70.5"));
    t.field("txtNowShi")->setText(QStringLiteral("25"));
}

} // namespace

TEST(NewStart, FrameOpensEmptyWithTheIntroduction) {
    EditWindow t;
    auto* frame = t.find<QFrame>(QStringLiteral("fraNew"));
    EXPECT_FALSE(frame->isVisible());
    t.click(QStringLiteral("cmdNew1"));
    const auto calls = t.takeCalls();
    ASSERT_EQ(calls.size(), 1);
    EXPECT_EQ(calls[0].title, QStringLiteral("データを登録しましょう"));
    EXPECT_EQ(calls[0].prompt, newstart::introduction().text);
    EXPECT_TRUE(frame->isVisible());
    EXPECT_EQ(t.field("txtNowJyou")->text(), QStringLiteral("はじめの一歩"));

    fillNewStart(t);
    t.field("txtNowJyou")->setText(QStringLiteral("再出発"));
    t.click(QStringLiteral("cmdYame"));
    EXPECT_FALSE(frame->isVisible());
    EXPECT_EQ(t.field("txtNowTai")->text(), QStringLiteral("70.5"));
    t.click(QStringLiteral("cmdNew1"));
    t.takeCalls();
    for (const char* name : {"txtPriData1", "txtSincyou1", "txtMokuTai1", "txtNowTai", "txtNowShi"})
        EXPECT_TRUE(t.field(name)->text().isEmpty()) << name;
    EXPECT_EQ(t.field("txtNowJyou")->text(), QStringLiteral("再出発"));
}

TEST(NewStart, ChecksStopAtTheFirstMissingFieldAndWriteNothing) {
    EditWindow t;
    const QStringList before = t.dir().files();
    const QByteArray log = t.dir().read(files::kData);
    t.click(QStringLiteral("cmdNew1"));
    t.takeCalls();
    t.click(QStringLiteral("cmdStHozon"));
    auto calls = t.takeCalls();
    ASSERT_EQ(calls.size(), 1);
    EXPECT_EQ(calls[0].prompt, QStringLiteral("身長が入力されていません"));
    EXPECT_EQ(calls[0].title, QStringLiteral("身長未入力"));
    EXPECT_EQ(calls[0].icon, Icon::Information);

    fillNewStart(t);
    t.field("txtNowJyou")->clear();
    t.click(QStringLiteral("cmdStHozon"));
    calls = t.takeCalls();
    ASSERT_EQ(calls.size(), 1);
    EXPECT_EQ(calls[0].prompt, QStringLiteral("初回の状況が入力されていません"));
    EXPECT_EQ(calls[0].title, QStringLiteral("初回状況（コメント）未入力"));

    // a height that is no number is refused before anything is written
    t.field("txtNowJyou")->setText(QStringLiteral("はじめの一歩"));
    t.field("txtSincyou1")->setText(QStringLiteral("１７０"));
    t.click(QStringLiteral("cmdStHozon"));
    calls = t.takeCalls();
    ASSERT_EQ(calls.size(), 1);
    EXPECT_NE(calls[0].buttons, Buttons::OkCancel);

    // Cancel at the confirmation changes nothing either
    t.field("txtSincyou1")->setText(QStringLiteral("170"));
    t.dialogs().queueAnswer(Answer::Cancel);
    t.click(QStringLiteral("cmdStHozon"));
    calls = t.takeCalls();
    ASSERT_EQ(calls.size(), 1);
    EXPECT_EQ(calls[0].prompt, QStringLiteral("入力した内容でデータを作ります。よろしいですか？"));
    EXPECT_EQ(calls[0].title, QStringLiteral("クリア確認"));
    EXPECT_EQ(calls[0].icon, Icon::Exclamation);
    EXPECT_EQ(calls[0].buttons, Buttons::OkCancel);
    EXPECT_EQ(t.dir().files(), before);
    EXPECT_EQ(t.dir().read(files::kData), log);
    EXPECT_TRUE(t.w().isVisible());
}

TEST(NewStart, StartKeepsTheOldLogAsABackupAndEndsTheProgram) {
    EditWindow t;
    const QByteArray oldLog = t.dir().read(files::kData);
    const QByteArray list = t.dir().read(kList);
    t.click(QStringLiteral("cmdNew1"));
    t.takeCalls();
    fillNewStart(t);
    t.field("txtPriData1")->clear();
    t.dialogs().queueAnswer(Answer::Ok);
    // Enter on the last link of the field chain starts as a click does
    QTest::keyClick(t.find<QPushButton>(QStringLiteral("cmdStHozon")), Qt::Key_Return);
    const auto calls = t.takeCalls();
    ASSERT_EQ(calls.size(), 2);
    EXPECT_EQ(calls[1].title, QStringLiteral("新規登録終了"));
    EXPECT_TRUE(calls[1].prompt.startsWith(
        QStringLiteral("登録が終了しました。\r\n\r\n一旦プログラムを終了させていただきます。")));
    EXPECT_TRUE(calls[1].prompt.contains(QStringLiteral("データ_20261207.txt"))) << calls[1].prompt.toStdString();
    EXPECT_FALSE(t.w().isVisible());

    EXPECT_EQ(t.dir().read(QStringLiteral("データ_20261207.txt")), oldLog);
    const auto log = t.records();
    ASSERT_EQ(log.size(), 1u);
    EXPECT_EQ(log[0].date, QStringLiteral("2026/12/07"));
    EXPECT_EQ(log[0].situation, QStringLiteral("はじめの一歩"));
    EXPECT_FLOAT_EQ(log[0].weight, 70.5f);
    EXPECT_TRUE(log[0].comment.isEmpty());
    EXPECT_FLOAT_EQ(log[0].bodyFat, 25.0f);
    EXPECT_TRUE(log[0].spare.isEmpty());
    const Profile p = settings::readProfile(t.dir().path()).value;
    EXPECT_TRUE(p.userName.isEmpty());
    EXPECT_FLOAT_EQ(p.height, 170.0f);
    EXPECT_FLOAT_EQ(p.targetWeight, 62.0f);
    EXPECT_EQ(t.dir().read(kList), list);

    t.restart();
    EXPECT_EQ(t.w().windowTitle(), QStringLiteral(" Pukapuka☆ダイエット"));
}

TEST(NewStart, EnterWalksTheFieldsToTheStartButton) {
    EditWindow t;
    t.w().activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&t.w()));
    t.click(QStringLiteral("cmdNew1"));
    t.takeCalls();
    const char* chain[] = {"txtPriData1", "txtSincyou1", "txtMokuTai1", "txtNowTai", "txtNowShi", "txtNowJyou"};
    EXPECT_EQ(QApplication::focusWidget(), t.field(chain[0]));
    for (size_t i = 0; i < std::size(chain); ++i) {
        QTest::keyClick(t.field(chain[i]), Qt::Key_Return);
        QWidget* next = i + 1 < std::size(chain) ? static_cast<QWidget*>(t.field(chain[i + 1]))
                                                 : t.find<QPushButton>(QStringLiteral("cmdStHozon"));
        EXPECT_EQ(QApplication::focusWidget(), next) << chain[i];
    }
    EXPECT_TRUE(t.takeCalls().isEmpty());
}

// --- profile ---

TEST(Profile, SaveStoresTheValuesAndSetsTheCaption) {
    EditWindow t;
    t.field("txtPriData")->setText(QStringLiteral("太郎"));
    t.field("txtSincyou")->setText(QStringLiteral(" 168.5 "));
    t.field("txtMokuTai")->setText(QStringLiteral("65"));
    t.click(QStringLiteral("cmdPHozon1"));
    auto calls = t.takeCalls();
    ASSERT_EQ(calls.size(), 1);
    EXPECT_EQ(calls[0].prompt, QStringLiteral("保存が終了しました"));
    EXPECT_EQ(calls[0].title, QStringLiteral("保存終了"));
    EXPECT_EQ(t.w().windowTitle(), QStringLiteral(" 太郎 の Pukapuka☆ダイエット"));
    const Profile p = settings::readProfile(t.dir().path()).value;
    EXPECT_EQ(p.userName, QStringLiteral("太郎"));
    EXPECT_FLOAT_EQ(p.height, 168.5f);
    EXPECT_FLOAT_EQ(p.targetWeight, 65.0f);
    EXPECT_FLOAT_EQ(t.w().state().profile.height, 168.5f);

    // opening again shows the stored values in their shortest form
    t.click(QStringLiteral("cmdMain"));
    t.click(QStringLiteral("cmdSettei"));
    EXPECT_EQ(t.field("txtSincyou")->text(), QStringLiteral("168.5"));
    EXPECT_EQ(t.field("txtMokuTai")->text(), QStringLiteral("65"));

    t.field("txtPriData")->clear();
    t.click(QStringLiteral("cmdPHozon1"));
    t.takeCalls();
    EXPECT_EQ(t.w().windowTitle(), QStringLiteral(" Pukapuka☆ダイエット"));
}

TEST(Profile, MissingOrNonNumericValuesAreRefused) {
    EditWindow t;
    const QByteArray profile = t.dir().read(files::kProfile);
    const QString caption = t.w().windowTitle();
    t.field("txtPriData")->setText(QStringLiteral("太郎"));
    t.field("txtSincyou")->clear();
    t.click(QStringLiteral("cmdPHozon1"));
    auto calls = t.takeCalls();
    ASSERT_EQ(calls.size(), 1);
    EXPECT_EQ(calls[0].prompt, QStringLiteral("身長が入力されていません"));
    EXPECT_EQ(calls[0].title, QStringLiteral("身長未入力"));

    t.field("txtSincyou")->setText(QStringLiteral("160"));
    t.field("txtMokuTai")->setText(QStringLiteral("abc"));
    t.click(QStringLiteral("cmdPHozon1"));
    calls = t.takeCalls();
    ASSERT_EQ(calls.size(), 1);
    EXPECT_NE(calls[0].title, QStringLiteral("保存終了"));
    EXPECT_EQ(t.dir().read(files::kProfile), profile);
    EXPECT_EQ(t.w().windowTitle(), caption);
    EXPECT_EQ(t.w().state().profile.userName, QStringLiteral("花子"));
}

// --- input increments ---

TEST(Steps, StartUpShowsTheFileWithoutWritingIt) {
    const QDateTime old(QDate(2020, 1, 1), QTime(0, 0));
    test::Window t([&old](const test::WorkDir& d) {
        editData(d);
        d.writeText(files::kSteps, QStringLiteral("0.5\r\n0.3\r\n"));
        QFile f(QDir(d.path()).filePath(files::kSteps));
        ASSERT_TRUE(f.open(QIODevice::ReadWrite));
        ASSERT_TRUE(f.setFileTime(old, QFileDevice::FileModificationTime));
    });
    t.start();
    EXPECT_TRUE(t.find<QRadioButton>(QStringLiteral("optKizami(3)"))->isChecked());
    for (const char* name : {"optKizami1(1)", "optKizami1(2)", "optKizami1(3)"})
        EXPECT_FALSE(t.find<QRadioButton>(QString::fromUtf8(name))->isChecked()) << name;
    EXPECT_EQ(t.find<QLineEdit>(QStringLiteral("txtKizami2"))->text(), QStringLiteral("0.3"));
    EXPECT_TRUE(t.find<QLineEdit>(QStringLiteral("txtKizami"))->text().isEmpty());
    EXPECT_EQ(QFileInfo(QDir(t.dir().path()).filePath(files::kSteps)).lastModified(), old);
    EXPECT_TRUE(t.takeCalls().isEmpty());
}

TEST(Steps, OptionWritesBothLinesAndStepsTheMainPanel) {
    EditWindow t;
    t.click(QStringLiteral("optKizami(2)"));
    EXPECT_TRUE(t.takeCalls().isEmpty());
    EXPECT_EQ(t.dir().read(files::kSteps), QByteArray("0.2\r\n0.1\r\n"));
    t.click(QStringLiteral("optKizami1(3)"));
    EXPECT_EQ(t.dir().read(files::kSteps), QByteArray("0.2\r\n0.5\r\n"));

    t.click(QStringLiteral("cmdMain"));
    t.pickSituation(QStringLiteral("A"));
    t.click(QStringLiteral("cmdUp"));
    EXPECT_EQ(t.field("txtTaiInp")->text(), QStringLiteral("60"));
    t.click(QStringLiteral("cmdDn1"));
    EXPECT_EQ(t.field("txtShiInp")->text(), QStringLiteral("24.3"));
}

TEST(Steps, FreeStepIsWrittenAndShownAfterARestart) {
    EditWindow t;
    t.field("txtKizami")->setText(QStringLiteral("0.3"));
    QTest::keyClick(t.field("txtKizami"), Qt::Key_Return);
    EXPECT_EQ(t.dir().read(files::kSteps), QByteArray("0.3\r\n0.1\r\n"));
    t.field("txtKizami2")->setText(QStringLiteral("0.2"));
    QTest::keyClick(t.field("txtKizami2"), Qt::Key_Return);
    EXPECT_EQ(t.dir().read(files::kSteps), QByteArray("0.3\r\n0.2\r\n"));
    EXPECT_TRUE(t.takeCalls().isEmpty());

    t.restart();
    for (const char* name : {"optKizami(1)", "optKizami(2)", "optKizami(3)"})
        EXPECT_FALSE(t.find<QRadioButton>(QString::fromUtf8(name))->isChecked()) << name;
    EXPECT_EQ(t.find<QLineEdit>(QStringLiteral("txtKizami"))->text(), QStringLiteral("0.3"));
    EXPECT_TRUE(t.find<QRadioButton>(QStringLiteral("optKizami1(2)"))->isChecked());
    EXPECT_EQ(t.dir().read(files::kSteps), QByteArray("0.3\r\n0.2\r\n"));
}

TEST(Steps, FreeStepThatIsNoPositiveNumberIsRefused) {
    EditWindow t;
    const QByteArray file = t.dir().read(files::kSteps);
    for (const char* typed : {"abc", "", "0", "-0.1"}) {
        t.field("txtKizami")->setText(QString::fromUtf8(typed));
        QTest::keyClick(t.field("txtKizami"), Qt::Key_Return);
        const auto calls = t.takeCalls();
        ASSERT_EQ(calls.size(), 1) << typed;
        EXPECT_EQ(calls[0].title, QStringLiteral("刻み入力エラー"));
        EXPECT_EQ(calls[0].icon, Icon::Warning);
        EXPECT_EQ(t.dir().read(files::kSteps), file) << typed;
    }
    EXPECT_EQ(t.w().state().steps.weightStep, QStringLiteral("0.1"));
}
