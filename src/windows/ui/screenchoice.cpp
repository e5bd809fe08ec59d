#include "windows/ui/screenchoice.h"

namespace lumora::windows {

CloneTarget chooseCloneScreen(const QStringList& screens, int mainScreen, const ClonePlacement& placement) {
    if (mainScreen < 0 || mainScreen >= screens.size()) mainScreen = 0;
    const CloneTarget window{false, mainScreen};
    if (screens.isEmpty() || placement.mode == ClonePlacement::Mode::Window) return window;
    if (placement.mode == ClonePlacement::Mode::Screen) {
        const int chosen = static_cast<int>(screens.indexOf(placement.screenName));
        if (chosen >= 0) return {true, chosen};
    }
    for (int i = 0; i < screens.size(); ++i)
        if (i != mainScreen) return {true, i};
    return window;
}

} // namespace lumora::windows
