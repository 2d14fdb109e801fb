#include "tools/report/ReportViews.h"

#include "core/views/DailyView.h"

namespace puka::report {

Result<ReportView> dailyView(const ViewRequest& request) {
    const QString from = QStringLiteral("--from");
    const QString to = QStringLiteral("--to");
    const ViewOptions options(request.args, {}, {from, to});
    if (!options.ok())
        return Status::failure(options.error());
    const auto read = readLogFor(request.dir);
    if (!read)
        return read.status();
    const LogContents& log = **read;
    daily::DailyView averages = daily::buildDailyView(log.records);
    if (options.has(from) || options.has(to)) {
        // the period build reads the combos; an omitted bound keeps the text the panel opened with
        if (options.has(from))
            averages.startText = options.value(from);
        if (options.has(to))
            averages.endText = options.value(to);
        const Status status = daily::fillPeriod(log.records, averages.startText, averages.endText, &averages);
        if (!status)
            return Status::failure(status.message().split(QStringLiteral("\r\n")).join(QLatin1Char(' ')));
    }
    return ReportView{daily::viewModel(averages), skippedWarning(**read)};
}

} // namespace puka::report
