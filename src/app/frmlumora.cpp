#include "app/frmlumora.h"

#include "app/accessibility.h"
#include "app/datamenus.h"
#include "app/helpmenu.h"
#include "app/marklinks.h"
#include "app/pages.h"
#include "app/remotelinks.h"
#include "app/tablinks.h"
#include "app/windowlinks.h"
#include "bible/ui/biblenavigation.h"
#include "bible/ui/bibleplayer.h"
#include "bible/ui/biblesearch.h"
#include "bible/ui/biblewindowlabel.h"
#include "bible/ui/passageview.h"
#include "bible/ui/versefollower.h"
#include "bible/ui/zoom.h"
#include "hymns/ui/hymnmedia.h"
#include "hymns/ui/hymnplayer.h"
#include "hymns/ui/hymnselection.h"
#include "lists/ui/favouritepanel.h"
#include "lists/ui/verselisthost.h"
#include "marks/ui/markeditor.h"
#include "output/ui/outputactions.h"

#include <QCheckBox>
#include <QGuiApplication>
#include <QMenuBar>
#include <QScreen>
#include <QTabWidget>
#include <QTimer>

namespace lumora::app {

namespace {

template <class T> T* named(T* object, const char* name) {
    object->setObjectName(QString::fromLatin1(name));
    return object;
}

} // namespace

struct FrmLumora::Areas {
    BiblePage* biblePage = nullptr;
    CanticlePage* canticlePage = nullptr;
    platform::MediaPlayer* WindowsMediaPlayer1 = nullptr;
    platform::MediaPlayer* WindowsMediaPlayer2 = nullptr;
    bible::BibleNavigation* navigation = nullptr;
    bible::PassageView* passage = nullptr;
    bible::BibleSearch* search = nullptr;
    bible::BiblePlayer* biblePlayer = nullptr;
    bible::VerseFollower* follower = nullptr;
    bible::Zoom* zoom = nullptr;
    marks::MarkEditor* marks = nullptr;
    bible::BibleWindowLabel* windowLabel = nullptr;
    hymns::HymnSelection* hymns = nullptr;
    hymns::HymnPlayer* hymnPlayer = nullptr;
    lists::VerseListHost* verseListHost = nullptr;
    std::unique_ptr<PlaylistHost> playListHost;
    lists::FavouritePanel* verseLists = nullptr;
    lists::FavouritePanel* playLists = nullptr;
    output::OutputActions* output = nullptr;
    WindowLinks* windows = nullptr;
    RemoteLinks* remote = nullptr;
    hymns::HymnMedia* media = nullptr;
};

FrmLumora::FrmLumora(platform::Platform& platform, session::DataPathLocations where, QWidget* parent)
    : QMainWindow(parent), m_platform(platform), m_where(std::move(where)),
      m_areas(std::make_unique<Areas>()) {
    setObjectName(QStringLiteral("FrmLumora"));
    setWindowTitle(QStringLiteral("Lumora"));
    // The tab control is placed by the layout routine, not by a Qt layout.
    setCentralWidget(new QWidget(this));
    SSTab_LMR = named(new QTabWidget(centralWidget()), "SSTab_LMR");
    Areas& a = *m_areas;
    a.biblePage = new BiblePage;
    a.canticlePage = new CanticlePage;
    SSTab_LMR->addTab(a.biblePage, QStringLiteral("Bible"));
    SSTab_LMR->addTab(a.canticlePage, QStringLiteral("Canticle"));
    a.WindowsMediaPlayer1 = named(m_platform.makePlayer(this), "WindowsMediaPlayer1");
    a.WindowsMediaPlayer2 = named(m_platform.makePlayer(this), "WindowsMediaPlayer2");
    Timer1 = named(new QTimer(this), "Timer1");

    buildBibleTab();
    buildCanticleTab();
    a.zoom = named(new bible::Zoom(a.passage->passageBox(), a.biblePage, a.canticlePage, this), "zoom");
    a.zoom->setCanticleBox(&a.hymns->words());
    a.output = named(new output::OutputActions(m_session, a.passage->passageBox(), a.hymns->words(),
                                               {m_platform.dialogs, m_platform.prompts, m_platform.shell},
                                               a.biblePage, a.canticlePage, this),
                     "outputActions");
    a.biblePage->place(
        {a.navigation->versionList(), a.search->row(), a.verseLists->widget(), a.navigation->lists(),
         a.marks->table(), a.navigation->classLabel(), a.passage->orderFrame(), a.passage->view(),
         a.passage->options(), a.follower->keepAtTopBox(), a.biblePlayer->buttons(), a.marks->positionRow(),
         nullptr, nullptr, a.windowLabel->label(), a.verseLists->showBox(),
         [s = a.search](int text, int results) { s->setSearchHalves(text, results); }, a.passage->header()});
    a.biblePlayer->installShortcuts(a.biblePage);
    a.media =
        named(new hymns::HymnMedia(m_session, m_platform.shell, m_platform.prompts, a.canticlePage, this),
              "hymnMedia");
    a.canticlePage->place({a.hymns->notFoundLabel(), a.hymns->bookLists(), a.hymns->searchRow(),
                           a.playLists->widget(), a.hymns->wordsBox(), a.hymns->details(),
                           a.hymnPlayer->buttons(), a.media->companions(), a.hymnPlayer->captureTools(),
                           a.zoom->canticleControl(), a.output->canticleButtons(), a.playLists->showBox(),
                           [h = a.hymns](int text, int results) { h->setSearchHalves(text, results); },
                           a.hymns->titleRow()});
    a.hymnPlayer->installShortcuts(a.canticlePage);

    linkCanticleTab({*a.passage, *a.hymns, *a.hymnPlayer, *a.media, *a.zoom, *a.output, *SSTab_LMR});
    connect(SSTab_LMR, &QTabWidget::currentChanged, this, [this](int tab) {
        emit tabChanged(tab);
        layOut();
    });

    // The clone window, the window labels and the font dialog.
    a.windows = new WindowLinks({this, SSTab_LMR, a.biblePage, a.canticlePage, *a.navigation, *a.passage,
                                 *a.follower, *a.biblePlayer, *a.zoom, *a.hymns, *a.hymnPlayer,
                                 m_platform.dialogs, m_where.settingsFile, m_session, *a.marks, *a.output},
                                this);
    connect(this, &FrmLumora::loaded, a.windows, &WindowLinks::onLoaded);
    a.remote = new RemoteLinks({SSTab_LMR, *a.navigation, *a.biblePlayer, *a.zoom, *a.hymns, *a.hymnPlayer,
                                *a.playLists, *a.windows, m_session, m_where.pathFile},
                               this);
    // Installed after the window links' filter, so that it runs first: a close the user takes back
    // (New marks not yet written) must not close the clone either.
    installEventFilter(this);
    // Moving over the tab control (outside the hymn lists) takes their mouse-over border away.
    a.hymns->clearHoverBordersOnMovesOver(SSTab_LMR);
    buildFrame();
}

// The frame around the areas: the layout routine, the hymn's slides and video, the help menu.
void FrmLumora::buildFrame() {
    Areas& a = *m_areas;
    connect(a.biblePage, &BiblePage::layoutWanted, this, &FrmLumora::layOut);
    connect(a.canticlePage, &CanticlePage::layoutWanted, this, &FrmLumora::layOut);
    addDataMenus(
        {*this, *SSTab_LMR, m_session, m_platform.dialogs, m_platform.prompts, *a.navigation, *a.hymns});
    a.remote->addMenuEntry(*this);
    named(new HelpMenu(m_session, m_platform.shell, this), "helpMenu");
    // Keys: next / previous chapter, search, zoom (play / pause and stop come with the players).
    // The clone labels get theirs beside these, with a tooltip that shows them.
    a.navigation->installShortcuts(a.biblePage);
    a.search->installShortcuts(a.biblePage);
    a.hymns->installShortcuts(a.canticlePage);
    a.zoom->installShortcuts(a.biblePage, a.canticlePage);
    nameControls(this);
    // The header tools joined their rows after the pages were placed.
    a.biblePage->orderTabs();
    a.canticlePage->orderTabs();
    showFocusRing(this);
}

void FrmLumora::layOut() {
    layOutMainWindow(frameGeometry().size(), *centralWidget(), *SSTab_LMR, *m_areas->biblePage,
                     *m_areas->canticlePage);
}

void FrmLumora::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    layOut();
}

FrmLumora::~FrmLumora() = default;

void FrmLumora::buildBibleTab() {
    Areas& a = *m_areas;
    QWidget* page = a.biblePage;
    a.navigation = named(new bible::BibleNavigation(m_session, m_platform.prompts, page, this), "navigation");
    a.passage = named(new bible::PassageView(m_session, *a.navigation, page, this), "passageView");
    a.search = named(new bible::BibleSearch(m_session, *a.navigation, a.passage->passageBox(),
                                            m_platform.prompts, page, this),
                     "search");
    a.follower = named(new bible::VerseFollower(*a.WindowsMediaPlayer1, a.passage->passageBox(), page, this),
                       "follower");
    a.biblePlayer =
        named(new bible::BiblePlayer(*a.WindowsMediaPlayer1, *a.navigation, *a.follower, page, this),
              "biblePlayer");
    a.marks = named(new marks::MarkEditor(m_session, a.passage->passageBox(), *a.WindowsMediaPlayer1,
                                          m_platform.prompts, m_platform.dialogs, page, this),
                    "markEditor");
    a.windowLabel = named(new bible::BibleWindowLabel(*a.biblePlayer, page, this), "windowLabel");
    a.verseListHost = new lists::VerseListHost(this);
    a.verseLists = named(new lists::FavouritePanel(lists::PanelConfig::verseList(), *a.verseListHost,
                                                   m_platform.prompts, m_platform.shell, page),
                         "verseLists");
    a.verseLists->setSearchControls({a.search->row()});

    linkBibleTab({*a.navigation, *a.passage, *a.biblePlayer, *a.follower, *a.verseListHost, *Timer1,
                  m_platform.prompts});
    linkMarks({*a.navigation, *a.passage, *a.follower, *a.biblePlayer, *a.marks, *a.windowLabel, *a.biblePage,
               *Timer1, *menuBar(), *SSTab_LMR});
}

void FrmLumora::buildCanticleTab() {
    Areas& a = *m_areas;
    a.hymns = named(new hymns::HymnSelection(m_session, a.canticlePage, this), "hymnSelection");
    a.hymnPlayer =
        named(new hymns::HymnPlayer(*a.WindowsMediaPlayer2, m_platform.prompts, this), "hymnPlayer");
    a.hymnPlayer->attachTo(*a.hymns);
    linkHymnPlayer(*a.hymnPlayer, m_platform.prompts);
    a.playListHost = std::make_unique<PlaylistHost>(*a.hymns);
    a.playLists = named(new lists::FavouritePanel(lists::PanelConfig::playList(), *a.playListHost,
                                                  m_platform.prompts, m_platform.shell, a.canticlePage),
                        "playLists");
    a.playLists->setSearchControls({a.hymns->searchRow()});
}

bool FrmLumora::eventFilter(QObject* watched, QEvent* event) {
    if (watched == this && event->type() == QEvent::Close && m_areas->marks && !m_areas->marks->mayClose()) {
        event->ignore();
        return true;
    }
    return QMainWindow::eventFilter(watched, event);
}

RemoteLinks& FrmLumora::remote() {
    return *m_areas->remote;
}

bool FrmLumora::load() {
    Areas& a = *m_areas;
    m_session.DataPath = session::ResolveDataPath(m_where);
    if (m_session.DataPath.isEmpty()) {
        close();
        return false;
    }
    // Before the first passage is loaded (its recording would start).
    keepBibleAudioMuted(*a.biblePlayer, m_where.settingsFile, m_startsMuted);
    a.verseLists->startUp(m_session.DataPath);
    a.playLists->startUp(m_session.DataPath);
    move(0, 0);
    a.navigation->LoadBibleVersions();
    a.navigation->selectDefaultPassage();
    if (QScreen* screen = QGuiApplication::primaryScreen()) resize(screen->availableGeometry().size());
    Timer1->start(50);
    a.passage->saveStartupStyle();
    a.navigation->reshowSelection();
    a.biblePlayer->cmdOk();
    a.navigation->endStartUp();
    a.hymns->startUp();
    emit loaded();
    return true;
}

} // namespace lumora::app
