#include "hymns/ui/shortcut.h"

#include "support/testdata.h"

#include <QtEndian>

#include <gtest/gtest.h>

using namespace lumora::hymns;
using namespace lumora::testing;

namespace {

void put32(QByteArray& b, quint32 v) {
    char raw[4];
    qToLittleEndian(v, raw);
    b.append(raw, 4);
}
void put16(QByteArray& b, quint16 v) {
    char raw[2];
    qToLittleEndian(v, raw);
    b.append(raw, 2);
}

// A shell link as Windows writes one for a file on a local drive: header, LinkInfo with a
// VolumeID and a LocalBasePath, the relative path as counted UTF-16, then the terminal block.
QByteArray shellLink(const QByteArray& localBasePath, const QString& relativePath) {
    QByteArray b;
    put32(b, 0x4C);
    b.append(QByteArray::fromHex("0114020000000000C000000000000046"));  // CLSID 00021401-...-46
    put32(b, 0x02 | 0x08 | 0x80);                                        // HasLinkInfo|HasRelativePath|IsUnicode
    put32(b, 0x20);                                                      // archive
    b.append(QByteArray(24, '\0'));                                      // three FILETIMEs
    put32(b, 0);                                                         // file size
    put32(b, 0);                                                         // icon index
    put32(b, 1);                                                         // SW_SHOWNORMAL
    put16(b, 0);
    b.append(QByteArray(10, '\0'));                                      // reserved
    EXPECT_EQ(b.size(), 0x4C);

    QByteArray volume;
    put32(volume, 0x11);
    put32(volume, 3);  // fixed drive
    put32(volume, 0x1234ABCD);
    put32(volume, 0x10);
    volume.append('\0');
    const QByteArray base = localBasePath + '\0';
    const quint32 header = 0x1C;
    const quint32 baseOffset = header + quint32(volume.size());
    const quint32 suffixOffset = baseOffset + quint32(base.size());
    QByteArray info;
    put32(info, suffixOffset + 1);
    put32(info, header);
    put32(info, 0x1);  // VolumeIDAndLocalBasePath
    put32(info, header);
    put32(info, baseOffset);
    put32(info, 0);
    put32(info, suffixOffset);
    info += volume + base + '\0';
    b += info;

    put16(b, quint16(relativePath.size()));
    for (const QChar c : relativePath) put16(b, c.unicode());
    put32(b, 0);  // terminal block
    return b;
}

TEST(HymnShortcut, relativePathFirst_componentsFoundWhateverTheirCase) {
    TempFolder t;
    writeBytes(t.file(QStringLiteral("Clips/Gloria.AVI")), "video");
    writeBytes(t.file(QStringLiteral("Book/Video/12.lnk")), shellLink("C:\\Elsewhere\\Gloria.avi", QStringLiteral("..\\..\\clips\\gloria.avi")));
    EXPECT_EQ(ResolveShortcut(t.file(QStringLiteral("Book/Video")), QStringLiteral("12")), t.file(QStringLiteral("Clips/Gloria.AVI")));
}

TEST(HymnShortcut, missingRelativeTarget_fallsBackToTheLocalPath) {
    TempFolder t;
    const QByteArray local = "C:\\LMR\\Gloria.avi";
    writeBytes(t.file(QStringLiteral("Video/12.LNK")), shellLink(local, QStringLiteral(".\\gone.avi")));
    EXPECT_EQ(ResolveShortcut(t.file(QStringLiteral("Video")), QStringLiteral("12")), QStringLiteral("C:/LMR/Gloria.avi"));

    writeBytes(t.file(QStringLiteral("target.avi")), "video");
    const QByteArray absolute = t.file(QStringLiteral("TARGET.avi")).toUtf8();
    writeBytes(t.file(QStringLiteral("Video/13.lnk")), shellLink(absolute, QStringLiteral(".\\gone.avi")));
    EXPECT_EQ(ResolveShortcut(t.file(QStringLiteral("Video")), QStringLiteral("13")), t.file(QStringLiteral("target.avi")));
}

TEST(HymnShortcut, missingOrBrokenShortcut_givesEmptyText) {
    TempFolder t;
    EXPECT_EQ(ResolveShortcut(t.path(), QStringLiteral("12")), QString());
    writeBytes(t.file(QStringLiteral("12.lnk")), "not a shell link");
    EXPECT_EQ(ResolveShortcut(t.path(), QStringLiteral("12")), QString());
}

} // namespace
