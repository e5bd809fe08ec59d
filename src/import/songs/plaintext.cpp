// Plain text pasted from a songbook: the title on the first line, stanzas separated by blank lines.

#include "import/songs/song.h"

#include <QRegularExpression>

namespace lumora::import {

SongRead readPlainText(const QByteArray& bytes) {
    SongRead out;
    const std::optional<QStringList> lines = songTextLines(bytes, &out.error);
    if (!lines) return out;
    Song song;
    QStringList stanza;
    for (const QString& raw : *lines) {
        const QString line = raw.simplified();
        if (song.title.isEmpty()) {
            song.title = line;
            continue;
        }
        if (line.isEmpty()) {
            if (!stanza.isEmpty()) song.stanzas << stanza;
            stanza.clear();
        } else {
            stanza << line;
        }
    }
    if (!stanza.isEmpty()) song.stanzas << stanza;
    if (song.title.isEmpty()) {
        out.error = QStringLiteral("the file is empty");
        return out;
    }
    out.song = std::move(song);
    return out;
}

} // namespace lumora::import
