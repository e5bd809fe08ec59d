#include "app/windowlinks.h"

#include "app/nowshowingfeed.h"
#include "app/pages.h"
#include "bible/ui/biblenavigation.h"
#include "bible/ui/bibleplayer.h"
#include "bible/ui/passageview.h"
#include "bible/ui/quickreference.h"
#include "bible/ui/secondversion.h"
#include "bible/ui/versefollower.h"
#include "bible/ui/zoom.h"
#include "hymns/ui/hymnplayer.h"
#include "hymns/ui/hymnselection.h"
#include "marks/ui/markeditor.h"
#include "output/ui/outputactions.h"
#include "platform/commondialog.h"
#include "session/usersettings.h"
#include "windows/ui/clonewindow.h"
#include "windows/ui/frmpolice.h"
#include "windows/ui/layoutlabels.h"
#include "windows/ui/textstyler.h"

#include <QEvent>
#include <QLabel>
#include <QMainWindow>
#include <QStatusBar>
#include <QTabWidget>
#include <QTextDocument>
#include <QTextEdit>

namespace lumora::app {

WindowLinks::WindowLinks(const WindowParts& p, QObject* parent) : QObject(parent), m_parts(p) {
    setObjectName(QStringLiteral("windowLinks"));
    m_clone = new windows::CloneWindow(p.biblePage, p.canticlePage, p.mainWindow, this);
    m_clone->setObjectName(QStringLiteral("cloneWindow"));
    m_clone->setTextAreas({p.passage.passageBox().edit(), p.hymns.words().edit()});
    m_labels = new windows::LayoutLabels(p.biblePage, p.canticlePage, this);
    m_labels->setObjectName(QStringLiteral("layoutLabels"));
    m_styler = new windows::TextStyler(p.passage.passageBox(), p.passage.backdrop(), p.hymns.words(),
                                       p.hymns.backdrop(), this);
    m_styler->setObjectName(QStringLiteral("textStyler"));
    // The quick reference sits in the passage's header, before CLONE, where Shift+Enter sends it.
    m_quick = new bible::QuickReference(p.navigation, p.biblePage);
    m_quick->installShortcut(p.biblePage);
    p.passage.addHeaderTool(m_quick->widget());
    m_second = new bible::SecondVersion(p.session, p.navigation, p.biblePage);
    p.passage.addHeaderTool(m_second->widget());
    p.passage.addHeaderTool(m_clone->bibleLabels());
    m_clone->installCoverKeys(p.biblePage);
    m_clone->installStepKeys(p.biblePage);
    m_clone->installCoverKeys(p.canticlePage);
    p.passage.addHeaderTool(m_labels->bibleLabels());
    // The bottom row is full with the player and the marks: print, save and zoom go beside CLONE.
    p.passage.addHeaderTool(p.output.bibleButtons());
    p.passage.addHeaderTool(p.zoom.bibleControl());
    p.hymns.addTitleTool(m_clone->canticleLabels());
    p.hymns.addTitleTool(m_labels->canticleLabels());
    p.mainWindow->statusBar()->addWidget(m_clone->statusLabels());
    p.mainWindow->installEventFilter(this);
    m_feed = new NowShowingFeed(
        {p.tabs, p.navigation, p.passage, p.follower, p.biblePlayer, p.hymns, p.hymnPlayer, *m_clone}, this);

    using windows::CloneWindow;
    auto cloneBible = [this] { m_clone->showBible(bibleContent()); };
    auto cloneHymn = [this] {
        m_feed->refreshHymn();
        m_clone->showHymn(hymnContent());
    };
    connect(m_clone, &CloneWindow::bibleCloneClicked, this, cloneBible);
    connect(m_clone, &CloneWindow::hymnCloneClicked, this, cloneHymn);
    // The passage is shown by then: the navigation builds it while it selects.
    connect(m_quick, &bible::QuickReference::referenceOpened, this,
            [=](const session::PassageRef&, bool toClone) {
                if (toClone) cloneBible();
            });
    connect(m_clone, &CloneWindow::modeChosen, this, [this](windows::CloneMode mode) {
        session::UpdateUserSettings(m_parts.settingsFile, [mode](session::UserSettings& s) {
            s.cloneVerses = mode == windows::CloneMode::Verses;
        });
    });
    connect(m_clone, &CloneWindow::secondLayoutChosen, this, [this](windows::SecondLayout layout) {
        session::UpdateUserSettings(m_parts.settingsFile, [layout](session::UserSettings& s) {
            s.cloneSideBySide = layout == windows::SecondLayout::SideBySide;
        });
    });
    connect(m_clone, &CloneWindow::logoPictureWanted, this, &WindowLinks::chooseLogo);
    connect(m_clone, &CloneWindow::placementChosen, this, [this](const windows::ClonePlacement& placement) {
        session::UpdateUserSettings(m_parts.settingsFile, [&](session::UserSettings& s) {
            s.cloneScreen = windows::placementText(placement);
        });
    });
    // Continuous play keeps an open clone on what plays; it never opens one the user did not open
    // or has closed (on a projector it would cover what is shown there).
    auto cloneOpen = [this] { return m_clone->window() && m_clone->window()->isVisible(); };
    connect(m_second, &bible::SecondVersion::versionChosen, this, [this, cloneOpen, cloneBible] {
        session::UpdateUserSettings(m_parts.settingsFile, [this](session::UserSettings& s) {
            s.cloneAlsoShow = QString::fromUtf8(m_second->code());
        });
        if (cloneOpen() && m_clone->CloneShowsBible()) cloneBible();
    });
    connect(&p.biblePlayer, &bible::BiblePlayer::cloneFollowWanted, this, [=] {
        if (cloneOpen()) cloneBible();
    });
    connect(&p.hymnPlayer, &hymns::HymnPlayer::cloneFollowWanted, this, [=] {
        if (cloneOpen()) cloneHymn();
    });
    platform::RichTextBox& passageBox = p.passage.passageBox();
    // The clone finds the verse by its label in its own text, which may be an older passage.
    connect(&p.follower, &bible::VerseFollower::verseHeard, m_clone, &CloneWindow::onVerseSelected);
    connect(&p.follower, &bible::VerseFollower::caretMovedToEnd, m_clone, &CloneWindow::onCaretMovedToEnd);
    connect(&p.passage, &bible::PassageView::passageShown, m_clone, &CloneWindow::forgetFollowedVerse);
    connect(&p.biblePlayer, &bible::BiblePlayer::bibleAudioMutedChanged, m_clone,
            &CloneWindow::setBibleAudioMuted);
    connect(&p.zoom, &bible::Zoom::zoomApplied, m_clone, &CloneWindow::onZoomApplied);
    connect(passageBox.edit(), &QTextEdit::selectionChanged, m_clone,
            [this, &passageBox] { m_clone->onBibleSelectionChanged(passageBox.selectedText()); });
    connect(&p.hymns, &hymns::HymnSelection::hymnSelectionChanged, m_clone, [this](int start, int length) {
        m_clone->onHymnSelectionChanged(start, length, m_parts.hymns.shownLabel());
    });
    connect(p.tabs, &QTabWidget::currentChanged, this, [this](int tab) {
        m_clone->setCurrentTab(tab);
        m_styler->setCurrentTab(tab);
        if (tab == 0 && m_police) m_police->showFontSize(m_parts.passage.startupStyle().PassageFontSize);
    });

    connect(m_labels, &windows::LayoutLabels::bibleTextWidened, this, [this](bool wide) {
        m_parts.navigation.setVerseListsShown(!wide);
        m_parts.biblePage->setTextWide(wide);
    });
    connect(m_labels, &windows::LayoutLabels::canticleTextWidened, this, [this](bool wide) {
        m_parts.hymns.setFileIconsShown(!wide);
        m_parts.hymnPlayer.setWordsNarrow(!wide);
        m_parts.canticlePage->setTextWide(wide);
    });
    connect(m_labels, &windows::LayoutLabels::fontDialogWanted, this, &WindowLinks::showFontDialog);
    connect(m_styler, &windows::TextStyler::startupStyleChanged, &p.passage,
            &bible::PassageView::setStartupStyle);
    // A verse label picked with the sound off shows in the clone as well.
    connect(&p.marks, &marks::MarkEditor::verseLabelSelected, m_clone, &CloneWindow::mirrorSelection);
}

WindowLinks::~WindowLinks() {
    delete m_police.data();
}

windows::FrmPolice* WindowLinks::fontDialog() const {
    return m_police;
}

void WindowLinks::onLoaded() {
    m_styler->setStartupStyle(m_parts.passage.startupStyle());
    const session::UserSettings settings = session::LoadUserSettings(m_parts.settingsFile);
    m_clone->setMode(settings.cloneVerses ? windows::CloneMode::Verses : windows::CloneMode::Passage);
    m_clone->setSecondLayout(settings.cloneSideBySide ? windows::SecondLayout::SideBySide
                                                      : windows::SecondLayout::Stacked);
    if (!settings.cloneLogo.isEmpty()) m_clone->setLogo(QPixmap(settings.cloneLogo));
    m_clone->setPlacement(windows::placementFromText(settings.cloneScreen));
    m_second->choose(settings.cloneAlsoShow.toUtf8());
}

void WindowLinks::chooseLogo() {
    const std::optional<QString> path =
        m_parts.dialogs.openFile({QStringLiteral("Logo picture"),
                                  {},
                                  {},
                                  QStringLiteral("Pictures (*.png *.jpg *.jpeg *.bmp *.gif *.svg)")});
    if (!path) return;
    const QPixmap logo(*path);
    // A file that is no picture leaves the logo as it was.
    if (logo.isNull()) return;
    m_clone->setLogo(logo);
    session::UpdateUserSettings(m_parts.settingsFile, [&](session::UserSettings& s) { s.cloneLogo = *path; });
}

void WindowLinks::showFontDialog() {
    if (!m_police) {
        m_police = new windows::FrmPolice(m_parts.dialogs, m_parts.mainWindow);
        connect(m_police, &windows::FrmPolice::styleEdited, m_styler, &windows::TextStyler::apply);
        connect(m_police, &windows::FrmPolice::backgroundPictureChosen, m_styler,
                &windows::TextStyler::setBackgroundPicture);
    }
    m_police->show();
    m_police->raise();
}

windows::CloneContent WindowLinks::bibleContent() const {
    windows::CloneContent c;
    bible::PassageView& view = m_parts.passage;
    const session::ShownPassage& shown = m_feed->now().passage;
    c.passageText = shown.text;
    for (const session::ShownVerse& v : shown.verses)
        c.verseLabels << v.label;
    c.style = view.startupStyle();
    c.caption = shown.heading;
    c.captionColor = view.heading()->palette().color(QPalette::WindowText);
    c.background = m_styler->BibleBackground();
    c.picture = view.backdrop().picture();
    c.zoom = view.passageBox().zoomFactor();
    const QStringList second = m_second->textsFor(shown.ref, shown.verses);
    for (qsizetype i = 0; i < shown.verses.size(); ++i)
        c.verses << windows::VerseCell{shown.verses[i].label, shown.verses[i].text, second.value(i)};
    // The book's name as the heading gives it, without the list's number:
    // "43 Jean 3 : 16 - 18" -> "Jean".
    const qsizetype chapterAt = shown.heading.lastIndexOf(QStringLiteral(" %1 :").arg(shown.ref.chapter));
    c.reference = bible::displayedBookName(chapterAt > 0 ? shown.heading.left(chapterAt) : shown.heading);
    return c;
}

windows::CloneContent WindowLinks::hymnContent() const {
    windows::CloneContent c;
    hymns::HymnSelection& hymns = m_parts.hymns;
    c.hymnHtml = m_feed->now().hymn.wordsHtml;
    c.hymnBackColor = hymns.words().backColor();
    c.caption = m_feed->now().hymn.label;
    c.captionColor = hymns.shownLabelColor();
    c.background = m_styler->HymnBackground();
    c.picture = hymns.backdrop().picture();
    c.zoom = hymns.words().zoomFactor();
    return c;
}

bool WindowLinks::eventFilter(QObject* watched, QEvent* event) {
    // The main window's unload closes the clone window and the font dialog.
    if (watched == m_parts.mainWindow && event->type() == QEvent::Close) {
        m_clone->closeWindow();
        if (m_police) m_police->close();
    }
    return QObject::eventFilter(watched, event);
}

} // namespace lumora::app
