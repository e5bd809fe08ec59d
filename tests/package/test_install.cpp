#include "support/clirun.h"
#include "support/testdata.h"

#include <QDirIterator>
#include <QFileInfo>
#include <QImage>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>

using namespace lumora::testing;

namespace {

CliResult run(const QString& program, const QStringList& args) {
    return runProgram(program, args, QProcessEnvironment::systemEnvironment(), 120000);
}

// `cmake --install` of the build folder the tests were built in, once for the whole suite.
class InstallTree : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        s_prefix = std::make_unique<QTemporaryDir>();
        s_install =
            run(QStringLiteral(LUMORA_CMAKE), {"--install", LUMORA_BINARY_DIR, "--prefix", s_prefix->path()});
    }
    static void TearDownTestSuite() { s_prefix.reset(); }
    void SetUp() override { ASSERT_EQ(s_install.exitCode, 0) << s_install.err.constData(); }

    static QString path(const QString& rel) { return s_prefix->path() + QLatin1Char('/') + rel; }
    static QStringList installed() {
        QStringList files;
        QDirIterator it(s_prefix->path(), QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext())
            files << QDir(s_prefix->path()).relativeFilePath(it.next());
        files.sort();
        return files;
    }
    // The application id the launcher, icon and metainfo are named after.
    static QString appId() {
        const QStringList desktop = QDir(path("share/applications")).entryList({"*.desktop"});
        return desktop.size() == 1 ? QFileInfo(desktop.first()).completeBaseName() : QString();
    }
    static void skipWithout(const char* tool) {
        if (QStandardPaths::findExecutable(tool).isEmpty())
            GTEST_SKIP() << tool << " is not installed (scripts/install-deps installs it)";
    }

    static inline std::unique_ptr<QTemporaryDir> s_prefix;
    static inline CliResult s_install;
};

const QList<int> kIconSizes = {16, 22, 24, 32, 48, 64, 128, 256};

} // namespace

// what is installed

TEST_F(InstallTree, installsTheProgramsAndDesktopFilesAndNothingElse) {
    const QString id = appId();
    ASSERT_FALSE(id.isEmpty()) << installed().join('\n').toStdString();
    QStringList expected = {"bin/lumora",
                            "bin/lumora-cli",
                            "share/applications/" + id + ".desktop",
                            "share/icons/hicolor/scalable/apps/" + id + ".svg",
                            "share/man/man1/lumora-cli.1.gz",
                            "share/metainfo/" + id + ".metainfo.xml"};
    for (int size : kIconSizes)
        expected << QStringLiteral("share/icons/hicolor/%1x%1/apps/%2.png").arg(size).arg(id);
    expected.sort();
    EXPECT_EQ(installed(), expected);
    for (const char* program : {"bin/lumora", "bin/lumora-cli"})
        EXPECT_TRUE(QFileInfo(path(program)).isExecutable()) << program;
}

TEST_F(InstallTree, everyIconIsDrawnAtTheSizeItsFolderNames) {
    for (int size : kIconSizes) {
        const QString file =
            path(QStringLiteral("share/icons/hicolor/%1x%1/apps/%2.png").arg(size).arg(appId()));
        const QImage icon(file);
        ASSERT_FALSE(icon.isNull()) << file.toStdString();
        EXPECT_EQ(icon.size(), QSize(size, size)) << file.toStdString();
        EXPECT_TRUE(icon.hasAlphaChannel());
        // a drawing, not an empty or filled square: some pixels clear, most of the middle not
        int opaque = 0;
        for (int y = 0; y < size; ++y)
            for (int x = 0; x < size; ++x)
                opaque += qAlpha(icon.pixel(x, y)) > 128;
        EXPECT_GT(opaque, size * size / 3) << size;
        EXPECT_LT(opaque, size * size) << size;
    }
}

// the launcher and the metainfo

TEST_F(InstallTree, launcherPassesItsValidatorAndStartsAnInstalledProgram) {
    skipWithout("desktop-file-validate");
    const QString file = path("share/applications/" + appId() + ".desktop");
    const CliResult check = run("desktop-file-validate", {file});
    EXPECT_EQ(check.exitCode, 0) << check.out.constData() << check.err.constData();
    EXPECT_TRUE(check.out.isEmpty()) << "no hints either: " << check.out.constData();
    const QByteArray entry = readBytes(file);
    const auto value = [&](const char* key) {
        const auto m =
            QRegularExpression(QStringLiteral("^%1=(.*)$").arg(key), QRegularExpression::MultilineOption)
                .match(QString::fromUtf8(entry));
        return m.hasMatch() ? m.captured(1) : QString();
    };
    EXPECT_TRUE(QFileInfo::exists(path("bin/" + value("Exec").section(' ', 0, 0))))
        << value("Exec").toStdString();
    EXPECT_EQ(value("Icon"), appId()) << "the theme finds the icon by this name";
}

TEST_F(InstallTree, metainfoPassesItsValidatorAndNamesTheLauncher) {
    skipWithout("appstreamcli");
    const QString file = path("share/metainfo/" + appId() + ".metainfo.xml");
    const CliResult check = run("appstreamcli", {"validate", "--no-net", file});
    EXPECT_EQ(check.exitCode, 0) << check.out.constData() << check.err.constData();
    const QByteArray xml = readBytes(file);
    EXPECT_TRUE(xml.contains("<id>" + appId().toUtf8() + "</id>"));
    EXPECT_TRUE(
        xml.contains("<launchable type=\"desktop-id\">" + appId().toUtf8() + ".desktop</launchable>"));
    for (const char* program : {"lumora", "lumora-cli"}) {
        EXPECT_TRUE(xml.contains(QByteArray("<binary>") + program + "</binary>")) << program;
        EXPECT_TRUE(QFileInfo::exists(path(QStringLiteral("bin/") + program)));
    }
}

// the manual page

TEST_F(InstallTree, manualPageFormatsCleanlyAndListsEveryCommandOfHelp) {
    skipWithout("groff");
    const CliResult page = run("gzip", {"-dc", path("share/man/man1/lumora-cli.1.gz")});
    ASSERT_EQ(page.exitCode, 0);
    TempFolder tmp;
    writeBytes(tmp.file("lumora-cli.1"), page.out);
    const CliResult formatted = run("groff", {"-man", "-ww", "-z", tmp.file("lumora-cli.1")});
    EXPECT_EQ(formatted.exitCode, 0);
    EXPECT_TRUE(formatted.err.isEmpty()) << formatted.err.constData();

    // The page as words: font changes dropped, roff's escaped dashes and spaces plain.
    QString text = QString::fromUtf8(page.out);
    text.remove(QRegularExpression(QStringLiteral(R"(\\f[BIRP])")));
    text.replace(QStringLiteral("\\-"), QStringLiteral("-"))
        .replace(QStringLiteral("\\ "), QStringLiteral(" "));

    // Each form of each command of --help: "marks format TEXT | show ..." is "marks format TEXT",
    // "marks show ..."; "hymns [--json] books | themes BOOK" is "hymns [--json] themes BOOK".
    const CliResult help = runCli({"--help"});
    const QString commands = QString::fromUtf8(help.out).section(QStringLiteral("commands:\n"), 1);
    ASSERT_FALSE(commands.isEmpty());
    int forms = 0;
    for (const QString& line : commands.split('\n', Qt::SkipEmptyParts)) {
        const QStringList alternatives = line.trimmed().split(QStringLiteral(" | "));
        QStringList prefix;
        const QStringList firstWords = alternatives.first().split(' ');
        for (qsizetype i = 0; i < firstWords.size(); ++i) {
            if (i > 0 && firstWords.at(i).at(0).isLower()) break;
            prefix << firstWords.at(i);
        }
        for (qsizetype a = 0; a < alternatives.size(); ++a) {
            const QString form = a == 0 ? alternatives.at(a) : prefix.join(' ') + ' ' + alternatives.at(a);
            EXPECT_TRUE(text.contains(form)) << "the manual page lacks: " << form.toStdString();
            ++forms;
        }
    }
    EXPECT_GE(forms, 20);
    for (const char* option : {"--data", "--help", "--version"})
        EXPECT_TRUE(text.contains(option)) << option;
}
