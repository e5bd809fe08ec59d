#pragma once
// The hourglass for a long action, restored when the guard goes out of scope, whichever way the
// action ends; restore() gives the pointer back early (before a message box).

#include <QApplication>

namespace lumora::platform {

class WaitCursor final {
  public:
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { restore(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
    void restore() {
        if (m_active) QApplication::restoreOverrideCursor();
        m_active = false;
    }

  private:
    bool m_active = true;
};

} // namespace lumora::platform
