#include "import/audio.h"
#include "support/biblefixture.h"
#include "support/clirun.h"
#include "support/spokenchapter.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <cmath>

using namespace lumora::testing;

namespace {

class CliMarks : public ::testing::Test {
  protected:
    TempFolder tmp;
    QString bookFile;
    void SetUp() override {
        FixtureOptions opt;
        opt.mark = [](int b, int c, int v) -> QByteArray {
            if (b == 1 && c == 8 && v == 2) return "0";
            return b == 1 ? QByteArray::number(c * 100 + v) + ",00000" : "0";
        };
        std::vector<FixtureBook> books{{1, "Genesis", 10, [](int c) { return c == 3 ? 24 : 3; }, "Gn"},
                                       {40, "Matthew", 2, [](int) { return 2; }, "Mt"}};
        writeFixtureVersion(tmp.path(), "AAA", books, opt);
        writeBytes(tmp.path() + "/Bible/Version.txt", "AAA - First\r\n");
        bookFile = tmp.path() + "/Bible/AAA/AAA-O.txt";
    }
    CliResult cli(const QStringList& args) const {
        return runCli(QStringList{"--data", tmp.path(), "marks"} + args);
    }
};

} // namespace

TEST_F(CliMarks, formatAndShow) {
    EXPECT_EQ(runCli({"marks", "format", "12,5"}).out, "12,50000\n");
    EXPECT_EQ(runCli({"marks", "format", "3,1415926"}).out, "3,14159\n");
    CliResult r = cli({"show", "1", "8"});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.out, "1\t801,00000\n2\t0\n3\t803,00000\n");
    r = cli({"show", "--json", "--version", "aaa", "1", "8"});
    const QJsonArray rows = QJsonDocument::fromJson(r.out).array();
    ASSERT_EQ(rows.size(), 3);
    EXPECT_EQ(rows[1].toObject()["mark"].toString(), "0");
}

TEST_F(CliMarks, updateWritesTheChapterAndNothingElse) {
    const QByteArray before = readBytes(bookFile);
    writeBytes(tmp.file("new.txt"), "125,40000\n\n9\n");
    const CliResult r = cli({"update", "1", "8", tmp.file("new.txt")});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    QByteArray expected = before;
    expected.replace("01O\t8\t1\t801,00000\t", "01O\t8\t1\t125,40000\t");
    expected.replace("01O\t8\t3\t803,00000\t", "01O\t8\t3\t9\t");
    EXPECT_EQ(readBytes(bookFile), expected) << "an empty line leaves its verse as it is";
    EXPECT_TRUE(expected.startsWith("\xEF\xBB\xBF"));
    // the marks as they were, for the window's "Undo last update"
    EXPECT_EQ(readBytes(tmp.path() + "/Bible/AAA/Mark backups/Gn08 Backup.txt"),
              "01O\t8\t1\t801,00000\r\n01O\t8\t2\t0\r\n01O\t8\t3\t803,00000\r\n\r\n");
}

TEST_F(CliMarks, backupThenRestore_andAnotherChaptersBackupIsRefused) {
    CliResult r = cli({"backup", "1", "3", tmp.path()});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    const QString path = tmp.file("Gn03 Backup.txt");
    EXPECT_EQ(r.out, path.toUtf8() + "\n");
    // the chapter asked for, with its stored marks (the layout is the backup writer's)
    EXPECT_TRUE(readBytes(path).startsWith("01O\t3\t1\t301,00000\r\n"));

    r = cli({"restore", "1", "3", path});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    const QList<QByteArray> rows = r.out.split('\n');
    ASSERT_EQ(rows.size(), 287);
    EXPECT_EQ(rows[0], "1\t301,00000\t301,00000");
    EXPECT_EQ(rows[24], "25\t\t");

    // another chapter's backup is refused, naming the chapter asked for
    r = cli({"restore", "1", "8", path});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.err, "FILE NOT FOND or AVAILABLE : \r\nRESTORE Gn08 Backup.txt\n");
    EXPECT_TRUE(r.out.isEmpty());
}

TEST_F(CliMarks, suggestReadsTheChapterRecording) {
    if (!haveSpeechTools()) GTEST_SKIP() << "espeak-ng and sox read the chapters";
    const QStringList texts{"Short one.", "A verse of a middling size, read aloud.",
                            "And the third verse ends the chapter."};
    const auto other = speakChapter(tmp, "espeak:en-us+m3", texts, {0.6});
    ASSERT_TRUE(other);
    FixtureOptions opt;
    opt.text = [texts](int, int, int v) { return texts[v - 1].toUtf8(); };
    writeFixtureVersion(tmp.path(), "BBB", {{40, "Matthew", 2, [](int) { return 3; }, "Mt"}}, opt);
    writeBytes(tmp.path() + "/Bible/Version.txt", "AAA - First\r\nBBB - Second\r\n");
    const QByteArray before = readBytes(bookFile);

    CliResult r = cli({"suggest", "--audio", other->wav, "--version", "BBB", "1", "2"});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    const QList<QByteArray> lines = r.out.split('\n');
    ASSERT_EQ(lines.size(), 4);
    EXPECT_TRUE(lines[3].isEmpty());
    for (int v = 1; v <= 3; ++v) {
        const QList<QByteArray> fields = lines[v - 1].split('\t');
        ASSERT_EQ(fields.size(), 2) << "verse TAB mark, nothing more: " << lines[v - 1].toStdString();
        EXPECT_EQ(fields[0], QByteArray::number(v));
        EXPECT_EQ(fields[1].size(), fields[1].indexOf(',') + 6) << "a mark text";
        EXPECT_NEAR(QByteArray(fields[1]).replace(',', '.').toDouble(), other->truth[std::size_t(v - 1)],
                    0.25);
    }
    // one book name tells no language
    EXPECT_EQ(r.err, "lumora-cli: verses read in en, English assumed: the book names tell no language\n");

    // Matthew 2 of the first version, read from its own recording.
    QStringList first;
    for (int v = 1; v <= 2; ++v)
        first << QString::fromUtf8(fixtureVerseText(40, 2, v));
    const auto own = speakChapter(tmp, "espeak:en-gb-x-rp", first, {0.8});
    ASSERT_TRUE(own);
    ASSERT_TRUE(QDir().mkpath(tmp.path() + "/Bible/AAA/Sound"));
    ASSERT_TRUE(QFile::copy(own->wav, tmp.path() + "/Bible/AAA/Sound/Mt02.wav"));
    r = cli({"suggest", "--json", "2", "2"});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    const QJsonArray rows = QJsonDocument::fromJson(r.out).array();
    ASSERT_EQ(rows.size(), 2);
    for (const QJsonValue& row : rows) {
        const double confidence = row.toObject().value("confidence").toDouble(-1);
        EXPECT_TRUE(confidence >= 0 && confidence <= 1) << confidence;
        EXPECT_EQ(row.toObject().contains("doubt"), confidence < 0.5);
    }
    // another chapter's reading is refused, with nothing printed
    r = cli({"suggest", "--audio", other->wav, "2", "2"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.out.isEmpty());
    EXPECT_TRUE(r.err.contains("does not match the chapter's text")) << r.err.toStdString();
    EXPECT_EQ(readBytes(bookFile), before);            // nothing written
    EXPECT_EQ(cli({"suggest", "1", "2"}).exitCode, 1); // Genesis 2 has no recording
}

TEST_F(CliMarks, badUsageAndUnknownChapters) {
    EXPECT_EQ(cli({}).exitCode, 2);
    EXPECT_EQ(cli({"frobnicate"}).exitCode, 2);
    EXPECT_EQ(cli({"show", "1"}).exitCode, 2);
    EXPECT_EQ(cli({"show", "x", "1"}).exitCode, 2);
    EXPECT_EQ(cli({"show", "3", "1"}).exitCode, 1);
    EXPECT_EQ(cli({"show", "1", "11"}).exitCode, 1);
    EXPECT_EQ(cli({"update", "1", "8", tmp.file("missing.txt")}).exitCode, 1);
    writeBytes(tmp.file("tab.txt"), "1\t2\n");
    const QByteArray before = readBytes(bookFile);
    EXPECT_EQ(cli({"update", "1", "8", tmp.file("tab.txt")}).exitCode, 1);
    EXPECT_EQ(readBytes(bookFile), before);
}
