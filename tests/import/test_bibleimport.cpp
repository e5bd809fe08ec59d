// Importing Bible files into a data folder: zips and folders, the command line, the staging
// folder, and a failed or cancelled import that leaves the data folder exactly as it was.

#include "support/clirun.h"
#include "support/testdata.h"
#include "support/zipfile.h"

#include "import/bibleimport.h"
#include "import/versionwriter.h"
#include "import/ziparchive.h"

#include <gtest/gtest.h>

using namespace lumora;
using namespace lumora::import;
using namespace lumora::testing;

namespace {

const QByteArray kZefania = R"(<?xml version="1.0" encoding="utf-8"?>
<XMLBIBLE biblename="Zipped"><BIBLEBOOK bnumber="43" bname="John"><CHAPTER cnumber="3">
<VERS vnumber="16">For God so loved the world.</VERS></CHAPTER></BIBLEBOOK></XMLBIBLE>
)";

QByteArray usfmBook(const char* code, const char* text) {
    return QByteArray("\\id ") + code + "\n\\c 1\n\\p\n\\v 1 " + text + "\n";
}

ImportedBible oneVerseBible(const QByteArray& text) {
    return {.books = {{.number = 1,
                       .name = "Genesis",
                       .soundPrefix = "Gen",
                       .classLabel = "Law",
                       .chapters = {{ImportedVerse{text}}}}}};
}

} // namespace

// sources: zips and folders
TEST(BibleImport, zipAndFolderSourcesAreReadByContent) {
    TempFolder dir;
    writeZip(dir.file("zef.zip"), {{"readme.jpg", "not read"}, {"bible/zefania.XML.txt", kZefania}});
    writeZip(dir.file("usfm.zip"), {{"a.SFM", usfmBook("GEN", "Genesis one.")},
                                    {"b", usfmBook("EXO", "Exodus.")},
                                    {"notes.txt", "just notes"}});
    writeBytes(dir.file("folder/41MAT.usfm"), usfmBook("MAT", "Matthew one."));
    writeBytes(dir.file("folder/43JHN.usfm"), usfmBook("JHN", "John one."));
    writeBytes(dir.file("folder/cover.png"), "\x89PNG");
    const struct {
        const char* path;
        BibleFormat format;
        int books;
    } cases[] = {{"zef.zip", BibleFormat::Zefania, 1},
                 {"usfm.zip", BibleFormat::Usfm, 2},
                 {"folder", BibleFormat::Usfm, 2}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        const BibleSource source = openBibleSource(dir.file(c.path));
        ASSERT_FALSE(source.error) << source.error->text().toStdString();
        EXPECT_EQ(guessBibleFormat(source), c.format);
        const BibleReadResult r = readBible(source, c.format);
        ASSERT_TRUE(r.bible) << r.error->text().toStdString();
        EXPECT_EQ(r.counts.books, c.books);
    }
}

TEST(BibleImport, zipBombIsRefusedOnceItPassesTheCap) {
    TempFolder dir;
    // 24 MB of one letter deflates to some 24 KB.
    const QByteArray huge(24 << 20, 'a');
    writeZip(dir.file("bomb.zip"), {{"bible.xml", huge}});
    ReadLimits limits;
    limits.maxFileBytes = 4 << 20;
    const BibleSource source = openBibleSource(dir.file("bomb.zip"), limits);
    ASSERT_TRUE(source.error);
    EXPECT_TRUE(source.error->text().contains("would expand to more than"))
        << source.error->text().toStdString();
    EXPECT_TRUE(source.files.empty());

    // The cap holds on what is inflated, whatever the archive's header claims.
    ZipArchive zip(dir.file("bomb.zip"));
    ASSERT_TRUE(zip.isOpen());
    EXPECT_FALSE(zip.read("bible.xml", 1 << 20));
    const auto whole = zip.read("bible.xml", 24 << 20);
    ASSERT_TRUE(whole);
    EXPECT_EQ(whole->size(), huge.size());
}

// writing: staging folder, replacing, removing
TEST(BibleImport, replacingAVersionKeepsItsRecordingsAndLeavesNoStagingFolder) {
    TempFolder data;
    ASSERT_EQ(writeVersion(data.path(), "tst", "Test", oneVerseBible("Old text.")), QString());
    writeBytes(data.file("Bible/TST/Sound/Gen01.mp3"), "audio");
    ASSERT_EQ(writeVersion(data.path(), "TST", "Test 2", oneVerseBible("New text.")), QString());
    EXPECT_EQ(readBytes(data.file("Bible/TST/Sound/Gen01.mp3")), "audio");
    EXPECT_TRUE(readBytes(data.file("Bible/TST/TST-O.txt")).contains("New text."));
    EXPECT_EQ(readBytes(data.file("Bible/Version.txt")), "TST - Test 2\r\n");
    EXPECT_EQ(QDir(data.file("Bible")).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
              QStringList{"TST"} << "Version.txt");
}

TEST(BibleImport, aVersionListThatCannotBeWrittenLeavesTheDataFolderAsItWas) {
    TempFolder data;
    ASSERT_EQ(writeVersion(data.path(), "OLD", "Old", oneVerseBible("Old text.")), QString());
    // Version.txt replaced by a folder: the rename onto it fails after the version folder moved in.
    ASSERT_TRUE(QFile::remove(data.file("Bible/Version.txt")));
    writeBytes(data.file("Bible/Version.txt/keep"), "x");
    const auto before = folderSnapshot(data.path());
    EXPECT_FALSE(writeVersion(data.path(), "OLD", "Old 2", oneVerseBible("New.")).isEmpty());
    EXPECT_FALSE(writeVersion(data.path(), "NEW", "New", oneVerseBible("New.")).isEmpty());
    // A name that would add a line to Version.txt is refused before anything is written.
    EXPECT_TRUE(
        writeVersion(data.path(), "NEW", "a\nb", oneVerseBible("New.")).contains("control characters"));
    EXPECT_EQ(folderSnapshot(data.path()), before);
}

TEST(BibleImport, removeVersionTakesItsLineOutAndKeepsTheFolderAside) {
    TempFolder data;
    writeBytes(data.file("Bible/Version.txt"), "\xEF\xBB\xBFKJV - King James\r\nWEB - World\r\n");
    writeBytes(data.file("Bible/KJV/KJV-O.txt"), "text");
    QString keptAt;
    EXPECT_EQ(removeVersion(data.path(), "kjv", &keptAt), QString());
    EXPECT_EQ(readBytes(data.file("Bible/Version.txt")), "\xEF\xBB\xBFWEB - World\r\n");
    EXPECT_FALSE(QFileInfo::exists(data.file("Bible/KJV")));
    EXPECT_TRUE(keptAt.contains("KJV.removed-")) << keptAt.toStdString();
    EXPECT_EQ(readBytes(keptAt + "/KJV-O.txt"), "text");
    EXPECT_FALSE(removeVersion(data.path(), "KJV").isEmpty()); // no longer listed
}

TEST(VersionList, newCodeAppended_existingLinesKeptInOrder_sameCodeReplacedInPlace_bomKept) {
    EXPECT_EQ(withVersionLine("B - b\r\nA - a", "KJV", "King James"),
              "B - b\r\nA - a\r\nKJV - King James\r\n");
    EXPECT_EQ(withVersionLine("", "KJV", "K"), "KJV - K\r\n");
    EXPECT_EQ(withVersionLine("\xEF\xBB\xBFkjv - old\r\nWEB - w\r\n", "KJV", "new"),
              "\xEF\xBB\xBFKJV - new\r\nWEB - w\r\n");
    EXPECT_EQ(withVersionLine("KJV2 - other\r\n", "KJV", "K"), "KJV2 - other\r\nKJV - K\r\n");
}

// the command line
class BibleImportCli : public ::testing::Test {
  protected:
    void SetUp() override {
        writeBytes(m_data.file("Bible/Version.txt"), "\xEF\xBB\xBFOLD - Old\r\n");
        writeBytes(m_data.file("Bible/OLD/OLD-O.txt"), "old");
    }
    CliResult import(const QStringList& args) {
        return runCli(QStringList{"--data", m_data.path(), "import"} + args);
    }
    TempFolder m_data;
    TempFolder m_files;
    const QStringList m_asNew{"--code", "NEW", "--name", "New Bible"};
};

TEST_F(BibleImportCli, guessedOrNamedFormatIsImportedWithItsSummary_forceReplacesAVersionInPlace) {
    writeZip(m_files.file("web.zip"), {{"GEN.usfm", usfmBook("GEN", "In the beginning.\\f + \\ft n\\f*")},
                                       {"JHN.usfm", usfmBook("JHN", "In the beginning was the Word.")}});
    const auto r = import(QStringList{m_files.file("web.zip")} + m_asNew);
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, "format: USFM\nbooks: 2\nchapters: 2\nverses: 2\ntitles: 0\nempty verses: 0\n"
                     "skipped: \\f 1\n");
    EXPECT_EQ(readBytes(m_data.file("Bible/NEW/NEW-N.txt")),
              "\xEF\xBB\xBF"
              "43N\t1\t1\t0\tIn the beginning was the Word.\r\n");
    EXPECT_EQ(readBytes(m_data.file("Bible/NEW/Chap_verset.txt")), "01O\t1\t1\r\n43N\t1\t1\r\n");

    writeBytes(m_files.file("john.txt"), kZefania);
    ASSERT_EQ(import({"zefania", m_files.file("john.txt"), "--code", "JOHN", "--name", "John"}).exitCode, 0);
    EXPECT_TRUE(readBytes(m_data.file("Bible/JOHN/JOHN-N.txt"))
                    .contains("43N\t3\t16\t0\tFor God so loved the world."));
    const auto forced = import({m_files.file("john.txt"), "--code", "OLD", "--name", "X", "--force"});
    EXPECT_EQ(forced.exitCode, 0) << forced.err.toStdString();
    EXPECT_EQ(readBytes(m_data.file("Bible/Version.txt")),
              "\xEF\xBB\xBFOLD - X\r\nNEW - New Bible\r\nJOHN - John\r\n");
}

// Nothing half-done: every failure before or while writing leaves the folder byte for byte.
TEST_F(BibleImportCli, aFailedImportSaysWhyAndLeavesTheDataFolderByteForByte) {
    const QString bad = m_files.file("bad.usfm"), good = m_files.file("a.usfm");
    writeBytes(bad, "\\id GEN\n\\c 1\n\\v 1 fine\n\\c x\n");
    writeBytes(good, usfmBook("GEN", "Text."));
    writeBytes(m_files.file("words.txt"), "just words\n");
    writeBytes(m_files.file("cut.zip"), QByteArray("PK\x03\x04", 4) + QByteArray(40, '\0'));
    writeBytes(m_data.file("Bible/GONE/GONE-O.txt"), "a version folder without its line");
    const auto before = folderSnapshot(m_data.path());
    const auto as = [&](const QString& code, const QString& name) {
        return QStringList{good, "--code", code, "--name", name};
    };
    const struct {
        QStringList args;
        int exitCode; // 2: a usage error, which the usage follows
        QString says;
    } cases[] = {
        {QStringList{bad} + m_asNew, 1, bad + ":4:1: not a chapter number: \\c x"},
        {QStringList{m_files.file("words.txt")} + m_asNew, 1, "the format cannot be told from the content"},
        {QStringList{"osis", bad} + m_asNew, 1, bad + ":1:"},
        {QStringList{m_files.file("missing.zip")} + m_asNew, 1, "no such file or folder"},
        {QStringList{m_files.file("cut.zip")} + m_asNew, 1, "not a readable zip file"},
        {as("old", "X"), 1, "version old already exists; use --force"},
        {as("GONE", "X"), 1, "version GONE already exists"},
        {as("A - B", "X"), 2, "the code must be 1 to 16"}, // " -" would not read back from Version.txt
        {{good}, 2, "import needs --code and --name"},
        // Regression: a name with CR or LF added lines, and so versions, to Version.txt.
        {as("NEW", "Tiny\r\nEVIL - injected"), 2, "control characters"},
        {as("NEW", "Tiny\nX - y"), 2, "control characters"},
        {as("NEW", "Tiny\rX - y"), 2, "control characters"},
        {as("NEW", "Tab\there"), 2, "control characters"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args.join(' ').toStdString());
        const auto r = import(c.args);
        EXPECT_EQ(r.exitCode, c.exitCode);
        EXPECT_TRUE(r.err.startsWith("lumora-cli: ")) << r.err.toStdString();
        EXPECT_TRUE(QString::fromUtf8(r.err).contains(c.says)) << r.err.toStdString();
        if (c.exitCode == 1) {
            EXPECT_EQ(r.err.count('\n'), 1) << r.err.toStdString();
        }
        EXPECT_EQ(folderSnapshot(m_data.path()), before);
    }
}
