// The clone window, the width labels and the font dialog in the main window: the chains from the
// main window's parts to them (their rules are tested in tests/windows).

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

// The font a character is drawn with: its own format over the box's font.
QFont fontAt(QTextEdit* edit, int pos) {
    QTextCursor c(edit->document());
    c.setPosition(pos + 1);
    return c.charFormat().font().resolve(edit->document()->defaultFont());
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
    bool cloneShown() { return clone().window() && clone().window()->isVisible(); }
    QTextEdit* passage() { return h.view().passageBox().edit(); }
    void showTab(int tab) { h.find<QTabWidget>("SSTab_LMR")->setCurrentIndex(tab); }
    QLabel* policeLabel(const char* name) {
        return h.window->findChild<QWidget*>("FrmPolice")->findChild<QLabel*>(QString::fromLatin1(name));
    }
    // The following's timer ticks once at this position of the recording.
    void hear(double seconds) {
        player->clock = seconds;
        h.find<bible::VerseFollower>("follower")->step();
    }

    MainWindowHarness h;
    FakeMediaPlayer* player = nullptr;
};

} // namespace

// What CLONE takes from each tab: the text, the caption, the zoom, and the verse heard.
TEST_F(WindowsInMainWindow, cloneTakesEachTabsTextCaptionAndZoom_andFollowsTheVerseHeardInItsOwnText) {
    h.zoom().SetZoom(150); // Bible tab
    leftClick(label("Label12"));
    ASSERT_TRUE(cloneShown());
    EXPECT_EQ(cloneBox()->toPlainText(), passage()->toPlainText());
    EXPECT_EQ(clone().window()->windowTitle(), label("Labe16")->text());
    EXPECT_NEAR(clone().window()->box().zoomFactor(), 77.0 / 51.0, 1e-9);
    hear(185);
    EXPECT_EQ(cloneBox()->textCursor().selectedText(), "5.18");
    // A new passage followed while the clone holds the old one: the clone got the follower's
    // offsets into the new passage and highlighted mid-word in its own text.
    h.select(h.list("List_verset"), 0); // the whole chapter
    leftClick(label("Label12"));
    const QString held = cloneBox()->toPlainText();
    h.select(h.list("List_verset"), 9); // verses 10 to the end
    ASSERT_NE(passage()->toPlainText(), held);
    hear(105);
    ASSERT_EQ(h.view().passageBox().selectedText(), "5.10");
    EXPECT_EQ(cloneBox()->toPlainText(), held);
    EXPECT_EQ(cloneBox()->textCursor().selectedText(), "5.10");
    EXPECT_EQ(cloneBox()->textCursor().selectionStart(), held.indexOf("5.10   "));

    showTab(1);
    leftClick(label("Label13"));
    EXPECT_EQ(cloneBox()->toPlainText(), h.hymns().words().edit()->toPlainText());
    EXPECT_EQ(label("Lbl_InScreen")->text(), "1 - Gloire");
    EXPECT_DOUBLE_EQ(clone().window()->box().zoomFactor(), 1.0) << "the Canticle zoom, not the Bible one";
    EXPECT_EQ(h.zoom().CanticleZoom(), 100) << "cloning leaves the hymn's zoom as it was";
    // Continuous play of the Bible fills it with the passage again.
    emit h.find<bible::BiblePlayer>("biblePlayer")->cloneFollowWanted();
    EXPECT_TRUE(clone().CloneShowsBible());
    EXPECT_EQ(cloneBox()->toPlainText(), passage()->toPlainText());
}

// Continuous play opened the always-on-top clone at every step, never cloned or closed, and on a
// projector it covered what was shown there.
TEST_F(WindowsInMainWindow, continuousPlay_followsWithAnOpenCloneOnly) {
    h.find<QAbstractButton>("ImageContinuer")->click();
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
    auto* hymnButtons = h.find<hymns::HymnPlayer>("hymnPlayer");
    hymnButtons->toggleContinuous();
    hymnButtons->playPause();
    h.players.at(1)->endOfMedia();
    EXPECT_FALSE(cloneShown()) << "nor does the hymn player open it";
}

// The width labels: the wide passage hides the lists; the wide words hide the file icons, the
// details and the capture tools. Label9 sat in the left column, hidden with it in the wide
// layout: it heads the words, right-aligned with them, in both layouts.
TEST_F(WindowsInMainWindow, wideTextHidesWhatItCovers_andNarrowShowsItAgain) {
    QWidget* w = h.window.get();
    const char* lists[] = {"List_livre", "List_chapitre", "List_verset", "List_verset_limite"};
    leftClick(label("Label7"));
    for (const char* list : lists)
        EXPECT_FALSE(h.list(list)->isVisibleTo(w)) << list;
    leftClick(label("Label7"));
    for (const char* list : lists)
        EXPECT_TRUE(h.list(list)->isVisibleTo(w)) << list;

    showTab(1);
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
        EXPECT_LE(box.top() - (t.bottom() + 1), 12) << "the title sits on the words";
        EXPECT_NEAR(t.right(), box.right(), 2) << "ends at the words' right edge";
        EXPECT_TRUE(title->alignment() & Qt::AlignRight);
    };
    headsTheWords();
    EXPECT_TRUE(label("Image_Musique")->isVisibleTo(w));
    leftClick(label("Label14"));
    headsTheWords();
    EXPECT_FALSE(label("Image_Musique")->isVisibleTo(w));
    EXPECT_FALSE(h.find<QTextEdit>("Text_info")->isVisibleTo(w));
    // the capture tools are usable only when Capture is ticked with narrow words
    auto* capture = h.find<QAbstractButton>("Check_Shop");
    capture->click();
    EXPECT_FALSE(h.find<QWidget>("Cmd_Go")->isEnabled()) << "wide words leave no room for the tools";
    EXPECT_FALSE(h.find<QWidget>("SpinPositionCapture")->isVisibleTo(w));
    capture->click();
    leftClick(label("Label14"));
    EXPECT_TRUE(label("Image_Musique")->isVisibleTo(w));
    EXPECT_FALSE(label("Image_Diapo")->isVisibleTo(w)) << "the hymn has no slides";
    EXPECT_TRUE(h.find<QTextEdit>("Text_info")->isVisibleTo(w));
    capture->click();
    EXPECT_TRUE(h.find<QWidget>("Cmd_Go")->isEnabled());
    EXPECT_TRUE(h.find<QWidget>("SpinPositionCapture")->isVisibleTo(w));
    // a larger window, the details box at its normal height again
    capture->click();
    w->resize(1600, 1000);
    QApplication::processEvents();
    headsTheWords();
}

// The font dialog reaches the passage (and its next passages) and the clone on the Bible tab, only
// the hymn's selection on the Canticle tab; closing the main window closes both.
TEST_F(WindowsInMainWindow, fontDialogStylesThePassageTheNextOnesAndTheClone_onTheCanticleTabTheSelection) {
    leftClick(label("Label15"));
    leftClick(policeLabel("Im_gras"));
    EXPECT_TRUE(h.view().startupStyle().PassageBold);
    h.nav().jumpTo({0, 39, 1, 2, 1});
    EXPECT_TRUE(h.text().startsWith("2.3"));
    EXPECT_TRUE(fontAt(passage(), 0).bold()) << "the next passage keeps the style";
    leftClick(policeLabel("Im_gras"));

    QImage red(8, 8, QImage::Format_RGB32);
    red.fill(Qt::red);
    ASSERT_TRUE(red.save(h.data.path() + "/back.bmp", "BMP"));
    h.dialogs.answers.push_back(h.data.path() + "/back.bmp");
    leftClick(policeLabel("Lbl_Arriere_plan"));
    EXPECT_TRUE(h.view().passageBox().isTransparent());
    leftClick(label("Label12"));
    EXPECT_TRUE(clone().window()->box().isTransparent()) << "the picture shows through the clone";
    EXPECT_FALSE(clone().window()->backdrop().picture().isNull());
    sendMouse(policeLabel("Im_remplissage"), QEvent::MouseMove);
    leftClick(policeLabel("Couleur18")); // 255, 255, 192
    leftClick(label("Label12"));
    EXPECT_FALSE(clone().window()->box().isTransparent()) << "BibleBackground was cleared";
    EXPECT_EQ(cloneBox()->palette().color(QPalette::Base), QColor(255, 255, 192));

    showTab(1);
    const platform::TextStyle style = h.view().startupStyle();
    h.hymns().words().select(0, 6); // "Gloire"
    leftClick(policeLabel("Im_gras"));
    EXPECT_TRUE(fontAt(h.hymns().words().edit(), 0).bold());
    EXPECT_FALSE(fontAt(h.hymns().words().edit(), 10).bold());
    EXPECT_EQ(h.view().startupStyle().PassageBold, style.PassageBold) << "nothing stored";
    EXPECT_FALSE(fontAt(passage(), 0).bold());

    QPointer<QWidget> font = h.window->findChild<QWidget*>("FrmPolice");
    h.window->close();
    EXPECT_FALSE(cloneShown());
    EXPECT_TRUE(!font || !font->isVisible());
}

} // namespace lumora::testing
