#pragma once
// A second version in the clone's passage: each verse's text in that version under the verse
// (stacked) or beside it, in a row of two columns (side by side). Each text keeps its own
// direction. A verse the second version lacks gets an empty line or cell, never another verse.
//
// The places of the verse labels (`starts`, positions in the document) move with the text they
// point into, so the following still lights the label of the verse heard.

#include "windows/ui/versepanel.h"

#include <QHash>
#include <QList>
#include <QString>

class QTextDocument;

namespace lumora::windows {

// True when at least one verse has a text in the second version.
bool hasSecondVersion(const QList<VerseCell>& verses);

void addSecondVersion(QTextDocument& document, QHash<QString, int>& starts, const QList<VerseCell>& verses,
                      SecondLayout layout);

} // namespace lumora::windows
