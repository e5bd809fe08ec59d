#include "session/datapath.h"

#include "common/atomicfile.h"
#include "common/lines.h"
#include "common/paths.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace lumora::session {

DataPathLocations defaultLocations() {
#ifdef Q_OS_WIN
    return {QStringLiteral("C:/LMR/Lumora.path"), QStringLiteral("C:\\LMR\\Lumora"),
            QStringLiteral("C:/LMR/Lumora.conf")};
#else
    auto xdg = [](const char* var, const QString& fallback) {
        const QString v = qEnvironmentVariable(var);
        return v.isEmpty() ? fallback : v;
    };
    const QString home = QDir::homePath();
    const QString config = xdg("XDG_CONFIG_HOME", home + QStringLiteral("/.config"));
    const QString data = xdg("XDG_DATA_HOME", home + QStringLiteral("/.local/share"));
    return {config + QStringLiteral("/LMR/Lumora.path"), data + QStringLiteral("/LMR/Lumora"),
            config + QStringLiteral("/LMR/Lumora.conf")};
#endif
}

bool isUsableDataFolder(const QString& folder) {
    if (folder.isEmpty()) return false;
    return common::folderHasFile(common::findPath(folder, {QStringLiteral("Bible")}));
}

QString ResolveDataPath(const DataPathLocations& where) {
    if (!QFileInfo::exists(where.pathFile)) {
        QDir().mkpath(QFileInfo(where.pathFile).absolutePath());
        common::writeFileAtomic(where.pathFile, QFile::encodeName(where.defaultFolder) + "\r\n");
    }
    const auto bytes = common::readWholeFile(where.pathFile);
    if (!bytes) return {};
    QString found;
    common::LineSplitter lines(*bytes);
    QByteArray line;
    while (lines.next(line)) {
        const QString folder = QFile::decodeName(line);
        if (isUsableDataFolder(folder)) found = folder;
    }
    return found;
}

bool StoreDataPath(const DataPathLocations& where, const QString& folder) {
    if (!QFileInfo::exists(where.pathFile)) return false;
    return common::writeFileAtomic(where.pathFile, QFile::encodeName(folder) + "\r\n");
}

} // namespace lumora::session
