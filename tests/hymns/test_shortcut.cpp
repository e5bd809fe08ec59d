#include "hymns/shortcut.h"

#include "shelllink.h"
#include "support/testdata.h"

#include <QtEndian>

#include <gtest/gtest.h>

using namespace lumora::hymns;
using namespace lumora::testing;

namespace {

TEST(HymnShortcut, relativePathFirst_elseTheLocalPath_componentsFoundWhateverTheirCase) {
    TempFolder t;
    writeBytes(t.file("Clips/Gloria.AVI"), "video");
    writeBytes(t.file("Book/Video/12.lnk"),
               shellLink("C:\\Elsewhere\\Gloria.avi", "..\\..\\clips\\gloria.avi"));
    EXPECT_EQ(ResolveShortcut(t.file("Book/Video"), "12"), t.file("Clips/Gloria.AVI"));
    // a missing relative target falls back to the local path
    writeBytes(t.file("Video/12.LNK"), shellLink("C:\\LMR\\Gloria.avi", ".\\gone.avi"));
    EXPECT_EQ(ResolveShortcut(t.file("Video"), "12"), "C:/LMR/Gloria.avi");
    // an existing local path is found whatever its letter case
    writeBytes(t.file("target.avi"), "video");
    writeBytes(t.file("Video/13.lnk"), shellLink(t.file("TARGET.avi").toUtf8(), ".\\gone.avi"));
    EXPECT_EQ(ResolveShortcut(t.file("Video"), "13"), t.file("target.avi"));
}

// malformed input: a missing or broken shortcut, sizes beyond the file, a shortcut above 1 MiB
TEST(HymnShortcut, missingBrokenOversizedOrOverlongShortcut_givesEmptyText) {
    TempFolder t;
    EXPECT_EQ(ResolveShortcut(t.path(), "12"), QString());
    writeBytes(t.file("12.lnk"), "not a shell link");
    EXPECT_EQ(ResolveShortcut(t.path(), "12"), QString());

    // Regression: a LinkInfo size of 4 GB in a 200-byte shortcut made liblnk allocate 4 GB before
    // it found the file too short.
    writeBytes(t.file("clip.avi"), "video");
    const QByteArray good = shellLink("C:\\LMR\\clip.avi", "..\\clip.avi");
    ASSERT_TRUE(ShellLinkSizesFit(good));
    writeBytes(t.file("Video/1.lnk"), good);
    ASSERT_EQ(ResolveShortcut(t.file("Video"), "1"), t.file("clip.avi"));

    QByteArray hugeInfo = good;
    hugeInfo.replace(0x4C, 4, QByteArray::fromHex("46FFFFFF"));
    QByteArray longText = good; // the relative path's count runs past the end
    longText.chop(4 + 2 * 10);
    QByteArray badHeader = good;
    badHeader[0] = 0x4D;
    for (const QByteArray& bad : {hugeInfo, longText, badHeader, good.left(0x4B), good.left(0x4E)}) {
        EXPECT_FALSE(ShellLinkSizesFit(bad)) << bad.toHex().toStdString();
        writeBytes(t.file("Video/1.lnk"), bad);
        EXPECT_EQ(ResolveShortcut(t.file("Video"), "1"), QString());
    }
    // an extra data block larger than what is left
    EXPECT_FALSE(ShellLinkSizesFit(good.chopped(4) + QByteArray::fromHex("00010000") + "short"));
    EXPECT_TRUE(
        ShellLinkSizesFit(good.chopped(4) + QByteArray::fromHex("08000000") + "abcd" + good.right(4)));

    // sizes that fit, but one block of 1 MiB
    QByteArray big = good.chopped(4) + QByteArray::fromHex("04001000") + QByteArray(0x100000, 'x');
    big.append(QByteArray(4, '\0'));
    ASSERT_TRUE(ShellLinkSizesFit(big));
    writeBytes(t.file("Video/1.lnk"), big);
    EXPECT_EQ(ResolveShortcut(t.file("Video"), "1"), QString());
}

} // namespace
