#include "support/clirun.h"
#include "support/testdata.h"

#include "import/datachecker.h"
#include "import/swordreader.h"

#include <QDir>
#include <QStandardPaths>

#include <gtest/gtest.h>

using namespace lumora;
using namespace lumora::testing;

namespace {

bool demoToolsPresent() {
    for (const char* tool : {"espeak-ng", "lame"})
        if (QStandardPaths::findExecutable(QString::fromLatin1(tool)).isEmpty()) return false;
    return import::readSwordModule(QStringLiteral("engKJV2006eb")).bible.has_value();
}

QProcessEnvironment withConfig(const TempFolder& config) {
    auto env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), config.path());
    return env;
}

} // namespace

// One chapter read aloud keeps the test short; the rest of the demo is built in full.
TEST(Demo, buildsACleanFolder_pointsThePathFileAtIt_andRerunsAsANoOp) {
    if (!demoToolsPresent())
        GTEST_SKIP() << "needs sword-text-kjv, espeak-ng and lame (scripts/install-deps)";
    TempFolder base, config;
    const QString data = base.file(QStringLiteral("demo"));
    const auto env = withConfig(config);
    const auto first = runCli({"--data", data, "demo", "--record", "19:23"}, env);
    ASSERT_EQ(first.exitCode, 0) << first.err.toStdString();

    const auto problems = import::checkDataFolder(data);
    QStringList texts;
    for (const auto& p : problems)
        texts << p.toText();
    EXPECT_TRUE(problems.empty()) << texts.join('\n').toStdString();

    const QByteArray version = readBytes(data + QStringLiteral("/Bible/Version.txt"));
    EXPECT_TRUE(version.startsWith("KJV - King James Version\r\n"))
        << "KJV first: the program opens the first version";
    EXPECT_TRUE(QFileInfo::exists(data + QStringLiteral("/Bible/KJV/Sound/Ps23.mp3")));
    const QByteArray kjvOld = readBytes(data + QStringLiteral("/Bible/KJV/KJV-O.txt"));
    EXPECT_TRUE(kjvOld.contains("\r\n19O\t23\t1\t0,00000\t[A Psalm of David.]The LORD is my shepherd"));
    EXPECT_TRUE(kjvOld.contains("\r\n19O\t22\t1\t0\t")) << "chapters without audio keep \"0\"";
    EXPECT_EQ(readBytes(config.file(QStringLiteral("LMR/Lumora.path"))), QFile::encodeName(data) + "\r\n");

    for (const char* path :
         {"/Cantiques/Cantiques de Lumora/Hira.txt", "/Cantiques/Songs of the Way/Hira.txt",
          "/Bible/Favori/Favourite passages.txt", "/Cantiques/Favori/Sunday.txt"})
        EXPECT_TRUE(QFileInfo::exists(data + QString::fromLatin1(path))) << path;
    EXPECT_TRUE(
        readBytes(data + QStringLiteral("/Cantiques/Songs of the Way/musique/1.mid")).startsWith("MThd"));
    EXPECT_TRUE(readBytes(data + QStringLiteral("/Cantiques/Songs of the Way/parole/2.rtf"))
                    .startsWith("{\\rtf1\\ansi"));

    // Rerun: nothing is rebuilt, an edited file stays, a path file of the user is not touched.
    writeBytes(data + QStringLiteral("/Cantiques/Favori/Sunday.txt"), "\xEF\xBB\xBF\r\n");
    writeBytes(config.file(QStringLiteral("LMR/Lumora.path")), "/elsewhere\r\n");
    const auto second = runCli({"--data", data, "demo", "--record", "19:23"}, env);
    EXPECT_EQ(second.exitCode, 0) << second.err.toStdString();
    EXPECT_FALSE(second.err.contains("importing"));
    EXPECT_EQ(readBytes(data + QStringLiteral("/Cantiques/Favori/Sunday.txt")), "\xEF\xBB\xBF\r\n");
    EXPECT_EQ(readBytes(config.file(QStringLiteral("LMR/Lumora.path"))), "/elsewhere\r\n");
}

TEST(Demo, badRecordOptionIsAUsageError_foreignNonEmptyFolderRefused_bothLeaveAllUntouched) {
    TempFolder base, config;
    EXPECT_EQ(runCli({"--data", base.file("d"), "demo", "--record", "Ps23"}, withConfig(config)).exitCode, 2);
    EXPECT_FALSE(QFileInfo::exists(base.file("d")));
    writeBytes(base.file(QStringLiteral("mine.txt")), "keep");
    const auto r = runCli({"--data", base.path(), "demo"}, withConfig(config));
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.err.contains("not made by the demo")) << r.err.toStdString();
    EXPECT_EQ(QDir(base.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
              QStringList{"mine.txt"});
    EXPECT_FALSE(QFileInfo::exists(config.file(QStringLiteral("LMR/Lumora.path"))));
}
