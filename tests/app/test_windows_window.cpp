// The clone window, the width labels and the font dialog in the main window.

#include "bible/ui/bibleplayer.h"
#include "bible/ui/versefollower.h"
#include "hymns/hymnfixture.h"
#include "hymns/ui/hymnplayer.h"
#include "platform/backdropbox.h"
#include "support/clicks.h"
#include "support/mainwindow.h"
#include "windows/ui/clonewindow.h"

#include <QAbstractButton>
#include <QImage>

namespace lumora::testing {
namespace {

QTextCharFormat formatAt(QTextEdit* edit, int pos) {
    QTextCursor c(edit->document());
    c.setPosition(pos + 1);
    return c.charFormat();
}
// The font a character is drawn with: its own format over the box's font.
QFont fontAt(QTextEdit* edit, int pos) {
    return formatAt(edit, pos).font().resolve(edit->document()->defaultFont());
}

// Book 40 has 6 chapters of 30 verses, verse v starting at 10 v seconds, each chapter recorded;
// one hymn book with two hymns, the first with music.
class WindowsInMainWindow : public ::testing::Test {
  protected:
    void SetUp() override {
        writeRecordedVersion(h.data.path());
        writeBytes(h.data.path() + "/Bible/Version.txt", "AAA - First\r\n");
        writeBytes(h.data.path() + "/Cantiques/Alpha/Hira.txt",
                   crlfLines({hymnEntry("1 - Gloire", "Louange", "Noël", "Alpha"),
                              hymnEntry("2 - Joie", "Louange", "Noël", "Alpha")}));
        writeBytes(h.data.path() + "/Cantiques/Alpha/parole/1.txt", "Gloire au Père\r\nEt au Fils\r\n");
        writeBytes(h.data.path() + "/Cantiques/Alpha/musique/1.mp3", "x");
        ASSERT_TRUE(h.open());
        player = h.players.front();
    }
    QLabel* label(const char* name) { return h.find<QLabel>(name); }
    windows::CloneWindow& clone() { return *h.find<windows::CloneWindow>("cloneWindow"); }
    QTextEdit* cloneBox() { return clone().window()->textPassage(); }
    QTextEdit* passage() { return h.view().passageBox().edit(); }
    QTextEdit* words() { return h.hymns().words().edit(); }
    void showTab(int tab) { h.find<QTabWidget>("SSTab_LMR")->setCurrentIndex(tab); }
    QWidget* police() { return h.window->findChild<QWidget*>("FrmPolice"); }
    QLabel* policeLabel(const char* name) { return police()->findChild<QLabel*>(QString::fromLatin1(name)); }
    // The following's timer ticks once at this position of the recording.
    void hear(double seconds) {
        player->clock = seconds;
        h.find<bible::VerseFollower>("follower")->step();
    }
    QString picture(const QColor& colour) {
        QImage image(8, 8, QImage::Format_RGB32);
        image.fill(colour);
        const QString path = h.data.path() + "/back.bmp";
        EXPECT_TRUE(image.save(path, "BMP"));
        return path;
    }

    MainWindowHarness h;
    FakeMediaPlayer* player = nullptr;
};

} // namespace

// the clone window
TEST_F(WindowsInMainWindow, clonedPassageFollowsTheVerseHeardUntilTheHymnIsCloned) {
    leftClick(label("Label12"));
    ASSERT_TRUE(clone().window());
    EXPECT_EQ(cloneBox()->toPlainText(), passage()->toPlainText());
    EXPECT_EQ(label("Label18")->text(), "CLONE : ");
    EXPECT_EQ(label("Lbl_InScreen")->text(), label("Labe16")->text());
    EXPECT_EQ(clone().window()->windowTitle(), label("Labe16")->text());
    hear(185);
    EXPECT_EQ(cloneBox()->textCursor().selectedText(), "5.18");

    showTab(1);
    leftClick(label("Label13"));
    EXPECT_EQ(cloneBox()->toPlainText(), words()->toPlainText());
    EXPECT_EQ(label("Label18")->text(), "CLONE: ");
    EXPECT_EQ(label("Lbl_InScreen")->text(), "1 - Gloire");
    hear(195);
    EXPECT_EQ(h.view().passageBox().selectedText(), "5.19") << "the main passage still follows";
    EXPECT_EQ(cloneBox()->textCursor().selectedText(), "") << "the clone does not";

    // Continuous play of the Bible fills it with the passage again.
    emit h.find<bible::BiblePlayer>("biblePlayer")->cloneFollowWanted();
    EXPECT_TRUE(clone().CloneShowsBible());
    EXPECT_EQ(cloneBox()->toPlainText(), passage()->toPlainText());
}

TEST_F(WindowsInMainWindow, aNewPassageFollowedWhileTheCloneHoldsTheOldOneIsHighlightedByItsLabel) {
    // Fault: the clone got the follower's offsets into the new passage and highlighted mid-word in
    // the old text it still held.
    h.select(h.list("List_verset"), 0); // the whole chapter
    leftClick(label("Label12"));
    const QString held = cloneBox()->toPlainText();
    h.select(h.list("List_verset"), 9); // verses 10 to the end; the clone keeps its snapshot
    ASSERT_NE(passage()->toPlainText(), held);
    hear(105);
    ASSERT_EQ(h.view().passageBox().selectedText(), "5.10");
    EXPECT_EQ(cloneBox()->toPlainText(), held);
    EXPECT_EQ(cloneBox()->textCursor().selectedText(), "5.10");
    EXPECT_EQ(cloneBox()->textCursor().selectionStart(), held.indexOf("5.10   "));

    // a clone that does not hold the verse heard highlights nothing
    h.select(h.list("List_verset"), 9);
    leftClick(label("Label12"));
    h.select(h.list("List_verset"), 0);
    hear(15);
    ASSERT_EQ(h.view().passageBox().selectedText(), "5.1");
    EXPECT_EQ(cloneBox()->textCursor().selectedText(), "");
}

TEST_F(WindowsInMainWindow, cloneOfTheHymnTakesTheCanticleZoomNotTheBibleOne) {
    h.zoom().SetZoom(150); // Bible tab
    showTab(1);
    leftClick(label("Label13"));
    EXPECT_DOUBLE_EQ(clone().window()->box().zoomFactor(), 1.0);
    EXPECT_EQ(h.zoom().CanticleZoom(), 100) << "cloning leaves the hymn's zoom as it was";
    showTab(0);
    leftClick(label("Label12"));
    EXPECT_NEAR(clone().window()->box().zoomFactor(), 77.0 / 51.0, 1e-9);
}

// the width labels
TEST_F(WindowsInMainWindow, twoClicksOnLabel7GiveBackTheNarrowPassageWithItsLists) {
    QWidget* w = h.window.get();
    EXPECT_TRUE(h.list("List_chapitre")->isVisibleTo(w));
    leftClick(label("Label7"));
    EXPECT_EQ(label("Label7")->text(), "--><--");
    for (const char* list : {"List_chapitre", "List_verset", "List_verset_limite"})
        EXPECT_FALSE(h.list(list)->isVisibleTo(w)) << list;
    EXPECT_FALSE(h.list("List_livre")->isVisibleTo(w)) << "the passage covers its place";
    leftClick(label("Label7"));
    EXPECT_EQ(label("Label7")->text(), "<---->");
    for (const char* list : {"List_livre", "List_chapitre", "List_verset", "List_verset_limite"})
        EXPECT_TRUE(h.list(list)->isVisibleTo(w)) << list;
}

// Label9 sat in the left column, hidden with it in the wide layout: it heads the words,
// right-aligned with them, in both layouts; the wide one hides only the file icons and the details
// the words cover.
TEST_F(WindowsInMainWindow, wideHymnWordsHideTheFileIconsAndTheCaptureTools_narrowOnesShowThoseWithFiles) {
    showTab(1);
    QWidget* w = h.window.get();
    w->resize(1024, 768);
    w->show();
    QApplication::processEvents();
    const auto headsTheWords = [&] {
        QLabel* title = label("Label9");
        QWidget* words = h.find<QWidget>("Text_Cantique");
        const QRect t(title->mapTo(w, QPoint(0, 0)), title->size());
        const QRect box(words->mapTo(w, QPoint(0, 0)), words->size());
        EXPECT_TRUE(title->isVisibleTo(w));
        EXPECT_EQ(title->text(), "1 - Gloire");
        EXPECT_LE(t.bottom(), box.top()) << "above the words";
        EXPECT_NEAR(t.right(), box.right(), 2) << "ends at the words' right edge";
        EXPECT_TRUE(title->alignment() & Qt::AlignRight);
    };
    headsTheWords();
    EXPECT_TRUE(label("Image_Musique")->isVisibleTo(w));
    leftClick(label("Label14"));
    headsTheWords();
    EXPECT_EQ(label("Label14")->text(), "--><--");
    EXPECT_FALSE(label("Image_Musique")->isVisibleTo(w));
    EXPECT_FALSE(h.find<QTextEdit>("Text_info")->isVisibleTo(w));
    leftClick(label("Label14"));
    EXPECT_EQ(label("Label14")->text(), "<---->");
    EXPECT_TRUE(label("Image_Musique")->isVisibleTo(w));
    EXPECT_FALSE(label("Image_Diapo")->isVisibleTo(w)) << "the hymn has no slides";
    EXPECT_TRUE(h.find<QTextEdit>("Text_info")->isVisibleTo(w));

    // the capture tools are usable only when Capture is ticked with narrow words
    auto* capture = h.find<QAbstractButton>("Check_Shop");
    ASSERT_TRUE(capture);
    leftClick(label("Label14")); // wide
    capture->click();
    EXPECT_FALSE(h.find<QWidget>("Cmd_Go")->isEnabled()) << "wide words leave no room for the tools";
    EXPECT_FALSE(h.find<QWidget>("SpinPositionCapture")->isVisibleTo(w));
    capture->click();
    leftClick(label("Label14")); // narrow again
    capture->click();
    EXPECT_TRUE(h.find<QWidget>("Cmd_Go")->isEnabled());
    EXPECT_TRUE(h.find<QWidget>("SpinPositionCapture")->isVisibleTo(w));
}

// the font dialog
TEST_F(WindowsInMainWindow, boldTwiceOnTheBibleTabRestoresTheWeightAndPassageBold) {
    leftClick(label("Label15"));
    leftClick(policeLabel("Im_gras"));
    EXPECT_TRUE(h.view().startupStyle().PassageBold);
    EXPECT_TRUE(fontAt(passage(), 0).bold());
    // The next passage keeps the style.
    h.nav().jumpTo({0, 39, 1, 2, 1});
    EXPECT_TRUE(h.text().startsWith("2.3"));
    EXPECT_TRUE(fontAt(passage(), 0).bold());
    leftClick(policeLabel("Im_gras"));
    EXPECT_FALSE(h.view().startupStyle().PassageBold);
    EXPECT_FALSE(fontAt(passage(), 0).bold());
    EXPECT_FALSE(fontAt(passage(), 20).bold());
}

TEST_F(WindowsInMainWindow,
       backColourAfterAPictureClearsBibleBackgroundAndTheCloneShowsEach_closingClosesBoth) {
    leftClick(label("Label15"));
    h.dialogs.answers.push_back(picture(Qt::red));
    leftClick(policeLabel("Lbl_Arriere_plan"));
    EXPECT_TRUE(h.view().passageBox().isTransparent());
    EXPECT_FALSE(h.view().backdrop().picture().isNull());
    leftClick(label("Label12"));
    EXPECT_TRUE(clone().window()->box().isTransparent()) << "the picture shows through the clone";
    EXPECT_FALSE(clone().window()->backdrop().picture().isNull());

    sendMouse(policeLabel("Im_remplissage"), QEvent::MouseMove);
    leftClick(policeLabel("Couleur18")); // 255, 255, 192
    EXPECT_FALSE(h.view().passageBox().isTransparent());
    EXPECT_EQ(h.view().startupStyle().PassageBackColor, QColor(255, 255, 192));
    leftClick(label("Label12"));
    EXPECT_FALSE(clone().window()->box().isTransparent()) << "BibleBackground was cleared";
    EXPECT_EQ(cloneBox()->palette().color(QPalette::Base), QColor(255, 255, 192));

    // closing the main window closes the clone and the font dialog
    QPointer<QWidget> font = police();
    ASSERT_TRUE(font);
    h.window->close();
    EXPECT_FALSE(clone().window() && clone().window()->isVisible());
    EXPECT_TRUE(!font || !font->isVisible());
}

TEST_F(WindowsInMainWindow, onTheCanticleTabOnlyTheSelectionOfTheHymnChanges) {
    showTab(1);
    const platform::TextStyle style = h.view().startupStyle();
    leftClick(label("Label17"));
    h.hymns().words().select(0, 6); // "Gloire"
    leftClick(policeLabel("Im_gras"));
    sendMouse(policeLabel("Im_couleurText"), QEvent::MouseMove);
    leftClick(policeLabel("Couleur38"));
    EXPECT_EQ(formatAt(words(), 0).fontWeight(), QFont::Bold);
    EXPECT_EQ(formatAt(words(), 0).foreground().color(), QColor(0, 0, 255));
    EXPECT_NE(formatAt(words(), 10).fontWeight(), QFont::Bold);
    EXPECT_NE(formatAt(words(), 10).foreground().color(), QColor(0, 0, 255));
    EXPECT_EQ(h.view().startupStyle().PassageBold, style.PassageBold) << "nothing stored";
    EXPECT_EQ(h.view().startupStyle().PassageColor, style.PassageColor);
    EXPECT_FALSE(fontAt(passage(), 0).bold());
}

// Continuous play opened the always-on-top clone at every step, never cloned or closed, and on a
// projector it covered what was shown there.
TEST_F(WindowsInMainWindow, continuousPlay_followsWithAnOpenCloneOnly) {
    const auto cloneShown = [this] { return clone().window() && clone().window()->isVisible(); };
    auto* bibleContinuous = h.find<QAbstractButton>("ImageContinuer");
    bibleContinuous->click();
    player->endOfMedia();
    EXPECT_FALSE(cloneShown()) << "never cloned";

    leftClick(label("Label12"));
    ASSERT_TRUE(cloneShown());
    const QString before = cloneBox()->toPlainText();
    player->endOfMedia();
    EXPECT_TRUE(cloneShown());
    EXPECT_NE(cloneBox()->toPlainText(), before) << "an open clone follows the next passage";

    clone().window()->close();
    h.nav().jumpTo({0, 39, 4, 0, 9}); // 5:1-10, mid-chapter again
    player->endOfMedia();
    EXPECT_FALSE(cloneShown()) << "closed by the user";

    showTab(1);
    FakeMediaPlayer* hymnPlayer = h.players.at(1);
    auto* hymnButtons = h.find<hymns::HymnPlayer>("hymnPlayer");
    hymnButtons->toggleContinuous();
    hymnButtons->playPause();
    hymnPlayer->endOfMedia();
    EXPECT_FALSE(cloneShown()) << "nor does the hymn player open it";
}

} // namespace lumora::testing
