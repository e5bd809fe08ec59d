#include "common/lines.h"

#include <QByteArrayList>
#include <QList>

#include <gtest/gtest.h>

using namespace lumora::common;

namespace {
QList<QByteArray> splitLines(const QByteArray& data) {
    QList<QByteArray> out;
    LineSplitter s(data);
    QByteArray line;
    while (s.next(line)) out << line;
    return out;
}
} // namespace

TEST(Lines, crLfLoneCrAndLoneLfAllEndALine) {
    EXPECT_EQ(splitLines("a\r\nb\rc\nd"), (QList<QByteArray>{"a", "b", "c", "d"}));
}

TEST(Lines, finalTerminatorAddsNoEmptyLineButInnerEmptyLinesStay) {
    EXPECT_EQ(splitLines("a\r\n\r\nb\r\n"), (QList<QByteArray>{"a", "", "b"}));
    EXPECT_EQ(splitLines("a\r\r\n"), (QList<QByteArray>{"a", ""}));
    EXPECT_TRUE(splitLines("").isEmpty());
}

TEST(Lines, offsetsPointAtLineStarts) {
    const QByteArray data("ab\r\ncd\ne");
    LineSplitter s(data);
    QByteArray line;
    qsizetype off = -1;
    ASSERT_TRUE(s.next(line, &off));
    EXPECT_EQ(off, 0);
    ASSERT_TRUE(s.next(line, &off));
    EXPECT_EQ(off, 4);
    ASSERT_TRUE(s.next(line, &off));
    EXPECT_EQ(off, 7);
    EXPECT_FALSE(s.next(line));
}
