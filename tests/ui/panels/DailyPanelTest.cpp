#include "core/files/DailyExport.h"
#include "core/files/FileNames.h"
#include "core/files/FileOps.h"
#include "core/views/CalendarView.h"
#include "core/views/DailyView.h"
#include "tests/ui/UiTestSupport.h"
#include "ui/controls/ChartView.h"
#include "ui/controls/GridView.h"
#include "ui/controls/RecordingPageSink.h"
#include "ui/panels/Panel.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>

#include <gtest/gtest.h>

#include <cerrno>

using namespace puka;
using Call = ui::ScriptedDialogs::Call;
using Answer = ui::Dialogs::Answer;
using Icon = ui::Dialogs::Icon;
using Buttons = ui::Dialogs::Buttons;
using Operation = ui::RecordingPageSink::Operation;
using test::FewDaysWindow;

namespace {

QStringList columnTexts(const GridModel& g, int column) {
    QStringList texts;
    for (int r = 0; r < g.bodyRows(); ++r)
        texts.append(g.cell(r, column));
    return texts;
}

QComboBox* combo(test::Window& t, const char* name) {
    return t.find<QComboBox>(QString::fromUtf8(name));
}

void choosePeriod(test::Window& t, const QString& start, const QString& end) {
    combo(t, "cboStdate2")->setEditText(start);
    combo(t, "cboEddate2")->setEditText(end);
    t.click(QStringLiteral("cmdKikanF2"));
}

/// Makes every file write fail while it lives.
struct FailingWrites {
    FailingWrites() {
        setFaultHook([](FileStep, const QString&) { return EACCES; });
    }
    ~FailingWrites() { setFaultHook(nullptr); }
};

} // namespace

TEST(DailyPanel, OpensOnTheWholeLogAndReopeningForgetsThePeriod) {
    FewDaysWindow f;
    test::Window& t = f.t;
    t.click(QStringLiteral("cmdAvgtai"));
    EXPECT_EQ(t.w().visiblePanel()->objectName(), QStringLiteral("fraAvgTai"));
    const GridModel& whole = grid(t, "msgAvgtai")->model();
    ASSERT_EQ(whole.bodyRows(), 31);
    EXPECT_EQ(whole.cell(0, 1), QStringLiteral("26/11/01"));
    EXPECT_EQ(whole.cell(0, 2), QStringLiteral("60.2"));
    EXPECT_EQ(whole.cell(30, 1), QStringLiteral("26/12/01"));
    EXPECT_EQ(t.find<ui::ChartView>(QStringLiteral("mcrAvgtai"))->chartModel().categoryCount(), 31);
    for (const char* name : {"cboStdate2", "cboEddate2"})
        EXPECT_EQ(combo(t, name)->count(), 31) << name;
    EXPECT_EQ(combo(t, "cboStdate2")->currentText(), QStringLiteral("26/11/01"));
    EXPECT_EQ(combo(t, "cboEddate2")->currentText(), QStringLiteral("26/12/01"));

    choosePeriod(t, QStringLiteral("26/11/02"), QStringLiteral("26/11/04"));
    EXPECT_TRUE(t.takeCalls().isEmpty());
    const GridModel& chosen = grid(t, "msgAvgtai")->model();
    EXPECT_EQ(columnTexts(chosen, 0), (QStringList{"1", "2", "3"}));
    EXPECT_EQ(columnTexts(chosen, 1), (QStringList{"26/11/02", "26/11/03", "26/11/04"}));
    EXPECT_EQ(columnTexts(chosen, 2), (QStringList{"60.1", "", "59.7"}));
    EXPECT_EQ(t.find<ui::ChartView>(QStringLiteral("mcrAvgtai"))->chartModel().categoryCount(), 3);
    // the combos keep the chosen period and their lists
    EXPECT_EQ(combo(t, "cboStdate2")->currentText(), QStringLiteral("26/11/02"));
    EXPECT_EQ(combo(t, "cboEddate2")->currentText(), QStringLiteral("26/11/04"));
    EXPECT_EQ(combo(t, "cboEddate2")->count(), 31);

    // the button of the visible panel rebuilds nothing
    t.click(QStringLiteral("cmdAvgtai"));
    EXPECT_EQ(grid(t, "msgAvgtai")->model().bodyRows(), 3);

    t.click(QStringLiteral("cmdMain"));
    t.click(QStringLiteral("cmdAvgtai"));
    EXPECT_EQ(grid(t, "msgAvgtai")->model().bodyRows(), 31);
    EXPECT_EQ(combo(t, "cboStdate2")->currentText(), QStringLiteral("26/11/01"));
    EXPECT_EQ(combo(t, "cboEddate2")->currentText(), QStringLiteral("26/12/01"));
    EXPECT_EQ(combo(t, "cboStdate2")->count(), 31);
}

TEST(DailyPanel, PeriodThatIsNoPeriodIsRefusedAndChangesNothing) {
    FewDaysWindow f;
    test::Window& t = f.t;
    t.click(QStringLiteral("cmdAvgtai"));
    choosePeriod(t, QStringLiteral("26/11/02"), QStringLiteral("26/11/04"));
    const GridModel before = grid(t, "msgAvgtai")->model();
    const ChartModel chartBefore = t.find<ui::ChartView>(QStringLiteral("mcrAvgtai"))->chartModel();

    const std::pair<QString, QString> refused[] = {
        {QStringLiteral("26/11/20"), QStringLiteral("26/11/05")}, // End before Start
        {QStringLiteral("26/11/02"), QStringLiteral("26/13/01")}, // no date
        {QStringLiteral(""), QStringLiteral("26/11/05")},
    };
    for (const auto& [start, end] : refused) {
        choosePeriod(t, start, end);
        const auto calls = t.takeCalls();
        ASSERT_EQ(calls.size(), 1) << start.toStdString() << " " << end.toStdString();
        EXPECT_EQ(calls[0].title, daily::periodRefusalTitle());
        EXPECT_EQ(calls[0].icon, Icon::Warning);
        EXPECT_EQ(calls[0].prompt, daily::readPeriod(start, end).message());
        EXPECT_EQ(grid(t, "msgAvgtai")->model().texts(), before.texts());
        EXPECT_EQ(t.find<ui::ChartView>(QStringLiteral("mcrAvgtai"))->chartModel().categoryCount(),
                  chartBefore.categoryCount());
        // the user's texts stay to be corrected
        EXPECT_EQ(combo(t, "cboStdate2")->currentText(), start);
        EXPECT_EQ(combo(t, "cboEddate2")->currentText(), end);
    }
}

TEST(DailyExport, WritesTheListAsShownAndSaysSo) {
    FewDaysWindow f;
    test::Window& t = f.t;
    t.click(QStringLiteral("cmdAvgtai"));
    choosePeriod(t, QStringLiteral("26/11/02"), QStringLiteral("26/11/04"));
    t.click(QStringLiteral("cmdAvgHozon"));
    auto calls = t.takeCalls();
    ASSERT_EQ(calls.size(), 1);
    EXPECT_EQ(calls[0].prompt,
              QStringLiteral("日毎平均.txt のファイル名で保存しました。 エクセルなどの表計算ソフトにも読み込めます。"));
    EXPECT_EQ(calls[0].title, QStringLiteral("保存終了"));
    EXPECT_EQ(calls[0].icon, Icon::Information);
    EXPECT_EQ(t.dir().read(QStringLiteral("日毎平均.txt")),
              test::sjis(QStringLiteral("\"26/11/02\",60.1\r\n\"26/11/03\",0\r\n\"26/11/04\",59.7\r\n")));

    // a second export replaces the first: the whole log is listed again after reopening
    t.click(QStringLiteral("cmdMain"));
    t.click(QStringLiteral("cmdAvgtai"));
    t.click(QStringLiteral("cmdAvgHozon"));
    t.takeCalls();
    const QByteArray whole = t.dir().read(QStringLiteral("日毎平均.txt"));
    EXPECT_EQ(whole.count("\r\n"), 31);
    EXPECT_TRUE(whole.startsWith(test::sjis(QStringLiteral("\"26/11/01\",60.2\r\n"))));
}

TEST(DailyExport, FailedWriteIsReportedAndKeepsTheFormerFile) {
    FewDaysWindow f;
    test::Window& t = f.t;
    const QByteArray former = test::sjis(QStringLiteral("\"03/11/08\",65\r\n"));
    t.dir().write(QStringLiteral("日毎平均.txt"), former);
    t.click(QStringLiteral("cmdAvgtai"));
    {
        FailingWrites failing;
        t.click(QStringLiteral("cmdAvgHozon"));
    }
    const auto calls = t.takeCalls();
    ASSERT_EQ(calls.size(), 1);
    EXPECT_EQ(calls[0].title, daily::exportFailedTitle());
    EXPECT_EQ(calls[0].icon, Icon::Critical);
    EXPECT_FALSE(calls[0].prompt.isEmpty());
    EXPECT_EQ(t.dir().read(QStringLiteral("日毎平均.txt")), former);
}

TEST(DailyPrint, ChartStandsBesideTheListAsShown) {
    FewDaysWindow f;
    test::Window& t = f.t;
    t.click(QStringLiteral("cmdAvgtai"));
    choosePeriod(t, QStringLiteral("26/11/02"), QStringLiteral("26/11/04"));
    QApplication::clipboard()->clear();

    t.dialogs().queueAnswer(Answer::Ok);
    t.printer().queueAnswer(ui::ScriptedPrinter::Answer::Print);
    t.click(QStringLiteral("cmdAvgPri"));
    const auto calls = t.takeCalls();
    ASSERT_EQ(calls.size(), 1);
    EXPECT_EQ(calls[0].prompt,
              QStringLiteral("表示中のデータを印刷しますか？ \r\n\r\n良かったらＯＫボタンを押してください"));
    EXPECT_EQ(calls[0].title, QStringLiteral("印刷確認"));
    EXPECT_EQ(calls[0].icon, Icon::Question);
    EXPECT_EQ(calls[0].buttons, Buttons::OkCancel);
    ASSERT_EQ(t.printer().calls().size(), 1);
    EXPECT_EQ(t.printer().calls()[0].pdfSuggestedName, QStringLiteral("日毎平均.pdf"));
    const QList<Operation> paper = t.printer().calls()[0].paper;
    EXPECT_EQ(t.printer().calls()[0].preview.size(), paper.size());

    // the chart comes first, at the top left, and keeps clear of the list
    ASSERT_FALSE(paper.isEmpty());
    const Operation chart = paper.first();
    ASSERT_EQ(chart.kind, Operation::Kind::Picture);
    EXPECT_EQ(chart.x, 0);
    EXPECT_EQ(chart.y, 0);
    EXPECT_FALSE(chart.pictureSize.isEmpty());
    EXPECT_GT(chart.width, 0);
    EXPECT_LT(chart.width, daily::kPrintListX);
    EXPECT_NEAR(double(chart.width) / chart.height, double(chart.pictureSize.width()) / chart.pictureSize.height(),
                0.02);
    const auto of = [&paper](Operation::Kind kind) {
        QList<Operation> found;
        for (const Operation& op : paper)
            if (op.kind == kind)
                found.append(op);
        return found;
    };
    EXPECT_EQ(of(Operation::Kind::Picture).size(), 1);

    const QList<Operation> texts = of(Operation::Kind::Text);
    QStringList lines;
    for (const Operation& op : texts) {
        EXPECT_GE(op.x, daily::kPrintListX) << op.text.toStdString();
        lines.append(op.text);
    }
    EXPECT_EQ(lines, (QStringList{QStringLiteral("\u3000日付け    \u3000  体重"), QStringLiteral("-------------------"),
                                  "26/11/02", "60.1", "26/11/03", "26/11/04", "59.7"}));
    ASSERT_EQ(texts.size(), 7);
    EXPECT_EQ(texts[0].x, 9500);
    EXPECT_EQ(texts[0].y, 0);
    EXPECT_EQ(texts[1].x, 9500);
    EXPECT_GT(texts[1].y, texts[0].y);
    // the mean stands in the print zone after its date, on the date's line
    EXPECT_EQ(texts[2].x, 9500);
    EXPECT_EQ(texts[3].y, texts[2].y);
    EXPECT_EQ(texts[3].x % (ui::PageSink::kZoneColumns * 100), 0);
    EXPECT_GT(texts[3].x, 9500);
    EXPECT_EQ(texts[4].x, 9500);
    EXPECT_EQ(paper.last().kind, Operation::Kind::EndDocument);
    // the chart's picture stays on the clipboard
    EXPECT_FALSE(QApplication::clipboard()->pixmap().isNull());
}

TEST(DailyPrint, CancelledQuestionPrintsNothingAndLeavesTheClipboard) {
    FewDaysWindow f;
    test::Window& t = f.t;
    t.click(QStringLiteral("cmdAvgtai"));
    QApplication::clipboard()->setText(QStringLiteral("前のコピー"));

    t.dialogs().queueAnswer(Answer::Cancel);
    t.click(QStringLiteral("cmdAvgPri"));
    EXPECT_EQ(t.takeCalls().size(), 1);
    EXPECT_TRUE(t.printer().calls().isEmpty());
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("前のコピー"));
    EXPECT_TRUE(QApplication::clipboard()->pixmap().isNull());
}

TEST(DailyCalendarHelpTour, SpeaksWhenAPanelOpensOnly) {
    FewDaysWindow f(1);
    test::Window& t = f.t;
    t.click(QStringLiteral("cmdAvgtai"));
    auto calls = t.takeCalls();
    ASSERT_EQ(calls.size(), 1);
    EXPECT_EQ(calls[0].title, QStringLiteral("ヘルプツアー"));
    EXPECT_EQ(calls[0].prompt, daily::guidanceText());
    // the button of the visible panel says nothing more
    t.click(QStringLiteral("cmdAvgtai"));
    EXPECT_TRUE(t.takeCalls().isEmpty());

    t.click(QStringLiteral("cmdCale"));
    calls = t.takeCalls();
    ASSERT_EQ(calls.size(), 1);
    EXPECT_EQ(calls[0].prompt, calendar::guidanceText());
    t.click(QStringLiteral("cmdSel1(1)"));
    t.click(QStringLiteral("cmdCale"));
    EXPECT_TRUE(t.takeCalls().isEmpty());
}
