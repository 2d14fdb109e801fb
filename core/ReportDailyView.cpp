#include "ReportViews.h"

namespace puka::report {

bool dailyView(const ViewRequest&, ViewModel*, QString* error, QString*) {
    *error = QStringLiteral("表示「daily」はまだありません");
    return false;
}

} // namespace puka::report
