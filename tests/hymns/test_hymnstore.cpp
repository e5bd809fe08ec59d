// The hymn books' entries, theme files, list filters and search, and lumora-cli hymns over them.

#include "hymns/hymnentry.h"
#include "hymns/hymnstore.h"

#include "hymnfixture.h"
#include "support/clirun.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <gtest/gtest.h>

#include <sys/stat.h>

using namespace lumora::hymns;
using namespace lumora::testing;

namespace {

const QByteArray kBom = "\xEF\xBB\xBF";

// --- entries

TEST(HymnEntry, splitsNineFieldsAndShowsTheInfoBlock) {
    const auto f = SplitHymnEntry(QByteArray("1 - A\tco\tau\tG\tx\tPraise\tJoy\tOld\tBook\textra"));
    ASSERT_TRUE(f);
    EXPECT_EQ((QByteArrayList{f->label, f->tonality, f->theme, f->subTheme}),
              (QByteArrayList{"1 - A", "G", "Praise", "Joy"}));
    EXPECT_EQ(f->book, "Book\textra") << "extra tabs belong to the book";
    EXPECT_EQ(ShowHymnInfo(entryText("1 - A", "T", "S", "B", "Tune é", "Bach", "Luther", "D")).value(),
              QString("AIR OF : Tune é\r\nTONALITY : D\r\nAUTHOR : Luther\r\nCOMPOSER : Bach"));
    // fewer than 8 tabs
    EXPECT_FALSE(SplitHymnEntry(QByteArray("1 - A\tco\tau\tG\tx\tPraise\tJoy\tOld")));
    EXPECT_FALSE(ShowHymnInfo("no tabs at all"));
}

// --- book list and Theme.txt

TEST(HymnBooks, listsBooksWithEntriesUnderTheBookFieldOfTheirLastLine) {
    HymnData d;
    d.hira("Alpha", crlfLines({hymnEntry("1 - A", "Praise", "Joy", "First"),
                               hymnEntry("2 - B", "T", "S", "Alpha é")}));
    d.hira("Dotted.book", crlfLines({hymnEntry("1 - A", "Praise", "Joy", "Dotted")}));
    d.hira("lower", QByteArray()); // empty Hira.txt: no theme
    // the last line does not split
    d.hira("Blank", crlfLines({hymnEntry("1 - A", "T", "S", "Blank"), ""}));
    d.hira("Short", crlfLines({hymnEntry("1 - A", "T", "S", "Short"), "2 - B\tonly"}));
    d.hira("Fine", crlfLines({"2 - B\tonly", hymnEntry("1 - A", "T", "S", "Fine")}));
    QDir().mkpath(d.file("Cantiques/Favori"));
    writeBytes(d.file("Cantiques/NoExtension"), "not a book");
    writeBytes(d.file("Cantiques/Lumora_Clavier_Midi.exe"), "exe");
    // Hira.txt found whatever its letter case
    writeBytes(d.file("Cantiques/beta/HIRA.TXT"), crlfLines({hymnEntry("2 - B", "Grace", "", "Beta")}));
    EXPECT_EQ(LoadHymnBooks(d.cantiques()), (QStringList{"Alpha é", "Beta", "Fine"}));
    EXPECT_FALSE(QFile::exists(d.bookFile("Blank", "Theme.txt")));
}

TEST(HymnBooks, themeFileHoldsDistinctThemesInFirstOrderByteExact) {
    HymnData d;
    d.hira("B",
           kBom + crlfLines({hymnEntry("1 - A", "Praise", "x", "B"), hymnEntry("2 - B", "Noël", "x", "B"),
                             "3 - rejected\tPraise2", // fewer than 8 tabs: no theme
                             hymnEntry("4 - C", "Praise", "x", "B"), hymnEntry("5 - D", "praise", "x", "B"),
                             // the running key pads each theme, so a theme inside another is its own
                             hymnEntry("6 - E", "Grace and Joy", "x", "B"),
                             hymnEntry("7 - F", "Joy", "x", "B")}));
    // a hand-edited theme file under another letter case is replaced, not doubled
    writeBytes(d.bookFile("B", "theme.txt"), "stale");
    ASSERT_EQ(LoadHymnBooks(d.cantiques()).size(), 1);
    EXPECT_EQ(readBytes(d.bookFile("B", "theme.txt")),
              kBom + "Praise\r\nNo\xC3\xABl\r\npraise\r\nGrace and Joy\r\nJoy\r\n");
    EXPECT_EQ(QDir(d.file("Cantiques/B")).entryList(QDir::Files).size(), 2);
    EXPECT_EQ(readThemes(d.cantiques(), "B").value(),
              (QStringList{"Praise", "Noël", "praise", "Grace and Joy", "Joy"}));
}

TEST(HymnBooks, themeFileIsNeverWrittenThroughALinkNorRewrittenUnchanged) {
    // Regression: "Theme.txt" was rewritten at every load through the atomic writer, which followed
    // a symlinked file or book folder: a shared hymn folder could overwrite any file.
    HymnData d;
    const QString outside = d.file("outside.txt");
    writeBytes(outside, "precious");
    d.hira("Linked", kBom + crlfLines({hymnEntry("1 - A", "Praise", "x", "Linked")}));
    ASSERT_TRUE(QFile::link(outside, d.bookFile("Linked", "Theme.txt")));
    // a book folder that is itself a link to a folder outside
    QDir().mkpath(d.file("elsewhere"));
    writeBytes(d.file("elsewhere/Hira.txt"), kBom + crlfLines({hymnEntry("1 - A", "Praise", "x", "Away")}));
    ASSERT_TRUE(QFile::link(d.file("elsewhere"), d.file("Cantiques/Away")));
    QStringList problems;
    EXPECT_EQ(LoadHymnBooks(d.cantiques(), &problems), (QStringList{"Away", "Linked"}))
        << "both books still listed";
    EXPECT_EQ(readBytes(outside), "precious");
    EXPECT_FALSE(QFileInfo::exists(d.file("elsewhere/Theme.txt")));
    ASSERT_EQ(problems.size(), 2) << problems.join('\n').toStdString();
    EXPECT_EQ(problems[0], "Away/Theme.txt: not written: its folder is a symbolic link");
    EXPECT_EQ(problems[1], "Linked/Theme.txt: not written: is a symbolic link");

    // a theme file that already holds the right bytes is left alone
    HymnData e;
    e.hira("B", kBom + crlfLines({hymnEntry("1 - A", "Praise", "x", "B")}));
    ASSERT_EQ(LoadHymnBooks(e.cantiques()).size(), 1);
    const QString theme = e.bookFile("B", "Theme.txt");
    auto inode = [&theme] { // a rewrite replaces the file, and its inode
        struct stat st {};
        return ::stat(QFile::encodeName(theme).constData(), &st) == 0 ? st.st_ino : 0;
    };
    const auto before = inode();
    ASSERT_EQ(LoadHymnBooks(e.cantiques()).size(), 1);
    EXPECT_EQ(inode(), before);
    EXPECT_EQ(readBytes(theme), kBom + "Praise\r\n");
}

TEST(HymnBooks, unsafeBookNamesAreNeverOpened) {
    HymnData d;
    EXPECT_FALSE(hymnPath(d.cantiques(), ".."));
    EXPECT_FALSE(hymnPath(d.cantiques(), "a/../../etc"));
    EXPECT_FALSE(hymnPath(d.cantiques(), "B", {"..\\x"}));
    EXPECT_FALSE(readThemes(d.cantiques(), ".."));
}

// --- the list filters

class HymnFilters : public ::testing::Test {
  protected:
    void SetUp() override {
        d.hira(b, kBom + crlfLines({
                             hymnEntry("1 - One", "Praise", "Christmas Eve", "B"),
                             hymnEntry("2 - Two", "Praise", "Christmas", "B"), // contained: not listed
                             hymnEntry("3 - Three", "Prayer", "Morning", "B"),
                             hymnEntry("4 - Four", "Grace", "Evening", "B", "Praise tune"),
                             hymnEntry("5 - Five", "PRAISE", "", "B"),
                             hymnEntry("6 - Six", "praise", "night", "B"),
                             "7 - Short\tc\ta\tk\tx\tPraise\tEvening", // 6 tabs
                         }));
    }
    HymnData d;
    const QString b = "B";
};

TEST_F(HymnFilters, subThemesMatchLaterFieldsAndDropContainedValues) {
    // "Four" matches Praise through its tune; "Christmas" lies inside "Christmas Eve", and the
    // short entry's "Evening" was met before; empty sub-themes never appear.
    EXPECT_EQ(subThemes(d.cantiques(), b, "praise"), (QStringList{"Christmas Eve", "Evening", "night"}));
    EXPECT_EQ(subThemes(d.cantiques(), b, "Prayer"), QStringList{"Morning"});
    EXPECT_TRUE(subThemes(d.cantiques(), b, "Absent").isEmpty());
    // the values taken are run together and compared ignoring case: "bc" lies in "abCD"
    HymnData e;
    e.hira(b, crlfLines({hymnEntry("1 - A", "T", "ab", "B"), hymnEntry("2 - B", "T", "CD", "B"),
                         hymnEntry("3 - C", "T", "bc", "B")}));
    EXPECT_EQ(subThemes(e.cantiques(), b, "T"), (QStringList{"ab", "CD"}));
}

TEST_F(HymnFilters, hymnListMatchesBothThemesAsSubstringsInFileOrder) {
    const HymnList l = hymnList(d.cantiques(), b, "Praise", "Christmas");
    EXPECT_EQ(l.labels, (QStringList{"1 - One", "2 - Two"}));
    ASSERT_EQ(l.entries.size(), 2);
    EXPECT_EQ(l.entries.at(0), entryText("1 - One", "Praise", "Christmas Eve", "B")) << "BOM dropped";
    EXPECT_EQ(hymnList(d.cantiques(), b, "Praise", "Evening").labels, (QStringList{"4 - Four", "7 - Short"}));
    // missing files give empty lists
    EXPECT_FALSE(readThemes(d.cantiques(), "Nope"));
    EXPECT_TRUE(subThemes(d.cantiques(), "Nope", "x").isEmpty());
    EXPECT_TRUE(hymnList(d.cantiques(), "Nope", "x", "y").labels.isEmpty());
    // a theme's hymns without a sub-theme, the theme matched as for the lists above
    EXPECT_EQ(hymnsWithoutSubTheme(d.cantiques(), b, "praise").labels, QStringList{"5 - Five"});
    EXPECT_TRUE(hymnsWithoutSubTheme(d.cantiques(), b, "Prayer").labels.isEmpty());
    EXPECT_TRUE(hymnsWithoutSubTheme(d.cantiques(), "Nope", "x").labels.isEmpty());
}

// --- search

TEST(HymnSearch, hitsInBookOrderThenFileOrderCaseIgnoredWholeEntrySearched) {
    HymnData d;
    d.hira("A", kBom + crlfLines({hymnEntry("1 - Élan", "T", "S", "A"),
                                  hymnEntry("2 - x", "T", "S", "A", "t", "Bach"), "", "short\tline"}));
    d.hira("B", crlfLines({hymnEntry("9 - bach", "T", "S", "B"), "no tab bach"}));
    const QStringList books{"B", "Missing", "A"};
    const HymnList hits = searchHymns(d.cantiques(), books, "BACH");
    EXPECT_EQ(hits.labels, (QStringList{"9 - bach", "2 - x"}));
    EXPECT_EQ(hits.entries.at(1), entryText("2 - x", "T", "S", "A", "t", "Bach"));
    EXPECT_EQ(searchHymns(d.cantiques(), books, "élan").labels, QStringList{"1 - Élan"});
    // an empty text matches every entry with a tab
    EXPECT_EQ(searchHymns(d.cantiques(), {"A"}, QString()).labels,
              (QStringList{"1 - Élan", "2 - x", "short"}));
}

// --- lumora-cli hymns, run as a separate program

class HymnCli : public ::testing::Test {
  protected:
    void SetUp() override {
        d.hira("Chants", kBom + crlfLines({
                                    hymnEntry("1 - Gloire", "Louange", "Noël", "Chants", "Adeste", "Bach"),
                                    hymnEntry("2 - Joie", "Louange", "Noël", "Chants"),
                                    hymnEntry("3 - Paix", "Prière", "Soir", "Chants"),
                                }));
        d.hira("Other", crlfLines({hymnEntry("10 - Bach", "Grace", "Matin", "Other")}));
        writeBytes(d.bookFile("Chants", "parole/1.txt"), "\r\n\r\nLine one\r\nLine two\r\n");
    }
    CliResult cli(const QStringList& args) const {
        return runCli(QStringList{"--data", d.path(), "hymns"} + args);
    }
    HymnData d;
};

TEST_F(HymnCli, eachCommandPrintsWhatTheListsHold_unknownPicksFailAndBadUsageIsTwo) {
    const struct {
        QStringList args;
        int exitCode;
        QByteArray out;
    } cases[] = {
        {{"books"}, 0, "Chants\nOther\n"},
        {{"themes", "Chants"}, 0, "Louange\nPri\xC3\xA8re\n"},
        {{"subthemes", "Chants", "Louange"}, 0, "No\xC3\xABl\n"},
        {{"list", "Chants", "Louange", "Noël"}, 0, "1 - Gloire\n2 - Joie\n"},
        // show: the info, a blank line, then the words or A SAISIR
        {{"show", "Chants", "1 - Gloire"},
         0,
         "AIR OF : Adeste\nTONALITY : C\nAUTHOR : Auth\nCOMPOSER : Bach\n\nLine one\nLine two\n"},
        {{"show", "Chants", "2 - Joie"},
         0,
         "AIR OF : Tune\nTONALITY : C\nAUTHOR : Auth\nCOMPOSER : Comp\n\nA SAISIR\n"},
        {{"search", "bach"}, 0, "1 - Gloire\n10 - Bach\n"},
        {{"themes", "Nope"}, 1, ""},
        {{"list", "Chants"}, 2, ""},
        {{"frobnicate"}, 2, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args.join(' ').toStdString());
        const CliResult r = cli(c.args);
        EXPECT_EQ(r.exitCode, c.exitCode);
        EXPECT_EQ(r.out, c.out);
    }
    EXPECT_TRUE(cli({"themes", "Nope"}).err.contains("Nope"));
    // the start-up load ran: the theme file is there
    EXPECT_EQ(readBytes(d.bookFile("Chants", "Theme.txt")), kBom + "Louange\r\nPri\xC3\xA8re\r\n");
    const QJsonArray hits = QJsonDocument::fromJson(cli({"--json", "search", "BACH"}).out).array();
    ASSERT_EQ(hits.size(), 2);
    EXPECT_EQ(hits.at(1).toObject().value("label").toString(), "10 - Bach");
    EXPECT_EQ(hits.at(1).toObject().value("entry").toString(),
              entryText("10 - Bach", "Grace", "Matin", "Other"));
}

} // namespace
