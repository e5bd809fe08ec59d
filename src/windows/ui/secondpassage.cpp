#include "windows/ui/secondpassage.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextDocumentFragment>
#include <QTextTable>

#include <algorithm>

namespace lumora::windows {

namespace {

QTextBlockFormat blockIn(const QString& text) {
    QTextBlockFormat f;
    const bool rtl = text.isRightToLeft();
    f.setLayoutDirection(rtl ? Qt::RightToLeft : Qt::LeftToRight);
    f.setAlignment(rtl ? Qt::AlignRight | Qt::AlignAbsolute : Qt::AlignLeft | Qt::AlignAbsolute);
    return f;
}

// The second text looks like the first (font, size, colour) but slanted, so the eye tells them apart.
QTextCharFormat charsLike(const QTextCharFormat& first) {
    QTextCharFormat f = first;
    f.setFontItalic(true);
    f.setFontUnderline(false);
    f.clearProperty(QTextFormat::AnchorHref);
    return f;
}

// The look of a line's last letter (its text, after the label).
QTextCharFormat lastCharFormat(const QTextBlock& block) {
    QTextCursor at(block);
    at.setPosition(block.position() + std::max(0, block.length() - 1));
    return at.charFormat();
}

void shiftAfter(QHash<QString, int>& starts, int at, int by) {
    for (auto it = starts.begin(); it != starts.end(); ++it)
        if (it.value() > at) it.value() += by;
}

void stack(QTextDocument& document, QHash<QString, int>& starts, const QList<VerseCell>& verses) {
    // From the last verse to the first: each line added moves only what follows it.
    struct Place {
        int start;
        const VerseCell* cell;
    };
    QList<Place> places;
    for (const VerseCell& c : verses) {
        const auto found = starts.constFind(c.label);
        if (found != starts.cend()) places.append({found.value(), &c});
    }
    std::sort(places.begin(), places.end(), [](const Place& a, const Place& b) { return a.start > b.start; });
    QTextCursor cursor(&document);
    for (const Place& p : places) {
        const QTextBlock block = document.findBlock(p.start);
        const int before = document.characterCount();
        const QTextCharFormat look = charsLike(lastCharFormat(block));
        cursor.setPosition(block.position() + block.length() - 1);
        cursor.insertBlock(blockIn(p.cell->second), look);
        cursor.insertText(p.cell->second, look);
        shiftAfter(starts, p.start, document.characterCount() - before);
    }
}

// Side by side: the lines from the first verse to the last become one table, a row of two cells
// for each verse (its line, and its twin) and a row across both for a title between verses. The
// blank lines between verses go: the rows keep the verses apart.
void sideBySide(QTextDocument& document, QHash<QString, int>& starts, const QList<VerseCell>& verses) {
    QHash<int, const VerseCell*> verseAt; // block position -> the verse starting there
    for (const VerseCell& c : verses) {
        const auto found = starts.constFind(c.label);
        if (found != starts.cend()) verseAt.insert(document.findBlock(found.value()).position(), &c);
    }
    if (verseAt.isEmpty()) return;
    const QList<int> positions = verseAt.keys();
    const QTextBlock first = document.findBlock(*std::min_element(positions.begin(), positions.end()));
    const QTextBlock last = document.findBlock(*std::max_element(positions.begin(), positions.end()));

    struct Row {
        QTextDocumentFragment text;
        QTextBlockFormat format;
        QTextCharFormat look;
        const VerseCell* verse; // null for a title
        int labelOffset;
    };
    QList<Row> rows;
    for (QTextBlock b = first; b.isValid() && b.position() <= last.position(); b = b.next()) {
        if (b.text().trimmed().isEmpty()) continue;
        QTextCursor c(&document);
        c.setPosition(b.position());
        c.setPosition(b.position() + b.length() - 1, QTextCursor::KeepAnchor);
        const VerseCell* verse = verseAt.value(b.position());
        const int offset = verse ? starts.value(verse->label) - b.position() : 0;
        rows.append({c.selection(), b.blockFormat(), charsLike(lastCharFormat(b)), verse, offset});
    }

    const int before = document.characterCount();
    const int rangeEnd = last.position() + last.length() - 1;
    QTextCursor cursor(&document);
    cursor.setPosition(first.position());
    cursor.setPosition(rangeEnd, QTextCursor::KeepAnchor);
    cursor.removeSelectedText();
    QTextTableFormat format;
    format.setBorder(0);
    format.setCellPadding(4);
    format.setWidth(QTextLength(QTextLength::PercentageLength, 100));
    format.setColumnWidthConstraints(
        {QTextLength(QTextLength::PercentageLength, 50), QTextLength(QTextLength::PercentageLength, 50)});
    QTextTable* table = cursor.insertTable(int(rows.size()), 2, format);
    QHash<QString, int> moved;
    for (int r = 0; r < rows.size(); ++r) {
        const Row& row = rows[r];
        if (!row.verse) table->mergeCells(r, 0, 1, 2);
        QTextCursor left = table->cellAt(r, 0).firstCursorPosition();
        left.setBlockFormat(row.format);
        left.insertFragment(row.text);
        if (!row.verse) continue;
        moved.insert(row.verse->label,
                     table->cellAt(r, 0).firstCursorPosition().position() + row.labelOffset);
        QTextCursor right = table->cellAt(r, 1).firstCursorPosition();
        right.setBlockFormat(blockIn(row.verse->second));
        right.insertText(row.verse->second, row.look);
    }
    shiftAfter(starts, rangeEnd, document.characterCount() - before);
    for (auto it = moved.cbegin(); it != moved.cend(); ++it)
        starts[it.key()] = it.value();
}

} // namespace

bool hasSecondVersion(const QList<VerseCell>& verses) {
    return std::any_of(verses.cbegin(), verses.cend(),
                       [](const VerseCell& c) { return !c.second.isEmpty(); });
}

void addSecondVersion(QTextDocument& document, QHash<QString, int>& starts, const QList<VerseCell>& verses,
                      SecondLayout layout) {
    QTextCursor edit(&document);
    edit.beginEditBlock();
    if (layout == SecondLayout::Stacked)
        stack(document, starts, verses);
    else
        sideBySide(document, starts, verses);
    edit.endEditBlock();
}

} // namespace lumora::windows
