// Ten thousand malformed requests and WebSocket messages against the server of a running main
// window: afterwards the window still answers, the feed still reaches a paired page, nothing was
// performed and no file of the data folder changed.

#include "app/nowshowingfeed.h"
#include "app/windowlinks.h"
#include "remote/remoteserver.h"
#include "support/chromium.h"
#include "support/mainwindow.h"
#include "support/psalm23.h"
#include "support/recordedactions.h"

#include <QDirIterator>
#include <QTcpSocket>
#include <QWebSocket>

#include <gtest/gtest.h>

#include <random>

namespace lumora::testing {
namespace {

// Malformed HTTP: broken request lines and headers, lying lengths, hostile paths, bodies that
// are no JSON or no action, tokens that are wrong, requests cut off halfway.
class MalformedHttp {
  public:
    MalformedHttp(quint16 port, QByteArray token) : port_(port), token_(std::move(token)) {}

    // The bytes of request `i`, and whether the sender vanishes without waiting for an answer
    // (bytes that are no request at all may leave the server waiting for more).
    std::pair<QByteArray, bool> make(int i) {
        const QByteArray host = "Host: 127.0.0.1:" + QByteArray::number(port_) + "\r\n";
        const QByteArray auth = "Authorization: Bearer " + (i % 7 == 0 ? token_.left(10) : token_) + "\r\n";
        auto post = [&](const QByteArray& path, const QByteArray& body, const QByteArray& extra = {}) {
            return "POST " + path + " HTTP/1.1\r\n" + host + auth + extra +
                   "Content-Length: " + QByteArray::number(body.size()) + "\r\n\r\n" + body;
        };
        switch (i % 12) {
        case 0:
            return {noise(1 + int(rng_() % 400)), true};
        case 1:
            return {"GET /" + noise(int(rng_() % 60)).toPercentEncoding("/") + " HTTP/1.1\r\n" + host +
                        "\r\n",
                    false};
        case 2:
            return {post("/api/action", mangledJson()), false};
        case 3:
            return {post("/api/pair", mangledJson()), false};
        case 4:
            return {"POST /api/action HTTP/1.1\r\n" + host + auth + "Content-Length: -7\r\n\r\n{}", true};
        case 5:
            return {"POST /api/action HTTP/1.1\r\n" + host + auth + "Content-Length: 99999999\r\n\r\n{\"a",
                    true};
        case 6:
            return {"GET /../../etc/passwd HTTP/1.1\r\n" + host + auth + "\r\n", false};
        case 7:
            return {QByteArray("G\0T / HTTP/1.1\r\n", 16) + host + "X: " + noise(200) + "\r\n\r\n", true};
        case 8:
            return {
                post("/api/action", "{\"action\":\"goto\",\"reference\":" + QByteArray::number(rng_()) + "}"),
                false};
        case 9:
            return {
                post("/api/action", QByteArray(int(rng_() % 200) + 1, '['), "Origin: http://127.0.0.1:1\r\n"),
                false};
        case 10:
            return {"BREW /api/now HTTP/1.1\r\n" + host + auth + "\r\n", true};
        default:
            return {post("/api/action", "{\"action\":\"nextVerse\"}").left(int(rng_() % 80)), true};
        }
    }

    QByteArray noise(int n) {
        QByteArray b(n, '\0');
        for (char& c : b)
            c = char(rng_() % 256);
        return b;
    }
    // Valid-looking JSON cut, flipped or of the wrong shape; never a well-formed action.
    QByteArray mangledJson() {
        static const QByteArray shapes[] = {
            "{\"action\":\"nextVerse\"",
            "{\"action\":42}",
            "{\"action\":\"goto\"}",
            "{\"action\":\"goto\",\"reference\":\"\"}",
            "{\"action\":\"play\",\"player\":\"organ\"}",
            "[\"action\",\"nextVerse\"]",
            "{\"action\":\"rm -rf /\"}",
            "{\"pin\":[1,2,3]}",
            "\"nextVerse\"",
            "{\"action\":\"goto\",\"reference\":null}",
            "{\"code\":{\"$ne\":1}}",
            "nul",
        };
        QByteArray b = shapes[rng_() % std::size(shapes)];
        if (rng_() % 3 == 0) b.truncate(int(rng_() % b.size())); // a flipped byte could make a valid one
        return b;
    }

  private:
    quint16 port_;
    QByteArray token_;
    std::mt19937 rng_{25};
};

class RemoteFlood : public ::testing::Test {
  protected:
    void SetUp() override {
        writeFixtureVersion(h.data.path(), "KJV", psalm23Books(), psalm23Options());
        writeBytes(h.data.path() + "/Bible/Version.txt", "KJV - King James Version\r\n");
        ASSERT_TRUE(h.open());
        h.select(h.list("List_livre"), 18);
        h.select(h.list("List_chapitre"), 22);
        feed = &h.find<app::WindowLinks>("windowLinks")->nowShowing();
        QObject::connect(feed, &app::NowShowingFeed::changed, &server, &remote::RemoteServer::showNow);
        server.setActions(&actions);
        ASSERT_TRUE(store.load());
        const std::optional<QString> serverError = server.start(QHostAddress::LocalHost, 0);
        ASSERT_FALSE(serverError) << serverError->toStdString();
        server.showNow(feed->now());
        token = store.add(QStringLiteral("Deck"), remote::Role::Control);
        ASSERT_FALSE(token.isEmpty());
    }

    MainWindowHarness h;
    TempFolder config;
    remote::DeviceStore store{config.file("Lumora.remote")};
    remote::Pairing pairing;
    RecordedActions actions;
    remote::RemoteServer server{&store, &pairing};
    app::NowShowingFeed* feed = nullptr;
    QByteArray token;
};

} // namespace

TEST_F(RemoteFlood, tenThousandMalformedRequestsAndMessagesLeaveTheWindowAndTheDataAlone) {
    // When each file was last written: the flood rewrites none, not even with the same bytes.
    const auto writtenAt = [this] {
        std::map<QString, qint64> at;
        for (QDirIterator it(h.data.path(), QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
             it.hasNext();)
            at[it.next()] = it.fileInfo().lastModified().toMSecsSinceEpoch();
        return at;
    };
    const auto before = folderSnapshot(h.data.path());
    const auto beforeWritten = writtenAt();
    ASSERT_FALSE(before.empty());
    constexpr int kRequests = 6000, kMessages = 4000, kBatch = 25;

    MalformedHttp http(server.httpPort(), token);
    int unanswered = 0;
    for (int i = 0; i < kRequests; i += kBatch) {
        std::vector<std::unique_ptr<QTcpSocket>> batch;
        std::vector<bool> waits;
        for (int k = i; k < i + kBatch; ++k) {
            auto [bytes, vanish] = http.make(k);
            auto s = std::make_unique<QTcpSocket>();
            s->connectToHost(QHostAddress::LocalHost, server.httpPort());
            s->write(bytes);
            waits.push_back(!vanish);
            batch.push_back(std::move(s));
        }
        processUntil(
            [&] {
                for (size_t k = 0; k < batch.size(); ++k) {
                    QTcpSocket* s = batch[k].get();
                    if (!waits[k] && s->bytesToWrite() == 0 && s->state() == QAbstractSocket::ConnectedState)
                        s->abort(); // the page vanishes mid-message
                    else if (waits[k] && s->bytesAvailable() == 0 &&
                             s->state() != QAbstractSocket::UnconnectedState)
                        return false;
                }
                return true;
            },
            2000);
        for (size_t k = 0; k < batch.size(); ++k)
            if (waits[k] && batch[k]->bytesAvailable() == 0 &&
                batch[k]->state() != QAbstractSocket::UnconnectedState)
                ++unanswered;
    }
    EXPECT_LT(unanswered, kRequests / 100) << "requests left hanging by the server";

    // WebSockets: some never authenticate properly, the others send junk after their token.
    std::mt19937 rng(2025);
    MalformedHttp junk(0, {});
    int sent = 0;
    while (sent < kMessages) {
        QWebSocket ws;
        ws.open(QUrl(QStringLiteral("ws://127.0.0.1:%1/").arg(server.webSocketPort())));
        ASSERT_TRUE(processUntil([&] { return ws.state() == QAbstractSocket::ConnectedState; }));
        const bool authenticated = rng() % 4 != 0;
        if (authenticated)
            ws.sendTextMessage(QStringLiteral("{\"token\":\"%1\"}").arg(QString::fromLatin1(token)));
        for (int k = 0; k < 200 && sent < kMessages; ++k, ++sent) {
            if (rng() % 5 == 0)
                ws.sendBinaryMessage(junk.noise(int(rng() % 300)));
            else
                ws.sendTextMessage(
                    QString::fromUtf8(rng() % 2 ? junk.mangledJson() : junk.noise(int(rng() % 100))));
        }
        ws.flush();
        processUntil([&] { return ws.state() == QAbstractSocket::UnconnectedState; },
                     authenticated ? 200 : 50);
        if (rng() % 2) ws.abort();
    }
    EXPECT_TRUE(actions.done.isEmpty()) << "a malformed request was performed: "
                                        << (actions.done.isEmpty() ? 0 : int(actions.done.first().kind));

    // The window still answers, and a paired page still hears it.
    QList<QByteArray> pushed;
    QWebSocket page;
    QObject::connect(&page, &QWebSocket::textMessageReceived,
                     [&](const QString& m) { pushed << m.toUtf8(); });
    page.open(QUrl(QStringLiteral("ws://127.0.0.1:%1/").arg(server.webSocketPort())));
    ASSERT_TRUE(processUntil([&] { return page.state() == QAbstractSocket::ConnectedState; }));
    page.sendTextMessage(QStringLiteral("{\"token\":\"%1\"}").arg(QString::fromLatin1(token)));
    ASSERT_TRUE(processUntil([&] { return pushed.size() == 1; }));
    h.select(h.list("List_chapitre"), 0);
    EXPECT_TRUE(h.text().contains(QStringLiteral("1.1")));
    ASSERT_TRUE(processUntil([&] { return pushed.size() > 1; })) << "the feed stopped";
    EXPECT_TRUE(pushed.last().contains("Psalms 1")) << pushed.last().constData();

    EXPECT_TRUE(folderSnapshot(h.data.path()) == before) << "a file of the data folder changed";
    EXPECT_TRUE(writtenAt() == beforeWritten) << "a file of the data folder was written again";
}

} // namespace lumora::testing
