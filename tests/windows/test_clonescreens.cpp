// The clone window on a projector: full screen on the screen without the main window, chosen by
// the user, and back on the main screen when the projector goes away.

#include "windows/ui/clonewindow.h"

#include <QApplication>
#include <QGuiApplication>
#include <QScreen>
#include <QScrollBar>
#include <QTextEdit>

#include <gtest/gtest.h>

namespace lumora::windows {
namespace {

CloneContent passage() {
    CloneContent c;
    c.passageText = "\xEF\xBB\xBF"
                    "5.18   Car je vous le dis\r\n";
    c.verseLabels = {"5.18"};
    c.caption = QStringLiteral("Matthieu 5 : 18");
    return c;
}

class CloneScreens : public ::testing::Test {
  protected:
    void SetUp() override {
        screens = QGuiApplication::screens();
        ASSERT_EQ(screens.size(), 2) << "the offscreen platform was given two screens";
        main.setGeometry(QRect(screens[0]->geometry().topLeft() + QPoint(10, 10), QSize(600, 400)));
        main.show();
    }
    FrmDoublon& window() { return *clone.window(); }

    QList<QScreen*> screens;
    QWidget main;
    QWidget* biblePage = new QWidget(&main);
    QWidget* canticlePage = new QWidget(&main);
    CloneWindow clone{biblePage, canticlePage, &main};
};

} // namespace

TEST_F(CloneScreens, theCloneGoesFullScreenOnTheProjector_andComesBackWhenItGoesAway) {
    clone.showBible(passage());
    ASSERT_TRUE(clone.window());
    EXPECT_EQ(window().screen(), screens[1]);
    EXPECT_TRUE(window().windowState() & Qt::WindowFullScreen);
    EXPECT_EQ(window().geometry(), screens[1]->geometry());
    EXPECT_TRUE(window().isProjector());
    EXPECT_EQ(window().textPassage()->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
    // back on the main screen when the projector goes away
    clone.onScreenRemoved(screens[1]);
    EXPECT_EQ(window().screen(), screens[0]);
    EXPECT_FALSE(window().windowState() & Qt::WindowFullScreen);
    EXPECT_TRUE(screens[0]->geometry().contains(window().geometry().center()));
    EXPECT_FALSE(window().isProjector());
    EXPECT_TRUE(window().isVisible());
}

// A window chosen by the user stays on the main screen, leaves the main window uncovered and stays
// where it is when another screen goes away.
TEST_F(CloneScreens, aWindowOrAScreenChosenByTheUserIsKept_andTheChosenProjectorPluggedInAgainTakesItBack) {
    clone.setPlacement({ClonePlacement::Mode::Window, {}});
    clone.showBible(passage());
    EXPECT_EQ(window().screen(), screens[0]);
    EXPECT_FALSE(window().windowState() & Qt::WindowFullScreen);
    EXPECT_FALSE(window().frameGeometry().intersects(main.frameGeometry()));
    EXPECT_TRUE(screens[0]->availableGeometry().contains(window().frameGeometry()))
        << window().frameGeometry().x() << "," << window().frameGeometry().y() << " "
        << window().frameGeometry().width() << "x" << window().frameGeometry().height() << " main "
        << main.frameGeometry().right();
    const QRect before = window().geometry();
    clone.onScreenRemoved(screens[1]);
    EXPECT_EQ(window().geometry(), before);
    // Choosing the projector while the clone shows moves it there at once; unplugged and plugged
    // in again, it takes the clone back.
    clone.setPlacement({ClonePlacement::Mode::Screen, screens[1]->name(), screens[1]->manufacturer(),
                        screens[1]->model(), screens[1]->serialNumber()});
    EXPECT_EQ(window().screen(), screens[1]);
    EXPECT_TRUE(window().windowState() & Qt::WindowFullScreen);
    clone.onScreenRemoved(screens[1]);
    ASSERT_EQ(window().screen(), screens[0]);
    clone.onScreenAdded();
    EXPECT_EQ(window().screen(), screens[1]);
    EXPECT_TRUE(window().windowState() & Qt::WindowFullScreen);
}

// With the main window filling the only screen, a clone window once lay over the middle of it,
// controls and all: it now covers the text box alone.
TEST_F(CloneScreens, aCloneWindowWithNoRoomBesideTheMainWindow_liesOverItsTextBoxOnly) {
    main.setGeometry(screens[0]->availableGeometry());
    auto* text = new QWidget(&main);
    text->setGeometry(300, 60, 600, 400);
    text->show();
    clone.setTextAreas({text});
    clone.setPlacement({ClonePlacement::Mode::Window, {}});
    clone.showBible(passage());
    const QRect box(text->mapToGlobal(QPoint(0, 0)), text->size());
    EXPECT_TRUE(box.contains(window().frameGeometry()))
        << window().frameGeometry().x() << "," << window().frameGeometry().y() << " "
        << window().frameGeometry().width() << "x" << window().frameGeometry().height();
}

} // namespace lumora::windows
