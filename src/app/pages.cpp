#include "app/pages.h"

#include <QAbstractButton>
#include <QBoxLayout>
#include <QEvent>
#include <QTabWidget>

namespace lumora::app {

namespace {

QRect toPixels(const QRect& twips, const QWidget* page, QPoint origin) {
    // Edges are rounded, not sizes, so that parts sharing an edge in twips share it in pixels.
    const double dpi = page->logicalDpiX();
    const int left = twipsToPixels(twips.x(), dpi), top = twipsToPixels(twips.y(), dpi);
    const int right = twipsToPixels(twips.x() + twips.width(), dpi);
    const int bottom = twipsToPixels(twips.y() + twips.height(), dpi);
    return QRect(left - origin.x(), top - origin.y(), right - left, bottom - top);
}

// A row of parts under a text box: never shorter than what its parts need.
void placeStrip(QWidget* strip, QRect r) {
    r.setHeight(std::max(r.height(), strip->minimumSizeHint().height()));
    strip->setGeometry(r);
}

// A folded panel is as high as its "Show" box, which then sits where the unfolded panel has it.
void placePanel(QWidget* panel, QRect r, bool folded) {
    if (folded) r.setHeight(panel->sizeHint().height());
    // Unfolded it lies over the passage: opaque, and never narrower than its pictures need (it
    // grows to the left, its box staying in its corner).
    panel->setAutoFillBackground(!folded);
    const int least = panel->sizeHint().width();
    if (!folded && r.width() < least) r.setLeft(r.right() - least + 1);
    panel->setGeometry(r);
}

// Tab goes through the parts in reading order: each part's controls in the order they were made
// (left to right within its rows), then the next part's.
void chainTabOrder(std::initializer_list<QWidget*> parts) {
    QList<QWidget*> chain;
    for (QWidget* part : parts) {
        if (!part) continue;
        QList<QWidget*> controls{part};
        controls += part->findChildren<QWidget*>();
        for (QWidget* w : controls)
            // Menus and other windows kept under a part have focus chains of their own.
            if ((w->focusPolicy() & Qt::TabFocus) && !w->focusProxy() && w->window() == part->window() &&
                !chain.contains(w))
                chain << w;
    }
    for (qsizetype i = 1; i < chain.size(); ++i)
        QWidget::setTabOrder(chain[i - 1], chain[i]);
}

int widthInTwips(const QWidget* w) {
    return pixelsToTwips(w->sizeHint().width(), w->logicalDpiX());
}

} // namespace

BiblePage::BiblePage(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("biblePage"));
}

void BiblePage::place(const BibleParts& p) {
    m_parts = p;
    m_strip = new QWidget(this);
    m_strip->setObjectName(QStringLiteral("bibleStrip"));
    auto* bottom = new QHBoxLayout(m_strip);
    bottom->setContentsMargins(0, 0, 0, 0);
    bottom->addWidget(p.options);
    bottom->addWidget(p.keepAtTop);
    bottom->addSpacing(12);
    bottom->addWidget(p.player);
    bottom->addWidget(p.markPosition);
    if (p.windowLabel) bottom->addWidget(p.windowLabel);
    bottom->addStretch(1);
    // The passage's own tools (print, save, zoom) may sit in its header instead.
    if (p.output) bottom->addWidget(p.output);
    if (p.zoom) bottom->addWidget(p.zoom);
    if (p.verseListShow) connect(p.verseListShow, &QAbstractButton::toggled, this, &BiblePage::layoutWanted);
    orderTabs();
    // Mark mode shows and hides ListView1; the books make room for it.
    p.markTable->installEventFilter(this);
    m_markTableShown = p.markTable->isVisibleTo(this) && !p.markTable->isHidden();
}

void BiblePage::orderTabs() {
    const BibleParts& p = m_parts;
    chainTabOrder({p.versionList, p.verseLists, p.searchRow, p.lists, p.markTable, p.orderFrame,
                   p.passageHeader, p.passage, p.options, p.keepAtTop, p.player, p.markPosition,
                   p.windowLabel, p.output, p.zoom});
}

bool BiblePage::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_parts.markTable &&
        (event->type() == QEvent::ShowToParent || event->type() == QEvent::HideToParent))
        setMarkTableShown(event->type() == QEvent::ShowToParent);
    return QWidget::eventFilter(watched, event);
}

// The tab control gives the page its size only once it is shown: the parts follow then.
void BiblePage::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    emit layoutWanted();
}

void CanticlePage::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    emit layoutWanted();
}

void BiblePage::setMarkTableShown(bool shown) {
    if (shown == m_markTableShown) return;
    m_markTableShown = shown;
    emit layoutWanted();
}

void BiblePage::setTextWide(bool wide) {
    if (wide == m_textWide) return;
    m_textWide = wide;
    emit layoutWanted();
}

bool BiblePage::isVerseListShown() const {
    return m_parts.verseListShow && m_parts.verseListShow->isChecked();
}

int BiblePage::searchButtonWidth() const {
    return m_parts.searchRow ? widthInTwips(m_parts.searchRow->findChild<QAbstractButton*>()) : 1200;
}

int BiblePage::verseListLeastWidth() const {
    return m_parts.verseLists ? pixelsToTwips(m_parts.verseLists->sizeHint().width(), logicalDpiX()) : 0;
}

int BiblePage::listsLeastWidth() const {
    return m_parts.lists ? pixelsToTwips(m_parts.lists->minimumSizeHint().width(), logicalDpiX()) : 0;
}

void BiblePage::apply(const BibleGeometry& g, QPoint origin) {
    if (!m_strip) return;
    m_geometry = g;
    const BibleParts& p = m_parts;
    p.versionList->setGeometry(toPixels(g.versionList, this, origin));
    p.searchRow->setGeometry(toPixels(g.searchRow, this, origin));
    if (p.setSearchHalves) {
        const double dpi = logicalDpiX();
        p.setSearchHalves(twipsToPixels(g.search.textWidth, dpi), twipsToPixels(g.search.resultsWidth, dpi));
    }
    p.passage->setGeometry(toPixels(g.passageBlock, this, origin));
    p.lists->setGeometry(toPixels(g.lists, this, origin));
    p.lists->setVisible(g.listsShown);
    // Lbl_classe gives its place up to the mark table in mark mode.
    p.classLabel->setVisible(g.listsShown && !g.markTableShown);
    p.markTable->setGeometry(toPixels(g.markTable, this, origin));
    p.classLabel->setGeometry(toPixels(g.classLabel, this, origin));
    const QRect classLabel = toPixels(g.classLabel, this, origin);
    p.orderFrame->setGeometry(QRect(classLabel.left(), classLabel.bottom() + 4, classLabel.width(),
                                    p.orderFrame->sizeHint().height()));
    placeStrip(m_strip, toPixels(g.strip, this, origin));
    placePanel(p.verseLists, toPixels(g.verseList.area, this, origin),
               g.verseList.area.height() == design::kRowHeight);
    // The passage covers the left column when wide; an unfolded list panel lies over the passage.
    p.passage->raise();
    p.verseLists->raise();
}

CanticlePage::CanticlePage(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("canticlePage"));
}

void CanticlePage::place(const CanticleParts& p) {
    m_parts = p;
    m_strip = new QWidget(this);
    m_strip->setObjectName(QStringLiteral("canticleStrip"));
    auto* bottom = new QHBoxLayout(m_strip);
    bottom->setContentsMargins(0, 0, 0, 0);
    bottom->addWidget(p.player);
    bottom->addWidget(p.companions);
    bottom->addWidget(p.capture, 1);
    bottom->addStretch(1);
    bottom->addWidget(p.output);
    bottom->addWidget(p.zoom);
    orderTabs();
    if (p.playListShow) connect(p.playListShow, &QAbstractButton::toggled, this, &CanticlePage::layoutWanted);
}

void CanticlePage::orderTabs() {
    const CanticleParts& p = m_parts;
    chainTabOrder({p.bookLists, p.playLists, p.searchRow, p.details, p.wordsTitle, p.words, p.player,
                   p.companions, p.capture, p.output, p.zoom});
}

void CanticlePage::setTextWide(bool wide) {
    if (wide == m_textWide) return;
    m_textWide = wide;
    emit layoutWanted();
}

bool CanticlePage::isPlayListShown() const {
    return m_parts.playListShow && m_parts.playListShow->isChecked();
}

int CanticlePage::searchButtonWidth() const {
    return m_parts.searchRow ? widthInTwips(m_parts.searchRow->findChild<QAbstractButton*>()) : 1200;
}

int CanticlePage::playListLeastWidth() const {
    return m_parts.playLists ? pixelsToTwips(m_parts.playLists->sizeHint().width(), logicalDpiX()) : 0;
}

void CanticlePage::apply(const CanticleGeometry& g, QPoint origin) {
    if (!m_strip) return;
    m_geometry = g;
    const CanticleParts& p = m_parts;
    p.bookLists->setGeometry(toPixels(g.bookLists, this, origin));
    p.searchRow->setGeometry(toPixels(g.searchRow, this, origin));
    if (p.setSearchHalves) {
        const double dpi = logicalDpiX();
        p.setSearchHalves(twipsToPixels(g.search.textWidth, dpi), twipsToPixels(g.search.resultsWidth, dpi));
    }
    p.words->setGeometry(toPixels(g.words, this, origin));
    p.details->setGeometry(toPixels(g.details, this, origin));
    p.details->setVisible(g.detailsShown);
    p.notFound->setGeometry(toPixels(g.notFound, this, origin));
    placeStrip(m_strip, toPixels(g.strip, this, origin));
    placePanel(p.playLists, toPixels(g.playList.area, this, origin),
               g.playList.area.height() == design::kRowHeight);
    p.words->raise();
    p.playLists->raise();
}

void layOutMainWindow(QSize frame, QWidget& central, QTabWidget& tabs, BiblePage& bible,
                      CanticlePage& canticle) {
    const double dpi = central.logicalDpiX();
    MainLayoutInput in;
    // The rules take H as the outer height of a window whose decorations and menu bar took
    // kChromeHeight. Here the title bar, the menu bar and the status bar are what the desktop and
    // the window make them, so H is the central area's height plus that allowance: the tab control
    // then fills the central area and the rows under the text boxes stay inside it.
    const int H = pixelsToTwips(central.height(), dpi) + design::kChromeHeight;
    in.window = QSize(pixelsToTwips(frame.width(), dpi), H);
    in.tab = tabs.currentIndex();
    in.markTableShown = bible.isMarkTableShown();
    in.bibleTextWide = bible.isTextWide();
    in.canticleTextWide = canticle.isTextWide();
    in.verseListShown = bible.isVerseListShown();
    in.playListShown = canticle.isPlayListShown();
    in.bibleSearchButton = bible.searchButtonWidth();
    in.bibleListsLeast = bible.listsLeastWidth();
    in.verseListLeast = bible.verseListLeastWidth();
    in.playListLeast = canticle.playListLeastWidth();
    in.canticleSearchButton = canticle.searchButtonWidth();
    in.bible = bible.geometryInForce();
    in.canticle = canticle.geometryInForce();
    const MainLayout out = LayoutMainWindow(in);

    const int margin = twipsToPixels(100, dpi);
    const QSize tabSize(std::min(twipsToPixels(out.tabControl.width(), dpi), central.width() - margin),
                        std::min(twipsToPixels(out.tabControl.height(), dpi), central.height()));
    tabs.setGeometry(QRect(QPoint(margin, 0), tabSize.expandedTo(QSize(0, 0))));
    QWidget* page = tabs.currentWidget();
    if (!page) return;
    const QPoint origin = page->mapTo(&tabs, QPoint(0, 0));
    if (page == &bible) bible.apply(out.bible, origin);
    if (page == &canticle) canticle.apply(out.canticle, origin);
}

} // namespace lumora::app
