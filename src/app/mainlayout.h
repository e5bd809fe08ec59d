#pragma once
// LayoutMainWindow's rules, computed without widgets: from the window's size, the designed
// positions of the parts of each tab and the state of the areas that move them, the geometry of
// every part. All values are twips (1/1440 inch; 15 twips are one pixel at 96 dpi), relative to
// the top-left corner of the tab control SSTab_LMR, its tab strip included.
//
// Only the tab on display is laid out (plus the tab control and the playlist panel's pictures):
// the other tab's geometry is returned unchanged from the input.

#include <QRect>
#include <QSize>

#include <array>

namespace lumora::app {

// Twips and pixels at a screen's logical dpi (96 dpi: 15 twips a pixel).
int twipsToPixels(int twips, double logicalDpi);
int pixelsToTwips(int pixels, double logicalDpi);

// The designed positions of the parts. A part not named by a rule keeps its designed Left and Top,
// except that the rows below a text box follow its bottom edge, so they stay in the window at any
// height.
namespace design {
inline constexpr int kTextLeft = 6960;  // Text_Passage and Text_Cantique in the narrow layout
inline constexpr int kLeftColumn = 120; // List_version, the navigation lists, Text_info
inline constexpr int kLeftColumnWidth = 6720;
inline constexpr int kRowHeight = 360;
inline constexpr int kStripHeight = 510; // the row of options, players and zoom under a text box
inline constexpr int kMarkTableWidth = 3 * 1020 + 300; // ListView1: three 1020-twip columns
inline constexpr int kShowBoxWidth = 1200;             // the "Show" box of a list panel, folded
inline constexpr int kPanelHeight = 3600;              // a list panel unfolded
inline constexpr int kAddButtonWidth = 450;            // Cmd_Favori_Bible / Cmd_Favori_Canticle
// Between the window's outer height and the tab control: the title bar and the menu bar the
// designed window had (SSTab_LMR is H - 860 high).
inline constexpr int kChromeHeight = 860;

// Bible tab
inline constexpr QRect kVersionList{kLeftColumn, 540, 4800, kRowHeight};
inline constexpr QRect kBibleSearchRow{kTextLeft, 960, 8050, kRowHeight};
inline constexpr int kHeadingHeight = 360; // Labe16 above Text_Passage
inline constexpr QRect kPassage{kTextLeft, 1740, 8050, 8080};
inline constexpr QRect kLists{kLeftColumn, 960, kLeftColumnWidth, 8080};
inline constexpr int kClassLabelHeight = 330;

// Canticle tab
inline constexpr QRect kBookLists{kLeftColumn, 540, 14890, 780};
inline constexpr QRect kCanticleSearchRow{kTextLeft, 1380, 8050, kRowHeight};
inline constexpr QRect kWords{kTextLeft, 1800, 8050, 8020};
inline constexpr QRect kDetails{kLeftColumn, 1380, kLeftColumnWidth, 8440}; // Label9 and Text_info
inline constexpr QRect kNotFound{kLeftColumn, 1380, 14790, 9140};           // Label16
} // namespace design

// Where the search row's controls go (rule: two halves around the search button).
struct SearchRowGeometry {
    int textLeft = 0, textWidth = 0;       // Text_achercher / Cantique_achercher
    int buttonLeft = 0;                    // Cmd_cherche_passage / Cmd_cherche_cantique
    int resultsLeft = 0, resultsWidth = 0; // ComboBox_passage_trouve / ComboBox_cantique_trouve
    bool operator==(const SearchRowGeometry&) const = default;
};

// A list panel: the drop-down, the frame and the list follow the search row's first half; the
// pictures are placed from the frame's right edge inwards (Lefts inside the frame), in the order
// of pictureLefts: EMPTY, its caption, REMOVE, its caption, DN, its caption, UP, its caption.
struct PanelGeometry {
    int comboWidth = 0, frameLeft = 0, frameWidth = 0, listWidth = 0, addLeft = 0;
    std::array<int, 8> pictureLefts{};
    QRect area; // the whole panel: the "Show" box alone when folded, the panel at the search row's place when
                // shown
    bool operator==(const PanelGeometry&) const = default;
};

struct BibleGeometry {
    QRect passage;      // Text_Passage and Image_Passage
    QRect passageBlock; // Labe16 above the passage
    QRect searchRow;
    SearchRowGeometry search;
    PanelGeometry verseList;
    int rightEdge = 0;      // Lbl_Nbr_passage_trouve and Labe16 end here (P's right edge)
    QRect lists;            // List_livre, List_chapitre, List_verset, List_verset_limite
    QRect markTable;        // ListView1
    bool listsShown = true; // false in the wide layout
    bool markTableShown = false;
    QRect versionList, classLabel;
    QRect strip; // the options, the player, the mark position, the output buttons and the zoom
    bool operator==(const BibleGeometry&) const = default;
};

struct CanticleGeometry {
    QRect words; // Text_Cantique and Image_Cantique
    QRect searchRow;
    SearchRowGeometry search;
    PanelGeometry playList;
    int rightEdge = 0; // Lbl_Nbr_cantique_trouve and Label9 end here
    QRect bookLists, details, notFound;
    bool detailsShown = true; // false in the wide layout, where the words cover them
    QRect strip; // the player, the companions, the capture tools, the output buttons and the zoom
    bool operator==(const CanticleGeometry&) const = default;
};

struct MainLayoutInput {
    QSize window;                    // W and H: the outer size of the main window
    int tab = 0;                     // the tab on display: 0 Bible, 1 Canticle
    bool markTableShown = false;     // mark mode with marked verses: ListView1 beside the books
    bool bibleTextWide = false;      // Label7: the passage from List_version's left edge
    bool canticleTextWide = false;   // Label14: the words from Text_info's left edge
    bool verseListShown = false;     // Check_Favori_Bible
    bool playListShown = false;      // Check_Favori_Canticle
    int bibleSearchButton = 1200;    // b: the width of Cmd_cherche_passage
    int canticleSearchButton = 1200; // the width of Cmd_cherche_cantique
    int bibleListsLeast = 0;         // the least width of the four navigation lists side by side
    int verseListLeast = 0;          // the least widths of the list panels unfolded
    int playListLeast = 0;
    // The geometry in force, kept where a rule does not apply (a window too small); the designed
    // layout at the start.
    BibleGeometry bible;
    CanticleGeometry canticle;
};

struct MainLayout {
    QSize tabControl; // SSTab_LMR's width and height
    BibleGeometry bible;
    CanticleGeometry canticle;
};

// The geometry the window starts from, before any rule ran.
BibleGeometry designedBible();
CanticleGeometry designedCanticle();

MainLayout LayoutMainWindow(const MainLayoutInput& in);

} // namespace lumora::app
