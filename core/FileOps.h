#pragma once

#include "Status.h"

#include <QByteArray>
#include <QString>

#include <functional>
#include <optional>

namespace puka {

/// The low-level steps of writing a file, as seen by the fault hook.
enum class FileStep {
    Open,   ///< opening or creating a file for writing
    Write,  ///< one write call
    Flush,  ///< fsync of a file or of its folder
    Rename, ///< renaming the complete copy over the old name
};

/// Tests install a hook that may make any step fail: it returns 0 to let the step run,
/// or an errno value that the step then reports as its failure.
using FaultHook = std::function<int(FileStep step, const QString& path)>;
void setFaultHook(FaultHook hook);

/// The whole content of a file; `exists` is false when there is no such file.
struct FileBytes {
    bool exists = false;
    QByteArray bytes;
};

/// Reads a whole file. A missing file is no failure (exists = false); an unreadable one is.
std::optional<FileBytes> readFileBytes(const QString& path, Status* status);

/**
 * Replaces the file @p path with @p bytes so that a crash at any moment leaves either
 * the old or the new complete file: the bytes go to @p copyPath (created or emptied,
 * in the same folder), are flushed to disk, and the copy is renamed over the old name;
 * then the folder is flushed. On failure the copy is removed and the old file is untouched.
 */
Status writeFileAtomic(const QString& path, const QByteArray& bytes, const QString& copyPath = QString());

/**
 * Appends @p line (which ends with its line end) in one write and flushes it. When the
 * file does not end with a line end, one is written first so the new line stands alone.
 * On failure the file is cut back to its former length.
 */
Status appendToFile(const QString& path, const QByteArray& line);

/// Renames @p from to @p to (replacing @p to) and flushes the folder.
Status renameFile(const QString& from, const QString& to);

/// The Japanese message for a failed write of @p path with the given errno.
QString writeFailureMessage(const QString& path, int error);

} // namespace puka
