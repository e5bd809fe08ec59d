#include "windows/ui/clonewindow.h"

#include "platform/backdropbox.h"
#include "platform/richtextbox.h"
#include "windows/ui/clicklabel.h"
#include "windows/ui/frmdoublon.h"
#include "windows/ui/secondpassage.h"

#include <QAction>
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

ScreenIdentity identityOf(const QScreen* s) {
    return {s->name(), s->manufacturer(), s->model(), s->serialNumber()};
}

// The largest part of `area` right of, left of, below or above `main` (empty when `main` fills it).
QRect roomBeside(const QRect& area, const QRect& main) {
    const QRect parts[] = {QRect(QPoint(main.right() + 1, area.top()), area.bottomRight()),
                           QRect(area.topLeft(), QPoint(main.left() - 1, area.bottom())),
                           QRect(QPoint(area.left(), main.bottom() + 1), area.bottomRight()),
                           QRect(area.topLeft(), QPoint(area.right(), main.top() - 1))};
    QRect best;
    for (const QRect& r : parts)
        if (r.isValid() && qint64(r.width()) * r.height() > qint64(best.width()) * best.height()) best = r;
    return best & area;
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
        l->setToolTip(QStringLiteral("Click: show on the second screen (F5). Right click: choose the screen. "
                                     "F7: blank the clone to black, F8: show the logo (again: the text)."));
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
    connect(qGuiApp, &QGuiApplication::screenAdded, this, &CloneWindow::onScreenAdded);

    auto* modes = new QActionGroup(this);
    QAction* passage = makeAction("Mnu_ClonePassage", QStringLiteral("Whole passage"), {Qt::Key_P}, true);
    QAction* verses = makeAction("Mnu_CloneVerses", QStringLiteral("Verse by verse"), {Qt::Key_V}, true);
    passage->setChecked(true);
    modes->addAction(passage);
    modes->addAction(verses);
    connect(passage, &QAction::triggered, this, [this] {
        setMode(CloneMode::Passage);
        emit modeChosen(m_mode);
    });
    connect(verses, &QAction::triggered, this, [this] {
        setMode(CloneMode::Verses);
        emit modeChosen(m_mode);
    });
    QAction* next = makeAction("Mnu_CloneNext", QStringLiteral("Next verse"),
                               {Qt::Key_PageDown, Qt::Key_Down, Qt::Key_Right, Qt::Key_Space}, false);
    QAction* previous = makeAction("Mnu_ClonePrevious", QStringLiteral("Previous verse"),
                                   {Qt::Key_PageUp, Qt::Key_Up, Qt::Key_Left, Qt::Key_Backspace}, false);
    connect(next, &QAction::triggered, this, [this] { stepVerse(1); });
    connect(previous, &QAction::triggered, this, [this] { stepVerse(-1); });
    // B and "." are what presenter clickers send for their blank button.
    QAction* blank = makeAction("Mnu_CloneBlank", QStringLiteral("Blank (black)"),
                                {Qt::Key_F7, Qt::Key_B, Qt::Key_Period}, true);
    QAction* logo = makeAction("Mnu_CloneLogo", QStringLiteral("Logo"), {Qt::Key_F8, Qt::Key_L}, true);
    connect(blank, &QAction::triggered, this, [this] { toggleCover(Cover::Black); });
    connect(logo, &QAction::triggered, this, [this] { toggleCover(Cover::Logo); });
    QAction* picture = makeAction("Mnu_CloneLogoPicture", QStringLiteral("Logo picture..."), {}, false);
    connect(picture, &QAction::triggered, this, &CloneWindow::logoPictureWanted);
    auto* layouts = new QActionGroup(this);
    QAction* stacked =
        makeAction("Mnu_CloneStacked", QStringLiteral("Two versions: stacked"), {Qt::CTRL | Qt::Key_1}, true);
    QAction* beside = makeAction("Mnu_CloneSideBySide", QStringLiteral("Two versions: side by side"),
                                 {Qt::CTRL | Qt::Key_2}, true);
    stacked->setChecked(true);
    layouts->addAction(stacked);
    layouts->addAction(beside);
    connect(stacked, &QAction::triggered, this, [this] {
        setSecondLayout(SecondLayout::Stacked);
        emit secondLayoutChosen(m_secondLayout);
    });
    connect(beside, &QAction::triggered, this, [this] {
        setSecondLayout(SecondLayout::SideBySide);
        emit secondLayoutChosen(m_secondLayout);
    });
    applyFace();
}

QAction* CloneWindow::makeAction(const char* name, const QString& text, const QList<QKeySequence>& keys,
                                 bool checkable) {
    auto* a = new QAction(text, this);
    a->setObjectName(QString::fromLatin1(name));
    a->setShortcuts(keys);
    a->setCheckable(checkable);
    // The keys are said in the tooltip, for the menu's hover and for screen readers.
    QStringList said;
    for (const QKeySequence& k : keys)
        said << k.toString(QKeySequence::NativeText);
    a->setToolTip(said.isEmpty() ? text
                                 : QStringLiteral("%1 (%2)").arg(text, said.join(QStringLiteral(", "))));
    m_actions << a;
    return a;
}

QAction* CloneWindow::action(const char* name) const {
    for (QAction* a : m_actions)
        if (a->objectName() == QLatin1String(name)) return a;
    return nullptr;
}

void CloneWindow::installStepKeys(QWidget* page) {
    for (auto [key, direction] : {std::pair{Qt::Key_PageDown, 1}, std::pair{Qt::Key_PageUp, -1}}) {
        auto* shortcut = new QShortcut(QKeySequence(key), page);
        shortcut->setObjectName(direction > 0 ? QStringLiteral("cloneNextKey")
                                              : QStringLiteral("clonePreviousKey"));
        shortcut->setContext(Qt::WidgetWithChildrenShortcut);
        connect(shortcut, &QShortcut::activated, this, [this, d = direction] { stepVerse(d); });
        m_stepKeys << shortcut;
    }
    updateStepKeys();
}

// The main window's Page Down and Page Up are the clone's only while it shows a passage verse by
// verse; otherwise they scroll the passage and move in the lists as always.
void CloneWindow::updateStepKeys() {
    const bool stepping = m_open && m_mode == CloneMode::Verses && m_showsBible;
    for (QShortcut* key : std::as_const(m_stepKeys))
        if (key) key->setEnabled(stepping);
}

void CloneWindow::installCoverKeys(QWidget* page) {
    for (auto [key, cover] : {std::pair{Qt::Key_F7, Cover::Black}, std::pair{Qt::Key_F8, Cover::Logo}}) {
        auto* shortcut = new QShortcut(QKeySequence(key), page);
        connect(shortcut, &QShortcut::activated, this, [this, c = cover] { toggleCover(c); });
    }
}

void CloneWindow::setMode(CloneMode mode) {
    m_mode = mode;
    action(mode == CloneMode::Verses ? "Mnu_CloneVerses" : "Mnu_ClonePassage")->setChecked(true);
    applyFace();
}

void CloneWindow::setSecondLayout(SecondLayout layout) {
    const bool changed = layout != m_secondLayout;
    m_secondLayout = layout;
    action(layout == SecondLayout::SideBySide ? "Mnu_CloneSideBySide" : "Mnu_CloneStacked")->setChecked(true);
    applyFace();
    // The passage on the clone is laid out again in the new way, on the verse it was lighting.
    if (changed && m_window && m_showsBible && hasSecondVersion(m_bible.verses)) {
        fillPassageBox();
        if (!m_bibleMuted && !m_followedVerse.isEmpty()) selectVerseInClone(m_followedVerse);
    }
}

void CloneWindow::toggleCover(Cover cover) {
    m_cover = m_cover == cover ? Cover::None : cover;
    applyFace();
}

void CloneWindow::setLogo(const QPixmap& logo) {
    m_logo = logo;
    applyFace();
}

void CloneWindow::stepVerse(int direction) {
    if (m_window && m_mode == CloneMode::Verses && m_showsBible) m_window->versePanel().step(direction);
}

// The panel is shown for the verse-by-verse mode of a passage and for a cover over anything; the
// text box otherwise, exactly as it always was.
void CloneWindow::applyFace() {
    const bool verses = m_mode == CloneMode::Verses && m_showsBible;
    action("Mnu_CloneNext")->setEnabled(verses);
    updateStepKeys();
    action("Mnu_ClonePrevious")->setEnabled(verses);
    action("Mnu_CloneBlank")->setChecked(m_cover == Cover::Black);
    action("Mnu_CloneLogo")->setChecked(m_cover == Cover::Logo);
    if (!m_window) return;
    VersePanel& panel = m_window->versePanel();
    panel.setSecondLayout(m_secondLayout);
    panel.setLogo(m_logo);
    panel.setCover(m_cover);
    m_window->setPanelShown(verses || m_cover != Cover::None);
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
        connect(m_window, &FrmDoublon::menuWanted, this, &CloneWindow::offerMenu);
        m_window->addActions(m_actions);
        applyFace();
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
    updateStepKeys();
}

session::CloneShows CloneWindow::shows() const {
    if (!m_open) return session::CloneShows::Nothing;
    return m_showsBible ? session::CloneShows::Passage
                        : (m_showsHymn ? session::CloneShows::Hymn : session::CloneShows::Nothing);
}

void CloneWindow::showBible(const CloneContent& content) {
    FrmDoublon* w = ensureWindow();
    m_bible = content;
    fillPassageBox();
    const platform::TextStyle& s = content.style;
    VersePanel& panel = w->versePanel();
    VerseLook look;
    look.family = s.PassageFontName;
    if (s.PassageColor.isValid()) look.text = s.PassageColor;
    if (s.PassageBackColor.isValid()) look.back = s.PassageBackColor;
    panel.setLook(look);
    panel.setVerses(content.verses, content.reference);

    fillCommon(content, "CLONE : ");
    m_showsBible = true;
    m_showsHymn = false;
    applyFace();
    emit shownChanged();
    // Opened while a reading is followed: the verse heard is highlighted at once, not from the
    // next verse on.
    if (!m_bibleMuted && !m_followedVerse.isEmpty()) {
        selectVerseInClone(m_followedVerse);
        panel.showVerse(m_followedVerse);
    }
}

// The passage as the main box shows it, with the second version's verses when one is chosen.
void CloneWindow::fillPassageBox() {
    FrmDoublon* w = ensureWindow();
    platform::RichTextBox& box = w->box();
    const platform::TextStyle& s = m_bible.style;
    w->backdrop().setPicture(m_bible.background ? m_bible.picture : QPixmap());
    if (s.PassageBackColor.isValid()) box.setBackColor(s.PassageBackColor);
    box.setTransparent(m_bible.background);

    w->textPassage()->hide();
    box.setBytes(m_bible.passageText);
    box.select(0, static_cast<int>(box.plainText().size()));
    if (s.PassageColor.isValid()) box.setSelectionColor(s.PassageColor);
    if (!s.PassageFontName.isEmpty()) box.setSelectionFontName(s.PassageFontName);
    if (s.PassageFontSize > 0) box.setSelectionFontSize(s.PassageFontSize);
    box.setSelectionAlignment(alignmentOf(s.PassageAlignment));
    box.setSelectionBold(s.PassageBold);
    box.setSelectionItalic(s.PassageItalic);
    box.setSelectionUnderline(s.PassageUnderline);
    m_verseStarts = session::verseLabelStarts(box.plainText(), m_bible.verseLabels);
    if (hasSecondVersion(m_bible.verses))
        addSecondVersion(*box.edit()->document(), m_verseStarts, m_bible.verses, m_secondLayout);
    box.setCaret(0);
    w->textPassage()->show();
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
    applyFace();
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
    // Under a cover too: the text comes back on the verse being read.
    if (m_showsBible && m_window) m_window->versePanel().showVerse(label);
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
    updateStepKeys();
    emit shownChanged();
}

void CloneWindow::closeWindow() {
    if (m_window) m_window->close();
}

void CloneWindow::setPlacement(const ClonePlacement& placement) {
    m_placement = placement;
    if (m_window && m_window->isVisible()) showPlaced();
}

QRect CloneWindow::textAreaOn(QScreen* screen) const {
    for (const QPointer<QWidget>& box : m_textAreas)
        if (box && box->isVisible())
            return QRect(box->mapToGlobal(QPoint(0, 0)), box->size()) & screen->availableGeometry();
    return {};
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
    QList<ScreenIdentity> identities;
    for (QScreen* s : screens)
        identities << identityOf(s);
    QScreen* mainScreen = m_biblePage->window()->screen();
    const CloneTarget target =
        chooseCloneScreen(identities, static_cast<int>(screens.indexOf(mainScreen)), m_placement);
    QScreen* screen = screens.at(target.screen);
    w->setProjector(target.fullScreen);
    if (target.fullScreen) {
        w->setScreen(screen);
        w->setGeometry(screen->geometry());
        w->showFullScreen();
    } else {
        if (w->isFullScreen()) w->showNormal();
        const QRect area = screen->availableGeometry();
        const QRect mainFrame = m_biblePage->window()->frameGeometry();
        const bool overMain = screen == mainScreen && w->frameGeometry().intersects(mainFrame);
        if (w->screen() != screen || !area.contains(w->frameGeometry().center()) || overMain) {
            w->setScreen(screen);
            // Beside the main window when there is room, so that its controls stay in reach.
            const QRect beside = screen == mainScreen ? roomBeside(area, mainFrame) : QRect();
            if (beside.width() >= 320 && beside.height() >= 240) {
                // The frame is known once the window is shown: it is kept inside the room too.
                w->show();
                const QSize frame = w->frameGeometry().size() - w->size();
                w->resize(std::min(w->width(), beside.width() - frame.width()),
                          std::min(w->height(), beside.height() - frame.height()));
                w->move(beside.topLeft());
            } else if (const QRect text = textAreaOn(screen); text.width() >= 320 && text.height() >= 240) {
                // No room beside the main window: over its text box, where there is no control.
                w->show();
                const QSize frame = w->frameGeometry().size() - w->size();
                w->resize(text.size() - frame);
                w->move(text.topLeft());
            } else {
                w->resize(std::min(w->width(), area.width() * 3 / 4),
                          std::min(w->height(), area.height() * 3 / 4));
                w->move(area.topLeft() + QPoint(area.width() / 8, area.height() / 8));
            }
        }
        w->show();
    }
}

void CloneWindow::onScreenAdded() {
    // The projector plugged in again: an open clone goes back to it.
    if (m_window && m_window->isVisible()) showPlaced();
}

void CloneWindow::onScreenRemoved(QScreen* screen) {
    if (m_window && m_window->isVisible() && m_window->screen() == screen) showPlaced(screen);
}

void CloneWindow::offerMenu(const QPoint& globalPos) {
    QMenu menu;
    const char* order[] = {"Mnu_ClonePassage",
                           "Mnu_CloneVerses",
                           nullptr,
                           "Mnu_CloneNext",
                           "Mnu_ClonePrevious",
                           nullptr,
                           "Mnu_CloneBlank",
                           "Mnu_CloneLogo",
                           "Mnu_CloneLogoPicture",
                           nullptr,
                           "Mnu_CloneStacked",
                           "Mnu_CloneSideBySide"};
    menu.setToolTipsVisible(true);
    for (const char* name : order) {
        if (name)
            menu.addAction(action(name));
        else
            menu.addSeparator();
    }
    menu.exec(globalPos);
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
                      findScreen({identityOf(s)}, m_placement.screen()) == 0);
        a->setData(i);
        group->addAction(a);
    }
    QAction* picked = menu.exec(globalPos);
    if (!picked) return;
    if (picked == window) {
        setPlacement({ClonePlacement::Mode::Window, {}});
    } else if (picked == automatic) {
        setPlacement({ClonePlacement::Mode::Automatic, {}});
    } else {
        const int i = picked->data().toInt();
        if (i < 0 || i >= QGuiApplication::screens().size()) return; // unplugged while the menu was open
        const ScreenIdentity id = identityOf(QGuiApplication::screens().at(i));
        setPlacement({ClonePlacement::Mode::Screen, id.name, id.manufacturer, id.model, id.serial});
    }
    emit placementChosen(m_placement);
}

} // namespace lumora::windows
