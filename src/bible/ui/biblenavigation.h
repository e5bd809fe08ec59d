#pragma once
// The Bible tab's cascading lists: version, book, chapter, first verse, last verse.
//
// Selecting in one list fills the next and selects in it, which runs that list's handler, down to
// the last list, whose handler has the passage built. Programmatic selections (start-up, search
// hits, verse lists) go through the same handlers with PendingJump set, so each level restores
// its Target index (clamped to its last entry) instead of starting from the first entry.

#include "bible/biblestore.h"
#include "bible/passagebuilder.h"
#include "platform/prompts.h"
#include "session/navigation.h"
#include "session/passageref.h"
#include "session/session.h"

#include <QObject>

class QComboBox;
class QLabel;
class QListWidget;
class QWidget;

namespace lumora::bible {

class BibleNavigation final : public QObject {
    Q_OBJECT
  public:
    // The lists are created as children of `page`; the page places versionList() and lists().
    BibleNavigation(const session::Session& session, platform::Prompts& prompts, QWidget* page,
                    QObject* parent = nullptr);

    // List_version, and the book, chapter and verse lists with the book's class label below them.
    QWidget* versionList() const;
    QWidget* lists() const { return m_lists; }
    QWidget* classLabel() const;
    // The chapter and verse lists shown (narrow passage) or hidden (wide passage).
    void setVerseListsShown(bool shown);

    // Fills List_version and List_version_reste from Version.txt and selects entry 0 (which
    // loads that version). A Version.txt that cannot be opened shows its error number.
    void LoadBibleVersions();
    const QStringList& versionsIncomplete() const { return m_versions.incomplete; }
    QStringList versionsComplete() const;
    const BookTables& tables() const { return m_tables; }
    // Fills List_version anew from `entries` (version-order mode) and selects `selectText`.
    void refillVersions(const QStringList& entries, const QString& selectText);

    // The default passage of the start-up (book 40, chapter 5, verses 18 to 20), selected list
    // after list with PendingJump cleared; a missing entry is skipped. PendingJump is set afterwards
    // until endStartUp().
    void selectDefaultPassage();
    void endStartUp() { m_pendingJump = false; }

    // Moves to the request through the first list that differs, top level first; when the verse is
    // already shown, selects TargetSpan of List_verset_limite.
    void jumpTo(const session::JumpRequest& request);
    // Moves to a place, as a search hit or a verse-list entry does: the version with the code of
    // `ref` (the selected one when it has that code; the version last targeted when none has),
    // the book with its number, the chapter, the first verse and ref.lastVerse as the end verse.
    // False, with nothing moved, when the first list that must change has no such row; the
    // lists after it take their nearest row.
    bool openPassage(const session::PassageRef& ref);
    // Continuous play: the passage after the one shown (from the end verse + 1 to the chapter's end),
    // or the next chapter of the book; nothing at the book's last chapter.
    void selectNextPassage();
    void selectNextChapter();
    void selectPreviousChapter();
    // Ctrl+PgDown / Ctrl+PgUp (while `page` has the focus): the next or previous chapter; the
    // chapter list's tooltip says so.
    void installShortcuts(QWidget* page);
    // Picks a single verse (row index of List_verset) as a pick in the mark table does.
    void pickSingleVerse(int verseIndex);
    // Selects row `verseIndex` of List_verset as a pick does (`single`: that verse alone, as a pick
    // in the mark table; otherwise up to the chapter's end) and has the passage built again even
    // when the row was selected already (after a mark was written, the passage must show it).
    void reselectVerse(int verseIndex, bool single);
    // Raises passageSelected with the lists' selection as it stands, even an incomplete one (the
    // start-up shows the passage of the default selection so).
    void reshowSelection() { emit passageSelected(selection()); }

    // The selection as the passage builder sees it.
    PassageSelection selection() const;
    // The chapter recording of the selected chapter (.mp3, else .wav), or "" when neither exists.
    QString chapterAudioPath() const;
    bool isJumpPending() const { return m_pendingJump; }
    const session::JumpRequest& target() const { return m_target; }

    int selectedRow(session::NavLevel level) const; // -1 when none
    int rowCount(session::NavLevel level) const;
    QString rowText(session::NavLevel level, int row) const;

  signals:
    void versionsLoaded();
    // A version is being loaded: the chapter player lets its recording go.
    void versionSelected();
    // The version's lists are restored (the moment to start the chapter audio of the passage).
    void versionLoaded();
    // A chapter was chosen by the user (not by a jump): its verse count and the book's sound prefix.
    void chapterChosen(const QByteArray& soundPrefix, int chapter, int verseCount);
    // The chapter has (or has not) a recording.
    void chapterAudioFound(bool found);
    // A first verse was selected (row of List_verset).
    void verseSelected(int index);
    // The end verse was selected: the passage of the selection is to be shown (raised in this order:
    // spanSelected, chapterShown, passageChosen, passageSelected, spanShown; `verseIndex` is the row
    // of List_verset).
    void spanSelected();
    // The chapter of the passage about to be shown.
    void chapterShown(const QByteArray& versionCode, const QByteArray& bookKey, const QByteArray& soundPrefix,
                      int chapter, int verseCount);
    // The end verse was selected with every list above it: the place of the passage, and its
    // book's name as the book list shows it.
    void passageChosen(const session::PassageRef& ref, const QString& bookName);
    // The end verse was selected: the selection as the passage builder takes it, raised even when
    // a list above has none (its numbers are then 0).
    void passageSelected(const bible::PassageSelection& selection);
    // A list was emptied to be filled again, or the version list has no selection: no passage is
    // chosen until the next passageChosen.
    void choiceCleared();
    void spanShown(int verseIndex);

  private:
    QWidget* make(QWidget* w, const char* name);
    QListWidget* listOf(session::NavLevel level) const;
    void onVersionSelected(int index);
    void onBookSelected(int index);
    void onChapterSelected(int index);
    void onVerseSelected(int index);
    void onEndVerseSelected(int index);

    const session::Session& m_session;
    platform::Prompts& m_prompts;
    QWidget* m_lists = nullptr;
    QComboBox* List_version = nullptr;
    QListWidget* List_livre = nullptr;
    QListWidget* List_chapitre = nullptr;
    QListWidget* List_verset = nullptr;
    QListWidget* List_verset_limite = nullptr;
    QLabel* Lbl_classe = nullptr;

    VersionList m_versions;
    BookTables m_tables;
    session::JumpRequest m_target;
    bool m_pendingJump = false;   // PendingJump
    bool m_booksLoaded = false;   // BooksLoaded
    bool m_chaptersReady = false; // ChaptersReady
    bool m_listViewPick = false;  // ListViewPick
    int m_bookNumberWanted = 0;   // a jump's book, found in the tables of the version it loads
};

// Selects entry i of a list as a user pick would (runs its handler when the row changes); a
// missing entry is skipped.
void selectRow(QListWidget* list, int i);
void selectRow(QComboBox* combo, int i);

} // namespace lumora::bible
