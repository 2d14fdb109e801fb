#include "core/files/Settings.h"
#include "core/views/GraphView.h"
#include "tests/ui/UiTestSupport.h"
#include "ui/controls/ChartView.h"
#include "ui/controls/GridView.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QDir>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QLineEdit>
#include <QMap>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QValueAxis>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>

using namespace puka;
using Icon = ui::Dialogs::Icon;
using Axis = ui::ChartView::Axis;
using test::kSampleRecords;
using test::OnEvent;
using test::quietSample;
using test::touringSample;

namespace {

const QString kWindowFile = QStringLiteral("移動平均.TXT");
ui::ChartView* chart(test::Window& t) {
    return t.find<ui::ChartView>(QStringLiteral("mcrRentai"));
}

QComboBox* combo(test::Window& t) {
    return t.find<QComboBox>(QStringLiteral("cboIdou"));
}

/// Types @p text into the moving-average combo and presses Enter there.
void enterWindow(test::Window& t, const QString& text) {
    QLineEdit* edit = combo(t)->lineEdit();
    edit->setText(text);
    QTest::keyClick(edit, Qt::Key_Return);
}

const std::vector<double>& averagePoints(test::Window& t) {
    return chart(t)->chartModel().series.at(1).points;
}

int firstAveragePoint(test::Window& t) {
    const auto& points = averagePoints(t);
    for (size_t i = 0; i < points.size(); ++i)
        if (std::isfinite(points[i]))
            return static_cast<int>(i);
    return -1;
}

/// Equal point by point, an unset point (NaN) equal only to an unset one.
bool samePoints(const std::vector<double>& a, const std::vector<double>& b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [](double x, double y) { return (std::isnan(x) && std::isnan(y)) || x == y; });
}

QColor buttonFace(QWidget* w) {
    return w->palette().color(QPalette::Button);
}

/// The labels of the report's trend view on the test's folder, with @p options.
QMap<QString, QString> reportedTrend(test::Window& t, const QStringList& options = {}) {
    const test::ToolRun r =
        test::runReport(QStringList{QStringLiteral("-C"), t.dir().path(), QStringLiteral("--format"),
                                    QStringLiteral("json"), QStringLiteral("trend")} +
                        options);
    QMap<QString, QString> labels;
    const QJsonObject all = QJsonDocument::fromJson(r.out.toUtf8()).object()[QStringLiteral("labels")].toObject();
    for (auto it = all.begin(); it != all.end(); ++it)
        labels.insert(it.key(), it.value().toString());
    return labels;
}

QMap<QString, QString> shownTrend(test::Window& t) {
    QMap<QString, QString> labels;
    for (const char* name : {"lblTrend", "lblRate", "lblBalance", "lblForecast"})
        labels.insert(QString::fromUtf8(name), t.find<QLabel>(QString::fromUtf8(name))->text());
    return labels;
}

/// Chooses @p text in the situation choice as a click in its list does.
void chooseSituation(test::Window& t, const QString& text) {
    QComboBox* box = t.find<QComboBox>(QStringLiteral("cboJyoukyou"));
    box->showPopup();
    QAbstractItemView* list = box->view();
    const QModelIndex item = box->model()->index(box->findText(text), 0);
    list->scrollTo(item);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualRect(item).center());
}

} // namespace

TEST(GraphPanel, OpensOnTheWeightViewAfterBuildingThenGuides) {
    test::Window t(touringSample);
    t.start();
    t.takeCalls();

    int pointsAtHide = -1;
    bool weightChosenAtHide = false;
    OnEvent onHide(t.find<QWidget>(QStringLiteral("fraMain")), QEvent::Hide, [&] {
        pointsAtHide = chart(t)->pointCount(0);
        weightChosenAtHide = t.find<QRadioButton>(QStringLiteral("optTai1"))->isChecked();
    });
    int callsAtShow = -1;
    OnEvent onShow(t.find<QWidget>(QStringLiteral("fraRenTai")), QEvent::Show,
                   [&] { callsAtShow = static_cast<int>(t.dialogs().calls().size()); });
    t.click(QStringLiteral("cmdRentai"));

    EXPECT_EQ(pointsAtHide, kSampleRecords) << "the chart is built before the other panels are hidden";
    EXPECT_TRUE(weightChosenAtHide);
    EXPECT_EQ(callsAtShow, 0);
    const auto calls = t.takeCalls();
    ASSERT_EQ(calls.size(), 1);
    EXPECT_EQ(calls[0].prompt, graph::guidanceText());
    EXPECT_TRUE(t.find<QWidget>(QStringLiteral("fraRenTai"))->isVisible());

    ui::ChartView* c = chart(t);
    ASSERT_EQ(c->seriesCount(), 4); // the trend last, see below
    EXPECT_EQ(c->chartModel().series[0].name, QStringLiteral("推移"));
    EXPECT_EQ(c->chartModel().series[1].name, QStringLiteral("移動平均"));
    EXPECT_EQ(c->chartModel().series[2].name, QStringLiteral("体脂肪率"));
    EXPECT_TRUE(c->chartModel().series[2].secondaryAxis);
    EXPECT_EQ(c->chartModel().categoryLabels.front(), QStringLiteral("2003/07/25"));
    EXPECT_EQ(c->markerStyle(), ui::ChartView::MarkerStyle::None);
    // blue weight, red moving average
    EXPECT_GT(c->seriesColour(0).blue(), c->seriesColour(0).red());
    EXPECT_GT(c->seriesColour(1).red(), c->seriesColour(1).blue());
    EXPECT_TRUE(c->isSeriesVisible(0));
    EXPECT_TRUE(c->isSeriesVisible(1));
    EXPECT_FALSE(c->isSeriesVisible(2));
    EXPECT_DOUBLE_EQ(c->valueAxis(Axis::Primary)->min(), 68);
    EXPECT_DOUBLE_EQ(c->valueAxis(Axis::Primary)->max(), 77);
    EXPECT_EQ(combo(t)->currentText(), QStringLiteral("10"));
    EXPECT_EQ(combo(t)->count(), 30);
    EXPECT_EQ(firstAveragePoint(t), 9);
    EXPECT_TRUE(t.find<QLabel>(QStringLiteral("lblKiro"))->text().startsWith(QStringLiteral("最小記録 ")));

    // whatever view was chosen, the panel opens on the weight view again
    t.click(QStringLiteral("optKon1"));
    EXPECT_TRUE(c->isSeriesVisible(2));
    t.click(QStringLiteral("cmdMain"));
    t.click(QStringLiteral("cmdRentai"));
    t.takeCalls();
    EXPECT_TRUE(t.find<QRadioButton>(QStringLiteral("optTai1"))->isChecked());
    EXPECT_FALSE(c->isSeriesVisible(2));
    EXPECT_FALSE(c->isAxisVisible(Axis::Secondary));
}

TEST(GraphPanel, SeriesOptionsShowAndHideWithoutTouchingTheData) {
    test::Window t(quietSample);
    t.start();
    t.takeCalls();
    t.click(QStringLiteral("cmdRentai"));
    ui::ChartView* c = chart(t);
    const ChartModel before = c->chartModel();
    const int points[] = {c->pointCount(0), c->pointCount(1), c->pointCount(2)};

    struct Row {
        const char* button;
        bool primary, secondary, weight, average, fat;
    };
    const Row rows[] = {
        {"optShi1", false, true, false, false, true},
        {"optKon1", true, true, true, true, true},
        {"optTai1", true, false, true, true, false},
        {"optKon1", true, true, true, true, true},
    };
    for (const Row& row : rows) {
        t.click(QString::fromUtf8(row.button));
        EXPECT_EQ(c->isAxisVisible(Axis::Primary), row.primary) << row.button;
        EXPECT_EQ(c->isAxisVisible(Axis::Secondary), row.secondary) << row.button;
        EXPECT_EQ(c->isSeriesVisible(0), row.weight) << row.button;
        EXPECT_EQ(c->isSeriesVisible(1), row.average) << row.button;
        EXPECT_EQ(c->isSeriesVisible(2), row.fat) << row.button;
        for (int i = 0; i < 3; ++i)
            EXPECT_EQ(c->pointCount(i), points[i]) << row.button;
        EXPECT_EQ(c->chartModel().series[0].points, before.series[0].points);
        EXPECT_EQ(c->chartModel().series[2].points, before.series[2].points);
    }

    // a new moving average keeps the chosen view
    t.click(QStringLiteral("optShi1"));
    enterWindow(t, QStringLiteral("3"));
    EXPECT_FALSE(c->isSeriesVisible(0));
    EXPECT_FALSE(c->isSeriesVisible(1));
    EXPECT_TRUE(c->isSeriesVisible(2));
    t.click(QStringLiteral("optKon1"));
    for (int i = 0; i < 3; ++i)
        EXPECT_TRUE(c->isSeriesVisible(i)) << i;
    EXPECT_TRUE(c->isAxisVisible(Axis::Primary));
    EXPECT_TRUE(t.takeCalls().isEmpty());
}

TEST(GraphPanel, ValidWindowRedrawsTheAverageAndIsSavedAsTyped) {
    test::Window t(quietSample);
    t.start();
    t.takeCalls();
    t.click(QStringLiteral("cmdRentai"));
    ui::ChartView* c = chart(t);
    const QString periodText = t.find<QLabel>(QStringLiteral("lblNichis"))->text();
    const auto limits = c->chartModel().primary;
    const auto weights = c->chartModel().series[0].points;

    enterWindow(t, QStringLiteral("12回"));
    EXPECT_TRUE(t.takeCalls().isEmpty());
    EXPECT_EQ(settings::readMovingAverage(t.dir().path()).value, QStringLiteral("12回"));
    EXPECT_EQ(t.w().state().movingAverage, QStringLiteral("12回"));
    EXPECT_EQ(combo(t)->currentText(), QStringLiteral("12回"));
    ASSERT_EQ(firstAveragePoint(t), 11);
    double sum = 0;
    for (int i = 0; i < 12; ++i)
        sum += weights[static_cast<size_t>(i)];
    EXPECT_NEAR(averagePoints(t)[11], sum / 12, 1e-4);
    EXPECT_EQ(c->chartModel().series[0].points, weights);
    // the axes and labels belong to the opening and stay
    EXPECT_EQ(c->chartModel().primary.min, limits.min);
    EXPECT_EQ(c->chartModel().primary.max, limits.max);
    EXPECT_EQ(t.find<QLabel>(QStringLiteral("lblNichis"))->text(), periodText);

    // an item chosen from the list applies at once
    QComboBox* box = combo(t);
    box->showPopup();
    QAbstractItemView* list = box->view();
    const QModelIndex five = box->model()->index(4, 0);
    list->scrollTo(five);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualRect(five).center());
    EXPECT_EQ(settings::readMovingAverage(t.dir().path()).value, QStringLiteral("5"));
    EXPECT_EQ(firstAveragePoint(t), 4);

    // the saved text comes back after a restart
    t.restart();
    t.takeCalls();
    t.click(QStringLiteral("cmdRentai"));
    EXPECT_EQ(combo(t)->currentText(), QStringLiteral("5"));
    EXPECT_EQ(firstAveragePoint(t), 4);
}

TEST(GraphPanel, InvalidWindowIsClearedAndNeitherChartNorFileChange) {
    test::Window t(quietSample);
    t.start();
    t.takeCalls();
    t.click(QStringLiteral("cmdRentai"));
    const QByteArray saved = t.dir().read(kWindowFile);
    const auto average = averagePoints(t);

    for (const char* text : {"0", "abc", "-3", "0.5"}) {
        enterWindow(t, QString::fromUtf8(text));
        EXPECT_TRUE(combo(t)->currentText().isEmpty()) << text;
        EXPECT_EQ(t.dir().read(kWindowFile), saved) << text;
        EXPECT_TRUE(samePoints(averagePoints(t), average)) << text;
    }
    EXPECT_EQ(t.w().state().movingAverage, QStringLiteral("10"));

    // an empty text is left alone
    enterWindow(t, QString());
    EXPECT_EQ(t.dir().read(kWindowFile), saved);

    // typing is only typing: leaving the field does not apply a value that names an item
    combo(t)->lineEdit()->setText(QStringLiteral("7"));
    Q_EMIT combo(t)->lineEdit()->editingFinished();
    EXPECT_EQ(t.dir().read(kWindowFile), saved);
    EXPECT_TRUE(samePoints(averagePoints(t), average));
    EXPECT_TRUE(t.takeCalls().isEmpty());
}

TEST(GraphPanel, WindowThatCannotBeSavedIsReported) {
    test::Window t([](const test::WorkDir& d) {
        quietSample(d);
        QDir(d.path()).remove(kWindowFile);
        QDir(d.path()).mkdir(kWindowFile);
    });
    t.start();
    t.takeCalls();
    t.click(QStringLiteral("cmdRentai"));

    enterWindow(t, QStringLiteral("4"));
    const auto calls = t.takeCalls();
    ASSERT_EQ(calls.size(), 1);
    EXPECT_EQ(calls[0].title, QStringLiteral("保存エラー"));
    EXPECT_EQ(calls[0].icon, Icon::Critical);
    EXPECT_FALSE(calls[0].prompt.isEmpty());
    // the chart shows what was asked for; the setting keeps what the file still holds
    EXPECT_EQ(firstAveragePoint(t), 3);
    EXPECT_NE(t.w().state().movingAverage, QStringLiteral("4"));
}

TEST(GraphPanel, TargetToggleMovesOnlyTheLowerBound) {
    test::Window t(quietSample);
    t.start();
    t.takeCalls();
    t.click(QStringLiteral("cmdRentai"));
    ui::ChartView* c = chart(t);
    auto* toggle = t.find<QPushButton>(QStringLiteral("cmdMokuChk"));
    const QColor face = buttonFace(toggle);
    const QString caption = toggle->text();
    const auto secondary = c->chartModel().secondary;
    ASSERT_EQ(c->chartModel().primary.min, 68.0); // Int(68.2), the lightest sample weight
    ASSERT_EQ(c->chartModel().primary.max, 77.0);

    t.click(QStringLiteral("cmdMokuChk"));
    EXPECT_EQ(c->chartModel().primary.min, 65.0); // the sample's target weight
    EXPECT_DOUBLE_EQ(c->valueAxis(Axis::Primary)->min(), 65);
    EXPECT_EQ(c->chartModel().primary.max, 77.0);
    EXPECT_EQ(c->chartModel().secondary.min, secondary.min);
    EXPECT_EQ(c->chartModel().secondary.max, secondary.max);
    EXPECT_EQ(buttonFace(toggle), QColor(255, 224, 192));
    EXPECT_EQ(toggle->text(), caption);

    // a new moving average and a reopening keep the target as the bound
    enterWindow(t, QStringLiteral("6"));
    EXPECT_EQ(c->chartModel().primary.min, 65.0);
    t.click(QStringLiteral("cmdBunseki"));
    t.click(QStringLiteral("cmdRentai"));
    EXPECT_EQ(c->chartModel().primary.min, 65.0);
    EXPECT_EQ(buttonFace(toggle), QColor(255, 224, 192));

    t.click(QStringLiteral("cmdMokuChk"));
    EXPECT_EQ(c->chartModel().primary.min, 68.0);
    EXPECT_DOUBLE_EQ(c->valueAxis(Axis::Primary)->min(), 68);
    EXPECT_EQ(buttonFace(toggle), face);
    EXPECT_EQ(toggle->text(), caption);
    EXPECT_TRUE(t.takeCalls().isEmpty());
}

TEST(GraphPanel, TrendSeriesAndFiguresFollowTheChosenSituation) {
    test::Window t(quietSample);
    t.start();
    t.takeCalls();
    t.click(QStringLiteral("cmdRentai"));
    ui::ChartView* c = chart(t);
    ASSERT_EQ(c->seriesCount(), 4);
    EXPECT_EQ(c->chartModel().series[3].name, QStringLiteral("トレンド"));
    for (int i = 0; i < 3; ++i)
        EXPECT_NE(c->seriesColour(3), c->seriesColour(i)) << i;
    EXPECT_EQ(c->pointCount(3), kSampleRecords);
    EXPECT_FALSE(shownTrend(t).value(QStringLiteral("lblTrend")).isEmpty());
    EXPECT_EQ(shownTrend(t), reportedTrend(t));

    // the trend is shown and hidden with the weight
    const std::pair<const char*, bool> views[] = {{"optTai1", true}, {"optShi1", false}, {"optKon1", true}};
    for (const auto& [button, shown] : views) {
        t.click(QString::fromUtf8(button));
        EXPECT_EQ(c->isSeriesVisible(3), shown) << button;
    }

    QComboBox* box = t.find<QComboBox>(QStringLiteral("cboJyoukyou"));
    ASSERT_EQ(box->count(), 10);
    EXPECT_EQ(box->itemText(0), QStringLiteral("すべて"));
    EXPECT_EQ(box->itemText(1), QStringLiteral("起床後"));

    // one situation: its weigh-ins alone, in the view chosen before
    chooseSituation(t, QStringLiteral("起床後"));
    EXPECT_EQ(c->pointCount(0), 97);
    EXPECT_EQ(c->pointCount(3), 97);
    EXPECT_TRUE(c->isSeriesVisible(2));
    EXPECT_EQ(shownTrend(t), reportedTrend(t, {QStringLiteral("--situation"), QStringLiteral("起床後")}));
    EXPECT_TRUE(
        t.find<QLabel>(QStringLiteral("lblNichis"))->text().startsWith(QStringLiteral("2003/07/26 ( 75.1Kg )")));

    // a new moving average keeps the trend; the analysis lists still read every record
    enterWindow(t, QStringLiteral("3"));
    ASSERT_EQ(c->seriesCount(), 4);
    EXPECT_EQ(c->pointCount(3), 97);
    t.click(QStringLiteral("cmdBunseki"));
    EXPECT_EQ(grid(t, "msgB1")->model().bodyRows(), kSampleRecords);
    t.click(QStringLiteral("cmdRentai"));
    EXPECT_EQ(box->currentText(), QStringLiteral("起床後"));
    EXPECT_EQ(c->pointCount(0), 97);

    chooseSituation(t, QStringLiteral("すべて"));
    EXPECT_EQ(c->pointCount(0), kSampleRecords);
    EXPECT_EQ(shownTrend(t), reportedTrend(t));
    EXPECT_TRUE(t.takeCalls().isEmpty());
}
