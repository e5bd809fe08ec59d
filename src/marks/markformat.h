#pragma once
// Mark texts: seconds with a comma and five decimals ("83,50000"); exactly "0" means no mark.

#include <QByteArray>

namespace lumora::marks {

// Normalises a position text to five decimals, cutting (never rounding) longer ones:
// "12" -> "12,00000", "12,5" -> "12,50000", "12,345678" -> "12,34567", "" -> "".
// The decimals are counted after the integer part as written (its leading sign and digits), so
// "05,5" gives "05,50000" rather than a mark with three decimals.
QByteArray FormatMark(const QByteArray& text);

// A position in seconds written as FormatMark expects it: comma, decimals cut after the fifth.
// 83.5 -> "83,50000". Negative positions give "0,00000".
QByteArray positionText(double seconds);

// What a typed position may hold: at least one character, only digits and commas.
bool isPositionText(const QByteArray& text);

} // namespace lumora::marks
