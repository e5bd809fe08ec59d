#include "app/windowlinks.h"

#include "app/pages.h"
#include "bible/ui/biblenavigation.h"
#include "bible/ui/bibleplayer.h"
#include "bible/ui/passageview.h"
#include "bible/ui/versefollower.h"
#include "bible/ui/zoom.h"
#include "hymns/ui/hymnplayer.h"
#include "hymns/ui/hymnselection.h"
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
    m_labels = new windows::LayoutLabels(p.biblePage, p.canticlePage, this);
    m_labels->setObjectName(QStringLiteral("layoutLabels"));
    m_styler = new windows::TextStyler(p.passage.passageBox(), p.passage.backdrop(), p.hymns.words(),
                                       p.hymns.backdrop(), this);
    m_styler->setObjectName(QStringLiteral("textStyler"));
    p.passage.addHeaderTool(m_clone->bibleLabels());
    p.passage.addHeaderTool(m_labels->bibleLabels());
    p.hymns.addTitleTool(m_clone->canticleLabels());
    p.hymns.addTitleTool(m_labels->canticleLabels());
    p.mainWindow->statusBar()->addWidget(m_clone->statusLabels());
    p.mainWindow->installEventFilter(this);

    using windows::CloneWindow;
    auto cloneBible = [this] { m_clone->showBible(bibleContent()); };
    auto cloneHymn = [this] { m_clone->showHymn(hymnContent()); };
    connect(m_clone, &CloneWindow::bibleCloneClicked, this, cloneBible);
    connect(m_clone, &CloneWindow::hymnCloneClicked, this, cloneHymn);
    // Continuous play keeps an open clone on what plays; it never opens one the user did not open
    // or has closed (on a projector it would cover what is shown there).
    auto cloneOpen = [this] { return m_clone->window() && m_clone->window()->isVisible(); };
    connect(&p.biblePlayer, &bible::BiblePlayer::cloneFollowWanted, this, [=] {
        if (cloneOpen()) cloneBible();
    });
    connect(&p.hymnPlayer, &hymns::HymnPlayer::cloneFollowWanted, this, [=] {
        if (cloneOpen()) cloneHymn();
    });
    platform::RichTextBox& passageBox = p.passage.passageBox();
    // The clone finds the verse by its label in its own text, which may be an older passage.
    connect(&p.follower, &bible::VerseFollower::verseSelected, m_clone,
            [this, &passageBox](int start, int length) {
                m_clone->onVerseSelected(passageBox.plainText().mid(start, length));
            });
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
}

WindowLinks::~WindowLinks() {
    delete m_police.data();
}

windows::FrmPolice* WindowLinks::fontDialog() const {
    return m_police;
}

void WindowLinks::onLoaded() {
    m_styler->setStartupStyle(m_parts.passage.startupStyle());
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
    c.passageText = view.passage().ShownText;
    c.style = view.startupStyle();
    c.caption = view.heading()->text();
    c.captionColor = view.heading()->palette().color(QPalette::WindowText);
    c.background = m_styler->BibleBackground();
    c.picture = view.backdrop().picture();
    c.zoom = view.passageBox().zoomFactor();
    return c;
}

windows::CloneContent WindowLinks::hymnContent() const {
    windows::CloneContent c;
    hymns::HymnSelection& hymns = m_parts.hymns;
    c.hymnHtml = hymns.words().realDocument()->toHtml();
    c.hymnBackColor = hymns.words().backColor();
    c.caption = hymns.shownLabel();
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
