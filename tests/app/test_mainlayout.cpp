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

} // namespace

// units
TEST(MainLayout, twipsAreFifteenAPixelAt96DpiAndScaleWithTheDpi) {
    EXPECT_EQ(twipsToPixels(1440, 96), 96);
    EXPECT_EQ(twipsToPixels(15, 96), 1);
    EXPECT_EQ(twipsToPixels(1440, 192), 192);
    EXPECT_EQ(pixelsToTwips(1024, 96), 15360);
    EXPECT_EQ(pixelsToTwips(1, 120), 12);
}

// Bible tab
TEST(MainLayout, bibleTextBoxTakesTheWindowWidthAndHeightLessTheMargins) {
    const MainLayout out = LayoutMainWindow(window(kW, kH));
    const BibleGeometry& g = out.bible;
    EXPECT_EQ(g.passage.x(), design::kTextLeft);
    EXPECT_EQ(g.passage.width(), kW - design::kTextLeft - 350);
    EXPECT_EQ(g.passage.height(), kH - g.passage.y() - 1700);
    EXPECT_EQ(g.lists.height(), g.passage.height()) << "the four lists as high as the passage";
    EXPECT_EQ(g.passageBlock.width(), g.passage.width()) << "Labe16 and the passage share their width";
    EXPECT_EQ(g.rightEdge, g.passage.x() + g.passage.width())
        << "the counter and Labe16 end at the box's edge";
    EXPECT_EQ(out.tabControl, QSize(kW - 200, kH - 860));
}

TEST(MainLayout, bibleSearchRowIsTwoHalvesAroundTheButtonRightAlignedWithThePassage) {
    MainLayoutInput in = window(kW, kH);
    in.bibleSearchButton = 1100;
    const BibleGeometry g = LayoutMainWindow(in).bible;
    const int half = (g.passage.width() - 1100 - 20) / 2;
    EXPECT_EQ(g.search.textLeft, g.passage.x());
    EXPECT_EQ(g.search.textWidth, half);
    EXPECT_EQ(g.search.buttonLeft, half + g.passage.x() + 10);
    EXPECT_EQ(g.search.resultsWidth, half);
    EXPECT_EQ(g.search.resultsLeft + g.search.resultsWidth, g.passage.x() + g.passage.width());
    EXPECT_EQ(g.searchRow.x(), g.passage.x());
    EXPECT_EQ(g.searchRow.width(), g.passage.width());
}

TEST(MainLayout, verseListPanelFollowsTheFirstHalfAndItsPicturesStepInwardsFromTheFrameEdge) {
    MainLayoutInput in = window(kW, kH);
    in.verseListShown = true;
    const BibleGeometry g = LayoutMainWindow(in).bible;
    const PanelGeometry& p = g.verseList;
    const int half = g.search.textWidth;
    EXPECT_EQ(p.comboWidth, half);
    EXPECT_EQ(p.frameWidth, half);
    EXPECT_EQ(p.listWidth, half - 275);
    EXPECT_EQ(p.addLeft, p.frameLeft + p.frameWidth + 10);
    EXPECT_EQ(p.area.x(), p.frameLeft);
    EXPECT_EQ(p.area.x() + p.area.width(), g.passage.x() + g.passage.width())
        << "the panel lies over the search row, ending at the passage's right edge";
    EXPECT_LE(p.area.y(), g.searchRow.y());
    EXPECT_GT(p.area.y() + p.area.height(), g.searchRow.y() + g.searchRow.height());
    EXPECT_EQ(p.pictureLefts, pictureLefts(p.frameWidth)) << "Label33 to Label30";
}

TEST(MainLayout, foldedAndUnfoldedPanelsKeepTheirShowBoxInTheSameCorner) {
    for (int tab : {0, 1}) {
        MainLayoutInput in = window(kW, kH, tab);
        const MainLayout folded = LayoutMainWindow(in);
        in.verseListShown = in.playListShown = true;
        const MainLayout shown = LayoutMainWindow(in);
        const QRect a = tab == 0 ? folded.bible.verseList.area : folded.canticle.playList.area;
        const QRect b = tab == 0 ? shown.bible.verseList.area : shown.canticle.playList.area;
        EXPECT_EQ(a.topRight(), b.topRight()) << "tab " << tab << ": the second click lands on the box again";
        EXPECT_EQ(a.height(), design::kRowHeight);
        EXPECT_EQ(b.height(), design::kPanelHeight);
        const QRect searchRow = tab == 0 ? folded.bible.searchRow : folded.canticle.searchRow;
        EXPECT_LE(a.y() + a.height(), searchRow.y()) << "folded, the box leaves the search row free";
    }
    const MainLayout c = LayoutMainWindow(window(kW, kH, 1));
    EXPECT_LT(c.canticle.bookLists.x() + c.canticle.bookLists.width(), c.canticle.playList.area.x())
        << "the hymn lists end before the box";
    const BibleGeometry g = LayoutMainWindow(window(kW, kH)).bible;
    EXPECT_GE(g.strip.y(), g.passage.y() + g.passage.height()) << "the strip is under the passage";
    EXPECT_LE(g.versionList.x() + g.versionList.width(), g.verseList.area.x());
}

// the two edge cases
TEST(MainLayout, windowNarrowerThanTheBoxLeftKeepsItsWidthButRecomputesTheSearchRow) {
    MainLayoutInput in = window(design::kTextLeft + 200, kH);
    in.bible.passage.setWidth(5000);
    const BibleGeometry g = LayoutMainWindow(in).bible;
    EXPECT_EQ(g.passage.width(), 5000);
    EXPECT_EQ(g.search.textWidth, (5000 - in.bibleSearchButton - 20) / 2);
    EXPECT_EQ(g.search.resultsLeft, g.passage.x() + 5000 - g.search.resultsWidth);

    MainLayoutInput canticle = window(design::kTextLeft + 150, kH, 1);
    canticle.canticle.words.setWidth(4000);
    const CanticleGeometry c = LayoutMainWindow(canticle).canticle;
    EXPECT_EQ(c.words.width(), 4000);
    EXPECT_EQ(c.search.textWidth, (4000 - canticle.canticleSearchButton - 20) / 2);
}

TEST(MainLayout, thousandTwipsWiderMakesBoxAndSearchRowThousandWiderEachHalfFiveHundred) {
    for (int tab : {0, 1}) {
        const MainLayout narrow = LayoutMainWindow(window(kW, kH, tab));
        const MainLayout wide = LayoutMainWindow(window(kW + 1000, kH, tab));
        const QRect boxBefore = tab == 0 ? narrow.bible.passage : narrow.canticle.words;
        const QRect boxAfter = tab == 0 ? wide.bible.passage : wide.canticle.words;
        const SearchRowGeometry& before = tab == 0 ? narrow.bible.search : narrow.canticle.search;
        const SearchRowGeometry& after = tab == 0 ? wide.bible.search : wide.canticle.search;
        EXPECT_EQ(boxAfter.width() - boxBefore.width(), 1000) << "tab " << tab;
        EXPECT_EQ(after.textWidth - before.textWidth, 500) << "tab " << tab;
        EXPECT_EQ(after.resultsWidth - before.resultsWidth, 500) << "tab " << tab;
        EXPECT_EQ(after.buttonLeft - before.buttonLeft, 500) << "tab " << tab;
        EXPECT_EQ(after.resultsLeft + after.resultsWidth - (before.resultsLeft + before.resultsWidth), 1000);
    }
}

TEST(MainLayout, windowTooLowKeepsTheHeights) {
    MainLayoutInput in = window(kW, design::kLists.y() + 1000);
    in.bible.passage.setHeight(3000);
    in.bible.lists.setHeight(2900);
    const BibleGeometry g = LayoutMainWindow(in).bible;
    EXPECT_EQ(g.passage.height(), 3000);
    EXPECT_EQ(g.lists.height(), 2900);

    MainLayoutInput c = window(kW, design::kWords.y() + 1000, 1);
    c.canticle.words.setHeight(2500);
    EXPECT_EQ(LayoutMainWindow(c).canticle.words.height(), 2500);
}

// the other areas' states
TEST(MainLayout, markTableTakesTheBooksPlaceAndTheBooksMoveRightNarrowed) {
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
}

// Mark mode squeezed the four lists into what the table left of the column, cutting the last
// verse list off: they keep the width they need and the passage starts after them.
TEST(MainLayout, markTableLeavesTheListsTheWidthTheyNeedAndThePassageMakesRoom) {
    MainLayoutInput in = window(kW, kH);
    in.bibleListsLeast = 5000;
    const BibleGeometry plain = LayoutMainWindow(in).bible;
    EXPECT_EQ(plain.passage.x(), design::kTextLeft) << "without the table the lists fit the column";
    in.markTableShown = true;
    const BibleGeometry marks = LayoutMainWindow(in).bible;
    EXPECT_EQ(marks.lists.width(), 5000);
    EXPECT_GT(marks.passage.x(), marks.lists.x() + marks.lists.width());
    EXPECT_EQ(marks.passage.x() + marks.passage.width(), plain.passage.x() + plain.passage.width())
        << "the passage keeps its right edge";
    EXPECT_EQ(marks.searchRow.x(), marks.passage.x());
    EXPECT_EQ(marks.strip.y(), plain.strip.y()) << "the bottom row stays put";
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

// Canticle tab
TEST(MainLayout, canticleRulesPlaceWordsSearchPlaylistAndTheNotFoundLabel) {
    MainLayoutInput in = window(kW, kH, 1);
    in.playListShown = true;
    const MainLayout out = LayoutMainWindow(in);
    const CanticleGeometry& c = out.canticle;
    EXPECT_EQ(c.words.width(), kW - c.words.x() - 350);
    EXPECT_EQ(c.words.height(), kH - c.words.y() - 1700);
    EXPECT_EQ(c.search.textWidth, (c.words.width() - in.canticleSearchButton - 20) / 2);
    EXPECT_EQ(c.search.resultsLeft + c.search.resultsWidth, c.words.x() + c.words.width());
    EXPECT_EQ(c.playList.comboWidth, c.search.textWidth);
    EXPECT_EQ(c.playList.listWidth, c.search.textWidth - 275);
    EXPECT_EQ(c.playList.addLeft, c.playList.frameLeft + c.playList.frameWidth + 10);
    EXPECT_EQ(c.rightEdge, c.words.x() + c.words.width()) << "Lbl_Nbr_cantique_trouve and Label9";
    // Label16 from Text_info's left edge to 100 before the words' right edge
    EXPECT_EQ(c.notFound.x(), c.details.x());
    EXPECT_EQ(c.notFound.x() + c.notFound.width(), c.words.x() + c.words.width() - 100);
    EXPECT_EQ(c.notFound.height(), kH - c.notFound.y() - 1000);
    EXPECT_EQ(c.playList.pictureLefts, pictureLefts(c.playList.frameWidth)) << "Label34 to Label37";
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
