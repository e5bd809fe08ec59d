#include "hymns/hymnentry.h"
#include "hymns/hymnstore.h"

#include "hymnfixture.h"

#include <QDir>

#include <gtest/gtest.h>

using namespace lumora::hymns;
using namespace lumora::testing;

namespace {

const QByteArray kBom = "\xEF\xBB\xBF";

// --- entries

TEST(HymnEntry, splitsNineFields_extraTabsBelongToTheBook) {
    const auto f = SplitHymnEntry(QByteArray("1 - A\tco\tau\tG\tx\tPraise\tJoy\tOld\tBook\textra"));
    ASSERT_TRUE(f);
    EXPECT_EQ(f->label, "1 - A");
    EXPECT_EQ(f->tonality, "G");
    EXPECT_EQ(f->theme, "Praise");
    EXPECT_EQ(f->subTheme, "Joy");
    EXPECT_EQ(f->book, "Book\textra");
}

TEST(HymnEntry, fewerThanEightTabs_doesNotSplit) {
    EXPECT_FALSE(SplitHymnEntry(QByteArray("1 - A\tco\tau\tG\tx\tPraise\tJoy\tOld")));
    EXPECT_FALSE(ShowHymnInfo(QStringLiteral("no tabs at all")));
}

TEST(HymnEntry, infoBlock_fourLinesInOrder) {
    const QString entry = QString::fromUtf8(hymnEntry("1 - A", "T", "S", "B", "Tune é", "Bach", "Luther", "D"));
    EXPECT_EQ(ShowHymnInfo(entry).value(),
              QStringLiteral("AIR OF : Tune é\r\nTONALITY : D\r\nAUTHOR : Luther\r\nCOMPOSER : Bach"));
}

TEST(HymnEntry, numbers) {
    EXPECT_EQ(HymnNumber(QStringLiteral("12 - Amen - x")), QStringLiteral("12"));
    EXPECT_EQ(HymnNumber(QStringLiteral("12 -Amen")), QString());
    EXPECT_EQ(labelNumberForMedia(QStringLiteral("12 -Amen")).value(), QStringLiteral("12"));
    EXPECT_FALSE(labelNumberForMedia(QStringLiteral("12 Amen")));
}

// --- book list and Theme.txt

TEST(HymnBooks, listsBooksWithEntries_andSkipsEverythingElse) {
    HymnData d;
    d.hira(QStringLiteral("Alpha"), crlfLines({hymnEntry("1 - A", "Praise", "Joy", "Alpha")}));
    d.hira(QStringLiteral("Dotted.book"), crlfLines({hymnEntry("1 - A", "Praise", "Joy", "Dotted")}));
    d.hira(QStringLiteral("lower"), QByteArray());  // empty Hira.txt: no theme
    QDir().mkpath(d.file(QStringLiteral("Cantiques/Favori")));
    writeBytes(d.file(QStringLiteral("Cantiques/NoExtension")), "not a book");
    writeBytes(d.file(QStringLiteral("Cantiques/Lumora_Clavier_Midi.exe")), "exe");
    // Hira.txt found whatever its letter case.
    writeBytes(d.file(QStringLiteral("Cantiques/beta/HIRA.TXT")), crlfLines({hymnEntry("2 - B", "Grace", "", "Beta")}));
    EXPECT_EQ(LoadHymnBooks(d.cantiques()), (QStringList{QStringLiteral("Alpha"), QStringLiteral("Beta")}));
}

TEST(HymnBooks, listedUnderBookFieldOfTheLastLine) {
    HymnData d;
    d.hira(QStringLiteral("Folder"), crlfLines({hymnEntry("1 - A", "T", "S", "First"), hymnEntry("2 - B", "T", "S", "Last é")}));
    EXPECT_EQ(LoadHymnBooks(d.cantiques()), QStringList{QStringLiteral("Last é")});
}

TEST(HymnBooks, lastLineThatDoesNotSplit_bookNotListed) {
    HymnData d;
    d.hira(QStringLiteral("Blank"), crlfLines({hymnEntry("1 - A", "T", "S", "Blank"), ""}));
    d.hira(QStringLiteral("Short"), crlfLines({hymnEntry("1 - A", "T", "S", "Short"), "2 - B\tonly"}));
    d.hira(QStringLiteral("Fine"), crlfLines({"2 - B\tonly", hymnEntry("1 - A", "T", "S", "Fine")}));
    EXPECT_EQ(LoadHymnBooks(d.cantiques()), QStringList{QStringLiteral("Fine")});
    EXPECT_FALSE(QFile::exists(d.bookFile(QStringLiteral("Blank"), QStringLiteral("Theme.txt"))));
}

TEST(HymnBooks, themeFile_distinctThemesInFirstOrder_exactBytes) {
    HymnData d;
    d.hira(QStringLiteral("B"), kBom + crlfLines({hymnEntry("1 - A", "Praise", "x", "B"),
                                                 hymnEntry("2 - B", "Noël", "x", "B"),
                                                 "3 - rejected\tPraise2",  // fewer than 8 tabs: no theme
                                                 hymnEntry("4 - C", "Praise", "x", "B"),
                                                 hymnEntry("5 - D", "praise", "x", "B")}));
    // A hand-edited theme file under another letter case is replaced, not doubled.
    writeBytes(d.bookFile(QStringLiteral("B"), QStringLiteral("theme.txt")), "stale");
    ASSERT_EQ(LoadHymnBooks(d.cantiques()).size(), 1);
    EXPECT_EQ(readBytes(d.bookFile(QStringLiteral("B"), QStringLiteral("theme.txt"))),
              kBom + "Praise\r\nNo\xC3\xABl\r\npraise\r\n");
    EXPECT_EQ(QDir(d.file(QStringLiteral("Cantiques/B"))).entryList(QDir::Files).size(), 2);
    EXPECT_EQ(readThemes(d.cantiques(), QStringLiteral("B")).value(),
              (QStringList{QStringLiteral("Praise"), QStringLiteral("Noël"), QStringLiteral("praise")}));
}

TEST(HymnBooks, themeContainedInAnotherTheme_isStillItsOwnTheme) {
    // The running key text pads each theme with two spaces, so only whole values are equal.
    HymnData d;
    d.hira(QStringLiteral("B"), crlfLines({hymnEntry("1 - A", "Grace and Joy", "x", "B"), hymnEntry("2 - B", "Joy", "x", "B")}));
    LoadHymnBooks(d.cantiques());
    EXPECT_EQ(readThemes(d.cantiques(), QStringLiteral("B")).value().size(), 2);
}

TEST(HymnBooks, unsafeBookNames_areNeverOpened) {
    HymnData d;
    EXPECT_FALSE(hymnPath(d.cantiques(), QStringLiteral("..")));
    EXPECT_FALSE(hymnPath(d.cantiques(), QStringLiteral("a/../../etc")));
    EXPECT_FALSE(hymnPath(d.cantiques(), QStringLiteral("B"), {QStringLiteral("..\\x")}));
    EXPECT_FALSE(readThemes(d.cantiques(), QStringLiteral("..")));
}

// --- the list filters

class HymnFilters : public ::testing::Test {
protected:
    void SetUp() override {
        d.hira(QStringLiteral("B"), kBom + crlfLines({
                                               hymnEntry("1 - One", "Praise", "Christmas Eve", "B"),
                                               hymnEntry("2 - Two", "Praise", "Christmas", "B"),  // contained: not listed
                                               hymnEntry("3 - Three", "Prayer", "Morning", "B"),
                                               hymnEntry("4 - Four", "Grace", "Evening", "B", "Praise tune"),
                                               hymnEntry("5 - Five", "PRAISE", "", "B"),
                                               hymnEntry("6 - Six", "praise", "night", "B"),
                                               "7 - Short\tc\ta\tk\tx\tPraise\tEvening",  // 6 tabs
                                           }));
    }
    HymnData d;
    const QString b = QStringLiteral("B");
};

TEST_F(HymnFilters, subThemes_substringMatchOverLaterFields_containedValuesDropped) {
    // "Four" matches Praise through its tune; "Christmas" lies inside "Christmas Eve", and the
    // short entry's "Evening" was met before; empty sub-themes never appear.
    EXPECT_EQ(subThemes(d.cantiques(), b, QStringLiteral("praise")),
              (QStringList{QStringLiteral("Christmas Eve"), QStringLiteral("Evening"), QStringLiteral("night")}));
    EXPECT_EQ(subThemes(d.cantiques(), b, QStringLiteral("Prayer")), QStringList{QStringLiteral("Morning")});
    EXPECT_TRUE(subThemes(d.cantiques(), b, QStringLiteral("Absent")).isEmpty());
}

TEST_F(HymnFilters, subThemeDedup_ignoresCaseAndSpansConcatenation) {
    HymnData e;
    e.hira(b, crlfLines({hymnEntry("1 - A", "T", "ab", "B"), hymnEntry("2 - B", "T", "CD", "B"), hymnEntry("3 - C", "T", "bc", "B")}));
    EXPECT_EQ(subThemes(e.cantiques(), b, QStringLiteral("T")), (QStringList{QStringLiteral("ab"), QStringLiteral("CD")}));
}

TEST_F(HymnFilters, hymnList_bothThemesAsSubstrings_fileOrder_entriesBehindLabels) {
    const HymnList l = hymnList(d.cantiques(), b, QStringLiteral("Praise"), QStringLiteral("Christmas"));
    EXPECT_EQ(l.labels, (QStringList{QStringLiteral("1 - One"), QStringLiteral("2 - Two")}));
    ASSERT_EQ(l.entries.size(), 2);
    EXPECT_EQ(l.entries.at(0), QString::fromUtf8(hymnEntry("1 - One", "Praise", "Christmas Eve", "B")));  // BOM dropped
    EXPECT_EQ(hymnList(d.cantiques(), b, QStringLiteral("Praise"), QStringLiteral("Evening")).labels,
              (QStringList{QStringLiteral("4 - Four"), QStringLiteral("7 - Short")}));
}

TEST_F(HymnFilters, missingFiles_giveEmptyLists) {
    EXPECT_FALSE(readThemes(d.cantiques(), QStringLiteral("Nope")));
    EXPECT_TRUE(subThemes(d.cantiques(), QStringLiteral("Nope"), QStringLiteral("x")).isEmpty());
    EXPECT_TRUE(hymnList(d.cantiques(), QStringLiteral("Nope"), QStringLiteral("x"), QStringLiteral("y")).labels.isEmpty());
}

// --- search

TEST(HymnSearch, hitsInBookOrderThenFileOrder_caseIgnored_wholeEntrySearched) {
    HymnData d;
    d.hira(QStringLiteral("A"), kBom + crlfLines({hymnEntry("1 - Élan", "T", "S", "A"), hymnEntry("2 - x", "T", "S", "A", "t", "Bach")}));
    d.hira(QStringLiteral("B"), crlfLines({hymnEntry("9 - bach", "T", "S", "B"), "no tab bach"}));
    const QStringList books{QStringLiteral("B"), QStringLiteral("Missing"), QStringLiteral("A")};
    const HymnList hits = searchHymns(d.cantiques(), books, QStringLiteral("BACH"));
    EXPECT_EQ(hits.labels, (QStringList{QStringLiteral("9 - bach"), QStringLiteral("2 - x")}));
    EXPECT_EQ(hits.entries.at(1), QString::fromUtf8(hymnEntry("2 - x", "T", "S", "A", "t", "Bach")));
    EXPECT_EQ(searchHymns(d.cantiques(), books, QStringLiteral("élan")).labels, QStringList{QStringLiteral("1 - Élan")});
}

TEST(HymnSearch, emptyText_matchesEveryEntryWithATab) {
    HymnData d;
    d.hira(QStringLiteral("A"), crlfLines({hymnEntry("1 - a", "T", "S", "A"), "", "short\tline"}));
    EXPECT_EQ(searchHymns(d.cantiques(), {QStringLiteral("A")}, QString()).labels,
              (QStringList{QStringLiteral("1 - a"), QStringLiteral("short")}));
}

} // namespace
