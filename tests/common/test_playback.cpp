// The players' shared state machine, as tables: one row per case of the hymn and Bible algorithms.

#include "common/playback.h"

#include <gtest/gtest.h>

#include <functional>
#include <ostream>

using namespace lumora::playback;

namespace {

struct Row {
    const char* name;
    Kind kind;
    std::function<void(State&)> before;
    Event event;
    Context context;
    std::function<void(State&)> after; // applied to a copy of the state before the step
    Actions actions;
};

void PrintTo(const Row& r, std::ostream* os) {
    *os << r.name;
}

State playing() {
    State s;
    s.playPause = kPicturePause;
    return s;
}

const QString kArrete = QString::fromUtf8("Arr\xC3\xAAt\xC3\xA9");

void check(const Row& r) {
    State s;
    if (r.before) r.before(s);
    State expected = s;
    if (r.after) r.after(expected);
    const Actions got = step(r.kind, s, r.event, r.context);
    EXPECT_EQ(got, r.actions) << r.name;
    EXPECT_EQ(s, expected) << r.name;
}

auto pausing = [](State& s) { s = playing(); };
auto withRepeat = [](State& s) {
    s = playing();
    s.repeatOn = true;
    s.repeat = kPictureRepeatOn;
};
auto withContinuous = [](State& s) {
    s = playing();
    s.continuousOn = true;
    s.continuous = kPictureContinuousOn;
};
auto stoppedLook = [](State& s) {
    s.stopEnabled = false;
    s.stop = kPictureStopIdle;
    s.playPause = kPicturePlay;
};
auto modesOff = [](State& s) {
    s.repeatOn = s.continuousOn = false;
    s.repeat = kPictureRepeatOff;
    s.continuous = kPictureContinuousOff;
};

class HymnSteps : public ::testing::TestWithParam<Row> {};
TEST_P(HymnSteps, row) {
    check(GetParam());
}

INSTANTIATE_TEST_SUITE_P(
    Playback, HymnSteps,
    ::testing::Values(
        // play / pause
        Row{"play_showsPauseAndPlays",
            Kind::Hymn,
            nullptr,
            Event::PlayPause,
            {},
            [](State& s) { s.playPause = kPicturePause; },
            {Action::Play}},
        Row{"playAfterStop_enablesStopWithActivePicture",
            Kind::Hymn,
            stoppedLook,
            Event::PlayPause,
            {},
            [](State& s) {
                s.playPause = kPicturePause;
                s.stop = kPictureStopActive;
                s.stopEnabled = true;
            },
            {Action::Play}},
        Row{"playWithoutMedia_flipsBackAndPlaysNothing",
            Kind::Hymn,
            stoppedLook,
            Event::PlayPause,
            Context{.hasSource = false},
            [](State& s) {
                s.stop = kPictureStopActive;
                s.stopEnabled = true;
            },
            {}},
        Row{"pauseWhilePlaying_showsPlayAndPauses",
            Kind::Hymn,
            pausing,
            Event::PlayPause,
            {},
            [](State& s) { s.playPause = kPicturePlay; },
            {Action::Pause}},
        Row{"soundOff_playNeitherPlaysNorChangesPicture",
            Kind::Hymn,
            [](State& s) {
                stoppedLook(s);
                s.soundOff = true;
                s.sound = kPictureSoundOff;
            },
            Event::PlayPause,
            {},
            nullptr,
            {}},
        Row{"soundOff_pauseDoesNothingEither",
            Kind::Hymn,
            [](State& s) {
                s = playing();
                s.soundOff = true;
            },
            Event::PlayPause,
            {},
            nullptr,
            {}},
        // stop
        Row{"stop_clearsModesBeforeStoppingThePlayer",
            Kind::Hymn,
            withRepeat,
            Event::Stop,
            {},
            [](State& s) {
                modesOff(s);
                stoppedLook(s);
            },
            {Action::StopPlayer}},
        Row{"stopInContinuous_clearsContinuous",
            Kind::Hymn,
            withContinuous,
            Event::Stop,
            {},
            [](State& s) {
                modesOff(s);
                stoppedLook(s);
            },
            {Action::StopPlayer}},
        // the exclusive modes
        Row{"repeatOn_switchesContinuousOff",
            Kind::Hymn,
            withContinuous,
            Event::ToggleRepeat,
            {},
            [](State& s) {
                modesOff(s);
                s.repeatOn = true;
                s.repeat = kPictureRepeatOn;
            },
            {}},
        Row{"repeatAgain_leavesBothOff", Kind::Hymn, withRepeat, Event::ToggleRepeat, {}, modesOff, {}},
        Row{"continuousOn_switchesRepeatOff",
            Kind::Hymn,
            withRepeat,
            Event::ToggleContinuous,
            {},
            [](State& s) {
                modesOff(s);
                s.continuousOn = true;
                s.continuous = kPictureContinuousOn;
            },
            {}},
        Row{"continuousAgain_leavesBothOff",
            Kind::Hymn,
            withContinuous,
            Event::ToggleContinuous,
            {},
            modesOff,
            {}},
        // sound
        Row{"soundOff_stopsOnceAndClearsModes",
            Kind::Hymn,
            withRepeat,
            Event::ToggleSound,
            {},
            [](State& s) {
                modesOff(s);
                stoppedLook(s);
                s.soundOff = true;
                s.sound = kPictureSoundOff;
            },
            {Action::StopPlayer}},
        Row{"soundOn_onlyFlipsTheSwitch",
            Kind::Hymn,
            [](State& s) {
                stoppedLook(s);
                s.soundOff = true;
                s.sound = kPictureSoundOff;
            },
            Event::ToggleSound,
            {},
            [](State& s) {
                s.soundOff = false;
                s.sound = kPictureSoundOn;
            },
            {}},
        // end of the hymn
        Row{"otherStatus_changesNothing",
            Kind::Hymn,
            withContinuous,
            Event::StatusChanged,
            Context{.status = "Paused"},
            nullptr,
            {}},
        Row{"foreignStoppedText_changesNothing",
            Kind::Hymn,
            withContinuous,
            Event::StatusChanged,
            Context{.status = "Gestoppt"},
            nullptr,
            {}},
        Row{"endInNormalMode_showsPlayOnly",
            Kind::Hymn,
            pausing,
            Event::StatusChanged,
            Context{.status = "Stopped"},
            [](State& s) { s.playPause = kPicturePlay; },
            {}},
        Row{"endInRepeat_playsAgainShowingPause",
            Kind::Hymn,
            withRepeat,
            Event::StatusChanged,
            Context{.status = "Stopped"},
            nullptr,
            {Action::Play}},
        Row{"endInRepeat_frenchStoppedText",
            Kind::Hymn,
            withRepeat,
            Event::StatusChanged,
            Context{.status = kArrete},
            nullptr,
            {Action::Play}},
        Row{"endInContinuous_advancesFollowsPlaysAndHolds",
            Kind::Hymn,
            withContinuous,
            Event::StatusChanged,
            Context{.status = "Stopped"},
            [](State& s) { s.playPause = kPicturePlay; },
            {Action::Advance, Action::CloneFollow, Action::RunPlayPause, Action::HoldThreeSeconds}},
        // loading and picking
        Row{"pick_resetsPlayPause",
            Kind::Hymn,
            pausing,
            Event::PickStarted,
            {},
            [](State& s) { s.playPause = kPicturePlay; },
            {}},
        Row{"loadWithMusic_loadsStoppedAndKeepsModes",
            Kind::Hymn,
            [](State& s) {
                withContinuous(s);
                s.stop = kPictureStopIdle;
            },
            Event::HymnLoaded,
            Context{.fileExists = true},
            [](State& s) {
                s.playPause = kPicturePlay;
                s.stop = kPictureStopActive;
            },
            {Action::DisablePlayer, Action::EnablePlayer, Action::LoadSource, Action::StopPlayer}},
        Row{"loadWithoutMusic_clearsTheSource",
            Kind::Hymn,
            pausing,
            Event::HymnLoaded,
            Context{.fileExists = false},
            [](State& s) { s.playPause = kPicturePlay; },
            {Action::DisablePlayer, Action::ClearSource}},
        Row{"bibleEvents_doNothingOnTheHymnPlayer", Kind::Hymn, pausing, Event::CmdOk, {}, nullptr, {}}),
    [](const auto& info) { return std::string(info.param.name); });

class BibleSteps : public ::testing::TestWithParam<Row> {};
TEST_P(BibleSteps, row) {
    check(GetParam());
}

INSTANTIATE_TEST_SUITE_P(
    Playback, BibleSteps,
    ::testing::Values(
        // play / pause and the reload flag
        Row{"play_resumes",
            Kind::Bible,
            stoppedLook,
            Event::PlayPause,
            {},
            [](State& s) {
                s.playPause = kPicturePause;
                s.stop = kPictureStopActive;
                s.stopEnabled = true;
            },
            {Action::Play}},
        Row{"playAfterStop_reloadsInsteadOfResuming",
            Kind::Bible,
            [](State& s) {
                stoppedLook(s);
                s.reload = true;
            },
            Event::PlayPause,
            {},
            [](State& s) {
                s.reload = false;
                s.playPause = kPicturePause;
                s.stop = kPictureStopActive;
                s.stopEnabled = true;
            },
            {Action::ResetFollowing, Action::ReloadChapter}},
        Row{"playWithoutSourceKnown_stillResumes",
            Kind::Bible,
            nullptr,
            Event::PlayPause,
            Context{.hasSource = false},
            [](State& s) { s.playPause = kPicturePause; },
            {Action::Play}},
        Row{"pause_keepsReload",
            Kind::Bible,
            [](State& s) {
                s = playing();
                s.reload = true;
            },
            Event::PlayPause,
            {},
            [](State& s) { s.playPause = kPicturePlay; },
            {Action::Pause}},
        Row{"muted_playDoesNothing",
            Kind::Bible,
            [](State& s) {
                s.soundOff = true;
                s.reload = true;
            },
            Event::PlayPause,
            {},
            nullptr,
            {}},
        // stop
        Row{"stopWithoutModes_setsReload",
            Kind::Bible,
            pausing,
            Event::Stop,
            {},
            [](State& s) {
                stoppedLook(s);
                s.reload = true;
            },
            {Action::StopPlayer}},
        Row{"stopInRepeat_clearsModesAndSetsReload",
            Kind::Bible,
            withRepeat,
            Event::Stop,
            {},
            [](State& s) {
                modesOff(s);
                stoppedLook(s);
                s.reload = true;
            },
            {Action::StopPlayer}},
        // the exclusive modes
        Row{"repeatOn_switchesContinuousOff",
            Kind::Bible,
            withContinuous,
            Event::ToggleRepeat,
            {},
            [](State& s) {
                modesOff(s);
                s.repeatOn = true;
                s.repeat = kPictureRepeatOn;
            },
            {}},
        Row{"continuousOn_switchesRepeatOff",
            Kind::Bible,
            withRepeat,
            Event::ToggleContinuous,
            {},
            [](State& s) {
                modesOff(s);
                s.continuousOn = true;
                s.continuous = kPictureContinuousOn;
            },
            {}},
        // end of the passage
        Row{"statusRemembered_evenWhenNotStopped",
            Kind::Bible,
            pausing,
            Event::StatusChanged,
            Context{.status = "Playing"},
            [](State& s) { s.playerStatus = "Playing"; },
            {}},
        Row{"endWithoutModes_runsStopWithoutStoppingThePlayerAgain",
            Kind::Bible,
            pausing,
            Event::StatusChanged,
            Context{.status = "Stopped"},
            [](State& s) {
                stoppedLook(s);
                s.reload = true;
                s.playerStatus = "Stopped";
            },
            {}},
        Row{"endInRepeat_replaysFromFirstMark",
            Kind::Bible,
            withRepeat,
            Event::StatusChanged,
            Context{.status = kArrete, .hasMarks = true},
            [](State& s) { s.playerStatus = kArrete; },
            {Action::ReplayFromFirstMark}},
        Row{"endInRepeatWithoutMarks_staysStopped",
            Kind::Bible,
            withRepeat,
            Event::StatusChanged,
            Context{.status = "Stopped", .hasMarks = false},
            [](State& s) { s.playerStatus = "Stopped"; },
            {}},
        Row{"endInContinuousMidChapter_goesOnWithTheNextVerse",
            Kind::Bible,
            withContinuous,
            Event::StatusChanged,
            Context{.status = "Stopped", .endVerseIsLast = false},
            [](State& s) { s.playerStatus = "Stopped"; },
            {Action::NextPassage, Action::ReloadChapter, Action::CloneFollow, Action::HoldThreeSeconds}},
        Row{"endInContinuousAtChapterEnd_goesOnWithTheNextChapter",
            Kind::Bible,
            withContinuous,
            Event::StatusChanged,
            Context{.status = "Stopped", .endVerseIsLast = true, .chapterIsLast = false},
            [](State& s) { s.playerStatus = "Stopped"; },
            {Action::NextChapter, Action::ReloadChapter, Action::CloneFollow, Action::HoldThreeSeconds}},
        Row{"endInContinuousAtBookEnd_staysStopped",
            Kind::Bible,
            withContinuous,
            Event::StatusChanged,
            Context{.status = "Stopped", .endVerseIsLast = true, .chapterIsLast = true},
            [](State& s) { s.playerStatus = "Stopped"; },
            {}},
        // Cmd_OK and the chapter recording
        Row{"cmdOk_makesButtonsAvailableAndClearsReload",
            Kind::Bible,
            [](State& s) {
                s.playEnabled = s.stopEnabled = false;
                s.reload = true;
            },
            Event::CmdOk,
            {},
            [](State& s) {
                s.playEnabled = s.stopEnabled = true;
                s.reload = false;
            },
            {Action::LoadChapterAudio}},
        Row{"cmdOkMuted_loadsNothingAndKeepsReload",
            Kind::Bible,
            [](State& s) {
                s.soundOff = true;
                s.reload = true;
                s.stopEnabled = false;
            },
            Event::CmdOk,
            {},
            [](State& s) { s.stopEnabled = true; },
            {}},
        Row{"chapterWithRecording_showsPauseAndActiveStop",
            Kind::Bible,
            stoppedLook,
            Event::ChapterLoaded,
            Context{.fileExists = true},
            [](State& s) {
                s.playPause = kPicturePause;
                s.stop = kPictureStopActive;
                s.stopEnabled = true;
            },
            {Action::ReadingIndicatorOn}},
        Row{"chapterWithoutRecording_noAudioStateAndModesOff",
            Kind::Bible,
            withContinuous,
            Event::ChapterLoaded,
            Context{.fileExists = false},
            [](State& s) {
                modesOff(s);
                s.playPause = kPicturePlay;
                s.stop = kPictureStopIdle;
                s.playEnabled = s.stopEnabled = false;
            },
            {Action::ClosePlayer, Action::ReadingIndicatorOff}},
        // mute
        Row{"muteInMarkMode_showsWindow2StopsAndPutsMarkWidgetsAway",
            Kind::Bible,
            withRepeat,
            Event::ToggleSound,
            Context{.markMode = true},
            [](State& s) {
                modesOff(s);
                stoppedLook(s);
                s.soundOff = true;
                s.sound = kPictureSoundOff;
                s.reload = true;
            },
            {Action::ShowWindow2, Action::StopPlayer, Action::MarkWidgetsAway}},
        Row{"muteOutsideMarkMode_noWindow2",
            Kind::Bible,
            pausing,
            Event::ToggleSound,
            {},
            [](State& s) {
                stoppedLook(s);
                s.soundOff = true;
                s.sound = kPictureSoundOff;
                s.reload = true;
            },
            {Action::StopPlayer, Action::MarkWidgetsAway}},
        Row{"unmuteWithWindow2_togglesItBackAndResetsFollowing",
            Kind::Bible,
            [](State& s) {
                s.soundOff = true;
                s.sound = kPictureSoundOff;
            },
            Event::ToggleSound,
            Context{.window2 = true},
            [](State& s) {
                s.soundOff = false;
                s.sound = kPictureSoundOn;
            },
            {Action::ToggleWindow2, Action::ResetFollowing, Action::MarkWidgetsBack}},
        Row{"hymnEvents_doNothingOnTheBiblePlayer",
            Kind::Bible,
            pausing,
            Event::PickStarted,
            {},
            nullptr,
            {}}),
    [](const auto& info) { return std::string(info.param.name); });

// A sequence: the nested status change that Stop causes sees the cleared modes.
TEST(PlaybackSequence, stopInRepeat_theResultingStoppedStatusReplaysNothing) {
    State s;
    step(Kind::Hymn, s, Event::ToggleRepeat);
    step(Kind::Hymn, s, Event::PlayPause);
    EXPECT_EQ(step(Kind::Hymn, s, Event::Stop), Actions{Action::StopPlayer});
    EXPECT_TRUE(step(Kind::Hymn, s, Event::StatusChanged, {.status = "Stopped"}).empty());
    EXPECT_EQ(s.playPause, kPicturePlay);
}

TEST(PlaybackSequence, bibleStopThenStatus_settlesWithoutAnotherStop) {
    State s = playing();
    step(Kind::Bible, s, Event::Stop);
    const State afterStop = s;
    EXPECT_TRUE(step(Kind::Bible, s, Event::StatusChanged, {.status = "Stopped"}).empty());
    s.playerStatus.clear();
    EXPECT_EQ(s, afterStop);
}

TEST(PlaybackStatus, onlyTheTwoStoppedTextsCount) {
    EXPECT_TRUE(isStoppedStatus("Stopped"));
    EXPECT_TRUE(isStoppedStatus(kArrete));
    EXPECT_FALSE(isStoppedStatus("stopped"));
    EXPECT_FALSE(isStoppedStatus("Arrete"));
    EXPECT_FALSE(isStoppedStatus("Closed"));
    EXPECT_FALSE(isStoppedStatus(""));
}

} // namespace
