#pragma once
// Where the data folder is remembered, and how it is found at start-up.
//
// The path file holds one folder per line; the last line that names a usable folder wins.
// A folder is usable when its "Bible" sub-folder lists at least one ordinary file.

#include <QString>

namespace lumora::session {

struct DataPathLocations {
    QString pathFile;          // the path file
    QString defaultFolder;     // the line written into a new path file
    QString settingsFile = {}; // the user's settings (usersettings.h); "" keeps none
};

// Linux: $XDG_CONFIG_HOME/LMR/Lumora.path and $XDG_DATA_HOME/LMR/Lumora (with the XDG defaults);
// Windows: C:\LMR\Lumora.path and C:\LMR\Lumora.
DataPathLocations defaultLocations();

bool isUsableDataFolder(const QString& folder);

// Creates the path file with the default folder when it is missing (failures are skipped), then
// returns the last usable line exactly as read, or an empty text when no line is usable.
QString ResolveDataPath(const DataPathLocations& where);

// Replaces the path file's content by the single line `folder` (atomically), only when the path
// file exists. False when it is missing or the write failed.
bool StoreDataPath(const DataPathLocations& where, const QString& folder);

} // namespace lumora::session
