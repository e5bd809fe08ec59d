#include "remote/guardedtcpserver.h"

#include <QTcpSocket>

#include <algorithm>

namespace lumora::remote {

GuardedTcpServer::GuardedTcpServer(ConnectionLimits limits, QObject* parent)
    : QTcpServer(parent), limits_(limits) {
    clock_.start();
    sweep_.setInterval(std::clamp(std::min(limits_.requestMs, limits_.idleMs) / 4, 50, 1000));
    connect(&sweep_, &QTimer::timeout, this, &GuardedTcpServer::check);
}

GuardedTcpServer::~GuardedTcpServer() {
    // The sockets go after this object's members, with the base classes (pending ones) or the
    // QObject (the rest): none of their last signals may reach the watch.
    for (QTcpSocket* socket : findChildren<QTcpSocket*>())
        socket->disconnect(this);
}

void GuardedTcpServer::incomingConnection(qintptr handle) {
    auto* socket = new QTcpSocket(this);
    if (!socket->setSocketDescriptor(handle)) {
        delete socket;
        return;
    }
    if (watched_.size() >= limits_.maxConnections) {
        socket->abort();
        socket->deleteLater();
        return;
    }
    watched_.insert(socket, Watch{clock_.elapsed(), -1, 0});
    // Connected before the HTTP server's own handler, which reads the bytes away.
    connect(socket, &QTcpSocket::readyRead, this, [this, socket] { received(socket); });
    connect(socket, &QTcpSocket::bytesWritten, this, [this, socket] {
        const auto w = watched_.find(socket);
        if (w == watched_.end()) return;
        w->lastTraffic = clock_.elapsed();
        w->requestFrom = -1; // answered
        w->pendingBytes = 0;
    });
    connect(socket, &QObject::destroyed, this, [this, socket] { watched_.remove(socket); });
    connect(socket, &QTcpSocket::disconnected, this, [this, socket] { watched_.remove(socket); });
    if (!sweep_.isActive()) sweep_.start();
    addPendingConnection(socket);
}

void GuardedTcpServer::received(QTcpSocket* socket) {
    const auto w = watched_.find(socket);
    if (w == watched_.end()) return;
    const qint64 now = clock_.elapsed();
    w->lastTraffic = now;
    if (w->requestFrom < 0) w->requestFrom = now;
    // What has come since the last look; the HTTP server reads it all right after this.
    w->pendingBytes += socket->bytesAvailable();
    if (w->pendingBytes > limits_.maxRequestBytes) {
        watched_.erase(w);
        socket->abort();
    }
}

void GuardedTcpServer::check() {
    const qint64 now = clock_.elapsed();
    QList<QTcpSocket*> ending;
    for (auto w = watched_.cbegin(); w != watched_.cend(); ++w) {
        const bool slowRequest = w->requestFrom >= 0 && now - w->requestFrom > limits_.requestMs;
        const bool idle = now - w->lastTraffic > limits_.idleMs;
        if (slowRequest || idle) ending << w.key();
    }
    for (QTcpSocket* socket : ending) {
        watched_.remove(socket);
        socket->abort();
    }
    if (watched_.isEmpty()) sweep_.stop();
}

} // namespace lumora::remote
