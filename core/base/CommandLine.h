#pragma once

#include "core/base/Status.h"

#include <QString>
#include <QStringList>

namespace puka::commandline {

/**
 * The arguments of a command-line tool (without the program name), with the folder of
 * "-C DIR" entered: the process changes into DIR by its bytes as given, and the argument
 * becomes ".", so that a folder whose name is no valid UTF-8 (raw Shift_JIS bytes from an old
 * archive) works like any other; a QString could not carry such a name. Only the options
 * before the command word are looked at; @p valued names the options that take a value.
 * A failure with a one-line Japanese message when the folder cannot be entered.
 */
Result<QStringList> enterFolder(int argc, char** argv, const QStringList& valued);

} // namespace puka::commandline
