#include "hymns/ui/hymnplayer.h"

#include "common/decimal.h"
#include "hymns/ui/hymnselection.h"
#include "platform/mediaplayer.h"
#include "platform/playerpictures.h"
#include "platform/prompts.h"
#include "platform/spinarrows.h"

#include <QFileInfo>
#include <QHBoxLayout>
#include <QKeySequence>
#include <QLineEdit>
#include <QPushButton>
#include <QShortcut>
#include <QToolButton>
#include <QWidget>

#include <utility>

namespace lumora::hymns {

using playback::Action;
using playback::Event;

namespace {

// Counts this class's own stops of the player, so that the "Stopped" they report is not taken
// for the end of the hymn (in continuous mode every load would otherwise move on again).
class OwnStop {
  public:
    explicit OwnStop(int& count) : m_count(count) { ++m_count; }
    ~OwnStop() { --m_count; }
    OwnStop(const OwnStop&) = delete;
    OwnStop& operator=(const OwnStop&) = delete;

  private:
    int& m_count;
};

} // namespace

HymnPlayer::HymnPlayer(platform::MediaPlayer& player, platform::Prompts& prompts, QObject* parent)
    : QObject(parent), m_player(player), m_prompts(prompts) {
    m_buttons = new QWidget;
    m_buttons->setObjectName(QStringLiteral("HymnPlayerButtons"));
    auto* row = new QHBoxLayout(m_buttons);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(2);
    m_five = std::make_unique<platform::PlayerButtons>(
        m_buttons, row, this,
        std::array<const char*, 5>{"PlayPause_Cantique", "Stop_Cantique", "Repeat_Cantique",
                                   "Continuer_Cantique", "Mute_Cantique"},
        platform::PlayerHandlers{[this] { userPressed(); }, [this] { playPause(); }, [this] { stop(); },
                                 [this] { toggleRepeat(); }, [this] { toggleContinuous(); },
                                 [this] { toggleSound(); },
                                 [this] { return m_state.playPause == playback::kPicturePause; }});
    PlayPause_Cantique = m_five->button(0);
    Stop_Cantique = m_five->button(1);
    Repeat_Cantique = m_five->button(2);
    Continuer_Cantique = m_five->button(3);
    Mute_Cantique = m_five->button(4);
    row->addStretch(1);

    m_captureTools = new QWidget;
    m_captureTools->setObjectName(QStringLiteral("HymnCaptureTools"));
    auto* tools = new QHBoxLayout(m_captureTools);
    tools->setContentsMargins(0, 0, 0, 0);
    Cmd_Echantion = new QPushButton(QStringLiteral("Sample"), m_captureTools);
    Cmd_Echantion->setObjectName(QStringLiteral("Cmd_Echantion"));
    Txt_Echantillon = new QLineEdit(m_captureTools);
    Txt_Echantillon->setObjectName(QStringLiteral("Txt_Echantillon"));
    Cmd_Go = new QPushButton(QStringLiteral("Go"), m_captureTools);
    Cmd_Go->setObjectName(QStringLiteral("Cmd_Go"));
    SpinPositionCapture = new platform::SpinArrows(QStringLiteral("SpinPositionCapture"), m_captureTools);
    tools->addWidget(SpinPositionCapture);
    tools->addWidget(Cmd_Echantion);
    tools->addWidget(Txt_Echantillon, 1);
    tools->addWidget(Cmd_Go);
    // The player's own bar shows with the capture tools.
    if (QWidget* bar = m_player.widget()) {
        bar->setParent(m_captureTools);
        tools->addWidget(bar, 2);
    }
    connect(SpinPositionCapture, &platform::SpinArrows::stepped, this, [this](bool up) {
        if (const auto next = common::stepPosition(Txt_Echantillon->text(), up))
            Txt_Echantillon->setText(*next);
    });
    setCaptureToolsShown(false);

    connect(Cmd_Echantion, &QPushButton::clicked, this, &HymnPlayer::samplePosition);
    connect(Cmd_Go, &QPushButton::clicked, this, &HymnPlayer::goToSample);
    connect(&m_player, &platform::MediaPlayer::statusChanged, this, &HymnPlayer::onStatusChanged);

    // PauseThreeSeconds without a nested event loop: the hold is a single-shot timer owned by
    // this object. Events go on being handled during it, as they did during the wait, and
    // nothing runs when it ends (the wait was the last step), so a player destroyed meanwhile
    // leaves nothing behind.
    m_hold.setSingleShot(true);
    m_hold.setInterval(3000);

    showState();
}

HymnPlayer::~HymnPlayer() {
    // Containers never placed on a page are still ours.
    if (m_buttons && !m_buttons->parent()) delete m_buttons;
    if (m_captureTools && !m_captureTools->parent()) delete m_captureTools;
}

void HymnPlayer::attachTo(HymnSelection& lists) {
    connect(&lists, &HymnSelection::pickStarted, this, &HymnPlayer::onPickStarted);
    connect(&lists, &HymnSelection::hymnFilesLoaded, this, &HymnPlayer::onHymnLoaded);
    connect(&lists, &HymnSelection::searchSucceeded, this, &HymnPlayer::stopForSearch);
    connect(&lists, &HymnSelection::musicIconClicked, this, &HymnPlayer::playPause);
    connect(this, &HymnPlayer::nextHymnWanted, &lists, &HymnSelection::selectNextHymn, Qt::DirectConnection);
}

void HymnPlayer::installShortcuts(QWidget* page) {
    m_five->installKeys(page);
}

void HymnPlayer::onPickStarted() {
    run(Event::PickStarted);
}

void HymnPlayer::onHymnLoaded(const QString& musicPath) {
    m_musicPath = musicPath;
    const OwnStop own(m_ownStops);
    run(Event::HymnLoaded, {.fileExists = !musicPath.isEmpty() && QFileInfo(musicPath).isFile()});
}

void HymnPlayer::stopForSearch() {
    const OwnStop own(m_ownStops);
    m_player.stop();
}

void HymnPlayer::playPause() {
    run(Event::PlayPause, {.hasSource = !m_player.source().isEmpty()});
}
void HymnPlayer::stop() {
    run(Event::Stop);
}
void HymnPlayer::toggleRepeat() {
    run(Event::ToggleRepeat);
}
void HymnPlayer::toggleContinuous() {
    run(Event::ToggleContinuous);
}
void HymnPlayer::toggleSound() {
    run(Event::ToggleSound);
}

void HymnPlayer::onStatusChanged() {
    const QString why = m_player.errorText();
    const QString source = m_player.source();
    playback::Context c{.status = m_player.statusText()};
    c.ownStop = m_ownStops > 0;
    c.failed = !why.isEmpty() && playback::isStoppedStatus(c.status);
    c.failedAgain = c.failed && m_failed.contains(source);
    if (c.failed && !c.failedAgain) m_failed << source;
    if (!c.failed && !c.ownStop && playback::isStoppedStatus(c.status) &&
        m_state.playPause == playback::kPicturePause)
        userPressed(); // a recording played to its end: the run of failures is over
    const playback::Actions actions = playback::step(playback::Kind::Hymn, m_state, Event::StatusChanged, c);
    showState();
    const QPointer<HymnPlayer> alive(this);
    for (const Action a : actions) {
        if (!alive) return;
        if (a == Action::TellFailure) {
            if (!std::exchange(m_failureTold, true)) emit playbackFailed(source, why);
        } else {
            perform(a);
        }
    }
}

void HymnPlayer::userPressed() {
    m_failed.clear();
    m_failureTold = false;
}

void HymnPlayer::samplePosition() {
    if (m_captureTools) Txt_Echantillon->setText(QString::number(m_player.position(), 'f', 2));
}

void HymnPlayer::goToSample() {
    bool ok = false;
    QString text = m_captureTools ? Txt_Echantillon->text().trimmed() : QString();
    text.replace(QLatin1Char(','), QLatin1Char('.'));
    const double seconds = text.toDouble(&ok);
    if (!ok || seconds < 0 || m_player.source().isEmpty()) {
        m_prompts.tell(QStringLiteral("  F A I L E D  V A L U E "), QStringLiteral("W A R N I N G"),
                       platform::PromptIcon::Exclamation);
        return;
    }
    m_player.setPosition(seconds);
    m_player.play();
    // The hymn plays: the buttons say so, as after a play/pause click.
    m_state.playPause = playback::kPicturePause;
    m_state.stop = playback::kPictureStopActive;
    m_state.stopEnabled = true;
    showState();
}

void HymnPlayer::setCaptureToolsShown(bool shown) {
    if (!m_captureTools) return;
    const bool usable = shown && m_wordsNarrow;
    Cmd_Echantion->setEnabled(usable);
    Txt_Echantillon->setEnabled(usable);
    Cmd_Go->setEnabled(usable);
    SpinPositionCapture->setVisible(usable);
    if (QWidget* bar = m_player.widget()) bar->setVisible(shown);
}

void HymnPlayer::run(Event event, const playback::Context& context) {
    // The new state is shown before the actions run: the status change an action causes is
    // handled at once and must see it.
    const playback::Actions actions = playback::step(playback::Kind::Hymn, m_state, event, context);
    showState();
    const QPointer<HymnPlayer> alive(this);
    for (const Action a : actions) {
        if (!alive) return; // a slot connected to our signals destroyed us
        perform(a);
    }
}

void HymnPlayer::perform(Action action) {
    switch (action) {
    case Action::Play:
        m_player.play();
        break;
    case Action::Pause:
        m_player.pause();
        break;
    case Action::StopPlayer:
        m_player.stop();
        break;
    case Action::DisablePlayer:
        m_player.setEnabled(false);
        break;
    case Action::EnablePlayer:
        m_player.setEnabled(true);
        break;
    case Action::LoadSource:
        m_player.setSource(m_musicPath);
        break;
    case Action::ClearSource:
        m_player.setSource(QString());
        break;
    case Action::RunPlayPause:
        playPause();
        break;
    case Action::Advance:
        emit nextHymnWanted();
        break;
    case Action::CloneFollow:
        emit cloneFollowWanted();
        break;
    case Action::HoldThreeSeconds:
        m_hold.start();
        break;
    default:
        break; // the Bible player's actions
    }
}

void HymnPlayer::showState() {
    emit stateShown(m_state);
    if (!m_buttons) return; // the page holding the buttons is gone
    m_five->show(m_state);
}

} // namespace lumora::hymns
