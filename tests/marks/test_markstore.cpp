#include "bible/passagebuilder.h"
#include "marks/markstore.h"
#include "marks/marktable.h"
#include "support/biblefixture.h"

#include <QDir>

#include <csignal>
#include <random>
#include <sys/wait.h>
#include <unistd.h>

using namespace lumora::marks;
using namespace lumora::testing;

namespace {

// Genesis 1 (3 verses, verse 2 without a mark), Genesis 2 (2 verses); LF-only ends on the last line.
const QByteArray kBook = "\xEF\xBB\xBF"
                         "01O\t1\t1\t0,00000\tIn the beginning\r\n"
                         "01O\t1\t2\t0\t[Title]And the earth\r\n"
                         "01O\t1\t3\t7,25000\tAnd God said\r\n"
                         "01O\t2\t1\t1,00000\tThus the heavens\r\n"
                         "01O\t2\t2\t4,50000\tAnd on the seventh day\n";

ChapterId genesis(int chapter, int verses) {
    return {"01O", QByteArray::number(chapter), "Gn", verses};
}

MarkTable shown(const QByteArray& content, const ChapterId& id) {
    return MarkTable::forChapter(id, oldMarks(chapterLines(content, id.bookKey, id.chapter, id.verseCount)));
}

} // namespace

// reading

TEST(MarksStore, chapterLinesReadTheMarkFieldsInFileOrder) {
    const auto lines = chapterLines(kBook, "01O", "1", 3);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0].mark, "0,00000");
    EXPECT_EQ(lines[1].mark, "0");
    EXPECT_EQ(lines[1].text, "[Title]And the earth");
    EXPECT_EQ(oldMarks(lines)[3], "7,25000");
    EXPECT_EQ(oldMarks(lines)[4], "");
    // the chapter ends where the next one starts, even when the verse count says more
    EXPECT_EQ(chapterLines(kBook, "01O", "1", 9).size(), 3u);
    EXPECT_EQ(chapterLines(kBook, "01O", "2", 2)[1].mark, "4,50000");
    EXPECT_TRUE(chapterLines(kBook, "01O", "3", 2).empty());
}

TEST(MarksStore, verseMarkedZeroIsOutOfThePassageMarksButInTheTable_andTheBookFileFollowsTheBookNumber) {
    TempFolder tmp;
    FixtureOptions opt;
    opt.mark = [](int, int, int v) -> QByteArray { return v == 2 ? "0" : QByteArray::number(v) + ",00000"; };
    writeFixtureVersion(tmp.path(), "AAA", {{1, "Genesis", 2, [](int) { return 3; }, "Gn"}}, opt);
    const lumora::bible::BookTables tables = lumora::bible::LoadBookTables(tmp.path(), "AAA");
    ASSERT_FALSE(tables.books.empty());
    lumora::bible::TestamentCache cache;
    const auto p = lumora::bible::BuildPassage(
        lumora::bible::PreparePassage(tmp.path(), {"AAA - First", tables.books[0], 1, 1, 3, 3}), cache);
    EXPECT_EQ(p.marks, (QByteArrayList{"1.1\t1,00000", "1.3\t3,00000"}));

    const QString file = bookFilePath(tmp.path(), "aaa", "01O");
    EXPECT_EQ(file, tmp.path() + "/Bible/AAA/AAA-O.txt");
    const MarkTable t = shown(readBytes(file), genesis(1, 3));
    EXPECT_EQ(t.row(2), (MarkRow{"Gn1.2", "0", "0"}));
    EXPECT_TRUE(bookFilePath(tmp.path(), "aaa", "39O").endsWith("AAA-O.txt"));
    EXPECT_TRUE(bookFilePath(tmp.path(), "aaa", "40N").endsWith("AAA-N.txt"));
    EXPECT_TRUE(bookFilePath(tmp.path(), "aaa", "66N").endsWith("AAA-N.txt"));
    EXPECT_TRUE(bookFilePath(tmp.path(), "aaa", "67O").endsWith("AAA-O.txt"));
}

// the chapter writer

TEST(MarksStore, chapterUpdateChangesOnlyMarkFields_sparesLinesChangedSinceShown_andRefusesBadMarks) {
    QByteArray content = kBook;
    MarkTable t = shown(content, genesis(1, 3));
    t.row(1).newMark = "125,40000";
    t.row(2).newMark = "3,1";
    WriteResult r = applyChapterMarks(content, "01O", "1", 3, t);
    EXPECT_EQ(r.status, WriteStatus::Written);
    EXPECT_EQ(r.changedLines, 2);
    QByteArray expected = kBook;
    expected.replace("01O\t1\t1\t0,00000\t", "01O\t1\t1\t125,40000\t");
    expected.replace("01O\t1\t2\t0\t", "01O\t1\t2\t3,1\t");
    EXPECT_EQ(content, expected);

    // regression: Old "0" is a prefix of a mark "0,75000" written meanwhile; replacing the prefix
    // gave "9,00000,75000"
    content = kBook;
    t = shown(content, genesis(1, 3));
    t.row(2).newMark = "9,00000";
    content.replace("01O\t1\t2\t0\t", "01O\t1\t2\t0,75000\t");
    const QByteArray before = content;
    r = applyChapterMarks(content, "01O", "1", 3, t);
    EXPECT_EQ(r.changedLines, 0);
    EXPECT_EQ(r.skippedLines, 1);
    EXPECT_EQ(content, before);

    // marks that would break the line
    content = kBook;
    for (const QByteArray& bad : {QByteArray("1\t2"), QByteArray("1\r\n")}) {
        t.row(3).newMark = bad;
        EXPECT_EQ(applyChapterMarks(content, "01O", "1", 3, t).status, WriteStatus::BadMark);
    }
    EXPECT_EQ(content, kBook);
    EXPECT_EQ(applyChapterMarks(content, "01O", "5", 3, t).status, WriteStatus::VerseNotFound);
}

// the one-verse writer

TEST(MarksStore, oneMarkReplacesWhateverTheVerseHolds_orReportsWhatItCouldNotDo) {
    // regression: replacing "key TAB StartMark" wrote nothing when the verse's stored mark was not
    // the mark the audio had started from
    QByteArray content = kBook;
    const WriteResult r = applyOneMark(content, "01O", "1", "3", "8,5");
    EXPECT_EQ(r.status, WriteStatus::Written);
    QByteArray expected = kBook;
    expected.replace("01O\t1\t3\t7,25000\t", "01O\t1\t3\t8,50000\t");
    EXPECT_EQ(content, expected);

    content = kBook;
    EXPECT_EQ(applyOneMark(content, "01O", "1", "2", "12").status, WriteStatus::Written);
    EXPECT_TRUE(content.contains("01O\t1\t2\t12,00000\t[Title]And the earth\r\n"));
    EXPECT_EQ(applyOneMark(content, "01O", "2", "2", "1").status, WriteStatus::Written);
    EXPECT_TRUE(content.endsWith("01O\t2\t2\t1,00000\tAnd on the seventh day\n"));

    content = kBook;
    EXPECT_EQ(applyOneMark(content, "01O", "1", "4", "1").status, WriteStatus::VerseNotFound);
    EXPECT_EQ(applyOneMark(content, "01O", "1", "1", "12.5").status, WriteStatus::BadMark);
    EXPECT_EQ(applyOneMark(content, "01O", "1", "1", "").status, WriteStatus::BadMark);
    EXPECT_EQ(content, kBook);
}

// the writers of the whole file

TEST(MarksStore, fileWritersReplaceTheFileWhole_keepingEveryOtherByte) {
    TempFolder tmp;
    const QString path = tmp.file("KJV-O.txt");
    writeBytes(path, kBook);
    MarkTable t = shown(kBook, genesis(2, 2));
    t.row(2).newMark = "10,00000";
    EXPECT_EQ(updateChapterMarks(path, "01O", "2", 2, t).status, WriteStatus::Written);
    QByteArray expected = kBook;
    expected.replace("\t4,50000\t", "\t10,00000\t");
    EXPECT_EQ(readBytes(path), expected);
    // the first line keeps the byte order mark
    EXPECT_EQ(UpdateOneMark(path, "01O", "1", "1", "2,123456789").status, WriteStatus::Written);
    expected.replace("01O\t1\t1\t0,00000\t", "01O\t1\t1\t2,12345\t");
    EXPECT_EQ(readBytes(path), expected);
    EXPECT_EQ(QDir(tmp.path()).entryList(QDir::Files), QStringList{"KJV-O.txt"});
    EXPECT_EQ(updateChapterMarks(tmp.file("none.txt"), "01O", "2", 2, t).status, WriteStatus::FileUnreadable);
    EXPECT_EQ(UpdateOneMark(tmp.file("none.txt"), "01O", "1", "1", "1").status, WriteStatus::FileUnreadable);
}

// interrupted writes

TEST(MarksStore, killDuringAWriteLeavesTheOldOrTheNewFile) {
    TempFolder tmp;
    const QString path = tmp.file("BIG-O.txt");
    // About 3 MB: 150 chapters of 176 verses.
    QByteArray a("\xEF\xBB\xBF");
    for (int c = 1; c <= 150; ++c)
        for (int v = 1; v <= 176; ++v)
            a += "19O\t" + QByteArray::number(c) + '\t' + QByteArray::number(v) + "\t0,00000\t" +
                 QByteArray(100, 'x') + "\r\n";
    const ChapterId id{"19O", "119", "Ps", 176};
    MarkTable toB = shown(a, id);
    for (int v = 1; v <= 176; ++v)
        toB.row(v).newMark = QByteArray::number(v * 10) + ",12345";
    QByteArray b = a;
    ASSERT_EQ(applyChapterMarks(b, id.bookKey, id.chapter, id.verseCount, toB).changedLines, 176);
    MarkTable toA = shown(b, id);
    toA.copyOldToNew();
    for (int v = 1; v <= 176; ++v) {
        toA.row(v).newMark = "0,00000";
        toA.row(v).typed = true;
    }

    std::mt19937 rng(12345);
    for (int round = 0; round < 40; ++round) {
        writeBytes(path, a);
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            for (;;) {
                updateChapterMarks(path, id.bookKey, id.chapter, id.verseCount, toB);
                updateChapterMarks(path, id.bookKey, id.chapter, id.verseCount, toA);
            }
        }
        usleep(std::uniform_int_distribution<useconds_t>(500, 60000)(rng));
        kill(child, SIGKILL);
        int status = 0;
        waitpid(child, &status, 0);
        const QByteArray now = readBytes(path);
        ASSERT_TRUE(now == a || now == b) << "round " << round << ": " << now.size() << " bytes";
    }
}
