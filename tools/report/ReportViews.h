#pragma once

#include "core/base/Status.h"
#include "core/base/ViewModel.h"
#include "core/files/DataLog.h"

#include <QMap>
#include <QString>
#include <QStringList>

namespace puka::report {

/// What every view of the report gets: the working directory and the view's own options.
struct ViewRequest {
    QString dir;
    QStringList args; ///< the options after the view's name
};

/// A view of the report, and a notice to print beside it such as skipped lines (or an empty text).
struct ReportView {
    ViewModel view;
    QString warning;
};

/// Builds one view of the report, or fails with a one-line Japanese message for a usage error
/// or an unreadable data file.
using ViewBuilder = Result<ReportView> (*)(const ViewRequest& request);

Result<ReportView> mainView(const ViewRequest& request);
Result<ReportView> rangeView(const ViewRequest& request);
Result<ReportView> analysisView(const ViewRequest& request);
Result<ReportView> graphView(const ViewRequest& request);
Result<ReportView> dailyView(const ViewRequest& request);
Result<ReportView> calendarView(const ViewRequest& request);
Result<ReportView> diaryView(const ViewRequest& request);
Result<ReportView> trendView(const ViewRequest& request);

/// The log of @p dir for a view, as a reading the view's lists can share; a one-line failure
/// when it is missing or unreadable.
Result<std::shared_ptr<const LogContents>> readLogFor(const QString& dir);
/// The notice of the lines of @p log its reader skipped, or an empty text.
QString skippedWarning(const LogContents& log);

/// Options of the form "--name value": the value of @p name, or nothing when it is absent.
/// Unknown options and a missing value are usage errors.
class ViewOptions {
public:
    /// @p flags take no value, @p valued take one.
    ViewOptions(const QStringList& args, const QStringList& flags, const QStringList& valued);
    bool ok() const { return m_error.isEmpty(); }
    const QString& error() const { return m_error; }
    bool has(const QString& name) const { return m_values.contains(name); }
    QString value(const QString& name) const { return m_values.value(name); }

private:
    QMap<QString, QString> m_values;
    QString m_error;
};

} // namespace puka::report
