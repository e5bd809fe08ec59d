#include "platform/shell.h"

#include <QDir>

namespace lumora::platform {

ShellResult Shell::openIn(const QString& directory, const QString& file) {
    return open(directory.isEmpty() ? file : QDir(directory).filePath(file));
}

} // namespace lumora::platform
