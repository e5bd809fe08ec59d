#pragma once
// The state machine the hymn player and the Bible chapter player share.
//
// A player's buttons show pictures of ImageList1, and a picture is also the state: the play/pause
// button is ready to play exactly when it shows picture 1. step() takes the state, one event and
// what the caller knows at that moment (the player's status text, whether it has a source, ...),
// updates the state and returns what the caller must then do, in order. The caller stores the new
// state (and shows its pictures) BEFORE it carries out the actions: an action such as StopPlayer
// makes the player report a status change at once, and that nested step must see the new state
// (Stop in repeat mode clears the mode first, so the resulting "Stopped" replays nothing).
//
//   State s;                                  // play shows 1, nothing on
//   step(Kind::Hymn, s, Event::ToggleRepeat)  // -> {}, s.repeatOn, s.repeat == kRepeatOn
//   step(Kind::Hymn, s, Event::StatusChanged, {.status = "Stopped"})   // -> {Play}
//
// A recording that cannot be played ends like one played to its end, with three differences:
// repeat never replays it (it stops, and the modes are cleared), continuous play moves on unless
// this recording had failed already (a list or book of broken files would go round for ever), and
// the user is told, on the first failure of the run only.

#include <QString>

#include <vector>

namespace lumora::playback {

// ImageList1, 1-based as the buttons use it.
enum Picture : int {
    kPicturePlay = 1,
    kPicturePause = 2,
    kPictureStopActive = 3,
    kPictureStopIdle = 4,
    kPictureRepeatOff = 5,
    kPictureRepeatOn = 6,
    kPictureContinuousOff = 7,
    kPictureContinuousOn = 8,
    kPictureSoundOn = 9,
    kPictureSoundOff = 10,
};
inline constexpr int kPictureCount = 10;

enum class Kind { Hymn, Bible };

struct State {
    // Pictures of the five buttons.
    int playPause = kPicturePlay;
    int stop = kPictureStopActive;
    int repeat = kPictureRepeatOff;
    int continuous = kPictureContinuousOff;
    int sound = kPictureSoundOn;
    bool playEnabled = true;
    bool stopEnabled = true;
    bool modesEnabled = true;

    bool repeatOn = false;     // HymnRepeat / BibleRepeat
    bool continuousOn = false; // HymnContinue / BibleContinue; never both on
    bool soundOff = false;     // HymnPlayerOff / BibleAudioMuted: play/pause does nothing
    bool reload = false;       // BibleReload: the next Play runs the Cmd_OK action instead of resuming
    QString playerStatus;      // BiblePlayerStatus: the status text at the last status change

    bool operator==(const State&) const = default;
};

enum class Event {
    PlayPause,        // the play/pause button (also Image_Musique, and the media keys)
    Stop,             // the stop button
    ToggleRepeat,     // the repeat button
    ToggleContinuous, // the continuous button
    ToggleSound,      // the sound button (Bible: ImageMute)
    StatusChanged,    // the player reported a change of status; Context::status holds its text
    // Hymn player only
    PickStarted, // a pick in one of the hymn lists
    HymnLoaded,  // LoadHymnFiles' player steps; Context::fileExists tells whether the music file exists
    // Bible player only
    CmdOk,        // the Cmd_OK action starts
    ChapterLoaded // LoadChapterAudio gave the player its path; Context::fileExists as above
};

struct Context {
    QString status = {};        // StatusChanged: the player's status text
    bool hasSource = true;      // the player's media address is not empty
    bool fileExists = false;    // HymnLoaded, ChapterLoaded
    bool hasMarks = false;      // Bible: the passage has marked verses (ComboBox_repere has entries)
    bool endVerseIsLast = true; // Bible: List_verset_limite is on its last entry
    bool chapterIsLast = false; // Bible: the chapter is the book's last
    bool markMode = false;      // Bible: Check_mode is ticked
    bool window2 = false;       // Bible: BibleWindow2 (the clone window's target flag)
    // StatusChanged only:
    bool ownStop = false;     // the program stopped the player itself (a load, a search): no end
    bool failed = false;      // the recording could not be played (the player's errorText())
    bool failedAgain = false; // ...and it had failed before since the user last pressed a button
};

enum class Action {
    Play,             // player play
    Pause,            // player pause
    StopPlayer,       // player stop
    DisablePlayer,    // player enabled := False
    EnablePlayer,     // player enabled := True
    LoadSource,       // player media address := the file just looked up
    ClearSource,      // player media address := ""
    ClosePlayer,      // player close
    RunPlayPause,     // run the play/pause operation again (a fresh step, after what came before)
    Advance,          // hymns: select the next row of ComboBox_Chant (row 0 after the last)
    NextPassage,      // Bible: List_verset selects the end verse + 1
    NextChapter,      // Bible: List_chapitre selects the next row
    CloneFollow,      // the clone window follows (Label13 for hymns, Label12 for the Bible)
    HoldThreeSeconds, // PauseThreeSeconds
    TellFailure,      // tell the user that the recording could not be played
    // Bible player only
    ReloadChapter,       // run the Cmd_OK action: reload the chapter audio and start it at the first mark
    LoadChapterAudio,    // Cmd_OK's steps: LoadChapterAudio, seek to the first mark, play, show the mark row
    ReplayFromFirstMark, // MarkIndex := 0, LastPosition := 0, seek to the first mark, FollowStep once, play
    ResetFollowing,      // MarkIndex := 0, LastPosition := 0
    ReadingIndicatorOn,  // Image_Lecture on
    ReadingIndicatorOff, // Image_Lecture off
    ShowWindow2,         // BibleWindow2 := True, Label24 := "Window 2"
    ToggleWindow2,       // run the Label24 click action once
    MarkWidgetsAway,     // the mark widgets put away (muted)
    MarkWidgetsBack,     // the mark widgets as Check_mode says (unmuted)
};

using Actions = std::vector<Action>;

// "Stopped" or "Arrêté": the two texts by which a player reports the end of playback.
bool isStoppedStatus(const QString& status);

// One step: updates `state` and returns the actions to carry out, in order.
Actions step(Kind kind, State& state, Event event, const Context& context = {});

} // namespace lumora::playback
