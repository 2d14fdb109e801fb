#include "tools/report/ReportViews.h"

#include "core/views/DailyView.h"

namespace puka::report {

bool dailyView(const ViewRequest& request, ViewModel* view, QString* error, QString* warning) {
    const QString from = QStringLiteral("--from");
    const QString to = QStringLiteral("--to");
    const ViewOptions options(request.args, {}, {from, to});
    if (!options.ok()) {
        *error = options.error();
        return false;
    }
    LogContents log;
    if (!readLogFor(request.dir, &log, error, warning))
        return false;
    daily::DailyView averages = daily::buildDailyView(log.records);
    if (options.has(from) || options.has(to)) {
        // the period build reads the combos; an omitted bound keeps the text the panel opened with
        if (options.has(from))
            averages.startText = options.value(from);
        if (options.has(to))
            averages.endText = options.value(to);
        const Status status = daily::fillPeriod(log.records, averages.startText, averages.endText, &averages);
        if (!status) {
            *error = status.message().split(QStringLiteral("\r\n")).join(QLatin1Char(' '));
            return false;
        }
    }
    *view = daily::viewModel(averages);
    return true;
}

} // namespace puka::report
