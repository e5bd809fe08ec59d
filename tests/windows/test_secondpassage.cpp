// A second version in the clone's passage: under or beside each verse, and the labels' places
// still lead to the verses after the change.

#include "session/nowshowing.h"
#include "windows/ui/secondpassage.h"

#include <QTextDocument>
#include <QTextFrame>
#include <QTextTable>
#include <gtest/gtest.h>

namespace lumora::testing {
namespace {

using windows::SecondLayout;
using windows::VerseCell;

// As the passage builder lays a passage out: a verse a line, blank lines between, here a title too.
const QString kPassage =
    QStringLiteral("Psalm 23\n23.1   The LORD is my shepherd.\n\n23.2   He maketh me to lie "
                   "down.\n\nA Title\n\n23.3   He restoreth my soul.\n");
const QString kHebrew = QStringLiteral("\u05e0\u05e4\u05e9\u05d9 \u05d9\u05e9\u05d5\u05d1\u05d1");
const QList<VerseCell> kCells{{"23.1", "The LORD is my shepherd.", "Jehová es mi pastor."},
                              {"23.2", "He maketh me to lie down.", ""},
                              {"23.3", "He restoreth my soul.", kHebrew}};

struct Shown {
    QTextDocument doc;
    QHash<QString, int> starts;
    explicit Shown(SecondLayout layout) {
        doc.setPlainText(kPassage);
        starts = session::verseLabelStarts(doc.toPlainText(), {"23.1", "23.2", "23.3"});
        windows::addSecondVersion(doc, starts, kCells, layout);
    }
    std::string at(const QString& label) const {
        return doc.toPlainText().mid(starts.value(label, -1), 4).toStdString();
    }
    Qt::LayoutDirection directionOf(const QString& text) const {
        return doc.find(text).block().blockFormat().layoutDirection();
    }
};

} // namespace

TEST(SecondPassage,
     stacked_eachVerseThenItsTwin_anEmptyLineForAMissingOne_labelsStillFound_noneWithoutTwins) {
    Shown s(SecondLayout::Stacked);
    EXPECT_EQ(s.doc.toPlainText(),
              "Psalm 23\n23.1   The LORD is my shepherd.\nJehová es mi pastor.\n\n23.2   He maketh "
              "me to lie down.\n\n\nA Title\n\n23.3   He restoreth my soul.\n" +
                  kHebrew + "\n");
    for (const char* label : {"23.1", "23.2", "23.3"})
        EXPECT_EQ(s.at(label), label);
    EXPECT_TRUE(s.doc.find("Jehová").charFormat().fontItalic());
    EXPECT_EQ(s.directionOf(kHebrew), Qt::RightToLeft) << "each version keeps its own direction";
    EXPECT_EQ(s.directionOf("Jehová"), Qt::LeftToRight);
    EXPECT_TRUE(windows::hasSecondVersion(kCells));
    QList<VerseCell> none = kCells;
    for (VerseCell& c : none)
        c.second.clear();
    EXPECT_FALSE(windows::hasSecondVersion(none)) << "no second text: the passage is left alone";
}

TEST(SecondPassage, sideBySide_aRowPerVerseWithItsTwin_aTitleAcross_labelsStillFound) {
    Shown s(SecondLayout::SideBySide);
    QList<QTextTable*> tables;
    for (QTextFrame* f : s.doc.rootFrame()->childFrames())
        if (auto* t = qobject_cast<QTextTable*>(f)) tables << t;
    ASSERT_EQ(tables.size(), 1);
    QTextTable* t = tables.front();
    ASSERT_EQ(t->rows(), 4) << "three verses and the title; the blank lines between them go";
    auto cell = [&](int row, int column) {
        QTextCursor c = t->cellAt(row, column).firstCursorPosition();
        c.setPosition(t->cellAt(row, column).lastCursorPosition().position(), QTextCursor::KeepAnchor);
        return c.selectedText().toStdString();
    };
    EXPECT_EQ(cell(0, 0), "23.1   The LORD is my shepherd.");
    EXPECT_EQ(cell(0, 1), "Jehová es mi pastor.");
    EXPECT_EQ(cell(1, 1), "") << "verse 2 is missing there: an empty cell, never another verse";
    EXPECT_EQ(cell(2, 0), "A Title");
    EXPECT_EQ(t->cellAt(2, 0).columnSpan(), 2) << "a title stands across both versions";
    EXPECT_EQ(cell(3, 0), "23.3   He restoreth my soul.");
    EXPECT_EQ(cell(3, 1), kHebrew.toStdString());
    for (const char* label : {"23.1", "23.2", "23.3"})
        EXPECT_EQ(s.at(label), label);
    EXPECT_TRUE(s.doc.toPlainText().startsWith("Psalm 23\n")) << "what stands before the verses stays";
    EXPECT_EQ(s.directionOf(kHebrew), Qt::RightToLeft);
}

} // namespace lumora::testing
