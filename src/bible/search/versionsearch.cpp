#include "bible/search/versionsearch.h"

#include "bible/biblestore.h"
#include "common/lines.h"
#include "common/text.h"

#include <algorithm>
#include <climits>
#include <cstring>

#if defined(__SSE2__) || defined(_M_X64) || (defined(_M_IX86_FP) && _M_IX86_FP >= 2)
#define LUMORA_SEARCH_SSE2 1
#include <emmintrin.h>
#if defined(_MSC_VER) && !defined(__clang__)
#include <intrin.h>
#endif
#endif

namespace lumora::bible {

namespace {

using uchar = unsigned char;

inline uchar lowerAscii(uchar c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<uchar>(c + 32) : c;
}
inline uchar upperAscii(uchar c) {
    return (c >= 'a' && c <= 'z') ? static_cast<uchar>(c - 32) : c;
}
inline bool isLineEnd(uchar c) {
    return c == '\n' || c == '\r';
}

#ifdef LUMORA_SEARCH_SSE2
#if defined(_MSC_VER) && !defined(__clang__)
inline int lowestBit(unsigned m) {
    unsigned long i;
    _BitScanForward(&i, m);
    return static_cast<int>(i);
}
inline int highestBit(unsigned m) {
    unsigned long i;
    _BitScanReverse(&i, m);
    return static_cast<int>(i);
}
#else
inline int lowestBit(unsigned m) {
    return __builtin_ctz(m);
}
inline int highestBit(unsigned m) {
    return 31 - __builtin_clz(m);
}
#endif
#endif

// Finds the needle in d[from, size) with A-Z folded. `low` is the needle with A-Z lowered.
// The SSE2 path tests 16 start positions at once on the needle's first and last byte (both
// letter cases), so only positions where both agree are compared byte by byte.
qsizetype findFolded(const uchar* d, qsizetype size, qsizetype from, const QByteArray& low) {
    const auto* nd = reinterpret_cast<const uchar*>(low.constData());
    const qsizetype n = low.size();
    if (n == 0) return from <= size ? from : -1;
    if (n > size - from) return -1;
    const qsizetype last = size - n; // last start position
    auto matchesAt = [&](qsizetype i) {
        for (qsizetype k = 1; k + 1 < n; ++k)
            if (lowerAscii(d[i + k]) != nd[k]) return false;
        return true;
    };
    qsizetype i = from;
#ifdef LUMORA_SEARCH_SSE2
    const __m128i firstLo = _mm_set1_epi8(static_cast<char>(nd[0]));
    const __m128i firstUp = _mm_set1_epi8(static_cast<char>(upperAscii(nd[0])));
    const __m128i lastLo = _mm_set1_epi8(static_cast<char>(nd[n - 1]));
    const __m128i lastUp = _mm_set1_epi8(static_cast<char>(upperAscii(nd[n - 1])));
    // Blocks of 16 start positions whose last-byte load stays inside the data.
    while (i + 15 <= last) {
        const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(d + i));
        const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(d + i + n - 1));
        const __m128i ea = _mm_or_si128(_mm_cmpeq_epi8(a, firstLo), _mm_cmpeq_epi8(a, firstUp));
        const __m128i eb = _mm_or_si128(_mm_cmpeq_epi8(b, lastLo), _mm_cmpeq_epi8(b, lastUp));
        unsigned mask = static_cast<unsigned>(_mm_movemask_epi8(_mm_and_si128(ea, eb)));
        while (mask) {
            const qsizetype at = i + lowestBit(mask);
            if (matchesAt(at)) return at;
            mask &= mask - 1;
        }
        i += 16;
    }
#endif
    for (; i <= last; ++i) {
        if (lowerAscii(d[i]) == nd[0] && lowerAscii(d[i + n - 1]) == nd[n - 1] && matchesAt(i)) return i;
    }
    return -1;
}

// The first four tabs of a verse line lie within its first few bytes, where a plain loop beats a
// library call.
const uchar* findTab(const uchar* p, const uchar* end) {
    while (p < end && *p != '\t')
        ++p;
    return p < end ? p : nullptr;
}

// First CR or LF at or after `from`, or `size`.
qsizetype findLineEnd(const uchar* d, qsizetype from, qsizetype size) {
    qsizetype i = from;
#ifdef LUMORA_SEARCH_SSE2
    const __m128i cr = _mm_set1_epi8('\r'), lf = _mm_set1_epi8('\n');
    for (; i + 16 <= size; i += 16) {
        const __m128i x = _mm_loadu_si128(reinterpret_cast<const __m128i*>(d + i));
        const unsigned m = static_cast<unsigned>(
            _mm_movemask_epi8(_mm_or_si128(_mm_cmpeq_epi8(x, cr), _mm_cmpeq_epi8(x, lf))));
        if (m) return i + lowestBit(m);
    }
#endif
    while (i < size && !isLineEnd(d[i]))
        ++i;
    return i;
}

// Start of the line holding position `at`: just after the last CR or LF before it, but not
// before `floor`.
qsizetype findLineStart(const uchar* d, qsizetype at, qsizetype floor) {
    qsizetype j = at;
#ifdef LUMORA_SEARCH_SSE2
    const __m128i cr = _mm_set1_epi8('\r'), lf = _mm_set1_epi8('\n');
    for (; j - 16 >= floor; j -= 16) {
        const __m128i x = _mm_loadu_si128(reinterpret_cast<const __m128i*>(d + j - 16));
        const unsigned m = static_cast<unsigned>(
            _mm_movemask_epi8(_mm_or_si128(_mm_cmpeq_epi8(x, cr), _mm_cmpeq_epi8(x, lf))));
        if (m) return j - 16 + highestBit(m) + 1;
    }
#endif
    while (j > floor && !isLineEnd(d[j - 1]))
        --j;
    return j;
}

// The fields a hit needs, cut from one verse line.
struct HitLine {
    QByteArrayView verseKey; // field 1 TAB field 2 TAB field 3
    QByteArrayView bookKey, chapter, verse;
};

// Calls f(HitLine) for every verse line of `data` holding `needle`, in file order.
template <typename F> void forEachHitLine(QByteArrayView data, QByteArrayView needle, F&& f) {
    if (needle.contains('\n') || needle.contains('\r')) return;
    QByteArray low(needle.data(), needle.size());
    for (char& c : low)
        c = static_cast<char>(lowerAscii(static_cast<uchar>(c)));

    const auto* d = reinterpret_cast<const uchar*>(data.data());
    const qsizetype size = data.size();
    auto visit = [&](qsizetype lineStart, qsizetype lineEnd) {
        const uchar* ls = d + lineStart;
        const uchar* le = d + lineEnd;
        const uchar* t1 = findTab(ls, le);
        const uchar* t2 = t1 ? findTab(t1 + 1, le) : nullptr;
        const uchar* t3 = t2 ? findTab(t2 + 1, le) : nullptr;
        const uchar* t4 = t3 ? findTab(t3 + 1, le) : nullptr;
        if (!t4) return; // no verse line
        auto view = [](const uchar* a, const uchar* b) {
            return QByteArrayView(reinterpret_cast<const char*>(a), b - a);
        };
        f(HitLine{view(ls, t3), view(ls, t1), view(t1 + 1, t2), view(t2 + 1, t3)});
    };

    // The first line loses its first three bytes (the byte-order mark) before anything else.
    qsizetype firstEnd = 0;
    while (firstEnd < size && firstEnd < 3 && !isLineEnd(d[firstEnd]))
        ++firstEnd;

    if (low.isEmpty()) {
        qsizetype start = firstEnd;
        while (start < size) {
            qsizetype end = findLineEnd(d, start, size);
            visit(start, end);
            if (end < size && d[end] == '\r' && end + 1 < size && d[end + 1] == '\n') ++end;
            start = end + 1;
        }
        return;
    }

    qsizetype pos = firstEnd; // the region start, or a line terminator
    while (pos < size) {
        const qsizetype at = findFolded(d, size, pos, low);
        if (at < 0) break;
        // The needle holds no terminator, so the match lies inside one line; the line is tested
        // once, so the next search starts at its end.
        const qsizetype lineEnd = findLineEnd(d, at + low.size(), size);
        visit(findLineStart(d, at, pos), lineEnd);
        pos = lineEnd;
    }
}

int bookNumber(QByteArrayView bookKey) {
    // The usual key, two digits and a letter, without the general parser.
    if (bookKey.size() == 3 && bookKey[0] >= '0' && bookKey[0] <= '9' && bookKey[1] >= '0' &&
        bookKey[1] <= '9' && (bookKey[2] < '0' || bookKey[2] > '9'))
        return (bookKey[0] - '0') * 10 + (bookKey[1] - '0');
    const auto number = common::leadingNumber(bookKey);
    return (number && *number > 0 && *number <= INT_MAX) ? static_cast<int>(*number) : 0;
}

bool isAscii(QByteArrayView v) {
    for (char c : v)
        if (static_cast<uchar>(c) >= 0x80) return false;
    return true;
}

// "Jean 3.16-16", built with one allocation (a search for a common word makes tens of thousands).
QString displayLine(int book, QByteArrayView bookKey, QByteArrayView chapter, QByteArrayView verse,
                    const QStringList& bookNames) {
    const bool named = book >= 1 && book <= bookNames.size();
    const QString name = named ? bookNames.at(book - 1) : QString::fromUtf8(bookKey);
    if (!isAscii(chapter) || !isAscii(verse)) {
        return name + QLatin1Char(' ') + QString::fromUtf8(chapter) + QLatin1Char('.') +
               QString::fromUtf8(verse) + QLatin1Char('-') + QString::fromUtf8(verse);
    }
    QString out(name.size() + chapter.size() + 2 * verse.size() + 3, Qt::Uninitialized);
    QChar* p = out.data();
    p = std::copy(name.cbegin(), name.cend(), p);
    auto put = [&p](QByteArrayView ascii) {
        for (char c : ascii)
            *p++ = QLatin1Char(c);
    };
    *p++ = QLatin1Char(' ');
    put(chapter);
    *p++ = QLatin1Char('.');
    put(verse);
    *p++ = QLatin1Char('-');
    put(verse);
    return out;
}

// field 1 TAB field 2 TAB field 3 TAB field 3 TAB version; `versionTail` is TAB + the version.
QByteArray searchKey(QByteArrayView verseKey, QByteArrayView verse, QByteArrayView versionTail) {
    QByteArray key(verseKey.size() + 1 + verse.size() + versionTail.size(), Qt::Uninitialized);
    char* p = key.data();
    p = std::copy(verseKey.begin(), verseKey.end(), p);
    *p++ = '\t';
    p = std::copy(verse.begin(), verse.end(), p);
    std::copy(versionTail.begin(), versionTail.end(), p);
    return key;
}

QByteArray versionTail(int versionIndex) {
    return '\t' + QByteArray::number(versionIndex);
}

} // namespace

void SearchHit::setVerseKey(QByteArrayView key) {
    if (key.size() <= static_cast<qsizetype>(m_inline.size())) {
        std::copy(key.begin(), key.end(), m_inline.begin());
        m_size = static_cast<int>(key.size());
        m_long.clear();
    } else {
        m_long = key.toByteArray();
        m_size = -1;
    }
}

QByteArrayView SearchHit::bookKey() const {
    const QByteArrayView key = verseKey();
    const qsizetype t1 = key.indexOf('\t');
    return key.first(t1 < 0 ? key.size() : t1);
}

QByteArrayView SearchHit::chapter() const {
    const QByteArrayView key = verseKey();
    const qsizetype t1 = key.indexOf('\t');
    const qsizetype t2 = t1 < 0 ? -1 : key.indexOf('\t', t1 + 1);
    if (t2 < 0) return {};
    return key.sliced(t1 + 1, t2 - t1 - 1);
}

QByteArrayView SearchHit::verse() const {
    const QByteArrayView key = verseKey();
    const qsizetype t2 = key.lastIndexOf('\t');
    if (t2 < 0) return {};
    return key.sliced(t2 + 1);
}

QList<SearchHit> searchBookBytes(QByteArrayView data, QByteArrayView needle) {
    QList<SearchHit> hits;
    forEachHitLine(data, needle, [&](const HitLine& line) {
        SearchHit& hit = hits.emplace_back();
        hit.book = bookNumber(line.bookKey);
        hit.setVerseKey(line.verseKey);
    });
    return hits;
}

SearchFileResult SearchBookFile(const QString& path, QByteArrayView needle) {
    SearchFileResult out;
    const auto bytes = common::readWholeFile(path);
    if (!bytes) return out;
    out.opened = true;
    out.hits = searchBookBytes(*bytes, needle);
    return out;
}

bool isBlankSearch(QByteArrayView needle) {
    return needle.isEmpty() || needle == " " || needle == "   ";
}

QString searchDisplayLine(const SearchHit& hit, const QStringList& bookNames) {
    return displayLine(hit.book, hit.bookKey(), hit.chapter(), hit.verse(), bookNames);
}

QByteArray SearchKey(const SearchHit& hit, int versionIndex) {
    return searchKey(hit.verseKey(), hit.verse(), versionTail(versionIndex));
}

VersionSearch SearchVersion(const QString& dataPath, const QByteArray& code, int versionIndex,
                            const QStringList& bookNames, QByteArrayView needle) {
    VersionSearch out;
    const QByteArray tail = versionTail(versionIndex);
    const VersionFiles files = versionFiles(dataPath, code);
    for (const QString& path : {files.oldTestament, files.newTestament}) {
        const auto bytes = common::readWholeFile(path);
        if (!bytes) {
            out.unreadable.append(path);
            continue;
        }
        // The lists are filled straight from the file's bytes, without SearchHit copies between.
        forEachHitLine(*bytes, needle, [&](const HitLine& line) {
            out.display.append(
                displayLine(bookNumber(line.bookKey), line.bookKey, line.chapter, line.verse, bookNames));
            out.keys.append(searchKey(line.verseKey, line.verse, tail));
        });
    }
    return out;
}

std::optional<SearchTarget> parseSearchKey(const QByteArray& key) {
    const auto fields = common::cutFields<5>(key);
    if (!fields) return std::nullopt;
    auto number = [](const QByteArray& f) -> std::optional<int> {
        const auto n = common::leadingNumber(QByteArrayView(f));
        if (!n || *n < 0 || *n > INT_MAX) return std::nullopt;
        return static_cast<int>(*n);
    };
    const auto version = number((*fields)[4]);
    const auto book = number((*fields)[0]);
    const auto chapter = number((*fields)[1]);
    const auto verse = number((*fields)[2]);
    if (!version || !book || !chapter || !verse || *book < 1 || *chapter < 1 || *verse < 1)
        return std::nullopt;
    return SearchTarget{*version, *book - 1, *chapter - 1, *verse - 1};
}

} // namespace lumora::bible
