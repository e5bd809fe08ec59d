#pragma once
// The user's own settings, kept beside the path file (`$XDG_CONFIG_HOME/LMR/Lumora.conf`): one
// "Name=value" line each, CR LF. Only what must hold across starts lives here, written at the
// moment the user changes it. Lines this version does not know are kept as they are.
//
//   BibleAudioMuted=1      the Bible audio stays off from the start (a projector computer that
//                          starts unattended stays silent)

#include <QString>

namespace lumora::session {

struct UserSettings {
    bool bibleAudioMuted = false;
    bool operator==(const UserSettings&) const = default;
};

// Defaults when the file is missing or a line cannot be read.
UserSettings LoadUserSettings(const QString& path);

// Rewrites the file whole (creating its folder); false when it could not be written.
bool StoreUserSettings(const QString& path, const UserSettings& settings);

} // namespace lumora::session
