#include "bible/search/versionsearch.h"

#include "bible/biblestore.h"
#include "common/lines.h"
#include "common/text.h"

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

inline uchar lowerAscii(uchar c) { return (c >= 'A' && c <= 'Z') ? static_cast<uchar>(c + 32) : c; }
inline uchar upperAscii(uchar c) { return (c >= 'a' && c <= 'z') ? static_cast<uchar>(c - 32) : c; }
inline bool isLineEnd(uchar c) { return c == '\n' || c == '\r'; }

#ifdef LUMORA_SEARCH_SSE2
#if defined(_MSC_VER) && !defined(__clang__)
inline int lowestBit(unsigned m) {
    unsigned long i;
    _BitScanForward(&i, m);
    return static_cast<int>(i);
}
#else
inline int lowestBit(unsigned m) { return __builtin_ctz(m); }
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
    const qsizetype last = size - n;  // last start position
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

const uchar* findTab(const uchar* p, const uchar* end) {
    return static_cast<const uchar*>(std::memchr(p, '\t', static_cast<size_t>(end - p)));
}

} // namespace

QByteArrayView SearchHit::bookKey() const {
    const qsizetype t1 = verseKey.indexOf('\t');
    return QByteArrayView(verseKey).first(t1 < 0 ? verseKey.size() : t1);
}

QByteArrayView SearchHit::chapter() const {
    const qsizetype t1 = verseKey.indexOf('\t');
    const qsizetype t2 = t1 < 0 ? -1 : verseKey.indexOf('\t', t1 + 1);
    if (t2 < 0) return {};
    return QByteArrayView(verseKey).sliced(t1 + 1, t2 - t1 - 1);
}

QByteArrayView SearchHit::verse() const {
    const qsizetype t2 = verseKey.lastIndexOf('\t');
    if (t2 < 0) return {};
    return QByteArrayView(verseKey).sliced(t2 + 1);
}

QList<SearchHit> searchBookBytes(QByteArrayView data, QByteArrayView needle) {
    QList<SearchHit> hits;
    if (needle.contains('\n') || needle.contains('\r')) return hits;
    QByteArray low(needle.data(), needle.size());
    for (char& c : low) c = static_cast<char>(lowerAscii(static_cast<uchar>(c)));

    const auto* d = reinterpret_cast<const uchar*>(data.data());
    const qsizetype size = data.size();
    // The first line loses its first three bytes (the byte-order mark) before anything else.
    qsizetype firstEnd = 0;
    while (firstEnd < size && firstEnd < 3 && !isLineEnd(d[firstEnd])) ++firstEnd;
    auto addLine = [&](const uchar* ls, const uchar* le) {
        const uchar* t1 = findTab(ls, le);
        const uchar* t2 = t1 ? findTab(t1 + 1, le) : nullptr;
        const uchar* t3 = t2 ? findTab(t2 + 1, le) : nullptr;
        const uchar* t4 = t3 ? findTab(t3 + 1, le) : nullptr;
        if (!t4) return;
        SearchHit hit;
        hit.verseKey = QByteArray(reinterpret_cast<const char*>(ls), t3 - ls);
        const auto number = common::leadingNumber(QByteArrayView(ls, t1 - ls));
        hit.book = (number && *number > 0 && *number <= INT_MAX) ? static_cast<int>(*number) : 0;
        hits.append(std::move(hit));
    };

    if (low.isEmpty()) {
        qsizetype start = firstEnd;
        while (start < size) {
            qsizetype end = start;
            while (end < size && !isLineEnd(d[end])) ++end;
            addLine(d + start, d + end);
            if (end < size && d[end] == '\r' && end + 1 < size && d[end + 1] == '\n') ++end;
            start = end + 1;
        }
        return hits;
    }

    qsizetype pos = firstEnd;  // the region start, or a line terminator
    while (pos < size) {
        const qsizetype at = findFolded(d, size, pos, low);
        if (at < 0) break;
        // The needle holds no terminator, so the match lies inside one line; the line is tested
        // once, so the next search starts at its end.
        qsizetype lineStart = at;
        while (lineStart > pos && !isLineEnd(d[lineStart - 1])) --lineStart;
        qsizetype lineEnd = at + low.size();
        while (lineEnd < size && !isLineEnd(d[lineEnd])) ++lineEnd;
        addLine(d + lineStart, d + lineEnd);
        pos = lineEnd;
    }
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

bool isBlankSearch(QByteArrayView needle) { return needle.isEmpty() || needle == " " || needle == "   "; }

QString searchDisplayLine(const SearchHit& hit, const QStringList& bookNames) {
    const QByteArrayView verse = hit.verse();
    QByteArray tail;
    tail.reserve(hit.chapter().size() + 2 * verse.size() + 3);
    tail.append(' ').append(hit.chapter()).append('.').append(verse).append('-').append(verse);
    const bool named = hit.book >= 1 && hit.book <= bookNames.size();
    QString out = named ? bookNames.at(hit.book - 1) : common::Utf8Decode(hit.bookKey().toByteArray());
    out += QString::fromUtf8(tail);
    return out;
}

QByteArray SearchKey(const SearchHit& hit, int versionIndex) {
    const QByteArrayView verse = hit.verse();
    QByteArray key;
    key.reserve(hit.verseKey.size() + verse.size() + 8);
    key.append(hit.verseKey).append('\t').append(verse).append('\t').append(QByteArray::number(versionIndex));
    return key;
}

VersionSearch SearchVersion(const QString& dataPath, const QByteArray& code, int versionIndex,
                            const QStringList& bookNames, QByteArrayView needle) {
    VersionSearch out;
    const VersionFiles files = versionFiles(dataPath, code);
    for (const QString& path : {files.oldTestament, files.newTestament}) {
        const SearchFileResult r = SearchBookFile(path, needle);
        if (!r.opened) {
            out.unreadable.append(path);
            continue;
        }
        out.display.reserve(out.display.size() + r.hits.size());
        out.keys.reserve(out.keys.size() + r.hits.size());
        for (const SearchHit& h : r.hits) {
            out.display.append(searchDisplayLine(h, bookNames));
            out.keys.append(SearchKey(h, versionIndex));
        }
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
    if (!version || !book || !chapter || !verse || *book < 1 || *chapter < 1 || *verse < 1) return std::nullopt;
    return SearchTarget{*version, *book - 1, *chapter - 1, *verse - 1};
}

} // namespace lumora::bible
