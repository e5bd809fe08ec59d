// lumora-cli hymns, run as a separate program on a fixture folder.

#include "hymnfixture.h"
#include "support/clirun.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <gtest/gtest.h>

using namespace lumora::testing;

namespace {

class HymnCli : public ::testing::Test {
  protected:
    void SetUp() override {
        d.hira("Chants",
               "\xEF\xBB\xBF" + crlfLines({
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

TEST_F(HymnCli, listsFollowThePicksAndShowPrintsInfoAndWords) {
    EXPECT_EQ(cli({"books"}).out, "Chants\nOther\n");
    EXPECT_EQ(cli({"themes", "Chants"}).out, "Louange\nPri\xC3\xA8re\n");
    EXPECT_EQ(cli({"subthemes", "Chants", "Louange"}).out, "No\xC3\xABl\n");
    EXPECT_EQ(cli({"list", "Chants", "Louange", "Noël"}).out, "1 - Gloire\n2 - Joie\n");
    // the start-up load ran: the theme file is there
    EXPECT_EQ(readBytes(d.bookFile("Chants", "Theme.txt")), "\xEF\xBB\xBFLouange\r\nPri\xC3\xA8re\r\n");
    // show: the info, a blank line, then the words or A SAISIR
    EXPECT_EQ(cli({"show", "Chants", "1 - Gloire"}).out,
              "AIR OF : Adeste\nTONALITY : C\nAUTHOR : Auth\nCOMPOSER : Bach\n\nLine one\nLine two\n");
    EXPECT_TRUE(cli({"show", "Chants", "2 - Joie"}).out.endsWith("\n\nA SAISIR\n"));
}

TEST_F(HymnCli, searchPrintsLabelsInOrderAndJsonCarriesEntries) {
    EXPECT_EQ(cli({"search", "bach"}).out, "1 - Gloire\n10 - Bach\n");
    const QJsonArray hits = QJsonDocument::fromJson(cli({"--json", "search", "BACH"}).out).array();
    ASSERT_EQ(hits.size(), 2);
    EXPECT_EQ(hits.at(1).toObject().value("label").toString(), "10 - Bach");
    EXPECT_EQ(hits.at(1).toObject().value("entry").toString(),
              entryText("10 - Bach", "Grace", "Matin", "Other"));
    EXPECT_EQ(cli({"search", QString()}).out.count('\n'), 4);
}

// malformed input
TEST_F(HymnCli, unknownPicksFailAndBadUsageIsTwo) {
    const CliResult r = cli({"themes", "Nope"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.err.contains("Nope"));
    EXPECT_EQ(cli({"list", "Chants"}).exitCode, 2);
    EXPECT_EQ(cli({"frobnicate"}).exitCode, 2);
}

} // namespace
