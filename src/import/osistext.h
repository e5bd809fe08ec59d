#pragma once
// Turns the OSIS markup of one SWORD verse entry into the plain text of a verse line.

#include <QByteArray>
#include <QByteArrayView>
#include <QList>

namespace lumora::import {

struct OsisVerse final {
    QList<QByteArray> titles; // section and psalm titles, in order, plain text
    QByteArray text;          // the verse proper, plain text, white space collapsed
};

// Notes (footnotes, cross references) are dropped with their content; every other tag is dropped
// and its content kept; entities are decoded; runs of white space become one blank, trimmed.
// Titles are lifted out wherever they stand, except book and chapter headings (type "main",
// "chapter", "x-introduction"), which are not part of any verse.
// `He <w lemma="x">said</w><note>n</note>.` -> text "He said."
OsisVerse cleanOsis(QByteArrayView raw);

// The verse text field: each title as "[Title]", back to back, then the text.
// ({"A", "B"}, "Text") -> "[A][B]Text". Brackets inside a title become parentheses.
QByteArray verseField(const QList<QByteArray>& titles, const QByteArray& text);

} // namespace lumora::import
