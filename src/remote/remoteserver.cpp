#include "remote/remoteserver.h"

#include <QFile>
#include <QHostInfo>
#include <QHttpServer>
#include <QHttpServerRequest>
#include <QHttpServerResponder>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTcpServer>
#include <QTimer>
#include <QUrl>
#include <QUrlQuery>
#include <QWebSocket>
#include <QWebSocketServer>

static void initRemotePages() {
    Q_INIT_RESOURCE(remotepages);
}

namespace lumora::remote {

namespace {

const QByteArray kJson = QByteArrayLiteral("application/json");
const QByteArray kCookieName = QByteArrayLiteral("lumora_token");

HttpAnswer json(int status, const QByteArray& body) {
    return {status, kJson, body, {}};
}
HttpAnswer notFound() {
    return {404, QByteArrayLiteral("text/plain"), QByteArrayLiteral("Not found"), {}};
}
HttpAnswer unauthorized() {
    return json(401, QByteArrayLiteral("{\"error\":\"token required\"}"));
}

HttpAnswer page(const char* resource,
                const QByteArray& contentType = QByteArrayLiteral("text/html; charset=utf-8")) {
    QFile f(QStringLiteral(":/remote/") + QLatin1String(resource));
    if (!f.open(QIODevice::ReadOnly)) return notFound();
    return {200, contentType, f.readAll(), {}};
}

// The pages by path; each comes from the program's resources, never from a name in a request.
const char* pageAt(const QString& path) {
    if (path == QLatin1String("/")) return "remote.html";
    if (path == QLatin1String("/stage")) return "stage.html";
    if (path == QLatin1String("/live")) return "live.html";
    return nullptr;
}

// The pages load nothing from elsewhere: their scripts and styles are their own, and they talk
// only to this server (its WebSocket is on the next port, hence ws: beside 'self').
const QByteArray kPagePolicy =
    QByteArrayLiteral("default-src 'none'; script-src 'self' 'unsafe-inline'; style-src 'unsafe-inline'; "
                      "connect-src 'self' ws:; img-src 'self' data:; base-uri 'none'; form-action 'self'");

// The token a request carries: the Authorization header first, then the cookie.
QByteArray tokenOf(const QHttpServerRequest& request) {
    const QByteArray auth = request.value(QByteArrayLiteral("Authorization")).trimmed();
    if (auth.startsWith("Bearer ")) return auth.mid(7).trimmed();
    const QByteArray cookies = request.value(QByteArrayLiteral("Cookie"));
    for (const QByteArray& part : cookies.split(';')) {
        const QByteArray c = part.trimmed();
        if (c.startsWith(kCookieName + '=')) return c.mid(kCookieName.size() + 1);
    }
    return {};
}

} // namespace

RemoteServer::RemoteServer(DeviceStore* store, Pairing* pairing, QObject* parent)
    : QObject(parent), store_(store), pairing_(pairing) {
    initRemotePages();
    clock_.start();
    nowJson_ = nowShowingJson({}, 0);
}

RemoteServer::~RemoteServer() {
    stop();
}

std::optional<QString> RemoteServer::start(const QHostAddress& address, quint16 port) {
    stop();
    if (port == 65535) return tr("Port %1 cannot be used: the WebSocket needs the next one.").arg(port);
    std::unique_ptr<GuardedTcpServer> tcp;
    std::unique_ptr<QWebSocketServer> webSockets;
    QString failure;
    bool anotherPortMayDo = true; // false when the address itself cannot be listened on
    const auto listenPair = [&](quint16 at) {
        tcp = std::make_unique<GuardedTcpServer>(connectionLimits_);
        if (!tcp->listen(address, at)) {
            failure = tr("Port %1 cannot be used: %2").arg(at).arg(tcp->errorString());
            anotherPortMayDo = tcp->serverError() == QAbstractSocket::AddressInUseError;
            return false;
        }
        webSockets =
            std::make_unique<QWebSocketServer>(QStringLiteral("Lumora"), QWebSocketServer::NonSecureMode);
        webSockets->setHandshakeTimeout(std::chrono::milliseconds(authTimeoutMs_));
        webSockets->setMaxPendingConnections(64);
        if (tcp->serverPort() < 65535 &&
            webSockets->listen(address, static_cast<quint16>(tcp->serverPort() + 1)))
            return true;
        failure = tr("Port %1 cannot be used: %2").arg(tcp->serverPort() + 1).arg(webSockets->errorString());
        return false;
    };
    // Port 0 asks for any free port, and the one after it must be free too. A few of the system's
    // draws mostly find a pair, but not while outgoing connections hold most ports of its range:
    // under a flood of connections twenty draws in a row found the next port taken. The pairs from
    // the top of the port range down are then tried in turn; on Linux they lie above the range it
    // hands to outgoing connections.
    bool listening = listenPair(port);
    if (port == 0) {
        for (int attempt = 1; attempt < 20 && !listening && anotherPortMayDo; ++attempt)
            listening = listenPair(0);
        for (int at = 65533; at >= 1024 && !listening && anotherPortMayDo; --at)
            listening = listenPair(static_cast<quint16>(at));
    }
    if (!listening) return failure;

    http_ = std::make_unique<QHttpServer>();
    // Every path goes through one dispatcher, so that nothing is served that it does not name.
    http_->setMissingHandler([this](const QHttpServerRequest& request, QHttpServerResponder&& responder) {
        const HttpAnswer a = answer(request);
        const auto status = static_cast<QHttpServerResponder::StatusCode>(a.status);
        responder.writeStatusLine(status);
        responder.writeHeaders({{"Content-Type", a.contentType},
                                {"Content-Length", QByteArray::number(a.body.size())},
                                {"Cache-Control", "no-store"},
                                {"X-Content-Type-Options", "nosniff"}});
        if (a.contentType.startsWith("text/html"))
            responder.writeHeader("Content-Security-Policy", kPagePolicy);
        if (!a.setCookie.isEmpty()) responder.writeHeader("Set-Cookie", a.setCookie);
        responder.writeBody(a.body);
    });
    tcp_ = tcp.release();
    http_->bind(tcp_);
    webSockets_ = std::move(webSockets);
    connect(webSockets_.get(), &QWebSocketServer::newConnection, this, &RemoteServer::acceptWebSocket);
    return std::nullopt;
}

void RemoteServer::stop() {
    const auto sockets = sockets_.keys();
    sockets_.clear();
    for (QWebSocket* s : sockets) {
        s->disconnect(this);
        s->close(QWebSocketProtocol::CloseCodeGoingAway);
        s->deleteLater();
    }
    if (webSockets_) webSockets_->close();
    webSockets_.reset();
    // The HTTP server owns the listening socket and, through it, the open connections.
    http_.reset();
    tcp_ = nullptr;
}

quint16 RemoteServer::httpPort() const {
    return tcp_ ? tcp_->serverPort() : 0;
}
int RemoteServer::openHttpConnections() const {
    return tcp_ ? tcp_->openConnections() : 0;
}
quint16 RemoteServer::webSocketPort() const {
    return webSockets_ ? webSockets_->serverPort() : 0;
}

std::optional<Device> RemoteServer::deviceOf(const QHttpServerRequest& request) const {
    return store_->find(tokenOf(request));
}

// A browser's request is taken from the server's own pages only: its Origin must be this
// server's address as the browser reached it, by an address or this machine's own name (a name
// that resolves elsewhere, as DNS rebinding does, is refused). Programs that send no Origin, such
// as curl or a button deck, still need their token.
bool RemoteServer::originAllowed(const QByteArray& origin, const QByteArray& host) const {
    if (origin.isEmpty()) return true;
    const QUrl url(QString::fromLatin1(origin));
    if (!url.isValid() || url.scheme() != QLatin1String("http") || url.port(80) != httpPort()) return false;
    if (!host.isEmpty() && origin != "http://" + host) return false;
    const QString name = url.host().toLower();
    if (!QHostAddress(name).isNull() || name == QLatin1String("localhost")) return true;
    const QString self = QHostInfo::localHostName().toLower();
    return !self.isEmpty() && (name == self || name == self + QLatin1String(".local"));
}

HttpAnswer RemoteServer::answer(const QHttpServerRequest& request) {
    if (request.body().size() > kMaxMessageBytes)
        return json(413, QByteArrayLiteral("{\"error\":\"too large\"}"));
    const QString path = request.url().path();
    const bool post = request.method() == QHttpServerRequest::Method::Post;
    const bool get = request.method() == QHttpServerRequest::Method::Get;
    if (post &&
        !originAllowed(request.value(QByteArrayLiteral("Origin")), request.value(QByteArrayLiteral("Host"))))
        return json(403, QByteArrayLiteral("{\"error\":\"origin refused\"}"));

    if (path == QLatin1String("/api/pair") && post) return pair(request);

    const std::optional<Device> device = deviceOf(request);
    if (const char* resource = pageAt(path); resource && get) return page(device ? resource : "pair.html");
    if (path == QLatin1String("/feed.js") && get && device)
        return page("feed.js", QByteArrayLiteral("text/javascript; charset=utf-8"));
    if (!path.startsWith(QLatin1String("/api/"))) return notFound();
    if (!device) return unauthorized();
    if (path == QLatin1String("/api/now") && get) return json(200, nowJson_);
    if (path == QLatin1String("/api/info") && get)
        return json(200, QJsonDocument(QJsonObject{{QStringLiteral("webSocketPort"), webSocketPort()},
                                                   {QStringLiteral("role"), roleName(device->role)}})
                             .toJson(QJsonDocument::Compact));
    if (path == QLatin1String("/api/playlist") && get)
        return json(200, hymnListJson(actions_ ? actions_->playlist() : QList<HymnItem>()));
    if (path == QLatin1String("/api/hymns") && get) {
        const QString search =
            QUrlQuery(request.url()).queryItemValue(QStringLiteral("search"), QUrl::FullyDecoded);
        if (search.size() > kMaxHymnSearch) return json(400, QByteArrayLiteral("{\"error\":\"malformed\"}"));
        return json(200, hymnListJson(actions_ ? actions_->findHymns(search.trimmed()) : QList<HymnItem>()));
    }
    if (path == QLatin1String("/api/ticket") && post) {
        const qint64 now = clock_.elapsed();
        tickets_.removeIf([now](const auto& t) { return t.value().until < now; });
        const QByteArray ticket = newToken();
        tickets_.insert(ticket, {device->id, now + 30000});
        return json(200, "{\"ticket\":\"" + ticket + "\"}");
    }
    if (path == QLatin1String("/api/action") && post) {
        const Reply r = handleMessage(request.body(), device->role, actions_);
        return json(r.status, r.json);
    }
    return notFound();
}

HttpAnswer RemoteServer::pair(const QHttpServerRequest& request) {
    const QJsonDocument doc = QJsonDocument::fromJson(request.body());
    if (!doc.isObject()) return json(400, QByteArrayLiteral("{\"error\":\"malformed\"}"));
    const QJsonObject o = doc.object();
    const auto role = roleFromName(o.value(QLatin1String("role")).toString(QStringLiteral("control")));
    if (!role) return json(400, QByteArrayLiteral("{\"error\":\"malformed\"}"));
    const QString name = o.value(QLatin1String("name")).toString().trimmed().left(64);

    PairCheck check = PairCheck::Wrong;
    if (o.contains(QLatin1String("code"))) {
        check = pairing_->useCode(o.value(QLatin1String("code")).toString());
    } else if (o.contains(QLatin1String("pin"))) {
        const QString before = pairing_->pin();
        check = pairing_->checkPin(request.remoteAddress().toString(),
                                   o.value(QLatin1String("pin")).toString(), clock_.elapsed());
        if (pairing_->pin() != before) emit pinChanged();
    } else if (*role == Role::View && store_->settings().viewWithoutPin) {
        check = PairCheck::Accepted;
    }
    if (check == PairCheck::RateLimited)
        return json(429, QByteArrayLiteral("{\"error\":\"too many wrong PINs, wait a minute\"}"));
    if (check != PairCheck::Accepted)
        return json(403, QByteArrayLiteral("{\"error\":\"wrong PIN or code\"}"));

    const QByteArray token = store_->add(name.isEmpty() ? tr("Device") : name, *role);
    if (token.isEmpty()) return json(500, QByteArrayLiteral("{\"error\":\"the device could not be saved\"}"));
    emit devicesChanged();
    HttpAnswer a =
        json(200, QJsonDocument(QJsonObject{{QStringLiteral("token"), QString::fromLatin1(token)},
                                            {QStringLiteral("id"), store_->devices().constLast().id},
                                            {QStringLiteral("role"), roleName(*role)}})
                      .toJson(QJsonDocument::Compact));
    a.setCookie = kCookieName + '=' + token + "; Path=/; HttpOnly; SameSite=Strict; Max-Age=31536000";
    return a;
}

bool RemoteServer::revoke(const QString& deviceId) {
    if (!store_->revoke(deviceId)) return false;
    for (auto it = sockets_.begin(); it != sockets_.end();) {
        if (it.value().deviceId == deviceId) {
            QWebSocket* s = it.key();
            it = sockets_.erase(it);
            s->disconnect(this);
            s->close(QWebSocketProtocol::CloseCodePolicyViolated, QStringLiteral("revoked"));
            s->deleteLater();
        } else {
            ++it;
        }
    }
    emit devicesChanged();
    return true;
}

void RemoteServer::acceptWebSocket() {
    while (webSockets_ && webSockets_->hasPendingConnections()) {
        QWebSocket* socket = webSockets_->nextPendingConnection();
        socket->setParent(this);
        socket->setMaxAllowedIncomingMessageSize(kMaxMessageBytes);
        socket->setMaxAllowedIncomingFrameSize(kMaxMessageBytes);
        const QByteArray host = socket->request().url().authority().toLatin1();
        const QByteArray origin = socket->origin().toLatin1();
        // The page's origin is the HTTP server's address, never the WebSocket's own port.
        const QUrl o(QString::fromLatin1(origin));
        const QByteArray expectedHost =
            host.isEmpty() || o.host().isEmpty()
                ? QByteArray()
                : QUrl(QStringLiteral("http://") + QString::fromLatin1(host)).host().toLatin1() + ':' +
                      QByteArray::number(httpPort());
        if (!originAllowed(origin, origin.isEmpty() ? QByteArray() : expectedHost)) {
            socket->close(QWebSocketProtocol::CloseCodePolicyViolated, QStringLiteral("origin refused"));
            socket->deleteLater();
            continue;
        }
        sockets_.insert(socket, {});
        connect(socket, &QWebSocket::textMessageReceived, this,
                [this, socket](const QString& m) { webSocketMessage(socket, m); });
        connect(socket, &QWebSocket::binaryMessageReceived, this,
                [this, socket](const QByteArray&) { webSocketMessage(socket, QString()); });
        connect(socket, &QWebSocket::disconnected, this, [this, socket] {
            if (sockets_.remove(socket)) socket->deleteLater();
        });
        QTimer::singleShot(authTimeoutMs_, socket, [this, socket] {
            const auto it = sockets_.constFind(socket);
            if (it == sockets_.constEnd() || !it->deviceId.isEmpty()) return;
            sockets_.remove(socket);
            socket->close(QWebSocketProtocol::CloseCodePolicyViolated, QStringLiteral("no token"));
            socket->deleteLater();
        });
    }
}

void RemoteServer::webSocketMessage(QWebSocket* socket, const QString& message) {
    const auto it = sockets_.find(socket);
    if (it == sockets_.end()) return;
    if (it->deviceId.isEmpty()) {
        const QJsonObject o = QJsonDocument::fromJson(message.toUtf8()).object();
        std::optional<Device> device;
        if (o.contains(QLatin1String("ticket"))) {
            const auto t = tickets_.take(o.value(QLatin1String("ticket")).toString().toLatin1());
            if (!t.deviceId.isEmpty() && t.until >= clock_.elapsed())
                for (const Device& d : store_->devices())
                    if (d.id == t.deviceId) device = d;
        } else {
            device = store_->find(o.value(QLatin1String("token")).toString().toLatin1());
        }
        if (!device) {
            sockets_.erase(it);
            socket->close(QWebSocketProtocol::CloseCodePolicyViolated, QStringLiteral("token refused"));
            socket->deleteLater();
            return;
        }
        it->deviceId = device->id;
        it->role = device->role;
        socket->sendTextMessage(QString::fromUtf8(nowJson_));
        return;
    }
    // The device may have been revoked by another path meanwhile: ask the store each time.
    const auto still = std::any_of(store_->devices().cbegin(), store_->devices().cend(),
                                   [&](const Device& d) { return d.id == it->deviceId; });
    if (!still) {
        sockets_.erase(it);
        socket->close(QWebSocketProtocol::CloseCodePolicyViolated, QStringLiteral("revoked"));
        socket->deleteLater();
        return;
    }
    const Reply r = handleMessage(message.toUtf8(), it->role, actions_);
    socket->sendTextMessage(QString::fromUtf8(r.json));
}

void RemoteServer::showNow(const session::NowShowing& now) {
    nowJson_ = nowShowingJson(now, ++seq_);
    const QString text = QString::fromUtf8(nowJson_);
    for (auto it = sockets_.cbegin(); it != sockets_.cend(); ++it)
        if (!it->deviceId.isEmpty()) it.key()->sendTextMessage(text);
}

} // namespace lumora::remote
