#include "lists/listedit.h"

#include <gtest/gtest.h>

using namespace lumora::lists;

// The panel tests drive every edit at the first and last positions, without selection and on an
// empty list, through the buttons; here only the selections a list widget cannot produce.
TEST(ListEdit, selectionPastTheEnd) {
    const QStringList four{"1", "2", "3", "4"};
    EXPECT_FALSE(moveEntryUp(four, 4));
    EXPECT_FALSE(moveEntryDown(four, 7));
    const auto r = removeEntry(four, 4);
    ASSERT_TRUE(r);
    EXPECT_EQ(r->rows, four);
    EXPECT_EQ(r->selected, -1);
}
