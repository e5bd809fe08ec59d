// The list panels in the real main window: playlist entries open through the hymn lists, verse-list
// entries through the navigation's jump. (Enter on an entry: PanelTest.enterOnAnEntryOpensItAsAClickDoes.)

#include "hymns/hymnfixture.h"
#include "hymns/ui/hymnselection.h"
#include "lists/listfile.h"
#include "lists/ui/favouritepanel.h"
#include "lists/verselistentry.h"
#include "support/mainwindow.h"

using namespace lumora;
using namespace lumora::testing;

// Regression: "3 - Pain partagé" of the demo's "Sunday" playlist showed the words and title of the
// hymn before it, because its theme has no sub-theme and lists no hymns.
TEST(PlaylistWindow, entriesOpenThroughTheHymnLists_evenWithoutSubTheme_missingBookShowsQuestionMarks) {
    MainWindowHarness h;
    writeFixtureVersion(h.data.path(), "AAA", fixtureBooks(6, 25));
    writeBytes(h.data.path() + "/Bible/Version.txt", "AAA - First\r\n");
    const QByteArray morning = hymnEntry("1 - Lumière du matin", "Louange", "Matin", "Chants");
    const QByteArray evening = hymnEntry("2 - Evening", "Praise", "Night", "Chants");
    const QByteArray bread = hymnEntry("3 - Pain partagé", "Communion", "", "Chants", "Table ouverte");
    const QByteArray lost = hymnEntry("9 - Lost", "Praise", "Day", "Elsewhere");
    writeBytes(h.data.path() + "/Cantiques/Chants/Hira.txt", crlfLines({morning, evening, bread}));
    writeBytes(h.data.path() + "/Cantiques/Chants/parole/1.txt", "Lumière du matin\r\n");
    writeBytes(h.data.path() + "/Cantiques/Chants/parole/2.txt", "Evening words\r\n");
    writeBytes(h.data.path() + "/Cantiques/Chants/parole/3.txt", "Le pain se rompt\r\n");
    const QString sunday = h.data.path() + "/Cantiques/Favori/Sunday.txt";
    writeBytes(sunday, "\xEF\xBB\xBF" + evening + "\r" + lost + "\r" + morning + "\r" + bread + "\r\r\n");
    ASSERT_TRUE(h.open());
    lists::FavouritePanel& panel = h.playLists();
    QListWidget* entries = panel.entryList();
    ASSERT_EQ(entries->count(), 4);
    EXPECT_EQ(entries->item(0)->text(), "2 - Evening");

    panel.onEntryClicked(1);
    EXPECT_EQ(h.find<QTextEdit>("Text_Cantique")->toPlainText(), "??????");
    panel.onEntryClicked(0);
    EXPECT_EQ(h.combo("ComboBox_Chant")->currentText(), "2 - Evening");
    EXPECT_EQ(h.find<QTextEdit>("Text_Cantique")->toPlainText(), "Evening words");
    panel.onEntryClicked(3);
    EXPECT_EQ(h.find<QTextEdit>("Text_Cantique")->toPlainText(), "Le pain se rompt");
    EXPECT_EQ(h.find<QLabel>("Label9")->text(), "3 - Pain partagé");
    EXPECT_TRUE(h.find<QTextEdit>("Text_info")->toPlainText().contains("Table ouverte"));
    EXPECT_EQ(h.hymns().CurrentHymnEntry(), QString::fromUtf8(bread));
    panel.onEntryClicked(2);
    EXPECT_EQ(h.find<QTextEdit>("Text_Cantique")->toPlainText(), "Lumière du matin");
    EXPECT_EQ(h.find<QLabel>("Label9")->text(), "1 - Lumière du matin");

    // Add writes the whole entry of the hymn on display
    panel.onEntryClicked(0);
    panel.onAddClicked();
    EXPECT_EQ(entries->count(), 5);
    EXPECT_EQ(panel.infoList()->count(), 5);
    EXPECT_EQ(readBytes(sunday), "\xEF\xBB\xBF" + evening + "\r" + lost + "\r" + morning + "\r" + bread +
                                     "\r" + evening + "\r\r\n");
}

TEST(VerseListsWindow, addedEntryInAnotherVersionReopensThroughTheCascade_movingOnlyTheListsThatDiffer) {
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

    // An entry moves only the lists that differ from the passage on display, on the window's own
    // jump.
    auto add = [&](const session::JumpRequest& at) {
        h.nav().jumpTo(at);
        panel.addButton()->click();
    };
    add({0, 1, 2, 3, 2}); // entry 1: book 2, chapter 3, verses 4 to 6
    add({0, 1, 2, 3, 0}); // entry 2: the single verse 4
    ASSERT_EQ(panel.entries().size(), 3);

    QStringList raised;
    using Nav = bible::BibleNavigation;
    QObject::connect(&h.nav(), &Nav::chapterAudioFound, [&] { raised << "chapter"; });
    QObject::connect(&h.nav(), &Nav::verseSelected, [&] { raised << "verse"; });
    QObject::connect(&h.nav(), &Nav::spanSelected, [&] { raised << "span"; });
    const struct {
        const char* name;
        session::JumpRequest shown;
        int entry;
        QStringList handlers;
        int spanRow;
    } cases[] = {
        {"another book", {0, 4, 0, 0, 0}, 1, {"chapter", "span", "verse"}, 2},
        {"another chapter", {0, 1, 0, 3, 0}, 1, {"chapter", "span", "verse"}, 2},
        {"another first verse", {0, 1, 2, 0, 0}, 1, {"span", "verse"}, 2},
        {"the passage on display: only its span", {0, 1, 2, 3, 0}, 1, {"span"}, 2},
        {"first and last verse the same", {0, 1, 2, 3, 5}, 2, {"span"}, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        h.nav().jumpTo(c.shown);
        raised.clear();
        panel.onEntryClicked(c.entry);
        EXPECT_EQ(raised, c.handlers);
        EXPECT_EQ(h.list("List_livre")->currentRow(), 1);
        EXPECT_EQ(h.list("List_chapitre")->currentRow(), 2);
        EXPECT_EQ(h.list("List_verset")->currentRow(), 3);
        EXPECT_EQ(h.list("List_verset_limite")->currentRow(), c.spanRow);
        EXPECT_FALSE(h.nav().isJumpPending());
    }
}

// An entry's place moves the lists only when the first list that must change has its row (the lists
// after it take their nearest row); an unknown version keeps the version last targeted, and a
// version is found by its whole code. (The code was once looked for inside the entries, so "KJV"
// opened the "NKJV" version listed after it.)
TEST(VerseListsWindow, placesWithoutARowAreRefused_andVersionsAreFoundByTheirWholeCode) {
    MainWindowHarness h;
    writeFixtureVersion(h.data.path(), "KJV", fixtureBooks(6, 25));
    writeFixtureVersion(h.data.path(), "NKJV", fixtureBooks(6, 25));
    writeBytes(h.data.path() + "/Bible/Version.txt", "KJV - First\r\nNKJV - Second\r\n");
    ASSERT_TRUE(h.open());
    using Rows = std::array<int, 5>; // version, book, chapter, verse, end-verse row
    const struct {
        const char* name;
        session::JumpRequest shown;
        QString entry;
        bool moves;
        Rows rows;
    } cases[] = {
        {"book without a row", {0, 0, 0, 0, 0}, "99 Book.  1 : 1 - 1\tKJV", false, {0, 0, 0, 0, 0}},
        {"verse beyond the chapter", {0, 1, 2, 0, 0}, "02 Book. 3 : 30 - 30\tKJV", false, {0, 1, 2, 0, 0}},
        {"chapter past the book: last", {0, 0, 0, 0, 0}, "02 Book. 9 : 1 - 2\tKJV", true, {0, 1, 5, 0, 1}},
        {"unknown version: last one", {1, 0, 0, 0, 0}, "40 Book. 2 : 3 - 3\tNONE", true, {1, 39, 1, 2, 0}},
        {"code inside another entry", {1, 0, 0, 0, 0}, "02 Book. 1 : 1 - 1\tKJV", true, {0, 1, 0, 0, 0}},
        {"code in other letter case", {0, 0, 0, 0, 0}, "03 Book. 2 : 4 - 6\tnkjv", true, {1, 2, 1, 3, 2}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        h.nav().jumpTo(c.shown);
        const auto place = lists::parseVerseListEntry(c.entry);
        ASSERT_TRUE(place);
        EXPECT_EQ(h.nav().openPassage(*place), c.moves);
        const Rows rows{h.combo("List_version")->currentIndex(), h.list("List_livre")->currentRow(),
                        h.list("List_chapitre")->currentRow(), h.list("List_verset")->currentRow(),
                        h.list("List_verset_limite")->currentRow()};
        EXPECT_EQ(rows, c.rows);
    }
}
