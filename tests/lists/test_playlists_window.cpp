// The playlist panel in the real main window, opening entries through the hymn lists.

#include "hymns/hymnfixture.h"
#include "hymns/ui/hymnselection.h"
#include "lists/ui/favouritepanel.h"
#include "support/mainwindow.h"

#include <QListWidget>
#include <QTextEdit>

using namespace lumora;
using namespace lumora::testing;

TEST(PlaylistWindow, entriesOpenThroughTheHymnListsMissingBookShowsQuestionMarksAndAddWritesWholeEntry) {
    MainWindowHarness h;
    writeFixtureVersion(h.data.path(), "AAA", fixtureBooks(6, 25));
    writeBytes(h.data.path() + "/Bible/Version.txt", "AAA - First\r\n");
    const QByteArray evening = hymnEntry("2 - Evening", "Praise", "Night", "Chants");
    const QByteArray lost = hymnEntry("9 - Lost", "Praise", "Day", "Elsewhere");
    writeBytes(h.data.path() + "/Cantiques/Chants/Hira.txt",
               crlfLines({hymnEntry("1 - Morning", "Praise", "Day", "Chants"), evening}));
    writeBytes(h.data.path() + "/Cantiques/Chants/parole/2.txt", "Evening words\r\n");
    const QString sunday = h.data.path() + "/Cantiques/Favori/Sunday.txt";
    writeBytes(sunday, "\xEF\xBB\xBF" + evening + "\r" + lost + "\r\r\n");
    ASSERT_TRUE(h.open());
    lists::FavouritePanel& panel = h.playLists();
    ASSERT_EQ(panel.entryList()->count(), 2);
    EXPECT_EQ(panel.entryList()->item(0)->text(), "2 - Evening");

    panel.entryList()->setCurrentRow(1);
    panel.onEntryClicked(1);
    EXPECT_EQ(h.find<QTextEdit>("Text_Cantique")->toPlainText(), "??????");

    panel.entryList()->setCurrentRow(0);
    panel.onEntryClicked(0);
    EXPECT_EQ(h.combo("ComboBox_Chant")->currentText(), "2 - Evening");
    EXPECT_EQ(h.find<QTextEdit>("Text_Cantique")->toPlainText(), "Evening words");

    panel.onAddClicked();
    EXPECT_EQ(panel.entryList()->count(), 3);
    EXPECT_EQ(panel.infoList()->count(), 3);
    EXPECT_EQ(readBytes(sunday), "\xEF\xBB\xBF" + evening + "\r" + lost + "\r" + evening + "\r\r\n");
}
