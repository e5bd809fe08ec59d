// LayoutMainWindow without widgets: the rules on each tab, the two edge cases, the picture tables
// of the list panels, and the states of the other areas that move the parts.

#include "app/mainlayout.h"

#include <QList>

#include <gtest/gtest.h>

using namespace lumora::app;

namespace {

MainLayoutInput window(int w, int h, int tab = 0) {
    MainLayoutInput in;
    in.window = QSize(w, h);
    in.tab = tab;
    in.bible = designedBible();
    in.canticle = designedCanticle();
    return in;
}

constexpr int kW = 15360, kH = 11520; // 1024 x 768 pixels at 96 dpi

// The left edges of a list panel's pictures, each followed by its caption, stepping inwards from
// the frame's right edge: Img_EMPTY, Img_REMOVE, Img_DN, Img_UP.
std::array<int, 8> pictureLefts(int w) {
    return {w - 500, w - 540, w - 1100, w - 1260, w - 1700, w - 1770, w - 2300, w - 2210};
}

// What the two tabs share: the text box (the passage or the words), its search row and its list
// panel (the verse lists or the playlist).
struct TabParts {
    QRect box, searchRow;
    SearchRowGeometry search;
    PanelGeometry panel;
    int rightEdge;
};
TabParts partsOf(const MainLayout& out, int tab) {
    if (tab == 0)
        return {out.bible.passage, out.bible.searchRow, out.bible.search, out.bible.verseList,
                out.bible.rightEdge};
    return {out.canticle.words, out.canticle.searchRow, out.canticle.search, out.canticle.playList,
            out.canticle.rightEdge};
}
QRect& boxOf(MainLayoutInput& in, int tab) {
    return tab == 0 ? in.bible.passage : in.canticle.words;
}

} // namespace

// units
TEST(MainLayout, twipsAreFifteenAPixelAt96DpiAndScaleWithTheDpi) {
    EXPECT_EQ(twipsToPixels(1440, 96), 96);
    EXPECT_EQ(twipsToPixels(15, 96), 1);
    EXPECT_EQ(twipsToPixels(1440, 192), 192);
    EXPECT_EQ(pixelsToTwips(1024, 96), 15360);
    EXPECT_EQ(pixelsToTwips(1, 120), 12);
}

// the text box, its search row and its list panel, on each tab
// (At two widths: a thousand twips wider makes the box and the search row a thousand wider, each
// half five hundred.)
TEST(MainLayout, eachTextBoxTakesTheWindowLessTheMargins_andItsSearchRowIsTwoHalvesAroundTheButton) {
    for (const auto& [tab, w] : {std::pair{0, kW}, {1, kW}, {0, kW + 1000}, {1, kW + 1000}}) {
        SCOPED_TRACE(::testing::Message() << "tab " << tab << ", width " << w);
        MainLayoutInput in = window(w, kH, tab);
        in.bibleSearchButton = in.canticleSearchButton = 1100;
        const TabParts p = partsOf(LayoutMainWindow(in), tab);
        EXPECT_EQ(p.box.x(), design::kTextLeft);
        EXPECT_EQ(p.box.width(), w - design::kTextLeft - 350);
        EXPECT_EQ(p.box.height(), kH - p.box.y() - 1700);
        EXPECT_EQ(p.rightEdge, p.box.x() + p.box.width())
            << "the counter and the title end at the box's edge";
        const int half = (p.box.width() - 1100 - 20) / 2;
        EXPECT_EQ(p.search.textLeft, p.box.x());
        EXPECT_EQ(p.search.textWidth, half);
        EXPECT_EQ(p.search.buttonLeft, half + p.box.x() + 10);
        EXPECT_EQ(p.search.resultsWidth, half);
        EXPECT_EQ(p.search.resultsLeft + p.search.resultsWidth, p.box.x() + p.box.width());
        EXPECT_EQ(p.searchRow.x(), p.box.x());
        EXPECT_EQ(p.searchRow.width(), p.box.width());
    }
    const MainLayout out = LayoutMainWindow(window(kW, kH));
    const BibleGeometry& g = out.bible;
    EXPECT_EQ(g.lists.height(), g.passage.height()) << "the four lists as high as the passage";
    EXPECT_EQ(g.passageBlock.width(), g.passage.width()) << "Labe16 and the passage share their width";
    EXPECT_EQ(out.tabControl, QSize(kW - 200, kH - 860));
    // Label16 from Text_info's left edge to 100 before the words' right edge
    const CanticleGeometry c = LayoutMainWindow(window(kW, kH, 1)).canticle;
    EXPECT_EQ(c.notFound.x(), c.details.x());
    EXPECT_EQ(c.notFound.x() + c.notFound.width(), c.words.x() + c.words.width() - 100);
    EXPECT_EQ(c.notFound.height(), kH - c.notFound.y() - 1000);
}

// The panel's pictures step inwards from its frame's edge (Label33 to Label30, Label34 to Label37).
// Unfolded, it lies over the search row and keeps its show box in the corner the folded one had,
// so that the second click lands on the box again.
TEST(MainLayout, listPanelsFollowTheFirstHalf_andFoldedOrNotKeepTheirShowBoxInTheSameCorner) {
    for (int tab : {0, 1}) {
        SCOPED_TRACE(tab);
        MainLayoutInput in = window(kW, kH, tab);
        const TabParts folded = partsOf(LayoutMainWindow(in), tab);
        in.verseListShown = in.playListShown = true;
        const TabParts shown = partsOf(LayoutMainWindow(in), tab);
        const PanelGeometry& p = shown.panel;
        EXPECT_EQ(p.comboWidth, shown.search.textWidth);
        EXPECT_EQ(p.frameWidth, shown.search.textWidth);
        EXPECT_EQ(p.listWidth, shown.search.textWidth - 275);
        EXPECT_EQ(p.addLeft, p.frameLeft + p.frameWidth + 10);
        EXPECT_EQ(p.area.x(), p.frameLeft);
        EXPECT_EQ(p.area.x() + p.area.width(), shown.box.x() + shown.box.width());
        EXPECT_LE(p.area.y(), shown.searchRow.y());
        EXPECT_GT(p.area.y() + p.area.height(), shown.searchRow.y() + shown.searchRow.height());
        EXPECT_EQ(p.pictureLefts, pictureLefts(p.frameWidth));
        EXPECT_EQ(folded.panel.area.topRight(), p.area.topRight());
        EXPECT_EQ(folded.panel.area.height(), design::kRowHeight);
        EXPECT_EQ(p.area.height(), design::kPanelHeight);
        EXPECT_LE(folded.panel.area.y() + folded.panel.area.height(), folded.searchRow.y())
            << "folded, the box leaves the search row free";
    }
    const MainLayout c = LayoutMainWindow(window(kW, kH, 1));
    EXPECT_LT(c.canticle.bookLists.x() + c.canticle.bookLists.width(), c.canticle.playList.area.x())
        << "the hymn lists end before the box";
    const BibleGeometry g = LayoutMainWindow(window(kW, kH)).bible;
    EXPECT_GE(g.strip.y(), g.passage.y() + g.passage.height()) << "the strip is under the passage";
    EXPECT_LE(g.versionList.x() + g.versionList.width(), g.verseList.area.x());
}

// the edge cases: a window narrower than the box's left edge or too low keeps the box's size
TEST(MainLayout, windowTooNarrowOrTooLowKeepsTheBox_butTheSearchRowFollowsTheBoxsWidth) {
    for (int tab : {0, 1}) {
        SCOPED_TRACE(tab);
        MainLayoutInput narrow = window(design::kTextLeft + 150, kH, tab);
        boxOf(narrow, tab).setWidth(4000);
        const TabParts n = partsOf(LayoutMainWindow(narrow), tab);
        EXPECT_EQ(n.box.width(), 4000);
        EXPECT_EQ(n.search.textWidth, (4000 - 1200 - 20) / 2);
        EXPECT_EQ(n.search.resultsLeft, n.box.x() + 4000 - n.search.resultsWidth);

        MainLayoutInput low = window(kW, (tab == 0 ? design::kLists.y() : design::kWords.y()) + 1000, tab);
        boxOf(low, tab).setHeight(2500);
        low.bible.lists.setHeight(2900);
        EXPECT_EQ(partsOf(LayoutMainWindow(low), tab).box.height(), 2500);
        EXPECT_EQ(LayoutMainWindow(low).bible.lists.height(), 2900);

        // However low the window, no part is given less than no height.
        for (int h = 0; h <= 4000; h += 50) {
            const MainLayout out = LayoutMainWindow(window(kW, h, tab));
            for (const QRect& r : {out.bible.passage, out.bible.lists, out.bible.markTable,
                                   out.canticle.words, out.canticle.notFound})
                EXPECT_GE(r.height(), 0) << h;
        }
    }
}

// Mark mode: ListView1 takes the books' place. It squeezed the four lists into what the table left
// of the column, cutting the last verse list off: they keep the width they need and the passage
// starts after them.
TEST(MainLayout, markTableTakesTheBooksPlace_theListsMoveRightKeepingTheWidthTheyNeed) {
    MainLayoutInput in = window(kW, kH);
    const BibleGeometry plain = LayoutMainWindow(in).bible;
    in.markTableShown = true;
    const BibleGeometry marks = LayoutMainWindow(in).bible;
    EXPECT_TRUE(marks.markTableShown);
    EXPECT_EQ(marks.markTable.x(), plain.lists.x()) << "ListView1 where List_livre was";
    EXPECT_GT(marks.lists.x(), marks.markTable.x() + marks.markTable.width() - 1);
    EXPECT_EQ(marks.lists.x() + marks.lists.width(), plain.lists.x() + plain.lists.width())
        << "the lists keep their right edge";
    EXPECT_EQ(marks.markTable.height(), marks.passage.height());
    EXPECT_EQ(marks.passage, plain.passage);
    in.markTableShown = false;
    EXPECT_EQ(LayoutMainWindow(in).bible.lists, plain.lists) << "List_livre back in ListView1's place";

    in.bibleListsLeast = 5000;
    EXPECT_EQ(LayoutMainWindow(in).bible.passage.x(), design::kTextLeft)
        << "without the table the lists fit the column";
    in.markTableShown = true;
    const BibleGeometry squeezed = LayoutMainWindow(in).bible;
    EXPECT_EQ(squeezed.lists.width(), 5000);
    EXPECT_GT(squeezed.passage.x(), squeezed.lists.x() + squeezed.lists.width());
    EXPECT_EQ(squeezed.passage.x() + squeezed.passage.width(), plain.passage.x() + plain.passage.width())
        << "the passage keeps its right edge";
    EXPECT_EQ(squeezed.searchRow.x(), squeezed.passage.x());
    EXPECT_EQ(squeezed.strip.y(), plain.strip.y()) << "the bottom row stays put";
}

// the wide text: the passage over the lists, the words over the details, and back at 6960
TEST(MainLayout, widePassageStartsAtTheVersionListWithTheListsHidden_wideWordsAtTheDetails_narrowAt6960) {
    MainLayoutInput in = window(kW, kH);
    in.bibleTextWide = true;
    in.markTableShown = true;
    const BibleGeometry wide = LayoutMainWindow(in).bible;
    EXPECT_EQ(wide.passage.x(), design::kVersionList.x());
    EXPECT_EQ(wide.passage.width(), kW - design::kVersionList.x() - 350) << "stretched to the right edge";
    EXPECT_FALSE(wide.listsShown);
    EXPECT_FALSE(wide.markTableShown);
    EXPECT_EQ(wide.search.textLeft, wide.passage.x()) << "Text_achercher follows the passage's left edge";

    in.bibleTextWide = false;
    in.bible = wide;
    const BibleGeometry narrow = LayoutMainWindow(in).bible;
    EXPECT_EQ(narrow.passage.x(), 6960);
    EXPECT_TRUE(narrow.listsShown);
    EXPECT_EQ(narrow.search.textLeft, 6960);

    MainLayoutInput c = window(kW, kH, 1);
    c.canticleTextWide = true;
    const CanticleGeometry wideWords = LayoutMainWindow(c).canticle;
    EXPECT_EQ(wideWords.words.x(), design::kDetails.x());
    EXPECT_FALSE(wideWords.detailsShown);
    EXPECT_EQ(wideWords.search.textLeft, wideWords.words.x());
    c.canticleTextWide = false;
    c.canticle = wideWords;
    const CanticleGeometry narrowWords = LayoutMainWindow(c).canticle;
    EXPECT_EQ(narrowWords.words.x(), 6960);
    EXPECT_TRUE(narrowWords.detailsShown);
}

TEST(MainLayout, onlyTheTabOnDisplayIsLaidOutButThePlaylistPicturesAlwaysAre) {
    MainLayoutInput in = window(kW, kH, 0);
    in.canticle.playList.frameWidth = 4000;
    const MainLayout out = LayoutMainWindow(in);
    EXPECT_EQ(out.canticle.words, in.canticle.words) << "the Canticle tab keeps its geometry";
    EXPECT_EQ(out.canticle.playList.pictureLefts, pictureLefts(4000));

    in.tab = 1;
    in.bible.passage = QRect(1, 2, 3, 4);
    EXPECT_EQ(LayoutMainWindow(in).bible.passage, QRect(1, 2, 3, 4)) << "the Bible tab keeps its geometry";
}

// every part stays inside the tab control at the sizes people use (twips at 96 dpi)
TEST(MainLayout, everyPartStaysInsideTheTabControlFromSmallScreensToLargeOnes) {
    for (const QSize px : {QSize(960, 540), QSize(1024, 768), QSize(1366, 768), QSize(1920, 1080)}) {
        for (int tab : {0, 1}) {
            MainLayoutInput in = window(px.width() * 15, px.height() * 15, tab);
            in.markTableShown = true;
            const MainLayout out = LayoutMainWindow(in);
            const QRect inside(0, 0, out.tabControl.width(), out.tabControl.height());
            const QList<QRect> parts =
                tab == 0
                    ? QList<QRect>{out.bible.passageBlock, out.bible.searchRow, out.bible.lists,
                                   out.bible.markTable,    out.bible.strip,     out.bible.verseList.area,
                                   out.bible.versionList,  out.bible.classLabel}
                    : QList<QRect>{out.canticle.words,   out.canticle.searchRow, out.canticle.bookLists,
                                   out.canticle.details, out.canticle.strip,     out.canticle.playList.area};
            for (const QRect& r : parts)
                EXPECT_TRUE(inside.contains(r))
                    << px.width() << "x" << px.height() << " tab " << tab << ": " << r.x() << "," << r.y()
                    << " " << r.width() << "x" << r.height();
        }
    }
}
