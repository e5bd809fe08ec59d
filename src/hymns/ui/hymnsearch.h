#pragma once
// The hymn search row: Cantique_achercher, the button Cmd_cherche_cantique, the hits in
// ComboBox_cantique_trouve (their entries kept row for row) and the counter Lbl_Nbr_cantique_trouve.

#include <QObject>
#include <QStringList>

#include <optional>

class QLabel;
class QLineEdit;
class QPalette;
class QPushButton;
class QWidget;

namespace lumora::hymns {

class PickList;

class HymnSearch final : public QObject {
    Q_OBJECT
  public:
    explicit HymnSearch(QWidget* page, QObject* parent = nullptr);

    QWidget* row() const { return m_row; }
    // Cantique_achercher takes the first `textWidth` pixels of the row and the hits at most
    // `resultsWidth`.
    void setSearchHalves(int textWidth, int resultsWidth);
    // Ctrl+F (while `page` has the focus) goes to Cantique_achercher; the button's tooltip says so.
    void installShortcuts(QWidget* page);

    // Searches the books for the typed text. With hits, the first is picked (hitPicked) and true
    // returned; without, the list says "N O T H I N G".
    bool run(const QString& cantiques, const QStringList& books);

    // HymnSearchReady: the hits are listed and picks act.
    bool isReady() const { return m_ready; }
    const QStringList& entries() const { return m_entries; }
    // The entry of hit `index` while the search is ready.
    std::optional<QString> entryAt(int index) const;
    const QPalette& palette() const;
    // The counter names hit `index`.
    void showCounter(int index);

  signals:
    // The button was clicked or Enter pressed in the text box.
    void searchWanted();
    // A pick of hit `index` (by the user, or the search's own pick of the first).
    void hitPicked(int index);

  private:
    void onHitPicked(int index);

    QLineEdit* Cantique_achercher;
    QPushButton* Cmd_cherche_cantique;
    PickList* ComboBox_cantique_trouve;
    QLabel* Lbl_Nbr_cantique_trouve;
    QWidget* m_row;
    QStringList m_entries; // ComboBox_Info_trouve
    bool m_ready = false;  // HymnSearchReady
};

} // namespace lumora::hymns
