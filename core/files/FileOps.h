#pragma once

#include "core/base/Status.h"

#include <QByteArray>
#include <QString>

#include <functional>
#include <optional>

namespace puka {

/// The low-level steps of writing a file, as seen by the fault hook.
enum class FileStep {
    Read,   ///< opening a file, or searching a folder, for reading
    Open,   ///< opening or creating a file for writing
    Write,  ///< one write call
    Flush,  ///< fsync of a file or of its folder
    Rename, ///< renaming the complete copy over the old name
};

/// When an injected fault strikes.
enum class FaultTiming {
    Before, ///< the step fails before its system call: nothing was done
    After,  ///< the system call took effect, then the step reports the failure: a write wrote
            ///< part of its bytes, a rename happened, a flush was made, as a failing disk or a
            ///< network file system may report. Opening and reading fail before.
};

/// What the fault hook makes of one step: no fault (error 0), or an errno value that the step
/// reports as its failure, before or after its system call.
struct Fault {
    Fault(int e = 0, FaultTiming t = FaultTiming::Before) : error(e), timing(t) {}
    int error;
    FaultTiming timing;
};

/// Tests install a hook that sees every step, with the file or folder it is about, in the
/// order the steps run (so a test can check that nothing written goes unflushed), and may make
/// any step fail.
using FaultHook = std::function<Fault(FileStep step, const QString& path)>;
void setFaultHook(FaultHook hook);

/// Whether a flush step asks the disk to write (fsync). Tests that run a writer thousands of
/// times in scratch folders turn it off to save the waiting; the step still runs through the
/// fault hook and reports as before. On by default.
void setDiskFlushes(bool on);
/// One state of a file on disk: which file it is (device and inode), its size and the times of
/// its last changes to the nanosecond. Two readings of equal identity read the same bytes, save
/// for two writes of one size within one tick of the system clock.
struct FileIdentity {
    bool exists = false;
    int error = 0; ///< the errno when the file could not be examined
    quint64 device = 0;
    quint64 inode = 0;
    qint64 size = 0;
    qint64 modified = 0; ///< the last change of the content (st_mtim), in nanoseconds
    qint64 changed = 0;  ///< the last change of the content or the entry (st_ctim), in nanoseconds

    bool operator==(const FileIdentity& other) const;
    bool operator!=(const FileIdentity& other) const { return !(*this == other); }
};

/// The identity of the file @p path now, through symbolic links.
FileIdentity fileIdentity(const QString& path);

/// The whole content of a file; `exists` is false when there is no such file.
struct FileBytes {
    bool exists = false;
    QByteArray bytes;
    FileIdentity identity; ///< of the file that was read, as it was opened
};

/// A file read a piece at a time, so that a reader of any size holds one piece of it.
class FileReader {
public:
    /// Opens @p path for reading. A missing file is no failure (exists() is false); a file or
    /// folder that is there but cannot be read is, with the message of readFileBytes().
    explicit FileReader(const QString& path);
    ~FileReader();
    FileReader(const FileReader&) = delete;
    FileReader& operator=(const FileReader&) = delete;

    bool exists() const { return m_identity.exists; }
    const Status& status() const { return m_status; }
    /// The identity of the open file; its size is the size when it was opened.
    const FileIdentity& identity() const { return m_identity; }
    /// Appends up to @p most bytes to @p bytes. Returns how many, 0 at the end of the file, or
    /// -1 on a failure (status() then says what).
    qint64 read(QByteArray* bytes, qint64 most);

private:
    QString m_path;
    int m_fd = -1;
    FileIdentity m_identity;
    Status m_status;
};

/// Reads a whole file. A missing file is no failure (exists = false); a file or folder that
/// is there but cannot be read is, with a message that says so (「権限」 when it is refused),
/// and so is a symbolic link whose target is not there (a synced folder that is not mounted).
Result<FileBytes> readFileBytes(const QString& path);

/**
 * Replaces the file @p path with @p bytes so that a crash at any moment leaves either the old
 * or the new complete file. The bytes go to a copy under a fresh name in the file's folder,
 * created exclusively and never through a link; the copy gets the old file's permission bits
 * (and its owner and group where the process may set them), is flushed to disk and renamed
 * over the old name; then the folder is flushed. A path that is a symbolic link is replaced
 * beside the file it points to, so the link stays a link. A file the process may not write
 * is refused, as an append would be.
 *
 * On failure nothing is changed and the message says so; the one exception is a folder flush
 * that fails after the rename: the new content is then in place, and the failure is
 * Status::notFlushed() with folderFlushMessage(), which says it may not have reached the disk.
 * A rename that reports a failure although it took place is seen as the success it is.
 */
Status writeFileAtomic(const QString& path, const QByteArray& bytes);

/**
 * Appends @p line (which ends with its line end) in one write and flushes it. When the
 * file does not end with a line end, one is written first so the new line stands alone.
 * On failure the file is cut back to its former length (when it holds nothing after what
 * this append wrote), and a file the append created is removed again. A new file whose folder
 * cannot be flushed is kept, and the failure is Status::notFlushed(). Nothing is appended
 * through a symbolic link whose target is not there.
 */
Status appendToFile(const QString& path, const QByteArray& line);

/// Renames @p from to @p to (replacing @p to) and flushes the folder (a failed flush as for
/// writeFileAtomic()).
Status renameFile(const QString& from, const QString& to);

/// True when a directory entry of that name exists, a dangling symbolic link included.
bool entryExists(const QString& path);

/// A failure with the Japanese message when the working folder @p dir cannot be searched, so
/// that no file in it can be read (「権限」 when that is refused).
Status folderReadProblem(const QString& dir);

/// The Japanese message for a failed write of @p path with the given errno.
QString writeFailureMessage(const QString& path, int error);

/// The Japanese message for a file or folder that is there but cannot be read.
QString readFailureMessage(const QString& path, int error);

/// The Japanese message for a new content that is in place but whose folder could not be
/// flushed to disk.
QString folderFlushMessage(const QString& path, int error);

} // namespace puka
