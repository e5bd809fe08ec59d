#pragma once
// The remote's hands in the window: each action of a phone or a button deck runs the slot or the
// click the user's own would (Enter in the "Go to" box, Page Down, the chapter list, CLONE, F7,
// the player buttons, a playlist entry, the zoom arrows), and the "now showing" value goes out to
// the pages on every change. It owns the remote service; the server stays off until started.

#include "remote/messages.h"

#include <QHash>
#include <QObject>
#include <QPointer>

#include <optional>

class QMainWindow;
class QTabWidget;

namespace lumora::bible {
class BibleNavigation;
class BiblePlayer;
class QuickReference;
class Zoom;
} // namespace lumora::bible
namespace lumora::hymns {
class HymnPlayer;
class HymnSelection;
} // namespace lumora::hymns
namespace lumora::lists {
class FavouritePanel;
}
namespace lumora::remote {
class FrmRemote;
class RemoteService;
} // namespace lumora::remote
namespace lumora::session {
struct Session;
}
namespace lumora::windows {
class CloneWindow;
}

namespace lumora::app {

class NowShowingFeed;
class WindowLinks;

struct RemoteParts {
    QTabWidget* tabs;
    bible::BibleNavigation& navigation;
    bible::BiblePlayer& biblePlayer;
    bible::Zoom& zoom;
    hymns::HymnSelection& hymns;
    hymns::HymnPlayer& hymnPlayer;
    lists::FavouritePanel& playLists;
    WindowLinks& windows; // the "Go to" box, the clone and the now-showing feed
    const session::Session& session;
    QString pathFile; // the devices and the remote's settings are kept beside it
};

class RemoteLinks final : public QObject, public remote::RemoteActions {
    Q_OBJECT
  public:
    explicit RemoteLinks(const RemoteParts& parts, QObject* parent = nullptr);
    ~RemoteLinks() override;

    remote::RemoteService& service() { return *m_service; }
    // "Remote…": the dialog, made on first use and raised when it is open already.
    void showDialog(QWidget* parent);
    // "Remote…" in `window`'s menu bar.
    void addMenuEntry(QMainWindow& window);
    remote::FrmRemote* dialog() const;

    void perform(const remote::RemoteAction& action) override;
    QList<remote::HymnItem> findHymns(const QString& text) override;
    QList<remote::HymnItem> playlist() override;

  private:
    void stepVerse(int direction);
    void press(const remote::RemoteAction& action);
    void pickHymn(const QString& id);
    // A hymn entry as the remote lists it; the id is kept for a later pick when `found`.
    remote::HymnItem itemOf(const QString& entry, QChar kind);

    RemoteParts m_parts;
    remote::RemoteService* m_service;
    QHash<QString, QString> m_found; // id of a hymn the search gave → its entry
    QPointer<remote::FrmRemote> m_dialog;
};

} // namespace lumora::app
