#pragma once
// Verse-list entries: what the add button writes for the passage on display, and how an entry is
// read back into the indexes of the Bible navigation lists.
//
// Entry: book row + ". " + chapter + " : " + first verse + " - " + last verse + TAB + version code,
// e.g. "43 Jean.  3 : 16 - 18\tLSG" (the row texts are taken as the lists show them).

#include "session/navigation.h"

#include <QString>
#include <QStringList>

#include <optional>

namespace lumora::lists {

// The texts of the selected rows of the navigation lists.
struct DisplayedPassage {
    QString book;       // List_livre
    QString chapter;    // List_chapitre
    QString firstVerse; // List_verset
    QString lastVerse;  // List_verset_limite
    QString version;    // List_version, "CODE - name"
};

// nullopt when the version row has no code (no " -" in it).
std::optional<QString> makeVerseListEntry(const DisplayedPassage& p);

// Where an entry leads, as 0-based rows of the navigation lists. span is the row of
// List_verset_limite, whose row 0 is the first verse itself.
struct VerseListTarget {
    QString versionCode;
    int book = 0;
    int chapter = 0;
    int verse = 0;
    qint16 span = 0;
};

// The separators ". ", " : ", " - " and TAB are each searched from the sixth character on; the
// book is read from the first two characters, the numbers from their leading digits after any
// blanks. nullopt when a separator is missing or out of order or a number cannot be read.
std::optional<VerseListTarget> parseVerseListEntry(const QString& entry);

// The last row of List_version that contains code + " - " (letter case ignored); nullopt when
// none does.
std::optional<int> findVersionRow(const QStringList& versionRows, const QString& code);

using session::NavLevel;

struct NavSelection {
    int version = -1;
    int book = -1;
    int chapter = -1;
    int verse = -1;
};

// The first list whose selection differs from the target, top level first; Span when the first
// verse is already shown and only the end verse remains to be picked.
NavLevel firstDifferingLevel(const NavSelection& target, const NavSelection& current);

} // namespace lumora::lists
