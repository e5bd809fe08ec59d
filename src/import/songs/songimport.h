#pragma once
// Songs into a hymn book, and a hymn book out as OpenLyrics files.
//
//   collectSongInputs({"a.xml", "folder", "songs.zip"}) -> the files to read, folders walked
//   SongImport::open(cantiques, "Fihirana", options) -> add(input) for each -> finish()
//
// Each song becomes an entry "number - title" with its words in parole/<label>.txt (see
// hymns::HymnBookWriter). A file that cannot be read is reported (file, line, reason) and the
// others go on; "Hira.txt" is written once, at finish().

#include "hymns/hymnbookwriter.h"
#include "import/songs/song.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <optional>
#include <vector>

namespace lumora::import {

// The largest song file read; songs are a few kilobytes.
inline constexpr qsizetype kMaxSongBytes = qsizetype(4) << 20;

struct SongInput {
    QString name;     // as reports show it: the path, or "archive.zip/member.xml"
    QString path;     // the file, or the zip archive that holds it
    QString zipEntry; // the member of the archive; empty for a file
};

struct ImportProblem {
    QString file;
    int line = 0; // 0: the whole file
    QString reason;
    // "songs/a.xml:12: reason", or "songs/a.xml: reason" without a line.
    QString toText() const;
};

// The song files behind the paths: a file as it is (whatever its name), a folder's files
// (sub-folders too, in name order; hidden files and names other than .xml, .txt, the ChordPro
// ones or none are skipped), a zip archive's members (the same names). Paths that do not exist,
// and archives that cannot be opened, are reported.
std::vector<SongInput> collectSongInputs(const QStringList& paths, std::vector<ImportProblem>* problems);

// The bytes of an input (at most kMaxSongBytes); nullopt with the reason otherwise.
std::optional<QByteArray> readSongInput(const SongInput& input, QString* whyNot = nullptr);

struct SongImportOptions {
    QString theme;    // when given, every song goes under it
    QString subTheme; // when given, every song goes under it
};

// The entry a song becomes in `book`: the number is its songbook entry (that of a songbook named
// like the book first, else the first one given); authors of the words (and translators) go to
// field 3, of the music to field 2; key to 4, copyright to 5, tune to 8. Theme and sub-theme are
// the ones given, else the song's first and second themes.
hymns::NewHymn hymnFromSong(const Song& song, const QString& book, const SongImportOptions& options);

struct ImportedSong {
    QString file;
    SongFormat format;
    hymns::AddedHymn hymn;
};

class SongImport final {
  public:
    static std::optional<SongImport> open(const QString& cantiques, const QString& book,
                                          const SongImportOptions& options, QString* whyNot = nullptr);

    // Reads one input and adds its song; false when it was reported instead.
    bool add(const SongInput& input);
    // Writes "Hira.txt"; false (everything of this import removed again) when it cannot.
    bool finish(QString* whyNot = nullptr);
    // Leaves the book as it was.
    void abandon();

    QString book() const { return m_writer.book(); }
    const std::vector<ImportProblem>& problems() const { return m_problems; }
    const std::vector<ImportedSong>& imported() const { return m_imported; }

  private:
    SongImport(hymns::HymnBookWriter writer, SongImportOptions options)
        : m_writer(std::move(writer)), m_options(std::move(options)) {}
    hymns::HymnBookWriter m_writer;
    SongImportOptions m_options;
    std::vector<ImportProblem> m_problems;
    std::vector<ImportedSong> m_imported;
};

// The song a hymn entry describes, for export: its title (the label after "number - "), the
// book and number as its songbook entry, authors, key, copyright (field 5), tune, themes and the
// words of its words file (stanzas split at empty lines). nullopt when the entry does not split.
std::optional<Song> songFromEntry(const QString& cantiques, const QString& entry);

struct ExportResult {
    QStringList written;                 // the files made
    std::vector<ImportProblem> problems; // hymns not written, and why
};

// Writes one OpenLyrics file per hymn of the book into `folder` (made when missing), named after
// the hymn's label ("12 - Amazing Grace.xml"). An existing file is never replaced: the name gets
// " (2)", " (3)"... `progress`, when given, hears (done, total) after each hymn.
ExportResult exportHymnBook(const QString& cantiques, const QString& book, const QString& folder,
                            const std::function<void(int, int)>& progress = {});

} // namespace lumora::import
