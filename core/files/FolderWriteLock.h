#pragma once

#include "core/base/Status.h"

#include <QString>

#include <cerrno>
#include <chrono>

namespace puka {

/**
 * The write lock of a working folder. Every writer of every data file holds it for its whole
 * read-modify-write: it reads the file under the lock, applies its change to what it read
 * and writes, so two windows, a window and a script, or a sync client never lose each other's
 * changes.
 *
 * The lock is an advisory lock (flock) on the file ".pukapuka.lock" in the folder, made on
 * first use and never written to; the system releases it when the process ends, however it
 * ends, so a crashed program never blocks the next one. The holder waits up to waitLimit()
 * for another holder to finish, then gives up with a message.
 *
 * A thread that holds the lock of a folder may take it again (writers call writers: a new
 * start writes the profile through the profile's writer); the lock goes with its outermost
 * holder. Usage:
 *
 *     const FolderWriteLock lock(dir);
 *     if (!lock.locked())
 *         return lock.failure(path);
 */
class FolderWriteLock {
public:
    /// Takes the write lock of the folder @p dir, waiting for another holder up to waitLimit().
    explicit FolderWriteLock(const QString& dir);
    ~FolderWriteLock();
    FolderWriteLock(const FolderWriteLock&) = delete;
    FolderWriteLock& operator=(const FolderWriteLock&) = delete;

    /// True when this object holds the lock.
    bool locked() const { return m_locked; }
    /// True when another window or program kept the lock past the wait (not when the lock file
    /// could not be made).
    bool busy() const { return !m_locked && m_error == EWOULDBLOCK; }

    /// Why the lock could not be taken, as the failure to save the file @p path: 「権限」 when
    /// the lock file cannot be made (a folder the user may not write), or that another window
    /// or program kept writing for longer than the wait.
    Status failure(const QString& path) const;

    /// How long a writer waits for the lock: 5 seconds unless a test sets another limit.
    static std::chrono::milliseconds waitLimit();
    static void setWaitLimit(std::chrono::milliseconds limit);

    /// The name of the lock file in the working folder.
    static QString fileName();

private:
    bool m_locked = false;
    int m_error = 0; ///< the errno when the lock file could not be opened; EWOULDBLOCK after the wait
    unsigned long long m_device = 0;
    unsigned long long m_inode = 0;
};

} // namespace puka
