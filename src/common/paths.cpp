#include "common/paths.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#endif

namespace lumora::common {

QString findPath(const QString& base, const QStringList& parts) {
    QString path = base;
    while (path.size() > 1 && path.endsWith(QLatin1Char('/')))
        path.chop(1);
    bool searching = true;
    for (const QString& part : parts) {
        QString next = path + QLatin1Char('/') + part;
        if (searching && !QFileInfo::exists(next)) {
            searching = false;
            const QDir dir(path);
            if (dir.exists()) {
                const QStringList names =
                    dir.entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
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
#ifdef Q_OS_UNIX
    // stat() itself, so that a FIFO, socket or device never passes for a file.
    struct stat st {};
    return ::stat(QFile::encodeName(path).constData(), &st) == 0 && S_ISREG(st.st_mode);
#else
    const QFileInfo fi(path);
    return fi.exists() && fi.isFile();
#endif
}

bool folderExists(const QString& path) {
    return QFileInfo(path).isDir();
}

bool folderHasFile(const QString& path) {
    const QDir dir(path);
    if (!dir.exists()) return false;
    const QStringList names = dir.entryList(QDir::Files | QDir::Hidden | QDir::System);
    return std::any_of(names.cbegin(), names.cend(),
                       [&dir](const QString& name) { return fileExists(dir.filePath(name)); });
}

} // namespace lumora::common
