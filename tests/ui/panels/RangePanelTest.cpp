#include "ui/panels/RangePanel.h"
#include "core/base/Messages.h"
#include "core/files/FileNames.h"
#include "core/views/RangeConditions.h"
#include "core/views/RangePrintout.h"
#include "tests/ui/UiTestSupport.h"
#include "ui/controls/ChartView.h"
#include "ui/controls/GridView.h"
#include "ui/controls/RecordingPageSink.h"
#include "ui/controls/ScriptedPrinter.h"
#include "ui/panels/MainPanel.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QFocusEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include <gtest/gtest.h>

using namespace puka;
using Answer = ui::Dialogs::Answer;
using Icon = ui::Dialogs::Icon;
using Buttons = ui::Dialogs::Buttons;
using Axis = ui::ChartView::Axis;

namespace {

// Today is Monday 2026/12/07; the last record lies in the future.
void rangeData(const test::WorkDir& dir, int helpTour = 0) {
    test::writeOwnProfile(dir, helpTour);
    dir.writeText(files::kData, QStringLiteral("\"2026/11/30\",\"起床後\",60.2,\"\",25,\"\"\r\n"
                                               "\"2026/12/01\",\"夕食後\",60.8,\"\",25.3,\"\"\r\n"
                                               "\"2026/12/05\",\"起床後\",60,\"\",24.9,\"\"\r\n"
                                               "\"2026/12/06\",\"夕食前\",60.5,\"\",25.1,\"\"\r\n"
                                               "\"2026/12/06\",\"起床後\",59.9,\"\",24.8,\"\"\r\n"
                                               "\"2026/12/07\",\"起床後\",59.6,\"\",24.7,\"\"\r\n"
                                               "\"2026/12/09\",\"起床後\",59.5,\"\",24.6,\"\"\r\n"));
}

const QStringList kAllDates = {"2026/11/30", "2026/12/01", "2026/12/05", "2026/12/06", "2026/12/07", "2026/12/09"};

const QStringList kConditionButtons = {
    "cmdKikan1",  "cmdKikan2",  "cmdKikan3",  "cmdKikan4",  "cmdKikan5",  "cmdKikan6",  "cmdKikan7",
    "cmdKikan8",  "cmdAllDay",  "cmdKikanF",  "cmdWeek(0)", "cmdWeek(1)", "cmdWeek(2)", "cmdWeek(3)",
    "cmdWeek(4)", "cmdWeek(5)", "cmdWeek(6)", "cmdAllWeek", "cmdAllact",
};

/// The condition buttons that show the highlight, in the order of kConditionButtons.
QStringList highlighted(test::Window& t) {
    QStringList lit;
    for (const QString& name : kConditionButtons)
        if (t.find<QPushButton>(name)->palette().color(QPalette::Button) == QColor(255, 255, 192))
            lit.append(name);
    return lit;
}

const GridModel& list(test::Window& t) {
    return t.find<ui::GridView>(QStringLiteral("msgBunseki"))->model();
}

/// The dates of the listed rows as the grid shows them.
QStringList listedDates(test::Window& t) {
    const GridModel& g = list(t);
    QStringList dates;
    for (int r = 0; r < g.bodyRows(); ++r)
        dates.append(g.cell(r, 1));
    return dates;
}

QStringList items(QComboBox* box) {
    QStringList all;
    for (int i = 0; i < box->count(); ++i)
        all.append(box->itemText(i));
    return all;
}

QLineEdit* key(test::Window& t) {
    return t.find<QLineEdit>(QStringLiteral("txtKey"));
}

ui::ChartView* chart(test::Window& t) {
    return t.find<ui::ChartView>(QStringLiteral("mcrBunseki"));
}

/// Which of weight and body fat the chart shows, series and axis alike.
std::pair<bool, bool> chartShows(test::Window& t) {
    ui::ChartView* c = chart(t);
    EXPECT_EQ(c->isSeriesVisible(0), c->isAxisVisible(Axis::Primary));
    EXPECT_EQ(c->isSeriesVisible(1), c->isAxisVisible(Axis::Secondary));
    return {c->isSeriesVisible(0), c->isSeriesVisible(1)};
}

void pressEnter(test::Window& t, const QString& word) {
    key(t)->setText(word);
    QTest::keyClick(key(t), Qt::Key_Return);
}

void pickSituation(test::Window& t, const QString& word) {
    auto* listBox = t.find<QListWidget>(QStringLiteral("lstAct2"));
    const auto found = listBox->findItems(word, Qt::MatchExactly);
    ASSERT_FALSE(found.isEmpty()) << word.toStdString();
    QTest::mouseClick(listBox->viewport(), Qt::LeftButton, {}, listBox->visualItemRect(found.first()).center());
}

/// A window on the range data with the range panel open.
struct Opened {
    explicit Opened(int helpTour = 0) : t([helpTour](const test::WorkDir& d) { rangeData(d, helpTour); }) {
        t.start();
        t.takeCalls();
        t.click(QStringLiteral("cmdTaijyu"));
    }
    test::Window t;
};

/// Looks at the window when a box appears, then lets the scripted dialogs answer.
class WatchingDialogs : public ui::Dialogs {
public:
    WatchingDialogs(ui::Dialogs& inner, std::function<void()> look) : m_inner(inner), m_look(std::move(look)) {}

protected:
    Answer showMessage(const QString& prompt, const QString& title, Icon icon, Buttons buttons,
                       DefaultButton defaultButton) override {
        m_look();
        return m_inner.message(prompt, title, icon, buttons, defaultButton);
    }
    QString showInput(const QString& prompt, const QString& title, const QString& defaultText) override {
        return m_inner.input(prompt, title, defaultText);
    }
    QString askSaveFileName(const QString& title, const QString& suggestedName, const QString& filter) override {
        return m_inner.saveFileName(title, suggestedName, filter);
    }
    std::optional<ui::RecordForm> showRecordForm(const QString& title, const QString& prompt,
                                                 const ui::RecordForm& form, const QStringList& situations) override {
        return m_inner.editRecord(title, prompt, form, situations);
    }
    int showChoice(const QString& title, const QString& prompt, const QStringList& headers,
                   const QList<QStringList>& rows, const QString& okText) override {
        return m_inner.choose(title, prompt, headers, rows, okText);
    }
    QString askOpenFileName(const QString& title, const QString& filter) override {
        return m_inner.openFileName(title, filter);
    }
    std::optional<ui::SaveTarget> askSaveTarget(const QString& title, const QString& suggestedName,
                                                const QStringList& types, int defaultType) override {
        return m_inner.saveFileAs(title, suggestedName, types, defaultType);
    }
    std::optional<QString> showImportPreview(const QString& title, const ui::ImportPreviewForm& form) override {
        return m_inner.previewImport(title, form);
    }

private:
    ui::Dialogs& m_inner;
    std::function<void()> m_look;
};

using Operation = ui::RecordingPageSink::Operation;
using PrintAnswer = ui::ScriptedPrinter::Answer;

QList<Operation> textsOf(const QList<Operation>& operations) {
    QList<Operation> texts;
    for (const Operation& op : operations)
        if (op.kind == Operation::Kind::Text)
            texts.append(op);
    return texts;
}

} // namespace

TEST(RangePanel, OpensWithEveryRecordAndEveryConditionOnAllThenSpeaks) {
    test::Window t([](const test::WorkDir& d) { rangeData(d, 1); });
    t.start();
    t.takeCalls();
    auto* panel = t.find<ui::RangePanel>(QStringLiteral("fraTaijyu"));
    ASSERT_FALSE(panel->isVisible());

    // the guidance comes only once the panel is complete and shown
    bool looked = false;
    WatchingDialogs watching(*t.w().state().dialogs, [&] {
        looked = true;
        EXPECT_TRUE(panel->isVisible());
        EXPECT_FALSE(t.w().mainPanel()->isVisible());
        EXPECT_EQ(list(t).bodyRows(), 7);
        EXPECT_EQ(highlighted(t), (QStringList{"cmdAllDay", "cmdAllWeek", "cmdAllact"}));
    });
    t.w().state().dialogs = &watching;
    t.click(QStringLiteral("cmdTaijyu"));
    EXPECT_TRUE(looked);
    const auto calls = t.takeCalls();
    ASSERT_EQ(calls.size(), 1);
    EXPECT_EQ(calls[0].title, QStringLiteral("ヘルプツアー"));
    EXPECT_EQ(calls[0].prompt, range::guidanceText());
    EXPECT_EQ(t.w().visiblePanel(), panel);

    // every record, the future one included, with the date lists and bounds of the log
    EXPECT_EQ(listedDates(t),
              (QStringList{"26/11/30", "26/12/01", "26/12/05", "26/12/06", "26/12/06", "26/12/07", "26/12/09"}));
    auto* start = t.find<QComboBox>(QStringLiteral("cboStdate"));
    auto* end = t.find<QComboBox>(QStringLiteral("cboEddate"));
    EXPECT_EQ(items(start), kAllDates);
    EXPECT_EQ(items(end), kAllDates);
    EXPECT_EQ(start->currentText(), QStringLiteral("2026/11/30"));
    EXPECT_EQ(end->currentText(), QStringLiteral("2026/12/09"));
    EXPECT_TRUE(key(t)->text().isEmpty());
    EXPECT_EQ(panel->selectedWeekday(), range::kAllWeekdays);
    EXPECT_TRUE(t.find<QRadioButton>(QStringLiteral("optTai2"))->isChecked());
    EXPECT_EQ(chartShows(t), std::make_pair(true, false));
    EXPECT_EQ(chart(t)->pointCount(0), 7);
    auto* situations = t.find<QListWidget>(QStringLiteral("lstAct2"));
    ASSERT_EQ(situations->count(), 2);
    EXPECT_EQ(situations->item(0)->text(), QStringLiteral("起床後"));

    // the button of the open panel does nothing: no rebuild, no guidance
    key(t)->setText(QStringLiteral("typed"));
    start->setEditText(QStringLiteral("2026/12/05"));
    t.click(QStringLiteral("cmdTaijyu"));
    EXPECT_TRUE(t.takeCalls().isEmpty());
    EXPECT_EQ(key(t)->text(), QStringLiteral("typed"));
    EXPECT_EQ(start->currentText(), QStringLiteral("2026/12/05"));
    EXPECT_EQ(list(t).bodyRows(), 7);
}

TEST(RangePanel, ReopeningResetsEveryConditionAndFillsTheDateListsOnce) {
    Opened o;
    test::Window& t = o.t;
    pressEnter(t, QStringLiteral("起床後"));
    t.click(QStringLiteral("cmdWeek(1)"));
    t.click(QStringLiteral("cmdKikan2"));
    t.click(QStringLiteral("optShi2"));
    ASSERT_EQ(listedDates(t), (QStringList{"26/11/30", "26/12/07"}));
    ASSERT_EQ(highlighted(t), (QStringList{"cmdKikan2", "cmdWeek(1)"}));

    for (int round = 0; round < 2; ++round) {
        t.click(QStringLiteral("cmdMain"));
        t.click(QStringLiteral("cmdTaijyu"));
        EXPECT_EQ(list(t).bodyRows(), 7);
        EXPECT_TRUE(key(t)->text().isEmpty());
        EXPECT_EQ(highlighted(t), (QStringList{"cmdAllDay", "cmdAllWeek", "cmdAllact"}));
        EXPECT_EQ(t.find<ui::RangePanel>(QStringLiteral("fraTaijyu"))->selectedWeekday(), range::kAllWeekdays);
        EXPECT_TRUE(t.find<QRadioButton>(QStringLiteral("optTai2"))->isChecked());
        EXPECT_EQ(chartShows(t), std::make_pair(true, false));
        EXPECT_EQ(items(t.find<QComboBox>(QStringLiteral("cboStdate"))), kAllDates);
        EXPECT_EQ(items(t.find<QComboBox>(QStringLiteral("cboEddate"))), kAllDates);
        EXPECT_EQ(t.find<QComboBox>(QStringLiteral("cboEddate"))->currentText(), QStringLiteral("2026/12/09"));
    }
    // the weekday is really gone: a rebuild lists every weekday again
    t.click(QStringLiteral("cmdKikanF"));
    EXPECT_EQ(list(t).bodyRows(), 7);
}

TEST(RangePanel, PeriodButtonsWriteTheirBoundsAndListThatPeriodOnly) {
    Opened o;
    test::Window& t = o.t;
    auto* start = t.find<QComboBox>(QStringLiteral("cboStdate"));
    auto* end = t.find<QComboBox>(QStringLiteral("cboEddate"));

    t.click(QStringLiteral("cmdKikan1"));
    EXPECT_EQ(start->currentText(), QStringLiteral("2026/12/06"));
    EXPECT_EQ(end->currentText(), QStringLiteral("2026/12/07"));
    EXPECT_EQ(listedDates(t), (QStringList{"26/12/06", "26/12/06", "26/12/07"}));
    EXPECT_EQ(highlighted(t), (QStringList{"cmdKikan1", "cmdAllWeek", "cmdAllact"}));
    EXPECT_TRUE(t.find<ui::RangePanel>(QStringLiteral("fraTaijyu"))->isVisible());
    // the differences refer to the listed rows: the first listed row is its own reference
    const GridModel& g = list(t);
    EXPECT_EQ(g.cell(0, 0), QStringLiteral("1"));
    EXPECT_EQ(g.cell(0, 5), QStringLiteral("0.0Kg"));
    EXPECT_EQ(g.cell(0, 6), QStringLiteral("→"));
    EXPECT_EQ(g.cell(1, 5), QStringLiteral("-0.6Kg"));
    EXPECT_EQ(g.cell(1, 6), QStringLiteral("↓"));
    EXPECT_EQ(g.colour(1, 6), rgb(192, 255, 192));

    t.click(QStringLiteral("cmdKikan8"));
    EXPECT_EQ(start->currentText(), QStringLiteral("2026/12/05"));
    EXPECT_EQ(listedDates(t).first(), QStringLiteral("26/12/05"));
    EXPECT_EQ(highlighted(t), (QStringList{"cmdKikan8", "cmdAllWeek", "cmdAllact"}));

    // "全部" runs from the diet's first day to today: the future record is dropped
    t.click(QStringLiteral("cmdAllDay"));
    EXPECT_EQ(start->currentText(), QStringLiteral("2026/11/30"));
    EXPECT_EQ(end->currentText(), QStringLiteral("2026/12/07"));
    EXPECT_EQ(list(t).bodyRows(), 6);
    EXPECT_EQ(chart(t)->pointCount(0), 6);

    // "任意" takes the boxes as they stand; picking a date alone changes nothing
    start->setCurrentIndex(3);
    EXPECT_EQ(list(t).bodyRows(), 6);
    t.click(QStringLiteral("cmdKikanF"));
    EXPECT_EQ(listedDates(t), (QStringList{"26/12/06", "26/12/06", "26/12/07"}));
    EXPECT_EQ(highlighted(t), (QStringList{"cmdKikanF", "cmdAllWeek", "cmdAllact"}));
    // a rebuild never touches the date lists
    EXPECT_EQ(items(start), kAllDates);
    EXPECT_EQ(items(end), kAllDates);
}

TEST(RangePanel, EmptyBoundsOfAnyPeriod) {
    Opened o;
    test::Window& t = o.t;
    auto* start = t.find<QComboBox>(QStringLiteral("cboStdate"));
    auto* end = t.find<QComboBox>(QStringLiteral("cboEddate"));

    // an empty end lets nothing through, whatever the start
    end->setEditText(QString());
    t.click(QStringLiteral("cmdKikanF"));
    EXPECT_EQ(list(t).bodyRows(), 0);
    EXPECT_EQ(chart(t)->pointCount(0), 0);
    EXPECT_EQ(chart(t)->pointCount(1), 0);

    // an empty start sets no lower bound
    start->setEditText(QString());
    end->setEditText(QStringLiteral("2026/12/01"));
    t.click(QStringLiteral("cmdKikanF"));
    EXPECT_EQ(listedDates(t), (QStringList{"26/11/30", "26/12/01"}));
}

TEST(RangePanel, WeekdayButtonsRebuildWithTheirDayUntilAllIsPressed) {
    Opened o;
    test::Window& t = o.t;
    auto* panel = t.find<ui::RangePanel>(QStringLiteral("fraTaijyu"));

    t.click(QStringLiteral("cmdWeek(0)"));
    EXPECT_EQ(panel->selectedWeekday(), 0);
    EXPECT_EQ(listedDates(t), (QStringList{"26/12/06", "26/12/06"}));
    EXPECT_EQ(list(t).cell(0, 2), QStringLiteral("日"));
    EXPECT_EQ(list(t).cell(0, 0), QStringLiteral("1"));
    EXPECT_EQ(highlighted(t), (QStringList{"cmdAllDay", "cmdWeek(0)", "cmdAllact"}));
    EXPECT_TRUE(panel->isVisible());

    // the day holds through a period button; each group resets its own colours only
    t.click(QStringLiteral("cmdWeek(1)"));
    t.click(QStringLiteral("cmdAllDay"));
    EXPECT_EQ(listedDates(t), (QStringList{"26/11/30", "26/12/07"}));
    EXPECT_EQ(highlighted(t), (QStringList{"cmdAllDay", "cmdWeek(1)", "cmdAllact"}));

    t.click(QStringLiteral("cmdAllWeek"));
    EXPECT_EQ(panel->selectedWeekday(), range::kAllWeekdays);
    EXPECT_EQ(list(t).bodyRows(), 6);
    EXPECT_EQ(highlighted(t), (QStringList{"cmdAllDay", "cmdAllWeek", "cmdAllact"}));
}

TEST(RangePanel, SituationWordsAreSubstringsAndSearchIgnoresTheWeekday) {
    Opened o;
    test::Window& t = o.t;

    // a word typed and entered: every situation that contains it
    pressEnter(t, QStringLiteral("夕食"));
    EXPECT_EQ(listedDates(t), (QStringList{"26/12/01", "26/12/06"}));
    EXPECT_EQ(highlighted(t), (QStringList{"cmdAllDay", "cmdAllWeek"}));

    t.click(QStringLiteral("cmdAllact"));
    EXPECT_TRUE(key(t)->text().isEmpty());
    EXPECT_EQ(list(t).bodyRows(), 7);
    EXPECT_EQ(highlighted(t), (QStringList{"cmdAllDay", "cmdAllWeek", "cmdAllact"}));

    // Monday, then the list's word: both conditions apply
    t.click(QStringLiteral("cmdWeek(1)"));
    pickSituation(t, QStringLiteral("起床後"));
    EXPECT_EQ(key(t)->text(), QStringLiteral("起床後"));
    EXPECT_EQ(listedDates(t), (QStringList{"26/11/30", "26/12/07"}));
    EXPECT_EQ(highlighted(t), (QStringList{"cmdAllDay", "cmdWeek(1)"}));

    // 検索: the word and the period only, no colour changes, the panel stays as it is
    t.click(QStringLiteral("cmdAllact"));
    key(t)->setText(QStringLiteral("起床後"));
    t.click(QStringLiteral("cmdKensaku"));
    EXPECT_EQ(listedDates(t), (QStringList{"26/11/30", "26/12/05", "26/12/06", "26/12/07", "26/12/09"}));
    EXPECT_EQ(highlighted(t), (QStringList{"cmdAllDay", "cmdWeek(1)", "cmdAllact"}));
    EXPECT_EQ(t.find<ui::RangePanel>(QStringLiteral("fraTaijyu"))->selectedWeekday(), 1);

    // the next rebuild applies Monday again
    QTest::keyClick(key(t), Qt::Key_Return);
    EXPECT_EQ(listedDates(t), (QStringList{"26/11/30", "26/12/07"}));
    EXPECT_EQ(highlighted(t), (QStringList{"cmdAllDay", "cmdWeek(1)"}));
}

TEST(RangePanel, KeyboardChoiceInTheSituationListFiltersAsAClick) {
    Opened o;
    test::Window& t = o.t;
    auto* words = t.find<QListWidget>(QStringLiteral("lstAct2"));
    // the focus coming in rests on the first word without choosing it
    words->setFocus(Qt::TabFocusReason);
    words->setCurrentRow(0, QItemSelectionModel::NoUpdate);
    QTest::keyClick(words, Qt::Key_Space);
    EXPECT_EQ(key(t)->text(), QStringLiteral("起床後"));
    EXPECT_EQ(listedDates(t), (QStringList{"26/11/30", "26/12/05", "26/12/06", "26/12/07", "26/12/09"}));
    // the rebuild hides the panel for a moment; the focus comes back for the next key
    EXPECT_EQ(t.w().focusWidget(), words);

    QTest::keyClick(words, Qt::Key_Down);
    EXPECT_EQ(key(t)->text(), QStringLiteral("就寝前"));
    EXPECT_EQ(list(t).bodyRows(), 0);
    QTest::keyClick(words, Qt::Key_Up);
    EXPECT_EQ(list(t).bodyRows(), 5);

    key(t)->setText(QStringLiteral("夕食"));
    QTest::keyClick(words, Qt::Key_Return);
    EXPECT_EQ(key(t)->text(), QStringLiteral("起床後"));
    EXPECT_EQ(list(t).bodyRows(), 5);
}

TEST(RangePanel, KeywordBoxEmptiesWhenTheUserGoesIntoIt) {
    Opened o;
    test::Window& t = o.t;
    pressEnter(t, QStringLiteral("夕食"));
    ASSERT_EQ(list(t).bodyRows(), 2);

    // coming back from another window keeps the word
    QFocusEvent back(QEvent::FocusIn, Qt::ActiveWindowFocusReason);
    QApplication::sendEvent(key(t), &back);
    EXPECT_EQ(key(t)->text(), QStringLiteral("夕食"));

    // a click into the box empties it, and the list stays until the next rebuild
    QFocusEvent click(QEvent::FocusIn, Qt::MouseFocusReason);
    QApplication::sendEvent(key(t), &click);
    EXPECT_TRUE(key(t)->text().isEmpty());
    EXPECT_EQ(list(t).bodyRows(), 2);
    // Enter with the empty box drops the situation condition
    QTest::keyClick(key(t), Qt::Key_Return);
    EXPECT_EQ(list(t).bodyRows(), 7);
}

TEST(RangePanel, ChartOptionActsAtOnceAndSurvivesEveryRebuild) {
    Opened o;
    test::Window& t = o.t;
    t.click(QStringLiteral("optShi2"));
    EXPECT_EQ(chartShows(t), std::make_pair(false, true));
    EXPECT_EQ(chart(t)->pointCount(1), 7);

    t.click(QStringLiteral("cmdKikan2"));
    EXPECT_EQ(chart(t)->pointCount(1), 6);
    EXPECT_EQ(chartShows(t), std::make_pair(false, true));
    t.click(QStringLiteral("cmdKensaku"));
    EXPECT_EQ(chartShows(t), std::make_pair(false, true));
    pressEnter(t, QStringLiteral("起床後"));
    EXPECT_EQ(chartShows(t), std::make_pair(false, true));

    t.click(QStringLiteral("optKon2"));
    EXPECT_EQ(chartShows(t), std::make_pair(true, true));
    t.click(QStringLiteral("cmdWeek(0)"));
    EXPECT_EQ(chartShows(t), std::make_pair(true, true));
    t.click(QStringLiteral("optTai2"));
    EXPECT_EQ(chartShows(t), std::make_pair(true, false));
    // the hidden series keeps its data
    EXPECT_EQ(chart(t)->pointCount(1), 1);
}

TEST(RangePanel, PrintoutPutsTheChartAboveTheTableOfTheListedRows) {
    using Kind = ui::RecordingPageSink::Operation::Kind;
    Opened o;
    test::Window& t = o.t;
    t.click(QStringLiteral("cmdKikan1"));
    t.click(QStringLiteral("optShi2"));
    QApplication::clipboard()->setText(QStringLiteral("before"));

    t.dialogs().queueAnswer(Answer::Ok);
    t.printer().queueAnswer(PrintAnswer::Print);
    t.click(QStringLiteral("cmdPriData"));
    const auto calls = t.takeCalls();
    ASSERT_EQ(calls.size(), 1);
    EXPECT_EQ(calls[0].prompt, messages::printQuestion());
    EXPECT_EQ(calls[0].title, QStringLiteral("印刷確認"));
    EXPECT_EQ(calls[0].icon, Icon::Question);
    EXPECT_EQ(calls[0].buttons, Buttons::OkCancel);
    EXPECT_EQ(calls[0].def, ui::Dialogs::DefaultButton::First);
    ASSERT_EQ(t.printer().calls().size(), 1);
    const ui::ScriptedPrinter::Call& printed = t.printer().calls()[0];
    EXPECT_TRUE(printed.pdfSuggestedName.endsWith(QStringLiteral(".pdf")));
    const QList<Operation>& paper = printed.paper;
    // the preview shows the page that is printed
    ASSERT_EQ(printed.preview.size(), paper.size());
    for (qsizetype i = 0; i < paper.size(); ++i)
        EXPECT_EQ(printed.preview[i].text, paper[i].text);

    // the chart first, at the top left, ending above the header line
    ASSERT_FALSE(paper.isEmpty());
    const auto& picture = paper.first();
    EXPECT_EQ(picture.kind, Kind::Picture);
    EXPECT_EQ(picture.x, 0);
    EXPECT_EQ(picture.y, 0);
    EXPECT_GT(picture.width, 0);
    EXPECT_GT(picture.height, 0);
    EXPECT_LT(picture.y + picture.height, 5000);
    // the picture shows the chart as it is on the screen, body fat only
    EXPECT_EQ(picture.pictureSize, chart(t)->grabPicture().size());
    EXPECT_FALSE(QApplication::clipboard()->pixmap().isNull());

    // header and rule at the text top, then one line per listed row, values from 3000 in zones
    const auto texts = textsOf(paper);
    ASSERT_EQ(texts.size(), 2 + 3 * 5);
    EXPECT_EQ(texts[0].text, range::printHeaderLine());
    EXPECT_EQ(texts[0].x, 0);
    EXPECT_EQ(texts[0].y, 5000);
    EXPECT_EQ(texts[1].text, range::printRuleLine());
    EXPECT_EQ(texts[1].y, 5000 + 240);
    const int firstRow = 5000 + 2 * 240;
    EXPECT_EQ(texts[2].text, QStringLiteral("26/12/06\u3000\u3000夕食前"));
    EXPECT_EQ(texts[2].x, 0);
    EXPECT_EQ(texts[2].y, firstRow);
    // zones of 14 columns of 100 twips: 3000, then 4200, 5600 and 7000
    const QStringList values = {"60.5Kg", "23.6", "7.4%", "25.1%"};
    const int zones[] = {3000, 4200, 5600, 7000};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(texts[3 + i].text, values[i]) << i;
        EXPECT_EQ(texts[3 + i].x, zones[i]) << i;
        EXPECT_EQ(texts[3 + i].y, firstRow) << i;
    }
    EXPECT_EQ(texts[7].text, QStringLiteral("26/12/06\u3000\u3000起床後"));
    EXPECT_EQ(texts[7].y, firstRow + 240);
    EXPECT_EQ(texts[12].text, QStringLiteral("26/12/07\u3000\u3000起床後"));
    // the row number, weekday, differences and arrows stay off the page
    for (const auto& text : texts)
        EXPECT_FALSE(text.text.contains(QStringLiteral("↓")) || text.text == QStringLiteral("日"))
            << text.text.toStdString();
    EXPECT_EQ(paper.last().kind, Kind::EndDocument);
    // printing changes nothing on the panel
    EXPECT_EQ(list(t).bodyRows(), 3);
    EXPECT_EQ(chartShows(t), std::make_pair(false, true));
}

TEST(RangePanel, PrintoutOfAnEmptyListHasChartHeaderAndRuleOnly) {
    Opened o;
    test::Window& t = o.t;
    t.find<QComboBox>(QStringLiteral("cboEddate"))->setEditText(QString());
    t.click(QStringLiteral("cmdKikanF"));
    t.dialogs().queueAnswer(Answer::Ok);
    t.printer().queueAnswer(PrintAnswer::Print);
    t.click(QStringLiteral("cmdPriData"));
    ASSERT_EQ(t.printer().calls().size(), 1);
    const QList<Operation>& paper = t.printer().calls()[0].paper;
    EXPECT_EQ(textsOf(paper).size(), 2);
    ASSERT_EQ(paper.size(), 4);
    EXPECT_EQ(paper.first().kind, Operation::Kind::Picture);
}

TEST(RangePanel, PrintoutCancelledOrClosedInThePreview) {
    Opened o;
    test::Window& t = o.t;

    // anything but OK: no preview, the clipboard as it was
    QApplication::clipboard()->setText(QStringLiteral("before"));
    t.dialogs().queueAnswer(Answer::Cancel);
    t.click(QStringLiteral("cmdPriData"));
    EXPECT_EQ(t.takeCalls().size(), 1);
    EXPECT_TRUE(t.printer().calls().isEmpty());
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("before"));

    // the preview closed: seen, not printed, and nothing more to say
    t.dialogs().queueAnswer(Answer::Ok);
    t.printer().queueAnswer(PrintAnswer::Close);
    t.click(QStringLiteral("cmdPriData"));
    EXPECT_EQ(t.takeCalls().size(), 1);
    ASSERT_EQ(t.printer().calls().size(), 1);
    EXPECT_FALSE(t.printer().calls()[0].preview.isEmpty());
    EXPECT_TRUE(t.printer().calls()[0].paper.isEmpty());
}
