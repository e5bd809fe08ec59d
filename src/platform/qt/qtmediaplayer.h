#pragma once

#include "platform/mediaplayer.h"

#include <QElapsedTimer>
#include <QPointer>
#include <QTimer>

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
//   never moving backwards between two seeks;
// - the end of the recording and a failure are each reported once, from the event loop: the backend
//   ends a recording in two signals (its playback state goes to stopped, then its media status to
//   the end of the media, both from within one call of its own), and a handler that played again
//   from inside the first found a pipeline that never moved again;
// - a failure (an unreadable or undecodable file, a recording changed under it, no sound output)
//   stops the player and is reported as "Stopped" with errorText(); the next source or play makes
//   a new backend, so that a file mended meanwhile plays;
// - the sound server may go away and come back (a restart): the backend's sound stream then belongs
//   to a server that is gone, and starting it makes GStreamer's pulsesink lock the window thread
//   for good (the window's position query against the sink's start). Before each source and play
//   the server is compared with the one the backend was made for; when it changed, the backend and
//   its audio output are made anew, so no call ever reaches a sink of a dead server. While playing,
//   the server is looked at every second: when it went away the playback fails ("Stopped" with
//   errorText()) instead of standing still with "Playing" shown;
// - a recording replaced since it was loaded (by a copy, an editor, a half-finished download) is
//   loaded again by the next play(): the old pipeline would read the new bytes with the old
//   file's layout, and stood still or sounded noise.
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
    QString errorText() const override { return m_error; }
    QWidget* widget() override;

  private:
    void createBackend();
    // A backend ready for the media when the one there failed or its sound server is gone: a new
    // one, unless the one there was made for the sound server there is now and was given nothing
    // yet. True when the backend has no media (see loadSource()).
    bool renewBackendIfStale();
    void replaceBackend();
    // Gives the backend m_source (stamped, see m_sourceStamp).
    void loadSource();
    // A backend "Playing" whose position has stood still for three ticks is sought where it stands.
    void nudgeIfStalled();
    // An end reported before the recording moved from where play() started it, on a recording
    // longer than a second: the backend's failure, not the end. True when the recording is played
    // again instead (once per play()).
    bool retryEmptyEnd();
    // Every player whose backend was made for another sound server than the one there now lets it
    // go; one that was playing or paused reports the failure, unless it is `asking` (about to load
    // or play anew).
    static void dropStaleBackends(const QtMediaPlayer* asking);
    void fail(const QString& why);
    // The end of playback, reported once from the event loop (see above).
    void queueEndReport(bool failure);
    void setStatus(const QString& status);
    void onPlaybackState(int state);
    void onMediaStatus(int status);
    void applyPendingSeek();
    // Seeks the media again once its length is known, when the last seek was made before (see
    // m_endMayBeZero).
    void reopenEnd();
    void restartClock(qint64 ms) const;

    QMediaPlayer* m_player = nullptr;
    QAudioOutput* m_output = nullptr;
    QTimer m_serverWatch;          // while playing: the sound server still the one the backend was made for,
                                   // and the backend's position still moving
    qint64 m_watchedPosition = -1; // ms, the backend's position at the last tick
    int m_stillTicks = 0;          // ticks the position stood still while playing
    QPointer<QWidget> m_widget;
    QSlider* m_slider = nullptr;
    QLabel* m_time = nullptr;
    QString m_source;
    QString m_status = QStringLiteral("Closed");
    bool m_enabled = true;
    QString m_error;
    QByteArray m_server;          // the sound server the backend was made for (soundServerIdentity)
    QByteArray m_sourceStamp;     // size and modification time of the source when it was loaded
    bool m_backendFailed = false; // the backend reported an error: the next source or play renews it
    bool m_backendFresh = true;   // the backend was given no source yet
    int m_reportTicket = 0;       // a queued end report carries the ticket it was queued with
    bool m_reportQueued = false;
    bool m_reportIsFailure = false;
    bool m_failureReported = false; // until the next source, play or stop
    bool m_stoppingFailed = false;  // stopping the backend after its failure
    bool m_quiet = false;      // inside close(), setSource() or stop(): their own stop is no end of playback
    qint64 m_pendingSeek = -1; // ms, a seek made before the media could seek
    // The backend sought the media (on loading it, or for us) before it knew the media's length.
    // Its seeks end where the length was then said to be: at 0, the media "ended" at once, playing
    // nothing, whenever the decoder was already linked (a loaded machine, an mp3 still parsed).
    bool m_endMayBeZero = false;
    qint64 m_playedFrom = 0; // ms, where the last play() started the recording
    bool m_advanced = false; // the position moved past m_playedFrom since that play()
    bool m_emptyEndRetried = false;
    // Interpolation of the position (mutable: position() is const for callers).
    mutable qint64 m_reported = 0; // ms, the backend's last distinct position
    mutable qint64 m_returned = 0; // ms, the last position handed out since the last seek
    mutable QElapsedTimer m_sinceReport;
};

// Which sound server a new sound stream would reach now: the identity of PulseAudio's native
// socket (device, inode and change time, new with every start of the server) and of the process
// file the server writes beside it (new with every start behind a socket the system holds), ""
// when no socket is there. Cheap (two stats), and it never talks to the server, so it cannot hang.
QByteArray soundServerIdentity();

// Ends the process with `code` once main's own objects, the application object among them, are
// gone, without the libraries' exit-time teardown. Qt Multimedia (6.4) closes its PulseAudio
// connection from a global destructor while that connection's main-loop thread still runs, and
// now and then PulseAudio aborts on the half-torn state; everything of ours is written and closed
// before, so nothing is lost by leaving the libraries as they stand.
[[noreturn]] void exitWithoutLibraryTeardown(int code);

} // namespace lumora::platform
