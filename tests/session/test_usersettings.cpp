#include "session/usersettings.h"

#include "support/testdata.h"

using namespace lumora::session;
using namespace lumora::testing;

TEST(UserSettings, missingOrUnreadable_givesTheDefaults) {
    TempFolder tmp;
    EXPECT_EQ(LoadUserSettings(tmp.file("none.conf")), UserSettings{});
    writeBytes(tmp.file("bad.conf"), "BibleAudioMuted\r\n=1\r\nBibleAudioMuted=yes\r\n");
    EXPECT_FALSE(LoadUserSettings(tmp.file("bad.conf")).bibleAudioMuted);
    EXPECT_FALSE(StoreUserSettings(QString(), {.bibleAudioMuted = true})) << "no file, nothing kept";
}

TEST(UserSettings, storedIntoANewFolder_readBack_otherLinesKept) {
    TempFolder tmp;
    const QString path = tmp.file("cfg/LMR/Lumora.conf");
    ASSERT_TRUE(StoreUserSettings(path, {.bibleAudioMuted = true}));
    EXPECT_EQ(readBytes(path), "BibleAudioMuted=1\r\n");
    EXPECT_TRUE(LoadUserSettings(path).bibleAudioMuted);

    writeBytes(path, "Later=7\r\nBibleAudioMuted=1\r\n");
    ASSERT_TRUE(StoreUserSettings(path, {.bibleAudioMuted = false}));
    EXPECT_EQ(readBytes(path), "Later=7\r\nBibleAudioMuted=0\r\n");
    EXPECT_FALSE(LoadUserSettings(path).bibleAudioMuted);
}

TEST(UserSettings, theClonesChoices_readBack_andAnUpdateKeepsTheOtherFields) {
    TempFolder tmp;
    const QString path = tmp.file("Lumora.conf");
    writeBytes(path, "Later=7\r\n");
    const UserSettings clone{.cloneVerses = true,
                             .cloneSideBySide = true,
                             .cloneLogo = QStringLiteral("/pics/église.png"),
                             .cloneScreen = QStringLiteral("screen\tHDMI-1\tEpson\tEB-X41\t")};
    ASSERT_TRUE(StoreUserSettings(path, clone));
    EXPECT_EQ(LoadUserSettings(path), clone) << "a trailing empty field of the screen survives";
    ASSERT_TRUE(UpdateUserSettings(path, [](UserSettings& s) { s.bibleAudioMuted = true; }));
    UserSettings both = clone;
    both.bibleAudioMuted = true;
    EXPECT_EQ(LoadUserSettings(path), both);
    EXPECT_TRUE(readBytes(path).startsWith("Later=7\r\n"));

    // A picture's path with a line break would make a line of its own: it is not kept.
    ASSERT_TRUE(UpdateUserSettings(
        path, [](UserSettings& s) { s.cloneLogo = QStringLiteral("a\r\nBibleAudioMuted=0"); }));
    EXPECT_TRUE(LoadUserSettings(path).bibleAudioMuted);
    EXPECT_EQ(LoadUserSettings(path).cloneLogo, "");
}
