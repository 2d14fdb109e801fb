#include "ReportViews.h"

namespace puka::report {

bool analysisView(const ViewRequest&, ViewModel*, QString* error, QString*) {
    *error = QStringLiteral("表示「analysis」はまだありません");
    return false;
}

} // namespace puka::report
