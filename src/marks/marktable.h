#pragma once
// The mark table of the shown chapter: rows 1..286, each with its "Marking" text (sound prefix,
// chapter, ".", verse), the New mark being prepared and the Old mark stored in the book file.
// The window's table and lumora-cli both work on this value.

#include "marks/markstore.h"

#include <QByteArray>
#include <QString>

#include <array>
#include <optional>
#include <vector>

namespace lumora::marks {

struct MarkRow {
    QByteArray text;    // "Marking": "Gn3.16"; empty beyond the chapter
    QByteArray newMark; // "New"
    QByteArray oldMark; // "Old"
    // New was given by the user (taken from the recording, typed): only then may a New that gives
    // no time replace a stored mark.
    bool typed = false;
    friend bool operator==(const MarkRow&, const MarkRow&) = default;
};

// A mark that gives no time: empty, "0", or a number equal to zero ("0,00000").
bool isZeroMark(const QByteArray& mark);
// Whether Update writes the row: a verse of the chapter whose New differs from its Old, and neither
// an empty New nor a zero that the user did not give (Markage's New fills the column with zeros,
// a backup or a suggestion may hold them): such a zero would wipe the stored mark.
bool isPendingRow(const MarkRow& row);

// Which chapter a table shows, and what backups of it are called.
struct ChapterId {
    QByteArray bookKey;     // List_NumLivre entry, "01O"
    QByteArray chapter;     // List_chapitre entry, "3"
    QByteArray soundPrefix; // List_PrefixeSon entry, "Gn"
    int verseCount = 0;
};

class MarkTable final {
  public:
    MarkTable() = default;
    // A table freshly shown for a chapter: rows up to the verse count get their Marking text and
    // New = Old = the stored mark; rows beyond are empty.
    static MarkTable forChapter(const ChapterId& chapter, const OldMarks& stored);

    // Rows 1..286; row(0) and rows beyond are a shared empty row.
    const MarkRow& row(int i) const;
    MarkRow& row(int i);
    int verseCount() const { return m_verseCount; }

    // The same chapter shown again (after a write): New kept where the user changed it, Old
    // reloaded from the file; a row whose New was still its Old follows the file, so that a mark
    // written meanwhile by someone else is not taken back by the next Update. The row
    // `updatedVerse`, when given, gets New = FormatMark(stored mark) instead.
    void reloadOld(const OldMarks& stored, std::optional<int> updatedVerse = std::nullopt);
    // Every row within the chapter New = "0,00000", beyond it empty; Old untouched.
    void resetNew();
    // New = Old within the chapter, empty beyond.
    void copyOldToNew();
    // Suggested starts in seconds, one per verse in order: row k's New becomes start k written as
    // a mark; rows past the starts keep their New.
    void setNewStarts(const std::vector<double>& starts);
    // The row whose Marking text is sound prefix + label gets New = FormatMark(position); returns
    // that row, or nullopt when no row within the chapter matches.
    std::optional<int> setNewMark(const QByteArray& soundPrefix, const QByteArray& label,
                                  const QByteArray& position);

    // The rows Update would write (isPendingRow), in order.
    std::vector<int> pendingRows() const;

    friend bool operator==(const MarkTable&, const MarkTable&) = default;

  private:
    std::array<MarkRow, kMaxVerses + 1> m_rows; // index 0 unused
    int m_verseCount = 0;
};

// "Gn07 Backup.txt": sound prefix, chapter with a "0" before values below 10, " Backup.txt".
QByteArray backupFileName(const ChapterId& chapter);

// The backup of the table's Old column: row 1 always, then every row 2..286 with a Marking text,
// each as book key TAB chapter TAB verse TAB Old CR LF, and one more CR LF at the end. No BOM.
QByteArray backupBytes(const ChapterId& chapter, const MarkTable& table);

// Where Update keeps the chapter's marks as they were before it, for "Undo last update": the
// backup file name in the version's folder "Mark backups":
// ".../Bible/KJV/Mark backups/Gn07 Backup.txt". One file a chapter, replaced by each Update.
QString previousMarksPath(const QString& dataPath, const QByteArray& versionCode, const ChapterId& chapter);

// Writes the chapter's previous marks (backupBytes) to `path`, making its folder when missing; a
// write that fails leaves no folder it made. False with the reason.
bool writePreviousMarks(const QString& path, const QByteArray& bytes, QString* whyNot = nullptr);

// Writes the chapter's marks as the book file holds them now into a backup file at `path`
// (backupBytes). False, and `whyNot` set, when the book file cannot be read or the backup written.
bool keepChapterMarks(const QString& bookFile, const ChapterId& chapter, const QString& path,
                      QString* whyNot);

// The table that takes the chapter back to a backup of its previous marks: Old = the marks the
// book file holds now, New = the backup's marks, given as the user's (a zero the backup holds is
// written back too). nullopt, and `whyNot` set, when the backup is not the chapter's.
std::optional<MarkTable> undoTable(const ChapterId& chapter, const OldMarks& stored, const QByteArray& backup,
                                   QString* whyNot = nullptr);

// The message shown when a chosen file is not the shown chapter's backup.
QString restoreRefusal(const ChapterId& chapter);

// Why `bytes` is not a backup of `chapter`, or nullopt when it may be: a line with TABs must name the
// chapter's book key, the chapter and its own place as the verse (another chapter's or book's
// backup under a renamed file), and there must not be more verse lines than the chapter has verses
// (another version's count of verses). Lines without a TAB (marks only) name nothing.
std::optional<QString> backupProblem(const ChapterId& chapter, const QByteArray& bytes);

// Restore from a chosen file: false and the table unchanged when the path does not contain the
// proposed name, no file is there, or the file is not the chapter's backup (then `whyNot` says
// why; it stays empty for the first two, which restoreRefusal tells). Otherwise line k of the file
// gives row k's New (the text after the line's last TAB, or the whole line without one); lines past
// row 286 are ignored and Old stays as it was.
bool restoreBackup(const ChapterId& chapter, const QString& chosenPath, MarkTable& table,
                   QString* whyNot = nullptr);
// The mark a backup line carries.
QByteArray backupLineMark(const QByteArray& line);
// Applies already read backup bytes to the table (no name check).
void applyBackup(const QByteArray& bytes, MarkTable& table);

} // namespace lumora::marks
