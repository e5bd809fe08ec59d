// The hymn player's buttons and end-of-hymn handling, offscreen, with the fake player.

#include "hymns/ui/hymnplayer.h"

#include "platform/playerpictures.h"
#include "support/fakes.h"
#include "support/testdata.h"
#include "support/wait.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QToolButton>

Q_GUI_EXPORT bool qt_sendShortcutOverrideEvent(QObject* o, ulong timestamp, int k, Qt::KeyboardModifiers mods,
                                               const QString& text = QString(), bool autorep = false,
                                               ushort count = 1);

using namespace lumora;
using namespace lumora::testing;
using hymns::HymnPlayer;
using platform::shownPlayerPicture;

namespace {

class HymnPlayerUi : public ::testing::Test {
  protected:
    void SetUp() override {
        writeBytes(first, "x");
        writeBytes(second, "x");
        hymn = std::make_unique<HymnPlayer>(player, prompts);
        QObject::connect(hymn.get(), &HymnPlayer::nextHymnWanted, [this] {
            ++nextWanted;
            // What the lists do on the next row: the pick, then LoadHymnFiles.
            hymn->onPickStarted();
            hymn->onHymnLoaded(nextMusic);
        });
        QObject::connect(hymn.get(), &HymnPlayer::cloneFollowWanted, [this] { ++cloneFollows; });
        hymn->onHymnLoaded(first);
        player.calls.clear();
    }

    int picture(QToolButton* b) const { return shownPlayerPicture(b); }
    // Continuous play of the first hymn, to its end: the next hymn (`next`) is asked for and loaded.
    // The player's calls are then those of the end alone.
    void endInContinuous(const QString& next, int holdMs) {
        nextMusic = next;
        hymn->setHoldMilliseconds(holdMs);
        hymn->toggleContinuous();
        hymn->playPause();
        player.calls.clear();
        player.endOfMedia();
    }

    TempFolder dir;
    const QString first = dir.file("1 - Gloire.mp3"), second = dir.file("2 - Joie.wav");
    QString nextMusic;
    FakeMediaPlayer player;
    FakePrompts prompts;
    std::unique_ptr<HymnPlayer> hymn;
    int nextWanted = 0;
    int cloneFollows = 0;
};

// play, pause, stop and their pictures

TEST_F(HymnPlayerUi,
       loadedHymn_waitsStoppedForThePlayButton_missingMusicClearsTheSource_thenPlayPauseStopSoundOff) {
    HymnPlayer fresh(player, prompts);
    player.calls.clear();
    fresh.onHymnLoaded(first);
    EXPECT_EQ(player.calls, QStringList({"source:" + first, "stop"}));
    EXPECT_TRUE(player.isEnabled());
    EXPECT_EQ(picture(fresh.PlayPause_Cantique), playback::kPicturePlay);
    EXPECT_EQ(picture(fresh.Stop_Cantique), playback::kPictureStopActive);

    hymn->onHymnLoaded(dir.file("absent.mid"));
    EXPECT_EQ(player.source(), "");
    hymn->PlayPause_Cantique->click();
    EXPECT_EQ(picture(hymn->PlayPause_Cantique), playback::kPicturePlay);
    EXPECT_FALSE(player.calls.contains("play"));

    // play, pause, stop: pictures, tooltips and the player
    hymn->onHymnLoaded(first);
    hymn->PlayPause_Cantique->click();
    EXPECT_EQ(player.statusText(), "Playing");
    EXPECT_EQ(picture(hymn->PlayPause_Cantique), playback::kPicturePause);
    EXPECT_EQ(hymn->PlayPause_Cantique->toolTip(), "Pause");
    EXPECT_EQ(hymn->PlayPause_Cantique->accessibleName(), "Pause");
    EXPECT_TRUE(hymn->Stop_Cantique->isEnabled());

    hymn->PlayPause_Cantique->click();
    EXPECT_EQ(player.calls.last(), "pause");
    EXPECT_EQ(hymn->PlayPause_Cantique->toolTip(), "Play");

    hymn->Stop_Cantique->click();
    EXPECT_EQ(player.calls.last(), "stop");
    EXPECT_EQ(picture(hymn->Stop_Cantique), playback::kPictureStopIdle);
    EXPECT_FALSE(hymn->Stop_Cantique->isEnabled());
    EXPECT_EQ(picture(hymn->PlayPause_Cantique), playback::kPicturePlay);

    // sound off stops the player (what it blocks afterwards is the playback table's)
    hymn->playPause();
    player.calls.clear();
    hymn->Mute_Cantique->click();
    EXPECT_EQ(player.calls, QStringList({"stop"}));
    EXPECT_EQ(picture(hymn->Mute_Cantique), playback::kPictureSoundOff);
    EXPECT_EQ(hymn->Mute_Cantique->toolTip(), "Sound on");
}

// end of the hymn (which step the player takes is the playback table's; these check they are run)

TEST_F(HymnPlayerUi,
       continuous_asksForTheNextHymnThenPlaysItAfterTheLoad_duringTheHoldToo_orStopsWithoutMusic) {
    endInContinuous(second, 10'000);
    EXPECT_EQ(nextWanted, 1);
    EXPECT_EQ(cloneFollows, 1);
    EXPECT_EQ(player.calls, QStringList({"source:" + second, "stop", "play"}));
    EXPECT_EQ(player.statusText(), "Playing");
    EXPECT_EQ(picture(hymn->PlayPause_Cantique), playback::kPicturePause);
    ASSERT_TRUE(hymn->isHolding());
    // a short hymn ends during the hold
    player.endOfMedia();
    EXPECT_EQ(nextWanted, 2);
    EXPECT_EQ(player.statusText(), "Playing");

    nextMusic = dir.file("absent.wav");
    player.endOfMedia();
    EXPECT_EQ(nextWanted, 3);
    EXPECT_EQ(player.source(), "");
    EXPECT_EQ(picture(hymn->PlayPause_Cantique), playback::kPicturePlay);
}

// Regressions: the player's own stops are no end of a hymn. The load stops the player, which
// reports "Stopped"; taken for an end, every load in continuous mode asked for the next hymn and
// ran through the whole list, and in repeat mode started the hymn just loaded. A search whose
// first hit is the hymn on display stops it too, and left "pause" over a stopped player.
TEST_F(HymnPlayerUi, repeat_replaysTheHymnAtItsEnd_butALoadOrASearchStopIsNoEnd) {
    hymn->toggleRepeat();
    hymn->playPause();
    player.calls.clear();
    player.endOfMedia();
    EXPECT_EQ(player.calls, QStringList({"play"}));
    EXPECT_EQ(player.source(), first);
    player.calls.clear();
    hymn->onHymnLoaded(first);
    EXPECT_FALSE(player.calls.contains("play"));
    hymn->playPause();
    hymn->stopForSearch();
    EXPECT_EQ(player.statusText(), "Stopped");
    EXPECT_EQ(picture(hymn->PlayPause_Cantique), playback::kPicturePlay);
    EXPECT_EQ(picture(hymn->Repeat_Cantique), playback::kPictureRepeatOn) << "the search leaves the modes";

    nextMusic = second;
    hymn->toggleContinuous();
    hymn->playPause();
    hymn->onHymnLoaded(second);
    hymn->playPause();
    player.calls.clear();
    hymn->stopForSearch();
    EXPECT_EQ(player.calls, QStringList({"stop"}));
    EXPECT_EQ(nextWanted, 0);
    EXPECT_TRUE(hymn->state().continuousOn);
}

// capture tools (Check_Shop ticked shows them)

TEST_F(HymnPlayerUi, captureTools_usableOnlyWhileShown_cmdGoRefusesBadValuesElsePlaysFromTheTypedSecond) {
    EXPECT_FALSE(hymn->Cmd_Go->isEnabled());
    EXPECT_FALSE(hymn->Cmd_Echantion->isEnabled());
    hymn->setCaptureToolsShown(true);
    EXPECT_TRUE(hymn->Cmd_Go->isEnabled() && hymn->Txt_Echantillon->isEnabled());
    hymn->Txt_Echantillon->clear();
    hymn->Cmd_Go->click();
    EXPECT_EQ(prompts.asked, (std::vector<FakePrompts::Asked>{{"  F A I L E D  V A L U E ", "W A R N I N G",
                                                               platform::PromptButtons::Ok,
                                                               platform::PromptIcon::Exclamation}}));
    hymn->Txt_Echantillon->setText("abc");
    hymn->Cmd_Go->click();
    hymn->onHymnLoaded(QString());
    hymn->Txt_Echantillon->setText("3");
    hymn->Cmd_Go->click();
    EXPECT_EQ(prompts.asked.size(), 3u);
    EXPECT_FALSE(player.calls.contains("play"));
    EXPECT_FALSE(player.calls.contains("seek:3"));

    // with the music there again, Go plays from the typed second and Sample writes the position back
    hymn->onHymnLoaded(first);
    player.calls.clear();
    hymn->Txt_Echantillon->setText("12,5");
    hymn->Cmd_Go->click();
    EXPECT_EQ(prompts.asked.size(), 3u);
    EXPECT_EQ(player.calls, QStringList({"seek:12.5", "play"}));
    EXPECT_DOUBLE_EQ(player.position(), 12.5); // kept through the loading
    EXPECT_EQ(picture(hymn->PlayPause_Cantique), playback::kPicturePause);

    player.clock = 7.25;
    hymn->Cmd_Echantion->click();
    EXPECT_EQ(hymn->Txt_Echantillon->text(), "7.25");
    player.clock = 30;
    hymn->Cmd_Go->click();
    EXPECT_DOUBLE_EQ(player.position(), 7.25);
}

// the three-second hold

TEST_F(HymnPlayerUi, holdEndsRunningNothing_andAPlayerDestroyedDuringOneLeavesNothingBehind) {
    endInContinuous(second, 20);
    player.calls.clear();
    pump(60);
    EXPECT_FALSE(hymn->isHolding());
    EXPECT_TRUE(player.calls.isEmpty());

    player.endOfMedia(); // the next hymn, and a hold again
    ASSERT_TRUE(hymn->isHolding());
    hymn.reset();
    player.calls.clear();
    pump(60);
    player.endOfMedia();
    player.stop();
    EXPECT_EQ(player.calls, QStringList({"stop"}));
    EXPECT_EQ(nextWanted, 2);
}

TEST_F(HymnPlayerUi, pageDestroyedFirst_controllerStillSafe) {
    QWidget page;
    hymn->buttons()->setParent(&page);
    hymn->captureTools()->setParent(&page);
    {
        QWidget gone;
        hymn->buttons()->setParent(&gone);
    }
    hymn->playPause();
    player.endOfMedia();
    hymn->samplePosition();
    EXPECT_EQ(player.statusText(), "Stopped");
}

// a recording that cannot be played: it showed "playing" in silence, and continuous play stalled
TEST_F(HymnPlayerUi, failure_showsPlayTellsOnceAndContinuousMovesOn) {
    QStringList told;
    QObject::connect(hymn.get(), &HymnPlayer::playbackFailed,
                     [&](const QString& path, const QString& why) { told << path + "|" + why; });
    hymn->PlayPause_Cantique->click();
    player.fail("bad data");
    EXPECT_EQ(picture(hymn->PlayPause_Cantique), playback::kPicturePlay);
    EXPECT_FALSE(hymn->Stop_Cantique->isEnabled());
    EXPECT_EQ(told, QStringList({first + "|bad data"}));
    // Played again and failing again: not told twice for one run.
    hymn->playPause();
    player.fail("bad data");
    EXPECT_EQ(told.size(), 1);

    nextMusic = second;
    hymn->Continuer_Cantique->click();
    hymn->PlayPause_Cantique->click();
    player.fail("bad data");
    EXPECT_EQ(nextWanted, 1) << "continuous play goes on with the next hymn";
    EXPECT_EQ(player.source(), second);
    EXPECT_EQ(player.statusText(), "Playing");
    EXPECT_EQ(told.size(), 2) << "a new run after the user's click";
}

TEST_F(HymnPlayerUi, continuousOverBrokenHymnsOnly_stopsInsteadOfGoingRoundForEver) {
    nextMusic = first; // a list of one broken hymn: the next one is the same
    hymn->toggleContinuous();
    hymn->playPause();
    player.fail();
    EXPECT_EQ(nextWanted, 1);
    player.fail();
    EXPECT_EQ(nextWanted, 1);
    EXPECT_EQ(picture(hymn->Continuer_Cantique), playback::kPictureContinuousOff);
    EXPECT_EQ(picture(hymn->PlayPause_Cantique), playback::kPicturePlay);
}

// the fake behaves like the real player where callers depend on it
TEST(FakeMediaPlayerContract, seekWhileLoadingIsKept_closeIsNoStop_endReportsStopped) {
    FakeMediaPlayer p;
    QStringList statuses;
    QObject::connect(&p, &platform::MediaPlayer::statusChanged, [&] { statuses << p.statusText(); });
    p.setSource("/x.mp3");
    p.setPosition(4.5);
    EXPECT_TRUE(p.loading);
    EXPECT_DOUBLE_EQ(p.position(), 4.5);
    p.play();
    EXPECT_DOUBLE_EQ(p.position(), 4.5);
    p.setPosition(1); // a seek made before the new source is not carried over
    p.setSource("/y.mp3");
    EXPECT_DOUBLE_EQ(p.position(), 0);
    p.play();
    p.close();
    EXPECT_EQ(p.source(), "");
    EXPECT_FALSE(statuses.contains("Stopped"));
    p.setSource("/z.mp3");
    p.play();
    p.endOfMedia();
    EXPECT_EQ(statuses.last(), "Stopped");
}

// keyboard
TEST_F(HymnPlayerUi, shortcuts_workOnlyWhileTheTabIsShown) {
    QTabWidget tabs;
    auto* canticle = new QWidget;
    auto* bible = new QWidget;
    auto* canticleField = new QLineEdit(canticle);
    auto* bibleField = new QLineEdit(bible);
    hymn->buttons()->setParent(canticle);
    hymn->installShortcuts(canticle);
    tabs.addTab(bible, "Bible");
    tabs.addTab(canticle, "Canticle");
    tabs.show();
    tabs.activateWindow();
    QApplication::setActiveWindow(&tabs);

    // A key press as the window system delivers it: shortcuts are matched before the focus widget
    // sees the key (the entry point QtTest's key clicks use).
    const auto press = [](int key, Qt::KeyboardModifiers mods = Qt::NoModifier) {
        qt_sendShortcutOverrideEvent(QApplication::focusWidget(), 0, key, mods);
    };
    tabs.setCurrentIndex(1);
    canticleField->setFocus();
    press(Qt::Key_Space, Qt::ControlModifier);
    EXPECT_EQ(player.calls, QStringList({"play"}));
    press(Qt::Key_MediaPlay); // already playing: play does not pause
    EXPECT_EQ(player.calls, QStringList({"play"}));
    press(Qt::Key_MediaStop);
    EXPECT_EQ(player.calls.last(), "stop");
    // Stop is unavailable after a stop: its keys do what a click on it would, nothing.
    ASSERT_FALSE(hymn->Stop_Cantique->isEnabled());
    player.calls.clear();
    press(Qt::Key_Period, Qt::ControlModifier);
    EXPECT_TRUE(player.calls.isEmpty());

    player.calls.clear();
    tabs.setCurrentIndex(0);
    bibleField->setFocus();
    press(Qt::Key_Space, Qt::ControlModifier);
    press(Qt::Key_MediaTogglePlayPause);
    EXPECT_TRUE(player.calls.isEmpty());
}

} // namespace
