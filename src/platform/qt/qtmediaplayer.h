#pragma once

#include "platform/mediaplayer.h"

#include <QElapsedTimer>
#include <QPointer>

class QMediaPlayer;
class QAudioOutput;
class QSlider;
class QLabel;

namespace lumora::platform {

// MediaPlayer over QMediaPlayer (GStreamer backend: mp3, wav, and mid through fluidsynth).
//
// What it adds to QMediaPlayer, because callers depend on it:
// - close() and setSource() do not report "Stopped": that text means the recording ended (or a
//   stop the program asked for), and a player that said it on every change of passage would run
//   the end-of-passage handling each time;
// - a position set while the media is still loading, or after it played to its end, is kept and
//   applied once the media can seek or plays again (QMediaPlayer drops it, or restarts from 0),
//   and position() returns it meanwhile;
// - position() is fresh enough for a 50 ms follower: the backend refreshes its position only now
//   and then, so while playing it is interpolated from the last change and a monotonic clock,
//   never moving backwards between two seeks.
class QtMediaPlayer final : public MediaPlayer {
    Q_OBJECT
  public:
    explicit QtMediaPlayer(QObject* parent = nullptr);
    ~QtMediaPlayer() override;

    void setSource(const QString& path) override;
    QString source() const override { return m_source; }
    void setEnabled(bool enabled) override;
    bool isEnabled() const override { return m_enabled; }
    void close() override;
    void play() override;
    void pause() override;
    void stop() override;
    double position() const override;
    void setPosition(double seconds) override;
    QString statusText() const override { return m_status; }
    QWidget* widget() override;

  private:
    void setStatus(const QString& status);
    void onPlaybackState(int state);
    void onMediaStatus(int status);
    void applyPendingSeek();
    void restartClock(qint64 ms) const;

    QMediaPlayer* m_player = nullptr;
    QAudioOutput* m_output = nullptr;
    QPointer<QWidget> m_widget;
    QSlider* m_slider = nullptr;
    QLabel* m_time = nullptr;
    QString m_source;
    QString m_status = QStringLiteral("Closed");
    bool m_enabled = true;
    bool m_quiet = false;      // inside close() or setSource(): their own stop is no end of playback
    qint64 m_pendingSeek = -1; // ms, a seek made before the media could seek
    // Interpolation of the position (mutable: position() is const for callers).
    mutable qint64 m_reported = 0; // ms, the backend's last distinct position
    mutable qint64 m_returned = 0; // ms, the last position handed out since the last seek
    mutable QElapsedTimer m_sinceReport;
};

// Ends the process with `code` once main's own objects, the application object among them, are
// gone, without the libraries' exit-time teardown. Qt Multimedia (6.4) closes its PulseAudio
// connection from a global destructor while that connection's main-loop thread still runs, and
// now and then PulseAudio aborts on the half-torn state; everything of ours is written and closed
// before, so nothing is lost by leaving the libraries as they stand.
[[noreturn]] void exitWithoutLibraryTeardown(int code);

} // namespace lumora::platform
