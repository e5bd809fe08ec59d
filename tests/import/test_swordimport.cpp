// lumora-cli import sword on a tiny module made by osis2mod, and the SWORD reader and the sound
// decoder's libraries loaded only by the commands that use them.

#include "support/clirun.h"
#include "support/testdata.h"

#include "common/lines.h"
#include "import/swordreader.h"

#include <QDir>
#include <QStandardPaths>

#include <gtest/gtest.h>

using namespace lumora;
using namespace lumora::testing;

namespace {

// A tiny Bible in the NRSVA versification, so that a book outside the 66 (Tobit) can be tested.
constexpr char kOsis[] = R"(<?xml version="1.0" encoding="UTF-8"?>
<osis xmlns="http://www.bibletechnologies.net/2003/OSIS/namespace">
<osisText osisIDWork="Tiny" osisRefWork="Bible" xml:lang="en">
<header><work osisWork="Tiny"><title>Tiny</title><refSystem>Bible.NRSVA</refSystem></work></header>
<div type="book" osisID="Gen"><title type="main">Genesis</title>
<chapter osisID="Gen.1">
<title>The Creation</title>
<verse osisID="Gen.1.1">In the <w lemma="strong:H7225">beginning</w><note placement="foot">a note</note> God   created.</verse>
<verse osisID="Gen.1.2">Second &lt;verse&gt;.</verse>
</chapter></div>
<div type="book" osisID="Ps">
<chapter osisID="Ps.3">
<verse osisID="Ps.3.1"><title type="psalm" canonical="true">A Psalm of David.</title>LORD, how many.</verse>
<title>First</title><title>Second</title>
<verse osisID="Ps.3.2">Many say.</verse>
</chapter></div>
<div type="book" osisID="Tob"><chapter osisID="Tob.1"><verse osisID="Tob.1.1">Tobit text.</verse></chapter></div>
<div type="book" osisID="Matt"><chapter osisID="Matt.5"><verse osisID="Matt.5.3">Blessed are the poor.</verse></chapter></div>
</osisText></osis>
)";

class TinyModule : public ::testing::Test {
  protected:
    void SetUp() override {
        if (QStandardPaths::findExecutable("osis2mod").isEmpty())
            GTEST_SKIP() << "osis2mod (libsword-utils) is not installed";
        const QString data = m_sword.file("modules/texts/rawtext/tiny/");
        QDir().mkpath(data);
        writeBytes(m_sword.file("tiny.osis.xml"), kOsis);
        const auto made = runProgram("osis2mod", {data, m_sword.file("tiny.osis.xml"), "-v", "NRSVA"});
        ASSERT_EQ(made.exitCode, 0) << made.err.toStdString();
        writeBytes(m_sword.file("mods.d/tiny.conf"),
                   "[Tiny]\nDataPath=./modules/texts/rawtext/tiny/\nModDrv=RawText\nSourceType=OSIS\n"
                   "Encoding=UTF-8\nVersification=NRSVA\nLang=en\n");
        m_env = QProcessEnvironment::systemEnvironment();
        m_env.insert("SWORD_PATH", m_sword.path());
        QDir().mkpath(m_data.file("Bible"));
    }

    // lumora-cli import sword with these arguments after "sword".
    CliResult sword(const QStringList& args) {
        return runCli(QStringList{"--data", m_data.path(), "import", "sword"} + args, m_env);
    }
    QByteArray file(const QString& rel) { return readBytes(m_data.file(rel)); }

    TempFolder m_sword;
    TempFolder m_data;
    QProcessEnvironment m_env;
};

QList<QByteArray> linesOf(const QByteArray& bytes) {
    QList<QByteArray> out;
    common::LineSplitter s(bytes);
    QByteArray line;
    while (s.next(line))
        out.append(line);
    return out;
}

QByteArray neededLibraries(const QString& program) {
    const auto ldd = runProgram("ldd", {program});
    EXPECT_EQ(ldd.exitCode, 0) << program.toStdString();
    return ldd.out;
}

} // namespace

TEST_F(TinyModule, writesTheFourFilesInTheBibleFormats) {
    const auto r = sword({"Tiny", "--code", "TNY", "--name", "Tiny Bible"});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(file("Bible/Version.txt"), "TNY - Tiny Bible\r\n");

    const QByteArray books = file("Bible/TNY/Livre_chap.txt");
    EXPECT_TRUE(books.startsWith("\xEF\xBB\xBF"
                                 "01 Genesis\t01O\t50\tGen\tLaw\r\n"))
        << books.left(80).toStdString();
    EXPECT_TRUE(books.contains("\r\n19 Psalms\t19O\t150\tPs\tPoetry\r\n"));
    EXPECT_TRUE(books.contains("\r\n40 Matthew\t40N\t28\tMatt\tGospels\r\n"));
    EXPECT_TRUE(books.endsWith("\r\n67 Tobit\t67O\t14\tTob\tDeuterocanon\r\n"));
    EXPECT_EQ(linesOf(books).size(), 4);

    const QByteArray chapters = file("Bible/TNY/Chap_verset.txt");
    EXPECT_TRUE(chapters.startsWith("01O\t1\t31\r\n01O\t2\t25\r\n")) << "no BOM, key, chapter, verse count";
    EXPECT_TRUE(chapters.contains("\r\n40N\t5\t48\r\n"));
    EXPECT_EQ(linesOf(chapters).size(), 50 + 150 + 28 + 14);

    const auto oldLines = linesOf(file("Bible/TNY/TNY-O.txt"));
    ASSERT_FALSE(oldLines.isEmpty());
    EXPECT_EQ(oldLines[0], "\xEF\xBB\xBF"
                           "01O\t1\t1\t0\t[The Creation]In the beginning God created.");
    EXPECT_EQ(oldLines[1], "01O\t1\t2\t0\tSecond <verse>.");
    EXPECT_EQ(oldLines[2], "01O\t1\t3\t0\t");
    EXPECT_TRUE(oldLines.contains("19O\t3\t1\t0\t[A Psalm of David.]LORD, how many."));
    EXPECT_TRUE(oldLines.contains("19O\t3\t2\t0\t[First][Second]Many say."));
    EXPECT_TRUE(oldLines.contains("67O\t1\t1\t0\tTobit text."));
    const auto newLines = linesOf(file("Bible/TNY/TNY-N.txt"));
    EXPECT_TRUE(newLines.contains("40N\t5\t3\t0\tBlessed are the poor."));
    EXPECT_TRUE(newLines[0].startsWith("\xEF\xBB\xBF"
                                       "40N\t1\t1\t0\t"));
    EXPECT_TRUE(r.err.contains("TNY: 40 Matthew")) << "progress book by book";
}

// Nothing told which modules were installed: an unknown name was a dead end.
TEST_F(TinyModule, listNamesTheInstalledBibles_anUnknownNameSaysHowToFindThem) {
    writeBytes(m_sword.file("mods.d/notes.conf"),
               "[Notes]\nDataPath=./modules/comments/rawcom/notes/\nModDrv=RawCom\nDescription=Some notes\n");
    const auto r = sword({"--list"});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.startsWith("Tiny - ")) << r.out.toStdString();
    EXPECT_FALSE(r.out.contains("Notes")) << "a commentary is no Bible";
    EXPECT_EQ(sword({"Tiny", "--list"}).exitCode, 2);
    const auto unknown = sword({"NoSuchModule", "--code", "X", "--name", "X"});
    EXPECT_EQ(unknown.exitCode, 1);
    EXPECT_TRUE(unknown.err.contains("NoSuchModule"));
    EXPECT_TRUE(unknown.err.contains("import sword --list")) << unknown.err.toStdString();
    EXPECT_FALSE(QFileInfo::exists(m_data.file("Bible/Version.txt")));
}

TEST(LoadOnDemand, programsStartWithoutSwordOrSoundLibraries) {
    // Regression: every start of lumora-cli loaded 58 libraries, most of them through libsword
    // (network, TLS, Kerberos, LDAP, a full-text index), which only an import uses.
    for (const QString& program : {QStringLiteral(LUMORA_CLI_PATH), QStringLiteral(LUMORA_APP_PATH)}) {
        const QByteArray libs = neededLibraries(program);
        ASSERT_TRUE(libs.contains("libc.so")) << program.toStdString();
        EXPECT_FALSE(libs.contains("libsword")) << program.toStdString();
        EXPECT_FALSE(libs.contains("libcurl")) << program.toStdString();
    }
    // The window's sound output (PulseAudio) brings libsndfile with it; the command line does not.
    EXPECT_FALSE(neededLibraries(QStringLiteral(LUMORA_CLI_PATH)).contains("libsndfile"));
    // The reader is built beside the programs, where they look for it.
    const QString plugin =
        QFileInfo(QStringLiteral(LUMORA_CLI_PATH)).absolutePath() + '/' + import::kSwordPluginName;
    EXPECT_TRUE(neededLibraries(plugin).contains("libsword"));
}

TEST(LoadOnDemand, importWithoutTheReaderBesideTheProgram_failsWithAMessageAndWritesNothing) {
    TempFolder bin, data;
    const QString cli = bin.file("lumora-cli");
    ASSERT_TRUE(QFile::copy(QStringLiteral(LUMORA_CLI_PATH), cli));
    const auto r = runProgram(cli, {"--data", data.path(), "import", "sword", "engKJV2006eb", "--code", "KJV",
                                    "--name", "King James"});
    EXPECT_EQ(r.exitCode, 1) << "a normal exit with 1";
    EXPECT_TRUE(r.err.startsWith("lumora-cli: the SWORD reader cannot be loaded")) << r.err.toStdString();
    EXPECT_TRUE(r.err.contains(import::kSwordPluginName.toUtf8())) << r.err.toStdString();
    EXPECT_FALSE(QFileInfo::exists(data.file("Bible")));
    // the everyday commands do not miss it
    const auto format = runProgram(cli, {"marks", "format", "1.5"});
    EXPECT_EQ(format.exitCode, 0) << format.err.toStdString();
}
