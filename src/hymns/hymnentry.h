#pragma once
// One hymn entry: a line of a book's "Hira.txt" with nine tab-separated fields.
//
//   label \t composer \t author \t tonality \t (unused) \t theme \t sub-theme \t tune \t book
//
// The label is normally "number - title". Anything after the 8th tab belongs to the book field.

#include <QByteArray>
#include <QString>

#include <array>
#include <optional>

namespace lumora::hymns {

struct HymnFields {
    QByteArray label;    // field 1
    QByteArray composer; // field 2
    QByteArray author;   // field 3
    QByteArray tonality; // field 4
    QByteArray theme;    // field 6
    QByteArray subTheme; // field 7
    QByteArray tune;     // field 8
    QByteArray book;     // field 9, equal to the book's folder name
};

// All nine fields, or nullopt when the entry has fewer than 8 tabs.
std::optional<HymnFields> SplitHymnEntry(const QByteArray& entry);
std::optional<HymnFields> SplitHymnEntry(const QString& entry);

// Byte offsets of the first 8 tabs of a line; a tab that is missing sits at the end of the line,
// so the fields it would have opened are empty. Used by the list filters, which also look at
// entries that do not split.
std::array<qsizetype, 9> tabPositions(const QByteArray& line);
// The text from field k (1..9) to the end of the line. "a\tb\tc" from 2 -> "b\tc".
QByteArray fromField(const QByteArray& line, const std::array<qsizetype, 9>& tabs, int k);
// Field k alone (1..8); for an entry that does not split, the last field present runs to the end.
QByteArray fieldAt(const QByteArray& line, const std::array<qsizetype, 9>& tabs, int k);

// The part of a label before its first " - "; "" when there is none. "12 - Amen" -> "12".
QString HymnNumber(const QString& label);
// The part of a label before its first " -" (the slide and video lookups cut there); nullopt when
// there is none. "12 -Amen" -> "12".
std::optional<QString> labelNumberForMedia(const QString& label);

// The information block shown beside the words (lines joined by CR LF, none after the last):
// "AIR OF : tune", "TONALITY : key", "AUTHOR : author", "COMPOSER : composer".
// nullopt when the entry does not split.
std::optional<QString> ShowHymnInfo(const QString& entry);

} // namespace lumora::hymns
