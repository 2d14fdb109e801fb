#include "tools/report/ReportCli.h"

#include "core/Version.h"
#include "core/base/Clock.h"
#include "core/base/Messages.h"
#include "tools/report/ReportPrinter.h"
#include "tools/report/ReportViews.h"

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

// What each view prints and its options, for --help.
struct ViewHelp {
    const char* name;
    const char* text; ///< one line of what it prints, then one line for each option
};

const ViewHelp kViewHelp[] = {
    {"main", "the main panel of one day: its list and chart, the progress labels and the face\n"
             "--date YYYY/MM/DD       the day shown (default: today)"},
    {"range", "the range view: its list and chart and the texts of both period boxes; without an\n"
              "option every record, as the panel opens, with one a rebuild under these conditions:\n"
              "--key TEXT              records whose situation contains TEXT\n"
              "--weekday 0..6          records of one weekday, 0 Sunday to 6 Saturday\n"
              "--from TEXT             the start of the period (default: the first date of the log;\n"
              "                        an empty TEXT sets no start)\n"
              "--to TEXT               the end of the period (default: the last date of the log)"},
    {"analysis", "the analysis panel: its four lists, the two result labels and the ranking's caption\n"
                 "--first                 the time series against the first measurement\n"
                 "--band 1.0|0.5          the ranking's band in kg (default: 0.5)"},
    {"graph", "the whole-period graph: its three series, axis limits and labels\n"
              "--window N              the moving-average window (default: the setting file's)"},
    {"daily", "the daily averages: the list, the chart and the texts of both period boxes\n"
              "--from YY/MM/DD         the start of the period (default: the first day)\n"
              "--to YY/MM/DD           the end of the period (default: the last day)"},
    {"calendar", "the calendar: every month with its cell colours, the day counts and the face\n"
                 "--simple                the colours of 簡易表示"},
    {"diary", "the comment diary: every record with its comment"},
    {"trend", "the trend and forecast: day means, the smoothed trend, rate, energy balance and forecast\n"
              "--situation TEXT        only records whose situation is exactly TEXT\n"
              "--from YYYY/MM/DD       records on or after this date\n"
              "--to YYYY/MM/DD         records on or before this date"},
};

QString viewNamesText() {
    return viewNames().join(QStringLiteral(", "));
}

QString outputFailure() {
    return QStringLiteral("出力を書き込めませんでした（ディスクの空きや出力先を確かめてください）");
}

int fail(QByteArray* err, const QString& message) {
    *err = (QStringLiteral("pukapuka-report: ") + message + QLatin1Char('\n')).toUtf8();
    return 2;
}

} // namespace

QStringList viewNames() {
    QStringList names;
    for (const ViewEntry& v : kViews)
        names.append(QString::fromUtf8(v.name));
    return names;
}

QByteArray usage() {
    QString text =
        QStringLiteral("usage: pukapuka-report [-C DIR] [--today YYYY/MM/DD] [--format tsv|json] VIEW [VIEW OPTIONS]\n"
                       "       pukapuka-report --help | --version\n"
                       "\n"
                       "Prints what a panel of Pukapuka☆ダイエット shows for the data files of a folder: every\n"
                       "cell of its lists, every label, the chart data and axis limits. It never writes a file.\n"
                       "\n"
                       "Options:\n"
                       "  -C DIR                  the folder that holds the data files (default: the current one)\n"
                       "  --today YYYY/MM/DD      the date taken as today (default: the system date)\n"
                       "  --format tsv|json       tsv for people and spreadsheets (default), json for programs\n"
                       "  -h, --help              print this help and exit\n"
                       "  --version               print the version and exit\n"
                       "\n"
                       "Views and their options:\n");
    for (const QString& name : viewNames()) {
        QStringList lines;
        for (const ViewHelp& h : kViewHelp)
            if (name == QLatin1String(h.name))
                lines = QString::fromUtf8(h.text).split(QLatin1Char('\n'));
        text += QStringLiteral("  %1").arg(name, -10) + lines.value(0) + QLatin1Char('\n');
        for (qsizetype i = 1; i < lines.size(); ++i)
            text += QStringLiteral("              ") + lines.at(i) + QLatin1Char('\n');
    }
    text += QStringLiteral("\n"
                           "Exit status: 0 on success; 2 for a usage error, a data file that cannot be read or\n"
                           "an output that cannot be written, with one line on standard error. The output is\n"
                           "UTF-8.\n");
    return text.toUtf8();
}

int run(const QStringList& args, QByteArray* out, QByteArray* err) {
    out->clear();
    return run(
        args,
        [out](const char* data, qsizetype size) {
            out->append(data, size);
            return true;
        },
        err);
}

int run(const QStringList& args, const OutputSink& out, QByteArray* err) {
    const auto print = [&out](const QByteArray& text) { return out(text.constData(), text.size()); };
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
            return print(usage()) ? 0 : fail(err, outputFailure());
        } else if (a == QLatin1String("--version")) {
            return print(QByteArrayLiteral("pukapuka-report ") + kVersion + '\n') ? 0 : fail(err, outputFailure());
        } else if (a.startsWith(QLatin1Char('-'))) {
            return fail(err, messages::unknownOption(a));
        } else {
            break;
        }
    }
    if (i >= args.size())
        return fail(err, QStringLiteral("表示（VIEW）を指定してください: ") + viewNamesText());
    const QString name = args.at(i);
    ViewBuilder build = nullptr;
    for (const ViewEntry& v : kViews)
        if (name == QLatin1String(v.name))
            build = v.build;
    if (!build)
        return fail(err, QStringLiteral("知らない表示「%1」です: ").arg(name) + viewNamesText());
    if (!QFileInfo(dir).isDir())
        return fail(err, messages::missingFolder(dir));

    const auto built = build(ViewRequest{dir, args.mid(i + 1)});
    if (!built)
        return fail(err, built.message());
    const ViewModel& view = built->view;
    const bool written = format == QLatin1String("json") ? writeJson(view, out) : writeTsv(view, out);
    if (!written)
        return fail(err, outputFailure());
    if (!built->warning.isEmpty())
        *err = (QStringLiteral("pukapuka-report: ") + built->warning + QLatin1Char('\n')).toUtf8();
    return 0;
}

} // namespace puka::report
