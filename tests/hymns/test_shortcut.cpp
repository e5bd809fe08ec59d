#include "hymns/ui/shortcut.h"

#include "shelllink.h"
#include "support/testdata.h"

#include <QtEndian>

#include <gtest/gtest.h>

using namespace lumora::hymns;
using namespace lumora::testing;

namespace {

TEST(HymnShortcut, relativePathFirstWithComponentsFoundWhateverTheirCase) {
    TempFolder t;
    writeBytes(t.file("Clips/Gloria.AVI"), "video");
    writeBytes(t.file("Book/Video/12.lnk"),
               shellLink("C:\\Elsewhere\\Gloria.avi", "..\\..\\clips\\gloria.avi"));
    EXPECT_EQ(ResolveShortcut(t.file("Book/Video"), "12"), t.file("Clips/Gloria.AVI"));
}

TEST(HymnShortcut, missingRelativeTargetFallsBackToTheLocalPath) {
    TempFolder t;
    writeBytes(t.file("Video/12.LNK"), shellLink("C:\\LMR\\Gloria.avi", ".\\gone.avi"));
    EXPECT_EQ(ResolveShortcut(t.file("Video"), "12"), "C:/LMR/Gloria.avi");
    // an existing local path is found whatever its letter case
    writeBytes(t.file("target.avi"), "video");
    writeBytes(t.file("Video/13.lnk"), shellLink(t.file("TARGET.avi").toUtf8(), ".\\gone.avi"));
    EXPECT_EQ(ResolveShortcut(t.file("Video"), "13"), t.file("target.avi"));
}

// malformed input
TEST(HymnShortcut, missingOrBrokenShortcutGivesEmptyText) {
    TempFolder t;
    EXPECT_EQ(ResolveShortcut(t.path(), "12"), QString());
    writeBytes(t.file("12.lnk"), "not a shell link");
    EXPECT_EQ(ResolveShortcut(t.path(), "12"), QString());
}

} // namespace
