// ChordPro: directives in braces, chords in brackets, '#' comments.

#include "import/songs/song.h"

#include <QRegularExpression>

namespace lumora::import {

namespace {

enum class Section { None, Chorus, Verse, Tab };

QString canonicalDirective(const QString& name) {
    static const QHash<QString, QString> aliases{
        {QStringLiteral("t"), QStringLiteral("title")},
        {QStringLiteral("st"), QStringLiteral("subtitle")},
        {QStringLiteral("soc"), QStringLiteral("start_of_chorus")},
        {QStringLiteral("eoc"), QStringLiteral("end_of_chorus")},
        {QStringLiteral("sov"), QStringLiteral("start_of_verse")},
        {QStringLiteral("eov"), QStringLiteral("end_of_verse")},
        {QStringLiteral("sob"), QStringLiteral("start_of_bridge")},
        {QStringLiteral("eob"), QStringLiteral("end_of_bridge")},
        {QStringLiteral("sot"), QStringLiteral("start_of_tab")},
        {QStringLiteral("eot"), QStringLiteral("end_of_tab")},
        {QStringLiteral("sog"), QStringLiteral("start_of_grid")},
        {QStringLiteral("eog"), QStringLiteral("end_of_grid")},
    };
    return aliases.value(name, name);
}

// "[G]Amazing [C]grace" -> "Amazing grace"; a '[' never closed on the line is text.
QString withoutChords(const QString& line) {
    QString out;
    qsizetype i = 0;
    while (i < line.size()) {
        if (line.at(i) == QLatin1Char('[')) {
            const qsizetype close = line.indexOf(QLatin1Char(']'), i + 1);
            if (close > 0) {
                i = close + 1;
                continue;
            }
        }
        out += line.at(i++);
    }
    return out.simplified();
}

} // namespace

SongRead readChordPro(const QByteArray& bytes) {
    SongRead out;
    const std::optional<QStringList> read = songTextLines(bytes, &out.error);
    if (!read) return out;
    const QStringList& lines = *read;
    Song song;
    QString subtitle, artist;
    QStringList lyricists;
    Section section = Section::None;
    QStringList stanza;
    QList<QStringList> chorus, lastChorus;
    const auto flush = [&] {
        if (stanza.isEmpty()) return;
        if (section == Section::Chorus) chorus << stanza;
        song.stanzas << stanza;
        stanza.clear();
    };
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QString trimmed = lines.at(i).trimmed();
        if (trimmed.startsWith(QLatin1Char('#'))) continue;
        if (trimmed.startsWith(QLatin1Char('{'))) {
            const qsizetype close = trimmed.indexOf(QLatin1Char('}'));
            if (close < 0) {
                out.line = static_cast<int>(i + 1);
                out.error = QStringLiteral("directive without its closing }");
                return out;
            }
            const QString inner = trimmed.mid(1, close - 1).trimmed();
            static const QRegularExpression separator(QStringLiteral("[:\\s]"));
            const qsizetype cut = inner.indexOf(separator);
            QString name = (cut < 0 ? inner : inner.left(cut)).toLower();
            QString value = cut < 0 ? QString() : inner.mid(cut + 1).trimmed();
            if (name == QLatin1String("meta")) {
                name = value.section(QLatin1Char(' '), 0, 0).toLower();
                value = value.section(QLatin1Char(' '), 1).trimmed();
            }
            name = canonicalDirective(name);
            value = value.simplified();
            if (name == QLatin1String("title")) {
                if (song.title.isEmpty()) song.title = value;
            } else if (name == QLatin1String("subtitle")) {
                if (subtitle.isEmpty()) subtitle = value;
            } else if (name == QLatin1String("artist")) {
                if (artist.isEmpty()) artist = value;
            } else if (name == QLatin1String("lyricist")) {
                if (!value.isEmpty()) lyricists << value;
            } else if (name == QLatin1String("composer")) {
                if (!value.isEmpty()) song.musicAuthors << value;
            } else if (name == QLatin1String("key")) {
                if (song.key.isEmpty()) song.key = value;
            } else if (name == QLatin1String("copyright")) {
                if (song.copyright.isEmpty()) song.copyright = value;
            } else if (name == QLatin1String("start_of_chorus")) {
                flush();
                section = Section::Chorus;
                chorus.clear();
            } else if (name == QLatin1String("start_of_verse") || name == QLatin1String("start_of_bridge")) {
                flush();
                section = Section::Verse;
            } else if (name == QLatin1String("start_of_tab") || name == QLatin1String("start_of_grid")) {
                flush();
                section = Section::Tab;
            } else if (name.startsWith(QLatin1String("end_of_"))) {
                flush();
                if (section == Section::Chorus) lastChorus = chorus;
                section = Section::None;
            } else if (name == QLatin1String("chorus")) {
                flush();
                song.stanzas += lastChorus;
            }
            continue;
        }
        if (section == Section::Tab) continue;
        if (trimmed.isEmpty()) {
            flush();
            continue;
        }
        const QString words = withoutChords(lines.at(i));
        if (!words.isEmpty()) stanza << words; // a line of chords alone is no line of words
    }
    flush();
    if (section == Section::Chorus) lastChorus = chorus;
    if (song.title.isEmpty()) {
        out.error = QStringLiteral("the song has no title (no {title} directive)");
        return out;
    }
    // The words' author: the lyricist, else the artist, else the subtitle (where older files put
    // the author).
    if (!lyricists.isEmpty())
        song.wordsAuthors = lyricists;
    else if (!artist.isEmpty())
        song.wordsAuthors << artist;
    else if (!subtitle.isEmpty())
        song.wordsAuthors << subtitle;
    out.song = std::move(song);
    return out;
}

} // namespace lumora::import
