// The remote, stage and live pages in a real browser (Debian's chromium, headless): a person pairs,
// presses the buttons and watches the highlight; a reader's screen and a streaming program's lower
// third show what is shown. (What a browser without a token is told: RemoteServerTest.)

#include "remote/remoteserver.h"
#include "support/chromium.h"
#include "support/psalm23.h"
#include "support/recordedactions.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace lumora;
using namespace lumora::remote;
using namespace lumora::testing;

namespace {

// Psalm 23:first-last as the window shows it, heard at `heard` ("" none).
session::NowShowing psalm23(int first, int last, const QString& heard, quint64 seconds = 0) {
    session::NowShowing now;
    now.passage.versionEntry = QStringLiteral("KJV - King James Version");
    now.passage.heading = QStringLiteral("Psalms 23 : %1 - %2").arg(first).arg(last);
    for (int v = first; v <= last; ++v)
        now.passage.verses.append(
            {23, v, QStringLiteral("23.%1").arg(v), QString::fromUtf8(kPsalm23[v - 1]), "0"});
    now.heardVerse = heard;
    now.biblePlayer = {heard.isEmpty() ? QString() : QStringLiteral("Playing"), int(seconds)};
    now.clone = session::CloneShows::Passage;
    return now;
}

class RemotePagesBrowser : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        if (HeadlessChromium::executable().isEmpty()) return;
        browser = new HeadlessChromium;
        QString why;
        if (!browser->start(&why)) {
            delete browser;
            browser = nullptr;
            startError = why;
        }
    }
    static void TearDownTestSuite() {
        delete browser;
        browser = nullptr;
    }

    void SetUp() override {
        if (HeadlessChromium::executable().isEmpty()) GTEST_SKIP() << "chromium is not installed";
        ASSERT_TRUE(browser) << startError.toStdString();
        ASSERT_TRUE(dir.isValid());
        ASSERT_TRUE(store.load());
        server.setActions(&actions);
        const std::optional<QString> serverError = server.start(QHostAddress::LocalHost, 0);
        ASSERT_FALSE(serverError) << serverError->toStdString();
        base = QStringLiteral("http://127.0.0.1:%1").arg(server.httpPort());
        // every test starts as a browser that never paired
        ASSERT_TRUE(browser->call(QStringLiteral("Network.clearBrowserCookies"))) << err();
        ASSERT_TRUE(browser->setViewport(390, 844, true)) << err();
    }
    void TearDown() override {
        if (browser) browser->navigate(QStringLiteral("about:blank"));
    }

    static std::string err() { return browser ? browser->error().toStdString() : std::string(); }
    QString text(const char* selector) {
        return browser
            ->evaluate(QStringLiteral("document.querySelector(%1)?.textContent ?? ''")
                           .arg(HeadlessChromium::quoted(QString::fromLatin1(selector))))
            .toString();
    }
    bool waitForText(const char* selector, const QString& wanted, int ms = 5000) {
        return browser->waitFor(QStringLiteral("(document.querySelector(%1)?.textContent ?? '').includes(%2)")
                                    .arg(HeadlessChromium::quoted(QString::fromLatin1(selector)),
                                         HeadlessChromium::quoted(wanted)),
                                ms);
    }
    // Opens `path`, which shows the pairing form to a new browser, and pairs with the window's PIN.
    void pairThrough(const QString& path, const char* role) {
        ASSERT_TRUE(browser->navigate(base + path)) << err();
        ASSERT_TRUE(browser->waitFor(QStringLiteral("document.getElementById('pin') !== null"))) << err();
        ASSERT_TRUE(browser->type(QStringLiteral("#pin"), pairing.pin())) << err();
        ASSERT_TRUE(browser->type(QStringLiteral("#name"), QStringLiteral("Pastor's phone"))) << err();
        ASSERT_TRUE(browser
                        ->evaluate(QStringLiteral("document.getElementById('role').value = '%1'; true")
                                       .arg(QLatin1String(role)))
                        .toBool());
        ASSERT_TRUE(browser->click(QStringLiteral("#pair button"))) << err();
        ASSERT_TRUE(processUntil([&] { return store.devices().size() == 1; })) << "the page did not pair";
        EXPECT_EQ(store.devices().first().name, QStringLiteral("Pastor's phone"));
        EXPECT_EQ(roleName(store.devices().first().role), QLatin1String(role));
        // the page comes back as itself, now behind the cookie, and its feed connects
        ASSERT_TRUE(browser->waitFor(QStringLiteral("document.getElementById('pin') === null"))) << err();
        ASSERT_TRUE(processUntil([&] { return server.openWebSockets() == 1; })) << "no feed";
    }

    static inline HeadlessChromium* browser = nullptr;
    static inline QString startError;
    QTemporaryDir dir;
    DeviceStore store{dir.filePath("Lumora.remote")};
    Pairing pairing;
    RecordedActions actions;
    RemoteServer server{&store, &pairing};
    QString base;
};

} // namespace

// (Typing a reference and Go, on the real window: RemoteWindowBrowser.)
TEST_F(RemotePagesBrowser, pairWithThePin_theButtonsAct_theHighlightFollowsTheReading_aHymnShowsItsWords) {
    pairThrough(QStringLiteral("/"), "control");
    server.showNow(psalm23(1, 6, QStringLiteral("23.1")));
    ASSERT_TRUE(waitForText("#heading", QStringLiteral("Psalms 23 : 1 - 6"))) << err();
    EXPECT_EQ(browser->evaluate(QStringLiteral("document.querySelectorAll('#verses .verse').length")).toInt(),
              6);

    // each button is the click it stands for
    const struct {
        const char* selector;
        RemoteAction action;
    } buttons[] = {
        {"[data-action=nextVerse]", {RemoteAction::NextVerse, {}}},
        {"[data-action=previousVerse]", {RemoteAction::PreviousVerse, {}}},
        {"[data-action=nextChapter]", {RemoteAction::NextChapter, {}}},
        {"[data-action=previousChapter]", {RemoteAction::PreviousChapter, {}}},
        {"[data-action=show]", {RemoteAction::ShowClone, {}}},
        {"[data-action=hide]", {RemoteAction::HideClone, {}}},
        {"[data-action=blank]", {RemoteAction::BlankClone, {}}},
        {"[data-action=play][data-player=bible]", {RemoteAction::Play, QStringLiteral("bible")}},
        {"[data-action=pause][data-player=bible]", {RemoteAction::Pause, QStringLiteral("bible")}},
        {"[data-action=stop][data-player=hymn]", {RemoteAction::Stop, QStringLiteral("hymn")}},
    };
    for (const auto& b : buttons) {
        actions.done.clear();
        ASSERT_TRUE(browser->click(QString::fromLatin1(b.selector))) << err();
        ASSERT_TRUE(processUntil([&] { return !actions.done.isEmpty(); })) << b.selector;
        EXPECT_EQ(actions.done.first(), b.action) << b.selector;
    }

    // the reading moves on: one verse lit at a time, the verses themselves stay
    browser->evaluate(QStringLiteral("document.querySelector('#verses .verse').dataset.kept = 'yes'; true"));
    for (int v = 1; v <= 6; ++v) {
        server.showNow(psalm23(1, 6, QStringLiteral("23.%1").arg(v), quint64(v * 5)));
        ASSERT_TRUE(waitForText(".verse.heard", QString::fromUtf8(kPsalm23[v - 1]))) << "verse " << v;
        EXPECT_EQ(
            browser->evaluate(QStringLiteral("document.querySelectorAll('.verse.heard').length")).toInt(), 1);
    }
    EXPECT_EQ(
        browser->evaluate(QStringLiteral("document.querySelector('#verses .verse').dataset.kept")).toString(),
        QStringLiteral("yes"));
    EXPECT_TRUE(waitForText("#bibleWhere", QStringLiteral("Playing 0:30")));

    session::NowShowing hymn = psalm23(1, 6, {});
    hymn.tab = session::ShownTab::Hymns;
    hymn.hymn.label = QStringLiteral("12 - Amazing Grace");
    hymn.hymn.wordsPlain = QStringLiteral("Amazing grace, how sweet the sound\n\nThrough many dangers");
    server.showNow(hymn);
    ASSERT_TRUE(waitForText("#heading", QStringLiteral("12 - Amazing Grace"))) << err();
    EXPECT_TRUE(text("#words").contains(QStringLiteral("Through many dangers")));
    EXPECT_EQ(browser->evaluate(QStringLiteral("document.querySelectorAll('.verse').length")).toInt(), 0);
}

TEST_F(RemotePagesBrowser, theStageShowsTheVerseHeardTheNextOneThePositionAndTheTime) {
    pairThrough(QStringLiteral("/stage"), "view");
    server.showNow(psalm23(1, 6, QStringLiteral("23.4"), 101));
    ASSERT_TRUE(waitForText("#current", QString::fromUtf8(kPsalm23[3]))) << err();
    EXPECT_TRUE(text("#current").startsWith(QStringLiteral("23.4")));
    EXPECT_TRUE(text("#next").contains(QString::fromUtf8(kPsalm23[4])));
    EXPECT_EQ(text("#position"), QStringLiteral("Playing 1:41"));
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^\\d\\d:\\d\\d:\\d\\d$")).match(text("#time")).hasMatch())
        << text("#time").toStdString();
    // the last verse has none after it
    server.showNow(psalm23(1, 6, QStringLiteral("23.6")));
    ASSERT_TRUE(waitForText("#current", QString::fromUtf8(kPsalm23[5]))) << err();
    EXPECT_EQ(text("#next"), QString());
}

TEST_F(RemotePagesBrowser, theLiveLowerThirdFollowsTheCloneStyledOnlyByValidParameters) {
    // The page pairs once and keeps its cookie; each case opens it with another query.
    pairThrough(QStringLiteral("/live"), "view");
    server.showNow(psalm23(1, 3, QStringLiteral("23.2")));
    const struct {
        const char* query;
        const char* fontSize;
        const char* color;
        const char* justify;
    } cases[] = {
        {"", "40px", "rgb(255, 255, 255)", "flex-end"},
        {"?size=60&color=ff0&position=top&font=Serif", "60px", "rgb(255, 255, 0)", "flex-start"},
        {"?color=%23102030&position=middle", "40px", "rgb(16, 32, 48)", "center"},
        // malformed or hostile values keep the defaults, and nothing of them reaches the page
        {"?size=9999&color=red;background:url(http://127.0.0.2/x)&position=</style><script>alert(1)</script>",
         "40px", "rgb(255, 255, 255)", "flex-end"},
        {"?size=-5&color=expression(alert(1))&font=x%22%3B}body{display:none", "40px", "rgb(255, 255, 255)",
         "flex-end"},
    };
    for (const auto& c : cases) {
        ASSERT_TRUE(browser->navigate(base + QStringLiteral("/live") + QLatin1String(c.query))) << err();
        ASSERT_TRUE(waitForText("#text", QString::fromUtf8(kPsalm23[1]))) << c.query << err();
        const QJsonValue style = browser->evaluate(QStringLiteral(
            "(() => { const s = getComputedStyle(document.getElementById('third'));"
            " return [s.fontSize, s.color, getComputedStyle(document.body).justifyContent,"
            " getComputedStyle(document.body).backgroundColor, document.scripts.length]; })()"));
        EXPECT_EQ(style[0].toString(), QLatin1String(c.fontSize)) << c.query;
        EXPECT_EQ(style[1].toString(), QLatin1String(c.color)) << c.query;
        EXPECT_EQ(style[2].toString(), QLatin1String(c.justify)) << c.query;
        EXPECT_EQ(style[3].toString(), QStringLiteral("rgba(0, 0, 0, 0)")) << "the page is not transparent";
        EXPECT_EQ(style[4].toInt(), 2) << c.query;
    }
    EXPECT_EQ(text("#reference"), QStringLiteral("Psalms 23:2"));

    // a hymn on the clone shows its first stanza; nothing on the clone hides the lower third
    session::NowShowing hymn = psalm23(1, 3, {});
    hymn.clone = session::CloneShows::Hymn;
    hymn.hymn.label = QStringLiteral("12 - Amazing Grace");
    hymn.hymn.wordsPlain = QStringLiteral("Amazing grace\nhow sweet the sound\n\nThrough many dangers");
    server.showNow(hymn);
    ASSERT_TRUE(waitForText("#text", QStringLiteral("how sweet the sound"))) << err();
    EXPECT_FALSE(text("#text").contains(QStringLiteral("dangers")));
    hymn.clone = session::CloneShows::Nothing;
    server.showNow(hymn);
    EXPECT_TRUE(browser->waitFor(QStringLiteral("document.getElementById('third').hidden"))) << err();
}
