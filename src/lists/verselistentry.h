#pragma once
// Verse-list entries: what the add button writes for the passage on display, and the place an
// entry names.
//
// Entry: the book's name as the book list shows it + ". " + chapter + " : " + first verse + " - " +
// last verse + TAB + version code, e.g. "43 Jean. 3 : 16 - 18\tLSG".

#include "session/passageref.h"

#include <QString>

#include <optional>

namespace lumora::lists {

// The entry of a passage on display; `bookName` is the book's name as the book list shows it,
// "43 Jean".
QString makeVerseListEntry(const QString& bookName, const session::PassageRef& ref);

// The place an entry names: the version code after the TAB, the book number from the entry's first
// two characters, and the chapter, first and last verse. The separators ". ", " : ", " - " and TAB
// are each searched from the sixth character on, and the numbers read from their leading digits
// after any blanks. nullopt when a separator is missing or out of order or a number cannot be read.
// The numbers are taken as they stand (a last verse before the first is left to the navigation).
std::optional<session::PassageRef> parseVerseListEntry(const QString& entry);

} // namespace lumora::lists
