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

Result<std::shared_ptr<const LogContents>> readLogFor(const QString& dir) {
    auto log = std::make_shared<LogContents>(datalog::readLog(dir));
    if (!log->status.ok())
        return Status::failure(log->status.message().split(QStringLiteral("\r\n")).join(QLatin1Char(' ')));
    // the folder by its whole path: -C has entered it, and "." would say nothing
    if (!log->exists)
        return Status::failure(
            QStringLiteral("%1 に「データ.txt」がありません").arg(QDir::toNativeSeparators(QDir(dir).absolutePath())));
    return std::shared_ptr<const LogContents>(std::move(log));
}

QString skippedWarning(const LogContents& log) {
    if (log.skippedCount == 0)
        return QString();
    return QStringLiteral("「データ.txt」の読み取れない %1 行を飛ばしました").arg(log.skippedCount);
}

Result<ReportView> diaryView(const ViewRequest& request) {
    const ViewOptions options(request.args, {}, {});
    if (!options.ok())
        return Status::failure(options.error());
    const auto read = readLogFor(request.dir);
    if (!read)
        return read.status();
    const std::shared_ptr<const LogContents>& log = *read;
    return ReportView{diary::view(log), skippedWarning(**read)};
}

Result<ReportView> mainView(const ViewRequest& request) {
    const ViewOptions options(request.args, {}, {QStringLiteral("--date")});
    if (!options.ok())
        return Status::failure(options.error());
    QDate day = clock::today();
    if (options.has(QStringLiteral("--date"))) {
        day = QDate::fromString(options.value(QStringLiteral("--date")), QStringLiteral("yyyy/MM/dd"));
        if (!day.isValid())
            return Status::failure(messages::badDateOption(options.value(QStringLiteral("--date"))));
    }
    const auto read = readLogFor(request.dir);
    if (!read)
        return read.status();
    const LogContents& log = **read;
    const float height = settings::readProfile(request.dir).value.height;
    const MainView main = mainview::buildMainView(log.records, day, height);
    BmiMeter meter;
    std::optional<QString> bodyType;
    if (meter.judgeBmi(main.values.currentWeight, height, main.values.recordCount))
        bodyType = meter.figures().currentType.word;
    return ReportView{mainview::viewModel(main, bodyType), skippedWarning(**read)};
}

} // namespace puka::report
