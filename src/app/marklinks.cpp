#include "app/marklinks.h"

#include "app/pages.h"
#include "bible/ui/biblenavigation.h"
#include "bible/ui/bibleplayer.h"
#include "bible/ui/biblewindowlabel.h"
#include "bible/ui/passageview.h"
#include "bible/ui/versefollower.h"
#include "marks/ui/markeditor.h"

#include <QMenu>
#include <QMenuBar>
#include <QTabWidget>
#include <QTimer>

namespace lumora::app {

void linkMarks(const MarkParts& p) {
    using Nav = bible::BibleNavigation;
    using Marks = marks::MarkEditor;
    using Player = bible::BiblePlayer;
    QObject::connect(&p.timer, &QTimer::timeout, &p.marks, &Marks::showLivePosition);
    QObject::connect(&p.navigation, &Nav::chapterShown, &p.marks, &Marks::onChapterShown);
    QObject::connect(&p.navigation, &Nav::verseSelected, &p.marks, &Marks::onVerseSelected);
    QObject::connect(&p.player, &Player::passageAudioStarted, &p.marks, &Marks::onPassageAudioStarted);
    QObject::connect(&p.passage, &bible::PassageView::passageShown, &p.marks, &Marks::onPassageShown);
    QObject::connect(&p.marks, &Marks::bookFileWritten, &p.passage, &bible::PassageView::onBookFileWritten);
    QObject::connect(&p.marks, &Marks::verseWanted, &p.navigation, &Nav::reselectVerse);
    QObject::connect(&p.marks, &Marks::passageAudioWanted, &p.player, &Player::cmdOk);
    QObject::connect(&p.marks, &Marks::bibleAudioStopWanted, &p.player, &Player::stop);
    QObject::connect(&p.marks, &Marks::markModeChanged, &p.follower, &bible::VerseFollower::setMarkMode);
    QObject::connect(&p.marks, &Marks::markModeChanged, &p.player, &Player::setMarkMode);
    QObject::connect(&p.marks, &Marks::keepAtTopEnabled, &p.follower,
                     &bible::VerseFollower::setKeepAtTopEnabled);
    QObject::connect(&p.marks, &Marks::keepAtTopCleared, &p.follower, &bible::VerseFollower::clearKeepAtTop);
    QObject::connect(&p.marks, &Marks::markWidgetsShown, &p.page, &BiblePage::setMarkTableShown);
    QObject::connect(&p.player, &Player::bibleAudioMutedChanged, &p.marks, &Marks::setBibleAudioMuted);
    QObject::connect(&p.player, &Player::markWidgetsShown, &p.marks, &Marks::onMuteToggled);
    QObject::connect(&p.windowLabel, &bible::BibleWindowLabel::markModeWanted, &p.marks,
                     &Marks::setMarkModeTicked);
    QObject::connect(&p.marks, &Marks::markModeClearedWhileMuted, &p.windowLabel,
                     &bible::BibleWindowLabel::onMarkModeClearedWhileMuted);
    QAction* markMenu = p.menuBar.addMenu(p.marks.menu());
    QObject::connect(&p.tabs, &QTabWidget::currentChanged, markMenu,
                     [markMenu](int tab) { markMenu->setVisible(tab == 0); });
}

} // namespace lumora::app
