#pragma once
// The menus that change what the data folder holds: "Add a Bible…" and "Remove a version…" (the
// version list is read anew after either), and the Canticle tab's "Hymn book" menu ("Add songs…"
// into the hymn book on display, which is then listed anew; "Export hymn book…"), on the menu bar
// while the Canticle tab shows.

class QMainWindow;
class QTabWidget;

namespace lumora::bible {
class BibleNavigation;
}
namespace lumora::hymns {
class HymnSelection;
}
namespace lumora::platform {
class CommonDialog;
class Prompts;
} // namespace lumora::platform
namespace lumora::session {
struct Session;
}

namespace lumora::app {

struct DataMenuParts {
    QMainWindow& window; // the menus' owner and the dialogs' parent
    QTabWidget& tabs;
    const session::Session& session;
    platform::CommonDialog& dialogs;
    platform::Prompts& prompts;
    bible::BibleNavigation& navigation;
    hymns::HymnSelection& hymns;
};

void addDataMenus(const DataMenuParts& p);

} // namespace lumora::app
