#pragma once
// Label24 on the Bible tab, a caption used as a button: "L O C A L" while the reading follows the
// recording here, "Window 2" while the verses are shown by hand on the second window (mark mode
// with the sound off: a right click selects the verse, and the copy of the passage follows).
// BibleWindow2 is the flag the caption shows.

#include <QObject>

class QPushButton;
class QWidget;

namespace lumora::bible {

class BiblePlayer;

class BibleWindowLabel final : public QObject {
    Q_OBJECT
  public:
    // Label24 is created under `page`; the player's mute button is run from here and reports back.
    BibleWindowLabel(BiblePlayer& player, QWidget* page, QObject* parent = nullptr);

    QWidget* label() const;
    bool isBibleWindow2() const { return m_window2; }

  public slots:
    // The Label24 click: toggles the target, Check_mode with it, and runs the mute button.
    void click();
    // BibleWindow2 := True and the caption "Window 2" (the mute button in mark mode).
    void showWindow2();
    // Check_mode was cleared with the sound off: a "Window 2" target is given up.
    void onMarkModeClearedWhileMuted();

  signals:
    // Check_mode is to be ticked or cleared, as a click on it would.
    void markModeWanted(bool ticked);

  private:
    void setWindow2(bool on);

    BiblePlayer& m_player;
    QPushButton* Label24;
    bool m_window2 = false; // BibleWindow2
};

} // namespace lumora::bible
