// The main window offscreen on a real data folder: Enter in the search box until the first hit is
// highlighted (a common and a rare word), passages and searches on a folder of 20 versions beside
// the same on the folder itself, and the memory the window holds after opening three versions.
//
//   LUMORA_BENCH_DATA=DIR build/bench_window            # DIR: a demo folder (lumora-cli demo)
//   LUMORA_BENCH_DATA=DIR build/bench_window --peak-memory
//
// The 20-version folder is made in a temporary folder from DIR: hard links to DIR's files, with
// every version of DIR listed again under new codes (KJV, KJV02, ... KJV20 after WEB, ...) until
// Version.txt holds 20 lines. The search and passage benchmarks use the last copy of the first
// version there, so that a cost that grows with the versions before it shows.
//
// --peak-memory prints the peak resident size (VmHWM) after the window has shown a passage of
// the first three versions in turn, and again after a search for "the" in each.

#include "app/frmlumora.h"
#include "support/fakes.h"
#include "support/testdata.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTextEdit>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <memory>

using namespace lumora;
using namespace lumora::testing;

namespace {

QString benchData() {
    return QString::fromLocal8Bit(qgetenv("LUMORA_BENCH_DATA"));
}

// The window with fake players and prompts, shown at a usual size.
class Window final {
  public:
    explicit Window(const QString& data) {
        writeBytes(m_config.path() + "/Lumora.path", QFile::encodeName(data) + "\r\n");
        m_window = std::make_unique<app::FrmLumora>(
            m_platform, session::DataPathLocations{m_config.path() + "/Lumora.path", data});
        m_loaded = m_window->load();
        m_window->resize(1280, 900);
        m_window->show();
        QApplication::processEvents();
    }
    bool loaded() const { return m_loaded; }
    template <class T> T* find(const char* name) const {
        return m_window->findChild<T*>(QString::fromLatin1(name));
    }
    // Types the word and presses Enter; returns once the first hit is highlighted and painted.
    void search(const QString& word) {
        find<QLineEdit>("Text_achercher")->setText(word);
        emit find<QLineEdit>("Text_achercher")->returnPressed();
        QApplication::processEvents();
    }
    int hits() const { return find<QComboBox>("ComboBox_passage_trouve")->count() - 1; }
    bool firstHitShown() const {
        return find<QLabel>("Lbl_Nbr_passage_trouve")->text().startsWith(QStringLiteral("1 / ")) &&
               find<QTextEdit>("Text_Passage")->textCursor().hasSelection();
    }

  private:
    TempFolder m_config;
    FakePrompts m_prompts;
    FakeShell m_shell;
    FakeCommonDialog m_dialogs;
    platform::Platform m_platform{[](QObject* p) { return new FakeMediaPlayer(p); }, m_prompts, m_shell,
                                  m_dialogs};
    std::unique_ptr<app::FrmLumora> m_window;
    bool m_loaded = false;
};

// DIR copied as hard links, with its versions listed again under new codes up to 20 in all.
class ManyVersions final {
  public:
    explicit ManyVersions(const QString& data) {
        namespace fs = std::filesystem;
        const fs::path from = QFile::encodeName(data).toStdString();
        const fs::path to = QFile::encodeName(m_dir.path() + "/data").toStdString();
        fs::copy(from, to, fs::copy_options::recursive | fs::copy_options::create_hard_links);
        QList<QByteArray> lines = readBytes(m_dir.path() + "/data/Bible/Version.txt").split('\n');
        QList<QByteArray> versions;
        for (const QByteArray& l : lines)
            if (!l.trimmed().isEmpty()) versions << l.trimmed();
        QByteArray out;
        for (const QByteArray& v : versions)
            out += v + "\r\n";
        const fs::path bible = to / "Bible";
        for (int n = 2; versions.size() * (n - 1) < 20; ++n) {
            for (const QByteArray& v : versions) {
                if (out.count('\n') == 20) break;
                const QByteArray code = v.left(v.indexOf(" -"));
                const QByteArray copy = code + (n < 10 ? "0" : "") + QByteArray::number(n);
                fs::create_directory(bible / copy.toStdString());
                for (const auto& entry : fs::directory_iterator(bible / code.toStdString())) {
                    if (!entry.is_regular_file()) continue;
                    std::string name = entry.path().filename().string();
                    if (name.rfind(code.toStdString(), 0) == 0)
                        name = copy.toStdString() + name.substr(size_t(code.size()));
                    fs::create_hard_link(entry.path(), bible / copy.toStdString() / name);
                }
                out += copy + v.mid(code.size()) + "\r\n";
            }
        }
        // A new file, not the link to DIR's own.
        QFile::remove(m_dir.path() + "/data/Bible/Version.txt");
        writeBytes(m_dir.path() + "/data/Bible/Version.txt", out);
    }
    QString path() const { return m_dir.path() + "/data"; }

  private:
    TempFolder m_dir;
};

const QString& manyVersions() {
    static const ManyVersions folder(benchData());
    static const QString path = folder.path();
    return path;
}

void selectVersion(Window& w, int row) {
    w.find<QComboBox>("List_version")->setCurrentIndex(row);
    QApplication::processEvents();
}

// On the 20-version folder, the last copy of the first version; else the first version.
int searchedVersion(const Window& w) {
    const auto* versions = w.find<QComboBox>("List_version");
    const QString first = versions->itemText(0);
    const QString code = first.left(first.indexOf(QStringLiteral(" -")));
    for (int row = versions->count() - 1; row > 0; --row)
        if (versions->itemText(row).startsWith(code) &&
            versions->itemText(row).mid(versions->itemText(row).indexOf(QStringLiteral(" -"))) ==
                first.mid(code.size()))
            return row;
    return 0;
}

// Enter -> first hit highlighted, searched again in the same window. range(0): 0 = the demo
// folder, 1 = the 20-version folder.
void searchToFirstHit(benchmark::State& state, const char* word) {
    Window w(state.range(0) ? manyVersions() : benchData());
    if (!w.loaded()) return state.SkipWithError("the window did not load the data folder");
    selectVersion(w, searchedVersion(w));
    for (auto _ : state) {
        w.search(QString::fromLatin1(word));
        if (!w.firstHitShown()) return state.SkipWithError("no hit highlighted");
    }
    state.counters["hits"] = w.hits();
    state.counters["versions"] = double(w.find<QComboBox>("List_version")->count());
    state.counters["version"] = searchedVersion(w);
}
void BM_SearchToFirstHit_Common(benchmark::State& state) {
    searchToFirstHit(state, "the");
}
void BM_SearchToFirstHit_Rare(benchmark::State& state) {
    searchToFirstHit(state, "melchisedec");
}
BENCHMARK(BM_SearchToFirstHit_Common)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SearchToFirstHit_Rare)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// The first search of a window just opened, when nothing of the version has been read yet.
void BM_FirstSearchInNewWindow_Common(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        auto w = std::make_unique<Window>(state.range(0) ? manyVersions() : benchData());
        selectVersion(*w, searchedVersion(*w));
        state.ResumeTiming();
        w->search(QStringLiteral("the"));
        state.PauseTiming();
        if (!w->firstHitShown()) return state.SkipWithError("no hit highlighted");
        w.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_FirstSearchInNewWindow_Common)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(5);

// A pick of another book in List_livre: the passage of its first chapter shown.
void BM_PickBookShowsPassage(benchmark::State& state) {
    Window w(state.range(0) ? manyVersions() : benchData());
    if (!w.loaded()) return state.SkipWithError("the window did not load the data folder");
    selectVersion(w, searchedVersion(w));
    auto* books = w.find<QListWidget>("List_livre");
    int book = 0;
    for (auto _ : state) {
        book = (book + 17) % books->count();
        books->setCurrentRow(book);
        QApplication::processEvents();
    }
    state.counters["versions"] = double(w.find<QComboBox>("List_version")->count());
}
BENCHMARK(BM_PickBookShowsPassage)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// A change of version in List_version: the same passage in the other version.
void BM_SwitchVersion(benchmark::State& state) {
    Window w(state.range(0) ? manyVersions() : benchData());
    if (!w.loaded()) return state.SkipWithError("the window did not load the data folder");
    auto* versions = w.find<QComboBox>("List_version");
    int row = 0;
    for (auto _ : state) {
        row = (row + 1) % versions->count();
        versions->setCurrentIndex(row);
        QApplication::processEvents();
    }
    state.counters["versions"] = double(versions->count());
}
BENCHMARK(BM_SwitchVersion)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// A click on a display option (the version header): the passage on display built again.
void BM_OptionClickRebuildsPassage(benchmark::State& state) {
    Window w(state.range(0) ? manyVersions() : benchData());
    if (!w.loaded()) return state.SkipWithError("the window did not load the data folder");
    auto* header = w.find<QCheckBox>("Check_Version");
    for (auto _ : state) {
        header->click();
        QApplication::processEvents();
    }
}
BENCHMARK(BM_OptionClickRebuildsPassage)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// Start-up to the first passage shown.
void BM_OpenWindow(benchmark::State& state) {
    const QString data = state.range(0) ? manyVersions() : benchData();
    for (auto _ : state) {
        Window w(data);
        if (!w.loaded()) return state.SkipWithError("the window did not load the data folder");
    }
}
BENCHMARK(BM_OpenWindow)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(5);

long statusKb(const char* field) {
    QFile f(QStringLiteral("/proc/self/status"));
    if (!f.open(QIODevice::ReadOnly)) return -1;
    for (const QByteArray& line : f.readAll().split('\n'))
        if (line.startsWith(field))
            return line.mid(qsizetype(qstrlen(field))).trimmed().split(' ')[0].toLong();
    return -1;
}

int peakMemory() {
    Window w(benchData());
    if (!w.loaded()) return 1;
    std::printf("after start-up:                     VmHWM %6.1f MB\n", statusKb("VmHWM:") / 1024.0);
    const int versions = std::min(3, w.find<QComboBox>("List_version")->count());
    for (int v = 0; v < versions; ++v)
        selectVersion(w, v);
    std::printf("after %d versions shown in turn:     VmHWM %6.1f MB  VmRSS %6.1f MB\n", versions,
                statusKb("VmHWM:") / 1024.0, statusKb("VmRSS:") / 1024.0);
    for (int v = 0; v < versions; ++v) {
        selectVersion(w, v);
        w.search(QStringLiteral("the"));
    }
    std::printf("after a search for \"the\" in each:   VmHWM %6.1f MB  VmRSS %6.1f MB\n",
                statusKb("VmHWM:") / 1024.0, statusKb("VmRSS:") / 1024.0);
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (benchData().isEmpty() || !QDir(benchData() + "/Bible").exists()) {
        std::fprintf(stderr, "set LUMORA_BENCH_DATA to a demo data folder (lumora-cli --data DIR demo)\n");
        return 2;
    }
    if (argc > 1 && qstrcmp(argv[1], "--peak-memory") == 0) return peakMemory();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
