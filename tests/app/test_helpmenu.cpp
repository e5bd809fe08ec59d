// The HELP menu: the help file behind its read test, and the About box.

#include "app/helpmenu.h"

#include "support/mainwindow.h"

#include <QAction>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QMenu>

#include <gtest/gtest.h>

using namespace lumora;
using namespace lumora::testing;

namespace {
bool openWindow(MainWindowHarness& h) {
    writeBytes(h.data.file("Bible/Version.txt"), "KJV - King James\r\n");
    return h.open();
}
} // namespace

TEST(HelpMenu, helpFileOpensInTheDataFolderOnlyWhenItCanBeRead) {
    MainWindowHarness h;
    ASSERT_TRUE(openWindow(h));
    auto* help = h.find<QAction>("mnu_help");
    ASSERT_TRUE(help);
    EXPECT_EQ(help->text(), "HELP");
    help->trigger();
    EXPECT_TRUE(h.shell.openedIn.isEmpty()) << "no help file: nothing is opened, nothing said";

    QDir(h.data.path()).mkdir("Help.chm");
    help->trigger();
    EXPECT_TRUE(h.shell.openedIn.isEmpty()) << "a folder of that name is not a help file to read";

    QDir(h.data.path()).rmdir("Help.chm");
    writeBytes(h.data.file("help.CHM"), "ITSF");
    help->trigger();
    EXPECT_EQ(h.shell.openedIn, QStringList{h.data.path() + "/|help.CHM"});
    EXPECT_TRUE(h.prompts.asked.empty());
}

TEST(HelpMenu, aboutBoxNamesTheProgramItsVersionLibrariesLicencesAndDataFolder) {
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
}

TEST(HelpMenu, aboutTextEscapesTheFolderAndSaysWhenNoneIsChosen) {
    EXPECT_TRUE(app::aboutText("1.2.3", "/data/<b>&").contains("/data/&lt;b&gt;&amp;"));
    EXPECT_TRUE(app::aboutText("1.2.3", "").contains("none chosen"));
}
