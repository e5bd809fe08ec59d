// Where the clone window goes among the screens, and the font dialog's colour table, without windows.

#include "windows/ui/colourframe.h"
#include "windows/ui/screenchoice.h"

#include <gtest/gtest.h>

#include <set>

namespace lumora::windows {

void PrintTo(const CloneTarget& t, std::ostream* os) {
    *os << (t.fullScreen ? "full screen on " : "window on ") << t.screen;
}

namespace {
using Mode = ClonePlacement::Mode;
const QStringList kTwo{"HDMI-1", "VGA-1"};
} // namespace

// automatic
TEST(CloneScreenChoice, automaticGoesFullScreenOnAScreenWithoutTheMainWindow) {
    EXPECT_EQ(chooseCloneScreen(kTwo, 0, {}), (CloneTarget{true, 1}));
    EXPECT_EQ(chooseCloneScreen(kTwo, 1, {}), (CloneTarget{true, 0}));
    EXPECT_EQ(chooseCloneScreen({"A", "B", "C"}, 1, {}), (CloneTarget{true, 0}));
}

TEST(CloneScreenChoice, oneScreenOrNoneGivesANormalWindow) {
    EXPECT_EQ(chooseCloneScreen({"A"}, 0, {}), (CloneTarget{false, 0}));
    EXPECT_EQ(chooseCloneScreen({}, 0, {}), (CloneTarget{false, 0}));
    // The main window's screen unknown: the first screen counts as the main one.
    EXPECT_EQ(chooseCloneScreen(kTwo, -1, {}), (CloneTarget{true, 1}));
    EXPECT_EQ(chooseCloneScreen(kTwo, 7, {}), (CloneTarget{true, 1}));
}

// the user's choice
TEST(CloneScreenChoice, windowModeStaysAWindowOnTheMainScreen) {
    EXPECT_EQ(chooseCloneScreen(kTwo, 1, {Mode::Window, {}}), (CloneTarget{false, 1}));
}

TEST(CloneScreenChoice, aChosenScreenIsUsedEvenWhenItHoldsTheMainWindow) {
    EXPECT_EQ(chooseCloneScreen(kTwo, 0, {Mode::Screen, "VGA-1"}), (CloneTarget{true, 1}));
    EXPECT_EQ(chooseCloneScreen(kTwo, 0, {Mode::Screen, "HDMI-1"}), (CloneTarget{true, 0}));
}

TEST(CloneScreenChoice, aChosenScreenUnpluggedFallsBackToTheScreensLeft) {
    EXPECT_EQ(chooseCloneScreen({"HDMI-1"}, 0, {Mode::Screen, "VGA-1"}), (CloneTarget{false, 0}));
    EXPECT_EQ(chooseCloneScreen({"HDMI-1", "DP-2"}, 0, {Mode::Screen, "VGA-1"}), (CloneTarget{true, 1}));
}

// the colour frame
TEST(ColourFrameTable, eachMouseEventSetsTheModesTheFrameAndTheOutline) {
    struct Row {
        PointerEvent event;
        bool text, fill, shown;
        const char* caption;
        Outline outline;
    };
    const Row rows[] = {
        {PointerEvent::OverTextColourPicture, true, false, true, "Couleur texte", Outline::Pointed},
        {PointerEvent::PressOnTextLabel, true, false, true, nullptr, Outline::TextPicture},
        {PointerEvent::OverFillPicture, false, true, true, "Couleur de fond", Outline::Pointed},
        {PointerEvent::PressOnFillLabel, false, true, true, nullptr, Outline::FillPicture},
        {PointerEvent::OverOtherPicture, false, false, false, nullptr, Outline::Pointed},
        {PointerEvent::OverForm, false, false, false, nullptr, Outline::ClearAll},
        {PointerEvent::OverListOrPreview, false, false, false, nullptr, Outline::None},
    };
    for (const Row& r : rows) {
        const ColourFrameStep s = colourFrameStep(r.event);
        SCOPED_TRACE(static_cast<int>(r.event));
        EXPECT_EQ(s.TextColourMode, r.text);
        EXPECT_EQ(s.FillColourMode, r.fill);
        EXPECT_EQ(s.frameShown, r.shown);
        EXPECT_EQ(s.caption == nullptr, r.caption == nullptr);
        if (s.caption && r.caption) {
            EXPECT_STREQ(s.caption, r.caption);
        }
        EXPECT_EQ(s.outline, r.outline);
        EXPECT_FALSE(s.TextColourMode && s.FillColourMode) << "at most one colour mode";
    }
}

TEST(ColourFrameTable, swatchesHaveTheirExactColoursAndNoTwoAlike) {
    const auto& c = swatchColours();
    EXPECT_EQ(c[0], QColor(255, 255, 255));
    EXPECT_EQ(c[5], QColor(0, 0, 0));
    EXPECT_EQ(c[8], QColor(255, 0, 0));
    EXPECT_EQ(c[17], QColor(128, 64, 64)) << "the last orange shade leans to brown";
    EXPECT_EQ(c[26], QColor(0, 255, 0));
    EXPECT_EQ(c[38], QColor(0, 0, 255));
    EXPECT_EQ(c[47], QColor(64, 0, 64));
    std::set<QRgb> distinct;
    for (const QColor& colour : c)
        distinct.insert(colour.rgb());
    EXPECT_EQ(distinct.size(), 48u);
}

} // namespace lumora::windows
