#include "import/versionwriter.h"

#include "common/atomicfile.h"
#include "common/lines.h"
#include "common/paths.h"
#include "common/text.h"

#include <QDir>

#include <algorithm>

namespace lumora::import {

namespace {
constexpr char kCrLf[] = "\r\n";

QByteArray displayName(const ImportedBook& book) {
    return QByteArray::number(book.number).rightJustified(2, '0') + ' ' + book.name;
}
} // namespace

VersionFiles renderVersion(const ImportedBible& bible) {
    VersionFiles files;
    files.bookTable = common::kBom;
    files.oldTestament = common::kBom;
    files.newTestament = common::kBom;
    for (const auto& book : bible.books) {
        const QByteArray key = book.key();
        files.bookTable += displayName(book) + '\t' + key + '\t' + QByteArray::number(book.chapters.size()) +
                           '\t' + book.soundPrefix + '\t' + book.classLabel + kCrLf;
        QByteArray& testament = book.isNewTestament() ? files.newTestament : files.oldTestament;
        for (std::size_t c = 0; c < book.chapters.size(); ++c) {
            const QByteArray chapter = QByteArray::number(c + 1);
            const auto& verses = book.chapters[c];
            files.chapterTable += key + '\t' + chapter + '\t' + QByteArray::number(verses.size()) + kCrLf;
            for (std::size_t v = 0; v < verses.size(); ++v)
                testament += key + '\t' + chapter + '\t' + QByteArray::number(v + 1) + '\t' + verses[v].mark +
                             '\t' + verses[v].text + kCrLf;
        }
    }
    return files;
}

QString versionFolder(const QString& dataFolder, const QByteArray& code) {
    return common::findPath(dataFolder, {QStringLiteral("Bible"), QString::fromUtf8(code.toUpper())});
}

QByteArray withVersionLine(const QByteArray& existing, const QByteArray& code, const QByteArray& name) {
    const QByteArray line = code + " - " + name;
    QByteArray out;
    bool placed = false;
    common::LineSplitter lines(existing);
    QByteArray current;
    bool first = true;
    while (lines.next(current)) {
        QByteArray bare = current;
        if (first && common::startsWithBom(bare)) bare = bare.mid(3);
        const auto lineCode = common::VersionCode(bare);
        if (!placed && lineCode && lineCode->toUpper() == code.toUpper()) {
            out += (first && bare.size() != current.size() ? QByteArray(common::kBom) : QByteArray()) + line +
                   kCrLf;
            placed = true;
        } else {
            out += current + kCrLf;
        }
        first = false;
    }
    if (!placed) out += line + kCrLf;
    return out;
}

bool hasVersionLine(const QByteArray& versionList, const QByteArray& code) {
    common::LineSplitter lines(versionList);
    QByteArray current;
    bool first = true;
    while (lines.next(current)) {
        if (first && common::startsWithBom(current)) current = current.mid(3);
        first = false;
        const auto lineCode = common::VersionCode(current);
        if (lineCode && lineCode->toUpper() == code.toUpper()) return true;
    }
    return false;
}

bool versionExists(const QString& dataFolder, const QByteArray& code) {
    if (common::folderExists(versionFolder(dataFolder, code))) return true;
    const auto existing = common::readWholeFile(
        common::findPath(dataFolder, {QStringLiteral("Bible"), QStringLiteral("Version.txt")}));
    return existing && hasVersionLine(*existing, code);
}

bool isUsableVersionName(const QByteArray& name) {
    if (name.trimmed().isEmpty()) return false;
    return std::none_of(name.cbegin(), name.cend(), [](char c) {
        const auto u = static_cast<unsigned char>(c);
        return u < 0x20 || u == 0x7F;
    });
}

QString writeVersion(const QString& dataFolder, const QByteArray& code, const QByteArray& name,
                     const ImportedBible& bible) {
    if (!isUsableVersionName(name))
        return QStringLiteral("the name must not be empty nor hold control characters");
    const QString folder = versionFolder(dataFolder, code);
    if (!QDir().mkpath(folder)) return QStringLiteral("cannot create ") + folder;
    const VersionFiles files = renderVersion(bible);
    const QByteArray upper = code.toUpper();
    const struct {
        QString name;
        const QByteArray& bytes;
    } outputs[] = {
        {QStringLiteral("Livre_chap.txt"), files.bookTable},
        {QStringLiteral("Chap_verset.txt"), files.chapterTable},
        {QString::fromUtf8(upper + "-O.txt"), files.oldTestament},
        {QString::fromUtf8(upper + "-N.txt"), files.newTestament},
    };
    for (const auto& out : outputs) {
        const QString path = common::findPath(folder, {out.name});
        if (!common::writeFileAtomic(path, out.bytes)) return QStringLiteral("cannot write ") + path;
    }
    const QString versionFile =
        common::findPath(dataFolder, {QStringLiteral("Bible"), QStringLiteral("Version.txt")});
    const QByteArray existing = common::readWholeFile(versionFile).value_or(QByteArray());
    if (!common::writeFileAtomic(versionFile, withVersionLine(existing, code, name)))
        return QStringLiteral("cannot write ") + versionFile;
    return {};
}

} // namespace lumora::import
