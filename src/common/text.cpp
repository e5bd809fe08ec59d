#include "common/text.h"

#include <cstring>

namespace lumora::common {

QByteArray Utf8Encode(const QString& text) { return text.toUtf8(); }

QString Utf8Decode(const QByteArray& bytes) { return QString::fromUtf8(bytes); }

bool startsWithBom(const QByteArray& bytes) { return bytes.startsWith(kBom); }

namespace {
inline unsigned char foldAscii(unsigned char c) { return (c >= 'a' && c <= 'z') ? c - 32 : c; }
} // namespace

qsizetype indexOfAsciiCi(QByteArrayView hay, QByteArrayView needle, qsizetype from) {
    const qsizetype n = needle.size();
    const qsizetype h = hay.size();
    if (from < 0) from = 0;
    if (n == 0) return from <= h ? from : -1;
    if (n > h - from) return -1;
    const auto* H = reinterpret_cast<const unsigned char*>(hay.data());
    const auto* N = reinterpret_cast<const unsigned char*>(needle.data());
    const unsigned char first = foldAscii(N[0]);
    const bool firstIsLetter = first >= 'A' && first <= 'Z';
    const unsigned char firstLower = firstIsLetter ? first + 32 : first;
    const qsizetype last = h - n;
    qsizetype i = from;
    while (i <= last) {
        // Jump to the next byte that can start a match.
        const void* p1 = std::memchr(H + i, first, static_cast<size_t>(last - i + 1));
        const void* p2 = firstIsLetter ? std::memchr(H + i, firstLower, static_cast<size_t>(last - i + 1)) : nullptr;
        const unsigned char* p = nullptr;
        if (p1 && p2) p = static_cast<const unsigned char*>(p1 < p2 ? p1 : p2);
        else p = static_cast<const unsigned char*>(p1 ? p1 : p2);
        if (!p) return -1;
        i = p - H;
        qsizetype k = 1;
        while (k < n && foldAscii(H[i + k]) == foldAscii(N[k])) ++k;
        if (k == n) return i;
        ++i;
    }
    return -1;
}

std::optional<long long> leadingNumber(QByteArrayView text) {
    qsizetype i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
    const qsizetype digitsStart = i;
    long long value = 0;
    while (i < text.size() && text[i] >= '0' && text[i] <= '9') {
        if (value > (1LL << 60)) return std::nullopt;
        value = value * 10 + (text[i] - '0');
        ++i;
    }
    if (i == digitsStart) return std::nullopt;
    return negative ? -value : value;
}

std::optional<long long> leadingNumber(const QString& text) { return leadingNumber(QByteArrayView(text.toUtf8())); }

std::optional<QByteArray> VersionCode(const QByteArray& entry) {
    const qsizetype at = entry.indexOf(" -");
    if (at < 0) return std::nullopt;
    return entry.left(at);
}

std::optional<QString> VersionCode(const QString& entry) {
    const qsizetype at = entry.indexOf(QStringLiteral(" -"));
    if (at < 0) return std::nullopt;
    return entry.left(at);
}

Qt::LayoutDirection dominantDirection(const QString& text) {
    qsizetype leftToRight = 0, rightToLeft = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char32_t c = text.at(i).isHighSurrogate() && i + 1 < text.size()
                               ? QChar::surrogateToUcs4(text.at(i), text.at(i + 1))
                               : text.at(i).unicode();
        if (c > 0xFFFF) ++i;
        switch (QChar::direction(c)) {
        case QChar::DirL: ++leftToRight; break;
        case QChar::DirR:
        case QChar::DirAL: ++rightToLeft; break;
        default: break;
        }
    }
    return rightToLeft > leftToRight ? Qt::RightToLeft : Qt::LeftToRight;
}

} // namespace lumora::common
