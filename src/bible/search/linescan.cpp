#include "bible/search/linescan.h"

#include <cstdint>

#if defined(__SSE2__) || defined(_M_X64) || (defined(_M_IX86_FP) && _M_IX86_FP >= 2)
#define LUMORA_SCAN_SSE2 1
#include <emmintrin.h>
#if defined(_MSC_VER) && !defined(__clang__)
#include <intrin.h>
#endif
#endif

// The AVX2 scan is compiled for a processor that has it through the target attribute and chosen
// at run time, so the program still runs on one that has only SSE2. (MSVC has no such attribute;
// it gets the SSE2 scan.)
#if defined(LUMORA_SCAN_SSE2) && (defined(__GNUC__) || defined(__clang__)) &&                                \
    (defined(__x86_64__) || defined(__i386__))
#define LUMORA_SCAN_AVX2 1
#include <immintrin.h>
#define LUMORA_TARGET_AVX2 __attribute__((target("avx2")))
#endif

#if defined(_MSC_VER) && !defined(__clang__)
#define LUMORA_ALWAYS_INLINE __forceinline
#else
#define LUMORA_ALWAYS_INLINE inline __attribute__((always_inline))
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

#if defined(_MSC_VER) && !defined(__clang__)
inline int lowestBit(std::uint32_t m) {
    unsigned long i;
    _BitScanForward(&i, m);
    return static_cast<int>(i);
}
inline int highestBit(std::uint32_t m) {
    unsigned long i;
    _BitScanReverse(&i, m);
    return static_cast<int>(i);
}
#else
inline int lowestBit(std::uint32_t m) {
    return __builtin_ctz(m);
}
inline int highestBit(std::uint32_t m) {
    return 31 - __builtin_clz(m);
}
#endif

// How often a byte turns up in Bible text, roughly (letters folded).
int frequency(uchar c) {
    static constexpr char kLetters[] = "etaoinsrhdlucmpfgwybvkqjxz"; // most frequent first
    c = lowerAscii(c);
    if (c >= 'a' && c <= 'z') {
        for (int k = 0; kLetters[k]; ++k)
            if (static_cast<uchar>(kLetters[k]) == c) return 90 - 3 * k;
    }
    if (c == ' ') return 100;
    if (c == '\t' || (c >= '0' && c <= '9')) return 50;
    if (c == 0xC3) return 45; // the lead byte of most accented Latin letters
    if (c == ',' || c == '.') return 40;
    if (c >= 0x80) return 15;
    if (c < 0x20) return 1;
    return 20;
}

// One needle byte as the vector code tests it: a byte x is that letter in either case when
// (x | fold) == value, with fold 0x20 for a letter (A and a differ only in that bit) and 0 for
// any other byte, which must be equal exactly.
struct ProbeByte {
    int at = 0; // offset in the needle
    uchar value = 0, fold = 0;
};

struct Needle {
    const uchar* low = nullptr; // A-Z lowered
    qsizetype size = 0;
    // Only places where these two bytes agree are compared in full: the first and the last byte,
    // which lie far apart, unless one is a blank, which comes everywhere; the least frequent
    // byte between them takes its place then. (A one-byte needle tests its byte twice.)
    ProbeByte probes[2];

    explicit Needle(QByteArrayView lowered) {
        low = reinterpret_cast<const uchar*>(lowered.data());
        size = lowered.size();
        const int last = int(size - 1);
        int rare = -1;
        for (int k = 1; k < last; ++k)
            if (rare < 0 || frequency(low[k]) < frequency(low[rare])) rare = k;
        int at[2] = {0, last};
        if (rare > 0 && low[0] == ' ')
            at[0] = rare;
        else if (rare > 0 && low[last] == ' ')
            at[1] = rare;
        for (int p = 0; p < 2; ++p) {
            const uchar c = low[at[p]];
            probes[p] = {at[p], c, static_cast<uchar>(c >= 'a' && c <= 'z' ? 0x20 : 0)};
        }
    }

    bool matchesAt(const uchar* p) const {
        for (qsizetype k = 0; k < size; ++k)
            if (lowerAscii(p[k]) != low[k]) return false;
        return true;
    }
};

// Records the line starting at `lineStart` when it is a verse line (four tabs before its end).
void recordLine(const uchar* d, qsizetype size, qsizetype lineStart, std::vector<HitLineRef>& out) {
    qsizetype tabs[4];
    int count = 0;
    for (qsizetype p = lineStart; p < size; ++p) {
        const uchar c = d[p];
        if (c == '\t') {
            tabs[count] = p;
            if (++count == 4) {
                out.push_back({lineStart, tabs[0], tabs[1], tabs[2]});
                return;
            }
        } else if (isLineEnd(c)) {
            return;
        }
    }
}

qsizetype lineEndPortable(const uchar* d, qsizetype from, qsizetype size) {
    while (from < size && !isLineEnd(d[from]))
        ++from;
    return from;
}

qsizetype lineStartPortable(const uchar* d, qsizetype at, qsizetype floor) {
    while (at > floor && !isLineEnd(d[at - 1]))
        --at;
    return at;
}

// The byte-by-byte scan from `i`: the whole scan where no vector path exists, and the last few
// bytes of the others. `floor` is a line start at or before `i`.
void scanTail(const uchar* d, qsizetype size, qsizetype i, qsizetype floor, const Needle& nd,
              std::vector<HitLineRef>& out) {
    for (; i + nd.size <= size; ++i) {
        if (lowerAscii(d[i]) != nd.low[0] || !nd.matchesAt(d + i)) continue;
        recordLine(d, size, lineStartPortable(d, i, floor), out);
        i = lineEndPortable(d, i + nd.size, size); // the line is listed: go on after its end
        floor = i + 1;
    }
}

// recordLine with the tabs found W bytes at a time: the first four tabs of a verse line lie
// within its first few bytes.
template <class B>
LUMORA_ALWAYS_INLINE void recordVerseLine(const uchar* d, qsizetype size, qsizetype lineStart,
                                          const typename B::Consts& k, std::vector<HitLineRef>& out) {
    if (lineStart + B::W <= size) {
        std::uint32_t tabs = B::tabs(d + lineStart, k);
        const std::uint32_t ends = B::lineEnds(d + lineStart, k);
        if (ends) tabs &= (ends & (0u - ends)) - 1; // the tabs before the line's end
        qsizetype at[4];
        int count = 0;
        for (; count < 4 && tabs; ++count, tabs &= tabs - 1)
            at[count] = lineStart + lowestBit(tabs);
        if (count == 4) {
            out.push_back({lineStart, at[0], at[1], at[2]});
            return;
        }
        if (ends) return; // fewer than four tabs: no verse line
    }
    recordLine(d, size, lineStart, out);
}

// The block scan, the same for every vector width. A block is W start positions; the vector
// code gives a bit for each where the needle's two probe bytes are where a match has them, and
// only there is the needle compared. After a hit the scan goes on after the end of that line, so
// a line is listed once. `floor` is a line start at or before `i`, which bounds the backward
// search for the start of a hit's line. Returns where the byte-by-byte tail takes over.
template <class B>
LUMORA_ALWAYS_INLINE qsizetype scanBlocks(const uchar* d, qsizetype size, qsizetype i, qsizetype& floor,
                                          const Needle& nd, std::vector<HitLineRef>& out) {
    const typename B::Consts k = B::consts(nd);
    while (i + B::W + nd.size - 1 <= size) {
        std::uint32_t cand = B::candidates(d + i, nd, k);
        while (cand) {
            const qsizetype at = i + lowestBit(cand);
            if (nd.matchesAt(d + at)) break;
            cand &= cand - 1;
        }
        if (!cand) {
            i += B::W;
            continue;
        }
        const qsizetype at = i + lowestBit(cand);
        recordVerseLine<B>(d, size, B::lineStart(d, at, floor, k), k, out);
        qsizetype e = B::lineEnd(d, at + nd.size, size, k);
        if (e + 1 < size && d[e] == '\r' && d[e + 1] == '\n') ++e;
        if (e >= size) return size;
        i = floor = e + 1;
    }
    return i;
}

#ifdef LUMORA_SCAN_SSE2
struct Sse2Block {
    static constexpr int W = 16;
    struct Consts {
        __m128i value[2], fold[2], cr, lf, tab;
    };
    static Consts consts(const Needle& nd) {
        Consts k;
        for (int p = 0; p < 2; ++p) {
            k.value[p] = _mm_set1_epi8(static_cast<char>(nd.probes[p].value));
            k.fold[p] = _mm_set1_epi8(static_cast<char>(nd.probes[p].fold));
        }
        k.cr = _mm_set1_epi8('\r');
        k.lf = _mm_set1_epi8('\n');
        k.tab = _mm_set1_epi8('\t');
        return k;
    }
    static __m128i load(const uchar* p) { return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p)); }
    static std::uint32_t lineEnds(const uchar* p, const Consts& k) {
        const __m128i x = load(p);
        return static_cast<std::uint32_t>(
            _mm_movemask_epi8(_mm_or_si128(_mm_cmpeq_epi8(x, k.cr), _mm_cmpeq_epi8(x, k.lf))));
    }
    static std::uint32_t tabs(const uchar* p, const Consts& k) {
        return static_cast<std::uint32_t>(_mm_movemask_epi8(_mm_cmpeq_epi8(load(p), k.tab)));
    }
    static std::uint32_t candidates(const uchar* p, const Needle& nd, const Consts& k) {
        __m128i all = _mm_set1_epi8(-1);
        for (int q = 0; q < 2; ++q) {
            const __m128i x = _mm_or_si128(load(p + nd.probes[q].at), k.fold[q]);
            all = _mm_and_si128(all, _mm_cmpeq_epi8(x, k.value[q]));
        }
        return static_cast<std::uint32_t>(_mm_movemask_epi8(all));
    }
    static qsizetype lineEnd(const uchar* d, qsizetype from, qsizetype size, const Consts& k) {
        for (; from + W <= size; from += W)
            if (const std::uint32_t m = lineEnds(d + from, k)) return from + lowestBit(m);
        return lineEndPortable(d, from, size);
    }
    // Start of the line holding `at`, not before `floor`; floor + W must lie within the data.
    static qsizetype lineStart(const uchar* d, qsizetype at, qsizetype floor, const Consts& k) {
        for (; at - W >= floor; at -= W)
            if (const std::uint32_t m = lineEnds(d + at - W, k)) return at - W + highestBit(m) + 1;
        const std::uint32_t m = lineEnds(d + floor, k) & ((std::uint32_t(1) << (at - floor)) - 1);
        return m ? floor + highestBit(m) + 1 : floor;
    }
};

void scanSse2(const uchar* d, qsizetype size, qsizetype i, const Needle& nd, std::vector<HitLineRef>& out) {
    qsizetype floor = i;
    i = scanBlocks<Sse2Block>(d, size, i, floor, nd, out);
    scanTail(d, size, i, floor, nd, out);
}
#endif

#ifdef LUMORA_SCAN_AVX2
struct Avx2Block {
    static constexpr int W = 32;
    struct Consts {
        __m256i value[2], fold[2], cr, lf, tab;
    };
    LUMORA_TARGET_AVX2 static Consts consts(const Needle& nd) {
        Consts k;
        for (int p = 0; p < 2; ++p) {
            k.value[p] = _mm256_set1_epi8(static_cast<char>(nd.probes[p].value));
            k.fold[p] = _mm256_set1_epi8(static_cast<char>(nd.probes[p].fold));
        }
        k.cr = _mm256_set1_epi8('\r');
        k.lf = _mm256_set1_epi8('\n');
        k.tab = _mm256_set1_epi8('\t');
        return k;
    }
    LUMORA_TARGET_AVX2 static __m256i load(const uchar* p) {
        return _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p));
    }
    LUMORA_TARGET_AVX2 static std::uint32_t lineEnds(const uchar* p, const Consts& k) {
        const __m256i x = load(p);
        return static_cast<std::uint32_t>(
            _mm256_movemask_epi8(_mm256_or_si256(_mm256_cmpeq_epi8(x, k.cr), _mm256_cmpeq_epi8(x, k.lf))));
    }
    LUMORA_TARGET_AVX2 static std::uint32_t tabs(const uchar* p, const Consts& k) {
        return static_cast<std::uint32_t>(_mm256_movemask_epi8(_mm256_cmpeq_epi8(load(p), k.tab)));
    }
    LUMORA_TARGET_AVX2 static std::uint32_t candidates(const uchar* p, const Needle& nd, const Consts& k) {
        __m256i all = _mm256_set1_epi8(-1);
        for (int q = 0; q < 2; ++q) {
            const __m256i x = _mm256_or_si256(load(p + nd.probes[q].at), k.fold[q]);
            all = _mm256_and_si256(all, _mm256_cmpeq_epi8(x, k.value[q]));
        }
        return static_cast<std::uint32_t>(_mm256_movemask_epi8(all));
    }
    LUMORA_TARGET_AVX2 static qsizetype lineEnd(const uchar* d, qsizetype from, qsizetype size,
                                                const Consts& k) {
        for (; from + W <= size; from += W)
            if (const std::uint32_t m = lineEnds(d + from, k)) return from + lowestBit(m);
        return lineEndPortable(d, from, size);
    }
    LUMORA_TARGET_AVX2 static qsizetype lineStart(const uchar* d, qsizetype at, qsizetype floor,
                                                  const Consts& k) {
        for (; at - W >= floor; at -= W)
            if (const std::uint32_t m = lineEnds(d + at - W, k)) return at - W + highestBit(m) + 1;
        const std::uint32_t m = lineEnds(d + floor, k) & ((std::uint32_t(1) << (at - floor)) - 1);
        return m ? floor + highestBit(m) + 1 : floor;
    }
};

LUMORA_TARGET_AVX2 void scanAvx2(const uchar* d, qsizetype size, qsizetype i, const Needle& nd,
                                 std::vector<HitLineRef>& out) {
    qsizetype floor = i;
    i = scanBlocks<Avx2Block>(d, size, i, floor, nd, out);
    scanTail(d, size, i, floor, nd, out);
}

bool hasAvx2() {
    static const bool has = __builtin_cpu_supports("avx2");
    return has;
}
#endif

ScanPath resolve(ScanPath path) {
    if (path != ScanPath::Best && scanPathAvailable(path)) return path;
#ifdef LUMORA_SCAN_AVX2
    if (hasAvx2()) return ScanPath::Avx2;
#endif
#ifdef LUMORA_SCAN_SSE2
    return ScanPath::Sse2;
#else
    return ScanPath::Portable;
#endif
}

} // namespace

bool scanPathAvailable(ScanPath path) {
    switch (path) {
    case ScanPath::Best:
    case ScanPath::Portable:
        return true;
    case ScanPath::Sse2:
#ifdef LUMORA_SCAN_SSE2
        return true;
#else
        return false;
#endif
    case ScanPath::Avx2:
#ifdef LUMORA_SCAN_AVX2
        return hasAvx2();
#else
        return false;
#endif
    }
    return false;
}

void findHitLines(QByteArrayView data, QByteArrayView needle, std::vector<HitLineRef>& out, ScanPath path) {
    if (needle.contains('\n') || needle.contains('\r')) return;
    const auto* d = reinterpret_cast<const uchar*>(data.data());
    const qsizetype size = data.size();

    // The first line loses its first three bytes (the byte-order mark) before anything else.
    qsizetype begin = 0;
    while (begin < size && begin < 3 && !isLineEnd(d[begin]))
        ++begin;

    if (needle.isEmpty()) {
        for (qsizetype start = begin; start < size;) {
            recordLine(d, size, start, out);
            qsizetype end = lineEndPortable(d, start, size);
            if (end + 1 < size && d[end] == '\r' && d[end + 1] == '\n') ++end;
            start = end + 1;
        }
        return;
    }

    // Short enough for the stack in any real search; a longer needle goes to the heap.
    uchar small[64];
    std::vector<uchar> large;
    uchar* low = small;
    if (needle.size() > qsizetype(sizeof small)) {
        large.resize(size_t(needle.size()));
        low = large.data();
    }
    for (qsizetype k = 0; k < needle.size(); ++k)
        low[k] = lowerAscii(static_cast<uchar>(needle[k]));
    const Needle nd(QByteArrayView(reinterpret_cast<const char*>(low), needle.size()));

    switch (resolve(path)) {
#ifdef LUMORA_SCAN_AVX2
    case ScanPath::Avx2:
        scanAvx2(d, size, begin, nd, out);
        return;
#endif
#ifdef LUMORA_SCAN_SSE2
    case ScanPath::Sse2:
        scanSse2(d, size, begin, nd, out);
        return;
#endif
    default:
        scanTail(d, size, begin, begin, nd, out);
        return;
    }
}

} // namespace lumora::bible
