#pragma once
// Marks as the book files store them: field 4 of each verse line (book key, chapter, verse,
// mark, text, TAB between). The writers change mark fields only; every other byte of the file
// (byte-order mark, line ends, other chapters, verse texts) stays as it was, and the file is
// replaced whole and atomically.

#include "bible/biblestore.h"

#include <QByteArray>
#include <QString>

#include <array>
#include <vector>

namespace lumora::marks {

using bible::kMaxVerses;
class MarkTable;

// The book file holding a book key's verses: "-N.txt" of the version for books 40 to 66, "-O.txt"
// for every other number (the number is the key's first two characters). The version code is
// taken in upper case; names are found without regard to letter case.
QString bookFilePath(const QString& dataPath, const QByteArray& versionCode, const QByteArray& bookKey);

// One verse line of a chapter, with byte offsets into the file content.
struct ChapterLine {
    QByteArray verse;        // field 3 as stored
    QByteArray mark;         // field 4 as stored
    QByteArray text;         // field 5, the verse text
    qsizetype markStart = 0; // offset of field 4
    qsizetype markEnd = 0;   // offset of the TAB after it
};

// The chapter's verse lines in file order: from the first line whose key is book key TAB chapter
// TAB "1", the following verse lines of that book and chapter, at most `verseCount` of them.
// Lines without their four TABs are not verse lines and are passed over. Empty when verse 1 is
// not found.
std::vector<ChapterLine> chapterLines(const QByteArray& content, const QByteArray& bookKey,
                                      const QByteArray& chapter, int verseCount);

// What the mark table's Old column is filled from: entry k is the mark of the chapter's k-th
// verse line (k = 1..286), "0" kept as "0"; empty for verses the file does not have.
using OldMarks = std::array<QByteArray, kMaxVerses + 1>;
OldMarks oldMarks(const std::vector<ChapterLine>& lines);

enum class WriteStatus {
    Written,
    FileUnreadable, // the book file could not be read
    VerseNotFound,  // no line carries the chapter's (or the verse's) key
    BadMark,        // a mark would hold a TAB or a line end, or the position is not one
    WriteFailed,    // the file could not be replaced (it is then unchanged)
    BackupFailed,   // the chapter's previous marks could not be kept; the book file is unchanged
};

struct WriteResult {
    WriteStatus status = WriteStatus::FileUnreadable;
    int changedLines = 0;
    // Lines left alone because their stored mark was no longer the Old text (or their verse
    // number was not their place in the chapter): the caller should reload the chapter.
    int skippedLines = 0;
    QString whyNot;             // with WriteFailed or BackupFailed: why the file could not be written
    std::vector<int> conflicts; // the rows of the skipped lines, in order
};

// Writes the rows of the New column that are to be written (isPendingRow: New differs from the Old
// text the user was shown) into the chapter's lines: the k-th verse line of the chapter, when it is
// verse k and its stored mark is row k's Old text, gets row k's New text as its mark, whatever the
// two lengths. Every other line is left as it is: a row the user did not change never reverts a
// mark written meanwhile by someone else, and a changed row whose line no longer holds the Old
// text (both changed it) is a conflict, left alone and listed. Works on `content` in place.
WriteResult applyChapterMarks(QByteArray& content, const QByteArray& bookKey, const QByteArray& chapter,
                              int verseCount, const MarkTable& table);
// The same on the book file. With `previousMarksFile`, a write that changes anything first keeps
// the chapter's marks as the file held them, as a backup file (backupBytes) at that path; when
// that backup cannot be written, the book file is left unchanged (BackupFailed).
WriteResult updateChapterMarks(const QString& bookFile, const QByteArray& bookKey, const QByteArray& chapter,
                               int verseCount, const MarkTable& table, const QString& previousMarksFile = {});

// Sets one verse's mark to FormatMark(position): the mark field of every line whose key is book
// key TAB chapter TAB verse is replaced, whatever it held. BadMark unless `position` is digits
// and commas; VerseNotFound when no line has the key. Works on `content` in place.
WriteResult applyOneMark(QByteArray& content, const QByteArray& bookKey, const QByteArray& chapter,
                         const QByteArray& verse, const QByteArray& position);
WriteResult UpdateOneMark(const QString& bookFile, const QByteArray& bookKey, const QByteArray& chapter,
                          const QByteArray& verse, const QByteArray& position);

} // namespace lumora::marks
