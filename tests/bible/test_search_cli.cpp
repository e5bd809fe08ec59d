#include "bible/searchfixture.h"
#include "support/clirun.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <gtest/gtest.h>

using lumora::testing::CliResult;
using lumora::testing::runCli;
using lumora::testing::TempFolder;

namespace {

class SearchCli : public ::testing::Test {
  protected:
    void SetUp() override {
        lumora::testing::writeSearchBible(m_tmp.path(),
                                          {{"43N\t3\t16", "For God so loved"}, {"01O\t1\t1", "god"}},
                                          {{"43N\t3\t16", "Car Dieu a tant aim\xC3\xA9"}});
    }
    QStringList cmd(const QStringList& rest) const {
        return QStringList{"--data", m_tmp.path(), "search"} + rest;
    }
    TempFolder m_tmp;
};

} // namespace

TEST_F(SearchCli, plainOutput_listsDisplayLinesInOrder) {
    const CliResult r = runCli(cmd({"GOD"}));
    EXPECT_EQ(r.exitCode, 0) << r.err.constData();
    EXPECT_EQ(r.out, QByteArray("01 Book1 1.1-1\n43 John 3.16-16\n"));
}

TEST_F(SearchCli, jsonWithVersion_usesThatVersionsNamesAndIndex) {
    const CliResult r = runCli(cmd({"--version", "BBB", "--json", QStringLiteral("aim\u00e9")}));
    ASSERT_EQ(r.exitCode, 0) << r.err.constData();
    const QJsonArray a = QJsonDocument::fromJson(r.out).array();
    ASSERT_EQ(a.size(), 1);
    EXPECT_EQ(a[0].toObject()["display"].toString(), "43 Jean 3.16-16");
    EXPECT_EQ(a[0].toObject()["key"].toString(), "43N\t3\t16\t16\t1");
}

TEST_F(SearchCli, blankTextAndNoHit_printNothing_unknownVersionFails) {
    EXPECT_EQ(runCli(cmd({" "})).out, QByteArray());
    const CliResult none = runCli(cmd({"--json", "zzzz"}));
    EXPECT_EQ(none.exitCode, 0);
    EXPECT_EQ(QJsonDocument::fromJson(none.out).array().size(), 0);
    const CliResult bad = runCli(cmd({"--version", "XYZ", "god"}));
    EXPECT_EQ(bad.exitCode, 1);
    EXPECT_EQ(bad.err.count('\n'), 1);
    EXPECT_EQ(bad.out, QByteArray());
}
