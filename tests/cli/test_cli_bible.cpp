#include "support/biblefixture.h"
#include "support/clirun.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <algorithm>

using namespace lumora::testing;

namespace {

// lumora-cli with the configuration and data homes under `home`, so that it finds the path file there.
CliResult cliAt(const QString& home, const QStringList& args) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("XDG_CONFIG_HOME", home + "/cfg");
    env.insert("XDG_DATA_HOME", home + "/share");
    return runCli(args, env);
}

class CliBible : public ::testing::Test {
  protected:
    TempFolder tmp;
    void SetUp() override {
        FixtureOptions opt;
        opt.text = [](int b, int c, int v) -> QByteArray {
            if (b == 40 && c == 5 && v == 18) return "[Law]For verily";
            return fixtureVerseText(b, c, v);
        };
        opt.mark = [](int b, int c, int v) -> QByteArray {
            return b == 40 && c == 5 ? QByteArray::number(v) + ",00000" : "0";
        };
        writeFixtureVersion(tmp.path(), "AAA", fixtureBooks(6, 25), opt);
        writeFixtureVersion(tmp.path(), "BBB", {{1, "Only", 1, [](int) { return 2; }}});
        writeBytes(tmp.path() + "/Bible/Version.txt", "AAA - First\r\nGONE - Missing\r\nBBB - Second\r\n");
    }
    CliResult cli(const QStringList& args) const { return runCli(QStringList{"--data", tmp.path()} + args); }
};

} // namespace

TEST_F(CliBible, versionsBooksAndPassages_byteExactWithoutBom_andAsJson) {
    CliResult r = cli({"versions", "--all"});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.out, "AAA - First\nBBB - Second\n--\nGONE - Missing\n");
    EXPECT_EQ(cli({"books", "--version", "bbb"}).out, "01 Only\n");
    EXPECT_EQ(cli({"books"}).out.count('\n'), 66);

    r = cli({"passage", "40", "5", "18", "19"});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.out, "5.18   For verily\r\n\n5.19   Text 40 5:19\r\n\n5.20\t\r\n");
    r = cli({"passage", "--titles", "--uppercase", "40", "5", "18", "18"});
    EXPECT_EQ(r.out, "LAW\r\n\r5.18   For verily\r\n\n5.19\t\r\n");
    r = cli({"passage", "--header", "40", "5", "25"});
    EXPECT_EQ(r.out, "AAA - First\r\n40 Book40 5 : 25\r\n\n5.25   Text 40 5:25\r\n");

    r = cli({"passage", "--json", "40", "5", "24"});
    ASSERT_EQ(r.exitCode, 0);
    const QJsonObject o = QJsonDocument::fromJson(r.out).object();
    EXPECT_EQ(o["heading"].toString(), "40 Book40 5 : 24 - 25");
    EXPECT_EQ(o["header"].toString(), "AAA - First\r\n40 Book40 5 : 24 - 25\r\n\n");
    EXPECT_EQ(o["marks"].toArray(),
              (QJsonArray{QJsonArray{"5.24", "24,00000"}, QJsonArray{"5.25", "25,00000"}}));
    EXPECT_EQ(o["positions"].toArray().size(), 25);
    EXPECT_EQ(o["positions"].toArray()[0].toString(), "1,00000");
}

TEST_F(CliBible, errorsExitOneAndUsageTwo) {
    for (const QStringList& args :
         {QStringList{"passage", "99", "1"}, QStringList{"passage", "40", "7"},
          QStringList{"passage", "40", "5", "26"}, QStringList{"books", "--version", "zzz"}}) {
        const CliResult r = cli(args);
        EXPECT_EQ(r.exitCode, 1) << args.join(' ').toStdString();
        EXPECT_EQ(r.err.count('\n'), 1) << r.err.toStdString();
        EXPECT_TRUE(r.out.isEmpty());
    }
    EXPECT_EQ(cli({"passage", "40"}).exitCode, 2);
    EXPECT_EQ(cli({"passage", "40", "x"}).exitCode, 2);
    EXPECT_EQ(cli({"passage", "40", "5", "1", "2", "3"}).exitCode, 2);
    EXPECT_TRUE(cli({"passage", "99", "1"}).err.contains("`lumora-cli books`"));
    EXPECT_EQ(cli({"nonsense"}).exitCode, 2);
    EXPECT_EQ(runCli({"--data", tmp.path() + "/nowhere", "versions"}).exitCode, 1);
}

// A typed reference is the same passage as its numbers, to the byte, for passage and export.
TEST_F(CliBible, referencePrintsTheSameBytesAsNumbers) {
    const struct {
        QStringList reference, numbers;
    } cases[] = {
        {{"Matthew 5:18-20"}, {"40", "5", "18", "20"}},
        {{"mt", "5.18"}, {"40", "5", "18", "18"}},
        {{"--titles", "--header", "Mt 5"}, {"--titles", "--header", "40", "5"}},
        {{"--version", "bbb", "Genesis 1:2"}, {"--version", "bbb", "1", "1", "2", "2"}},
    };
    for (const auto& c : cases) {
        const CliResult byName = cli(QStringList{"passage"} + c.reference);
        const CliResult byNumber = cli(QStringList{"passage"} + c.numbers);
        EXPECT_EQ(byName.exitCode, 0) << byName.err.toStdString();
        EXPECT_FALSE(byName.out.isEmpty());
        EXPECT_EQ(byName.out, byNumber.out) << c.reference.join(' ').toStdString();
    }
    ASSERT_EQ(cli({"export", "Mt 5:18-20", tmp.path() + "/byname.rtf"}).exitCode, 0);
    ASSERT_EQ(cli({"export", "40", "5", "18", "20", tmp.path() + "/bynumber.rtf"}).exitCode, 0);
    EXPECT_EQ(readBytes(tmp.path() + "/byname.rtf"), readBytes(tmp.path() + "/bynumber.rtf"));

    // A reference that names no single passage fails with the reason, and prints nothing.
    const struct {
        QStringList args;
        const char* says;
    } bad[] = {
        {{"passage", "Jo 1"}, "could be"},
        {{"passage", "Matthew 5:26"}, "has 25 verses"},
        {{"passage", "Hezekiah", "1"}, "No book of AAA is called"},
        {{"export", "Mt 9", tmp.path() + "/never.txt"}, "has 6 chapters"},
    };
    for (const auto& b : bad) {
        const CliResult r = cli(b.args);
        EXPECT_EQ(r.exitCode, 1) << b.args.join(' ').toStdString();
        EXPECT_TRUE(r.err.contains(b.says)) << r.err.toStdString();
        EXPECT_TRUE(r.out.isEmpty());
    }
    EXPECT_FALSE(QFile::exists(tmp.path() + "/never.txt"));
}

TEST_F(CliBible, withoutDataOptionUsesThePathFile) {
    TempFolder home;
    writeBytes(home.path() + "/cfg/LMR/Lumora.path", QFile::encodeName(tmp.path()) + "\r\n");
    EXPECT_EQ(cliAt(home.path(), {"versions"}).out, "AAA - First\nBBB - Second\n");
    TempFolder empty;
    EXPECT_EQ(cliAt(empty.path(), {"versions"}).exitCode, 1);
}

// regressions: a request that finds nothing is a failure
TEST_F(CliBible, passageNotInTheFileExitsOneWithAMessage) {
    const QString path = tmp.path() + "/Bible/AAA/AAA-N.txt";
    const QByteArray whole = readBytes(path);
    // chapter 5 of book 40 gone from the testament file, though the tables list it
    QByteArray bytes;
    for (const QByteArray& line : whole.split('\n'))
        if (!line.startsWith("40N\t5\t") && !line.isEmpty()) bytes += line + "\n";
    writeBytes(path, bytes);
    CliResult r = cli({"passage", "40", "5"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.out.isEmpty());
    EXPECT_TRUE(r.err.contains("40 5:1 is not in")) << r.err.toStdString();
    // export wrote an empty passage and said it had succeeded
    r = cli({"export", "40", "5", tmp.path() + "/gone.txt"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.err.contains("40 5:1 is not in")) << r.err.toStdString();
    EXPECT_FALSE(QFile::exists(tmp.path() + "/gone.txt"));

    // the file last line first
    QList<QByteArray> lines = whole.mid(3).split('\n');
    lines.removeLast();
    std::reverse(lines.begin(), lines.end());
    writeBytes(path, "\xEF\xBB\xBF" + lines.join('\n') + "\n");
    r = cli({"passage", "40", "5", "1", "3"});
    EXPECT_EQ(r.exitCode, 1) << r.out.toStdString();
    EXPECT_EQ(r.err.count('\n'), 1);
}
