#include "bible/search/versionsearch.h"
#include "bible/searchfixture.h"
#include "common/lines.h"
#include "common/text.h"

#include <QFile>

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>

using namespace lumora::bible;
using lumora::session::PassageRef;
using lumora::testing::TempFolder;
using lumora::testing::writeBytes;

namespace {

const QByteArray bom("\xEF\xBB\xBF");

QByteArrayList keysOf(const QList<SearchHit>& hits) {
    QByteArrayList out;
    for (const SearchHit& h : hits)
        out << h.verseKey().toByteArray();
    return out;
}

QStringList bookNames(const QString& prefix, int count = 66) {
    QStringList names;
    for (int b = 1; b <= count; ++b)
        names << prefix + QString::number(b);
    return names;
}

} // namespace

// letter case and lines: the whole line is searched, each line with a hit is listed once, lone
// LF, lone CR and CR LF each end a line, and a line without four tabs is no hit
TEST(SearchBookBytes, caseFoldsOnlyAsciiLetters_eachLineIsListedOnce_anyLineEndEndsALine) {
    const struct {
        const char* name;
        QByteArray lines, needle;
        QByteArrayList keys;
    } cases[] = {
        {"a lower-case word finds the capitalised and the capitals",
         "01O\t1\t1\t0\tThe Lord\r\n01O\t1\t2\t0\tLORD of all\r\n01O\t1\t3\t0\tnone\r\n",
         "lord",
         {"01O\t1\t1", "01O\t1\t2"}},
        {"an accented lower letter does not find its capital",
         "01O\t1\t1\t0\t\xC3\x89glise\r\n01O\t1\t2\t0\t\xC3\xA9glise\r\n",
         "\xC3\xA9GLISE",
         {"01O\t1\t2"}},
        // '[' and '{', '@' and '`' differ only in the bit that separates A from a.
        {"brackets differing by the case bit", "01O\t1\t1\t0\t{x}\r\n01O\t1\t2\t0\t@x\r\n", "[x]", {}},
        {"at and grave differing by the case bit", "01O\t1\t1\t0\t{x}\r\n01O\t1\t2\t0\t@x\r\n", "`X", {}},
        {"a verse with two occurrences is listed once",
         "01O\t1\t1\t0\tlight and light and LIGHT\r\n01O\t1\t2\t0\tlight\r\n",
         "light",
         {"01O\t1\t1", "01O\t1\t2"}},
        {"every kind of line end",
         "01O\t1\t1\t0\tx\n01O\t1\t2\t0\tx\r01O\t1\t3\t0\tx\r\n01O\t1\t4\t0\tx",
         "x",
         {"01O\t1\t1", "01O\t1\t2", "01O\t1\t3", "01O\t1\t4"}},
        // It would only match across two lines.
        {"a needle holding a line end",
         "01O\t1\t1\t0\tx\n01O\t1\t2\t0\tx\r01O\t1\t3\t0\tx\r\n01O\t1\t4\t0\tx",
         "x\n01O",
         {}},
        {"the key is searched too, lines without four tabs are no hits",
         "40N\t1\t1\t0\tword\r\n40N word without tabs\r\n40N\t1\t2\t0\r\n",
         "40n",
         {"40N\t1\t1"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(keysOf(searchBookBytes(bom + c.lines, c.needle)), c.keys);
    }
}

TEST(SearchBookBytes, hitOnFirstLineAfterBom_isFound) {
    const QByteArray data = bom + "01O\t1\t1\t0\tAlpha\r\n01O\t1\t2\t0\tBeta\r\n";
    const auto hits = searchBookBytes(data, "01o\t1\t1");
    ASSERT_EQ(hits.size(), 1);
    EXPECT_EQ(hits[0].verseKey(), "01O\t1\t1");
    EXPECT_EQ(hits[0].ref, (PassageRef{"", 1, 1, 1, 1}));
    // The mark itself is no text of the line.
    EXPECT_TRUE(searchBookBytes(data, QByteArray("\xBB\xBF") + "01O").isEmpty());
}

// blank text

TEST(SearchBlank, emptyOneAndThreeBlanks_areNoSearch_butTwoAndFourAre_andTwoFindTwoBlanks) {
    for (const auto& [text, blank] :
         {std::pair{"", true}, {" ", true}, {"   ", true}, {"  ", false}, {"    ", false}})
        EXPECT_EQ(isBlankSearch(text), blank) << '"' << text << '"';
    // Two blanks are searched like any text.
    const QByteArray data = bom + "01O\t1\t1\t0\tone  two\r\n01O\t1\t2\t0\tone two\r\n";
    EXPECT_EQ(keysOf(searchBookBytes(data, "  ")), QByteArrayList{"01O\t1\t1"});
}

// display line and key

TEST(SearchHitText, display_usesTheVersionsBookName) {
    QStringList names = bookNames("B");
    names[42] = QStringLiteral("Jean");
    const auto hits = searchBookBytes(bom + "43N\t3\t16\t0\tcar Dieu\r\n", "dieu");
    ASSERT_EQ(hits.size(), 1);
    EXPECT_EQ(searchDisplayLine(hits[0], names), QStringLiteral("Jean 3.16-16"));
}

TEST(SearchHitText, bookWithoutName_showsItsKey_andThreeDigitBooksKeepTheirNumber) {
    const QStringList names = bookNames("B", 100);
    const auto hits = searchBookBytes(bom + "100O\t2\t5\t0\tx\r\n120O\t1\t1\t0\tx\r\n", "x");
    ASSERT_EQ(hits.size(), 2);
    EXPECT_EQ(hits[0].ref.book, 100);
    EXPECT_EQ(searchDisplayLine(hits[0], names), QStringLiteral("B100 2.5-5"));
    EXPECT_EQ(searchDisplayLine(hits[1], names), QStringLiteral("120O 1.1-1"));
}

TEST(SearchHitText, keysLongerThanUsual_areKeptWhole) {
    const QByteArray longChapter(40, '7');
    const auto hits = searchBookBytes(bom + "40N\t" + longChapter + "\t3\t0\tx\r\n", "x");
    ASSERT_EQ(hits.size(), 1);
    EXPECT_EQ(hits[0].verseKey(), "40N\t" + longChapter + "\t3");
    EXPECT_EQ(hits[0].chapter(), longChapter);
    EXPECT_EQ(hits[0].verse(), "3");
    EXPECT_FALSE(hits[0].leadsToVerse()) << "a chapter too large for a number names no place";
}

// Where a hit leads: the numbers of its fields, or no place when one is not a number from 1 up.
TEST(SearchHitPlace, fieldsGiveBookChapterAndVerse_andBrokenFieldsLeadNowhere) {
    const struct {
        const char* name;
        QByteArray line;
        bool leads;
        PassageRef ref;
    } cases[] = {
        {"the usual key", "43N\t3\t16", true, {"", 43, 3, 16, 16}},
        {"three-digit book and chapter", "100O\t150\t176", true, {"", 100, 150, 176, 176}},
        {"leading zeros and blanks", "07O\t 03\t+9", true, {"", 7, 3, 9, 9}},
        {"digits followed by letters", "12O\t4b\t5a", true, {"", 12, 4, 5, 5}},
        {"book 00", "00O\t1\t1", false, {"", 0, 1, 1, 1}},
        {"book without digits", "XO\t1\t1", false, {"", 0, 1, 1, 1}},
        {"chapter 0", "43N\t0\t16", false, {"", 43, 0, 16, 16}},
        {"verse not a number", "43N\t3\tx", false, {"", 43, 3, 0, 0}},
        {"negative verse", "43N\t3\t-2", false, {"", 43, 3, 0, 0}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto hits = searchBookBytes(bom + c.line + "\t0\tword\r\n", "word");
        ASSERT_EQ(hits.size(), 1);
        EXPECT_EQ(hits[0].ref, c.ref);
        EXPECT_EQ(hits[0].leadsToVerse(), c.leads);
    }
}

// whole version

TEST(SearchVersion, oldTestamentHitsComeFirst_inFileOrder) {
    TempFolder tmp;
    lumora::testing::writeSearchBible(
        tmp.path(),
        {{"66N\t1\t1", "Amen"}, {"02O\t3\t4", "amen"}, {"40N\t1\t2", "AMEN"}, {"01O\t2\t1", "amen amen"}});
    const VersionSearch s = SearchVersion(tmp.path(), "AAA", bookNames("N"), "amen");
    EXPECT_EQ(s.display, (QStringList{"N1 2.1-1", "N2 3.4-4", "N40 1.2-2", "N66 1.1-1"}));
    EXPECT_EQ(s.hits.first().ref, (PassageRef{"AAA", 1, 2, 1, 1}));
    EXPECT_EQ(s.hits.last().ref, (PassageRef{"AAA", 66, 1, 1, 1}));
    EXPECT_TRUE(s.unreadable.isEmpty());
}

TEST(SearchVersion, unreadableOldTestament_isReported_andNewTestamentStillSearched) {
    TempFolder tmp;
    lumora::testing::writeSearchBible(tmp.path(), {{"40N\t1\t2", "amen"}, {"02O\t3\t4", "amen"}});
    const QString ot = tmp.file(QStringLiteral("Bible/AAA/AAA-O.txt"));
    ASSERT_TRUE(QFile::remove(ot));
    const VersionSearch s = SearchVersion(tmp.path(), "AAA", {}, "amen");
    EXPECT_EQ(s.unreadable, QStringList{ot});
    EXPECT_EQ(keysOf(s.hits), QByteArrayList{"40N\t1\t2"});
    EXPECT_FALSE(SearchBookFile(ot, "amen").opened);
}

// repeated searches: "amen" in 01O 1:1 of AAA and in 02O 1:1 of bbb, AAA's Old Testament file
// written again as `bytes` with the modification time it had, moved on by `later`
namespace {

class SearchCacheTest : public ::testing::Test {
  protected:
    void SetUp() override {
        lumora::testing::writeSearchBible(tmp.path(), {{"01O\t1\t1", "amen"}, {"40N\t1\t1", "word"}},
                                          {{"02O\t1\t1", "amen"}});
        amenless = *lumora::common::readWholeFile(ot);
        amenless.replace("amen", "omen");
    }
    QByteArrayList amenKeys(SearchFileCache* with = nullptr) const {
        return keysOf(SearchVersion(tmp.path(), "AAA", {}, "amen", with).hits);
    }
    void rewrite(const QByteArray& bytes, std::chrono::seconds later = {}) {
        const std::filesystem::path path(QFile::encodeName(ot).toStdString());
        const auto when = std::filesystem::last_write_time(path);
        writeBytes(ot, bytes);
        std::filesystem::last_write_time(path, when + later);
    }
    TempFolder tmp;
    const QString ot = tmp.file(QStringLiteral("Bible/AAA/AAA-O.txt"));
    QByteArray amenless;
    SearchFileCache cache;
};

} // namespace

TEST_F(SearchCacheTest, aFileKeptAtTheSameSizeAndTimeIsNotReadAgain) {
    EXPECT_EQ(amenKeys(&cache), QByteArrayList{"01O\t1\t1"});
    // Same length, same time: the kept bytes are searched.
    rewrite(amenless);
    EXPECT_EQ(amenKeys(&cache), QByteArrayList{"01O\t1\t1"});
    // Without the cache the file on disk is what counts.
    EXPECT_TRUE(amenKeys().isEmpty());
}

TEST_F(SearchCacheTest, aFileChangedInTimeOrSizeIsReadAgain) {
    ASSERT_EQ(amenKeys(&cache).size(), 1);
    rewrite(amenless, std::chrono::seconds(5));
    EXPECT_TRUE(amenKeys(&cache).isEmpty());
    rewrite(amenless + "01O\t1\t2\t0\tamen\r\n");
    EXPECT_EQ(amenKeys(&cache), QByteArrayList{"01O\t1\t2"});

    // A file gone is reported, however it was kept.
    ASSERT_TRUE(QFile::remove(ot));
    const VersionSearch gone = SearchVersion(tmp.path(), "AAA", {}, "amen", &cache);
    EXPECT_EQ(gone.unreadable, QStringList{ot});
    EXPECT_TRUE(gone.hits.isEmpty());
}

TEST_F(SearchCacheTest, anotherVersionIsSearchedInItsOwnFiles) {
    EXPECT_EQ(amenKeys(&cache), QByteArrayList{"01O\t1\t1"});
    const VersionSearch other = SearchVersion(tmp.path(), "bbb", {}, "amen", &cache);
    EXPECT_EQ(keysOf(other.hits), QByteArrayList{"02O\t1\t1"});
    EXPECT_EQ(other.hits.first().ref.version, "bbb") << "the hit leads into the version searched";
    EXPECT_EQ(amenKeys(&cache), QByteArrayList{"01O\t1\t1"});
}
