#include "ui/controls/ChartView.h"
#include "ui/controls/GridView.h"
#include "ui/controls/MonthCalendar.h"
#include "ui/controls/QtDialogs.h"
#include "ui/controls/QtPrinter.h"
#include "ui/controls/RecordingPageSink.h"
#include "ui/controls/ScriptedDialogs.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCategoryAxis>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QLegendMarker>
#include <QLineSeries>
#include <QMessageBox>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTextCharFormat>
#include <QTimer>
#include <QValueAxis>

#include <gtest/gtest.h>

#include <random>

#include <cmath>

using namespace puka;
using namespace puka::ui;

namespace {

const double kUnset = ChartModel::unset();

GridModel sampleGrid(int rows, int fixedColumns = 1) {
    GridModel g;
    g.fixedColumns = fixedColumns;
    g.fontPt = 10;
    g.columns = {{QStringLiteral("回"), 600, Align::CenterCenter},
                 {QStringLiteral("行動"), 1800, Align::LeftCenter, Align::LeftCenter},
                 {QStringLiteral("体重"), 800, Align::RightCenter},
                 {QStringLiteral("差"), 320, Align::CenterCenter}};
    g.reserve(rows);
    for (int i = 0; i < rows; ++i) {
        const int r = g.addRow();
        g.setCell(r, 0, QString::number(i + 1));
        g.setCell(r, 1, QStringLiteral("朝食前"));
        g.setCell(r, 2, QStringLiteral("%1Kg").arg(60 + i % 10));
        g.setCell(r, 3, QStringLiteral("↓"));
        g.setColour(r, 3, differencecolour::kDown);
    }
    return g;
}

// a shown view, so that scrolling and clicks work on real geometry
void showSized(QWidget& w, int width, int height) {
    w.resize(width, height);
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
}

ChartModel sampleChart(std::vector<double> weights, std::vector<double> fat) {
    ChartModel c;
    c.series.push_back({QStringLiteral("体重"), false, std::move(weights)});
    c.series.push_back({QStringLiteral("体脂肪率"), true, std::move(fat)});
    return c;
}

std::vector<double> xsOf(const QXYSeries* s) {
    std::vector<double> xs;
    for (const QPointF& p : s->points())
        xs.push_back(p.x());
    return xs;
}

} // namespace

// ---- GridView ----

TEST(GridView, ShowsHeadersCellsColoursAndAlignments) {
    GridView view;
    view.setModel(sampleGrid(3));
    const QAbstractItemModel* m = view.tableModel();
    ASSERT_EQ(m->rowCount(), 3);
    EXPECT_EQ(view.rows(), 4);
    EXPECT_EQ(m->headerData(1, Qt::Horizontal).toString(), QStringLiteral("行動"));
    EXPECT_EQ(view.cellText(0, 2), QStringLiteral("体重"));
    EXPECT_EQ(m->headerData(0, Qt::Horizontal, Qt::TextAlignmentRole).value<Qt::Alignment>(), Qt::AlignCenter);
    EXPECT_EQ(m->headerData(1, Qt::Horizontal, Qt::TextAlignmentRole).value<Qt::Alignment>(),
              Qt::AlignLeft | Qt::AlignVCenter);

    // grid row 2 is model row 1
    EXPECT_EQ(view.cellText(2, 0), QStringLiteral("2"));
    EXPECT_EQ(m->index(1, 0).data().toString(), QStringLiteral("2"));
    EXPECT_EQ(m->index(0, 1).data(Qt::TextAlignmentRole).value<Qt::Alignment>(), Qt::AlignLeft | Qt::AlignVCenter);
    EXPECT_EQ(m->index(0, 2).data(Qt::TextAlignmentRole).value<Qt::Alignment>(), Qt::AlignRight | Qt::AlignVCenter);
    EXPECT_EQ(m->index(0, 3).data(Qt::TextAlignmentRole).value<Qt::Alignment>(), Qt::AlignCenter);

    EXPECT_EQ(m->index(2, 3).data(Qt::BackgroundRole).value<QBrush>().color(), QColor(192, 255, 192));
    EXPECT_FALSE(m->index(2, 2).data(Qt::BackgroundRole).isValid());
    // the fixed column is drawn like the header
    EXPECT_EQ(m->index(2, 0).data(Qt::BackgroundRole).value<QBrush>().color(), GridTableModel::fixedCellColour());

    EXPECT_EQ(view.editTriggers(), QAbstractItemView::NoEditTriggers);
    EXPECT_FALSE(m->flags(m->index(0, 0)) & Qt::ItemIsEditable);
}

TEST(GridView, ColumnWidthsFollowTwipsAndFontFollowsPoints) {
    GridView view;
    GridModel g = sampleGrid(1);
    g.fontPt = 11;
    view.setModel(g);
    // 600, 1800, 800 and 320 twips at the offscreen screen's 96 dpi (15 twips to the pixel)
    ASSERT_EQ(view.logicalDpiX(), 96);
    const int pixels[] = {40, 120, 53, 21};
    for (int c = 0; c < g.columnCount(); ++c)
        EXPECT_EQ(view.columnWidth(c), pixels[c]) << c;
    EXPECT_DOUBLE_EQ(view.font().pointSizeF(), 11.0);
}

TEST(GridView, ScrollToRowMakesItTheFirstVisibleRow) {
    GridView view;
    GridModel g = sampleGrid(200);
    g.topRow = 120;
    view.setModel(g);
    // the model's first row is applied once the grid has its size
    showSized(view, 400, 300);
    EXPECT_EQ(view.topRow(), 120);

    view.scrollToRow(51);
    EXPECT_EQ(view.topRow(), 51);
    view.scrollToRow(0);
    EXPECT_EQ(view.topRow(), 1);

    // past the end the grid stops with its last row in view
    view.scrollToRow(200);
    const int lastTop = view.rowViewportPosition(199);
    EXPECT_GE(lastTop, 0);
    EXPECT_LE(lastTop + view.rowHeight(199), view.viewport()->height());
}

TEST(GridView, HundredThousandRowsReplaceEverythingInOneReset) {
    GridView view;
    GridModel big;
    for (int c = 0; c < 12; ++c)
        big.columns.push_back({QStringLiteral("列%1").arg(c), 700});
    big.reserve(100000);
    for (int r = 0; r < 100000; ++r) {
        big.addRow();
        big.setCell(r, 11, QString::number(r));
    }
    QSignalSpy resets(view.tableModel(), &QAbstractItemModel::modelReset);
    view.setModel(std::move(big));
    EXPECT_EQ(resets.count(), 1);
    EXPECT_EQ(view.tableModel()->rowCount(), 100000);
    EXPECT_EQ(view.cellText(100000, 11), QStringLiteral("99999"));

    view.setModel(sampleGrid(2));
    EXPECT_EQ(view.tableModel()->rowCount(), 2);
    EXPECT_EQ(view.tableModel()->columnCount(), 4);
}

TEST(GridView, ClicksReportGridRowsAndSelectTheWholeRow) {
    GridView view;
    view.setModel(sampleGrid(5));
    showSized(view, 400, 300);
    QSignalSpy clicks(&view, &GridView::cellClicked);
    QSignalSpy doubleClicks(&view, &GridView::cellDoubleClicked);

    const QRect cell = view.visualRect(view.tableModel()->index(1, 2));
    QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, cell.center());
    ASSERT_EQ(clicks.count(), 1);
    EXPECT_EQ(clicks.at(0).at(0).toInt(), 2);
    EXPECT_EQ(clicks.at(0).at(1).toInt(), 2);
    EXPECT_EQ(view.currentRow(), 2);
    EXPECT_EQ(view.currentColumn(), 2);
    EXPECT_EQ(view.selectionModel()->selectedRows().size(), 1);

    QTest::mouseDClick(view.viewport(), Qt::LeftButton, {}, cell.center());
    ASSERT_EQ(doubleClicks.count(), 1);
    EXPECT_EQ(doubleClicks.at(0).at(0).toInt(), 2);

    // the fixed column is a view of its own and reports the same numbering
    auto* frozen = view.findChild<QTableView*>(QStringLiteral("gridFrozenColumn"));
    ASSERT_NE(frozen, nullptr);
    QTest::mouseClick(frozen->viewport(), Qt::LeftButton, {},
                      frozen->visualRect(view.tableModel()->index(3, 0)).center());
    EXPECT_EQ(clicks.last().at(0).toInt(), 4);
    EXPECT_EQ(clicks.last().at(1).toInt(), 0);
    EXPECT_EQ(view.currentRow(), 4);

    const QHeaderView* header = view.horizontalHeader();
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                      QPoint(header->sectionViewportPosition(2) + 5, header->height() / 2));
    EXPECT_EQ(clicks.last().at(0).toInt(), 0);
    EXPECT_EQ(clicks.last().at(1).toInt(), 2);

    view.setModel(sampleGrid(5));
    EXPECT_EQ(view.currentRow(), 0);
}

TEST(GridView, FixedColumnStaysInViewWhenScrolledSideways) {
    GridView view;
    GridModel g;
    g.fixedColumns = 1;
    for (int c = 0; c < 12; ++c)
        g.columns.push_back({QStringLiteral("列%1").arg(c), 1500});
    for (int r = 0; r < 30; ++r)
        g.addRow();
    view.setModel(g);
    showSized(view, 400, 300);
    auto* frozen = view.findChild<QTableView*>(QStringLiteral("gridFrozenColumn"));
    ASSERT_NE(frozen, nullptr);
    view.horizontalScrollBar()->setValue(view.horizontalScrollBar()->maximum());
    EXPECT_LT(view.columnViewportPosition(0), 0);
    EXPECT_TRUE(frozen->isVisible());
    EXPECT_EQ(frozen->x(), view.frameWidth());
    EXPECT_GE(frozen->width(), view.columnWidth(0));

    view.scrollToRow(20);
    EXPECT_EQ(frozen->rowAt(0), view.rowAt(0));

    g.fixedColumns = 0;
    view.setModel(g);
    EXPECT_FALSE(frozen->isVisible());
}

TEST(GridView, SetCellTextChangesOneCellOrAHeader) {
    GridView view;
    view.setModel(sampleGrid(3));
    QSignalSpy changed(view.tableModel(), &QAbstractItemModel::dataChanged);
    view.setCellText(2, 1, QStringLiteral("夕食後"));
    EXPECT_EQ(view.model().cell(1, 1), QStringLiteral("夕食後"));
    EXPECT_EQ(changed.count(), 1);
    view.setCellText(0, 1, QStringLiteral("状況"));
    EXPECT_EQ(view.tableModel()->headerData(1, Qt::Horizontal).toString(), QStringLiteral("状況"));
    view.setCellColour(1, 2, differencecolour::kUp);
    EXPECT_EQ(view.model().colour(0, 2), differencecolour::kUp);
    // outside the grid nothing changes and nothing breaks
    view.setCellText(9, 1, QStringLiteral("x"));
    view.setCellText(1, 9, QStringLiteral("x"));
    EXPECT_EQ(changed.count(), 2);
}

// ---- ChartView ----

TEST(ChartView, SetChartReplacesEachSeriesInOneCall) {
    ChartView chart;
    chart.setChart(sampleChart({65.1, 65.0, 64.8, 64.9, 64.7}, {24.0, 23.8, 23.9, 23.5, 23.6}));
    ASSERT_EQ(chart.seriesCount(), 2);
    EXPECT_EQ(chart.pointCount(0), 5);
    EXPECT_EQ(chart.pointCount(1), 5);
    QXYSeries* weight = chart.seriesParts(0).front();
    EXPECT_EQ(weight->name(), QStringLiteral("体重"));
    EXPECT_EQ(weight->points().at(0), QPointF(1, 65.1));

    QSignalSpy replaced(weight, &QXYSeries::pointsReplaced);
    QSignalSpy added(weight, &QXYSeries::pointAdded);
    chart.setChart(sampleChart({70, 71, 72}, {20, 21, 22}));
    EXPECT_EQ(replaced.count(), 1);
    EXPECT_EQ(added.count(), 0);
    EXPECT_EQ(chart.pointCount(0), 3);
    EXPECT_EQ(chart.categoryAxis()->max(), 3.5);
}

// A line of far more points than pixel columns is drawn from each column's first, lowest,
// highest and last point: the picture is the one every point draws, at any size, with gaps.
// Only where two lines meet exactly on a pixel's edge may the pixel take the other's colour.
TEST(ChartView, ThinnedLinesDrawThePictureOfEveryPoint) {
    std::mt19937 rng(4);
    std::normal_distribution<double> noise(0, 0.4);
    std::vector<double> weight, fat;
    double trend = 80;
    for (int i = 0; i < 40000; ++i) {
        trend += noise(rng) * 0.05;
        weight.push_back(i % 9000 < 30 ? kUnset : std::round((trend + noise(rng)) * 10) / 10);
        fat.push_back(std::round((25 + noise(rng)) * 10) / 10);
    }
    ChartView thin, whole;
    whole.setLineThinning(false);
    for (const QSize size : {QSize(700, 320), QSize(433, 251)}) {
        for (ChartView* view : {&thin, &whole}) {
            showSized(*view, size.width(), size.height());
            view->setChart(sampleChart(weight, fat));
        }
        // the labels and the thinning follow the layout a moment later: a picture is taken once
        // it no longer changes (a slow build, under a sanitizer, takes longer than a quick one)
        const auto settled = [](ChartView& view) {
            QImage last = view.grab().toImage();
            for (int i = 0; i < 60; ++i) {
                QTest::qWait(50);
                const QImage now = view.grab().toImage();
                if (now == last)
                    break;
                last = now;
            }
            return last;
        };
        const QImage thinPicture = settled(thin);
        const QImage wholePicture = settled(whole);
        EXPECT_LT(thin.pointCount(0), 4 * size.width() + 64);
        EXPECT_EQ(whole.pointCount(0), 39850);
        ASSERT_EQ(thinPicture.size(), wholePicture.size());
        int differ = 0;
        for (int y = 0; y < thinPicture.height(); ++y)
            for (int x = 0; x < thinPicture.width(); ++x)
                differ += thinPicture.pixel(x, y) != wholePicture.pixel(x, y);
        EXPECT_LE(differ, thinPicture.width() * thinPicture.height() / 10000) << size.width();
    }
}

TEST(ChartView, UnsetPointsAreNeverJoined) {
    ChartView chart;
    chart.setChart(sampleChart({65, 66, kUnset, 64, 63, kUnset, 62}, {kUnset, kUnset, 20, 21, 22, 23, 24}));
    const QList<QXYSeries*> weight = chart.seriesParts(0);
    ASSERT_EQ(weight.size(), 3);
    EXPECT_EQ(xsOf(weight[0]), (std::vector<double>{1, 2}));
    EXPECT_EQ(xsOf(weight[1]), (std::vector<double>{4, 5}));
    // a point between two gaps cannot be a line: it is a dot of its own
    EXPECT_EQ(weight[2]->type(), QAbstractSeries::SeriesTypeScatter);
    EXPECT_EQ(xsOf(weight[2]), (std::vector<double>{7}));
    EXPECT_EQ(chart.pointCount(0), 5);

    // a moving average starts late: one line from its first point
    const QList<QXYSeries*> fat = chart.seriesParts(1);
    ASSERT_EQ(fat.size(), 1);
    EXPECT_EQ(xsOf(fat[0]), (std::vector<double>{3, 4, 5, 6, 7}));

    // the gaps filled: one line again, and only one legend entry per series
    showSized(chart, 500, 300);
    chart.setChart(sampleChart({65, 66, 65, 64, 63, 62, 62}, {20, 20, 20, 21, 22, 23, 24}));
    EXPECT_EQ(chart.seriesParts(0).size(), 1);
    int legendEntries = 0;
    for (QLegendMarker* marker : chart.chart()->legend()->markers())
        legendEntries += marker->isVisible() ? 1 : 0;
    EXPECT_EQ(legendEntries, 2);
}

TEST(ChartView, HiddenSeriesAndAxesKeepTheirData) {
    ChartView chart;
    chart.setChart(sampleChart({65, kUnset, 64, 63}, {24, 23, 22, 21}));
    chart.setSeriesVisible(0, false);
    chart.setAxisVisible(ChartView::Axis::Primary, false);
    EXPECT_FALSE(chart.isSeriesVisible(0));
    for (QXYSeries* part : chart.seriesParts(0))
        EXPECT_FALSE(part->isVisible());
    EXPECT_EQ(chart.pointCount(0), 3);
    EXPECT_FALSE(chart.valueAxis(ChartView::Axis::Primary)->isVisible());
    EXPECT_TRUE(chart.seriesParts(1).front()->isVisible());

    // the choice holds across a rebuild, as the panels' chart modes do
    chart.setChart(sampleChart({65, 64, 63}, {24, 23, 22}));
    EXPECT_FALSE(chart.seriesParts(0).front()->isVisible());
    EXPECT_FALSE(chart.isAxisVisible(ChartView::Axis::Primary));

    chart.setSeriesVisible(0, true);
    chart.setAxisVisible(ChartView::Axis::Primary, true);
    EXPECT_TRUE(chart.seriesParts(0).front()->isVisible());
    EXPECT_TRUE(chart.isAxisVisible(ChartView::Axis::Primary));
    EXPECT_EQ(chart.pointCount(0), 3);

    chart.setSeriesColour(1, QColor(0xF0, 0x90, 0x30));
    for (QXYSeries* part : chart.seriesParts(1))
        EXPECT_EQ(part->pen().color(), QColor(0xF0, 0x90, 0x30));
}

TEST(ChartView, AxisLimitsAreAppliedAndUnsetOnesFollowTheData) {
    ChartView chart;
    ChartModel model = sampleChart({64.3, 70.1}, {22.4, 25.1});
    model.primary.min = 64;
    model.primary.max = 71;
    chart.setChart(model);
    const QValueAxis* primary = chart.valueAxis(ChartView::Axis::Primary);
    const QValueAxis* secondary = chart.valueAxis(ChartView::Axis::Secondary);
    EXPECT_EQ(primary->min(), 64);
    EXPECT_EQ(primary->max(), 71);
    EXPECT_LE(secondary->min(), 22.4);
    EXPECT_GE(secondary->max(), 25.1);

    chart.setAxisLimits(ChartView::Axis::Primary, 60, std::nullopt);
    EXPECT_EQ(primary->min(), 60);
    EXPECT_GE(primary->max(), 70.1);

    // limits left reversed by an empty build fall back to a usable range
    ChartModel empty = sampleChart({}, {});
    empty.primary.min = 999;
    empty.primary.max = 0;
    chart.setChart(empty);
    EXPECT_LT(primary->min(), primary->max());
}

TEST(ChartView, MarkerStylesSwitch) {
    ChartView chart;
    chart.setChart(sampleChart({65, 64, kUnset, 63}, {24, 23, kUnset, 22}));
    const auto lines = [&] { return chart.seriesParts(0).front(); };
    EXPECT_FALSE(lines()->pointsVisible());
    EXPECT_TRUE(lines()->lightMarker().isNull());

    chart.setMarkerStyle(ChartView::MarkerStyle::Circle);
    EXPECT_TRUE(lines()->pointsVisible());
    EXPECT_TRUE(lines()->lightMarker().isNull());

    chart.setMarkerStyle(ChartView::MarkerStyle::Ball);
    EXPECT_FALSE(lines()->pointsVisible());
    ASSERT_FALSE(lines()->lightMarker().isNull());
    // the ball picture was found in the resources: it is not blank
    const QImage ball = lines()->lightMarker();
    EXPECT_GT(qAlpha(ball.pixel(ball.width() / 2, ball.height() / 2)), 0);
    for (QXYSeries* part : chart.seriesParts(1))
        EXPECT_FALSE(part->lightMarker().isNull());

    // a rebuild keeps the style
    chart.setChart(sampleChart({65, 64}, {24, 23}));
    EXPECT_FALSE(lines()->lightMarker().isNull());
    chart.setMarkerStyle(ChartView::MarkerStyle::None);
    EXPECT_TRUE(lines()->lightMarker().isNull());
    EXPECT_FALSE(lines()->pointsVisible());
}

TEST(ChartView, ThousandsOfCategoriesGetAReadableNumberOfLabels) {
    ChartView chart;
    chart.resize(800, 400);
    ChartModel model = sampleChart(std::vector<double>(3000, 65.0), std::vector<double>(3000, 22.0));
    const QDate first(2003, 7, 25);
    for (int i = 0; i < 3000; ++i)
        model.categoryLabels.append(first.addDays(i / 2).toString(QStringLiteral("yy/MM/dd")));
    chart.setChart(model);
    const QStringList labels = chart.categoryAxis()->categoriesLabels();
    EXPECT_GE(labels.size(), 2);
    EXPECT_LE(labels.size(), 30);
    EXPECT_EQ(labels.front(), QStringLiteral("03/07/25"));
}

// Two weigh-ins of one situation on a day: each point keeps its label, which reads the same.
TEST(ChartView, ARepeatedLabelIsShownAtEveryPointItNames) {
    ChartView chart;
    chart.resize(800, 400);
    ChartModel model = sampleChart({65, 64, 63}, {24, 23, 22});
    model.categoryLabels = {QStringLiteral("起床後"), QStringLiteral("夕食後"), QStringLiteral("起床後")};
    chart.setChart(model);
    QStringList shown = chart.categoryAxis()->categoriesLabels();
    ASSERT_EQ(shown.size(), 3);
    EXPECT_EQ(chart.categoryAxis()->endValue(shown[2]), 3.0);
    for (QString& label : shown)
        label.remove(QChar(0x200B));
    EXPECT_EQ(shown, model.categoryLabels);
}

TEST(ChartView, ClickIsReportedAndThePictureHasTheChartsSize) {
    ChartView chart;
    chart.setChart(sampleChart({65, 64}, {24, 23}));
    chart.resize(500, 300);
    const QPixmap unshown = chart.grabPicture();
    EXPECT_EQ(unshown.deviceIndependentSize().toSize(), QSize(500, 300));

    showSized(chart, 500, 300);
    QSignalSpy clicks(&chart, &ChartView::clicked);
    QTest::mouseClick(chart.viewport(), Qt::LeftButton, {}, QPoint(250, 150));
    EXPECT_EQ(clicks.count(), 1);
    QTest::mouseClick(chart.viewport(), Qt::RightButton, {}, QPoint(250, 150));
    EXPECT_EQ(clicks.count(), 1);
}

// ---- MonthCalendar ----

TEST(MonthCalendar, OnlyUserClicksAreReported) {
    MonthCalendar calendar;
    QSignalSpy clicks(&calendar, &MonthCalendar::dateClicked);
    calendar.setSelectedDate(QDate(2024, 5, 10));
    EXPECT_EQ(clicks.count(), 0);
    EXPECT_EQ(calendar.selectedDate(), QDate(2024, 5, 10));
    EXPECT_EQ(calendar.monthShown(), 5);

    showSized(calendar, 320, 240);
    auto* days = calendar.findChild<QTableView*>(QStringLiteral("qt_calendar_calendarview"));
    ASSERT_NE(days, nullptr);
    QModelIndex fifteenth;
    // a month page shows "15" once: the days of the months around it are 1-14 or 23-31
    for (int r = 1; r < days->model()->rowCount() && !fifteenth.isValid(); ++r)
        for (int c = 0; c < days->model()->columnCount(); ++c)
            if (days->model()->index(r, c).data().toString() == QStringLiteral("15"))
                fifteenth = days->model()->index(r, c);
    ASSERT_TRUE(fifteenth.isValid());
    QTest::mouseClick(days->viewport(), Qt::LeftButton, {}, days->visualRect(fifteenth).center());
    ASSERT_EQ(clicks.count(), 1);
    EXPECT_EQ(clicks.at(0).at(0).toDate(), QDate(2024, 5, 15));
    EXPECT_EQ(calendar.selectedDate(), QDate(2024, 5, 15));
}

TEST(MonthCalendar, JapaneseWeekStartingOnSundayWithTodayMarked) {
    MonthCalendar calendar;
    EXPECT_EQ(calendar.locale().language(), QLocale::Japanese);
    EXPECT_EQ(calendar.firstDayOfWeek(), Qt::Sunday);
    const QColor sunday = calendar.weekdayTextFormat(Qt::Sunday).foreground().color();
    const QColor saturday = calendar.weekdayTextFormat(Qt::Saturday).foreground().color();
    EXPECT_GT(sunday.red(), sunday.blue());
    EXPECT_GT(saturday.blue(), saturday.red());

    calendar.setToday(QDate(2024, 5, 20));
    EXPECT_TRUE(calendar.dateTextFormat(QDate(2024, 5, 20)).background().style() != Qt::NoBrush);
    calendar.setToday(QDate(2024, 5, 21));
    EXPECT_EQ(calendar.dateTextFormat(QDate(2024, 5, 20)).background().style(), Qt::NoBrush);
}

// ---- PageSink ----

TEST(PageSink, LinesAdvanceByTheLineHeight) {
    RecordingPageSink page(100, 240);
    page.setY(5000);
    page.printLine(QStringLiteral("　日付け"));
    page.printLine(QStringLiteral("-----"));
    page.print(QStringLiteral("03/11/08"));
    page.print(QStringLiteral("　　"));
    page.print(QStringLiteral("朝"));
    const auto texts = page.texts();
    ASSERT_EQ(texts.size(), 5);
    EXPECT_EQ(texts[0].y, 5000);
    EXPECT_EQ(texts[1].y, 5240);
    EXPECT_EQ(texts[1].x, 0);
    // full-width characters take two columns
    EXPECT_EQ(texts[3].x, 800);
    EXPECT_EQ(texts[4].x, 1200);
    EXPECT_EQ(page.currentX(), 1400);
    EXPECT_EQ(page.currentY(), 5480);
}

TEST(PageSink, PrintZonesStartEvery14Columns) {
    RecordingPageSink page(100, 240);
    page.setY(1000);
    page.setX(3000);
    page.printZones(
        {QStringLiteral("65.3Kg"), QStringLiteral("22.6"), QStringLiteral("1.3%"), QStringLiteral("25.0%")});
    auto texts = page.texts();
    ASSERT_EQ(texts.size(), 4);
    EXPECT_EQ(texts[0].x, 3000);
    EXPECT_EQ(texts[1].x, 4200);
    EXPECT_EQ(texts[2].x, 5600);
    EXPECT_EQ(texts[3].x, 7000);
    for (const auto& t : texts)
        EXPECT_EQ(t.y, 1000);
    EXPECT_EQ(page.currentX(), 0);
    EXPECT_EQ(page.currentY(), 1240);

    // an item running past a zone start pushes the next one to the zone after
    page.printZones({QStringLiteral("1234567890123456"), QStringLiteral("x")});
    texts = page.texts();
    EXPECT_EQ(texts.last().x, 2800);
    EXPECT_EQ(texts.last().y, 1240);
}

TEST(PageSink, FullPageContinuesOnTheNextAndPicturesAreRecorded) {
    RecordingPageSink page(100, 240, 1000);
    QPixmap chart(96, 48);
    chart.fill(Qt::white);
    page.drawPicture(chart, 0, 0);
    page.drawPicture(chart, 100, 200, 3000, 1500);
    for (int i = 0; i < 5; ++i)
        page.printLine(QString::number(i));
    EXPECT_TRUE(page.endDocument());
    page.printLine(QStringLiteral("after the end"));

    const auto pictures = page.pictures();
    ASSERT_EQ(pictures.size(), 2);
    // a picture drawn at its own size: 96 pixels at 96 dpi are an inch
    ASSERT_EQ(chart.logicalDpiX(), 96);
    EXPECT_EQ(pictures[0].width, 1440);
    EXPECT_EQ(pictures[1].x, 100);
    EXPECT_EQ(pictures[1].height, 1500);
    EXPECT_EQ(pictures[1].pictureSize, QSize(96, 48));

    const auto texts = page.texts();
    ASSERT_EQ(texts.size(), 5);
    EXPECT_EQ(texts[3].y, 720);
    EXPECT_EQ(texts[3].page, 0);
    EXPECT_EQ(texts[4].y, 0);
    EXPECT_EQ(texts[4].page, 1);
    EXPECT_EQ(page.operations().last().kind, RecordingPageSink::Operation::Kind::EndDocument);
}

// ---- QtPrinter ----

// Qt's printer with the system's printers and the user's hand in the preview scripted: a
// preview printed from draws the paper on the printer as Qt's preview does.
class PreviewedPrinter : public QtPrinter {
public:
    PreviewedPrinter(Dialogs& dialogs, bool printerExists) : QtPrinter(dialogs), m_printerExists(printerExists) {}

    bool printFromPreview = true;
    int previews = 0;

protected:
    bool hasPrinter() const override { return m_printerExists; }
    bool preview(QWidget*, QPrinter& printer, const std::function<void(QPrinter&)>& paint) override {
        ++previews;
        if (printFromPreview)
            paint(printer);
        return printFromPreview;
    }

private:
    bool m_printerExists;
};

const Printer::Drawing kTwoLines = [](PageSink& page) {
    page.printLine(QStringLiteral("　日付け    　  体重"));
    page.printZones({QStringLiteral("03/11/08"), QStringLiteral("65.3")});
};

TEST(QtPrinter, WithoutPrinterThePrintoutGoesToAPdfTheUserNamesAfterThePreview) {
    QTemporaryDir dir;
    ScriptedDialogs dialogs;
    PreviewedPrinter printer(dialogs, false);
    dialogs.queueAnswer(Dialogs::Answer::No);
    EXPECT_EQ(printer.print(nullptr, QStringLiteral("範囲.pdf"), kTwoLines), Printer::Outcome::Cancelled);
    const auto calls = dialogs.takeCalls();
    ASSERT_EQ(calls.size(), 1);
    EXPECT_TRUE(calls[0].prompt.contains(QStringLiteral("プリンターが見つかりません")));
    EXPECT_EQ(calls[0].buttons, Dialogs::Buttons::YesNo);

    dialogs.queueAnswer(Dialogs::Answer::Yes);
    dialogs.queueFileName(QString());
    EXPECT_EQ(printer.print(nullptr, QStringLiteral("範囲.pdf"), kTwoLines), Printer::Outcome::Cancelled);
    EXPECT_EQ(dialogs.takeCalls().last().defaultText, QStringLiteral("範囲.pdf"));
    EXPECT_EQ(printer.previews, 0);

    // the preview closed: no file
    const QString pdf = dir.filePath(QStringLiteral("範囲.pdf"));
    printer.printFromPreview = false;
    dialogs.queueAnswer(Dialogs::Answer::Yes);
    dialogs.queueFileName(dir.filePath(QStringLiteral("範囲")));
    EXPECT_EQ(printer.print(nullptr, QStringLiteral("範囲.pdf"), kTwoLines), Printer::Outcome::Cancelled);
    EXPECT_EQ(printer.previews, 1);
    EXPECT_FALSE(QFile::exists(pdf));

    printer.printFromPreview = true;
    dialogs.queueAnswer(Dialogs::Answer::Yes);
    dialogs.queueFileName(dir.filePath(QStringLiteral("範囲")));
    EXPECT_EQ(printer.print(nullptr, QStringLiteral("範囲.pdf"), kTwoLines), Printer::Outcome::Printed);
    QFile file(pdf);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_TRUE(file.read(5).startsWith("%PDF"));
    EXPECT_TRUE(dialogs.unexpectedCalls().isEmpty());
}

TEST(QtPrinter, PdfThatCannotBeWrittenIsTold) {
    ScriptedDialogs dialogs;
    PreviewedPrinter printer(dialogs, false);
    dialogs.queueAnswer(Dialogs::Answer::Yes);
    dialogs.queueFileName(QStringLiteral("/nonexistent-folder/x.pdf"));
    EXPECT_EQ(printer.print(nullptr, QStringLiteral("x.pdf"), kTwoLines), Printer::Outcome::Failed);
    const auto calls = dialogs.calls();
    ASSERT_EQ(calls.size(), 3);
    EXPECT_EQ(calls[2].icon, Dialogs::Icon::Critical);
    EXPECT_TRUE(calls[2].prompt.contains(QStringLiteral("/nonexistent-folder/x.pdf"))) << calls[2].prompt.toStdString();
    EXPECT_TRUE(dialogs.unexpectedCalls().isEmpty());
}

TEST(QtPrinter, QtsPreviewShowsThePrintoutAndClosingItPrintsNothing) {
    class WithoutPrinter : public QtPrinter {
    public:
        using QtPrinter::QtPrinter;

    protected:
        bool hasPrinter() const override { return false; }
    };
    QTemporaryDir dir;
    ScriptedDialogs dialogs;
    WithoutPrinter printer(dialogs);
    dialogs.queueAnswer(Dialogs::Answer::Yes);
    dialogs.queueFileName(dir.filePath(QStringLiteral("x.pdf")));
    int drawings = 0;
    QString title;
    // the preview is modal: look at it from the event loop it runs, then close it
    std::function<void()> lookAndClose = [&] {
        auto* preview = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (!preview) {
            QTimer::singleShot(20, lookAndClose);
            return;
        }
        title = preview->windowTitle();
        const QString shot = qEnvironmentVariable("PUKAPUKA_SCREENSHOT_DIR");
        if (!shot.isEmpty())
            preview->grab().save(QDir(shot).filePath(QStringLiteral("preview.png")));
        preview->reject();
    };
    QTimer::singleShot(0, lookAndClose);
    const auto outcome = printer.print(nullptr, QStringLiteral("x.pdf"), [&drawings](PageSink& page) {
        ++drawings;
        kTwoLines(page);
    });
    EXPECT_EQ(outcome, Printer::Outcome::Cancelled);
    EXPECT_EQ(title, QStringLiteral("印刷プレビュー"));
    EXPECT_GE(drawings, 1);
    EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("x.pdf"))));
}

// ---- Dialogs ----

TEST(ScriptedDialogs, AnswersInOrderAndRecordsEveryBox) {
    ScriptedDialogs dialogs;
    dialogs.queueAnswer(Dialogs::Answer::Ok);
    dialogs.queueAnswer(Dialogs::Answer::No);
    dialogs.queueInput(QStringLiteral("散歩後"));
    dialogs.queueFileName(QStringLiteral("/tmp/a.pdf"));
    const QString prompt =
        QStringLiteral("表示中のデータを印刷しますか？ \r\n\r\n良かったらＯＫボタンを押してください");

    EXPECT_EQ(dialogs.message(prompt, QStringLiteral("印刷確認"), Dialogs::Icon::Question, Dialogs::Buttons::OkCancel),
              Dialogs::Answer::Ok);
    EXPECT_EQ(dialogs.message(QStringLiteral("本当？"), QStringLiteral("確認"), Dialogs::Icon::Exclamation,
                              Dialogs::Buttons::YesNo, Dialogs::DefaultButton::Second),
              Dialogs::Answer::No);
    EXPECT_EQ(dialogs.input(QStringLiteral("新しい状況"), QStringLiteral("追加"), QStringLiteral("朝")),
              QStringLiteral("散歩後"));
    EXPECT_EQ(dialogs.saveFileName(QStringLiteral("保存"), QStringLiteral("a.pdf"), QStringLiteral("PDF (*.pdf)")),
              QStringLiteral("/tmp/a.pdf"));

    const auto calls = dialogs.takeCalls();
    ASSERT_EQ(calls.size(), 4);
    EXPECT_EQ(calls[0].prompt, prompt);
    EXPECT_EQ(calls[0].title, QStringLiteral("印刷確認"));
    EXPECT_EQ(calls[0].icon, Dialogs::Icon::Question);
    EXPECT_EQ(calls[0].buttons, Dialogs::Buttons::OkCancel);
    EXPECT_EQ(calls[0].def, Dialogs::DefaultButton::First);
    EXPECT_EQ(calls[1].icon, Dialogs::Icon::Exclamation);
    EXPECT_EQ(calls[1].def, Dialogs::DefaultButton::Second);
    EXPECT_EQ(calls[2].kind, ScriptedDialogs::Kind::Input);
    EXPECT_EQ(calls[2].defaultText, QStringLiteral("朝"));
    EXPECT_EQ(calls[3].kind, ScriptedDialogs::Kind::SaveFileName);
    EXPECT_EQ(calls[3].filter, QStringLiteral("PDF (*.pdf)"));
    EXPECT_TRUE(dialogs.calls().isEmpty());
    EXPECT_TRUE(dialogs.unexpectedCalls().isEmpty());
    EXPECT_EQ(dialogs.unusedAnswers(), 0);
}

TEST(ScriptedDialogs, UnscriptedBoxesAreFaultsAnsweredSafely) {
    ScriptedDialogs dialogs;
    QStringList failures;
    dialogs.setFailureHandler([&](const QString& why) { failures.append(why); });
    EXPECT_EQ(dialogs.message(QStringLiteral("削除しますか？"), QStringLiteral("削除"), Dialogs::Icon::Exclamation,
                              Dialogs::Buttons::OkCancel),
              Dialogs::Answer::Cancel);
    EXPECT_EQ(dialogs.message(QStringLiteral("?"), QString(), Dialogs::Icon::Question, Dialogs::Buttons::YesNo),
              Dialogs::Answer::No);
    EXPECT_EQ(dialogs.input(QStringLiteral("?"), QString()), QString());
    EXPECT_EQ(dialogs.saveFileName(QString(), QStringLiteral("a.pdf"), QString()), QString());
    // an answer the box cannot give is a fault too
    dialogs.queueAnswer(Dialogs::Answer::Yes);
    EXPECT_EQ(dialogs.message(QStringLiteral("印刷？"), QString(), Dialogs::Icon::Question, Dialogs::Buttons::OkCancel),
              Dialogs::Answer::Cancel);
    EXPECT_EQ(dialogs.unexpectedCalls().size(), 5);
    EXPECT_EQ(failures.size(), 5);
    EXPECT_EQ(dialogs.unexpectedCalls().front().prompt, QStringLiteral("削除しますか？"));
}

TEST(QtDialogs, MessageBoxShowsJapaneseButtonsAndHonoursTheDefault) {
    QtDialogs dialogs;
    QStringList buttonTexts;
    QString defaultText;
    QString shownPrompt;
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        for (QAbstractButton* b : box->buttons())
            buttonTexts.append(b->text());
        defaultText = box->defaultButton() ? box->defaultButton()->text() : QString();
        shownPrompt = box->text();
        for (QAbstractButton* b : box->buttons())
            if (b->text() == QStringLiteral("はい"))
                b->click();
    });
    const auto answer =
        dialogs.message(QStringLiteral("体重が前回より5Kg以上違います。\r\nよろしいですか？"), QStringLiteral("確認"),
                        Dialogs::Icon::Question, Dialogs::Buttons::YesNo, Dialogs::DefaultButton::Second);
    EXPECT_EQ(answer, Dialogs::Answer::Yes);
    buttonTexts.sort();
    EXPECT_EQ(buttonTexts, (QStringList{QStringLiteral("いいえ"), QStringLiteral("はい")}));
    EXPECT_EQ(defaultText, QStringLiteral("いいえ"));
    EXPECT_FALSE(shownPrompt.contains(QLatin1Char('\r')));
}
