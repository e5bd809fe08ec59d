// The commands that write, on a disk with no room left: each fails with exit 1, says why, and
// leaves the files as they were (nor a temporary beside them); with room again they work.

#include "support/biblefixture.h"
#include "support/clirun.h"
#include "support/filesizelimit.h"

#include <QDir>

using namespace lumora::testing;

namespace {

QStringList entries(const QString& dir) {
    return QDir(dir).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                               QDir::Name);
}

} // namespace

TEST(CliFullDisk, writingCommandsFailSayWhyAndLeaveTheOldFiles) {
    TempFolder tmp;
    SmallFileSystem disk(tmp.file("small"), "1m");
    if (!disk.mounted()) GTEST_SKIP() << disk.why();
    const QString data = disk.path() + "/data";
    writeFixtureVersion(data, "AAA", fixtureBooks(6, 25));
    writeBytes(data + "/Bible/Version.txt", "AAA - First\r\n");
    const QString bookFolder = data + "/Bible/AAA";
    const QString exported = disk.path() + "/exports/Genesis 1.txt";
    const QString backups = disk.path() + "/backups";
    writeBytes(exported, "an older export");
    QDir().mkpath(backups);
    writeBytes(tmp.file("marks.txt"), "12,5\n");
    const QByteArray book = readBytes(bookFolder + "/AAA-O.txt");
    const QStringList bookFiles = entries(bookFolder);

    struct Row {
        QStringList args;
        QString folder; // nothing new may appear here
        QString file;   // and this keeps its bytes
        QByteArray before;
    };
    const std::vector<Row> rows = {
        {{"marks", "update", "1", "1", tmp.file("marks.txt")}, bookFolder, bookFolder + "/AAA-O.txt", book},
        {{"marks", "backup", "1", "1", backups}, backups, {}, {}},
        {{"export", "1", "1", "1", "3", exported}, disk.path() + "/exports", exported, "an older export"},
    };
    disk.fill();
    for (const Row& row : rows) {
        SCOPED_TRACE(row.args.join(' ').toStdString());
        const QStringList before = entries(row.folder);
        const CliResult r = runCli(QStringList{"--data", data} + row.args);
        EXPECT_EQ(r.exitCode, 1);
        EXPECT_TRUE(r.err.contains("No space left on device")) << r.err.constData();
        EXPECT_EQ(entries(row.folder), before);
        if (!row.file.isEmpty()) {
            EXPECT_EQ(readBytes(row.file), row.before);
        }
    }
    EXPECT_EQ(entries(bookFolder), bookFiles);

    disk.unfill();
    for (const Row& row : rows) {
        SCOPED_TRACE(row.args.join(' ').toStdString());
        const CliResult r = runCli(QStringList{"--data", data} + row.args);
        EXPECT_EQ(r.exitCode, 0) << r.err.constData();
    }
    EXPECT_NE(readBytes(bookFolder + "/AAA-O.txt"), book);
    EXPECT_EQ(entries(backups).size(), 1);
}
