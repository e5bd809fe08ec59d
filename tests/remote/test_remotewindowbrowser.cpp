// The remote page in a real browser driving the real window: a phone pairs with the window's PIN,
// types a reference, presses next verse, and the window's own lists move as a click would move them.

#include "app/frmlumora.h"
#include "app/remotelinks.h"
#include "remote/remoteservice.h"
#include "support/chromium.h"
#include "support/mainwindow.h"
#include "support/psalm23.h"

#include <gtest/gtest.h>

namespace lumora::testing {

TEST(RemoteWindowBrowser, aPhonePairsTypesAReferenceAndNextVerseMovesTheWindowsSelection) {
    if (HeadlessChromium::executable().isEmpty()) GTEST_SKIP() << "chromium is not installed";
    MainWindowHarness h;
    writeFixtureVersion(h.data.path(), "KJV", psalm23Books(), psalm23Options());
    writeBytes(h.data.path() + "/Bible/Version.txt", "KJV - King James Version\r\n");
    ASSERT_TRUE(h.open());
    remote::RemoteService& service = h.window->remote().service();
    ASSERT_TRUE(service.store().setSettings({4320, QStringLiteral("127.0.0.1"), false}));
    const std::optional<QString> error = service.start(quint16(0)); // any free pair of ports
    ASSERT_FALSE(error) << error->toStdString();
    const QString base = QStringLiteral("http://127.0.0.1:%1").arg(service.server().httpPort());

    HeadlessChromium browser;
    QString why;
    ASSERT_TRUE(browser.start(&why)) << why.toStdString();
    ASSERT_TRUE(browser.setViewport(390, 844, true)) << browser.error().toStdString();
    ASSERT_TRUE(browser.navigate(base + QStringLiteral("/"))) << browser.error().toStdString();
    ASSERT_TRUE(browser.waitFor(QStringLiteral("document.getElementById('pin') !== null")));
    ASSERT_TRUE(browser.type(QStringLiteral("#pin"), service.pairing().pin()));
    ASSERT_TRUE(browser.type(QStringLiteral("#name"), QStringLiteral("Phone")));
    ASSERT_TRUE(browser.click(QStringLiteral("#pair button")));
    ASSERT_TRUE(processUntil([&] { return service.server().openWebSockets() == 1; }))
        << "the page did not pair";

    // The remote page after the pairing's reload, laid out, before anything is typed or clicked:
    // on a loaded machine a click measured before the layout settled can land beside the button.
    ASSERT_TRUE(browser.waitFor(QStringLiteral("document.readyState === 'complete' && "
                                               "document.getElementById('reference') !== null")));
    // The heading's first text, the feed's first value, leaves the form where a finger may be
    // about to tap it.
    EXPECT_EQ(browser
                  .evaluate(QStringLiteral(
                      "(() => { const h = document.getElementById('heading'), was = h.textContent;"
                      " const top = () => document.getElementById('go').getBoundingClientRect().top;"
                      " h.textContent = ''; const before = top(); h.textContent = 'Psalms 23:1-3';"
                      " const after = top(); h.textContent = was; return after - before; })()"))
                  .toDouble(-1),
              0.0)
        << "the form moved down by so many pixels";
    ASSERT_TRUE(browser.type(QStringLiteral("#reference"), QStringLiteral("Ps 23:1-3")));
    ASSERT_TRUE(browser.waitFor(QStringLiteral("document.getElementById('reference').value === 'Ps 23:1-3'")))
        << "the text did not reach the box";
    ASSERT_TRUE(browser.click(QStringLiteral("#go")));
    auto* first = h.list("List_verset");
    auto* last = h.list("List_verset_limite");
    ASSERT_TRUE(processUntil([&] { return h.current(h.list("List_livre")).startsWith("19 "); }));
    EXPECT_EQ(h.current(h.list("List_chapitre")), "23");
    EXPECT_EQ(h.current(first), "1");
    EXPECT_EQ(h.current(last), "3");
    // the page shows what the window shows
    ASSERT_TRUE(browser.waitFor(QStringLiteral("document.querySelectorAll('#verses .verse').length === 3")));

    ASSERT_TRUE(browser.click(QStringLiteral("[data-action=nextVerse]")));
    ASSERT_TRUE(processUntil([&] { return h.current(first) == "2"; }))
        << "the window's selection did not move";
    ASSERT_TRUE(browser.waitFor(
        QStringLiteral("(document.querySelector('#verses .verse')?.dataset.label ?? '') === '23.2'")))
        << "the page did not follow the window";
    service.stop();
}

} // namespace lumora::testing
