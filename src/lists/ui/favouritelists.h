#pragma once
// The two list panels of the main window, verse lists and playlists, with the name dialog they
// share. FrmLumora creates one, places the panels' widgets and calls startUp() once the data
// folder is known.

#include "app/appstate.h"
#include "lists/ui/favouritepanel.h"
#include "lists/ui/frmnewname.h"

#include <QObject>

namespace lumora::lists {

class FavouriteLists final : public QObject {
    Q_OBJECT
  public:
    // bibleHost brings verse-list entries on screen (a VerseListHost), canticleHost playlist
    // entries (ShowPlaylistHymn). Widgets are created under parent.
    FavouriteLists(app::AppState& state, FavouriteHost& bibleHost, FavouriteHost& canticleHost,
                   platform::Prompts& prompts, platform::Shell& shell, QWidget* parent);

    // Creates the two list folders under DataPath (keeping existing ones), fills both drop-downs
    // and chooses their first list, verse lists first.
    void startUp();

    void Refresh_ComboFavoriBible(const QString& pattern) { m_bible->refreshCombo(pattern); }
    void Refresh_ComboFavoriCanticle(const QString& pattern) { m_canticle->refreshCombo(pattern); }
    void Refresh_ListFavoriBible(const QString& path) { m_bible->refreshList(path); }
    void Refresh_ListFavoriCanticle(const QString& path) { m_canticle->refreshList(path); }

    FavouritePanel& bible() const { return *m_bible; }
    FavouritePanel& canticle() const { return *m_canticle; }
    FrmNewName& nameDialog() const { return *m_nameDialog; }

  private:
    app::AppState& m_state;
    FrmNewName* m_nameDialog;
    FavouritePanel* m_bible;
    FavouritePanel* m_canticle;
};

} // namespace lumora::lists
