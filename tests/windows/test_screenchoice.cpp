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

TEST(CloneScreenChoice, automaticGoesFullScreenAwayFromTheMainWindow_aChoiceIsKeptWhilePluggedIn) {
    const struct {
        const char* name;
        QStringList screens;
        int mainScreen;
        ClonePlacement placement;
        CloneTarget target;
    } cases[] = {
        {"automatic, main on the first", kTwo, 0, {}, {true, 1}},
        {"automatic, main on the second", kTwo, 1, {}, {true, 0}},
        {"automatic, three screens", {"A", "B", "C"}, 1, {}, {true, 0}},
        {"one screen", {"A"}, 0, {}, {false, 0}},
        {"no screen", {}, 0, {}, {false, 0}},
        // the main window's screen unknown: the first screen counts as the main one
        {"main screen unknown", kTwo, -1, {}, {true, 1}},
        {"main screen out of range", kTwo, 7, {}, {true, 1}},
        {"window mode stays on the main screen", kTwo, 1, {Mode::Window, {}}, {false, 1}},
        {"chosen screen", kTwo, 0, {Mode::Screen, "VGA-1"}, {true, 1}},
        {"chosen screen holding the main window", kTwo, 0, {Mode::Screen, "HDMI-1"}, {true, 0}},
        {"chosen screen unplugged, one left", {"HDMI-1"}, 0, {Mode::Screen, "VGA-1"}, {false, 0}},
        {"chosen screen unplugged, two left", {"HDMI-1", "DP-2"}, 0, {Mode::Screen, "VGA-1"}, {true, 1}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(chooseCloneScreen(c.screens, c.mainScreen, c.placement), c.target) << c.name;
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

TEST(ColourFrameTable, swatchesAreAllDistinct_andTheLastOrangeIsBrown) {
    const auto& c = swatchColours();
    EXPECT_EQ(c[17], QColor(128, 64, 64)) << "the last orange shade leans to brown";
    std::set<QRgb> distinct;
    for (const QColor& colour : c)
        distinct.insert(colour.rgb());
    EXPECT_EQ(distinct.size(), 48u);
}

} // namespace lumora::windows
