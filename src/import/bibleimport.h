#pragma once
// Reads a Bible from the files people find (OSIS, Zefania XML, USFM, USX, OpenSong, the Unbound
// Bible), from a single file, a zip holding them or a folder of them, into an ImportedBible for
// the version writer.
//
//   const BibleSource src = openBibleSource("web-usfm.zip", {});
//   const auto format = guessBibleFormat(src);            // BibleFormat::Usfm
//   const BibleReadResult r = readBible(src, *format, {}); // r.bible: the books; r.counts
//
// Every size is capped (a file, a zip entry once inflated, all files together, the expansion of
// XML entities), so a zip bomb or a "billion laughs" file is refused instead of filling memory.

#include "import/biblebuilder.h"
#include "import/biblemodel.h"

#include <QByteArray>
#include <QString>

#include <functional>
#include <optional>
#include <vector>

namespace lumora::import {

enum class BibleFormat { Osis, Zefania, Usfm, Usx, OpenSong, Unbound };

// The word on the command line: "osis", "zefania", "usfm", "usx", "opensong", "unbound".
QString formatKeyword(BibleFormat format);
std::optional<BibleFormat> formatFromKeyword(const QString& word);
// As shown to people: "OSIS", "Zefania XML", "USFM", "USX", "OpenSong", "Unbound Bible".
QString formatTitle(BibleFormat format);

struct ReadLimits final {
    qint64 maxFileBytes = qint64(256) << 20; // one file or zip entry, inflated
    qint64 maxTotalBytes = qint64(1) << 30;  // all files read for one import
    int maxFiles = 500;                      // files in a folder or zip that are read
    qint64 maxEntityExpansion = 64 * 1024;   // characters one XML entity may expand to
};

struct SourceFile final {
    QString name; // as shown in messages: the path, or "bible.zip/GEN.usfm"
    QByteArray bytes;
};

// The files of a path: the file itself, the entries of a zip, or the files of a folder (not
// its sub-folders), in name order. Files that cannot hold a Bible (pictures, stylesheets) are
// left out of zips and folders.
struct BibleSource final {
    QString path;
    std::vector<SourceFile> files;
    std::optional<ReadProblem> error; // the path could not be read, or a cap was passed
};
BibleSource openBibleSource(const QString& path, const ReadLimits& limits = {});

// The format from the files' content, never their names; nullopt when no reader knows it.
std::optional<BibleFormat> guessBibleFormat(const BibleSource& source);
std::optional<BibleFormat> guessBibleFormat(const QByteArray& content);

struct ReadOptions final {
    ReadLimits limits;
    // Called now and then with the bytes read so far and the total; returning false cancels.
    std::function<bool(qint64 done, qint64 total)> progress;
};

struct BibleReadResult final {
    std::optional<ImportedBible> bible; // empty on failure or cancel
    std::optional<ReadProblem> error;   // set on failure
    bool cancelled = false;
    BibleFormat format = BibleFormat::Osis;
    QByteArray title;    // the version's name as the file gives it, UTF-8; may be empty
    QByteArray language; // as the file states it ("en"); may be empty
    ReadCounts counts;
};

BibleReadResult readBible(const BibleSource& source, BibleFormat format, const ReadOptions& options = {});

// Summary lines for people: "books: 66", "chapters: 1189", ..., "markers skipped: \f 2162, ...".
QStringList summaryLines(const BibleReadResult& result);

} // namespace lumora::import
