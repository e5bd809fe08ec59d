#pragma once
// What every song reader must hold to, whatever the bytes: it ends, and a song it gives has a
// title, becomes an entry whose fields and label cannot break "Hira.txt" or a file name, and is
// written back as OpenLyrics that is well-formed XML.

#include "hymns/hymnbookwriter.h"
#include "import/songs/song.h"
#include "import/songs/songimport.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace lumora::fuzz {

inline void require(bool ok, const char* what) {
    if (ok) return;
    std::fprintf(stderr, "broken: %s\n", what);
    std::abort();
}

inline bool holdsBreak(const QString& s) {
    return s.contains(QLatin1Char('\t')) || s.contains(QLatin1Char('\r')) || s.contains(QLatin1Char('\n'));
}

inline int checkSongRead(import::SongFormat format, const uint8_t* data, size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    (void)import::detectSongFormat(QStringLiteral("song"), bytes);
    const import::SongRead read = import::readSong(format, bytes);
    if (!read.song) {
        require(!read.error.isEmpty(), "a refused song says why");
        return 0;
    }
    require(!read.song->title.isEmpty(), "a song has a title");
    const hymns::NewHymn hymn = import::hymnFromSong(*read.song, QStringLiteral("Book"), {});
    for (const QString& field : {hymn.composer, hymn.author, hymn.tonality, hymn.theme, hymn.tune})
        require(!holdsBreak(hymns::cleanHymnField(field)), "a cleaned field holds no tab or line break");
    const QString title = hymns::fileSafeTitle(hymns::cleanHymnField(hymn.title));
    for (const QChar c : QStringLiteral("<>:\"/\\|?*\t\r\n"))
        require(!title.contains(c), "a title fit for a file name");
    require(!hymns::fileSafeNumber(hymn.number).contains(QLatin1String(" -")), "a number without \" -\"");
    const import::SongRead back = import::readOpenLyrics(import::writeOpenLyrics(*read.song));
    require(back.song.has_value() || back.line == 0, "written OpenLyrics is well-formed XML");
    if (back.song) require(back.song->stanzas.size() <= read.song->stanzas.size(), "no stanza is made up");
    return 0;
}

} // namespace lumora::fuzz
