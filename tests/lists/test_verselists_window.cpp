// The verse-list panel in the real main window, opening entries through the navigation's jump.

#include "lists/listfile.h"
#include "lists/ui/favouritepanel.h"

#include "support/mainwindow.h"

#include <QToolButton>

using namespace lumora;
using namespace lumora::testing;

TEST(VerseListsWindow, addedEntryInAnotherVersionReopensThroughTheCascade) {
    MainWindowHarness h;
    writeFixtureVersion(h.data.path(), "AAA", fixtureBooks(6, 25));
    writeFixtureVersion(h.data.path(), "BBB", fixtureBooks(3, 5));
    writeBytes(h.data.path() + "/Bible/Version.txt", "AAA - First\r\nBBB - Second\r\n");
    const QString mine = h.data.path() + "/Bible/Favori/Mine.txt";
    writeBytes(mine, "\xEF\xBB\xBF\r\n");
    writeBytes(h.data.path() + "/Bible/Favori/Mine.rtf", " Save me as (*.rtf)\r\n");
    ASSERT_TRUE(h.open());
    lists::FavouritePanel& panel = h.verseLists();
    // start-up chose the (empty) list with the guard raised; the default passage still ends the load
    EXPECT_TRUE(panel.isComboReady());
    EXPECT_EQ(panel.currentList(), "Mine");
    EXPECT_EQ(h.window->findChild<QComboBox*>("ComboBox_Favori_Bible"), panel.combo());
    EXPECT_EQ(h.current(h.list("List_verset_limite")), "20");

    bible::selectRow(h.combo("List_version"), 1);
    bible::selectRow(h.list("List_livre"), 1);
    bible::selectRow(h.list("List_chapitre"), 2);
    bible::selectRow(h.list("List_verset"), 1);
    bible::selectRow(h.list("List_verset_limite"), 2);
    panel.addButton()->click();
    ASSERT_EQ(panel.entries().size(), 1);
    const QString entry = panel.entries().first();
    EXPECT_TRUE(entry.endsWith(" 3 : 2 - 4\tBBB")) << entry.toStdString();
    EXPECT_EQ(lists::readListFile(mine), QStringList{entry});

    bible::selectRow(h.combo("List_version"), 0);
    ASSERT_EQ(h.combo("List_version")->currentIndex(), 0);
    panel.onEntryClicked(0);
    EXPECT_EQ(h.combo("List_version")->currentIndex(), 1);
    EXPECT_EQ(h.list("List_livre")->currentRow(), 1);
    EXPECT_EQ(h.list("List_chapitre")->currentRow(), 2);
    EXPECT_EQ(h.list("List_verset")->currentRow(), 1);
    EXPECT_EQ(h.current(h.list("List_verset_limite")), "4");
    EXPECT_FALSE(h.nav().isJumpPending());
}
