// Word search over a whole Bible: the scan alone, the scan with the files read, the whole search
// with both result lists filled, and `grep -c -i -F` on the same files for comparison.
//
// grep runs as a process of its own, so its wall time holds the process start; grep/empty (an
// empty pattern file, with which grep opens neither Bible file) shows that start alone, and
// grep's own CPU time comes from wait4. compare/* times our scan and grep in turn in the same
// iterations, so both see the same load, and reports the medians and their ratio.
//
// The Bible is synthetic (31,102 verses of English-like text in the usual -O / -N split), built
// once in a temporary folder, so the benchmark needs no installed data.

#include "bible/search/linescan.h"
#include "bible/search/versionsearch.h"
#include "common/lines.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QStringList>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <memory>
#include <vector>

#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace lumora::bible;

extern char** environ;

namespace {

constexpr const char* kCommon = "the";
constexpr const char* kRare = "melchisedec";

struct Bible {
    QTemporaryDir dir{QDir::tempPath() + QStringLiteral("/bench_search-XXXXXX")};
    QString ot, nt;
    QByteArray otBytes, ntBytes;
    QStringList names;
};

// Words roughly as often as they come in an English Bible: the first few very often.
const char* const kWords[] = {
    "the",         "and",
    "of",          "to",
    "that",        "in",
    "he",          "shall",
    "unto",        "for",
    "i",           "his",
    "a",           "lord",
    "they",        "be",
    "is",          "him",
    "not",         "them",
    "it",          "with",
    "all",         "thou",
    "thy",         "was",
    "god",         "which",
    "my",          "me",
    "said",        "but",
    "ye",          "their",
    "have",        "will",
    "thee",        "from",
    "as",          "are",
    "when",        "this",
    "out",         "were",
    "upon",        "man",
    "by",          "you",
    "israel",      "king",
    "son",         "up",
    "there",       "hath",
    "then",        "people",
    "came",        "had",
    "house",       "into",
    "on",          "her",
    "come",        "one",
    "we",          "children",
    "before",      "your",
    "also",        "day",
    "land",        "men",
    "against",     "shalt",
    "let",         "go",
    "no",          "hand",
    "saying",      "made",
    "went",        "even",
    "do",          "now",
    "behold",      "saith",
    "therefore",   "every",
    "these",       "because",
    "or",          "after",
    "our",         "things",
    "father",      "down",
    "sons",        "our",
    "hast",        "David",
    "Jerusalem",   "Moses",
    "earth",       "heaven",
    "spirit",      "word",
    "servant",     "city",
    "priest",      "offering",
    "brethren",    "covenant",
    "glory",       "mercy",
    "wilderness",  "mountain",
    "temple",      "righteousness",
    "commandment", "tabernacle",
    "generation",  "inheritance",
    "Egypt",       "Babylon",
    "Judah",
};

const Bible& bible() {
    // Destroyed at exit, which removes the temporary folder.
    static const std::unique_ptr<Bible> b = [] {
        auto out = std::make_unique<Bible>();
        const QString folder = out->dir.path() + QStringLiteral("/Bible/SYN");
        QDir().mkpath(folder);
        QRandomGenerator rng(20240601);
        const int wordCount = int(std::size(kWords));
        auto pickWord = [&]() -> QByteArray {
            // Skewed towards the start of the list, as word frequencies are.
            const double u = rng.generateDouble();
            return kWords[std::min(wordCount - 1, int(u * u * u * wordCount))];
        };
        QByteArray ot = "\xEF\xBB\xBF", nt = "\xEF\xBB\xBF";
        int verses = 0;
        for (int book = 1; book <= 66; ++book) {
            out->names << QStringLiteral("%1 Book %2").arg(book, 2, 10, QLatin1Char('0')).arg(book);
            const int count = book <= 39 ? 593 : 295; // 23,127 + 7,965 verses
            const QByteArray key = QByteArray::number(book).rightJustified(2, '0') + (book >= 40 ? "N" : "O");
            for (int v = 0; v < count; ++v, ++verses) {
                QByteArray line = key + '\t' + QByteArray::number(v / 30 + 1) + '\t' +
                                  QByteArray::number(v % 30 + 1) + "\t0\t";
                const int words = 12 + int(rng.bounded(22));
                for (int w = 0; w < words; ++w) {
                    QByteArray word = pickWord();
                    if (w == 0) word[0] = char(std::toupper(word[0]));
                    line += word;
                    line += (w + 1 == words) ? "." : (rng.bounded(8) == 0 ? ", " : " ");
                }
                if (verses % 3100 == 7) line += " After the order of Melchisedec.";
                (book >= 40 ? nt : ot) += line + "\r\n";
            }
        }
        out->ot = folder + QStringLiteral("/SYN-O.txt");
        out->nt = folder + QStringLiteral("/SYN-N.txt");
        for (const auto& [path, bytes] : {std::pair{out->ot, ot}, std::pair{out->nt, nt}}) {
            QFile f(path);
            if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size()) std::abort();
        }
        out->otBytes = ot;
        out->ntBytes = nt;
        return out;
    }();
    return *b;
}

void scan(benchmark::State& state, const char* needle) {
    const Bible& b = bible();
    qsizetype hits = 0;
    for (auto _ : state) {
        hits = searchBookBytes(b.otBytes, needle).size() + searchBookBytes(b.ntBytes, needle).size();
        benchmark::DoNotOptimize(hits);
    }
    state.counters["hits"] = double(hits);
    state.SetBytesProcessed(state.iterations() * (b.otBytes.size() + b.ntBytes.size()));
}

// The scan alone down to hit-line offsets, for each machine-code path.
void hitLines(benchmark::State& state, ScanPath path, const char* needle) {
    if (!scanPathAvailable(path)) {
        state.SkipWithError("this processor lacks the instructions");
        return;
    }
    const Bible& b = bible();
    std::vector<HitLineRef> refs;
    for (auto _ : state) {
        refs.clear();
        findHitLines(b.otBytes, needle, refs, path);
        findHitLines(b.ntBytes, needle, refs, path);
        benchmark::DoNotOptimize(refs.data());
    }
    state.counters["hits"] = double(refs.size());
    state.SetBytesProcessed(state.iterations() * (b.otBytes.size() + b.ntBytes.size()));
}

void readAndScan(benchmark::State& state, const char* needle) {
    const Bible& b = bible();
    qsizetype hits = 0;
    for (auto _ : state) {
        hits = SearchBookFile(b.ot, needle).hits.size() + SearchBookFile(b.nt, needle).hits.size();
        benchmark::DoNotOptimize(hits);
    }
    state.counters["hits"] = double(hits);
}

void wholeSearch(benchmark::State& state, const char* needle) {
    const Bible& b = bible();
    const QString data =
        QFileInfo(QFileInfo(b.ot).absolutePath() + QStringLiteral("/../..")).canonicalFilePath();
    qsizetype hits = 0;
    for (auto _ : state) {
        const VersionSearch s = SearchVersion(data, "SYN", b.names, needle);
        hits = s.display.size();
        benchmark::DoNotOptimize(s.hits.constData());
    }
    state.counters["hits"] = double(hits);
}

// The same search repeated with the ui's file cache: the files are unchanged, so none is read.
void wholeSearchCached(benchmark::State& state, const char* needle) {
    const Bible& b = bible();
    const QString data =
        QFileInfo(QFileInfo(b.ot).absolutePath() + QStringLiteral("/../..")).canonicalFilePath();
    SearchFileCache cache;
    qsizetype hits = 0;
    for (auto _ : state) {
        const VersionSearch s = SearchVersion(data, "SYN", b.names, needle, &cache);
        hits = s.display.size();
        benchmark::DoNotOptimize(s.hits.constData());
    }
    state.counters["hits"] = double(hits);
}

struct GrepRun {
    bool started = false;
    double cpuSeconds = 0; // user + system time of the grep process
};

// `grep -c -i -F needle OT NT` (or `-f patternFile` when `needle` is null) with its output thrown
// away, as a user would run it: start, read both files, count.
GrepRun runGrep(const char* needle, const char* patternFile = nullptr) {
    const Bible& b = bible();
    const QByteArray ot = QFile::encodeName(b.ot), nt = QFile::encodeName(b.nt);
    std::vector<char*> argv = {const_cast<char*>("grep"), const_cast<char*>("-c"), const_cast<char*>("-i"),
                               const_cast<char*>("-F")};
    if (needle) {
        argv.push_back(const_cast<char*>(needle));
    } else {
        argv.push_back(const_cast<char*>("-f"));
        argv.push_back(const_cast<char*>(patternFile));
    }
    argv.push_back(const_cast<char*>(ot.constData()));
    argv.push_back(const_cast<char*>(nt.constData()));
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    GrepRun out;
    pid_t pid = 0;
    if (posix_spawnp(&pid, "grep", &actions, nullptr, argv.data(), environ) == 0) {
        int status = 0;
        rusage usage{};
        wait4(pid, &status, 0, &usage);
        out.started = true;
        out.cpuSeconds = double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
                         double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
    }
    posix_spawn_file_actions_destroy(&actions);
    return out;
}

void grep(benchmark::State& state, const char* needle) {
    double cpu = 0;
    for (auto _ : state) {
        const GrepRun run = runGrep(needle, "/dev/null");
        if (!run.started) {
            state.SkipWithError("grep cannot be started");
            break;
        }
        cpu += run.cpuSeconds;
    }
    state.counters["grep_cpu_ms"] = benchmark::Counter(cpu * 1e3 / double(state.iterations()));
}

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    const size_t n = v.size();
    return n == 0 ? 0 : (n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2);
}

// Our scan, our read + scan and grep, one after another in every iteration (wall times).
void compare(benchmark::State& state, const char* needle) {
    const Bible& b = bible();
    using Clock = std::chrono::steady_clock;
    auto ms = [](Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); };
    std::vector<double> scanMs, readScanMs, grepMs, grepCpuMs;
    for (auto _ : state) {
        auto t0 = Clock::now();
        qsizetype hits =
            searchBookBytes(b.otBytes, needle).size() + searchBookBytes(b.ntBytes, needle).size();
        auto t1 = Clock::now();
        hits += SearchBookFile(b.ot, needle).hits.size() + SearchBookFile(b.nt, needle).hits.size();
        auto t2 = Clock::now();
        const GrepRun run = runGrep(needle);
        auto t3 = Clock::now();
        if (!run.started) {
            state.SkipWithError("grep cannot be started");
            break;
        }
        benchmark::DoNotOptimize(hits);
        scanMs.push_back(ms(t1 - t0));
        readScanMs.push_back(ms(t2 - t1));
        grepMs.push_back(ms(t3 - t2));
        grepCpuMs.push_back(run.cpuSeconds * 1e3);
    }
    const double grepMedian = median(grepMs);
    state.counters["scan_ms"] = median(scanMs);
    state.counters["read_scan_ms"] = median(readScanMs);
    state.counters["grep_ms"] = grepMedian;
    state.counters["grep_cpu_ms"] = median(grepCpuMs);
    state.counters["scan/grep"] = grepMedian > 0 ? median(scanMs) / grepMedian : 0;
    state.counters["read_scan/grep"] = grepMedian > 0 ? median(readScanMs) / grepMedian : 0;
}

} // namespace

BENCHMARK_CAPTURE(scan, common, kCommon)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(scan, rare, kRare)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(hitLines, avx2_common, ScanPath::Avx2, kCommon)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(hitLines, avx2_rare, ScanPath::Avx2, kRare)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(hitLines, sse2_common, ScanPath::Sse2, kCommon)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(hitLines, sse2_rare, ScanPath::Sse2, kRare)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(hitLines, portable_common, ScanPath::Portable, kCommon)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(hitLines, portable_rare, ScanPath::Portable, kRare)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(readAndScan, common, kCommon)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(readAndScan, rare, kRare)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(wholeSearch, common, kCommon)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(wholeSearch, rare, kRare)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(wholeSearchCached, common, kCommon)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(wholeSearchCached, rare, kRare)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(grep, common, kCommon)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(grep, rare, kRare)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(grep, empty, nullptr)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(compare, common, kCommon)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(60);
BENCHMARK_CAPTURE(compare, rare, kRare)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(60);

BENCHMARK_MAIN();
