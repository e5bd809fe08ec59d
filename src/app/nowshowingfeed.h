#pragma once
// The one "now showing" state of the main window: the areas tell it what they present, as
// values, and it emits the whole value on every change (never twice the same). The clone window
// is filled from it; a remote or a stage view would subscribe to the same signal.

#include "session/nowshowing.h"

#include <QObject>
#include <QTimer>

class QTabWidget;

namespace lumora::bible {
class BibleNavigation;
class BiblePlayer;
class PassageView;
class VerseFollower;
} // namespace lumora::bible
namespace lumora::hymns {
class HymnPlayer;
class HymnSelection;
} // namespace lumora::hymns
namespace lumora::windows {
class CloneWindow;
}
namespace lumora::playback {
struct State;
}

namespace lumora::app {

struct ShowingSources {
    QTabWidget* tabs;
    bible::BibleNavigation& navigation;
    bible::PassageView& passage;
    bible::VerseFollower& follower;
    bible::BiblePlayer& biblePlayer;
    hymns::HymnSelection& hymns;
    hymns::HymnPlayer& hymnPlayer;
    windows::CloneWindow& clone;
};

class NowShowingFeed final : public QObject {
    Q_OBJECT
  public:
    explicit NowShowingFeed(const ShowingSources& sources, QObject* parent = nullptr);

    const session::NowShowing& now() const { return m_now; }

  public slots:
    // Reads the players' positions (every quarter second while one plays).
    void samplePositions();
    // Takes the hymn's words as they are now (the user may have styled them since they were shown).
    void refreshHymn();

  signals:
    void changed(const lumora::session::NowShowing& now);

  private:
    template <class Edit> void update(Edit edit);
    void readPositions(session::NowShowing& now) const;
    static session::ShownPlayer playerShown(const session::ShownPlayer& before, const playback::State& state);

    ShowingSources m_sources;
    session::NowShowing m_now;
    session::PassageRef m_chosen; // the place the navigation chose last
    QTimer m_positions;
};

} // namespace lumora::app
