// The chapter read aloud through the sound server, the window following it, and the remote page
// in headless chromium lighting each verse as the window does.

#include "app/nowshowingfeed.h"
#include "app/windowlinks.h"
#include "platform/qt/qtmediaplayer.h"
#include "remote/remoteserver.h"
#include "support/chromium.h"
#include "support/clirun.h"
#include "support/fakes.h"
#include "support/mainwindow.h"
#include "support/psalm23.h"

#include <gtest/gtest.h>

namespace lumora::testing {
namespace {

bool soundServerAnswers() {
    return runProgram("pactl", {"info"}, QProcessEnvironment::systemEnvironment(), 5000).exitCode == 0;
}

} // namespace

TEST(RemotePageSound, theRemotePageLightsTheVersesAsTheReadingReachesThem) {
    if (HeadlessChromium::executable().isEmpty()) GTEST_SKIP() << "chromium is not installed";
    if (!soundServerAnswers()) GTEST_SKIP() << "no sound server answers (scripts/sound-server starts one)";

    // Psalm 23 read in 7 seconds, verse v starting at v - 1 seconds.
    TempFolder data, config;
    FakePrompts prompts;
    FakeShell shell;
    FakeCommonDialog dialogs;
    platform::Platform platform{[](QObject* parent) { return new platform::QtMediaPlayer(parent); }, prompts,
                                shell, dialogs};
    FixtureOptions opt = psalm23Options();
    opt.mark = [](int b, int c, int v) {
        return b == 19 && c == 23 ? QByteArray::number(v - 1) + ",50000" : QByteArray("0");
    };
    writeFixtureVersion(data.path(), "KJV", psalm23Books(), opt);
    writeBytes(data.path() + "/Bible/Version.txt", "KJV - King James Version\r\n");
    QDir().mkpath(data.path() + "/Bible/KJV/Sound");
    const auto sox =
        runProgram("sox", {"-n", "-r", "22050", "-c", "1", data.path() + "/Bible/KJV/Sound/Ps23.mp3", "synth",
                           "7", "sine", "440", "gain", "-3"});
    ASSERT_EQ(sox.exitCode, 0) << sox.err.toStdString();
    const session::DataPathLocations where{config.path() + "/LMR/Lumora.path", data.path(),
                                           config.path() + "/LMR/Lumora.conf"};
    writeBytes(where.pathFile, QFile::encodeName(data.path()) + "\r\n");
    app::FrmLumora window(platform, where);
    ASSERT_TRUE(window.load());

    remote::DeviceStore store(config.file("Lumora.remote"));
    remote::Pairing pairing;
    remote::RemoteServer server(&store, &pairing);
    ASSERT_TRUE(store.load());
    const std::optional<QString> serverError = server.start(QHostAddress::LocalHost, 0);
    ASSERT_FALSE(serverError) << serverError->toStdString();
    app::NowShowingFeed& feed =
        window.findChild<app::WindowLinks*>(QStringLiteral("windowLinks"))->nowShowing();
    QObject::connect(&feed, &app::NowShowingFeed::changed, &server, &remote::RemoteServer::showNow);
    const QByteArray token = store.add(QStringLiteral("Phone"), remote::Role::Control);
    const QString base = QStringLiteral("http://127.0.0.1:%1").arg(server.httpPort());

    HeadlessChromium browser;
    QString why;
    ASSERT_TRUE(browser.start(&why)) << why.toStdString();
    ASSERT_TRUE(
        browser.call(QStringLiteral("Network.setCookie"),
                     {{"name", "lumora_token"}, {"value", QString::fromLatin1(token)}, {"url", base}}))
        << browser.error().toStdString();
    ASSERT_TRUE(browser.navigate(base + QStringLiteral("/"))) << browser.error().toStdString();
    ASSERT_TRUE(processUntil([&] { return server.openWebSockets() == 1; }));
    // The page keeps every verse it lights, in order.
    browser.evaluate(QStringLiteral(R"(window.__lit = [];
        new MutationObserver(() => {
            const h = document.querySelector('.verse.heard');
            if (h && window.__lit[window.__lit.length - 1] !== h.dataset.label) window.__lit.push(h.dataset.label);
        }).observe(document.getElementById('verses'), {subtree: true, childList: true, attributes: true});
        true)"));

    // Picking the chapter starts its reading.
    auto* books = window.findChild<QListWidget*>(QStringLiteral("List_livre"));
    auto* chapters = window.findChild<QListWidget*>(QStringLiteral("List_chapitre"));
    ASSERT_TRUE(books && chapters);
    bible::selectRow(books, 18);
    bible::selectRow(chapters, 22);
    EXPECT_TRUE(processUntil(
        [&] { return browser.evaluate(QStringLiteral("window.__lit.includes('23.5')")).toBool(); }, 20000))
        << "lit: "
        << QJsonDocument(browser.evaluate(QStringLiteral("window.__lit")).toArray()).toJson().constData()
        << " window: " << session::describe(feed.now()).toStdString();
    const QStringList labels = browser.evaluate(QStringLiteral("window.__lit")).toVariant().toStringList();
    // in the order read, none skipped back
    QStringList sorted = labels;
    std::sort(sorted.begin(), sorted.end());
    EXPECT_EQ(labels, sorted);
    EXPECT_GE(labels.size(), 3) << labels.join(' ').toStdString();
}

} // namespace lumora::testing
