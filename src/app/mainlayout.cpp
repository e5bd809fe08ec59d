#include "app/mainlayout.h"

#include <cmath>

namespace lumora::app {

namespace {

// Between the left column and the text box.
constexpr int kListsGap = design::kTextLeft - design::kLeftColumn - design::kLeftColumnWidth;

constexpr int right(const QRect& r) {
    return r.x() + r.width();
}
constexpr int bottom(const QRect& r) {
    return r.y() + r.height();
}

SearchRowGeometry searchHalves(const QRect& box, int button) {
    SearchRowGeometry s;
    s.textLeft = box.x();
    s.textWidth = (box.width() - button - 20) / 2;
    s.buttonLeft = s.textWidth + box.x() + 10;
    s.resultsWidth = s.textWidth;
    s.resultsLeft = box.x() + box.width() - s.resultsWidth;
    return s;
}

// Each picture's Left from the frame's right edge inwards, its caption label beside it.
std::array<int, 8> panelPictures(int frameWidth) {
    const int empty = frameWidth - 500;
    const int remove = empty - 600;
    const int down = remove - 600;
    const int up = down - 600;
    return {empty, empty - 40, remove, remove - 160, down, down - 70, up, up + 90};
}

// The panel's drop-down and frame are as wide as the search row's first half. Folded, only its
// "Show" box is left, in the row above the search row at the text box's right edge; unfolded, it
// hangs from that corner over the search row (whose controls it hides), so that the box stays
// under the pointer for the click that folds it again.
PanelGeometry panelAt(const QRect& box, const SearchRowGeometry& search, int showTop, bool shown,
                      int least = 0) {
    PanelGeometry p;
    p.comboWidth = search.textWidth;
    p.frameWidth = search.textWidth;
    p.listWidth = search.textWidth - 275;
    // Never narrower than its pictures and their captions need: it grows to the left.
    const int width = std::max(p.frameWidth + 10 + design::kAddButtonWidth, shown ? least : 0);
    p.frameLeft = right(box) - width;
    p.addLeft = p.frameLeft + p.frameWidth + 10;
    p.pictureLefts = panelPictures(p.frameWidth);
    if (shown)
        p.area = QRect(p.frameLeft, showTop, width, design::kPanelHeight);
    else
        p.area =
            QRect(right(box) - design::kShowBoxWidth, showTop, design::kShowBoxWidth, design::kRowHeight);
    return p;
}

// The row under a text box, from the left column to the box's right edge.
QRect stripUnder(const QRect& box) {
    return QRect(design::kLeftColumn, bottom(box) + 60, std::max(right(box) - design::kLeftColumn, 0),
                 design::kStripHeight);
}

BibleGeometry layoutBible(const MainLayoutInput& in) {
    const int W = in.window.width(), H = in.window.height();
    BibleGeometry g = in.bible;
    QRect p = g.passage;
    p.moveLeft(in.bibleTextWide ? g.versionList.x() : design::kTextLeft);
    // Mark mode: ListView1 takes the books' place and the lists move to its right. They keep the
    // width they need (a squeezed row cut its last column off); the passage gives up the rest.
    const bool markTableShown = in.markTableShown && !in.bibleTextWide;
    const int listsLeft = design::kLeftColumn + design::kMarkTableWidth + 60;
    const int listsWidth =
        std::max(design::kLeftColumn + design::kLeftColumnWidth - listsLeft, in.bibleListsLeast);
    if (markTableShown) p.moveLeft(std::max(p.x(), listsLeft + listsWidth + kListsGap));
    if (p.x() + 200 < W) p.setWidth(W - p.x() - 350);
    const int searchTop = g.searchRow.y();
    g.search = searchHalves(p, in.bibleSearchButton);
    g.searchRow = QRect(p.x(), searchTop, p.width(), g.searchRow.height());
    g.rightEdge = right(p);
    g.verseList = panelAt(p, g.search, g.versionList.y(), in.verseListShown, in.verseListLeast);
    // The unfolded verse lists hang over the search row, whose place they take; the passage with its
    // heading and tools starts under them instead of lying beneath. The lists keep their height.
    const int top = in.verseListShown ? std::max(design::kPassage.y(),
                                                 bottom(g.verseList.area) + 60 + design::kHeadingHeight)
                                      : design::kPassage.y();
    QRect lists = g.lists;
    p.moveTop(top);
    // A low window stretches them to its bottom less the margin, never to less than nothing.
    if (lists.y() + 1000 < H) {
        p.setHeight(std::max(H - top - 1700, 0));
        lists.setHeight(std::max(H - design::kPassage.y() - 1700, 0));
    }
    g.passage = p;
    g.passageBlock =
        QRect(p.x(), p.y() - design::kHeadingHeight, p.width(), p.height() + design::kHeadingHeight);

    g.listsShown = !in.bibleTextWide;
    g.markTableShown = markTableShown;
    if (g.markTableShown) {
        g.markTable = QRect(design::kLeftColumn, lists.y(), design::kMarkTableWidth, lists.height());
        lists = QRect(listsLeft, lists.y(), listsWidth, lists.height());
    } else {
        g.markTable = QRect(design::kLeftColumn, lists.y(), design::kMarkTableWidth, lists.height());
        lists = QRect(design::kLeftColumn, lists.y(), design::kLeftColumnWidth, lists.height());
    }
    g.lists = lists;
    g.classLabel =
        QRect(design::kLeftColumn, bottom(lists) + 60, design::kLeftColumnWidth, design::kClassLabelHeight);
    g.strip = stripUnder(p);
    return g;
}

CanticleGeometry layoutCanticle(const MainLayoutInput& in) {
    const int W = in.window.width(), H = in.window.height();
    CanticleGeometry g = in.canticle;
    QRect c = g.words;
    c.moveLeft(in.canticleTextWide ? g.details.x() : design::kTextLeft);
    if (c.x() + 200 < W) c.setWidth(W - c.x() - 350);
    const int searchTop = g.searchRow.y();
    g.search = searchHalves(c, in.canticleSearchButton);
    g.searchRow = QRect(c.x(), searchTop, c.width(), g.searchRow.height());
    g.rightEdge = right(c);
    g.playList = panelAt(c, g.search, g.bookLists.y(), in.playListShown, in.playListLeast);
    // The unfolded playlist hangs from its "Show" box over the search row, whose place it takes;
    // the words (with their title row) start under it instead of lying beneath it.
    c.moveTop(in.playListShown ? std::max(design::kWords.y(), bottom(g.playList.area) + 60)
                               : design::kWords.y());
    if (c.y() + 1000 < H) c.setHeight(std::max(H - c.y() - 1700, 0));
    g.words = c;

    // Label16 covers the tab from Text_info's left edge to 100 twips before the words' right edge.
    g.notFound = QRect(g.details.x(), g.notFound.y(), right(c) - g.details.x() - 100,
                       std::max(H - g.notFound.y() - 1000, 0));
    g.detailsShown = !in.canticleTextWide;
    g.details.setHeight(std::max(bottom(c) - g.details.y(), 0));
    // The hymn lists end before the playlist panel: its "Show" box, or the whole panel unfolded.
    g.bookLists.setWidth(std::max(g.playList.area.x() - 60 - g.bookLists.x(), 0));
    g.strip = stripUnder(c);
    return g;
}

} // namespace

int twipsToPixels(int twips, double logicalDpi) {
    return static_cast<int>(std::lround(twips * logicalDpi / 1440.0));
}

int pixelsToTwips(int pixels, double logicalDpi) {
    return static_cast<int>(std::lround(pixels * 1440.0 / logicalDpi));
}

BibleGeometry designedBible() {
    BibleGeometry g;
    g.versionList = design::kVersionList;
    g.searchRow = design::kBibleSearchRow;
    g.passage = design::kPassage;
    g.lists = design::kLists;
    g.markTable =
        QRect(design::kLeftColumn, design::kLists.y(), design::kMarkTableWidth, design::kLists.height());
    return g;
}

CanticleGeometry designedCanticle() {
    CanticleGeometry g;
    g.bookLists = design::kBookLists;
    g.searchRow = design::kCanticleSearchRow;
    g.words = design::kWords;
    g.details = design::kDetails;
    g.notFound = design::kNotFound;
    return g;
}

MainLayout LayoutMainWindow(const MainLayoutInput& in) {
    MainLayout out;
    out.bible = in.tab == 0 ? layoutBible(in) : in.bible;
    out.canticle = in.tab == 1 ? layoutCanticle(in) : in.canticle;
    // Always: the tab control, and the playlist panel's pictures from its frame's width.
    out.tabControl = QSize(in.window.width() - 200, in.window.height() - design::kChromeHeight);
    out.canticle.playList.pictureLefts = panelPictures(out.canticle.playList.frameWidth);
    return out;
}

} // namespace lumora::app
