#pragma once
// Debian's chromium, headless, driven over the DevTools protocol: the pages are tested in the
// browser their users have. The browser runs in a process group of its own with a temporary
// profile, and the whole group is killed when the harness goes, whatever the test did.
//
//   HeadlessChromium browser;
//   if (!browser.start(&why)) ...
//   browser.setViewport(390, 844, true);
//   browser.navigate("http://127.0.0.1:4320/");
//   browser.waitFor("document.querySelector('.verse.heard') !== null");
//   browser.screenshot("/tmp/remote.png");

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>
#include <QWebSocket>

#include <csignal>
#include <functional>
#include <memory>
#include <sys/types.h>
#include <unistd.h>

namespace lumora::testing {

// Runs the event loop until `done` or `ms` have passed; false on the time-out.
inline bool processUntil(const std::function<bool()>& done, int ms = 10000) {
    QElapsedTimer t;
    t.start();
    while (!done()) {
        if (t.elapsed() > ms) return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        if (!done()) QThread::usleep(200);
    }
    return true;
}

class HeadlessChromium {
  public:
    HeadlessChromium() = default;
    HeadlessChromium(const HeadlessChromium&) = delete;
    HeadlessChromium& operator=(const HeadlessChromium&) = delete;
    ~HeadlessChromium() { stop(); }

    static QString executable() {
        for (const char* name : {"chromium", "chromium-browser"}) {
            const QString found = QStandardPaths::findExecutable(QString::fromLatin1(name));
            if (!found.isEmpty()) return found;
        }
        return {};
    }

    // Starts the browser on about:blank and attaches to its page. False with the reason on failure.
    bool start(QString* whyNot, int timeoutMs = 30000) {
        auto fail = [&](const QString& why) {
            if (whyNot) *whyNot = why;
            stop();
            return false;
        };
        const QString exe = executable();
        if (exe.isEmpty()) return fail(QStringLiteral("chromium is not installed"));
        if (!profile_.isValid()) return fail(QStringLiteral("no temporary folder for the profile"));
        process_ = std::make_unique<QProcess>();
        process_->setProcessChannelMode(QProcess::ForwardedErrorChannel);
        process_->setStandardOutputFile(QProcess::nullDevice());
        process_->setChildProcessModifier([] { ::setsid(); });
        process_->start(exe, {QStringLiteral("--headless"), QStringLiteral("--no-sandbox"),
                              QStringLiteral("--disable-gpu"), QStringLiteral("--remote-debugging-port=0"),
                              QStringLiteral("--user-data-dir=") + profile_.path(),
                              QStringLiteral("--no-first-run"), QStringLiteral("--no-default-browser-check"),
                              QStringLiteral("--disable-extensions"), QStringLiteral("--disable-sync"),
                              QStringLiteral("--disable-background-networking"),
                              QStringLiteral("--disable-component-update"), QStringLiteral("--mute-audio"),
                              QStringLiteral("--disable-dev-shm-usage"), QStringLiteral("--log-level=3"),
                              QStringLiteral("about:blank")});
        if (!process_->waitForStarted(timeoutMs)) return fail(QStringLiteral("chromium did not start"));
        pid_ = static_cast<pid_t>(process_->processId());

        // The browser writes its port into the profile once it listens.
        QByteArray port;
        const QString portFile = profile_.filePath(QStringLiteral("DevToolsActivePort"));
        processUntil(
            [&] {
                QFile f(portFile);
                if (f.open(QIODevice::ReadOnly)) port = f.readLine().trimmed();
                return !port.isEmpty() || process_->state() == QProcess::NotRunning;
            },
            timeoutMs);
        if (port.isEmpty()) return fail(QStringLiteral("chromium wrote no DevToolsActivePort"));

        // The page's own endpoint, from the list of targets.
        QString pageUrl;
        QNetworkAccessManager nam;
        QElapsedTimer t;
        t.start();
        while (pageUrl.isEmpty() && t.elapsed() < timeoutMs) {
            QNetworkReply* reply =
                nam.get(QNetworkRequest(QUrl(QStringLiteral("http://127.0.0.1:%1/json/list").arg(port))));
            processUntil([reply] { return reply->isFinished(); }, 5000);
            for (const QJsonValue& v : QJsonDocument::fromJson(reply->readAll()).array())
                if (v[QLatin1String("type")].toString() == QLatin1String("page"))
                    pageUrl = v[QLatin1String("webSocketDebuggerUrl")].toString();
            reply->deleteLater();
            if (pageUrl.isEmpty()) QThread::msleep(50);
        }
        if (pageUrl.isEmpty()) return fail(QStringLiteral("chromium lists no page"));

        socket_ = std::make_unique<QWebSocket>();
        socket_->setMaxAllowedIncomingMessageSize(256 * 1024 * 1024);
        socket_->setMaxAllowedIncomingFrameSize(256 * 1024 * 1024);
        QObject::connect(socket_.get(), &QWebSocket::textMessageReceived, [this](const QString& m) {
            const QJsonObject o = QJsonDocument::fromJson(m.toUtf8()).object();
            if (o.contains(QLatin1String("id")))
                replies_.insert(o[QLatin1String("id")].toInt(), o);
            else
                events_ << o;
        });
        socket_->open(QUrl(pageUrl));
        if (!processUntil([this] { return socket_->state() == QAbstractSocket::ConnectedState; }, timeoutMs))
            return fail(QStringLiteral("the DevTools socket did not open"));
        if (!call("Page.enable") || !call("Runtime.enable"))
            return fail(QStringLiteral("the page did not answer: ") + error_);
        return true;
    }

    // Kills the browser's whole process group and waits for it.
    void stop() {
        if (socket_) socket_->abort();
        socket_.reset();
        if (pid_ > 0) ::kill(-pid_, SIGKILL);
        pid_ = 0;
        if (process_) {
            process_->kill();
            process_->waitForFinished(5000);
        }
        process_.reset();
    }

    // One DevTools command; the reply's "result", or nullopt (with error()) on an error or time-out.
    std::optional<QJsonObject> call(const QString& method, const QJsonObject& params = {},
                                    int timeoutMs = 15000) {
        if (!socket_) {
            error_ = QStringLiteral("not started");
            return std::nullopt;
        }
        const int id = ++lastId_;
        socket_->sendTextMessage(
            QString::fromUtf8(QJsonDocument(QJsonObject{{"id", id}, {"method", method}, {"params", params}})
                                  .toJson(QJsonDocument::Compact)));
        if (!processUntil([&] { return replies_.contains(id); }, timeoutMs)) {
            error_ = method + QStringLiteral(": no answer in time");
            return std::nullopt;
        }
        const QJsonObject reply = replies_.take(id);
        if (reply.contains(QLatin1String("error"))) {
            error_ = method + QStringLiteral(": ") +
                     QString::fromUtf8(QJsonDocument(reply[QLatin1String("error")].toObject()).toJson());
            return std::nullopt;
        }
        return reply[QLatin1String("result")].toObject();
    }

    // The value of a JavaScript expression in the page (a promise is awaited); undefined on a
    // thrown exception, with the reason in error().
    QJsonValue evaluate(const QString& expression, int timeoutMs = 15000) {
        const auto r =
            call(QStringLiteral("Runtime.evaluate"),
                 {{"expression", expression}, {"returnByValue", true}, {"awaitPromise", true}}, timeoutMs);
        if (!r) return QJsonValue::Undefined;
        if (r->contains(QLatin1String("exceptionDetails"))) {
            error_ = QString::fromUtf8(QJsonDocument((*r)[QLatin1String("exceptionDetails")].toObject())
                                           .toJson(QJsonDocument::Compact));
            return QJsonValue::Undefined;
        }
        return (*r)[QLatin1String("result")][QLatin1String("value")];
    }

    // Polls the expression until it is true.
    bool waitFor(const QString& expression, int timeoutMs = 10000) {
        QElapsedTimer t;
        t.start();
        while (t.elapsed() < timeoutMs) {
            if (evaluate(expression).toBool()) return true;
            processUntil([] { return false; }, 20);
        }
        error_ = QStringLiteral("never true: ") + expression;
        return false;
    }

    // Loads a page and waits for its load event.
    bool navigate(const QString& url, int timeoutMs = 15000) {
        events_.clear();
        if (!call(QStringLiteral("Page.navigate"), {{"url", url}})) return false;
        return processUntil(
            [this] {
                for (const QJsonObject& e : std::as_const(events_))
                    if (e[QLatin1String("method")].toString() == QLatin1String("Page.loadEventFired"))
                        return true;
                return false;
            },
            timeoutMs);
    }

    // A left click in the middle of the first element the CSS selector finds, as a person's.
    bool click(const QString& selector) {
        const QJsonValue box = evaluate(
            QStringLiteral("(() => { const e = document.querySelector(%1); if (!e) return null;"
                           " e.scrollIntoView({block: 'center'}); const r = e.getBoundingClientRect();"
                           " return [r.left + r.width / 2, r.top + r.height / 2]; })()")
                .arg(quoted(selector)));
        if (!box.isArray()) {
            error_ = QStringLiteral("nothing to click at ") + selector;
            return false;
        }
        for (const char* type : {"mousePressed", "mouseReleased"})
            if (!call(QStringLiteral("Input.dispatchMouseEvent"),
                      {{"type", type}, {"x", box[0]}, {"y", box[1]}, {"button", "left"}, {"clickCount", 1}}))
                return false;
        return true;
    }

    // Types text into the element the selector finds, as a keyboard would.
    bool type(const QString& selector, const QString& text) {
        if (!evaluate(QStringLiteral("(() => { const e = document.querySelector(%1); if (!e) return false;"
                                     " e.focus(); e.select && e.select(); return true; })()")
                          .arg(quoted(selector)))
                 .toBool()) {
            error_ = QStringLiteral("nothing to type into at ") + selector;
            return false;
        }
        return call(QStringLiteral("Input.insertText"), {{"text", text}}).has_value();
    }

    // A string as a JavaScript literal.
    static QString quoted(const QString& s) {
        return QString::fromUtf8(QJsonDocument(QJsonArray{s}).toJson(QJsonDocument::Compact))
            .mid(1)
            .chopped(1);
    }

    // A phone (mobile, with touch) or desktop window of the given CSS size.
    bool setViewport(int width, int height, bool mobile) {
        return call(QStringLiteral("Emulation.setDeviceMetricsOverride"),
                    {{"width", width}, {"height", height}, {"deviceScaleFactor", 1}, {"mobile", mobile}})
            .has_value();
    }

    // Shows what is behind a transparent page (the live page) instead of white.
    bool setTransparentBackground() {
        return call(QStringLiteral("Emulation.setDefaultBackgroundColorOverride"),
                    {{"color", QJsonObject{{"r", 0}, {"g", 0}, {"b", 0}, {"a", 0}}}})
            .has_value();
    }

    // The viewport as a PNG; true when written.
    bool screenshot(const QString& file) {
        const auto r = call(QStringLiteral("Page.captureScreenshot"), {{"format", "png"}}, 30000);
        if (!r) return false;
        QFile f(file);
        return f.open(QIODevice::WriteOnly) &&
               f.write(QByteArray::fromBase64((*r)[QLatin1String("data")].toString().toLatin1())) > 0;
    }

    const QString& error() const { return error_; }

  private:
    QTemporaryDir profile_;
    std::unique_ptr<QProcess> process_;
    pid_t pid_ = 0;
    std::unique_ptr<QWebSocket> socket_;
    int lastId_ = 0;
    QHash<int, QJsonObject> replies_;
    QList<QJsonObject> events_;
    QString error_;
};

} // namespace lumora::testing
