#include "tools/report/ReportViews.h"

#include "core/base/Clock.h"
#include "core/views/CalendarView.h"

namespace puka::report {

bool calendarView(const ViewRequest& request, ViewModel* view, QString* error, QString* warning) {
    const QString simple = QStringLiteral("--simple");
    const ViewOptions options(request.args, {simple}, {});
    if (!options.ok()) {
        *error = options.error();
        return false;
    }
    LogContents log;
    if (!readLogFor(request.dir, &log, error, warning))
        return false;
    const calendar::Mode mode = options.has(simple) ? calendar::Mode::Simple : calendar::Mode::Detailed;
    *view = calendar::viewModel(calendar::buildCalendar(log.records, mode, clock::today()));
    return true;
}

} // namespace puka::report
