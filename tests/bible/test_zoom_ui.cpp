#include "bible/ui/zoom.h"
#include "bible/zoom/zoomratio.h"
#include "hymns/ui/hymnselection.h"
#include "platform/spinarrows.h"
#include "support/mainwindow.h"

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
    bible::Zoom& z() { return h.zoom(); }
    platform::SpinArrows* spin(const char* name) { return h.find<platform::SpinArrows>(name); }
    QLabel* label(const char* name) { return h.find<QLabel>(name); }
    double passageZoom() { return h.view().passageBox().zoomFactor(); }
    static void click(platform::SpinArrows* s, bool up, int times = 1) {
        for (int i = 0; i < times; ++i)
            (up ? s->upArrow() : s->downArrow())->click();
    }
};

} // namespace

// Each tab steps its own zoom, its label and box showing it; the passage keeps it when rebuilt.
TEST_F(ZoomUi, eachTabStepsItsOwnZoom_keptWhenThePassageIsRebuilt_stepsBeyondTheLimitsChangeNothing) {
    click(spin("SpinButton_Size"), true, 10);
    EXPECT_EQ(label("Label20")->text(), "200 %");
    EXPECT_EQ(z().BibleZoom(), 200);
    EXPECT_DOUBLE_EQ(passageZoom(), 102.0 / 51.0);
    h.list("List_livre")->setCurrentRow(3);
    EXPECT_DOUBLE_EQ(passageZoom(), 102.0 / 51.0);
    h.zoom().SetZoom(500);
    click(spin("SpinButton_Size"), true);
    EXPECT_EQ(label("Label20")->text(), "500 %");
    h.zoom().SetZoom(100);
    QList<QList<int>> applied;
    QObject::connect(&z(), &bible::Zoom::zoomApplied, [&](int tab, int n, int d) {
        applied.append({tab, n, d});
    });
    click(spin("SpinButton_Size"), false);

    h.find<QTabWidget>("SSTab_LMR")->setCurrentIndex(1);
    click(spin("SpinButton_SizeCantique"), true);
    EXPECT_EQ(label("Label21")->text(), "110 %");
    EXPECT_EQ(z().CanticleZoom(), 110);
    EXPECT_DOUBLE_EQ(h.hymns().words().zoomFactor(), 56.0 / 51.0);
    EXPECT_DOUBLE_EQ(passageZoom(), 0.9);
    EXPECT_EQ(label("Label20")->text(), "90 %");
    EXPECT_EQ(applied, (QList<QList<int>>{{0, 90, 100}, {1, 56, 51}}));
    // Back on the Bible tab the next step starts from the Bible zoom.
    h.find<QTabWidget>("SSTab_LMR")->setCurrentIndex(0);
    EXPECT_EQ(z().ZoomRequest(), 90);
}

// The position fields step as the core does, the mark's with a comma whatever the system uses.
TEST_F(ZoomUi, positionSpinners_stepTheirFields) {
    auto* txt = h.find<QLineEdit>("Txt_Echantillon");
    txt->setText("abc");
    click(spin("SpinPositionCapture"), true);
    EXPECT_EQ(txt->text(), "abc");
    txt->setText("1");
    click(spin("SpinPositionCapture"), true);
    EXPECT_EQ(txt->text(), *bible::stepPosition(u"1", true)); // the system's separator
    h.find<QLabel>("Lbl_Position")->setText("0");
    click(spin("SpPosition"), true);
    EXPECT_EQ(h.find<QLabel>("Lbl_Position")->text(), "0,1");
}

TEST_F(ZoomUi, hymnPick_bringsTheLabelBackTo100_andTheNextStepTo110) {
    // Regression: the words went back to 100 % while Label21 kept the old zoom.
    writeBytes(h.data.path() + "/Cantiques/Alpha/Hira.txt",
               "1 - A\tC\tA\tK\t-\tT\tS\tTune\tAlpha\r\n2 - B\tC\tA\tK\t-\tT\tS\tTune\tAlpha\r\n");
    h.hymns().startUp();
    h.find<QTabWidget>("SSTab_LMR")->setCurrentIndex(1);
    click(spin("SpinButton_SizeCantique"), true, 5);
    ASSERT_EQ(label("Label21")->text(), "150 %");
    hymns::HymnSelection::select(h.combo("ComboBox_Chant"), 1);
    EXPECT_EQ(label("Label21")->text(), "100 %");
    EXPECT_EQ(z().CanticleZoom(), 100);
    EXPECT_DOUBLE_EQ(h.hymns().words().zoomFactor(), 1.0);
    click(spin("SpinButton_SizeCantique"), true);
    EXPECT_EQ(label("Label21")->text(), "110 %");
}
