// Real sound through the Qt player: an mp3, a wav and a mid are played to the sound server, whose
// output is recorded from its monitor; the players of the window over it; and the remote page in
// headless chromium lighting the verses as a real reading reaches them. Needs a sound server
// (scripts/test starts a headless one with a null output); skipped when none answers.

#include "platform/qt/qtmediaplayer.h"
#include "support/clirun.h"

#include "app/frmlumora.h"
#include "app/nowshowingfeed.h"
#include "app/remotelinks.h"
#include "app/windowlinks.h"
#include "bible/ui/biblenavigation.h"
#include "hymns/ui/hymnplayer.h"
#include "import/audio.h"
#include "platform/playerpictures.h"
#include "remote/remoteservice.h"
#include "support/biblefixture.h"
#include "support/chromium.h"
#include "support/fakes.h"
#include "support/psalm23.h"
#include "support/wait.h"

#include <QAudioOutput>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QListWidget>
#include <QMediaPlayer>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>
#include <QToolButton>
#include <QUrl>

#include <gtest/gtest.h>

// After Qt's headers: GLib's headers use the name "signals", which Qt defines as a keyword.
#undef signals
#include <gst/gst.h>
#define signals Q_SIGNALS

#include <atomic>
#include <chrono>
#include <cmath>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <functional>
#include <thread>
#include <utility>

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

using namespace lumora;
using namespace lumora::testing;

namespace {

constexpr int kRecordRate = 22050;

// A program's exit code, waited for with the event loop running (the window's answers are
// measured meanwhile, and a wait that held the loop would count as the window's own); -1 when it
// did not end in time.
int runPumping(const QString& program, const QStringList& args, int timeoutMs) {
    QProcess p;
    p.start(program, args);
    if (!waitUntil([&] { return p.state() == QProcess::NotRunning; }, timeoutMs)) {
        p.kill();
        p.waitForFinished(1000);
        return -1;
    }
    return p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
}

bool soundServerAnswers() {
    return runPumping("pactl", {"info"}, 5000) == 0;
}

// Whether the player reports `status` within `ms`.
bool reaches(const platform::MediaPlayer& player, const char* status, int ms = 10000) {
    return waitUntil([&] { return player.statusText() == status; }, ms);
}

// The furthest position the player says while it plays, until it reports "Stopped" (15 s at most).
double furthestUntilStopped(const platform::MediaPlayer& player) {
    double furthest = 0;
    waitUntil(
        [&] {
            furthest = std::max(furthest, player.position());
            return player.statusText() == "Stopped";
        },
        15000);
    return furthest;
}

// Records the sound server's output (the monitor of its default sink) while it lives.
class MonitorRecording {
  public:
    MonitorRecording() {
        // A low latency of its own: a monitor's readers set how far ahead its sink mixes. Left to
        // itself the null sink mixed up to 2 s of silence ahead, and a stream that began inside that
        // span was mixed in again on a rewind its monitor never saw: the first seconds of a short tune
        // went missing from the recording (its level measured 0.02 to 0.18 instead of 0.21).
        m_parec.start("parec", {"-d", "@DEFAULT_MONITOR@", "--raw", "--format=s16le", "--channels=1",
                                QStringLiteral("--rate=%1").arg(kRecordRate), "--latency-msec=20"});
        // Recording has begun once the monitor's first samples arrive (silence, until we play):
        // a stream still connecting when a short tune ends would record nothing of it.
        m_started = m_parec.waitForStarted(5000) && m_parec.waitForReadyRead(5000);
    }
    ~MonitorRecording() { finish(); }
    bool started() const { return m_started; }
    // Stops recording; the loudest sample seen, 0 to 1.
    double peak() {
        finish();
        const auto* s = reinterpret_cast<const qint16*>(m_bytes.constData());
        int best = 0;
        for (qsizetype i = 0; i < m_bytes.size() / 2; ++i)
            best = std::max(best, std::abs(int(s[i])));
        return best / 32768.0;
    }

  private:
    void finish() {
        if (m_parec.state() == QProcess::NotRunning) return;
        m_bytes += m_parec.readAllStandardOutput();
        m_parec.terminate();
        m_parec.waitForFinished(3000);
        m_bytes += m_parec.readAllStandardOutput();
    }
    QProcess m_parec;
    QByteArray m_bytes;
    bool m_started = false;
};

class RealPlayback : public ::testing::Test {
  protected:
    void SetUp() override {
        if (!soundServerAnswers())
            GTEST_SKIP() << "no sound server answers (scripts/test starts a headless PulseAudio with a null "
                            "sink); real playback not tried";
        ASSERT_TRUE(dir.isValid());
    }

    // Three seconds of a tone, through sox: long enough that the position is seen moving even when a
    // loaded machine reports "Playing" a second late.
    QString soxTune(const QString& name, double seconds = 3.0) {
        const QString path = dir.filePath(name);
        const auto sox = runProgram("sox", {"-n", "-r", "22050", "-c", "1", path, "synth",
                                            QString::number(seconds), "sine", "440", "gain", "-3"});
        EXPECT_EQ(sox.exitCode, 0) << "sox failed: " << sox.err.toStdString();
        return path;
    }
    // A short tune from our own Standard MIDI File writer, on a piano: a sharp attack, heard at once.
    QString midiTune(const QString& name) {
        const import::Tune tune{
            .beatsPerMinute = 180, .program = 0, .notes = {{67, 2}, {72, 2}, {76, 2}, {79, 4}}};
        writeBytes(dir.filePath(name), import::midiFile(tune));
        return dir.filePath(name);
    }

    // Plays `path` to its end and checks how. Returns what went wrong with the sound itself (the
    // position standing still, silence recorded), "" when nothing did; `peak` is the loudest sample.
    std::string playsToTheEnd(const QString& path, double& peak) {
        platform::QtMediaPlayer player;
        QStringList statuses;
        // What happened when, printed with any failure below: a status at its time and position,
        // and the player's error text.
        QStringList story;
        QElapsedTimer since;
        since.start();
        const auto told = [&] { return (story.join(' ') + " | error: " + player.errorText()).toStdString(); };
        // The backend decodes and plays on threads of its own; what reaches our code must come on ours.
        int offThread = 0;
        QObject::connect(&player, &platform::MediaPlayer::statusChanged, [&] {
            statuses << player.statusText();
            story << QStringLiteral("%1@%2ms/%3s")
                         .arg(player.statusText())
                         .arg(since.elapsed())
                         .arg(player.position());
            if (QThread::currentThread() != player.thread()) ++offThread;
        });
        MonitorRecording recording;
        EXPECT_TRUE(recording.started()) << "parec did not start (package pulseaudio-utils)";
        if (!recording.started()) return "no recording";
        player.setSource(path);
        player.play();
        EXPECT_TRUE(reaches(player, "Playing")) << "never played: " << told();
        if (player.statusText() != "Playing") return "never played";

        // The position moves on while playing, and never backwards.
        double first = player.position(), last = first;
        QElapsedTimer playing;
        playing.start();
        while (player.statusText() == "Playing" && playing.elapsed() < 20000) {
            pump(50);
            const double p = player.position();
            if (player.statusText() != "Playing") break;
            EXPECT_GE(p, last);
            last = std::max(last, p);
        }
        std::string wrong;
        if (last <= first + 0.5)
            wrong +=
                "the position hardly moved (" + std::to_string(first) + " to " + std::to_string(last) + "); ";

        EXPECT_TRUE(reaches(player, "Stopped", 20000)) << "the end was not reported: " << told();
        pump(300);
        peak = recording.peak();
        if (peak <= 0.001) wrong += "silence came out; "; // a null sink's silence is exactly 0
        EXPECT_EQ(statuses.count("Stopped"), 1) << statuses.join(',').toStdString();
        EXPECT_EQ(offThread, 0) << "status changes reported from another thread";
        if (!wrong.empty()) wrong += told();
        return wrong;
    }
    // Once on a loaded build machine the sound server took a stream's sound and position nowhere
    // (a MIDI tune, the software synthesizer's first of the run). The sound is tried a second time
    // before it counts as broken; a player that never sounds fails both, and the first try's story
    // is printed either way. The loudest sample of the try that sounded.
    double soundsToTheEnd(const QString& path) {
        double peak = 0;
        std::string wrong = playsToTheEnd(path, peak);
        if (wrong.empty()) return peak;
        std::fprintf(stderr, "first try: %s\n", wrong.c_str());
        wrong = playsToTheEnd(path, peak);
        EXPECT_EQ(wrong, "");
        return peak;
    }

    // Bytes no decoder makes sense of, the same on every run. No byte is 0xFF: random bytes with it
    // hold MPEG frame syncs (0xFF 0xEx), and a decoder that locked onto a few played the noise.
    QString garbage(const QString& name, int bytes = 64 * 1024) {
        const QString path = dir.filePath(name);
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        QRandomGenerator rng(1234);
        QByteArray noise(bytes, Qt::Uninitialized);
        for (char& c : noise)
            c = static_cast<char>(rng.bounded(0xFF));
        f.write(noise);
        return path;
    }

    QTemporaryDir dir;
};

// The hymn player's controller over a real player, and what it told: the player's statuses (with
// any error), the recordings it could not play, and each end that asked for the next hymn, on which
// `next` (when set) is picked and loaded as the lists do it.
struct HymnRig {
    platform::QtMediaPlayer player;
    FakePrompts prompts;
    hymns::HymnPlayer hymn{player, prompts};
    QStringList statuses, told;
    int wanted = 0;
    std::function<QString()> next;

    HymnRig() {
        QObject::connect(&player, &platform::MediaPlayer::statusChanged, [this] {
            const QString error = player.errorText();
            statuses << player.statusText() + (error.isEmpty() ? "" : " (" + error + ")");
        });
        QObject::connect(&hymn, &hymns::HymnPlayer::playbackFailed,
                         [this](const QString& path, const QString&) { told << path; });
        QObject::connect(&hymn, &hymns::HymnPlayer::nextHymnWanted, [this] {
            ++wanted;
            if (!next) return;
            hymn.onPickStarted();
            hymn.onHymnLoaded(next());
        });
    }
    std::tuple<platform::QtMediaPlayer&, hymns::HymnPlayer&> parts() { return {player, hymn}; }
    bool showsPlay() const {
        return platform::shownPlayerPicture(hymn.PlayPause_Cantique) == playback::kPicturePlay;
    }
};

// The main window on a data folder of its own, with the real players.
struct RealWindow {
    TempFolder data, config;
    FakePrompts prompts;
    FakeShell shell;
    FakeCommonDialog dialogs;
    std::vector<platform::MediaPlayer*> players;
    platform::Platform platform{[this](QObject* parent) {
                                    auto* p = new platform::QtMediaPlayer(parent);
                                    players.push_back(p);
                                    return p;
                                },
                                prompts, shell, dialogs};
    std::unique_ptr<app::FrmLumora> window;

    bool open() {
        const session::DataPathLocations where{config.path() + "/LMR/Lumora.path", data.path(),
                                               config.path() + "/LMR/Lumora.conf"};
        writeBytes(where.pathFile, QFile::encodeName(data.path()) + "\r\n");
        window = std::make_unique<app::FrmLumora>(platform, where);
        return window->load();
    }
};

// MIDI tunes came out about 20 dB below the recordings: GStreamer's synthesiser plays at a gain of
// 0.2. The level is that of the monitor, as a listener hears it.
TEST_F(RealPlayback, mp3WavAndMid_soundAdvanceAndReportStoppedAtTheEnd_allAtTheLevelOfTheRecordings) {
    for (const QString& tune : {soxTune("tune.mp3"), soxTune("tune.wav"), midiTune("tune.mid")}) {
        SCOPED_TRACE(tune.toStdString());
        const double peak = soundsToTheEnd(tune);
        std::printf("[ level ] %s peak %.3f\n", qPrintable(tune.section('/', -1)), peak);
        EXPECT_GT(peak, 0.15);
    }
}

// Seeks made before play: while the media still loads (QMediaPlayer dropped those: a chapter began
// at 0, not at its first mark), once it is ready (Cmd_Go on a loaded hymn), after its end (a replay
// from the first mark), and past the end of a recording its marks run past (GStreamer complained).
// A close while playing is no end of the recording.
TEST_F(RealPlayback, seeksBeforePlayAreApplied_pastTheEndPlaysTheEnd_andACloseIsNoEnd) {
    const QString tune = soxTune("seek.wav", 2), other = soxTune("other.wav", 2);
    platform::QtMediaPlayer player;
    const struct {
        const char* what;
        QString source; // set before the seek, "" none
        bool ready;     // the seek waits until the media is loaded
        double at;
    } seeks[] = {{"while loading", tune, false, 0.5},
                 {"after the end", {}, false, 1.5},
                 {"ready", other, true, 1.2},
                 {"past the end", tune, true, 30}};
    for (const auto& s : seeks) {
        SCOPED_TRACE(s.what);
        if (!s.source.isEmpty()) player.setSource(s.source);
        if (s.ready) {
            ASSERT_TRUE(reaches(player, "Ready"));
        }
        player.setPosition(s.at);
        player.play();
        if (s.at < 2) { // within the recording: it plays from there
            ASSERT_TRUE(reaches(player, "Playing"));
            pump(50);
            EXPECT_GE(player.position(), s.at);
        }
        EXPECT_TRUE(reaches(player, "Stopped")) << player.statusText().toStdString();
        EXPECT_LE(player.position(), 2.05);
    }

    QStringList statuses;
    QObject::connect(&player, &platform::MediaPlayer::statusChanged,
                     [&] { statuses << player.statusText(); });
    player.setSource(other);
    player.play();
    ASSERT_TRUE(reaches(player, "Playing"));
    player.close();
    player.setSource(tune);
    pump(300);
    EXPECT_FALSE(statuses.contains("Stopped")) << statuses.join(',').toStdString();
    EXPECT_EQ(player.statusText(), "Ready");
}

namespace {

// A loaded machine, as GStreamer meets it: while a new media loads, the player asks its length, and
// by the time the question goes out the decoder is linked to the sound sink but has not worked the
// length out yet. Qt's backend seeks the new media with its end at the length it was told, so an
// mp3 then "ends" at 0: play went to "Playing" and stopped at once, without a sound. While armed,
// every length asked of a pipeline whose media is still loading waits until the media's format
// reached its sound sink, and is answered 0; asked later, it is answered as it is. A tracer's hooks
// run on the thread that asks.
std::atomic<bool> slowLoading{false};
std::atomic<int> lengthsAnsweredZero{0};
thread_local bool answerZero = false;

bool soundSinkHasFormat(GstElement* pipeline) {
    bool found = false;
    GstIterator* it = gst_bin_iterate_recurse(GST_BIN(pipeline));
    GValue item = G_VALUE_INIT;
    while (!found && gst_iterator_next(it, &item) == GST_ITERATOR_OK) {
        auto* element = static_cast<GstElement*>(g_value_get_object(&item));
        GstElementFactory* factory = gst_element_get_factory(element);
        if (factory && g_strcmp0(gst_plugin_feature_get_name(GST_PLUGIN_FEATURE(factory)), "pulsesink") == 0)
            if (GstPad* pad = gst_element_get_static_pad(element, "sink")) {
                if (GstCaps* caps = gst_pad_get_current_caps(pad)) {
                    found = true;
                    gst_caps_unref(caps);
                }
                gst_object_unref(pad);
            }
        g_value_reset(&item);
    }
    g_value_unset(&item);
    gst_iterator_free(it);
    return found;
}

void beforeQuery(GObject*, GstClockTime, GstElement* element, GstQuery* query) {
    if (GST_QUERY_TYPE(query) != GST_QUERY_DURATION || !GST_IS_PIPELINE(element) || !slowLoading ||
        soundSinkHasFormat(element))
        return;
    for (int waited = 0; waited < 3000 && !soundSinkHasFormat(element); waited += 5)
        g_usleep(5000);
    answerZero = true;
}

void afterQuery(GObject*, GstClockTime, GstElement*, GstQuery* query, gboolean) {
    if (!std::exchange(answerZero, false)) return;
    gst_query_set_duration(query, GST_FORMAT_TIME, 0);
    ++lengthsAnsweredZero;
}

struct SlowLoadTracer {
    GstTracer parent;
};
struct SlowLoadTracerClass {
    GstTracerClass parent;
};
G_DEFINE_TYPE(SlowLoadTracer, slow_load_tracer, GST_TYPE_TRACER)
void slow_load_tracer_class_init(SlowLoadTracerClass*) {}
void slow_load_tracer_init(SlowLoadTracer* self) {
    gst_tracing_register_hook(GST_TRACER(self), "element-query-pre", G_CALLBACK(beforeQuery));
    gst_tracing_register_hook(GST_TRACER(self), "element-query-post", G_CALLBACK(afterQuery));
}

void traceLengthQueries() {
    static const gpointer tracer = [] {
        gst_init(nullptr, nullptr);
        return g_object_new(slow_load_tracer_get_type(), nullptr); // kept for the whole run
    }();
    (void)tracer;
}

} // namespace

// The hymn played at once on loading (continuous play), a chapter played from its first mark, and
// a recording played once it is ready: each sounds to its end.
TEST_F(RealPlayback, anMp3LoadedBeforeItsLengthIsKnown_playsToItsEnd) {
    traceLengthQueries();
    const QString tune = soxTune("unknown.mp3", 3);
    const struct {
        const char* what;
        double from;    // a seek before play, -1 none
        bool waitReady; // play once the media is loaded
    } flows[] = {{"played at once", -1, false}, {"from a mark", 1.0, false}, {"once ready", -1, true}};
    for (const auto& flow : flows) {
        SCOPED_TRACE(flow.what);
        platform::QtMediaPlayer player;
        QStringList statuses;
        QObject::connect(&player, &platform::MediaPlayer::statusChanged,
                         [&] { statuses << player.statusText(); });
        MonitorRecording recording;
        ASSERT_TRUE(recording.started());
        lengthsAnsweredZero = 0;
        slowLoading = true;
        player.setSource(tune);
        EXPECT_GE(lengthsAnsweredZero, 1) << "the player never asked the length while loading";
        if (flow.waitReady) {
            ASSERT_TRUE(reaches(player, "Ready"));
        }
        if (flow.from >= 0) player.setPosition(flow.from);
        player.play();
        const double furthest = furthestUntilStopped(player);
        slowLoading = false;
        EXPECT_EQ(statuses.count("Stopped"), 1) << statuses.join(',').toStdString();
        EXPECT_GT(furthest, 2.5) << statuses.join(',').toStdString();
        EXPECT_GT(recording.peak(), 0.1) << "silence came out";
    }
}

// A MIDI tune cannot seek: asked to play from a point, it plays from its start, and says where it
// is rather than the point asked for (the hymn's "Sample" read a position that never moved).
TEST_F(RealPlayback, aTuneThatCannotSeek_playsFromItsStartAndSaysWhereItIs) {
    platform::QtMediaPlayer player;
    player.setSource(midiTune("go.mid")); // 1.67 s
    player.setPosition(1.0);
    player.play();
    ASSERT_TRUE(reaches(player, "Playing"));
    EXPECT_GT(furthestUntilStopped(player), 1.5);
    EXPECT_EQ(player.statusText(), "Stopped");
}

// What FakeMediaPlayer::endOfMedia() copies: the backend ends a recording with its playback state
// going to stopped, then its media status to the end of the media, both before the event loop runs
// again (a handler of the first that plays again is inside the backend's own stop).
TEST_F(RealPlayback, backendEndsARecordingStoppedFirstThenEndOfMedia_inOneGo) {
    const QString tune = soxTune("order.wav", 1);
    QMediaPlayer raw;
    QAudioOutput output;
    raw.setAudioOutput(&output);
    QStringList order;
    int loopTurns = 0;
    QTimer turns;
    QObject::connect(&turns, &QTimer::timeout, [&] { ++loopTurns; });
    turns.start(0);
    QObject::connect(&raw, &QMediaPlayer::playbackStateChanged, [&](QMediaPlayer::PlaybackState s) {
        if (s == QMediaPlayer::StoppedState) order << QStringLiteral("stopped@%1").arg(loopTurns);
    });
    QObject::connect(&raw, &QMediaPlayer::mediaStatusChanged, [&](QMediaPlayer::MediaStatus s) {
        if (s == QMediaPlayer::EndOfMedia) order << QStringLiteral("end@%1").arg(loopTurns);
    });
    raw.setSource(QUrl::fromLocalFile(tune));
    raw.play();
    ASSERT_TRUE(waitUntil([&] { return order.size() >= 2; }, 10000)) << order.join(',').toStdString();
    ASSERT_EQ(order.size(), 2);
    EXPECT_TRUE(order[0].startsWith("stopped@")) << order.join(',').toStdString();
    EXPECT_TRUE(order[1].startsWith("end@")) << order.join(',').toStdString();
    EXPECT_EQ(order[0].mid(order[0].indexOf('@')), order[1].mid(order[1].indexOf('@')))
        << "the event loop ran between the two";
}

// end of a recording with a mode on: repeat and continuous acted from inside GStreamer's own stop,
// before its end of media came, and the pipeline then never moved again (silence, "pause" showing)
TEST_F(RealPlayback, hymnContinuous_theEndAsksForTheNextHymn_twoHymnsInARowBothPlayToTheirEnd) {
    const QString first = midiTune("1.mid"), second = soxTune("2.mp3", 2);
    HymnRig rig;
    auto [player, hymn] = rig.parts();
    const int& wanted = rig.wanted;
    double secondReached = 0;
    bool secondPlaying = false;
    rig.next = [&] { return wanted == 1 ? second : first; };
    hymn.onHymnLoaded(first);
    hymn.toggleContinuous();
    hymn.playPause();
    ASSERT_TRUE(waitUntil([&] { return wanted == 1; }, 15000))
        << "the first hymn never ended; statuses: " << rig.statuses.join(',').toStdString();
    EXPECT_EQ(player.source(), second);
    EXPECT_TRUE(hymn.isHolding());
    MonitorRecording recording;
    ASSERT_TRUE(waitUntil(
        [&] {
            if (wanted == 1) {
                secondReached = std::max(secondReached, player.position());
                secondPlaying = secondPlaying || player.statusText() == "Playing";
            }
            return wanted == 2;
        },
        15000))
        << "the second hymn stalled at " << secondReached << " s, status "
        << player.statusText().toStdString();
    EXPECT_TRUE(secondPlaying);
    EXPECT_GT(secondReached, 1.0);
    EXPECT_GT(recording.peak(), 0.001) << "the second hymn was silent";
    // Loading a hymn picked while one plays stops that one, and a stop while the next one plays:
    // neither is the end of a hymn.
    EXPECT_TRUE(reaches(player, "Playing"));
    hymn.onPickStarted();
    hymn.onHymnLoaded(second);
    pump(800);
    EXPECT_EQ(player.source(), second);
    EXPECT_NE(player.statusText(), "Playing");
    hymn.playPause();
    EXPECT_TRUE(reaches(player, "Playing"));
    hymn.stop();
    pump(200);
    EXPECT_EQ(wanted, 2);
}

TEST_F(RealPlayback, hymnRepeat_playsTheHymnAgainAndAgain) {
    const QString tune = soxTune("r.wav", 1.5);
    HymnRig rig;
    auto [player, hymn] = rig.parts();
    double lastPosition = 0;
    int restarts = 0; // the position went back to the start and moved on again
    hymn.onHymnLoaded(tune);
    hymn.toggleRepeat();
    hymn.playPause();
    const bool done = waitUntil(
        [&] {
            const double p = player.position();
            if (p + 0.5 < lastPosition) ++restarts;
            lastPosition = p;
            return restarts >= 2 && p > 0.5;
        },
        20000);
    EXPECT_TRUE(done) << "ends " << rig.statuses.count("Stopped") << ", restarts " << restarts
                      << ", stalled at " << lastPosition << " s, status "
                      << player.statusText().toStdString();
    EXPECT_EQ(platform::shownPlayerPicture(hymn.PlayPause_Cantique), playback::kPicturePause);
    hymn.stop();
}

// Bible repeat replayed the passage once, then stalled the same way
TEST_F(RealPlayback, bibleRepeat_thePassageIsReplayedTwice) {
    RealWindow w;
    // Matthew 5:18-20 (the passage shown at the start) is read from 1 s to 4 s of a 6 s recording.
    FixtureOptions opt;
    opt.mark = [](int b, int c, int v) {
        return b == 40 && c == 5 && v >= 18 ? QByteArray::number(v - 17) + ",00000" : QByteArray("0");
    };
    std::vector<FixtureBook> books = fixtureBooks(6, 25);
    books[39].verses = [](int) { return 30; };
    writeFixtureVersion(w.data.path(), "AAA", books, opt);
    writeBytes(w.data.path() + "/Bible/Version.txt", "AAA - First\r\n");
    writeBytes(w.data.path() + "/Bible/AAA/Sound/Bk05.mp3", readBytes(soxTune("Bk05.mp3", 6)));
    ASSERT_TRUE(w.open());
    platform::MediaPlayer& player = *w.players.front();
    w.window->findChild<QToolButton*>("ImageRepeat")->click();

    int replays = 0;
    double last = 0, highest = 0;
    const bool done = waitUntil(
        [&] {
            const double p = player.position();
            highest = std::max(highest, p);
            if (p + 1.0 < last && last > 3.5) ++replays; // passed the passage's end, back at 1 s
            last = p;
            return replays >= 2 && p > 2.0;
        },
        25000);
    EXPECT_TRUE(done) << "replays " << replays << ", stalled at " << last << " s (highest " << highest
                      << "), status " << player.statusText().toStdString();
    EXPECT_LT(highest, 5.0) << "the passage ends at 4 s";
}

// A recording overwritten while it plays, or that cannot be decoded at all, showed "playing" in
// silence, and continuous play stalled on it.
TEST_F(RealPlayback, brokenRecording_endsShowsPlayTellsOnce_aMendedOnePlays_continuousMovesOn) {
    const QString path = soxTune("changing.wav", 4), good = soxTune("good.wav", 1.5);
    HymnRig rig;
    auto [player, hymn] = rig.parts();
    rig.next = [&] { return good; };
    hymn.onHymnLoaded(path);
    hymn.PlayPause_Cantique->click();
    ASSERT_TRUE(waitUntil([&] { return player.position() > 0.8; }, 10000));
    garbage("changing.wav", 4096); // replaced in place, shorter, by bytes no decoder reads
    ASSERT_TRUE(reaches(player, "Stopped", 15000))
        << "still " << player.statusText().toStdString() << " at " << player.position() << " s";
    EXPECT_TRUE(rig.showsPlay());

    // Play now meets the broken file: it says so and shows play again, never "pause" over silence.
    hymn.PlayPause_Cantique->click();
    EXPECT_TRUE(waitUntil([&] { return rig.showsPlay() && !rig.told.isEmpty(); }, 10000))
        << "status " << player.statusText().toStdString();
    EXPECT_FALSE(player.errorText().isEmpty());
    const QStringList told = rig.told;
    hymn.playPause(); // again: still broken, not told twice
    pump(2000);
    EXPECT_EQ(rig.told, told);
    EXPECT_EQ(rig.told.last(), path);
    EXPECT_TRUE(rig.showsPlay());

    // Mended meanwhile: the next Play plays it.
    ASSERT_TRUE(QFile::remove(path));
    soxTune("changing.wav", 2);
    hymn.PlayPause_Cantique->click();
    EXPECT_TRUE(waitUntil([&] { return player.position() > 0.5; }, 10000)) << "the mended file did not play";
    hymn.stop();

    // Continuous play tells and moves on from one no decoder reads from its start.
    hymn.onHymnLoaded(garbage("broken.mp3"));
    hymn.toggleContinuous();
    hymn.PlayPause_Cantique->click();
    ASSERT_TRUE(waitUntil([&] { return rig.wanted == 1; }, 10000))
        << "continuous play stalled on the failure";
    EXPECT_EQ(rig.told.last(), dir.filePath("broken.mp3"));
    EXPECT_TRUE(waitUntil([&] { return player.position() > 0.5; }, 10000)) << "the next hymn did not play";
    hymn.stop();
}

// the sound server restarted: the first Play afterwards froze the window for good (GStreamer's
// pulsesink: the window's position query against the sink starting on a server that is gone)
namespace {

qint64 steadyMs() {
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

// The window's thread answers events: a timer on it keeps firing. When the thread hangs for good,
// a watchdog ends the test program (a deadlock would otherwise hang the whole run).
class WindowAnswers {
  public:
    WindowAnswers() {
        QObject::connect(&m_timer, &QTimer::timeout, [this] {
            const qint64 t = steadyMs();
            m_longest = std::max(m_longest, t - m_beat);
            m_beat = t;
        });
        m_timer.start(20);
        m_watchdog = std::thread([this] {
            while (!m_done) {
                std::this_thread::sleep_for(std::chrono::milliseconds(200));
                if (steadyMs() - m_beat > 20000) {
                    std::fprintf(stderr, "RealPlayback: the window thread has not answered for 20 s\n");
                    std::_Exit(3);
                }
            }
        });
    }
    ~WindowAnswers() {
        m_done = true;
        m_watchdog.join();
    }
    qint64 longestGapMs() const { return m_longest; }

  private:
    QTimer m_timer;
    std::atomic<qint64> m_beat{steadyMs()};
    std::atomic<bool> m_done{false};
    qint64 m_longest = 0;
    std::thread m_watchdog;
};

// Our own sound server (the one in this XDG_RUNTIME_DIR), killed as a crash would end it, and
// started again exactly as scripts/sound-server starts it.
bool killSoundServer() {
    QFile pidFile(qEnvironmentVariable("XDG_RUNTIME_DIR") + "/pulse/pid");
    if (!pidFile.open(QIODevice::ReadOnly)) return false;
    const int pid = pidFile.readAll().trimmed().toInt();
    pidFile.close();
    if (pid <= 1 || ::kill(pid, SIGKILL) != 0) return false;
    const QString stat = QStringLiteral("/proc/%1/stat").arg(pid);
    const auto ended = [&] {
        QFile f(stat);
        return !f.open(QIODevice::ReadOnly) || f.readAll().contains(") Z ");
    };
    if (!waitUntil(ended, 5000)) return false;
    // Until its parent collects it, the dead server still counts as running for a new one that
    // finds its pid file: that file goes, as it would have with the process.
    if (QFile::exists(stat)) pidFile.remove();
    return waitUntil([] { return !soundServerAnswers(); }, 5000);
}

bool startSoundServer() {
    runPumping("bash", {"-c", "source \"$0\"", QStringLiteral(LUMORA_SOURCE_DIR "/scripts/sound-server")},
               20000);
    return soundServerAnswers();
}

// Leaves a server running whatever the test did.
struct ServerBack {
    ~ServerBack() {
        if (!soundServerAnswers()) startSoundServer();
    }
};

} // namespace

TEST_F(RealPlayback, soundServerRestarts_theWindowAnswersThroughoutAndPlayComesBack) {
    if (qEnvironmentVariable("XDG_RUNTIME_DIR").isEmpty() ||
        !QFile::exists(qEnvironmentVariable("XDG_RUNTIME_DIR") + "/pulse/pid"))
        GTEST_SKIP() << "the sound server is not one of ours (no pid file in XDG_RUNTIME_DIR)";
    const ServerBack leaveOneRunning;
    WindowAnswers window;
    const QString first = soxTune("a.wav", 2), second = soxTune("b.mp3", 4);
    HymnRig rig;
    auto [player, hymn] = rig.parts();

    // The player has a stream on the server; the server restarts while it stands idle.
    hymn.onHymnLoaded(first);
    hymn.playPause();
    ASSERT_TRUE(waitUntil([&] { return player.position() > 0.3; }, 10000));
    hymn.stop();
    pump(200);
    ASSERT_TRUE(killSoundServer()) << "could not end our sound server";
    pump(500);
    ASSERT_TRUE(startSoundServer()) << "scripts/sound-server did not bring a server back";
    {
        MonitorRecording recording;
        ASSERT_TRUE(recording.started());
        hymn.playPause();
        EXPECT_TRUE(reaches(player, "Stopped", 15000))
            << "after the restart the hymn did not play through; " << player.statusText().toStdString()
            << " at " << player.position() << " s";
        EXPECT_GT(recording.peak(), 0.001) << "silence after the restart";
    }
    EXPECT_LT(window.longestGapMs(), 3000);

    // The server dies while a hymn plays: the player stops and says so, Play answers while it is
    // gone, and plays again once it is back.
    hymn.onHymnLoaded(second);
    hymn.playPause();
    ASSERT_TRUE(waitUntil([&] { return player.position() > 0.5; }, 10000));
    ASSERT_TRUE(killSoundServer());
    EXPECT_TRUE(waitUntil([&] { return rig.showsPlay(); }, 10000))
        << "the lost server left the player " << player.statusText().toStdString();
    hymn.PlayPause_Cantique->click(); // no server at all
    pump(2000);
    EXPECT_GE(rig.told.size(), 1);
    ASSERT_TRUE(startSoundServer());
    {
        MonitorRecording recording;
        ASSERT_TRUE(recording.started());
        if (!rig.showsPlay()) hymn.PlayPause_Cantique->click(); // pause what did not play
        hymn.PlayPause_Cantique->click();
        EXPECT_TRUE(waitUntil([&] { return player.position() > 1.0; }, 15000))
            << "no sound once the server was back; " << rig.statuses.join(", ").toStdString();
        pump(300);
        EXPECT_GT(recording.peak(), 0.001);
    }
    hymn.stop();
    EXPECT_LT(window.longestGapMs(), 3000);
}

namespace {

// A sound server started on demand behind a socket held for it, as systemd's socket activation
// does on a desktop: the socket outlives the server, and a server started again takes it over.
// While it lives, sound goes to it (PULSE_SERVER) rather than to the tests' own server; its
// output has the same name as theirs, which Qt's list of devices may already hold.
class ServerBehindHeldSocket {
  public:
    ServerBehindHeldSocket() {
        const QByteArray path = QFile::encodeName(m_dir.path()) + "/pulse/native";
        QDir(m_dir.path()).mkpath("pulse");
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        if (!m_dir.isValid() || std::size_t(path.size()) >= sizeof(address.sun_path)) return;
        std::memcpy(address.sun_path, path.constData(), std::size_t(path.size()));
        m_socket = ::socket(AF_UNIX, SOCK_STREAM, 0); // handed on to each server it starts
        if (m_socket < 0 || ::bind(m_socket, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
            ::listen(m_socket, 64) != 0)
            return;
        m_before = qgetenv("PULSE_SERVER");
        qputenv("PULSE_SERVER", "unix:" + path);
    }
    ~ServerBehindHeldSocket() {
        stop();
        if (m_socket >= 0) ::close(m_socket);
        if (m_before.isEmpty())
            qunsetenv("PULSE_SERVER");
        else
            qputenv("PULSE_SERVER", m_before);
    }
    bool start() {
        if (m_socket < 0) return false;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("XDG_RUNTIME_DIR", m_dir.path());
        m_server.setProcessEnvironment(env);
        m_server.start("bash", {"-c", QStringLiteral("exec 3<&%1; LISTEN_FDS=1 LISTEN_PID=$$ exec pulseaudio "
                                                     "--daemonize=no --system=false --exit-idle-time=-1 "
                                                     "--disallow-exit -n --load=module-native-protocol-unix "
                                                     "--load='module-null-sink sink_name=lumora_null'")
                                          .arg(m_socket)});
        return m_server.waitForStarted(5000) && waitUntil(soundServerAnswers, 10000);
    }
    QString said() { return QString::fromLocal8Bit(m_server.readAllStandardError()); }
    void stop() {
        if (m_server.state() == QProcess::NotRunning) return;
        m_server.kill(); // as a crash ends it
        m_server.waitForFinished(5000);
    }

  private:
    QTemporaryDir m_dir;
    int m_socket = -1;
    QByteArray m_before;
    QProcess m_server;
};

} // namespace

// Restarted behind its socket, the server looked like the one the player's backend was made for:
// the backend started a sound stream of the dead server, and the window thread hung for good.
TEST_F(RealPlayback, aSoundServerRestartedBehindItsHeldSocket_theWindowAnswersAndPlayComesBack) {
    ServerBehindHeldSocket server;
    ASSERT_TRUE(server.start()) << "no sound server started behind a held socket: "
                                << server.said().toStdString();
    WindowAnswers window;
    HymnRig rig;
    auto [player, hymn] = rig.parts();
    hymn.onHymnLoaded(soxTune("held.wav", 2));
    hymn.playPause();
    ASSERT_TRUE(waitUntil([&] { return player.position() > 0.3; }, 10000));
    hymn.stop();
    pump(200);
    server.stop();
    ASSERT_TRUE(server.start()) << "the server did not start again behind its socket: "
                                << server.said().toStdString();
    MonitorRecording recording;
    ASSERT_TRUE(recording.started());
    hymn.playPause();
    EXPECT_TRUE(reaches(player, "Stopped", 15000))
        << "after the restart the hymn did not play through; " << rig.statuses.join(", ").toStdString();
    EXPECT_GT(recording.peak(), 0.001) << "silence after the restart";
    EXPECT_LT(window.longestGapMs(), 3000);
}

// The chapter read aloud through the sound server, the window following it, and the remote page
// in headless chromium lighting each verse as the window does.
class RemotePageSound : public RealPlayback {};

TEST_F(RemotePageSound, theRemotePageLightsTheVersesAsTheReadingReachesThem) {
    if (HeadlessChromium::executable().isEmpty()) GTEST_SKIP() << "chromium is not installed";
    // Psalm 23 read in 7 seconds, verse v starting at v - 1 seconds.
    RealWindow w;
    FixtureOptions opt = psalm23Options();
    opt.mark = [](int b, int c, int v) {
        return b == 19 && c == 23 ? QByteArray::number(v - 1) + ",50000" : QByteArray("0");
    };
    writeFixtureVersion(w.data.path(), "KJV", psalm23Books(), opt);
    writeBytes(w.data.path() + "/Bible/Version.txt", "KJV - King James Version\r\n");
    writeBytes(w.data.path() + "/Bible/KJV/Sound/Ps23.mp3", readBytes(soxTune("Ps23.mp3", 7)));
    ASSERT_TRUE(w.open());
    remote::RemoteService& service = w.window->remote().service();
    ASSERT_TRUE(service.store().setSettings({4320, QStringLiteral("127.0.0.1"), false}));
    const std::optional<QString> error = service.start(quint16(0)); // any free pair of ports
    ASSERT_FALSE(error) << error->toStdString();
    const QByteArray token = service.store().add(QStringLiteral("Phone"), remote::Role::Control);
    const QString base = QStringLiteral("http://127.0.0.1:%1").arg(service.server().httpPort());
    const app::NowShowingFeed& feed =
        w.window->findChild<app::WindowLinks*>(QStringLiteral("windowLinks"))->nowShowing();

    HeadlessChromium browser;
    QString why;
    ASSERT_TRUE(browser.start(&why)) << why.toStdString();
    ASSERT_TRUE(
        browser.call(QStringLiteral("Network.setCookie"),
                     {{"name", "lumora_token"}, {"value", QString::fromLatin1(token)}, {"url", base}}))
        << browser.error().toStdString();
    ASSERT_TRUE(browser.navigate(base + QStringLiteral("/"))) << browser.error().toStdString();
    ASSERT_TRUE(processUntil([&] { return service.server().openWebSockets() == 1; }));
    // The page keeps every verse it lights, in order.
    browser.evaluate(QStringLiteral(R"(window.__lit = [];
        new MutationObserver(() => {
            const h = document.querySelector('.verse.heard');
            if (h && window.__lit[window.__lit.length - 1] !== h.dataset.label) window.__lit.push(h.dataset.label);
        }).observe(document.getElementById('verses'), {subtree: true, childList: true, attributes: true});
        true)"));

    // Picking the chapter starts its reading.
    auto* books = w.window->findChild<QListWidget*>(QStringLiteral("List_livre"));
    auto* chapters = w.window->findChild<QListWidget*>(QStringLiteral("List_chapitre"));
    ASSERT_TRUE(books && chapters);
    bible::selectRow(books, 18);
    bible::selectRow(chapters, 22);
    EXPECT_TRUE(processUntil(
        [&] { return browser.evaluate(QStringLiteral("window.__lit.includes('23.5')")).toBool(); }, 20000))
        << "lit: "
        << QJsonDocument(browser.evaluate(QStringLiteral("window.__lit")).toArray()).toJson().constData()
        << " window: " << session::describe(feed.now()).toStdString();
    const QStringList labels = browser.evaluate(QStringLiteral("window.__lit")).toVariant().toStringList();
    // in the order read, none skipped back
    QStringList sorted = labels;
    std::sort(sorted.begin(), sorted.end());
    EXPECT_EQ(labels, sorted);
    EXPECT_GE(labels.size(), 3) << labels.join(' ').toStdString();
    service.stop();
}

} // namespace
