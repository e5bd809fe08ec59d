#pragma once
// ImageList1: the ten pictures of the two players' buttons, drawn as SVG so that they stay crisp
// at any screen scale; a mid-tone glyph with a dark outline reads on light and dark backgrounds.

#include "common/playback.h"

#include <QIcon>
#include <QKeySequence>
#include <QString>

#include <array>
#include <functional>

class QAbstractButton;
class QLayout;
class QObject;
class QToolButton;
class QWidget;

namespace lumora::platform {

// Picture 1 to 10 (1 play, 2 pause, 3 stop active, 4 stop idle, 5/6 repeat off/on,
// 7/8 continuous off/on, 9 sound on, 10 sound off); a null icon outside that range.
QIcon playerPicture(int index);

// What a click on a button showing picture `index` does now: picture 1 -> "Play",
// 2 -> "Pause", 5 (repeat off) -> "Repeat on", 9 (sound on) -> "Sound off"; "" outside the range.
QString playerPictureAction(int index);

// Shows picture `index` on `button`, with the matching tooltip and accessible name, and keeps the
// index in the button's "picture" property (the picture is the button's state).
void showPlayerPicture(QAbstractButton* button, int index);
// The keys that work the button, shown after its action in the tooltip from now on ("Play (Ctrl+Space)").
void setPlayerShortcutHint(QAbstractButton* button, const QKeySequence& keys);

// The index `button` shows (0 when none).
int shownPlayerPicture(const QAbstractButton* button);

// A player's picture button: flat, named `name`, its pictures at 24 pixels.
QToolButton* makePlayerButton(QWidget* parent, const char* name);

// The five buttons of a player (play/pause, stop, repeat, continuous, sound) as `state` shows them:
// their pictures, and which of them can be pressed.
void showPlayerState(const std::array<QAbstractButton*, 5>& buttons, const playback::State& state);

// A player's keys while `page` (the tab holding its buttons) or a child of it has the focus:
// Ctrl+Space and the play/pause media key run playPause, Ctrl+. and the stop key run stop; the plain
// play and pause media keys run playPause only when it would play (resp. pause). `context` owns
// the connections. A key does nothing while its button (`playButton`, `stopButton`) cannot be
// pressed, as a click on it would.
void installPlayerKeys(QWidget* page, QObject* context, const QAbstractButton* playButton,
                       const QAbstractButton* stopButton, const std::function<void()>& playPause,
                       const std::function<void()>& stop, const std::function<bool()>& isPlaying);

// What a player's five buttons run. Play/pause and stop, by click or key, first tell the player
// that the user pressed (a new run of failures may then be told).
struct PlayerHandlers {
    std::function<void()> userPressed, playPause, stop, repeat, continuous, sound;
    std::function<bool()> isPlaying; // play/pause shows pause
};

// A player's five picture buttons (play/pause, stop, repeat, continuous, sound), added to `row`
// in that order under the names given, and connected to `handlers` (owned by `context`).
class PlayerButtons final {
  public:
    PlayerButtons(QWidget* parent, QLayout* row, QObject* context, const std::array<const char*, 5>& names,
                  PlayerHandlers handlers);
    QToolButton* button(int index) const { return m_buttons[static_cast<size_t>(index)]; }
    // Ctrl+Space, Ctrl+. and the media keys while `page` has the focus, with their hints.
    void installKeys(QWidget* page) const;
    void show(const playback::State& state) const;

  private:
    std::function<void()> pressedThen(const std::function<void()>& action) const;

    std::array<QToolButton*, 5> m_buttons{};
    QObject* m_context;
    PlayerHandlers m_handlers;
};

} // namespace lumora::platform
