// The splash: the sprite's motion at each edge, the count that closes it, and the ways to close
// it at once.

#include "app/frmsplash.h"
#include "support/clicks.h"

#include <QLabel>
#include <QTimer>

#include <gtest/gtest.h>

using namespace lumora::app;

namespace {
const QSize kSprite(10, 10);
const QSize kBounds(100, 80);
using lumora::testing::leftClick;
using lumora::testing::sendMouse;
SpriteMotion at(int x, int y, int dx, int dy) {
    return {{x, y}, {dx, dy}};
}
} // namespace

// the sprite's motion: one pixel diagonally a tick, reversing at each inner edge
TEST(SplashSprite, movesOnePixelDiagonallyPerTick_andReversesAtEachInnerEdge) {
    const struct {
        const char* name;
        SpriteMotion from, to;
    } cases[] = {
        {"down right", at(0, 0, 1, 1), at(1, 1, 1, 1)},
        {"down left", at(40, 30, -1, 1), at(39, 31, -1, 1)},
        {"up left", at(40, 30, -1, -1), at(39, 29, -1, -1)},
        {"x + w may reach the width", at(89, 30, 1, 1), at(90, 31, 1, 1)},
        {"never pass it", at(90, 30, 1, 1), at(89, 31, -1, 1)},
        {"left edge", at(0, 30, -1, 1), at(1, 31, 1, 1)},
        {"bottom edge", at(40, 70, 1, 1), at(41, 69, 1, -1)},
        {"top edge", at(40, 0, 1, -1), at(41, 1, 1, 1)},
        {"a corner turns both ways in one tick", at(90, 70, 1, 1), at(89, 69, -1, -1)},
    };
    for (const auto& c : cases)
        EXPECT_EQ(nextSpriteMotion(c.from, kSprite, kBounds), c.to) << c.name;
}

TEST(SplashSprite, bouncesForeverInsideTheWindow) {
    SpriteMotion m = at(3, 7, 1, 1);
    for (int i = 0; i < 2000; ++i) {
        m = nextSpriteMotion(m, kSprite, kBounds);
        ASSERT_GE(m.position.x(), 0);
        ASSERT_GE(m.position.y(), 0);
        ASSERT_LE(m.position.x() + kSprite.width(), kBounds.width());
        ASSERT_LE(m.position.y() + kSprite.height(), kBounds.height());
    }
}

// the window
TEST(FrmSplash, startsBouncing_restsWhileMinimised_aClickStopsAndRestartsIt_andSixtySecondsCloseIt) {
    FrmSplash splash;
    EXPECT_TRUE(splash.isBouncing());
    EXPECT_TRUE(splash.windowFlags() & Qt::WindowStaysOnTopHint) << "top-most";
    splash.bounceTick();
    EXPECT_EQ(splash.motion().position, QPoint(1, 1));
    splash.show();
    splash.setWindowState(Qt::WindowMinimized);
    EXPECT_FALSE(splash.findChild<QTimer*>("tmrBounce")->isActive()) << "minimised, the sprite rests";
    splash.setWindowState(Qt::WindowNoState);
    EXPECT_TRUE(splash.findChild<QTimer*>("tmrBounce")->isActive());
    leftClick(&splash, QPointF(200, 100));
    EXPECT_FALSE(splash.isBouncing());
    splash.toggleAnimation(); // a second click (a mouse click now would make a double-click)
    EXPECT_TRUE(splash.isBouncing());
    EXPECT_EQ(splash.motion().position, QPoint(1, 1)) << "on from where it stopped";
    splash.CloseAfter(60);
    for (int i = 0; i < 59; ++i)
        splash.secondTick();
    EXPECT_TRUE(splash.isVisible());
    splash.secondTick();
    EXPECT_FALSE(splash.isVisible());
    EXPECT_FALSE(splash.isBouncing()) << "closing ends the sprite's timer";
}

TEST(FrmSplash, doubleClickOrTheSkipLabelClosesAtOnce) {
    {
        FrmSplash splash;
        splash.show();
        sendMouse(&splash, QEvent::MouseButtonDblClick, Qt::LeftButton, QPointF(50, 50));
        EXPECT_FALSE(splash.isVisible());
    }
    FrmSplash splash;
    splash.show();
    auto* skip = splash.findChild<QLabel*>("Lbl_PasserIntro");
    ASSERT_TRUE(skip);
    EXPECT_TRUE(skip->isHidden()) << "hidden until the main window is ready";
    splash.showSkipLabel();
    EXPECT_FALSE(skip->isHidden());
    EXPECT_EQ(skip->text(), " Passez l'intro ");
    // Only the left button let go over the label skips: a right click, or a press dragged off the
    // label before letting go, used to close the splash as well.
    sendMouse(skip, QEvent::MouseButtonRelease, Qt::RightButton, QPointF(5, 5));
    EXPECT_TRUE(splash.isVisible()) << "right button";
    sendMouse(skip, QEvent::MouseButtonRelease, Qt::LeftButton, QPointF(skip->width() + 40, 5));
    EXPECT_TRUE(splash.isVisible()) << "let go off the label";
    leftClick(skip);
    EXPECT_FALSE(splash.isVisible());
}
