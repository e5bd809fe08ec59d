#pragma once
// Adds hymns to a hymn book (made when it does not exist yet) in the book's own formats:
//
//   <book>/parole/<label>.txt   the words: BOM, lines joined by CR LF, an empty line between
//                               stanzas, CR LF at the end
//   <book>/Hira.txt             one new entry per hymn, after the entries already there
//
// Nothing that exists is ever replaced: a words file is created only under a free name, and
// "Hira.txt" is rewritten whole (atomically) with its old bytes followed by the new entries, once,
// by commit(), after every words file is in place. A failed or abandoned import removes the words
// files it made, so the book stays as it was.

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>
#include <set>

namespace lumora::hymns {

// The themes of a hymn that brings none and was given none: an entry needs both to be listed.
inline const QString kImportedTheme = QStringLiteral("Imported");
inline const QString kImportedSubTheme = QStringLiteral("General");

// One hymn to add, as read from somewhere else. Fields are cleaned on the way in (control
// characters and runs of blanks become one space; the title loses what Windows refuses in a file
// name), so they cannot break an entry or a file name.
struct NewHymn {
    QString number; // wanted number (a songbook entry); empty: the next free number
    QString title;
    QString composer;  // field 2
    QString author;    // field 3
    QString tonality;  // field 4
    QString copyright; // field 5, which the program does not show
    QString theme;     // field 6; empty: kImportedTheme
    QString subTheme;  // field 7; empty: kImportedSubTheme
    QString tune;      // field 8
    QList<QStringList> stanzas;
};

// What became of one hymn: its label and what had to change on the way.
struct AddedHymn {
    QString label;
    QString entry;       // the whole entry, as the lists hold it
    QStringList changes; // "number 12 is taken: numbered 31", "title cleaned for a file name"
};

class HymnBookWriter final {
  public:
    // The book `book` under `cantiques`, found without regard to letter case (its folder name is
    // then the book's name). nullopt, with the reason, when the name cannot be a book (empty, a
    // ".", a path separator, a character Windows refuses, the playlists' "Favori" folder) or its
    // "Hira.txt" cannot be read.
    static std::optional<HymnBookWriter> open(const QString& cantiques, const QString& book,
                                              QString* whyNot = nullptr);

    // Writes the hymn's words file and keeps its entry for commit(). A number that is taken (by
    // an entry, or by a words file of that number or label) is replaced by the next free one,
    // which is one more than the highest number of the book. nullopt, with the reason, when the
    // title is empty or the words file cannot be written.
    std::optional<AddedHymn> add(const NewHymn& hymn, QString* whyNot = nullptr);

    // Writes "Hira.txt" with the new entries. When it cannot be written, or was changed by
    // someone else since open(), the words files are removed again and false is returned.
    bool commit(QString* whyNot = nullptr);
    // Removes the words files written so far; no entry is written.
    void rollback();

    QString book() const { return m_book; }
    QString folder() const { return m_folder; }
    int added() const { return static_cast<int>(m_entries.size()); }

  private:
    HymnBookWriter() = default;
    bool isTaken(const QString& number, const QString& label) const;
    QString nextFreeNumber();

    QString m_folder; // <cantiques>/<book>
    QString m_book;
    QByteArray m_oldHira; // as read at open(); empty for a new book
    bool m_hadHira = false;
    std::set<QString> m_numbers; // folded to lower case
    std::set<QString> m_labels;  // folded to lower case
    long long m_highest = 0;
    QStringList m_entries;
    QStringList m_written;     // words files made by this writer
    QStringList m_madeFolders; // the book and words folders it made, innermost first
};

// The text of one field of a new entry: control characters (tabs and line breaks included) and
// runs of blanks become one space, the ends are trimmed, and the text is composed (NFC), so
// "  Jean\tPaul " -> "Jean Paul".
QString cleanHymnField(const QString& text);

// A title that can be part of a file name on Windows too: the cleaned field without
// < > : " / \ | ? * (each becomes a space, '"' an apostrophe), without dots or blanks at its end,
// and at most 100 characters. "Why? / Because" -> "Why Because".
QString fileSafeTitle(const QString& title);

// A number that can stand before " - " in a label and name files: letters, digits, '-', '_' and
// '.' only (not at the end). " 12 " -> "12", "A:1" -> "A1".
QString fileSafeNumber(const QString& number);

// Why a name cannot be a hymn book's folder (and its field 9); nullopt when it can.
std::optional<QString> hymnBookNameProblem(const QString& book);

} // namespace lumora::hymns
