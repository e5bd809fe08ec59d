// The clone's verse-by-verse face: the size that fits, the groups of verses, the steps.

#include "windows/ui/versepanel.h"

#include <gtest/gtest.h>

namespace lumora::windows {
namespace {

const QString kShort = QStringLiteral("Jesus wept.");
const QString kLong =
    QString(QStringLiteral("And the word was made flesh, and dwelt among us. ")).repeated(12);

VerseLook look() {
    VerseLook l;
    l.minPixels = 20;
    l.maxPixels = 120;
    return l;
}

QList<VerseCell> verses(const QList<QString>& texts) {
    QList<VerseCell> out;
    for (int i = 0; i < texts.size(); ++i)
        out.append({QStringLiteral("11.%1").arg(i + 1), texts[i], {}});
    return out;
}

} // namespace

// the size
TEST(VerseFit, staysBetweenTheBounds_andShrinksWithTheText) {
    const QSize area(800, 500);
    struct Case {
        Columns columns;
        int atLeast, atMost;
    };
    const Case cases[] = {
        {{{kShort}}, 120, 120},                           // a short verse takes the largest size
        {{{kLong}}, 20, 119},                             // a long one less
        {{{kLong.repeated(20)}}, 20, 20},                 // one that fits at no size takes the smallest
        {{{kLong}, {kLong}}, 20, 119},                    // side by side
        {{{QString()}}, 120, 120},                        // an empty cell
        {{{QStringLiteral("הַשֵּׁם רֹעִי לֹא אֶחְסָר")}}, 60, 120}, // right to left
    };
    for (const Case& c : cases) {
        const int size = fitPixelSize(c.columns, {}, area, 20, 120);
        EXPECT_GE(size, c.atLeast) << c.columns.front().front().left(20).toStdString();
        EXPECT_LE(size, c.atMost) << c.columns.front().front().left(20).toStdString();
    }
    EXPECT_LT(fitPixelSize({{kLong}, {kLong}}, {}, area, 20, 120), fitPixelSize({{kLong}}, {}, area, 20, 120))
        << "two columns have half the width each";
    EXPECT_GT(fitPixelSize({{kLong}}, {}, QSize(1600, 1000), 20, 120),
              fitPixelSize({{kLong}}, {}, area, 20, 120));
}

// the steps
class VerseSteps : public ::testing::Test {
  protected:
    void SetUp() override {
        panel.resize(800, 600);
        panel.setLook(look());
    }
    VersePanel panel;
};

TEST_F(VerseSteps, shortVersesGoTogether_aLongOneAlone_everyVerseInOneStep_andAResizeKeepsTheVerseShown) {
    panel.setVerses(verses({kShort, kShort, kLong, kShort}), QStringLiteral("John"));
    QStringList seen;
    int steps = 0;
    do {
        seen << panel.shownLabels();
        ++steps;
    } while (panel.step(1));
    EXPECT_EQ(seen, QStringList({"11.1", "11.2", "11.3", "11.4"}));
    EXPECT_LT(steps, 4) << "the two short verses share a step";
    ASSERT_TRUE(panel.showVerse("11.3"));
    EXPECT_EQ(panel.shownLabels(), QStringList({"11.3"}));
    EXPECT_EQ(panel.referenceLine(), "John 11:3");
    ASSERT_TRUE(panel.showVerse("11.1"));
    EXPECT_EQ(panel.referenceLine(), "John 11:1-2");
    EXPECT_GE(panel.pixelSize(), look().minPixels);
    EXPECT_LE(panel.pixelSize(), look().maxPixels);

    panel.setVerses(verses({kShort, kShort, kShort, kShort, kLong, kShort}), QStringLiteral("John"));
    ASSERT_TRUE(panel.showVerse("11.5"));
    for (const QSize size : {QSize(400, 300), QSize(1920, 1080)}) {
        panel.resize(size);
        EXPECT_TRUE(panel.shownLabels().contains("11.5")) << size.width();
    }
}

TEST_F(VerseSteps, anUnknownVerse_movesNothing_theEndsStop_andNoVersesHaveNoSteps) {
    panel.setVerses(verses({kLong, kLong, kLong}), QStringLiteral("John"));
    EXPECT_FALSE(panel.step(-1));
    ASSERT_TRUE(panel.step(1));
    EXPECT_FALSE(panel.showVerse("12.1"));
    EXPECT_EQ(panel.shownLabels(), QStringList({"11.2"}));
    ASSERT_TRUE(panel.step(1));
    EXPECT_FALSE(panel.step(1));
    EXPECT_EQ(panel.shownLabels(), QStringList({"11.3"}));

    panel.setVerses({}, QStringLiteral("John"));
    EXPECT_EQ(panel.stepCount(), 0);
    EXPECT_FALSE(panel.step(1));
    EXPECT_EQ(panel.referenceLine(), "John");
}

} // namespace lumora::windows
