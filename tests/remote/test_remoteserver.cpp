// The remote server over real sockets on this machine: pairing, tokens, limits, origins, the
// WebSocket feed and its closing.

#include "remote/remoteserver.h"
#include "support/recordedactions.h"
#include "support/wait.h"

#include <QCoreApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>
#include <QWebSocket>

#include <gtest/gtest.h>

using namespace lumora;
using namespace lumora::remote;

namespace {

using lumora::testing::waitUntil;

// Whether the socket is closed, or closes within `ms`.
template <class Socket> bool closes(const Socket& s, int ms = 20000) {
    return waitUntil([&] { return s.state() == QAbstractSocket::UnconnectedState; }, ms);
}

// The first message of a WebSocket that holds `token`.
QByteArray tokenMessage(const QByteArray& token) {
    return "{\"token\":\"" + token + "\"}";
}

struct Answer {
    int status = 0;
    QByteArray body;
    QByteArray setCookie;
    QByteArray policy; // Content-Security-Policy
    QJsonObject json() const { return QJsonDocument::fromJson(body).object(); }
};

using lumora::testing::RecordedActions;

class RemoteServerTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        ASSERT_TRUE(store.load());
        server.setActions(&actions);
        const auto error = server.start(QHostAddress::LocalHost, 0);
        ASSERT_FALSE(error) << error->toStdString();
        base = QStringLiteral("http://127.0.0.1:%1").arg(server.httpPort());
    }

    Answer request(const QByteArray& method, const QString& path, const QByteArray& body = {},
                   const QList<QPair<QByteArray, QByteArray>>& headers = {}) {
        QNetworkRequest r{QUrl(base + path)};
        r.setHeader(QNetworkRequest::ContentTypeHeader, "application/json");
        // each request carries only the credentials the test gives it
        r.setAttribute(QNetworkRequest::CookieLoadControlAttribute, QNetworkRequest::Manual);
        r.setAttribute(QNetworkRequest::CookieSaveControlAttribute, QNetworkRequest::Manual);
        for (const auto& h : headers)
            r.setRawHeader(h.first, h.second);
        QNetworkReply* reply = nam.sendCustomRequest(r, method, body);
        Answer a;
        if (waitUntil([reply] { return reply->isFinished(); }))
            a = {reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt(), reply->readAll(),
                 reply->rawHeader("Set-Cookie"), reply->rawHeader("Content-Security-Policy")};
        reply->deleteLater();
        return a;
    }

    Answer withToken(const QByteArray& method, const QString& path, const QByteArray& token,
                     const QByteArray& body = {}) {
        return request(method, path, body, {{"Authorization", "Bearer " + token}});
    }

    QByteArray pairWithPin(const char* role = "control") {
        const Answer a = request("POST", "/api/pair",
                                 QByteArray("{\"pin\":\"") + pairing.pin().toLatin1() +
                                     "\",\"name\":\"Phone\",\"role\":\"" + role + "\"}");
        EXPECT_EQ(a.status, 200) << a.body.constData();
        return a.json().value("token").toString().toLatin1();
    }

    // An open WebSocket that gave `first` as its first message.
    std::unique_ptr<QWebSocket> openSocket(const QByteArray& first, const QString& origin = {}) {
        auto ws = std::make_unique<QWebSocket>(origin);
        QObject::connect(ws.get(), &QWebSocket::textMessageReceived,
                         [this](const QString& m) { pushed << m.toUtf8(); });
        ws->open(QUrl(QStringLiteral("ws://127.0.0.1:%1/").arg(server.webSocketPort())));
        waitUntil([&] {
            return ws->state() == QAbstractSocket::ConnectedState ||
                   ws->state() == QAbstractSocket::UnconnectedState;
        });
        if (!first.isEmpty() && ws->state() == QAbstractSocket::ConnectedState) ws->sendTextMessage(first);
        return ws;
    }

    QTemporaryDir dir;
    DeviceStore store{dir.filePath("Lumora.remote")};
    Pairing pairing;
    RecordedActions actions;
    RemoteServer server{&store, &pairing};
    QNetworkAccessManager nam;
    QString base;
    QList<QByteArray> pushed;
    QJsonObject lastPushed() const { return QJsonDocument::fromJson(pushed.last()).object(); }
};

} // namespace

TEST_F(RemoteServerTest, pairingWithThePinGivesATokenThatOpensTheApi) {
    EXPECT_EQ(request("POST", "/api/pair", "{\"pin\":\"abcdef\"}").status, 403);
    const Answer a =
        request("POST", "/api/pair",
                "{\"pin\":\"" + pairing.pin().toLatin1() + "\",\"name\":\"Pastor\",\"role\":\"control\"}");
    ASSERT_EQ(a.status, 200);
    const QByteArray token = a.json().value("token").toString().toLatin1();
    EXPECT_FALSE(token.isEmpty());
    EXPECT_TRUE(a.setCookie.contains("HttpOnly")) << a.setCookie.constData();
    EXPECT_TRUE(a.setCookie.contains("SameSite=Strict")) << a.setCookie.constData();
    ASSERT_EQ(store.devices().size(), 1);
    EXPECT_EQ(store.devices().first().name, QStringLiteral("Pastor"));

    EXPECT_EQ(withToken("GET", "/api/now", token).status, 200);
    EXPECT_EQ(request("GET", "/api/now", {}, {{"Cookie", "other=1; lumora_token=" + token}}).status, 200);
    EXPECT_EQ(
        withToken("POST", "/api/action", token, "{\"action\":\"goto\",\"reference\":\"Ps 23:1-3\"}").status,
        200);
    ASSERT_EQ(actions.done.size(), 1);
    EXPECT_EQ(actions.done.first(), (RemoteAction{RemoteAction::GoTo, "Ps 23:1-3"}));
    // the page behind the token is the remote, without it the pairing form
    EXPECT_TRUE(withToken("GET", "/", token).body.contains("id=\"verses\""));
    EXPECT_TRUE(request("GET", "/").body.contains("id=\"pin\""));
}

TEST_F(RemoteServerTest, aViewDeviceReadsButCannotActAndNeedsThePinByDefault) {
    EXPECT_EQ(request("POST", "/api/pair", "{\"role\":\"view\"}").status, 403);
    const QByteArray view = pairWithPin("view");
    EXPECT_EQ(withToken("GET", "/api/now", view).status, 200);
    EXPECT_EQ(withToken("POST", "/api/action", view, "{\"action\":\"nextVerse\"}").status, 403);
    EXPECT_TRUE(actions.done.isEmpty());

    ASSERT_TRUE(store.setSettings({4320, {}, true}));
    EXPECT_EQ(request("POST", "/api/pair", "{\"role\":\"view\"}").status, 200);
    EXPECT_EQ(request("POST", "/api/pair", "{\"role\":\"control\"}").status, 403)
        << "only the view role may pair without the PIN";
}

TEST_F(RemoteServerTest, aQrCodePairsOnce) {
    const QString code = pairing.newCode();
    const QByteArray body = "{\"code\":\"" + code.toLatin1() + "\"}";
    EXPECT_EQ(request("POST", "/api/pair", body).status, 200);
    EXPECT_EQ(request("POST", "/api/pair", body).status, 403);
}

TEST_F(RemoteServerTest, wrongPinsFromOneAddressAreLimited) {
    const QByteArray wrong = pairing.pin() == "000000" ? "111111" : "000000";
    for (int i = 0; i < Pairing::kWrongPerMinute; ++i)
        EXPECT_EQ(request("POST", "/api/pair", "{\"pin\":\"" + wrong + "\"}").status, 403);
    EXPECT_EQ(request("POST", "/api/pair", "{\"pin\":\"" + pairing.pin().toLatin1() + "\"}").status, 429);
    EXPECT_TRUE(store.devices().isEmpty());
}

TEST_F(RemoteServerTest, everythingButPairingNeedsAValidToken) {
    const QByteArray token = pairWithPin();
    struct Case {
        QByteArray method;
        const char* path;
        QByteArray body;
    } cases[] = {{"GET", "/api/now", {}},
                 {"GET", "/api/info", {}},
                 {"POST", "/api/ticket", {}},
                 {"POST", "/api/action", "{\"action\":\"nextVerse\"}"}};
    for (const Case& c : cases) {
        EXPECT_EQ(request(c.method, c.path, c.body).status, 401) << c.path;
        EXPECT_EQ(withToken(c.method, c.path, token + "A", c.body).status, 401) << c.path;
        EXPECT_EQ(request(c.method, c.path, c.body, {{"Cookie", "lumora_token=nothing"}}).status, 401)
            << c.path;
        EXPECT_EQ(withToken(c.method, c.path, token, c.body).status, 200) << c.path;
    }
    EXPECT_EQ(actions.done.size(), 1);
}

TEST_F(RemoteServerTest, eachPageNeedsTheTokenAndMayLoadNothingFromElsewhere) {
    const QByteArray token = pairWithPin("view");
    struct Case {
        const char* path;
        const char* marker;
    } cases[] = {{"/", "id=\"verses\""},
                 {"/stage", "id=\"current\""},
                 {"/live?size=60&color=ff0", "id=\"third\""},
                 {"/feed.js", "function lumoraFeed"}};
    for (const Case& c : cases) {
        const Answer paired = withToken("GET", c.path, token);
        EXPECT_EQ(paired.status, 200) << c.path;
        EXPECT_TRUE(paired.body.contains(c.marker)) << c.path;
        const Answer stranger = request("GET", c.path);
        EXPECT_FALSE(stranger.body.contains(c.marker)) << c.path;
        if (QByteArray(c.path) != "/feed.js") {
            EXPECT_TRUE(stranger.body.contains("id=\"pin\"")) << c.path << ": no pairing form";
            EXPECT_TRUE(paired.policy.startsWith("default-src 'none'")) << c.path;
        }
    }
}

TEST_F(RemoteServerTest, unknownPathsAnswer404WithoutEchoAndNothingIsReadFromDisk) {
    const QByteArray token = pairWithPin();
    for (const char* path :
         {"/MARKER", "/api/MARKER", "/../../etc/passwd?MARKER", "/remote.html", "/%2e%2e/%2e%2e/etc/passwd",
          "/pages/pair.html", "/stage.html", "/live/MARKER", "/feed.js/../pair.html"}) {
        const Answer a = withToken("GET", path, token);
        EXPECT_EQ(a.status, 404) << path;
        EXPECT_FALSE(a.body.contains("MARKER")) << path;
        EXPECT_FALSE(a.body.contains("root:")) << path;
    }
}

TEST_F(RemoteServerTest, oversizedAndMalformedRequestsAreRefused) {
    const QByteArray token = pairWithPin();
    const QByteArray big = "{\"action\":\"nextVerse\",\"pad\":\"" + QByteArray(70 * 1024, 'x') + "\"}";
    EXPECT_EQ(withToken("POST", "/api/action", token, big).status, 413);
    EXPECT_EQ(request("POST", "/api/pair", big).status, 413);
    const Answer bad = withToken("POST", "/api/action", token, "{\"action\": MARKER");
    EXPECT_EQ(bad.status, 400);
    EXPECT_FALSE(bad.body.contains("MARKER"));
    EXPECT_TRUE(actions.done.isEmpty());
}

TEST_F(RemoteServerTest, stateChangingRequestsFromAnotherOriginAreRefused) {
    const QByteArray token = pairWithPin();
    const QByteArray port = QByteArray::number(server.httpPort());
    struct Case {
        QByteArray origin;
        int status;
    } cases[] = {{"http://evil.example:" + port, 403},
                 {"http://127.0.0.1:1", 403},
                 {"null", 403},
                 {"https://127.0.0.1:" + port, 403},
                 {"http://127.0.0.1:" + port, 200}};
    for (const Case& c : cases) {
        const Answer a = request("POST", "/api/action", "{\"action\":\"nextVerse\"}",
                                 {{"Authorization", "Bearer " + token}, {"Origin", c.origin}});
        EXPECT_EQ(a.status, c.status) << c.origin.constData();
    }
    EXPECT_EQ(actions.done.size(), 1);
    // a forged page cannot pair either
    EXPECT_EQ(request("POST", "/api/pair", "{\"pin\":\"" + pairing.pin().toLatin1() + "\"}",
                      {{"Origin", "http://evil.example:" + port}})
                  .status,
              403);
}

TEST_F(RemoteServerTest, theWebSocketPushesNumberedValuesAfterItsToken) {
    const QByteArray token = pairWithPin();
    auto ws = openSocket(tokenMessage(token));
    ASSERT_TRUE(waitUntil([&] { return pushed.size() == 1; }));
    EXPECT_EQ(lastPushed().value("seq").toInt(), 0);
    session::NowShowing now;
    now.heardVerse = QStringLiteral("23.2");
    server.showNow(now);
    server.showNow(now);
    ASSERT_TRUE(waitUntil([&] { return pushed.size() == 3; }));
    EXPECT_EQ(lastPushed().value("seq").toInt(), 2);
    EXPECT_EQ(lastPushed().value("heard").toString(), "23.2");

    // actions go over the same socket
    ws->sendTextMessage(QStringLiteral("{\"action\":\"nextVerse\"}"));
    ASSERT_TRUE(waitUntil([&] { return pushed.size() == 4; }));
    EXPECT_EQ(actions.done.size(), 1);

    // a page holds a one-time ticket instead of its HttpOnly cookie
    const QByteArray ticket =
        withToken("POST", "/api/ticket", token).json().value("ticket").toString().toLatin1();
    auto byTicket = openSocket("{\"ticket\":\"" + ticket + "\"}");
    ASSERT_TRUE(waitUntil([&] { return pushed.size() == 5; }));
    auto again = openSocket("{\"ticket\":\"" + ticket + "\"}");
    EXPECT_TRUE(closes(*again)) << "a ticket served twice";
}

TEST_F(RemoteServerTest, aWebSocketWithoutTokenFromAnotherOriginOrWithAnOversizedMessageIsClosed) {
    server.stop();
    server.setAuthTimeoutMs(300);
    const std::optional<QString> serverError = server.start(QHostAddress::LocalHost, 0);
    ASSERT_FALSE(serverError) << serverError->toStdString();
    base = QStringLiteral("http://127.0.0.1:%1").arg(server.httpPort());
    const QByteArray token = pairWithPin();

    auto silent = openSocket({});
    auto wrong = openSocket(tokenMessage("nothing"));
    auto foreign = openSocket(tokenMessage(token), QStringLiteral("http://evil.example"));
    EXPECT_TRUE(closes(*silent) && closes(*wrong) && closes(*foreign));
    EXPECT_TRUE(pushed.isEmpty()) << "a socket without a valid token was told what is shown";
    EXPECT_TRUE(waitUntil([&] { return server.openWebSockets() == 0; }));

    auto ws = openSocket(tokenMessage(token));
    ASSERT_TRUE(waitUntil([&] { return pushed.size() == 1; }));
    ws->sendTextMessage(QString(70 * 1024, QLatin1Char('x')));
    EXPECT_TRUE(closes(*ws));
    EXPECT_TRUE(actions.done.isEmpty());
}

// A revoked device is refused at once, its open socket included; stopping closes every connection.
TEST_F(RemoteServerTest, revokingClosesTheDevicesConnections_stoppingClosesEveryOne) {
    const QByteArray token = pairWithPin();
    const QByteArray other = pairWithPin("view");
    auto ws = openSocket(tokenMessage(token));
    auto kept = openSocket(tokenMessage(other));
    ASSERT_TRUE(waitUntil([&] { return pushed.size() == 2; }));

    ASSERT_TRUE(server.revoke(store.find(token)->id));
    EXPECT_EQ(withToken("GET", "/api/now", token).status, 401);
    EXPECT_TRUE(closes(*ws));
    EXPECT_EQ(kept->state(), QAbstractSocket::ConnectedState);
    EXPECT_EQ(withToken("GET", "/api/now", other).status, 200);

    server.stop();
    EXPECT_FALSE(server.isRunning());
    EXPECT_TRUE(closes(*kept));
    EXPECT_NE(withToken("GET", "/api/now", other).status, 200);
}

// A client that sends a request a byte at a time, or without end, or only holds connections
// open, cannot keep the server's connections for itself; a request of a sound client on a
// connection kept alive is answered meanwhile.
TEST_F(RemoteServerTest, slowEndlessOrIdleConnectionsAreClosed_soundRequestsAreAnswered) {
    server.stop();
    server.setConnectionLimits(
        {.requestMs = 600, .idleMs = 900, .maxRequestBytes = 256 * 1024, .maxConnections = 4});
    const std::optional<QString> serverError = server.start(QHostAddress::LocalHost, 0);
    ASSERT_FALSE(serverError) << serverError->toStdString();
    base = QStringLiteral("http://127.0.0.1:%1").arg(server.httpPort());
    const auto connectRaw = [this] {
        auto s = std::make_unique<QTcpSocket>();
        s->connectToHost(QHostAddress::LocalHost, server.httpPort());
        EXPECT_TRUE(s->waitForConnected(5000));
        return s;
    };

    // a header line now and then, never the blank line that ends the request
    auto loris = connectRaw();
    loris->write("GET /api/now HTTP/1.1\r\nHost: 127.0.0.1\r\n");
    QTimer drip;
    int dripped = 0;
    QObject::connect(&drip, &QTimer::timeout, [&] {
        if (loris->state() == QAbstractSocket::ConnectedState)
            loris->write(QByteArray("X-") + QByteArray::number(++dripped) + ": 1\r\n");
    });
    drip.start(100);
    // a body that never ends
    auto flood = connectRaw();
    flood->write("POST /api/action HTTP/1.1\r\nHost: 127.0.0.1\r\nContent-Length: 100000000\r\n\r\n");
    const QByteArray chunk(16 * 1024, 'x');
    qint64 sent = 0;
    while (flood->state() == QAbstractSocket::ConnectedState && sent < 8 * 1024 * 1024) {
        sent += flood->write(chunk);
        flood->waitForBytesWritten(100);
        QCoreApplication::processEvents();
    }
    EXPECT_TRUE(closes(*flood, 10000)) << "a body of " << sent << " bytes was still taken";
    EXPECT_LT(sent, 8 * 1024 * 1024);
    // a sound request meanwhile
    EXPECT_EQ(request("GET", "/api/now").status, 401);
    EXPECT_TRUE(closes(*loris, 10000)) << "the dripping request held its connection";
    EXPECT_GT(dripped, 2);

    // one that only holds a connection open, then the limit on how many are open at once
    auto silent = connectRaw();
    EXPECT_TRUE(closes(*silent, 10000));
    std::vector<std::unique_ptr<QTcpSocket>> many;
    for (int i = 0; i < 5; ++i)
        many.push_back(connectRaw());
    EXPECT_TRUE(closes(*many.back(), 10000)) << "a fifth connection was kept beside four";
    EXPECT_LE(server.openHttpConnections(), 4);
    for (auto& s : many)
        EXPECT_TRUE(closes(*s, 10000));
    EXPECT_EQ(server.openHttpConnections(), 0);

    // a kept-alive connection answers request after request within the limits
    auto keep = connectRaw();
    for (int i = 0; i < 3; ++i) {
        keep->write("GET /api/now HTTP/1.1\r\nHost: 127.0.0.1\r\n\r\n");
        ASSERT_TRUE(waitUntil([&] { return keep->bytesAvailable() > 0; }, 5000)) << "request " << i;
        EXPECT_TRUE(keep->readAll().startsWith("HTTP/1.1 401"));
        QThread::msleep(300);
    }
    // stopping with a connection half-way through a request closes it
    keep->write("GET /api/now HTTP/1.1\r\n");
    QCoreApplication::processEvents();
    ASSERT_TRUE(waitUntil([&] { return server.openHttpConnections() == 1; }));
    server.stop();
    EXPECT_TRUE(closes(*keep, 10000));
}

TEST_F(RemoteServerTest, aTakenPortIsAnErrorValue) {
    QTcpServer squatter;
    ASSERT_TRUE(squatter.listen(QHostAddress::LocalHost, 0));
    RemoteServer second(&store, &pairing);
    const auto error = second.start(QHostAddress::LocalHost, squatter.serverPort());
    ASSERT_TRUE(error);
    EXPECT_TRUE(error->contains(QString::number(squatter.serverPort()))) << error->toStdString();
    EXPECT_FALSE(second.isRunning());
    // the WebSocket's port taken is reported the same way
    const auto next = second.start(QHostAddress::LocalHost, static_cast<quint16>(squatter.serverPort() - 1));
    EXPECT_TRUE(next);
    EXPECT_FALSE(second.isRunning());
    // an address this machine does not have, on any port: the port asked for is named, with no
    // search through the other ports
    const auto elsewhere = second.start(QHostAddress(QStringLiteral("192.0.2.1")), 0);
    ASSERT_TRUE(elsewhere);
    EXPECT_TRUE(elsewhere->startsWith("Port 0 cannot be used")) << elsewhere->toStdString();
    EXPECT_FALSE(second.isRunning());
    // and the first server still answers
    EXPECT_EQ(request("GET", "/api/now").status, 401);
}

TEST_F(RemoteServerTest, theHymnListsAnswerWithTheWindowsIdsBehindAToken) {
    for (int i = 0; i < 300; ++i)
        actions.hymns << HymnItem{QStringLiteral("s%1").arg(i), QStringLiteral("%1 - Amen").arg(i),
                                  QStringLiteral("Amen"), QStringLiteral("Fihirana")};
    EXPECT_EQ(request("GET", "/api/playlist").status, 401);
    EXPECT_EQ(request("GET", "/api/hymns?search=amen").status, 401);
    EXPECT_TRUE(actions.searched.isEmpty()) << "no search runs for a request without a token";

    const QByteArray view = pairWithPin("view");
    const Answer found = withToken("GET", "/api/hymns?search=%C3%A9l%C3%A9%20amen%20", view);
    ASSERT_EQ(found.status, 200);
    EXPECT_EQ(actions.searched, QStringList{QStringLiteral("\u00e9l\u00e9 amen")});
    const QJsonArray hymns = found.json().value("hymns").toArray();
    ASSERT_EQ(hymns.size(), kMaxHymnItems) << "an answer is limited";
    const QJsonObject first = hymns.at(0).toObject();
    EXPECT_EQ(first.value("id").toString(), "s0");
    EXPECT_EQ(first.value("label").toString(), "0 - Amen");
    EXPECT_EQ(first.value("title").toString(), "Amen");
    EXPECT_EQ(withToken("GET", "/api/playlist", view).json().value("hymns").toArray().size(), kMaxHymnItems);

    const Answer tooLong =
        withToken("GET", "/api/hymns?search=" + QString(kMaxHymnSearch + 1, QLatin1Char('x')), view);
    EXPECT_EQ(tooLong.status, 400);
    EXPECT_EQ(actions.searched.size(), 1) << "an overlong search is refused before it runs";
}
