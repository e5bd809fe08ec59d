#include "bible/biblestore.h"

#include "support/biblefixture.h"

using namespace lumora::bible;
using namespace lumora::testing;

namespace {
class BibleStoreTest : public ::testing::Test {
  protected:
    TempFolder tmp;
    QString data() const { return tmp.path(); }
    void books(const QByteArray& code) {
        writeFixtureVersion(data(), code, {{1, "Gen", 2, [](int) { return 3; }}});
    }
};
} // namespace

// version list
TEST_F(BibleStoreTest, versionListWithOrWithoutBomGivesSameList) {
    books("AAA");
    books("BBB");
    writeBytes(data() + "/Bible/Version.txt", "\xEF\xBB\xBF"
                                              "AAA - First\r\nBBB - Second\r\n");
    const VersionList withBom = LoadBibleVersions(data());
    writeBytes(data() + "/Bible/Version.txt", "AAA - First\r\nBBB - Second\r\n");
    const VersionList without = LoadBibleVersions(data());
    EXPECT_EQ(withBom.List_version, (QStringList{"AAA - First", "BBB - Second"}));
    EXPECT_EQ(withBom.List_version, without.List_version);
    EXPECT_FALSE(withBom.openError);
}

TEST_F(BibleStoreTest, incompleteVersionsAndLinesWithoutSeparator) {
    books("AAA");
    writeFixtureVersion(data(), "PART", {{1, "Gen", 1, [](int) { return 1; }}});
    QFile::remove(data() + "/Bible/PART/PART-N.txt");
    writeBytes(data() + "/Bible/Version.txt",
               "NOFOLDER - Missing\r\nAAA - Fr\xC3\xA9nch\r\nno separator here\r\nPART - Partial\r\n\r\n");
    const VersionList v = LoadBibleVersions(data());
    EXPECT_EQ(v.List_version, QStringList{QString::fromUtf8("AAA - Fr\xC3\xA9nch")});
    EXPECT_EQ(v.List_version_reste, (QStringList{"NOFOLDER - Missing", "PART - Partial"}));
}

TEST_F(BibleStoreTest, versionFilesAreFoundWhateverTheirLetterCase) {
    books("kjv");
    writeBytes(data() + "/bible/version.txt", "KJV - King James\r\n");
    QDir().rename(data() + "/Bible/kjv", data() + "/Bible/Kjv");
    // "bible" and "Bible" both exist now only on a case-sensitive system; the lookup must still
    // find the version whose folder and files differ in case from the code.
    QDir(data() + "/Bible").removeRecursively();
    books("kjv");
    QDir().rename(data() + "/Bible", data() + "/BIBLE");
    writeBytes(data() + "/BIBLE/Version.txt", "KJV - King James\r\n");
    QDir(data() + "/bible").removeRecursively();
    const VersionList v = LoadBibleVersions(data());
    EXPECT_EQ(v.List_version, QStringList{"KJV - King James"});
}

TEST_F(BibleStoreTest, missingVersionFileReports53AndMissingFolder76) {
    QDir().mkpath(data() + "/Bible");
    EXPECT_EQ(LoadBibleVersions(data()).openError, 53);
    EXPECT_EQ(LoadBibleVersions(data() + "/nowhere").openError, 76);
}

TEST_F(BibleStoreTest, saveVersionListPutsIncompleteLastAndIsExact) {
    const QString path = data() + "/Version.txt";
    writeBytes(path, "old");
    ASSERT_TRUE(SaveVersionList(path, {"B - \xC3\xA9", "A - a"}, {"Z - z"}));
    EXPECT_EQ(readBytes(path), QByteArray("B - \xC3\xA9\r\nA - a\r\nZ - z\r\n"));
}

// book tables
TEST_F(BibleStoreTest, bookTablesDropThreeBytesOfFirstLineEvenWithoutBom) {
    writeFixtureVersion(data(), "X",
                        {{1, "Genesis", 2, [](int) { return 3; }}, {2, "Exodus", 1, [](int) { return 4; }}},
                        FixtureOptions{.bomInBooks = false});
    const BookTables t = LoadBookTables(data(), "X");
    ASSERT_EQ(t.List_livre.size(), 2);
    EXPECT_EQ(t.List_livre[0], "Genesis"); // "01 " lost with the missing BOM
    EXPECT_EQ(t.List_livre[1], "02 Exodus");
    EXPECT_EQ(t.List_NumLivre[1], "02O");
    EXPECT_EQ(t.List_LivreChap, (QByteArrayList{"01O\t1\t", "01O\t2\t", "02O\t1\t"}));
    EXPECT_EQ(t.List_NbrVerset, (QByteArrayList{"3", "3", "4"}));
    EXPECT_EQ(t.chapterRow("02O", 1), 2);
    EXPECT_EQ(t.chapterRow("02O", 2), -1);
}

TEST_F(BibleStoreTest, linesWithTooFewTabsAreSkipped) {
    writeBytes(data() + "/Bible/X/Livre_chap.txt",
               "\xEF\xBB\xBF"
               "01 A\t01O\t1\tA\tLaw\r\nbroken\tline\r\n02 B\t02O\tx\tB\tLaw\r\n03 C\t03O\t0\tC\r\n");
    writeBytes(data() + "/Bible/X/Chap_verset.txt", "01O\t1\t3\r\n01O\t2\r\n\r\n02O\t1\t5\r\n");
    const BookTables t = LoadBookTables(data(), "X");
    EXPECT_EQ(t.List_livre, (QStringList{"01 A", "02 B"}));
    EXPECT_EQ(t.List_classe, (QStringList{"Law", "Law"}));
    EXPECT_EQ(t.List_LivreChap, (QByteArrayList{"01O\t1\t", "02O\t1\t"}));
    EXPECT_EQ(t.chapterCount(0), 1);
    EXPECT_EQ(t.chapterCount(1), 0); // "x" is not a number
    EXPECT_EQ(t.chapterCount(7), 0);
}
