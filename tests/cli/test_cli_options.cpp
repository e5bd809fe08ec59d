#include "support/biblefixture.h"
#include "support/clirun.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

using namespace lumora::testing;

namespace {

class CliOptions : public ::testing::Test {
  protected:
    TempFolder tmp;
    void SetUp() override {
        FixtureOptions opt;
        opt.text = [](int b, int c, int v) -> QByteArray {
            if (b == 1 && c == 1 && v == 2) return "the word --json stands in this verse";
            if (b == 1 && c == 1 && v == 3) return "and -word begins with a dash here";
            return fixtureVerseText(b, c, v);
        };
        writeFixtureVersion(tmp.path(), "AAA", fixtureBooks(2, 3), opt);
        writeFixtureVersion(tmp.path(), "BBB", fixtureBooks(1, 2));
        writeBytes(tmp.path() + "/Bible/Version.txt", "AAA - First\r\nBBB - Second\r\n");
    }
    QStringList data() const { return {"--data", tmp.path()}; }
    CliResult cli(const QStringList& args) const { return runCli(data() + args); }
};

} // namespace

// --help and --version

TEST(CliHelp, helpListsEveryCommand_aCommandsHelpItsUsage_andVersionTheProjectsWhateverFollows) {
    CliResult r = runCli({"--help"});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_TRUE(r.err.isEmpty()) << r.err.constData();
    for (const char* command :
         {"books", "check", "demo", "export", "hymns", "import", "marks", "passage", "search", "versions"})
        EXPECT_TRUE(r.out.contains(QByteArray("\n  ") + command + ' ') ||
                    r.out.contains(QByteArray("\n  ") + command + '\n'))
            << command;
    EXPECT_TRUE(r.out.contains("\n  --  ")) << "the help tells how options end";
    EXPECT_EQ(runCli({"-h"}).out, r.out);

    // a command's help needs no data
    r = runCli({"--data", "/nonexistent", "search", "--help"});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.out, "usage: lumora-cli [--data DIR] search [--version CODE] [--json] TEXT\n");
    EXPECT_TRUE(r.err.isEmpty());
    // after -- it is a word to search like any other
    EXPECT_EQ(runCli({"--data", "/nonexistent", "search", "--", "--help"}).exitCode, 1);

    const QByteArray version = "lumora-cli (Lumora) " LUMORA_TEST_PROJECT_VERSION "\n";
    for (const QStringList& args :
         {QStringList{"--version"}, QStringList{"--data", "/nonexistent", "--version", "versions"}}) {
        r = runCli(args);
        EXPECT_EQ(r.exitCode, 0);
        EXPECT_EQ(r.out, version);
    }
}

// -- ends the options

TEST_F(CliOptions, wordsAfterDoubleDashAreSearchedAsTheyStand_beforeTheCommandItEndsEveryOption) {
    CliResult r = cli({"search", "--", "--json"});
    EXPECT_EQ(r.exitCode, 0) << r.err.constData();
    EXPECT_EQ(r.out.count('\n'), 1) << r.out.constData();
    EXPECT_TRUE(r.out.contains("1.2")) << "a plain hit line, not JSON: " << r.out.constData();
    const CliResult before = runCli(data() + QStringList{"--", "search", "--json"});
    EXPECT_EQ(before.exitCode, 0) << before.err.constData();
    EXPECT_EQ(before.out, r.out);

    r = cli({"search", "--json", "--", "-word"});
    EXPECT_EQ(r.exitCode, 0) << r.err.constData();
    const QJsonArray hits = QJsonDocument::fromJson(r.out).array();
    ASSERT_EQ(hits.size(), 1) << r.out.constData();
    EXPECT_TRUE(hits.at(0).toObject().value("display").toString().contains("1.3"));

    // a word with one dash was never an option
    EXPECT_EQ(cli({"search", "-word"}).out, cli({"search", "--", "-word"}).out);
}

// option values

TEST_F(CliOptions, valueMayFollowOrBeJoinedWithEquals) {
    const CliResult spaced = cli({"books", "--version", "BBB"});
    EXPECT_EQ(spaced.exitCode, 0);
    EXPECT_EQ(spaced.out.count('\n'), 66);
    EXPECT_EQ(cli({"books", "--version=BBB"}).out, spaced.out);
    EXPECT_EQ(runCli({"--data=" + tmp.path(), "books", "--version=BBB"}).out, spaced.out);
    // options may follow the arguments
    EXPECT_EQ(cli({"search", "dash", "--json"}).out, cli({"search", "--json", "dash"}).out);
}

// An unknown option is refused with a pointer to --; an option of another command is unknown too.
TEST_F(CliOptions, malformedOrUnknownOptionsAreUsageErrors) {
    struct Case {
        QStringList args;
        const char* message;
    };
    const std::vector<Case> cases = {
        {{"search", "--json=yes", "x"}, "--json takes no value"},
        {{"books", "--version", "AAA", "--version", "BBB"}, "--version is given twice"},
        {{"search", "x", "--version"}, "--version needs a code"},
        {{"search", "--version", "--", "x"}, "--version needs a code"},
        {{"--bogus", "versions"}, "unknown option --bogus"},
        {{"search", "--jsn", "love"}, "unknown option --jsn (put -- before an argument"},
        {{"versions", "--json"}, "unknown option --json"},
    };
    for (const Case& c : cases) {
        const CliResult r = cli(c.args);
        EXPECT_EQ(r.exitCode, 2) << c.args.join(' ').toStdString();
        EXPECT_TRUE(r.err.contains(c.message)) << c.args.join(' ').toStdString() << ": " << r.err.constData();
        EXPECT_TRUE(r.out.isEmpty());
    }
}
