#include "tools/report/ReportViews.h"

#include "core/files/Settings.h"
#include "core/views/TrendView.h"

namespace puka::report {

Result<ReportView> trendView(const ViewRequest& request) {
    const QString situation = QStringLiteral("--situation");
    const QString from = QStringLiteral("--from");
    const QString to = QStringLiteral("--to");
    const ViewOptions options(request.args, {}, {situation, from, to});
    if (!options.ok())
        return Status::failure(options.error());
    TrendChoice choice;
    if (options.has(situation))
        choice.situation = options.value(situation);
    for (const auto& [name, bound] : {std::pair{from, &choice.from}, std::pair{to, &choice.to}}) {
        if (!options.has(name))
            continue;
        *bound = QDate::fromString(options.value(name), QStringLiteral("yyyy/MM/dd"));
        if (!bound->isValid())
            return Status::failure(
                QStringLiteral("%1 の日付「%2」が正しくありません（YYYY/MM/DD）").arg(name, options.value(name)));
    }
    if (choice.from.isValid() && choice.to.isValid() && choice.from > choice.to)
        return Status::failure(QStringLiteral("--from の日付が --to の日付より後です"));
    const auto read = readLogFor(request.dir);
    if (!read)
        return read.status();
    const LogContents& log = **read;
    const float targetWeight = settings::readProfile(request.dir).value.targetWeight;
    return ReportView{trend::viewModel(trend::compute(log.records, choice, targetWeight)), skippedWarning(**read)};
}

} // namespace puka::report
