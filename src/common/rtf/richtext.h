#pragma once
// A small rich-text model: what the program keeps of a formatted document (hymn words, saved
// passages). It holds only what is shown: paragraphs with an alignment, and runs of text that
// share one character format. Everything else a word processor stores (styles, lists, pictures,
// page setup) is dropped by the reader.
//
// Text conventions inside a run:
//   U+2028 (line separator) is a line break inside the paragraph (RTF \line, Qt's soft break);
//   '\t' is a tab. Paragraph breaks are never part of run text: they separate Paragraphs.

#include <QString>
#include <QtGlobal>

#include <optional>
#include <vector>

namespace lumora::common::rtf {

inline constexpr QChar kLineBreak{0x2028};
inline constexpr double kDefaultSizePt = 12.0;

enum class Alignment { Left, Right, Centre, Justify };

struct Colour final {
    quint8 red = 0;
    quint8 green = 0;
    quint8 blue = 0;
    bool operator==(const Colour&) const = default;
};

struct CharFormat final {
    // Empty family = the reader's or viewer's default font.
    QString fontFamily;
    // Real size in points; RTF stores half points, so sizes survive a file round trip to the
    // nearest half point.
    double sizePt = kDefaultSizePt;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    std::optional<Colour> colour;     // absent = the viewer's text colour
    std::optional<Colour> backColour; // absent = no background
    bool operator==(const CharFormat&) const = default;
};

struct Run final {
    QString text;
    CharFormat format;
    bool operator==(const Run&) const = default;
};

struct Paragraph final {
    Alignment alignment = Alignment::Left;
    std::vector<Run> runs;    // an empty paragraph is an empty line
    bool rightToLeft = false; // the paragraph's direction (RTF \rtlpar), as a Hebrew passage has it
    bool operator==(const Paragraph&) const = default;
};

struct Document final {
    std::vector<Paragraph> paragraphs;
    bool operator==(const Document&) const = default;
};

// The canonical form that the reader produces: no empty runs, and no two neighbouring runs of a
// paragraph with the same format (they are joined). Compare documents in this form.
Document normalized(Document doc);

// The text as shown, paragraphs joined by '\n', line breaks as '\n'.
// {"Amazing grace" | "How sweet"} -> "Amazing grace\nHow sweet".
QString plainText(const Document& doc);

} // namespace lumora::common::rtf
