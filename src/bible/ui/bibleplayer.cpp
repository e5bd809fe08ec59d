#include "bible/ui/bibleplayer.h"

#include "bible/following.h"
#include "bible/ui/biblenavigation.h"
#include "bible/ui/versefollower.h"
#include "platform/mediaplayer.h"
#include "platform/playerpictures.h"

#include <QHBoxLayout>
#include <QStyle>
#include <QToolButton>
#include <QWidget>

#include <utility>

namespace lumora::bible {

using playback::Action;
using playback::Event;
using session::NavLevel;

BiblePlayer::BiblePlayer(platform::MediaPlayer& player, BibleNavigation& nav, VerseFollower& follower,
                         QWidget* page, QObject* parent)
    : QObject(parent), m_player(player), m_nav(nav), m_follower(follower) {
    m_buttons = new QWidget(page);
    auto* row = new QHBoxLayout(m_buttons);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(2);
    auto button = [this, row](const char* name) {
        QToolButton* b = platform::makePlayerButton(m_buttons, name);
        row->addWidget(b);
        return b;
    };
    Image_Lecture = button("Image_Lecture");
    Image_Lecture->setIcon(m_buttons->style()->standardIcon(QStyle::SP_MediaVolume));
    Image_Lecture->setToolTip(tr("Lit when the chapter has a recording (a click does nothing)"));
    Image_Lecture->setAccessibleName(tr("Recording"));
    Image_Lecture->setEnabled(false);
    Cmd_OK = button("Cmd_OK");
    Cmd_OK->setText(QStringLiteral("OK"));
    Cmd_OK->setToolTip(tr("Read the passage from its first verse"));
    Cmd_OK->setAccessibleName(tr("Read the passage from its first verse"));
    m_five = std::make_unique<platform::PlayerButtons>(
        m_buttons, row, this,
        std::array<const char*, 5>{"ImagePlayPause", "ImageStop", "ImageRepeat", "ImageContinuer",
                                   "ImageMute"},
        platform::PlayerHandlers{[this] { userPressed(); }, [this] { playPause(); }, [this] { stop(); },
                                 [this] { toggleRepeat(); }, [this] { toggleContinuous(); },
                                 [this] { toggleMute(); },
                                 [this] { return m_state.playPause == playback::kPicturePause; }});
    ImagePlayPause = m_five->button(0);
    ImageStop = m_five->button(1);
    ImageRepeat = m_five->button(2);
    ImageContinuer = m_five->button(3);
    ImageMute = m_five->button(4);

    connect(Cmd_OK, &QToolButton::clicked, this, [this] {
        userPressed();
        cmdOk();
    });
    connect(&m_player, &platform::MediaPlayer::statusChanged, this, &BiblePlayer::onStatusChanged);
    // PauseThreeSeconds without a nested event loop: a hold that runs nothing when it ends, while
    // every event goes on being handled (the wait was the last step of its handler).
    m_hold.setSingleShot(true);
    m_hold.setInterval(3000);
    showState();
}

void BiblePlayer::installShortcuts(QWidget* page) {
    m_five->installKeys(page);
}

playback::Context BiblePlayer::context() const {
    playback::Context c;
    c.status = m_player.statusText();
    c.hasSource = !m_player.source().isEmpty();
    c.hasMarks = !m_marks.isEmpty();
    // A passage that played on to the end of the recording (the verses after it have no mark) has
    // nothing after it in this chapter to go on with.
    c.endVerseIsLast =
        m_nav.selectedRow(NavLevel::Span) == m_nav.rowCount(NavLevel::Span) - 1 || !m_stopsBeforeEnd;
    c.chapterIsLast = m_nav.selectedRow(NavLevel::Chapter) == m_nav.rowCount(NavLevel::Chapter) - 1;
    c.markMode = m_markMode;
    c.window2 = m_window2;
    return c;
}

void BiblePlayer::run(Event event, const playback::Context& c) {
    // The new state is shown before the actions run: a status change an action causes is handled
    // at once and must see it.
    const bool wasMuted = m_state.soundOff;
    const playback::Actions actions = playback::step(playback::Kind::Bible, m_state, event, c);
    showState();
    const QPointer<BiblePlayer> alive(this);
    if (m_state.soundOff != wasMuted) emit bibleAudioMutedChanged(m_state.soundOff);
    if (!alive) return;
    for (const Action a : actions) {
        if (!alive) return;
        perform(a);
    }
}

void BiblePlayer::showState() {
    emit stateShown(m_state);
    if (!m_buttons) return;
    m_five->show(m_state);
}

void BiblePlayer::perform(Action action) {
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
    case Action::ClosePlayer:
        closePlayer();
        break;
    case Action::ReloadChapter:
        cmdOk();
        break;
    case Action::LoadChapterAudio:
        if (loadChapterAudio())
            startAtFirstMark(m_nav.selectedRow(NavLevel::Verse));
        else
            emit passageAudioStarted({}, m_nav.selectedRow(NavLevel::Verse)); // the verse's row all the same
        break;
    case Action::ReplayFromFirstMark:
        m_follower.resetFollowing();
        if (!m_marks.isEmpty()) m_player.setPosition(markSeconds(m_marks.first()));
        m_follower.step();
        m_player.play();
        break;
    case Action::ResetFollowing:
        m_follower.resetFollowing();
        break;
    case Action::ReadingIndicatorOn:
        Image_Lecture->setEnabled(true);
        break;
    case Action::ReadingIndicatorOff:
        Image_Lecture->setEnabled(false);
        break;
    case Action::NextPassage:
        m_nav.selectNextPassage();
        break;
    case Action::NextChapter:
        m_nav.selectNextChapter();
        break;
    case Action::CloneFollow:
        emit cloneFollowWanted();
        break;
    case Action::HoldThreeSeconds:
        m_hold.start();
        break;
    case Action::MarkWidgetsAway:
        emit markWidgetsShown(false);
        break;
    case Action::MarkWidgetsBack:
        emit markWidgetsShown(true);
        break;
    case Action::ShowWindow2:
        emit window2Shown();
        break;
    case Action::ToggleWindow2:
        emit window2ToggleWanted();
        break;
    default:
        break; // the hymn player's actions
    }
}

bool BiblePlayer::loadChapterAudio() {
    const QString path = m_nav.chapterAudioPath();
    if (!path.isEmpty()) m_player.setSource(path);
    playback::Context c = context();
    c.fileExists = !path.isEmpty();
    run(Event::ChapterLoaded, c);
    return c.fileExists;
}

void BiblePlayer::startAtFirstMark(int verseIndex) {
    // A passage without marks plays from the start of the recording.
    QByteArray mark;
    if (!m_marks.isEmpty()) {
        const QByteArray& entry = m_marks.first();
        mark = entry.mid(entry.indexOf('\t') + 1);
        m_player.setPosition(markSeconds(entry));
        m_startMark = mark;
    }
    m_player.play();
    emit passageAudioStarted(mark, verseIndex);
}

void BiblePlayer::cmdOk() {
    run(Event::CmdOk, context());
}
void BiblePlayer::playPause() {
    run(Event::PlayPause, context());
}
void BiblePlayer::stop() {
    run(Event::Stop, context());
}
void BiblePlayer::toggleRepeat() {
    run(Event::ToggleRepeat, context());
}
void BiblePlayer::toggleContinuous() {
    run(Event::ToggleContinuous, context());
}
void BiblePlayer::toggleMute() {
    run(Event::ToggleSound, context());
}

void BiblePlayer::setBibleAudioMuted(bool muted) {
    if (m_state.soundOff == muted) return;
    m_state.soundOff = muted;
    emit bibleAudioMutedChanged(muted);
}

void BiblePlayer::onStatusChanged() {
    const QString why = m_player.errorText();
    const QString source = m_player.source();
    playback::Context c = context();
    c.failed = !why.isEmpty() && playback::isStoppedStatus(c.status);
    c.failedAgain = c.failed && m_failed.contains(source);
    if (c.failed && !c.failedAgain) m_failed << source;
    if (!c.failed && playback::isStoppedStatus(c.status) && m_state.playPause == playback::kPicturePause)
        userPressed(); // a recording played to its end: the run of failures is over
    const playback::Actions actions = playback::step(playback::Kind::Bible, m_state, Event::StatusChanged, c);
    showState();
    const QPointer<BiblePlayer> alive(this);
    for (const Action a : actions) {
        if (!alive) return;
        if (a == Action::TellFailure) {
            if (!std::exchange(m_failureTold, true)) emit playbackFailed(source, why);
        } else {
            perform(a);
        }
    }
}

void BiblePlayer::userPressed() {
    m_failed.clear();
    m_failureTold = false;
}

void BiblePlayer::onChapterAudioFound(bool found) {
    Image_Lecture->setEnabled(found);
}

void BiblePlayer::closePlayer() {
    m_player.close();
}

void BiblePlayer::onSpanSelected() {
    m_state.playPause = playback::kPicturePlay;
    m_state.playEnabled = false;
    m_state.stopEnabled = false;
    showState();
    closePlayer();
}

void BiblePlayer::onPassageShown(const Passage& passage) {
    FollowedMarks followed = followedMarks(passage);
    m_marks = passage.chapterEndFound ? std::move(followed.marks) : QByteArrayList();
    m_stopsBeforeEnd = passage.chapterEndFound && followed.stopsBeforeEnd;
}

void BiblePlayer::onSpanShown(int verseIndex) {
    m_state.playEnabled = true;
    m_state.stopEnabled = true;
    showState();
    if (m_state.soundOff) return;
    // The chapter's recording is loaded before the seek (a closed player has none to seek in).
    const bool hasRecording = loadChapterAudio();
    if (!hasRecording) return;
    if (m_marks.isEmpty()) {
        // Nothing to start at: the recording waits for the play button, which reloads it.
        m_state.playPause = playback::kPicturePlay;
    } else {
        startAtFirstMark(verseIndex);
        m_state.playPause = playback::kPicturePause;
    }
    m_state.reload = true;
    showState();
}

} // namespace lumora::bible
