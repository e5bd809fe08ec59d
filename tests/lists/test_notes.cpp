#include "lists/notes.h"

#include "support/fakes.h"
#include "support/testdata.h"

using namespace lumora::lists;
using namespace lumora::testing;

TEST(Notes, existingNoteOpenedUnchanged) {
    TempFolder tmp;
    writeBytes(tmp.file("L.rtf"), " Save me as (*.rtf)\r\n");
    FakeShell shell;
    openNote(shell, tmp.path(), "L");
    EXPECT_EQ(shell.opened, QStringList{tmp.file("L.rtf")});
    EXPECT_EQ(readBytes(tmp.file("L.rtf")), " Save me as (*.rtf)\r\n");
}

TEST(Notes, missingNoteCreatedWithCrLfAndOpenedAgain) {
    TempFolder tmp;
    FakeShell shell;
    openNote(shell, tmp.path(), "L");
    EXPECT_EQ(shell.opened, (QStringList{tmp.file("L.rtf"), tmp.file("L.rtf")}));
    EXPECT_EQ(readBytes(tmp.file("L.rtf")), "\r\n");
}

TEST(Notes, noListOrUncreatableNoteDoesNothing) {
    TempFolder tmp;
    FakeShell shell;
    openNote(shell, tmp.path(), "");
    EXPECT_TRUE(shell.opened.isEmpty());
    openNote(shell, tmp.file("gone"), "L");
    EXPECT_EQ(shell.opened.size(), 1) << "not opened again when it could not be created";
}

TEST(Notes, otherShellFailureCreatesNothing) {
    struct RefusingShell final : lumora::platform::Shell {
        lumora::platform::ShellResult open(const QString&) override {
            return lumora::platform::ShellResult::Failed;
        }
        bool startProgram(const QString&, const QStringList&) override { return false; }
    } shell;
    TempFolder tmp;
    openNote(shell, tmp.path(), "L");
    EXPECT_EQ(readBytes(tmp.file("L.rtf")), "<missing>");
}
