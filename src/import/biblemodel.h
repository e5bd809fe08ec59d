#pragma once
// A whole Bible version as the importer assembles it before writing the version folder.

#include <QByteArray>
#include <QString>

#include <vector>

namespace lumora::import {

struct ImportedVerse final {
    QByteArray text;       // verse field: optional "[Title]"s, then the text (UTF-8)
    QByteArray mark = "0"; // reading mark; "0" = none
};

struct ImportedBook final {
    int number = 0;         // 1..66 in the usual order; 67 and up for any other book
    QByteArray name;        // display name without the number, UTF-8 ("Matthew")
    QByteArray soundPrefix; // prefix of the chapter audio files ("Matt")
    QByteArray classLabel;  // "Gospels"
    std::vector<std::vector<ImportedVerse>> chapters; // chapters[c-1][v-1]

    // "40N", "01O", "67O".
    QByteArray key() const;
};

struct ImportedBible final {
    std::vector<ImportedBook> books; // in book-number order

    const ImportedBook* findBook(int number) const;
    ImportedBook* findBook(int number);
};

// Book number of an OSIS book id in the usual 66-book order ("Matt" -> 40); 0 for any other book.
int standardBookNumber(QByteArrayView osisId);
// The class shown beside the book list: "Law", "History", "Poetry", "Prophets", "Gospels",
// "Epistles", "Prophecy", or "Deuterocanon" for books above 66.
QByteArray bookClass(int number);

// Chapter audio file name inside the version's Sound folder: prefix, two-digit chapter below 10,
// extension. ("Ps", 3, ".mp3") -> "Ps03.mp3"; ("Ps", 119, ".mp3") -> "Ps119.mp3".
QString chapterAudioName(const QByteArray& prefix, int chapter, const QString& extension);

} // namespace lumora::import
