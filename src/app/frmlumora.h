#pragma once
// The main window: two tabs, the shared state, and the areas' controllers wired together.
// The areas own their widgets and handlers; this class only builds the pages, creates the
// controllers, and runs the load in its fixed order.

#include "app/appstate.h"
#include "session/datapath.h"
#include "platform/platform.h"

#include <QMainWindow>

#include <functional>
#include <memory>

class QTabWidget;
class QTimer;
class QHBoxLayout;

namespace lumora::bible {
class BibleNavigation;
class BibleSearch;
class PassageView;
class Zoom;
} // namespace lumora::bible

namespace lumora::hymns {
class HymnSelection;
} // namespace lumora::hymns
namespace lumora::lists {
class FavouritePanel;
class CallbackHost;
class VerseListHost;
class WidgetNavigationLists;
} // namespace lumora::lists

namespace lumora::app {

class FrmLumora final : public QMainWindow {
    Q_OBJECT
public:
    FrmLumora(platform::Platform& platform, session::DataPathLocations where, QWidget* parent = nullptr);
    ~FrmLumora() override;

    // The load handler. False when no usable data folder was found: the window has then closed
    // and the caller shows the data-folder chooser.
    bool load();

    AppState& state() { return m_state; }

    // Applies a zoom percentage to the box of the visible tab (5 to 500; others change nothing).
    void SetZoom(int percent);
    platform::Platform& platform() { return m_platform; }

    QTabWidget* SSTab_LMR = nullptr;
    QWidget* biblePage = nullptr;
    QWidget* canticlePage = nullptr;
    // The place above the passage, shared by the search row and the verse-list panel.
    QWidget* bibleSearchRow = nullptr;
    // The row under the passage for tools (zoom, player buttons).
    QWidget* bibleToolsRow = nullptr;
    // The Canticle tab's own area, laid out by the hymn controller.
    QWidget* canticleArea = nullptr;
    // Under it: the hymn player and the position-capture tools.
    QWidget* canticleToolsRow = nullptr;

    bible::BibleNavigation* navigation = nullptr;
    bible::PassageView* passageView = nullptr;
    bible::BibleSearch* search = nullptr;
    bible::Zoom* zoom = nullptr;
    hymns::HymnSelection* hymnSelection = nullptr;
    // The verse-list panel, in bibleSearchRow beside the search row.
    lists::FavouritePanel* verseLists = nullptr;
    // The playlist panel, in the hymn search row.
    lists::FavouritePanel* playLists = nullptr;
    platform::MediaPlayer* WindowsMediaPlayer1 = nullptr;
    platform::MediaPlayer* WindowsMediaPlayer2 = nullptr;
    QTimer* Timer1 = nullptr;

    // One step of the audio following, run on every Timer1 tick.
    std::function<void()> followStep;
    // The Cmd_OK action: starts the chapter audio of the passage on display.
    std::function<void()> cmdOk;

signals:
    // The tab now shown (after the Bible tab's zoom reset).
    void tabChanged(int tab);
    // Raised at the end of the load, once the passage is shown.
    void loaded();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildBiblePage();
    void buildCanticlePage();
    void buildVerseLists();
    void buildPlayLists();
    void onTabChanged(int tab);
    void onCaptureToolsToggled(bool shown);

    platform::Platform& m_platform;
    session::DataPathLocations m_where;
    AppState m_state;
    std::unique_ptr<lists::WidgetNavigationLists> m_verseListNav;
    std::unique_ptr<lists::VerseListHost> m_verseListHost;
    std::unique_ptr<lists::CallbackHost> m_playListHost;
};

} // namespace lumora::app
