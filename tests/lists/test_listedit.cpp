#include "lists/listedit.h"

#include <gtest/gtest.h>

using namespace lumora::lists;

namespace {
const QStringList kFour{"1", "2", "3", "4"};

QStringList numbered(int n) {
    QStringList rows;
    for (int i = 0; i < n; ++i)
        rows << QString::number(i);
    return rows;
}
} // namespace

// remove
TEST(ListEdit, removeAtFirstMiddleAndLast) {
    auto r = removeEntry(kFour, 0);
    ASSERT_TRUE(r);
    EXPECT_EQ(r->rows, (QStringList{"2", "3", "4"}));
    EXPECT_EQ(r->selected, 0);
    r = removeEntry(kFour, 1);
    EXPECT_EQ(r->rows, (QStringList{"1", "3", "4"}));
    EXPECT_EQ(r->selected, 1);
    r = removeEntry({"a", "b", "c"}, 2);
    EXPECT_EQ(r->rows, (QStringList{"a", "b"}));
    EXPECT_EQ(r->selected, 1) << "the new last entry is selected";
}

TEST(ListEdit, removeOnlyEntryLeavesNoSelection) {
    const auto r = removeEntry({"a"}, 0);
    ASSERT_TRUE(r);
    EXPECT_TRUE(r->rows.isEmpty());
    EXPECT_EQ(r->selected, -1);
}

TEST(ListEdit, removeWithoutSelectionKeepsRowsAndEmptyListDoesNothing) {
    const auto r = removeEntry(kFour, -1);
    ASSERT_TRUE(r);
    EXPECT_EQ(r->rows, kFour);
    EXPECT_EQ(r->selected, -1);
    EXPECT_FALSE(removeEntry({}, -1));
    EXPECT_FALSE(removeEntry({}, 0));
}

// move up
TEST(ListEdit, moveUpExchangesWithPrevious) {
    const auto r = moveEntryUp(kFour, 3);
    ASSERT_TRUE(r);
    EXPECT_EQ(r->rows, (QStringList{"1", "2", "4", "3"}));
    EXPECT_EQ(r->selected, 2);
}

TEST(ListEdit, moveUpErrorsOnFirstNoneAndEmpty) {
    EXPECT_FALSE(moveEntryUp(kFour, 0));
    EXPECT_FALSE(moveEntryUp(kFour, -1));
    EXPECT_FALSE(moveEntryUp({}, -1));
    EXPECT_FALSE(moveEntryUp(kFour, 4));
}

// move down
TEST(ListEdit, moveDownSecondOfFour) {
    const auto r = moveEntryDown(kFour, 1);
    ASSERT_TRUE(r);
    EXPECT_EQ(r->rows, (QStringList{"1", "3", "2", "4"}));
    EXPECT_EQ(r->selected, 2);
    EXPECT_EQ(moveEntryDown(kFour, 0)->rows, (QStringList{"2", "1", "3", "4"}));
}

TEST(ListEdit, moveDownOnLastChangesNothingWithoutError) {
    const auto r = moveEntryDown(kFour, 3);
    ASSERT_TRUE(r);
    EXPECT_EQ(r->rows, kFour);
    EXPECT_EQ(r->selected, 3);
    const auto empty = moveEntryDown({}, -1);
    ASSERT_TRUE(empty) << "an empty list has its last row, -1, selected";
    EXPECT_TRUE(empty->rows.isEmpty());
}

TEST(ListEdit, moveDownErrorsWithoutSelection) {
    EXPECT_FALSE(moveEntryDown(kFour, -1));
    EXPECT_FALSE(moveEntryDown(kFour, 7));
}

// long lists: no working-table limit
TEST(ListEdit, fiveHundredEntriesMoveAndRemoveLikeShortOnes) {
    const QStringList rows = numbered(500);
    auto up = moveEntryUp(rows, 499);
    ASSERT_TRUE(up);
    EXPECT_EQ(up->rows.at(498), "499");
    EXPECT_EQ(up->rows.at(499), "498");
    EXPECT_EQ(up->selected, 498);
    auto down = moveEntryDown(rows, 250);
    ASSERT_TRUE(down);
    EXPECT_EQ(down->rows.at(250), "251");
    EXPECT_EQ(down->rows.at(251), "250");
    EXPECT_EQ(down->selected, 251);
    auto removed = removeEntry(rows, 300);
    ASSERT_TRUE(removed);
    EXPECT_EQ(removed->rows.size(), 499);
    EXPECT_EQ(removed->rows.at(299), "299");
    EXPECT_EQ(removed->rows.at(300), "301");
    EXPECT_EQ(removed->selected, 300);
    removed = removeEntry(rows, 499);
    EXPECT_EQ(removed->selected, 498);
}
