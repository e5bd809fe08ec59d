#include "lists/listfile.h"

#include "support/testdata.h"

#include <QDir>

using namespace lumora::lists;
using namespace lumora::testing;

namespace {
const QByteArray kBom("\xEF\xBB\xBF");
}

// reading
TEST(ListFile, readSkipsBomEmptyLinesAndTrailers) {
    EXPECT_EQ(readListEntries(kBom + "a\rb\r\r\n"), (QList<QByteArray>{"a", "b"}));
    EXPECT_EQ(readListEntries(kBom + "\r\n"), QList<QByteArray>{});
    EXPECT_EQ(readListEntries(QByteArray()), QList<QByteArray>{});
    EXPECT_EQ(readListEntries("a\r\n\r\nb"), (QList<QByteArray>{"a", "b"}));
}

TEST(ListFile, loneLfDoesNotEndAnEntry) {
    // Lines end at CR or CR LF only; a stray LF stays part of its entry.
    EXPECT_EQ(readListEntries(kBom + "a\nb\rc\r\r\n"), (QList<QByteArray>{"a\nb", "c"}));
}

TEST(ListFile, bomOnlyDroppedAtStart) {
    EXPECT_EQ(readListEntries("a\r" + kBom + "b\r"), (QList<QByteArray>{"a", kBom + "b"}));
}

TEST(ListFile, readFileDecodesUtf8AndMissingFileIsNullopt) {
    TempFolder tmp;
    writeBytes(tmp.file("L.txt"), kBom + "Gen\xC3\xA8se. 1 : 1 - 2\tLSG\r\r\n");
    EXPECT_EQ(readListFile(tmp.file("L.txt")), QStringList{QString::fromUtf8("Genèse. 1 : 1 - 2\tLSG")});
    EXPECT_FALSE(readListFile(tmp.file("missing.txt")).has_value());
}

// writing
TEST(ListFile, joinEntriesBothWays) {
    const QStringList rows{QString::fromUtf8("é"), "b"};
    EXPECT_EQ(joinEntries(rows, true), QByteArray("\xC3\xA9\rb\r"));
    EXPECT_EQ(joinEntries(rows, false), QByteArray("\xC3\xA9\rb"));
    EXPECT_EQ(joinEntries({}, true), QByteArray());
}

TEST(ListFile, newListFileGetsBomOnlyForTxtNames) {
    TempFolder tmp;
    ASSERT_TRUE(Enregistrer_Favori(tmp.file("A.txt"), ""));
    EXPECT_EQ(readBytes(tmp.file("A.txt")), kBom + "\r\n");
    ASSERT_TRUE(Enregistrer_Favori(tmp.file("B.TxT"), "x"));
    EXPECT_EQ(readBytes(tmp.file("B.TxT")), kBom + "x\r\n");
    ASSERT_TRUE(Enregistrer_Favori(tmp.file("A.rtf"), " Save me as (*.rtf)"));
    EXPECT_EQ(readBytes(tmp.file("A.rtf")), QByteArray(" Save me as (*.rtf)\r\n"));
}

TEST(ListFile, existingFileRewrittenWholeWithBomWhateverItsName) {
    TempFolder tmp;
    writeBytes(tmp.file("A.rtf"), "a much longer old content\r\n");
    ASSERT_TRUE(Enregistrer_Favori(tmp.file("A.rtf"), "new"));
    EXPECT_EQ(readBytes(tmp.file("A.rtf")), kBom + "new\r\n");
    writeBytes(tmp.file("L.txt"), kBom + "old1\rold2\r\r\n");
    ASSERT_TRUE(Enregistrer_Favori(tmp.file("L.txt"), "n\r"));
    EXPECT_EQ(readBytes(tmp.file("L.txt")), kBom + "n\r\r\n");
    EXPECT_EQ(QDir(tmp.path()).entryList(QDir::Files).size(), 2) << "no temporary left behind";
}

TEST(ListFile, writtenRowsReadBackUnchanged) {
    TempFolder tmp;
    const QStringList rows{"40 Matthieu. 5 : 18 - 20\tLSG", QString::fromUtf8("01 Genèse. 1 : 1 - 1\tKJV")};
    ASSERT_TRUE(Enregistrer_Favori(tmp.file("L.txt"), joinEntries(rows, true)));
    EXPECT_EQ(readBytes(tmp.file("L.txt")), kBom + joinEntries(rows, true) + "\r\n");
    EXPECT_EQ(readListFile(tmp.file("L.txt")), rows);
    ASSERT_TRUE(Enregistrer_Favori(tmp.file("L.txt"), joinEntries(rows, false)));
    EXPECT_EQ(readListFile(tmp.file("L.txt")), rows);
}

TEST(ListFile, createListFileNeverReplaces) {
    TempFolder tmp;
    writeBytes(tmp.file("A.txt"), "keep");
    EXPECT_FALSE(createListFile(tmp.file("A.txt"), ""));
    EXPECT_EQ(readBytes(tmp.file("A.txt")), "keep");
}

// folder listing
TEST(ListFile, listNamesAreTxtFilesMinusExtensionInCaselessOrder) {
    TempFolder tmp;
    writeBytes(tmp.file("b list.txt"), "");
    writeBytes(tmp.file("A list.txt"), "");
    writeBytes(tmp.file("A list.rtf"), "");
    writeBytes(tmp.file("Only note.rtf"), "");
    writeBytes(tmp.file("Upper.TXT"), "");
    QDir().mkpath(tmp.file("folder.txt"));
    EXPECT_EQ(listNames(listPattern(tmp.path())), (QStringList{"A list", "b list", "Upper"}));
    EXPECT_EQ(listNames(listPattern(tmp.file("missing"))), QStringList{});
}

TEST(ListFile, pathsFindFilesInOtherLetterCase) {
    TempFolder tmp;
    writeBytes(tmp.file("Upper.TXT"), "");
    EXPECT_EQ(listFilePath(tmp.path(), "Upper"), tmp.file("Upper.TXT"));
    EXPECT_EQ(notePath(tmp.path(), "Upper"), tmp.file("Upper.rtf"));
}

TEST(ListFile, playlistLabelIsTextBeforeFirstTab) {
    EXPECT_EQ(playlistLabel("12 - Title\tcomp\tauthor"), QString("12 - Title"));
    EXPECT_FALSE(playlistLabel("no tab").has_value());
}
