#include "hymns/shortcut.h"

#include "common/lines.h"
#include "common/paths.h"

#include <QDir>
#include <QFileInfo>

// liblnk.h pulls in libbfio.h for its file-io-handle functions, whose headers Debian ships in a
// separate package; we only open shortcuts by name, so that part of the header is left out.
#include <liblnk/features.h>
#undef LIBLNK_HAVE_BFIO
#include <liblnk.h>

#include <QtEndian>

#include <vector>

namespace lumora::hymns {

bool ShellLinkSizesFit(QByteArrayView link) {
    const qsizetype size = link.size();
    qsizetype at = 0;
    auto has = [&](qsizetype n) { return n >= 0 && n <= size - at; };
    auto u16 = [&] { return qFromLittleEndian<quint16>(link.data() + at); };
    auto u32 = [&] { return qFromLittleEndian<quint32>(link.data() + at); };

    if (!has(0x4C) || u32() != 0x4C) return false;
    const quint32 flags = qFromLittleEndian<quint32>(link.data() + 0x14);
    at = 0x4C;
    if (flags & 0x1) { // LinkTargetIDList: its size, then the items
        if (!has(2)) return false;
        const qsizetype ids = u16();
        at += 2;
        if (!has(ids)) return false;
        at += ids;
    }
    if (flags & 0x2) { // LinkInfo: a size that counts itself
        if (!has(4)) return false;
        const qint64 info = u32();
        if (info < 4 || !has(qsizetype(info))) return false;
        at += qsizetype(info);
    }
    const qsizetype unit = (flags & 0x80) ? 2 : 1;
    for (const quint32 text : {0x4u, 0x8u, 0x10u, 0x20u, 0x40u}) { // name, relative path, ...
        if (!(flags & text)) continue;
        if (!has(2)) return false;
        const qsizetype chars = u16();
        at += 2;
        if (!has(chars * unit)) return false;
        at += chars * unit;
    }
    while (has(4)) { // extra data blocks, up to the terminal block (a size below 4)
        const qint64 block = u32();
        if (block < 4) return true;
        if (!has(qsizetype(block))) return false;
        at += qsizetype(block);
    }
    return true;
}

namespace {

// Real shortcuts are a few kilobytes.
constexpr qsizetype kMaxShortcutBytes = 1 << 20;

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
    // liblnk allocates what a damaged size field asks for (up to 4 GB) before it finds that the
    // file is shorter, so sizes are checked against the file first.
    const auto bytes = common::readWholeFile(lnk, kMaxShortcutBytes);
    if (!bytes || !ShellLinkSizesFit(*bytes)) return {};

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
