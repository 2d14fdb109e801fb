#include "tools/report/ReportViews.h"

#include "core/files/Settings.h"
#include "core/views/TrendView.h"

namespace puka::report {

bool trendView(const ViewRequest& request, ViewModel* view, QString* error, QString* warning) {
    const QString situation = QStringLiteral("--situation");
    const QString from = QStringLiteral("--from");
    const QString to = QStringLiteral("--to");
    const ViewOptions options(request.args, {}, {situation, from, to});
    if (!options.ok()) {
        *error = options.error();
        return false;
    }
    TrendChoice choice;
    if (options.has(situation))
        choice.situation = options.value(situation);
    for (const auto& [name, bound] : {std::pair{from, &choice.from}, std::pair{to, &choice.to}}) {
        if (!options.has(name))
            continue;
        *bound = QDate::fromString(options.value(name), QStringLiteral("yyyy/MM/dd"));
        if (!bound->isValid()) {
            *error = QStringLiteral("%1 の日付「%2」が正しくありません（YYYY/MM/DD）").arg(name, options.value(name));
            return false;
        }
    }
    if (choice.from.isValid() && choice.to.isValid() && choice.from > choice.to) {
        *error = QStringLiteral("--from の日付が --to の日付より後です");
        return false;
    }
    LogContents log;
    if (!readLogFor(request.dir, &log, error, warning))
        return false;
    const float targetWeight = settings::readProfile(request.dir).value.targetWeight;
    *view = trend::viewModel(trend::compute(log.records, choice, targetWeight));
    return true;
}

} // namespace puka::report
