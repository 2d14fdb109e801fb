#pragma once

#include <QObject>
#include <QString>

#include <chrono>
#include <memory>

class QLocalServer;

namespace puka {
class FolderWindowLock;
}

namespace puka::ui {

/**
 * One window per working folder. The first start on a folder holds the folder's window lock
 * (FolderWindowLock) and listens under the folder's server name; a later start on the same
 * folder asks that window to come to the front and ends, before it reads or writes any file.
 * A window that died leaves neither a lock (the system releases it) nor a server in the way.
 */
class SingleWindow : public QObject {
    Q_OBJECT
public:
    /// What claim() found.
    enum class Start {
        First,       ///< no other window has the folder: this start opens the window
        Raised,      ///< the window that has the folder was asked to come to the front
        AlreadyOpen, ///< another window has the folder but did not answer within the wait
    };

    explicit SingleWindow(const QString& dir, QObject* parent = nullptr);
    ~SingleWindow() override;

    /// Takes the folder for this start, or asks the window that has it to come to the front,
    /// trying for up to @p wait while that window may still be starting.
    Start claim(std::chrono::milliseconds wait = std::chrono::seconds(3));

    /// The message and title for Start::AlreadyOpen.
    static QString alreadyOpenMessage();
    static QString alreadyOpenTitle();

Q_SIGNALS:
    /// A later start on the folder asks this window to come to the front.
    void raiseRequested();

private:
    void onConnection();

    QString m_dir;
    std::unique_ptr<FolderWindowLock> m_lock;
    QLocalServer* m_server = nullptr;
};

} // namespace puka::ui
