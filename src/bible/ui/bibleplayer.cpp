#include "bible/ui/bibleplayer.h"

#include <QHBoxLayout>
#include <QStyle>
#include <QToolButton>
#include <QWidget>

namespace lumora::bible {

BiblePlayer::BiblePlayer(platform::MediaPlayer* player, QWidget* page, QObject* parent)
    : QObject(parent), m_player(player) {
    m_buttons = new QWidget(page);
    auto* row = new QHBoxLayout(m_buttons);
    row->setContentsMargins(0, 0, 0, 0);
    auto button = [this, row](const char* name, QStyle::StandardPixmap pixmap) {
        auto* b = new QToolButton(m_buttons);
        b->setObjectName(QString::fromLatin1(name));
        b->setIcon(m_buttons->style()->standardIcon(pixmap));
        row->addWidget(b);
        return b;
    };
    Image_Lecture = button("Image_Lecture", QStyle::SP_MediaVolume);
    Image_Lecture->setToolTip(tr("The chapter has a recording"));
    Image_Lecture->setEnabled(false);
    ImagePlayPause = button("ImagePlayPause", QStyle::SP_MediaPlay);
    ImageStop = button("ImageStop", QStyle::SP_MediaStop);
}

void BiblePlayer::onChapterAudioFound(bool found) { Image_Lecture->setEnabled(found); }

void BiblePlayer::closePlayer() {
    if (m_player) m_player->close();
}

void BiblePlayer::onSpanSelected() {
    ImagePlayPause->setIcon(ImagePlayPause->style()->standardIcon(QStyle::SP_MediaPlay));
    ImagePlayPause->setEnabled(false);
    ImageStop->setEnabled(false);
    closePlayer();
}

void BiblePlayer::onPassageShown(const Passage& passage) {
    m_marks = passage.chapterEndFound ? passage.ComboBox_repere : QByteArrayList();
}

void BiblePlayer::onSpanShown(int verseIndex) {
    ImagePlayPause->setEnabled(true);
    ImageStop->setEnabled(true);
    // The chapter recording starts at the passage's first mark, once a recording is loaded into
    // the player (closing it above leaves it without one until the chapter audio is loaded).
    if (m_muted || m_marks.isEmpty() || !m_player || m_player->source().isEmpty()) return;
    const QByteArray entry = m_marks.first();
    const QByteArray p = entry.mid(entry.indexOf('\t') + 1);
    bool ok = false;
    const double seconds = QString::fromLatin1(p).replace(QLatin1Char(','), QLatin1Char('.')).toDouble(&ok);
    if (ok) m_player->setPosition(seconds);
    m_player->play();
    ImagePlayPause->setIcon(ImagePlayPause->style()->standardIcon(QStyle::SP_MediaPause));
    emit passageAudioStarted(p, verseIndex);
    m_reload = true;
}

} // namespace lumora::bible
