#pragma once
// The Bible tab's cascading lists: version, book, chapter, first verse, last verse.
//
// Selecting in one list fills the next and selects in it, which runs that list's handler, down to
// the last list, whose handler has the passage built. Programmatic selections (start-up, search
// hits, verse lists) go through the same handlers with PendingJump set, so each level restores
// its Target index (clamped to its last entry) instead of starting from the first entry.

#include "app/appstate.h"
#include "bible/biblestore.h"
#include "platform/platform.h"

#include <QObject>

#include <functional>

class QComboBox;
class QLabel;
class QListWidget;
class QToolButton;
class QTreeWidget;
class QWidget;

namespace lumora::bible {

inline constexpr int kMarkRows = 286;

class BibleNavigation final : public QObject {
    Q_OBJECT
public:
    BibleNavigation(app::AppState& state, platform::Platform& platform, platform::MediaPlayer* player1,
                    QWidget* page, QObject* parent = nullptr);

    // Widgets (children of the page given at construction; laid out by the main window).
    QComboBox* List_version = nullptr;
    QListWidget* List_livre = nullptr;
    QListWidget* List_chapitre = nullptr;
    QListWidget* List_verset = nullptr;
    QListWidget* List_verset_limite = nullptr;
    QLabel* Lbl_classe = nullptr;
    QToolButton* Image_Lecture = nullptr;
    QTreeWidget* ListView1 = nullptr;  // the reading-mark rows, "Cle_1".."Cle_286"
    QLabel* Label4 = nullptr;
    QLabel* Lbl_Position = nullptr;
    QToolButton* ImagePlayPause = nullptr;
    QToolButton* ImageStop = nullptr;

    // Fills List_version and List_version_reste from Version.txt and selects entry 0 (which
    // loads that version). A Version.txt that cannot be opened shows its error number.
    void LoadBibleVersions();
    const QStringList& versionsIncomplete() const { return m_versions.List_version_reste; }
    QStringList versionsComplete() const;
    const BookTables& tables() const { return m_tables; }

    // Fills List_version anew from `entries` (version-order mode) and selects `selectText`.
    void refillVersions(const QStringList& entries, const QString& selectText);

    // Selects entry i of a list as a user pick would (runs its handler when the row changes).
    static void select(QListWidget* list, int i);
    static void select(QComboBox* combo, int i);

    // Moves to TargetVersion/Book/Chapter/Verse/Span through the first list that differs, top
    // level first; when the verse is already shown, selects TargetSpan of List_verset_limite.
    void jumpToTarget();

    // Remembers the four list selections, runs the book handler, and selects them again.
    void refreshKeepingSelection();

    // The chapter recording of the selected chapter (.mp3, else .wav), or "" when neither exists.
    QString chapterAudioPath() const;

    // Hooks for the areas that follow the passage (marks, audio following).
    std::function<void()> buildPassage;      // builds and shows the passage of the selection
    std::function<void()> refreshMarks;      // refreshes the marks of the chapter
    std::function<void()> runCmdOk;         // starts the audio for the passage on display
    std::function<QByteArrayList()> passageMarks;  // ComboBox_repere of the passage; empty when none selected

    void onVersionSelected(int index);
    void onBookSelected(int index);
    void onChapterSelected(int index);
    void onVerseSelected(int index);
    void onEndVerseSelected(int index);

signals:
    void versionsLoaded();

private:
    void refreshMarkRows(const QByteArray& prefix, int chapter);

    app::AppState& m_state;
    platform::Platform& m_platform;
    platform::MediaPlayer* m_player1;
    VersionList m_versions;
    BookTables m_tables;
};

} // namespace lumora::bible
