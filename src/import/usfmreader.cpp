// The USFM reader: one book per file, backslash markers over plain UTF-8 text.

#include "import/bibleformats.h"

#include <algorithm>

namespace lumora::import {

namespace {

enum class Kind {
    Id,        // \id GEN
    Chapter,   // \c 3
    Verse,     // \v 16
    Paragraph, // \p \q1 \m ... : a break, text goes on
    Title,     // \s1 \d : a title until the next paragraph
    Name,      // \h \toc1 \toc2 : the book's name until the next paragraph
    Dropped,   // introductions, headings that are not titles: dropped until the next paragraph
    Character, // \wj \add \nd ... : the text is kept
    Note,      // \f \x \fig ... : dropped up to the closing marker
    Ignored,   // milestones and the like: nothing to do
    Unknown,   // kept as text, and reported
};

bool isAnyOf(QByteArrayView m, std::initializer_list<const char*> list) {
    return std::any_of(list.begin(), list.end(), [&](const char* p) { return m == p; });
}
// "q1" with base "q": the base and an optional level digit.
bool isLevelled(QByteArrayView m, std::initializer_list<const char*> bases) {
    return std::any_of(bases.begin(), bases.end(), [&](const char* b) {
        const QByteArrayView base(b);
        if (!m.startsWith(base)) return false;
        const QByteArrayView rest = m.sliced(base.size());
        return rest.isEmpty() || (rest.size() == 1 && rest[0] >= '0' && rest[0] <= '9');
    });
}

Kind classify(QByteArrayView m) {
    if (m == "id") return Kind::Id;
    if (m == "c") return Kind::Chapter;
    if (m == "v") return Kind::Verse;
    if (m.endsWith("-s") || m.endsWith("-e") || m == "*") return Kind::Ignored;
    if (isLevelled(m, {"s", "d"}) && m != "s5") return Kind::Title;
    if (isAnyOf(m, {"h", "toc1", "toc2", "h1"})) return Kind::Name;
    if (isLevelled(m, {"mt", "mte", "ms", "imt", "imte", "is", "iq", "ili", "io", "sd", "h"}) ||
        isAnyOf(m, {"ide", "sts", "rem", "usfm", "toc3", "toca1",  "toca2",   "toca3", "mr",  "ip",  "ipi",
                    "im",  "imi", "ipq", "imq",  "ipr",  "ib",     "iot",     "iex",   "ie",  "r",   "sr",
                    "sp",  "cl",  "cd",  "cp",   "s5",   "periph", "restore", "lit",   "esb", "esbe"}))
        return Kind::Dropped;
    if (isLevelled(m, {"p",  "m",   "pi", "q",  "qm", "li", "lim", "ph",  "pm",  "mi",
                       "nb", "b",   "pc", "pr", "qr", "qc", "qd",  "pmo", "pmc", "pmr",
                       "po", "cls", "lh", "lf", "tr", "th", "thr", "tc",  "tcr", "pb"}))
        return Kind::Paragraph;
    if (isAnyOf(m, {"f", "fe", "ef", "x", "ex", "fig", "rq", "ca", "va", "vp", "cat", "jmp"}))
        return Kind::Note;
    if (isAnyOf(m, {"wj",   "add", "nd",  "qs",  "qac", "k",     "bk",  "tl",  "sc",   "bd",  "it",  "em",
                    "bdit", "no",  "sup", "pn",  "png", "addpn", "qt",  "sig", "sls",  "ord", "dc",  "ndx",
                    "w",    "wg",  "wh",  "wa",  "rb",  "ior",   "iqt", "fv",  "litl", "lik", "liv", "liv1",
                    "liv2", "ft",  "fr",  "fk",  "fq",  "fqa",   "fl",  "fw",  "fp",   "fdc", "xo",  "xk",
                    "xq",   "xt",  "xta", "xop", "xot", "xnt",   "xdc", "pro"}))
        return Kind::Character;
    return Kind::Unknown;
}

class UsfmParser final {
  public:
    UsfmParser(const SourceFile& file, ReaderContext& ctx) : m_file(file), m_s(file.bytes), m_ctx(ctx) {}

    std::optional<ReadProblem> run() {
        BibleBuilder& b = m_ctx.builder;
        const qsizetype n = m_s.size();
        qsizetype i = 0;
        qsizetype lastReport = 0;
        while (i < n) {
            if (i - lastReport > (1 << 20)) {
                lastReport = i;
                if (!m_ctx.keepGoing(i)) return std::nullopt;
            }
            if (m_s[i] != '\\') {
                qsizetype next = m_s.indexOf('\\', i);
                if (next < 0) next = n;
                text(QByteArrayView(m_s).sliced(i, next - i));
                i = next;
                continue;
            }
            const qsizetype at = i;
            ++i;
            qsizetype end = i;
            while (end < n && !isSpace(m_s[end]) && m_s[end] != '\\' && m_s[end] != '*')
                ++end;
            const bool closing = end < n && m_s[end] == '*';
            QByteArrayView marker = QByteArrayView(m_s).sliced(i, end - i);
            i = closing ? end + 1 : end;
            if (!closing && i < n && isSpace(m_s[i])) ++i; // the blank that ends a marker
            if (marker.startsWith('+')) marker = marker.sliced(1);
            if (m_noteEnd.size() > 0) {
                // Inside a note everything up to its closing marker is dropped; a note left open
                // ends where the next verse, chapter, book or paragraph begins.
                if (closing) {
                    if (marker == m_noteEnd) m_noteEnd.clear();
                    continue;
                }
                const Kind k = classify(marker);
                if (k != Kind::Verse && k != Kind::Chapter && k != Kind::Id && k != Kind::Paragraph &&
                    k != Kind::Title)
                    continue;
                m_ctx.builder.skip("unclosed \\" + m_noteEnd);
                m_noteEnd.clear();
            }
            m_inAttributes = false;
            if (closing) {
                if (classify(marker) == Kind::Unknown) m_ctx.builder.skip("\\" + marker.toByteArray() + "*");
                continue;
            }
            if (m_skipBook && marker != "id") continue;
            if (auto problem = onMarker(marker, at, i)) return problem;
            if (m_ctx.cancelled) return std::nullopt;
        }
        endParagraph();
        if (!m_sawId) return problemAt(0, QStringLiteral("no \\id line: not a USFM book"));
        (void)b;
        return std::nullopt;
    }

  private:
    static bool isSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }

    ReadProblem problemAt(qsizetype offset, const QString& message) const {
        qint64 line = 1;
        qsizetype lineStart = 0;
        for (qsizetype k = 0; k < offset && k < m_s.size(); ++k)
            if (m_s[k] == '\n') {
                ++line;
                lineStart = k + 1;
            }
        // Columns count characters, not bytes: UTF-8 continuation bytes are not counted.
        qint64 column = 1;
        for (qsizetype k = lineStart; k < offset; ++k)
            if ((static_cast<unsigned char>(m_s[k]) & 0xC0) != 0x80) ++column;
        return {m_file.name, line, column, message};
    }

    // The word after a marker ("3-4", "GEN"); `i` moves past it.
    QByteArray word(qsizetype& i) const {
        while (i < m_s.size() && (m_s[i] == ' ' || m_s[i] == '\t'))
            ++i;
        const qsizetype start = i;
        while (i < m_s.size() && !isSpace(m_s[i]) && m_s[i] != '\\')
            ++i;
        const QByteArray w = m_s.mid(start, i - start);
        if (i < m_s.size() && (m_s[i] == ' ' || m_s[i] == '\t')) ++i;
        return w;
    }

    void endParagraph() {
        if (m_mode == Kind::Title) m_ctx.builder.endTitle();
        if (m_mode == Kind::Name) m_ctx.builder.setBookName(m_name, m_namePriority);
        m_mode = Kind::Paragraph;
        m_name.clear();
    }

    void text(QByteArrayView t) {
        if (m_skipBook || !m_sawId || !m_noteEnd.isEmpty() || m_inAttributes) return;
        // "\w gracious|strong="H2587"\w*": what follows the bar are attributes, not text.
        if (const qsizetype bar = t.indexOf('|'); bar >= 0) {
            text(t.first(bar));
            m_inAttributes = true;
            return;
        }
        switch (m_mode) {
        case Kind::Dropped:
            return;
        case Kind::Name:
            m_name += t.toByteArray();
            return;
        default:
            m_ctx.builder.addText(t);
        }
    }

    std::optional<ReadProblem> onMarker(QByteArrayView marker, qsizetype at, qsizetype& i) {
        BibleBuilder& b = m_ctx.builder;
        const Kind kind = classify(marker);
        switch (kind) {
        case Kind::Id: {
            endParagraph();
            const QByteArray code = word(i).toUpper();
            while (i < m_s.size() && m_s[i] != '\n' && m_s[i] != '\\')
                ++i; // the rest of the line describes the file
            m_sawId = true;
            m_skipBook = isPeripheralUsfmBook(code);
            if (m_skipBook) {
                b.skip("\\id " + code);
                return std::nullopt;
            }
            if (code.isEmpty()) return problemAt(at, QStringLiteral("\\id without a book code"));
            b.beginBook(bookByUsfmCode(code), code, {});
            m_mode = Kind::Dropped;
            return std::nullopt;
        }
        case Kind::Chapter: {
            endParagraph();
            if (!m_sawId || !b.inBook()) return problemAt(at, QStringLiteral("\\c before the \\id line"));
            const QByteArray n = word(i);
            bool ok = false;
            const int chapter = n.toInt(&ok);
            if (!ok || !b.beginChapter(chapter))
                return problemAt(at, QStringLiteral("not a chapter number: \\c ") + QString::fromUtf8(n));
            return std::nullopt;
        }
        case Kind::Verse: {
            if (m_mode != Kind::Paragraph) endParagraph();
            const QByteArray n = word(i);
            int first = 0, last = 0;
            qsizetype k = 0;
            while (k < n.size() && n[k] >= '0' && n[k] <= '9' && k < 6)
                first = first * 10 + (n[k++] - '0');
            if (k < n.size() && n[k] == '-') {
                ++k;
                while (k < n.size() && n[k] >= '0' && n[k] <= '9' && last < 100000)
                    last = last * 10 + (n[k++] - '0');
            }
            if (!m_sawId || !b.inChapter()) return problemAt(at, QStringLiteral("\\v before any \\c"));
            if (first < 1 || !b.beginVerse(first, last > first ? last : 0))
                return problemAt(at, QStringLiteral("not a verse number: \\v ") + QString::fromUtf8(n));
            return std::nullopt;
        }
        case Kind::Paragraph:
            endParagraph();
            b.addBreak();
            return std::nullopt;
        case Kind::Title:
            endParagraph();
            if (!b.inBook()) return std::nullopt;
            b.beginTitle();
            m_mode = Kind::Title;
            return std::nullopt;
        case Kind::Name:
            endParagraph();
            m_mode = Kind::Name;
            m_namePriority = marker == "toc2" ? 3 : marker == "h" ? 2 : 1;
            return std::nullopt;
        case Kind::Dropped:
            endParagraph();
            b.skip("\\" + marker.toByteArray());
            m_mode = Kind::Dropped;
            return std::nullopt;
        case Kind::Note:
            b.skip("\\" + marker.toByteArray());
            b.addGap();
            m_noteEnd = marker.toByteArray();
            return std::nullopt;
        case Kind::Character:
        case Kind::Ignored:
            return std::nullopt;
        case Kind::Unknown:
            b.skip("\\" + marker.toByteArray());
            return std::nullopt;
        }
        return std::nullopt;
    }

    const SourceFile& m_file;
    const QByteArray& m_s;
    ReaderContext& m_ctx;
    Kind m_mode = Kind::Paragraph;
    QByteArray m_name;
    int m_namePriority = 0;
    QByteArray m_noteEnd; // the note being dropped ("f" until "\f*")
    bool m_sawId = false;
    bool m_skipBook = false;
    bool m_inAttributes = false;
};

} // namespace

std::optional<ReadProblem> readUsfmFile(const SourceFile& file, ReaderContext& ctx) {
    return UsfmParser(file, ctx).run();
}

} // namespace lumora::import
