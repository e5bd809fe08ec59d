// The main window's frame on a real desktop: a title bar above the menu bar, a status bar below
// the tabs, and the parts of each tab staying inside what is left.

#include "app/pages.h"
#include "hymns/hymnfixture.h"
#include "support/mainwindow.h"

#include <QAbstractButton>

namespace lumora::testing {
namespace {

class MainWindowFrame : public ::testing::Test {
  protected:
    void SetUp() override {
        writeRecordedVersion(h.data.path());
        writeBytes(h.data.path() + "/Bible/Version.txt", "AAA - First\r\n");
        writeBytes(h.data.path() + "/Cantiques/Alpha/Hira.txt",
                   crlfLines({hymnEntry("1 - Gloire", "Louange", "Noël", "Alpha")}));
        writeBytes(h.data.path() + "/Cantiques/Alpha/parole/1.txt", "Gloire au Père\r\n");
        ASSERT_TRUE(h.open());
        h.window->resize(1024, 768);
        h.window->show();
        QApplication::processEvents();
    }
    QTabWidget* tabs() { return h.find<QTabWidget>("SSTab_LMR"); }
    app::BiblePage* biblePage() { return h.find<app::BiblePage>("biblePage"); }
    app::CanticlePage* canticlePage() { return h.find<app::CanticlePage>("canticlePage"); }
    QWidget* central() { return h.window->centralWidget(); }
    // A part's rectangle in the central area's coordinates.
    QRect inCentral(QWidget* w) { return QRect(w->mapTo(central(), QPoint(0, 0)), w->size()); }
    QWidget* bibleStrip() { return h.find<QWidget>("bibleStrip"); }
    QWidget* canticleStrip() { return h.find<QWidget>("canticleStrip"); }

    MainWindowHarness h;
};

} // namespace

// The layout took the window's outer height for its own, while a title bar, the menu bar and the
// status bar take their part of it: on a desktop with decorations the bottom row was cut off.
TEST_F(MainWindowFrame, titleBarTallerThanTheDesignedOneLeavesTheBottomRowsInsideTheCentralArea) {
    const QRect area(QPoint(0, 0), central()->size());
    for (int titleBar : {0, 30, 60}) {
        for (int tab : {0, 1}) {
            tabs()->setCurrentIndex(tab);
            const QSize frame = h.window->size() + QSize(8, titleBar + 8);
            app::layOutMainWindow(frame, *central(), *tabs(), *biblePage(), *canticlePage());
            QWidget* strip = tab == 0 ? bibleStrip() : canticleStrip();
            EXPECT_TRUE(area.contains(inCentral(strip)))
                << "title bar " << titleBar << ", tab " << tab << ": strip bottom "
                << inCentral(strip).bottom() << " beyond " << area.bottom();
            EXPECT_TRUE(area.contains(inCentral(tabs()))) << "title bar " << titleBar;
            EXPECT_GE(tabs()->height(), area.height() - 8) << "the tab control uses the central area";
        }
    }
}

// The Bible tab's bottom row moved after a visit to the hymn tab or to mark mode, and mark mode
// squeezed the book list until the last-verse column was cut.
TEST_F(MainWindowFrame, bibleBottomRowStaysPutAcrossTabsAndMarkMode_andMarkModeKeepsEveryColumn) {
    const QRect before = inCentral(bibleStrip());
    tabs()->setCurrentIndex(1);
    QApplication::processEvents();
    tabs()->setCurrentIndex(0);
    QApplication::processEvents();
    EXPECT_EQ(inCentral(bibleStrip()), before) << "after the hymn tab";

    h.find<QAbstractButton>("Check_mode")->click();
    QApplication::processEvents();
    ASSERT_TRUE(h.find<QWidget>("ListView1")->isVisible());
    EXPECT_EQ(inCentral(bibleStrip()).top(), before.top()) << "in mark mode";
    for (const char* name : {"List_livre", "List_chapitre", "List_verset", "List_verset_limite"}) {
        QWidget* list = h.find<QWidget>(name);
        const QRect r = inCentral(list);
        EXPECT_TRUE(QRect(QPoint(0, 0), central()->size()).contains(r)) << name;
        EXPECT_GE(list->width(), list->minimumWidth()) << name;
        EXPECT_TRUE(inCentral(list->parentWidget()).contains(r)) << name << " cut by its row";
    }
    EXPECT_GE(h.find<QWidget>("List_livre")->width(), 100) << "the book names stay readable";
    h.find<QAbstractButton>("Check_mode")->click();
    QApplication::processEvents();
    EXPECT_EQ(inCentral(bibleStrip()), before) << "after mark mode";
}

// At 1024 x 768 the unfolded playlist lay over the hymn list, the search box and the words with
// CLONE and POLICE above them, and cut its own "Note" caption; the verse lists did the same to the
// passage's heading.
TEST_F(MainWindowFrame, unfoldedListPanelsCoverNoOtherControlAndShowTheirPicturesWhole) {
    struct PanelCase {
        int tab;
        const char* show;
        const char* frame;
        std::vector<const char*> free;
    };
    for (const PanelCase& c : {PanelCase{1,
                                         "Check_Favori_Canticle",
                                         "Frame_Favori_Canticle",
                                         {"ComboBox_Chant", "Text_Cantique", "Label13", "Label14", "Label17",
                                          "Label9", "Text_info", "Print_Cantique"}},
                               PanelCase{0,
                                         "Check_Favori_Bible",
                                         "Frame_Favori_Bible",
                                         {"Text_Passage", "Label12", "Label7", "Label15", "Image_Print",
                                          "Image_SaveAs", "Labe16", "List_version", "List_verset_limite"}}}) {
        tabs()->setCurrentIndex(c.tab);
        QApplication::processEvents();
        h.find<QAbstractButton>(c.show)->click();
        QApplication::processEvents();
        QWidget* frame = h.find<QWidget>(c.frame);
        ASSERT_TRUE(frame->isVisible());
        const QRect panel = inCentral(frame->parentWidget());
        for (const char* name : c.free) {
            QWidget* w = h.find<QWidget>(name);
            EXPECT_FALSE(w->isVisible() && panel.intersects(inCentral(w))) << name << " under the panel";
        }
        for (QWidget* w : frame->findChildren<QWidget*>()) {
            EXPECT_TRUE(QRect(QPoint(0, 0), frame->size()).contains(w->geometry()))
                << c.frame << ": " << w->objectName().toStdString();
            EXPECT_GE(w->width(), w->minimumSizeHint().width()) << w->objectName().toStdString();
        }
        EXPECT_TRUE(QRect(QPoint(0, 0), central()->size()).contains(panel));
        h.find<QAbstractButton>(c.show)->click();
    }
}

} // namespace lumora::testing
