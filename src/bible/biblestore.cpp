#include "bible/biblestore.h"

#include "common/atomicfile.h"
#include "common/lines.h"
#include "common/paths.h"
#include "common/text.h"

#include <QDir>
#include <QFileInfo>

namespace lumora::bible {

using namespace lumora::common;

QString versionListPath(const QString& dataPath) {
    return findPath(dataPath, {QStringLiteral("Bible"), QStringLiteral("Version.txt")});
}

VersionFiles versionFiles(const QString& dataPath, const QByteArray& code) {
    const QString c = QString::fromUtf8(code);
    const QString folder = findPath(dataPath, {QStringLiteral("Bible"), c});
    return {folder, findPath(folder, {c + QStringLiteral("-O.txt")}),
            findPath(folder, {c + QStringLiteral("-N.txt")}),
            findPath(folder, {QStringLiteral("Livre_chap.txt")}),
            findPath(folder, {QStringLiteral("Chap_verset.txt")})};
}

bool CheckVersionEntry(const QString& dataPath, const QByteArray& line, VersionList& into) {
    const auto code = VersionCode(line);
    if (!code) return false;
    bool complete = false;
    // A code that would step out of the version's folder names no version of this tree.
    if (!code->isEmpty() && !code->contains('/') && !code->contains('\\') && *code != "." && *code != "..") {
        const VersionFiles f = versionFiles(dataPath, *code);
        complete = fileExists(f.oldTestament) && fileExists(f.newTestament) && fileExists(f.books) &&
                   fileExists(f.chapters);
    }
    (complete ? into.List_version : into.List_version_reste).append(Utf8Decode(line));
    return true;
}

VersionList LoadBibleVersions(const QString& dataPath) {
    VersionList out;
    const QString path = versionListPath(dataPath);
    const auto bytes = readWholeFile(path);
    if (!bytes) {
        out.openError = QFileInfo(QFileInfo(path).absolutePath()).isDir() ? 53 : 76;
        return out;
    }
    LineSplitter lines(*bytes);
    QByteArray line;
    bool first = true;
    while (lines.next(line)) {
        if (first && startsWithBom(line)) line.remove(0, 3);
        first = false;
        CheckVersionEntry(dataPath, line, out);
    }
    return out;
}

bool SaveVersionList(const QString& path, const QStringList& complete, const QStringList& incomplete) {
    QByteArray bytes;
    for (const QString& e : complete)
        bytes.append(Utf8Encode(e)).append("\r\n");
    for (const QString& e : incomplete)
        bytes.append(Utf8Encode(e)).append("\r\n");
    return writeFileAtomic(path, bytes);
}

int BookTables::chapterRow(const QByteArray& book, int chapter) const {
    return m_rowIndex.value(book + '\t' + QByteArray::number(chapter) + '\t', -1);
}

int BookTables::chapterCount(int book) const {
    if (book < 0 || book >= List_NbrChap.size()) return 0;
    bool ok = false;
    const int n = List_NbrChap.at(book).trimmed().toInt(&ok);
    if (!ok || n < 0 || n > 32767) return 0;
    return n;
}

BookTables LoadBookTables(const QString& dataPath, const QByteArray& code) {
    BookTables t;
    const VersionFiles f = versionFiles(dataPath, code);
    if (const auto books = readWholeFile(f.books)) {
        LineSplitter lines(*books);
        QByteArray line;
        bool first = true;
        while (lines.next(line)) {
            if (first) line.remove(0, 3); // the byte-order mark, dropped whether present or not
            first = false;
            const auto fields = cutFields<5>(line);
            if (!fields) continue;
            t.List_livre.append(Utf8Decode((*fields)[0]));
            t.List_NumLivre.append((*fields)[1]);
            t.List_NbrChap.append((*fields)[2]);
            t.List_PrefixeSon.append((*fields)[3]);
            t.List_classe.append(Utf8Decode((*fields)[4]));
        }
    }
    if (const auto chapters = readWholeFile(f.chapters)) {
        LineSplitter lines(*chapters);
        QByteArray line;
        while (lines.next(line)) {
            const auto fields = cutFields<3>(line);
            if (!fields) continue;
            QByteArray row = (*fields)[0] + '\t' + (*fields)[1] + '\t';
            t.List_LivreChap.append(std::move(row));
            t.List_NbrVerset.append((*fields)[2]);
        }
        // The first row of a book and chapter wins, as a search from the top would find it.
        for (int i = static_cast<int>(t.List_LivreChap.size()) - 1; i >= 0; --i)
            t.m_rowIndex.insert(t.List_LivreChap.at(i), i);
    }
    return t;
}

} // namespace lumora::bible
