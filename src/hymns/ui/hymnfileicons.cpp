#include "hymns/ui/hymnfileicons.h"

#include "hymns/hymnfiles.h"
#include "hymns/shortcut.h"
#include "platform/clicks.h"

#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QStyle>

namespace lumora::hymns {

namespace {

QLabel* iconLabel(QWidget* page, const char* name, QStyle::StandardPixmap pixmap, const QString& tip) {
    auto* label = new QLabel(page);
    label->setObjectName(QString::fromLatin1(name));
    label->setPixmap(page->style()->standardIcon(pixmap).pixmap(24, 24));
    label->setToolTip(tip);
    // Icons come and go with each hymn; their places stay so that the lists never move.
    QSizePolicy policy = label->sizePolicy();
    policy.setRetainSizeWhenHidden(true);
    label->setSizePolicy(policy);
    label->hide();
    return label;
}

} // namespace

HymnFileIcons::HymnFileIcons(QWidget* page, QObject* parent)
    : QObject(parent), Image_Diapo(iconLabel(page, "Image_Diapo", QStyle::SP_FileDialogDetailedView,
                                             QStringLiteral("Slides"))),
      Image_Video(iconLabel(page, "Image_Video", QStyle::SP_MediaPlay, QStringLiteral("Video"))),
      Image_Musique(iconLabel(page, "Image_Musique", QStyle::SP_MediaVolume, QStringLiteral("Music"))) {
    for (QLabel* icon : {Image_Diapo, Image_Video, Image_Musique}) {
        icon->setCursor(Qt::PointingHandCursor);
        icon->setFocusPolicy(Qt::StrongFocus);
        icon->setAccessibleName(icon->toolTip());
        icon->installEventFilter(this);
    }
}

void HymnFileIcons::addTo(QGridLayout* grid, int row, int column) {
    auto* icons = new QHBoxLayout;
    icons->addWidget(Image_Diapo);
    icons->addWidget(Image_Video);
    icons->addWidget(Image_Musique);
    icons->addStretch();
    grid->addLayout(icons, row, column);
}

void HymnFileIcons::lookUp(const QString& cantiques, const QString& book, const QString& label) {
    const MediaLookup slides = findSlides(cantiques, book, label);
    m_slidePath = slides.path;
    showIcon(Image_Diapo, slides.found);

    const VideoLookup video = findVideo(cantiques, book, label);
    if (video.isShortcut) {
        const QFileInfo lnk(video.path);
        m_videoPath = ResolveShortcut(lnk.absolutePath(), lnk.fileName().chopped(4));
    } else {
        m_videoPath = video.path;
    }
    showIcon(Image_Video, !video.extension.isEmpty());
}

void HymnFileIcons::setMusic(bool hasMusic) {
    showIcon(Image_Musique, hasMusic);
}

void HymnFileIcons::clear() {
    m_slidePath.clear();
    m_videoPath.clear();
    for (QLabel* icon : {Image_Diapo, Image_Video, Image_Musique})
        showIcon(icon, false);
}

void HymnFileIcons::showIcon(QLabel* icon, bool hasFile) {
    icon->setProperty("hasFile", hasFile);
    icon->setVisible(hasFile && m_shown);
}

void HymnFileIcons::setShown(bool shown) {
    m_shown = shown;
    for (QLabel* icon : {Image_Diapo, Image_Video, Image_Musique})
        icon->setVisible(shown && icon->property("hasFile").toBool());
}

bool HymnFileIcons::eventFilter(QObject* watched, QEvent* event) {
    const bool keyClick = event->type() == QEvent::KeyPress &&
                          QList<int>{Qt::Key_Space, Qt::Key_Return, Qt::Key_Enter}.contains(
                              static_cast<QKeyEvent*>(event)->key());
    if (platform::isClickRelease(watched, event) || keyClick) {
        if (watched == Image_Musique) emit musicClicked();
        if (watched == Image_Diapo) emit slidesClicked();
        if (watched == Image_Video) emit videoClicked();
    }
    return QObject::eventFilter(watched, event);
}

} // namespace lumora::hymns
