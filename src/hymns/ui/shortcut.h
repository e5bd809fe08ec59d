#pragma once
// Windows shortcuts (.lnk) in a hymn book's Video folder.

#include <QString>

namespace lumora::hymns {

// The target of the shortcut folder/name + ".lnk" (the name found without regard to case).
// The shortcut's relative path is tried against the shortcut's own folder first, so a data
// folder copied elsewhere still works; then its absolute (local) path. "\" separators become
// "/" and each component is found without regard to case. When neither target exists the
// local path is returned as converted (opening it then reports the missing file); "" when the
// shortcut is missing or unreadable.
QString ResolveShortcut(const QString& folder, const QString& name);

} // namespace lumora::hymns
