#include "app/datamenus.h"

#include "bible/ui/biblenavigation.h"
#include "hymns/ui/hymnselection.h"
#include "import/ui/biblesmenu.h"
#include "import/ui/songimportui.h"

#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QTabWidget>

namespace lumora::app {

void addDataMenus(const DataMenuParts& p) {
    auto* bibles = new import::BiblesMenu(p.session, p.dialogs, p.prompts, &p.window, &p.window);
    bibles->setObjectName(QStringLiteral("biblesMenu"));
    p.window.menuBar()->addMenu(bibles->menu());
    QObject::connect(bibles, &import::BiblesMenu::versionsChanged, &p.navigation,
                     &bible::BibleNavigation::LoadBibleVersions);
    QObject::connect(&p.navigation, &bible::BibleNavigation::chapterShown, bibles,
                     [bibles](const QByteArray& code) { bibles->setShownVersion(code); });

    auto* songs = new import::SongImportUi(p.session, p.dialogs, p.prompts, &p.window, &p.window);
    songs->setObjectName(QStringLiteral("songImport"));
    QMenu* menu = p.window.menuBar()->addMenu(QStringLiteral("Hymn book"));
    menu->setObjectName(QStringLiteral("mnu_hymnbook"));
    hymns::HymnSelection* hymns = &p.hymns;
    menu->addAction(QStringLiteral("Add songs…"), songs,
                    [songs, hymns] { songs->addSongs(hymns->CurrentBook()); })
        ->setObjectName(QStringLiteral("mnu_addsongs"));
    menu->addAction(QStringLiteral("Export hymn book…"), songs,
                    [songs, hymns] { songs->exportBook(hymns->CurrentBook()); })
        ->setObjectName(QStringLiteral("mnu_exportbook"));
    QObject::connect(songs, &import::SongImportUi::songsImported, hymns, &hymns::HymnSelection::showImported);
    menu->menuAction()->setVisible(p.tabs.currentIndex() == 1);
    QObject::connect(&p.tabs, &QTabWidget::currentChanged, menu,
                     [menu](int tab) { menu->menuAction()->setVisible(tab == 1); });
}

} // namespace lumora::app
