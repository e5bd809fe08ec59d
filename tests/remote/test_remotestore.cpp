// The remote's device store, pairing limits and message handling, without sockets.

#include "remote/devicestore.h"
#include "remote/messages.h"
#include "remote/pairing.h"
#include "support/recordedactions.h"
#include "support/testdata.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSet>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace lumora;
using namespace lumora::remote;
using namespace lumora::testing;

namespace {

// A PIN that is not `pin`.
QString otherThan(const QString& pin) {
    return pin == QLatin1String("000000") ? QStringLiteral("111111") : QStringLiteral("000000");
}

} // namespace

TEST(RemoteStore, tokensAreLongRandomAndOnlyTheirHashIsStored) {
    QTemporaryDir dir;
    const QString file = DeviceStore::fileBeside(dir.filePath("LMR/Lumora.path"));
    EXPECT_EQ(file, dir.filePath("LMR/Lumora.remote"));
    DeviceStore store(file);
    ASSERT_TRUE(store.load());
    // the settings of a new store: port 4320, and the PIN needed for every device
    EXPECT_EQ(store.settings().port, 4320);
    EXPECT_FALSE(store.settings().viewWithoutPin);
    QSet<QByteArray> tokens;
    for (int i = 0; i < 50; ++i) {
        const QByteArray token =
            store.add(QStringLiteral("Phone %1").arg(i), i % 2 ? Role::View : Role::Control);
        EXPECT_GE(QByteArray::fromBase64(token, QByteArray::Base64UrlEncoding).size(), 16);
        tokens.insert(token);
    }
    EXPECT_EQ(tokens.size(), 50);
    const QByteArray saved = readBytes(file);
    for (const QByteArray& t : tokens)
        EXPECT_FALSE(saved.contains(t)) << "a token was written in clear";

    DeviceStore again(file);
    ASSERT_TRUE(again.load());
    ASSERT_EQ(again.devices().size(), 50);
    const QByteArray token = *tokens.begin();
    const auto device = again.find(token);
    ASSERT_TRUE(device);
    EXPECT_FALSE(again.find(token + "x"));
    EXPECT_FALSE(again.find(token.left(token.size() - 1)));
    EXPECT_FALSE(again.find({}));

    ASSERT_TRUE(again.revoke(device->id));
    EXPECT_FALSE(again.find(token));
    DeviceStore third(file);
    ASSERT_TRUE(third.load());
    EXPECT_FALSE(third.find(token)) << "a revoked device came back after a reload";
    EXPECT_EQ(third.devices().size(), 49);
}

TEST(RemoteStore, aFailedWriteAddsNothing_aDamagedFileIsReportedAndKeptAsideAtTheFirstSave) {
    QTemporaryDir dir;
    writeBytes(dir.filePath("LMR"), ""); // the store's folder is a file: nothing can be written there
    DeviceStore store(dir.filePath("LMR/Lumora.remote"));
    ASSERT_TRUE(store.load());
    EXPECT_TRUE(store.add(QStringLiteral("Phone"), Role::Control).isEmpty());
    EXPECT_TRUE(store.devices().isEmpty()) << "a device that was never saved would be lost at the next start";

    writeBytes(dir.filePath("damaged.remote"), "{\"devices\": [");
    DeviceStore other(dir.filePath("damaged.remote"));
    QString why;
    EXPECT_FALSE(other.load(&why));
    EXPECT_FALSE(why.isEmpty());
    EXPECT_TRUE(other.devices().isEmpty());
    // the first save keeps the unreadable file aside, byte for byte, and writes a sound one
    ASSERT_FALSE(other.add(QStringLiteral("Tablet"), Role::View).isEmpty());
    EXPECT_EQ(readBytes(other.damagedCopy()), QByteArray("{\"devices\": ["));
    DeviceStore reread(dir.filePath("damaged.remote"));
    ASSERT_TRUE(reread.load());
    EXPECT_EQ(reread.devices().size(), 1);
    ASSERT_TRUE(reread.add(QStringLiteral("Phone"), Role::Control).size() > 0);
    EXPECT_EQ(readBytes(other.damagedCopy()), QByteArray("{\"devices\": ["))
        << "a sound file's save replaced the kept copy";
}

TEST(RemoteStore, constantTimeComparisonIsStillAComparison) {
    struct Case {
        const char *a, *b;
        bool equal;
    } cases[] = {{"", "", true},       {"abc", "abc", true}, {"abc", "abd", false},
                 {"abc", "ab", false}, {"ab", "abc", false}, {"", "a", false}};
    for (const Case& c : cases)
        EXPECT_EQ(equalConstantTime(c.a, c.b), c.equal) << c.a << " / " << c.b;
}

TEST(RemotePairing, wrongPinsAreLimitedPerAddressAndDrawANewPin_whichEndsTheOneTimeCodes) {
    Pairing pairing;
    const QString pin = pairing.pin();
    ASSERT_EQ(pin.size(), 6);
    const QString wrong = otherThan(pin);
    for (int i = 0; i < Pairing::kWrongPerMinute; ++i)
        EXPECT_EQ(pairing.checkPin("10.0.0.2", wrong, 1000 + i), PairCheck::Wrong);
    // the sixth try within the minute is not even checked, a right PIN included
    EXPECT_EQ(pairing.checkPin("10.0.0.2", pin, 2000), PairCheck::RateLimited);
    // another address is not held back by the first
    EXPECT_EQ(pairing.checkPin("10.0.0.3", pin, 2000), PairCheck::Accepted);
    // a minute after the first wrong PIN, one more try is allowed
    EXPECT_EQ(pairing.checkPin("10.0.0.2", pin, 61000), PairCheck::Accepted);

    // a code serves once
    const QString code = pairing.newCode(), other = pairing.newCode();
    EXPECT_EQ(pairing.useCode(code), PairCheck::Accepted);
    EXPECT_EQ(pairing.useCode(code), PairCheck::Wrong);
    EXPECT_EQ(pairing.useCode(QString()), PairCheck::Wrong);
    // ten wrong PINs, the five above included, from many addresses draw a new PIN, and the codes
    // die with the old one
    for (int i = Pairing::kWrongPerMinute; i < Pairing::kWrongBeforeNewPin - 1; ++i)
        pairing.checkPin(QStringLiteral("10.0.1.%1").arg(i), wrong, 70000);
    EXPECT_EQ(pairing.pin(), pin);
    pairing.checkPin("10.0.2.1", wrong, 70000);
    EXPECT_NE(pairing.pin(), pin);
    EXPECT_EQ(pairing.checkPin("10.0.2.2", pin, 70000), PairCheck::Wrong);
    EXPECT_EQ(pairing.useCode(other), PairCheck::Wrong);
}

TEST(RemoteMessages, requestsAreCheckedBeforeAnythingIsDone) {
    const struct {
        Role role;
        int status;
        QList<QByteArray> messages;
    } cases[] = {
        {Role::Control,
         400,
         {"", "not json MARKER", "[\"MARKER\"]", "{\"MARKER\":1}", "{\"action\":\"MARKER\"}",
          "{\"action\":5}", "{\"action\":\"goto\"}", "{\"action\":\"goto\",\"reference\":\"   \"}",
          "{\"action\":\"goto\",\"reference\":\"" + QByteArray(201, 'x') + "\"}",
          "{\"action\":\"play\",\"player\":\"MARKER\"}", "{\"action\":\"hymn\"}",
          "{\"action\":\"hymn\",\"id\":7}", "{\"action\":\"hymn\",\"id\":\"" + QByteArray(65, 'x') + "\"}",
          "{\"action\":\"zoom\"}", "{\"action\":\"zoom\",\"step\":2}", "{\"action\":\"zoom\",\"step\":0.5}",
          "{\"action\":\"zoom\",\"step\":\"1\"}"}},
        {Role::Control,
         413,
         {"{\"action\":\"nextVerse\",\"pad\":\"" + QByteArray(kMaxMessageBytes, 'x') + "\"}"}},
        {Role::View,
         403,
         {"{\"action\":\"nextVerse\"}", "{\"action\":\"goto\",\"reference\":\"Ps 23\"}",
          "{\"action\":\"hymn\",\"id\":\"p1\"}", "{\"action\":\"zoom\",\"step\":1}"}},
    };
    for (const auto& c : cases)
        for (const QByteArray& message : c.messages) {
            RecordedActions actions;
            const Reply r = handleMessage(message, c.role, &actions);
            EXPECT_EQ(r.status, c.status) << message.left(60).constData();
            EXPECT_TRUE(actions.done.isEmpty()) << message.left(60).constData();
            EXPECT_FALSE(r.json.contains("MARKER")) << "a refusal echoed its input";
            EXPECT_TRUE(QJsonDocument::fromJson(r.json).object().contains("error"));
        }
}

TEST(RemoteMessages, aControlDeviceActsExactlyAsAsked) {
    struct Case {
        QByteArray message;
        RemoteAction expected;
    } cases[] = {
        {"{\"action\":\"goto\",\"reference\":\" Ps 23:1-3 \"}", {RemoteAction::GoTo, "Ps 23:1-3"}},
        {"{\"action\":\"nextVerse\"}", {RemoteAction::NextVerse, {}}},
        {"{\"action\":\"previousVerse\"}", {RemoteAction::PreviousVerse, {}}},
        {"{\"action\":\"nextChapter\"}", {RemoteAction::NextChapter, {}}},
        {"{\"action\":\"previousChapter\"}", {RemoteAction::PreviousChapter, {}}},
        {"{\"action\":\"show\"}", {RemoteAction::ShowClone, {}}},
        {"{\"action\":\"hide\"}", {RemoteAction::HideClone, {}}},
        {"{\"action\":\"blank\"}", {RemoteAction::BlankClone, {}}},
        {"{\"action\":\"play\"}", {RemoteAction::Play, "bible"}},
        {"{\"action\":\"pause\",\"player\":\"hymn\"}", {RemoteAction::Pause, "hymn"}},
        {"{\"action\":\"stop\",\"player\":\"bible\"}", {RemoteAction::Stop, "bible"}},
        {"{\"action\":\"hymn\",\"id\":\"p0123abcd\"}", {RemoteAction::PickHymn, "p0123abcd"}},
        {"{\"action\":\"zoom\",\"step\":1}", {RemoteAction::ZoomClone, {}, 1}},
        {"{\"action\":\"zoom\",\"step\":-1}", {RemoteAction::ZoomClone, {}, -1}},
    };
    for (const Case& c : cases) {
        RecordedActions actions;
        const Reply r = handleMessage(c.message, Role::Control, &actions);
        EXPECT_EQ(r.status, 200) << c.message.constData();
        ASSERT_EQ(actions.done.size(), 1) << c.message.constData();
        EXPECT_EQ(actions.done.first(), c.expected) << c.message.constData();
    }
}

TEST(RemoteMessages, theNowShowingValueCarriesTheVersesAndTheOneHeard) {
    session::NowShowing now;
    now.passage.heading = QStringLiteral("Psalms 23 : 1 - 3");
    now.passage.verses = {{23, 1, "23.1", "The LORD is my shepherd", "0"},
                          {23, 2, "23.2", "He maketh me to lie down", "0"}};
    now.heardVerse = QStringLiteral("23.2");
    now.clone = session::CloneShows::Passage;
    const QJsonObject o = QJsonDocument::fromJson(nowShowingJson(now, 7)).object();
    EXPECT_EQ(o.value("type").toString(), "now");
    EXPECT_EQ(o.value("seq").toInt(), 7);
    EXPECT_EQ(o.value("heard").toString(), "23.2");
    EXPECT_EQ(o.value("clone").toString(), "passage");
    EXPECT_EQ(o.value("passage").toObject().value("heading").toString(), now.passage.heading);
    const auto verses = o.value("passage").toObject().value("verses").toArray();
    ASSERT_EQ(verses.size(), 2);
    EXPECT_EQ(verses.at(1).toObject().value("text").toString(), "He maketh me to lie down");
}
