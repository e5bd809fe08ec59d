#include "marks/marktable.h"

#include "support/testdata.h"

using namespace lumora::marks;
using namespace lumora::testing;

namespace {

OldMarks marksOf(int verses) {
    OldMarks m;
    for (int v = 1; v <= verses; ++v)
        m[std::size_t(v)] = QByteArray::number(v) + ",00000";
    return m;
}

} // namespace

// the table

TEST(MarksTable, shownChapterFillsItsRowsOnly) {
    const MarkTable t = MarkTable::forChapter({"01O", "3", "Gn", 24}, marksOf(24));
    EXPECT_EQ(t.row(1), (MarkRow{"Gn3.1", "1,00000", "1,00000"}));
    EXPECT_EQ(t.row(24).text, "Gn3.24");
    EXPECT_EQ(t.row(25), MarkRow{});
    EXPECT_EQ(t.row(0), MarkRow{});
    EXPECT_EQ(t.row(287), MarkRow{});
}

TEST(MarksTable, newColumnResetsAndCopiesFromOld) {
    MarkTable t = MarkTable::forChapter({"01O", "3", "Gn", 2}, marksOf(2));
    t.row(5).newMark = "stray";
    t.resetNew();
    EXPECT_EQ(t.row(1).newMark, "0,00000");
    EXPECT_EQ(t.row(2).oldMark, "2,00000");
    EXPECT_EQ(t.row(5).newMark, "");
    t.copyOldToNew();
    EXPECT_EQ(t.row(2).newMark, "2,00000");
    EXPECT_EQ(t.row(3).newMark, "");
}

TEST(MarksTable, takenMarkGoesToTheLabelledRow) {
    MarkTable t = MarkTable::forChapter({"01O", "3", "Gn", 12}, marksOf(12));
    EXPECT_EQ(t.setNewMark("Gn", "3.10", "83,5"), 10);
    EXPECT_EQ(t.row(10).newMark, "83,50000");
    EXPECT_EQ(t.row(1).newMark, "1,00000");
    EXPECT_EQ(t.setNewMark("Gn", "3.13", "1"), std::nullopt);
    // reloading after a write keeps New, except the verse just written
    t.row(4).newMark = "44,00000";
    OldMarks stored = marksOf(12);
    stored[4] = "4,5";
    t.reloadOld(stored, 4);
    EXPECT_EQ(t.row(4), (MarkRow{"Gn3.4", "4,50000", "4,5"}));
    EXPECT_EQ(t.row(10).newMark, "83,50000");
}

// backup

TEST(MarksBackup, proposedNameHasATwoDigitChapter) {
    EXPECT_EQ(backupFileName({"01O", "7", "Gn", 24}), "Gn07 Backup.txt");
    EXPECT_EQ(backupFileName({"01O", "12", "Gn", 24}), "Gn12 Backup.txt");
    EXPECT_EQ(backupFileName({"19O", "119", "Ps", 176}), "Ps119 Backup.txt");
}

TEST(MarksBackup, chapterOf24VersesGives24LinesAndAFinalEmptyLine) {
    const ChapterId id{"01O", "3", "Gn", 24};
    OldMarks stored = marksOf(24);
    stored[5] = "0";
    const QByteArray bytes = backupBytes(id, MarkTable::forChapter(id, stored));
    QByteArray expected;
    for (int v = 1; v <= 24; ++v)
        expected += "01O\t3\t" + QByteArray::number(v) + '\t' + stored[std::size_t(v)] + "\r\n";
    expected += "\r\n";
    EXPECT_EQ(bytes, expected);
    EXPECT_TRUE(bytes.endsWith("\r\n\r\n"));
    EXPECT_FALSE(bytes.startsWith("\xEF\xBB\xBF"));
}

TEST(MarksBackup, firstRowIsWrittenEvenForAnEmptyChapter) {
    const ChapterId id{"01O", "3", "Gn", 0};
    EXPECT_EQ(backupBytes(id, MarkTable::forChapter(id, {})), "01O\t3\t1\t\r\n\r\n");
}

// restore

TEST(MarksRestore, fileOfAnotherChapterIsRefusedNamingTheShownOne) {
    TempFolder tmp;
    const ChapterId ch7{"01O", "7", "Gn", 3}, ch8{"01O", "8", "Gn", 3};
    const QString file = tmp.file("Gn07 Backup.txt");
    writeBytes(file, backupBytes(ch7, MarkTable::forChapter(ch7, marksOf(3))));
    MarkTable t = MarkTable::forChapter(ch8, {});
    const MarkTable before = t;
    EXPECT_FALSE(restoreBackup(ch8, file, t));
    EXPECT_EQ(t, before);
    EXPECT_EQ(restoreRefusal(ch8), QString("FILE NOT FOND or AVAILABLE : \r\nRESTORE Gn08 Backup.txt"));
    // the right name, but nothing there
    EXPECT_FALSE(restoreBackup(ch8, tmp.file("Gn08 Backup.txt"), t));
    // the name is compared with its letter case
    writeBytes(tmp.file("gn07 backup.txt"), "x");
    EXPECT_FALSE(restoreBackup(ch7, tmp.file("gn07 backup.txt"), t));
    EXPECT_TRUE(restoreBackup(ch7, file, t));
}

TEST(MarksRestore, linesGiveNewMarksAndOldStays) {
    TempFolder tmp;
    const ChapterId id{"01O", "7", "Gn", 3};
    const QString file = tmp.file("Gn07 Backup.txt");
    writeBytes(file, "01O\t7\t1\t0\r\n01O\t7\t2\t2,50000\r\n01O\t7\t3\t3,25000\r\n\r\n");
    MarkTable t = MarkTable::forChapter(id, marksOf(3));
    t.row(4).newMark = "stale";
    ASSERT_TRUE(restoreBackup(id, file, t));
    EXPECT_EQ(t.row(1), (MarkRow{"Gn7.1", "0", "1,00000"}));
    EXPECT_EQ(t.row(3).newMark, "3,25000");
    EXPECT_EQ(t.row(3).oldMark, "3,00000");
    // the final empty line empties New in the row after the last verse
    EXPECT_EQ(t.row(4).newMark, "");
}

TEST(MarksRestore, shortFileChangesOnlyTheFirstRows) {
    MarkTable t = MarkTable::forChapter({"01O", "7", "Gn", 3}, marksOf(3));
    applyBackup("a\tb\tc\t9,5", t);
    EXPECT_EQ(t.row(1).newMark, "9,5");
    EXPECT_EQ(t.row(2).newMark, "2,00000");
}

TEST(MarksRestore, markIsTheTextAfterTheLastTab) {
    EXPECT_EQ(backupLineMark("01O\t7\t1\t12,5"), "12,5");
    EXPECT_EQ(backupLineMark("12,5"), "12,5");
    EXPECT_EQ(backupLineMark("0"), "0");
    EXPECT_EQ(backupLineMark(""), "");
    EXPECT_EQ(backupLineMark("a\tb"), "b");
    // regression: searching from the next-to-last character made "1\t" the mark of a line that
    // ends in its TAB, and that TAB would then have split the book file's line
    EXPECT_EQ(backupLineMark("01O\t7\t1\t"), "");
}

TEST(MarksRestore, rowsAbove286AreIgnored) {
    QByteArray bytes;
    for (int k = 1; k <= 300; ++k)
        bytes += "x\t" + QByteArray::number(k) + "\r\n";
    MarkTable t = MarkTable::forChapter({"19O", "119", "Ps", 176}, {});
    applyBackup(bytes, t);
    EXPECT_EQ(t.row(286).newMark, "286");
    EXPECT_EQ(t.row(287), MarkRow{});
}
