// The XML readers: OSIS, Zefania, USX and OpenSong. Each walks the file once with
// QXmlStreamReader, which never loads external entities; the expansion of the entities a file
// declares itself is capped.

#include "import/bibleformats.h"

#include <QXmlStreamReader>

#include <algorithm>
#include <climits>

namespace lumora::import {

namespace {

using Token = QXmlStreamReader::TokenType;

class Xml final {
  public:
    Xml(const SourceFile& file, ReaderContext& ctx) : m_reader(file.bytes), m_file(file), m_ctx(ctx) {
        m_reader.setEntityExpansionLimit(
            static_cast<int>(std::min<qint64>(ctx.options.limits.maxEntityExpansion, INT_MAX)));
    }
    QXmlStreamReader& r() { return m_reader; }

    // The next token; false at the end, on an error or when cancelled.
    bool next() {
        if (++m_tokens % 4096 == 0 && !m_ctx.keepGoing(m_reader.characterOffset())) return false;
        if (m_reader.atEnd()) return false;
        m_reader.readNext();
        return !m_reader.hasError();
    }
    ReadProblem problemHere(const QString& message) const {
        return {m_file.name, m_reader.lineNumber(), m_reader.columnNumber() + 1, message};
    }
    // What stopped the walk: nothing at the end of the document or after a cancel. Before the
    // first element, the file is not of the kind asked for: `notThis` says so.
    std::optional<ReadProblem> outcome(bool sawRoot, const QString& notThis) const {
        if (m_ctx.cancelled) return std::nullopt;
        if (!sawRoot)
            return problemHere(notThis + (m_reader.hasError() ? QStringLiteral(": ") + m_reader.errorString()
                                                              : QStringLiteral(": no element")));
        if (m_reader.hasError()) return problemHere(m_reader.errorString());
        return std::nullopt;
    }
    QByteArray attr(const char* name) const {
        return m_reader.attributes().value(QLatin1StringView(name)).toUtf8();
    }
    bool has(const char* name) const { return m_reader.attributes().hasAttribute(QLatin1StringView(name)); }
    // The text of the current element and all below it, read to its end.
    QByteArray elementText() {
        return m_reader.readElementText(QXmlStreamReader::IncludeChildElements).toUtf8();
    }

  private:
    QXmlStreamReader m_reader;
    const SourceFile& m_file;
    ReaderContext& m_ctx;
    qint64 m_tokens = 0;
};

bool is(QStringView name, QLatin1StringView what) {
    return name.compare(what, Qt::CaseInsensitive) == 0;
}
bool isAnyOf(QStringView name, std::initializer_list<const char*> list) {
    return std::any_of(list.begin(), list.end(),
                       [&](const char* s) { return is(name, QLatin1StringView(s)); });
}

// "12" -> 12; "3-4" -> (3, 4); "3a" -> 3. 0 when it does not begin with a number.
std::pair<int, int> numberRange(QByteArrayView text) {
    auto number = [](QByteArrayView s, qsizetype& at) {
        qint64 n = 0;
        const qsizetype start = at;
        while (at < s.size() && s[at] >= '0' && s[at] <= '9' && at - start < 9)
            n = n * 10 + (s[at++] - '0');
        return at == start ? -1 : static_cast<int>(n);
    };
    const QByteArray t = text.toByteArray().trimmed();
    qsizetype at = 0;
    const int first = number(t, at);
    if (first < 0) return {0, 0};
    while (at < t.size() && t[at] != '-' && t[at] != ',')
        ++at;
    if (at < t.size()) {
        ++at;
        const int last = number(t, at);
        if (last > first) return {first, last};
    }
    return {first, 0};
}

// An osisID or sID part: "KJV:Gen.1.2!a" -> ("Gen", 1, 2); chapter refs give verse 0.
struct OsisRef {
    QByteArray book;
    int chapter = 0;
    int verse = 0;
};
std::optional<OsisRef> parseOsisRef(QByteArray ref) {
    if (const qsizetype colon = ref.indexOf(':'); colon >= 0) ref = ref.mid(colon + 1);
    if (const qsizetype bang = ref.indexOf('!'); bang >= 0) ref.truncate(bang);
    const QList<QByteArray> parts = ref.split('.');
    if (parts.size() < 2 || parts.size() > 3 || parts[0].isEmpty()) return std::nullopt;
    OsisRef out;
    out.book = parts[0];
    bool ok = false;
    out.chapter = parts[1].toInt(&ok);
    if (!ok) return std::nullopt;
    if (parts.size() == 3) {
        out.verse = parts[2].toInt(&ok);
        if (!ok) return std::nullopt;
    }
    return out;
}

enum class AtEnd { Nothing, Verse, Title, Break, DivineName };

void closeElement(BibleBuilder& b, std::vector<AtEnd>& stack) {
    if (stack.empty()) return;
    const AtEnd e = stack.back();
    stack.pop_back();
    if (e == AtEnd::Verse) b.endVerse();
    if (e == AtEnd::Title) b.endTitle();
    if (e == AtEnd::Break) b.addBreak();
}

} // namespace

bool ReaderContext::keepGoing(qint64 doneInFile) {
    if (cancelled) return false;
    if (options.progress && !options.progress(doneBefore + doneInFile, total)) cancelled = true;
    return !cancelled;
}

std::optional<ReadProblem> readOsisFile(const SourceFile& file, ReaderContext& ctx) {
    Xml x(file, ctx);
    QXmlStreamReader& r = x.r();
    BibleBuilder& b = ctx.builder;
    std::vector<AtEnd> stack;
    QByteArray book;
    int chapter = 0;
    bool sawRoot = false;
    // The name of God is set in small capitals in print ("LORD"): its text is given in capitals.
    int divineName = 0;

    // Moves to the book and chapter of a reference when it is not the current one.
    auto reach = [&](const OsisRef& ref) {
        if (ref.book != book || !b.inBook()) {
            b.beginBook(bookByOsisId(ref.book), ref.book, {});
            book = ref.book;
            chapter = 0;
        }
        if (ref.chapter != chapter) {
            if (!b.beginChapter(ref.chapter)) return false;
            chapter = ref.chapter;
        }
        return true;
    };

    while (x.next()) {
        if (r.tokenType() == Token::StartElement) {
            const QStringView name = r.name();
            if (!sawRoot) {
                sawRoot = true;
                if (name != u"osis")
                    return x.problemHere(QStringLiteral("not an OSIS file: it begins with <%1>").arg(name));
            }
            AtEnd end = AtEnd::Nothing;
            if (name == u"osisText") {
                const QByteArray lang = x.attr("xml:lang");
                if (!lang.isEmpty()) b.setLanguage(lang);
            } else if (name == u"header") {
                while (x.next() && !(r.isEndElement() && r.name() == u"header"))
                    if (r.isStartElement() && r.name() == u"title" && ctx.title.isEmpty())
                        ctx.title = x.elementText();
                continue;
            } else if (name == u"div") {
                const QByteArray id = x.attr("osisID");
                if (x.attr("type") == "book" && !id.isEmpty()) {
                    const QByteArray bookId = id.split(' ').front();
                    b.beginBook(bookByOsisId(bookId), bookId, {});
                    book = bookId;
                    chapter = 0;
                }
                end = AtEnd::Break;
            } else if (name == u"chapter") {
                if (x.has("eID")) {
                    b.endVerse();
                } else {
                    const QByteArray id = x.has("osisID") ? x.attr("osisID") : x.attr("sID");
                    const auto ref = parseOsisRef(id.split(' ').front());
                    if (!ref || !reach(*ref))
                        return x.problemHere(QStringLiteral("not a usable chapter: ") +
                                             QString::fromUtf8(id));
                }
            } else if (name == u"verse") {
                if (x.has("eID")) {
                    b.endVerse();
                } else {
                    const QByteArray id = x.has("osisID") ? x.attr("osisID") : x.attr("sID");
                    const QList<QByteArray> ids = id.simplified().split(' ');
                    const auto first = parseOsisRef(ids.front());
                    const auto last = parseOsisRef(ids.back());
                    if (!first || first->verse < 1 || !reach(*first) ||
                        !b.beginVerse(first->verse,
                                      last && last->chapter == first->chapter ? last->verse : 0))
                        return x.problemHere(QStringLiteral("not a usable verse: ") + QString::fromUtf8(id));
                    if (!x.has("sID")) end = AtEnd::Verse;
                }
            } else if (name == u"note") {
                b.skip("<note>");
                b.addGap();
                r.skipCurrentElement();
                continue;
            } else if (name == u"title") {
                const QByteArray type = x.attr("type");
                // Book and chapter headings are not part of any verse.
                if (b.inTitle() || type == "main" || type == "chapter" || type == "x-introduction") {
                    r.skipCurrentElement();
                    continue;
                }
                b.beginTitle();
                end = AtEnd::Title;
            } else if (name == u"figure" || name == u"index" || name == u"rdg") {
                b.skip("<" + name.toUtf8() + ">");
                r.skipCurrentElement();
                continue;
            } else if (name == u"divineName") {
                ++divineName;
                end = AtEnd::DivineName;
            } else if (isAnyOf(name,
                               {"p", "l", "lg", "lb", "list", "item", "row", "cell", "milestone", "cb"})) {
                b.addBreak();
                end = AtEnd::Break;
            }
            stack.push_back(end);
        } else if (r.tokenType() == Token::EndElement) {
            if (!stack.empty() && stack.back() == AtEnd::DivineName) --divineName;
            closeElement(b, stack);
        } else if (r.tokenType() == Token::Characters) {
            b.addText(divineName > 0 ? r.text().toString().toUpper().toUtf8() : r.text().toUtf8());
        }
    }
    return x.outcome(sawRoot, QStringLiteral("not an OSIS file"));
}

std::optional<ReadProblem> readZefaniaFile(const SourceFile& file, ReaderContext& ctx) {
    Xml x(file, ctx);
    QXmlStreamReader& r = x.r();
    BibleBuilder& b = ctx.builder;
    std::vector<AtEnd> stack;
    bool sawRoot = false;
    while (x.next()) {
        if (r.tokenType() == Token::StartElement) {
            const QStringView name = r.name();
            if (!sawRoot) {
                sawRoot = true;
                if (!is(name, QLatin1StringView("XMLBIBLE")))
                    return x.problemHere(QStringLiteral("not a Zefania file: it begins with <%1>").arg(name));
                ctx.title = x.attr("biblename");
            }
            AtEnd end = AtEnd::Nothing;
            if (is(name, QLatin1StringView("INFORMATION"))) {
                while (x.next() && !(r.isEndElement() && is(r.name(), QLatin1StringView("INFORMATION")))) {
                    if (!r.isStartElement()) continue;
                    if (is(r.name(), QLatin1StringView("language")))
                        b.setLanguage(x.elementText().trimmed());
                    else if (is(r.name(), QLatin1StringView("title")) && ctx.title.isEmpty())
                        ctx.title = x.elementText().trimmed();
                }
                continue;
            }
            if (is(name, QLatin1StringView("BIBLEBOOK"))) {
                const int number = x.attr("bnumber").trimmed().toInt();
                const QByteArray bname = x.attr("bname");
                const QByteArray bsname = x.attr("bsname");
                // Numbers above 66 follow no common order: the names say which book it is.
                const BookCode* code = number >= 1 && number <= 66 ? bookByNumber(number) : nullptr;
                if (!code) code = bookByName(bsname);
                if (!code) code = bookByName(bname);
                const QByteArray own = !bname.isEmpty() ? bname : "Book " + QByteArray::number(number);
                b.beginBook(code, own, bname);
            } else if (is(name, QLatin1StringView("CHAPTER"))) {
                const QByteArray n = x.attr("cnumber");
                if (!b.inBook() || !b.beginChapter(numberRange(n).first))
                    return x.problemHere(QStringLiteral("not a usable chapter: ") + QString::fromUtf8(n));
            } else if (is(name, QLatin1StringView("VERS"))) {
                const QByteArray n = x.attr("vnumber");
                const auto [first, last] = numberRange(n);
                if (!b.beginVerse(first, last))
                    return x.problemHere(QStringLiteral("not a usable verse: ") + QString::fromUtf8(n));
                end = AtEnd::Verse;
            } else if (is(name, QLatin1StringView("CAPTION"))) {
                if (b.inTitle()) {
                    r.skipCurrentElement();
                    continue;
                }
                b.beginTitle();
                end = AtEnd::Title;
            } else if (isAnyOf(name, {"NOTE", "XREF", "REMARK", "PROLOG", "MEDIA"})) {
                b.skip("<" + name.toUtf8().toUpper() + ">");
                b.addGap();
                r.skipCurrentElement();
                continue;
            } else if (is(name, QLatin1StringView("BR"))) {
                b.addBreak();
            }
            stack.push_back(end);
        } else if (r.tokenType() == Token::EndElement) {
            closeElement(b, stack);
        } else if (r.tokenType() == Token::Characters) {
            b.addText(r.text().toUtf8());
        }
    }
    return x.outcome(sawRoot, QStringLiteral("not a Zefania file"));
}

std::optional<ReadProblem> readUsxFile(const SourceFile& file, ReaderContext& ctx) {
    Xml x(file, ctx);
    QXmlStreamReader& r = x.r();
    BibleBuilder& b = ctx.builder;
    std::vector<AtEnd> stack;
    bool sawRoot = false;
    bool skipping = false; // inside a book that holds no Bible text
    bool sawBook = false;  // a file's chapters belong to its own book, never to the file before
    while (x.next()) {
        if (r.tokenType() == Token::StartElement) {
            const QStringView name = r.name();
            if (!sawRoot) {
                sawRoot = true;
                if (name != u"usx")
                    return x.problemHere(QStringLiteral("not a USX file: it begins with <%1>").arg(name));
            }
            const QByteArray style = x.attr("style");
            AtEnd end = AtEnd::Nothing;
            if (name == u"book") {
                const QByteArray code = x.attr("code").trimmed();
                skipping = isPeripheralUsfmBook(code);
                sawBook = true;
                if (skipping)
                    b.skip("\\id " + code);
                else
                    b.beginBook(bookByUsfmCode(code), code, {});
                r.skipCurrentElement();
                continue;
            }
            if (skipping) {
                r.skipCurrentElement();
                continue;
            }
            if (name == u"para") {
                if (style == "h" || style == "toc1" || style == "toc2") {
                    b.setBookName(x.elementText(), style == "toc2" ? 3 : style == "h" ? 2 : 1);
                    continue;
                }
                if (style == "d" || style.startsWith("s") || style == "qa") {
                    if (style == "d" || style == "s" || style == "s1" || style == "s2" || style == "s3" ||
                        style == "s4" || style == "qa") {
                        b.beginTitle();
                        end = AtEnd::Title;
                        stack.push_back(end);
                        continue;
                    }
                }
                static const char* const dropped[] = {"ide",    "rem", "toc3", "restore", "cl",
                                                      "cd",     "mr",  "r",    "sr",      "sp",
                                                      "periph", "iex", "ie",   "ib",      "iot"};
                const bool isDropped =
                    style.startsWith("mt") || style.startsWith("ms") || style.startsWith("im") ||
                    style.startsWith("ip") || style.startsWith("is") || style.startsWith("io") ||
                    style.startsWith("ili") || style.startsWith("iq") || style.startsWith("toca") ||
                    std::any_of(std::begin(dropped), std::end(dropped),
                                [&](const char* d) { return style == d; });
                if (isDropped) {
                    b.skip("\\" + style);
                    r.skipCurrentElement();
                    continue;
                }
                b.addBreak();
                end = AtEnd::Break;
            } else if (name == u"chapter") {
                if (x.has("eid")) {
                    b.endVerse();
                } else {
                    const QByteArray n = x.attr("number");
                    if (!sawBook) return x.problemHere(QStringLiteral("a chapter before the book element"));
                    if (!b.beginChapter(numberRange(n).first))
                        return x.problemHere(QStringLiteral("not a usable chapter: ") + QString::fromUtf8(n));
                }
            } else if (name == u"verse") {
                if (x.has("eid")) {
                    b.endVerse();
                } else {
                    const QByteArray n = x.attr("number");
                    const auto [first, last] = numberRange(n);
                    if (!b.beginVerse(first, last))
                        return x.problemHere(QStringLiteral("not a usable verse: ") + QString::fromUtf8(n));
                }
            } else if (name == u"note" || name == u"figure" || name == u"sidebar") {
                b.skip(name == u"note" ? "\\" + style : "<" + name.toUtf8() + ">");
                b.addGap();
                r.skipCurrentElement();
                continue;
            } else if (name == u"row" || name == u"cell" || name == u"optbreak") {
                b.addBreak();
            }
            stack.push_back(end);
        } else if (r.tokenType() == Token::EndElement) {
            closeElement(b, stack);
        } else if (r.tokenType() == Token::Characters && !skipping) {
            b.addText(r.text().toUtf8());
        }
    }
    return x.outcome(sawRoot, QStringLiteral("not a USX file"));
}

std::optional<ReadProblem> readOpenSongFile(const SourceFile& file, ReaderContext& ctx) {
    Xml x(file, ctx);
    QXmlStreamReader& r = x.r();
    BibleBuilder& b = ctx.builder;
    std::vector<AtEnd> stack;
    bool sawRoot = false;
    int position = 0; // of the book in the file
    // Books whose names the table does not know go by their place: among the 66 when the file
    // has at least 66 books, among the 27 of the New Testament when it has exactly 27.
    const qsizetype books = file.bytes.count("<b ") + file.bytes.count("<b>");
    const int firstByPlace = books >= 66 ? 1 : books == 27 ? 40 : 0;
    while (x.next()) {
        if (r.tokenType() == Token::StartElement) {
            const QStringView name = r.name();
            if (!sawRoot) {
                sawRoot = true;
                if (name != u"bible")
                    return x.problemHere(
                        QStringLiteral("not an OpenSong Bible: it begins with <%1>").arg(name));
            }
            AtEnd end = AtEnd::Nothing;
            if (name == u"b") {
                ++position;
                const QByteArray n = x.attr("n").trimmed();
                bool isNumber = false;
                const int number = n.toInt(&isNumber);
                // A name the table knows, else a number, else the book's place among the 66.
                const BookCode* code = bookByName(n);
                if (!code && isNumber) code = bookByNumber(number);
                if (!code && firstByPlace > 0 && position + firstByPlace - 1 <= 66)
                    code = bookByNumber(position + firstByPlace - 1);
                b.beginBook(code, n.isEmpty() ? "Book " + QByteArray::number(position) : n,
                            isNumber ? QByteArray() : n);
            } else if (name == u"c") {
                const QByteArray n = x.attr("n");
                if (!b.inBook() || !b.beginChapter(numberRange(n).first))
                    return x.problemHere(QStringLiteral("not a usable chapter: ") + QString::fromUtf8(n));
            } else if (name == u"v") {
                const QByteArray n = x.attr("n");
                const auto [first, last] = numberRange(n);
                const int to = x.has("t") ? numberRange(x.attr("t")).first : last;
                if (!b.beginVerse(first, to > first ? to : 0))
                    return x.problemHere(QStringLiteral("not a usable verse: ") + QString::fromUtf8(n));
                end = AtEnd::Verse;
            }
            stack.push_back(end);
        } else if (r.tokenType() == Token::EndElement) {
            closeElement(b, stack);
        } else if (r.tokenType() == Token::Characters) {
            b.addText(r.text().toUtf8());
        }
    }
    return x.outcome(sawRoot, QStringLiteral("not an OpenSong Bible"));
}

} // namespace lumora::import
