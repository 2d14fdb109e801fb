#pragma once

#include "tools/report/ReportPrinter.h"

#include <QByteArray>
#include <QStringList>

namespace puka::report {

/// Runs pukapuka-report with @p args (without the program name): the standard output goes
/// to @p out, a one-line message to @p err. Returns the exit status: 0, or 2 for a usage
/// error or an unreadable data file.
int run(const QStringList& args, QByteArray* out, QByteArray* err);

/// run() writing the standard output to @p out as it is produced. A piece that @p out cannot
/// take stops the report with exit status 2 and a message in @p err.
int run(const QStringList& args, const OutputSink& out, QByteArray* err);

/// The usage text: every option, every view and each view's options.
QByteArray usage();
/// The names of the views, in the order the usage text lists them.
QStringList viewNames();

} // namespace puka::report
