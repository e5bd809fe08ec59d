#pragma once
// Windows shortcut files (.lnk) for the tests that read or open them.

#include <QByteArray>
#include <QString>
#include <QtEndian>

#include <gtest/gtest.h>

namespace lumora::testing {

namespace shelllink_detail {
inline void put32(QByteArray& b, quint32 v) {
    char raw[4];
    qToLittleEndian(v, raw);
    b.append(raw, 4);
}
inline void put16(QByteArray& b, quint16 v) {
    char raw[2];
    qToLittleEndian(v, raw);
    b.append(raw, 2);
}

} // namespace shelllink_detail

// A shell link as Windows writes one for a file on a local drive: header, LinkInfo with a
// VolumeID and a LocalBasePath, the relative path as counted UTF-16, then the terminal block.
inline QByteArray shellLink(const QByteArray& localBasePath, const QString& relativePath) {
    using shelllink_detail::put16;
    using shelllink_detail::put32;
    // header: size, CLSID 00021401-...-46, HasLinkInfo|HasRelativePath|IsUnicode, archive, three
    // FILETIMEs, file size, icon index, SW_SHOWNORMAL, hot key, reserved
    QByteArray b = QByteArray::fromHex("4C0000000114020000000000C0000000000000468A00000020000000") +
                   QByteArray(24, '\0') +
                   QByteArray::fromHex("000000000000000001000000"
                                       "0000"
                                       "00000000000000000000");
    EXPECT_EQ(b.size(), 0x4C);

    // VolumeID: size, fixed drive, serial number, label offset, empty label
    const QByteArray volume = QByteArray::fromHex("11000000"
                                                  "03000000"
                                                  "CDAB3412"
                                                  "10000000"
                                                  "00");
    const QByteArray base = localBasePath + '\0';
    const quint32 header = 0x1C;
    const quint32 baseOffset = header + quint32(volume.size());
    const quint32 suffixOffset = baseOffset + quint32(base.size());
    QByteArray info;
    put32(info, suffixOffset + 1);
    put32(info, header);
    put32(info, 0x1); // VolumeIDAndLocalBasePath
    put32(info, header);
    put32(info, baseOffset);
    put32(info, 0);
    put32(info, suffixOffset);
    info += volume + base + '\0';
    b += info;

    put16(b, quint16(relativePath.size()));
    for (const QChar c : relativePath)
        put16(b, c.unicode());
    put32(b, 0); // terminal block
    return b;
}

} // namespace lumora::testing
