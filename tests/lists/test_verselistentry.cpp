#include "lists/verselistentry.h"

#include <gtest/gtest.h>

using namespace lumora::lists;

// building
TEST(VerseListEntry, builtFromTheSelectedRows) {
    const DisplayedPassage p{"43 Jean", " 3", "16", "18", "LSG - Louis Segond 1910"};
    EXPECT_EQ(makeVerseListEntry(p), QString("43 Jean.  3 : 16 - 18\tLSG"));
    EXPECT_FALSE(makeVerseListEntry({"43 Jean", "3", "1", "1", "no code"}));
}

// parsing
TEST(VerseListEntry, parsedIntoNavigationRows) {
    const auto t = parseVerseListEntry("43 Jean.  3 : 16 - 18\tlsg");
    ASSERT_TRUE(t);
    EXPECT_EQ(t->versionCode, "lsg");
    EXPECT_EQ(t->book, 42);
    EXPECT_EQ(t->chapter, 2);
    EXPECT_EQ(t->verse, 15);
    EXPECT_EQ(t->span, 2);
}

TEST(VerseListEntry, sameFirstAndLastVerseGivesSpanZero) {
    const auto t = parseVerseListEntry("01 Genesis. 1 : 7 - 7\tKJV");
    ASSERT_TRUE(t);
    EXPECT_EQ(t->span, 0);
}

TEST(VerseListEntry, builtEntryParsesBack) {
    const auto e = makeVerseListEntry({"40 Matthieu", "5", "18", "20", "KJV - King James"});
    ASSERT_TRUE(e);
    const auto t = parseVerseListEntry(*e);
    ASSERT_TRUE(t);
    EXPECT_EQ(t->versionCode, "KJV");
    EXPECT_EQ(t->book, 39);
    EXPECT_EQ(t->chapter, 4);
    EXPECT_EQ(t->verse, 17);
    EXPECT_EQ(t->span, 2);
}

TEST(VerseListEntry, separatorsSearchedFromSixthCharacter) {
    // The ". " at position 3 is inside the book text and must not be taken as the separator.
    const auto t = parseVerseListEntry("02. Exode. 12 : 1 - 3\tX");
    ASSERT_TRUE(t);
    EXPECT_EQ(t->book, 1);
    EXPECT_EQ(t->chapter, 11);
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

// cascade
TEST(VerseListEntry, firstDifferingLevelTopFirst) {
    const NavSelection cur{0, 1, 2, 3};
    EXPECT_EQ(firstDifferingLevel({1, 1, 2, 3}, cur), NavLevel::Version);
    EXPECT_EQ(firstDifferingLevel({1, 9, 9, 9}, cur), NavLevel::Version);
    EXPECT_EQ(firstDifferingLevel({0, 2, 0, 0}, cur), NavLevel::Book);
    EXPECT_EQ(firstDifferingLevel({0, 1, 5, 3}, cur), NavLevel::Chapter);
    EXPECT_EQ(firstDifferingLevel({0, 1, 2, 4}, cur), NavLevel::Verse);
    EXPECT_EQ(firstDifferingLevel(cur, cur), NavLevel::Span);
}
