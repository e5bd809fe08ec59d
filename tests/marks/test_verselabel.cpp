#include "marks/verselabel.h"

#include <gtest/gtest.h>

using lumora::marks::LabelSpan;
using lumora::marks::verseLabelAt;

namespace {
// As the passage box shows a passage: a blank line between verses, a title above verse 2, and
// the reference line of the verse after the selection.
const QString kText = QStringLiteral("3.1   In the beginning\n\nThe Title\n3.2   And the earth\n\n3.3\t");
} // namespace

TEST(MarksVerseLabel, caretAnywhereOnAVerseLineGivesItsLabel) {
    EXPECT_EQ(verseLabelAt(kText, 0), (LabelSpan{0, 3}));
    EXPECT_EQ(verseLabelAt(kText, 10), (LabelSpan{0, 3}));
    const int verse2 = int(kText.indexOf("3.2"));
    EXPECT_EQ(verseLabelAt(kText, verse2), (LabelSpan{verse2, 3})) << "at the start of the line";
    EXPECT_EQ(verseLabelAt(kText, verse2 + 8), (LabelSpan{verse2, 3}));
    EXPECT_EQ(verseLabelAt(QStringLiteral("119.176   x"), 11), (LabelSpan{0, 7}))
        << "the caret at the very end";
}

TEST(MarksVerseLabel, linesWithoutALabelGiveNothing) {
    EXPECT_EQ(verseLabelAt(kText, int(kText.indexOf("Title"))), std::nullopt)
        << "a title must not reach into the next verse's line";
    EXPECT_EQ(verseLabelAt(kText, int(kText.size())), std::nullopt) << "the reference line";
    EXPECT_EQ(verseLabelAt(kText, 23), std::nullopt) << "the blank line between verses";
    EXPECT_EQ(verseLabelAt(QStringLiteral("   text"), 4), std::nullopt);
    EXPECT_EQ(verseLabelAt(QString(), 5), std::nullopt);
    EXPECT_EQ(verseLabelAt(QStringLiteral("1.1   a\r\n1.2   b"), 12), (LabelSpan{9, 3}))
        << "CR LF ends lines";
}
