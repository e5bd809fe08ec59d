#pragma once
// The main window: two tabs and the areas' controllers, connected. The controllers own their
// widgets and handlers; this class creates them and the pages, hands each the services it needs,
// connects their signals, and runs the load in its fixed order.

#include "platform/platform.h"
#include "session/datapath.h"
#include "session/session.h"

#include <QMainWindow>

#include <memory>

class QTabWidget;
class QTimer;

namespace lumora::app {

class RemoteLinks;

class FrmLumora final : public QMainWindow {
    Q_OBJECT
  public:
    FrmLumora(platform::Platform& platform, session::DataPathLocations where, QWidget* parent = nullptr);
    ~FrmLumora() override;

    // The load handler. False when no usable data folder was found: the window has then closed
    // and the caller shows the data-folder chooser.
    bool load();

    // The Bible audio starts off (`lumora --muted`), whatever the user's settings say; call before
    // load(). The choice is not remembered: only the mute button's clicks are.
    void setStartsMuted(bool muted) { m_startsMuted = muted; }

    const session::Session& session() const { return m_session; }
    // The remote: its actions, its devices and its server (off until started).
    RemoteLinks& remote();

  signals:
    // The tab now shown (after the Bible tab's zoom reset).
    void tabChanged(int tab);
    // Raised at the end of the load, once the passage is shown.
    void loaded();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

  private:
    struct Areas;
    void buildBibleTab();
    void buildCanticleTab();
    void buildFrame();
    // LayoutMainWindow: the tab control and the tab on display follow the window's size.
    void layOut();

    platform::Platform& m_platform;
    session::DataPathLocations m_where;
    session::Session m_session;
    QTabWidget* SSTab_LMR;
    QTimer* Timer1;
    std::unique_ptr<Areas> m_areas;
    bool m_startsMuted = false;
};

} // namespace lumora::app
