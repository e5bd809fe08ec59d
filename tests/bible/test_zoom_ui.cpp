#include "bible/ui/zoom.h"
#include "bible/zoom/zoomratio.h"
#include "hymns/ui/hymnselection.h"
#include "support/mainwindow.h"

#include <QLabel>
#include <QLineEdit>
#include <QTabWidget>
#include <QToolButton>

using namespace lumora;
using namespace lumora::testing;

namespace {

class ZoomUi : public ::testing::Test {
  protected:
    MainWindowHarness h;
    void SetUp() override {
        writeFixtureVersion(h.data.path(), "AAA", fixtureBooks(6, 25));
        writeBytes(h.data.path() + "/Bible/Version.txt", "AAA - First\r\n");
        ASSERT_TRUE(h.open());
    }
    bible::Zoom& z() { return *h.window->zoom; }
    double passageZoom() { return h.view().passageBox->zoomFactor(); }
    static void click(bible::SpinArrows* s, bool up, int times = 1) {
        for (int i = 0; i < times; ++i)
            (up ? s->upArrow() : s->downArrow())->click();
    }
};

} // namespace

TEST_F(ZoomUi, bibleTabSteps_giveTheBoxScale_keptWhenThePassageIsRebuilt) {
    click(z().SpinButton_Size, true, 10);
    EXPECT_EQ(z().Label20->text(), "200 %");
    EXPECT_EQ(h.window->state().BibleZoom, 200);
    EXPECT_DOUBLE_EQ(passageZoom(), 102.0 / 51.0);
    h.nav().List_livre->setCurrentRow(3);
    EXPECT_DOUBLE_EQ(passageZoom(), 102.0 / 51.0);
    // boundaries: steps beyond the limits change nothing
    h.window->SetZoom(500);
    click(z().SpinButton_Size, true);
    EXPECT_EQ(z().Label20->text(), "500 %");
    EXPECT_DOUBLE_EQ(passageZoom(), 255.0 / 51.0);
    h.window->SetZoom(10);
    click(z().SpinButton_Size, false);
    EXPECT_EQ(h.window->state().BibleZoom, 10);
    EXPECT_DOUBLE_EQ(passageZoom(), 0.1);
}

TEST_F(ZoomUi, canticleTab_zoomsItsOwnLabel_andTheCloneWhenItShowsHymns) {
    QList<QList<int>> clone;
    QObject::connect(&z(), &bible::Zoom::cloneZoomRequested, [&](int tab, int n, int d) {
        clone.append({tab, n, d});
    });
    click(z().SpinButton_Size, false); // Bible tab, clone on hymns: the clone is left alone
    EXPECT_TRUE(clone.isEmpty());
    h.window->SSTab_LMR->setCurrentIndex(1);
    click(z().SpinButton_SizeCantique, true);
    EXPECT_EQ(z().Label21->text(), "110 %");
    EXPECT_EQ(h.window->state().CanticleZoom, 110);
    EXPECT_DOUBLE_EQ(h.window->hymnSelection->words().zoomFactor(), 56.0 / 51.0);
    EXPECT_DOUBLE_EQ(passageZoom(), 0.9);
    EXPECT_EQ(z().Label20->text(), "90 %");
    EXPECT_EQ(clone, (QList<QList<int>>{{1, 56, 51}}));
    // Back on the Bible tab the next step starts from the Bible zoom.
    h.window->SSTab_LMR->setCurrentIndex(0);
    EXPECT_EQ(h.window->state().ZoomRequest, 90);
}

TEST_F(ZoomUi, positionSpinners_stepTheirFieldsExactly) {
    auto* txt = h.window->findChild<QLineEdit*>("Txt_Echantillon");
    ASSERT_NE(txt, nullptr);
    txt->setText("abc");
    click(z().SpinPositionCapture, true);
    EXPECT_EQ(txt->text(), "abc");
    txt->setText("1");
    click(z().SpinPositionCapture, true);
    EXPECT_EQ(txt->text(), *bible::stepPosition(u"1", true)); // the system's separator

    h.nav().Lbl_Position->setText("0.3");
    click(z().SpPosition, false, 3);
    EXPECT_EQ(h.nav().Lbl_Position->text(), "0");
    click(z().SpPosition, true);
    // A mark text always uses the comma, whatever the system's separator.
    EXPECT_EQ(h.nav().Lbl_Position->text(), "0,1");
}
