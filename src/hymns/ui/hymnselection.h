#pragma once
// The Canticle tab's hymn lists, words, details and hymn search.
//
// Four linked lists narrow the hymns down: book -> first-level theme -> sub-theme -> hymn. A pick
// in one list refills the lists below it and selects their first row, which runs the next
// handler, down to the hymn pick, which shows the words, the details and the file icons and loads
// the music into the hymn player without starting it. Picks made from code (search hits, playlist
// entries) go through the same handlers; the guard flags keep a handler from acting while the
// list above it is being refilled.

#include "hymns/hymnstore.h"
#include "platform/richtextbox.h"
#include "session/nowshowing.h"
#include "session/session.h"

#include <QComboBox>
#include <QObject>
#include <QStringList>

#include <optional>

class QHBoxLayout;
class QLabel;
class QPalette;
class QLineEdit;
class QPushButton;
class QTextEdit;
class QToolButton;
class QWidget;

namespace lumora::platform {
class BackdropBox;
}

namespace lumora::hymns {

// A drop-down list that also reports a pick of the row already selected (the lists refill on
// such a pick, as the user expects when choosing the same book again).
class PickList final : public QComboBox {
  public:
    using QComboBox::QComboBox;
    void showPopup() override;
    // The row selected when the popup opened; -2 when no popup pick is under way.
    int indexAtPopup = -2;
};

class HymnSelection final : public QObject {
    Q_OBJECT
  public:
    // Builds the hymn widgets under `page`, in the parts below. The hymn player follows the picks
    // through the signals (HymnPlayer::attachTo).
    HymnSelection(const session::Session& session, QWidget* page, QObject* parent = nullptr);

    // The parts the page places: Label16; the four lists with their captions, the counter and the
    // file icons; the search row; the words with their title row (the title tools and Label9); the
    // details (Text_info);
    // the position-capture tools with the player's own bar.
    QWidget* notFoundLabel() const;
    QWidget* bookLists() const { return m_bookLists; }
    QWidget* searchRow() const { return m_searchRow; }
    QWidget* wordsBox() const;
    QWidget* details() const { return m_details; }
    QWidget* titleRow() const { return m_titleRow; }
    // Image_Cantique behind Text_Cantique.
    platform::BackdropBox& backdrop() { return *m_backdrop; }
    // Puts a small tool (the window labels) on the row above the words.
    void addTitleTool(QWidget* tool);
    // The caption of Label9: the label of the hymn on display.
    QString shownLabel() const;
    QColor shownLabelColor() const;
    // The slide, video and music icons of the hymn on display may show (narrow words box), or
    // stay hidden (wide); shown, each still appears only when the hymn has that file.
    void setFileIconsShown(bool shown);

    // The entry of the hymn on display, for a playlist; none when no hymn is shown.
    std::optional<QString> entryOnDisplay() const;
    // What the words box (as edited and styled now), Label9 and the details show.
    session::ShownHymn displayed() const;

    // Start-up: when the Cantiques folder holds anything the program did not create itself,
    // loads the hymn books; otherwise shows Label16 and hides the words.
    void startUp();
    // Lists the books (regenerating their "Theme.txt") and selects the first.
    void LoadHymnBooks();
    // Brings a playlist entry (a whole hymn entry) on screen through the four lists; "??????"
    // in the words when its book is not listed.
    void ShowPlaylistHymn(const QString& entry);
    // New hymns were written into `book`: the books are listed again and `entry` is shown
    // through the four lists (as a playlist entry is).
    void showImported(const QString& book, const QString& entry);
    // The search button's action.
    void searchHymns();
    // Removes the mouse-over border of the lists (the tab's mouse-move).
    void clearHoverBorders();
    // Check_Shop: while the capture tools take their row the details box is shorter, keeping its
    // bottom edge.
    void setCaptureRowShown(bool shown);
    // The main window's layout: Cantique_achercher takes the first half of the search row (pixels)
    // and ComboBox_cantique_trouve at most the second.
    void setSearchHalves(int textWidth, int resultsWidth);
    // Ctrl+F (while `page` has the focus) goes to Cantique_achercher; the button's tooltip says so.
    void installShortcuts(QWidget* page);
    // Continuous play: the next row of ComboBox_Chant (row 0 after the last) is picked.
    void selectNextHymn();

    // Sets a list's value as a pick would: the row equal to `text` is selected, which runs its
    // handler; the current row, or a text not in the list, changes nothing.
    static void setValue(QComboBox* list, const QString& text);
    // Selects row i as a pick would (runs the handler when the row changes).
    static void select(QComboBox* list, int i);

    QString cantiques() const { return m_cantiques; }
    // The hymn books as the book list holds them, in its order.
    QStringList bookNames() const;
    const QStringList& ComboBox_Info_chant() const { return m_infoChant; }
    const QStringList& ComboBox_Info_trouve() const { return m_infoTrouve; }
    QString SlidePath() const { return m_slidePath; }
    QString VideoPath() const { return m_videoPath; }
    bool HymnBooksLoaded() const { return m_hymnBooksLoaded; }
    bool ThemesLoaded() const { return m_themesLoaded; }
    bool SubThemesLoaded() const { return m_subThemesLoaded; }
    bool HymnListLoaded() const { return m_hymnListLoaded; }
    bool HymnSearchReady() const { return m_hymnSearchReady; }
    QString CurrentBook() const { return m_currentBook; }
    QString CurrentHymnEntry() const { return m_currentEntry; }
    platform::RichTextBox& words() { return *m_words; }

    void onBookPicked(int index);
    void onThemePicked(int index);
    void onSubThemePicked(int index);
    void onHymnPicked(int index);
    void onResultPicked(int index);

  signals:
    // The words' selection moved; the clone window mirrors it while it shows the hymn.
    void hymnSelectionChanged(int start, int length);
    // A hymn pick begins (its words start unzoomed).
    void hymnPicked();
    // A pick in one of the lists begins (the player is ready to play again).
    void pickStarted();
    // The files of the hymn on display were looked up: its music file, "" when it has none.
    void hymnFilesLoaded(const QString& musicPath);
    // A search found hymns (the player stops).
    void searchSucceeded();
    // A click on Image_Musique.
    void musicIconClicked();
    // A click on Image_Diapo or Image_Video (SlidePath and VideoPath are those of the hymn shown).
    void slidesIconClicked();
    void videoIconClicked();
    // A hymn is on display (CurrentHymnEntry is set).
    void hymnShown(const QString& entry);
    // What the words box, Label9 and the details now show, as a value (empty when nothing is).
    void hymnDisplayed(const lumora::session::ShownHymn& hymn);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void buildWidgets(QWidget* page);
    void connectPicks(PickList* list, void (HymnSelection::*handler)(int));
    void showHymnInfo();
    void tellDisplayed(const QString& book);
    void loadHymnFiles(const QString& label);
    // Shows one hymn: icons, details, words, music; `label` and `book` are its fields 1 and 9.
    void displayHymn(const QString& entry, const QString& label, const QString& book,
                     const QPalette& palette);
    // No hymn on display: no words, title, details, icons or music.
    void clearHymnDisplay();
    // Fills the hymn box with `list` and shows its first hymn; hides the box when it is empty.
    void showHymnList(const HymnList& list);
    void showIcon(QLabel* icon, bool hasFile);
    // `entry` is a copy: the picks it runs clear CurrentHymnEntry, which callers may pass.
    bool showEntry(QString entry, const QPalette& palette);

    const session::Session& m_session;
    QWidget* m_page;
    platform::RichTextBox* m_words = nullptr;
    platform::BackdropBox* m_backdrop = nullptr;
    QWidget* m_wordsBox = nullptr;
    bool m_iconsShown = true;
    QWidget* m_titleRow = nullptr; // the title tools, then Label9
    QHBoxLayout* m_titleTools = nullptr;
    QWidget* m_bookLists = nullptr;
    QWidget* m_searchRow = nullptr;
    QWidget* m_details = nullptr;

    QLabel* Label5 = nullptr;
    PickList* ComboBox_Receuil = nullptr;
    QLabel* Label6 = nullptr;
    PickList* ComboBox_theme1 = nullptr;
    PickList* ComboBox_theme2 = nullptr;
    QLabel* Label8 = nullptr;
    PickList* ComboBox_Chant = nullptr;
    QLabel* Lbl_Nbr_cantique = nullptr;
    QTextEdit* Text_Cantique = nullptr;
    QTextEdit* Text_info = nullptr;
    QLabel* Label9 = nullptr;
    QLabel* Label16 = nullptr;
    QLabel* Image_Diapo = nullptr;
    QLabel* Image_Video = nullptr;
    QLabel* Image_Musique = nullptr;
    QLineEdit* Cantique_achercher = nullptr;
    QPushButton* Cmd_cherche_cantique = nullptr;
    PickList* ComboBox_cantique_trouve = nullptr;
    QLabel* Lbl_Nbr_cantique_trouve = nullptr;

    QString m_currentBook;               // CurrentBook
    QString m_currentEntry;              // CurrentHymnEntry
    std::optional<QString> m_shownEntry; // the entry whose words are on display
    bool m_wordsReplaced = false;        // "??????" stands in for the words
    QString m_cantiques;
    QStringList m_infoChant;
    QStringList m_infoTrouve;
    QString m_slidePath;
    QString m_videoPath;
    bool m_hymnBooksLoaded = false;
    bool m_themesLoaded = false;
    bool m_subThemesLoaded = false;
    bool m_hymnListLoaded = false;
    bool m_hymnSearchReady = false;
    QString m_shownBook; // the book of the hymn on display
};

} // namespace lumora::hymns
