// From Enter in the quick reference box to the clone painted: Shift+Enter on a typed reference
// selects the passage through the lists, builds it, fills the clone and paints it. Two
// references in turn, so that every round shows a new passage; the clone in its passage mode
// (arg 0) and verse by verse (arg 1). Goal: under 50 ms.
//
//   build/bench_projector
//   LUMORA_BENCH_DATA=DIR build/bench_projector     # DIR: a demo folder (lumora-cli demo) with KJV

#include "app/frmlumora.h"
#include "app/windowlinks.h"
#include "bible/ui/quickreference.h"
#include "support/biblefixture.h"
#include "support/fakes.h"
#include "windows/ui/clonewindow.h"
#include "windows/ui/versepanel.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTextEdit>

#include <benchmark/benchmark.h>

#include <memory>

using namespace lumora;
using namespace lumora::testing;

namespace {

// A Bible of 66 books whose verses are of a usual length, for when no demo folder is given.
QString fixtureData(TempFolder& folder) {
    FixtureOptions opt;
    opt.text = [](int b, int c, int v) {
        return "Text " + QByteArray::number(b) + " " + QByteArray::number(c) + ":" + QByteArray::number(v) +
               " and it came to pass in those days that a word went out to all the people of the land, "
               "and they heard it and were glad";
    };
    std::vector<FixtureBook> books = fixtureBooks(30, 40);
    books[42].name = QStringLiteral("John");
    books[18].name = QStringLiteral("Psalms");
    writeFixtureVersion(folder.path(), "KJV", books, opt);
    writeBytes(folder.path() + "/Bible/Version.txt", "KJV - King James Version\r\n");
    return folder.path();
}

void BM_QuickReferenceToClonePainted(benchmark::State& state) {
    TempFolder data, config;
    QString folder = QString::fromLocal8Bit(qgetenv("LUMORA_BENCH_DATA"));
    if (folder.isEmpty()) folder = fixtureData(data);
    FakePrompts prompts;
    FakeShell shell;
    FakeCommonDialog dialogs;
    platform::Platform platform{[](QObject* p) { return new FakeMediaPlayer(p); }, prompts, shell, dialogs};
    writeBytes(config.path() + "/Lumora.path", QFile::encodeName(folder) + "\r\n");
    app::FrmLumora window(platform, {config.path() + "/Lumora.path", folder, config.path() + "/Lumora.conf"});
    if (!window.load()) {
        state.SkipWithError("the data folder did not load");
        return;
    }
    window.resize(1280, 900);
    window.show();
    QApplication::processEvents();
    auto* links = window.findChild<app::WindowLinks*>(QStringLiteral("windowLinks"));
    windows::CloneWindow& clone = links->clone();
    clone.setMode(state.range(0) ? windows::CloneMode::Verses : windows::CloneMode::Passage);
    QLineEdit* box = links->quickReference().box();
    const QString references[] = {QStringLiteral("jn 3:16-18"), QStringLiteral("Ps 23")};
    int round = 0;
    for (auto _ : state) {
        box->setText(references[round++ % 2]);
        QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::ShiftModifier);
        QApplication::sendEvent(box, &enter);
        windows::FrmDoublon* w = clone.window();
        if (!w) {
            state.SkipWithError("the clone did not open");
            return;
        }
        if (w->isPanelShown())
            w->versePanel().repaint();
        else
            w->textPassage()->viewport()->repaint();
    }
    clone.closeWindow();
}
BENCHMARK(BM_QuickReferenceToClonePainted)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
