#pragma once
// The audio player the Bible and hymn players talk to. The Qt implementation plays through
// QMediaPlayer; tests use a fake with a settable clock.
//
// Call order on a chapter: close(), setSource(path), setPosition(first mark), play(), then
// position() on every timer tick. On a hymn: setEnabled(false), setSource(path),
// setEnabled(true), stop().

#include <QObject>
#include <QString>

class QWidget;

namespace lumora::platform {

class MediaPlayer : public QObject {
    Q_OBJECT
  public:
    using QObject::QObject;
    ~MediaPlayer() override = default;

    // A full file path, or "" for no media.
    virtual void setSource(const QString& path) = 0;
    virtual QString source() const = 0;
    virtual void setEnabled(bool enabled) = 0;
    virtual bool isEnabled() const = 0;
    // Releases the current media.
    virtual void close() = 0;
    // Starts at the current position, or resumes after a pause.
    virtual void play() = 0;
    virtual void pause() = 0;
    virtual void stop() = 0;
    // Seconds from the start, with decimals.
    virtual double position() const = 0;
    virtual void setPosition(double seconds) = 0;
    // "Playing", "Paused", "Stopped" (also at the end of the recording), "Ready", "Closed".
    virtual QString statusText() const = 0;
    // Why the last "Stopped" came: "" after the end of the recording or a stop the program asked
    // for, a short text when the recording could not be played (unreadable, not decodable, no
    // sound output). Cleared by the next setSource(), play() or stop().
    virtual QString errorText() const = 0;
    // The player's own small interface (may be null); shown or hidden by the caller.
    virtual QWidget* widget() = 0;

  signals:
    // Raised on every change of status, also after a stop the program asked for, and after every
    // failure (errorText() not empty), even when the status was "Stopped" already. The end of the
    // recording and a failure are reported from the event loop, never from inside a call the
    // program made, so a handler may play again at once.
    void statusChanged();
};

inline const QString kStatusStopped = QStringLiteral("Stopped");

} // namespace lumora::platform
