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

TEST(MarksTable, shownChapterFillsItsRows_takenMarksGoToTheLabelledRow_andNewIsResetOrCopiedFromOld) {
    MarkTable t = MarkTable::forChapter({"01O", "3", "Gn", 12}, marksOf(12));
    EXPECT_EQ(t.row(1), (MarkRow{"Gn3.1", "1,00000", "1,00000"}));
    EXPECT_EQ(t.row(12).text, "Gn3.12");
    for (const int beyond : {0, 13, 287})
        EXPECT_EQ(t.row(beyond), MarkRow{}) << beyond;
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
    // New reset within the chapter only, then copied from Old
    t.row(13).newMark = "stray";
    t.resetNew();
    EXPECT_EQ(t.row(1).newMark, "0,00000");
    EXPECT_EQ(t.row(2).oldMark, "2,00000");
    EXPECT_EQ(t.row(13).newMark, "");
    t.copyOldToNew();
    EXPECT_EQ(t.row(2).newMark, "2,00000");
    EXPECT_EQ(t.row(13).newMark, "");
}

// backup

TEST(MarksBackup, nameHasATwoDigitChapter_andTheBytesALineAVerseAndAFinalEmptyLine_evenWhenEmpty) {
    EXPECT_EQ(backupFileName({"01O", "7", "Gn", 24}), "Gn07 Backup.txt");
    EXPECT_EQ(backupFileName({"01O", "12", "Gn", 24}), "Gn12 Backup.txt");
    EXPECT_EQ(backupFileName({"19O", "119", "Ps", 176}), "Ps119 Backup.txt");
    const ChapterId id{"01O", "3", "Gn", 24};
    OldMarks stored = marksOf(24);
    stored[5] = "0";
    QByteArray expected;
    for (int v = 1; v <= 24; ++v)
        expected += "01O\t3\t" + QByteArray::number(v) + '\t' + stored[std::size_t(v)] + "\r\n";
    EXPECT_EQ(backupBytes(id, MarkTable::forChapter(id, stored)), expected + "\r\n") << "no byte order mark";
    // the first row is written even for an empty chapter
    const ChapterId empty{"01O", "3", "Gn", 0};
    EXPECT_EQ(backupBytes(empty, MarkTable::forChapter(empty, {})), "01O\t3\t1\t\r\n\r\n");
}

// restore

TEST(MarksRestore, linesGiveNewMarksAndOldStays_butAFileNotNamedForTheShownChapterIsRefused) {
    TempFolder tmp;
    const ChapterId ch7{"01O", "7", "Gn", 3}, ch8{"01O", "8", "Gn", 3};
    const QString file = tmp.file("Gn07 Backup.txt");
    writeBytes(file, "01O\t7\t1\t0\r\n01O\t7\t2\t2,50000\r\n01O\t7\t3\t3,25000\r\n\r\n");
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

    t = MarkTable::forChapter(ch7, marksOf(3));
    t.row(4).newMark = "stale";
    ASSERT_TRUE(restoreBackup(ch7, file, t));
    EXPECT_EQ(t.row(1), (MarkRow{"Gn7.1", "0", "1,00000"}));
    EXPECT_EQ(t.row(3).newMark, "3,25000");
    EXPECT_EQ(t.row(3).oldMark, "3,00000");
    // the final empty line empties New in the row after the last verse
    EXPECT_EQ(t.row(4).newMark, "");
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

TEST(MarksRestore, aShortFileChangesOnlyTheFirstRows_andRowsAbove286AreIgnored) {
    MarkTable t = MarkTable::forChapter({"01O", "7", "Gn", 3}, marksOf(3));
    applyBackup("a\tb\tc\t9,5", t);
    EXPECT_EQ(t.row(1).newMark, "9,5");
    EXPECT_EQ(t.row(2).newMark, "2,00000");

    QByteArray bytes;
    for (int k = 1; k <= 300; ++k)
        bytes += "x\t" + QByteArray::number(k) + "\r\n";
    t = MarkTable::forChapter({"19O", "119", "Ps", 176}, {});
    applyBackup(bytes, t);
    EXPECT_EQ(t.row(286).newMark, "286");
    EXPECT_EQ(t.row(287), MarkRow{});
}

// what Update writes

TEST(MarksPending, aZeroIsWrittenOnlyWhenTheUserGaveIt) {
    // Fault: Markage's New filled New with 0,00000 and Update wrote those zeros over every stored
    // mark of the chapter.
    MarkTable t = MarkTable::forChapter({"01O", "3", "Gn", 4}, marksOf(4));
    t.row(4).oldMark = "0";
    t.row(4).newMark = "0";
    t.resetNew();
    EXPECT_EQ(t.pendingRows(), std::vector<int>{}) << "reset zeros are not changes";
    ASSERT_EQ(t.setNewMark("Gn", "3.2", "0"), 2);
    t.row(3).newMark = "3,50000";
    EXPECT_EQ(t.pendingRows(), (std::vector<int>{2, 3}));
    const struct {
        MarkRow row;
        bool pending;
    } cases[] = {
        {{"Gn3.1", "0,00000", "1,00000", false}, false},
        {{"Gn3.1", "0", "1,00000", false}, false},
        {{"Gn3.1", "", "1,00000", true}, false},
        {{"Gn3.1", "0,00000", "1,00000", true}, true},
        {{"Gn3.1", "0,00000", "0", false}, false}, // "no mark" does not become a mark at 0
        {{"Gn3.1", "2,00000", "1,00000", false}, true},
        {{"Gn3.1", "1,00000", "1,00000", true}, false},
        {{"", "2,00000", "", false}, false}, // beyond the chapter
    };
    for (const auto& c : cases)
        EXPECT_EQ(isPendingRow(c.row), c.pending)
            << c.row.newMark.constData() << " over " << c.row.oldMark.constData();
}

TEST(MarksPending, reloadingAfterAWriteFollowsTheFileWhereTheUserChangedNothing) {
    MarkTable t = MarkTable::forChapter({"01O", "3", "Gn", 3}, marksOf(3));
    t.row(1).newMark = "9,00000";
    OldMarks stored = marksOf(3);
    stored[1] = "8,00000";
    stored[2] = "7,00000"; // written by someone else
    t.reloadOld(stored);
    EXPECT_EQ(t.row(1).newMark, "9,00000");
    EXPECT_EQ(t.row(2).newMark, "7,00000");
    EXPECT_EQ(t.pendingRows(), std::vector<int>{1});
}

// backups that belong to another chapter

TEST(MarksRestore, aBackupNamingAnotherBookChapterOrVerseCountIsRefusedWithTheReason) {
    // Fault: a restore took any file whose name matched, also another version's or chapter's backup.
    const ChapterId id{"01O", "7", "Gn", 3};
    const struct {
        const char* name;
        QByteArray bytes;
        const char* reason; // part of the refusal; nullptr when accepted
    } cases[] = {
        {"its own backup", "01O\t7\t1\t1\r\n01O\t7\t2\t2\r\n01O\t7\t3\t3\r\n\r\n", nullptr},
        {"fewer verses", "01O\t7\t1\t1\r\n\r\n", nullptr},
        {"marks only", "1\r\n2\r\n", nullptr},
        {"another chapter", "01O\t8\t1\t1\r\n", "not verse 1 of book 01O, chapter 7"},
        {"another book", "02O\t7\t1\t1\r\n", "not verse 1 of book 01O, chapter 7"},
        {"verses out of place", "01O\t7\t1\t1\r\n01O\t7\t3\t3\r\n", "Line 2"},
        {"more verses", "01O\t7\t1\t1\r\n01O\t7\t2\t2\r\n01O\t7\t3\t3\r\n01O\t7\t4\t4\r\n", "holds 4 verses"},
    };
    TempFolder tmp;
    const QString file = tmp.file("Gn07 Backup.txt");
    for (const auto& c : cases) {
        writeBytes(file, c.bytes);
        MarkTable t = MarkTable::forChapter(id, marksOf(3));
        const MarkTable before = t;
        QString why;
        EXPECT_EQ(restoreBackup(id, file, t, &why), c.reason == nullptr) << c.name;
        if (c.reason) {
            EXPECT_TRUE(why.contains(QString::fromUtf8(c.reason))) << c.name << ": " << why.toStdString();
            EXPECT_EQ(t, before) << c.name;
        }
    }
}

TEST(MarksUndo, theBackupsMarksGoBackEvenZeros_andAnotherChaptersBackupIsRefused) {
    const ChapterId id{"01O", "7", "Gn", 3};
    const auto t =
        undoTable(id, marksOf(3), "01O\t7\t1\t0,00000\r\n01O\t7\t2\t2,00000\r\n01O\t7\t3\t5\r\n\r\n");
    ASSERT_TRUE(t);
    EXPECT_EQ(t->pendingRows(), (std::vector<int>{1, 3}));
    EXPECT_EQ(t->row(1).newMark, "0,00000");
    QString why;
    EXPECT_FALSE(undoTable(id, marksOf(3), "01O\t6\t1\t0\r\n", &why));
    EXPECT_FALSE(why.isEmpty());
}
