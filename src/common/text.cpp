#include "common/text.h"

#include <cstring>
#include <limits>

namespace lumora::common {

QByteArray Utf8Encode(const QString& text) {
    return text.toUtf8();
}

QString Utf8Decode(const QByteArray& bytes) {
    return QString::fromUtf8(bytes);
}

bool startsWithBom(const QByteArray& bytes) {
    return bytes.startsWith(kBom);
}

bool isValidUtf8(QByteArrayView bytes) {
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
    const qsizetype n = bytes.size();
    qsizetype i = 0;
    while (i < n) {
        const unsigned char c = p[i];
        if (c < 0x80) {
            ++i;
            continue;
        }
        int len = 0;
        unsigned char lo = 0x80, hi = 0xBF; // allowed range of the second byte
        if (c >= 0xC2 && c <= 0xDF)
            len = 2;
        else if (c >= 0xE0 && c <= 0xEF) {
            len = 3;
            if (c == 0xE0)
                lo = 0xA0; // overlong
            else if (c == 0xED)
                hi = 0x9F; // surrogates
        } else if (c >= 0xF0 && c <= 0xF4) {
            len = 4;
            if (c == 0xF0)
                lo = 0x90;
            else if (c == 0xF4)
                hi = 0x8F; // above U+10FFFF
        } else
            return false;
        if (i + len > n) return false;
        if (p[i + 1] < lo || p[i + 1] > hi) return false;
        for (int k = 2; k < len; ++k)
            if ((p[i + k] & 0xC0) != 0x80) return false;
        i += len;
    }
    return true;
}

namespace {
inline unsigned char foldAscii(unsigned char c) {
    return (c >= 'a' && c <= 'z') ? c - 32 : c;
}
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
        const void* p2 =
            firstIsLetter ? std::memchr(H + i, firstLower, static_cast<size_t>(last - i + 1)) : nullptr;
        const unsigned char* p = nullptr;
        if (p1 && p2)
            p = static_cast<const unsigned char*>(p1 < p2 ? p1 : p2);
        else
            p = static_cast<const unsigned char*>(p1 ? p1 : p2);
        if (!p) return -1;
        i = p - H;
        qsizetype k = 1;
        while (k < n && foldAscii(H[i + k]) == foldAscii(N[k]))
            ++k;
        if (k == n) return i;
        ++i;
    }
    return -1;
}

std::optional<long long> leadingNumber(QByteArrayView text) {
    qsizetype i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t'))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
    const qsizetype digitsStart = i;
    long long value = 0;
    constexpr long long kMax = std::numeric_limits<long long>::max();
    while (i < text.size() && text[i] >= '0' && text[i] <= '9') {
        const int digit = text[i] - '0';
        // value * 10 + digit must stay representable; a longer number is no number we can use.
        if (value > (kMax - digit) / 10) return std::nullopt;
        value = value * 10 + digit;
        ++i;
    }
    if (i == digitsStart) return std::nullopt;
    return negative ? -value : value;
}

std::optional<long long> leadingNumber(const QString& text) {
    return leadingNumber(QByteArrayView(text.toUtf8()));
}

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
        case QChar::DirL:
            ++leftToRight;
            break;
        case QChar::DirR:
        case QChar::DirAL:
            ++rightToLeft;
            break;
        default:
            break;
        }
    }
    return rightToLeft > leftToRight ? Qt::RightToLeft : Qt::LeftToRight;
}

std::optional<int> verseLabelPosition(const QString& plainText, const QString& label, qsizetype from) {
    if (label.isEmpty()) return std::nullopt;
    const QString blanks = QStringLiteral("   ");
    for (qsizetype at = plainText.indexOf(label, from); at >= 0; at = plainText.indexOf(label, at + 1)) {
        const QChar before = at == 0 ? QChar(u'\n') : plainText.at(at - 1);
        const bool lineStart = before == u'\n' || before == u'\r' || before == QChar::ParagraphSeparator ||
                               before == QChar(0xFEFF);
        if (lineStart && QStringView(plainText).mid(at + label.size(), 3) == blanks) return int(at);
    }
    return std::nullopt;
}

} // namespace lumora::common
