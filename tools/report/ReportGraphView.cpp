#include "tools/report/ReportViews.h"

#include "core/base/NumberFormat.h"
#include "core/files/Settings.h"
#include "core/views/AnalysisSnapshot.h"
#include "core/views/GraphView.h"

#include <cmath>

namespace puka::report {

Result<ReportView> graphView(const ViewRequest& request) {
    const QString window = QStringLiteral("--window");
    const ViewOptions options(request.args, {}, {window});
    if (!options.ok())
        return Status::failure(options.error());
    // The panel takes the stored text as it is; a value given here must be a plain number of
    // at least one measurement, applied by its whole part as the panel applies a typed one.
    QString windowText = settings::readMovingAverage(request.dir).value;
    if (options.has(window)) {
        const auto number = parseNumber(options.value(window));
        if (!number || *number < 1)
            return Status::failure(
                QStringLiteral("--window の値「%1」が正しくありません（1 以上の数）").arg(options.value(window)));
        windowText = QString::number(std::floor(*number), 'f', 0);
    }
    const auto read = readLogFor(request.dir);
    if (!read)
        return read.status();
    const LogContents& log = **read;
    const float targetWeight = settings::readProfile(request.dir).value.targetWeight;
    GraphView panel =
        graph::buildGraph(AnalysisSnapshot::load(log.records), targetWeight, windowText, /*targetOn=*/false);
    // opening the panel selects the weight view
    graph::applySeriesChoice(graph::SeriesChoice::Weight, &panel.chart);
    return ReportView{graph::viewModel(panel), skippedWarning(**read)};
}

} // namespace puka::report
