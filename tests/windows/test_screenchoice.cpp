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
        // Full screen over the main window hid the controls that could bring it back.
        {"chosen screen holding the main window", kTwo, 0, {Mode::Screen, "HDMI-1"}, {false, 0}},
        {"chosen screen unplugged, one left", {"HDMI-1"}, 0, {Mode::Screen, "VGA-1"}, {false, 0}},
        {"chosen screen unplugged, two left", {"HDMI-1", "DP-2"}, 0, {Mode::Screen, "VGA-1"}, {true, 1}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(chooseCloneScreen(c.screens, c.mainScreen, c.placement), c.target) << c.name;
}

TEST(CloneScreenChoice, theChosenMonitorIsFoundByItsIdentity_whateverTheOutputsOrder) {
    const ScreenIdentity laptop{"eDP-1", "Lenovo", "LP140", ""};
    const ScreenIdentity projector{"HDMI-1", "Epson", "EB-X41", "X4K1"};
    const ScreenIdentity twin{"DP-1", "Epson", "EB-X41", "Z999"};
    const ScreenIdentity plain{"VGA-1", "", "", ""};
    const ClonePlacement chosen{Mode::Screen, "HDMI-1", "Epson", "EB-X41", "X4K1"};
    const ClonePlacement noSerial{Mode::Screen, "HDMI-1", "Epson", "EB-X41", ""};
    const auto moved = [](ScreenIdentity s, const char* name) {
        s.name = QString::fromLatin1(name);
        return s;
    };
    const struct {
        const char* name;
        QList<ScreenIdentity> screens;
        ClonePlacement placement;
        int found;
    } cases[] = {
        {"plugged in as before", {laptop, projector}, chosen, 1},
        {"screens listed the other way round", {projector, laptop}, chosen, 0},
        {"plugged into another output", {laptop, moved(projector, "DP-2")}, chosen, 1},
        {"another monitor of the model is not it", {laptop, twin}, chosen, -1},
        {"the right one beside its twin", {laptop, twin, projector}, chosen, 2},
        {"unplugged", {laptop}, chosen, -1},
        {"no serial: the model on its output", {laptop, twin, projector}, noSerial, 2},
        {"no serial: the only one of the model", {laptop, moved(projector, "DP-3")}, noSerial, 1},
        {"no serial, two of the model, moved", {moved(twin, "DP-3"), moved(projector, "DP-4")}, noSerial, -1},
        {"a monitor that says nothing: its output", {laptop, plain}, {Mode::Screen, "VGA-1"}, 1},
        {"another monitor on the chosen output", {laptop, moved(twin, "HDMI-1")}, chosen, -1},
    };
    for (const auto& c : cases)
        EXPECT_EQ(findScreen(c.screens, c.placement.screen()), c.found) << c.name;
    EXPECT_EQ(chooseCloneScreen(QList<ScreenIdentity>{projector, laptop}, 1, chosen), (CloneTarget{true, 0}));
}

TEST(CloneScreenChoice, thePlacementIsKeptAsALineAndReadBack) {
    const ClonePlacement cases[] = {
        {},
        {Mode::Window, {}},
        {Mode::Screen, "HDMI-1", "Epson", "EB-X41", "X4K1"},
        {Mode::Screen, "VGA-1", "", "", ""},
    };
    for (const ClonePlacement& p : cases)
        EXPECT_EQ(placementFromText(placementText(p)), p) << placementText(p).toStdString();
    // malformed input
    for (const char* text : {"screen", "screen\t\t\t\t", "projector", "window\textra\t"})
        EXPECT_EQ(placementFromText(QString::fromLatin1(text)).mode,
                  QString::fromLatin1(text).startsWith("window") ? Mode::Window : Mode::Automatic)
            << text;
    EXPECT_FALSE(placementText({Mode::Screen, "A\tB", "", "", ""}).contains("A\tB"))
        << "a tab never splits a field";
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
        EXPECT_STREQ(s.caption, r.caption); // both none, or the same words
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
