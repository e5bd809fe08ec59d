#include "lists/listfolder.h"

#include "lists/listfile.h"
#include "support/testdata.h"

#include <QDir>

using namespace lumora::lists;
using namespace lumora::testing;

namespace {
const QByteArray kBom("\xEF\xBB\xBF");

QStringList filesIn(const QString& dir) {
    return QDir(dir).entryList(QDir::Files, QDir::Name);
}
} // namespace

// naming
TEST(ListFolder, newListNameTakesFirstFreeNumber) {
    EXPECT_EQ(NewListName({}), "New List");
    EXPECT_EQ(NewListName({"New List", "New List 1"}), "New List 2");
    EXPECT_EQ(NewListName({"New List", "New List 2"}), "New List 1");
    EXPECT_EQ(NewListName({"new list"}), "New List") << "rows compare exactly";
    EXPECT_EQ(NewListName({}, [](const QString& n) { return n == "New List"; }), "New List 1");
}

TEST(ListFolder, unusableNamesRefused) {
    for (const QString& bad :
         QStringList{"",  "   ", "a/b",   "a\\b",      "..",  "a..b",    "x:y",  "a*",   "q?",    "<",
                     ">", "|",   "\"q\"", "tab\there", "CON", "nul.txt", "com1", "Lpt9", "ends.", "ends "}) {
        EXPECT_FALSE(isUsableListName(bad)) << bad.toStdString();
    }
    EXPECT_FALSE(isUsableListName(QString(250, 'a')));
    for (const QString& good :
         QStringList{"Sunday", "New List 2", QString::fromUtf8("Noël 2024"), "a.b", "CONSOLE", " lead"})
        EXPECT_TRUE(isUsableListName(good)) << good.toStdString();
}

TEST(ListFolder, nameTakenInAnyLetterCaseByListOrNote) {
    TempFolder tmp;
    writeBytes(tmp.file("Sunday.TXT"), "");
    writeBytes(tmp.file("orphan.rtf"), "");
    EXPECT_TRUE(isListNameTaken(tmp.path(), "sunday"));
    EXPECT_TRUE(isListNameTaken(tmp.path(), "Orphan"));
    EXPECT_FALSE(isListNameTaken(tmp.path(), "Monday"));
    EXPECT_FALSE(isListNameTaken(tmp.path(), "SUNDAY", "Sunday")) << "a list's own files do not count";
    EXPECT_TRUE(isListNameTaken(tmp.path(), "orphan", "Sunday"));
}

// new
TEST(ListFolder, createListWritesEmptyListAndNote) {
    TempFolder tmp;
    ASSERT_TRUE(createList(tmp.path(), "New List"));
    EXPECT_EQ(readBytes(tmp.file("New List.txt")), kBom + "\r\n");
    EXPECT_EQ(readBytes(tmp.file("New List.rtf")), QByteArray(" Save me as (*.rtf)\r\n"));
}

TEST(ListFolder, createListNeverOverwritesOtherCase) {
    // Regression: New wrote over a list whose name differed only in letter case.
    TempFolder tmp;
    writeBytes(tmp.file("new list.txt"), kBom + "keep\r\r\n");
    writeBytes(tmp.file("NEW LIST 1.rtf"), "my note");
    EXPECT_FALSE(createList(tmp.path(), "New List"));
    EXPECT_FALSE(createList(tmp.path(), "New List 1"));
    EXPECT_EQ(readBytes(tmp.file("new list.txt")), kBom + "keep\r\r\n");
    EXPECT_EQ(readBytes(tmp.file("NEW LIST 1.rtf")), "my note");
    EXPECT_EQ(filesIn(tmp.path()).size(), 2);
}

// rename
TEST(ListFolder, renameMovesNoteAndList) {
    TempFolder tmp;
    writeBytes(tmp.file("Old.txt"), kBom + "e\r\r\n");
    writeBytes(tmp.file("Old.rtf"), "note");
    ASSERT_TRUE(renameList(tmp.path(), "Old", "Fresh"));
    EXPECT_EQ(filesIn(tmp.path()), (QStringList{"Fresh.rtf", "Fresh.txt"}));
    EXPECT_EQ(readBytes(tmp.file("Fresh.txt")), kBom + "e\r\r\n");
    EXPECT_EQ(readBytes(tmp.file("Fresh.rtf")), "note");
}

TEST(ListFolder, renameOntoExistingListKeepsBothListsAndNotes) {
    // Regression: a POSIX rename replaces its target silently, so the other list and its note
    // were lost.
    TempFolder tmp;
    writeBytes(tmp.file("A.txt"), "list A");
    writeBytes(tmp.file("A.rtf"), "note A");
    writeBytes(tmp.file("B.txt"), "list B");
    writeBytes(tmp.file("B.rtf"), "note B");
    EXPECT_FALSE(renameList(tmp.path(), "A", "B"));
    EXPECT_FALSE(renameList(tmp.path(), "A", "b"));
    EXPECT_EQ(filesIn(tmp.path()), (QStringList{"A.rtf", "A.txt", "B.rtf", "B.txt"}));
    EXPECT_EQ(readBytes(tmp.file("A.txt")), "list A");
    EXPECT_EQ(readBytes(tmp.file("A.rtf")), "note A");
    EXPECT_EQ(readBytes(tmp.file("B.txt")), "list B");
    EXPECT_EQ(readBytes(tmp.file("B.rtf")), "note B");
}

TEST(ListFolder, renameNeverLeavesTheFolder) {
    TempFolder tmp;
    const QString lists = tmp.file("Favori");
    writeBytes(lists + "/A.txt", "list A");
    writeBytes(lists + "/A.rtf", "note A");
    writeBytes(tmp.file("outside.txt"), "outside");
    for (const QString& bad : QStringList{"../outside", "../escaped", "sub/x", "", "x:y", "..\\up"})
        EXPECT_FALSE(renameList(lists, "A", bad)) << bad.toStdString();
    EXPECT_EQ(filesIn(lists), (QStringList{"A.rtf", "A.txt"}));
    EXPECT_EQ(filesIn(tmp.path()), QStringList{"outside.txt"});
    EXPECT_EQ(readBytes(tmp.file("outside.txt")), "outside");
}

TEST(ListFolder, renameMayChangeOnlyTheLetterCase) {
    TempFolder tmp;
    writeBytes(tmp.file("abc.txt"), "l");
    writeBytes(tmp.file("abc.rtf"), "n");
    ASSERT_TRUE(renameList(tmp.path(), "abc", "ABC"));
    EXPECT_EQ(filesIn(tmp.path()), (QStringList{"ABC.rtf", "ABC.txt"}));
}

TEST(ListFolder, renameWithoutNoteFailsAndKeepsList) {
    TempFolder tmp;
    writeBytes(tmp.file("A.txt"), "l");
    EXPECT_FALSE(renameList(tmp.path(), "A", "B"));
    EXPECT_EQ(filesIn(tmp.path()), QStringList{"A.txt"});
}

// delete
TEST(ListFolder, deleteRemovesNoteThenList) {
    TempFolder tmp;
    writeBytes(tmp.file("A.txt"), "l");
    writeBytes(tmp.file("A.rtf"), "n");
    writeBytes(tmp.file("B.txt"), "l");
    ASSERT_TRUE(deleteList(tmp.path(), "A"));
    EXPECT_EQ(filesIn(tmp.path()), QStringList{"B.txt"});
}

TEST(ListFolder, deleteWithoutNoteKeepsList) {
    TempFolder tmp;
    writeBytes(tmp.file("B.txt"), "l");
    EXPECT_FALSE(deleteList(tmp.path(), "B"));
    EXPECT_EQ(filesIn(tmp.path()), QStringList{"B.txt"});
}
