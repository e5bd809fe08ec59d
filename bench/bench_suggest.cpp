// Suggested marks against recordings with known verse starts (made by scripts/make-mark-corpus):
// the share of verse starts within 0.25 s of the truth, the median and worst errors, and the CPU
// time per recording; then the CPU time taken for a 10-minute chapter.
//
//   bench_suggest CORPUS_DIR [benchmark options]

#include "marks/audiodecode.h"
#include "marks/marksuggest.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>
#include <sndfile.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <ctime>

using namespace lumora::marks;

namespace {

QList<QByteArray> readLines(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return {};
    QList<QByteArray> lines = f.readAll().split('\n');
    while (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

double cpuSeconds() {
    return double(std::clock()) / CLOCKS_PER_SEC;
}

QString g_longest; // the longest recording, for the timing below

int measure(const QString& corpus) {
    const QStringList recs = QDir(corpus).entryList({QStringLiteral("rec*")}, QDir::Dirs, QDir::Name);
    std::vector<double> all;
    double longestSeconds = 0, totalCpu = 0, totalAudio = 0;
    std::printf("%-8s %6s %8s %9s %8s %8s %8s  %s\n", "rec", "verses", "audio_s", "within%", "median",
                "worst", "cpu_s", "about");
    for (const QString& rec : recs) {
        const QDir d(QDir(corpus).filePath(rec));
        QString audioPath = d.filePath(QStringLiteral("audio.wav"));
        if (!QFile::exists(audioPath)) audioPath = d.filePath(QStringLiteral("audio.mp3"));
        const QList<QByteArray> verses = readLines(d.filePath(QStringLiteral("verses.txt")));
        const QList<QByteArray> truth = readLines(d.filePath(QStringLiteral("truth.txt")));
        const QList<QByteArray> about = readLines(d.filePath(QStringLiteral("about.txt")));
        const auto audio = decodeAudio(audioPath);
        if (!audio || verses.size() != truth.size()) {
            std::printf("%-8s unreadable\n", qPrintable(rec));
            continue;
        }
        const double t0 = cpuSeconds();
        const std::vector<double> starts = suggestStartsFromFile(audioPath, verses).starts;
        const double cpu = cpuSeconds() - t0;
        totalCpu += cpu;
        totalAudio += audio->seconds();
        if (audio->seconds() > longestSeconds) {
            longestSeconds = audio->seconds();
            g_longest = audioPath;
        }
        std::vector<double> errs;
        for (qsizetype i = 0; i < truth.size(); ++i)
            errs.push_back(std::size_t(i) < starts.size()
                               ? std::abs(starts[std::size_t(i)] - truth[i].toDouble())
                               : 1e9);
        all.insert(all.end(), errs.begin(), errs.end());
        if (qEnvironmentVariable("LUMORA_SUGGEST_DETAIL") == rec)
            for (const Pause& p : findPauses(energyTrack(*audio)).pauses)
                std::printf("  pause %8.3f .. %8.3f (%.3f s, %.1f dB)\n", p.start, p.end, p.length(),
                            p.depth);
        if (qEnvironmentVariable("LUMORA_SUGGEST_DETAIL") == rec)
            for (qsizetype i = 0; i < truth.size(); ++i)
                std::printf(
                    "  verse %3lld truth %8.3f suggested %8.3f error %+.3f\n", (long long)(i + 1),
                    truth[i].toDouble(), std::size_t(i) < starts.size() ? starts[std::size_t(i)] : -1.0,
                    std::size_t(i) < starts.size() ? starts[std::size_t(i)] - truth[i].toDouble() : 0.0);
        const auto within = std::count_if(errs.begin(), errs.end(), [](double e) { return e <= 0.25; });
        std::sort(errs.begin(), errs.end());
        std::printf("%-8s %6zu %8.1f %8.1f%% %8.3f %8.3f %8.3f  %s\n", qPrintable(rec), errs.size(),
                    audio->seconds(), 100.0 * double(within) / double(errs.size()), errs[errs.size() / 2],
                    errs.back(), cpu, about.isEmpty() ? "" : about.first().constData());
    }
    if (all.empty()) return 1;
    const auto within = std::count_if(all.begin(), all.end(), [](double e) { return e <= 0.25; });
    std::sort(all.begin(), all.end());
    std::printf("ALL      %6zu %8.1f %8.1f%% %8.3f %8.3f %8.3f  (cpu %.3f s per 10 min of audio)\n",
                all.size(), totalAudio, 100.0 * double(within) / double(all.size()), all[all.size() / 2],
                all.back(), totalCpu, totalCpu * 600.0 / totalAudio);
    return 0;
}

// A 10-minute chapter: the longest recording repeated up to 10 minutes, with as many verse texts
// as it takes, written as 16-bit wav and, when lame is there, as 64 kbit/s mp3.
struct TenMinutes {
    MonoAudio audio;
    QList<QByteArray> verses;
    QString wav, mp3;
    QTemporaryDir dir;
};

const TenMinutes& tenMinutes() {
    static TenMinutes t;
    if (!t.audio.samples.empty() || g_longest.isEmpty()) return t;
    const auto one = decodeAudio(g_longest);
    if (!one) return t;
    t.audio.sampleRate = one->sampleRate;
    while (t.audio.seconds() < 600)
        t.audio.samples.insert(t.audio.samples.end(), one->samples.begin(), one->samples.end());
    t.audio.samples.resize(std::size_t(600.0 * t.audio.sampleRate));
    const QList<QByteArray> base =
        readLines(QFileInfo(g_longest).dir().filePath(QStringLiteral("verses.txt")));
    for (int c = 0; c < int(std::ceil(600.0 / one->seconds())); ++c)
        t.verses += base;

    t.wav = t.dir.filePath(QStringLiteral("ten.wav"));
    SF_INFO info{};
    info.samplerate = t.audio.sampleRate;
    info.channels = 1;
    info.format = SF_FORMAT_WAV | SF_FORMAT_PCM_16;
    if (SNDFILE* f = sf_open(QFile::encodeName(t.wav).constData(), SFM_WRITE, &info)) {
        sf_writef_float(f, t.audio.samples.data(), sf_count_t(t.audio.samples.size()));
        sf_close(f);
    }
    QProcess lame;
    const QString mp3 = t.dir.filePath(QStringLiteral("ten.mp3"));
    lame.start(QStringLiteral("lame"),
               {QStringLiteral("--quiet"), QStringLiteral("-b"), QStringLiteral("64"), t.wav, mp3});
    if (lame.waitForFinished(120000) && lame.exitCode() == 0) t.mp3 = mp3;
    return t;
}

void BM_AlignTenMinutes(benchmark::State& state) {
    const TenMinutes& t = tenMinutes();
    if (t.audio.samples.empty()) return state.SkipWithError("no recording");
    for (auto _ : state)
        benchmark::DoNotOptimize(suggestStarts(t.audio, t.verses));
    state.counters["verses"] = double(t.verses.size());
}
BENCHMARK(BM_AlignTenMinutes)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();

void BM_DecodeAndAlignTenMinutes(benchmark::State& state) {
    const TenMinutes& t = tenMinutes();
    const QString path = state.range(0) ? t.mp3 : t.wav;
    if (path.isEmpty()) return state.SkipWithError("no recording");
    for (auto _ : state)
        benchmark::DoNotOptimize(suggestStartsFromFile(path, t.verses));
    state.SetLabel(state.range(0) ? "mp3" : "wav");
}
BENCHMARK(BM_DecodeAndAlignTenMinutes)
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMillisecond)
    ->MeasureProcessCPUTime();

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    const QString corpus =
        argc > 1 ? QString::fromLocal8Bit(argv[1]) : qEnvironmentVariable("LUMORA_MARK_CORPUS");
    if (corpus.isEmpty()) {
        std::fprintf(stderr, "usage: bench_suggest CORPUS_DIR (make one with scripts/make-mark-corpus)\n");
        return 2;
    }
    if (measure(corpus) != 0) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
