#pragma once
// The Bible tab's chapter player: the recording of the chapter on display in WindowsMediaPlayer1,
// Cmd_OK (start the passage's audio at its first mark), the five picture buttons, and what happens
// at the end of a passage (stop, replay from the first mark, or go on with the rest of the chapter
// and the next chapter). The decisions are the shared player state machine's (common/playback.h).

#include "bible/passagebuilder.h"
#include "common/playback.h"
#include "platform/playerpictures.h"

#include <QObject>
#include <QPointer>
#include <QTimer>
#include <QWidget>

class QToolButton;

namespace lumora::platform {
class MediaPlayer;
}

namespace lumora::bible {

class BibleNavigation;
class VerseFollower;

class BiblePlayer final : public QObject {
    Q_OBJECT
  public:
    // `player` is WindowsMediaPlayer1 (owned by the caller); the buttons are created under `page`.
    BiblePlayer(platform::MediaPlayer& player, BibleNavigation& nav, VerseFollower& follower, QWidget* page,
                QObject* parent = nullptr);

    // Image_Lecture, Cmd_OK, ImagePlayPause, ImageStop, ImageRepeat, ImageContinuer, ImageMute.
    QWidget* buttons() const { return m_buttons; }
    // Play/pause and stop shortcuts and the media keys while `page` (the Bible tab) is shown.
    void installShortcuts(QWidget* page);
    const playback::State& state() const { return m_state; }
    // ImagePlayPause and ImageStop, for what presses them as the user does (the remote).
    QToolButton* playPauseButton() const { return ImagePlayPause; }
    QToolButton* stopButton() const { return ImageStop; }
    // The player it drives, for what reads its position.
    const platform::MediaPlayer& mediaPlayer() const { return m_player; }
    bool isBibleAudioMuted() const { return m_state.soundOff; }
    QByteArray StartMark() const { return m_startMark; }
    bool isHolding() const { return m_hold.isActive(); }
    void setHoldMilliseconds(int ms) { m_hold.setInterval(ms); }

  public slots:
    // Cmd_OK: loads the chapter recording and starts it at the passage's first mark.
    void cmdOk();
    void playPause();
    void stop();
    void toggleRepeat();
    void toggleContinuous();
    void toggleMute();
    // BibleAudioMuted set without the mute button's effects (the Label24 toggle sets it, then runs
    // the button).
    void setBibleAudioMuted(bool muted);
    // Check_mode is ticked; BibleWindow2 is set. The mute button reads both.
    void setMarkMode(bool ticked) { m_markMode = ticked; }
    void setBibleWindow2(bool on) { m_window2 = on; }
    // The chapter has (or has not) a recording: Image_Lecture offered or withdrawn.
    void onChapterAudioFound(bool found);
    // A new version is on its way: the recording is let go.
    void closePlayer();
    // The end verse was chosen: idle pictures, play and stop unusable, the recording let go.
    void onSpanSelected();
    void onPassageShown(const bible::Passage& passage);
    // The passage is shown: play and stop usable again; the chapter recording is loaded and, when
    // the passage has marks, started at the first one.
    void onSpanShown(int verseIndex);

  signals:
    // The chapter audio started for the passage starting at row `verseIndex` of List_verset; `mark`
    // is the first mark it started at ("" when the passage has none, or the chapter no recording:
    // Cmd_OK's last steps select the verse's mark row all the same).
    void passageAudioStarted(const QByteArray& mark, int verseIndex);
    // Continuous play moved on: the clone window follows the Bible (only while it is open).
    void cloneFollowWanted();
    // The buttons show a new state (a button, a status change of the player).
    void stateShown(const lumora::playback::State& state);
    // The chapter recording at `path` could not be played (`why`): said once for a run of failures,
    // which ends with the next button press or a recording played to its end.
    void playbackFailed(const QString& path, const QString& why);
    // The mute button put the mark widgets away (false), or gave them back as Check_mode says (true).
    void markWidgetsShown(bool shown);
    // BibleAudioMuted changed.
    void bibleAudioMutedChanged(bool muted);
    // Muting in mark mode targets the second window (BibleWindow2 := True, Label24 "Window 2").
    void window2Shown();
    // Unmuting while BibleWindow2 is set: the Label24 toggle is to run once.
    void window2ToggleWanted();

  private:
    void run(playback::Event event, const playback::Context& context = {});
    void perform(playback::Action action);
    void showState();
    void onStatusChanged();
    // A button or key of the user's: a new run of failures may be told.
    void userPressed();
    playback::Context context() const;
    // LoadChapterAudio: the chapter's recording into the player; false when there is none.
    bool loadChapterAudio();
    // Seeks to the passage's first mark (when it has one) and plays.
    void startAtFirstMark(int verseIndex);

    platform::MediaPlayer& m_player;
    BibleNavigation& m_nav;
    VerseFollower& m_follower;
    playback::State m_state;
    QPointer<QWidget> m_buttons;
    std::unique_ptr<platform::PlayerButtons> m_five; // play/pause, stop, repeat, continuous, mute
    QToolButton* Image_Lecture;
    QToolButton* Cmd_OK;
    QToolButton* ImagePlayPause;
    QToolButton* ImageStop;
    QToolButton* ImageRepeat;
    QToolButton* ImageContinuer;
    QToolButton* ImageMute;
    QTimer m_hold;                 // PauseThreeSeconds
    QByteArrayList m_marks;        // ComboBox_repere with a selected entry; empty when none is selected
    QByteArray m_startMark;        // StartMark
    bool m_stopsBeforeEnd = false; // the passage stops before the end of the recording
    QStringList m_failed;          // recordings that failed since the user last pressed a button
    bool m_failureTold = false;
    bool m_markMode = false; // Check_mode ticked
    bool m_window2 = false;  // BibleWindow2
};

} // namespace lumora::bible
