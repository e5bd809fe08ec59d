#pragma once
// Windows shortcuts (.lnk) in a hymn book's Video folder.

#include <QByteArrayView>
#include <QString>

namespace lumora::hymns {

// The target of the shortcut folder/name + ".lnk" (the name found without regard to case).
// The shortcut's relative path is tried against the shortcut's own folder first, so a data
// folder copied elsewhere still works; then its absolute (local) path. "\" separators become
// "/" and each component is found without regard to case. When neither target exists the
// local path is returned as converted (opening it then reports the missing file); "" when the
// shortcut is missing or unreadable.
// A shortcut larger than 1 MiB, or whose sizes do not fit its bytes, is unreadable.
QString ResolveShortcut(const QString& folder, const QString& name);

// True when every size a shell link's structures give (item list, link information, the counted
// texts, the extra data blocks) stays within `link`, and its header is a shell link header.
bool ShellLinkSizesFit(QByteArrayView link);

} // namespace lumora::hymns
