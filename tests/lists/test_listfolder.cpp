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
                     ">", "|",   "\"q\"", "tab\there", "CON", "nul.txt", "com1", "Lpt9", "ends.", "ends ",
                     QString(250, 'a')})
        EXPECT_FALSE(isUsableListName(bad)) << bad.toStdString();
    for (const QString& good :
         QStringList{"Sunday", "New List 2", QString::fromUtf8("Noël 2024"), "a.b", "CONSOLE", " lead"})
        EXPECT_TRUE(isUsableListName(good)) << good.toStdString();
}

// new
TEST(ListFolder, createListWritesEmptyListAndNoteButNeverOverwritesOtherCase) {
    TempFolder tmp;
    ASSERT_TRUE(createList(tmp.path(), "Fresh"));
    EXPECT_EQ(readBytes(tmp.file("Fresh.txt")), kBom + "\r\n");
    EXPECT_EQ(readBytes(tmp.file("Fresh.rtf")), QByteArray(" Save me as (*.rtf)\r\n"));
    // regression: New wrote over a list whose name differed only in letter case
    writeBytes(tmp.file("new list.txt"), kBom + "keep\r\r\n");
    writeBytes(tmp.file("NEW LIST 1.rtf"), "my note");
    EXPECT_FALSE(createList(tmp.path(), "New List"));
    EXPECT_FALSE(createList(tmp.path(), "New List 1"));
    EXPECT_EQ(readBytes(tmp.file("new list.txt")), kBom + "keep\r\r\n");
    EXPECT_EQ(readBytes(tmp.file("NEW LIST 1.rtf")), "my note");
    EXPECT_EQ(filesIn(tmp.path()).size(), 4);
}

// rename
TEST(ListFolder, renameMovesNoteAndListAndMayChangeOnlyTheLetterCase) {
    TempFolder tmp;
    writeBytes(tmp.file("Old.txt"), kBom + "e\r\r\n");
    writeBytes(tmp.file("Old.rtf"), "note");
    ASSERT_TRUE(renameList(tmp.path(), "Old", "Fresh"));
    EXPECT_EQ(filesIn(tmp.path()), (QStringList{"Fresh.rtf", "Fresh.txt"}));
    EXPECT_EQ(readBytes(tmp.file("Fresh.txt")), kBom + "e\r\r\n");
    EXPECT_EQ(readBytes(tmp.file("Fresh.rtf")), "note");
    ASSERT_TRUE(renameList(tmp.path(), "Fresh", "FRESH"));
    EXPECT_EQ(filesIn(tmp.path()), (QStringList{"FRESH.rtf", "FRESH.txt"}));
}
