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
    friend bool operator==(const MarkRow&, const MarkRow&) = default;
};

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

    // The same chapter shown again (after a write): New kept, Old reloaded from the file; the
    // row `updatedVerse`, when given, gets New = FormatMark(stored mark) instead.
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

    friend bool operator==(const MarkTable&, const MarkTable&) = default;

  private:
    std::array<MarkRow, kMaxRows + 1> m_rows; // index 0 unused
    int m_verseCount = 0;
};

// "Gn07 Backup.txt": sound prefix, chapter with a "0" before values below 10, " Backup.txt".
QByteArray backupFileName(const ChapterId& chapter);

// The backup of the table's Old column: row 1 always, then every row 2..286 with a Marking text,
// each as book key TAB chapter TAB verse TAB Old CR LF, and one more CR LF at the end. No BOM.
QByteArray backupBytes(const ChapterId& chapter, const MarkTable& table);

// The message shown when a chosen file is not the shown chapter's backup.
QString restoreRefusal(const ChapterId& chapter);

// Restore from a chosen file: false and the table unchanged when the path does not contain the
// proposed name or no file is there. Otherwise line k of the file gives row k's New (the text
// after the line's last TAB, or the whole line without one); lines past row 286 are ignored and
// Old stays as it was.
bool restoreBackup(const ChapterId& chapter, const QString& chosenPath, MarkTable& table);
// The mark a backup line carries.
QByteArray backupLineMark(const QByteArray& line);
// Applies already read backup bytes to the table (no name check).
void applyBackup(const QByteArray& bytes, MarkTable& table);

} // namespace lumora::marks
