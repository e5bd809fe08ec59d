#include "lists/listfile.h"

#include "lists/listedit.h"
#include "lists/verselistentry.h"
#include "support/testdata.h"

#include <QDir>

using namespace lumora::lists;
using namespace lumora::testing;

namespace {
const QByteArray kBom("\xEF\xBB\xBF");
}

// reading: entries end at CR or CR LF, empty lines are skipped
TEST(ListFile, readEntries) {
    const struct {
        QByteArray bytes;
        QList<QByteArray> entries;
    } cases[] = {
        {kBom + "a\rb\r\r\n", {"a", "b"}},
        {kBom + "\r\n", {}},
        {QByteArray(), {}},
        {"a\r\n\r\nb", {"a", "b"}},
        {kBom + "a\nb\rc\r\r\n", {"a\nb", "c"}},   // a lone LF stays inside its entry
        {"a\r" + kBom + "b\r", {"a", kBom + "b"}}, // the BOM is dropped at the start only
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.bytes.toStdString());
        EXPECT_EQ(readListEntries(c.bytes), c.entries);
    }
}

TEST(ListFile, readFileDecodesUtf8AndMissingFileIsNullopt) {
    TempFolder tmp;
    writeBytes(tmp.file("L.txt"), kBom + "Gen\xC3\xA8se. 1 : 1 - 2\tLSG\r\r\n");
    EXPECT_EQ(readListFile(tmp.file("L.txt")), QStringList{QString::fromUtf8("Genèse. 1 : 1 - 2\tLSG")});
    EXPECT_FALSE(readListFile(tmp.file("missing.txt")).has_value());
}

// writing: BOM, entries separated by one CR, CR LF at the end
TEST(ListFile, savedBytes) {
    TempFolder tmp;
    // new files get the BOM only for .txt names, in any letter case
    ASSERT_TRUE(Enregistrer_Favori(tmp.file("A.txt"), ""));
    EXPECT_EQ(readBytes(tmp.file("A.txt")), kBom + "\r\n");
    ASSERT_TRUE(Enregistrer_Favori(tmp.file("B.TxT"), "x"));
    EXPECT_EQ(readBytes(tmp.file("B.TxT")), kBom + "x\r\n");
    ASSERT_TRUE(Enregistrer_Favori(tmp.file("A.rtf"), " Save me as (*.rtf)"));
    EXPECT_EQ(readBytes(tmp.file("A.rtf")), QByteArray(" Save me as (*.rtf)\r\n"));
    // an existing file is rewritten whole, with the BOM whatever its name
    ASSERT_TRUE(Enregistrer_Favori(tmp.file("A.rtf"), "new"));
    EXPECT_EQ(readBytes(tmp.file("A.rtf")), kBom + "new\r\n");
    writeBytes(tmp.file("L.txt"), kBom + "old1\rold2\r\r\n");
    ASSERT_TRUE(Enregistrer_Favori(tmp.file("L.txt"), "n\r"));
    EXPECT_EQ(readBytes(tmp.file("L.txt")), kBom + "n\r\r\n");
    EXPECT_EQ(joinEntries({}, true), QByteArray());
    // a new list never replaces a file
    EXPECT_FALSE(createListFile(tmp.file("L.txt"), ""));
    EXPECT_EQ(readBytes(tmp.file("L.txt")), kBom + "n\r\r\n");
    EXPECT_EQ(QDir(tmp.path()).entryList(QDir::Files).size(), 4) << "no temporary left behind";
}

// folder listing
TEST(ListFile, listNamesAndPaths) {
    TempFolder tmp;
    for (const char* name :
         {"b list.txt", "A list.txt", "A list 1.txt", "A list.rtf", "Only note.rtf", "Upper.TXT"})
        writeBytes(tmp.file(name), "");
    QDir().mkpath(tmp.file("folder.txt"));
    // sorted as the file names are, so "A list 1.txt" comes before "A list.txt"
    EXPECT_EQ(listNames(listPattern(tmp.path())), (QStringList{"A list 1", "A list", "b list", "Upper"}));
    EXPECT_EQ(listNames(listPattern(tmp.file("missing"))), QStringList{});
    // paths find files in another letter case
    EXPECT_EQ(listFilePath(tmp.path(), "Upper"), tmp.file("Upper.TXT"));
    EXPECT_EQ(notePath(tmp.path(), "Upper"), tmp.file("Upper.rtf"));
}

// A verse-list entry names a place with its numbers as they stand (the navigation refuses a place
// without a row); an entry that cannot be read names none.
TEST(ListFile, verseListEntries) {
    using lumora::session::PassageRef;
    const struct {
        const char* name;
        QString entry;
        std::optional<PassageRef> place;
    } cases[] = {
        {"an entry", "40 Book.  5 : 18 - 20\tKJV", PassageRef{"KJV", 40, 5, 18, 20}},
        {"book without a row", "99 Book.  1 : 1 - 1\tKJV", PassageRef{"KJV", 99, 1, 1, 1}},
        {"unknown version", "40 Book.  5 : 18 - 18\tNONE", PassageRef{"NONE", 40, 5, 18, 18}},
        {"version in small letters", "43 Jean.  3 : 16 - 18\tlsg", PassageRef{"lsg", 43, 3, 16, 18}},
        // the ". " at position 3 lies inside the book text: separators are searched from the sixth character
        {"point inside the book", "02. Exode. 12 : 1 - 3\tX", PassageRef{"X", 2, 12, 1, 3}},
        {"verses reversed", "40 Book. 5 : 20 - 18\tKJV", PassageRef{"KJV", 40, 5, 20, 18}},
        {"no version", "99 Book. 1 : 1 - 1\t", PassageRef{"", 99, 1, 1, 1}},
        {"unreadable", "garbage", std::nullopt},
        {"empty", "", std::nullopt},
        {"no TAB", "43 Jean. 3 : 16 - 18 LSG", std::nullopt},
        {"no colon", "43 Jean. 3 16 - 18\tLSG", std::nullopt},
        {"separators out of order", "43 Jean\t3 : 16 - 18. x", std::nullopt},
        {"book without number", "xx Jean. 3 : 16 - 18\tLSG", std::nullopt},
        {"a verse beyond any row", "43 Jean. 3 : 16 - 99999999999\tLSG", std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(parseVerseListEntry(c.entry), c.place) << c.name;
}

// The edits of a list's entries at the first and last positions, without a selection, past the end
// and on an empty list. nullopt: a refused move (the panel tells why) or nothing to remove.
TEST(ListEdit, editsAtEveryPosition) {
    const QStringList three{"e1", "e2", "e3"};
    using Edit = std::optional<EditResult> (*)(const QStringList&, int);
    const struct {
        const char* name;
        Edit edit;
        QStringList rows;
        int selected;
        std::optional<QStringList> after;
        int selectedAfter;
    } cases[] = {
        {"up on first", moveEntryUp, three, 0, std::nullopt, 0},
        {"up on last", moveEntryUp, three, 2, QStringList{"e1", "e3", "e2"}, 1},
        {"up past the end", moveEntryUp, three, 3, std::nullopt, 0},
        {"up on empty", moveEntryUp, {}, -1, std::nullopt, 0},
        {"down on first", moveEntryDown, three, 0, QStringList{"e2", "e1", "e3"}, 1},
        {"down in the middle", moveEntryDown, three, 1, QStringList{"e1", "e3", "e2"}, 2},
        {"down on last stays", moveEntryDown, three, 2, three, 2},
        {"down without selection", moveEntryDown, three, -1, std::nullopt, 0},
        {"down past the end", moveEntryDown, three, 7, std::nullopt, 0},
        {"down on empty", moveEntryDown, {}, -1, QStringList{}, -1},
        {"remove first", removeEntry, three, 0, QStringList{"e2", "e3"}, 0},
        {"remove in the middle", removeEntry, three, 1, QStringList{"e1", "e3"}, 1},
        {"remove last", removeEntry, three, 2, QStringList{"e1", "e2"}, 1},
        {"remove without selection", removeEntry, three, -1, three, -1},
        {"remove past the end", removeEntry, three, 3, three, -1},
        {"remove only", removeEntry, {"e1"}, 0, QStringList{}, -1},
        {"remove on empty", removeEntry, {}, -1, std::nullopt, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto r = c.edit(c.rows, c.selected);
        ASSERT_EQ(r.has_value(), c.after.has_value());
        if (r) {
            EXPECT_EQ(r->rows, *c.after);
            EXPECT_EQ(r->selected, c.selectedAfter);
        }
    }
}
