// Songs into a hymn book through lumora-cli: a folder of mixed files and a zip archive, the report
// of the files that cannot be read, the themes given, and the round trip through OpenLyrics.

#include "hymns/hymnfixture.h"
#include "support/clirun.h"
#include "support/zipfile.h"

#include "import/songs/songimport.h"

#include <gtest/gtest.h>

using namespace lumora;
using namespace lumora::testing;

namespace {

QByteArray openLyrics(const QString& title, const QString& entry, const QString& verses) {
    return QStringLiteral(R"(<?xml version="1.0" encoding="UTF-8"?>
<song xmlns="http://openlyrics.info/namespace/2009/song" version="0.9"><properties><titles><title>%1</title></titles>
<authors><author type="words">Ann Author</author><author type="music">Carl Composer</author></authors>
<key>D</key><variant>TUNE</variant><copyright>PD</copyright><songbooks><songbook name="Hymns" entry="%2"/></songbooks>
<themes><theme>Praise</theme><theme>Morning</theme></themes></properties><lyrics>%3</lyrics></song>
)")
        .arg(title, entry, verses)
        .toUtf8();
}

struct Songs : TempFolder {
    Songs() {
        writeBytes(file("in/a.xml"),
                   openLyrics("Amazing Grace", "5",
                              "<verse name=\"v1\"><lines>Amazing grace<br/>how sweet</lines></verse>"));
        writeBytes(file("in/b.cho"),
                   "{title: Ça ira}\n{key: Em}\n[Em]Ah ça ira\n\n{soc}\nRefrain\n{eoc}\n{chorus}\n");
        writeBytes(file("in/sub/Great Is Thy Faithfulness"),
                   "<song><title>Great Is Thy Faithfulness</title><author>T. Chisholm</author>"
                   "<hymn_number>5</hymn_number><lyrics>[V1]\n Great is thy faithfulness</lyrics></song>");
        writeBytes(file("in/sub/d.txt"), "שָׁלוֹם\n\nשלום חברים\n");
        writeBytes(file("in/broken.xml"),
                   "<?xml version=\"1.0\"?>\n<song "
                   "xmlns=\"http://openlyrics.info/namespace/2009/song\">\n<properties>\n");
        writeBytes(file("in/cover.jpg"), QByteArray("\xFF\xD8\0\0", 4)); // not a song name: skipped
        writeBytes(file("in/.hidden.txt"), "Hidden\n\nx\n");
    }
};

} // namespace

TEST(SongImportCli, mixedFolderAndZipBecomeHymnsAndFaultsAreReportedOneByOne) {
    HymnData data;
    Songs songs;
    writeZip(
        songs.file("more.zip"),
        {{"z/one.xml", openLyrics("From the zip", "", "<verse name=\"v1\"><lines>Zipped</lines></verse>")},
         {"z/readme.pdf", "%PDF"},
         {"z/bad.cho", "no title here\n"}});
    const auto r = runCli(
        {"--data", data.path(), "hymns", "import", "Fihirana", songs.file("in"), songs.file("more.zip")});
    EXPECT_EQ(r.exitCode, 1) << r.err.toStdString();
    const QString err = QString::fromUtf8(r.err);
    EXPECT_TRUE(err.contains(songs.file("in/broken.xml") + QStringLiteral(":4: "))) << err.toStdString();
    EXPECT_TRUE(err.contains(songs.file("more.zip") + QStringLiteral("/z/bad.cho: the song has no title")))
        << err.toStdString();
    EXPECT_EQ(err.count(QLatin1Char('\n')), 2) << err.toStdString();
    const QString out = QString::fromUtf8(r.out);
    EXPECT_TRUE(out.contains(QStringLiteral("5 songs imported into Fihirana (ChordPro 1, OpenLyrics 2, "
                                            "OpenSong 1, plain text 1); 2 not imported")))
        << out.toStdString();
    EXPECT_TRUE(out.contains(QStringLiteral("number 5 is taken: numbered 8"))) << out.toStdString();

    // Titles are composed (NFC), as typed text is, so the search finds them.
    const QByteArray shalom = QStringLiteral("שָׁלוֹם").normalized(QString::NormalizationForm_C).toUtf8();
    EXPECT_EQ(readBytes(data.bookFile("Fihirana", "Hira.txt")),
              "\xEF\xBB\xBF"
              "5 - Amazing Grace\tCarl Composer\tAnn Author\tD\tPD\tPraise\tMorning\tTUNE\tFihirana\r\n"
              "6 - \xC3\x87"
              "a ira\t\t\tEm\t\tImported\tGeneral\t\tFihirana\r\n"
              "7 - " +
                  shalom +
                  "\t\t\t\t\tImported\tGeneral\t\tFihirana\r\n"
                  "8 - Great Is Thy Faithfulness\t\tT. Chisholm\t\t\tImported\tGeneral\t\tFihirana\r\n"
                  "9 - From the zip\tCarl Composer\tAnn Author\tD\tPD\tPraise\tMorning\tTUNE\tFihirana\r\n");
    EXPECT_EQ(readBytes(data.bookFile("Fihirana", QStringLiteral("parole/6 - Ça ira.txt"))),
              "\xEF\xBB\xBF"
              "Ah \xC3\xA7"
              "a ira\r\n\r\nRefrain\r\n\r\nRefrain\r\n");

    // Found by the hymn search, and shown with its words.
    const auto found = runCli({"--data", data.path(), "hymns", "search", "faithfulness"});
    EXPECT_EQ(found.out, "8 - Great Is Thy Faithfulness\n");
    const auto shown = runCli({"--data", data.path(), "hymns", "show", "Fihirana", "5 - Amazing Grace"});
    EXPECT_TRUE(shown.out.endsWith("Amazing grace\nhow sweet\n")) << shown.out.toStdString();
    EXPECT_EQ(readBytes(data.bookFile("Fihirana", "Theme.txt")), "\xEF\xBB\xBFPraise\r\nImported\r\n");
    const auto check = runCli({"--data", data.path(), "check"});
    EXPECT_FALSE(check.out.contains("Cantiques")) << check.out.toStdString();
}

TEST(SongImportCli, themesGivenOnTheCommandLineWin) {
    HymnData data;
    Songs songs;
    const auto r = runCli({"--data", data.path(), "hymns", "import", "Book", songs.file("in/a.xml"),
                           "--theme", "Louange", "--subtheme=Matin"});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_TRUE(
        readBytes(data.bookFile("Book", "Hira.txt")).contains("\tPD\tLouange\tMatin\tTUNE\tBook\r\n"));
    const auto usage = runCli({"--data", data.path(), "hymns", "books", "--theme", "X"});
    EXPECT_EQ(usage.exitCode, 2);
    const auto badBook =
        runCli({"--data", data.path(), "hymns", "import", "My.Book", songs.file("in/a.xml")});
    EXPECT_EQ(badBook.exitCode, 1);
    EXPECT_TRUE(badBook.err.contains("cannot hold a \".\"")) << badBook.err.toStdString();
}

TEST(SongImportCli, exportThenImportIntoANewBookGivesIdenticalBytes) {
    HymnData first;
    Songs songs;
    for (int i = 1; i <= 6; ++i) // numbers past 9, so that "10 - ..." must come after "9 - ..."
        writeBytes(songs.file(QStringLiteral("in/extra/e%1.txt").arg(i)),
                   "Extra " + QByteArray::number(i) + "\n\nWords\n");
    ASSERT_EQ(runCli({"--data", first.path(), "hymns", "import", "Fihirana", songs.file("in")}).exitCode, 1);
    // A second import into the same book, so the book holds songs of two imports.
    ASSERT_EQ(
        runCli({"--data", first.path(), "hymns", "import", "Fihirana", songs.file("in/a.xml")}).exitCode, 0);
    const auto exported = runCli({"--data", first.path(), "hymns", "export", "Fihirana", songs.file("out")});
    ASSERT_EQ(exported.exitCode, 0) << exported.err.toStdString();
    EXPECT_EQ(exported.out, "11 hymns exported to " + songs.file("out").toUtf8() + "\n");
    EXPECT_TRUE(QFile::exists(songs.file("out/5 - Amazing Grace.xml")));

    HymnData second;
    const auto back = runCli({"--data", second.path(), "hymns", "import", "Fihirana", songs.file("out")});
    ASSERT_EQ(back.exitCode, 0) << back.err.toStdString();
    EXPECT_FALSE(back.out.contains("taken")) << back.out.toStdString();
    const auto a = folderSnapshot(first.file("Cantiques/Fihirana"));
    EXPECT_EQ(a.size(), 14u); // Hira.txt, Theme.txt, parole/ and eleven words files in it
    EXPECT_EQ(a, folderSnapshot(second.file("Cantiques/Fihirana")));

    // Exporting again never replaces a file.
    const auto again = runCli({"--data", first.path(), "hymns", "export", "Fihirana", songs.file("out")});
    EXPECT_EQ(again.exitCode, 0);
    EXPECT_TRUE(QFile::exists(songs.file("out/5 - Amazing Grace (2).xml")));
}
