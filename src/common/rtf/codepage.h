#pragma once
// Byte <-> text conversion for the 8-bit code pages that RTF files declare (\ansicpgN,
// \fcharsetN). Internal to the RTF reader and writer.

#include <QByteArrayView>
#include <QString>

#include <QStringDecoder>
#include <map>
#include <optional>

namespace lumora::common::rtf {

// Windows code page for an RTF \fcharset value; 0 when the charset says nothing beyond the
// document's own code page (ANSI, default, symbol, unknown). 238 -> 1250, 204 -> 1251.
int codePageForCharset(int charset);

// cp1252 byte -> character, as Windows maps it (the five unassigned bytes map to U+0081 etc.).
QChar cp1252ToChar(unsigned char byte);
// The cp1252 byte of c, when c has one that cp1252ToChar gives back (0x20..0xFF range only).
std::optional<unsigned char> charToCp1252(QChar c);

// Decodes byte strings by code page number, keeping one decoder per code page. Code pages that
// Qt's converter does not know are read as cp1252, so text is never lost, only mis-lettered.
class CodePageDecoder final {
  public:
    QString decode(QByteArrayView bytes, int codePage);

  private:
    QStringDecoder* decoderFor(int codePage);
    std::map<int, QStringDecoder> m_decoders;
};

} // namespace lumora::common::rtf
