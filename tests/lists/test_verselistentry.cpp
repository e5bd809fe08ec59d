#include "lists/verselistentry.h"

#include <gtest/gtest.h>

using namespace lumora::lists;
using lumora::session::PassageRef;

// building (the main-window test adds an entry and opens it again)
TEST(VerseListEntry, builtFromTheBookNameAndThePlace) {
    EXPECT_EQ(makeVerseListEntry("43 Jean", {"LSG", 43, 3, 16, 18}), QString("43 Jean. 3 : 16 - 18\tLSG"));
    EXPECT_EQ(makeVerseListEntry("01 Genesis", {"KJV", 1, 1, 7, 7}), QString("01 Genesis. 1 : 7 - 7\tKJV"));
}

// parsing into a place
TEST(VerseListEntry, parsedIntoAPlace) {
    const struct {
        QString entry;
        PassageRef ref;
    } cases[] = {
        {"43 Jean.  3 : 16 - 18\tlsg", {"lsg", 43, 3, 16, 18}},
        {"01 Genesis. 1 : 7 - 7\tKJV", {"KJV", 1, 1, 7, 7}},
        // the ". " at position 3 lies inside the book text: separators are searched from the sixth character
        {"02. Exode. 12 : 1 - 3\tX", {"X", 2, 12, 1, 3}},
        // numbers as they stand: the navigation refuses what names no row
        {"40 Book. 5 : 20 - 18\tKJV", {"KJV", 40, 5, 20, 18}},
        {"99 Book. 1 : 1 - 1\t", {"", 99, 1, 1, 1}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.entry.toStdString());
        EXPECT_EQ(parseVerseListEntry(c.entry), c.ref);
    }
}

// malformed input
TEST(VerseListEntry, malformedEntriesRefused) {
    EXPECT_FALSE(parseVerseListEntry(""));
    EXPECT_FALSE(parseVerseListEntry("43 Jean. 3 : 16 - 18 LSG")) << "no TAB";
    EXPECT_FALSE(parseVerseListEntry("43 Jean. 3 16 - 18\tLSG")) << "no colon";
    EXPECT_FALSE(parseVerseListEntry("43 Jean\t3 : 16 - 18. x")) << "separators out of order";
    EXPECT_FALSE(parseVerseListEntry("xx Jean. 3 : 16 - 18\tLSG")) << "book without number";
    EXPECT_FALSE(parseVerseListEntry("43 Jean. 3 : 16 - 99999999999\tLSG")) << "a verse beyond any row";
}
