#pragma once
// Which verse a click in the passage names: the passage lays every verse out as its label
// ("chapter.verse"), three blanks and the verse text, one verse a line.

#include <QString>

#include <optional>

namespace lumora::marks {

struct LabelSpan {
    int start = 0;  // 0-based offset into the plain text
    int length = 0; // characters of the label
    friend bool operator==(const LabelSpan&, const LabelSpan&) = default;
};

// The label of the line holding `caret` (a 0-based insertion point into `plainText`): from the
// start of that line (after the last line break before the caret) up to the first three blanks
// of the same line. "1.1   In the...\n\n1.2   And..." with the caret anywhere in the second verse
// gives {start of "1.2", 3}. Nothing for a line without three blanks (a title, the closing
// reference line) or one that begins with them.
std::optional<LabelSpan> verseLabelAt(const QString& plainText, int caret);

} // namespace lumora::marks
