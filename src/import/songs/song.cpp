#include "import/songs/song.h"

#include "common/text.h"

#include <QFileInfo>
#include <QRegularExpression>
#include <QStringDecoder>
#include <QXmlStreamReader>

namespace lumora::import {

namespace {

const QString kOpenLyricsNamespace = QStringLiteral("http://openlyrics.info/namespace/2009/song");

bool hasChordProExtension(const QString& fileName) {
    static const QStringList exts{QStringLiteral("cho"), QStringLiteral("chordpro"), QStringLiteral("chopro"),
                                  QStringLiteral("crd"), QStringLiteral("pro")};
    return exts.contains(QFileInfo(fileName).suffix().toLower());
}

std::optional<SongFormat> xmlSongFormat(const QByteArray& bytes) {
    QXmlStreamReader xml(bytes);
    if (!xml.readNextStartElement() || xml.name() != QLatin1String("song")) return std::nullopt;
    if (xml.namespaceUri() == kOpenLyricsNamespace) return SongFormat::OpenLyrics;
    if (xml.readNextStartElement() && xml.name() == QLatin1String("properties"))
        return SongFormat::OpenLyrics;
    return SongFormat::OpenSong;
}

} // namespace

QString songFormatName(SongFormat format) {
    switch (format) {
    case SongFormat::OpenLyrics:
        return QStringLiteral("OpenLyrics");
    case SongFormat::ChordPro:
        return QStringLiteral("ChordPro");
    case SongFormat::OpenSong:
        return QStringLiteral("OpenSong");
    case SongFormat::PlainText:
        return QStringLiteral("plain text");
    }
    return {};
}

std::optional<QString> decodeSongText(const QByteArray& bytes) {
    if (bytes.startsWith("\xFF\xFE") || bytes.startsWith("\xFE\xFF")) {
        QStringDecoder decoder(bytes.startsWith("\xFF\xFE") ? QStringDecoder::Utf16LE
                                                            : QStringDecoder::Utf16BE);
        QString text = decoder.decode(bytes.mid(2));
        if (text.contains(QChar(0))) return std::nullopt;
        return text;
    }
    if (bytes.contains('\0')) return std::nullopt;
    const QByteArray body = common::startsWithBom(bytes) ? bytes.mid(3) : bytes;
    if (common::isValidUtf8(body)) return QString::fromUtf8(body);
    QStringDecoder cp1252("windows-1252");
    if (cp1252.isValid()) return cp1252.decode(body);
    return QString::fromLatin1(body);
}

QStringList songLines(const QString& text) {
    static const QRegularExpression breaks(QStringLiteral("\r\n|\r|\n"));
    return text.split(breaks);
}

std::optional<QStringList> songTextLines(const QByteArray& bytes, QString* error) {
    const std::optional<QString> text = decodeSongText(bytes);
    if (!text) {
        if (error) *error = QStringLiteral("not a text file (it holds NUL bytes)");
        return std::nullopt;
    }
    return songLines(*text);
}

std::optional<SongFormat> detectSongFormat(const QString& fileName, const QByteArray& bytes) {
    const std::optional<QString> text = decodeSongText(bytes);
    if (!text) return std::nullopt;
    const QString start = text->left(512).trimmed();
    if (start.startsWith(QLatin1Char('<'))) return xmlSongFormat(bytes);
    if (hasChordProExtension(fileName)) return SongFormat::ChordPro;
    static const QRegularExpression directive(
        QStringLiteral(R"(^[ \t]*\{[ \t]*(title|t|subtitle|st|artist|start_of_chorus|soc|start_of_verse|sov|)"
                       R"(chorus|lyricist|composer)[ \t]*[:}\s])"),
        QRegularExpression::MultilineOption | QRegularExpression::CaseInsensitiveOption);
    if (directive.match(*text).hasMatch()) return SongFormat::ChordPro;
    return SongFormat::PlainText;
}

SongRead readSong(SongFormat format, const QByteArray& bytes) {
    switch (format) {
    case SongFormat::OpenLyrics:
        return readOpenLyrics(bytes);
    case SongFormat::ChordPro:
        return readChordPro(bytes);
    case SongFormat::OpenSong:
        return readOpenSong(bytes);
    case SongFormat::PlainText:
        return readPlainText(bytes);
    }
    return {};
}

} // namespace lumora::import
