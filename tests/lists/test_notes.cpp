#include "lists/ui/notes.h"

#include "support/fakes.h"
#include "support/testdata.h"

using namespace lumora::lists;
using namespace lumora::testing;

TEST(Notes, existingNoteOpenedUnchangedMissingOneCreatedWithCrLfAndOpenedAgain) {
    TempFolder tmp;
    writeBytes(tmp.file("L.rtf"), " Save me as (*.rtf)\r\n");
    FakeShell shell;
    openNote(shell, tmp.path(), "L");
    EXPECT_EQ(shell.opened, QStringList{tmp.file("L.rtf")});
    EXPECT_EQ(readBytes(tmp.file("L.rtf")), " Save me as (*.rtf)\r\n");
    shell.opened.clear();
    openNote(shell, tmp.path(), "M");
    EXPECT_EQ(shell.opened, (QStringList{tmp.file("M.rtf"), tmp.file("M.rtf")}));
    EXPECT_EQ(readBytes(tmp.file("M.rtf")), "\r\n");
}

// failures
TEST(Notes, noListUncreatableNoteOrOtherShellFailureCreatesNothing) {
    TempFolder tmp;
    FakeShell shell;
    openNote(shell, tmp.path(), "");
    EXPECT_TRUE(shell.opened.isEmpty());
    openNote(shell, tmp.file("gone"), "L");
    EXPECT_EQ(shell.opened.size(), 1) << "not opened again when it could not be created";
    struct RefusingShell final : lumora::platform::Shell {
        lumora::platform::ShellResult open(const QString&) override {
            return lumora::platform::ShellResult::Failed;
        }
        bool startProgram(const QString&, const QStringList&) override { return false; }
    } refusing;
    openNote(refusing, tmp.path(), "L");
    EXPECT_EQ(readBytes(tmp.file("L.rtf")), "<missing>");
}
