// lumora-cli hymns, run as a separate program on a fixture folder.

#include "hymnfixture.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>

#include <gtest/gtest.h>

using namespace lumora::testing;

namespace {

struct CliRun {
    int code;
    QByteArray out, err;
};

CliRun cli(const QString& data, const QStringList& args) {
    QProcess p;
    p.start(QStringLiteral(LUMORA_CLI_PATH), QStringList{QStringLiteral("--data"), data, QStringLiteral("hymns")} + args);
    p.waitForFinished(30000);
    return {p.exitCode(), p.readAllStandardOutput(), p.readAllStandardError()};
}

class HymnCli : public ::testing::Test {
protected:
    void SetUp() override {
        d.hira(QStringLiteral("Chants"), "\xEF\xBB\xBF" + crlfLines({
                                                   hymnEntry("1 - Gloire", "Louange", "Noël", "Chants", "Adeste", "Bach"),
                                                   hymnEntry("2 - Joie", "Louange", "Noël", "Chants"),
                                                   hymnEntry("3 - Paix", "Prière", "Soir", "Chants"),
                                               }));
        d.hira(QStringLiteral("Other"), crlfLines({hymnEntry("10 - Bach", "Grace", "Matin", "Other")}));
        writeBytes(d.bookFile(QStringLiteral("Chants"), QStringLiteral("parole/1.txt")), "\r\n\r\nLine one\r\nLine two\r\n");
    }
    HymnData d;
};

TEST_F(HymnCli, listsFollowThePicks) {
    EXPECT_EQ(cli(d.path(), {QStringLiteral("books")}).out, "Chants\nOther\n");
    EXPECT_EQ(cli(d.path(), {QStringLiteral("themes"), QStringLiteral("Chants")}).out, "Louange\nPri\xC3\xA8re\n");
    EXPECT_EQ(cli(d.path(), {QStringLiteral("subthemes"), QStringLiteral("Chants"), QStringLiteral("Louange")}).out,
              "No\xC3\xABl\n");
    EXPECT_EQ(cli(d.path(), {QStringLiteral("list"), QStringLiteral("Chants"), QStringLiteral("Louange"), QStringLiteral("Noël")}).out,
              "1 - Gloire\n2 - Joie\n");
    // The start-up load ran: the theme file is there.
    EXPECT_EQ(readBytes(d.bookFile(QStringLiteral("Chants"), QStringLiteral("Theme.txt"))), "\xEF\xBB\xBFLouange\r\nPri\xC3\xA8re\r\n");
}

TEST_F(HymnCli, show_infoBlankLineWords_missingWordsSayASaisir) {
    EXPECT_EQ(cli(d.path(), {QStringLiteral("show"), QStringLiteral("Chants"), QStringLiteral("1 - Gloire")}).out,
              "AIR OF : Adeste\nTONALITY : C\nAUTHOR : Auth\nCOMPOSER : Bach\n\nLine one\nLine two\n");
    const CliRun r = cli(d.path(), {QStringLiteral("show"), QStringLiteral("Chants"), QStringLiteral("2 - Joie")});
    EXPECT_TRUE(r.out.endsWith("\n\nA SAISIR\n"));
}

TEST_F(HymnCli, search_labelsInOrder_jsonCarriesEntries) {
    EXPECT_EQ(cli(d.path(), {QStringLiteral("search"), QStringLiteral("bach")}).out, "1 - Gloire\n10 - Bach\n");
    const CliRun r = cli(d.path(), {QStringLiteral("--json"), QStringLiteral("search"), QStringLiteral("BACH")});
    const QJsonArray hits = QJsonDocument::fromJson(r.out).array();
    ASSERT_EQ(hits.size(), 2);
    EXPECT_EQ(hits.at(1).toObject().value(QStringLiteral("label")).toString(), QStringLiteral("10 - Bach"));
    EXPECT_EQ(hits.at(1).toObject().value(QStringLiteral("entry")).toString(),
              QString::fromUtf8(hymnEntry("10 - Bach", "Grace", "Matin", "Other")));
    EXPECT_EQ(cli(d.path(), {QStringLiteral("search"), QString()}).out.count('\n'), 4);
}

TEST_F(HymnCli, unknownPicksFail_badUsageIsTwo) {
    const CliRun r = cli(d.path(), {QStringLiteral("themes"), QStringLiteral("Nope")});
    EXPECT_EQ(r.code, 1);
    EXPECT_TRUE(r.err.contains("Nope"));
    EXPECT_EQ(cli(d.path(), {QStringLiteral("list"), QStringLiteral("Chants")}).code, 2);
    EXPECT_EQ(cli(d.path(), {QStringLiteral("frobnicate")}).code, 2);
}

} // namespace
