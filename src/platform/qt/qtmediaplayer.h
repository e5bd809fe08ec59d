#pragma once

#include "platform/mediaplayer.h"

#include <QPointer>

class QMediaPlayer;
class QAudioOutput;
class QSlider;
class QLabel;

namespace lumora::platform {

// MediaPlayer over QMediaPlayer (GStreamer backend: mp3, wav, and mid through fluidsynth).
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

    QMediaPlayer* m_player = nullptr;
    QAudioOutput* m_output = nullptr;
    QPointer<QWidget> m_widget;
    QSlider* m_slider = nullptr;
    QLabel* m_time = nullptr;
    QString m_source;
    QString m_status = QStringLiteral("Closed");
    bool m_enabled = true;
};

} // namespace lumora::platform
