#include "bible/passagebuilder.h"

#include "common/atomicfile.h"
#include "support/biblefixture.h"

#include <QFile>

#include <algorithm>
#include <filesystem>

using namespace lumora::bible;
using namespace lumora::testing;

namespace {

const QByteArray BOM("\xEF\xBB\xBF");

class PassageTest : public ::testing::Test {
  protected:
    TempFolder tmp;
    const QString ot = tmp.file("Bible/KJV/KJV-O.txt"), nt = tmp.file("Bible/KJV/KJV-N.txt");
    TestamentCache cache;
    FixtureOptions opt;

    void SetUp() override {
        opt.text = [](int b, int c, int v) -> QByteArray {
            if (b == 40 && c == 5 && v == 1) return "[Sermon][On the mount]Seeing the multitudes";
            if (b == 40 && c == 5 && v == 2) return "[caf\xC3\xA9 title]And he opened";
            if (b == 40 && c == 5 && v == 3) return "[unclosed title and text";
            return fixtureVerseText(b, c, v);
        };
        opt.mark = [](int b, int c, int v) -> QByteArray {
            if (b == 40 && c == 5 && v <= 3) return QByteArray::number(v * 2) + ",50000";
            return "0";
        };
        std::vector<FixtureBook> books = fixtureBooks(6, 25);
        books[39].verses = [](int c) { return c == 5 ? 48 : 25; };
        books[18].verses = [](int c) { return c == 119 ? 300 : 10; };
        writeFixtureVersion(tmp.path(), "KJV", books, opt);
    }

    Passage build(int bookIndex, int chapter, int first, int last, bool titles = true, bool upper = false,
                  bool header = false) {
        const BookTables tables = LoadBookTables(tmp.path(), "KJV");
        const Book& book = *tables.bookAt(bookIndex);
        PassageRequest r = PreparePassage(
            tmp.path(), {"KJV - King James", book, chapter, first, last, tables.verseCount(book, chapter)});
        r.setOptions({titles, upper, header});
        return BuildPassage(r, cache);
    }
};

} // namespace

// layout: a passage ending before the chapter's end gets the next verse's reference line. That
// label is the reading's stop, not text: the box, the printout and the saved file show the passage
// without it.
TEST_F(PassageTest, layoutOfVersesTitlesCapitalsAndHeader_theShownTextWithoutTheLabelOfTheVerseAfter) {
    const struct {
        const char* name;
        int first, last;
        bool titles, upper, header;
        QByteArray text;
    } cases[] = {
        {"end before the chapter's end", 18, 20, true, false, false,
         "5.18   Text 40 5:18\r\n\n5.19   Text 40 5:19\r\n\n5.20   Text 40 5:20\r\n\n5.21\t\r\n"},
        {"to the chapter's end", 47, 48, true, false, false,
         "5.47   Text 40 5:47\r\n\n5.48   Text 40 5:48\r\n"},
        {"last verse alone", 48, 48, true, false, false, "5.48   Text 40 5:48\r\n"},
        {"one verse inside the chapter", 10, 10, true, false, false, "5.10   Text 40 5:10\r\n\n5.11\t\r\n"},
        {"titles back to back and unclosed", 1, 3, true, false, false,
         "Sermon\r\n\rOn the mount\r\n\r5.1   Seeing the multitudes\r\n\ncaf\xC3\xA9 title\r\n\r5.2   And he "
         "opened\r\n\n5.3   [unclosed title and text\r\n\n5.4\t\r\n"},
        {"titles off", 1, 3, false, false, false,
         "5.1   Seeing the multitudes\r\n\n5.2   And he opened\r\n\n5.3   [unclosed title and "
         "text\r\n\n5.4\t\r\n"},
        {"capitals on titles only, accents too", 2, 2, true, true, false,
         "CAF\xC3\x89 TITLE\r\n\r5.2   And he opened\r\n\n5.3\t\r\n"},
        {"header before the verses", 10, 10, true, false, true,
         "KJV - King James\r\n40 Book40 5 : 10\r\n\n5.10   Text 40 5:10\r\n\n5.11\t\r\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const Passage p = build(39, 5, c.first, c.last, c.titles, c.upper, c.header);
        EXPECT_EQ(p.PassageText, BOM + c.text);
        const bool stop = c.text.endsWith("\t\r\n"); // its last line is the label of the verse after
        EXPECT_EQ(p.ShownText, BOM + (stop ? c.text.left(c.text.lastIndexOf("\n5.")) : c.text));
    }
    const Passage p = build(39, 5, 18, 20);
    EXPECT_EQ(p.heading, "40 Book40 5 : 18 - 20");
    EXPECT_EQ(p.PassageHeader, "KJV - King James\r\n40 Book40 5 : 18 - 20\r\n\n");
    EXPECT_TRUE(p.chapterEndFound);
    EXPECT_EQ(build(39, 5, 48, 48).heading, "40 Book40 5 : 48");
}

// marks and positions; a chapter beyond 286 verses keeps the first 286 positions
TEST_F(PassageTest, marksOfSelectedVersesAndPositionsOfWholeChapter) {
    const Passage p = build(39, 5, 2, 3);
    EXPECT_EQ(p.marks, (QByteArrayList{"5.2\t4,50000", "5.3\t6,50000"}));
    // The verse after the selection is marked too when it carries a mark.
    EXPECT_EQ(build(39, 5, 1, 2).marks, (QByteArrayList{"5.1\t2,50000", "5.2\t4,50000", "5.3\t6,50000"}));
    EXPECT_EQ(p.VersePositions[1], "2,50000");
    EXPECT_EQ(p.VersePositions[48], "0");
    EXPECT_TRUE(p.VersePositions[49].isEmpty());
    EXPECT_TRUE(p.VersePositions[0].isEmpty());
    const Passage long119 = build(18, 119, 290, 300);
    EXPECT_EQ(long119.VersePositions[286], "0");
    EXPECT_TRUE(long119.PassageText.endsWith("119.300   Text 19 119:300\r\n"));
}

// testament files, the cache of them, and their line ends
TEST_F(PassageTest, bookIndex38ReadsOldAndIndex39NewTestament_theCacheSeesAChangedFile_anyLineEndWorks) {
    EXPECT_TRUE(build(38, 1, 1, 1).PassageText.contains("Text 39 1:1"));
    EXPECT_TRUE(build(39, 1, 1, 1).PassageText.contains("Text 40 1:1"));
    EXPECT_TRUE(build(0, 1, 1, 1).PassageText.contains("Text 1 1:1")); // the very first line, after the BOM
    const Passage crLf = build(0, 1, 2, 4);
    ASSERT_TRUE(crLf.PassageText.contains("Text 1 1:4"));
    const QByteArray bytes = readBytes(ot);
    writeBytes(ot, QByteArray(bytes).replace("Text 1 1:1\r\n", "Changed, and longer\r\n"));
    EXPECT_TRUE(build(0, 1, 1, 1).PassageText.contains("Changed, and longer"));
    for (const char* end : {"\n", "\r"}) {
        SCOPED_TRACE(end[0] == '\n' ? "LF" : "CR");
        writeBytes(ot, QByteArray(bytes).replace("\r\n", end));
        const Passage p = build(0, 1, 2, 4);
        EXPECT_EQ(p.PassageText, crLf.PassageText);
        EXPECT_EQ(p.VersePositions, crLf.VersePositions);
    }
}

TEST_F(PassageTest, indexedReadMatchesReadFromTheTopOnUnorderedFile) {
    PassageRequest r;
    r.BookFilePath = ot;
    r.StartKey = r.ChapterFirstKey = "01O\t1\t1";
    r.EndKey = r.ChapterLastKey = "01O\t1\t2";
    // The chapter's last verse stands before its first: reading from the top stops there.
    writeBytes(ot, BOM + "01O\t1\t2\t0\tlast first\r\n01O\t1\t1\t0\tone\r\n01O\t1\t2\t0\ttwo\r\n");
    EXPECT_EQ(BuildPassage(r, cache).PassageText, BOM);
    // Without a BOM the first line loses its first three characters and they lead the body.
    writeBytes(ot, "01O\t1\t1\t0\tno bom, longer\r\n01O\t1\t2\t0\ttwo\r\n");
    r.StartKey = "01O\t1\t2";
    EXPECT_EQ(BuildPassage(r, cache).PassageText, "01O1.2   two\r\n");
}

// regressions
TEST_F(PassageTest, chapterWithoutItsLastVerseLineStopsAtTheChapterEnd) {
    // Regression: without 40:5:48 the passage ran on through the rest of the file.
    QByteArray bytes = readBytes(nt);
    const qsizetype at = bytes.indexOf("40N\t5\t48\t");
    ASSERT_GE(at, 0);
    bytes.remove(at, bytes.indexOf("\r\n", at) + 2 - at);
    writeBytes(nt, bytes);
    const Passage p = build(39, 5, 46, 48);
    EXPECT_EQ(p.PassageText, BOM + "5.46   Text 40 5:46\r\n\n5.47   Text 40 5:47\r\n\n");
    EXPECT_EQ(p.versesFound, 2);
    EXPECT_FALSE(p.chapterEndFound) << "the player is not started on a chapter without its end";
    EXPECT_FALSE(build(39, 5, 1, 48).PassageText.contains("6.1 "));
}

// A chapter none of whose lines is found showed the version header over an empty passage, as if
// something had been found; the lines of a file last to first give nothing rather than verses of
// other chapters.
TEST_F(PassageTest, missingChapterOrReversedFileFindsNoVerseEvenWithAHeader_andAMissingFileNoPassage) {
    EXPECT_EQ(build(39, 5, 18, 20).versesFound, 3);
    const Passage missing = build(39, 9, 1, 1, true, false, true); // chapter not in the file
    EXPECT_EQ(missing.PassageText, BOM);
    EXPECT_FALSE(missing.chapterEndFound);
    EXPECT_EQ(missing.versesFound, 0);
    QList<QByteArray> lines = readBytes(nt).mid(3).split('\n');
    lines.removeLast();
    std::reverse(lines.begin(), lines.end());
    writeBytes(nt, BOM + lines.join('\n') + "\n");
    for (auto [first, last] : {std::pair{1, 48}, std::pair{3, 10}, std::pair{48, 48}}) {
        const Passage p = build(39, 5, first, last);
        EXPECT_LE(p.versesFound, 1) << first << "-" << last;
        EXPECT_FALSE(p.PassageText.contains("Text 40 4:")) << first << "-" << last;
        EXPECT_FALSE(p.PassageText.contains("Text 40 6:")) << first << "-" << last;
    }
    QFile::remove(nt);
    EXPECT_FALSE(build(39, 5, 1, 1).opened);
}

// damaged lines: a passage shows only lines keyed with its own book and chapter; a damaged line is
// skipped without ending the chapter, another book's line ends it
TEST_F(PassageTest, damagedLinesAreNeverShown) {
    const QByteArray sound = readBytes(nt);
    const QByteArray v19 = "40N\t5\t19\t0\tText 40 5:19\r\n";
    const QByteArray shown18 = "5.18   Text 40 5:18\r\n\n";
    const struct {
        const char* name;
        QByteArray line19; // what stands in place of verse 19's line
        QByteArray text;   // the passage 5:18-20
    } cases[] = {
        {"garbage before the key", "\x01\x9A" + v19, shown18 + "5.20   Text 40 5:20\r\n\n5.21\t\r\n"},
        {"byte-order mark inside the verse number",
         "40N\t5\t1\xEF\xBB\xBF"
         "9\t0\tText 40 5:19\r\n",
         shown18 + "5.20   Text 40 5:20\r\n\n5.21\t\r\n"},
        {"byte-order mark before the key", "\xEF\xBB\xBF" + v19,
         shown18 + "5.20   Text 40 5:20\r\n\n5.21\t\r\n"},
        {"the next line's key inside the text", "40N\t5\t19\t0\tText 40 5:19",
         shown18 + "5.19   Text 40 5:19\r\n\n5.21\t\r\n"},
        {"another book's line", "01O\t5\t19\t0\tGenesis\r\n", shown18},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        QByteArray damaged = sound;
        ASSERT_TRUE(damaged.contains(v19));
        damaged.replace(v19, c.line19);
        writeBytes(nt, damaged);
        EXPECT_EQ(build(39, 5, 18, 20).PassageText, BOM + c.text)
            << build(39, 5, 18, 20).PassageText.toStdString();
    }
}

// the testament cache

TEST(TestamentCacheStamp, aRewriteOfTheSameSizeWithinOneClockTickIsReadAgain) {
    // Fault: the cache knew a file by its size and modification time only, so a mark written with
    // the same length within one tick of the clock (2 s on a FAT stick) left the old marks in use
    // for the rest of the session.
    TempFolder tmp;
    const QString path = tmp.file("KJV-N.txt");
    writeBytes(path, "40N\t1\t1\t1,00000\tText\r\n");
    TestamentCache cache;
    ASSERT_TRUE(cache.get(path));
    const std::filesystem::path fsPath(QFile::encodeName(path).toStdString());
    const auto mtime = std::filesystem::last_write_time(fsPath);
    ASSERT_TRUE(lumora::common::writeFileAtomic(path, "40N\t1\t1\t2,00000\tText\r\n"));
    std::filesystem::last_write_time(fsPath, mtime); // the same clock tick
    EXPECT_EQ(cache.get(path)->data, "40N\t1\t1\t2,00000\tText\r\n");

    // a file the program wrote is forgotten at once, whatever its stamp says
    const auto kept = cache.get(path);
    cache.forget(path);
    EXPECT_NE(cache.get(path), kept);
}
