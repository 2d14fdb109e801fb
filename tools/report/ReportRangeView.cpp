#include "tools/report/ReportViews.h"

#include "core/files/Settings.h"
#include "core/views/RangeView.h"

namespace puka::report {

Result<ReportView> rangeView(const ViewRequest& request) {
    const QString key = QStringLiteral("--key");
    const QString weekday = QStringLiteral("--weekday");
    const QString from = QStringLiteral("--from");
    const QString to = QStringLiteral("--to");
    const ViewOptions options(request.args, {}, {key, weekday, from, to});
    if (!options.ok())
        return Status::failure(options.error());
    range::Conditions conditions;
    if (options.has(weekday)) {
        const QString text = options.value(weekday);
        bool ok = false;
        const int day = text.toInt(&ok);
        if (!ok || day < 0 || day > 6)
            return Status::failure(QStringLiteral("--weekday は 0（日）から 6（土）の数です: 「%1」").arg(text));
        conditions.selectedWeekday = day;
    }
    const auto read = readLogFor(request.dir);
    if (!read)
        return read.status();
    const std::shared_ptr<const LogContents>& log = *read;
    const SharedRecords records(log, &log->records);
    const float height = settings::readProfile(request.dir).value.height;

    // the panel always opens with the opening build; a change of condition then rebuilds
    range::RangeView shown = range::buildOpening(records, height);
    const bool rebuild = options.has(key) || options.has(weekday) || options.has(from) || options.has(to);
    if (rebuild) {
        conditions.keyword = options.value(key);
        conditions.startText = options.has(from) ? options.value(from) : shown.startText;
        conditions.endText = options.has(to) ? options.value(to) : shown.endText;
        shown = range::refresh(records, height, conditions);
    }
    // the opening selects "体重"; the builders keep the chosen option
    range::applyChartOption(shown.chart, range::ChartOption::Weight);
    return ReportView{range::viewModel(shown), skippedWarning(**read)};
}

} // namespace puka::report
