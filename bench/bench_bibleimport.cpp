// Reading real Bibles from Debian's bibledit-data: the 28 MB KJV as OSIS and the 85-file World
// English Bible as USFM, from the files to the bytes of the version's four files.
//
//   build/bench_bibleimport                    timings
//   build/bench_bibleimport --peak-memory osis  peak resident size of one whole KJV import
//   (the same for usfm), written to a temporary data folder

#include "import/bibleimport.h"
#include "import/versionwriter.h"

#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>

#include <sys/resource.h>

using namespace lumora::import;

namespace {

const QString kKjvOsis = QStringLiteral("/usr/share/bibledit/sources/kjv.xml");
const QString kWebUsfm = QStringLiteral("/usr/share/bibledit/demo");

// Open, guess, read and render: everything an import does but the writes.
void readAndRender(benchmark::State& state, const QString& path) {
    for (auto _ : state) {
        const BibleSource source = openBibleSource(path);
        const auto format = guessBibleFormat(source);
        if (!format) {
            state.SkipWithError("bibledit-data is not installed");
            return;
        }
        const BibleReadResult r = readBible(source, *format);
        if (!r.bible) {
            state.SkipWithError("the import failed");
            return;
        }
        const RenderedVersion files = renderVersion(*r.bible);
        benchmark::DoNotOptimize(files.oldTestament.size());
    }
}

void BM_KjvOsis(benchmark::State& state) {
    readAndRender(state, kKjvOsis);
}
BENCHMARK(BM_KjvOsis)->Unit(benchmark::kMillisecond)->MinTime(2.0);

void BM_WebUsfmFolder(benchmark::State& state) {
    readAndRender(state, kWebUsfm);
}
BENCHMARK(BM_WebUsfmFolder)->Unit(benchmark::kMillisecond)->MinTime(2.0);

// One whole import into a new data folder, then the peak resident size in MB.
int peakMemory(const char* which) {
    const QString path = std::strcmp(which, "usfm") == 0 ? kWebUsfm : kKjvOsis;
    QTemporaryDir data;
    const BibleSource source = openBibleSource(path);
    const auto format = guessBibleFormat(source);
    if (!format) return 1;
    const BibleReadResult r = readBible(source, *format);
    if (!r.bible || !writeVersion(data.path(), "BENCH", "Bench", *r.bible).isEmpty()) return 1;
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    std::printf("peak resident size of one %s import: %.1f MB\n", which, usage.ru_maxrss / 1024.0);
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    if (argc > 2 && std::strcmp(argv[1], "--peak-memory") == 0) return peakMemory(argv[2]);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
