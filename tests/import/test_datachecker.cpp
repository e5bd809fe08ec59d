#include "support/clirun.h"
#include "support/testdata.h"

#include "import/datachecker.h"

#include <sys/stat.h>

#include <gtest/gtest.h>

using namespace lumora;
using namespace lumora::testing;

namespace {

const QByteArray kBom = "\xEF\xBB\xBF";

// A clean one-version tree with a hymn book and both kinds of list.
void writeCleanTree(const TempFolder& t) {
    writeBytes(t.file("Bible/Version.txt"), "TST - Test\r\n");
    writeBytes(t.file("Bible/TST/Livre_chap.txt"),
               kBom + "01 Genesis\t01O\t2\tGen\tLaw\r\n40 Matthew\t40N\t1\tMatt\tGospels\r\n");
    writeBytes(t.file("Bible/TST/Chap_verset.txt"), "01O\t1\t2\r\n01O\t2\t1\r\n40N\t1\t2\r\n");
    writeBytes(t.file("Bible/TST/TST-O.txt"),
               kBom + "01O\t1\t1\t0,00000\t[T]A\r\n01O\t1\t2\t3,50000\tB\r\n01O\t2\t1\t0\tC\r\n");
    writeBytes(t.file("Bible/TST/TST-N.txt"), kBom + "40N\t1\t1\t0\tD\r\n40N\t1\t2\t0\tE\r\n");
    writeBytes(t.file("Cantiques/Book/Hira.txt"), kBom + "1 - A\tc\ta\tG\t\tT1\tT2\tTune\tBook\r\n");
    writeBytes(t.file("Bible/Favori/L.txt"), kBom + "40 Matthew. 1 : 1 - 2\tTST\r\r\n");
    writeBytes(t.file("Cantiques/Favori/P.txt"), kBom + "1 - A\tc\ta\tG\t\tT1\tT2\tTune\tBook\r\r\n");
}

QStringList problemsIn(const TempFolder& t) {
    QStringList out;
    for (const auto& p : import::checkDataFolder(t.path()))
        out << p.toText();
    return out;
}

std::string all(const QStringList& problems) {
    return problems.join('\n').toStdString();
}

bool has(const QStringList& problems, const QString& prefix, const QString& words) {
    for (const QString& p : problems)
        if (p.startsWith(prefix) && p.contains(words)) return true;
    return false;
}

// Each test starts from the clean tree.
class DataChecker : public ::testing::Test {
  protected:
    void SetUp() override { writeCleanTree(t); }
    TempFolder t;
};

} // namespace

TEST_F(DataChecker, everyPlantedFaultReportedAtItsLine) {
    writeBytes(t.file("Bible/Version.txt"), "TST - Test\r\nNoSeparator\r\nGONE - missing folder\r\n");
    // No BOM; Matthew's chapter count disagrees; a line short of tabs.
    writeBytes(t.file("Bible/TST/Livre_chap.txt"),
               "01 Genesis\t01O\t2\tGen\tLaw\r\n40 Matthew\t40N\t3\tMatt\tGospels\r\n66 Rev\t66N\r\n");
    // BOM where none may be; verse count 3 against 2 verse lines.
    writeBytes(t.file("Bible/TST/Chap_verset.txt"), kBom + "01O\t1\t3\r\n01O\t2\t1\r\n40N\t1\t2\r\n");
    // Mark not a number, marks going back, repeated verse, missing tabs.
    writeBytes(t.file("Bible/TST/TST-O.txt"),
               kBom + "01O\t1\t1\t5,00000\tA\r\n01O\t1\t2\t4,00000\tB\r\n01O\t1\t2\t0\tB "
                      "again\r\n01O\t2\t1\t1.5\tC\r\n01O\t2\t2\r\n");
    // No BOM; verse out of order; Windows-1252 bytes.
    writeBytes(t.file("Bible/TST/TST-N.txt"), "40N\t1\t2\t0\tE\r\n40N\t1\t1\t0\tcaf\xE9 \xE9t\xE9\r\n");
    // Invalid UTF-8, a hymn listed twice, too few tabs, a last line that does not split.
    writeBytes(t.file("Cantiques/Book/Hira.txt"),
               kBom + "1 - \xC3\tc\ta\tG\t\tT1\tT2\tTune\tBook\r\n2 - B\tc\ta\tG\t\tT1\tT2\tTune\tBook\r\n"
                      "2 - B\tc\ta\tG\t\tT1\tT3\tTune\tBook\r\n3 - B\tc\ta\tG\tT1\r\n4 - C\tonly\r\n");
    writeBytes(t.file("Cantiques/Book/parole/1.txt"), "ok\r\nNo\xEBl\r\nNo\xEBl\r\n");
    writeBytes(t.file("Cantiques/Book/parole/2.rtf"), "plain, not rich text");
    writeBytes(t.file("Cantiques/Book/parole/3.rtf"), "{\\rtf1 fine \\{ escaped\\}}");
    writeBytes(t.file("Cantiques/Book/parole/4.rtf"), "{\\rtf1 {\\b cut short");
    writeBytes(t.file("Bible/Favori/L.txt"), "40 Matthew 1:1\tTST\r\xFF\r\r\n");
    writeBytes(t.file("Cantiques/Favori/P.txt"), kBom + "1 - A\tBook\r\r\n");

    const QStringList p = problemsIn(t);
    EXPECT_TRUE(has(p, "Bible/Version.txt:2:", "without \" -\"")) << all(p);
    EXPECT_TRUE(has(p, "Bible/Version.txt:3:", "GONE is incomplete")) << all(p);
    EXPECT_TRUE(has(p, "Bible/TST/Livre_chap.txt:1:", "no BOM")) << all(p);
    EXPECT_TRUE(has(p, "Bible/TST/Livre_chap.txt:2:", "40N has 3 chapters here but 1")) << all(p);
    EXPECT_TRUE(has(p, "Bible/TST/Livre_chap.txt:3:", "missing tabs: 1 of 4")) << all(p);
    EXPECT_TRUE(has(p, "Bible/TST/Chap_verset.txt:1:", "BOM")) << all(p);
    EXPECT_TRUE(has(p, "Bible/TST/TST-O.txt:2:", "goes back")) << all(p);
    EXPECT_TRUE(has(p, "Bible/TST/TST-O.txt:3:", "verse 2 repeated")) << all(p);
    EXPECT_TRUE(has(p, "Bible/TST/TST-O.txt:4:", "not a number")) << all(p);
    EXPECT_TRUE(has(p, "Bible/TST/TST-O.txt:5:", "missing tabs: 2 of 4")) << all(p);
    EXPECT_TRUE(has(p, "Bible/TST/TST-N.txt:1:", "no BOM")) << all(p);
    EXPECT_TRUE(has(p, "Bible/TST/TST-N.txt:1:", "out of order")) << all(p);
    EXPECT_TRUE(has(p, "Bible/TST/TST-N.txt:2:", "invalid UTF-8 on 1 line(s)")) << all(p);
    EXPECT_TRUE(has(p, "Cantiques/Book/Hira.txt:1:", "invalid UTF-8")) << all(p);
    EXPECT_TRUE(has(p, "Cantiques/Book/Hira.txt:3:", "hymn \"2 - B\" is already listed on line 2")) << all(p);
    EXPECT_TRUE(has(p, "Cantiques/Book/Hira.txt:4:", "4 of 8 tabs")) << all(p);
    EXPECT_TRUE(has(p, "Cantiques/Book/Hira.txt:5:", "last line does not split")) << all(p);
    EXPECT_TRUE(has(p, "Cantiques/Book/parole/1.txt:2:", "invalid UTF-8 on 2 line(s)")) << all(p);
    EXPECT_TRUE(has(p, "Cantiques/Book/parole/2.rtf:1:", "not rich text")) << all(p);
    EXPECT_TRUE(has(p, "Cantiques/Book/parole/4.rtf:0:", "cut short")) << all(p);
    EXPECT_EQ(p.filter("3.rtf").size(), 0) << all(p);
    EXPECT_TRUE(has(p, "Bible/Favori/L.txt:1:", "no BOM")) << all(p);
    EXPECT_TRUE(has(p, "Bible/Favori/L.txt:1:", "verse-list entry")) << all(p);
    EXPECT_TRUE(has(p, "Bible/Favori/L.txt:2:", "invalid UTF-8")) << all(p);
    EXPECT_TRUE(has(p, "Cantiques/Favori/P.txt:1:", "1 of 8 tabs")) << all(p);
}

TEST_F(DataChecker, cleanTreeHasNoProblem_cliExitsOneAndPrintsFileLineMessage) {
    EXPECT_TRUE(problemsIn(t).isEmpty()) << all(problemsIn(t));
    EXPECT_EQ(runCli({"--data", t.path(), "check"}).exitCode, 0);
    writeBytes(t.file("Bible/Version.txt"), "TST - Test\r\nbad\r\n");
    const auto r = runCli({"--data", t.path(), "check"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.out, "Bible/Version.txt:2: version line without \" -\": it is skipped\n");
}

// regressions
TEST_F(DataChecker, duplicatedVersionLinesAreReportedAndCheckedOnce) {
    // Regression: every duplicated line re-checked the whole version (1,000 lines took 18 s) and
    // none was reported.
    QByteArray list = "TST - Test\r\n";
    for (int i = 0; i < 1000; ++i)
        list += (i % 2 ? "tst - again\r\n" : "TST - Test\r\n");
    writeBytes(t.file("Bible/Version.txt"), list);
    writeBytes(t.file("Bible/TST/TST-N.txt"), kBom + "40N\t1\t1\t0\tD\r\n40N\t1\t2\tx\tE\r\n"); // one fault
    const QStringList p = problemsIn(t);
    EXPECT_EQ(p.size(), 1000 + 1) << all(p.mid(0, 5));
    EXPECT_TRUE(has(p, "Bible/Version.txt:2:", "version TST is already listed on line 1"));
    EXPECT_TRUE(has(p, "Bible/Version.txt:3:", "version tst is already listed on line 1"));
    EXPECT_EQ(p.filter("is not a number").size(), 1) << "the version is checked once";
}

TEST_F(DataChecker, fifosAndDevicesAreSkippedWithAMessageNeverWaitedOn) {
    // Regression: a FIFO Hira.txt blocked check, and a Version.txt linked to /dev/zero aborted it.
    QFile::remove(t.file("Cantiques/Book/Hira.txt"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(t.file("Cantiques/Book/Hira.txt")).constData(), 0600), 0);
    QFile::remove(t.file("Bible/TST/TST-N.txt"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(t.file("Bible/TST/TST-N.txt")).constData(), 0600), 0);
    ASSERT_EQ(::mkfifo(QFile::encodeName(t.file("Cantiques/Favori/F.txt")).constData(), 0600), 0);
    QStringList p = problemsIn(t);
    EXPECT_TRUE(has(p, "Cantiques/Book/Hira.txt:0:", "not an ordinary file: skipped")) << all(p);
    EXPECT_TRUE(has(p, "Cantiques/Favori/F.txt:0:", "not an ordinary file: skipped")) << all(p);
    EXPECT_TRUE(has(p, "Bible/Version.txt:1:", "TST-N.txt (not an ordinary file)")) << all(p);

    QFile::remove(t.file("Bible/Version.txt"));
    ASSERT_TRUE(QFile::link("/dev/zero", t.file("Bible/Version.txt")));
    const auto r = runCli({"--data", t.path(), "check"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.out.startsWith("Bible/Version.txt:0: not an ordinary file: skipped\n"))
        << r.out.toStdString();
    for (const QString& cmd : QStringList{"versions", "books"}) {
        const auto b = runCli({"--data", t.path(), cmd});
        EXPECT_EQ(b.exitCode, 1) << cmd.toStdString();
    }
}

// One fault planted in a clean tree at a time. Damage that fooled the passage while check found
// nothing: a byte-order mark or control characters inside a Bible file, a tab in a verse text (a
// lost line end), a verse line copied elsewhere, a testament file cut inside its last line; and
// (regression) two swapped book rows went unseen, and then "passage 40 ..." opened another book.
TEST_F(DataChecker, eachDamageAloneIsReportedAtItsLine) {
    const struct {
        const char* file;
        QByteArray from, to;
        const char* where;
        const char* says;
    } cases[] = {
        {"Bible/TST/TST-O.txt", "3,50000\tB",
         "3,50000\t\xEF\xBB\xBF"
         "B",
         "Bible/TST/TST-O.txt:2:", "byte-order mark inside 1 line(s)"},
        {"Bible/TST/TST-O.txt", "\r\n01O\t2\t1",
         "\r\n\x01\x02"
         "01O\t2\t1",
         "Bible/TST/TST-O.txt:3:", "control characters"},
        {"Bible/TST/Livre_chap.txt", "40 Matthew", "40 Mat\x7Fthew\x1B",
         "Bible/TST/Livre_chap.txt:2:", "control characters"},
        {"Bible/TST/Chap_verset.txt", "01O\t2\t1", "01O\t2\t1\xEF\xBB\xBF",
         "Bible/TST/Chap_verset.txt:2:", "byte-order mark"},
        {"Bible/Version.txt", "TST - Test", "TST - Te\x01st", "Bible/Version.txt:1:", "control characters"},
        {"Bible/TST/TST-N.txt", "\tD\r\n", "\tD", "Bible/TST/TST-N.txt:1:", "a tab inside the verse text"},
        {"Bible/TST/TST-N.txt", "\tE\r\n", "\tE", "Bible/TST/TST-N.txt:2:", "the last line has no line end"},
        {"Bible/Version.txt", "TST - Test\r\n", "TST - Te",
         "Bible/Version.txt:1:", "the file may be cut short"},
        {"Bible/TST/TST-O.txt", "C\r\n", "C\r\n01O\t1\t2\t3,50000\tB\r\n",
         "Bible/TST/TST-O.txt:4:", "01O 1:2 is already on line 2"},
        {"Bible/TST/Chap_verset.txt", "01O\t1\t2", "01O\t1\t3",
         "Bible/TST/Chap_verset.txt:1:", "01O chapter 1 has 3 verses here but 2 verse lines"},
        {"Bible/TST/TST-N.txt", "\tE\r\n", "\tE\r\n45N\t1\t1\t0\tF\r\n",
         "Bible/TST/Chap_verset.txt:0:", "book 45N has verse lines but no chapter rows"},
        {"Bible/TST/Livre_chap.txt", "01 Genesis\t01O\t2\tGen\tLaw\r\n40 Matthew\t40N\t1\tMatt\tGospels",
         "40 Matthew\t40N\t1\tMatt\tGospels\r\n01 Genesis\t01O\t2\tGen\tLaw",
         "Bible/TST/Livre_chap.txt:2:", "book 1 follows book 40: the books are out of order"},
        {"Bible/TST/Livre_chap.txt", "40 Matthew", "02 Matthew",
         "Bible/TST/Livre_chap.txt:2:", "book number 40N does not match the number 2"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.says);
        TempFolder tree;
        writeCleanTree(tree);
        QByteArray bytes = readBytes(tree.file(c.file));
        ASSERT_TRUE(bytes.contains(c.from));
        writeBytes(tree.file(c.file), bytes.replace(c.from, c.to));
        const QStringList p = problemsIn(tree);
        EXPECT_TRUE(has(p, c.where, c.says)) << all(p);
    }
}
