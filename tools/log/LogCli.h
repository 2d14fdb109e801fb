#pragma once

#include <QByteArray>
#include <QStringList>

namespace puka::logtool {

/// The exit statuses of pukapuka-log.
enum Exit {
    Written = 0, ///< the change was written
    Refused = 1, ///< a check refused it: nothing written, the window's text on standard error
    Failed = 2,  ///< a usage error, or a file that cannot be read or written: nothing written
};

/**
 * Runs pukapuka-log with @p args (without the program name): one line saying what was written
 * goes to @p out, a message to @p err. The commands call the same core code as the window's
 * buttons, through the same folder write lock. Returns the exit status (Exit).
 */
int run(const QStringList& args, QByteArray* out, QByteArray* err);

/// The usage text.
QByteArray usage();

} // namespace puka::logtool
