#pragma once
// Where the clone window goes: full screen on a projector, or a normal window.
//
// Screens are known by name, because their order changes when one is unplugged.
//   two screens, the main window on the first, automatic     -> full screen on the second
//   one screen, automatic                                    -> a window on it
//   the screen the user chose was unplugged                  -> automatic again among those left

#include <QString>
#include <QStringList>

namespace lumora::windows {

struct ClonePlacement {
    enum class Mode { Automatic, Window, Screen };
    Mode mode = Mode::Automatic;
    QString screenName; // for Mode::Screen
};

struct CloneTarget {
    bool fullScreen = false;
    int screen = 0; // index into the screens given; the main window's screen for a normal window
    bool operator==(const CloneTarget&) const = default;
};

// `screens` in the platform's order; `mainScreen` the index of the one holding the main window
// (out of range counts as the first).
CloneTarget chooseCloneScreen(const QStringList& screens, int mainScreen, const ClonePlacement& placement);

} // namespace lumora::windows
