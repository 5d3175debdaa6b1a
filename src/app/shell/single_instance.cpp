#include "app/shell/single_instance.h"

#include <unistd.h>

#include <QLocalServer>
#include <QLocalSocket>

namespace qelto::app {

namespace {
// One line of UTF-8: the absolute path of the document, or nothing.
constexpr qint64 kMaxRequest = 64 * 1024;
}  // namespace

QString instanceServerName() {
    return QStringLiteral("CorvidClass-%1").arg(static_cast<qulonglong>(::getuid()));
}

bool handOverToRunningInstance(const QString& serverName, const QString& file, int timeoutMs) {
    QLocalSocket socket;
    socket.connectToServer(serverName);
    if (!socket.waitForConnected(timeoutMs)) {
        return false;
    }
    socket.write(file.toUtf8() + '\n');
    if (!socket.waitForBytesWritten(timeoutMs)) {
        return false;
    }
    socket.disconnectFromServer();
    if (socket.state() != QLocalSocket::UnconnectedState) {
        socket.waitForDisconnected(timeoutMs);
    }
    return true;
}

InstanceServer::InstanceServer(QObject* parent) : QObject(parent), server_(new QLocalServer(this)) {
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    connect(server_, &QLocalServer::newConnection, this, &InstanceServer::acceptConnection);
}

bool InstanceServer::listen(const QString& serverName) {
    if (server_->listen(serverName)) {
        return true;
    }
    // Nobody answered the hand-over, so the socket file is a crashed instance's.
    QLocalServer::removeServer(serverName);
    return server_->listen(serverName);
}

void InstanceServer::acceptConnection() {
    while (QLocalSocket* socket = server_->nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
            if (!socket->canReadLine()) {
                if (socket->bytesAvailable() > kMaxRequest) {
                    socket->abort();
                }
                return;
            }
            const QString file = QString::fromUtf8(socket->readLine(kMaxRequest)).trimmed();
            socket->disconnectFromServer();
            Q_EMIT activationRequested(file);
        });
    }
}

}  // namespace qelto::app
