#pragma once
// The passage as a rich-text document: what the passage box holds, and so what Save as writes
// from the Bible tab and what lumora-cli export writes. One function builds it for both.

#include "bible/biblestore.h"
#include "common/rtf/richtext.h"

#include <QByteArray>
#include <QString>

#include <optional>

namespace lumora::bible {

// The look of the whole passage.
struct PassageLook final {
    QString fontFamily;
    double sizePt = 14.0;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    std::optional<common::rtf::Colour> colour; // absent: the reader's text colour
    common::rtf::Alignment alignment = common::rtf::Alignment::Left;
    bool rightToLeft = false; // the version's language is written right to left
};

// The look the passage box starts with, before the font dialog changes it.
PassageLook defaultPassageLook();

// Whether a version is written right to left, as its book names are: a Hebrew letter heading an
// English psalm does not turn an English version around.
bool isRightToLeft(const BookTables& tables);

// The passage text (the builder's UTF-8, with or without the byte-order mark) as paragraphs in
// `look`: each line (CR LF, CR or LF) one paragraph. "5.1   A\r\n\n5.2   B" -> "5.1   A" | "" | "5.2   B".
common::rtf::Document passageDocument(const QByteArray& passageText, const PassageLook& look);
// The text such a document shows: paragraphs joined by '\n'.
QString passagePlainText(const QByteArray& passageText);

} // namespace lumora::bible
