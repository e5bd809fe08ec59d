#include "lists/listfile.h"

#include "lists/listedit.h"
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
    EXPECT_EQ(QDir(tmp.path()).entryList(QDir::Files).size(), 4) << "no temporary left behind";
}

TEST(ListFile, createListFileNeverReplaces) {
    TempFolder tmp;
    writeBytes(tmp.file("A.txt"), "keep");
    EXPECT_FALSE(createListFile(tmp.file("A.txt"), ""));
    EXPECT_EQ(readBytes(tmp.file("A.txt")), "keep");
}

// folder listing
TEST(ListFile, listNamesAndPaths) {
    TempFolder tmp;
    for (const char* name : {"b list.txt", "A list.txt", "A list.rtf", "Only note.rtf", "Upper.TXT"})
        writeBytes(tmp.file(name), "");
    QDir().mkpath(tmp.file("folder.txt"));
    EXPECT_EQ(listNames(listPattern(tmp.path())), (QStringList{"A list", "b list", "Upper"}));
    EXPECT_EQ(listNames(listPattern(tmp.file("missing"))), QStringList{});
    // paths find files in another letter case
    EXPECT_EQ(listFilePath(tmp.path(), "Upper"), tmp.file("Upper.TXT"));
    EXPECT_EQ(notePath(tmp.path(), "Upper"), tmp.file("Upper.rtf"));
}

// The panel tests drive every edit at the first and last positions, without selection and on an
// empty list, through the buttons; here only the selections a list widget cannot produce.
TEST(ListEdit, selectionPastTheEnd) {
    const QStringList four{"1", "2", "3", "4"};
    EXPECT_FALSE(moveEntryUp(four, 4));
    EXPECT_FALSE(moveEntryDown(four, 7));
    const auto r = removeEntry(four, 4);
    ASSERT_TRUE(r);
    EXPECT_EQ(r->rows, four);
    EXPECT_EQ(r->selected, -1);
}
