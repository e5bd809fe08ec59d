#pragma once
// The four linked lists of the Canticle tab: book (ComboBox_Receuil) -> first-level theme
// (ComboBox_theme1) -> sub-theme (ComboBox_theme2) -> hymn (ComboBox_Chant), with their captions
// and the counter Lbl_Nbr_cantique.
//
// A pick in one list refills the lists below it and selects their first row, which runs the next
// handler, down to the hymn pick, which asks for the hymn to be shown (hymnChosen). Picks made
// from code go through the same handlers; the guard flags keep a handler from acting while the
// list above it is being refilled.

#include <QObject>
#include <QStringList>

#include <optional>

class QEvent;
class QGridLayout;
class QLabel;
class QPalette;
class QWidget;

namespace lumora::hymns {

class PickList;
struct HymnList;

class HymnLists final : public QObject {
    Q_OBJECT
  public:
    explicit HymnLists(QWidget* page, QObject* parent = nullptr);

    // The lists with their captions and the counter; cell (1, 5) is free for the file icons.
    QWidget* widget() const { return m_widget; }
    QGridLayout* grid() const { return m_grid; }

    // Lists the books of `cantiques` (regenerating their "Theme.txt") and selects the first.
    void loadBooks(const QString& cantiques);
    // The hymn folder the lists read (as the search last looked it up).
    QString cantiques() const { return m_cantiques; }
    void setCantiques(const QString& cantiques) { m_cantiques = cantiques; }
    // The books as listed.
    QStringList books() const;
    bool hasBook(const QString& book) const;
    // Sets the lists' values as picks would, each list in turn; an empty sub-theme is skipped.
    void setValues(const QString& book, const QString& theme, const QString& subTheme, const QString& label);
    // The row of ComboBox_Chant that is selected and shows `label`; nullopt when the hymn list is
    // hidden, or names another hymn.
    std::optional<int> selectedHymnRow(const QString& label) const;
    // No row of ComboBox_Chant claims to be on display; the counter is cleared.
    void unselectHymn();
    // The next row of ComboBox_Chant (row 0 after the last) is picked.
    void selectNextHymn();
    const QPalette& hymnListPalette() const;
    // Removes the mouse-over border of the lists.
    void clearHoverBorders();

    // The hymn pick's handler (also run from code for the row already selected).
    void onHymnPicked(int index);

    const QStringList& entries() const { return m_entries; } // ComboBox_Info_chant
    QString currentBook() const { return m_currentBook; }
    bool booksLoaded() const { return m_booksLoaded; }
    bool themesLoaded() const { return m_themesLoaded; }
    bool subThemesLoaded() const { return m_subThemesLoaded; }
    bool hymnListLoaded() const { return m_hymnListLoaded; }

    // A move of the mouse over `area` (outside the lists) also takes the border away.
    void clearHoverBordersOnMovesOver(QWidget* area);

  signals:
    // A pick in one of the lists begins.
    void pickStarted();
    // A hymn pick begins.
    void hymnPicked();
    // The details of the hymn shown no longer belong to the lists' choice.
    void detailsCleared();
    // Hymn `entry` (labelled `label` in `book`) was chosen; `palette` is its list's.
    void hymnChosen(const QString& entry, const QString& label, const QString& book, const QPalette& palette);
    // The theme chosen lists no hymn: none may stay on display.
    void hymnListEmptied();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void onBookPicked(int index);
    void onThemePicked(int index);
    void onSubThemePicked(int index);
    // Fills the hymn list with `list` and picks its first hymn; hides the list when it is empty.
    void showHymnList(const HymnList& list);

    QWidget* m_page;
    QList<QObject*> m_moveAreas; // where a move of the mouse clears the borders too
    QLabel* Label5;
    PickList* ComboBox_Receuil;
    QLabel* Label6;
    PickList* ComboBox_theme1;
    PickList* ComboBox_theme2;
    QLabel* Label8;
    PickList* ComboBox_Chant;
    QLabel* Lbl_Nbr_cantique;
    QWidget* m_widget;
    QGridLayout* m_grid;

    QString m_cantiques;
    QStringList m_entries;
    QString m_currentBook; // CurrentBook
    bool m_booksLoaded = false;
    bool m_themesLoaded = false;
    bool m_subThemesLoaded = false;
    bool m_hymnListLoaded = false;
};

} // namespace lumora::hymns
