// How fresh the player's position is while a real recording plays, sampled every 5 ms as the
// 50 ms follower would read it: the longest time the value stood still, and how far it strays from
// the wall clock (after removing the constant offset), from 1.5 s on; and how long after the
// player said it plays its position started to move. Our QtMediaPlayer against the bare
// QMediaPlayer it wraps.
//
// Needs a sound server (scripts/test's headless PulseAudio will do; XDG_RUNTIME_DIR must point to
// it). The recording: the file named by LUMORA_BENCH_AUDIO, else six seconds of a tone from sox.

#include "platform/qt/qtmediaplayer.h"

#include <QAudioOutput>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QMediaPlayer>
#include <QProcess>
#include <QTemporaryDir>
#include <QUrl>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <vector>

using namespace lumora;

namespace {

QString recording() {
    static QTemporaryDir dir;
    const QByteArray given = qgetenv("LUMORA_BENCH_AUDIO");
    if (!given.isEmpty()) return QString::fromLocal8Bit(given);
    const QString path = dir.filePath(QStringLiteral("tone.wav"));
    if (!QFile::exists(path))
        QProcess::execute(QStringLiteral("sox"),
                          {QStringLiteral("-n"), QStringLiteral("-r"), QStringLiteral("22050"),
                           QStringLiteral("-c"), QStringLiteral("1"), path, QStringLiteral("synth"),
                           QStringLiteral("6"), QStringLiteral("sine"), QStringLiteral("440")});
    return path;
}

bool soundServerAnswers() {
    QProcess p;
    p.start(QStringLiteral("pactl"), {QStringLiteral("info")});
    return p.waitForFinished(5000) && p.exitCode() == 0;
}

struct Sample {
    double wall, position; // seconds
};

// Samples `position` every 5 ms while `playing` holds, for at most `seconds`.
std::vector<Sample> sample(const std::function<bool()>& playing, const std::function<double()>& position,
                           double seconds) {
    std::vector<Sample> out;
    QElapsedTimer clock;
    clock.start();
    while (!playing() && clock.elapsed() < 10000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    clock.restart();
    while (playing() && clock.elapsed() < seconds * 1000) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        const qint64 until = clock.elapsed() + 5;
        while (clock.elapsed() < until)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 1);
        out.push_back({clock.nsecsElapsed() / 1e9, position()});
    }
    return out;
}

void report(benchmark::State& state, const std::vector<Sample>& s) {
    if (s.size() < 20) {
        state.SkipWithError("too few samples: did it play?");
        return;
    }
    // The sound starts a moment after the player says it plays; the steady state is measured.
    std::vector<Sample> kept;
    for (const Sample& x : s)
        if (x.wall > 1.5) kept.push_back(x);
    for (const Sample& x : s)
        if (x.position > s.front().position + 0.05) {
            state.counters["start_delay_ms"] = x.wall * 1000;
            break;
        }
    double stood = 0, longest = 0;
    for (std::size_t i = 1; i < kept.size(); ++i) {
        if (kept[i].position == kept[i - 1].position) {
            stood += kept[i].wall - kept[i - 1].wall;
            longest = std::max(longest, stood);
        } else {
            stood = 0;
        }
    }
    std::vector<double> offsets;
    for (const Sample& x : kept)
        offsets.push_back(x.position - x.wall);
    std::vector<double> sorted = offsets;
    std::sort(sorted.begin(), sorted.end());
    const double median = sorted[sorted.size() / 2];
    std::vector<double> dev;
    for (double o : offsets)
        dev.push_back(std::abs(o - median));
    std::sort(dev.begin(), dev.end());
    state.counters["stood_still_max_ms"] = longest * 1000;
    state.counters["stray_median_ms"] = dev[dev.size() / 2] * 1000;
    state.counters["stray_p95_ms"] = dev[dev.size() * 95 / 100] * 1000;
    state.counters["stray_max_ms"] = dev.back() * 1000;
}

void BM_Position_QtMediaPlayer(benchmark::State& state) {
    if (!soundServerAnswers()) {
        state.SkipWithError("no sound server answers");
        return;
    }
    for (auto _ : state) {
        platform::QtMediaPlayer player;
        player.setSource(recording());
        player.play();
        const auto s = sample([&] { return player.statusText() == QStringLiteral("Playing"); },
                              [&] { return player.position(); }, 5.0);
        player.stop();
        report(state, s);
    }
}
BENCHMARK(BM_Position_QtMediaPlayer)->Iterations(1)->Unit(benchmark::kMillisecond);

void BM_Position_BareQMediaPlayer(benchmark::State& state) {
    if (!soundServerAnswers()) {
        state.SkipWithError("no sound server answers");
        return;
    }
    for (auto _ : state) {
        QMediaPlayer player;
        QAudioOutput output;
        player.setAudioOutput(&output);
        player.setSource(QUrl::fromLocalFile(recording()));
        player.play();
        const auto s = sample([&] { return player.playbackState() == QMediaPlayer::PlayingState; },
                              [&] { return player.position() / 1000.0; }, 5.0);
        player.stop();
        report(state, s);
    }
}
BENCHMARK(BM_Position_BareQMediaPlayer)->Iterations(1)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
