// How late the highlight follows the reading: the main window on a data folder with read-aloud
// chapters, the real player playing a whole chapter, Timer1 driving the following. For every verse,
// the delay between the audio passing the verse's mark and the verse being selected, measured on
// the player's position at the moment of the selection.
//
//   LUMORA_BENCH_DATA=/path/to/demo build/bench_following [BOOK CHAPTER] [--pages N]
//
// (default: 19 23, Psalm 23). --pages N runs the remote server fed by the window with N pages'
// WebSocket feeds open from Debian's chromium, headless, so that their cost shows in the delay.
//
// Needs a sound server (scripts/sound-server starts a headless one).

#include "app/frmlumora.h"
#include "app/nowshowingfeed.h"
#include "app/windowlinks.h"
#include "bible/following.h"
#include "bible/ui/biblenavigation.h"
#include "bible/ui/passageview.h"
#include "bible/ui/versefollower.h"
#include "platform/qt/qtcommondialog.h"
#include "platform/qt/qtmediaplayer.h"
#include "platform/qt/qtprompts.h"
#include "remote/remoteserver.h"
#include "support/chromium.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <vector>

using namespace lumora;

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QByteArray data = qgetenv("LUMORA_BENCH_DATA");
    if (data.isEmpty()) {
        std::fprintf(stderr,
                     "set LUMORA_BENCH_DATA to a data folder with read-aloud chapters (lumora-cli demo)\n");
        return 2;
    }
    int pages = 0;
    std::vector<int> numbers;
    for (int i = 1; i < argc; ++i) {
        if (QByteArray(argv[i]) == "--pages" && i + 1 < argc)
            pages = std::atoi(argv[++i]);
        else
            numbers.push_back(std::atoi(argv[i]));
    }
    const int book = numbers.size() == 2 ? numbers[0] : 19;
    const int chapter = numbers.size() == 2 ? numbers[1] : 23;

    QTemporaryDir config;
    const QString pathFile = config.filePath(QStringLiteral("Lumora.path"));
    QFile f(pathFile);
    if (!f.open(QIODevice::WriteOnly)) return 1;
    f.write(data + "\r\n");
    f.close();
    platform::QtPrompts prompts;
    platform::QtShell shell;
    platform::QtCommonDialog dialogs;
    platform::MediaPlayer* bible = nullptr;
    platform::Platform platform{[&bible](QObject* parent) {
                                    auto* p = new platform::QtMediaPlayer(parent);
                                    if (!bible) bible = p;
                                    return p;
                                },
                                prompts, shell, dialogs};
    app::FrmLumora window(platform, {pathFile, QString::fromLocal8Bit(data)});
    if (!window.load()) return 1;
    auto* nav = window.findChild<bible::BibleNavigation*>(QStringLiteral("navigation"));
    auto* follower = window.findChild<bible::VerseFollower*>(QStringLiteral("follower"));
    auto* view = window.findChild<bible::PassageView*>(QStringLiteral("passageView"));

    // The remote server with `pages` feeds open in the browser.
    QTemporaryDir remoteConfig;
    remote::DeviceStore store(remoteConfig.filePath(QStringLiteral("Lumora.remote")));
    remote::Pairing pairing;
    remote::RemoteServer server(&store, &pairing);
    lumora::testing::HeadlessChromium browser;
    if (pages > 0) {
        store.load();
        if (const auto error = server.start(QHostAddress::LocalHost, 0)) {
            std::fprintf(stderr, "no server: %s\n", qPrintable(*error));
            return 1;
        }
        app::NowShowingFeed& feed =
            window.findChild<app::WindowLinks*>(QStringLiteral("windowLinks"))->nowShowing();
        QObject::connect(&feed, &app::NowShowingFeed::changed, &server, &remote::RemoteServer::showNow);
        server.showNow(feed.now());
        const QByteArray token = store.add(QStringLiteral("Bench"), remote::Role::View);
        const QString base = QStringLiteral("http://127.0.0.1:%1").arg(server.httpPort());
        QString why;
        if (!browser.start(&why) ||
            !browser.call(QStringLiteral("Network.setCookie"),
                          {{"name", "lumora_token"}, {"value", QString::fromLatin1(token)}, {"url", base}}) ||
            !browser.navigate(base + QStringLiteral("/stage"))) {
            std::fprintf(stderr, "chromium: %s %s\n", qPrintable(why), qPrintable(browser.error()));
            return 1;
        }
        browser.evaluate(QStringLiteral(R"((async () => {
            const info = await (await fetch('/api/info')).json();
            window.__extra = [];
            for (let i = 1; i < %1; i++) {
                const t = await (await fetch('/api/ticket', {method: 'POST'})).json();
                const ws = new WebSocket('ws://' + location.hostname + ':' + info.webSocketPort + '/');
                ws.onopen = () => ws.send(JSON.stringify({ticket: t.ticket}));
                window.__extra.push(ws);
            }
            return true;
        })())")
                             .arg(pages));
        if (!lumora::testing::processUntil([&] { return server.openWebSockets() == pages; }, 30000)) {
            std::fprintf(stderr, "only %d feeds connected\n", server.openWebSockets());
            return 1;
        }
    }

    // The marks of the passage shown, by verse label.
    QByteArrayList marks;
    QObject::connect(view, &bible::PassageView::passageShown,
                     [&marks](const bible::Passage& p) { marks = p.marks; });
    nav->jumpTo({0, book - 1, chapter - 1, 0, 999}); // the whole chapter, from verse 1
    if (marks.isEmpty()) {
        std::fprintf(stderr, "the chapter has no marks\n");
        return 1;
    }

    std::vector<double> delays;
    QString lastLabel;
    QObject::connect(follower, &bible::VerseFollower::verseSelected, [&](int start, int length) {
        const QString label = view->passageBox().plainText().mid(start, length);
        if (label == lastLabel) return;
        lastLabel = label;
        for (const QByteArray& m : marks)
            if (QString::fromUtf8(m.left(m.indexOf('\t'))) == label)
                delays.push_back((bible->position() - bible::markSeconds(m)) * 1000.0);
    });
    QElapsedTimer clock;
    clock.start();
    // The first verse is selected as soon as its mark is passed; wait for the recording's end.
    while (clock.elapsed() < 20 * 60 * 1000) {
        QApplication::processEvents(QEventLoop::AllEvents, 5);
        if (bible->statusText() == QStringLiteral("Stopped") && clock.elapsed() > 2000) break;
    }
    if (delays.empty()) {
        std::fprintf(stderr, "nothing was followed (is a sound server running?)\n");
        return 1;
    }
    std::vector<double> sorted = delays;
    std::sort(sorted.begin(), sorted.end());
    if (pages > 0) std::printf("with %d remote pages connected\n", server.openWebSockets());
    std::printf("following %d:%d: %zu of %lld verses selected; delay after the mark: median %.0f ms, "
                "worst %.0f ms, best %.0f ms\n",
                book, chapter, delays.size(), static_cast<long long>(marks.size()), sorted[sorted.size() / 2],
                sorted.back(), sorted.front());
    return 0;
}
