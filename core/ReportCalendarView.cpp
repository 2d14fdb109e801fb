#include "ReportViews.h"

namespace puka::report {

bool calendarView(const ViewRequest&, ViewModel*, QString* error, QString*) {
    *error = QStringLiteral("表示「calendar」はまだありません");
    return false;
}

} // namespace puka::report
