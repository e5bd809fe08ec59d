#pragma once
// How the areas of each tab meet. A player's failure to play a recording is told once the handler
// that met it has ended; the player and continuous play go on meanwhile.
//
// Bible tab: the navigation's choices reach the chapter player, the passage shown reaches the
// player and the follower, Timer1 drives the follower, and the verse lists open passages through
// the navigation and keep up with its choice. Canticle tab: a hymn pick resets the words' zoom,
// "Capture" brings the capture tools, the passage and the hymn shown reach the print and save
// actions, and the file icons open the hymn's slides and video; the playlists open their entries
// through the hymn lists.

#include "lists/ui/favouritehost.h"

class QString;
class QTabWidget;
class QTimer;

namespace lumora::bible {
class BibleNavigation;
class BiblePlayer;
class PassageView;
class VerseFollower;
class Zoom;
} // namespace lumora::bible
namespace lumora::hymns {
class HymnMedia;
class HymnPlayer;
class HymnSelection;
} // namespace lumora::hymns
namespace lumora::lists {
class VerseListHost;
}
namespace lumora::output {
class OutputActions;
}
namespace lumora::platform {
class Prompts;
}

namespace lumora::app {

struct BibleTabParts {
    bible::BibleNavigation& navigation;
    bible::PassageView& passage;
    bible::BiblePlayer& player;
    bible::VerseFollower& follower;
    lists::VerseListHost& verseLists;
    QTimer& timer; // Timer1
    platform::Prompts& prompts;
};
void linkBibleTab(const BibleTabParts& p);

struct CanticleTabParts {
    bible::PassageView& passage; // its "Capture" box
    hymns::HymnSelection& hymns;
    hymns::HymnPlayer& player;
    hymns::HymnMedia& media;
    bible::Zoom& zoom;
    output::OutputActions& output;
    QTabWidget& tabs; // the zoom and the output actions follow the tab on display
};
void linkCanticleTab(const CanticleTabParts& p);
// A Bible audio muted by the user stays muted at the next start (or starts muted when `startMuted`);
// from here on every change of the mute switch is kept in the settings file.
void keepBibleAudioMuted(bible::BiblePlayer& player, const QString& settingsFile, bool startMuted);
// The hymn player's failures are told (as the chapter player's are, by linkBibleTab).
void linkHymnPlayer(hymns::HymnPlayer& player, platform::Prompts& prompts);

// The playlists keep the hymn on display and open their entries through the hymn lists.
class PlaylistHost final : public lists::FavouriteHost {
  public:
    explicit PlaylistHost(hymns::HymnSelection& hymns) : m_hymns(hymns) {}
    std::optional<QString> entryOnDisplay() override;
    void openEntry(const QString& entry) override;

  private:
    hymns::HymnSelection& m_hymns;
};

} // namespace lumora::app
