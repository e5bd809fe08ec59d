// How late the remote page shows the verse heard: the main window on Psalm 23 (fake player), the
// remote server fed by the window, and the remote page in Debian's chromium, headless. For each
// of 200 changes, the time from the follower's step that selects the next verse in the window to
// the page's DOM marking that verse (a MutationObserver in the page takes the time), on the same
// clock (the wall clock, to the millisecond, on both sides).
//
//   build/bench_remotepages [--changes N] [--pages N] [--shots DIR]
//
// --pages N keeps N more WebSocket feeds open from the browser while measuring (each a page's
// feed, with its own ticket). --shots DIR writes the remote, stage and live pages at phone
// (390x844) and desktop (1280x800) sizes as PNG files into DIR.

#include "app/nowshowingfeed.h"
#include "app/windowlinks.h"
#include "bible/following.h"
#include "bible/ui/versefollower.h"
#include "remote/remoteserver.h"
#include "support/chromium.h"
#include "support/mainwindow.h"
#include "support/psalm23.h"

#include <QApplication>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

using namespace lumora;
using namespace lumora::testing;

namespace {

double wallMs() {
    return std::chrono::duration<double, std::milli>(std::chrono::system_clock::now().time_since_epoch())
        .count();
}

struct NoActions : remote::RemoteActions {
    void perform(const remote::RemoteAction&) override {}
};

int fail(const char* what, const QString& why = {}) {
    std::fprintf(stderr, "%s %s\n", what, qPrintable(why));
    return 1;
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    int changes = 200, pages = 0;
    QString shots;
    for (int i = 1; i + 1 < argc; i += 2) {
        const QByteArray opt = argv[i];
        if (opt == "--changes")
            changes = std::max(1, std::atoi(argv[i + 1]));
        else if (opt == "--pages")
            pages = std::max(0, std::atoi(argv[i + 1]));
        else if (opt == "--shots")
            shots = QString::fromLocal8Bit(argv[i + 1]);
    }

    // The window on Psalm 23, its recording "playing" on the fake player.
    MainWindowHarness h;
    writeFixtureVersion(h.data.path(), "KJV", psalm23Books(), psalm23Options());
    writeBytes(h.data.path() + "/Bible/KJV/Sound/Ps23.mp3", "x");
    writeBytes(h.data.path() + "/Bible/Version.txt", "KJV - King James Version\r\n");
    writeBytes(h.data.path() + "/Cantiques/Alpha/Hira.txt", "");
    if (!h.open()) return fail("the window did not open");
    h.select(h.list("List_livre"), 18);
    h.select(h.list("List_chapitre"), 22);
    auto* follower = h.find<bible::VerseFollower>("follower");
    app::NowShowingFeed& feed = h.find<app::WindowLinks>("windowLinks")->nowShowing();
    FakeMediaPlayer* player = h.players.front();

    TempFolder config;
    remote::DeviceStore store(config.file("Lumora.remote"));
    remote::Pairing pairing;
    NoActions actions;
    remote::RemoteServer server(&store, &pairing);
    server.setActions(&actions);
    store.load();
    if (const auto error = server.start(QHostAddress::LocalHost, 0)) return fail("no server:", *error);
    QObject::connect(&feed, &app::NowShowingFeed::changed, &server, &remote::RemoteServer::showNow);
    server.showNow(feed.now());
    const QByteArray token = store.add(QStringLiteral("Bench"), remote::Role::Control);
    const QString base = QStringLiteral("http://127.0.0.1:%1").arg(server.httpPort());

    HeadlessChromium browser;
    QString why;
    if (!browser.start(&why)) return fail("chromium:", why);
    if (!browser.call(QStringLiteral("Network.setCookie"), {{"name", "lumora_token"},
                                                            {"value", QString::fromLatin1(token)},
                                                            {"url", base},
                                                            {"httpOnly", true},
                                                            {"sameSite", "Strict"}}))
        return fail("cookie:", browser.error());
    browser.setViewport(390, 844, true);
    if (!browser.navigate(base + QStringLiteral("/")) ||
        !processUntil([&] { return server.openWebSockets() == 1; }))
        return fail("the remote page did not connect", browser.error());

    // More feeds, as more pages on other screens would hold.
    if (pages > 0) {
        browser.evaluate(QStringLiteral(R"((async () => {
            const info = await (await fetch('/api/info')).json();
            window.__extra = [];
            for (let i = 0; i < %1; i++) {
                const t = await (await fetch('/api/ticket', {method: 'POST'})).json();
                const ws = new WebSocket('ws://' + location.hostname + ':' + info.webSocketPort + '/');
                ws.onopen = () => ws.send(JSON.stringify({ticket: t.ticket}));
                ws.onmessage = () => {};
                window.__extra.push(ws);
            }
            return true;
        })())")
                             .arg(pages));
        if (!processUntil([&] { return server.openWebSockets() == pages + 1; }, 30000))
            return fail("the extra feeds did not connect");
    }

    std::vector<double> delays;
    for (int i = 0; i < changes; ++i) {
        const int verse = i % 6; // 0-based
        const QString label = QStringLiteral("23.%1").arg(verse + 1);
        if (verse == 0) follower->resetFollowing();
        player->clock = bible::markSeconds(QByteArray("x\t") + kPsalm23Marks[verse]) + 0.5;
        browser.evaluate(QStringLiteral(R"(window.__seen = new Promise((resolve) => {
            const box = document.getElementById('verses');
            const seen = () => document.querySelector('.verse.heard')?.dataset.label === %1;
            const obs = new MutationObserver(() => {
                if (seen()) { obs.disconnect(); resolve(Date.now()); }
            });
            obs.observe(box, {subtree: true, childList: true, attributes: true});
        }); true)")
                             .arg(HeadlessChromium::quoted(label)));
        const double start = wallMs();
        follower->step();
        // The window's event loop must run while the browser works: ask for the time without blocking.
        const QJsonValue shown = browser.evaluate(QStringLiteral("window.__seen"), 5000);
        if (!shown.isDouble())
            return fail("the page never showed", label + QLatin1Char(' ') + browser.error());
        delays.push_back(shown.toDouble() - start);
    }
    std::sort(delays.begin(), delays.end());
    std::printf(
        "follower step to the remote page's highlight, %zu changes, %d more feeds open: median %.1f ms, "
        "worst %.1f ms, best %.1f ms\n",
        delays.size(), pages, delays[delays.size() / 2], delays.back(), delays.front());

    if (!shots.isEmpty()) {
        QDir().mkpath(shots);
        // something on the clone, for the live page
        session::NowShowing now = feed.now();
        now.clone = session::CloneShows::Passage;
        now.heardVerse = QStringLiteral("23.4");
        server.showNow(now);
        const struct {
            const char* name;
            int w, h;
            bool mobile;
        } sizes[] = {{"phone", 390, 844, true}, {"desktop", 1280, 800, false}};
        for (const auto& s : sizes)
            for (const char* page : {"remote", "stage", "live"}) {
                browser.setViewport(s.w, s.h, s.mobile);
                if (QByteArray(page) == "live") browser.setTransparentBackground();
                const QString path =
                    QByteArray(page) == "remote" ? QStringLiteral("/") : QStringLiteral("/") + page;
                browser.navigate(base + path);
                browser.waitFor(QStringLiteral("document.body.innerText.includes('valley')"), 5000);
                processUntil([] { return false; }, 300);
                const QString file = shots + QStringLiteral("/%1-%2.png").arg(page, s.name);
                if (!browser.screenshot(file)) return fail("no screenshot", browser.error());
                std::printf("%s\n", qPrintable(file));
            }
    }
    return 0;
}
