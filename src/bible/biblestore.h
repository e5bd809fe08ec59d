#pragma once
// The Bible data tree: the version list and the book and chapter tables of one version.
//
// Under <data>/Bible: Version.txt ("CODE - Name" lines), and per version CODE/CODE-O.txt,
// CODE/CODE-N.txt, CODE/Livre_chap.txt and CODE/Chap_verset.txt. File and folder names are
// found without regard to letter case.

#include <QByteArray>
#include <QByteArrayList>
#include <QByteArrayView>
#include <QHash>
#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

namespace lumora::bible {

// The most verses of a chapter the program keeps a place for: the verse positions of a passage,
// the rows of the mark table and of a mark backup.
inline constexpr int kMaxVerses = 286;

// Where a version's files lie (the names as found on disk, or as they would be created).
struct VersionFiles {
    QString folder, oldTestament, newTestament, books, chapters;
};
VersionFiles versionFiles(const QString& dataPath, const QByteArray& code);
// The names of a version's four files, as the loaders look for them (without regard to letter
// case): "Livre_chap.txt", "Chap_verset.txt", "CODE-O.txt", "CODE-N.txt".
QStringList versionFileNames(const QByteArray& code);
QString versionListPath(const QString& dataPath);

struct VersionList {
    QStringList complete;   // List_version: complete versions, file order (decoded lines)
    QStringList incomplete; // List_version_reste: versions missing one of their four files
    // Set when Version.txt could not be opened: 53 when the file is missing, 76 when its folder is.
    std::optional<int> openError;
};

VersionList LoadBibleVersions(const QString& dataPath);

// The row of the version list whose code ("KJV" of "KJV - King James") is `code`, letter case
// ignored: `preferred` when that row has the code, else the last row that has it; nullopt when
// none has. {"KJV - A", "NKJV - B"} and "kjv" -> 0.
std::optional<int> versionRow(const QStringList& entries, QByteArrayView code, int preferred = -1);
// Sorts one raw Version.txt line into the complete or the incomplete list; a line without " -"
// is skipped. Returns false when skipped.
bool CheckVersionEntry(const QString& dataPath, const QByteArray& line, VersionList& into);

// Writes the complete versions, then the incomplete ones, one CR LF line each, no BOM;
// atomically, so a failed write leaves the old file whole.
bool SaveVersionList(const QString& path, const QStringList& complete, const QStringList& incomplete);

// Which testament file holds a book: books 40 to 66 the "-N" file, every other book the "-O" file.
enum class Testament { Old, New };
Testament testamentOf(long long bookNumber);
inline char testamentLetter(Testament t) {
    return t == Testament::New ? 'N' : 'O';
}
// The book's testament file of a version: files.oldTestament or files.newTestament.
const QString& testamentFile(const VersionFiles& files, Testament t);

// One book of a version: a row of Livre_chap.txt (its name, number, chapter count, sound prefix
// and class).
struct Book {
    int row = 0;    // 0-based row of the book list
    int number = 0; // the number its name begins with: "01 Genesis" -> 1; 0 when none
    QString name;   // as displayed, "01 Genesis"
    QByteArray key; // its verses' key in the testament file: the name's number and the letter, "01O"
    Testament testament = Testament::Old;
    QByteArray tableKey;    // the book as Chap_verset.txt names it (field 2, as read), "01O"
    int chapterCount = 0;   // field 3; 0 when it is not a number from 0 to 32767
    QByteArray soundPrefix; // field 4: the prefix of the chapter recordings, the book's abbreviation "Gn"
    QString className;      // field 5, the class label shown beside the book list
};

// The books of one version and the verse counts of their chapters (Chap_verset.txt).
struct BookTables {
    std::vector<Book> books; // Livre_chap.txt order

    const Book* bookAt(int row) const;
    // The first book whose name begins with `number`, or null.
    const Book* bookByNumber(int number) const;
    // Verse count of a chapter: the first Chap_verset.txt row of the book's tableKey and the
    // chapter; 0 without a row or when the count is not a number from 1 to 32767.
    int verseCount(const Book& book, int chapter) const;
    QStringList names() const;
    // The names by book number: entry n - 1 is the name of book n, "" where the version has no such
    // book (one of the New Testament alone has no book 1 to 39).
    QStringList namesByNumber() const;

    QHash<QByteArray, QByteArray> m_verseCounts; // "01O" TAB chapter TAB -> count as read
};

// A book's name as people say it, without the list's number it begins with: "43 Jean" -> "Jean",
// "09 1 Samuel" -> "1 Samuel".
QString displayedBookName(const QString& listName);

// Lines with too few tabs are skipped. Missing files give empty tables.
BookTables LoadBookTables(const QString& dataPath, const QByteArray& code);

} // namespace lumora::bible
