#include "marks/verselabel.h"

#include <algorithm>

namespace lumora::marks {

namespace {
bool isLineBreak(QChar c) {
    return c == u'\n' || c == u'\r' || c == QChar::ParagraphSeparator || c == QChar::LineSeparator;
}
} // namespace

std::optional<LabelSpan> verseLabelAt(const QString& plainText, int caret) {
    const int size = int(plainText.size());
    caret = std::clamp(caret, 0, size);
    int lineStart = caret;
    while (lineStart > 0 && !isLineBreak(plainText[lineStart - 1]))
        --lineStart;
    int lineEnd = lineStart;
    while (lineEnd < size && !isLineBreak(plainText[lineEnd]))
        ++lineEnd;
    const qsizetype blanks =
        QStringView(plainText).mid(lineStart, lineEnd - lineStart).indexOf(QLatin1StringView("   "));
    if (blanks <= 0) return std::nullopt;
    return LabelSpan{lineStart, int(blanks)};
}

} // namespace lumora::marks
