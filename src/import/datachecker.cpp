#include "import/datachecker.h"

#include "bible/biblestore.h"
#include "common/lines.h"
#include "common/paths.h"
#include "common/text.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>
#include <map>
#include <optional>
#include <set>

namespace lumora::import {

namespace {

using common::kBom;

QList<QByteArray> fileLines(const QByteArray& bytes) {
    QList<QByteArray> out;
    common::LineSplitter split(bytes);
    QByteArray line;
    while (split.next(line))
        out.append(line);
    return out;
}

std::optional<int> plainNumber(const QByteArray& text) {
    if (text.isEmpty() || text.size() > 9) return std::nullopt;
    for (char c : text)
        if (c < '0' || c > '9') return std::nullopt;
    return text.toInt();
}

// A mark: "0", or digits with an optional comma and decimals ("12,50000"). Returns its value.
std::optional<double> markValue(const QByteArray& text) {
    const qsizetype comma = text.indexOf(',');
    const QByteArray whole = comma < 0 ? text : text.left(comma);
    const QByteArray fraction = comma < 0 ? QByteArray() : text.mid(comma + 1);
    if (whole.isEmpty() || (comma >= 0 && fraction.isEmpty())) return std::nullopt;
    for (char c : whole + fraction)
        if (c < '0' || c > '9') return std::nullopt;
    return QByteArray(whole + '.' + (fraction.isEmpty() ? QByteArray("0") : fraction)).toDouble();
}

// True when every "{" of rich text is closed by its "}" and nothing closes before it opens
// (escaped \{ \} and \\ do not count).
bool bracesClose(const QByteArray& rtf) {
    int depth = 0;
    for (qsizetype i = 0; i < rtf.size(); ++i) {
        const char c = rtf.at(i);
        if (c == '\\')
            ++i;
        else if (c == '{')
            ++depth;
        else if (c == '}' && --depth < 0)
            return false;
    }
    return depth == 0;
}

class Checker final {
  public:
    explicit Checker(QString root) : m_root(std::move(root)) {}

    std::vector<DataProblem> run() {
        checkBible();
        checkHymns();
        checkLists(QStringLiteral("Bible"), false);
        checkLists(QStringLiteral("Cantiques"), true);
        return std::move(m_problems);
    }

  private:
    struct ChapterKey {
        QByteArray book;
        int chapter;
        bool operator<(const ChapterKey& o) const {
            return book != o.book ? book < o.book : chapter < o.chapter;
        }
    };

    void report(const QString& file, int line, const QString& message) {
        m_problems.push_back({file, line, message});
    }

    QString rel(const QString& path) const { return QDir(m_root).relativeFilePath(path); }

    // The whole file; a file that exists but cannot be read whole (a FIFO, a device, a folder, a
    // file above the size cap) is reported and skipped, never waited on.
    std::optional<QByteArray> read(const QString& path) {
        const common::FileRead r = common::readFile(path);
        if (!r.bytes && r.failure != common::ReadFailure::Missing)
            report(rel(path), 0, common::readFailureText(r.failure) + QStringLiteral(": skipped"));
        return r.bytes;
    }

    // Collects the lines of one file that are not UTF-8 and reports them once, at the first. A
    // tally of the Bible's files also counts what no sound line of theirs holds: a byte-order mark
    // past the file's start (the key or number it sits in no longer matches, or the text shows an
    // invisible character) and control characters other than tab (garbage of a damaged copy).
    class Utf8Tally final {
      public:
        explicit Utf8Tally(bool bibleFile = false) : m_bibleFile(bibleFile) {}
        void see(QByteArrayView bytes, int line) {
            if (!common::isValidUtf8(bytes)) m_invalid.see(line);
            if (!m_bibleFile) return;
            if (bytes.indexOf(QByteArrayView(kBom)) >= 0) m_bom.see(line);
            if (std::any_of(bytes.begin(), bytes.end(), [](char c) { return uchar(c) < 0x20 && c != '\t'; }))
                m_control.see(line);
        }
        void reportTo(Checker& c, const QString& file) const {
            m_invalid.reportTo(c, file,
                               QStringLiteral("invalid UTF-8 on %1 line(s), the first here: the text "
                                              "shows \uFFFD in its place"));
            m_bom.reportTo(
                c, file,
                QStringLiteral("byte-order mark inside %1 line(s), the first here: a key or number "
                               "holding it no longer matches"));
            m_control.reportTo(c, file,
                               QStringLiteral("control characters on %1 line(s), the first here: garbage in "
                                              "the file"));
        }

      private:
        struct Count {
            int lines = 0, first = 0;
            void see(int line) {
                if (lines++ == 0) first = line;
            }
            void reportTo(Checker& c, const QString& file, const QString& message) const {
                if (lines > 0) c.report(file, first, message.arg(lines));
            }
        };
        bool m_bibleFile;
        Count m_invalid, m_bom, m_control;
    };

    // A tally that reports itself when the reading of its file ends, whichever way it ends.
    class Utf8Report final {
      public:
        Utf8Report(Checker& checker, const QString& file, bool bibleFile = false)
            : m_checker(checker), m_file(file), m_tally(bibleFile) {}
        ~Utf8Report() { m_tally.reportTo(m_checker, m_file); }
        Utf8Report(const Utf8Report&) = delete;
        Utf8Report& operator=(const Utf8Report&) = delete;
        void see(QByteArrayView bytes, int line) { m_tally.see(bytes, line); }

      private:
        Checker& m_checker;
        const QString& m_file;
        Utf8Tally m_tally;
    };

    // The program writes every line of the Bible's files with its CR LF: a last line without one
    // is a copy cut short inside it (a verse text, a version's name shown cut).
    void reportCutLastLine(const QString& file, const QByteArray& bytes, int lineCount) {
        // (a testament without verses is a byte-order mark alone)
        if (!bytes.isEmpty() && bytes != kBom && !bytes.endsWith('\n') && !bytes.endsWith('\r'))
            report(file, lineCount,
                   QStringLiteral("the last line has no line end: the file may be cut short"));
    }

    void checkBible() {
        const QString versionPath =
            common::findPath(m_root, {QStringLiteral("Bible"), QStringLiteral("Version.txt")});
        const auto bytes = read(versionPath);
        if (!bytes) {
            report(rel(versionPath), 0, QStringLiteral("missing: no version can be listed"));
            return;
        }
        const auto lines = fileLines(*bytes);
        reportCutLastLine(rel(versionPath), *bytes, static_cast<int>(lines.size()));
        // Codes are matched without regard to case, as the version folders are found.
        std::map<QByteArray, int> seen;
        Utf8Tally utf8(true);
        for (int i = 0; i < lines.size(); ++i) {
            QByteArray line = lines[i];
            if (i == 0 && common::startsWithBom(line)) line = line.mid(3);
            if (line.isEmpty()) continue;
            utf8.see(line, i + 1);
            const auto code = common::VersionCode(line);
            if (!code) {
                report(rel(versionPath), i + 1, QStringLiteral("version line without \" -\": it is skipped"));
                continue;
            }
            const auto [at, isFirst] = seen.emplace(code->toUpper(), i + 1);
            if (!isFirst) {
                report(rel(versionPath), i + 1,
                       QStringLiteral("version %1 is already listed on line %2")
                           .arg(QString::fromUtf8(*code))
                           .arg(at->second));
                continue;
            }
            checkVersion(*code, rel(versionPath), i + 1);
        }
        utf8.reportTo(*this, rel(versionPath));
    }

    // "Livre_chap.txt" or "Livre_chap.txt (not an ordinary file)" for a file the version lacks.
    static QString absentName(const QString& path) {
        const QFileInfo fi(path);
        if (fi.exists() || fi.isSymLink()) return fi.fileName() + QStringLiteral(" (not an ordinary file)");
        return fi.fileName();
    }

    void checkVersion(const QByteArray& code, const QString& versionFile, int versionLine) {
        const QByteArray upper = code.toUpper();
        const QString folder = common::findPath(m_root, {QStringLiteral("Bible"), QString::fromUtf8(code)});
        const QStringList names = bible::versionFileNames(upper);
        const QString bookPath = common::findPath(folder, {names[0]});
        const QString chapterPath = common::findPath(folder, {names[1]});
        const QString oldPath = common::findPath(folder, {names[2]});
        const QString newPath = common::findPath(folder, {names[3]});
        QStringList missing;
        for (const QString& p : {oldPath, newPath, bookPath, chapterPath})
            if (!common::fileExists(p)) missing << absentName(p);
        if (!missing.isEmpty()) {
            report(versionFile, versionLine,
                   QStringLiteral("version %1 is incomplete (missing %2): it cannot be selected")
                       .arg(QString::fromUtf8(code), missing.join(QStringLiteral(", "))));
            return;
        }

        // Book table: key -> (chapter count, line).
        std::map<QByteArray, std::pair<int, int>> bookChapters;
        const QByteArray bookBytes = read(bookPath).value_or(QByteArray());
        const auto books = fileLines(bookBytes);
        const QString bookFile = rel(bookPath);
        reportCutLastLine(bookFile, bookBytes, static_cast<int>(books.size()));
        if (books.isEmpty() || !common::startsWithBom(books[0]))
            report(bookFile, 1,
                   QStringLiteral(
                       "no BOM: the loader drops the first three bytes, so the first book name is cut"));
        Utf8Tally bookUtf8(true);
        int row = 0;            // the book's index in the book list: lines that do not split are skipped
        int previousNumber = 0; // books may be left out (a New Testament alone), never out of order
        for (int i = 0; i < books.size(); ++i) {
            const QByteArray line = i == 0 && common::startsWithBom(books[i]) ? books[i].mid(3) : books[i];
            bookUtf8.see(line, i + 1);
            const auto f = common::cutFields<5>(line);
            if (!f) {
                report(bookFile, i + 1, QStringLiteral("missing tabs: %1 of 4").arg(line.count('\t')));
                continue;
            }
            ++row;
            // The passage takes the book key from the first digits of the name (three from row
            // 100 on) and the chapter rows from field 2: both must name the same book.
            const int digits = row - 1 >= 100 ? 3 : 2;
            const auto nameNumber = plainNumber((*f)[0].left(digits));
            if ((*f)[0].size() < digits || !nameNumber) {
                report(bookFile, i + 1,
                       QStringLiteral("book name does not begin with its %1-digit number").arg(digits));
            } else {
                if (*nameNumber <= previousNumber)
                    report(bookFile, i + 1,
                           QStringLiteral("book %1 follows book %2: the books are out of order, so "
                                          "picking a book by its place opens another one")
                               .arg(*nameNumber)
                               .arg(previousNumber));
                previousNumber = *nameNumber;
                const auto keyNumber = common::leadingNumber(QByteArrayView((*f)[1]));
                if (!keyNumber || *keyNumber != *nameNumber)
                    report(bookFile, i + 1,
                           QStringLiteral("book number %1 does not match the number %2 of the name")
                               .arg(QString::fromUtf8((*f)[1]))
                               .arg(*nameNumber));
            }
            const auto count = plainNumber((*f)[2]);
            if (!count) {
                report(bookFile, i + 1, QStringLiteral("chapter count is not a number"));
                continue;
            }
            if (bookChapters.count((*f)[1]))
                report(bookFile, i + 1,
                       QStringLiteral("book %1 listed twice").arg(QString::fromUtf8((*f)[1])));
            bookChapters[(*f)[1]] = {*count, i + 1};
        }
        bookUtf8.reportTo(*this, bookFile);

        // Chapter table: (key, chapter) -> verse count; per key, chapters must run 1, 2, 3...
        std::map<ChapterKey, std::pair<int, int>> chapterVerses;
        std::map<QByteArray, int> chaptersPerBook;
        const QString chapterFile = rel(chapterPath);
        const QByteArray chapterBytes = read(chapterPath).value_or(QByteArray());
        const auto chapters = fileLines(chapterBytes);
        reportCutLastLine(chapterFile, chapterBytes, static_cast<int>(chapters.size()));
        if (!chapters.isEmpty() && common::startsWithBom(chapters[0]))
            report(chapterFile, 1, QStringLiteral("starts with a BOM: the first book key will not match"));
        Utf8Report chapterUtf8(*this, chapterFile, true);
        for (int i = 0; i < chapters.size(); ++i) {
            chapterUtf8.see(i == 0 && common::startsWithBom(chapters[i]) ? chapters[i].mid(3) : chapters[i],
                            i + 1);
            const auto f = common::cutFields<3>(chapters[i]);
            if (!f) {
                report(chapterFile, i + 1,
                       QStringLiteral("missing tabs: %1 of 2").arg(chapters[i].count('\t')));
                continue;
            }
            const auto chapter = plainNumber((*f)[1]);
            const auto verses = plainNumber((*f)[2]);
            if (!chapter || !verses) {
                report(chapterFile, i + 1, QStringLiteral("chapter or verse count is not a number"));
                continue;
            }
            int& seen = chaptersPerBook[(*f)[0]];
            if (*chapter != seen + 1)
                report(chapterFile, i + 1,
                       QStringLiteral("chapter %1 of %2 follows chapter %3")
                           .arg(*chapter)
                           .arg(QString::fromUtf8((*f)[0]))
                           .arg(seen));
            seen = std::max(seen, *chapter);
            chapterVerses[{(*f)[0], *chapter}] = {*verses, i + 1};
        }
        for (const auto& [key, info] : bookChapters) {
            const int listed = chaptersPerBook.count(key) ? chaptersPerBook[key] : 0;
            if (listed != info.first)
                report(bookFile, info.second,
                       QStringLiteral("book %1 has %2 chapters here but %3 in Chap_verset.txt")
                           .arg(QString::fromUtf8(key))
                           .arg(info.first)
                           .arg(listed));
        }
        for (const auto& [key, count] : chaptersPerBook)
            if (!bookChapters.count(key))
                report(chapterFile, 0,
                       QStringLiteral("book %1 is not in Livre_chap.txt").arg(QString::fromUtf8(key)));

        std::map<ChapterKey, int> versesFound;
        std::map<QByteArray, int> chaptersFound;
        checkTestament(oldPath, 'O', versesFound, chaptersFound);
        checkTestament(newPath, 'N', versesFound, chaptersFound);
        for (const auto& [key, info] : chapterVerses) {
            const int found = versesFound.count(key) ? versesFound[key] : 0;
            if (found != info.first)
                report(chapterFile, info.second,
                       QStringLiteral("%1 chapter %2 has %3 verses here but %4 verse lines")
                           .arg(QString::fromUtf8(key.book))
                           .arg(key.chapter)
                           .arg(info.first)
                           .arg(found));
        }
        for (const auto& [key, count] : chaptersFound)
            if (!chaptersPerBook.count(key))
                report(chapterFile, 0,
                       QStringLiteral("book %1 has verse lines but no chapter rows")
                           .arg(QString::fromUtf8(key)));
    }

    void checkTestament(const QString& path, char letter, std::map<ChapterKey, int>& verses,
                        std::map<QByteArray, int>& chapters) {
        const QString file = rel(path);
        const QByteArray bytes = read(path).value_or(QByteArray());
        const auto lines = fileLines(bytes);
        if (lines.isEmpty()) return;
        if (!common::startsWithBom(lines[0]))
            report(
                file, 1,
                QStringLiteral("no BOM: readers drop the first three bytes, so the first verse key is cut"));
        reportCutLastLine(file, bytes, static_cast<int>(lines.size()));
        ChapterKey current{{}, 0};
        int lastVerse = 0;
        double lastMark = -1; // no mark yet in this chapter
        std::set<QByteArray> finishedBooks;
        std::map<QByteArray, int> keyLines; // verse key -> its first line
        Utf8Report utf8(*this, file, true);
        for (int i = 0; i < lines.size(); ++i) {
            const QByteArray line = i == 0 && common::startsWithBom(lines[i]) ? lines[i].mid(3) : lines[i];
            utf8.see(line, i + 1);
            if (line.isEmpty())
                continue; // skipped by every reader (a testament without verses is a BOM alone)
            const auto f = common::cutFields<5>(line);
            if (!f) {
                report(file, i + 1, QStringLiteral("missing tabs: %1 of 4").arg(line.count('\t')));
                continue;
            }
            const QByteArray& key = (*f)[0];
            const auto bookNumber = plainNumber(key.left(key.size() - 1));
            const bool isNew = bookNumber && bible::testamentOf(*bookNumber) == bible::Testament::New;
            if (!bookNumber || key.size() < 3 || key.back() != letter || (letter == 'N') != isNew)
                report(
                    file, i + 1,
                    QStringLiteral("book key %1 does not belong in this file").arg(QString::fromUtf8(key)));
            const auto chapter = plainNumber((*f)[1]);
            const auto verse = plainNumber((*f)[2]);
            if (!chapter || !verse) {
                report(file, i + 1, QStringLiteral("chapter or verse is not a number"));
                continue;
            }
            if (key != current.book || *chapter != current.chapter) {
                if (key != current.book) {
                    if (!current.book.isEmpty()) finishedBooks.insert(current.book);
                    if (finishedBooks.count(key))
                        report(
                            file, i + 1,
                            QStringLiteral("book %1 resumes after another book").arg(QString::fromUtf8(key)));
                } else if (*chapter < current.chapter) {
                    report(file, i + 1,
                           QStringLiteral("chapter %1 after chapter %2").arg(*chapter).arg(current.chapter));
                }
                if (verses.count({key, *chapter}))
                    report(file, i + 1,
                           QStringLiteral("chapter %1 of %2 appears twice")
                               .arg(*chapter)
                               .arg(QString::fromUtf8(key)));
                current = {key, *chapter};
                lastVerse = 0;
                lastMark = -1;
                int& seenChapters = chapters[key];
                seenChapters = std::max(seenChapters, *chapter);
            }
            // A tab in the text: a line end was lost and the next line ran into this one.
            if ((*f)[4].contains('\t'))
                report(file, i + 1,
                       QStringLiteral("a tab inside the verse text: a line end may be lost there"));
            const auto [firstLine, isFirst] = keyLines.emplace(key + '\t' + (*f)[1] + '\t' + (*f)[2], i + 1);
            if (!isFirst && *verse != lastVerse)
                report(file, i + 1,
                       QStringLiteral("%1 %2:%3 is already on line %4: the line is duplicated")
                           .arg(QString::fromUtf8(key))
                           .arg(*chapter)
                           .arg(*verse)
                           .arg(firstLine->second));
            if (*verse == lastVerse)
                report(file, i + 1, QStringLiteral("verse %1 repeated").arg(*verse));
            else if (*verse != lastVerse + 1)
                report(file, i + 1,
                       QStringLiteral("verse %1 out of order (after verse %2)").arg(*verse).arg(lastVerse));
            lastVerse = *verse;
            ++verses[current];

            const QByteArray& mark = (*f)[3];
            if (mark == "0") continue;
            const auto value = markValue(mark);
            if (!value) {
                report(file, i + 1,
                       QStringLiteral("mark \"%1\" is not a number (seconds, comma decimals)")
                           .arg(QString::fromUtf8(mark)));
                continue;
            }
            if (*value < lastMark)
                report(file, i + 1,
                       QStringLiteral("mark %1 goes back in the chapter").arg(QString::fromUtf8(mark)));
            lastMark = *value;
        }
    }

    void checkHymns() {
        const QString root = common::findPath(m_root, {QStringLiteral("Cantiques")});
        const QDir dir(root);
        for (const QString& name : dir.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name)) {
            if (name.contains(QLatin1Char('.')) ||
                name.compare(QStringLiteral("Favori"), Qt::CaseInsensitive) == 0)
                continue;
            const QString path = common::findPath(root, {name, QStringLiteral("Hira.txt")});
            const auto bytes = read(path);
            if (!bytes) continue; // not a hymn book
            const QString file = rel(path);
            const auto lines = fileLines(*bytes);
            if (lines.isEmpty()) report(file, 0, QStringLiteral("no hymn entry: the book is not listed"));
            Utf8Tally utf8;
            std::map<QByteArray, int> labels; // hymn label -> first line
            for (int i = 0; i < lines.size(); ++i) {
                QByteArray line = lines[i];
                if (i == 0 && common::startsWithBom(line)) line = line.mid(3);
                utf8.see(line, i + 1);
                const int tabs = static_cast<int>(line.count('\t'));
                if (tabs >= 8) {
                    const auto [at, isFirst] = labels.emplace(line.left(line.indexOf('\t')), i + 1);
                    if (!isFirst)
                        report(
                            file, i + 1,
                            QStringLiteral("hymn \"%1\" is already listed on line %2: its files are shared")
                                .arg(QString::fromUtf8(at->first))
                                .arg(at->second));
                }
                if (tabs < 8) {
                    report(file, i + 1,
                           i + 1 == lines.size()
                               ? QStringLiteral(
                                     "last line does not split (%1 of 8 tabs): the book is not listed")
                                     .arg(tabs)
                               : QStringLiteral("hymn entry with %1 of 8 tabs: it is rejected").arg(tabs));
                    continue;
                }
                const QByteArray book = line.mid(line.lastIndexOf('\t') + 1);
                if (QString::fromUtf8(book) != name)
                    report(file, i + 1,
                           QStringLiteral("book name \"%1\" differs from the folder name \"%2\"")
                               .arg(QString::fromUtf8(book), name));
            }
            utf8.reportTo(*this, file);
            checkWords(common::findPath(root, {name, QStringLiteral("parole")}));
        }
    }

    // The words files of one book: plain text must be UTF-8, rich text must be RTF.
    void checkWords(const QString& folder) {
        const QDir dir(folder);
        if (!dir.exists()) return;
        for (const QString& name :
             dir.entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot, QDir::Name)) {
            const QString path = dir.filePath(name);
            const bool isText = name.endsWith(QLatin1String(".txt"), Qt::CaseInsensitive);
            const bool isRtf = name.endsWith(QLatin1String(".rtf"), Qt::CaseInsensitive);
            if (!isText && !isRtf) continue;
            const auto bytes = read(path);
            if (!bytes) continue;
            if (isRtf) {
                if (!bytes->startsWith("{\\rtf"))
                    report(rel(path), 1, QStringLiteral("not rich text (it does not begin with {\\rtf)"));
                else if (!bracesClose(*bytes))
                    report(rel(path), 0, QStringLiteral("rich text cut short: its groups do not close"));
                continue;
            }
            const auto lines = fileLines(*bytes);
            Utf8Tally utf8;
            for (int i = 0; i < lines.size(); ++i)
                utf8.see(lines[i], i + 1);
            utf8.reportTo(*this, rel(path));
        }
    }

    void checkLists(const QString& tree, bool playlists) {
        const QString folder = common::findPath(m_root, {tree, QStringLiteral("Favori")});
        const QDir dir(folder);
        for (const QString& name :
             dir.entryList({QStringLiteral("*.txt")}, QDir::Files | QDir::System, QDir::Name)) {
            const QString path = dir.filePath(name);
            const auto read = this->read(path);
            if (!read) continue;
            const QByteArray& bytes = *read;
            const QString file = rel(path);
            if (!bytes.startsWith(kBom)) report(file, 1, QStringLiteral("no BOM at the start of the list"));
            const auto lines = fileLines(bytes);
            Utf8Report utf8(*this, file);
            for (int i = 0; i < lines.size(); ++i) {
                QByteArray line = lines[i];
                if (i == 0 && common::startsWithBom(line)) line = line.mid(3);
                if (line.isEmpty()) continue;
                utf8.see(line, i + 1);
                if (playlists) {
                    if (line.count('\t') < 8)
                        report(file, i + 1,
                               QStringLiteral("playlist entry is not a whole hymn entry (%1 of 8 tabs)")
                                   .arg(line.count('\t')));
                    continue;
                }
                const qsizetype p2 = line.indexOf(". ", 5), p3 = line.indexOf(" : ", 5),
                                p4 = line.indexOf(" - ", 5), p5 = line.indexOf('\t', 5);
                if (p2 < 0 || p3 < p2 || p4 < p3 || p5 < p4 || p5 + 1 >= line.size() ||
                    !plainNumber(line.left(2)))
                    report(file, i + 1,
                           QStringLiteral("verse-list entry is not \"NN Book. C : V - W<TAB>CODE\""));
            }
        }
    }

    QString m_root;
    std::vector<DataProblem> m_problems;
};

} // namespace

QString DataProblem::toText() const {
    return file + QLatin1Char(':') + QString::number(line) + QStringLiteral(": ") + message;
}

std::vector<DataProblem> checkDataFolder(const QString& dataFolder) {
    return Checker(dataFolder).run();
}

} // namespace lumora::import
