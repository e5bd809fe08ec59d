#include "platform/shell.h"

#include <QDir>
#include <QFileInfo>

namespace lumora::platform {

QString Shell::fileIn(const QString& directory, const QString& file) {
    if (file.isEmpty()) return {};
    const QString path = QDir(directory.isEmpty() ? QDir::currentPath() : directory).absoluteFilePath(file);
    return QFileInfo(path).isFile() ? path : QString();
}

bool Shell::canOpen(const QString& path) {
    return QFileInfo(path).isFile();
}

ShellResult Shell::openIn(const QString& directory, const QString& file) {
    const QString path = fileIn(directory, file);
    return path.isEmpty() ? ShellResult::NotFound : open(path);
}

} // namespace lumora::platform
