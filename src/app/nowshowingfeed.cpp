#include "app/nowshowingfeed.h"

#include "bible/ui/biblenavigation.h"
#include "bible/ui/bibleplayer.h"
#include "bible/ui/passageview.h"
#include "bible/ui/versefollower.h"
#include "common/playback.h"
#include "hymns/ui/hymnplayer.h"
#include "hymns/ui/hymnselection.h"
#include "platform/mediaplayer.h"
#include "windows/ui/clonewindow.h"

#include <QTabWidget>

#include <cmath>

namespace lumora::app {

NowShowingFeed::NowShowingFeed(const ShowingSources& s, QObject* parent) : QObject(parent), m_sources(s) {
    setObjectName(QStringLiteral("nowShowing"));
    m_positions.setInterval(250);
    connect(&m_positions, &QTimer::timeout, this, &NowShowingFeed::samplePositions);
    m_now.tab = s.tabs->currentIndex() == 1 ? session::ShownTab::Hymns : session::ShownTab::Bible;

    connect(s.tabs, &QTabWidget::currentChanged, this, [this](int tab) {
        update([tab](session::NowShowing& n) {
            n.tab = tab == 1 ? session::ShownTab::Hymns : session::ShownTab::Bible;
        });
    });
    connect(&s.navigation, &bible::BibleNavigation::passageChosen, this,
            [this](const session::PassageRef& ref) { m_chosen = ref; });
    connect(&s.navigation, &bible::BibleNavigation::choiceCleared, this, [this] { m_chosen = {}; });
    connect(&s.passage, &bible::PassageView::passageShown, this, [this](const bible::Passage& p) {
        update([&](session::NowShowing& n) {
            n.passage.ref = m_chosen;
            n.passage.versionEntry = m_sources.passage.request().versionEntry;
            n.passage.heading = p.heading;
            n.passage.verses = p.opened ? p.verses : QList<session::ShownVerse>();
            n.passage.text = p.opened ? p.ShownText : QByteArray();
            n.heardVerse.clear();
        });
    });
    connect(&s.follower, &bible::VerseFollower::verseHeard, this,
            [this](const QString& label) { update([&](session::NowShowing& n) { n.heardVerse = label; }); });
    connect(&s.hymns, &hymns::HymnSelection::hymnDisplayed, this,
            [this](const session::ShownHymn& h) { update([&](session::NowShowing& n) { n.hymn = h; }); });
    connect(&s.biblePlayer, &bible::BiblePlayer::stateShown, this, [this](const playback::State& st) {
        update([&](session::NowShowing& n) { n.biblePlayer = playerShown(n.biblePlayer, st); });
    });
    connect(&s.hymnPlayer, &hymns::HymnPlayer::stateShown, this, [this](const playback::State& st) {
        update([&](session::NowShowing& n) { n.hymnPlayer = playerShown(n.hymnPlayer, st); });
    });
    connect(&s.clone, &windows::CloneWindow::shownChanged, this,
            [this] { update([this](session::NowShowing& n) { n.clone = m_sources.clone.shows(); }); });
}

session::ShownPlayer NowShowingFeed::playerShown(const session::ShownPlayer& before,
                                                 const playback::State& state) {
    session::ShownPlayer p = before;
    p.status = state.playerStatus;
    p.repeat = state.repeatOn;
    p.continuous = state.continuousOn;
    p.muted = state.soundOff;
    return p;
}

void NowShowingFeed::samplePositions() {
    update([this](session::NowShowing& n) { readPositions(n); });
}

void NowShowingFeed::refreshHymn() {
    update([this](session::NowShowing& n) { n.hymn = m_sources.hymns.displayed(); });
}

void NowShowingFeed::readPositions(session::NowShowing& n) const {
    const auto seconds = [](const platform::MediaPlayer& player) {
        return static_cast<int>(std::floor(std::max(0.0, player.position())));
    };
    n.biblePlayer.seconds = seconds(m_sources.biblePlayer.mediaPlayer());
    n.hymnPlayer.seconds = seconds(m_sources.hymnPlayer.mediaPlayer());
}

template <class Edit> void NowShowingFeed::update(Edit edit) {
    session::NowShowing next = m_now;
    edit(next);
    // The positions are read while a recording plays, and once more when it stops.
    const bool playing = next.biblePlayer.status == QLatin1String("Playing") ||
                         next.hymnPlayer.status == QLatin1String("Playing");
    if (playing && !m_positions.isActive()) m_positions.start();
    if (!playing && m_positions.isActive()) {
        m_positions.stop();
        readPositions(next);
    }
    if (next == m_now) return;
    m_now = std::move(next);
    emit changed(m_now);
}

} // namespace lumora::app
