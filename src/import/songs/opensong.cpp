// OpenSong song files: <song> with <title>, <author>, <key>, <theme>, <lyrics>... The lyrics are
// text: "[V1]" starts a section, "." a chord line, ";" a comment, " " a line of words; a digit
// at the start of a line gives the line to that numbered verse of the section ("[V]" with "1..."
// and "2..." lines makes V1 and V2); "|" and "||" break slides, not lines of words.

#include "import/songs/song.h"

#include <QRegularExpression>
#include <QXmlStreamReader>

namespace lumora::import {

namespace {

struct Section {
    QString name; // upper case
    QStringList lines;
};

QList<Section> parseLyrics(const QString& lyrics) {
    QList<Section> sections;
    const auto sectionFor = [&sections](const QString& name) -> Section& {
        for (Section& s : sections)
            if (s.name == name) return s;
        sections.append({name, {}});
        return sections.last();
    };
    static const QRegularExpression slideBreak(QStringLiteral("\\|\\|?"));
    QString current = QStringLiteral("V");
    for (const QString& raw : songLines(lyrics)) {
        if (raw.isEmpty()) continue;
        const QChar c = raw.at(0);
        if (c == QLatin1Char('[')) {
            const qsizetype close = raw.indexOf(QLatin1Char(']'));
            current = (close < 0 ? raw.mid(1) : raw.mid(1, close - 1)).simplified().toUpper();
            continue;
        }
        if (c == QLatin1Char('.') || c == QLatin1Char(';')) continue;
        QString name = current;
        QString text = raw;
        if (c.isDigit()) {
            name += c;
            text = raw.mid(1);
        }
        for (const QString& part : text.split(slideBreak)) {
            const QString line = part.simplified();
            if (!line.isEmpty()) sectionFor(name).lines << line;
        }
    }
    return sections;
}

} // namespace

SongRead readOpenSong(const QByteArray& bytes) {
    SongRead out;
    QXmlStreamReader xml(bytes);
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
        out.error = QStringLiteral("not an OpenSong song (no <song> element)");
        return out;
    }
    Song song;
    QString lyrics, presentation;
    while (!xml.hasError() && xml.readNextStartElement()) {
        const QString name = xml.name().toString();
        const QString value = xml.readElementText(QXmlStreamReader::IncludeChildElements);
        if (name == QLatin1String("title")) {
            song.title = value.simplified();
        } else if (name == QLatin1String("author")) {
            if (!value.simplified().isEmpty()) song.wordsAuthors << value.simplified();
        } else if (name == QLatin1String("copyright")) {
            song.copyright = value.simplified();
        } else if (name == QLatin1String("key")) {
            song.key = value.simplified();
        } else if (name == QLatin1String("theme") || name == QLatin1String("alttheme")) {
            for (const QString& t : value.split(QLatin1Char(';')))
                if (!t.simplified().isEmpty() && !song.themes.contains(t.simplified()))
                    song.themes << t.simplified();
        } else if (name == QLatin1String("hymn_number")) {
            if (!value.simplified().isEmpty()) song.songbooks.append({QString(), value.simplified()});
        } else if (name == QLatin1String("presentation")) {
            presentation = value;
        } else if (name == QLatin1String("lyrics")) {
            lyrics = value;
        }
    }
    while (!xml.atEnd())
        xml.readNext();
    if (xml.hasError()) {
        out.line = static_cast<int>(xml.lineNumber());
        out.error = xml.errorString();
        return out;
    }
    if (song.title.isEmpty()) {
        out.error = QStringLiteral("the song has no title");
        return out;
    }
    const QList<Section> sections = parseLyrics(lyrics);
    static const QRegularExpression separators(QStringLiteral("[\\s,]+"));
    for (const QString& name : presentation.toUpper().split(separators, Qt::SkipEmptyParts))
        for (const Section& s : sections)
            if (s.name == name && !s.lines.isEmpty()) song.stanzas << s.lines;
    if (song.stanzas.isEmpty())
        for (const Section& s : sections)
            if (!s.lines.isEmpty()) song.stanzas << s.lines;
    out.song = std::move(song);
    return out;
}

} // namespace lumora::import
