#include "lists/listfile.h"

#include "common/atomicfile.h"
#include "common/lines.h"
#include "common/paths.h"
#include "common/text.h"

#include <QDir>
#include <QFileInfo>

namespace lumora::lists {

using common::kBom;

namespace {
const QByteArray kCrLf("\r\n");

QByteArray newFileBytes(const QString& path, const QByteArray& content) {
    QByteArray bytes;
    if (path.right(3).toUpper() == QLatin1String("TXT")) bytes.append(kBom);
    bytes.append(content).append(kCrLf);
    return bytes;
}
} // namespace

QList<QByteArray> readListEntries(const QByteArray& bytes) {
    // common::LineSplitter also ends a line at a lone LF; list files do not, so they get their
    // own loop.
    QList<QByteArray> entries;
    qsizetype pos = common::startsWithBom(bytes) ? 3 : 0;
    const qsizetype size = bytes.size();
    while (pos < size) {
        qsizetype cr = bytes.indexOf('\r', pos);
        if (cr < 0) cr = size;
        if (cr > pos) entries.append(bytes.mid(pos, cr - pos));
        pos = cr + 1;
        if (pos < size && bytes.at(pos) == '\n') ++pos;
    }
    return entries;
}

std::optional<QStringList> readListFile(const QString& path) {
    if (!common::fileExists(path)) return std::nullopt;
    const auto bytes = common::readWholeFile(path);
    if (!bytes) return std::nullopt;
    QStringList rows;
    for (const QByteArray& e : readListEntries(*bytes))
        rows.append(common::Utf8Decode(e));
    return rows;
}

LoadedList loadListFile(const QString& path, bool hymnEntries) {
    LoadedList out;
    const common::FileRead read = common::readFile(path);
    if (!read.bytes) {
        out.unreadable = read.failure != common::ReadFailure::Missing;
        return out;
    }
    for (const QByteArray& e : readListEntries(*read.bytes)) {
        if (hymnEntries && !e.contains('\t')) {
            ++out.rejectedLines;
            continue;
        }
        out.rows.append(common::Utf8Decode(e));
    }
    return out;
}

QByteArray joinEntries(const QStringList& rows, bool crAfterLast) {
    QByteArray out;
    for (qsizetype i = 0; i < rows.size(); ++i) {
        if (i > 0) out.append('\r');
        out.append(common::Utf8Encode(rows.at(i)));
    }
    if (crAfterLast && !rows.isEmpty()) out.append('\r');
    return out;
}

bool createListFile(const QString& path, const QByteArray& content) {
    return common::createFileExclusive(path, newFileBytes(path, content));
}

bool Enregistrer_Favori(const QString& path, const QByteArray& content, QString* whyNot) {
    // A dangling link counts as existing, so that the writer refuses it instead of creating a file.
    if (!QFileInfo::exists(path) && !QFileInfo(path).isSymLink())
        return common::createFileExclusive(path, newFileBytes(path, content), whyNot);
    QByteArray bytes;
    bytes.reserve(content.size() + 5);
    bytes.append(kBom).append(content).append(kCrLf);
    return common::writeFileAtomic(path, bytes, whyNot);
}

QString listPattern(const QString& folder) {
    return folder + QStringLiteral("/*") + kListSuffix;
}

QStringList listNames(const QString& pattern) {
    const QFileInfo fi(pattern);
    const QDir dir(fi.path());
    QStringList names =
        dir.entryList({fi.fileName()}, QDir::Files | QDir::Hidden, QDir::Name | QDir::IgnoreCase);
    for (QString& n : names)
        n.chop(4);
    return names;
}

QString listFilePath(const QString& folder, const QString& name) {
    return common::findPath(folder, {name + kListSuffix});
}

QString notePath(const QString& folder, const QString& name) {
    return common::findPath(folder, {name + kNoteSuffix});
}

std::optional<QString> playlistLabel(const QString& entry) {
    const qsizetype tab = entry.indexOf(QLatin1Char('\t'));
    if (tab < 0) return std::nullopt;
    return entry.left(tab);
}

} // namespace lumora::lists
