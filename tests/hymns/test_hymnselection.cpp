// The Canticle tab's lists, offscreen, on a fixture data folder.

#include "hymns/ui/hymnselection.h"

#include "hymnfixture.h"
#include "support/fakes.h"

#include <QApplication>
#include <QEnterEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QTextEdit>
#include <QToolButton>

#include <gtest/gtest.h>

using namespace lumora;
using namespace lumora::testing;
using hymns::HymnSelection;

namespace {

class HymnSelectionUi : public ::testing::Test {
protected:
    void SetUp() override {
        d.hira(QStringLiteral("Alpha"), "\xEF\xBB\xBF" + crlfLines({
                                                   hymnEntry("1 - Gloire", "Louange", "Noël", "Alpha"),
                                                   hymnEntry("2 - Joie", "Louange", "Noël", "Alpha"),
                                                   hymnEntry("3 - Paix", "Prière", "Soir", "Alpha"),
                                                   hymnEntry("4 - Repos", "Prière", "Nuit", "Alpha"),
                                               }));
        d.hira(QStringLiteral("Beta"), crlfLines({hymnEntry("7 - Aube", "Matin", "Lever", "Beta", "Tune", "Bach"),
                                                  hymnEntry("8 - Midi", "Jour", "Midi", "Beta", "Tune", "Bach")}));
        d.touch(QStringLiteral("Alpha"), QStringLiteral("musique/1.mp3"));
        writeBytes(d.bookFile(QStringLiteral("Alpha"), QStringLiteral("parole/1.txt")), "\r\nGloire au Père\r\n");
        state.DataPath = d.path();
    }
    std::unique_ptr<HymnSelection> make() {
        return std::make_unique<HymnSelection>(state, platform, &player, &page);
    }
    static QString text(QComboBox* c) { return c->currentText(); }

    HymnData d;
    app::AppState state;
    FakePrompts prompts;
    FakeShell shell;
    FakeMediaPlayer player;
    platform::Platform platform{[](QObject* p) { return new FakeMediaPlayer(p); }, prompts, shell};
    QWidget page;
};

TEST_F(HymnSelectionUi, startUp_cascadesToTheFirstHymn_musicLoadedButStopped) {
    auto h = make();
    h->startUp();
    EXPECT_EQ(text(h->ComboBox_Receuil), QStringLiteral("Alpha"));
    EXPECT_EQ(text(h->ComboBox_theme1), QStringLiteral("Louange"));
    EXPECT_EQ(text(h->ComboBox_theme2), QStringLiteral("Noël"));
    EXPECT_EQ(text(h->ComboBox_Chant), QStringLiteral("1 - Gloire"));
    EXPECT_EQ(h->Lbl_Nbr_cantique->text(), QStringLiteral("1 / 2"));
    EXPECT_EQ(h->Label9->text(), QStringLiteral("1 - Gloire"));
    EXPECT_EQ(h->words().plainText(), QStringLiteral("Gloire au Père"));
    EXPECT_TRUE(h->Text_info->toPlainText().startsWith(QStringLiteral("AIR OF : Tune\nTONALITY : C")));
    EXPECT_EQ(state.CurrentHymnEntry, QString::fromUtf8(hymnEntry("1 - Gloire", "Louange", "Noël", "Alpha")));
    EXPECT_TRUE(player.source().endsWith(QStringLiteral("musique/1.mp3")));
    EXPECT_EQ(player.calls.last(), QStringLiteral("stop"));
    EXPECT_FALSE(h->Image_Musique->isHidden());
    EXPECT_TRUE(h->Label16->isHidden());
    EXPECT_TRUE(h->HymnBooksLoaded() && h->ThemesLoaded() && h->SubThemesLoaded() && h->HymnListLoaded());

    HymnSelection::select(h->ComboBox_Chant, 1);  // no music, no words
    EXPECT_EQ(h->words().plainText(), QStringLiteral("A SAISIR"));
    EXPECT_EQ(player.source(), QString());
    EXPECT_TRUE(h->Image_Musique->isHidden());
    EXPECT_EQ(h->Lbl_Nbr_cantique->text(), QStringLiteral("2 / 2"));
}

TEST_F(HymnSelectionUi, pickingTheSameBookAgain_showsFirstHymnOfFirstTheme) {
    auto h = make();
    h->startUp();
    HymnSelection::select(h->ComboBox_theme1, 1);
    HymnSelection::select(h->ComboBox_theme2, 1);
    ASSERT_EQ(text(h->ComboBox_Chant), QStringLiteral("4 - Repos"));
    h->ComboBox_Receuil->showPopup();
    emit h->ComboBox_Receuil->activated(h->ComboBox_Receuil->currentIndex());
    h->ComboBox_Receuil->hidePopup();
    EXPECT_EQ(text(h->ComboBox_theme1), QStringLiteral("Louange"));
    EXPECT_EQ(text(h->ComboBox_Chant), QStringLiteral("1 - Gloire"));
    EXPECT_EQ(state.CurrentHymnEntry, h->ComboBox_Info_chant().at(0));
}

TEST_F(HymnSelectionUi, searchHitInAnotherBook_switchesBookAndRebuildsLists_playerStopped) {
    auto h = make();
    h->startUp();
    player.calls.clear();
    h->Cantique_achercher->setText(QStringLiteral("bach"));
    h->Cmd_cherche_cantique->click();
    EXPECT_TRUE(h->HymnSearchReady());
    EXPECT_EQ(h->ComboBox_cantique_trouve->count(), 2);
    EXPECT_EQ(h->Lbl_Nbr_cantique_trouve->text(), QStringLiteral("1 / 2"));
    EXPECT_EQ(text(h->ComboBox_Receuil), QStringLiteral("Beta"));
    EXPECT_EQ(h->ComboBox_theme1->count(), 2);
    EXPECT_EQ(text(h->ComboBox_theme1), QStringLiteral("Matin"));
    EXPECT_EQ(text(h->ComboBox_Chant), QStringLiteral("7 - Aube"));
    EXPECT_EQ(player.calls.last(), QStringLiteral("stop"));

    HymnSelection::select(h->ComboBox_cantique_trouve, 1);  // other theme, same book
    EXPECT_EQ(text(h->ComboBox_theme1), QStringLiteral("Jour"));
    EXPECT_EQ(text(h->ComboBox_Chant), QStringLiteral("8 - Midi"));
    EXPECT_EQ(h->Lbl_Nbr_cantique_trouve->text(), QStringLiteral("2 / 2"));
}

TEST_F(HymnSelectionUi, searchWithoutHits_saysNothing_andLeavesTheHymnAlone) {
    auto h = make();
    h->startUp();
    player.calls.clear();
    h->Cantique_achercher->setText(QStringLiteral("zzz"));
    h->searchHymns();
    EXPECT_FALSE(h->HymnSearchReady());
    EXPECT_EQ(text(h->ComboBox_cantique_trouve), QStringLiteral("N O T H I N G"));
    EXPECT_EQ(h->Lbl_Nbr_cantique_trouve->text(), QString());
    EXPECT_EQ(text(h->ComboBox_Chant), QStringLiteral("1 - Gloire"));
    EXPECT_TRUE(player.calls.isEmpty());
    h->Cantique_achercher->setText(QString());  // matches everything and clears "N O T H I N G"
    h->searchHymns();
    EXPECT_EQ(h->ComboBox_cantique_trouve->count(), 6);
}

TEST_F(HymnSelectionUi, playlistEntry_ofAnUnlistedBook_showsQuestionMarks) {
    auto h = make();
    h->startUp();
    h->ShowPlaylistHymn(QString::fromUtf8(hymnEntry("3 - Paix", "Prière", "Soir", "Alpha")));
    EXPECT_EQ(text(h->ComboBox_Chant), QStringLiteral("3 - Paix"));
    h->ShowPlaylistHymn(QString::fromUtf8(hymnEntry("1 - X", "T", "S", "Gone")));
    EXPECT_EQ(h->words().plainText(), QStringLiteral("??????"));
}

TEST_F(HymnSelectionUi, missingCantiquesFolder_showsLabel16) {
    HymnData empty;
    state.DataPath = empty.path();
    auto h = make();
    h->startUp();
    EXPECT_FALSE(h->Label16->isHidden());
    EXPECT_TRUE(h->Text_Cantique->isHidden());
    EXPECT_EQ(h->words().plainText(), QStringLiteral("FOLDER \"Cantiques\" NOT FOND"));
    EXPECT_EQ(h->ComboBox_Receuil->count(), 0);
}

TEST_F(HymnSelectionUi, cantiquesHoldingOnlyTheFavouriteFolder_countsAsMissing) {
    HymnData fav;
    QDir().mkpath(fav.file(QStringLiteral("Cantiques/Favori")));
    state.DataPath = fav.path();
    auto h = make();
    h->startUp();
    EXPECT_FALSE(h->Label16->isHidden());
}

TEST_F(HymnSelectionUi, mouseOverBorder_setOnEnter_removedByThePageMouseMove) {
    auto h = make();
    QEnterEvent enter(QPointF(1, 1), QPointF(1, 1), QPointF(1, 1));
    QApplication::sendEvent(h->ComboBox_theme1, &enter);
    EXPECT_FALSE(h->ComboBox_theme1->styleSheet().isEmpty());
    QMouseEvent move(QEvent::MouseMove, QPointF(2, 2), QPointF(2, 2), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(&page, &move);
    EXPECT_TRUE(h->ComboBox_theme1->styleSheet().isEmpty());
}

TEST_F(HymnSelectionUi, wordsSelection_isMirroredOnlyWhileTheCloneShowsTheHymn) {
    auto h = make();
    h->startUp();
    int mirrored = 0;
    QObject::connect(h.get(), &HymnSelection::hymnSelectionChanged, [&](int, int length) { mirrored = length; });
    h->words().select(0, 6);
    EXPECT_EQ(mirrored, 0);
    state.CloneShowsHymn = true;
    h->words().select(1, 4);
    EXPECT_EQ(mirrored, 4);
}

} // namespace

// --- in the main window

#include "support/mainwindow.h"

namespace {

TEST(HymnMainWindow, loadRunsTheHymnStartUp_onTheCanticleTab) {
    MainWindowHarness h;
    writeFixtureVersion(h.data.path(), "AAA", fixtureBooks(3, 5));
    writeBytes(h.data.path() + "/Bible/Version.txt", "AAA - First\r\n");
    writeBytes(h.data.path() + "/Cantiques/Alpha/Hira.txt", crlfLines({hymnEntry("1 - Gloire", "Louange", "Noël", "Alpha")}));
    ASSERT_TRUE(h.open());
    HymnSelection* hymns = h.window->hymnSelection;
    ASSERT_NE(hymns, nullptr);
    EXPECT_TRUE(h.window->canticlePage->isAncestorOf(hymns->ComboBox_Chant));
    EXPECT_EQ(hymns->ComboBox_Chant->currentText(), QStringLiteral("1 - Gloire"));
    EXPECT_TRUE(hymns->Label16->isHidden());
}

TEST(HymnMainWindow, mouseMoveOverTheTabControl_removesTheListBorders) {
    MainWindowHarness h;
    writeFixtureVersion(h.data.path(), "AAA", fixtureBooks(3, 5));
    writeBytes(h.data.path() + "/Bible/Version.txt", "AAA - First\r\n");
    ASSERT_TRUE(h.open());
    HymnSelection* hymns = h.window->hymnSelection;
    QEnterEvent enter(QPointF(1, 1), QPointF(1, 1), QPointF(1, 1));
    QApplication::sendEvent(hymns->ComboBox_Receuil, &enter);
    ASSERT_FALSE(hymns->ComboBox_Receuil->styleSheet().isEmpty());
    QMouseEvent move(QEvent::MouseMove, QPointF(2, 2), QPointF(2, 2), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(h.window->SSTab_LMR, &move);
    EXPECT_TRUE(hymns->ComboBox_Receuil->styleSheet().isEmpty());
}

TEST(HymnMainWindow, withoutCantiques_theTabShowsLabel16) {
    MainWindowHarness h;
    writeFixtureVersion(h.data.path(), "AAA", fixtureBooks(3, 5));
    writeBytes(h.data.path() + "/Bible/Version.txt", "AAA - First\r\n");
    ASSERT_TRUE(h.open());
    EXPECT_FALSE(h.window->hymnSelection->Label16->isHidden());
}

} // namespace

TEST_F(HymnSelectionUi, rtfWordsKeepTheirFormattingAndAlignment) {
    writeBytes(d.bookFile(QStringLiteral("Alpha"), QStringLiteral("parole/2 - Joie.rtf")),
               "{\\rtf1\\ansi\\ansicpg1252{\\fonttbl{\\f0 Arial;}}\\pard\\qc\\f0\\fs28 {\\b Joie} du c\\'9cur\\par}");
    auto h = make();
    h->startUp();
    HymnSelection::select(h->ComboBox_Chant, 1);
    EXPECT_EQ(h->Text_Cantique->toPlainText(), QStringLiteral("Joie du c\u0153ur"));
    QTextCursor c(h->Text_Cantique->document());
    c.setPosition(1);
    EXPECT_EQ(c.charFormat().fontWeight(), QFont::Bold);
    EXPECT_EQ(c.blockFormat().alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
    c.setPosition(7);
    EXPECT_NE(c.charFormat().fontWeight(), QFont::Bold);
}
