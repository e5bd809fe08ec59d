#pragma once
// The reading marks on the Bible tab: the mark mode (Check_mode), the mark table ListView1 (286
// rows keyed "Cle_1".."Cle_286", columns "Marking", "New", "Old"), the row label Label4, the
// position label Lbl_Position with its spin button SpPosition, Cmd_Maj, and the Markage menu
// Mnu_Mark. A right click in the passage takes the verse's mark from the playing recording.
//
// The table shows a marks::MarkTable value (through a MarkTableModel), refreshed after every
// passage shown: a new chapter (version, book or chapter) loads New and Old from the file, the same
// chapter keeps New and reloads Old. Writes go through the core writers (whole file, atomically); every
// Update first keeps the chapter's previous marks (previousMarksPath), which "Undo last update" writes back.
// The Markage menu acts only in mark mode, and New marks not yet written are never dropped
// without asking: not by another chapter, not by the menu, not by closing the window.
//
// The navigation and the chapter player are reached through signals; the editor learns the
// player's mute state and the chapter on display through slots.

#include "bible/passagebuilder.h"
#include "marks/marktable.h"
#include "session/session.h"

#include <QList>
#include <QObject>

#include <optional>

class QAction;
class QCheckBox;
class QLabel;
class QMenu;
class QPushButton;
class QTreeView;
class QWidget;

namespace lumora::platform {
class CommonDialog;
class MediaPlayer;
class Prompts;
class RichTextBox;
class SpinArrows;
} // namespace lumora::platform

namespace lumora::marks {

class MarkTableModel;

class MarkEditor final : public QObject {
    Q_OBJECT
  public:
    // `passage` is Text_Passage, `player` WindowsMediaPlayer1 (its position is the mark taken).
    MarkEditor(const session::Session& session, platform::RichTextBox& passage, platform::MediaPlayer& player,
               platform::Prompts& prompts, platform::CommonDialog& dialogs, QWidget* page,
               QObject* parent = nullptr);

    // ListView1; the row of Check_mode, Label1, Label11, Label4, Lbl_Position, SpPosition and Cmd_Maj.
    QWidget* table() const;
    QWidget* positionRow() const { return m_positionRow; }
    // Mnu_Mark ("Markage"), for the menu bar; the same menu pops up over ListView1.
    QMenu* menu() const { return Mnu_Mark; }

    const MarkTable& marks() const;
    bool isMarkMode() const { return m_markMode; }
    const QByteArray& chapterKey() const { return m_chapterKey; }

    // The window is about to close: with New marks not yet written, asks whether to write them
    // first. False when the window must stay open (the user cancelled, or the write failed).
    bool mayClose();

  public slots:
    // The chapter whose passage is about to be shown (the end-verse list's choice).
    void onChapterShown(const QByteArray& versionCode, const QByteArray& bookKey,
                        const QByteArray& soundPrefix, int chapter, int verseCount);
    // RefreshMarkList, on the passage just built (its VersePositions are the stored marks).
    void onPassageShown(const bible::Passage& passage);
    // A first verse was selected: its row is selected, Label4 shows the row and Lbl_Position its New mark.
    void onVerseSelected(int index);
    // The chapter audio started at `mark`: Lbl_Position shows it, the verse's row is selected again.
    void onPassageAudioStarted(const QByteArray& mark, int verseIndex);
    // BibleAudioMuted as the chapter player has it now.
    void setBibleAudioMuted(bool muted) { m_muted = muted; }
    // The mute button put the mark widgets away (false), or gave them back as Check_mode says (true).
    void onMuteToggled(bool soundBack);
    // Ticks or clears Check_mode as a click would; nothing when it already reads so.
    void setMarkModeTicked(bool ticked);

    // The menu entries, the button and the table clicks (also reachable from the widgets).
    void newMarks();       // Mnu_NewMark
    void oldMarks();       // Mnu_OldMark
    void updateMarks();    // Mnu_UpdateMrk
    void suggestMarks();   // "Suggest": the New column from the chapter's recording
    void backupMarks();    // Mnu_BackupMrk
    void restoreMarks();   // Mnu_RestoreMrk
    void undoLastUpdate(); // "Undo last update": the marks the chapter had before its last update
    void updateOneMark();  // Cmd_Maj
    // A Timer1 tick: while the recording plays in mark mode, Lbl_Position shows the position that
    // Cmd_Maj would write.
    void showLivePosition();
    void pickRow(int row); // a left click on row 1..286 of ListView1
    // A right click in the passage with the caret at `caret`: the verse label there is selected
    // and, while the audio is on, the playing position becomes the verse's New mark.
    void takeMarkAt(int caret);

  signals:
    // MarkMode entered or left.
    void markModeChanged(bool on);
    // The mark widgets were shown or put away: the page moves List_livre beside ListView1 and
    // narrows it, or puts it back, and hides or shows Lbl_classe.
    void markWidgetsShown(bool shown);
    // Check_repere usable or not; cleared besides (mark mode leaves the selection to the user).
    void keepAtTopEnabled(bool enabled);
    void keepAtTopCleared();
    // Check_mode was cleared while the audio is muted: a "Window 2" target is given up.
    void markModeClearedWhileMuted();
    // Selection of List_verset row `verseIndex`; `single`: a passage of that verse alone (as a
    // pick in the table), otherwise to the chapter's end. The passage is rebuilt even when the
    // row was selected already.
    void verseWanted(int verseIndex, bool single);
    // Cmd_OK: the passage's audio from its first mark.
    void passageAudioWanted();
    // The chapter player's Stop.
    void bibleAudioStopWanted();
    // A verse label ("5.20") was selected by a right click while the audio is muted, for a copy of
    // the passage on a second screen.
    void verseLabelSelected(const QString& label);
    // A book file was written (its cached text is out of date).
    void bookFileWritten(const QString& path);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    QWidget* m_passageViewport = nullptr; // Text_Passage's viewport, kept for the event filter
    QWidget* m_tableViewport = nullptr;   // ListView1's
    // Mark mode on: the follower and Check_repere give way, the mark widgets come when there are marks.
    void enterMarkMode();
    void onCheckModeClicked(bool ticked);
    // Label4, Lbl_Position, SpPosition and ListView1 shown, Cmd_Maj usable; or all put away.
    void showMarkWidgets(bool shown);
    // Fits the columns to the marks shown; Label4 names the current row again.
    void showRows();
    void selectRow(int index);
    int selectedRow() const; // 1..286, 0 when none
    // The current row changed, by the program or by the user (arrow keys, a right press): Label4
    // names it and Lbl_Position shows its New mark (or the live position), so that what Cmd_Maj
    // writes is what they show.
    void onCurrentRowChanged();
    bool isPlaying() const;
    ChapterId chapterId() const;
    QString bookFile() const;
    // The Markage entries usable in mark mode only.
    void enableMenu();
    // Writes `table` into the chapter's book file after keeping its previous marks.
    WriteResult writeMarks(const QByteArray& versionCode, const ChapterId& id, const MarkTable& table);
    // Asks before New marks not yet written are replaced by the menu; true to go on.
    bool mayReplacePending();
    // The chapter on display is about to change: New marks not yet written are written or dropped,
    // as the user answers.
    void offerPendingBeforeLeaving();
    // Tells the user when a write did not (fully) happen.
    void reportWrite(const WriteResult& result, const QString& file);

    const session::Session& m_session;
    platform::RichTextBox& m_passage;
    platform::MediaPlayer& m_player;
    platform::Prompts& m_prompts;
    platform::CommonDialog& m_dialogs;

    MarkTableModel* m_model; // what ListView1 shows
    QTreeView* ListView1;
    QWidget* m_positionRow;
    QCheckBox* Check_mode;
    QLabel* Label1;
    QLabel* Label11;
    QLabel* Label4;
    QLabel* Lbl_Position;
    platform::SpinArrows* SpPosition;
    QPushButton* Cmd_Maj;
    QMenu* Mnu_Mark;
    QList<QAction*> m_menuEntries;

    // The chapter on display.
    QByteArray m_versionCode, m_bookKey, m_soundPrefix;
    int m_chapter = 0;
    int m_verseCount = 0;
    QByteArray m_chapterKey;          // ChapterKey: version, book and chapter the rows show
    std::optional<int> m_markUpdated; // MarkUpdated: the row Cmd_Maj just wrote
    bool m_markMode = false;          // MarkMode
    bool m_muted = false;             // BibleAudioMuted
    bool m_hasMarks = false;          // the passage has marked verses (ComboBox_repere selected)
};

} // namespace lumora::marks
