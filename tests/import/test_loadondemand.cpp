// The importer's and the sound decoder's libraries are loaded only by the commands that use them.

#include "support/clirun.h"
#include "support/testdata.h"

#include "import/swordreader.h"

#include <QFile>
#include <QFileInfo>
#include <QProcess>

#include <gtest/gtest.h>

using namespace lumora;
using lumora::testing::TempFolder;

namespace {

QByteArray neededLibraries(const QString& program) {
    QProcess ldd;
    ldd.start(QStringLiteral("ldd"), {program});
    EXPECT_TRUE(ldd.waitForFinished(60000));
    return ldd.readAllStandardOutput();
}

} // namespace

TEST(LoadOnDemand, programsStartWithoutSwordOrSoundLibraries) {
    // Regression: every start of lumora-cli loaded 58 libraries, most of them through libsword
    // (network, TLS, Kerberos, LDAP, a full-text index), which only an import uses.
    for (const QString& program : {QStringLiteral(LUMORA_CLI_PATH), QStringLiteral(LUMORA_APP_PATH)}) {
        const QByteArray libs = neededLibraries(program);
        ASSERT_TRUE(libs.contains("libQt6Core")) << program.toStdString();
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
    const QString cli = bin.file(QStringLiteral("lumora-cli"));
    ASSERT_TRUE(QFile::copy(QStringLiteral(LUMORA_CLI_PATH), cli));
    QProcess p;
    p.start(cli, {QStringLiteral("--data"), data.path(), QStringLiteral("import"), QStringLiteral("sword"),
                  QStringLiteral("engKJV2006eb"), QStringLiteral("--code"), QStringLiteral("KJV"),
                  QStringLiteral("--name"), QStringLiteral("King James")});
    ASSERT_TRUE(p.waitForFinished(60000));
    EXPECT_EQ(p.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(p.exitCode(), 1);
    const QByteArray err = p.readAllStandardError();
    EXPECT_TRUE(err.startsWith("lumora-cli: the SWORD reader cannot be loaded")) << err.toStdString();
    EXPECT_TRUE(err.contains(import::kSwordPluginName.toUtf8())) << err.toStdString();
    EXPECT_FALSE(QFileInfo::exists(data.file(QStringLiteral("Bible"))));
    // the everyday commands do not miss it
    p.start(cli, {QStringLiteral("marks"), QStringLiteral("format"), QStringLiteral("1.5")});
    ASSERT_TRUE(p.waitForFinished(60000));
    EXPECT_EQ(p.exitCode(), 0) << p.readAllStandardError().toStdString();
}
