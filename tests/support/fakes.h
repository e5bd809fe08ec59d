#pragma once
// Fakes of the platform interfaces for offscreen ui tests.

#include "lists/ui/favouritehost.h"
#include "platform/commondialog.h"
#include "platform/mediaplayer.h"
#include "platform/prompts.h"
#include "platform/shell.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QPdfWriter>
#include <QStringList>

#include <deque>
#include <functional>
#include <ostream>

namespace lumora::testing {

// A player whose clock the test sets; records the calls it got. It behaves like the real player
// where callers depend on it: a new source starts at 0 and is loading until it starts playing or
// the test calls finishLoading(); a seek made meanwhile is kept and applied then (position()
// returns it meanwhile); close() clears the source and reports "Closed", never "Stopped"; every
// stop() reports "Stopped" once, when the stop is done.
//
// The end of a recording comes as the real one does. GStreamer (Qt 6.4) ends a file inside one call
// of its own: first its playback state goes to stopped, then its media status to the end of the
// media; QtMediaPlayer waits for both and reports one "Stopped" from the event loop. endOfMedia()
// does the same: the player is at the end first (a play() restarts the recording, from a seek made
// meanwhile), and the report comes as a posted event, delivered before endOfMedia() returns, as
// the event loop would, but never from inside another call. fail() is a failure reported the same
// way, with errorText(); it comes even when the status was "Stopped" already.
class FakeMediaPlayer final : public platform::MediaPlayer {
  public:
    using MediaPlayer::MediaPlayer;
    void setSource(const QString& path) override {
        ++m_ticket;
        m_error.clear();
        m_source = path;
        calls << QStringLiteral("source:") + path;
        clock = 0;
        m_pendingSeek = -1;
        loading = !path.isEmpty();
        if (path.isEmpty() || m_status == QStringLiteral("Playing") || m_status == QStringLiteral("Paused"))
            setStatus(path.isEmpty() ? QStringLiteral("Closed") : QStringLiteral("Ready"));
    }
    QString source() const override { return m_source; }
    void setEnabled(bool e) override { m_enabled = e; }
    bool isEnabled() const override { return m_enabled; }
    void close() override {
        ++m_ticket;
        m_error.clear();
        m_source.clear();
        loading = false;
        m_pendingSeek = -1;
        clock = 0;
        calls << QStringLiteral("close");
        setStatus(QStringLiteral("Closed"));
    }
    void play() override {
        calls << QStringLiteral("play");
        if (m_source.isEmpty()) return;
        ++m_ticket;
        m_error.clear();
        if (m_atEnd && m_pendingSeek < 0) clock = 0; // at the end a play starts the recording over
        m_atEnd = false;
        finishLoading();
        setStatus(QStringLiteral("Playing"));
    }
    void pause() override {
        calls << QStringLiteral("pause");
        setStatus(QStringLiteral("Paused"));
    }
    void stop() override {
        ++m_ticket;
        m_error.clear();
        calls << QStringLiteral("stop");
        m_pendingSeek = -1;
        clock = 0;
        m_status = platform::kStatusStopped;
        emit statusChanged();
    }
    double position() const override { return m_pendingSeek >= 0 ? m_pendingSeek : clock; }
    void setPosition(double s) override {
        calls << QStringLiteral("seek:") + QString::number(s);
        if (m_source.isEmpty()) return;
        if (loading || m_atEnd)
            m_pendingSeek = s;
        else
            clock = s;
    }
    QString statusText() const override { return m_status; }
    QString errorText() const override { return m_error; }
    QWidget* widget() override { return nullptr; }

    // The media can seek now: a seek kept during the loading is applied.
    void finishLoading() {
        if (!loading) return;
        loading = false;
        if (m_pendingSeek >= 0) clock = m_pendingSeek;
        m_pendingSeek = -1;
    }
    // The recording played to its end.
    void endOfMedia() {
        if (m_status != QStringLiteral("Playing")) return; // only a playing recording ends
        m_atEnd = true;
        report(QString());
    }
    // The recording could not be played (unreadable, undecodable, no sound output).
    void fail(const QString& why = QStringLiteral("the recording cannot be decoded")) {
        m_atEnd = false;
        report(why);
    }

    void setStatus(const QString& s) {
        if (s == m_status) return;
        m_status = s;
        emit statusChanged();
    }

    double clock = 0;
    bool loading = false;
    QStringList calls;

  private:
    void report(const QString& why) {
        const int ticket = m_ticket;
        QMetaObject::invokeMethod(
            this,
            [this, ticket, why] {
                if (ticket != m_ticket) return; // a source, play or stop came in between
                m_error = why;
                m_status = platform::kStatusStopped;
                emit statusChanged();
            },
            Qt::QueuedConnection);
        QCoreApplication::sendPostedEvents(this, QEvent::MetaCall);
    }

    QString m_source;
    QString m_status = QStringLiteral("Closed");
    QString m_error;
    double m_pendingSeek = -1;
    bool m_enabled = true;
    bool m_atEnd = false;
    int m_ticket = 0;
};

// Records every box it was asked to show and answers from a script (default: Ok / Yes).
class FakePrompts final : public platform::Prompts {
  public:
    struct Asked {
        QString text, title;
        platform::PromptButtons buttons = platform::PromptButtons::Ok;
        platform::PromptIcon icon = platform::PromptIcon::None;
        bool operator==(const Asked&) const = default;
        friend void PrintTo(const Asked& a, std::ostream* os) {
            *os << '"' << a.text.toStdString() << "\" / \"" << a.title.toStdString() << "\" buttons "
                << int(a.buttons) << " icon " << int(a.icon);
        }
    };
    platform::PromptAnswer ask(const QString& text, const QString& title, platform::PromptButtons buttons,
                               platform::PromptIcon icon) override {
        asked.push_back({text, title, buttons, icon});
        if (!answers.empty()) {
            const auto a = answers.front();
            answers.pop_front();
            return a;
        }
        return buttons == platform::PromptButtons::YesNo || buttons == platform::PromptButtons::YesNoCancel
                   ? platform::PromptAnswer::Yes
                   : platform::PromptAnswer::Ok;
    }
    std::vector<Asked> asked;
    std::deque<platform::PromptAnswer> answers;
};

// Opens what exists. Like the real shell, a program starts only when it is an executable file
// not listed in `refused` (a Windows program on this system, say).
class FakeShell final : public platform::Shell {
  public:
    platform::ShellResult open(const QString& path) override {
        opened << path;
        return QFileInfo::exists(path) && !missing.contains(path) ? platform::ShellResult::Opened
                                                                  : platform::ShellResult::NotFound;
    }
    // Records the folder and the file ("folder|file"), then opens the file they name as the real
    // shell does (an empty folder is the current one; no name, or a folder, is nothing found).
    platform::ShellResult openIn(const QString& directory, const QString& file) override {
        openedIn << directory + QLatin1Char('|') + file;
        return Shell::openIn(directory, file);
    }
    bool canOpen(const QString& path) override {
        return QFileInfo(path).isFile() && !unopenable.contains(path);
    }
    bool startProgram(const QString& program, const QStringList&) override {
        started << program;
        const QFileInfo info(program);
        return info.isFile() && info.isExecutable() && !refused.contains(program);
    }
    QStringList opened, openedIn, started, refused;
    QStringList missing;    // files it answers "not found" for, as if removed meanwhile
    QStringList unopenable; // files no program of the desktop opens
};

// Answers the file dialogs from a script (nullopt = the user cancelled) and records what it was asked.
// Printing draws into a PDF file at printPath, with the settings the test chose.
class FakeCommonDialog final : public platform::CommonDialog {
  public:
    std::optional<QString> openFile(const platform::FileDialogRequest& r) override { return answer(r); }
    std::optional<QString> saveFile(const platform::FileDialogRequest& r) override { return answer(r); }
    // Like the real dialog, several files come only from `fileLists` (each a choice or a cancel).
    std::optional<QStringList> openFiles(const platform::FileDialogRequest& r) override {
        requests.push_back(r);
        if (fileLists.empty()) return std::nullopt;
        const auto a = fileLists.front();
        fileLists.pop_front();
        return a;
    }
    std::optional<QString> chooseFolder(const platform::FileDialogRequest& r) override { return answer(r); }
    platform::PrintResult print(const platform::PrintRequest& r,
                                const platform::PrintRenderer& render) override {
        printRequests.push_back(r);
        if (cancelPrint || printPath.isEmpty()) return platform::PrintResult::Cancelled;
        QPdfWriter pdf(printPath);
        return render(pdf, printSettings) ? platform::PrintResult::Printed : platform::PrintResult::Failed;
    }

    std::deque<std::optional<QString>> answers;
    std::deque<std::optional<QStringList>> fileLists;
    std::vector<platform::FileDialogRequest> requests;
    std::vector<platform::PrintRequest> printRequests;
    platform::PrintSettings printSettings;
    QString printPath;
    bool cancelPrint = false;

  private:
    std::optional<QString> answer(const platform::FileDialogRequest& r) {
        requests.push_back(r);
        if (answers.empty()) return std::nullopt;
        const bool given = answers.front().has_value();
        QString a = given ? *answers.front() : QString();
        answers.pop_front();
        if (!given) return std::nullopt;
        return a;
    }
};

// A list panel's host made of two functions the test sets.
class CallbackHost final : public lists::FavouriteHost {
  public:
    CallbackHost() = default;
    CallbackHost(std::function<std::optional<QString>()> onDisplay, std::function<void(const QString&)> open)
        : entryOnDisplayFn(std::move(onDisplay)), openEntryFn(std::move(open)) {}
    std::optional<QString> entryOnDisplay() override {
        return entryOnDisplayFn ? entryOnDisplayFn() : std::nullopt;
    }
    void openEntry(const QString& entry) override {
        if (openEntryFn) openEntryFn(entry);
    }

    std::function<std::optional<QString>()> entryOnDisplayFn;
    std::function<void(const QString&)> openEntryFn;
};

} // namespace lumora::testing
