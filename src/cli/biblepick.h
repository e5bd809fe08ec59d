#pragma once
// Finding the version, book and chapter named on the command line, as the navigation lists do.

#include "bible/biblestore.h"
#include "bible/passagebuilder.h"

#include <QByteArray>
#include <QString>

#include <optional>
#include <vector>

namespace lumora::cli {

struct PickedVersion {
    QString entry; // the List_version entry
    QByteArray code;
};

// The List_version row whose code matches (letter case ignored), else row 0. Prints the error.
std::optional<PickedVersion> pickVersion(const QString& data, const std::optional<QString>& wanted);

// A whole number above 0.
std::optional<int> positiveNumber(const QString& text);

struct PickedChapter {
    bible::BookTables tables;
    bible::Book book;
    int chapter = 0;    // 1-based
    int verseCount = 0; // from Chap_verset.txt
};

// BOOK is the 1-based book row, CHAPTER the chapter number. Prints the error.
std::optional<PickedChapter> pickChapter(const QString& data, const PickedVersion& version, int bookRow,
                                         int chapter);

struct PassagePicks final {
    std::optional<QString> version; // code, letter case ignored; the first complete version when absent
    std::vector<int> numbers;       // BOOK CHAPTER [FIRST [LAST]], 1-based; empty with a reference
    QString reference;              // a typed reference, "John 3:16-18", when numbers is empty
    bool titles = false;            // Check_With_Title
    bool uppercase = false;         // Check_Uppercase
    bool header = false;            // Check_Version
};

struct PickedPassage final {
    bible::PassageRequest request;
    int verseCount = 0;       // verses of the chapter
    bool rightToLeft = false; // the version is written right to left (bible::isRightToLeft)
};

// Reads the passage arguments: BOOK CHAPTER [FIRST [LAST]] as numbers, or, when the first is not a
// number, a reference in one or more words ("John 3:16-18", or John 3:16-18). Returns the usage
// error to report, or an empty text.
QString takePassageArguments(const QStringList& args, PassagePicks& picks);

// The request the window would build after the same picks, for the commands that show or export a
// passage. nullopt (one line on stderr) when the version, book, chapter or verses do not exist, or
// the reference names no single passage (the candidates of an ambiguous book are said).
std::optional<PickedPassage> pickPassage(const QString& data, const PassagePicks& picks);

// The picked passage built as the window builds it; nullopt (one line on stderr) when its testament
// file cannot be read or none of its verses is in it.
std::optional<bible::Passage> buildPickedPassage(const PickedPassage& picked, const PassagePicks& picks);

} // namespace lumora::cli
