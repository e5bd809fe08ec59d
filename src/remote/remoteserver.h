#pragma once
// The embedded server for phones, stage screens and streaming programs. Off until start() is
// called. HTTP (QHttpServer) serves the pages from the program's resources and a small JSON API;
// a separate WebSocket server, on the next port, pushes the "now showing" value. Every request
// and every WebSocket needs a paired device's token, given in the Authorization header
// ("Bearer TOKEN") or in the HttpOnly cookie set at pairing; a WebSocket gives it as its first
// message, {"token":"..."}, within five seconds.
//
//   POST /api/pair    {"pin":"123456","name":"Phone","role":"control"} or {"code":"..."} → token
//   GET  /api/now     the now-showing value
//   GET  /api/info    {"webSocketPort":N,"role":"control"}
//   POST /api/ticket  {"ticket":"..."}: a one-time ticket, good for 30 seconds, that a page
//                     (which cannot read its HttpOnly cookie) gives the WebSocket as {"ticket":"..."}
//   POST /api/action  {"action":"goto","reference":"Ps 23:1-3"} ...
//   GET  /api/hymns?search=TEXT   {"hymns":[{"id","label","title","book"}]}: the hymn search
//   GET  /api/playlist            the same for the playlist on display
//   GET  /            the remote page (or the pairing page without a token)

#include "remote/devicestore.h"
#include "remote/guardedtcpserver.h"
#include "remote/messages.h"
#include "remote/pairing.h"
#include "session/nowshowing.h"

#include <QElapsedTimer>
#include <QHash>
#include <QHostAddress>
#include <QObject>

#include <memory>
#include <optional>

class QHttpServer;
class QHttpServerRequest;
class QTcpServer;
class QWebSocket;
class QWebSocketServer;

namespace lumora::remote {

struct HttpAnswer {
    int status = 200;
    QByteArray contentType;
    QByteArray body;
    QByteArray setCookie; // "" sets none
};

class RemoteServer : public QObject {
    Q_OBJECT
  public:
    RemoteServer(DeviceStore* store, Pairing* pairing, QObject* parent = nullptr);
    ~RemoteServer() override;

    void setActions(RemoteActions* actions) { actions_ = actions; }
    void setAuthTimeoutMs(int ms) { authTimeoutMs_ = ms; }
    // For the next start(): how long a request may take, how large it may grow, and so on.
    void setConnectionLimits(const ConnectionLimits& limits) { connectionLimits_ = limits; }
    int openHttpConnections() const;

    // Listens on `address` at `port` (HTTP) and `port + 1` (WebSocket). On failure (a port taken,
    // an address not on this machine) nothing listens and the reason is returned.
    std::optional<QString> start(const QHostAddress& address, quint16 port);
    // Closes every connection and stops listening.
    void stop();
    bool isRunning() const { return tcp_ != nullptr; }
    quint16 httpPort() const;
    quint16 webSocketPort() const;

    // Revokes a device: its requests are refused from now on and its open WebSockets closed.
    bool revoke(const QString& deviceId);

    int openWebSockets() const { return int(sockets_.size()); }

  public slots:
    void showNow(const lumora::session::NowShowing& now);

  signals:
    void devicesChanged();
    void pinChanged();

  private:
    struct Client {
        QString deviceId; // "" until authenticated
        Role role = Role::View;
    };

    HttpAnswer answer(const QHttpServerRequest& request);
    HttpAnswer pair(const QHttpServerRequest& request);
    std::optional<Device> deviceOf(const QHttpServerRequest& request) const;
    bool originAllowed(const QByteArray& origin, const QByteArray& host) const;
    void acceptWebSocket();
    void webSocketMessage(QWebSocket* socket, const QString& message);

    DeviceStore* store_;
    Pairing* pairing_;
    RemoteActions* actions_ = nullptr;
    int authTimeoutMs_ = 5000;
    ConnectionLimits connectionLimits_;
    QElapsedTimer clock_;
    std::unique_ptr<QHttpServer> http_;
    GuardedTcpServer* tcp_ = nullptr; // owned by http_ once bound
    std::unique_ptr<QWebSocketServer> webSockets_;
    QHash<QWebSocket*, Client> sockets_;
    struct Ticket {
        QString deviceId;
        qint64 until = 0;
    };
    QHash<QByteArray, Ticket> tickets_;
    quint64 seq_ = 0;
    QByteArray nowJson_;
};

} // namespace lumora::remote
