#include "platform/qt/qtmediaplayer.h"

#include <QAudioOutput>
#include <QHBoxLayout>
#include <QLabel>
#include <QMediaPlayer>
#include <QSlider>
#include <QUrl>
#include <QWidget>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace lumora::platform {

QtMediaPlayer::QtMediaPlayer(QObject* parent) : MediaPlayer(parent) {
    m_player = new QMediaPlayer(this);
    m_output = new QAudioOutput(this);
    m_player->setAudioOutput(m_output);
    connect(m_player, &QMediaPlayer::playbackStateChanged, this,
            [this](QMediaPlayer::PlaybackState s) { onPlaybackState(s); });
    connect(m_player, &QMediaPlayer::mediaStatusChanged, this,
            [this](QMediaPlayer::MediaStatus s) { onMediaStatus(s); });
    connect(m_player, &QMediaPlayer::seekableChanged, this, [this](bool seekable) {
        if (seekable) applyPendingSeek();
    });
    connect(m_player, &QMediaPlayer::positionChanged, this, [this](qint64 ms) {
        if (ms != m_reported) restartClock(ms);
        if (m_slider && !m_slider->isSliderDown()) m_slider->setValue(static_cast<int>(ms / 100));
        if (m_time)
            m_time->setText(
                QStringLiteral("%1:%2").arg(ms / 60000).arg((ms / 1000) % 60, 2, 10, QLatin1Char('0')));
    });
    connect(m_player, &QMediaPlayer::durationChanged, this, [this](qint64 ms) {
        if (m_slider) m_slider->setRange(0, static_cast<int>(ms / 100));
    });
}

QtMediaPlayer::~QtMediaPlayer() {
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
        restartClock(m_player->position());
        setStatus(QStringLiteral("Playing"));
        break;
    case QMediaPlayer::PausedState:
        setStatus(QStringLiteral("Paused"));
        break;
    case QMediaPlayer::StoppedState:
        m_returned = 0;
        // Stale when a handler of an earlier signal already started the next media.
        if (!m_quiet && m_player->playbackState() == QMediaPlayer::StoppedState) setStatus(kStatusStopped);
        break;
    }
}

void QtMediaPlayer::onMediaStatus(int status) {
    switch (status) {
    case QMediaPlayer::LoadedMedia:
        applyPendingSeek();
        if (m_player->playbackState() == QMediaPlayer::StoppedState && !m_source.isEmpty())
            setStatus(QStringLiteral("Ready"));
        break;
    case QMediaPlayer::BufferedMedia:
        applyPendingSeek();
        break;
    case QMediaPlayer::EndOfMedia:
        // The end of the recording, reported once although the backend also reports its stop.
        // The backend's two signals of one end come one after the other: when the first one's
        // handler has already loaded and started the next hymn, the second is stale.
        m_returned = 0;
        if (m_player->mediaStatus() == QMediaPlayer::EndOfMedia &&
            m_player->playbackState() != QMediaPlayer::PlayingState)
            setStatus(kStatusStopped);
        break;
    default:
        break;
    }
}

void QtMediaPlayer::applyPendingSeek() {
    if (m_pendingSeek < 0 || !m_player->isSeekable()) return;
    const qint64 ms = m_pendingSeek;
    m_pendingSeek = -1;
    m_player->setPosition(ms);
    restartClock(ms);
}

void QtMediaPlayer::restartClock(qint64 ms) const {
    m_reported = ms;
    m_sinceReport.start();
}

void QtMediaPlayer::setSource(const QString& path) {
    m_source = path;
    m_pendingSeek = -1;
    m_returned = 0;
    // Changing the media stops the old one; that stop is no end of playback.
    m_quiet = true;
    m_player->setSource(path.isEmpty() ? QUrl() : QUrl::fromLocalFile(path));
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
    // At the end of the media QMediaPlayer restarts from 0 when asked to play, dropping a seek
    // made meanwhile (a replay from the first mark): the seek follows the restart.
    const bool atEnd = m_player->mediaStatus() == QMediaPlayer::EndOfMedia;
    if (!atEnd) applyPendingSeek();
    m_player->play();
    if (atEnd) applyPendingSeek();
}

void QtMediaPlayer::pause() {
    m_player->pause();
}

void QtMediaPlayer::stop() {
    const bool wasStopped = m_player->playbackState() == QMediaPlayer::StoppedState;
    m_pendingSeek = -1;
    m_returned = 0;
    m_player->stop();
    // A stop asked for while already stopped is still reported, as callers rely on the event.
    if (wasStopped) {
        m_status = kStatusStopped;
        emit statusChanged();
    }
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
    const qint64 ms = static_cast<qint64>(std::max(0.0, seconds) * 1000.0 + 0.5);
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

void exitWithoutLibraryTeardown(int code) {
    std::fflush(nullptr);
    std::_Exit(code);
}

} // namespace lumora::platform
