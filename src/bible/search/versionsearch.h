#pragma once
// Word search through the two testament files of a Bible version.
//
// Every verse line that holds the needle (letters A-Z compared without regard to case, every
// other byte exactly, so "é" does not find "É") is one hit, however often the needle occurs in
// it. Hits come in file order, Old Testament file first.

#include <QByteArray>
#include <QByteArrayList>
#include <QByteArrayView>
#include <QList>
#include <QString>
#include <QStringList>

#include "session/passageref.h"

#include <array>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <vector>

namespace lumora::bible {

struct SearchHit {
    // Where the hit leads: the version searched (empty for a single file), the book number (the
    // leading digits of field 1: "43N" -> 43, "100O" -> 100), the chapter and the verse as first
    // and last verse. A field that is no number from 1 up is 0 there.
    session::PassageRef ref;

    // True when the hit names a verse: book, chapter and verse are all numbers from 1 up.
    bool leadsToVerse() const { return ref.book >= 1 && ref.chapter >= 1 && ref.firstVerse >= 1; }

    // Field 1 TAB field 2 TAB field 3 of the verse line ("43N\t3\t16"), as the file writes them:
    // the hit's display line shows them.
    QByteArrayView verseKey() const {
        return m_size >= 0 ? QByteArrayView(m_inline.data(), m_size) : QByteArrayView(m_long);
    }
    void setVerseKey(QByteArrayView key);

    QByteArrayView bookKey() const;
    QByteArrayView chapter() const;
    QByteArrayView verse() const;

  private:
    // A search for a common word yields a hit for nearly every verse; keys are short, so they
    // are kept in place rather than in a heap block of their own.
    std::array<char, 24> m_inline{};
    int m_size = 0; // -1: the key is in m_long
    QByteArray m_long;
};

struct SearchFileResult {
    bool opened = false;
    QList<SearchHit> hits;
};

// Scans one testament file. The first three bytes of the first line (the byte-order mark) are
// not searched, as every reader of these files drops them. A line ends at LF, CR or CR LF. Lines
// with fewer than four tabs are no verse lines and never hits. A needle holding CR or LF can
// match no line; an empty needle matches every verse line.
SearchFileResult SearchBookFile(const QString& path, QByteArrayView needle);

// The same scan over bytes already in memory (`data` is a whole file).
QList<SearchHit> searchBookBytes(QByteArrayView data, QByteArrayView needle);

// "", " " and "   " are no search at all (the result list holds only the "????" entry); any other
// text, "  " included, is searched for.
bool isBlankSearch(QByteArrayView needle);

// "Jean 3.16-16": the book's name as the version shows it (entry book - 1 of the version's names by
// book number, BookTables::namesByNumber), a blank, chapter "." verse "-" verse. A book number with
// no name in the list shows field 1 in its place, so the hit is still listed.
QString searchDisplayLine(const SearchHit& hit, const QStringList& bookNames);

// The hits of a search over a whole version, each with its display line, without the trailing
// "????" entry the drop-down adds.
struct VersionSearch {
    QStringList display;    // one line a hit, in hit order
    QList<SearchHit> hits;  // their places, row for row with display; ref.version is the code searched
    QStringList unreadable; // testament files that could not be opened, in the order tried
};

// The bytes of the testament files searched last, kept while each file's size and modification
// time stay the same, so a search repeated in the same version reads no file.
class SearchFileCache final {
  public:
    // nullopt when the file cannot be read.
    std::optional<QByteArray> read(const QString& path);

  private:
    struct Entry {
        QString path;
        std::filesystem::file_time_type mtime;
        std::uintmax_t size = 0;
        QByteArray data;
    };
    std::vector<Entry> m_entries; // the two files of one version at most, the latest last
};

// Searches CODE-O.txt then CODE-N.txt of the version (found without regard to letter case).
// With a cache, files unchanged since the last search are not read again.
VersionSearch SearchVersion(const QString& dataPath, const QByteArray& code, const QStringList& bookNames,
                            QByteArrayView needle, SearchFileCache* cache = nullptr);

} // namespace lumora::bible
