#include "ReportViews.h"

namespace puka::report {

bool rangeView(const ViewRequest&, ViewModel*, QString* error, QString*) {
    *error = QStringLiteral("表示「range」はまだありません");
    return false;
}

} // namespace puka::report
