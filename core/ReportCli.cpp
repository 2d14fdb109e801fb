#include "ReportCli.h"

#include "BmiMeter.h"
#include "Clock.h"
#include "DataLog.h"
#include "DiaryView.h"
#include "MainView.h"
#include "ReportPrinter.h"
#include "Settings.h"

#include <QDate>
#include <QDir>
#include <QFileInfo>

namespace puka::report {
namespace {

const QStringList kViews = {QStringLiteral("main"),  QStringLiteral("range"), QStringLiteral("analysis"),
                            QStringLiteral("graph"), QStringLiteral("daily"), QStringLiteral("calendar"),
                            QStringLiteral("diary")};

struct Options {
    QString dir = QStringLiteral(".");
    QString format = QStringLiteral("tsv");
    QString view;
    QStringList viewArgs;
};

int fail(QByteArray* err, const QString& message) {
    *err = (QStringLiteral("pukapuka-report: ") + message + QLatin1Char('\n')).toUtf8();
    return 2;
}

// The log a view stands on; a missing or unreadable one is an error of the report.
bool readLog(const Options& o, LogContents* log, QString* error) {
    *log = datalog::READ_DATA(o.dir);
    if (!log->status.ok()) {
        *error = log->status.message().split(QStringLiteral("\r\n")).join(QLatin1Char(' '));
        return false;
    }
    if (!log->exists) {
        *error = QStringLiteral("%1 に「データ.txt」がありません").arg(QDir::toNativeSeparators(o.dir));
        return false;
    }
    return true;
}

} // namespace

QByteArray usage() {
    return QByteArrayLiteral(
        "usage: pukapuka-report [-C DIR] [--today YYYY/MM/DD] [--format tsv|json] VIEW [VIEW OPTIONS]\n"
        "views: main, range, analysis, graph, daily, calendar, diary\n");
}

int run(const QStringList& args, QByteArray* out, QByteArray* err) {
    Options o;
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
            if (!value(&o.dir))
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
            if (!value(&o.format) || (o.format != QLatin1String("tsv") && o.format != QLatin1String("json")))
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
        return fail(err, QStringLiteral("表示（VIEW）を指定してください: ") + kViews.join(QStringLiteral(", ")));
    o.view = args.at(i);
    o.viewArgs = args.mid(i + 1);
    if (!kViews.contains(o.view))
        return fail(err, QStringLiteral("知らない表示「%1」です: ").arg(o.view) + kViews.join(QStringLiteral(", ")));
    if (!QFileInfo(o.dir).isDir())
        return fail(err, QStringLiteral("フォルダ「%1」がありません").arg(o.dir));

    ViewModel view;
    QString error;
    if (o.view == QLatin1String("diary")) {
        if (!o.viewArgs.isEmpty())
            return fail(err, QStringLiteral("diary にオプションはありません: %1").arg(o.viewArgs.first()));
        LogContents log;
        if (!readLog(o, &log, &error))
            return fail(err, error);
        view = diary::view(log);
        if (!log.skipped.empty())
            *err = QStringLiteral("pukapuka-report: 「データ.txt」の読み取れない %1 行を飛ばしました\n")
                       .arg(log.skipped.size())
                       .toUtf8();
    } else if (o.view == QLatin1String("main")) {
        QDate day = clock::today();
        for (int k = 0; k < o.viewArgs.size(); ++k) {
            if (o.viewArgs.at(k) == QLatin1String("--date") && k + 1 < o.viewArgs.size()) {
                day = QDate::fromString(o.viewArgs.at(++k), QStringLiteral("yyyy/MM/dd"));
                if (!day.isValid())
                    return fail(
                        err,
                        QStringLiteral("--date の日付「%1」が正しくありません（YYYY/MM/DD）").arg(o.viewArgs.at(k)));
            } else {
                return fail(err,
                            QStringLiteral("main のオプションは --date YYYY/MM/DD です: %1").arg(o.viewArgs.at(k)));
            }
        }
        LogContents log;
        if (!readLog(o, &log, &error))
            return fail(err, error);
        const float height = settings::READ_PRIVATE(o.dir).value.height;
        const MainView main = mainview::DSP_MAIN(log.records, day, height);
        BmiMeter meter;
        std::optional<QString> bodyType;
        if (meter.SET_BMI_HANTEI(main.values.currentWeight, height, main.values.recordCount))
            bodyType = meter.figures().currentType.word;
        view = mainview::viewModel(main, bodyType);
    } else {
        return fail(err, QStringLiteral("表示「%1」はまだありません").arg(o.view));
    }
    *out = o.format == QLatin1String("json") ? toJson(view) : toTsv(view);
    return 0;
}

} // namespace puka::report
