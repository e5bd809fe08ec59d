#include "common/rtf/codepage.h"

#include <QByteArrayList>

#include <array>

namespace lumora::common::rtf {

namespace {

// 0x80..0x9F of cp1252; the rest of the page is Latin-1.
constexpr std::array<char16_t, 32> kCp1252High = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

} // namespace

int codePageForCharset(int charset) {
    switch (charset) {
    case 77:
        return 10000;
    case 128:
        return 932;
    case 129:
        return 949;
    case 130:
        return 1361;
    case 134:
        return 936;
    case 136:
        return 950;
    case 161:
        return 1253;
    case 162:
        return 1254;
    case 163:
        return 1258;
    case 177:
        return 1255;
    case 178:
        return 1256;
    case 186:
        return 1257;
    case 204:
        return 1251;
    case 222:
        return 874;
    case 238:
        return 1250;
    case 254:
        return 437;
    case 255:
        return 850;
    default:
        return 0;
    }
}

QChar cp1252ToChar(unsigned char byte) {
    if (byte >= 0x80 && byte < 0xA0) return QChar(kCp1252High[byte - 0x80]);
    return QChar(byte);
}

std::optional<unsigned char> charToCp1252(QChar c) {
    const char16_t u = c.unicode();
    if (u >= 0x20 && u < 0x80) return static_cast<unsigned char>(u);
    if (u >= 0xA0 && u <= 0xFF) return static_cast<unsigned char>(u);
    for (std::size_t k = 0; k < kCp1252High.size(); ++k) {
        // The unassigned bytes map to themselves; writing them as bytes would depend on how the
        // reading program treats holes in the code page.
        if (kCp1252High[k] == u && u >= 0x100) return static_cast<unsigned char>(0x80 + k);
    }
    return std::nullopt;
}

QStringDecoder* CodePageDecoder::decoderFor(int codePage) {
    auto found = m_decoders.find(codePage);
    if (found != m_decoders.end()) return found->second.isValid() ? &found->second : nullptr;

    QByteArrayList names;
    switch (codePage) {
    case 10000:
        names = {"macintosh"};
        break;
    case 437:
    case 850:
    case 852:
    case 866:
        names = {"IBM" + QByteArray::number(codePage), "cp" + QByteArray::number(codePage)};
        break;
    default:
        names = {"windows-" + QByteArray::number(codePage), "cp" + QByteArray::number(codePage)};
        break;
    }
    QStringDecoder chosen;
    for (const QByteArray& name : names) {
        // Stateless: a lead byte cut off at the end of a piece of text becomes U+FFFD instead of
        // waiting inside the decoder for a trail byte that never comes.
        QStringDecoder candidate(name.constData(), QStringConverter::Flag::Stateless);
        if (candidate.isValid()) {
            chosen = std::move(candidate);
            break;
        }
    }
    auto inserted = m_decoders.emplace(codePage, std::move(chosen)).first;
    return inserted->second.isValid() ? &inserted->second : nullptr;
}

QString CodePageDecoder::decode(QByteArrayView bytes, int codePage) {
    if (bytes.isEmpty()) return {};
    if (QStringDecoder* decoder = decoderFor(codePage)) return decoder->decode(bytes);
    // Without a converter (Qt built without ICU, or an unknown page) cp1252 is the best guess:
    // it is what the hymn files are written in.
    QString out;
    out.reserve(bytes.size());
    for (char b : bytes)
        out += cp1252ToChar(static_cast<unsigned char>(b));
    return out;
}

} // namespace lumora::common::rtf
