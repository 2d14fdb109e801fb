#pragma once

#include "core/base/Status.h"

#include <QByteArray>
#include <QString>

namespace puka::killtest {

/// The log every run of the sequence starts from.
QByteArray initialLog();

/// How many steps the sequence has.
int stepCount();

/// Performs step @p index (from 0) on the log in @p dir: appends, inserts, rewrites through a
/// copy name and whole rewrites in turn, each one changing the log.
Status step(const QString& dir, int index);

} // namespace puka::killtest
