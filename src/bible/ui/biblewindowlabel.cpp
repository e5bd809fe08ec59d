#include "bible/ui/biblewindowlabel.h"

#include "bible/ui/bibleplayer.h"

#include <QPushButton>

namespace lumora::bible {

namespace {
const QString kLocal = QStringLiteral("L O C A L");
const QString kWindow2 = QStringLiteral("Window 2");
} // namespace

BibleWindowLabel::BibleWindowLabel(BiblePlayer& player, QWidget* page, QObject* parent)
    : QObject(parent), m_player(player) {
    Label24 = new QPushButton(kLocal, page);
    Label24->setObjectName(QStringLiteral("Label24"));
    Label24->setFlat(true);
    Label24->setToolTip(tr("Show the verses by hand on the second window (mark mode, sound off), or "
                           "follow the recording here"));
    connect(Label24, &QPushButton::clicked, this, &BibleWindowLabel::click);
    connect(&m_player, &BiblePlayer::window2Shown, this, &BibleWindowLabel::showWindow2);
    connect(&m_player, &BiblePlayer::window2ToggleWanted, this, &BibleWindowLabel::click);
}

QWidget* BibleWindowLabel::label() const {
    return Label24;
}

void BibleWindowLabel::setWindow2(bool on) {
    m_window2 = on;
    Label24->setText(on ? kWindow2 : kLocal);
    m_player.setBibleWindow2(on);
}

void BibleWindowLabel::showWindow2() {
    setWindow2(true);
}

void BibleWindowLabel::click() {
    // The mute button then flips BibleAudioMuted back: sound on here, or off for the second window.
    const bool toWindow2 = !m_window2;
    setWindow2(toWindow2);
    emit markModeWanted(toWindow2);
    m_player.setBibleAudioMuted(!toWindow2);
    m_player.toggleMute();
}

void BibleWindowLabel::onMarkModeClearedWhileMuted() {
    if (m_window2) click();
}

} // namespace lumora::bible
