#include "app/frmlumora.h"

#include "bible/ui/biblenavigation.h"
#include "bible/ui/biblesearch.h"
#include "bible/ui/passageview.h"
#include "bible/ui/zoom.h"
#include "common/paths.h"
#include "hymns/ui/hymnselection.h"
#include "lists/ui/favouritehost.h"
#include "lists/ui/favouritepanel.h"
#include "lists/ui/verselisthost.h"

#include <QCheckBox>
#include <QEvent>
#include <QComboBox>
#include <QDir>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>
#include <QSplitter>
#include <QTabWidget>
#include <QTextEdit>
#include <QTimer>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace lumora::app {

FrmLumora::FrmLumora(platform::Platform& platform, session::DataPathLocations where, QWidget* parent)
    : QMainWindow(parent), m_platform(platform), m_where(std::move(where)) {
    setObjectName(QStringLiteral("FrmLumora"));
    setWindowTitle(QStringLiteral("Lumora"));
    SSTab_LMR = new QTabWidget(this);
    SSTab_LMR->setObjectName(QStringLiteral("SSTab_LMR"));
    setCentralWidget(SSTab_LMR);
    biblePage = new QWidget;
    canticlePage = new QWidget;
    SSTab_LMR->addTab(biblePage, QStringLiteral("Bible"));
    SSTab_LMR->addTab(canticlePage, QStringLiteral("Canticle"));

    WindowsMediaPlayer1 = m_platform.makePlayer(this);
    WindowsMediaPlayer1->setObjectName(QStringLiteral("WindowsMediaPlayer1"));
    WindowsMediaPlayer2 = m_platform.makePlayer(this);
    WindowsMediaPlayer2->setObjectName(QStringLiteral("WindowsMediaPlayer2"));
    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    connect(Timer1, &QTimer::timeout, this, [this] {
        if (followStep) followStep();
    });

    buildBiblePage();
    buildVerseLists();
    buildCanticlePage();
    search = new bible::BibleSearch(m_state, *navigation, *passageView->passageBox, m_platform.prompts, bibleSearchRow,
                                    this);
    verseLists->setSearchControls({search->Text_achercher, search->Cmd_cherche_passage, search->ComboBox_passage_trouve});
    zoom = new bible::Zoom(m_state, SSTab_LMR, passageView->passageBox, bibleToolsRow, canticleToolsRow, this);
    zoom->setCaptureField(canticleToolsRow->findChild<QLineEdit*>(QStringLiteral("Txt_Echantillon")));
    zoom->setPositionLabel(navigation->Lbl_Position);
    zoom->setCanticleBox(&hymnSelection->words());
    connect(SSTab_LMR, &QTabWidget::currentChanged, this, &FrmLumora::onTabChanged);
    // Moving over the tab control (outside the hymn lists) takes their mouse-over border away.
    for (QWidget* w : {static_cast<QWidget*>(SSTab_LMR), canticlePage}) {
        w->setMouseTracking(true);
        w->installEventFilter(this);
    }
}

bool FrmLumora::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseMove && hymnSelection) hymnSelection->clearHoverBorders();
    return QMainWindow::eventFilter(watched, event);
}

FrmLumora::~FrmLumora() = default;

// Verse lists: the panel shares bibleSearchRow with the search row and opens its entries through
// the navigation's own jump.
void FrmLumora::buildVerseLists() {
    m_verseListNav = std::make_unique<lists::WidgetNavigationLists>(biblePage);
    m_verseListHost = std::make_unique<lists::VerseListHost>(*m_verseListNav, m_state);
    m_verseListHost->setJump([this] { navigation->jumpToTarget(); });
    verseLists = new lists::FavouritePanel(lists::PanelConfig::verseList(), m_state, *m_verseListHost,
                                           m_platform.prompts, m_platform.shell, bibleSearchRow);
    bibleSearchRow->layout()->addWidget(verseLists->widget());
}

// Playlists: the panel shares the hymn search row and opens its entries through the hymn lists.
void FrmLumora::buildPlayLists() {
    m_playListHost = std::make_unique<lists::CallbackHost>(
        [this]() -> std::optional<QString> {
            const int row = hymnSelection->ComboBox_Chant->currentIndex();
            if (row < 0 || row >= hymnSelection->ComboBox_Info_chant().size()) return std::nullopt;
            return hymnSelection->ComboBox_Info_chant().at(row);
        },
        [this](const QString& entry) { hymnSelection->ShowPlaylistHymn(entry); });
    playLists = new lists::FavouritePanel(lists::PanelConfig::playList(), m_state, *m_playListHost, m_platform.prompts,
                                          m_platform.shell, canticleArea);
    // Beside the hymn search controls, in the same row.
    QWidget* anchor = hymnSelection->Cantique_achercher;
    QLayout* pageLayout = canticleArea->layout();
    for (int i = 0; pageLayout && i < pageLayout->count(); ++i) {
        QLayout* row = pageLayout->itemAt(i)->layout();
        if (row && row->indexOf(anchor) >= 0) {
            row->addWidget(playLists->widget());
            break;
        }
    }
    playLists->setSearchControls({hymnSelection->Cantique_achercher, hymnSelection->Cmd_cherche_cantique,
                                  hymnSelection->ComboBox_cantique_trouve});
}

void FrmLumora::buildBiblePage() {
    navigation = new bible::BibleNavigation(m_state, m_platform, WindowsMediaPlayer1, biblePage, this);
    passageView = new bible::PassageView(m_state, *navigation, biblePage, this);
    navigation->runCmdOk = [this] {
        if (cmdOk) cmdOk();
    };
    connect(passageView, &bible::PassageView::captureToolsToggled, this, &FrmLumora::onCaptureToolsToggled);

    auto* page = new QVBoxLayout(biblePage);
    auto* top = new QHBoxLayout;
    navigation->List_version->setMinimumWidth(220);
    top->addWidget(navigation->List_version, 0, Qt::AlignTop);
    bibleSearchRow = new QWidget(biblePage);
    bibleSearchRow->setObjectName(QStringLiteral("bibleSearchRow"));
    auto* searchRowLayout = new QHBoxLayout(bibleSearchRow);
    searchRowLayout->setContentsMargins(0, 0, 0, 0);
    top->addWidget(bibleSearchRow, 1);
    page->addLayout(top);

    auto* middle = new QHBoxLayout;
    auto* navColumn = new QVBoxLayout;
    auto* lists = new QHBoxLayout;
    navigation->List_livre->setMinimumWidth(150);
    lists->addWidget(navigation->List_livre, 3);
    for (QListWidget* l : {navigation->List_chapitre, navigation->List_verset, navigation->List_verset_limite}) {
        l->setFixedWidth(52);
        lists->addWidget(l);
    }
    navColumn->addLayout(lists, 1);
    navigation->ListView1->hide();
    navColumn->addWidget(navigation->ListView1, 1);
    navColumn->addWidget(navigation->Lbl_classe);
    navColumn->addWidget(passageView->Frame_Order_Version);
    middle->addLayout(navColumn, 0);

    auto* passageColumn = new QVBoxLayout;
    passageView->Labe16->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    QFont headingFont = passageView->Labe16->font();
    headingFont.setBold(true);
    headingFont.setPointSizeF(headingFont.pointSizeF() * 1.2);
    passageView->Labe16->setFont(headingFont);
    passageColumn->addWidget(passageView->Labe16);
    passageColumn->addWidget(passageView->Text_Passage, 1);
    middle->addLayout(passageColumn, 1);
    page->addLayout(middle, 1);

    auto* bottom = new QHBoxLayout;
    for (QWidget* w : std::initializer_list<QWidget*>{passageView->Check_With_Title, passageView->Check_Uppercase,
                                                      passageView->Check_Version, passageView->Chec_Order,
                                                      passageView->Check_Shop})
        bottom->addWidget(w);
    bottom->addSpacing(12);
    for (QWidget* w : std::initializer_list<QWidget*>{navigation->Image_Lecture, navigation->ImagePlayPause,
                                                      navigation->ImageStop})
        bottom->addWidget(w);
    navigation->Label4->hide();
    navigation->Lbl_Position->hide();
    bottom->addWidget(navigation->Label4);
    bottom->addWidget(navigation->Lbl_Position);
    bibleToolsRow = new QWidget(biblePage);
    bibleToolsRow->setObjectName(QStringLiteral("bibleToolsRow"));
    auto* tools = new QHBoxLayout(bibleToolsRow);
    tools->setContentsMargins(0, 0, 0, 0);
    bottom->addWidget(bibleToolsRow, 1);
    page->addLayout(bottom);
}

void FrmLumora::buildCanticlePage() {
    auto* page = new QVBoxLayout(canticlePage);
    canticleArea = new QWidget(canticlePage);
    canticleArea->setObjectName(QStringLiteral("canticleArea"));
    hymnSelection = new hymns::HymnSelection(m_state, m_platform, WindowsMediaPlayer2, canticleArea, this);
    buildPlayLists();
    page->addWidget(canticleArea, 1);
    canticleToolsRow = new QWidget(canticlePage);
    canticleToolsRow->setObjectName(QStringLiteral("canticleToolsRow"));
    auto* tools = new QHBoxLayout(canticleToolsRow);
    tools->setContentsMargins(0, 0, 0, 0);
    // The position-capture tools of the hymn player.
    auto* label14 = new QLabel(canticleToolsRow);
    label14->setObjectName(QStringLiteral("Label14"));
    auto* cmdEchantion = new QPushButton(QStringLiteral("Capture"), canticleToolsRow);
    cmdEchantion->setObjectName(QStringLiteral("Cmd_Echantion"));
    auto* txtEchantillon = new QLineEdit(canticleToolsRow);
    txtEchantillon->setObjectName(QStringLiteral("Txt_Echantillon"));
    txtEchantillon->setMaximumWidth(90);
    auto* cmdGo = new QPushButton(QStringLiteral("Go"), canticleToolsRow);
    cmdGo->setObjectName(QStringLiteral("Cmd_Go"));
    for (QWidget* w : std::initializer_list<QWidget*>{cmdEchantion, txtEchantillon, cmdGo}) w->setEnabled(false);
    tools->addWidget(label14);
    tools->addWidget(cmdEchantion);
    tools->addWidget(txtEchantillon);
    tools->addWidget(cmdGo);
    if (QWidget* player = WindowsMediaPlayer2->widget()) {
        player->setParent(canticleToolsRow);
        player->hide();
        tools->addWidget(player, 1);
    }
    // The zoom spinner and its label follow at the right end.
    tools->addStretch(1);
    page->addWidget(canticleToolsRow);
}

void FrmLumora::onCaptureToolsToggled(bool shown) {
    auto* label14 = canticleToolsRow->findChild<QLabel*>(QStringLiteral("Label14"));
    const bool toolsUsable = shown && label14 && label14->text() == QStringLiteral("<---->");
    for (const char* name : {"Cmd_Echantion", "Txt_Echantillon", "Cmd_Go"}) {
        if (auto* w = canticleToolsRow->findChild<QWidget*>(QString::fromLatin1(name))) w->setEnabled(toolsUsable);
    }
    if (auto* spin = findChild<QWidget*>(QStringLiteral("SpinPositionCapture"))) spin->setVisible(toolsUsable);
    if (QWidget* player = WindowsMediaPlayer2->widget()) player->setVisible(shown);
    // The information box keeps its bottom edge: shorter while the tools take their row.
    if (auto* info = findChild<QWidget*>(QStringLiteral("Text_info"))) info->setMaximumHeight(shown ? 2265 / 15 : 2985 / 15);
}

void FrmLumora::SetZoom(int percent) { zoom->SetZoom(percent); }

void FrmLumora::onTabChanged(int tab) {
    if (tab == 0) m_state.ZoomRequest = m_state.BibleZoom;
    emit tabChanged(tab);
}

bool FrmLumora::load() {
    m_state.ZoomRequest = 100;
    m_state.BibleZoom = 100;
    m_state.CanticleZoom = 100;
    m_state.DataPath = session::ResolveDataPath(m_where);
    if (m_state.DataPath.isEmpty()) {
        close();
        return false;
    }
    // Favourite folders: created beside the content, never the content folders themselves.
    const QString bible = common::findPath(m_state.DataPath, {QStringLiteral("Bible")});
    const QString cantiques = common::findPath(m_state.DataPath, {QStringLiteral("Cantiques")});
    m_state.FavBibleFolder = common::findPath(bible, {QStringLiteral("Favori")});
    QDir().mkdir(m_state.FavBibleFolder);
    m_state.FavCanticleFolder = common::findPath(cantiques, {QStringLiteral("Favori")});
    QDir().mkdir(m_state.FavCanticleFolder);
    verseLists->startUp();
    playLists->startUp();

    move(0, 0);
    navigation->LoadBibleVersions();
    // The default passage: book 40, chapter 5, verses 18 to 20.
    m_state.TargetVersion = 0;
    m_state.TargetBook = 39;
    bible::BibleNavigation::select(navigation->List_livre, m_state.TargetBook);
    m_state.TargetChapter = 4;
    bible::BibleNavigation::select(navigation->List_chapitre, m_state.TargetChapter);
    m_state.TargetVerse = 17;
    bible::BibleNavigation::select(navigation->List_verset, m_state.TargetVerse);
    m_state.TargetSpan = 2;
    bible::BibleNavigation::select(navigation->List_verset_limite, m_state.TargetSpan);
    m_state.PendingJump = true;
    if (QScreen* screen = QGuiApplication::primaryScreen()) resize(screen->availableGeometry().size());
    Timer1->start(50);
    passageView->saveStartupStyle();
    passageView->PreparePassage();
    if (cmdOk) cmdOk();
    m_state.PendingJump = false;
    hymnSelection->startUp();
    emit loaded();
    return true;
}

} // namespace lumora::app
