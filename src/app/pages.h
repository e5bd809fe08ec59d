#pragma once
// The two tabs of the main window. Each page places the parts the areas' controllers built for it
// where LayoutMainWindow (app/mainlayout.h) puts them; the controllers keep their widgets, their
// handlers and the inner layouts of their rows.

#include "app/mainlayout.h"

#include <QWidget>

#include <functional>

class QAbstractButton;
class QTabWidget;

namespace lumora::app {

// The halves of a search row, in pixels, for its controller.
using SearchHalvesSetter = std::function<void(int textWidth, int resultsWidth)>;

struct BibleParts {
    QWidget* versionList; // List_version
    QWidget* searchRow;   // the search row, then the verse-list panel that shares its place
    QWidget* verseLists;
    QWidget* lists;                           // List_livre, List_chapitre, List_verset, List_verset_limite
    QWidget* markTable;                       // ListView1
    QWidget* classLabel;                      // Lbl_classe
    QWidget* orderFrame;                      // Frame_Order_Version
    QWidget* passage;                         // Labe16 above Text_Passage
    QWidget* options;                         // the display check boxes
    QWidget* keepAtTop;                       // Check_repere
    QWidget* player;                          // the chapter player's pictures
    QWidget* markPosition;                    // Label4, Lbl_Position, SpPosition
    QWidget* zoom;                            // SpinButton_Size, Label20 (null when placed elsewhere)
    QWidget* output;                          // Image_Print, Image_SaveAs (null when placed elsewhere)
    QWidget* windowLabel = nullptr;           // Label24
    QAbstractButton* verseListShow = nullptr; // Check_Favori_Bible
    SearchHalvesSetter setSearchHalves;
    QWidget* passageHeader = nullptr; // the row of tools and Labe16 inside `passage`
};

class BiblePage final : public QWidget {
    Q_OBJECT
  public:
    explicit BiblePage(QWidget* parent = nullptr);
    void place(const BibleParts& parts);
    // Tab goes through the parts in reading order; run again once tools were added to a part.
    void orderTabs();

    // Mark mode with marked verses: ListView1 beside List_livre, which moves right and narrows.
    void setMarkTableShown(bool shown);
    // Label7: the passage from List_version's left edge with the lists hidden (wide), or from
    // its designed left edge with the lists beside it (narrow).
    void setTextWide(bool wide);
    bool isMarkTableShown() const { return m_markTableShown; }
    bool isTextWide() const { return m_textWide; }
    bool isVerseListShown() const;
    int searchButtonWidth() const; // twips
    int listsLeastWidth() const;   // twips
    int verseListLeastWidth() const;

    const BibleGeometry& geometryInForce() const { return m_geometry; }
    // Places the parts (twips relative to the tab control, whose origin in this page is `origin`).
    void apply(const BibleGeometry& g, QPoint origin);

  signals:
    // A state the layout reads changed: the window lays the tab out again.
    void layoutWanted();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

  private:
    BibleParts m_parts{};
    QWidget* m_strip = nullptr;
    BibleGeometry m_geometry = designedBible();
    bool m_markTableShown = false;
    bool m_textWide = false;
};

struct CanticleParts {
    QWidget* notFound;  // Label16
    QWidget* bookLists; // the four hymn lists, the counter and the file icons
    QWidget* searchRow; // the hymn search, then the playlist panel that shares its place
    QWidget* playLists;
    QWidget* words;                          // Text_Cantique
    QWidget* details;                        // Label9, Text_info
    QWidget* player;                         // the hymn player's pictures
    QWidget* companions;                     // Clavier_MIDI, Img_Calendar
    QWidget* capture;                        // the position-capture tools and the player's bar
    QWidget* zoom;                           // SpinButton_SizeCantique, Label21
    QWidget* output;                         // Print_Cantique, SaveAs_Cantique
    QAbstractButton* playListShow = nullptr; // Check_Favori_Canticle
    SearchHalvesSetter setSearchHalves;
    QWidget* wordsTitle = nullptr; // the row of tools and Label9 inside `words`
};

class CanticlePage final : public QWidget {
    Q_OBJECT
  public:
    explicit CanticlePage(QWidget* parent = nullptr);
    void place(const CanticleParts& parts);
    void orderTabs();

    // Label14: the words from Text_info's left edge (wide), or from their designed left edge.
    void setTextWide(bool wide);
    bool isTextWide() const { return m_textWide; }
    bool isPlayListShown() const;
    int searchButtonWidth() const;  // twips
    int playListLeastWidth() const; // twips

    const CanticleGeometry& geometryInForce() const { return m_geometry; }
    void apply(const CanticleGeometry& g, QPoint origin);

  signals:
    void layoutWanted();

  protected:
    void resizeEvent(QResizeEvent* event) override;

  private:
    CanticleParts m_parts{};
    QWidget* m_strip = nullptr;
    CanticleGeometry m_geometry = designedCanticle();
    bool m_textWide = false;
};

// LayoutMainWindow on the real window: its outer size (`frame`, decorations included) and the
// pages' states in, the tab control and the tab on display placed (the tab control never larger
// than the window's central area).
void layOutMainWindow(QSize frame, QWidget& central, QTabWidget& tabs, BiblePage& bible,
                      CanticlePage& canticle);

} // namespace lumora::app
