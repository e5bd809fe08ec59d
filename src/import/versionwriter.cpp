#include "import/versionwriter.h"

#include "bible/biblestore.h"
#include "common/atomicfile.h"
#include "common/lines.h"
#include "common/paths.h"
#include "common/text.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <algorithm>

namespace lumora::import {

namespace {
constexpr char kCrLf[] = "\r\n";

QByteArray displayName(const ImportedBook& book) {
    return QByteArray::number(book.number).rightJustified(2, '0') + ' ' + book.name;
}
} // namespace

RenderedVersion renderVersion(const ImportedBible& bible) {
    RenderedVersion files;
    files.bookTable = common::kBom;
    files.oldTestament = common::kBom;
    files.newTestament = common::kBom;
    for (const auto& book : bible.books) {
        const QByteArray key = book.key();
        files.bookTable += displayName(book) + '\t' + key + '\t' + QByteArray::number(book.chapters.size()) +
                           '\t' + book.soundPrefix + '\t' + book.classLabel + kCrLf;
        QByteArray& testament = bible::testamentOf(book.number) == bible::Testament::New ? files.newTestament
                                                                                         : files.oldTestament;
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

bool isUsableVersionCode(const QByteArray& code) {
    if (code.isEmpty() || code.size() > 16) return false;
    return std::all_of(code.cbegin(), code.cend(), [](char c) {
        return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
    });
}

bool isUsableVersionName(const QByteArray& name) {
    if (name.trimmed().isEmpty()) return false;
    return std::none_of(name.cbegin(), name.cend(), [](char c) {
        const auto u = static_cast<unsigned char>(c);
        return u < 0x20 || u == 0x7F;
    });
}

namespace {
const QString kBibleFolder = QStringLiteral("Bible");
const QString kVersionList = QStringLiteral("Version.txt");

// A free name beside `path` for keeping a folder aside: "KJV.replaced-20261207-101500".
QString asideName(const QString& path, const QString& why) {
    const QString stamp = QDateTime::currentDateTimeUtc().toString(QStringLiteral("yyyyMMdd-HHmmss"));
    QString candidate = path + QLatin1Char('.') + why + QLatin1Char('-') + stamp;
    for (int n = 2; QFileInfo::exists(candidate); ++n)
        candidate =
            path + QLatin1Char('.') + why + QLatin1Char('-') + stamp + QLatin1Char('-') + QString::number(n);
    return candidate;
}
} // namespace

QString writeVersion(const QString& dataFolder, const QByteArray& code, const QByteArray& name,
                     const ImportedBible& bible) {
    if (!isUsableVersionName(name))
        return QStringLiteral("the name must not be empty nor hold control characters");
    const QString bibleFolder = common::findPath(dataFolder, {kBibleFolder});
    if (!QDir().mkpath(bibleFolder)) return QStringLiteral("cannot create ") + bibleFolder;
    const QByteArray upper = code.toUpper();
    const QString target = versionFolder(dataFolder, code);

    // The version is written whole into a staging folder beside its place, then renamed into
    // place, so that a reader never meets half a version and a failure leaves nothing behind.
    QTemporaryDir staging(bibleFolder + QStringLiteral("/.") + QString::fromUtf8(upper) +
                          QStringLiteral(".import-XXXXXX"));
    if (!staging.isValid()) return QStringLiteral("cannot create a staging folder in ") + bibleFolder;
    // A temporary folder is made private; the version folder is as readable as any other.
    QFile::setPermissions(staging.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                              QFileDevice::ExeOwner | QFileDevice::ReadGroup |
                                              QFileDevice::ExeGroup | QFileDevice::ReadOther |
                                              QFileDevice::ExeOther);
    const RenderedVersion files = renderVersion(bible);
    const QStringList names = bible::versionFileNames(upper);
    const QByteArray* contents[] = {&files.bookTable, &files.chapterTable, &files.oldTestament,
                                    &files.newTestament};
    for (int i = 0; i < names.size(); ++i) {
        const QString path = staging.filePath(names[i]);
        if (!common::writeFileAtomic(path, *contents[i]))
            return QStringLiteral("cannot write ") + target + QLatin1Char('/') + names[i];
    }

    const bool replacing = common::folderExists(target);
    const QString backup = replacing ? asideName(target, QStringLiteral("replaced")) : QString();
    if (replacing && !QDir().rename(target, backup)) return QStringLiteral("cannot move ") + target;
    if (!QDir().rename(staging.path(), target)) {
        if (replacing) QDir().rename(backup, target);
        return QStringLiteral("cannot create ") + target;
    }
    staging.setAutoRemove(false);

    // Version.txt last: until it names the version, the program does not show it.
    const QString versionFile = common::findPath(dataFolder, {kBibleFolder, kVersionList});
    const QByteArray existing = common::readWholeFile(versionFile).value_or(QByteArray());
    if (!common::writeFileAtomic(versionFile, withVersionLine(existing, code, name))) {
        QDir(target).removeRecursively();
        if (replacing) QDir().rename(backup, target);
        return QStringLiteral("cannot write ") + versionFile;
    }
    if (!replacing) return {};

    // What the replaced folder held beside its four files (the chapter recordings with their
    // marks, notes) stays with the version.
    const QDir old(backup);
    bool allMoved = true;
    for (const QString& entry :
         old.entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System)) {
        const bool isVersionFile = std::any_of(names.cbegin(), names.cend(), [&](const QString& n) {
            return n.compare(entry, Qt::CaseInsensitive) == 0;
        });
        if (isVersionFile) continue;
        if (!QDir().rename(old.filePath(entry), target + QLatin1Char('/') + entry)) allMoved = false;
    }
    if (allMoved) QDir(backup).removeRecursively();
    return {};
}

QString removeVersion(const QString& dataFolder, const QByteArray& code, QString* keptAt) {
    const QString versionFile = common::findPath(dataFolder, {kBibleFolder, kVersionList});
    const auto existing = common::readWholeFile(versionFile);
    if (!existing || !hasVersionLine(*existing, code))
        return QStringLiteral("no version %1 in ").arg(QString::fromUtf8(code)) + versionFile;
    const QString folder = versionFolder(dataFolder, code);
    QString aside;
    if (common::folderExists(folder)) {
        aside = asideName(folder, QStringLiteral("removed"));
        if (!QDir().rename(folder, aside)) return QStringLiteral("cannot move ") + folder;
    }
    if (!common::writeFileAtomic(versionFile, withoutVersionLine(*existing, code))) {
        if (!aside.isEmpty()) QDir().rename(aside, folder);
        return QStringLiteral("cannot write ") + versionFile;
    }
    if (keptAt) *keptAt = aside;
    return {};
}

QByteArray withoutVersionLine(const QByteArray& existing, const QByteArray& code) {
    QByteArray out;
    common::LineSplitter lines(existing);
    QByteArray current;
    bool first = true;
    bool bomPending = false;
    while (lines.next(current)) {
        QByteArray bare = current;
        const bool hasBom = first && common::startsWithBom(bare);
        if (hasBom) bare = bare.mid(3);
        first = false;
        const auto lineCode = common::VersionCode(bare);
        if (lineCode && lineCode->toUpper() == code.toUpper()) {
            bomPending = bomPending || hasBom;
            continue;
        }
        out += (bomPending ? QByteArray(common::kBom) + bare : current) + kCrLf;
        bomPending = false;
    }
    return out;
}

} // namespace lumora::import
