#pragma once
// The readers behind readBible, one per format, each over one file. Internal to the importer.

#include "import/bibleimport.h"

#include <QByteArray>

namespace lumora::import {

struct ReaderContext final {
    BibleBuilder& builder;
    const ReadOptions& options;
    qint64 doneBefore = 0; // bytes of the files read before this one
    qint64 total = 0;
    QByteArray title;
    bool cancelled = false;

    // Reports progress within the current file; false once the user cancelled.
    bool keepGoing(qint64 doneInFile);
};

// Each returns the problem that stopped it, or nullopt (also when cancelled: see ctx.cancelled).
std::optional<ReadProblem> readOsisFile(const SourceFile& file, ReaderContext& ctx);
std::optional<ReadProblem> readZefaniaFile(const SourceFile& file, ReaderContext& ctx);
std::optional<ReadProblem> readUsxFile(const SourceFile& file, ReaderContext& ctx);
std::optional<ReadProblem> readOpenSongFile(const SourceFile& file, ReaderContext& ctx);
std::optional<ReadProblem> readUsfmFile(const SourceFile& file, ReaderContext& ctx);
// `bookNames`: the book_names.txt of the same zip or folder, when there is one.
std::optional<ReadProblem> readUnboundFile(const SourceFile& file, const QByteArray& bookNames,
                                           ReaderContext& ctx);

} // namespace lumora::import
