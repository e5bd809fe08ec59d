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
