#pragma once
// The user's own settings, kept beside the path file (`$XDG_CONFIG_HOME/LMR/Lumora.conf`): one
// "Name=value" line each, CR LF. Only what must hold across starts lives here, written at the
// moment the user changes it. Lines this version does not know are kept as they are.
//
//   BibleAudioMuted=1      the Bible audio stays off from the start (a projector computer that
//                          starts unattended stays silent)
//   CloneVerses=1          the clone shows the passage verse by verse
//   CloneSideBySide=1      a second version stands beside the first on the clone (else under it)
//   CloneLogo=/path.png    the picture the clone's logo key shows
//   CloneScreen=...        where the clone opens: "window", or the chosen screen by identity
//   CloneAlsoShow=RV1909   the second version the clone shows with each verse ("also show:")
//
// Each part of the program changes its own fields: load, change, store (UpdateUserSettings).

#include <QString>

namespace lumora::session {

struct UserSettings {
    bool bibleAudioMuted = false;
    bool cloneVerses = false;
    bool cloneSideBySide = false;
    QString cloneLogo = {};
    QString cloneScreen = {};   // "" automatic
    QString cloneAlsoShow = {}; // a version's code; "" none
    bool operator==(const UserSettings&) const = default;
};

// Defaults when the file is missing or a line cannot be read.
UserSettings LoadUserSettings(const QString& path);

// Rewrites the file whole (creating its folder); false when it could not be written.
bool StoreUserSettings(const QString& path, const UserSettings& settings);

// Loads the settings, lets `change` edit them and stores them: the other fields keep their values.
template <class Change> bool UpdateUserSettings(const QString& path, Change change) {
    UserSettings s = LoadUserSettings(path);
    change(s);
    return StoreUserSettings(path, s);
}

} // namespace lumora::session
