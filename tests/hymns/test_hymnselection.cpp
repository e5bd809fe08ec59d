// The Canticle tab's lists, offscreen, on a fixture data folder.

#include "hymns/ui/hymnplayer.h"
#include "hymns/ui/hymnselection.h"

#include "hymnfixture.h"
#include "support/clicks.h"
#include "support/fakes.h"
#include "support/mainwindow.h"

#include <QDir>
#include <QEnterEvent>
#include <QFontInfo>
#include <QLayout>

using namespace lumora;
using namespace lumora::testing;
using hymns::HymnSelection;

namespace {

void enter(QWidget* w) {
    QEnterEvent e(QPointF(1, 1), QPointF(1, 1), QPointF(1, 1));
    QApplication::sendEvent(w, &e);
}
void moveOver(QWidget* w) {
    sendMouse(w, QEvent::MouseMove);
}

class HymnSelectionUi : public ::testing::Test {
  protected:
    void SetUp() override {
        d.hira("Alpha", "\xEF\xBB\xBF" + crlfLines({
                                             hymnEntry("1 - Gloire", "Louange", "Noël", "Alpha"),
                                             hymnEntry("2 - Joie", "Louange", "Noël", "Alpha"),
                                             hymnEntry("3 - Paix", "Prière", "Soir", "Alpha"),
                                             hymnEntry("4 - Repos", "Prière", "Nuit", "Alpha"),
                                         }));
        d.hira("Beta", crlfLines({hymnEntry("7 - Aube", "Matin", "Lever", "Beta", "Tune", "Bach"),
                                  hymnEntry("8 - Midi", "Jour", "Midi", "Beta", "Tune", "Bach")}));
        d.touch("Alpha", "musique/1.mp3");
        writeBytes(d.bookFile("Alpha", "parole/1.txt"), "\r\nGloire au Père\r\n");
        session.DataPath = d.path();
    }
    // The lists with the hymn player following them, as in the window.
    std::unique_ptr<HymnSelection> make() {
        auto h = std::make_unique<HymnSelection>(session, &page);
        hymnPlayer.attachTo(*h);
        return h;
    }
    template <class T> T* w(const char* name) { return page.findChild<T*>(QString::fromLatin1(name)); }
    std::unique_ptr<HymnSelection> started() {
        auto h = make();
        h->startUp();
        return h;
    }
    QString shown(const char* combo) { return w<QComboBox>(combo)->currentText(); }

    HymnData d;
    session::Session session;
    FakeMediaPlayer player;
    FakePrompts prompts;
    hymns::HymnPlayer hymnPlayer{player, prompts};
    QWidget page;
};

TEST_F(HymnSelectionUi,
       startUpCascadesToTheFirstHymnWithMusicLoadedButStopped_andTheSameBookAgainToItsFirst) {
    writeBytes(d.bookFile("Alpha", "parole/4.rtf"),
               "{\\rtf1\\ansi\\ansicpg1252{\\fonttbl{\\f0 Arial;}}\\pard\\f0 {\\b Joie} du c\\'9cur\\par}");
    auto h = started();
    EXPECT_EQ(shown("ComboBox_Receuil"), "Alpha");
    EXPECT_EQ(shown("ComboBox_theme1"), "Louange");
    EXPECT_EQ(shown("ComboBox_theme2"), "Noël");
    EXPECT_EQ(shown("ComboBox_Chant"), "1 - Gloire");
    EXPECT_EQ(w<QLabel>("Lbl_Nbr_cantique")->text(), "1 / 2");
    EXPECT_EQ(w<QLabel>("Label9")->text(), "1 - Gloire");
    EXPECT_EQ(h->words().plainText(), "Gloire au Père") << "the words file begins with a blank line";
    EXPECT_TRUE(w<QTextEdit>("Text_info")->toPlainText().startsWith("AIR OF : Tune\nTONALITY : C"));
    EXPECT_EQ(h->CurrentHymnEntry(), entryText("1 - Gloire", "Louange", "Noël", "Alpha"));
    EXPECT_TRUE(player.source().endsWith("musique/1.mp3"));
    EXPECT_EQ(player.calls.last(), "stop");
    EXPECT_FALSE(w<QLabel>("Image_Musique")->isHidden());
    EXPECT_TRUE(w<QLabel>("Label16")->isHidden());
    EXPECT_TRUE(h->HymnBooksLoaded() && h->ThemesLoaded() && h->SubThemesLoaded() && h->HymnListLoaded());

    HymnSelection::select(w<QComboBox>("ComboBox_Chant"), 1); // no music, no words
    EXPECT_EQ(h->words().plainText(), "A SAISIR");
    EXPECT_EQ(player.source(), QString());
    EXPECT_TRUE(w<QLabel>("Image_Musique")->isHidden());
    EXPECT_EQ(w<QLabel>("Lbl_Nbr_cantique")->text(), "2 / 2");

    // rich-text words keep their formatting (the conversion is the RTF reader's)
    HymnSelection::select(w<QComboBox>("ComboBox_theme1"), 1);
    HymnSelection::select(w<QComboBox>("ComboBox_theme2"), 1);
    ASSERT_EQ(shown("ComboBox_Chant"), "4 - Repos");
    EXPECT_EQ(h->words().plainText(), "Joie du c\u0153ur");
    QTextCursor bold(w<QTextEdit>("Text_Cantique")->document());
    bold.setPosition(1);
    EXPECT_EQ(bold.charFormat().fontWeight(), QFont::Bold);

    // picking the same book again shows the first hymn of the first theme
    w<QComboBox>("ComboBox_Receuil")->showPopup();
    emit w<QComboBox>("ComboBox_Receuil")->activated(w<QComboBox>("ComboBox_Receuil")->currentIndex());
    w<QComboBox>("ComboBox_Receuil")->hidePopup();
    EXPECT_EQ(shown("ComboBox_theme1"), "Louange");
    EXPECT_EQ(shown("ComboBox_Chant"), "1 - Gloire");
    EXPECT_EQ(h->CurrentHymnEntry(), h->ComboBox_Info_chant().at(0));
}

TEST_F(HymnSelectionUi, bookWhoseThemeFileCannotBeReadLeavesNothingOfThePreviousBook) {
    // Regression: the sub-themes, hymns and details of the previous book stayed on screen.
    auto h = started();
    ASSERT_EQ(shown("ComboBox_Chant"), "1 - Gloire");
    const QString theme = d.bookFile("Beta", "Theme.txt");
    ASSERT_TRUE(QFile::remove(theme));
    QDir().mkpath(theme); // a folder where the file should be
    HymnSelection::select(w<QComboBox>("ComboBox_Receuil"), 1);
    EXPECT_EQ(shown("ComboBox_Receuil"), "Beta");
    for (QComboBox* list :
         {w<QComboBox>("ComboBox_theme1"), w<QComboBox>("ComboBox_theme2"), w<QComboBox>("ComboBox_Chant")})
        EXPECT_EQ(list->count(), 0) << list->objectName().toStdString();
    EXPECT_TRUE(h->ComboBox_Info_chant().isEmpty());
    EXPECT_EQ(w<QTextEdit>("Text_info")->toPlainText(), QString());
    EXPECT_EQ(w<QLabel>("Lbl_Nbr_cantique")->text(), QString());
    EXPECT_FALSE(h->ThemesLoaded() || h->SubThemesLoaded() || h->HymnListLoaded());
}

// search
TEST_F(HymnSelectionUi, searchWithoutHitsSaysNothingAndAHitInAnotherBookSwitchesTheBook) {
    auto h = started();
    player.calls.clear();
    w<QLineEdit>("Cantique_achercher")->setText("zzz");
    h->searchHymns();
    EXPECT_FALSE(h->HymnSearchReady());
    EXPECT_EQ(shown("ComboBox_cantique_trouve"), "N O T H I N G");
    EXPECT_EQ(w<QLabel>("Lbl_Nbr_cantique_trouve")->text(), QString());
    EXPECT_EQ(shown("ComboBox_Chant"), "1 - Gloire");
    EXPECT_TRUE(player.calls.isEmpty());
    w<QLineEdit>("Cantique_achercher")->setText(QString()); // matches everything and clears "N O T H I N G"
    h->searchHymns();
    EXPECT_EQ(w<QComboBox>("ComboBox_cantique_trouve")->count(), 6);

    player.calls.clear();
    w<QLineEdit>("Cantique_achercher")->setText("bach");
    w<QPushButton>("Cmd_cherche_cantique")->click();
    EXPECT_TRUE(h->HymnSearchReady());
    EXPECT_EQ(w<QComboBox>("ComboBox_cantique_trouve")->count(), 2);
    EXPECT_EQ(w<QLabel>("Lbl_Nbr_cantique_trouve")->text(), "1 / 2");
    EXPECT_EQ(shown("ComboBox_Receuil"), "Beta");
    EXPECT_EQ(w<QComboBox>("ComboBox_theme1")->count(), 2) << "the theme lists are rebuilt for the book";
    EXPECT_EQ(shown("ComboBox_theme1"), "Matin");
    EXPECT_EQ(shown("ComboBox_Chant"), "7 - Aube");
    EXPECT_EQ(player.calls.last(), "stop");

    HymnSelection::select(w<QComboBox>("ComboBox_cantique_trouve"), 1); // other theme, same book
    EXPECT_EQ(shown("ComboBox_theme1"), "Jour");
    EXPECT_EQ(shown("ComboBox_Chant"), "8 - Midi");
    EXPECT_EQ(w<QLabel>("Lbl_Nbr_cantique_trouve")->text(), "2 / 2");

    // Enter in the search box runs the search
    HymnSelection::select(w<QComboBox>("ComboBox_Receuil"), 0);
    QKeyEvent press(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QApplication::sendEvent(w<QLineEdit>("Cantique_achercher"), &press);
    EXPECT_EQ(w<QComboBox>("ComboBox_cantique_trouve")->count(), 2);
    EXPECT_EQ(shown("ComboBox_Chant"), "7 - Aube");
}

// regressions: the words of another hymn stayed on screen
class HymnWithoutSubTheme : public HymnSelectionUi {
  protected:
    void SetUp() override {
        HymnSelectionUi::SetUp();
        d.hira("Alpha", crlfLines({hymnEntry("1 - Gloire", "Louange", "Noël", "Alpha"),
                                   hymnEntry("2 - Joie", "Louange", "Noël", "Alpha"), bread}));
        writeBytes(d.bookFile("Alpha", "parole/5.txt"), "Le pain se rompt\r\n");
        d.touch("Alpha", "musique/5.mp3");
    }
    const QByteArray bread = hymnEntry("5 - Pain", "Communion", "", "Alpha", "Table ouverte");
    void expectBreadShown(HymnSelection& h) {
        EXPECT_EQ(h.words().plainText(), "Le pain se rompt");
        EXPECT_EQ(w<QLabel>("Label9")->text(), "5 - Pain");
        EXPECT_TRUE(w<QTextEdit>("Text_info")->toPlainText().contains("Table ouverte"));
        EXPECT_EQ(h.CurrentHymnEntry(), QString::fromUtf8(bread));
        EXPECT_EQ(h.entryOnDisplay(), QString::fromUtf8(bread)) << "a playlist adds the hymn on display";
        EXPECT_TRUE(player.source().endsWith("musique/5.mp3"));
        EXPECT_FALSE(w<QLabel>("Image_Musique")->isHidden());
        EXPECT_EQ(shown("ComboBox_Chant"), "5 - Pain");
        EXPECT_FALSE(w<QComboBox>("ComboBox_Chant")->isHidden());
    }
    void pickTheme(const char* theme) {
        HymnSelection::select(w<QComboBox>("ComboBox_theme1"),
                              w<QComboBox>("ComboBox_theme1")->findText(theme));
    }
};

// A theme without sub-themes emptied the sub-theme box and hid the hymn box: its hymns could not
// be reached with the pickers, nor shown from a playlist or a search. The lists keep their widths
// when the sub-theme list empties.
TEST_F(HymnWithoutSubTheme, itsThemeListsItsHymns_aPlaylistEntryOrSearchHitShowsIt_theListsKeepTheirWidths) {
    auto h = started();
    ASSERT_EQ(h->words().plainText(), "Gloire au Père");
    QWidget* lists = h->bookLists();
    lists->resize(1200, 80);
    lists->show();
    lists->layout()->activate();
    const int book = w<QComboBox>("ComboBox_Receuil")->width(),
              theme = w<QComboBox>("ComboBox_theme1")->width();
    pickTheme("Communion");
    EXPECT_EQ(w<QComboBox>("ComboBox_theme2")->count(), 0);
    EXPECT_EQ(w<QComboBox>("ComboBox_Chant")->count(), 1);
    EXPECT_EQ(w<QLabel>("Lbl_Nbr_cantique")->text(), "1 / 1");
    expectBreadShown(*h);
    lists->layout()->activate();
    EXPECT_EQ(w<QComboBox>("ComboBox_Receuil")->width(), book);
    EXPECT_EQ(w<QComboBox>("ComboBox_theme1")->width(), theme);

    HymnSelection::select(w<QComboBox>("ComboBox_theme1"), 0);
    ASSERT_EQ(h->words().plainText(), "Gloire au Père");
    h->ShowPlaylistHymn(QString::fromUtf8(bread));
    expectBreadShown(*h);
    EXPECT_EQ(shown("ComboBox_theme1"), "Communion");
    HymnSelection::select(w<QComboBox>("ComboBox_theme1"), 0);
    ASSERT_EQ(h->words().plainText(), "Gloire au Père");
    w<QLineEdit>("Cantique_achercher")->setText("pain");
    h->searchHymns();
    expectBreadShown(*h);
    EXPECT_EQ(w<QLabel>("Lbl_Nbr_cantique_trouve")->text(), "1 / 1");
}

TEST_F(HymnSelectionUi, pickOfTheHymnTheListsAlreadyHoldShowsItsWordsAgain) {
    auto h = started();
    h->ShowPlaylistHymn(entryText("1 - X", "T", "S", "Gone"));
    ASSERT_EQ(h->words().plainText(), "??????");
    // Every value equals the current one, so no list pick runs: the hymn is shown all the same.
    h->ShowPlaylistHymn(entryText("1 - Gloire", "Louange", "Noël", "Alpha"));
    EXPECT_EQ(h->words().plainText(), "Gloire au Père");
    w<QLineEdit>("Cantique_achercher")->setText("gloire");
    h->ShowPlaylistHymn(entryText("1 - X", "T", "S", "Gone"));
    h->searchHymns();
    EXPECT_EQ(h->words().plainText(), "Gloire au Père");
}

// keyboard, layout and style
TEST_F(HymnSelectionUi, wordsBoxIsReadOnly_andItsSelectionIsReportedForTheCloneMirror) {
    auto h = started();
    auto* words = w<QTextEdit>("Text_Cantique");
    EXPECT_TRUE(words->isReadOnly());
    words->setFocus();
    QKeyEvent press(QEvent::KeyPress, Qt::Key_X, Qt::NoModifier, QStringLiteral("x"));
    QApplication::sendEvent(words, &press);
    EXPECT_EQ(h->words().plainText(), "Gloire au Père");
    int mirrored = 0;
    QObject::connect(h.get(), &HymnSelection::hymnSelectionChanged,
                     [&](int, int length) { mirrored = length; });
    h->words().select(1, 4);
    EXPECT_EQ(mirrored, 4);
}

TEST_F(HymnSelectionUi, missingCantiquesOrOnlyTheFavouriteFolderShowsLabel16) {
    for (const bool withFavori : {false, true}) {
        SCOPED_TRACE(withFavori ? "only Favori" : "no Cantiques");
        HymnData empty;
        if (withFavori) QDir().mkpath(empty.file("Cantiques/Favori"));
        session.DataPath = empty.path();
        QWidget emptyPage;
        auto h = std::make_unique<HymnSelection>(session, &emptyPage);
        h->startUp();
        EXPECT_FALSE(emptyPage.findChild<QLabel*>("Label16")->isHidden());
        EXPECT_TRUE(emptyPage.findChild<QTextEdit*>("Text_Cantique")->isHidden());
        EXPECT_EQ(h->words().plainText(), "FOLDER \"Cantiques\" NOT FOND");
        EXPECT_EQ(emptyPage.findChild<QComboBox*>("ComboBox_Receuil")->count(), 0);
    }
}

TEST_F(HymnSelectionUi, mouseOverBorderSetOnEnterAndRemovedByThePageMouseMove) {
    auto h = make();
    enter(w<QComboBox>("ComboBox_theme1"));
    EXPECT_FALSE(w<QComboBox>("ComboBox_theme1")->styleSheet().isEmpty());
    moveOver(&page);
    EXPECT_TRUE(w<QComboBox>("ComboBox_theme1")->styleSheet().isEmpty());
}

// --- in the main window

// The window on a folder with one hymn book of one hymn and its words.
TEST(HymnMainWindow,
     loadRunsTheHymnStartUpOnTheCanticleTab_theTabControlRemovesTheBorders_wordsTakeThePassageStyle) {
    MainWindowHarness h;
    writeFixtureVersion(h.data.path(), "AAA", fixtureBooks(3, 5));
    writeBytes(h.data.path() + "/Bible/Version.txt", "AAA - First\r\n");
    writeBytes(h.data.path() + "/Cantiques/Alpha/Hira.txt",
               crlfLines({hymnEntry("1 - Gloire", "Louange", "Noël", "Alpha")}));
    writeBytes(h.data.path() + "/Cantiques/Alpha/parole/1.txt", "Gloire\r\n");
    ASSERT_TRUE(h.open());
    EXPECT_TRUE(h.find<QWidget>("canticlePage")->isAncestorOf(h.combo("ComboBox_Chant")));
    EXPECT_EQ(h.find<QComboBox>("ComboBox_Chant")->currentText(), "1 - Gloire");
    EXPECT_TRUE(h.find<QLabel>("Label16")->isHidden());
    enter(h.find<QComboBox>("ComboBox_Receuil"));
    ASSERT_FALSE(h.find<QComboBox>("ComboBox_Receuil")->styleSheet().isEmpty());
    moveOver(h.find<QWidget>("SSTab_LMR"));
    EXPECT_TRUE(h.find<QComboBox>("ComboBox_Receuil")->styleSheet().isEmpty());

    // the words take the passage's style (the title that heads them: WindowsInMainWindow)
    auto* words = h.find<QTextEdit>("Text_Cantique");
    auto* passage = h.find<QTextEdit>("Text_Passage");
    EXPECT_DOUBLE_EQ(words->document()->defaultFont().pointSizeF(),
                     passage->document()->defaultFont().pointSizeF());
    QTextCursor c(words->document());
    c.setPosition(1);
    EXPECT_DOUBLE_EQ(QFontInfo(c.charFormat().font()).pointSizeF(),
                     QFontInfo(passage->document()->defaultFont()).pointSizeF())
        << "words read from a .txt file";
}

} // namespace
