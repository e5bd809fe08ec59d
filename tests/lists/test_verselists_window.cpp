#include "lists/listfile.h"
#include "lists/ui/favouritepanel.h"

#include "support/mainwindow.h"

#include <QToolButton>

using namespace lumora;
using namespace lumora::testing;

namespace {

class VerseListsWindow : public ::testing::Test {
  protected:
    MainWindowHarness h;
    void SetUp() override {
        writeFixtureVersion(h.data.path(), "AAA", fixtureBooks(6, 25));
        writeFixtureVersion(h.data.path(), "BBB", fixtureBooks(3, 5));
        writeBytes(h.data.path() + "/Bible/Version.txt", "AAA - First\r\nBBB - Second\r\n");
        writeBytes(favori("Mine.txt"), "\xEF\xBB\xBF\r\n");
        writeBytes(favori("Mine.rtf"), " Save me as (*.rtf)\r\n");
    }
    QString favori(const QString& name) const { return h.data.path() + "/Bible/Favori/" + name; }
    lists::FavouritePanel& panel() { return *h.window->verseLists; }
};

} // namespace

TEST_F(VerseListsWindow, startUpChoosesFirstListWithGuardRaised) {
    ASSERT_TRUE(h.open());
    EXPECT_TRUE(h.window->state().FavBibleComboReady);
    EXPECT_EQ(panel().currentList(), "Mine");
    EXPECT_EQ(h.window->findChild<QComboBox*>("ComboBox_Favori_Bible"), panel().combo());
    EXPECT_EQ(h.current(h.nav().List_verset_limite), "20") << "the default passage still ends the load";
}

TEST_F(VerseListsWindow, addedEntryInAnotherVersionReopensThroughTheCascade) {
    ASSERT_TRUE(h.open());
    bible::BibleNavigation::select(h.nav().List_version, 1);
    bible::BibleNavigation::select(h.nav().List_livre, 1);
    bible::BibleNavigation::select(h.nav().List_chapitre, 2);
    bible::BibleNavigation::select(h.nav().List_verset, 1);
    bible::BibleNavigation::select(h.nav().List_verset_limite, 2);
    panel().addButton()->click();
    ASSERT_EQ(panel().entries().size(), 1);
    const QString entry = panel().entries().first();
    EXPECT_TRUE(entry.endsWith(" 3 : 2 - 4\tBBB")) << entry.toStdString();
    EXPECT_EQ(lists::readListFile(favori("Mine.txt")), QStringList{entry});

    bible::BibleNavigation::select(h.nav().List_version, 0);
    ASSERT_EQ(h.nav().List_version->currentIndex(), 0);
    panel().onEntryClicked(0);
    EXPECT_EQ(h.nav().List_version->currentIndex(), 1);
    EXPECT_EQ(h.nav().List_livre->currentRow(), 1);
    EXPECT_EQ(h.nav().List_chapitre->currentRow(), 2);
    EXPECT_EQ(h.nav().List_verset->currentRow(), 1);
    EXPECT_EQ(h.current(h.nav().List_verset_limite), "4");
    EXPECT_FALSE(h.window->state().PendingJump);
}
