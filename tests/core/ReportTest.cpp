#include "ReportCli.h"
#include "TestSupport.h"
#include "Version.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>

#include <gtest/gtest.h>

using namespace puka;

TEST(Report, DiaryOfTheSamplePrintsEveryRecordWithHeader) {
    const test::ReportRun r = test::runReport({QStringLiteral("-C"), test::sampleDir(), QStringLiteral("diary")});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    const QStringList lines = r.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    ASSERT_GE(lines.size(), 3);
    EXPECT_EQ(lines.at(0), QStringLiteral("# msgMemoList"));
    EXPECT_EQ(lines.at(1), QStringLiteral("回数\t日付\t行動\t体重\t前差\t差\t脂肪\t一言日記（言い訳など）"));
    EXPECT_EQ(lines.at(2), QStringLiteral("1\t2003/07/25\tはじめの一歩\t75.5\t0.0\t→\t22.3\t"));
}

TEST(Report, JsonHasRowsAndColoursOfTheSameShape) {
    const test::ReportRun r = test::runReport({QStringLiteral("-C"), test::sampleDir(), QStringLiteral("--format"),
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
        const test::ReportRun r = test::runReport(args);
        EXPECT_EQ(r.status, 2) << args.join(QLatin1Char(' ')).toStdString();
        EXPECT_TRUE(r.out.isEmpty());
        EXPECT_EQ(r.err.count(QLatin1Char('\n')), 1) << r.err.toStdString();
    }
}

TEST(Report, MissingLogIsAnError) {
    test::WorkDir dir;
    const test::ReportRun r = test::runReport({QStringLiteral("-C"), dir.path(), QStringLiteral("diary")});
    EXPECT_EQ(r.status, 2);
    EXPECT_TRUE(r.err.contains(QStringLiteral("データ.txt")));
}

// The help names every view and, under it, exactly the options that view takes: the options it
// knows are those its error for an unknown one lists.
TEST(Report, HelpListsEveryViewWithTheOptionsItTakes) {
    const test::ReportRun help = test::runReport({QStringLiteral("--help")});
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

        const test::ReportRun wrong =
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
    const test::ReportRun version = test::runReport({QStringLiteral("--version")});
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.out, QStringLiteral("pukapuka-report %1\n").arg(QString::fromLatin1(kVersion)));
}
