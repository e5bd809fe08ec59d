#include "session/datapath.h"

#include "support/testdata.h"

#include <sys/stat.h>

using namespace lumora::session;
using namespace lumora::testing;

namespace {
void makeUsable(const QString& folder) {
    writeBytes(folder + "/Bible/Version.txt", "X - x\r\n");
}
} // namespace

TEST(DataPath, missingPathFileIsCreatedWithDefaultFolder_aChoiceIsStoredOnlyInAnExistingFile) {
    TempFolder tmp;
    const DataPathLocations where{tmp.file("cfg/LMR/Lumora.path"), tmp.file("data")};
    EXPECT_EQ(ResolveDataPath(where), QString());
    EXPECT_EQ(readBytes(where.pathFile), QFile::encodeName(where.defaultFolder) + "\r\n");
    makeUsable(where.defaultFolder);
    EXPECT_EQ(ResolveDataPath(where), where.defaultFolder);
    // a choice replaces the file with its one line, and is not kept without a path file
    writeBytes(where.pathFile, "/old1\r\n/old2\r\n");
    EXPECT_TRUE(StoreDataPath(where, "/chosen"));
    EXPECT_EQ(readBytes(where.pathFile), "/chosen\r\n");
    const DataPathLocations none{tmp.file("none/Lumora.path"), tmp.file("x")};
    EXPECT_FALSE(StoreDataPath(none, "/a"));
    EXPECT_FALSE(QFileInfo::exists(none.pathFile));
}

TEST(DataPath, lastUsableLineWins_aFolderWithoutBibleIsRefused) {
    TempFolder tmp;
    const QString a = tmp.file("a"), b = tmp.file("b"), c = tmp.file("c");
    makeUsable(a);
    makeUsable(b);
    QDir().mkpath(c + "/Bible/sub"); // only a sub-folder: not usable
    const DataPathLocations where{tmp.file("Lumora.path"), a};
    // tmp holds files and folders, but no Bible
    writeBytes(where.pathFile,
               QFile::encodeName(a + "\r\n" + b + "\r\n" + c + "\r\n" + tmp.path() + "\r\n/nowhere\r\n"));
    EXPECT_EQ(ResolveDataPath(where), b);
}

TEST(DataPath, fifoOrDeviceInBibleIsNoFileAndAFifoPathFileDoesNotBlock) {
    // Regression: a FIFO Version.txt made the folder usable, and every reader then blocked on it.
    TempFolder tmp;
    const QString data = tmp.file("d");
    QDir().mkpath(data + "/Bible");
    ASSERT_EQ(::mkfifo(QFile::encodeName(data + "/Bible/Version.txt").constData(), 0600), 0);
    ASSERT_TRUE(QFile::link("/dev/null", data + "/Bible/null.txt"));
    EXPECT_FALSE(isUsableDataFolder(data));
    const DataPathLocations where{tmp.file("Lumora.path"), data};
    writeBytes(where.pathFile, QFile::encodeName(data + "\r\n"));
    EXPECT_EQ(ResolveDataPath(where), QString());
    makeUsable(tmp.file("e"));
    EXPECT_TRUE(isUsableDataFolder(tmp.file("e")));

    const DataPathLocations fifoFile{tmp.file("fifo.path"), data};
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifoFile.pathFile).constData(), 0600), 0);
    EXPECT_EQ(ResolveDataPath(fifoFile), QString());
}
