#include "platform/qt/qtmediaplayer.h"

#include <QAudioOutput>
#include <QByteArray>
#include <QFile>
#include <QHBoxLayout>
#include <QLabel>
#include <QList>
#include <QMediaPlayer>
#include <QMutex>
#include <QSlider>
#include <QUrl>
#include <QWidget>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <utility>

#include <sys/stat.h>

// After Qt's headers: GLib's headers use the name "signals", which Qt defines as a keyword.
#undef signals
#include <gst/gst.h>
#define signals Q_SIGNALS

namespace lumora::platform {

namespace {

// Every player of the process. GStreamer's pulsesink shares one sound-server connection among all
// the sinks of a process; a sink of a server that is gone keeps that dead connection in use, and a
// new sink would take it over ("Connection terminated"). So when the server changes, every player
// lets its backend go at once, not only the one asked to play.
QList<QtMediaPlayer*>& livePlayers() {
    static QList<QtMediaPlayer*> players;
    return players;
}

// Size and modification time of a file, "" when it cannot be read.
QByteArray fileStamp(const QString& path) {
    struct stat info {};
    if (path.isEmpty() || ::stat(QFile::encodeName(path).constData(), &info) != 0) return {};
    return QByteArray::number(static_cast<qlonglong>(info.st_size)) + ':' +
           QByteArray::number(static_cast<qlonglong>(info.st_mtim.tv_sec)) + '.' +
           QByteArray::number(static_cast<qlonglong>(info.st_mtim.tv_nsec));
}

// Device, inode and change time of a file, "" when there is none.
QByteArray fileIdentity(const QByteArray& path) {
    struct stat info {};
    if (::stat(path.constData(), &info) != 0) return {};
    return QByteArray::number(static_cast<qulonglong>(info.st_dev)) + ':' +
           QByteArray::number(static_cast<qulonglong>(info.st_ino)) + ':' +
           QByteArray::number(static_cast<qlonglong>(info.st_ctim.tv_sec)) + '.' +
           QByteArray::number(static_cast<qlonglong>(info.st_ctim.tv_nsec));
}

// GStreamer's MIDI synthesiser (fluiddec) plays at a master gain of 0.2: a hymn's MIDI tune came
// out about 20 dB below the recordings of the hymns (RMS 0.005 against 0.09 to 0.12 in the demo).
// Qt Multimedia names no element of its pipeline and its volume stops at 1, so a hook on every
// bin's "element-added" sets the gain of each synthesiser as it is added, before it plays a note.
// At 2.0 the demo's tunes measure RMS 0.05 to 0.11 and peak below 0.45: level with the recordings,
// far from clipping.
constexpr double kMidiGain = 2.0;

// pulsesink shares one connection among the sinks of a process that have the same client name.
// A sink of a server that is gone, not yet wound down, keeps that dead connection in the table,
// and the first sink made for the server that came back was handed it ("Connection terminated",
// or a stop without a sound). Each server the program meets gets a client name of its own, so a
// new sink always opens a connection to the server there is now.
QByteArray clientNameForServer() {
    static QMutex mutex;
    static QList<QByteArray> servers;
    const QByteArray server = soundServerIdentity();
    const QMutexLocker lock(&mutex);
    qsizetype n = servers.indexOf(server);
    if (n < 0) {
        servers.append(server);
        n = servers.size() - 1;
    }
    return n == 0 ? QByteArrayLiteral("Lumora") : "Lumora " + QByteArray::number(n + 1);
}

gboolean onElementAdded(GSignalInvocationHint*, guint count, const GValue* params, gpointer) {
    if (count < 2 || !G_VALUE_HOLDS(&params[1], GST_TYPE_ELEMENT)) return TRUE;
    auto* element = static_cast<GstElement*>(g_value_get_object(&params[1]));
    GstElementFactory* factory = element ? gst_element_get_factory(element) : nullptr;
    const gchar* name = factory ? gst_plugin_feature_get_name(GST_PLUGIN_FEATURE(factory)) : nullptr;
    if (g_strcmp0(name, "fluiddec") == 0) g_object_set(element, "synth-gain", kMidiGain, nullptr);
    if (g_strcmp0(name, "pulsesink") == 0 &&
        g_object_class_find_property(G_OBJECT_GET_CLASS(element), "client-name"))
        g_object_set(element, "client-name", clientNameForServer().constData(), nullptr);
    return TRUE; // the hook stays for the next element
}

void hookPipelineElements() {
    static const bool hooked = [] {
        if (!gst_init_check(nullptr, nullptr, nullptr)) return false;
        g_type_class_ref(GST_TYPE_BIN); // the signal exists once the class does; kept for good
        const guint added = g_signal_lookup("element-added", GST_TYPE_BIN);
        if (added == 0) return false;
        g_signal_add_emission_hook(added, 0, onElementAdded, nullptr, nullptr);
        return true;
    }();
    (void)hooked;
}

} // namespace

QtMediaPlayer::QtMediaPlayer(QObject* parent) : MediaPlayer(parent) {
    hookPipelineElements();
    livePlayers().append(this);
    createBackend();
    m_serverWatch.setInterval(1000);
    connect(&m_serverWatch, &QTimer::timeout, this, [this] {
        if (m_server != soundServerIdentity()) {
            dropStaleBackends(nullptr);
            return;
        }
        nudgeIfStalled();
    });
}

void QtMediaPlayer::nudgeIfStalled() {
    // On a loaded machine GStreamer now and then stops pushing after a seek made while playing (a
    // passage replayed from its first mark): "Playing", with the position standing still for good.
    // Three seconds without a move while playing is such a stall. The end of the media is none.
    const qint64 at = m_player->position();
    // A backend still at 0 is starting up (a sound server coming back takes its time): no stall.
    const bool playing = m_player->playbackState() == QMediaPlayer::PlayingState &&
                         m_player->mediaStatus() != QMediaPlayer::EndOfMedia && at > 0;
    m_stillTicks = playing && at == m_watchedPosition ? m_stillTicks + 1 : 0;
    m_watchedPosition = at;
    if (m_stillTicks < 3) return;
    m_stillTicks = 0;
    // A seek to where it stands does not move it: the backend is made anew and goes on from there.
    m_pendingSeek = at;
    m_backendFailed = true;
    play();
}

void QtMediaPlayer::dropStaleBackends(const QtMediaPlayer* asking) {
    const QByteArray server = soundServerIdentity();
    for (QtMediaPlayer* p : livePlayers()) {
        if (p->m_server == server) continue;
        const bool active =
            p->m_status == QStringLiteral("Playing") || p->m_status == QStringLiteral("Paused");
        p->replaceBackend();
        p->m_backendFailed = true; // the next source or play gives the new backend the media
        if (active && p != asking) p->fail(QStringLiteral("the sound output was lost"));
    }
}

void QtMediaPlayer::createBackend() {
    m_player = new QMediaPlayer(this);
    m_output = new QAudioOutput(this);
    m_player->setAudioOutput(m_output);
    m_server = soundServerIdentity();
    m_backendFailed = false;
    m_backendFresh = true;
    connect(m_player, &QMediaPlayer::playbackStateChanged, this,
            [this](QMediaPlayer::PlaybackState s) { onPlaybackState(s); });
    connect(m_player, &QMediaPlayer::mediaStatusChanged, this,
            [this](QMediaPlayer::MediaStatus s) { onMediaStatus(s); });
    connect(m_player, &QMediaPlayer::errorOccurred, this, [this](QMediaPlayer::Error e, const QString& text) {
        // The stop after a failure repeats the failure: already reported.
        if (e != QMediaPlayer::NoError && !m_stoppingFailed)
            fail(text.isEmpty() ? QStringLiteral("the recording cannot be played") : text);
    });
    connect(m_player, &QMediaPlayer::seekableChanged, this, [this](bool seekable) {
        if (!seekable) return;
        applyPendingSeek();
        reopenEnd();
    });
    connect(m_player, &QMediaPlayer::positionChanged, this, [this](qint64 ms) {
        // A media playing that still cannot seek never will (a MIDI tune): the seek kept for it
        // is dropped, and the position said is where it plays.
        if (m_pendingSeek >= 0 && ms > 0 && m_player->playbackState() == QMediaPlayer::PlayingState &&
            !m_player->isSeekable())
            m_pendingSeek = -1;
        if (ms != m_reported) restartClock(ms);
        if (ms > m_playedFrom + 50) m_advanced = true;
        if (m_slider && !m_slider->isSliderDown()) m_slider->setValue(static_cast<int>(ms / 100));
        if (m_time)
            m_time->setText(
                QStringLiteral("%1:%2").arg(ms / 60000).arg((ms / 1000) % 60, 2, 10, QLatin1Char('0')));
    });
    connect(m_player, &QMediaPlayer::durationChanged, this, [this](qint64 ms) {
        if (m_slider) m_slider->setRange(0, static_cast<int>(ms / 100));
        reopenEnd();
    });
}

bool QtMediaPlayer::renewBackendIfStale() {
    const bool sameServer = m_server == soundServerIdentity();
    if (!m_backendFailed && sameServer) return false;
    // One made since the sound server changed (by dropStaleBackends) and given nothing yet serves.
    if (!m_backendFresh || !sameServer) replaceBackend();
    m_backendFailed = false;
    return true;
}

void QtMediaPlayer::loadSource() {
    m_sourceStamp = fileStamp(m_source);
    m_player->setSource(m_source.isEmpty() ? QUrl() : QUrl::fromLocalFile(m_source));
    m_backendFresh = false;
    m_endMayBeZero = !m_source.isEmpty() && m_player->duration() <= 0;
}

void QtMediaPlayer::replaceBackend() {
    // The old backend is let go at once (its sink's connection must be free before a new sink
    // opens one), without being asked anything more: it may belong to a server that is gone.
    QMediaPlayer* oldPlayer = m_player;
    QAudioOutput* oldOutput = m_output;
    oldPlayer->disconnect(this);
    createBackend();
    delete oldPlayer;
    delete oldOutput;
}

void QtMediaPlayer::fail(const QString& why) {
    m_backendFailed = true;
    if (m_failureReported) return; // the backend's later errors of the same failure
    if (m_error.isEmpty()) m_error = why;
    m_pendingSeek = -1;
    m_returned = 0;
    queueEndReport(true);
}

void QtMediaPlayer::queueEndReport(bool failure) {
    // The backend's other signals of the same end or failure join the report already queued.
    m_reportIsFailure = m_reportIsFailure || failure;
    if (m_reportQueued) return;
    m_reportQueued = true;
    const int ticket = m_reportTicket;
    QMetaObject::invokeMethod(
        this,
        [this, ticket] {
            if (ticket != m_reportTicket) return; // a source, play or stop came in between
            m_reportQueued = false;
            const bool failure = std::exchange(m_reportIsFailure, false);
            if (failure) {
                m_failureReported = true;
                m_serverWatch.stop();
                if (m_server == soundServerIdentity()) {
                    m_quiet = m_stoppingFailed = true;
                    m_player->stop();
                    m_quiet = m_stoppingFailed = false;
                } else {
                    dropStaleBackends(this); // its sink belongs to a server that is gone
                }
            } else if (m_player->playbackState() != QMediaPlayer::StoppedState) {
                return;
            }
            m_status = kStatusStopped;
            emit statusChanged();
        },
        Qt::QueuedConnection);
}

QtMediaPlayer::~QtMediaPlayer() {
    livePlayers().removeAll(this);
    if (m_widget && !m_widget->parent()) delete m_widget;
}

void QtMediaPlayer::setStatus(const QString& status) {
    if (m_status == status) return;
    m_status = status;
    emit statusChanged();
}

void QtMediaPlayer::onPlaybackState(int state) {
    switch (state) {
    case QMediaPlayer::PlayingState:
        m_stillTicks = 0;
        m_watchedPosition = -1;
        m_serverWatch.start();
        restartClock(m_player->position());
        setStatus(QStringLiteral("Playing"));
        break;
    case QMediaPlayer::PausedState:
        m_serverWatch.stop();
        setStatus(QStringLiteral("Paused"));
        break;
    case QMediaPlayer::StoppedState:
        m_serverWatch.stop();
        m_returned = 0;
        // The backend stopped on its own: the end of the recording (its EndOfMedia follows).
        if (!m_quiet && m_status == QStringLiteral("Playing")) queueEndReport(false);
        break;
    }
}

void QtMediaPlayer::onMediaStatus(int status) {
    switch (status) {
    case QMediaPlayer::LoadedMedia:
        applyPendingSeek();
        if (!m_quiet && m_player->playbackState() == QMediaPlayer::StoppedState && !m_source.isEmpty())
            setStatus(QStringLiteral("Ready"));
        break;
    case QMediaPlayer::BufferedMedia:
        applyPendingSeek();
        break;
    case QMediaPlayer::EndOfMedia:
        m_returned = 0;
        if (!m_quiet && m_status == QStringLiteral("Playing") && !retryEmptyEnd()) queueEndReport(false);
        break;
    case QMediaPlayer::InvalidMedia:
        // Also reported through errorOccurred; a backend that says only this has failed as well.
        if (!m_quiet && !m_stoppingFailed) fail(QStringLiteral("the recording cannot be decoded"));
        break;
    default:
        break;
    }
}

bool QtMediaPlayer::retryEmptyEnd() {
    // Seen on a loaded machine: a backend goes to "Playing", then reports the end at once, at 0,
    // without a sound: its seek on loading ended where the media's length then was, at 0 (see
    // m_endMayBeZero). Played again from its end, the backend seeks anew with the length it knows
    // now; a backend that still knows none is made anew.
    if (m_advanced || m_emptyEndRetried || m_player->duration() - m_playedFrom < 1000) return false;
    m_emptyEndRetried = true;
    ++m_reportTicket; // the stop just reported with this end is no end either
    m_reportQueued = m_reportIsFailure = false;
    m_backendFailed = m_player->duration() <= 0;
    m_pendingSeek = m_playedFrom;
    const int ticket = m_reportTicket;
    // Not from inside the backend's own signal: a play from inside its end found a pipeline that
    // never moved again, and the backend may be replaced.
    QMetaObject::invokeMethod(
        this,
        [this, ticket] {
            if (ticket != m_reportTicket) return; // a source, play or stop came in between
            play();
            m_emptyEndRetried = true; // play() starts the count afresh; this one is the retry
        },
        Qt::QueuedConnection);
    return true;
}

void QtMediaPlayer::applyPendingSeek() {
    if (m_pendingSeek < 0 || !m_player->isSeekable()) return;
    const qint64 duration = m_player->duration();
    const qint64 ms = duration > 0 ? std::min(m_pendingSeek, duration) : m_pendingSeek;
    m_pendingSeek = -1;
    m_endMayBeZero = duration <= 0;
    m_player->setPosition(ms);
    restartClock(ms);
}

void QtMediaPlayer::reopenEnd() {
    // Once playing, a seek would be heard; a media that ends at once is played again instead, on
    // this backend, which now seeks with the media's end (retryEmptyEnd).
    if (!m_endMayBeZero || m_player->duration() <= 0 || !m_player->isSeekable() ||
        m_player->playbackState() == QMediaPlayer::PlayingState)
        return;
    m_endMayBeZero = false;
    if (m_pendingSeek >= 0) {
        applyPendingSeek(); // now with the media's end
        return;
    }
    // The backend skips a seek to where it stands: a millisecond on is not heard.
    const qint64 at = std::min(m_player->position() + 1, m_player->duration());
    m_player->setPosition(at);
    restartClock(at);
}

void QtMediaPlayer::restartClock(qint64 ms) const {
    m_reported = ms;
    m_sinceReport.start();
}

void QtMediaPlayer::setSource(const QString& path) {
    ++m_reportTicket;
    m_reportQueued = m_reportIsFailure = m_failureReported = false;
    m_error.clear();
    m_source = path;
    m_pendingSeek = -1;
    m_returned = 0;
    // Changing the media stops the old one; that stop is no end of playback.
    m_quiet = true;
    dropStaleBackends(this);
    renewBackendIfStale();
    loadSource();
    m_quiet = false;
    restartClock(0);
    if (m_player->playbackState() == QMediaPlayer::StoppedState &&
        (m_status == QStringLiteral("Playing") || m_status == QStringLiteral("Paused")))
        setStatus(path.isEmpty() ? QStringLiteral("Closed") : QStringLiteral("Ready"));
}

void QtMediaPlayer::setEnabled(bool enabled) {
    m_enabled = enabled;
    if (m_widget) m_widget->setEnabled(enabled);
}

void QtMediaPlayer::close() {
    ++m_reportTicket;
    m_reportQueued = m_reportIsFailure = m_failureReported = false;
    m_error.clear();
    m_quiet = true;
    m_player->stop();
    m_source.clear();
    m_pendingSeek = -1;
    m_returned = 0;
    m_player->setSource(QUrl());
    m_quiet = false;
    setStatus(QStringLiteral("Closed"));
}

void QtMediaPlayer::play() {
    if (m_source.isEmpty()) return;
    ++m_reportTicket;
    m_reportQueued = m_reportIsFailure = m_failureReported = false;
    m_error.clear();
    if (fileStamp(m_source) != m_sourceStamp) m_backendFailed = true; // replaced meanwhile: read anew
    if (m_server != soundServerIdentity()) dropStaleBackends(this);
    if (m_backendFailed) {
        // A new backend starts where this one was (its own position is not asked: its sink may be
        // one of a server that is gone).
        const qint64 at = m_pendingSeek >= 0 ? m_pendingSeek : m_returned;
        if (renewBackendIfStale()) {
            m_quiet = true;
            loadSource();
            m_quiet = false;
        }
        m_returned = 0;
        if (at > 0) m_pendingSeek = at;
    }
    // At the end of the media QMediaPlayer restarts from 0 when asked to play, dropping a seek
    // made meanwhile (a replay from the first mark): the seek follows the restart.
    const bool atEnd = m_player->mediaStatus() == QMediaPlayer::EndOfMedia;
    m_playedFrom = m_pendingSeek >= 0 ? m_pendingSeek : atEnd ? 0 : m_player->position();
    m_advanced = false;
    m_emptyEndRetried = false;
    if (!atEnd) applyPendingSeek();
    m_player->play();
    if (atEnd) applyPendingSeek();
}

void QtMediaPlayer::pause() {
    m_player->pause();
}

void QtMediaPlayer::stop() {
    // Reported once, after the backend's own signals of the stop, whether it was playing or not.
    ++m_reportTicket;
    m_reportQueued = m_reportIsFailure = m_failureReported = false;
    m_error.clear();
    m_pendingSeek = -1;
    m_returned = 0;
    m_quiet = true;
    m_player->stop();
    m_quiet = false;
    m_status = kStatusStopped;
    emit statusChanged();
}

double QtMediaPlayer::position() const {
    if (m_pendingSeek >= 0) return static_cast<double>(m_pendingSeek) / 1000.0;
    const qint64 reported = m_player->position();
    if (reported != m_reported || !m_sinceReport.isValid()) restartClock(reported);
    qint64 ms = reported;
    if (m_player->playbackState() == QMediaPlayer::PlayingState) {
        // Between two reports the recording went on for the time that passed. The backend moves
        // its position in steps of about 90 ms; when it stands still longer (starting up, or
        // starved of time), no sound is coming out either, so the estimate waits for it.
        ms += std::min<qint64>(m_sinceReport.elapsed(), 150);
        const qint64 duration = m_player->duration();
        if (duration > 0) ms = std::min(ms, duration);
        ms = std::max(ms, m_returned);
        m_returned = ms;
    }
    return static_cast<double>(ms) / 1000.0;
}

void QtMediaPlayer::setPosition(double seconds) {
    qint64 ms = static_cast<qint64>(std::max(0.0, seconds) * 1000.0 + 0.5);
    // A seek past the end of a recording shorter than its marks (cut short, or replaced) makes
    // GStreamer complain and play nothing; the end itself plays as the end.
    const qint64 duration = m_player->duration();
    if (duration > 0) ms = std::min(ms, duration);
    m_returned = 0;
    restartClock(ms);
    if (m_source.isEmpty()) return;
    const auto status = m_player->mediaStatus();
    const bool loading = status == QMediaPlayer::LoadingMedia || status == QMediaPlayer::NoMedia;
    if (loading || status == QMediaPlayer::EndOfMedia || !m_player->isSeekable()) {
        m_pendingSeek = ms; // applied once the media can seek, or by the next play()
        return;
    }
    m_player->setPosition(ms);
}

QWidget* QtMediaPlayer::widget() {
    if (!m_widget) {
        m_widget = new QWidget;
        auto* row = new QHBoxLayout(m_widget);
        row->setContentsMargins(0, 0, 0, 0);
        m_slider = new QSlider(Qt::Horizontal, m_widget);
        m_time = new QLabel(QStringLiteral("0:00"), m_widget);
        row->addWidget(m_slider, 1);
        row->addWidget(m_time);
        connect(m_slider, &QSlider::sliderReleased, this,
                [this] { m_player->setPosition(static_cast<qint64>(m_slider->value()) * 100); });
        m_widget->setEnabled(m_enabled);
    }
    return m_widget;
}

QByteArray soundServerIdentity() {
    QByteArray socket;
    const QByteArray server = qgetenv("PULSE_SERVER");
    if (server.startsWith("unix:"))
        socket = server.mid(5);
    else if (server.startsWith('/'))
        socket = server;
    else if (server.isEmpty() && qEnvironmentVariableIsSet("XDG_RUNTIME_DIR"))
        socket = qgetenv("XDG_RUNTIME_DIR") + "/pulse/native";
    // A restarted server makes its socket anew; the file system may give it the old inode number,
    // never the same change time.
    const QByteArray identity = socket.isEmpty() ? QByteArray() : fileIdentity(socket);
    if (identity.isEmpty()) return {};
    // Unless the system holds the socket for the server and starts the server on demand (socket
    // activation, as systemd does on a desktop): the socket then outlives the server, and a server
    // started again is told apart by the process file it writes anew beside the socket.
    return identity + ':' + fileIdentity(socket.left(socket.lastIndexOf('/') + 1) + "pid");
}

void exitWithoutLibraryTeardown(int code) {
    std::fflush(nullptr);
    std::_Exit(code);
}

} // namespace lumora::platform
