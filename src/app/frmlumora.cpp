#include "app/frmlumora.h"

#include "app/accessibility.h"
#include "app/helpmenu.h"
#include "app/marklinks.h"
#include "app/pages.h"
#include "app/remotelinks.h"
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
#include "import/ui/biblesmenu.h"
#include "import/ui/songimportui.h"
#include "lists/ui/favouritepanel.h"
#include "lists/ui/verselisthost.h"
#include "marks/ui/markeditor.h"
#include "output/ui/outputactions.h"
#include "session/usersettings.h"
#include "windows/ui/clonewindow.h"

#include <QCheckBox>
#include <QDir>
#include <QEvent>
#include <QGuiApplication>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QTabWidget>
#include <QTimer>

namespace lumora::app {

namespace {

// The playlists keep the hymn on display and open their entries through the hymn lists.
class PlaylistHost final : public lists::FavouriteHost {
  public:
    explicit PlaylistHost(hymns::HymnSelection& hymns) : m_hymns(hymns) {}
    std::optional<QString> entryOnDisplay() override { return m_hymns.entryOnDisplay(); }
    void openEntry(const QString& entry) override { m_hymns.ShowPlaylistHymn(entry); }

  private:
    hymns::HymnSelection& m_hymns;
};

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
    import::SongImportUi* songs = nullptr;
    HelpMenu* help = nullptr;
    import::BiblesMenu* bibles = nullptr;
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

    connect(a.hymns, &hymns::HymnSelection::hymnPicked, a.zoom, &bible::Zoom::resetCanticleZoom);
    connect(a.passage, &bible::PassageView::captureToolsToggled, a.hymns,
            &hymns::HymnSelection::setCaptureRowShown);
    connect(a.passage, &bible::PassageView::captureToolsToggled, a.hymnPlayer,
            &hymns::HymnPlayer::setCaptureToolsShown);
    connect(a.passage, &bible::PassageView::passageShown, a.output, &output::OutputActions::onPassageShown);
    connect(a.hymns, &hymns::HymnSelection::hymnShown, a.output, &output::OutputActions::onHymnShown);
    connect(SSTab_LMR, &QTabWidget::currentChanged, this, [this](int tab) {
        m_areas->zoom->onTabChanged(tab);
        m_areas->output->onTabChanged(tab);
        emit tabChanged(tab);
        layOut();
    });

    // The clone window, the window labels and the font dialog.
    a.windows = new WindowLinks({this, SSTab_LMR, a.biblePage, a.canticlePage, *a.navigation, *a.passage,
                                 *a.follower, *a.biblePlayer, *a.zoom, *a.hymns, *a.hymnPlayer,
                                 m_platform.dialogs, m_where.settingsFile, m_session},
                                this);
    connect(this, &FrmLumora::loaded, a.windows, &WindowLinks::onLoaded);
    a.remote = new RemoteLinks({SSTab_LMR, *a.navigation, a.windows->quickReference(), *a.biblePlayer,
                                *a.zoom, *a.hymns, *a.hymnPlayer, *a.playLists, a.windows->clone(),
                                a.windows->nowShowing(), m_session, m_where.pathFile},
                               this);
    // The bottom row is full with the player and the marks: print, save and zoom go beside CLONE.
    a.passage->addHeaderTool(a.output->bibleButtons());
    a.passage->addHeaderTool(a.zoom->bibleControl());
    // A verse label picked with the sound off shows in the clone as well.
    connect(a.marks, &marks::MarkEditor::verseLabelSelected, &a.windows->clone(),
            &windows::CloneWindow::mirrorSelection);
    // Installed after the window links' filter, so that it runs first: a close the user takes back
    // (New marks not yet written) must not close the clone either.
    installEventFilter(this);

    // Moving over the tab control (outside the hymn lists) takes their mouse-over border away.
    for (QWidget* w : {static_cast<QWidget*>(SSTab_LMR), static_cast<QWidget*>(a.canticlePage)}) {
        w->setMouseTracking(true);
        w->installEventFilter(this);
    }
    buildFrame();
}

// The frame around the areas: the layout routine, the hymn's slides and video, the help menu.
void FrmLumora::buildFrame() {
    Areas& a = *m_areas;
    connect(a.biblePage, &BiblePage::layoutWanted, this, &FrmLumora::layOut);
    connect(a.canticlePage, &CanticlePage::layoutWanted, this, &FrmLumora::layOut);
    connect(a.hymns, &hymns::HymnSelection::slidesIconClicked, a.media,
            [&a] { a.media->openSlides(a.hymns->SlidePath()); });
    connect(a.hymns, &hymns::HymnSelection::videoIconClicked, a.media,
            [&a] { a.media->openVideo(a.hymns->VideoPath()); });
    // "Add a Bible…" and "Remove a version…": the version list is read anew after either.
    a.bibles = named(new import::BiblesMenu(m_session, m_platform.dialogs, m_platform.prompts, this, this),
                     "biblesMenu");
    menuBar()->addMenu(a.bibles->menu());
    connect(a.bibles, &import::BiblesMenu::versionsChanged, a.navigation,
            &bible::BibleNavigation::LoadBibleVersions);
    connect(a.navigation, &bible::BibleNavigation::chapterShown, a.bibles,
            [b = a.bibles](const QByteArray& code) { b->setShownVersion(code); });
    buildSongMenu();
    named(menuBar()->addAction(QStringLiteral("Remote…"), a.remote,
                               [this] { m_areas->remote->showDialog(this); }),
          "mnu_remote")
        ->setToolTip(QStringLiteral("Phones, a stage screen and a streaming program over the network"));
    a.help = named(new HelpMenu(m_session, m_platform.shell, this), "helpMenu");
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

void FrmLumora::tellPlaybackFailure(const QString& path, const QString& why) {
    // The box waits for the user; the player and continuous play go on meanwhile.
    QMetaObject::invokeMethod(
        this,
        [this, path, why] {
            m_platform.prompts.tell(QStringLiteral("The recording cannot be played:\n%1\n\n%2")
                                        .arg(QDir::toNativeSeparators(path), why),
                                    platform::kAppTitle, platform::PromptIcon::Exclamation);
        },
        Qt::QueuedConnection);
}

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

    using Nav = bible::BibleNavigation;
    connect(a.navigation, &Nav::versionSelected, a.biblePlayer, &bible::BiblePlayer::closePlayer);
    connect(a.navigation, &Nav::chapterAudioFound, a.biblePlayer, &bible::BiblePlayer::onChapterAudioFound);
    connect(a.navigation, &Nav::spanSelected, a.biblePlayer, &bible::BiblePlayer::onSpanSelected);
    connect(a.passage, &bible::PassageView::passageShown, a.biblePlayer, &bible::BiblePlayer::onPassageShown);
    connect(a.passage, &bible::PassageView::passageShown, a.follower, &bible::VerseFollower::onPassageShown);
    connect(Timer1, &QTimer::timeout, a.follower, &bible::VerseFollower::onTick);
    connect(Timer1, &QTimer::timeout, a.marks, &marks::MarkEditor::showLivePosition);
    connect(a.navigation, &Nav::spanShown, a.biblePlayer, &bible::BiblePlayer::onSpanShown);
    connect(a.navigation, &Nav::versionLoaded, a.biblePlayer, &bible::BiblePlayer::cmdOk);
    connect(a.verseListHost, &lists::VerseListHost::passageRequested, a.navigation, &Nav::openPassage);
    connect(a.navigation, &Nav::passageChosen, a.verseListHost, &lists::VerseListHost::onPassageChosen);
    connect(a.navigation, &Nav::choiceCleared, a.verseListHost, &lists::VerseListHost::onChoiceCleared);
    connect(a.biblePlayer, &bible::BiblePlayer::playbackFailed, this, &FrmLumora::tellPlaybackFailure);

    linkMarks(
        {*a.navigation, *a.passage, *a.follower, *a.biblePlayer, *a.marks, *a.windowLabel, *a.biblePage});
    QAction* markMenu = menuBar()->addMenu(a.marks->menu());
    connect(SSTab_LMR, &QTabWidget::currentChanged, markMenu,
            [markMenu](int tab) { markMenu->setVisible(tab == 0); });
}

void FrmLumora::buildCanticleTab() {
    Areas& a = *m_areas;
    a.hymns = named(new hymns::HymnSelection(m_session, a.canticlePage, this), "hymnSelection");
    a.hymnPlayer =
        named(new hymns::HymnPlayer(*a.WindowsMediaPlayer2, m_platform.prompts, this), "hymnPlayer");
    a.hymnPlayer->attachTo(*a.hymns);
    connect(a.hymnPlayer, &hymns::HymnPlayer::playbackFailed, this, &FrmLumora::tellPlaybackFailure);
    a.playListHost = std::make_unique<PlaylistHost>(*a.hymns);
    a.playLists = named(new lists::FavouritePanel(lists::PanelConfig::playList(), *a.playListHost,
                                                  m_platform.prompts, m_platform.shell, a.canticlePage),
                        "playLists");
    a.playLists->setSearchControls({a.hymns->searchRow()});
}

// The Canticle tab's menu: songs into a hymn book, a hymn book out as OpenLyrics.
void FrmLumora::buildSongMenu() {
    Areas& a = *m_areas;
    a.songs = named(new import::SongImportUi(m_session, m_platform.dialogs, m_platform.prompts, this, this),
                    "songImport");
    QMenu* menu = named(menuBar()->addMenu(QStringLiteral("Hymn book")), "mnu_hymnbook");
    named(menu->addAction(QStringLiteral("Add songs…"), a.songs,
                          [&a] { a.songs->addSongs(a.hymns->CurrentBook()); }),
          "mnu_addsongs");
    named(menu->addAction(QStringLiteral("Export hymn book…"), a.songs,
                          [&a] { a.songs->exportBook(a.hymns->CurrentBook()); }),
          "mnu_exportbook");
    connect(a.songs, &import::SongImportUi::songsImported, a.hymns, &hymns::HymnSelection::showImported);
    menu->menuAction()->setVisible(SSTab_LMR->currentIndex() == 1);
    connect(SSTab_LMR, &QTabWidget::currentChanged, menu,
            [menu](int tab) { menu->menuAction()->setVisible(tab == 1); });
}

bool FrmLumora::eventFilter(QObject* watched, QEvent* event) {
    if (watched == this && event->type() == QEvent::Close && m_areas->marks && !m_areas->marks->mayClose()) {
        event->ignore();
        return true;
    }
    if (event->type() == QEvent::MouseMove && m_areas->hymns) m_areas->hymns->clearHoverBorders();
    return QMainWindow::eventFilter(watched, event);
}

RemoteLinks& FrmLumora::remote() {
    return *m_areas->remote;
}

void FrmLumora::SetZoom(int percent) {
    m_areas->zoom->SetZoom(percent);
}

bool FrmLumora::load() {
    Areas& a = *m_areas;
    m_session.DataPath = session::ResolveDataPath(m_where);
    if (m_session.DataPath.isEmpty()) {
        close();
        return false;
    }
    // A Bible audio muted by the user stays muted at the next start, before the first passage is
    // loaded (its recording would start); from here on every change of the mute switch is kept.
    if (m_startsMuted || session::LoadUserSettings(m_where.settingsFile).bibleAudioMuted)
        a.biblePlayer->toggleMute();
    connect(a.biblePlayer, &bible::BiblePlayer::bibleAudioMutedChanged, this, [this](bool muted) {
        session::UpdateUserSettings(m_where.settingsFile,
                                    [muted](session::UserSettings& s) { s.bibleAudioMuted = muted; });
    });
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
