// Start-up to the first passage on the demo folder: the splash on screen, the main window created,
// loaded (the default passage built and shown) and painted once. The goal is under 300 ms; the
// splash's own share is the difference between the two runs.
//
//   LUMORA_BENCH_DATA=/path/to/demo build/bench_startup     (without it, a demo folder is built first)

#include "app/frmlumora.h"
#include "app/frmsplash.h"
#include "import/demobuilder.h"
#include "platform/qt/qtcommondialog.h"
#include "platform/qt/qtmediaplayer.h"
#include "platform/qt/qtprompts.h"

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include <QTextEdit>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <memory>

using namespace lumora;

namespace {

QString g_data;

void startUp(benchmark::State& state, bool withSplash) {
    QTemporaryDir config;
    const QString pathFile = config.filePath("LMR/Lumora.path");
    QDir().mkpath(config.filePath("LMR"));
    QFile f(pathFile);
    if (!f.open(QIODevice::WriteOnly)) state.SkipWithError("no path file");
    f.write(QFile::encodeName(g_data) + "\r\n");
    f.close();
    const session::DataPathLocations where{pathFile, g_data};
    platform::QtPrompts prompts;
    platform::QtShell shell;
    platform::QtCommonDialog dialogs;
    platform::Platform platform{[](QObject* parent) { return new platform::QtMediaPlayer(parent); }, prompts,
                                shell, dialogs};
    for (auto _ : state) {
        std::unique_ptr<app::FrmSplash> splash;
        if (withSplash) {
            splash = std::make_unique<app::FrmSplash>();
            splash->show();
            QApplication::processEvents();
        }
        auto window = std::make_unique<app::FrmLumora>(platform, where);
        if (!window->load()) {
            state.SkipWithError("the demo folder is not usable");
            break;
        }
        window->show();
        QApplication::processEvents();
        if (splash) {
            splash->CloseAfter(60);
            splash->showSkipLabel();
        }
        auto* passage = window->findChild<QTextEdit*>("Text_Passage");
        if (!passage || passage->toPlainText().isEmpty()) state.SkipWithError("no passage shown");
        state.PauseTiming();
        window.reset();
        splash.reset();
        QApplication::processEvents();
        state.ResumeTiming();
    }
}

void BM_StartUpToFirstPassage_WithSplash(benchmark::State& state) {
    startUp(state, true);
}
void BM_StartUpToFirstPassage_NoSplash(benchmark::State& state) {
    startUp(state, false);
}
BENCHMARK(BM_StartUpToFirstPassage_WithSplash)->Unit(benchmark::kMillisecond)->Iterations(10);
BENCHMARK(BM_StartUpToFirstPassage_NoSplash)->Unit(benchmark::kMillisecond)->Iterations(10);

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir demo;
    g_data = QString::fromLocal8Bit(qgetenv("LUMORA_BENCH_DATA"));
    if (g_data.isEmpty()) {
        g_data = demo.filePath("Lumora");
        import::DemoOptions options;
        options.folder = g_data;
        options.versions = import::defaultDemoVersions();
        const import::DemoResult built = import::buildDemo(options);
        if (!built.ok) {
            std::fprintf(stderr, "demo folder not built: %s\n", qPrintable(built.error));
            return 2;
        }
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
