// New hymns written into a hymn book: the entry and words formats, numbering, cleaning, and a
// book that stays as it was when the import cannot finish.

#include "hymnfixture.h"

#include "hymns/hymnbookwriter.h"
#include "hymns/hymnstore.h"

#include <QFile>

#include <gtest/gtest.h>

using namespace lumora;
using namespace lumora::hymns;
using namespace lumora::testing;

namespace {

NewHymn hymn(const QString& number, const QString& title,
             QList<QStringList> stanzas = {{"Line one", "Line two"}}) {
    NewHymn h;
    h.number = number;
    h.title = title;
    h.stanzas = std::move(stanzas);
    return h;
}

QStringList files(const QString& folder) {
    return QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
}

} // namespace

TEST(HymnBookWriter, newBookGetsEntriesAndWordsInTheBookFormats) {
    HymnData data;
    QDir().mkpath(data.cantiques());
    auto w = HymnBookWriter::open(data.cantiques(), QStringLiteral("Fihirana"));
    ASSERT_TRUE(w);
    NewHymn h = hymn(QStringLiteral("12"), QStringLiteral("Grâce infinie"),
                     {{"Amazing grace", "  how   sweet "}, {"Chorus"}});
    h.composer = QStringLiteral("Trad.");
    h.author = QStringLiteral("John\tNewton");
    h.tonality = QStringLiteral("G");
    h.copyright = QStringLiteral("Public Domain");
    h.theme = QStringLiteral("Grace");
    h.subTheme = QStringLiteral("Salvation");
    h.tune = QStringLiteral("NEW BRITAIN");
    const auto added = w->add(h);
    ASSERT_TRUE(added);
    EXPECT_EQ(added->label, QStringLiteral("12 - Grâce infinie"));
    EXPECT_TRUE(added->changes.isEmpty());
    ASSERT_TRUE(w->add(hymn({}, QStringLiteral("Second"), {})));
    EXPECT_FALSE(QFile::exists(data.bookFile("Fihirana", "Hira.txt"))) << "Hira.txt comes last";
    ASSERT_TRUE(w->commit());

    EXPECT_EQ(readBytes(data.bookFile("Fihirana", "Hira.txt")),
              "\xEF\xBB\xBF"
              "12 - Gr\xC3\xA2"
              "ce infinie\tTrad.\tJohn Newton\tG\tPublic Domain\tGrace\tSalvation\tNEW BRITAIN\tFihirana\r\n"
              "13 - Second\t\t\t\t\tImported\tGeneral\t\tFihirana\r\n");
    EXPECT_EQ(readBytes(data.bookFile("Fihirana", QStringLiteral("parole/12 - Grâce infinie.txt"))),
              "\xEF\xBB\xBF"
              "Amazing grace\r\nhow sweet\r\n\r\nChorus\r\n");
    EXPECT_FALSE(QFile::exists(data.bookFile("Fihirana", "parole/13 - Second.txt"))) << "no words, no file";
    // that the book then shows as a hand-made one does is SongImportCli's to check
}

TEST(HymnBookWriter, takenNumbersAreNumberedOnAndNothingIsOverwritten) {
    HymnData data;
    data.hira("Book",
              crlfLines({hymnEntry("7 - Old", "T", "S", "Book"), hymnEntry("Untitled", "T", "S", "Book")}) +
                  hymnEntry("9a - Last", "T", "S", "Book"));             // no CR LF at the end
    writeBytes(data.bookFile("Book", "parole/10.rtf"), "{\\rtf1 keep}"); // words of no entry
    writeBytes(data.bookFile("Book", "parole/11 - Mine.TXT"), "keep");   // same label, other case
    const QByteArray before = readBytes(data.bookFile("Book", "Hira.txt"));
    auto w = HymnBookWriter::open(data.cantiques(), QStringLiteral("book")); // found whatever its case
    ASSERT_TRUE(w);
    EXPECT_EQ(w->book(), QStringLiteral("Book"));

    const struct {
        const char *number, *title, *label;
        const char* change; // part of the one change, or "" for none
    } cases[] = {
        {"7", "New", "11 - New", "number 7 is taken: numbered 11"}, // 10 has a words file
        {"", "Mine", "12 - Mine", ""},
        {"11", "Mine", "13 - Mine", "number 11 is taken"},
        {"A:20 ", "What? / Why.", "A20 - What Why", "cleaned"},
        {"7 - x", "Tab\tin title", "7-x - Tab in title", "number \"7 - x\" cleaned to \"7-x\""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.title);
        const auto added = w->add(hymn(QString::fromUtf8(c.number), QString::fromUtf8(c.title)));
        ASSERT_TRUE(added);
        EXPECT_EQ(added->label, QString::fromUtf8(c.label));
        if (*c.change) {
            ASSERT_FALSE(added->changes.isEmpty());
            EXPECT_TRUE(added->changes.join(' ').contains(QString::fromUtf8(c.change)))
                << added->changes.join(' ').toStdString();
        } else {
            EXPECT_TRUE(added->changes.isEmpty());
        }
    }
    ASSERT_TRUE(w->commit());
    const QByteArray after = readBytes(data.bookFile("Book", "Hira.txt"));
    EXPECT_TRUE(after.startsWith(before + "\r\n11 - New\t")) << after.toStdString();
    EXPECT_EQ(readBytes(data.bookFile("Book", "parole/10.rtf")), "{\\rtf1 keep}");
    EXPECT_EQ(readBytes(data.bookFile("Book", "parole/11 - Mine.TXT")), "keep");
    EXPECT_EQ(LoadHymnBooks(data.cantiques()), QStringList{"Book"});
}

TEST(HymnBookWriter, bookNamesThatCannotBeFoldersAreRefused) {
    HymnData data;
    for (const char* name :
         {"", " Book", "My.Book", "A/B", "Q?", "Favori", "favori", "CON", "lpt1", "A\tB"}) {
        QString why;
        EXPECT_FALSE(HymnBookWriter::open(data.cantiques(), QString::fromUtf8(name), &why)) << name;
        EXPECT_FALSE(why.isEmpty());
    }
    EXPECT_TRUE(HymnBookWriter::open(data.cantiques(), QStringLiteral("Fihirana FFPM")));
    EXPECT_TRUE(HymnBookWriter::open(data.cantiques(), QStringLiteral("Cantiques-2")));
}

// An import that cannot write "Hira.txt" takes its words files away again.
TEST(HymnBookWriter, failedCommitLeavesTheBookAsItWas) {
    HymnData data;
    const QByteArray entries = crlfLines({hymnEntry("1 - Old", "T", "S", "Book")});
    data.hira("Book", entries);
    const QStringList wordsBefore = files(data.bookFile("Book", "parole"));
    {
        // Someone else changed Hira.txt meanwhile.
        auto w = HymnBookWriter::open(data.cantiques(), QStringLiteral("Book"));
        ASSERT_TRUE(w && w->add(hymn({}, QStringLiteral("New"))));
        EXPECT_TRUE(QFile::exists(data.bookFile("Book", "parole/2 - New.txt")));
        data.hira("Book", entries + "x\r\n");
        QString why;
        EXPECT_FALSE(w->commit(&why));
        EXPECT_TRUE(why.contains(QLatin1String("changed"))) << why.toStdString();
        EXPECT_EQ(files(data.bookFile("Book", "parole")), wordsBefore);
        data.hira("Book", entries);
    }
    {
        // Hira.txt cannot be replaced (a link is never written through).
        const QString target = data.file("elsewhere.txt");
        writeBytes(target, entries);
        QFile::remove(data.bookFile("Book", "Hira.txt"));
        ASSERT_TRUE(QFile::link(target, data.bookFile("Book", "Hira.txt")));
        auto w = HymnBookWriter::open(data.cantiques(), QStringLiteral("Book"));
        ASSERT_TRUE(w && w->add(hymn({}, QStringLiteral("New"))));
        EXPECT_FALSE(w->commit());
        EXPECT_EQ(files(data.bookFile("Book", "parole")), wordsBefore);
        EXPECT_EQ(readBytes(target), entries);
    }
    {
        // A new book abandoned leaves no folder behind.
        auto w = HymnBookWriter::open(data.cantiques(), QStringLiteral("Fresh"));
        ASSERT_TRUE(w && w->add(hymn({}, QStringLiteral("New"))));
        w->rollback();
        EXPECT_FALSE(QFileInfo::exists(data.bookFile("Fresh", "")));
    }
}
