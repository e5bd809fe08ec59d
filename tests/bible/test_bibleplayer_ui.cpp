// The chapter player and the verse following in the main window, with a fake player.

#include "bible/ui/bibleplayer.h"
#include "bible/ui/versefollower.h"
#include "platform/playerpictures.h"
#include "support/mainwindow.h"

#include <QApplication>
#include <QCheckBox>
#include <QEventLoop>
#include <QLabel>
#include <QMouseEvent>
#include <QTextEdit>
#include <QTimer>
#include <QToolButton>

using namespace lumora;
using namespace lumora::testing;

namespace {

void wait(int ms) {
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

void leftClick(QWidget* w) {
    for (const QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
        QMouseEvent e(type, QPointF(5, 5), QPointF(5, 5), Qt::LeftButton,
                      type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(w, &e);
    }
}

// Book 40 has 6 chapters of 30 verses; verse v of any chapter starts at 10 v seconds; every chapter
// of book 40 has a recording, the other books none.
class BiblePlayerUi : public ::testing::Test {
  protected:
    void SetUp() override {
        writeRecordedVersion(h.data.path());
        writeFixtureVersion(h.data.path(), "BBB", fixtureBooks(6, 25));
        writeBytes(h.data.path() + "/Bible/Version.txt", "AAA - First\r\nBBB - Second\r\n");
        ASSERT_TRUE(h.open());
        ASSERT_FALSE(h.players.empty());
        player = h.players.front(); // WindowsMediaPlayer1
    }
    QToolButton* button(const char* name) { return h.find<QToolButton>(name); }
    int picture(const char* name) { return platform::shownPlayerPicture(button(name)); }
    bible::BiblePlayer& bp() { return *h.find<bible::BiblePlayer>("biblePlayer"); }
    bible::VerseFollower& follower() { return *h.find<bible::VerseFollower>("follower"); }
    QString lastSeek() const {
        for (auto it = player->calls.crbegin(); it != player->calls.crend(); ++it)
            if (it->startsWith("seek:")) return it->mid(5);
        return {};
    }
    QString selectedText() { return h.view().passageBox().selectedText(); }

    MainWindowHarness h;
    FakeMediaPlayer* player = nullptr;
};

} // namespace

// start-up and the path of a chapter's recording
TEST_F(BiblePlayerUi, startUpPlaysTheDefaultPassageFromItsFirstMark) {
    EXPECT_TRUE(player->source().endsWith("/Sound/Bk05.mp3")) << player->source().toStdString();
    EXPECT_EQ(lastSeek(), "180");
    EXPECT_EQ(player->statusText(), "Playing");
    EXPECT_EQ(player->position(), 180);
    EXPECT_EQ(bp().StartMark(), "180,00000");
    EXPECT_EQ(picture("ImagePlayPause"), playback::kPicturePause);
    EXPECT_TRUE(button("Image_Lecture")->isEnabled());
    EXPECT_EQ(h.find<QLabel>("Lbl_Position")->text(), "180,00000");
}

// a fault of the landed end-verse handler: the recording was let go and never started again
TEST_F(BiblePlayerUi, choosingAVerseLoadsTheRecordingSeeksToItsMarkAndPlays) {
    player->calls.clear();
    h.select(h.list("List_verset"), 1); // verses 2 to 30
    EXPECT_TRUE(player->calls.contains("close"));
    EXPECT_TRUE(player->source().endsWith("/Sound/Bk05.mp3"));
    EXPECT_EQ(lastSeek(), "20");
    EXPECT_EQ(player->calls.last(), "play");
    EXPECT_EQ(player->position(), 20);
    EXPECT_EQ(picture("ImagePlayPause"), playback::kPicturePause);
}

TEST_F(BiblePlayerUi, versionWithoutRecordingsLeavesPlayAndStopUnusable) {
    h.select(h.combo("List_version"), 1);
    EXPECT_FALSE(button("ImagePlayPause")->isEnabled());
    EXPECT_FALSE(button("ImageStop")->isEnabled());
    EXPECT_FALSE(button("Image_Lecture")->isEnabled());
    EXPECT_TRUE(player->source().isEmpty());
}

// following
TEST_F(BiblePlayerUi, followingSelectsTheVerseBeingHeardAndStopsAfterAPassageThatEndsEarly) {
    player->clock = 185;
    follower().step();
    EXPECT_EQ(selectedText(), "5.18");
    player->clock = 195;
    follower().step();
    EXPECT_EQ(selectedText(), "5.19");
    // The passage 18-20 ends before the chapter: once its marks (and the next verse's) are passed,
    // the recording stops and the buttons go back to play.
    player->clock = 215;
    for (int i = 0; i < 4 && player->statusText() == "Playing"; ++i)
        follower().step();
    EXPECT_EQ(player->statusText(), "Stopped");
    EXPECT_EQ(picture("ImagePlayPause"), playback::kPicturePlay);
    EXPECT_FALSE(button("ImageStop")->isEnabled());
}

TEST_F(BiblePlayerUi, leftClickBringsTheVerseBeingHeardBackToTheTop) {
    player->clock = 185;
    follower().step();
    player->clock = 195;
    follower().step(); // two marks reached
    auto* box = h.find<QTextEdit>("Text_Passage");
    leftClick(box->viewport());
    EXPECT_EQ(selectedText(), "5.19") << "the click stepped one mark back and followed again";
    EXPECT_FALSE(h.find<QCheckBox>("Check_repere")->isChecked());
}

// the buttons
TEST_F(BiblePlayerUi, repeatReplaysFromTheFirstMark_stopClearsTheModes_andPlayRestartsThere) {
    button("ImageRepeat")->click();
    player->clock = 400;
    player->endOfMedia();
    EXPECT_EQ(lastSeek(), "180");
    EXPECT_EQ(player->statusText(), "Playing");
    button("ImageStop")->click();
    EXPECT_EQ(player->statusText(), "Stopped");
    EXPECT_EQ(picture("ImageRepeat"), playback::kPictureRepeatOff);
    player->calls.clear(); // the seek of the repeat is not the one looked for
    player->clock = 300;
    button("ImagePlayPause")->click();
    EXPECT_EQ(lastSeek(), "180");
    EXPECT_EQ(player->statusText(), "Playing");
    EXPECT_EQ(picture("ImagePlayPause"), playback::kPicturePause);
}

TEST_F(BiblePlayerUi, continuousGoesOnWithTheRestOfTheChapterThenTheNextChapter) {
    h.nav().jumpTo({0, 39, 4, 0, 9}); // 5:1-10 of 30 verses
    ASSERT_EQ(h.current(h.list("List_verset_limite")), "10");
    button("ImageContinuer")->click();
    player->endOfMedia();
    EXPECT_EQ(h.current(h.list("List_verset")), "11");
    EXPECT_EQ(h.current(h.list("List_verset_limite")), "30");
    EXPECT_EQ(lastSeek(), "110");
    EXPECT_EQ(player->statusText(), "Playing");
    EXPECT_TRUE(bp().isHolding());
    player->endOfMedia();
    EXPECT_EQ(h.current(h.list("List_chapitre")), "6");
    EXPECT_EQ(h.current(h.list("List_verset")), "1");
    EXPECT_TRUE(player->source().endsWith("/Sound/Bk06.mp3"));
    EXPECT_EQ(lastSeek(), "10");
    EXPECT_EQ(picture("ImageContinuer"), playback::kPictureContinuousOn) << "the mode survives the passages";
    player->endOfMedia(); // the book's last chapter: playback stays stopped
    EXPECT_EQ(h.current(h.list("List_chapitre")), "6");
    EXPECT_EQ(player->statusText(), "Stopped");
}

TEST_F(BiblePlayerUi, muteStopsAndBlocksPlay_untilTheSoundIsBack) {
    button("ImageMute")->click();
    EXPECT_EQ(player->statusText(), "Stopped");
    EXPECT_EQ(picture("ImageMute"), playback::kPictureSoundOff);
    EXPECT_FALSE(h.find<QCheckBox>("Check_repere")->isEnabled());
    player->calls.clear();
    button("ImagePlayPause")->click();
    h.select(h.list("List_verset"), 3);
    EXPECT_FALSE(player->calls.contains("play"));
    button("ImageMute")->click();
    EXPECT_EQ(picture("ImageMute"), playback::kPictureSoundOn);
    EXPECT_TRUE(h.find<QCheckBox>("Check_repere")->isEnabled());
    button("ImagePlayPause")->click();
    EXPECT_EQ(player->statusText(), "Playing");
}

// waits that process events
TEST_F(BiblePlayerUi, windowClosedDuringTheHoldsLeavesNothingToRun) {
    player->clock = 185;
    follower().step();
    ASSERT_TRUE(follower().isHolding()) << "the short pause after a mark";
    button("ImageContinuer")->click();
    player->endOfMedia();
    ASSERT_TRUE(bp().isHolding());
    h.window.reset();
    wait(150); // the short pause would have ended by now
    SUCCEED();
}
