#include "ReportCli.h"

#include "Clock.h"
#include "ReportPrinter.h"
#include "ReportViews.h"

#include <QDate>
#include <QDir>
#include <QFileInfo>

namespace puka::report {
namespace {

struct ViewEntry {
    const char* name;
    ViewBuilder build;
};

const ViewEntry kViews[] = {
    {"main", mainView},   {"range", rangeView},       {"analysis", analysisView}, {"graph", graphView},
    {"daily", dailyView}, {"calendar", calendarView}, {"diary", diaryView},       {"trend", trendView},
};

QString viewNames() {
    QStringList names;
    for (const ViewEntry& v : kViews)
        names.append(QString::fromUtf8(v.name));
    return names.join(QStringLiteral(", "));
}

int fail(QByteArray* err, const QString& message) {
    *err = (QStringLiteral("pukapuka-report: ") + message + QLatin1Char('\n')).toUtf8();
    return 2;
}

} // namespace

QByteArray usage() {
    return QByteArrayLiteral(
        "usage: pukapuka-report [-C DIR] [--today YYYY/MM/DD] [--format tsv|json] VIEW [VIEW OPTIONS]\n"
        "views and their options:\n"
        "  main      [--date YYYY/MM/DD]\n"
        "  range     [--key TEXT] [--weekday 0..6] [--from TEXT] [--to TEXT]\n"
        "  analysis  [--first] [--band 1.0|0.5]\n"
        "  graph     [--window N]\n"
        "  daily     [--from YY/MM/DD --to YY/MM/DD]\n"
        "  calendar  [--simple]\n"
        "  diary\n"
        "  trend     [--situation TEXT] [--from YYYY/MM/DD] [--to YYYY/MM/DD]\n");
}

int run(const QStringList& args, QByteArray* out, QByteArray* err) {
    QString dir = QStringLiteral(".");
    QString format = QStringLiteral("tsv");
    int i = 0;
    for (; i < args.size(); ++i) {
        const QString& a = args.at(i);
        auto value = [&](QString* target) {
            if (i + 1 >= args.size())
                return false;
            *target = args.at(++i);
            return true;
        };
        if (a == QLatin1String("-C")) {
            if (!value(&dir))
                return fail(err, QStringLiteral("-C にはフォルダを指定してください"));
        } else if (a == QLatin1String("--today")) {
            QString text;
            if (!value(&text))
                return fail(err, QStringLiteral("--today には YYYY/MM/DD の日付を指定してください"));
            const QDate d = QDate::fromString(text, QStringLiteral("yyyy/MM/dd"));
            if (!d.isValid())
                return fail(err, QStringLiteral("--today の日付「%1」が正しくありません（YYYY/MM/DD）").arg(text));
            clock::setFixed(QDateTime(d, QTime(12, 0)));
        } else if (a == QLatin1String("--format")) {
            if (!value(&format) || (format != QLatin1String("tsv") && format != QLatin1String("json")))
                return fail(err, QStringLiteral("--format は tsv か json です"));
        } else if (a == QLatin1String("-h") || a == QLatin1String("--help")) {
            *out = usage();
            return 0;
        } else if (a.startsWith(QLatin1Char('-'))) {
            return fail(err, QStringLiteral("知らないオプション「%1」です").arg(a));
        } else {
            break;
        }
    }
    if (i >= args.size())
        return fail(err, QStringLiteral("表示（VIEW）を指定してください: ") + viewNames());
    const QString name = args.at(i);
    ViewBuilder build = nullptr;
    for (const ViewEntry& v : kViews)
        if (name == QLatin1String(v.name))
            build = v.build;
    if (!build)
        return fail(err, QStringLiteral("知らない表示「%1」です: ").arg(name) + viewNames());
    if (!QFileInfo(dir).isDir())
        return fail(err, QStringLiteral("フォルダ「%1」がありません").arg(dir));

    ViewModel view;
    QString error;
    QString warning;
    if (!build(ViewRequest{dir, args.mid(i + 1)}, &view, &error, &warning))
        return fail(err, error);
    if (!warning.isEmpty())
        *err = (QStringLiteral("pukapuka-report: ") + warning + QLatin1Char('\n')).toUtf8();
    *out = format == QLatin1String("json") ? toJson(view) : toTsv(view);
    return 0;
}

} // namespace puka::report
