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

// version list: the same with or without a BOM; a version without its folder or one of its files
// is incomplete, a line without " - " is none; without its file the error is 53, without the data
// folder 76
TEST_F(BibleStoreTest, versionListWithOrWithoutBom_incompleteVersionsApart_missingFileOrFolderAnError) {
    books("AAA");
    books("BBB");
    writeFixtureVersion(data(), "PART", {{1, "Gen", 1, [](int) { return 1; }}});
    QFile::remove(data() + "/Bible/PART/PART-N.txt");
    writeBytes(data() + "/Bible/Version.txt", "\xEF\xBB\xBF"
                                              "AAA - First\r\nBBB - Second\r\n");
    const VersionList withBom = LoadBibleVersions(data());
    EXPECT_EQ(withBom.complete, (QStringList{"AAA - First", "BBB - Second"}));
    EXPECT_FALSE(withBom.openError);
    writeBytes(data() + "/Bible/Version.txt", "NOFOLDER - Missing\r\nAAA - Fr\xC3\xA9nch\r\nno separator "
                                              "here\r\nPART - Partial\r\nBBB - Second\r\n\r\n");
    const VersionList v = LoadBibleVersions(data());
    EXPECT_EQ(v.complete, (QStringList{QString::fromUtf8("AAA - Fr\xC3\xA9nch"), "BBB - Second"}));
    EXPECT_EQ(v.incomplete, (QStringList{"NOFOLDER - Missing", "PART - Partial"}));
    QFile::remove(data() + "/Bible/Version.txt");
    EXPECT_EQ(LoadBibleVersions(data()).openError, 53);
    EXPECT_EQ(LoadBibleVersions(data() + "/nowhere").openError, 76);
}

// The lookup finds a version whose folder and files differ in case from the code.
TEST_F(BibleStoreTest, versionFilesAreFoundWhateverTheirLetterCase) {
    books("kjv");
    QDir().rename(data() + "/Bible", data() + "/BIBLE");
    writeBytes(data() + "/BIBLE/Version.txt", "KJV - King James\r\n");
    EXPECT_EQ(LoadBibleVersions(data()).complete, QStringList{"KJV - King James"});
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
    ASSERT_EQ(t.books.size(), 2u);
    EXPECT_EQ(t.names(), (QStringList{"Genesis", "02 Exodus"})); // "01 " lost with the missing BOM
    // The lost number gives the first book the key its name now begins with.
    EXPECT_EQ(t.books[0].key, "GeO");
    EXPECT_EQ(t.books[0].number, 0);
    EXPECT_EQ(t.books[0].tableKey, "01O");
    const Book& exodus = t.books[1];
    EXPECT_EQ(exodus.row, 1);
    EXPECT_EQ(exodus.number, 2);
    EXPECT_EQ(exodus.key, "02O");
    EXPECT_EQ(exodus.tableKey, "02O");
    EXPECT_EQ(exodus.chapterCount, 1);
    EXPECT_EQ(t.verseCount(t.books[0], 2), 3);
    EXPECT_EQ(t.verseCount(exodus, 1), 4);
    EXPECT_EQ(t.verseCount(exodus, 2), 0) << "no row";
    EXPECT_EQ(t.bookByNumber(2), &exodus);
    EXPECT_EQ(t.bookByNumber(1), nullptr);
}

// The testament file of a book: 40 to 66 the New Testament's, every other number the Old's.
TEST_F(BibleStoreTest, testamentOfBookNumbers) {
    for (const int number : {0, 1, 39, 67, 100})
        EXPECT_EQ(testamentOf(number), Testament::Old) << number;
    for (const int number : {40, 66})
        EXPECT_EQ(testamentOf(number), Testament::New) << number;
}

TEST_F(BibleStoreTest, linesWithTooFewTabsAreSkipped) {
    writeBytes(data() + "/Bible/X/Livre_chap.txt",
               "\xEF\xBB\xBF"
               "01 A\t01O\t1\tA\tLaw\r\nbroken\tline\r\n02 B\t02O\tx\tB\tLaw\r\n03 C\t03O\t0\tC\r\n");
    writeBytes(data() + "/Bible/X/Chap_verset.txt", "01O\t1\t3\r\n01O\t2\r\n\r\n02O\t1\t5\r\n");
    const BookTables t = LoadBookTables(data(), "X");
    EXPECT_EQ(t.names(), (QStringList{"01 A", "02 B"}));
    EXPECT_EQ(t.books[0].className, "Law");
    EXPECT_EQ(t.books[1].className, "Law");
    EXPECT_EQ(t.verseCount(t.books[0], 1), 3);
    EXPECT_EQ(t.verseCount(t.books[0], 2), 0) << "its line has too few tabs";
    EXPECT_EQ(t.books[0].chapterCount, 1);
    EXPECT_EQ(t.books[1].chapterCount, 0); // "x" is not a number
    EXPECT_EQ(t.bookAt(7), nullptr);
}

// The version a place names: its code compared whole, not found inside a longer code or a name.
TEST(VersionRow, codeMatchesWholeIgnoringCase_preferringTheRowShown) {
    const QStringList rows{"KJV - King James", "NKJV - New King James", "LSG - Louis Segond",
                           "lsg - Louis Segond (copy)", "WEB - after KJV - x"};
    const struct {
        const char* name;
        QByteArray code;
        int preferred;
        std::optional<int> row;
    } cases[] = {
        {"exact code", "KJV", -1, 0},
        {"letter case ignored", "nkjv", -1, 1},
        {"the last of two rows with the code", "LSG", -1, 3},
        {"the row shown when it has the code", "LSG", 2, 2},
        {"the row shown without the code is passed over", "KJV", 1, 0},
        {"a code inside another row's text is no match", "after KJV", -1, std::nullopt},
        {"unknown code", "XYZ", 0, std::nullopt},
        {"empty code", "", 0, std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(versionRow(rows, c.code, c.preferred), c.row);
    }
}
