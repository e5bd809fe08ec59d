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
    int book = 0;       // 0-based List_livre row
    int chapter = 0;    // 1-based
    int verseCount = 0; // from Chap_verset.txt
};

// BOOK is the 1-based book row, CHAPTER the chapter number. Prints the error.
std::optional<PickedChapter> pickChapter(const QString& data, const PickedVersion& version, int bookRow,
                                         int chapter);

struct PassagePicks final {
    std::optional<QString> version; // code, letter case ignored; the first complete version when absent
    std::vector<int> numbers;       // BOOK CHAPTER [FIRST [LAST]], 1-based
    bool titles = false;            // Check_With_Title
    bool uppercase = false;         // Check_Uppercase
    bool header = false;            // Check_Version
};

struct PickedPassage final {
    bible::PassageRequest request;
    int verseCount = 0; // verses of the chapter
};

// The request the window would build after the same picks, for the commands that show or export a
// passage. nullopt (one line on stderr) when the version, book, chapter or verses do not exist.
std::optional<PickedPassage> pickPassage(const QString& data, const PassagePicks& picks);

} // namespace lumora::cli
