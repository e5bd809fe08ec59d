#include "marks/ui/marktablemodel.h"

#include <gtest/gtest.h>

#include <QTreeView>

using namespace lumora::marks;

namespace {

MarkTable chapterOf(int verses, const char* prefix = "Gn") {
    OldMarks stored;
    for (int v = 1; v <= verses; ++v)
        stored[std::size_t(v)] = QByteArray::number(v) + ",00000";
    return MarkTable::forChapter({"01O", "3", prefix, verses}, stored);
}

QString cell(const MarkTableModel& m, int row, int column, int role = Qt::DisplayRole) {
    return m.index(row - 1, column).data(role).toString();
}

} // namespace

TEST(MarkTableModel, cellsAreTheTableRowsWithTheirKeys) {
    MarkTableModel m;
    m.setTable(chapterOf(3), "AAA\t01O\t3");
    EXPECT_EQ(m.rowCount(), 286);
    EXPECT_EQ(m.columnCount(), 3);
    EXPECT_EQ(cell(m, 3, 0), "Gn3.3");
    EXPECT_EQ(cell(m, 3, 1), "3,00000");
    EXPECT_EQ(cell(m, 3, 2), "3,00000");
    EXPECT_EQ(cell(m, 4, 0), "") << "beyond the chapter";
    EXPECT_EQ(cell(m, 286, 0, Qt::UserRole), "Cle_286");
    EXPECT_EQ(m.headerData(1, Qt::Horizontal).toString(), "New");
    EXPECT_FALSE(m.flags(m.index(0, 1)) & Qt::ItemIsEditable) << "marks are typed into Lbl_Position only";
}

TEST(MarkTableModel, changesKeepTheViewsCurrentRow) {
    // Fault guarded: replacing the model's rows wholesale (a reset) drops the view's current row,
    // and with it the verse Label4 names and Cmd_Maj writes.
    MarkTableModel m;
    QTreeView view;
    view.setModel(&m);
    m.setTable(chapterOf(30), "AAA\t01O\t3");
    view.setCurrentIndex(m.index(6, 0));
    m.change([](MarkTable& t) { t.resetNew(); });
    m.setTable(chapterOf(30, "Ex"), "AAA\t02O\t3");
    ASSERT_TRUE(m.setNewMark("Ex", "3.7", "12,5"));
    EXPECT_EQ(view.currentIndex().row(), 6);
    EXPECT_EQ(cell(m, 7, 0), "Ex3.7");
    EXPECT_EQ(cell(m, 7, 1), "12,50000");
}

TEST(MarkTableModel, aDoubtShowsWhileNewHoldsTheSuggestionInItsChapter) {
    struct Case {
        const char* what;
        bool sameChapter;
        QByteArray newMark;
        bool doubtful;
    };
    const Case cases[] = {
        {"the suggestion as made", true, "2,00000", true},
        {"New changed since", true, "2,50000", false},
        {"another chapter shown", false, "2,00000", false},
    };
    for (const Case& c : cases) {
        MarkTableModel m;
        m.setTable(chapterOf(3), "AAA\t01O\t3");
        m.setDoubts({{2, {"2,00000", "Check by ear: skipped"}}});
        if (!c.sameChapter) m.setTable(chapterOf(3), "AAA\t01O\t4");
        m.change([&](MarkTable& t) { t.row(2).newMark = c.newMark; });
        EXPECT_EQ(cell(m, 2, 1, Qt::ToolTipRole), c.doubtful ? "Check by ear: skipped" : "") << c.what;
        EXPECT_EQ(m.index(1, 1).data(Qt::BackgroundRole).isValid(), c.doubtful) << c.what;
        EXPECT_FALSE(m.index(0, 1).data(Qt::BackgroundRole).isValid()) << c.what << ": a row without doubt";
    }
}
