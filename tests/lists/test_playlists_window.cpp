// The playlist panel in the real main window, opening entries through the hymn lists.

#include "hymns/ui/hymnselection.h"
#include "lists/ui/favouritepanel.h"
#include "support/mainwindow.h"

#include <QListWidget>
#include <QTextEdit>

using namespace lumora;
using namespace lumora::testing;

namespace {

QByteArray entry(const QByteArray& label, const QByteArray& theme, const QByteArray& sub, const QByteArray& book) {
    return QByteArrayList{label, "Comp", "Auth", "C", "-", theme, sub, "Tune", book}.join('\t');
}

class PlaylistWindow : public ::testing::Test {
protected:
    MainWindowHarness h;
    void SetUp() override {
        writeFixtureVersion(h.data.path(), "AAA", fixtureBooks(6, 25));
        writeBytes(h.data.path() + "/Bible/Version.txt", "AAA - First\r\n");
        const QString book = h.data.path() + "/Cantiques/Chants";
        writeBytes(book + "/Hira.txt", entry("1 - Morning", "Praise", "Day", "Chants") + "\r\n" +
                                           entry("2 - Evening", "Praise", "Night", "Chants") + "\r\n");
        writeBytes(book + "/parole/2.txt", "Evening words\r\n");
        writeBytes(h.data.path() + "/Cantiques/Favori/Sunday.txt",
                   "\xEF\xBB\xBF" + entry("2 - Evening", "Praise", "Night", "Chants") + "\r" +
                       entry("9 - Lost", "Praise", "Day", "Elsewhere") + "\r\r\n");
    }
};

} // namespace

TEST_F(PlaylistWindow, entriesOpenThroughTheHymnListsAndMissingBookShowsQuestionMarks) {
    ASSERT_TRUE(h.open());
    lists::FavouritePanel& panel = *h.window->playLists;
    hymns::HymnSelection& hymns = *h.window->hymnSelection;
    ASSERT_EQ(panel.entryList()->count(), 2);
    EXPECT_EQ(panel.entryList()->item(0)->text(), "2 - Evening");

    panel.entryList()->setCurrentRow(0);
    panel.onEntryClicked(0);
    EXPECT_EQ(hymns.ComboBox_Chant->currentText(), "2 - Evening");
    EXPECT_EQ(hymns.Text_Cantique->toPlainText(), "Evening words");

    panel.entryList()->setCurrentRow(1);
    panel.onEntryClicked(1);
    EXPECT_EQ(hymns.Text_Cantique->toPlainText(), "??????");
}

TEST_F(PlaylistWindow, addingTheHymnOnDisplayWritesItsWholeEntry) {
    ASSERT_TRUE(h.open());
    lists::FavouritePanel& panel = *h.window->playLists;
    panel.entryList()->setCurrentRow(0);
    panel.onEntryClicked(0);
    panel.onAddClicked();
    EXPECT_EQ(panel.entryList()->count(), 3);
    EXPECT_EQ(panel.infoList()->count(), 3);
    const QByteArray e = entry("2 - Evening", "Praise", "Night", "Chants");
    EXPECT_EQ(readBytes(h.data.path() + "/Cantiques/Favori/Sunday.txt"),
              "\xEF\xBB\xBF" + e + "\r" + entry("9 - Lost", "Praise", "Day", "Elsewhere") + "\r" + e + "\r\r\n");
}
