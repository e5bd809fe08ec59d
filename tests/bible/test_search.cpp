#include "bible/search/versionsearch.h"
#include "support/biblefixture.h"
#include "support/clirun.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <chrono>
#include <filesystem>

using namespace lumora::bible;
using namespace lumora::testing;
using lumora::session::PassageRef;

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

// Versions "AAA - Alpha" and "bbb - Beta" of 66 books of 3 chapters of 16 verses, books named
// "01 Book1".. in AAA and "01 Livre1".. in bbb, where book 43 is "43 Jean"; `alpha` and `beta` give
// some verses of each other texts, by book, chapter and verse.
using VerseTexts = std::map<std::tuple<int, int, int>, QByteArray>;

void writeSearchBible(const QString& data, const VerseTexts& alpha, const VerseTexts& beta = {}) {
    const auto version = [&data](const QByteArray& code, const QString& prefix, const VerseTexts& texts) {
        std::vector<FixtureBook> books = fixtureBooks(3, 16);
        for (FixtureBook& b : books)
            b.name = prefix + QString::number(b.number);
        if (prefix == "Livre") books[42].name = QStringLiteral("Jean");
        FixtureOptions o;
        o.text = [texts](int b, int c, int v) {
            const auto it = texts.find({b, c, v});
            return it == texts.end() ? fixtureVerseText(b, c, v) : it->second;
        };
        writeFixtureVersion(data, code, books, o);
    };
    version("AAA", "Book", alpha);
    version("bbb", "Livre", beta);
    writeBytes(data + "/Bible/Version.txt", bom + "AAA - Alpha\r\nbbb - Beta\r\n");
}

} // namespace

// letter case and lines: the whole line is searched (the byte-order mark is not), each line with a
// hit is listed once, lone LF, lone CR and CR LF each end a line, and a line without four tabs is
// no hit; some blanks are no search
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
        {"the first line after the mark",
         "01O\t1\t1\t0\tAlpha\r\n01O\t1\t2\t0\tBeta\r\n",
         "01o\t1\t1",
         {"01O\t1\t1"}},
        {"the mark is no text of the line",
         "01O\t1\t1\t0\tAlpha\r\n",
         "\xBB\xBF"
         "01O",
         {}},
        {"two blanks are searched like any text",
         "01O\t1\t1\t0\tone  two\r\n01O\t1\t2\t0\tone two\r\n",
         "  ",
         {"01O\t1\t1"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(keysOf(searchBookBytes(bom + c.lines, c.needle)), c.keys);
    }
    // Empty text, one blank and three blanks are no search at all; two and four are.
    for (const auto& [text, blank] :
         {std::pair{"", true}, {" ", true}, {"   ", true}, {"  ", false}, {"    ", false}})
        EXPECT_EQ(isBlankSearch(text), blank) << '"' << text << '"';
}

// Where a hit leads: the numbers of its fields, or no place when one is not a number from 1 up; its
// display line names the book as the version does, or shows the key's first field when the book
// has no name, and keeps the fields as the file writes them.
TEST(SearchHit, fieldsGiveThePlaceAndTheDisplayLine_brokenFieldsLeadNowhere) {
    QStringList names = bookNames("B", 100);
    names[42] = QStringLiteral("Jean");
    const QByteArray longChapter(40, '7');
    const struct {
        const char* name;
        QByteArray key;
        bool leads;
        PassageRef ref;
        QString display;
    } cases[] = {
        {"the usual key", "43N\t3\t16", true, {"", 43, 3, 16, 16}, "Jean 3.16-16"},
        {"three-digit book and chapter",
         "100O\t150\t176",
         true,
         {"", 100, 150, 176, 176},
         "B100 150.176-176"},
        {"a book without a name", "120O\t1\t1", true, {"", 120, 1, 1, 1}, "120O 1.1-1"},
        {"leading zeros and blanks", "07O\t 03\t+9", true, {"", 7, 3, 9, 9}, "B7  03.+9-+9"},
        {"digits followed by letters", "12O\t4b\t5a", true, {"", 12, 4, 5, 5}, "B12 4b.5a-5a"},
        {"book 00", "00O\t1\t1", false, {"", 0, 1, 1, 1}, "00O 1.1-1"},
        {"book without digits", "XO\t1\t1", false, {"", 0, 1, 1, 1}, "XO 1.1-1"},
        {"chapter 0", "43N\t0\t16", false, {"", 43, 0, 16, 16}, "Jean 0.16-16"},
        {"verse not a number", "43N\t3\tx", false, {"", 43, 3, 0, 0}, "Jean 3.x-x"},
        {"negative verse", "43N\t3\t-2", false, {"", 43, 3, 0, 0}, "Jean 3.-2--2"},
        {"a chapter too large for a number, kept whole",
         "40N\t" + longChapter + "\t3",
         false,
         {"", 40, 0, 3, 3},
         "B40 " + longChapter + ".3-3"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto hits = searchBookBytes(bom + c.key + "\t0\tword\r\n", "word");
        ASSERT_EQ(hits.size(), 1);
        EXPECT_EQ(hits[0].ref, c.ref);
        EXPECT_EQ(hits[0].leadsToVerse(), c.leads);
        EXPECT_EQ(hits[0].verseKey(), c.key);
        EXPECT_EQ(searchDisplayLine(hits[0], names), c.display);
    }
}

// whole version: the Old Testament's hits first, each file in its order; an unreadable file is
// reported and the other still searched
TEST(SearchVersion, oldTestamentHitsComeFirst_anUnreadableFileIsReported) {
    TempFolder tmp;
    writeSearchBible(
        tmp.path(),
        {{{66, 1, 1}, "Amen"}, {{2, 3, 4}, "amen"}, {{40, 1, 2}, "AMEN"}, {{1, 2, 1}, "amen amen"}});
    const VersionSearch s = SearchVersion(tmp.path(), "AAA", bookNames("N"), "amen");
    EXPECT_EQ(s.display, (QStringList{"N1 2.1-1", "N2 3.4-4", "N40 1.2-2", "N66 1.1-1"}));
    EXPECT_EQ(s.hits.first().ref, (PassageRef{"AAA", 1, 2, 1, 1}));
    EXPECT_EQ(s.hits.last().ref, (PassageRef{"AAA", 66, 1, 1, 1}));
    EXPECT_TRUE(s.unreadable.isEmpty());

    const QString ot = tmp.file(QStringLiteral("Bible/AAA/AAA-O.txt"));
    ASSERT_TRUE(QFile::remove(ot));
    const VersionSearch without = SearchVersion(tmp.path(), "AAA", {}, "amen");
    EXPECT_EQ(without.unreadable, QStringList{ot});
    EXPECT_EQ(keysOf(without.hits), (QByteArrayList{"40N\t1\t2", "66N\t1\t1"}));
    EXPECT_FALSE(SearchBookFile(ot, "amen").opened);
}

// repeated searches: a testament file kept at the same size and time is not read again, one changed
// in either is read again; another version is searched in its own files
TEST(SearchCache, aFileKeptAtTheSameSizeAndTimeIsNotReadAgain_oneChangedInEitherIs) {
    TempFolder tmp;
    writeSearchBible(tmp.path(), {{{1, 1, 1}, "amen"}}, {{{2, 1, 1}, "amen"}});
    const QString ot = tmp.file(QStringLiteral("Bible/AAA/AAA-O.txt"));
    const QByteArray amenless = readBytes(ot).replace("amen", "omen");
    SearchFileCache cache;
    const auto amenKeys = [&](SearchFileCache* with) {
        return keysOf(SearchVersion(tmp.path(), "AAA", {}, "amen", with).hits);
    };
    // AAA's Old Testament file written again as `bytes` with the time it had, moved on by `later`
    const auto rewrite = [&ot](const QByteArray& bytes, std::chrono::seconds later) {
        const std::filesystem::path path(QFile::encodeName(ot).toStdString());
        const auto when = std::filesystem::last_write_time(path);
        writeBytes(ot, bytes);
        std::filesystem::last_write_time(path, when + later);
    };
    EXPECT_EQ(amenKeys(&cache), QByteArrayList{"01O\t1\t1"});
    const VersionSearch other = SearchVersion(tmp.path(), "bbb", {}, "amen", &cache);
    EXPECT_EQ(keysOf(other.hits), QByteArrayList{"02O\t1\t1"});
    EXPECT_EQ(other.hits.first().ref.version, "bbb") << "the hit leads into the version searched";
    EXPECT_EQ(amenKeys(&cache), QByteArrayList{"01O\t1\t1"});
    rewrite(amenless, {});
    EXPECT_EQ(amenKeys(&cache), QByteArrayList{"01O\t1\t1"}) << "same length, same time: the bytes kept";
    EXPECT_TRUE(amenKeys(nullptr).isEmpty()) << "without the cache the file on disk counts";

    rewrite(amenless, std::chrono::seconds(5));
    EXPECT_TRUE(amenKeys(&cache).isEmpty());
    rewrite(amenless + "01O\t1\t2\t0\tamen\r\n", {});
    EXPECT_EQ(amenKeys(&cache), QByteArrayList{"01O\t1\t2"});
    // A file gone is reported, however it was kept.
    ASSERT_TRUE(QFile::remove(ot));
    const VersionSearch gone = SearchVersion(tmp.path(), "AAA", {}, "amen", &cache);
    EXPECT_EQ(gone.unreadable, QStringList{ot});
    EXPECT_TRUE(gone.hits.isEmpty());
}

// lumora-cli search lists the hits as the drop-down does, in the version asked for (its code in
// any case), its JSON key adding the verse again and the version's row
TEST(SearchCli, listsTheHitsOfTheVersionAskedFor_blankTextAndNoHitPrintNothing) {
    TempFolder tmp;
    writeSearchBible(tmp.path(), {{{43, 3, 16}, "For God so loved"}, {{1, 1, 1}, "god"}},
                     {{{43, 3, 16}, "Car Dieu a tant aim\xC3\xA9"}});
    const auto cli = [&tmp](const QStringList& rest) {
        return runCli(QStringList{"--data", tmp.path(), "search"} + rest);
    };
    CliResult r = cli({"GOD"});
    EXPECT_EQ(r.exitCode, 0) << r.err.constData();
    EXPECT_EQ(r.out, QByteArray("01 Book1 1.1-1\n43 Book43 3.16-16\n"));

    r = cli({"--version", "BBB", "--json", QStringLiteral("aim\u00e9")});
    ASSERT_EQ(r.exitCode, 0) << r.err.constData();
    const QJsonArray a = QJsonDocument::fromJson(r.out).array();
    ASSERT_EQ(a.size(), 1);
    EXPECT_EQ(a[0].toObject()["display"].toString(), "43 Jean 3.16-16");
    EXPECT_EQ(a[0].toObject()["key"].toString(), "43N\t3\t16\t16\t1");

    EXPECT_EQ(cli({" "}).out, QByteArray());
    r = cli({"--json", "zzzz"});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(QJsonDocument::fromJson(r.out).array().size(), 0);
    r = cli({"--version", "XYZ", "god"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.err.count('\n'), 1);
    EXPECT_EQ(r.out, QByteArray());
}
