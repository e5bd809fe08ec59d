#pragma once
// Finding the version, book and chapter named on the command line, as the navigation lists do.

#include "bible/biblestore.h"

#include <QByteArray>
#include <QString>

#include <optional>

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

} // namespace lumora::cli
