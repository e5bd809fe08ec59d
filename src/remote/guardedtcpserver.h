#pragma once
// The listening socket of the remote's HTTP server, with limits the HTTP server itself has none
// of: it would wait for ever on a request that never ends (a client sending a byte now and then
// holds a connection for good) and keep a request's body in memory however large it grows.
//
// Each connection is watched from its first byte: a request not answered within requestMs of
// its first byte, or more than maxRequestBytes sent before an answer, ends the connection; so
// does idleMs without any traffic (a browser's kept-alive connection is opened again when
// needed). Beyond maxConnections open at once, a new connection is closed at once.

#include <QElapsedTimer>
#include <QHash>
#include <QTcpServer>
#include <QTimer>

class QTcpSocket;

namespace lumora::remote {

struct ConnectionLimits {
    int requestMs = 10000;
    int idleMs = 60000;
    qint64 maxRequestBytes = 1024 * 1024; // the API refuses bodies over 64 KiB with 413
    int maxConnections = 64;
};

class GuardedTcpServer : public QTcpServer {
    Q_OBJECT
  public:
    explicit GuardedTcpServer(ConnectionLimits limits, QObject* parent = nullptr);
    ~GuardedTcpServer() override;

    int openConnections() const { return int(watched_.size()); }

  protected:
    void incomingConnection(qintptr handle) override;

  private:
    struct Watch {
        qint64 lastTraffic = 0;  // ms on clock_
        qint64 requestFrom = -1; // ms on clock_ of the first byte not yet answered, -1: none
        qint64 pendingBytes = 0; // bytes received since the last answer
    };
    void check();
    void received(QTcpSocket* socket);

    ConnectionLimits limits_;
    QElapsedTimer clock_;
    QTimer sweep_;
    QHash<QTcpSocket*, Watch> watched_;
};

} // namespace lumora::remote
