// "Add songs…" and "Export hymn book…" in the main window: the preview, the import with its
// progress, and the new hymns in the Canticle tab's lists at once.

#include "hymns/hymnfixture.h"
#include "import/ui/songimportui.h"
#include "support/mainwindow.h"
#include "support/wait.h"

#include <QDialog>
#include <QProgressBar>

using namespace lumora;
using namespace lumora::testing;

namespace {

const QByteArray kSong =
    "<song xmlns=\"http://openlyrics.info/namespace/2009/song\" version=\"0.9\"><properties>"
    "<titles><title>Morning Song</title></titles><authors><author>Ann</author></authors>"
    "</properties><lyrics><verse name=\"v1\"><lines>Wake up<br/>and sing</lines></verse>"
    "</lyrics></song>";

struct SongWindow : ::testing::Test {
    void SetUp() override {
        writeRecordedVersion(h.data.path(), 1);
        writeBytes(h.data.path() + "/Bible/Version.txt", "AAA - First\r\n");
        writeBytes(h.data.path() + "/Cantiques/Book/Hira.txt",
                   crlfLines({hymnEntry("1 - Old", "Praise", "Morning", "Book")}));
        writeBytes(songs.file("a.xml"), kSong);
        writeBytes(songs.file("b.cho"), "{title: Evening}\n{soc}\nRest now\n{eoc}\n");
        writeBytes(songs.file("photo.jpg"), QByteArray("\xFF\xD8\0", 3));
        ASSERT_TRUE(h.open());
        h.find<QTabWidget>("SSTab_LMR")->setCurrentIndex(1);
    }
    QAction* action(const char* name) { return h.find<QAction>(name); }
    template <class T> T* inPreview(const char* name) {
        QDialog* preview = h.find<import::SongImportUi>("songImport")->preview();
        return preview ? preview->findChild<T*>(QString::fromLatin1(name)) : nullptr;
    }

    MainWindowHarness h;
    TempFolder songs;
};

} // namespace

TEST_F(SongWindow, addSongsPreviewsThenImportsAndShowsTheFirstNewHymn) {
    QAction* add = action("mnu_addsongs");
    ASSERT_TRUE(add);
    h.dialogs.fileLists.push_back(std::nullopt); // cancelled: nothing happens
    add->trigger();
    EXPECT_EQ(inPreview<QLabel>("Lbl_SongCount"), nullptr);

    h.dialogs.fileLists.push_back(
        QStringList{songs.file("a.xml"), songs.file("b.cho"), songs.file("photo.jpg")});
    add->trigger();
    QLabel* count = inPreview<QLabel>("Lbl_SongCount");
    ASSERT_TRUE(count);
    EXPECT_EQ(count->text(), QStringLiteral("2 songs: ChordPro 1, OpenLyrics 1; 1 file is not a song"));
    EXPECT_EQ(inPreview<QComboBox>("ComboBox_TargetBook")->currentText(), QStringLiteral("Book"));
    inPreview<QLineEdit>("Text_Theme")->setText(QStringLiteral("Praise"));
    inPreview<QLineEdit>("Text_SubTheme")->setText(QStringLiteral("Evening"));
    QProgressBar* bar = inPreview<QProgressBar>("ProgressBar_Import");
    ASSERT_TRUE(bar);
    EXPECT_EQ(bar->maximum(), 3);

    bool imported = false;
    QObject::connect(h.find<import::SongImportUi>("songImport"), &import::SongImportUi::songsImported,
                     [&imported] { imported = true; });
    inPreview<QPushButton>("Cmd_Import")->click();
    ASSERT_TRUE(waitUntil([&] { return imported; }, 10000));
    ASSERT_FALSE(h.prompts.asked.empty());
    const QString report = h.prompts.asked.back().text;
    EXPECT_TRUE(report.startsWith(QStringLiteral("2 songs added to \"Book\"."))) << report.toStdString();
    EXPECT_TRUE(report.contains(songs.file("photo.jpg") + QStringLiteral(": not a song file")))
        << report.toStdString();

    // The new hymns are in the lists at once, the first one on display.
    EXPECT_EQ(h.combo("ComboBox_Receuil")->currentText(), QStringLiteral("Book"));
    EXPECT_EQ(h.combo("ComboBox_theme2")->currentText(), QStringLiteral("Evening"));
    EXPECT_EQ(h.combo("ComboBox_Chant")->currentText(), QStringLiteral("2 - Morning Song"));
    EXPECT_EQ(h.combo("ComboBox_Chant")->count(), 2);
    EXPECT_EQ(h.hymns().words().plainText(), QStringLiteral("Wake up\nand sing"));
}

TEST_F(SongWindow, exportHymnBookWritesOpenLyricsIntoTheChosenFolder) {
    h.dialogs.answers.push_back(songs.file("out"));
    action("mnu_exportbook")->trigger();
    EXPECT_TRUE(QFile::exists(songs.file("out/1 - Old.xml")));
    ASSERT_FALSE(h.prompts.asked.empty());
    EXPECT_TRUE(h.prompts.asked.back().text.startsWith(QStringLiteral("1 hymns of \"Book\" exported to ")))
        << h.prompts.asked.back().text.toStdString();
}
