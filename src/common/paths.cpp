#include "common/paths.h"

#include <QDir>
#include <QFileInfo>

namespace lumora::common {

QString findPath(const QString& base, const QStringList& parts) {
    QString path = base;
    while (path.size() > 1 && path.endsWith(QLatin1Char('/'))) path.chop(1);
    bool searching = true;
    for (const QString& part : parts) {
        QString next = path + QLatin1Char('/') + part;
        if (searching && !QFileInfo::exists(next)) {
            searching = false;
            const QDir dir(path);
            if (dir.exists()) {
                const QStringList names = dir.entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
                for (const QString& name : names) {
                    if (name.compare(part, Qt::CaseInsensitive) == 0) {
                        next = path + QLatin1Char('/') + name;
                        searching = true;
                        break;
                    }
                }
            }
        }
        path = next;
    }
    return path;
}

bool fileExists(const QString& path) {
    const QFileInfo fi(path);
    return fi.exists() && fi.isFile();
}

bool folderExists(const QString& path) { return QFileInfo(path).isDir(); }

bool folderHasFile(const QString& path) {
    const QDir dir(path);
    if (!dir.exists()) return false;
    return !dir.entryList(QDir::Files | QDir::Hidden | QDir::System).isEmpty();
}

} // namespace lumora::common
