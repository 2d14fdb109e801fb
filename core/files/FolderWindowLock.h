#pragma once

#include <QString>

namespace puka {

/**
 * The lock a window holds on its working folder for as long as it is open, so that a second
 * start on the same folder can tell that the folder is already open. It is an advisory lock
 * (flock) on the folder itself: nothing is written into the folder, and the system releases
 * the lock when the window's process ends, however it ends, so a crashed window never keeps
 * the folder.
 */
class FolderWindowLock {
public:
    /// Tries once to take the lock of the folder @p dir, without waiting.
    explicit FolderWindowLock(const QString& dir);
    ~FolderWindowLock();
    FolderWindowLock(const FolderWindowLock&) = delete;
    FolderWindowLock& operator=(const FolderWindowLock&) = delete;

    /// True when this object holds the lock: no other window has the folder open.
    bool locked() const { return m_fd >= 0; }
    /// True when another process (or another lock in this one) holds it. Neither this nor
    /// locked() holds when the folder allows no lock (some network file systems): the program
    /// then cannot tell and opens the window.
    bool heldElsewhere() const { return m_heldElsewhere; }

    /// The name under which the window of the folder @p dir listens for later starts: the same
    /// for every path of the folder (links, "."), different for every user and folder.
    static QString serverName(const QString& dir);

private:
    int m_fd = -1;
    bool m_heldElsewhere = false;
};

} // namespace puka
