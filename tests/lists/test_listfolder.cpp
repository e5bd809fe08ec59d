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

TEST(ListFolder, unusableNamesRefusedWithTheirReason) {
    const struct {
        const char* why; // words of the message
        QStringList names;
    } bad[] = {
        {"needs a name", {"", "   "}},
        {"leave the list folder", {"..", "."}},
        {"leave its folder", {"a/b", "..\\up"}},
        {"< > :", {"x:y", "a*", "q?", "<", "|", "\"q\""}},
        {"control character", {"tab\there", "line\nbreak"}},
        {"end in a point", {"ends.", "ends "}},
        {"too long", {QString(250, 'a')}},
        // Windows device names, in any case, with or without an extension
        {"\"CON\" is the name of a Windows device", {"CON"}},
        {"\"NUL\"", {"nul.txt", "NUL .txt"}},
        {"\"COM1\"", {"com1"}},
        {"\"LPT9\"", {"Lpt9"}},
        {"\"AUX\"", {"AUX.list.x"}},
        {"\"PRN\"", {"PRN"}},
        {"\"CONIN$\"", {"CONIN$"}},
        {"\"CONOUT$\"", {"conout$.txt"}},
        {"\"CLOCK$\"", {"CLOCK$"}},
    };
    for (const auto& c : bad)
        for (const QString& name : c.names) {
            const auto why = listNameProblem(name);
            ASSERT_TRUE(why.has_value()) << name.toStdString();
            EXPECT_TRUE(why->contains(QString::fromUtf8(c.why)))
                << name.toStdString() << ": " << why->toStdString();
            EXPECT_FALSE(isUsableListName(name));
        }
    // regression: any ".." was refused, though "Vol..2.txt" stays in the folder like any name
    for (const QString& good :
         QStringList{"Sunday", "New List 2", QString::fromUtf8("Noël 2024"), "a.b", "Vol..2", "a..b",
                     "..lead", "CONSOLE", "COM0", "LPT10", "CLOCK", " lead"})
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
    ASSERT_EQ(renameList(tmp.path(), "Old", "Fresh"), RenameOutcome::Renamed);
    EXPECT_EQ(filesIn(tmp.path()), (QStringList{"Fresh.rtf", "Fresh.txt"}));
    EXPECT_EQ(readBytes(tmp.file("Fresh.txt")), kBom + "e\r\r\n");
    EXPECT_EQ(readBytes(tmp.file("Fresh.rtf")), "note");
    ASSERT_EQ(renameList(tmp.path(), "Fresh", "FRESH"), RenameOutcome::Renamed);
    EXPECT_EQ(filesIn(tmp.path()), (QStringList{"FRESH.rtf", "FRESH.txt"}));
    ASSERT_EQ(renameList(tmp.path(), "FRESH", "Vol..2"), RenameOutcome::Renamed);
    EXPECT_EQ(filesIn(tmp.path()), (QStringList{"Vol..2.rtf", "Vol..2.txt"}));
}

TEST(ListFolder, renameRefusalsTouchNothing) {
    TempFolder tmp;
    writeBytes(tmp.file("A.txt"), kBom + "a\r\r\n");
    writeBytes(tmp.file("A.rtf"), "note A");
    writeBytes(tmp.file("b.txt"), kBom + "b\r\r\n");
    // regression: renaming a list to its own name reported success and did nothing
    EXPECT_EQ(renameList(tmp.path(), "A", "A"), RenameOutcome::Taken);
    EXPECT_EQ(renameList(tmp.path(), "A", "B"), RenameOutcome::Taken) << "taken in another letter case";
    EXPECT_EQ(renameList(tmp.path(), "A", "CLOCK$"), RenameOutcome::UnusableName);
    EXPECT_EQ(renameList(tmp.path(), "A", "../A2"), RenameOutcome::UnusableName);
    EXPECT_EQ(renameList(tmp.path(), "Gone", "C"), RenameOutcome::Failed);
    EXPECT_EQ(renameList(tmp.path(), "b", "C"), RenameOutcome::Failed) << "a list without its note";
    EXPECT_EQ(filesIn(tmp.path()), (QStringList{"A.rtf", "A.txt", "b.txt"}));
}
