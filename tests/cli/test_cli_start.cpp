// What lumora-cli loads before its work. Built with the static Qt Core it needs none of Qt's
// shared libraries nor the dozen they bring (ICU, GLib, PCRE2, ...); `import sword` then finds
// the program's own Qt from the plugin it loads, which the demo and import tests run.

#include <gtest/gtest.h>

#include <QProcess>
#include <QRegularExpression>

namespace {

QStringList neededLibraries(const QString& program) {
    QProcess p;
    p.start(QStringLiteral("readelf"), {QStringLiteral("--dynamic"), program});
    if (!p.waitForFinished(30000) || p.exitCode() != 0) return {};
    QStringList needed;
    static const QRegularExpression entry(QStringLiteral(R"(\(NEEDED\).*\[(.+)\])"));
    for (const QString& line : QString::fromUtf8(p.readAllStandardOutput()).split(QLatin1Char('\n')))
        if (const auto m = entry.match(line); m.hasMatch()) needed << m.captured(1);
    return needed;
}

} // namespace

TEST(CliStart, programBuiltWithTheStaticQtCoreNeedsOnlyTheCAndCxxRunTimes) {
    if (!LUMORA_CLI_STATIC_QTCORE) GTEST_SKIP() << "this build links lumora-cli with the shared Qt Core";
    const QStringList needed = neededLibraries(QStringLiteral(LUMORA_CLI_PATH));
    ASSERT_FALSE(needed.isEmpty()) << "readelf could not read " << LUMORA_CLI_PATH;
    static const QRegularExpression runtime(
        QStringLiteral(R"(^(libc|libm|libstdc\+\+|libgcc_s|ld-linux[-a-z0-9_]*)\.so)"));
    for (const QString& lib : needed)
        EXPECT_TRUE(runtime.match(lib).hasMatch()) << "lumora-cli needs " << lib.toStdString();
}
