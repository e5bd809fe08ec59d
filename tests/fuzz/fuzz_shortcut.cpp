// Feeds arbitrary bytes to the shortcut reader as a hymn's "Video/<name>.lnk": liblnk parses the
// shell link and its relative and local paths are looked up under the book's folder, where a few
// files and folders exist so that lookups can succeed.

#include "hymns/shortcut.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>

using namespace lumora;

namespace {

struct ShortcutFolder {
    QTemporaryDir dir;
    QString video;
    ShortcutFolder() {
        video = dir.path() + QStringLiteral("/Book/Video");
        QDir().mkpath(video);
        QDir().mkpath(dir.path() + QStringLiteral("/Clips"));
        for (const char* name : {"/Book/Video/12.mp4", "/Clips/Gloria.AVI"}) {
            QFile f(dir.path() + QLatin1String(name));
            if (f.open(QIODevice::WriteOnly)) f.write("video");
        }
    }
};

ShortcutFolder* g_folder = nullptr;

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    g_folder = new ShortcutFolder;
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    {
        QFile f(g_folder->video + QStringLiteral("/1.lnk"));
        if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate)) return 0;
        f.write(reinterpret_cast<const char*>(data), static_cast<qint64>(size));
    }
    const QString target = hymns::ResolveShortcut(g_folder->video, QStringLiteral("1"));
    // Whatever the shortcut holds, what comes back is a path in our own form.
    if (target.contains(QLatin1Char('\\')) || target.contains(QChar(0))) {
        std::fprintf(stderr, "target keeps a Windows separator or a NUL: %s\n", qPrintable(target));
        std::abort();
    }
    return 0;
}
