#include "common/atomicfile.h"

#include "support/testdata.h"

#include <QDir>

using namespace lumora::common;
using namespace lumora::testing;

TEST(AtomicFile, replacesWholeFileAndLeavesNoTemporary) {
    TempFolder tmp;
    const QString p = tmp.file("Version.txt");
    writeBytes(p, "old content that is longer\r\n");
    ASSERT_TRUE(writeFileAtomic(p, "new\r\n"));
    EXPECT_EQ(readBytes(p), "new\r\n");
    EXPECT_EQ(QDir(tmp.path()).entryList(QDir::Files), QStringList{"Version.txt"});
}

TEST(AtomicFile, failedWriteKeepsOldFile) {
    TempFolder tmp;
    const QString dir = tmp.file("ro");
    QDir().mkpath(dir);
    const QString p = dir + "/list.txt";
    writeBytes(p, "keep");
    QFile::setPermissions(dir, QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    if (QFileInfo(dir).isWritable()) GTEST_SKIP() << "running with rights that ignore permissions";
    EXPECT_FALSE(writeFileAtomic(p, "lost"));
    QFile::setPermissions(dir, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    EXPECT_EQ(readBytes(p), "keep");
}

TEST(AtomicFile, writeUtf8FileAddsBomAndCrLf) {
    TempFolder tmp;
    ASSERT_TRUE(WriteUtf8File(tmp.file("t.txt"), "A\r\nB"));
    EXPECT_EQ(readBytes(tmp.file("t.txt")), QByteArray("\xEF\xBB\xBF" "A\r\nB\r\n"));
}

TEST(AtomicFile, exclusiveCreateNeverReplaces) {
    TempFolder tmp;
    const QString p = tmp.file("New List.txt");
    EXPECT_TRUE(createFileExclusive(p, "one"));
    EXPECT_FALSE(createFileExclusive(p, "two"));
    EXPECT_EQ(readBytes(p), "one");
    EXPECT_EQ(QDir(tmp.path()).entryList(QDir::Files).size(), 1);
}
