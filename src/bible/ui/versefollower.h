#pragma once
// Following the chapter recording in the passage: on every Timer1 tick the verse being heard is
// selected in Text_Passage, and a left click brings it back into view at the top.
//
// The short pause after a mark is reached is a hold, not a wait: for 0.1 s the timer's steps are
// skipped while every other event is handled, so nothing runs on a passage or window that changed
// in the meantime.

#include "bible/following.h"
#include "bible/passagebuilder.h"

#include <QObject>
#include <QTimer>

class QCheckBox;
class QWidget;

namespace lumora::platform {
class MediaPlayer;
class RichTextBox;
} // namespace lumora::platform

namespace lumora::bible {

class VerseFollower final : public QObject {
    Q_OBJECT
  public:
    // `player` is WindowsMediaPlayer1, `passage` Text_Passage; Check_repere is created under `page`.
    VerseFollower(platform::MediaPlayer& player, platform::RichTextBox& passage, QWidget* page,
                  QObject* parent = nullptr);

    QWidget* keepAtTopBox() const;
    const FollowState& state() const { return m_state; }
    bool isHolding() const { return m_hold.isActive(); }

  public slots:
    // A Timer1 tick: one step, unless the short pause after the last mark is still running.
    void onTick();
    // One step now (the player's own status change, the click re-synchronisation).
    void step();
    void onPassageShown(const bible::Passage& passage);
    // MarkIndex := 0, LastPosition := 0.
    void resetFollowing() { m_state = {}; }
    // Check_mode: the selection is left where the user put it.
    void setMarkMode(bool on) { m_markMode = on; }
    // Check_repere usable (the audio on and mark mode off) or not.
    void setKeepAtTopEnabled(bool enabled);
    // Check_repere unticked (mark mode leaves the selection where the user puts it).
    void clearKeepAtTop();

  signals:
    // The verse being heard was selected (start, length in Text_Passage), for a copy of the passage.
    void verseSelected(int start, int length);
    // The same verse by its label ("3.16").
    void verseHeard(const QString& label);
    // The caret went to the end of the passage before the selection (the verse scrolls to the top).
    void caretMovedToEnd();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void onLeftClickReleased();

    platform::MediaPlayer& m_player;
    platform::RichTextBox& m_passage;
    QCheckBox* Check_repere;
    QTimer m_hold;
    FollowState m_state;
    QByteArrayList m_marks;
    QHash<QString, int> m_labelStarts; // where each verse of the passage starts in the box
    bool m_markSelected = false;
    bool m_endVerseIsLast = true;
    bool m_markMode = false;
};

} // namespace lumora::bible
