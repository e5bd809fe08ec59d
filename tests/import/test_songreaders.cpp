// The four song readers, as tables: each row a small file and what the song must hold.

#include "import/songs/song.h"

#include <gtest/gtest.h>

using namespace lumora::import;

namespace {

// Stanzas as "line/line|line/line".
QString flat(const QList<QStringList>& stanzas) {
    QStringList out;
    for (const QStringList& s : stanzas)
        out << s.join(QLatin1Char('/'));
    return out.join(QLatin1Char('|'));
}

struct ReadCase {
    const char* what;
    SongFormat format;
    const char* file;
    const char* title;
    const char* words; // words authors (and translators), ", "
    const char* music; // music authors, ", "
    const char* key;
    const char* themes; // ", "
    const char* stanzas;
};

const char* const kOl = R"(<?xml version="1.0" encoding="UTF-8"?>
<song xmlns="http://openlyrics.info/namespace/2009/song" version="0.9")";

const ReadCase kCases[] = {
    // OpenLyrics
    {"openlyrics: several authors, chords, verse order repeating the chorus", SongFormat::OpenLyrics,
     R"(<?xml version="1.0" encoding="UTF-8"?>
<song xmlns="http://openlyrics.info/namespace/2009/song" version="0.9">
  <properties>
    <titles><title>Amazing Grace</title></titles>
    <authors><author type="words">John Newton</author><author type="music">Trad.</author>
      <author>Edwin Excell</author><author type="translation" lang="fr">Jean Dupont</author></authors>
    <key>G</key><variant>NEW BRITAIN</variant><copyright>Public Domain</copyright>
    <songbooks><songbook name="Hymns" entry="12"/></songbooks>
    <themes><theme>Grace</theme><theme>Salvation</theme></themes>
    <verseOrder>v1 c v2 c</verseOrder>
  </properties>
  <lyrics>
    <verse name="v1"><lines><chord root="G"/>Amazing <chord root="C">grace</chord> how sweet<br/>
        That saved a wretch</lines></verse>
    <verse name="c"><lines>Chorus line<br/><comment>softly</comment>Second chorus line<br/></lines></verse>
    <verse name="v2"><lines part="men">Men sing</lines><lines part="women">Women sing</lines></verse>
  </lyrics>
</song>)",
     "Amazing Grace", "John Newton, Edwin Excell, Jean Dupont", "Trad.", "G", "Grace, Salvation",
     "Amazing grace how sweet/That saved a wretch|Chorus line/Second chorus line|Men sing/Women sing|"
     "Chorus line/Second chorus line"},
    {"openlyrics 0.8: chord names, no key, no verse order: file order", SongFormat::OpenLyrics,
     R"(<song xmlns="http://openlyrics.info/namespace/2009/song" version="0.8"><properties>
     <titles><title>Été</title></titles></properties><lyrics>
     <verse name="v1"><lines><chord name="D"/>Soleil d'été</lines></verse>
     <verse name="v2"><lines>Deuxième</lines></verse></lyrics></song>)",
     "Été", "", "", "", "", "Soleil d'été|Deuxième"},
    {"openlyrics: the song's own language first, translations dropped", SongFormat::OpenLyrics,
     R"(<song xmlns="http://openlyrics.info/namespace/2009/song" version="0.9" xml:lang="he"><properties>
     <titles><title lang="en">Let Us Rejoice</title><title lang="he">הבה נגילה</title>
     <title lang="he" translit="en">Hava Nagila</title></titles>
     <themes><theme lang="en">Joy</theme><theme lang="he">שמחה</theme></themes></properties><lyrics>
     <verse name="v1" lang="en"><lines>Let's rejoice</lines></verse>
     <verse name="v1" lang="he" translit="en"><lines>Hava nagila</lines></verse>
     <verse name="v1" lang="he"><lines>הבה נגילה</lines></verse></lyrics></song>)",
     "הבה נגילה", "", "", "", "שמחה", "הבה נגילה"},
    {"openlyrics: without xml:lang the first verse's language leads", SongFormat::OpenLyrics,
     R"(<song xmlns="http://openlyrics.info/namespace/2009/song" version="0.9"><properties>
     <titles><title lang="de">Staunenswerte Gnade</title><title lang="en">Amazing Grace</title></titles>
     </properties><lyrics><verse name="v1" lang="en"><lines>Amazing</lines></verse>
     <verse name="v1" lang="de"><lines>Staunenswert</lines></verse></lyrics></song>)",
     "Amazing Grace", "", "", "", "", "Amazing"},
    // ChordPro
    {"chordpro: directives, inline chords, comments, repeated chorus", SongFormat::ChordPro,
     "{title: Amazing Grace}\r\n{subtitle: Old hymn}\r\n{lyricist: John Newton}\r\n{lyricist: Another}\r\n"
     "{composer: Trad.}\r\n{key: G}\r\n# a comment line\r\n{c: Slowly}\r\n"
     "[G]Amazing [C]grace how [G]sweet\r\nThat saved a wretch\r\n\r\n"
     "{start_of_chorus}\r\n[D]Praise the Lord\r\n{end_of_chorus}\r\n\r\n"
     "Verse two line\r\n[G] [C] [D]\r\n\r\n{chorus}\r\n",
     "Amazing Grace", "John Newton, Another", "Trad.", "G", "",
     "Amazing grace how sweet/That saved a wretch|Praise the Lord|Verse two line|Praise the Lord"},
    {"chordpro: short names, artist as author, tab dropped, no key", SongFormat::ChordPro,
     "{t:Ça ira}\n{artist: Band}\n{soc}\nRefrain[Em]\n{eoc}\n{sot}\ne|---3---|\n{eot}\nLa suite\n{chorus}",
     "Ça ira", "Band", "", "", "", "Refrain|La suite|Refrain"},
    // OpenSong
    {"opensong: sections, chord lines, comments, presentation order", SongFormat::OpenSong,
     R"(<?xml version="1.0" encoding="UTF-8"?>
<song><title>Amazing Grace</title><author>John Newton</author><copyright>PD</copyright>
<hymn_number>48</hymn_number><key>G</key><theme>Grace; Praise</theme><presentation>V1 C V2 C</presentation>
<lyrics>[V1]
.G        C
 Amazing grace how sweet
 That saved|| a wretch
;a comment
[C]
 Praise him
[V2]
 Second verse</lyrics></song>)",
     "Amazing Grace", "John Newton", "", "G", "Grace, Praise",
     "Amazing grace how sweet/That saved/a wretch|Praise him|Second verse|Praise him"},
    {"opensong: numbered lines make verses", SongFormat::OpenSong,
     "<song><title>שלום</title><lyrics>[V]\n.D\n1 First one\n2 Second one\n1 First two\n</lyrics></song>",
     "שלום", "", "", "", "", "First one/First two|Second one"},
    // Plain text
    {"plain text: title line, blank-line stanzas, CR LF and blanks", SongFormat::PlainText,
     "\r\n  Grâce infinie \r\n\r\nLigne un\r\n  Ligne deux\r\n\r\n\r\nLigne trois\r\n", "Grâce infinie", "",
     "", "", "", "Ligne un/Ligne deux|Ligne trois"},
    {"plain text: Windows-1252 bytes", SongFormat::PlainText, "Cantique \xE9t\xE9\nL\xE0 haut",
     "Cantique été", "", "", "", "", "Là haut"},
};

} // namespace

TEST(SongReaders, readsEachFormatAsItsWritersMeantIt) {
    for (const ReadCase& c : kCases) {
        SCOPED_TRACE(c.what);
        const SongRead read = readSong(c.format, QByteArray(c.file));
        ASSERT_TRUE(read.song.has_value()) << read.line << ": " << read.error.toStdString();
        const Song& s = *read.song;
        EXPECT_EQ(s.title, QString::fromUtf8(c.title));
        EXPECT_EQ((s.wordsAuthors + s.translators).join(QStringLiteral(", ")), QString::fromUtf8(c.words));
        EXPECT_EQ(s.musicAuthors.join(QStringLiteral(", ")), QString::fromUtf8(c.music));
        EXPECT_EQ(s.key, QString::fromUtf8(c.key));
        EXPECT_EQ(s.themes.join(QStringLiteral(", ")), QString::fromUtf8(c.themes));
        EXPECT_EQ(flat(s.stanzas), QString::fromUtf8(c.stanzas));
    }
}

TEST(SongReaders, malformedFilesSayWhereAndWhy) {
    struct Bad {
        SongFormat format;
        QByteArray file;
        int line;
        const char* reason; // part of the message
    };
    const Bad cases[] = {
        {SongFormat::OpenLyrics,
         QByteArray(kOl) + ">\n<properties><titles><title>A</title></titles>\n<lyrics>", 4, ""},
        {SongFormat::OpenLyrics, QByteArray(kOl) + "><properties/><lyrics/></song>", 0, "no title"},
        {SongFormat::OpenLyrics, "<hymn/>", 1, "not an OpenLyrics song"},
        {SongFormat::OpenLyrics,
         "<?xml version=\"1.0\"?>\n<!DOCTYPE song [<!ENTITY a \"aaaa\">]>\n<song><properties/></song>", 2,
         "document type"},
        {SongFormat::ChordPro, "{title: A}\nline\n{start_of_chorus\nx", 3, "closing }"},
        {SongFormat::ChordPro, "[G]Just words\n", 0, "no title"},
        {SongFormat::ChordPro, QByteArray("{title: A}\n\0x", 13), 0, "NUL"},
        {SongFormat::OpenSong, "<song><title>A</title><lyrics>x</lyrics>", 1, ""},
        {SongFormat::PlainText, "\r\n \r\n", 0, "empty"},
    };
    for (const Bad& b : cases) {
        SCOPED_TRACE(b.file.toStdString());
        const SongRead read = readSong(b.format, b.file);
        EXPECT_FALSE(read.song.has_value());
        EXPECT_EQ(read.line, b.line);
        EXPECT_FALSE(read.error.isEmpty());
        EXPECT_TRUE(read.error.contains(QLatin1String(b.reason))) << read.error.toStdString();
    }
}

TEST(SongReaders, detectsTheFormatByContentThenName) {
    struct Detect {
        const char* name;
        QByteArray bytes;
        std::optional<SongFormat> format;
    };
    const Detect cases[] = {
        {"a.xml", QByteArray(kOl) + "/>", SongFormat::OpenLyrics},
        {"a", "<song><properties/></song>", SongFormat::OpenLyrics}, // no namespace, but properties
        {"Amazing Grace", "<?xml version=\"1.0\"?><song><title>A</title></song>", SongFormat::OpenSong},
        {"a.xml", "<osis/>", std::nullopt},
        {"a.cho", "Just words", SongFormat::ChordPro},
        {"a.txt", "Title\n{title: A}\n", SongFormat::ChordPro},
        {"a.txt", "Title\n\nWords {not a directive}\n", SongFormat::PlainText},
        {"a.txt", "\xEF\xBB\xBFTitle\n", SongFormat::PlainText},
        {"a.jpg", QByteArray("\xFF\xD8\xFF\0\0", 5), std::nullopt},
    };
    for (const Detect& d : cases) {
        SCOPED_TRACE(d.name);
        EXPECT_EQ(detectSongFormat(QString::fromUtf8(d.name), d.bytes), d.format);
    }
}

// Markup characters and other scripts survive the writer (its other fields come back whole in
// SongImportCli's export and import); the same song gives the same bytes.
TEST(SongReaders, writtenOpenLyricsReadsBackTheSameSong) {
    Song song;
    song.title = QStringLiteral("Fish & <Chips> \"quoted\"");
    song.copyright = QStringLiteral("© 2001");
    song.themes = {QStringLiteral("Grâce"), QStringLiteral("سلام")};
    song.stanzas = {{QStringLiteral("One & two"), QStringLiteral("<three>")}, {QStringLiteral("Four")}};
    const QByteArray xml = writeOpenLyrics(song);
    EXPECT_EQ(writeOpenLyrics(song), xml) << "the same song gives the same bytes";
    const SongRead back = readOpenLyrics(xml);
    ASSERT_TRUE(back.song) << back.error.toStdString();
    EXPECT_EQ(back.song->title, song.title);
    EXPECT_EQ(back.song->copyright, song.copyright);
    EXPECT_EQ(back.song->themes, song.themes);
    EXPECT_EQ(back.song->stanzas, song.stanzas);
}
