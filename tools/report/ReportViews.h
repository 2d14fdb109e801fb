#pragma once

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

/// Builds one view of the report. Returns false with a one-line Japanese @p error for a usage
/// error or an unreadable data file; @p warning may carry a notice such as skipped lines.
using ViewBuilder = bool (*)(const ViewRequest& request, ViewModel* view, QString* error, QString* warning);

bool mainView(const ViewRequest& request, ViewModel* view, QString* error, QString* warning);
bool rangeView(const ViewRequest& request, ViewModel* view, QString* error, QString* warning);
bool analysisView(const ViewRequest& request, ViewModel* view, QString* error, QString* warning);
bool graphView(const ViewRequest& request, ViewModel* view, QString* error, QString* warning);
bool dailyView(const ViewRequest& request, ViewModel* view, QString* error, QString* warning);
bool calendarView(const ViewRequest& request, ViewModel* view, QString* error, QString* warning);
bool diaryView(const ViewRequest& request, ViewModel* view, QString* error, QString* warning);
bool trendView(const ViewRequest& request, ViewModel* view, QString* error, QString* warning);

/// The log of @p dir for a view: false with an error when it is missing or unreadable; a
/// notice of skipped lines goes to @p warning.
bool readLogFor(const QString& dir, LogContents* log, QString* error, QString* warning);
/// readLogFor() into a reading the view's lists can share.
bool readLogFor(const QString& dir, std::shared_ptr<const LogContents>* log, QString* error, QString* warning);

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
