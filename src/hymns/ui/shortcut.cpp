#include "hymns/ui/shortcut.h"

#include "common/paths.h"

#include <QDir>
#include <QFileInfo>

// liblnk.h pulls in libbfio.h for its file-io-handle functions, whose headers Debian ships in a
// separate package; we only open shortcuts by name, so that part of the header is left out.
#include <liblnk/features.h>
#undef LIBLNK_HAVE_BFIO
#include <liblnk.h>

#include <vector>

namespace lumora::hymns {

namespace {

using SizeGetter = int (*)(liblnk_file_t*, size_t*, liblnk_error_t**);
using TextGetter = int (*)(liblnk_file_t*, uint8_t*, size_t, liblnk_error_t**);

QString readText(liblnk_file_t* file, SizeGetter sizeOf, TextGetter get) {
    liblnk_error_t* error = nullptr;
    size_t size = 0;
    QString out;
    if (sizeOf(file, &size, &error) == 1 && size > 0) {
        std::vector<uint8_t> buf(size);
        // Read no further than the buffer, whether or not the shortcut's text ends in a NUL.
        if (get(file, buf.data(), size, &error) == 1) {
            const char* text = reinterpret_cast<const char*>(buf.data());
            out = QString::fromUtf8(text, static_cast<qsizetype>(qstrnlen(text, size)));
        }
    }
    if (error) liblnk_error_free(&error);
    return out;
}

// A Windows path under `base`, each component found without regard to case.
QString localise(const QString& base, const QString& windowsPath) {
    QString p = windowsPath;
    p.replace(QLatin1Char('\\'), QLatin1Char('/'));
    const QStringList parts = p.split(QLatin1Char('/'), Qt::SkipEmptyParts);
    return common::findPath(base, parts);
}

} // namespace

QString ResolveShortcut(const QString& folder, const QString& name) {
    const QString lnk = common::findPath(folder, {name + QStringLiteral(".lnk")});
    if (!common::fileExists(lnk)) return {};

    liblnk_file_t* file = nullptr;
    liblnk_error_t* error = nullptr;
    if (liblnk_file_initialize(&file, &error) != 1) {
        liblnk_error_free(&error);
        return {};
    }
    QString relative, local;
    if (liblnk_file_open(file, QFile::encodeName(lnk).constData(), LIBLNK_OPEN_READ, &error) == 1) {
        relative =
            readText(file, liblnk_file_get_utf8_relative_path_size, liblnk_file_get_utf8_relative_path);
        local = readText(file, liblnk_file_get_utf8_local_path_size, liblnk_file_get_utf8_local_path);
        liblnk_file_close(file, &error);
    }
    if (error) liblnk_error_free(&error);
    liblnk_file_free(&file, nullptr);

    if (!relative.isEmpty()) {
        const QString target = localise(QFileInfo(lnk).absolutePath(), relative);
        if (common::fileExists(target)) return QDir::cleanPath(target);
    }
    if (local.isEmpty()) return {};
    QString converted = local;
    converted.replace(QLatin1Char('\\'), QLatin1Char('/'));
    if (converted.startsWith(QLatin1Char('/'))) return QDir::cleanPath(localise(QString(), converted));
    return converted;
}

} // namespace lumora::hymns
