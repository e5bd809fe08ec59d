// The playlist panel in the real main window, opening entries through the hymn lists.

#include "hymns/hymnfixture.h"
#include "hymns/ui/hymnselection.h"
#include "lists/ui/favouritepanel.h"
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

    entries->setCurrentRow(1);
    panel.onEntryClicked(1);
    EXPECT_EQ(h.find<QTextEdit>("Text_Cantique")->toPlainText(), "??????");

    entries->setCurrentRow(0);
    panel.onEntryClicked(0);
    EXPECT_EQ(h.combo("ComboBox_Chant")->currentText(), "2 - Evening");
    EXPECT_EQ(h.find<QTextEdit>("Text_Cantique")->toPlainText(), "Evening words");

    // Enter opens the current entry
    entries->setCurrentRow(3);
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QApplication::sendEvent(entries, &enter);
    EXPECT_EQ(h.find<QTextEdit>("Text_Cantique")->toPlainText(), "Le pain se rompt");
    EXPECT_EQ(h.find<QLabel>("Label9")->text(), "3 - Pain partagé");
    EXPECT_TRUE(h.find<QTextEdit>("Text_info")->toPlainText().contains("Table ouverte"));
    EXPECT_EQ(h.hymns().CurrentHymnEntry(), QString::fromUtf8(bread));
    entries->setCurrentRow(2);
    QKeyEvent keypadEnter(QEvent::KeyPress, Qt::Key_Enter, Qt::KeypadModifier);
    QApplication::sendEvent(entries, &keypadEnter);
    EXPECT_EQ(h.find<QTextEdit>("Text_Cantique")->toPlainText(), "Lumière du matin");
    EXPECT_EQ(h.find<QLabel>("Label9")->text(), "1 - Lumière du matin");

    // Add writes the whole entry of the hymn on display
    entries->setCurrentRow(0);
    panel.onEntryClicked(0);
    panel.onAddClicked();
    EXPECT_EQ(entries->count(), 5);
    EXPECT_EQ(panel.infoList()->count(), 5);
    EXPECT_EQ(readBytes(sunday), "\xEF\xBB\xBF" + evening + "\r" + lost + "\r" + morning + "\r" + bread +
                                     "\r" + evening + "\r\r\n");
}
