#pragma once
// The two tabs of the main window. Each page places the parts the areas' controllers built for it;
// the controllers keep their widgets and handlers.

#include <QWidget>

namespace lumora::app {

struct BibleParts {
    QWidget* versionList; // List_version
    QWidget* searchRow;   // the search row, then the verse-list panel that shares its place
    QWidget* verseLists;
    QWidget* lists;                 // List_livre, List_chapitre, List_verset, List_verset_limite
    QWidget* markTable;             // ListView1
    QWidget* classLabel;            // Lbl_classe
    QWidget* orderFrame;            // Frame_Order_Version
    QWidget* passage;               // Labe16 above Text_Passage
    QWidget* options;               // the display check boxes
    QWidget* keepAtTop;             // Check_repere
    QWidget* player;                // the chapter player's pictures
    QWidget* markPosition;          // Label4, Lbl_Position, SpPosition
    QWidget* zoom;                  // SpinButton_Size, Label20
    QWidget* output;                // Image_Print, Image_SaveAs
    QWidget* windowLabel = nullptr; // Label24
};

class BiblePage final : public QWidget {
    Q_OBJECT
  public:
    explicit BiblePage(QWidget* parent = nullptr);
    void place(const BibleParts& parts);

  public slots:
    // Mark mode's layout: List_livre beside ListView1 and narrowed, Lbl_classe hidden; or put back.
    void setMarkTableShown(bool shown);
    // The passage wide (the chapter and verse lists put away) or narrow.
    void setTextWide(bool wide);

  public:
    bool isTextWide() const { return m_textWide; }

  private:
    QWidget* m_lists = nullptr;
    QWidget* m_classLabel = nullptr;
    bool m_textWide = false;
};

struct CanticleParts {
    QWidget* notFound;  // Label16
    QWidget* bookLists; // the four hymn lists, the counter and the file icons
    QWidget* searchRow; // the hymn search, then the playlist panel that shares its place
    QWidget* playLists;
    QWidget* words;   // Text_Cantique
    QWidget* details; // Label9, Text_info
    QWidget* player;  // the hymn player's pictures, under the details
    QWidget* capture; // the position-capture tools and the player's bar
    QWidget* zoom;    // SpinButton_SizeCantique, Label21
    QWidget* output;  // Print_Cantique, SaveAs_Cantique
};

class CanticlePage final : public QWidget {
    Q_OBJECT
  public:
    explicit CanticlePage(QWidget* parent = nullptr);
    void place(const CanticleParts& parts);

    // The hymn words wide (over the details) or narrow.
    void setTextWide(bool wide);
    bool isTextWide() const { return m_textWide; }

  private:
    QWidget* m_details = nullptr;
    bool m_textWide = false;
};

} // namespace lumora::app
