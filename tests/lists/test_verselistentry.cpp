#include "lists/verselistentry.h"

#include <gtest/gtest.h>

#include <array>

using namespace lumora::lists;

// building (the main-window test adds an entry and opens it again)
TEST(VerseListEntry, builtFromTheSelectedRows) {
    EXPECT_EQ(makeVerseListEntry({"43 Jean", " 3", "16", "18", "LSG - Louis Segond 1910"}),
              QString("43 Jean.  3 : 16 - 18\tLSG"));
    EXPECT_FALSE(makeVerseListEntry({"43 Jean", "3", "1", "1", "no code"}));
}

// parsing into 0-based navigation rows
TEST(VerseListEntry, parsedIntoNavigationRows) {
    const struct {
        QString entry, code;
        std::array<int, 4> rows; // book, chapter, verse, span
    } cases[] = {
        {"43 Jean.  3 : 16 - 18\tlsg", "lsg", {42, 2, 15, 2}},
        {"01 Genesis. 1 : 7 - 7\tKJV", "KJV", {0, 0, 6, 0}},
        // the ". " at position 3 lies inside the book text: separators are searched from the sixth character
        {"02. Exode. 12 : 1 - 3\tX", "X", {1, 11, 0, 2}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.entry.toStdString());
        const auto t = parseVerseListEntry(c.entry);
        ASSERT_TRUE(t);
        EXPECT_EQ(t->versionCode, c.code);
        EXPECT_EQ((std::array{t->book, t->chapter, t->verse, int(t->span)}), c.rows);
    }
}

// malformed input
TEST(VerseListEntry, malformedEntriesRefused) {
    EXPECT_FALSE(parseVerseListEntry(""));
    EXPECT_FALSE(parseVerseListEntry("43 Jean. 3 : 16 - 18 LSG")) << "no TAB";
    EXPECT_FALSE(parseVerseListEntry("43 Jean. 3 16 - 18\tLSG")) << "no colon";
    EXPECT_FALSE(parseVerseListEntry("43 Jean\t3 : 16 - 18. x")) << "separators out of order";
    EXPECT_FALSE(parseVerseListEntry("xx Jean. 3 : 16 - 18\tLSG")) << "book without number";
}

// version lookup
TEST(VerseListEntry, lastMatchingVersionRowWins) {
    const QStringList rows{"KJV - King James", "LSG - Segond", "kjv - again"};
    EXPECT_EQ(findVersionRow(rows, "KJV"), 2);
    EXPECT_EQ(findVersionRow(rows, "lsg"), 1);
    EXPECT_FALSE(findVersionRow(rows, "WEB"));
    EXPECT_FALSE(findVersionRow(rows, "KJ")) << "the code must be followed by \" - \"";
}
