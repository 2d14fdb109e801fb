#include "ReportViews.h"

namespace puka::report {

bool graphView(const ViewRequest&, ViewModel*, QString* error, QString*) {
    *error = QStringLiteral("表示「graph」はまだありません");
    return false;
}

} // namespace puka::report
