#pragma once
// The word search of the Bible tab: the text box, its button, the drop-down of hits with its
// hidden table of keys, and the "k / n" label.
//
// A search fills ComboBox_passage_trouve with one display line per hit and a last "????" entry,
// and keeps the hits row for row. A pick jumps the navigation lists to the hit's place and marks
// the searched word in the passage.

#include "bible/search/versionsearch.h"
#include "platform/prompts.h"
#include "platform/richtextbox.h"
#include "session/session.h"

#include <QObject>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QWidget;

namespace lumora::bible {

class BibleNavigation;

inline const QString kNoHitEntry = QStringLiteral("????");

class BibleSearch final : public QObject {
    Q_OBJECT
  public:
    // The widgets are created in row() under `page`; `passage` is the box the hits are marked in.
    BibleSearch(const session::Session& session, BibleNavigation& nav, platform::RichTextBox& passage,
                platform::Prompts& prompts, QWidget* page, QObject* parent = nullptr);

    // Text_achercher, Cmd_cherche_passage, ComboBox_passage_trouve and Lbl_Nbr_passage_trouve.
    QWidget* row() const { return m_row; }
    // The main window's layout: Text_achercher takes the first half of the row (pixels) and
    // ComboBox_passage_trouve at most the second.
    void setSearchHalves(int textWidth, int resultsWidth);
    // Ctrl+F (while `page` has the focus) goes to Text_achercher; the button's tooltip says so.
    void installShortcuts(QWidget* page);
    // The hits of the last search, row for row with ComboBox_passage_trouve (whose last entry
    // "????" has none).
    const QList<SearchHit>& hits() const { return m_found; }

    // False from the start of a search until both lists are complete, and after a blank search;
    // picks are ignored while it is False.
    bool SearchReady() const { return m_ready; }

    // Cmd_cherche_passage: searches the selected version for the text of Text_achercher and
    // shows the first hit.
    void onSearchClicked();
    // A pick of entry `index` (by the user, or the search's own pick of entry 0).
    void onHitPicked(int index);
    // Marks the first occurrence of Text_achercher in the passage bold and blue.
    void HighlightSearchWord();

  private:
    class HitList;
    void onTextTyped();

    const session::Session& m_session;
    BibleNavigation& m_nav;
    QWidget* m_row;
    QLineEdit* Text_achercher;
    QPushButton* Cmd_cherche_passage;
    QComboBox* ComboBox_passage_trouve; // editable, so typed text can be refused
    HitList* m_hits;                    // its rows
    QLabel* Lbl_Nbr_passage_trouve;
    QList<SearchHit> m_found;
    std::optional<session::PassageRef> m_hit; // the place of the hit last picked
    platform::RichTextBox& m_passage;
    platform::Prompts& m_prompts;
    bool m_ready = false;
    SearchFileCache m_files; // the testament files last searched
};

} // namespace lumora::bible
