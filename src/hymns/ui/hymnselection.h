#pragma once
// The Canticle tab's hymn lists, words, details and hymn search, as one controller over its parts:
// the four linked lists (HymnLists), the words and details (HymnWords), the file icons
// (HymnFileIcons) and the search row (HymnSearch).
//
// A hymn picked in the lists, a search hit or a playlist entry is shown the same way: the file
// icons, the details, the words, and the music loaded into the hymn player without starting it.
// A search hit or a playlist entry is brought on screen through the four lists, as picks.

#include "hymns/ui/picklist.h"
#include "platform/richtextbox.h"
#include "session/nowshowing.h"
#include "session/session.h"

#include <QObject>
#include <QStringList>

#include <optional>

class QPalette;
class QWidget;

namespace lumora::platform {
class BackdropBox;
}

namespace lumora::hymns {

class HymnFileIcons;
class HymnLists;
class HymnSearch;
class HymnWords;

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
    QWidget* bookLists() const;
    QWidget* searchRow() const;
    QWidget* wordsBox() const;
    QWidget* details() const;
    QWidget* titleRow() const;
    // Image_Cantique behind Text_Cantique.
    platform::BackdropBox& backdrop();
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
    // A move of the mouse over `area` (outside the lists) also removes it.
    void clearHoverBordersOnMovesOver(QWidget* area);
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

    QString cantiques() const;
    // The hymn books as the book list holds them, in its order.
    QStringList bookNames() const;
    const QStringList& ComboBox_Info_chant() const;
    const QStringList& ComboBox_Info_trouve() const;
    QString SlidePath() const;
    QString VideoPath() const;
    bool HymnBooksLoaded() const;
    bool ThemesLoaded() const;
    bool SubThemesLoaded() const;
    bool HymnListLoaded() const;
    bool HymnSearchReady() const;
    QString CurrentBook() const;
    QString CurrentHymnEntry() const { return m_currentEntry; }
    platform::RichTextBox& words();

    // A pick of search hit `index` (by the user, or the search's own pick of the first).
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

  private:
    void tellDisplayed(const QString& book);
    // Shows one hymn: icons, details, words, music; `label` and `book` are its fields 1 and 9.
    void displayHymn(const QString& entry, const QString& label, const QString& book,
                     const QPalette& palette);
    // No hymn on display: no words, title, details, icons or music.
    void clearHymnDisplay();
    // `entry` is a copy: the picks it runs clear CurrentHymnEntry, which callers may pass.
    bool showEntry(QString entry, const QPalette& palette);

    const session::Session& m_session;
    HymnLists* m_lists;
    HymnFileIcons* m_icons;
    HymnWords* m_words;
    HymnSearch* m_search;

    QString m_currentEntry;              // CurrentHymnEntry
    std::optional<QString> m_shownEntry; // the entry whose words are on display
    bool m_wordsReplaced = false;        // "??????" stands in for the words
    QString m_shownBook;                 // the book of the hymn on display
};

} // namespace lumora::hymns
