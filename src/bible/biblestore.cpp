#include "bible/biblestore.h"

#include "common/atomicfile.h"
#include "common/lines.h"
#include "common/paths.h"
#include "common/text.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

namespace lumora::bible {

using namespace lumora::common;

QString versionListPath(const QString& dataPath) {
    return findPath(dataPath, {QStringLiteral("Bible"), QStringLiteral("Version.txt")});
}

QStringList versionFileNames(const QByteArray& code) {
    return {QStringLiteral("Livre_chap.txt"), QStringLiteral("Chap_verset.txt"),
            QString::fromUtf8(code + "-O.txt"), QString::fromUtf8(code + "-N.txt")};
}

VersionFiles versionFiles(const QString& dataPath, const QByteArray& code) {
    const QString folder = findPath(dataPath, {QStringLiteral("Bible"), QString::fromUtf8(code)});
    const QStringList names = versionFileNames(code);
    return {folder, findPath(folder, {names[2]}), findPath(folder, {names[3]}), findPath(folder, {names[0]}),
            findPath(folder, {names[1]})};
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
    (complete ? into.complete : into.incomplete).append(Utf8Decode(line));
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

Testament testamentOf(long long bookNumber) {
    return bookNumber < 40 || bookNumber > 66 ? Testament::Old : Testament::New;
}

const QString& testamentFile(const VersionFiles& files, Testament t) {
    return t == Testament::New ? files.newTestament : files.oldTestament;
}

const Book* BookTables::bookAt(int row) const {
    return row >= 0 && row < static_cast<int>(books.size()) ? &books[static_cast<size_t>(row)] : nullptr;
}

std::optional<int> versionRow(const QStringList& entries, QByteArrayView code, int preferred) {
    const QString wanted = QString::fromUtf8(code);
    auto hasCode = [&](int row) {
        const auto c = VersionCode(entries.at(row));
        return c && c->compare(wanted, Qt::CaseInsensitive) == 0;
    };
    if (preferred >= 0 && preferred < entries.size() && hasCode(preferred)) return preferred;
    for (int row = static_cast<int>(entries.size()) - 1; row >= 0; --row)
        if (hasCode(row)) return row;
    return std::nullopt;
}

const Book* BookTables::bookByNumber(int number) const {
    for (const Book& b : books)
        if (b.number == number) return &b;
    return nullptr;
}

int BookTables::verseCount(const Book& book, int chapter) const {
    const auto it = m_verseCounts.constFind(book.tableKey + '\t' + QByteArray::number(chapter) + '\t');
    if (it == m_verseCounts.cend()) return 0;
    bool ok = false;
    const int n = it->trimmed().toInt(&ok);
    return ok && n > 0 && n <= 32767 ? n : 0;
}

QString displayedBookName(const QString& listName) {
    static const QRegularExpression number(QStringLiteral("^\\s*\\d+\\s+"));
    return QString(listName).remove(number);
}

QStringList BookTables::namesByNumber() const {
    QStringList out;
    for (const Book& b : books) {
        if (b.number < 1 || b.number > 999) continue;
        while (out.size() < b.number)
            out << QString();
        out[b.number - 1] = b.name;
    }
    return out;
}

QStringList BookTables::names() const {
    QStringList out;
    out.reserve(static_cast<qsizetype>(books.size()));
    for (const Book& b : books)
        out << b.name;
    return out;
}

namespace {

// The key the testament files give the book in row `row`: its name's first two characters (three
// from row 100 on) and the testament letter of the number they make.
void setKey(Book& b) {
    const QByteArray digits = Utf8Encode(b.name.left(b.row < 100 ? 2 : 3));
    const long long n = leadingNumber(QByteArrayView(digits)).value_or(0);
    b.number = n > 0 && n <= 32767 ? static_cast<int>(n) : 0;
    b.testament = testamentOf(n);
    b.key = digits + testamentLetter(b.testament);
}

int chapterCountOf(const QByteArray& text) {
    bool ok = false;
    const int n = text.trimmed().toInt(&ok);
    return ok && n >= 0 && n <= 32767 ? n : 0;
}

} // namespace

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
            Book b;
            b.row = static_cast<int>(t.books.size());
            b.name = Utf8Decode((*fields)[0]);
            setKey(b);
            b.tableKey = (*fields)[1];
            b.chapterCount = chapterCountOf((*fields)[2]);
            b.soundPrefix = (*fields)[3];
            b.className = Utf8Decode((*fields)[4]);
            t.books.push_back(std::move(b));
        }
    }
    if (const auto chapters = readWholeFile(f.chapters)) {
        LineSplitter lines(*chapters);
        QByteArray line;
        while (lines.next(line)) {
            const auto fields = cutFields<3>(line);
            if (!fields) continue;
            // The first row of a book and chapter wins, as a search from the top would find it.
            const QByteArray row = (*fields)[0] + '\t' + (*fields)[1] + '\t';
            if (!t.m_verseCounts.contains(row)) t.m_verseCounts.insert(row, (*fields)[2]);
        }
    }
    return t;
}

} // namespace lumora::bible
