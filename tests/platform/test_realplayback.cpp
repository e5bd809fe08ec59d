// Real sound through the Qt player: an mp3, a wav and a mid are played to the sound server, whose
// output is recorded from its monitor. Needs a sound server (scripts/test starts a headless one
// with a null output); skipped when none answers.

#include "platform/qt/qtmediaplayer.h"
#include "support/clirun.h"

#include "hymns/ui/hymnplayer.h"
#include "import/audio.h"
#include "support/fakes.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

#include <cmath>
#include <functional>

using namespace lumora;

namespace {

constexpr int kRecordRate = 22050;

bool soundServerAnswers() {
    return lumora::testing::runProgram("pactl", {"info"}, QProcessEnvironment::systemEnvironment(), 5000)
               .exitCode == 0;
}

bool waitUntil(const std::function<bool()>& done, int timeoutMs) {
    QElapsedTimer t;
    t.start();
    while (!done()) {
        if (t.elapsed() > timeoutMs) return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    return true;
}

void pump(int ms) {
    waitUntil([] { return false; }, ms);
}

// Records the sound server's output (the monitor of its default sink) while it lives.
class MonitorRecording {
  public:
    MonitorRecording() {
        m_parec.start("parec", {"-d", "@DEFAULT_MONITOR@", "--raw", "--format=s16le", "--channels=1",
                                QStringLiteral("--rate=%1").arg(kRecordRate)});
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
        const auto sox =
            lumora::testing::runProgram("sox", {"-n", "-r", "22050", "-c", "1", path, "synth",
                                                QString::number(seconds), "sine", "440", "gain", "-3"});
        EXPECT_EQ(sox.exitCode, 0) << "sox failed: " << sox.err.toStdString();
        return path;
    }
    // A short tune from our own Standard MIDI File writer.
    QString midiTune(const QString& name) {
        import::Tune tune;
        tune.beatsPerMinute = 180;
        tune.program = 0; // piano: a sharp attack, heard at once
        tune.notes = {{67, 2}, {72, 2}, {76, 2}, {79, 4}};
        const QString path = dir.filePath(name);
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(import::midiFile(tune));
        return path;
    }

    // Plays `path` to its end and checks what came out.
    void playsToTheEnd(const QString& path) {
        platform::QtMediaPlayer player;
        QStringList statuses;
        // The backend decodes and plays on threads of its own; what reaches our code must come on ours.
        int offThread = 0;
        QObject::connect(&player, &platform::MediaPlayer::statusChanged, [&] {
            statuses << player.statusText();
            if (QThread::currentThread() != player.thread()) ++offThread;
        });
        MonitorRecording recording;
        ASSERT_TRUE(recording.started()) << "parec did not start (package pulseaudio-utils)";
        player.setSource(path);
        player.play();
        ASSERT_TRUE(waitUntil([&] { return player.statusText() == "Playing"; }, 10000))
            << "never played; statuses: " << statuses.join(',').toStdString();

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
        EXPECT_GT(last, first + 0.5) << "the position hardly moved";

        ASSERT_TRUE(waitUntil([&] { return player.statusText() == "Stopped"; }, 20000))
            << "the end was not reported; statuses: " << statuses.join(',').toStdString();
        pump(300);
        const double peak = recording.peak();
        EXPECT_GT(peak, 0.001) << "silence came out"; // a null sink's silence is exactly 0
        EXPECT_EQ(statuses.count("Stopped"), 1) << statuses.join(',').toStdString();
        EXPECT_EQ(offThread, 0) << "status changes reported from another thread";
    }

    QTemporaryDir dir;
};

TEST_F(RealPlayback, mp3_soundsAdvancesAndReportsStoppedAtTheEnd) {
    playsToTheEnd(soxTune("tune.mp3"));
}
TEST_F(RealPlayback, wav_soundsAdvancesAndReportsStoppedAtTheEnd) {
    playsToTheEnd(soxTune("tune.wav"));
}
TEST_F(RealPlayback, mid_soundsAdvancesAndReportsStoppedAtTheEnd) {
    playsToTheEnd(midiTune("tune.mid"));
}

// regressions
TEST_F(RealPlayback, seekMadeWhileLoading_isApplied) {
    // QMediaPlayer drops a seek made before the media can seek: a chapter would start at 0
    // instead of at its first mark.
    const QString path = soxTune("seek.wav");
    platform::QtMediaPlayer player;
    player.setSource(path);
    player.setPosition(0.5);
    player.play();
    ASSERT_TRUE(waitUntil([&] { return player.statusText() == "Playing"; }, 10000));
    pump(100);
    EXPECT_GE(player.position(), 0.5);
}

TEST_F(RealPlayback, closeWhilePlaying_doesNotReportStopped) {
    const QString path = soxTune("close.wav");
    platform::QtMediaPlayer player;
    QStringList statuses;
    QObject::connect(&player, &platform::MediaPlayer::statusChanged,
                     [&] { statuses << player.statusText(); });
    player.setSource(path);
    player.play();
    ASSERT_TRUE(waitUntil([&] { return player.statusText() == "Playing"; }, 10000));
    player.close();
    player.setSource(soxTune("next.wav"));
    pump(300);
    EXPECT_FALSE(statuses.contains("Stopped")) << statuses.join(',').toStdString();
    EXPECT_EQ(player.statusText(), "Ready");
}

TEST_F(RealPlayback, hymnPlayerInContinuousMode_theEndAsksForTheNextHymn) {
    const QString first = midiTune("1.mid"), second = soxTune("2.wav", 6);
    platform::QtMediaPlayer player;
    lumora::testing::FakePrompts prompts;
    hymns::HymnPlayer hymn(player, prompts);
    int wanted = 0;
    QStringList statuses;
    QObject::connect(&player, &platform::MediaPlayer::statusChanged,
                     [&] { statuses << player.statusText(); });
    QObject::connect(&hymn, &hymns::HymnPlayer::nextHymnWanted, [&] {
        ++wanted;
        hymn.onPickStarted();
        hymn.onHymnLoaded(second);
    });
    hymn.onHymnLoaded(first);
    hymn.toggleContinuous();
    hymn.playPause();
    ASSERT_TRUE(waitUntil([&] { return wanted > 0; }, 15000))
        << "the end asked for no next hymn; statuses: " << statuses.join(',').toStdString();
    EXPECT_EQ(player.source(), second);
    EXPECT_TRUE(hymn.isHolding());
    EXPECT_TRUE(waitUntil([&] { return player.statusText() == "Playing"; }, 10000));
    hymn.stop();
    pump(200);
    EXPECT_EQ(wanted, 1);
}

TEST_F(RealPlayback, hymnPickedWhilePlayingInContinuousMode_doesNotMoveOn) {
    // Loading a hymn stops the one playing; that stop is no end of a hymn.
    const QString first = soxTune("1.wav", 6), second = soxTune("2.wav", 6);
    platform::QtMediaPlayer player;
    lumora::testing::FakePrompts prompts;
    hymns::HymnPlayer hymn(player, prompts);
    int wanted = 0;
    QObject::connect(&hymn, &hymns::HymnPlayer::nextHymnWanted, [&] { ++wanted; });
    hymn.onHymnLoaded(first);
    hymn.toggleContinuous();
    hymn.playPause();
    ASSERT_TRUE(waitUntil([&] { return player.statusText() == "Playing"; }, 10000));
    pump(300);
    hymn.onPickStarted();
    hymn.onHymnLoaded(second);
    pump(800);
    EXPECT_EQ(wanted, 0);
    EXPECT_EQ(player.source(), second);
    EXPECT_NE(player.statusText(), "Playing");
}

TEST_F(RealPlayback, seekWhileStoppedThenPlay_startsThere) {
    // Cmd_Go on a loaded hymn, and a replay from the first mark after the end of a passage.
    const QString path = soxTune("stopped.wav", 2);
    platform::QtMediaPlayer player;
    player.setSource(path);
    ASSERT_TRUE(waitUntil([&] { return player.statusText() == "Ready"; }, 10000));
    player.setPosition(1.2);
    player.play();
    ASSERT_TRUE(waitUntil([&] { return player.statusText() == "Playing"; }, 10000));
    pump(50);
    EXPECT_GE(player.position(), 1.2);

    ASSERT_TRUE(waitUntil([&] { return player.statusText() == "Stopped"; }, 10000));
    player.setPosition(1.5);
    player.play();
    ASSERT_TRUE(waitUntil([&] { return player.statusText() == "Playing"; }, 10000));
    pump(50);
    EXPECT_GE(player.position(), 1.5);
}

} // namespace
