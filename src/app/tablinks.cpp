#include "app/tablinks.h"

#include "bible/ui/biblenavigation.h"
#include "bible/ui/bibleplayer.h"
#include "bible/ui/passageview.h"
#include "bible/ui/versefollower.h"
#include "bible/ui/zoom.h"
#include "hymns/ui/hymnmedia.h"
#include "hymns/ui/hymnplayer.h"
#include "hymns/ui/hymnselection.h"
#include "lists/ui/verselisthost.h"
#include "output/ui/outputactions.h"
#include "platform/prompts.h"
#include "session/usersettings.h"

#include <QDir>
#include <QTabWidget>
#include <QTimer>

namespace lumora::app {

namespace {

// Connects a player's failure to a message box shown after the handler that met it.
template <class Player> void tellFailures(Player& player, platform::Prompts& prompts) {
    QObject::connect(&player, &Player::playbackFailed, &player,
                     [&player, &prompts](const QString& path, const QString& why) {
                         // The box waits for the user; the player and continuous play go on meanwhile.
                         QMetaObject::invokeMethod(
                             &player,
                             [&prompts, path, why] {
                                 prompts.tell(QStringLiteral("The recording cannot be played:\n%1\n\n%2")
                                                  .arg(QDir::toNativeSeparators(path), why),
                                              platform::kAppTitle, platform::PromptIcon::Exclamation);
                             },
                             Qt::QueuedConnection);
                     });
}

} // namespace

void linkBibleTab(const BibleTabParts& p) {
    using Nav = bible::BibleNavigation;
    using Player = bible::BiblePlayer;
    QObject::connect(&p.navigation, &Nav::versionSelected, &p.player, &Player::closePlayer);
    QObject::connect(&p.navigation, &Nav::chapterAudioFound, &p.player, &Player::onChapterAudioFound);
    QObject::connect(&p.navigation, &Nav::spanSelected, &p.player, &Player::onSpanSelected);
    QObject::connect(&p.passage, &bible::PassageView::passageShown, &p.player, &Player::onPassageShown);
    QObject::connect(&p.passage, &bible::PassageView::passageShown, &p.follower,
                     &bible::VerseFollower::onPassageShown);
    QObject::connect(&p.timer, &QTimer::timeout, &p.follower, &bible::VerseFollower::onTick);
    QObject::connect(&p.navigation, &Nav::spanShown, &p.player, &Player::onSpanShown);
    QObject::connect(&p.navigation, &Nav::versionLoaded, &p.player, &Player::cmdOk);
    QObject::connect(&p.verseLists, &lists::VerseListHost::passageRequested, &p.navigation,
                     &Nav::openPassage);
    QObject::connect(&p.navigation, &Nav::passageChosen, &p.verseLists,
                     &lists::VerseListHost::onPassageChosen);
    QObject::connect(&p.navigation, &Nav::choiceCleared, &p.verseLists,
                     &lists::VerseListHost::onChoiceCleared);
    tellFailures(p.player, p.prompts);
}

void keepBibleAudioMuted(bible::BiblePlayer& player, const QString& settingsFile, bool startMuted) {
    if (startMuted || session::LoadUserSettings(settingsFile).bibleAudioMuted) player.toggleMute();
    QObject::connect(&player, &bible::BiblePlayer::bibleAudioMutedChanged, &player,
                     [settingsFile](bool muted) {
                         session::UpdateUserSettings(
                             settingsFile, [muted](session::UserSettings& s) { s.bibleAudioMuted = muted; });
                     });
}

void linkHymnPlayer(hymns::HymnPlayer& player, platform::Prompts& prompts) {
    tellFailures(player, prompts);
}

void linkCanticleTab(const CanticleTabParts& p) {
    using hymns::HymnSelection;
    QObject::connect(&p.hymns, &HymnSelection::hymnPicked, &p.zoom, &bible::Zoom::resetCanticleZoom);
    QObject::connect(&p.passage, &bible::PassageView::captureToolsToggled, &p.hymns,
                     &HymnSelection::setCaptureRowShown);
    QObject::connect(&p.passage, &bible::PassageView::captureToolsToggled, &p.player,
                     &hymns::HymnPlayer::setCaptureToolsShown);
    QObject::connect(&p.passage, &bible::PassageView::passageShown, &p.output,
                     &output::OutputActions::onPassageShown);
    QObject::connect(&p.hymns, &HymnSelection::hymnShown, &p.output, &output::OutputActions::onHymnShown);
    hymns::HymnSelection* hymns = &p.hymns;
    hymns::HymnMedia* media = &p.media;
    QObject::connect(hymns, &HymnSelection::slidesIconClicked, media,
                     [hymns, media] { media->openSlides(hymns->SlidePath()); });
    QObject::connect(hymns, &HymnSelection::videoIconClicked, media,
                     [hymns, media] { media->openVideo(hymns->VideoPath()); });
    QObject::connect(&p.tabs, &QTabWidget::currentChanged, &p.zoom, &bible::Zoom::onTabChanged);
    QObject::connect(&p.tabs, &QTabWidget::currentChanged, &p.output, &output::OutputActions::onTabChanged);
}

std::optional<QString> PlaylistHost::entryOnDisplay() {
    return m_hymns.entryOnDisplay();
}

void PlaylistHost::openEntry(const QString& entry) {
    m_hymns.ShowPlaylistHymn(entry);
}

} // namespace lumora::app
