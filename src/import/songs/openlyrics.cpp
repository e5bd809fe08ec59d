// OpenLyrics 0.8 and 0.9, read with QXmlStreamReader and written with QXmlStreamWriter.

#include "import/songs/song.h"

#include <QXmlStreamReader>
#include <QXmlStreamWriter>

#include <algorithm>

namespace lumora::import {

namespace {

const QString kNamespace = QStringLiteral("http://openlyrics.info/namespace/2009/song");
const QString kXmlNamespace = QStringLiteral("http://www.w3.org/XML/1998/namespace");

struct Localized {
    QString text;
    QString lang;
    bool translit = false;
    bool original = false;
};

struct Verse {
    QString name; // lower case
    QString lang;
    bool translit = false;
    QStringList lines;
};

// "en" matches "en", "en-US" and "EN".
bool sameLanguage(const QString& a, const QString& b) {
    const auto base = [](const QString& s) { return s.section(QLatin1Char('-'), 0, 0).toLower(); };
    return base(a) == base(b);
}

bool isInLanguage(const QString& lang, bool translit, const QString& songLang) {
    return !translit && (lang.isEmpty() || songLang.isEmpty() || sameLanguage(lang, songLang));
}

QString attr(const QXmlStreamReader& xml, const char* name) {
    return xml.attributes().value(QLatin1String(name)).toString();
}

QString langOf(const QXmlStreamReader& xml) {
    QString lang = attr(xml, "lang");
    if (lang.isEmpty()) lang = xml.attributes().value(kXmlNamespace, QStringLiteral("lang")).toString();
    return lang;
}

Localized readLocalized(QXmlStreamReader& xml) {
    Localized l;
    l.lang = langOf(xml);
    l.translit = !attr(xml, "translit").isEmpty();
    l.original = attr(xml, "original") == QLatin1String("true");
    l.text = xml.readElementText(QXmlStreamReader::IncludeChildElements).simplified();
    return l;
}

// The text of one <lines>: <br/> (and the end of a 0.7 <line>) breaks a line, chords keep the text
// they wrap, comments go; whitespace that lays out the XML is not part of the words.
QStringList readLines(QXmlStreamReader& xml) {
    const int repeat = std::clamp(attr(xml, "repeat").toInt(), 1, 10);
    QStringList lines;
    QString current;
    int depth = 0;
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isCharacters()) {
            current += xml.text();
        } else if (xml.isStartElement()) {
            if (xml.name() == QLatin1String("br")) {
                xml.skipCurrentElement();
                lines << current;
                current.clear();
            } else if (xml.name() == QLatin1String("comment")) {
                xml.skipCurrentElement();
            } else {
                ++depth;
            }
        } else if (xml.isEndElement()) {
            if (depth == 0) break;
            --depth;
            if (xml.name() == QLatin1String("line")) {
                lines << current;
                current.clear();
            }
        }
    }
    lines << current;
    QStringList out;
    for (const QString& line : std::as_const(lines)) {
        const QString clean = line.simplified();
        if (!clean.isEmpty()) out << clean;
    }
    QStringList repeated;
    for (int i = 0; i < repeat; ++i)
        repeated += out;
    return repeated;
}

Verse readVerse(QXmlStreamReader& xml) {
    Verse v;
    v.name = attr(xml, "name").trimmed().toLower();
    v.lang = langOf(xml);
    v.translit = !attr(xml, "translit").isEmpty();
    while (xml.readNextStartElement()) {
        if (xml.name() == QLatin1String("lines"))
            v.lines += readLines(xml);
        else
            xml.skipCurrentElement();
    }
    return v;
}

struct Document {
    QString lang;
    QList<Localized> titles, themes;
    QString verseOrder;
    QList<Verse> verses;
    Song song;
};

void readProperties(QXmlStreamReader& xml, Document& doc) {
    Song& song = doc.song;
    while (xml.readNextStartElement()) {
        const auto name = xml.name();
        if (name == QLatin1String("titles") || name == QLatin1String("themes")) {
            QList<Localized>& list = name == QLatin1String("titles") ? doc.titles : doc.themes;
            while (xml.readNextStartElement()) {
                if (xml.name() == QLatin1String("title") || xml.name() == QLatin1String("theme"))
                    list << readLocalized(xml);
                else
                    xml.skipCurrentElement();
            }
        } else if (name == QLatin1String("authors")) {
            while (xml.readNextStartElement()) {
                if (xml.name() != QLatin1String("author")) {
                    xml.skipCurrentElement();
                    continue;
                }
                const QString type = attr(xml, "type");
                const QString who = xml.readElementText(QXmlStreamReader::IncludeChildElements).simplified();
                if (who.isEmpty()) continue;
                if (type == QLatin1String("music"))
                    song.musicAuthors << who;
                else if (type == QLatin1String("translation"))
                    song.translators << who;
                else if (type != QLatin1String("arrangement"))
                    song.wordsAuthors << who;
            }
        } else if (name == QLatin1String("songbooks")) {
            while (xml.readNextStartElement()) {
                if (xml.name() == QLatin1String("songbook"))
                    song.songbooks.append({attr(xml, "name").simplified(), attr(xml, "entry").simplified()});
                xml.skipCurrentElement();
            }
        } else if (name == QLatin1String("key") || name == QLatin1String("copyright") ||
                   name == QLatin1String("variant") || name == QLatin1String("verseOrder")) {
            const QString value = xml.readElementText(QXmlStreamReader::IncludeChildElements).simplified();
            if (name == QLatin1String("key"))
                song.key = value;
            else if (name == QLatin1String("copyright"))
                song.copyright = value;
            else if (name == QLatin1String("variant"))
                song.tune = value;
            else
                doc.verseOrder = value;
        } else {
            xml.skipCurrentElement();
        }
    }
}

// The song's own language: its xml:lang, else that of its original title, else that of its
// first verse.
QString songLanguage(const Document& doc) {
    if (!doc.lang.isEmpty()) return doc.lang;
    for (const Localized& t : doc.titles)
        if (t.original && !t.lang.isEmpty()) return t.lang;
    return doc.verses.isEmpty() ? QString() : doc.verses.first().lang;
}

QString pickTitle(const QList<Localized>& titles, const QString& lang) {
    for (const Localized& t : titles)
        if (!t.text.isEmpty() && isInLanguage(t.lang, t.translit, lang)) return t.text;
    for (const Localized& t : titles)
        if (!t.text.isEmpty() && t.original) return t.text;
    for (const Localized& t : titles)
        if (!t.text.isEmpty()) return t.text;
    return {};
}

// One verse per name, in the song's language when it has one there.
QList<const Verse*> pickVerses(const QList<Verse>& verses, const QString& lang) {
    QList<const Verse*> out;
    QStringList names;
    for (const Verse& v : verses)
        if (!names.contains(v.name)) names << v.name;
    for (const QString& name : std::as_const(names)) {
        const Verse* chosen = nullptr;
        for (const Verse& v : verses) {
            if (v.name != name) continue;
            if (isInLanguage(v.lang, v.translit, lang)) {
                chosen = &v;
                break;
            }
            if (!chosen || (chosen->translit && !v.translit)) chosen = &v;
        }
        out << chosen;
    }
    return out;
}

} // namespace

SongRead readOpenLyrics(const QByteArray& bytes) {
    QXmlStreamReader xml(bytes);
    SongRead out;
    Document doc;
    while (!xml.atEnd() && !xml.isStartElement()) {
        xml.readNext();
        if (xml.tokenType() == QXmlStreamReader::DTD) {
            out.line = static_cast<int>(xml.lineNumber());
            out.error = QStringLiteral("a document type declaration is not allowed in a song");
            return out;
        }
    }
    if (!xml.hasError() && (!xml.isStartElement() || xml.name() != QLatin1String("song"))) {
        out.line = static_cast<int>(xml.lineNumber());
        out.error = QStringLiteral("not an OpenLyrics song (no <song> element)");
        return out;
    }
    doc.lang = xml.attributes().value(kXmlNamespace, QStringLiteral("lang")).toString();
    while (!xml.hasError() && xml.readNextStartElement()) {
        if (xml.name() == QLatin1String("properties")) {
            readProperties(xml, doc);
        } else if (xml.name() == QLatin1String("lyrics")) {
            while (xml.readNextStartElement()) {
                if (xml.name() == QLatin1String("verse"))
                    doc.verses << readVerse(xml);
                else
                    xml.skipCurrentElement();
            }
        } else {
            xml.skipCurrentElement();
        }
    }
    // Anything after the root is read too, so a document cut short or with a second root fails.
    while (!xml.atEnd())
        xml.readNext();
    if (xml.hasError()) {
        out.line = static_cast<int>(xml.lineNumber());
        out.error = xml.errorString();
        return out;
    }
    const QString lang = songLanguage(doc);
    Song& song = doc.song;
    song.title = pickTitle(doc.titles, lang);
    if (song.title.isEmpty()) {
        out.error = QStringLiteral("the song has no title");
        return out;
    }
    for (const Localized& t : std::as_const(doc.themes))
        if (!t.text.isEmpty() && isInLanguage(t.lang, t.translit, lang) && !song.themes.contains(t.text))
            song.themes << t.text;

    const QList<const Verse*> verses = pickVerses(doc.verses, lang);
    const auto find = [&verses](const QString& name) -> const Verse* {
        for (const Verse* v : verses)
            if (v->name == name) return v;
        return nullptr;
    };
    for (const QString& name : doc.verseOrder.toLower().split(QLatin1Char(' '), Qt::SkipEmptyParts))
        if (const Verse* v = find(name); v && !v->lines.isEmpty()) song.stanzas << v->lines;
    if (song.stanzas.isEmpty())
        for (const Verse* v : verses)
            if (!v->lines.isEmpty()) song.stanzas << v->lines;
    out.song = std::move(song);
    return out;
}

namespace {

// XML 1.0 carries neither most control characters, nor U+FFFE and U+FFFF, nor a surrogate that is
// not half of a pair (a damaged UTF-16 file gives those); each becomes a blank, as a tab does.
QString xmlText(const QString& text) {
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) {
            out += c;
            out += text.at(++i);
        } else if (c.unicode() < 0x20 || c.isSurrogate() || c.unicode() == 0xFFFE || c.unicode() == 0xFFFF) {
            out += QLatin1Char(' ');
        } else {
            out += c;
        }
    }
    return out.simplified();
}

void writeTextElement(QXmlStreamWriter& w, const QString& name, const QString& text) {
    const QString clean = xmlText(text);
    if (!clean.isEmpty()) w.writeTextElement(kNamespace, name, clean);
}

} // namespace

QByteArray writeOpenLyrics(const Song& song) {
    QByteArray bytes;
    QXmlStreamWriter w(&bytes);
    w.setAutoFormatting(true);
    w.setAutoFormattingIndent(2);
    w.writeStartDocument();
    w.writeDefaultNamespace(kNamespace);
    w.writeStartElement(kNamespace, QStringLiteral("song"));
    w.writeAttribute(QStringLiteral("version"), QStringLiteral("0.9"));
    w.writeAttribute(QStringLiteral("createdIn"), QStringLiteral("Lumora"));
    w.writeStartElement(kNamespace, QStringLiteral("properties"));
    w.writeStartElement(kNamespace, QStringLiteral("titles"));
    w.writeTextElement(kNamespace, QStringLiteral("title"), xmlText(song.title));
    w.writeEndElement();
    const QList<std::pair<const QStringList*, QString>> authors{
        {&song.wordsAuthors, QStringLiteral("words")},
        {&song.musicAuthors, QStringLiteral("music")},
        {&song.translators, QStringLiteral("translation")}};
    bool anyAuthor = false;
    for (const auto& [list, type] : authors)
        for (const QString& who : *list)
            anyAuthor = anyAuthor || !xmlText(who).isEmpty();
    if (anyAuthor) {
        w.writeStartElement(kNamespace, QStringLiteral("authors"));
        for (const auto& [list, type] : authors)
            for (const QString& who : *list) {
                if (xmlText(who).isEmpty()) continue;
                w.writeStartElement(kNamespace, QStringLiteral("author"));
                w.writeAttribute(QStringLiteral("type"), type);
                w.writeCharacters(xmlText(who));
                w.writeEndElement();
            }
        w.writeEndElement();
    }
    writeTextElement(w, QStringLiteral("copyright"), song.copyright);
    writeTextElement(w, QStringLiteral("key"), song.key);
    writeTextElement(w, QStringLiteral("variant"), song.tune);
    QList<Song::Songbook> books;
    for (const Song::Songbook& b : song.songbooks)
        if (!xmlText(b.name).isEmpty()) books << b;
    if (!books.isEmpty()) {
        w.writeStartElement(kNamespace, QStringLiteral("songbooks"));
        for (const Song::Songbook& b : std::as_const(books)) {
            w.writeEmptyElement(kNamespace, QStringLiteral("songbook"));
            w.writeAttribute(QStringLiteral("name"), xmlText(b.name));
            if (!xmlText(b.entry).isEmpty()) w.writeAttribute(QStringLiteral("entry"), xmlText(b.entry));
        }
        w.writeEndElement();
    }
    QStringList themes;
    for (const QString& t : song.themes)
        if (!xmlText(t).isEmpty()) themes << xmlText(t);
    if (!themes.isEmpty()) {
        w.writeStartElement(kNamespace, QStringLiteral("themes"));
        for (const QString& t : std::as_const(themes))
            w.writeTextElement(kNamespace, QStringLiteral("theme"), t);
        w.writeEndElement();
    }
    w.writeEndElement(); // properties
    w.writeStartElement(kNamespace, QStringLiteral("lyrics"));
    int n = 0;
    for (const QStringList& stanza : song.stanzas) {
        QStringList lines;
        for (const QString& line : stanza)
            if (!xmlText(line).isEmpty()) lines << xmlText(line);
        if (lines.isEmpty()) continue;
        w.writeStartElement(kNamespace, QStringLiteral("verse"));
        w.writeAttribute(QStringLiteral("name"), QStringLiteral("v%1").arg(++n));
        w.writeStartElement(kNamespace, QStringLiteral("lines"));
        for (qsizetype i = 0; i < lines.size(); ++i) {
            if (i > 0) w.writeEmptyElement(kNamespace, QStringLiteral("br"));
            w.writeCharacters(lines.at(i));
        }
        w.writeEndElement();
        w.writeEndElement();
    }
    w.writeEndElement(); // lyrics
    w.writeEndElement(); // song
    w.writeEndDocument();
    return bytes;
}

} // namespace lumora::import
