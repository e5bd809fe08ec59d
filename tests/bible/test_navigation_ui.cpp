#include "support/mainwindow.h"

#include <QGroupBox>
#include <QTimer>
#include <QToolButton>
#include <QTreeView>

using namespace lumora;
using namespace lumora::testing;

namespace {

class NavigationUi : public ::testing::Test {
  protected:
    MainWindowHarness h;
    void SetUp() override {
        FixtureOptions opt;
        opt.text = [](int b, int c, int v) -> QByteArray {
            if (b == 40 && c == 5 && v == 19) return "[Title]Whosoever";
            return fixtureVerseText(b, c, v);
        };
        std::vector<FixtureBook> books = fixtureBooks(30, 25);
        books[39].verses = [](int c) { return c == 5 ? 48 : 25; };
        books[0].prefix = "Gn";
        writeFixtureVersion(h.data.path(), "AAA", books, opt);
        writeFixtureVersion(h.data.path(), "BBB", fixtureBooks(3, 5));
        writeBytes(h.data.path() + "/Bible/Version.txt", "AAA - First\r\nGONE - Missing\r\nBBB - Second\r\n");
    }
    void pick(QListWidget* l, int row) { l->setCurrentRow(row); }
};

} // namespace

TEST_F(NavigationUi, missingVersionFileShowsItsErrorNumber_withoutDataFolderLoadFailsAndWindowCloses) {
    QFile::remove(h.data.path() + "/Bible/Version.txt");
    writeBytes(h.data.path() + "/Bible/readme.txt", "keeps the folder usable");
    ASSERT_TRUE(h.open());
    EXPECT_EQ(h.prompts.asked, (std::vector<FakePrompts::Asked>{{"53", "Lumora"}}));
    EXPECT_EQ(h.list("List_livre")->count(), 0);
    h.window.reset();
    QDir(h.data.path() + "/Bible").removeRecursively();
    EXPECT_FALSE(h.open());
}

// user picks and jumps
TEST_F(NavigationUi,
       aBookShowsItsWholeFirstChapter_aVerseExtendsToTheChaptersEnd_jumpsClampAndChangeVersion) {
    ASSERT_TRUE(h.open());
    pick(h.list("List_livre"), 1);
    EXPECT_EQ(h.current(h.list("List_chapitre")), "1");
    EXPECT_EQ(h.current(h.list("List_verset")), "1");
    EXPECT_EQ(h.current(h.list("List_verset_limite")), "25");
    EXPECT_EQ(h.find<QLabel>("Labe16")->text(), "02 Book2 1 : 1 - 25");
    const QAbstractItemModel* marks = h.find<QTreeView>("ListView1")->model();
    EXPECT_EQ(marks->index(24, 0).data().toString(), "Bk1.25");
    EXPECT_EQ(marks->index(25, 0).data().toString(), "");
    // a verse choice extends to the chapter's end
    h.nav().jumpTo({0, 39, 4, 0, 0});
    pick(h.list("List_verset"), 2);
    EXPECT_EQ(h.list("List_verset_limite")->item(0)->text(), "3");
    EXPECT_EQ(h.find<QLabel>("Labe16")->text(), "40 Book40 5 : 3 - 48");
    // jumps clamp past the end and carry book, chapter and verse into another version
    h.nav().jumpTo({0, 2, 49, 39, 12});
    EXPECT_EQ(h.current(h.list("List_chapitre")), "30");
    EXPECT_EQ(h.current(h.list("List_verset")), "25");
    EXPECT_EQ(h.find<QLabel>("Labe16")->text(), "03 Book3 30 : 25");
    h.nav().jumpTo({1, 1, 2, 3, 0});
    EXPECT_EQ(h.combo("List_version")->currentText(), "BBB - Second");
    EXPECT_EQ(h.find<QLabel>("Labe16")->text(), "02 Book2 3 : 4");
}

// start-up, and display options: an option click builds the passage on display again and leaves
// the lists and their handlers alone (the chapter's recording is not closed and started again, nor
// the chapter list refilled)
TEST_F(NavigationUi, startUpShows40_5_18To20_anOptionClickRebuildsItWithoutRunningTheLists) {
    ASSERT_TRUE(h.open());
    EXPECT_TRUE(h.text().startsWith("5.18   Text 40 5:18\n\nTitle\n\n5.19   Whosoever"));
    // the label of the verse after, the reading's stop, is not shown
    EXPECT_TRUE(h.text().contains("5.20   ")) << h.text().toStdString();
    EXPECT_FALSE(h.text().contains("5.21"));
    EXPECT_EQ(h.combo("List_version")->count(), 2);
    EXPECT_TRUE(QFileInfo(h.data.path() + "/Bible/Favori").isDir());
    EXPECT_TRUE(h.find<QTimer>("Timer1")->isActive());
    EXPECT_FALSE(h.nav().isJumpPending());
    QStringList raised;
    using Nav = bible::BibleNavigation;
    QObject::connect(&h.nav(), &Nav::spanSelected, [&] { raised << "span"; });
    QObject::connect(&h.nav(), &Nav::chapterAudioFound, [&] { raised << "chapter"; });
    QObject::connect(&h.nav(), &Nav::choiceCleared, [&] { raised << "cleared"; });
    int shown = 0;
    QObject::connect(&h.view(), &bible::PassageView::passageShown, [&] { ++shown; });
    h.find<QCheckBox>("Check_Version")->click();
    EXPECT_TRUE(h.text().startsWith("AAA - First\n40 Book40 5 : 18 - 20\n\n5.18"));
    EXPECT_EQ(h.find<QLabel>("Labe16")->text(), "40 Book40 5 : 18 - 20");
    h.find<QCheckBox>("Check_With_Title")->click();
    EXPECT_FALSE(h.find<QCheckBox>("Check_Uppercase")->isEnabled());
    EXPECT_FALSE(h.text().contains("Title"));
    EXPECT_EQ(h.current(h.list("List_verset_limite")), "20");
    h.find<QCheckBox>("Check_With_Title")->click();
    h.find<QCheckBox>("Check_Uppercase")->click();
    EXPECT_TRUE(h.text().contains("TITLE\n\n5.19"));
    EXPECT_EQ(raised, QStringList{});
    EXPECT_EQ(shown, 4);
    EXPECT_TRUE(h.text().startsWith("AAA - First\n40 Book40 5 : 18 - 20\n\n5.18"));
    EXPECT_EQ(h.current(h.list("List_verset_limite")), "20");
}

TEST_F(NavigationUi, leavingOrderModeWritesCompleteVersionsFirst) {
    ASSERT_TRUE(h.open());
    h.find<QCheckBox>("Chec_Order")->click();
    EXPECT_TRUE(h.find<QGroupBox>("Frame_Order_Version")->isVisibleTo(h.window.get()));
    h.list("List_version_Order")->setCurrentRow(1);
    h.find<QToolButton>("Img_UP_ListVersion")->click();
    EXPECT_EQ(h.list("List_version_Order")->currentRow(), 0);
    h.find<QToolButton>("Img_UP_ListVersion")->click(); // already first: nothing moves
    h.find<QCheckBox>("Chec_Order")->click();
    EXPECT_EQ(readBytes(h.data.path() + "/Bible/Version.txt"),
              "BBB - Second\r\nAAA - First\r\nGONE - Missing\r\n");
    EXPECT_EQ(h.combo("List_version")->currentText(), "AAA - First");
    EXPECT_EQ(h.combo("List_version")->itemText(0), "BBB - Second");
}

// data faults
TEST_F(NavigationUi, chapterWithoutVerseRowAndBookWithoutChapterCountLeaveListsEmpty) {
    writeBytes(h.data.path() + "/Bible/AAA/Chap_verset.txt", "01O\t1\t5\r\n");
    QByteArray books = readBytes(h.data.path() + "/Bible/AAA/Livre_chap.txt");
    books.replace("02O\t30\t", "02O\tnone\t");
    writeBytes(h.data.path() + "/Bible/AAA/Livre_chap.txt", books);
    ASSERT_TRUE(h.open());
    EXPECT_EQ(h.list("List_verset")->count(), 0); // 40:5 has no row any more
    EXPECT_EQ(h.list("List_verset_limite")->count(), 0);
    pick(h.list("List_livre"), 1);
    EXPECT_EQ(h.list("List_chapitre")->count(), 0);
    pick(h.list("List_livre"), 0);
    EXPECT_EQ(h.list("List_verset")->count(), 5);
}

TEST_F(NavigationUi, chapterAudioIsLookedUpWithTwoDigitNumbers) {
    writeBytes(h.data.path() + "/Bible/AAA/Sound/Gn09.mp3", "x");
    writeBytes(h.data.path() + "/Bible/AAA/Sound/Gn10.wav", "x");
    ASSERT_TRUE(h.open());
    pick(h.list("List_livre"), 0);
    EXPECT_FALSE(h.find<QToolButton>("Image_Lecture")->isEnabled());
    pick(h.list("List_chapitre"), 8);
    EXPECT_TRUE(h.find<QToolButton>("Image_Lecture")->isEnabled());
    pick(h.list("List_chapitre"), 9);
    EXPECT_TRUE(h.find<QToolButton>("Image_Lecture")->isEnabled());
    EXPECT_TRUE(h.nav().chapterAudioPath().endsWith("Sound/Gn10.wav"));
    pick(h.list("List_chapitre"), 10);
    EXPECT_FALSE(h.find<QToolButton>("Image_Lecture")->isEnabled());
}
