// 1,000 OpenLyrics songs imported into a new hymn book: the files read from a folder, each song
// read, its words file written and "Hira.txt" written once. Goal: under 2 s.

#include "import/songs/songimport.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

using namespace lumora;

namespace {

QByteArray song(int n) {
    QByteArray verses;
    for (int v = 1; v <= 4; ++v)
        verses += "<verse name=\"v" + QByteArray::number(v) +
                  "\"><lines><chord root=\"G\"/>Line one of verse " + QByteArray::number(v) +
                  "<br/>Line two, <chord root=\"D\">with</chord> a chord<br/>Line three<br/>Line "
                  "four</lines></verse>";
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
           "<song xmlns=\"http://openlyrics.info/namespace/2009/song\" version=\"0.9\"><properties>"
           "<titles><title>Song number " +
           QByteArray::number(n) +
           "</title></titles>"
           "<authors><author type=\"words\">A. Writer</author><author type=\"music\">C. "
           "Composer</author></authors>"
           "<key>G</key><songbooks><songbook name=\"Book\" entry=\"" +
           QByteArray::number(n) +
           "\"/></songbooks>"
           "<themes><theme>Praise</theme><theme>Morning</theme></themes><verseOrder>v1 v2 v3 v4</verseOrder>"
           "</properties><lyrics>" +
           verses + "</lyrics></song>\n";
}

void BM_ImportOpenLyricsIntoNewBook(benchmark::State& state) {
    const int count = static_cast<int>(state.range(0));
    QTemporaryDir songs;
    for (int n = 1; n <= count; ++n) {
        QFile f(songs.filePath(QStringLiteral("song%1.xml").arg(n)));
        if (!f.open(QIODevice::WriteOnly)) state.SkipWithError("cannot write the songs");
        f.write(song(n));
    }
    for (auto _ : state) {
        state.PauseTiming();
        QTemporaryDir data;
        const QString cantiques = data.filePath(QStringLiteral("Cantiques"));
        QDir().mkpath(cantiques);
        state.ResumeTiming();
        std::vector<import::ImportProblem> problems;
        auto run = import::SongImport::open(cantiques, QStringLiteral("Book"), {});
        for (const import::SongInput& input : import::collectSongInputs({songs.path()}, &problems))
            run->add(input);
        if (!run->finish() || run->imported().size() != static_cast<size_t>(count))
            state.SkipWithError("the import failed");
        state.PauseTiming();
        data.remove();
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * count);
}

} // namespace

BENCHMARK(BM_ImportOpenLyricsIntoNewBook)->Arg(1000)->Unit(benchmark::kMillisecond)->Iterations(3);

BENCHMARK_MAIN();
