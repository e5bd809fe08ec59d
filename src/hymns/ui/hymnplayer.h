#pragma once
// The Canticle tab's hymn player: five picture buttons over WindowsMediaPlayer2, the end-of-hymn
// handling (stop, repeat, or go on with the next hymn), and the position capture tools.
//
// The decisions are the shared player state machine's (common/playback.h); this class shows its
// pictures and carries out its actions. It talks to the hymn lists through slots and signals only:
//   lists -> onPickStarted(), onHymnLoaded(path), stopForSearch(), playPause() (Image_Musique)
//   nextHymnWanted() -> lists select the next row of ComboBox_Chant (row 0 after the last) and
//                       load it, synchronously (a direct connection): the hymn is then played.
//   cloneFollowWanted() -> the clone window follows the new hymn.

#include "common/playback.h"
#include "platform/playerpictures.h"

#include <QObject>
#include <QPointer>
#include <QTimer>
#include <QWidget>

class QLineEdit;
class QPushButton;
class QToolButton;

namespace lumora::platform {
class MediaPlayer;
class Prompts;
class SpinArrows;
} // namespace lumora::platform

namespace lumora::hymns {

class HymnSelection;

class HymnPlayer final : public QObject {
    Q_OBJECT
  public:
    // `player` is WindowsMediaPlayer2; both stay owned by the caller and must outlive this.
    HymnPlayer(platform::MediaPlayer& player, platform::Prompts& prompts, QObject* parent = nullptr);
    ~HymnPlayer() override;

    // The five buttons, in a row, for the page to place (the page then owns it).
    QWidget* buttons() const { return m_buttons; }
    // Cmd_Echantion, Txt_Echantillon and Cmd_Go, in a row, for the page to place.
    QWidget* captureTools() const { return m_captureTools; }
    // Follows the hymn lists: their picks, the files of each hymn shown, a successful search and the
    // music icon; continuous play asks them for the next hymn (synchronously, before playing it).
    void attachTo(HymnSelection& lists);
    // Play/pause (Ctrl+Space) and stop (Ctrl+.) and the keyboard's media keys, while `page` (the
    // tab holding the buttons) or a child of it has the focus.
    void installShortcuts(QWidget* page);

    const playback::State& state() const { return m_state; }
    // The player it drives, for what reads its position.
    const platform::MediaPlayer& mediaPlayer() const { return m_player; }
    // True during the three seconds after continuous play moved to the next hymn.
    bool isHolding() const { return m_hold.isActive(); }
    void setHoldMilliseconds(int ms) { m_hold.setInterval(ms); }

    QToolButton* PlayPause_Cantique = nullptr;
    QToolButton* Stop_Cantique = nullptr;
    QToolButton* Repeat_Cantique = nullptr;
    QToolButton* Continuer_Cantique = nullptr;
    QToolButton* Mute_Cantique = nullptr;
    QPushButton* Cmd_Echantion = nullptr;
    QLineEdit* Txt_Echantillon = nullptr;
    QPushButton* Cmd_Go = nullptr;
    platform::SpinArrows* SpinPositionCapture = nullptr;

  public slots:
    // Any pick in the hymn lists: play/pause is ready to play again.
    void onPickStarted();
    // LoadHymnFiles' player steps for the hymn now on display: its music file, loaded stopped
    // when it exists; no media otherwise.
    void onHymnLoaded(const QString& musicPath);
    // The hymn search's stop of the player (not the Stop button: modes and pictures stay).
    void stopForSearch();
    void playPause();
    void stop();
    void toggleRepeat();
    void toggleContinuous();
    void toggleSound();
    // Cmd_Echantion: the player's position into Txt_Echantillon.
    void samplePosition();
    // Cmd_Go: plays from the position typed in Txt_Echantillon.
    void goToSample();
    // Check_Shop: the player's bar shown or not; the capture tools usable only while the words
    // are narrow (Label14 reading "<---->").
    void setCaptureToolsShown(bool shown);
    // Label14: read by the next Check_Shop click.
    void setWordsNarrow(bool narrow) { m_wordsNarrow = narrow; }

  signals:
    void nextHymnWanted();
    void cloneFollowWanted();
    // The buttons show a new state (a button, a status change of the player).
    void stateShown(const lumora::playback::State& state);
    // The recording at `path` could not be played (`why`): said once for a run of failures, which
    // ends with the next button press or a recording played to its end.
    void playbackFailed(const QString& path, const QString& why);

  private:
    void run(playback::Event event, const playback::Context& context = {});
    void perform(playback::Action action);
    void showState();
    void onStatusChanged();
    // A button or key of the user's: a new run of failures may be told.
    void userPressed();

    platform::MediaPlayer& m_player;
    std::unique_ptr<platform::PlayerButtons> m_five; // play/pause, stop, repeat, continuous, sound
    platform::Prompts& m_prompts;
    playback::State m_state;
    QPointer<QWidget> m_buttons;
    QPointer<QWidget> m_captureTools;
    bool m_wordsNarrow = true;
    QTimer m_hold;
    QString m_musicPath;  // the file the hymn being loaded plays
    int m_ownStops = 0;   // > 0 while this class stops the player for a load or a search
    QStringList m_failed; // recordings that failed since the user last pressed a button
    bool m_failureTold = false;
};

} // namespace lumora::hymns
