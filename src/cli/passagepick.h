#pragma once
// Picking a passage the way the navigation lists do, for the commands that show or export one.

#include "bible/passagebuilder.h"

#include <QString>

#include <optional>
#include <vector>

namespace lumora::cli {

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

// The request the window would build after the same picks. nullopt (one line on stderr) when the
// version, book, chapter or verses do not exist.
std::optional<PickedPassage> pickPassage(const QString& data, const PassagePicks& picks);

// The List_version entry whose code matches (letter case ignored), else the first; nullopt (one
// line on stderr) when Version.txt cannot be read or the code is unknown.
std::optional<QString> pickVersion(const QString& data, const std::optional<QString>& wanted);

// "12" -> 12; nullopt for anything but a number above 0.
std::optional<int> positiveNumber(const QString& text);

} // namespace lumora::cli
