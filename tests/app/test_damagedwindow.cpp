// The main window started offscreen on damaged copies of a sound data folder: its load runs to
// the end on every one (a crash or a hang fails the suite). LUMORA_DAMAGED_FOLDERS sets the count
// (30 by default).

#include "support/damagedfolder.h"
#include "support/mainwindow.h"

#include <cstdio>

using namespace lumora::testing;

TEST(DamagedWindow, loadRunsToTheEndOnEveryDamagedFolder) {
    const int asked = qEnvironmentVariableIntValue("LUMORA_DAMAGED_FOLDERS");
    const int folders = asked > 0 ? asked : 30;
    std::mt19937 rng(61206);
    int loaded = 0, told = 0;
    for (int f = 0; f < folders; ++f) {
        MainWindowHarness h;
        writeSoundFolder(h.data.path());
        const QStringList harm = damageFolder(h.data.path(), rng, 1 + f % 3);
        SCOPED_TRACE(harm.join("; ").toStdString());
        if (h.open()) ++loaded;
        told += static_cast<int>(h.prompts.asked.size());
        h.window.reset();
    }
    std::printf("[ damaged window ] %d folders: %d loaded, %d messages shown, 0 crashes, 0 hangs\n", folders,
                loaded, told);
    SUCCEED();
}
