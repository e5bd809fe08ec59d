#pragma once
// The Bible tab's chapter player: the recording indicator, the play/pause and stop pictures, and
// the start of the chapter audio at the passage's first mark.

#include "bible/passagebuilder.h"
#include "platform/mediaplayer.h"

#include <QObject>

class QToolButton;
class QWidget;

namespace lumora::bible {

class BiblePlayer final : public QObject {
    Q_OBJECT
  public:
    // `player` is WindowsMediaPlayer1 (owned by the caller); the buttons are created in `page`.
    BiblePlayer(platform::MediaPlayer* player, QWidget* page, QObject* parent = nullptr);

    // Image_Lecture, ImagePlayPause and ImageStop, side by side.
    QWidget* buttons() const { return m_buttons; }
    bool isBibleAudioMuted() const { return m_muted; }
    bool isReloadPending() const { return m_reload; }

  public slots:
    // Image_Lecture is offered while the chapter has a recording.
    void onChapterAudioFound(bool found);
    // A new version or passage is on its way: the recording is let go.
    void closePlayer();
    // The end verse was chosen: idle pictures, play and stop unusable, the recording let go.
    void onSpanSelected();
    void onPassageShown(const bible::Passage& passage);
    // The passage is shown: play and stop usable again, and the recording, when one is loaded,
    // starts at the passage's first mark.
    void onSpanShown(int verseIndex);

  signals:
    // The chapter audio started at `mark` (the mark text of the passage's first marked verse) for
    // the passage that starts at row `verseIndex` of List_verset.
    void passageAudioStarted(const QByteArray& mark, int verseIndex);

  private:
    platform::MediaPlayer* m_player;
    QWidget* m_buttons;
    QToolButton* Image_Lecture;
    QToolButton* ImagePlayPause;
    QToolButton* ImageStop;
    QByteArrayList m_marks; // ComboBox_repere with a selected entry; empty when none is selected
    bool m_muted = false;   // BibleAudioMuted
    bool m_reload = false;  // BibleReload
};

} // namespace lumora::bible
