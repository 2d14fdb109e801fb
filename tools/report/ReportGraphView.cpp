#include "tools/report/ReportViews.h"

#include "core/base/NumberFormat.h"
#include "core/files/Settings.h"
#include "core/views/AnalysisSnapshot.h"
#include "core/views/GraphView.h"

#include <cmath>

namespace puka::report {

bool graphView(const ViewRequest& request, ViewModel* view, QString* error, QString* warning) {
    const QString window = QStringLiteral("--window");
    const ViewOptions options(request.args, {}, {window});
    if (!options.ok()) {
        *error = options.error();
        return false;
    }
    // The panel takes the stored text as it is; a value given here must be a plain number of
    // at least one measurement, applied by its whole part as the panel applies a typed one.
    QString windowText = settings::readMovingAverage(request.dir).value;
    if (options.has(window)) {
        const auto number = parseNumber(options.value(window));
        if (!number || *number < 1) {
            *error = QStringLiteral("--window の値「%1」が正しくありません（1 以上の数）").arg(options.value(window));
            return false;
        }
        windowText = QString::number(std::floor(*number), 'f', 0);
    }
    LogContents log;
    if (!readLogFor(request.dir, &log, error, warning))
        return false;
    const float targetWeight = settings::readProfile(request.dir).value.targetWeight;
    GraphView panel =
        graph::buildGraph(AnalysisSnapshot::load(log.records), targetWeight, windowText, /*targetOn=*/false);
    // opening the panel selects the weight view
    graph::applySeriesChoice(graph::SeriesChoice::Weight, &panel.chart);
    *view = graph::viewModel(panel);
    return true;
}

} // namespace puka::report
