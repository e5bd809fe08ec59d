#pragma once
// The Bible data tree: the version list and the book and chapter tables of one version.
//
// Under <data>/Bible: Version.txt ("CODE - Name" lines), and per version CODE/CODE-O.txt,
// CODE/CODE-N.txt, CODE/Livre_chap.txt and CODE/Chap_verset.txt. File and folder names are
// found without regard to letter case.

#include <QByteArray>
#include <QByteArrayList>
#include <QHash>
#include <QString>
#include <QStringList>

#include <optional>

namespace lumora::bible {

// Where a version's files lie (the names as found on disk, or as they would be created).
struct VersionFiles {
    QString folder, oldTestament, newTestament, books, chapters;
};
VersionFiles versionFiles(const QString& dataPath, const QByteArray& code);
QString versionListPath(const QString& dataPath);

struct VersionList {
    QStringList List_version;       // complete versions, file order (decoded lines)
    QStringList List_version_reste; // versions missing one of their four files
    // Set when Version.txt could not be opened: 53 when the file is missing, 76 when its folder is.
    std::optional<int> openError;
};

VersionList LoadBibleVersions(const QString& dataPath);
// Sorts one raw Version.txt line into the complete or the incomplete list; a line without " -"
// is skipped. Returns false when skipped.
bool CheckVersionEntry(const QString& dataPath, const QByteArray& line, VersionList& into);

// Writes the complete versions, then the incomplete ones, one CR LF line each, no BOM;
// atomically, so a failed write leaves the old file whole.
bool SaveVersionList(const QString& path, const QStringList& complete, const QStringList& incomplete);

// The hidden tables of one version, row for row as Livre_chap.txt and Chap_verset.txt give them.
struct BookTables {
    QStringList List_livre;         // display names
    QByteArrayList List_NumLivre;   // book numbers as used in Chap_verset.txt
    QByteArrayList List_NbrChap;    // chapter counts, as read
    QByteArrayList List_PrefixeSon; // chapter audio prefixes
    QStringList List_classe;        // class labels
    QByteArrayList List_LivreChap;  // chapter rows: book number, tab, chapter, tab
    QByteArrayList List_NbrVerset;  // verse counts of the chapter rows

    // The first List_LivreChap row equal to book + tab + chapter + tab, or -1.
    int chapterRow(const QByteArray& book, int chapter) const;
    // Chapter count of a book as a 16-bit number; 0 when it is not a number (or out of range).
    int chapterCount(int book) const;

    QHash<QByteArray, int> m_rowIndex; // built by LoadBookTables
};

// Lines with too few tabs are skipped. Missing files give empty tables.
BookTables LoadBookTables(const QString& dataPath, const QByteArray& code);

} // namespace lumora::bible
