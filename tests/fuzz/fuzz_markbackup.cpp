// Feeds arbitrary bytes to the restore of a mark backup: the bytes are applied to the mark table
// of a chapter, the restored New column is written into the book file's content as the editor
// writes it (a zero or an empty mark the user did not give is not written), and the table's own
// backup is restored again.

#include "marks/markformat.h"
#include "marks/markstore.h"
#include "marks/marktable.h"

#include <cstdio>
#include <cstdlib>

using namespace lumora;

namespace {

// Matthew 5, verses 1-3, between a line of chapter 4 and one of chapter 6.
const QByteArray kBook("\xEF\xBB\xBF"
                       "40N\t4\t25\t0\tAnd there followed him\r\n"
                       "40N\t5\t1\t1,50000\tAnd seeing the multitudes\r\n"
                       "40N\t5\t2\t0\tAnd he opened his mouth\r\n"
                       "40N\t5\t3\t9,25000\tBlessed are the poor\r\n"
                       "40N\t6\t1\t0\tTake heed\r\n");
const marks::ChapterId kChapter{"40N", "5", "Mt", 3};

[[noreturn]] void broken(const char* what) {
    std::fprintf(stderr, "%s\n", what);
    std::abort();
}

bool holdsLineBreakOrTab(const QByteArray& mark) {
    return mark.contains('\t') || mark.contains('\r') || mark.contains('\n');
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const auto lines = marks::chapterLines(kBook, kChapter.bookKey, kChapter.chapter, kChapter.verseCount);
    const marks::MarkTable shown = marks::MarkTable::forChapter(kChapter, marks::oldMarks(lines));

    marks::MarkTable table = shown;
    marks::applyBackup(bytes, table);
    for (int i = 1; i <= marks::kMaxVerses; ++i) {
        if (table.row(i).oldMark != shown.row(i).oldMark || table.row(i).text != shown.row(i).text)
            broken("a restore changed the Old column or the Marking texts");
        if (holdsLineBreakOrTab(table.row(i).newMark)) broken("a restored mark holds a line break");
        (void)marks::FormatMark(table.row(i).newMark);
    }

    // What the editor writes from the restored table: the three verse lines at most, nothing else.
    QByteArray content = kBook;
    const marks::WriteResult written =
        marks::applyChapterMarks(content, kChapter.bookKey, kChapter.chapter, kChapter.verseCount, table);
    if (written.status != marks::WriteStatus::Written && content != kBook)
        broken("a refused write changed the content");
    if (content.count('\n') != kBook.count('\n')) broken("a write changed the number of lines");
    if (written.status == marks::WriteStatus::Written) {
        const auto after =
            marks::chapterLines(content, kChapter.bookKey, kChapter.chapter, kChapter.verseCount);
        if (after.size() != lines.size()) broken("the chapter lost verse lines");
        // A restored zero or empty mark is never written over a stored mark: the line keeps it.
        for (size_t k = 0; k < after.size(); ++k) {
            const marks::MarkRow& row = table.row(int(k) + 1);
            const QByteArray& wanted = marks::isPendingRow(row) ? row.newMark : lines[k].mark;
            if (after[k].mark != wanted || after[k].text != lines[k].text)
                broken("a verse line does not hold its restored mark and its text");
        }
        if (!content.startsWith(kBook.left(kBook.indexOf("40N\t5"))) ||
            !content.endsWith("40N\t6\t1\t0\tTake heed\r\n"))
            broken("a line of another chapter changed");
    }

    // A backup of the restored marks restores them.
    marks::MarkTable saved = shown;
    for (int i = 1; i <= kChapter.verseCount; ++i)
        saved.row(i).oldMark = table.row(i).newMark;
    marks::MarkTable again = shown;
    marks::applyBackup(marks::backupBytes(kChapter, saved), again);
    for (int i = 1; i <= kChapter.verseCount; ++i)
        if (again.row(i).newMark != table.row(i).newMark) broken("a backup does not restore what it holds");
    return 0;
}
