#include "windows/ui/clonewindow.h"

#include "platform/backdropbox.h"
#include "platform/richtextbox.h"
#include "windows/ui/clicklabel.h"
#include "windows/ui/frmdoublon.h"

#include <QActionGroup>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QScreen>
#include <QScrollBar>
#include <QShortcut>
#include <QTextCursor>
#include <QTextEdit>

namespace lumora::windows {

namespace {
const QString kLocal = QStringLiteral("L O C A L");
const QString kWindow2 = QStringLiteral("Window 2");

QWidget* row(QWidget* parent, std::initializer_list<QWidget*> widgets) {
    auto* box = new QWidget(parent);
    auto* layout = new QHBoxLayout(box);
    layout->setContentsMargins(0, 0, 0, 0);
    for (QWidget* w : widgets) {
        w->setParent(box);
        layout->addWidget(w);
    }
    return box;
}

ClickLabel* captionButton(const char* name, const QString& caption) {
    auto* label = new ClickLabel(QString::fromLatin1(name), caption);
    label->setFrameShape(QFrame::Panel);
    label->setFrameShadow(QFrame::Raised);
    label->setMargin(2);
    return label;
}

platform::Alignment alignmentOf(qint32 value) {
    return value == 2   ? platform::Alignment::Centre
           : value == 1 ? platform::Alignment::Right
                        : platform::Alignment::Left;
}
} // namespace

CloneWindow::CloneWindow(QWidget* biblePage, QWidget* canticlePage, QWidget* statusParent, QObject* parent)
    : QObject(parent), m_biblePage(biblePage) {
    Label12 = captionButton("Label12", QStringLiteral("CLONE"));
    Label13 = captionButton("Label13", QStringLiteral("CLONE"));
    Label19 = captionButton("Label19", kLocal);
    for (ClickLabel* l : {Label12, Label13})
        l->setToolTip(
            QStringLiteral("Click: show on the second screen (F5). Right click: choose the screen."));
    Label18 = new QLabel;
    Label18->setObjectName(QStringLiteral("Label18"));
    Lbl_InScreen = new QLabel;
    Lbl_InScreen->setObjectName(QStringLiteral("Lbl_InScreen"));
    m_bibleLabels = row(biblePage, {Label12});
    m_canticleLabels = row(canticlePage, {Label13, Label19});
    m_status = row(statusParent, {Label18, Lbl_InScreen});

    connect(Label12, &ClickLabel::clicked, this, &CloneWindow::bibleCloneClicked);
    // F5, as in presentation programs: the tab in view goes to the projector.
    auto* bibleKey = new QShortcut(QKeySequence(Qt::Key_F5), biblePage);
    connect(bibleKey, &QShortcut::activated, this, &CloneWindow::bibleCloneClicked);
    auto* hymnKey = new QShortcut(QKeySequence(Qt::Key_F5), canticlePage);
    connect(hymnKey, &QShortcut::activated, this, &CloneWindow::hymnCloneClicked);
    connect(Label13, &ClickLabel::clicked, this, &CloneWindow::hymnCloneClicked);
    connect(Label12, &ClickLabel::rightClicked, this, &CloneWindow::offerScreens);
    connect(Label13, &ClickLabel::rightClicked, this, &CloneWindow::offerScreens);
    connect(Label19, &ClickLabel::clicked, this, [this] {
        m_hymnWindow2 = !m_hymnWindow2;
        Label19->setText(m_hymnWindow2 ? kWindow2 : kLocal);
    });
    connect(qGuiApp, &QGuiApplication::screenRemoved, this, &CloneWindow::onScreenRemoved);
}

CloneWindow::~CloneWindow() {
    delete m_window.data();
}

FrmDoublon* CloneWindow::ensureWindow() {
    if (!m_window) {
        m_window = new FrmDoublon;
        connect(m_window, &FrmDoublon::closing, this, &CloneWindow::onWindowClosing);
        // After the box's own handling of the click, which moves the selection.
        connect(m_window, &FrmDoublon::boxClicked, this, &CloneWindow::onBoxClicked, Qt::QueuedConnection);
    }
    return m_window;
}

void CloneWindow::fillCommon(const CloneContent& content, const char* label18) {
    FrmDoublon* w = m_window;
    w->setWindowTitle(content.caption);
    Label18->setText(QString::fromLatin1(label18));
    Lbl_InScreen->setText(content.caption);
    QPalette pal = Lbl_InScreen->palette();
    if (content.captionColor.isValid()) pal.setColor(QPalette::WindowText, content.captionColor);
    Lbl_InScreen->setPalette(pal);
    showPlaced();
    w->box().setZoomFactor(content.zoom);
    m_open = true;
}

session::CloneShows CloneWindow::shows() const {
    if (!m_open) return session::CloneShows::Nothing;
    return m_showsBible ? session::CloneShows::Passage
                        : (m_showsHymn ? session::CloneShows::Hymn : session::CloneShows::Nothing);
}

void CloneWindow::showBible(const CloneContent& content) {
    FrmDoublon* w = ensureWindow();
    platform::RichTextBox& box = w->box();
    const platform::TextStyle& s = content.style;
    w->backdrop().setPicture(content.background ? content.picture : QPixmap());
    if (s.PassageBackColor.isValid()) box.setBackColor(s.PassageBackColor);
    box.setTransparent(content.background);

    w->textPassage()->hide();
    box.setBytes(content.passageText);
    box.select(0, static_cast<int>(box.plainText().size()));
    if (s.PassageColor.isValid()) box.setSelectionColor(s.PassageColor);
    if (!s.PassageFontName.isEmpty()) box.setSelectionFontName(s.PassageFontName);
    if (s.PassageFontSize > 0) box.setSelectionFontSize(s.PassageFontSize);
    box.setSelectionAlignment(alignmentOf(s.PassageAlignment));
    box.setSelectionBold(s.PassageBold);
    box.setSelectionItalic(s.PassageItalic);
    box.setSelectionUnderline(s.PassageUnderline);
    box.setCaret(0);
    w->textPassage()->show();
    m_verseStarts = session::verseLabelStarts(box.plainText(), content.verseLabels);

    fillCommon(content, "CLONE : ");
    m_showsBible = true;
    m_showsHymn = false;
    emit shownChanged();
    // Opened while a reading is followed: the verse heard is highlighted at once, not from the
    // next verse on.
    if (!m_bibleMuted && !m_followedVerse.isEmpty()) selectVerseInClone(m_followedVerse);
}

void CloneWindow::showHymn(const CloneContent& content) {
    FrmDoublon* w = ensureWindow();
    platform::RichTextBox& box = w->box();
    w->backdrop().setPicture(content.background ? content.picture : QPixmap());
    if (content.hymnBackColor.isValid()) box.setBackColor(content.hymnBackColor);
    box.setTransparent(content.background);
    w->textPassage()->hide();
    box.setZoomFactor(1.0);
    w->textPassage()->setHtml(content.hymnHtml);
    box.setCaret(0);
    w->textPassage()->show();

    fillCommon(content, "CLONE: ");
    m_showsBible = false;
    m_showsHymn = true;
    m_verseStarts.clear();
    emit shownChanged();
}

void CloneWindow::selectInClone(int start, int length) {
    ensureWindow()->box().select(start, length);
}

bool CloneWindow::selectVerseInClone(const QString& label) {
    platform::RichTextBox& box = ensureWindow()->box();
    const auto found = m_verseStarts.constFind(label);
    if (found == m_verseStarts.cend()) return false;
    const int* at = &*found;
    box.select(*at, int(label.size()));
    // Scrolling just far enough left the verse read on the projector's bottom edge, with the room
    // watching the words arrive there: it goes to the upper third, the rest of the verse below it.
    QTextEdit* edit = box.edit();
    QTextCursor start(edit->document());
    start.setPosition(*at);
    if (QScrollBar* bar = edit->verticalScrollBar())
        bar->setValue(bar->value() + edit->cursorRect(start).top() - edit->viewport()->height() / 4);
    return true;
}

void CloneWindow::onVerseSelected(const QString& label) {
    m_followedVerse = label;
    if (!m_showsBible || selectVerseInClone(label)) return;
    // A verse the clone does not hold: no earlier verse stays lit as if it were heard.
    platform::RichTextBox& box = ensureWindow()->box();
    if (box.selectionLength() != 0) box.setCaret(box.selectionStart());
}

void CloneWindow::forgetFollowedVerse() {
    m_followedVerse.clear();
}

void CloneWindow::onCaretMovedToEnd() {
    if (!m_showsBible) return;
    platform::RichTextBox& box = ensureWindow()->box();
    box.setCaret(static_cast<int>(box.plainText().size()));
    box.edit()->ensureCursorVisible();
}

void CloneWindow::mirrorSelection(const QString& label) {
    if (m_showsBible && m_bibleMuted) selectVerseInClone(label);
}

void CloneWindow::onBibleSelectionChanged(const QString& selected) {
    m_bibleSelection = selected;
}

void CloneWindow::onHymnSelectionChanged(int start, int length, const QString& shownLabel) {
    m_hymnStart = start;
    m_hymnLength = length;
    if (m_tab == 1 && m_hymnWindow2 && m_showsHymn && Lbl_InScreen->text() == shownLabel)
        selectInClone(start, length);
}

void CloneWindow::onBoxClicked() {
    if (!m_window) return;
    platform::RichTextBox& box = m_window->box();
    auto toEnd = [&box] {
        box.setCaret(static_cast<int>(box.plainText().size()));
        box.edit()->ensureCursorVisible();
    };
    if (m_showsBible && m_bibleMuted && m_verseStarts.contains(m_bibleSelection)) {
        toEnd();
        selectVerseInClone(m_bibleSelection);
        box.edit()->setFocus();
    }
    if (m_hymnWindow2 && m_showsHymn) {
        toEnd();
        box.select(m_hymnStart, m_hymnLength);
        box.edit()->setFocus();
    }
}

void CloneWindow::onZoomApplied(int tab, int numerator, int denominator) {
    if (!m_window) return;
    if ((tab == 0 && m_showsBible) || (tab == 1 && !m_showsBible))
        m_window->box().setZoom(numerator, denominator);
}

void CloneWindow::onWindowClosing() {
    Label18->clear();
    Lbl_InScreen->clear();
    m_open = false;
    emit shownChanged();
}

void CloneWindow::closeWindow() {
    if (m_window) m_window->close();
}

void CloneWindow::setPlacement(const ClonePlacement& placement) {
    m_placement = placement;
    if (m_window && m_window->isVisible()) showPlaced();
}

void CloneWindow::showPlaced(QScreen* gone) {
    FrmDoublon* w = m_window;
    if (!w) return;
    QList<QScreen*> screens = QGuiApplication::screens();
    screens.removeAll(gone);
    if (screens.isEmpty()) {
        w->show();
        return;
    }
    QStringList names;
    for (QScreen* s : screens)
        names << s->name();
    QScreen* mainScreen = m_biblePage->window()->screen();
    const CloneTarget target =
        chooseCloneScreen(names, static_cast<int>(screens.indexOf(mainScreen)), m_placement);
    QScreen* screen = screens.at(target.screen);
    w->setProjector(target.fullScreen);
    if (target.fullScreen) {
        w->setScreen(screen);
        w->setGeometry(screen->geometry());
        w->showFullScreen();
    } else {
        if (w->isFullScreen()) w->showNormal();
        const QRect area = screen->availableGeometry();
        if (w->screen() != screen || !area.contains(w->frameGeometry().center())) {
            w->setScreen(screen);
            w->resize(std::min(w->width(), area.width() * 3 / 4),
                      std::min(w->height(), area.height() * 3 / 4));
            w->move(area.topLeft() + QPoint(area.width() / 8, area.height() / 8));
        }
        w->show();
    }
}

void CloneWindow::onScreenRemoved(QScreen* screen) {
    if (m_window && m_window->isVisible() && m_window->screen() == screen) showPlaced(screen);
}

void CloneWindow::offerScreens(const QPoint& globalPos) {
    QMenu menu;
    auto* group = new QActionGroup(&menu);
    QAction* window = menu.addAction(QStringLiteral("Window"));
    window->setCheckable(true);
    window->setChecked(m_placement.mode == ClonePlacement::Mode::Window);
    group->addAction(window);
    QAction* automatic = menu.addAction(QStringLiteral("Second screen when there is one"));
    automatic->setCheckable(true);
    automatic->setChecked(m_placement.mode == ClonePlacement::Mode::Automatic);
    group->addAction(automatic);
    menu.addSeparator();
    const QList<QScreen*> screens = QGuiApplication::screens();
    for (int i = 0; i < screens.size(); ++i) {
        const QScreen* s = screens.at(i);
        QAction* a = menu.addAction(QStringLiteral("Screen %1: %2 (%3 x %4)")
                                        .arg(i + 1)
                                        .arg(s->name())
                                        .arg(s->geometry().width())
                                        .arg(s->geometry().height()));
        a->setCheckable(true);
        a->setChecked(m_placement.mode == ClonePlacement::Mode::Screen &&
                      m_placement.screenName == s->name());
        a->setData(s->name());
        group->addAction(a);
    }
    QAction* picked = menu.exec(globalPos);
    if (!picked) return;
    if (picked == window)
        setPlacement({ClonePlacement::Mode::Window, {}});
    else if (picked == automatic)
        setPlacement({ClonePlacement::Mode::Automatic, {}});
    else
        setPlacement({ClonePlacement::Mode::Screen, picked->data().toString()});
}

} // namespace lumora::windows
