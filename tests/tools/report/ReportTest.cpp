#include "core/Version.h"
#include "core/files/DataLog.h"
#include "core/views/RangeView.h"
#include "tests/core/TestSupport.h"
#include "tools/report/ReportCli.h"
#include "tools/report/ReportPrinter.h"

#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using namespace puka;

TEST(Report, DiaryOfTheSamplePrintsEveryRecordWithHeader) {
    const test::ToolRun r = test::runReport({QStringLiteral("-C"), test::sampleDir(), QStringLiteral("diary")});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    const QStringList lines = r.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    ASSERT_GE(lines.size(), 3);
    EXPECT_EQ(lines.at(0), QStringLiteral("# msgMemoList"));
    EXPECT_EQ(lines.at(1), QStringLiteral("回数\t日付\t行動\t体重\t前差\t差\t脂肪\t一言日記（言い訳など）"));
    EXPECT_EQ(lines.at(2), QStringLiteral("1\t2003/07/25\tはじめの一歩\t75.5\t0.0\t→\t22.3\t"));
}

TEST(Report, JsonHasRowsAndColoursOfTheSameShape) {
    const test::ToolRun r = test::runReport({QStringLiteral("-C"), test::sampleDir(), QStringLiteral("--format"),
                                             QStringLiteral("json"), QStringLiteral("diary")});
    ASSERT_EQ(r.status, 0);
    const QJsonObject root = QJsonDocument::fromJson(r.out.toUtf8()).object();
    EXPECT_EQ(root.value(QStringLiteral("view")).toString(), QStringLiteral("diary"));
    const QJsonObject grid =
        root.value(QStringLiteral("grids")).toObject().value(QStringLiteral("msgMemoList")).toObject();
    const QJsonArray rows = grid.value(QStringLiteral("rows")).toArray();
    const QJsonArray colours = grid.value(QStringLiteral("colours")).toArray();
    ASSERT_EQ(rows.size(), colours.size());
    ASSERT_GT(rows.size(), 1);
    EXPECT_EQ(rows.at(1).toArray().at(4).toString(), QStringLiteral("0.0"));
    EXPECT_EQ(colours.at(1).toArray().at(5).toString(), QStringLiteral("#FFFFC0"));
    EXPECT_TRUE(colours.at(1).toArray().at(4).isNull());
}

TEST(Report, UsageErrorsExitWithTwoAndOneLine) {
    for (const QStringList& args :
         {QStringList{}, QStringList{QStringLiteral("nosuchview")},
          QStringList{QStringLiteral("--format"), QStringLiteral("xml"), QStringLiteral("diary")},
          QStringList{QStringLiteral("--today"), QStringLiteral("2003-01-01"), QStringLiteral("diary")},
          QStringList{QStringLiteral("-C")}, QStringList{QStringLiteral("--bogus"), QStringLiteral("diary")},
          QStringList{QStringLiteral("-C"), QStringLiteral("/no/such/folder"), QStringLiteral("diary")},
          QStringList{QStringLiteral("diary"), QStringLiteral("--extra")}}) {
        const test::ToolRun r = test::runReport(args);
        EXPECT_EQ(r.status, 2) << args.join(QLatin1Char(' ')).toStdString();
        EXPECT_TRUE(r.out.isEmpty());
        EXPECT_EQ(r.err.count(QLatin1Char('\n')), 1) << r.err.toStdString();
    }
}

TEST(Report, MissingLogIsAnError) {
    test::WorkDir dir;
    const test::ToolRun r = test::runReport({QStringLiteral("-C"), dir.path(), QStringLiteral("diary")});
    EXPECT_EQ(r.status, 2);
    EXPECT_TRUE(r.err.contains(QStringLiteral("データ.txt")));
}

// The help names every view and, under it, exactly the options that view takes: the options it
// knows are those its error for an unknown one lists.
TEST(Report, HelpListsEveryViewWithTheOptionsItTakes) {
    const test::ToolRun help = test::runReport({QStringLiteral("--help")});
    ASSERT_EQ(help.status, 0);
    const QStringList lines = help.out.split(QLatin1Char('\n'));
    for (const QString& view : report::viewNames()) {
        SCOPED_TRACE(view.toStdString());
        const qsizetype at = lines.indexOf(QRegularExpression(QStringLiteral("  %1 +\\S.*").arg(view)));
        ASSERT_GE(at, 0) << help.out.toStdString();
        QStringList helped;
        for (qsizetype i = at + 1; i < lines.size() && lines.at(i).startsWith(QStringLiteral("              ")); ++i)
            if (lines.at(i).trimmed().startsWith(QStringLiteral("--")))
                helped.append(lines.at(i).trimmed().section(QLatin1Char(' '), 0, 0));

        const test::ToolRun wrong =
            test::runReport({QStringLiteral("-C"), test::sampleDir(), view, QStringLiteral("--no-such-option")});
        ASSERT_EQ(wrong.status, 2);
        const QRegularExpressionMatch known =
            QRegularExpression(QStringLiteral("使えるもの: ([^）]*)）")).match(wrong.err);
        QStringList taken;
        if (known.hasMatch())
            taken = known.captured(1).split(QStringLiteral(", "));
        helped.sort();
        taken.sort();
        EXPECT_EQ(helped, taken) << wrong.err.toStdString();
    }
    const test::ToolRun version = test::runReport({QStringLiteral("--version")});
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.out, QStringLiteral("pukapuka-report %1\n").arg(QString::fromLatin1(kVersion)));
}

namespace {

// Qt's own JSON writer on the view, as the report printed it before it wrote as it goes.
QByteArray qtJson(const ViewModel& view) {
    const auto limits = [](const AxisLimits& a) -> QJsonValue {
        if (!a.min && !a.max)
            return QJsonValue::Null;
        return QJsonArray{a.min ? QJsonValue(*a.min) : QJsonValue(QJsonValue::Null),
                          a.max ? QJsonValue(*a.max) : QJsonValue(QJsonValue::Null)};
    };
    QJsonObject root{{QStringLiteral("view"), view.view}};
    QJsonObject grids;
    for (const GridModel& g : view.grids) {
        QJsonArray rows, colours, header, noColours;
        for (const GridColumn& c : g.columns) {
            header.append(c.header);
            noColours.append(QJsonValue::Null);
        }
        rows.append(header);
        colours.append(noColours);
        for (int r = 0; r < g.bodyRows(); ++r) {
            QJsonArray row, rowColours;
            for (int c = 0; c < g.columnCount(); ++c) {
                row.append(g.cell(r, c));
                const auto colour = g.colour(r, c);
                rowColours.append(
                    colour ? QJsonValue(QStringLiteral("#%1").arg(*colour, 6, 16, QLatin1Char('0')).toUpper())
                           : QJsonValue(QJsonValue::Null));
            }
            rows.append(row);
            colours.append(rowColours);
        }
        grids.insert(g.name, QJsonObject{{QStringLiteral("rows"), rows}, {QStringLiteral("colours"), colours}});
    }
    root.insert(QStringLiteral("grids"), grids);
    QJsonObject labels;
    for (const auto& [name, text] : view.labels)
        labels.insert(name, text);
    root.insert(QStringLiteral("labels"), labels);
    QJsonObject charts;
    for (const ChartModel& c : view.charts) {
        QJsonArray series;
        for (const ChartSeries& s : c.series) {
            QJsonArray points;
            for (double p : s.points)
                points.append(std::isnan(p) ? QJsonValue(QJsonValue::Null) : QJsonValue(p));
            series.append(QJsonObject{{QStringLiteral("name"), s.name}, {QStringLiteral("points"), points}});
        }
        charts.insert(c.name, QJsonObject{{QStringLiteral("primary"), limits(c.primary)},
                                          {QStringLiteral("secondary"), limits(c.secondary)},
                                          {QStringLiteral("series"), series}});
    }
    root.insert(QStringLiteral("charts"), charts);
    if (!view.face.isEmpty())
        root.insert(QStringLiteral("face"), view.face);
    return QJsonDocument(root).toJson(QJsonDocument::Compact) + "\n";
}

// Texts and numbers at every corner of the JSON form: escapes, characters beyond the BMP and
// lone halves of surrogate pairs, names out of order and twice, integers around 2^53.
ViewModel awkwardView() {
    QString controls;
    for (char16_t c = 0; c < 0x20; ++c)
        controls += QChar(c);
    const QString texts[] = {QStringLiteral("\"引用\" \\ / \x7F"),
                             controls,
                             QStringLiteral("😀髙～①"),
                             QString(QChar(0xD800)) + QStringLiteral("x") + QChar(0xDC00),
                             QString(70000, QChar(u'あ')),
                             QString()};
    ViewModel v;
    v.view = QStringLiteral("range");
    GridModel g = range::emptyRangeList();
    g.name = QStringLiteral("z");
    g.addRows(2);
    for (int c = 0; c < g.columnCount(); ++c)
        g.setCell(c % 2, c, texts[static_cast<size_t>(c) % std::size(texts)]);
    g.setColour(1, 3, 0xA0B0C0);
    GridModel lazy = range::buildOpening(datalog::readLog(test::sampleDir()).records, 160.5f).grid;
    v.grids = {g, lazy, g};
    v.grids.back().name = QStringLiteral("a");
    v.labels = {{QStringLiteral("fraB4"), texts[0]},
                {QStringLiteral("Label5(0)"), texts[2]},
                {QStringLiteral("é"), QString()},
                {QStringLiteral("Label5(0)"), texts[3]}};
    ChartModel chart;
    chart.name = QStringLiteral("mcr");
    chart.primary.min = 9007199254740992.0;
    chart.secondary.max = -0.0;
    chart.series = {{QStringLiteral("体重"),
                     false,
                     {65.35, std::nan(""), 1e15, 2e15, 9007199254740993.0, 1e16, -1e300, 1.0 / 3, 5e-324, -0.0,
                      std::numeric_limits<double>::infinity(), 123456789.25},
                     true}};
    v.charts = {chart, chart};
    v.charts.front().name = QStringLiteral("b");
    v.face = QStringLiteral("imgwara");
    return v;
}

} // namespace

TEST(Report, JsonWrittenAsItGoesIsQtsCompactJson) {
    const ViewModel view = awkwardView();
    EXPECT_EQ(report::toJson(view), qtJson(view));
    EXPECT_EQ(report::toJson(ViewModel()), qtJson(ViewModel()));
}

TEST(Report, TsvWrittenAsItGoesKeepsEveryCharacterAndStopsWhenTheOutputFails) {
    const ViewModel view = awkwardView();
    // the whole output in one text, as a QString gives it in UTF-8
    QString expected;
    for (const GridModel& g : view.grids) {
        expected += QStringLiteral("# ") + g.name + QLatin1Char('\n');
        QStringList header;
        for (const GridColumn& c : g.columns)
            header.append(c.header);
        expected += header.join(QLatin1Char('\t')) + QLatin1Char('\n');
        for (int r = 0; r < g.bodyRows(); ++r) {
            QStringList row;
            for (int c = 0; c < g.columnCount(); ++c)
                row.append(g.cell(r, c));
            expected += row.join(QLatin1Char('\t')) + QLatin1Char('\n');
        }
    }
    const QByteArray tsv = report::toTsv(view);
    EXPECT_TRUE(tsv.startsWith(expected.toUtf8()));
    EXPECT_TRUE(tsv.endsWith("12\t123456789.25\nface\timgwara\n")) << tsv.right(80).toStdString();

    // a sink that takes the first piece and refuses the next: the report stops and says so
    int pieces = 0;
    EXPECT_FALSE(report::writeTsv(view, [&pieces](const char*, qsizetype) { return ++pieces == 1; }));
    EXPECT_EQ(pieces, 2);
}

TEST(Report, AnOutputThatCannotBeWrittenIsAFailure) {
    if (!QFileInfo::exists(QStringLiteral("/dev/full")))
        GTEST_SKIP() << "no /dev/full";
    QProcess report;
    report.setStandardOutputFile(QStringLiteral("/dev/full"));
    report.start(QStringLiteral(PUKAPUKA_REPORT_TOOL),
                 {QStringLiteral("-C"), test::sampleDir(), QStringLiteral("diary")});
    ASSERT_TRUE(report.waitForFinished(30000));
    EXPECT_EQ(report.exitCode(), 2);
    const QString err = QString::fromUtf8(report.readAllStandardError());
    EXPECT_TRUE(err.startsWith(QStringLiteral("pukapuka-report: 出力を書き込めませんでした"))) << err.toStdString();
}
