// Plain text pasted from a songbook: the title on the first line, stanzas separated by blank lines.

#include "import/songs/song.h"

#include <QRegularExpression>

namespace lumora::import {

SongRead readPlainText(const QByteArray& bytes) {
    SongRead out;
    const std::optional<QString> text = decodeSongText(bytes);
    if (!text) {
        out.error = QStringLiteral("not a text file (it holds NUL bytes)");
        return out;
    }
    static const QRegularExpression breaks(QStringLiteral("\r\n|\r|\n"));
    Song song;
    QStringList stanza;
    for (const QString& raw : text->split(breaks)) {
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
