// Passage building on a full-size Bible, and start-up to the first passage shown.
//
// Data: a synthetic 31,000-verse Bible written to a temporary folder, or the folder named by
// LUMORA_BENCH_DATA (for example the demo folder) for the start-up measure.

#include "app/frmlumora.h"
#include "bible/passagebuilder.h"
#include "support/biblefixture.h"
#include "support/fakes.h"

#include <QApplication>

#include <benchmark/benchmark.h>

using namespace lumora;
using namespace lumora::testing;

namespace {

QByteArray verseText(int b, int c, int v) {
    static const char* words[] = {"and",     "the",    "LORD",   "said", "unto",  "them",
                                  "behold",  "I",      "will",   "send", "you",   "Elijah",
                                  "prophet", "before", "coming", "of",   "great", "day"};
    QByteArray t;
    for (int i = 0; i < 24; ++i) {
        if (i) t += ' ';
        t += words[(b * 7 + c * 13 + v * 17 + i * 5) % 18];
    }
    return t + '.';
}

// 39 books of 24 chapters of 25 verses, 27 of 10 chapters of 29: 31,230 verses.
QString fullBible() {
    static TempFolder folder;
    static bool written = false;
    if (!written) {
        std::vector<FixtureBook> books;
        for (int b = 1; b <= 66; ++b) {
            const bool nt = b >= 40;
            books.push_back(
                {b, QStringLiteral("Book%1").arg(b), nt ? 10 : 24, [nt](int) { return nt ? 29 : 25; }});
        }
        FixtureOptions opt;
        opt.text = verseText;
        opt.mark = [](int, int, int v) { return QByteArray::number(v * 3) + ",25000"; };
        writeFixtureVersion(folder.path(), "KJV", books, opt);
        writeBytes(folder.path() + "/Bible/Version.txt", "KJV - King James Version\r\n");
        written = true;
    }
    return folder.path();
}

bible::PassageRequest lastOldTestamentChapter() {
    const bible::ResolvedPassage resolved = bible::ResolvePassage(fullBible(), {"KJV", 39, 24, 1, 25});
    bible::PassageRequest r = *resolved.request;
    r.withTitles = true;
    return r;
}

void BM_BuildPassage_LastOldTestamentChapter_Warm(benchmark::State& state) {
    const bible::PassageRequest r = lastOldTestamentChapter();
    bible::TestamentCache cache;
    bible::BuildPassage(r, cache); // first read fills the cache
    for (auto _ : state)
        benchmark::DoNotOptimize(bible::BuildPassage(r, cache));
}
BENCHMARK(BM_BuildPassage_LastOldTestamentChapter_Warm)->Unit(benchmark::kMicrosecond);

void BM_BuildPassage_LastOldTestamentChapter_Cold(benchmark::State& state) {
    const bible::PassageRequest r = lastOldTestamentChapter();
    for (auto _ : state) {
        bible::TestamentCache cache;
        benchmark::DoNotOptimize(bible::BuildPassage(r, cache));
    }
}
BENCHMARK(BM_BuildPassage_LastOldTestamentChapter_Cold)->Unit(benchmark::kMillisecond);

void BM_StartUpToFirstPassage(benchmark::State& state) {
    const QByteArray env = qgetenv("LUMORA_BENCH_DATA");
    const QString data = env.isEmpty() ? fullBible() : QString::fromLocal8Bit(env);
    TempFolder config;
    writeBytes(config.path() + "/Lumora.path", QFile::encodeName(data) + "\r\n");
    FakePrompts prompts;
    FakeShell shell;
    FakeCommonDialog dialogs;
    platform::Platform platform{[](QObject* p) { return new FakeMediaPlayer(p); }, prompts, shell, dialogs};
    for (auto _ : state) {
        app::FrmLumora window(platform, {config.path() + "/Lumora.path", data});
        benchmark::DoNotOptimize(window.load());
    }
}
BENCHMARK(BM_StartUpToFirstPassage)->Unit(benchmark::kMillisecond)->Iterations(5);

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
