#include "platform/qt/qtmediaplayer.h"

#include <QAudioOutput>
#include <QHBoxLayout>
#include <QLabel>
#include <QMediaPlayer>
#include <QSlider>
#include <QUrl>
#include <QWidget>

namespace lumora::platform {

QtMediaPlayer::QtMediaPlayer(QObject* parent) : MediaPlayer(parent) {
    m_player = new QMediaPlayer(this);
    m_output = new QAudioOutput(this);
    m_player->setAudioOutput(m_output);
    connect(m_player, &QMediaPlayer::playbackStateChanged, this, [this](QMediaPlayer::PlaybackState s) {
        switch (s) {
        case QMediaPlayer::PlayingState: setStatus(QStringLiteral("Playing")); break;
        case QMediaPlayer::PausedState: setStatus(QStringLiteral("Paused")); break;
        case QMediaPlayer::StoppedState: setStatus(kStatusStopped); break;
        }
    });
    connect(m_player, &QMediaPlayer::mediaStatusChanged, this, [this](QMediaPlayer::MediaStatus s) {
        if (s == QMediaPlayer::LoadedMedia && m_player->playbackState() == QMediaPlayer::StoppedState)
            setStatus(QStringLiteral("Ready"));
    });
    connect(m_player, &QMediaPlayer::positionChanged, this, [this](qint64 ms) {
        if (m_slider && !m_slider->isSliderDown()) m_slider->setValue(static_cast<int>(ms / 100));
        if (m_time) m_time->setText(QStringLiteral("%1:%2").arg(ms / 60000).arg((ms / 1000) % 60, 2, 10, QLatin1Char('0')));
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

void QtMediaPlayer::setSource(const QString& path) {
    m_source = path;
    m_player->setSource(path.isEmpty() ? QUrl() : QUrl::fromLocalFile(path));
}

void QtMediaPlayer::setEnabled(bool enabled) {
    m_enabled = enabled;
    if (m_widget) m_widget->setEnabled(enabled);
}

void QtMediaPlayer::close() {
    m_player->stop();
    m_source.clear();
    m_player->setSource(QUrl());
    setStatus(QStringLiteral("Closed"));
}

void QtMediaPlayer::play() {
    if (!m_source.isEmpty()) m_player->play();
}

void QtMediaPlayer::pause() { m_player->pause(); }

void QtMediaPlayer::stop() {
    const bool wasStopped = m_player->playbackState() == QMediaPlayer::StoppedState;
    m_player->stop();
    // A stop asked for while already stopped is still reported, as callers rely on the event.
    if (wasStopped) {
        m_status = kStatusStopped;
        emit statusChanged();
    }
}

double QtMediaPlayer::position() const { return static_cast<double>(m_player->position()) / 1000.0; }

void QtMediaPlayer::setPosition(double seconds) { m_player->setPosition(static_cast<qint64>(seconds * 1000.0 + 0.5)); }

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

} // namespace lumora::platform
