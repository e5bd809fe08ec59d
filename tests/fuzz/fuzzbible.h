#pragma once
// Runs one Bible file reader over arbitrary bytes and checks what it makes of them: every verse
// line of the written version has its five fields (no tab, CR or LF inside a verse's text), and
// the chapter table has one line per chapter with the verse count the testament files hold.

#include "import/bibleimport.h"
#include "import/versionwriter.h"

#include <cstdio>
#include <cstdlib>

namespace lumora::fuzz {

inline void fuzzFail(const char* what, const QByteArray& line) {
    std::fprintf(stderr, "%s: %s\n", what, line.constData());
    std::abort();
}

inline void runBibleReader(import::BibleFormat format, const uint8_t* data, size_t size) {
    import::BibleSource source;
    source.path = QStringLiteral("fuzz");
    source.files.push_back({QStringLiteral("fuzz"),
                            QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size))});
    (void)import::guessBibleFormat(source);
    const import::BibleReadResult r = import::readBible(source, format);
    if (!r.bible) {
        if (!r.error || r.error->message.isEmpty()) fuzzFail("a failure without a message", {});
        return;
    }
    (void)import::summaryLines(r);
    const import::RenderedVersion files = import::renderVersion(*r.bible);
    qsizetype verseLines = 0;
    for (const QByteArray* testament : {&files.oldTestament, &files.newTestament}) {
        const QList<QByteArray> lines = testament->mid(3).split('\n');
        for (const QByteArray& line : lines) {
            if (line.isEmpty()) continue;
            if (!line.endsWith('\r') || line.count('\r') != 1) fuzzFail("a CR inside a verse line", line);
            if (line.count('\t') != 4) fuzzFail("a verse line without exactly five fields", line);
            ++verseLines;
        }
    }
    qsizetype counted = 0;
    for (const QByteArray& line : files.chapterTable.split('\n'))
        if (!line.isEmpty()) counted += line.split('\t').value(2).trimmed().toLongLong();
    if (counted != verseLines)
        fuzzFail("the chapter table does not count the verse lines", files.chapterTable);
    if (r.counts.verses != verseLines) fuzzFail("the summary does not count the verse lines", {});
}

} // namespace lumora::fuzz
