#include "bible/ui/versefollower.h"

#include "platform/mediaplayer.h"
#include "platform/richtextbox.h"

#include <QCheckBox>
#include <QEvent>
#include <QMouseEvent>
#include <QTextEdit>

namespace lumora::bible {

VerseFollower::VerseFollower(platform::MediaPlayer& player, platform::RichTextBox& passage, QWidget* page,
                             QObject* parent)
    : QObject(parent), m_player(player), m_passage(passage) {
    Check_repere = new QCheckBox(tr("Top"), page);
    Check_repere->setObjectName(QStringLiteral("Check_repere"));
    Check_repere->setToolTip(tr("Ticked, the verse being read is scrolled to the top of the passage"));
    m_hold.setSingleShot(true);
    m_hold.setInterval(100);
    m_passage.edit()->viewport()->installEventFilter(this);
}

QWidget* VerseFollower::keepAtTopBox() const {
    return Check_repere;
}

void VerseFollower::setKeepAtTopEnabled(bool enabled) {
    Check_repere->setEnabled(enabled);
}

void VerseFollower::clearKeepAtTop() {
    Check_repere->setChecked(false);
}

void VerseFollower::onPassageShown(const Passage& passage) {
    FollowedMarks followed = followedMarks(passage);
    m_marks = std::move(followed.marks);
    m_markSelected = passage.chapterEndFound && !m_marks.isEmpty();
    m_endVerseIsLast = !followed.stopsBeforeEnd;
    // The box holds this passage now: where each verse starts in it is found once, in order.
    QStringList labels;
    for (const session::ShownVerse& v : passage.verses)
        labels << v.label;
    m_labelStarts = session::verseLabelStarts(m_passage.plainText(), labels);
    if (passage.chapterEndFound) m_state = {};
}

void VerseFollower::onTick() {
    if (!m_hold.isActive()) step();
}

void VerseFollower::step() {
    FollowInput in;
    in.position = m_player.position();
    in.marks = &m_marks;
    in.markSelected = m_markSelected;
    in.endVerseIsLast = m_endVerseIsLast;
    in.labelStarts = &m_labelStarts;
    in.keepAtTop = Check_repere->isChecked();
    in.markMode = m_markMode;
    const FollowResult r = FollowStep(m_state, in);
    // Stopping a player that has already stopped would report its end again on every tick.
    if (r.stopPlayer && m_player.statusText() == QStringLiteral("Playing")) m_player.stop();
    if (r.caretToEnd) {
        m_passage.setCaret(static_cast<int>(m_passage.plainText().size()));
        m_passage.edit()->setFocus();
        emit caretMovedToEnd();
    }
    if (r.select) {
        m_passage.select(r.select->first, r.select->second);
        emit verseSelected(r.select->first, r.select->second);
        emit verseHeard(r.label);
    }
    if (r.pause) m_hold.start();
}

bool VerseFollower::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent*>(event)->button() != Qt::RightButton)
        onLeftClickReleased();
    return QObject::eventFilter(watched, event);
}

void VerseFollower::onLeftClickReleased() {
    // The verse being heard comes back into view at the top (the right button takes a mark).
    if (m_markMode) return;
    // Before the first mark there is nothing to bring back; MarkIndex never goes below 0, or the
    // following would stop until the next passage.
    if (--m_state.MarkIndex <= 0) {
        m_state.MarkIndex = 0;
        return;
    }
    if (Check_repere->isChecked()) return;
    Check_repere->setChecked(true);
    step();
    Check_repere->setChecked(false);
}

} // namespace lumora::bible
