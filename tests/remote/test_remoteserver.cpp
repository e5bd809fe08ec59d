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
        restart();
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
    // (Re)starts the server, as after a test changed its limits.
    void restart() {
        server.stop();
        const std::optional<QString> error = server.start(QHostAddress::LocalHost, 0);
        ASSERT_FALSE(error) << error->toStdString();
        base = QStringLiteral("http://127.0.0.1:%1").arg(server.httpPort());
    }
};

} // namespace

// In order: a PIN or a one-time code pairs, once for a code; no PIN, another origin or an
// oversized body does not; a view device may pair without the PIN only when the settings say so;
// a sixth wrong PIN within the minute from one address is not even checked.
TEST_F(RemoteServerTest, pairing_thePinOrAOneTimeCodeGiveATokenThatOpensTheApi) {
    const QByteArray pin = pairing.pin().toLatin1(), code = pairing.newCode().toLatin1();
    const QByteArray evil = "http://evil.example:" + QByteArray::number(server.httpPort());
    const QByteArray big = "\",\"pad\":\"" + QByteArray(70 * 1024, 'x');
    const struct {
        QByteArray body, origin;
        int status;
    } steps[] = {
        {"{\"pin\":\"" + pin + "\",\"name\":\"Pastor\",\"role\":\"control\"}", {}, 200},
        {"{\"code\":\"" + code + "\",\"name\":\"Stage\",\"role\":\"view\"}", {}, 200},
        {"{\"code\":\"" + code + "\"}", {}, 403},
        {"{\"role\":\"view\"}", {}, 403},
        {"{\"pin\":\"" + pin + "\"}", evil, 403},
        {"{\"pin\":\"" + pin + big + "\"}", {}, 413},
    };
    QList<Answer> answers;
    for (const auto& s : steps) {
        answers << request("POST", "/api/pair", s.body, {{"Origin", s.origin}});
        EXPECT_EQ(answers.last().status, s.status) << s.body.left(60).constData();
    }
    ASSERT_EQ(store.devices().size(), 2);
    EXPECT_EQ(store.devices().first().name, QStringLiteral("Pastor"));
    ASSERT_TRUE(store.setSettings({4320, {}, true}));
    EXPECT_EQ(request("POST", "/api/pair", "{\"role\":\"view\"}").status, 200);
    EXPECT_EQ(request("POST", "/api/pair", "{\"role\":\"control\"}").status, 403)
        << "only the view role may pair without the PIN";

    const QByteArray token = answers[0].json().value("token").toString().toLatin1();
    EXPECT_TRUE(answers[0].setCookie.contains("HttpOnly")) << answers[0].setCookie.constData();
    EXPECT_TRUE(answers[0].setCookie.contains("SameSite=Strict")) << answers[0].setCookie.constData();
    EXPECT_EQ(request("GET", "/api/now", {}, {{"Cookie", "other=1; lumora_token=" + token}}).status, 200);
    EXPECT_EQ(
        withToken("POST", "/api/action", token, "{\"action\":\"goto\",\"reference\":\"Ps 23:1-3\"}").status,
        200);
    // the view device reads but cannot act
    const QByteArray view = answers[1].json().value("token").toString().toLatin1();
    EXPECT_EQ(withToken("GET", "/api/now", view).status, 200);
    EXPECT_EQ(withToken("POST", "/api/action", view, "{\"action\":\"nextVerse\"}").status, 403);
    ASSERT_EQ(actions.done.size(), 1);
    EXPECT_EQ(actions.done.first(), (RemoteAction{RemoteAction::GoTo, "Ps 23:1-3"}));

    // wrong PINs from one address are limited: the next one, a right one too, is not even checked
    const QByteArray wrong = pin == "000000" ? "111111" : "000000";
    for (int i = 0; i < Pairing::kWrongPerMinute; ++i)
        EXPECT_EQ(request("POST", "/api/pair", "{\"pin\":\"" + wrong + "\"}").status, 403);
    EXPECT_EQ(request("POST", "/api/pair", "{\"pin\":\"" + pin + "\"}").status, 429);
    EXPECT_EQ(store.devices().size(), 3);
}

// Each page and call answers a paired device; without a token, with a wrong one or a cookie that
// is none, a page is the pairing form and a call is refused before anything runs.
TEST_F(RemoteServerTest, everythingButPairingNeedsAValidToken_andThePagesLoadNothingFromElsewhere) {
    const QByteArray token = pairWithPin();
    const struct {
        QByteArray method;
        const char* path;
        QByteArray body;
        const char* marker; // in the paired answer only
        int refused;        // the status without a valid token
    } cases[] = {
        {"GET", "/api/now", {}, "\"seq\":0", 401},
        {"GET", "/api/info", {}, "webSocketPort", 401},
        {"POST", "/api/ticket", {}, "\"ticket\"", 401},
        {"POST", "/api/action", "{\"action\":\"nextVerse\"}", "\"ok\":true", 401},
        {"GET", "/api/playlist", {}, "\"hymns\"", 401},
        {"GET", "/api/hymns?search=amen", {}, "\"hymns\"", 401},
        {"GET", "/", {}, "id=\"verses\"", 200},
        {"GET", "/stage", {}, "id=\"current\"", 200},
        {"GET", "/live?size=60&color=ff0", {}, "id=\"third\"", 200},
        {"GET", "/feed.js", {}, "function lumoraFeed", 404},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        const bool isPage = c.refused == 200;
        for (const Answer& stranger :
             {request(c.method, c.path, c.body), withToken(c.method, c.path, token + "A", c.body),
              request(c.method, c.path, c.body, {{"Cookie", "lumora_token=nothing"}})}) {
            EXPECT_EQ(stranger.status, c.refused);
            EXPECT_FALSE(stranger.body.contains(c.marker));
            if (isPage) {
                EXPECT_TRUE(stranger.body.contains("id=\"pin\"")) << "no pairing form";
            }
        }
        const Answer paired = withToken(c.method, c.path, token, c.body);
        EXPECT_EQ(paired.status, 200);
        EXPECT_TRUE(paired.body.contains(c.marker));
        if (isPage) {
            EXPECT_TRUE(paired.policy.startsWith("default-src 'none'"));
        }
    }
    EXPECT_EQ(actions.done.size(), 1);
    EXPECT_EQ(actions.searched.size(), 1) << "a search ran for a request without a token";
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

// An action from another origin, oversized or malformed is refused without echoing its input.
TEST_F(RemoteServerTest, actionsFromAnotherOriginOversizedOrMalformedAreRefused) {
    const QByteArray token = pairWithPin();
    const QByteArray port = QByteArray::number(server.httpPort()), next = "{\"action\":\"nextVerse\"";
    const struct {
        QByteArray origin, body;
        int status;
    } cases[] = {{"http://evil.example:" + port, next + "}", 403},
                 {"http://127.0.0.1:1", next + "}", 403},
                 {"null", next + "}", 403},
                 {"https://127.0.0.1:" + port, next + "}", 403},
                 {{}, next + ",\"pad\":\"" + QByteArray(70 * 1024, 'x') + "\"}", 413},
                 {{}, "{\"action\": MARKER", 400},
                 {"http://127.0.0.1:" + port, next + "}", 200}};
    for (const auto& c : cases) {
        const Answer a = request("POST", "/api/action", c.body,
                                 {{"Authorization", "Bearer " + token}, {"Origin", c.origin}});
        EXPECT_EQ(a.status, c.status) << c.origin.constData() << c.body.left(40).constData();
        EXPECT_FALSE(a.body.contains("MARKER"));
    }
    EXPECT_EQ(actions.done.size(), 1);
}

// A socket is told nothing until it gives a token or a one-time ticket from this server's pages;
// one that stays silent, gives a wrong token, comes from another origin or sends an oversized
// message is closed.
TEST_F(RemoteServerTest, theWebSocketPushesNumberedValuesAfterAValidTokenOnly) {
    server.setAuthTimeoutMs(300);
    restart();
    const QByteArray token = pairWithPin();
    auto silent = openSocket({});
    auto wrong = openSocket(tokenMessage("nothing"));
    auto foreign = openSocket(tokenMessage(token), QStringLiteral("http://evil.example"));
    EXPECT_TRUE(closes(*silent) && closes(*wrong) && closes(*foreign));
    EXPECT_TRUE(pushed.isEmpty()) << "a socket without a valid token was told what is shown";
    EXPECT_TRUE(waitUntil([&] { return server.openWebSockets() == 0; }));

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

    ws->sendTextMessage(QString(70 * 1024, QLatin1Char('x')));
    EXPECT_TRUE(closes(*ws));
    EXPECT_EQ(actions.done.size(), 1);
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
    server.setConnectionLimits(
        {.requestMs = 600, .idleMs = 900, .maxRequestBytes = 256 * 1024, .maxConnections = 4});
    restart();
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

TEST_F(RemoteServerTest, theHymnListsAnswerWithTheWindowsIds_searchedAsTyped_andLimited) {
    for (int i = 0; i < 300; ++i)
        actions.hymns << HymnItem{QStringLiteral("s%1").arg(i), QStringLiteral("%1 - Amen").arg(i),
                                  QStringLiteral("Amen"), QStringLiteral("Fihirana")};
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
