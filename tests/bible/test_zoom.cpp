#include "bible/zoom/zoomratio.h"

#include <gtest/gtest.h>

using namespace lumora::bible;

TEST(ZoomRatio, percentMapsToTheBoxScale_onlyFromFiveToFiveHundred) {
    EXPECT_EQ(zoomRatio(100), (ZoomRatio{0, 0}));
    EXPECT_EQ(zoomRatio(200), (ZoomRatio{102, 51}));
    EXPECT_EQ(zoomRatio(150), (ZoomRatio{77, 51}));
    EXPECT_EQ(zoomRatio(500), (ZoomRatio{255, 51}));
    EXPECT_EQ(zoomRatio(101), (ZoomRatio{52, 51})); // 51.51 rounds up
    EXPECT_EQ(zoomRatio(90), (ZoomRatio{90, 100}));
    EXPECT_EQ(zoomRatio(5), (ZoomRatio{5, 100}));
    // boundaries
    for (const int outside : {4, 0, 501, 510})
        EXPECT_FALSE(zoomRatio(outside)) << outside;
}

// position steps

TEST(PositionStep, stepsStayExact_readEitherSeparator_writeTheGivenOne_stopBelowOneTenth) {
    QString text = QStringLiteral("0,3");
    for (int i = 0; i < 3; ++i) {
        const auto next = stepPosition(text, false, u",");
        ASSERT_TRUE(next);
        text = *next;
    }
    EXPECT_EQ(text, QStringLiteral("0"));
    EXPECT_FALSE(stepPosition(text, false, u","));
    // Thirty steps up from 0, where binary fractions would drift.
    for (int i = 0; i < 30; ++i)
        text = *stepPosition(text, true, u",");
    EXPECT_EQ(text, QStringLiteral("3"));

    EXPECT_EQ(stepPosition(u"0.2", true, u"."), QStringLiteral("0.3"));
    EXPECT_EQ(stepPosition(u"12,34567", true, u","), QStringLiteral("12,44567"));
    EXPECT_EQ(stepPosition(u"1.5", true, u","), QStringLiteral("1,6"));
    EXPECT_EQ(stepPosition(u" 1,5 ", true, u"."), QStringLiteral("1.6"));
    EXPECT_EQ(stepPosition(u"0,0000", true, u","), QStringLiteral("0,1"));
    EXPECT_EQ(stepPosition(u",5", false, u","), QStringLiteral("0,4"));
    EXPECT_EQ(stepPosition(u"-1", true, u","), QStringLiteral("-0,9"));
    // boundaries
    EXPECT_EQ(stepPosition(u"0,1", false, u","), QStringLiteral("0"));
    EXPECT_FALSE(stepPosition(u"0,05", false, u","));
    EXPECT_FALSE(stepPosition(u"-1", false, u","));
    // malformed input: the text stays as it is
    for (const char16_t* bad : {u"", u" ", u"abc", u"1,2,3", u"1e3", u"-", u",", u"12345678901234567890"}) {
        SCOPED_TRACE(QString::fromUtf16(bad).toStdString());
        EXPECT_FALSE(stepPosition(bad, true, u","));
        EXPECT_FALSE(stepPosition(bad, false, u","));
    }
}
