#include "import/swordreader.h"

#include <QFile>
#include <QFileInfo>

#include <dlfcn.h>

namespace lumora::import {

namespace {

using ReadFunction = void (*)(const QString&, const std::function<void(const ImportedBook&)>&,
                              SwordReadResult&);

// The plugin beside the running program ("/usr/bin/lumora-cli" -> "/usr/bin/lumora-sword.so").
QString pluginPath() {
    const QString exe = QFile::symLinkTarget(QStringLiteral("/proc/self/exe"));
    return QFileInfo(exe).absolutePath() + QLatin1Char('/') + kSwordPluginName;
}

// Loaded once and never unloaded: libsword keeps static state that must outlive every caller.
ReadFunction loadReader(QString* error) {
    static QString failure;
    static const ReadFunction reader = []() -> ReadFunction {
        const QString path = pluginPath();
        void* handle = dlopen(QFile::encodeName(path).constData(), RTLD_NOW | RTLD_LOCAL);
        if (!handle) {
            failure =
                QStringLiteral("the SWORD reader cannot be loaded: ") + QString::fromLocal8Bit(dlerror());
            return nullptr;
        }
        auto* found = reinterpret_cast<ReadFunction>(dlsym(handle, "lumoraReadSwordModule"));
        if (!found) failure = QStringLiteral("the SWORD reader is not usable: ") + path;
        return found;
    }();
    if (!reader) *error = failure;
    return reader;
}

} // namespace

SwordReadResult readSwordModule(const QString& moduleName,
                                const std::function<void(const ImportedBook&)>& onBook) {
    SwordReadResult result;
    const ReadFunction read = loadReader(&result.error);
    if (read) read(moduleName, onBook, result);
    return result;
}

} // namespace lumora::import
