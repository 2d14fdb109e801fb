#include "ui/SingleWindow.h"

#include "core/base/Messages.h"
#include "core/files/FolderWindowLock.h"

#include <QElapsedTimer>
#include <QLocalServer>
#include <QLocalSocket>
#include <QThread>

namespace puka::ui {
namespace {

const QByteArray kRaise = QByteArrayLiteral("raise\n");

} // namespace

SingleWindow::SingleWindow(const QString& dir, QObject* parent) : QObject(parent), m_dir(dir) {}

SingleWindow::~SingleWindow() = default;

SingleWindow::Start SingleWindow::claim(std::chrono::milliseconds wait) {
    m_lock = std::make_unique<FolderWindowLock>(m_dir);
    const QString name = FolderWindowLock::serverName(m_dir);
    if (!m_lock->heldElsewhere()) {
        // only the holder of the lock removes a server name, which a window that died left behind
        if (m_lock->locked())
            QLocalServer::removeServer(name);
        m_server = new QLocalServer(this);
        m_server->setSocketOptions(QLocalServer::UserAccessOption);
        if (m_server->listen(name))
            connect(m_server, &QLocalServer::newConnection, this, &SingleWindow::onConnection);
        return Start::First;
    }
    QElapsedTimer timer;
    timer.start();
    while (true) {
        QLocalSocket socket;
        socket.connectToServer(name);
        if (socket.waitForConnected(500)) {
            socket.write(kRaise);
            if (socket.waitForBytesWritten(1000))
                return Start::Raised;
        }
        if (timer.elapsed() >= wait.count())
            return Start::AlreadyOpen;
        QThread::msleep(100);
    }
}

void SingleWindow::onConnection() {
    while (QLocalSocket* socket = m_server->nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        const auto read = [this, socket] {
            while (socket->canReadLine())
                if (socket->readLine() == kRaise)
                    Q_EMIT raiseRequested();
        };
        connect(socket, &QLocalSocket::readyRead, this, read);
        read();
    }
}

QString SingleWindow::alreadyOpenMessage() {
    return QStringLiteral("このフォルダの記録は、すでに別のウィンドウで開いています。\r\n"
                          "開いているウィンドウをお使いください。");
}

QString SingleWindow::alreadyOpenTitle() {
    return messages::productName();
}

} // namespace puka::ui
