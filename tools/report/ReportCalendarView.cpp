#include "tools/report/ReportViews.h"

#include "core/base/Clock.h"
#include "core/views/CalendarView.h"

namespace puka::report {

Result<ReportView> calendarView(const ViewRequest& request) {
    const QString simple = QStringLiteral("--simple");
    const ViewOptions options(request.args, {simple}, {});
    if (!options.ok())
        return Status::failure(options.error());
    const auto read = readLogFor(request.dir);
    if (!read)
        return read.status();
    const LogContents& log = **read;
    const calendar::Mode mode = options.has(simple) ? calendar::Mode::Simple : calendar::Mode::Detailed;
    return ReportView{calendar::viewModel(calendar::buildCalendar(log.records, mode, clock::today())),
                      skippedWarning(**read)};
}

} // namespace puka::report
