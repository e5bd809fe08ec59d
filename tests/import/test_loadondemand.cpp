// The importer's and the sound decoder's libraries are loaded only by the commands that use them.

#include "support/clirun.h"
#include "support/testdata.h"

#include "import/swordreader.h"

#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

using namespace lumora;
using lumora::testing::TempFolder;

namespace {

QByteArray neededLibraries(const QString& program) {
    const auto ldd = lumora::testing::runProgram("ldd", {program});
    EXPECT_EQ(ldd.exitCode, 0) << program.toStdString();
    return ldd.out;
}

} // namespace

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
    const auto r = lumora::testing::runProgram(cli, {"--data", data.path(), "import", "sword", "engKJV2006eb",
                                                     "--code", "KJV", "--name", "King James"});
    EXPECT_EQ(r.exitCode, 1) << "a normal exit with 1";
    EXPECT_TRUE(r.err.startsWith("lumora-cli: the SWORD reader cannot be loaded")) << r.err.toStdString();
    EXPECT_TRUE(r.err.contains(import::kSwordPluginName.toUtf8())) << r.err.toStdString();
    EXPECT_FALSE(QFileInfo::exists(data.file("Bible")));
    // the everyday commands do not miss it
    const auto format = lumora::testing::runProgram(cli, {"marks", "format", "1.5"});
    EXPECT_EQ(format.exitCode, 0) << format.err.toStdString();
}
