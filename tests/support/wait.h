#pragma once
// Waits that keep the event loop running, as the program's own timers and players need.

#include <QCoreApplication>
#include <QElapsedTimer>

#include <functional>

namespace lumora::testing {

// Runs the event loop until `done` holds or `timeoutMs` have passed; whether it holds.
inline bool waitUntil(const std::function<bool()>& done, int timeoutMs = 20000) {
    QElapsedTimer t;
    t.start();
    while (!done()) {
        if (t.elapsed() > timeoutMs) return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    return true;
}

// Runs the event loop for `ms` milliseconds.
inline void pump(int ms) {
    waitUntil([] { return false; }, ms);
}

} // namespace lumora::testing
