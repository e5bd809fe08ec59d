#pragma once
// frmSplash: the picture shown while the program starts, with a small sprite bouncing inside it.
// It closes itself some seconds after CloseAfter, at once on a double-click or on the skip label
// (shown when the main window is ready). A click stops or restarts the sprite.

#include <QPixmap>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QTimer>
#include <QWidget>

class QLabel;

namespace lumora::app {

// The sprite's position (its top-left corner, pixels) and its step per tick.
struct SpriteMotion {
    QPoint position;
    QPoint step;
    bool operator==(const SpriteMotion&) const = default;
};

// One tick: each axis reverses when the next position would take the sprite past the inner edge
// (right or bottom edge beyond `bounds`, left or top edge below 0), then moves one step.
// {(0,0), (1,1)} in 100x100 with a 10x10 sprite -> {(1,1), (1,1)}; {(90,5), (1,1)} -> {(89,6), (-1,1)}.
SpriteMotion nextSpriteMotion(const SpriteMotion& now, QSize sprite, QSize bounds);

class FrmSplash final : public QWidget {
    Q_OBJECT
  public:
    explicit FrmSplash(QWidget* parent = nullptr);

    // Starts the one-second count: the splash closes when it reaches `seconds`.
    void CloseAfter(int seconds);
    // The main window is ready: the skip label appears.
    void showSkipLabel();

    bool isBouncing() const { return m_bounceRunning; }
    SpriteMotion motion() const { return m_motion; }
    QSize spriteSize() const { return m_sprite.size(); }
    int secondsCounted() const { return m_seconds; }

  public slots:
    // tmrBounce: the sprite moves one step.
    void bounceTick();
    // tmr: one second more.
    void secondTick();
    // A click on the window: the sprite stops (and disappears) or starts again where it was.
    void toggleAnimation();

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void setSkipHighlight(bool on);
    QRect spriteRect() const { return QRect(m_motion.position, m_sprite.size()); }

    QPixmap m_picture;
    QPixmap m_sprite;
    QTimer* tmrBounce;
    QTimer* tmr;
    QLabel* Lbl_PasserIntro;
    SpriteMotion m_motion{{0, 0}, {1, 1}};
    bool m_bounceRunning = false;
    bool m_pausedByMinimise = false;
    int m_seconds = 0;
    int m_limit = 0;
};

} // namespace lumora::app
