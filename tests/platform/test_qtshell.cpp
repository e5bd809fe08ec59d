// The real shell: what it opens, and what it refuses before anything is started.

#include "platform/qt/qtprompts.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace lumora;

// A shortcut whose target cannot be read (damaged, or on a network share) comes as an empty name.
// The shell resolved it against the working folder, found that folder, answered Opened and started
// a file manager on it; the user should be told the video is missing.
TEST(QtShell, nothingToOpenIsNotFoundAndStartsNothing) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    ASSERT_TRUE(QDir(dir.path()).mkdir("Video"));
    const QString cwd = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(dir.path()));
    platform::QtShell shell;
    struct Case {
        const char* what;
        QString directory, file;
    };
    const Case cases[] = {
        {"no folder, no name", "", ""},
        {"a folder, no name", dir.path(), ""},
        {"a name that is a folder", dir.path(), "Video"},
        {"a relative name that is a folder", "", "Video"},
        {"a missing file", dir.path(), "gone.avi"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(shell.openIn(c.directory, c.file), platform::ShellResult::NotFound) << c.what;
    QDir::setCurrent(cwd);
}

TEST(Shell, theFileOpenedInAFolderIsTheFileItNames) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    QFile f(dir.filePath("clip.avi"));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.close();
    EXPECT_EQ(platform::Shell::fileIn(dir.path(), "clip.avi"), dir.filePath("clip.avi"));
    EXPECT_EQ(platform::Shell::fileIn(dir.path() + "/", "clip.avi"), dir.filePath("clip.avi"));
    EXPECT_EQ(platform::Shell::fileIn("/elsewhere", dir.filePath("clip.avi")), dir.filePath("clip.avi"));
    EXPECT_EQ(platform::Shell::fileIn(dir.path(), ""), "");
    EXPECT_EQ(platform::Shell::fileIn(dir.path(), "."), "");
}
