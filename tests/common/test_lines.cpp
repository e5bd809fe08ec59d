#include "common/lines.h"

#include "support/testdata.h"

#include <QList>

#include <gtest/gtest.h>

#include <sys/stat.h>

using namespace lumora::common;

namespace {
QList<QByteArray> splitLines(const QByteArray& data) {
    QList<QByteArray> out;
    LineSplitter s(data);
    QByteArray line;
    while (s.next(line))
        out << line;
    return out;
}
} // namespace

TEST(Lines, crLfLoneCrAndLoneLfEndALine_finalTerminatorAddsNoEmptyLineButInnerEmptyLinesStay) {
    EXPECT_EQ(splitLines("a\r\nb\rc\nd"), (QList<QByteArray>{"a", "b", "c", "d"}));
    EXPECT_EQ(splitLines("a\r\n\r\nb\r\n"), (QList<QByteArray>{"a", "", "b"}));
    EXPECT_EQ(splitLines("a\r\r\n"), (QList<QByteArray>{"a", ""}));
    EXPECT_TRUE(splitLines("").isEmpty());
}

TEST(Lines, offsetsPointAtLineStarts) {
    const QByteArray data("ab\r\ncd\ne");
    LineSplitter s(data);
    QByteArray line;
    for (const qsizetype start : {0, 4, 7}) {
        qsizetype off = -1;
        ASSERT_TRUE(s.next(line, &off));
        EXPECT_EQ(off, start);
    }
    EXPECT_FALSE(s.next(line));
}

TEST(Lines, aSeekBackReadsTheSameLinesAgain_andViewsGiveTheSameLinesAsCopies) {
    // The splitter remembers where the next CR and LF lie; a seek back must not skip a line end
    // it passed, whichever terminators the file mixes.
    const QByteArray data("a\nbb\rccc\r\ndd\n\ne");
    LineSplitter s(data);
    QByteArrayView view;
    QList<QByteArray> views;
    while (s.next(view))
        views << view.toByteArray();
    EXPECT_EQ(views, splitLines(data));
    EXPECT_EQ(views, (QList<QByteArray>{"a", "bb", "ccc", "dd", "", "e"}));
    for (const qsizetype from : {qsizetype(2), qsizetype(0), qsizetype(5)}) {
        SCOPED_TRACE(from);
        s.seek(from);
        QList<QByteArray> again;
        while (s.next(view))
            again << view.toByteArray();
        EXPECT_EQ(again, splitLines(data.mid(from)));
    }
}

// reading whole files that are not what they seem
TEST(ReadFile, onlyOrdinaryFilesUpToTheCapAreRead) {
    lumora::testing::TempFolder tmp;
    const QString plain = tmp.file("Version.txt");
    lumora::testing::writeBytes(plain, "KJV - King James\r\n");
    EXPECT_EQ(readWholeFile(plain), QByteArray("KJV - King James\r\n"));
    EXPECT_EQ(readFile(tmp.file("none.txt")).failure, ReadFailure::Missing);
    EXPECT_EQ(readFile(tmp.path()).failure, ReadFailure::NotOrdinary);

    // regression: a Version.txt linked to /dev/zero was read until memory ran out
    const QString zero = tmp.file("zero.txt");
    ASSERT_TRUE(QFile::link("/dev/zero", zero));
    EXPECT_EQ(readFile(zero).failure, ReadFailure::NotOrdinary);
    EXPECT_FALSE(readWholeFile(zero));

    // regression: a FIFO blocked the reader until someone wrote to it
    const QString fifo = tmp.file("fifo.txt");
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    EXPECT_EQ(readFile(fifo).failure, ReadFailure::NotOrdinary);

    // a file above the cap is refused whole, not cut
    EXPECT_EQ(readFile(plain, 5).failure, ReadFailure::TooLarge);
    EXPECT_EQ(readFile(plain, 18).bytes, QByteArray("KJV - King James\r\n"));
    {
        QFile big(tmp.file("big.txt"));
        ASSERT_TRUE(big.open(QIODevice::WriteOnly));
        ASSERT_TRUE(big.resize(kMaxFileBytes + 1)); // sparse
    }
    EXPECT_EQ(readFile(tmp.file("big.txt")).failure, ReadFailure::TooLarge);
}
