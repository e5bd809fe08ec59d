// The chapter player and the verse following in the main window, with a fake player.

#include "bible/ui/bibleplayer.h"
#include "bible/ui/versefollower.h"
#include "platform/playerpictures.h"
#include "support/clicks.h"
#include "support/mainwindow.h"
#include "support/wait.h"

Q_GUI_EXPORT bool qt_sendShortcutOverrideEvent(QObject* o, ulong timestamp, int k, Qt::KeyboardModifiers mods,
                                               const QString& text = QString(), bool autorep = false,
                                               ushort count = 1);

using namespace lumora;
using namespace lumora::testing;

namespace {

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
    void stepAt(double seconds, int times = 1) {
        player->clock = seconds;
        for (int i = 0; i < times; ++i)
            follower().step();
    }

    MainWindowHarness h;
    FakeMediaPlayer* player = nullptr;
};

} // namespace

// start-up and the path of a chapter's recording
TEST_F(BiblePlayerUi, startUpPlaysTheDefaultPassageFromItsFirstMark_andChoosingAVerseFromItsMark) {
    EXPECT_TRUE(player->source().endsWith("/Sound/Bk05.mp3")) << player->source().toStdString();
    EXPECT_EQ(lastSeek(), "180");
    EXPECT_EQ(player->statusText(), "Playing");
    EXPECT_EQ(player->position(), 180);
    EXPECT_EQ(bp().StartMark(), "180,00000");
    EXPECT_EQ(picture("ImagePlayPause"), playback::kPicturePause);
    EXPECT_TRUE(button("Image_Lecture")->isEnabled());
    EXPECT_EQ(h.find<QLabel>("Lbl_Position")->text(), "180,00000");

    // a fault of the landed end-verse handler: the recording was let go and never started again
    player->calls.clear();
    h.select(h.list("List_verset"), 1); // verses 2 to 30
    EXPECT_TRUE(player->calls.contains("close"));
    EXPECT_TRUE(player->source().endsWith("/Sound/Bk05.mp3"));
    EXPECT_EQ(lastSeek(), "20");
    EXPECT_EQ(player->calls.last(), "play");
    EXPECT_EQ(player->position(), 20);
    EXPECT_EQ(picture("ImagePlayPause"), playback::kPicturePause);
}

// following
TEST_F(BiblePlayerUi, followingSelectsTheVerseBeingHeard_aLeftClickBringsItBack_andStopsAfterThePassage) {
    stepAt(185);
    EXPECT_EQ(selectedText(), "5.18");
    stepAt(195);
    EXPECT_EQ(selectedText(), "5.19");
    leftClick(h.find<QTextEdit>("Text_Passage")->viewport());
    EXPECT_EQ(selectedText(), "5.19") << "the click stepped one mark back and followed again";
    EXPECT_FALSE(h.find<QCheckBox>("Check_repere")->isChecked());
    stepAt(205);
    EXPECT_EQ(selectedText(), "5.20");
    // The passage 18-20 ends before the chapter: once its marks (and the next verse's) are passed,
    // the recording stops and the buttons go back to play.
    player->clock = 215;
    for (int i = 0; i < 4 && player->statusText() == "Playing"; ++i)
        follower().step();
    EXPECT_EQ(player->statusText(), "Stopped");
    EXPECT_EQ(picture("ImagePlayPause"), playback::kPicturePlay);
    EXPECT_FALSE(button("ImageStop")->isEnabled());
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
    EXPECT_EQ(picture("ImagePlayPause"), playback::kPicturePlay) << "not pause over a stopped player";
}

// waits that process events
TEST_F(BiblePlayerUi, windowClosedDuringTheHoldsLeavesNothingToRun) {
    stepAt(185);
    ASSERT_TRUE(follower().isHolding()) << "the short pause after a mark";
    button("ImageContinuer")->click();
    player->endOfMedia();
    ASSERT_TRUE(bp().isHolding());
    h.window.reset();
    pump(150); // the short pause would have ended by now
    SUCCEED();
}

// Mute stops the reading and blocks play until the sound is back. It is remembered: the chapter
// shown at the start was read aloud at full level at every start, also on a projector computer
// that had been muted.
TEST_F(BiblePlayerUi, muteStopsAndBlocksPlay_isRemembered_theNextStartIsSilent_aMutedStartOnRequestIsNot) {
    button("ImageMute")->click();
    EXPECT_EQ(player->statusText(), "Stopped");
    EXPECT_EQ(picture("ImageMute"), playback::kPictureSoundOff);
    EXPECT_FALSE(h.find<QCheckBox>("Check_repere")->isEnabled());
    EXPECT_EQ(readBytes(h.where().settingsFile), "BibleAudioMuted=1\r\n");
    player->calls.clear();
    button("ImagePlayPause")->click();
    h.select(h.list("List_verset"), 3);
    EXPECT_FALSE(player->calls.contains("play"));

    h.window.reset();
    ASSERT_TRUE(h.open());
    player = h.players.at(h.players.size() - 2);
    EXPECT_EQ(picture("ImageMute"), playback::kPictureSoundOff);
    EXPECT_TRUE(bp().isBibleAudioMuted());
    EXPECT_FALSE(player->calls.contains("play")) << player->calls.join(',').toStdString();
    EXPECT_NE(player->statusText(), "Playing");

    button("ImageMute")->click();
    EXPECT_EQ(picture("ImageMute"), playback::kPictureSoundOn);
    EXPECT_TRUE(h.find<QCheckBox>("Check_repere")->isEnabled());
    EXPECT_EQ(readBytes(h.where().settingsFile), "BibleAudioMuted=0\r\n");
    button("ImagePlayPause")->click();
    EXPECT_EQ(player->statusText(), "Playing");

    // started muted on request, without remembering it
    h.window.reset();
    h.window = std::make_unique<app::FrmLumora>(h.platform, h.where());
    h.window->setStartsMuted(true);
    ASSERT_TRUE(h.window->load());
    player = h.players.at(h.players.size() - 2);
    EXPECT_TRUE(bp().isBibleAudioMuted());
    EXPECT_FALSE(player->calls.contains("play"));
    EXPECT_EQ(readBytes(h.where().settingsFile), "BibleAudioMuted=0\r\n");
}

// A version without recordings leaves play and stop unusable. Keys ran them anyway: on a chapter
// without a recording the picture turned to "pause" and stop became usable, though nothing played.
TEST_F(BiblePlayerUi, versionWithoutRecordingsLeavesPlayAndStopUnusable_andKeysDoNothing) {
    h.window->show();
    QApplication::setActiveWindow(h.window.get());
    h.select(h.combo("List_version"), 1);
    ASSERT_FALSE(button("ImagePlayPause")->isEnabled());
    EXPECT_FALSE(button("ImageStop")->isEnabled());
    EXPECT_FALSE(button("Image_Lecture")->isEnabled());
    EXPECT_TRUE(player->source().isEmpty());
    h.find<QTextEdit>("Text_Passage")->setFocus();
    player->calls.clear();
    for (const auto& [key, mods] :
         {std::pair{Qt::Key_Space, Qt::ControlModifier},
          std::pair{Qt::Key_MediaTogglePlayPause, Qt::NoModifier},
          std::pair{Qt::Key_MediaPlay, Qt::NoModifier}, std::pair{Qt::Key_Period, Qt::ControlModifier}})
        qt_sendShortcutOverrideEvent(QApplication::focusWidget(), 0, key, mods);
    EXPECT_EQ(picture("ImagePlayPause"), playback::kPicturePlay);
    EXPECT_FALSE(button("ImageStop")->isEnabled());
    EXPECT_FALSE(player->calls.contains("play"));
    bp().playPause(); // a remote click is a click
    EXPECT_EQ(picture("ImagePlayPause"), playback::kPicturePlay);
}

// a chapter recording that cannot be played showed "playing" in silence, its highlight stuck
TEST_F(BiblePlayerUi, failure_stopsShowsPlayAndTellsOnce_thenPlayReloads_continuousGoesOn) {
    button("ImageRepeat")->click();
    player->fail("Could not decode stream.");
    EXPECT_EQ(picture("ImagePlayPause"), playback::kPicturePlay);
    EXPECT_EQ(picture("ImageRepeat"), playback::kPictureRepeatOff) << "no replay of a broken recording";
    EXPECT_FALSE(button("ImageStop")->isEnabled());
    QCoreApplication::processEvents(); // the box is shown once the handler has ended
    ASSERT_EQ(h.prompts.asked.size(), 1u);
    EXPECT_TRUE(h.prompts.asked[0].text.contains("Bk05.mp3"));
    EXPECT_TRUE(h.prompts.asked[0].text.contains("Could not decode stream."));

    player->calls.clear();
    button("ImagePlayPause")->click();
    EXPECT_TRUE(player->calls.contains("source:" + player->source())) << "the recording is read anew";
    EXPECT_EQ(player->statusText(), "Playing");

    // in continuous play a failure goes on with the next chapter
    button("ImageContinuer")->click();
    h.nav().jumpTo({0, 39, 3, 0, 29}); // 4:1-30, the whole chapter
    player->fail();
    EXPECT_EQ(h.current(h.list("List_chapitre")), "5");
    EXPECT_EQ(player->statusText(), "Playing");
    EXPECT_EQ(picture("ImageContinuer"), playback::kPictureContinuousOn);
}

// partly marked chapters: the verse after the passage has no mark (the rule of which verse ends a
// passage is the core's; here the player follows it)
TEST_F(BiblePlayerUi, passageBeforeAnUnmarkedVerse_playsOnToTheNextMarkedOne) {
    FixtureOptions opt;
    opt.mark = [](int b, int, int v) {
        return b != 40 || v == 21 ? QByteArray("0") : QByteArray::number(10 * v) + ",00000";
    };
    std::vector<FixtureBook> books = fixtureBooks(6, 25);
    books[39].verses = [](int) { return 30; };
    writeFixtureVersion(h.data.path(), "AAA", books, opt);
    h.nav().jumpTo({0, 39, 4, 17, 2}); // 5:18-20; verse 21 has no mark, verse 22 starts at 220 s
    ASSERT_EQ(lastSeek(), "180");
    stepAt(215, 6); // verse 20 is being read
    EXPECT_EQ(player->statusText(), "Playing") << "the last verse was cut as soon as it began";
    stepAt(221, 3);
    EXPECT_EQ(player->statusText(), "Stopped");
}
