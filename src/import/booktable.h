#pragma once
// The books every Bible reader knows by the codes of its format.
//
// Book numbers: the 66 canonical books keep their usual numbers (Genesis 1 ... Revelation 66).
// The deuterocanonical and other books that have a code in OSIS or USFM follow in this fixed
// order, whatever order a file lists them in, so that the same book has the same number in
// every imported version:
//   67 Tobit, 68 Judith, 69 Esther (Greek), 70 Additions to Esther, 71 Wisdom, 72 Sirach,
//   73 Baruch, 74 Letter of Jeremiah, 75 Prayer of Azariah, 76 Susanna, 77 Bel and the Dragon,
//   78-81 1-4 Maccabees, 82 1 Esdras, 83 2 Esdras, 84 Prayer of Manasseh, 85 Psalm 151,
//   86 Daniel (Greek), 87 Laodiceans.
// A book the table does not know gets the next free number after these, in the order met.

#include <QByteArray>
#include <QByteArrayView>

namespace lumora::import {

struct BookCode final {
    int number = 0;           // see above
    const char* osis = "";    // "Matt"; also the chapter audio prefix
    const char* usfm = "";    // "MAT"
    const char* english = ""; // "Matthew"
};

inline constexpr int kFirstUnlistedBook = 88;

// Lookups; nullptr when the code or number is not in the table.
const BookCode* bookByNumber(int number);
const BookCode* bookByOsisId(QByteArrayView id);     // "1Sam"
const BookCode* bookByUsfmCode(QByteArrayView code); // "1SA", letter case ignored
// An English name or common abbreviation, letter case, blanks and dots ignored: "1 Samuel",
// "I Samuel", "1Sam", "Song of Songs", "Psalm" -> the book.
const BookCode* bookByName(QByteArrayView name);

// USFM books that hold no Bible text (front matter, glossary, indexes...): skipped on import.
bool isPeripheralUsfmBook(QByteArrayView code);

// The name of a table book in the version's language (ISO 639 code, "fr" or "fra"), when the
// built-in table has that language; else the English name.
QByteArray localBookName(const BookCode& book, QByteArrayView language);

} // namespace lumora::import
