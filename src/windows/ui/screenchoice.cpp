#include "windows/ui/screenchoice.h"

namespace lumora::windows {

namespace {
QString field(QString text) {
    return text.remove(u'\t').remove(u'\r').remove(u'\n');
}
} // namespace

QString placementText(const ClonePlacement& p) {
    switch (p.mode) {
    case ClonePlacement::Mode::Automatic:
        return {};
    case ClonePlacement::Mode::Window:
        return QStringLiteral("window");
    case ClonePlacement::Mode::Screen:
        break;
    }
    return QStringList{QStringLiteral("screen"), field(p.screenName), field(p.manufacturer), field(p.model),
                       field(p.serial)}
        .join(u'\t');
}

ClonePlacement placementFromText(const QString& text) {
    const QStringList f = text.split(u'\t');
    if (f.value(0) == QLatin1String("window")) return {ClonePlacement::Mode::Window, {}};
    if (f.value(0) == QLatin1String("screen") && f.size() == 5 && !(f[1].isEmpty() && f[3].isEmpty()))
        return {ClonePlacement::Mode::Screen, f[1], f[2], f[3], f[4]};
    return {};
}

int findScreen(const QList<ScreenIdentity>& screens, const ScreenIdentity& chosen) {
    const auto sameModel = [&](const ScreenIdentity& s) {
        return !chosen.model.isEmpty() && s.model == chosen.model && s.manufacturer == chosen.manufacturer;
    };
    if (!chosen.serial.isEmpty())
        for (int i = 0; i < screens.size(); ++i)
            if (sameModel(screens[i]) && screens[i].serial == chosen.serial) return i;
    if (!chosen.model.isEmpty()) {
        int only = -1, count = 0;
        for (int i = 0; i < screens.size(); ++i) {
            if (!sameModel(screens[i])) continue;
            // Another monitor of the model (its serial differs) is not the one chosen.
            if (!chosen.serial.isEmpty() && !screens[i].serial.isEmpty()) continue;
            if (screens[i].name == chosen.name) return i;
            only = i;
            ++count;
        }
        return count == 1 ? only : -1;
    }
    for (int i = 0; i < screens.size(); ++i)
        if (screens[i].name == chosen.name) return i;
    return -1;
}

CloneTarget chooseCloneScreen(const QStringList& screens, int mainScreen, const ClonePlacement& placement) {
    QList<ScreenIdentity> identities;
    for (const QString& name : screens)
        identities.append({name, {}, {}, {}});
    return chooseCloneScreen(identities, mainScreen, placement);
}

CloneTarget chooseCloneScreen(const QList<ScreenIdentity>& screens, int mainScreen,
                              const ClonePlacement& placement) {
    if (mainScreen < 0 || mainScreen >= screens.size()) mainScreen = 0;
    const CloneTarget window{false, mainScreen};
    if (screens.isEmpty() || placement.mode == ClonePlacement::Mode::Window) return window;
    if (placement.mode == ClonePlacement::Mode::Screen) {
        const int chosen = findScreen(screens, placement.screen());
        // Full screen over the main window would hide the controls that bring it back.
        if (chosen == mainScreen) return window;
        if (chosen >= 0) return {true, chosen};
    }
    for (int i = 0; i < screens.size(); ++i)
        if (i != mainScreen) return {true, i};
    return window;
}

} // namespace lumora::windows
