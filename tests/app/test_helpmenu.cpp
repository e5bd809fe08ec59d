// The HELP menu: the help file behind its read test, and the About box.

#include "app/helpmenu.h"
#include "platform/qt/qtprompts.h"

#include "support/clirun.h"
#include "support/mainwindow.h"

#include <QDialog>
#include <QDir>
#include <QMenu>
#include <QStandardPaths>
#include <QTextBrowser>

using namespace lumora;
using namespace lumora::testing;

namespace {
bool openWindow(MainWindowHarness& h) {
    writeBytes(h.data.file("Bible/Version.txt"), "KJV - King James\r\n");
    return h.open();
}
} // namespace

TEST(HelpMenu, helpFileOpensInTheDataFolderOnlyWhenItCanBeRead_elseTheGuideOnce) {
    MainWindowHarness h;
    ASSERT_TRUE(openWindow(h));
    auto* help = h.find<QAction>("mnu_help");
    ASSERT_TRUE(help);
    EXPECT_EQ(help->text(), "HELP");
    EXPECT_EQ(help->shortcut(), QKeySequence(QKeySequence::HelpContents));
    // Without a help file HELP and F1 did nothing; the program's own guide shows instead.
    const auto guideShown = [&] {
        auto* guide = h.window->findChild<QDialog*>("FrmGuide");
        const bool shown = guide && guide->isVisible();
        if (guide) guide->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        return shown;
    };
    help->trigger();
    EXPECT_TRUE(h.shell.openedIn.isEmpty()) << "no help file: nothing is handed to the shell";
    // the guide is the README's usage section, one window at a time
    help->trigger();
    ASSERT_EQ(h.window->findChildren<QDialog*>("FrmGuide").size(), 1);
    auto* guide = h.window->findChild<QDialog*>("FrmGuide");
    EXPECT_FALSE(guide->isModal());
    const QString text = guide->findChild<QTextBrowser*>("Txt_Guide")->toPlainText();
    for (const char* part : {"Lumora: using it", "Data Path", "CLONE", "POLICE", "lumora --muted"})
        EXPECT_TRUE(text.contains(QLatin1String(part))) << part;
    EXPECT_FALSE(text.contains("## Development")) << "the usage section only";
    EXPECT_TRUE(guideShown());

    QDir(h.data.path()).mkdir("Help.chm");
    help->trigger();
    EXPECT_TRUE(h.shell.openedIn.isEmpty()) << "a folder of that name is not a help file to read";
    EXPECT_TRUE(guideShown());

    QDir(h.data.path()).rmdir("Help.chm");
    writeBytes(h.data.file("help.CHM"), "ITSF");
    h.shell.unopenable << h.data.file("help.CHM");
    help->trigger();
    EXPECT_TRUE(h.shell.openedIn.isEmpty()) << "nothing on the desktop reads it";
    EXPECT_TRUE(guideShown());

    h.shell.unopenable.clear();
    help->trigger();
    EXPECT_EQ(h.shell.openedIn, QStringList{h.data.path() + "/|help.CHM"});
    EXPECT_FALSE(guideShown()) << "the help file comes first where something opens it";
    EXPECT_TRUE(h.prompts.asked.empty());
}

// The real shell on a desktop without a program for .chm files (as Debian has by default) does
// not claim it can open one.
TEST(HelpMenu, theRealShellKnowsNothingHereOpensAHelpFile) {
    const QString mime = QStandardPaths::findExecutable("xdg-mime");
    if (!mime.isEmpty() &&
        !runProgram(mime, {"query", "default", "application/vnd.ms-htmlhelp"}).out.trimmed().isEmpty())
        GTEST_SKIP() << "this desktop has a program for help files";
    TempFolder d;
    writeBytes(d.file("Help.chm"), "ITSF");
    platform::QtShell shell;
    EXPECT_FALSE(shell.canOpen(d.file("Help.chm")));
    EXPECT_FALSE(shell.canOpen(d.file("none.chm")));
}

TEST(HelpMenu, aboutBoxNamesTheProgramItsVersionLibrariesLicencesAndTheDataFolderEscapedOrNone) {
    MainWindowHarness h;
    ASSERT_TRUE(openWindow(h));
    auto* menu = h.find<QMenu>("mnu_what");
    ASSERT_TRUE(menu);
    EXPECT_EQ(menu->title(), "HELP");
    auto* about = h.find<QAction>("Mnu_About");
    EXPECT_EQ(about->text(), "About ...");
    about->trigger();
    auto* box = h.find<QDialog>("FrmAbout");
    ASSERT_TRUE(box);
    EXPECT_FALSE(box->isModal());
    const QString text = box->findChild<QLabel*>("Lbl_About")->text();
    EXPECT_TRUE(text.contains("Lumora " + app::programVersion()));
    EXPECT_FALSE(app::programVersion().isEmpty());
    for (const char* part : {"Qt", "LGPL-3.0", "liblnk", "libsndfile", "LGPL-2.1", "SWORD", "GPL-2.0"})
        EXPECT_TRUE(text.contains(QLatin1String(part))) << part;
    EXPECT_TRUE(text.contains(QDir::toNativeSeparators(h.data.path()))) << text.toStdString();
    about->trigger();
    EXPECT_EQ(h.window->findChildren<QDialog*>("FrmAbout").size(), 1) << "one About box at a time";
    EXPECT_TRUE(app::aboutText("1.2.3", "/data/<b>&").contains("/data/&lt;b&gt;&amp;"));
    EXPECT_TRUE(app::aboutText("1.2.3", "").contains("none chosen"));
}
