#pragma once
// Windows shortcut files (.lnk) for the tests that read or open them.

#include <QByteArray>
#include <QString>
#include <QtEndian>

#include <gtest/gtest.h>

namespace lumora::testing {

// Appends `v` as its little-endian bytes.
template <typename T> void putLittleEndian(QByteArray& b, T v) {
    char raw[sizeof(T)];
    qToLittleEndian(v, raw);
    b.append(raw, sizeof(T));
}

// A shell link as Windows writes one for a file on a local drive: header, LinkInfo with a
// VolumeID and a LocalBasePath, the relative path as counted UTF-16, then the terminal block.
inline QByteArray shellLink(const QByteArray& localBasePath, const QString& relativePath) {
    // header: size, CLSID 00021401-...-46, HasLinkInfo|HasRelativePath|IsUnicode, archive, three
    // FILETIMEs, file size, icon index, SW_SHOWNORMAL, hot key, reserved
    QByteArray b = QByteArray::fromHex("4C0000000114020000000000C0000000000000468A00000020000000") +
                   QByteArray(24, '\0') +
                   QByteArray::fromHex("000000000000000001000000000000000000000000000000");
    EXPECT_EQ(b.size(), 0x4C);

    // VolumeID: size, fixed drive, serial number, label offset, empty label
    const QByteArray volume = QByteArray::fromHex("1100000003000000CDAB34121000000000");
    const QByteArray base = localBasePath + '\0';
    const quint32 header = 0x1C;
    const quint32 baseOffset = header + quint32(volume.size());
    const quint32 suffixOffset = baseOffset + quint32(base.size());
    // LinkInfo: size, header size, VolumeIDAndLocalBasePath, the offsets, then what they point at
    for (const quint32 v : {suffixOffset + 1, header, 0x1u, header, baseOffset, 0u, suffixOffset})
        putLittleEndian(b, v);
    b += volume + base + '\0';

    putLittleEndian(b, quint16(relativePath.size()));
    for (const QChar c : relativePath)
        putLittleEndian(b, quint16(c.unicode()));
    putLittleEndian(b, quint32(0)); // terminal block
    return b;
}

} // namespace lumora::testing
