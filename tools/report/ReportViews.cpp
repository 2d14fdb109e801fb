#include "tools/report/ReportViews.h"

#include "core/base/Clock.h"
#include "core/base/Messages.h"
#include "core/files/DataLog.h"
#include "core/files/Settings.h"
#include "core/views/BmiMeter.h"
#include "core/views/DiaryView.h"
#include "core/views/MainView.h"

#include <QDir>

namespace puka::report {

ViewOptions::ViewOptions(const QStringList& args, const QStringList& flags, const QStringList& valued) {
    for (int i = 0; i < args.size(); ++i) {
        const QString& a = args.at(i);
        if (flags.contains(a)) {
            m_values.insert(a, QString());
        } else if (valued.contains(a)) {
            if (i + 1 >= args.size()) {
                m_error = QStringLiteral("%1 には値を指定してください").arg(a);
                return;
            }
            m_values.insert(a, args.at(++i));
        } else {
            QStringList known = flags + valued;
            m_error = known.isEmpty() ? QStringLiteral("この表示にオプションはありません: %1").arg(a)
                                      : messages::unknownOption(a, known.join(QStringLiteral(", ")));
            return;
        }
    }
}

bool readLogFor(const QString& dir, LogContents* log, QString* error, QString* warning) {
    *log = datalog::readLog(dir);
    if (!log->status.ok()) {
        *error = log->status.message().split(QStringLiteral("\r\n")).join(QLatin1Char(' '));
        return false;
    }
    if (!log->exists) {
        // the folder by its whole path: -C has entered it, and "." would say nothing
        *error =
            QStringLiteral("%1 に「データ.txt」がありません").arg(QDir::toNativeSeparators(QDir(dir).absolutePath()));
        return false;
    }
    if (log->skippedCount > 0)
        *warning = QStringLiteral("「データ.txt」の読み取れない %1 行を飛ばしました").arg(log->skippedCount);
    return true;
}

bool readLogFor(const QString& dir, std::shared_ptr<const LogContents>* log, QString* error, QString* warning) {
    auto read = std::make_shared<LogContents>();
    if (!readLogFor(dir, read.get(), error, warning))
        return false;
    *log = std::move(read);
    return true;
}

bool diaryView(const ViewRequest& request, ViewModel* view, QString* error, QString* warning) {
    const ViewOptions options(request.args, {}, {});
    if (!options.ok()) {
        *error = options.error();
        return false;
    }
    std::shared_ptr<const LogContents> log;
    if (!readLogFor(request.dir, &log, error, warning))
        return false;
    *view = diary::view(log);
    return true;
}

bool mainView(const ViewRequest& request, ViewModel* view, QString* error, QString* warning) {
    const ViewOptions options(request.args, {}, {QStringLiteral("--date")});
    if (!options.ok()) {
        *error = options.error();
        return false;
    }
    QDate day = clock::today();
    if (options.has(QStringLiteral("--date"))) {
        day = QDate::fromString(options.value(QStringLiteral("--date")), QStringLiteral("yyyy/MM/dd"));
        if (!day.isValid()) {
            *error = messages::badDateOption(options.value(QStringLiteral("--date")));
            return false;
        }
    }
    LogContents log;
    if (!readLogFor(request.dir, &log, error, warning))
        return false;
    const float height = settings::readProfile(request.dir).value.height;
    const MainView main = mainview::buildMainView(log.records, day, height);
    BmiMeter meter;
    std::optional<QString> bodyType;
    if (meter.judgeBmi(main.values.currentWeight, height, main.values.recordCount))
        bodyType = meter.figures().currentType.word;
    *view = mainview::viewModel(main, bodyType);
    return true;
}

} // namespace puka::report
