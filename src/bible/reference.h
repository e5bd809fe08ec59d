#pragma once
// References as people type them: "John 3:16-18", "jn 3.16", "Ps 23", "1 Cor 13:4-7", "Salmos 23"
// in a Spanish version, "Jean 3:16" in a French one.
//
// The book is found among the version's own names ("43 Jean" answers to "Jean") and
// abbreviations (the chapter recordings' prefix, "John"), then among the usual English names and
// abbreviations ("Jn", "Mt", "1 Co"), letter case and accents ignored. An exact name wins over a
// beginning of a name; a beginning that fits several books gives them as candidates and no passage.

#include "bible/biblestore.h"
#include "session/passageref.h"

#include <QString>
#include <QStringList>

#include <optional>

namespace lumora::bible {

struct ParsedReference {
    std::optional<session::PassageRef> ref; // set when the text names one passage of the version
    QStringList candidates;                 // the books' names, when the book part fits several
    QString error;                          // why there is no passage, said for the person who typed it
};

// "jn 3" gives the whole chapter (first and last verse 0); "jn 3:16" the verse alone; a single
// number after a book of one chapter is a verse ("Jude 5" is Jude 1:5). Chapters and verses are
// checked against the version's tables.
ParsedReference ParseReference(const QString& text, const QByteArray& versionCode, const BookTables& tables);

// Folds a name for comparison: accents and letter case dropped, blanks, dots and hyphens removed,
// a leading Roman "I", "II" or "III" made a digit. "1 Co." -> "1co"; "Génesis" -> "genesis".
QString foldBookName(const QString& name);

// The usual English name of a book of the 66 ("John" for 43), or "" for any other number.
QString englishBookName(int number);

} // namespace lumora::bible
