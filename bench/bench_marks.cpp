// Writing marks into a full-size book file: one chapter (the mark table's Update) and one verse,
// each read, changed and replaced whole on disk. Goal: under 50 ms for a chapter in a 4 MB file.

#include "common/lines.h"
#include "marks/markstore.h"
#include "marks/marktable.h"
#include "support/testdata.h"

#include <benchmark/benchmark.h>

using namespace lumora::marks;
using namespace lumora::testing;

namespace {

// About 4 MB: 39 books of 24 chapters of 30 verses, 130-byte texts.
const QString& bookFile() {
    static TempFolder folder;
    static const QString path = folder.file("BIG-O.txt");
    static bool written = false;
    if (!written) {
        QByteArray data("\xEF\xBB\xBF");
        for (int b = 1; b <= 39; ++b)
            for (int c = 1; c <= 24; ++c)
                for (int v = 1; v <= 30; ++v)
                    data += (b < 10 ? "0" : "") + QByteArray::number(b) + "O\t" + QByteArray::number(c) +
                            '\t' + QByteArray::number(v) + "\t0,00000\t" +
                            QByteArray(130, 'a' + char(v % 26)) + "\r\n";
        writeBytes(path, data);
        written = true;
    }
    return path;
}

void BM_UpdateChapterMarks(benchmark::State& state) {
    const QString& path = bookFile();
    // A chapter near the end of the file, so the whole file is scanned.
    const ChapterId id{"39O", "22", "Ml", 30};
    int round = 0;
    for (auto _ : state) {
        const auto content = lumora::common::readWholeFile(path);
        MarkTable t = MarkTable::forChapter(
            id, oldMarks(chapterLines(*content, id.bookKey, id.chapter, id.verseCount)));
        for (int v = 1; v <= 30; ++v)
            t.row(v).newMark = QByteArray::number(round * 100 + v) + ",12345";
        ++round;
        if (updateChapterMarks(path, id.bookKey, id.chapter, id.verseCount, t).status != WriteStatus::Written)
            state.SkipWithError("write failed");
    }
    state.counters["file_MB"] = double(lumora::common::readWholeFile(path)->size()) / 1e6;
}
BENCHMARK(BM_UpdateChapterMarks)->Unit(benchmark::kMillisecond);

void BM_UpdateOneMark(benchmark::State& state) {
    const QString& path = bookFile();
    int round = 0;
    for (auto _ : state)
        if (UpdateOneMark(path, "39O", "22", "7", QByteArray::number(++round) + ",5").status !=
            WriteStatus::Written)
            state.SkipWithError("write failed");
}
BENCHMARK(BM_UpdateOneMark)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
