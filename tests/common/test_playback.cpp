// The players' shared state machine, as tables: one row per case of the hymn and Bible algorithms.

#include "common/playback.h"

#include <QStringList>

#include <gtest/gtest.h>

#include <ostream>

using namespace lumora::playback;
using A = Action;

namespace {

const QString kArrete = QString::fromUtf8("Arr\xC3\xAAt\xC3\xA9");

// A state in words, from the state at start (play, stop active, everything off):
//   pause       play/pause shows picture 2      rep / cont   repeat / continuous on (pictures 6 / 8)
//   stop4       stop shows picture 4            mute         sound off (picture 10)
//   stopOff     stop disabled                   reload       the Bible reload flag
//   idle        stop4 stopOff                   noPlay       play/pause disabled
//   status=TEXT the remembered status text
State state(const char* words) {
    State s;
    for (const QString& w : QString::fromUtf8(words).split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        if (w == "pause")
            s.playPause = kPicturePause;
        else if (w == "stop4")
            s.stop = kPictureStopIdle;
        else if (w == "stopOff")
            s.stopEnabled = false;
        else if (w == "idle")
            s.stop = kPictureStopIdle, s.stopEnabled = false;
        else if (w == "rep")
            s.repeatOn = true, s.repeat = kPictureRepeatOn;
        else if (w == "cont")
            s.continuousOn = true, s.continuous = kPictureContinuousOn;
        else if (w == "mute")
            s.soundOff = true, s.sound = kPictureSoundOff;
        else if (w == "reload")
            s.reload = true;
        else if (w == "noPlay")
            s.playEnabled = false;
        else if (w.startsWith("status="))
            s.playerStatus = w.mid(7) == "Arrete" ? kArrete : w.mid(7);
        else
            ADD_FAILURE() << "unknown word " << w.toStdString();
    }
    return s;
}

struct Row {
    const char* name;
    const char* before;
    Event event;
    Context context;
    const char* after;
    Actions actions;
};

void PrintTo(const Row& r, std::ostream* os) {
    *os << r.name;
}

void check(Kind kind, const Row& r) {
    State s = state(r.before);
    const Actions got = step(kind, s, r.event, r.context);
    EXPECT_EQ(got, r.actions);
    EXPECT_EQ(s, state(r.after)) << "expected: " << r.after;
}

const Context kStopped{.status = "Stopped"};

class HymnSteps : public ::testing::TestWithParam<Row> {};
TEST_P(HymnSteps, row) {
    check(Kind::Hymn, GetParam());
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Playback, HymnSteps, ::testing::Values(
    // play / pause
    Row{"play_showsPauseAndPlays", "", Event::PlayPause, {}, "pause", {A::Play}},
    Row{"playAfterStop_enablesStopWithActivePicture", "idle", Event::PlayPause, {}, "pause", {A::Play}},
    Row{"playWithoutMedia_flipsBackAndPlaysNothing", "idle", Event::PlayPause, {.hasSource = false}, "", {}},
    Row{"pauseWhilePlaying_showsPlayAndPauses", "pause", Event::PlayPause, {}, "", {A::Pause}},
    Row{"soundOff_playNeitherPlaysNorChangesPicture", "idle mute", Event::PlayPause, {}, "idle mute", {}},
    // stop
    Row{"stop_clearsModesBeforeStoppingThePlayer", "pause rep", Event::Stop, {}, "idle", {A::StopPlayer}},
    // so the status change that the stop causes sees no mode, and replays nothing
    Row{"statusAfterStop_replaysNothing", "idle", Event::StatusChanged, kStopped, "idle", {}},
    // the exclusive modes
    Row{"repeatOn_switchesContinuousOff", "pause cont", Event::ToggleRepeat, {}, "pause rep", {}},
    Row{"repeatAgain_leavesBothOff", "pause rep", Event::ToggleRepeat, {}, "pause", {}},
    Row{"continuousOn_switchesRepeatOff", "pause rep", Event::ToggleContinuous, {}, "pause cont", {}},
    // sound
    Row{"soundOff_stopsOnceAndClearsModes", "pause rep", Event::ToggleSound, {}, "idle mute", {A::StopPlayer}},
    Row{"soundOn_onlyFlipsTheSwitch", "idle mute", Event::ToggleSound, {}, "idle", {}},
    // end of the hymn
    Row{"otherStatus_changesNothing", "pause cont", Event::StatusChanged, {.status = "Paused"}, "pause cont", {}},
    Row{"endInNormalMode_showsPlayOnly", "pause", Event::StatusChanged, kStopped, "", {}},
    Row{"endInRepeat_playsAgainShowingPause", "pause rep", Event::StatusChanged, {.status = kArrete}, "pause rep",
        {A::Play}},
    Row{"endInContinuous_advancesFollowsPlaysAndHolds", "pause cont", Event::StatusChanged, kStopped, "cont",
        {A::Advance, A::CloneFollow, A::RunPlayPause, A::HoldThreeSeconds}},
    // loading and picking
    Row{"pick_resetsPlayPause", "pause", Event::PickStarted, {}, "", {}},
    Row{"loadWithMusic_loadsStoppedAndKeepsModes", "pause stop4 cont", Event::HymnLoaded, {.fileExists = true},
        "cont", {A::DisablePlayer, A::EnablePlayer, A::LoadSource, A::StopPlayer}},
    Row{"loadWithoutMusic_clearsTheSource", "pause", Event::HymnLoaded, {.fileExists = false}, "",
        {A::DisablePlayer, A::ClearSource}},
    // the player's own stops (a load, a search): the picture follows, the modes wait. A search whose
    // first hit was the hymn on display left "pause" showing over a stopped player.
    Row{"ownStopWhilePlaying_showsPlayAndKeepsTheModes", "pause rep", Event::StatusChanged,
        {.status = "Stopped", .ownStop = true}, "rep", {}},
    Row{"ownStopInContinuous_movesNowhere", "pause cont", Event::StatusChanged,
        {.status = "Stopped", .ownStop = true}, "cont", {}},
    // a recording that cannot be played: repeat used to replay it without end, silently
    Row{"failureInRepeat_tellsAndStopsForGood", "pause rep", Event::StatusChanged,
        {.status = "Stopped", .failed = true}, "idle", {A::TellFailure}},
    Row{"failureInContinuous_tellsAndMovesOn", "pause cont", Event::StatusChanged,
        {.status = "Stopped", .failed = true}, "cont",
        {A::TellFailure, A::Advance, A::CloneFollow, A::RunPlayPause, A::HoldThreeSeconds}},
    Row{"failureAgainInContinuous_stopsGoingRound", "pause cont", Event::StatusChanged,
        {.status = "Stopped", .failed = true, .failedAgain = true}, "idle", {}},
    Row{"failureWhileNotPlaying_onlyShowsPlay", "cont", Event::StatusChanged,
        {.status = "Stopped", .failed = true}, "cont", {}}
), [](const auto& info) { return std::string(info.param.name); });
// clang-format on

class BibleSteps : public ::testing::TestWithParam<Row> {};
TEST_P(BibleSteps, row) {
    check(Kind::Bible, GetParam());
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Playback, BibleSteps, ::testing::Values(
    // play / pause and the reload flag
    Row{"play_resumes", "idle", Event::PlayPause, {}, "pause", {A::Play}},
    Row{"playAfterStop_reloadsInsteadOfResuming", "idle reload", Event::PlayPause, {}, "pause",
        {A::ResetFollowing, A::ReloadChapter}},
    Row{"pause_keepsReload", "pause reload", Event::PlayPause, {}, "reload", {A::Pause}},
    Row{"muted_playDoesNothing", "mute reload", Event::PlayPause, {}, "mute reload", {}},
    // stop
    Row{"stopWithoutModes_setsReload", "pause", Event::Stop, {}, "idle reload", {A::StopPlayer}},
    Row{"stopInRepeat_clearsModesAndSetsReload", "pause rep", Event::Stop, {}, "idle reload", {A::StopPlayer}},
    // the status change that Stop causes settles without another stop
    Row{"statusAfterStop_settlesWithoutAnotherStop", "idle reload", Event::StatusChanged, kStopped,
        "idle reload status=Stopped", {}},
    // the exclusive modes
    Row{"continuousOn_switchesRepeatOff", "pause rep", Event::ToggleContinuous, {}, "pause cont", {}},
    // end of the passage
    Row{"statusRemembered_evenWhenNotStopped", "pause", Event::StatusChanged, {.status = "Playing"},
        "pause status=Playing", {}},
    Row{"endWithoutModes_runsStopWithoutStoppingThePlayerAgain", "pause", Event::StatusChanged, kStopped,
        "idle reload status=Stopped", {}},
    Row{"endInRepeat_replaysFromFirstMark", "pause rep", Event::StatusChanged, {.status = kArrete, .hasMarks = true},
        "pause rep status=Arrete", {A::ReplayFromFirstMark}},
    // "pause" used to stay on show over the stopped player
    Row{"endInRepeatWithoutMarks_staysStoppedShowingPlay", "pause rep", Event::StatusChanged,
        {.status = "Stopped", .hasMarks = false}, "rep reload status=Stopped", {}},
    Row{"endInContinuousMidChapter_goesOnWithTheNextVerse", "pause cont", Event::StatusChanged,
        {.status = "Stopped", .endVerseIsLast = false}, "pause cont status=Stopped",
        {A::NextPassage, A::ReloadChapter, A::CloneFollow, A::HoldThreeSeconds}},
    Row{"endInContinuousAtChapterEnd_goesOnWithTheNextChapter", "pause cont", Event::StatusChanged,
        {.status = "Stopped", .endVerseIsLast = true, .chapterIsLast = false}, "pause cont status=Stopped",
        {A::NextChapter, A::ReloadChapter, A::CloneFollow, A::HoldThreeSeconds}},
    Row{"endInContinuousAtBookEnd_staysStoppedShowingPlay", "pause cont", Event::StatusChanged,
        {.status = "Stopped", .endVerseIsLast = true, .chapterIsLast = true}, "cont reload status=Stopped", {}},
    // Cmd_OK and the chapter recording
    Row{"cmdOk_makesButtonsAvailableAndClearsReload", "noPlay stopOff reload", Event::CmdOk, {}, "",
        {A::LoadChapterAudio}},
    Row{"cmdOkMuted_loadsNothingAndKeepsReload", "mute reload stopOff", Event::CmdOk, {}, "mute reload", {}},
    Row{"chapterWithRecording_showsPauseAndActiveStop", "idle", Event::ChapterLoaded, {.fileExists = true}, "pause",
        {A::ReadingIndicatorOn}},
    Row{"chapterWithoutRecording_noAudioStateAndModesOff", "pause cont", Event::ChapterLoaded,
        {.fileExists = false}, "idle noPlay", {A::ClosePlayer, A::ReadingIndicatorOff}},
    // mute
    Row{"muteInMarkMode_showsWindow2StopsAndPutsMarkWidgetsAway", "pause rep", Event::ToggleSound,
        {.markMode = true}, "idle mute reload", {A::ShowWindow2, A::StopPlayer, A::MarkWidgetsAway}},
    Row{"muteOutsideMarkMode_noWindow2", "pause", Event::ToggleSound, {}, "idle mute reload",
        {A::StopPlayer, A::MarkWidgetsAway}},
    Row{"unmuteWithWindow2_togglesItBackAndResetsFollowing", "mute", Event::ToggleSound, {.window2 = true}, "",
        {A::ToggleWindow2, A::ResetFollowing, A::MarkWidgetsBack}},
    Row{"hymnEvents_doNothingOnTheBiblePlayer", "pause", Event::PickStarted, {}, "pause", {}},
    // play unavailable (no recording): a key used to show pause and enable stop over silence
    Row{"playUnavailable_doesNothing", "idle noPlay", Event::PlayPause, {}, "idle noPlay", {}},
    // a recording that cannot be played
    Row{"failureInRepeat_tellsStopsAndClearsTheModes", "pause rep", Event::StatusChanged,
        {.status = "Stopped", .hasMarks = true, .failed = true}, "idle reload status=Stopped", {A::TellFailure}},
    Row{"failureInContinuous_tellsAndGoesOnWithTheNextChapter", "pause cont", Event::StatusChanged,
        {.status = "Stopped", .endVerseIsLast = true, .failed = true}, "pause cont status=Stopped",
        {A::TellFailure, A::NextChapter, A::ReloadChapter, A::CloneFollow, A::HoldThreeSeconds}},
    Row{"failureAgain_stopsWithoutTellingAgain", "pause cont", Event::StatusChanged,
        {.status = "Stopped", .failed = true, .failedAgain = true}, "idle reload status=Stopped", {}}
), [](const auto& info) { return std::string(info.param.name); });
// clang-format on

TEST(PlaybackStatus, onlyTheTwoStoppedTextsCount) {
    EXPECT_TRUE(isStoppedStatus("Stopped"));
    EXPECT_TRUE(isStoppedStatus(kArrete));
    for (const char* other : {"stopped", "Arrete", "Gestoppt", ""})
        EXPECT_FALSE(isStoppedStatus(other)) << other;
}

} // namespace
