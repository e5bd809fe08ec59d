#include "import/swordreader.h"

#include <QFile>
#include <QFileInfo>

#include <dlfcn.h>

namespace lumora::import {

namespace {

using ReadFunction = void (*)(const QString&, const std::function<void(const ImportedBook&)>&,
                              SwordReadResult&);
using ListFunction = void (*)(QStringList&);

// The plugin beside the running program ("/usr/bin/lumora-cli" -> "/usr/bin/lumora-sword.so").
QString pluginPath() {
    const QString exe = QFile::symLinkTarget(QStringLiteral("/proc/self/exe"));
    return QFileInfo(exe).absolutePath() + QLatin1Char('/') + kSwordPluginName;
}

// The plugin's entry point `symbol`. The plugin is loaded once and never unloaded: libsword keeps
// static state that must outlive every caller.
void* pluginFunction(const char* symbol, QString* error) {
    static QString failure;
    static void* const handle = []() -> void* {
        void* h = dlopen(QFile::encodeName(pluginPath()).constData(), RTLD_NOW | RTLD_LOCAL);
        if (!h)
            failure =
                QStringLiteral("the SWORD reader cannot be loaded: ") + QString::fromLocal8Bit(dlerror());
        return h;
    }();
    if (!handle) {
        *error = failure;
        return nullptr;
    }
    void* found = dlsym(handle, symbol);
    if (!found) *error = QStringLiteral("the SWORD reader is not usable: ") + pluginPath();
    return found;
}

} // namespace

SwordReadResult readSwordModule(const QString& moduleName,
                                const std::function<void(const ImportedBook&)>& onBook) {
    SwordReadResult result;
    const auto read = reinterpret_cast<ReadFunction>(pluginFunction("lumoraReadSwordModule", &result.error));
    if (read) read(moduleName, onBook, result);
    return result;
}

std::optional<QStringList> listSwordBibles(QString* error) {
    const auto list = reinterpret_cast<ListFunction>(pluginFunction("lumoraListSwordBibles", error));
    if (!list) return std::nullopt;
    QStringList lines;
    list(lines);
    return lines;
}

} // namespace lumora::import
