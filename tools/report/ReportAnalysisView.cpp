#include "tools/report/ReportViews.h"

#include "core/views/AnalysisSnapshot.h"
#include "core/views/AnalysisView.h"

namespace puka::report {

Result<ReportView> analysisView(const ViewRequest& request) {
    const QString first = QStringLiteral("--first");
    const QString band = QStringLiteral("--band");
    const ViewOptions options(request.args, {first}, {band});
    if (!options.ok())
        return Status::failure(options.error());
    analysis::BandStep step = analysis::BandStep::Half;
    if (options.has(band)) {
        const QString value = options.value(band);
        if (value == QLatin1String("1.0")) {
            step = analysis::BandStep::One;
        } else if (value != QLatin1String("0.5")) {
            return Status::failure(QStringLiteral("--band の値「%1」が正しくありません（1.0 か 0.5）").arg(value));
        }
    }
    const auto read = readLogFor(request.dir);
    if (!read)
        return read.status();
    const LogContents& log = **read;
    const AnalysisSnapshot snapshot = AnalysisSnapshot::load(log.records);
    AnalysisView panel = analysis::emptyAnalysisView();
    analysis::fill(snapshot, options.has(first) ? analysis::DifferenceMode::First : analysis::DifferenceMode::Previous,
                   step, &panel);
    return ReportView{analysis::viewModel(panel), skippedWarning(**read)};
}

} // namespace puka::report
