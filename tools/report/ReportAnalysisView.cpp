#include "tools/report/ReportViews.h"

#include "core/views/AnalysisSnapshot.h"
#include "core/views/AnalysisView.h"

namespace puka::report {

bool analysisView(const ViewRequest& request, ViewModel* view, QString* error, QString* warning) {
    const QString first = QStringLiteral("--first");
    const QString band = QStringLiteral("--band");
    const ViewOptions options(request.args, {first}, {band});
    if (!options.ok()) {
        *error = options.error();
        return false;
    }
    analysis::BandStep step = analysis::BandStep::Half;
    if (options.has(band)) {
        const QString value = options.value(band);
        if (value == QLatin1String("1.0")) {
            step = analysis::BandStep::One;
        } else if (value != QLatin1String("0.5")) {
            *error = QStringLiteral("--band の値「%1」が正しくありません（1.0 か 0.5）").arg(value);
            return false;
        }
    }
    LogContents log;
    if (!readLogFor(request.dir, &log, error, warning))
        return false;
    const AnalysisSnapshot snapshot = AnalysisSnapshot::load(log.records);
    AnalysisView panel = analysis::emptyAnalysisView();
    analysis::fill(snapshot, options.has(first) ? analysis::DifferenceMode::First : analysis::DifferenceMode::Previous,
                   step, &panel);
    *view = analysis::viewModel(panel);
    return true;
}

} // namespace puka::report
