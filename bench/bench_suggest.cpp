// Suggested marks against recordings with known verse starts (made by scripts/make-align-corpus
// or scripts/make-mark-corpus): per recording and per shape, the share of verse starts within
// 0.25 s of the truth for the alignment by content ("new") and for the pauses alone ("old"), the
// median and worst errors, the CPU time, and how the confidence sorts the wrong starts from the
// right ones; how many recordings offered with the next one's verses (another chapter's reading)
// are refused; then the CPU time taken for a 10-minute chapter.
//
//   bench_suggest CORPUS_DIR [benchmark options]

#include "marks/align/aligner.h"
#include "marks/align/dtw.h"
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
#include <map>

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

// What the reader of a recording may say first, as the program makes it: the book's name and the
// chapter's number, from about.txt ("announce espeak:en Esther (Greek) 1" -> "Esther (Greek) 1.").
QString openingOf(const QList<QByteArray>& about) {
    const QList<QByteArray> words = about.isEmpty() ? QList<QByteArray>() : about.first().split(' ');
    return words.size() < 4 ? QString() : QString::fromUtf8(words.mid(2).join(' ')) + QLatin1Char('.');
}

double cpuSeconds() {
    return double(std::clock()) / CLOCKS_PER_SEC;
}

QString g_longest; // the longest recording, for the timing below
QString g_language = QStringLiteral("en");

struct Tally {
    int starts = 0, newWithin = 0, oldWithin = 0;
    int wrong = 0, wrongDoubted = 0, right = 0, rightDoubted = 0;
    double cpu = 0, audio = 0;
    void add(const Tally& t) {
        starts += t.starts;
        newWithin += t.newWithin;
        oldWithin += t.oldWithin;
        wrong += t.wrong;
        wrongDoubted += t.wrongDoubted;
        right += t.right;
        rightDoubted += t.rightDoubted;
        cpu += t.cpu;
        audio += t.audio;
    }
};

double percent(int a, int b) {
    return b > 0 ? 100.0 * a / b : 0.0;
}

void printTally(const char* name, const Tally& t) {
    std::printf("%-10s %6d %8.1f %7.1f%% %7.1f%% %9d/%-4d %9d/%-4d %8.3f\n", name, t.starts, t.audio,
                percent(t.newWithin, t.starts), percent(t.oldWithin, t.starts), t.wrongDoubted, t.wrong,
                t.rightDoubted, t.right, t.cpu);
}

int measure(const QString& corpus) {
    const QStringList recs = QDir(corpus).entryList({QStringLiteral("rec*")}, QDir::Dirs, QDir::Name);
    std::map<QByteArray, Tally> shapes;
    double longestSeconds = 0;
    std::printf("%-8s %6s %8s %8s %8s %8s %8s %8s  %s\n", "rec", "verses", "audio_s", "new%", "old%",
                "median", "worst", "cpu_s", "about");
    for (const QString& rec : recs) {
        const QDir d(QDir(corpus).filePath(rec));
        QString audioPath = d.filePath(QStringLiteral("audio.wav"));
        if (!QFile::exists(audioPath)) audioPath = d.filePath(QStringLiteral("audio.mp3"));
        const QList<QByteArray> verses = readLines(d.filePath(QStringLiteral("verses.txt")));
        const QList<QByteArray> truth = readLines(d.filePath(QStringLiteral("truth.txt")));
        const QList<QByteArray> about = readLines(d.filePath(QStringLiteral("about.txt")));
        const QList<QByteArray> language = readLines(d.filePath(QStringLiteral("language.txt")));
        const auto audio = decodeAudio(audioPath);
        if (!audio || verses.size() != truth.size()) {
            std::printf("%-8s unreadable\n", qPrintable(rec));
            continue;
        }
        const double t0 = cpuSeconds();
        const SuggestOutcome now = suggestStartsFromFile(
            audioPath, verses, language.isEmpty() ? g_language : language.first(), openingOf(about));
        Tally t;
        t.cpu = cpuSeconds() - t0;
        t.audio = audio->seconds();
        const SuggestOutcome before = pauseStartsFromFile(audioPath, verses);
        if (audio->seconds() > longestSeconds) {
            longestSeconds = audio->seconds();
            g_longest = audioPath;
        }
        std::vector<double> errs;
        const QString detailOf = qEnvironmentVariable("LUMORA_SUGGEST_DETAIL");
        const bool detail = detailOf == rec || detailOf == QLatin1String("all");
        for (qsizetype i = 0; i < truth.size(); ++i) {
            const auto k = std::size_t(i);
            const double e = k < now.starts.size() ? std::abs(now.starts[k] - truth[i].toDouble()) : 1e9;
            const double o =
                k < before.starts.size() ? std::abs(before.starts[k] - truth[i].toDouble()) : 1e9;
            const bool doubted = k < now.confidence.size() && now.confidence[k] < align::kDoubtful;
            errs.push_back(e);
            ++t.starts;
            t.newWithin += e <= 0.25;
            t.oldWithin += o <= 0.25;
            if (e <= 0.25) {
                ++t.right;
                t.rightDoubted += doubted;
            } else {
                ++t.wrong;
                t.wrongDoubted += doubted;
            }
            if (detail)
                std::printf("  verse %3lld truth %8.3f new %8.3f (%+.3f, confidence %.2f %s) old %+.3f\n",
                            (long long)(i + 1), truth[i].toDouble(),
                            k < now.starts.size() ? now.starts[k] : -1.0,
                            k < now.starts.size() ? now.starts[k] - truth[i].toDouble() : 0.0,
                            k < now.confidence.size() ? now.confidence[k] : -1.0,
                            k < std::size_t(now.doubts.size()) ? qPrintable(now.doubts[i]) : "",
                            k < before.starts.size() ? before.starts[k] - truth[i].toDouble() : 0.0);
        }
        std::sort(errs.begin(), errs.end());
        const QByteArray shape = about.isEmpty() ? QByteArray("?") : about.first().split(' ').first();
        std::printf("%-8s %6zu %8.1f %7.1f%% %7.1f%% %8.3f %8.3f %8.3f  %s%s\n", qPrintable(rec), errs.size(),
                    audio->seconds(), percent(t.newWithin, t.starts), percent(t.oldWithin, t.starts),
                    errs[errs.size() / 2], errs.back(), t.cpu,
                    about.isEmpty() ? "" : about.first().constData(),
                    now.error.isEmpty() ? "" : qPrintable(QStringLiteral(" REFUSED: ") + now.error));
        shapes[shape].add(t);
    }
    if (shapes.empty()) return 1;
    // Each recording offered with the next one's verses: another chapter's reading, to be refused.
    int offered = 0, refused = 0;
    for (qsizetype r = 0; r < recs.size(); ++r) {
        const QDir d(QDir(corpus).filePath(recs[r]));
        const QDir other(QDir(corpus).filePath(recs[(r + 1) % recs.size()]));
        const QList<QByteArray> verses = readLines(other.filePath(QStringLiteral("verses.txt")));
        QString audioPath = d.filePath(QStringLiteral("audio.wav"));
        if (!QFile::exists(audioPath)) audioPath = d.filePath(QStringLiteral("audio.mp3"));
        if (verses.isEmpty() || recs.size() < 2) continue;
        const SuggestOutcome s = suggestStartsFromFile(
            audioPath, verses, g_language, openingOf(readLines(other.filePath(QStringLiteral("about.txt")))));
        ++offered;
        refused += !s.error.isEmpty();
        if (s.error.isEmpty())
            std::printf("%-8s with the verses of %s: not refused\n", qPrintable(recs[r]),
                        qPrintable(recs[(r + 1) % recs.size()]));
    }
    std::printf("another chapter's verses refused: %d of %d\n", refused, offered);
    std::printf("\n%-10s %6s %8s %8s %8s %14s %14s %8s\n", "shape", "starts", "audio_s", "new", "old",
                "wrong_doubted", "right_doubted", "cpu_s");
    Tally all;
    for (const auto& [shape, t] : shapes) {
        printTally(shape.constData(), t);
        all.add(t);
    }
    printTally("ALL", all);
    std::printf("cpu %.3f s per 10 min of audio (decoding, synthesis, alignment)\n",
                all.cpu * 600.0 / all.audio);
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
    const QList<QByteArray> base =
        readLines(QFileInfo(g_longest).dir().filePath(QStringLiteral("verses.txt")));
    while (t.audio.seconds() + one->seconds() <= 600) {
        t.audio.samples.insert(t.audio.samples.end(), one->samples.begin(), one->samples.end());
        t.verses += base;
    }
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

// The pauses alone, on decoded audio.
void BM_PausesTenMinutes(benchmark::State& state) {
    const TenMinutes& t = tenMinutes();
    if (t.audio.samples.empty()) return state.SkipWithError("no recording");
    for (auto _ : state)
        benchmark::DoNotOptimize(suggestStarts(t.audio, t.verses));
    state.counters["verses"] = double(t.verses.size());
    state.counters["audio_s"] = t.audio.seconds();
}
BENCHMARK(BM_PausesTenMinutes)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();

// What `marks suggest` does: decoding, synthesis of the verses, features, alignment.
void BM_SuggestTenMinutes(benchmark::State& state) {
    const TenMinutes& t = tenMinutes();
    const QString path = state.range(0) ? t.mp3 : t.wav;
    if (path.isEmpty()) return state.SkipWithError("no recording");
    for (auto _ : state) {
        const SuggestOutcome s = suggestStartsFromFile(path, t.verses, g_language);
        if (!s.error.isEmpty()) state.SkipWithError(qPrintable(s.error));
        benchmark::DoNotOptimize(s);
    }
    state.SetLabel(state.range(0) ? "mp3" : "wav");
    state.counters["audio_s"] = t.audio.seconds();
}
BENCHMARK(BM_SuggestTenMinutes)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();

QStringList textsOf(const QList<QByteArray>& verses) {
    QStringList texts;
    for (const QByteArray& v : verses)
        texts << QString::fromUtf8(v);
    return texts;
}

// The synthesis of ten minutes' verses alone.
void BM_SynthesisTenMinutes(benchmark::State& state) {
    const TenMinutes& t = tenMinutes();
    if (t.verses.isEmpty()) return state.SkipWithError("no recording");
    const QStringList texts = textsOf(t.verses);
    for (auto _ : state)
        benchmark::DoNotOptimize(align::synthesiseVerses(texts, g_language, align::kReferenceRate));
}
BENCHMARK(BM_SynthesisTenMinutes)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();

// One warp alone, on the features of ten minutes' recording and of its reference, in the widest
// band alignToReference() uses (a minute either side) and at about the cost of unrelated frames.
void BM_WarpTenMinutes(benchmark::State& state) {
    const TenMinutes& t = tenMinutes();
    if (t.verses.isEmpty()) return state.SkipWithError("no recording");
    const QStringList texts = textsOf(t.verses);
    const auto ref = align::synthesiseVerses(texts, g_language, align::kReferenceRate);
    const auto rec = align::features(t.audio);
    const auto refFeatures = ref ? align::features(ref->audio) : std::nullopt;
    if (!rec || !refFeatures) return state.SkipWithError("no features");
    const int frames = int(rec->frames());
    for (auto _ : state)
        benchmark::DoNotOptimize(align::alignFeatures(*rec, *refFeatures, 0, frames - 1, 3000, 1.3f));
}
BENCHMARK(BM_WarpTenMinutes)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    const QString corpus =
        argc > 1 ? QString::fromLocal8Bit(argv[1]) : qEnvironmentVariable("LUMORA_MARK_CORPUS");
    if (corpus.isEmpty()) {
        std::fprintf(stderr, "usage: bench_suggest CORPUS_DIR (make one with scripts/make-align-corpus)\n");
        return 2;
    }
    if (measure(corpus) != 0) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
