#pragma once
// Where the clone window goes: full screen on a projector, or a normal window.
//
// Screens are known by their identity (the monitor's manufacturer, model and serial where the
// platform gives them, else the output's name), never by their order, which changes when one is
// unplugged.
//   two screens, the main window on the first, automatic     -> full screen on the second
//   one screen, automatic                                    -> a window on it
//   the screen the user chose was unplugged                  -> automatic again among those left
//   the chosen projector plugged into another output         -> full screen on it again
//   the chosen screen holds the main window                  -> a window: never full screen there

#include <QList>
#include <QString>
#include <QStringList>

namespace lumora::windows {

struct ScreenIdentity {
    QString name; // the output, "HDMI-1"
    QString manufacturer, model, serial;
    bool operator==(const ScreenIdentity&) const = default;
};

struct ClonePlacement {
    enum class Mode { Automatic, Window, Screen };
    Mode mode = Mode::Automatic;
    QString screenName; // for Mode::Screen: the chosen screen, its output's name
    QString manufacturer = {}, model = {}, serial = {};
    ScreenIdentity screen() const { return {screenName, manufacturer, model, serial}; }
    bool operator==(const ClonePlacement&) const = default;
};

// The placement as one line of the user's settings and back ("" is automatic):
//   "screen\tHDMI-1\tAcme\tP-100\tA1B2"; a line that cannot be read gives automatic.
QString placementText(const ClonePlacement& placement);
ClonePlacement placementFromText(const QString& text);

// The screen of `screens` that is the one chosen: the same monitor (manufacturer, model and
// serial) on whichever output; without a serial the same model on the same output, or the only
// one of that model; without a model, the output's name. -1 when none is.
int findScreen(const QList<ScreenIdentity>& screens, const ScreenIdentity& chosen);

struct CloneTarget {
    bool fullScreen = false;
    int screen = 0; // index into the screens given; the main window's screen for a normal window
    bool operator==(const CloneTarget&) const = default;
};

// `screens` in the platform's order; `mainScreen` the index of the one holding the main window
// (out of range counts as the first).
CloneTarget chooseCloneScreen(const QStringList& screens, int mainScreen, const ClonePlacement& placement);
CloneTarget chooseCloneScreen(const QList<ScreenIdentity>& screens, int mainScreen,
                              const ClonePlacement& placement);

} // namespace lumora::windows
