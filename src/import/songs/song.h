#pragma once
// A song as the exchange formats describe it, before it becomes a hymn entry and a words file.
//
// Readers (one per format) take a file's bytes and give a Song, or the line and reason that make
// the file unusable. Chords, comments and translations are dropped by the readers; the stanzas
// are in the order they are sung (a verse order, a repeated chorus already applied).

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

namespace lumora::import {

enum class SongFormat { OpenLyrics, ChordPro, OpenSong, PlainText };

// "OpenLyrics", "ChordPro", "OpenSong", "plain text".
QString songFormatName(SongFormat format);

struct Song {
    QString title;
    QStringList wordsAuthors;
    QStringList musicAuthors;
    QStringList translators;
    QString key;
    QString tune;
    QString copyright;
    QStringList themes;
    struct Songbook {
        QString name;
        QString entry;
    };
    QList<Songbook> songbooks;
    QList<QStringList> stanzas;
};

struct SongRead {
    std::optional<Song> song;
    int line = 0; // where the fault lies, 1-based; 0 for the whole file
    QString error;
};

SongRead readOpenLyrics(const QByteArray& bytes);
SongRead readChordPro(const QByteArray& bytes);
SongRead readOpenSong(const QByteArray& bytes);
// Stanzas separated by blank lines; the first line is the title.
SongRead readPlainText(const QByteArray& bytes);
SongRead readSong(SongFormat format, const QByteArray& bytes);

// An OpenLyrics 0.9 document (UTF-8, no date, so the same song always gives the same bytes):
// title, authors (words, music, translation), copyright, key, tune as the variant, the songbooks,
// themes and the stanzas as verses v1, v2...
QByteArray writeOpenLyrics(const Song& song);

// The format of a file by its content, helped by its name: XML whose root is <song> is OpenLyrics
// (in its namespace, or with <properties>) or OpenSong; text with ChordPro directives, or a
// ChordPro extension (.cho, .chordpro, .chopro, .crd, .pro), is ChordPro; other text is plain
// text. nullopt for a file that is neither (binary, another XML).
std::optional<SongFormat> detectSongFormat(const QString& fileName, const QByteArray& bytes);

// Text of a song file: UTF-8 (with or without BOM), UTF-16 with a BOM, otherwise Windows-1252,
// which older programs wrote. nullopt when it holds NUL bytes (not a text file).
std::optional<QString> decodeSongText(const QByteArray& bytes);
// The text's lines, whatever its line ends (CR LF, CR or LF).
QStringList songLines(const QString& text);
// The lines of a song file's text; nullopt, with the reason in `error`, when it is no text file.
std::optional<QStringList> songTextLines(const QByteArray& bytes, QString* error);

} // namespace lumora::import
