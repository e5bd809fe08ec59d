#include "import/osistext.h"

namespace lumora::import {

namespace {

bool isSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}
bool isWordByte(char c) {
    const auto u = static_cast<unsigned char>(c);
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || u >= 0x80;
}
bool isAsciiAlnum(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
}

// Appends text with white space collapsed; `out` never ends with more than one blank.
void appendCollapsed(QByteArray& out, QByteArrayView text) {
    for (char c : text) {
        if (isSpace(c)) {
            if (!out.isEmpty() && out.back() != ' ') out.append(' ');
        } else {
            out.append(c);
        }
    }
}

QByteArray trimmed(const QByteArray& s) {
    return s.trimmed();
}

void appendEntity(QByteArray& out, QByteArrayView name) {
    if (name == "amp")
        out.append('&');
    else if (name == "lt")
        out.append('<');
    else if (name == "gt")
        out.append('>');
    else if (name == "quot")
        out.append('"');
    else if (name == "apos")
        out.append('\'');
    else if (name.startsWith('#')) {
        bool ok = false;
        const QByteArray digits = name.sliced(1).toByteArray();
        const uint code = digits.startsWith('x') || digits.startsWith('X') ? digits.mid(1).toUInt(&ok, 16)
                                                                           : digits.toUInt(&ok, 10);
        if (ok && code > 0 && code < 0x110000) {
            const char32_t c32 = code;
            out.append(QString::fromUcs4(&c32, 1).toUtf8());
        }
    }
}

// Tag name and whether it opens, closes, or both.
struct Tag {
    QByteArray name;
    QByteArray body;
    bool closing = false;
    bool selfClosing = false;
};

Tag parseTag(QByteArrayView inner) {
    Tag t;
    QByteArrayView s = inner;
    if (s.startsWith('/')) {
        t.closing = true;
        s = s.sliced(1);
    }
    if (s.endsWith('/')) {
        t.selfClosing = true;
        s = s.chopped(1);
    }
    qsizetype end = 0;
    while (end < s.size() && !isSpace(s[end]))
        ++end;
    t.name = s.first(end).toByteArray();
    t.body = s.sliced(end).toByteArray();
    return t;
}

QByteArray attribute(const QByteArray& body, const char* name) {
    const QByteArray key = QByteArray(" ") + name + "=\"";
    const qsizetype at = (QByteArray(" ") + body).indexOf(key);
    if (at < 0) return {};
    const qsizetype start = at + key.size() - 1; // the leading blank was added
    const qsizetype end = body.indexOf('"', start);
    return end < 0 ? QByteArray() : body.mid(start, end - start);
}

bool isBlockTag(const QByteArray& name) {
    return name == "l" || name == "lg" || name == "lb" || name == "p" || name == "div" ||
           name == "milestone" || name == "chapter" || name == "verse" || name == "br";
}

} // namespace

OsisVerse cleanOsis(QByteArrayView raw) {
    OsisVerse result;
    int noteDepth = 0;
    int titleDepth = 0;       // nesting inside a kept title
    int hiddenTitleDepth = 0; // nesting inside a book or chapter heading
    bool gap = false;         // a dropped note may have stood between two words
    QByteArray title;

    auto put = [&](QByteArrayView text) {
        if (noteDepth > 0 || hiddenTitleDepth > 0) return;
        QByteArray& out = titleDepth > 0 ? title : result.text;
        if (gap && !text.isEmpty() && isAsciiAlnum(text.front()) && !out.isEmpty() && isWordByte(out.back()))
            out.append(' ');
        gap = false;
        appendCollapsed(out, text);
    };

    qsizetype i = 0;
    const qsizetype n = raw.size();
    while (i < n) {
        const char c = raw[i];
        if (c == '<') {
            const qsizetype close = raw.indexOf('>', i);
            if (close < 0) break; // a cut tag: nothing after it is text
            const Tag tag = parseTag(raw.sliced(i + 1, close - i - 1));
            i = close + 1;
            if (tag.name == "note") {
                if (tag.selfClosing) continue;
                if (tag.closing) {
                    if (noteDepth > 0 && --noteDepth == 0) gap = true;
                } else {
                    ++noteDepth;
                }
                continue;
            }
            if (noteDepth > 0) continue;
            if (tag.name == "title") {
                if (tag.selfClosing) continue;
                if (tag.closing) {
                    if (hiddenTitleDepth > 0) {
                        --hiddenTitleDepth;
                    } else if (titleDepth > 0 && --titleDepth == 0) {
                        const QByteArray t = trimmed(title);
                        if (!t.isEmpty()) result.titles.append(t);
                        title.clear();
                    }
                    continue;
                }
                const QByteArray type = attribute(tag.body, "type");
                if (hiddenTitleDepth > 0 || type == "main" || type == "chapter" || type == "x-introduction")
                    ++hiddenTitleDepth;
                else
                    ++titleDepth;
                continue;
            }
            if (isBlockTag(tag.name)) put(" ");
            continue;
        }
        if (c == '&') {
            const qsizetype semi = raw.indexOf(';', i);
            if (semi > i && semi - i <= 10) {
                QByteArray decoded;
                appendEntity(decoded, raw.sliced(i + 1, semi - i - 1));
                put(decoded);
                i = semi + 1;
                continue;
            }
        }
        qsizetype next = i;
        while (next < n && raw[next] != '<' && raw[next] != '&')
            ++next;
        if (next == i) ++next; // a lone '&'
        put(raw.sliced(i, next - i));
        i = next;
    }
    result.text = trimmed(result.text);
    // The pilcrow is a paragraph sign of some editions, not part of the reading.
    result.text.replace("\xC2\xB6 ", "");
    result.text.replace("\xC2\xB6", "");
    result.text = trimmed(result.text);
    return result;
}

QByteArray verseField(const QList<QByteArray>& titles, const QByteArray& text) {
    QByteArray out;
    for (QByteArray t : titles) {
        t.replace('[', '(').replace(']', ')');
        out += '[' + t + ']';
    }
    return out + text;
}

} // namespace lumora::import
