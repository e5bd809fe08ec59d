#pragma once
// Byte strings as the data files hold them, and the one place where they meet screen text.
//
// Data files are UTF-8; lines are handled as raw bytes (QByteArray), one character per byte,
// so keys and numbers compare exactly as stored. Text shown to people is QString.

#include <QByteArray>
#include <QString>
#include <Qt>

#include <array>
#include <optional>

namespace lumora::common {

inline constexpr char kBom[] = "\xEF\xBB\xBF";
inline constexpr char kTab = '\t';

// "Jean" -> UTF-8 bytes. An empty text gives an empty result.
QByteArray Utf8Encode(const QString& text);
// The inverse of Utf8Encode. Invalid sequences become U+FFFD.
QString Utf8Decode(const QByteArray& bytes);

bool startsWithBom(const QByteArray& bytes);

// True when bytes are well-formed UTF-8 (no stray continuation byte, no truncated or overlong
// sequence, no surrogate, nothing above U+10FFFF).
bool isValidUtf8(QByteArrayView bytes);

// Cuts a line at its first N-1 tabs: fields 1..N-1 lie between tabs, field N is the rest of the
// line (tabs included). "a\tb\tc\td" cut in 3 -> {"a", "b", "c\td"}. Fewer tabs -> nullopt.
template <std::size_t N> std::optional<std::array<QByteArray, N>> cutFields(const QByteArray& line) {
    std::array<QByteArray, N> out;
    qsizetype start = 0;
    for (std::size_t k = 0; k + 1 < N; ++k) {
        const qsizetype tab = line.indexOf(kTab, start);
        if (tab < 0) return std::nullopt;
        out[k] = line.mid(start, tab - start);
        start = tab + 1;
    }
    out[N - 1] = line.mid(start);
    return out;
}

// Position of needle in hay from `from`, letters A-Z compared without regard to case, every other
// byte exactly (so accented letters in UTF-8 must match byte for byte). -1 when absent.
qsizetype indexOfAsciiCi(QByteArrayView hay, QByteArrayView needle, qsizetype from = 0);

// Leading-digit value as the stored numbers are read: blanks skipped, then digits; "43N" -> 43,
// " 5" -> 5, "x" -> nullopt; a number beyond the 64-bit range -> nullopt.
std::optional<long long> leadingNumber(QByteArrayView text);
std::optional<long long> leadingNumber(const QString& text);

// The code of a version entry: the text before its first " -" (letter case does not matter for
// the separator). "KJV - King James" -> "KJV"; an entry without " -" has no code.
std::optional<QByteArray> VersionCode(const QByteArray& entry);
std::optional<QString> VersionCode(const QString& entry);

// The writing direction of a language's text: right to left when most of its letters with a
// strong direction are right-to-left ones (Hebrew, Arabic...), left to right otherwise.
// "01 Genesis" -> LeftToRight; "בראשית" -> RightToLeft; "א ALEPH. Blessed are" -> LeftToRight.
Qt::LayoutDirection dominantDirection(const QString& text);

// Where the verse labelled `label` ("5.19") starts in a passage as a text box shows it, at or after
// `from`: the label at the start of a line (or after the byte-order mark), followed by the three
// blanks that end every verse label. Nullopt when the text holds no such verse.
// "5.18   Car\n\n5.19   Celui" with "5.19" -> 12; "5.19" never answers to "5.190" nor to "(5.19)".
std::optional<int> verseLabelPosition(const QString& plainText, const QString& label, qsizetype from = 0);

} // namespace lumora::common
