#pragma once
// Paths inside the data folder. Data folders are prepared on Windows, where names are matched
// without regard to letter case; on Linux each component is looked up the same way.

#include <QString>
#include <QStringList>

namespace lumora::common {

// base + "/" + the parts, each part found in its folder without regard to letter case when the
// exact name is missing. A part that matches nothing is kept as written, so the result is then
// the path a new file of that name would get. findPath("/d", {"bible", "version.txt"}) ->
// "/d/Bible/Version.txt" when those exist.
QString findPath(const QString& base, const QStringList& parts);

bool fileExists(const QString& path); // an ordinary file (or a link to one); never a FIFO or device
bool folderExists(const QString& path);
// True when the folder lists at least one ordinary file (sub-folders, FIFOs and devices do not
// count).
bool folderHasFile(const QString& path);

} // namespace lumora::common
