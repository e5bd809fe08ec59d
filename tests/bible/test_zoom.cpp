#include "bible/zoom/zoomratio.h"

#include <gtest/gtest.h>

using namespace lumora::bible;

// ratio

TEST(ZoomRatio, percentMapsToTheBoxScale) {
    EXPECT_EQ(zoomRatio(100), (ZoomRatio{0, 0}));
    EXPECT_EQ(zoomRatio(200), (ZoomRatio{102, 51}));
    EXPECT_EQ(zoomRatio(150), (ZoomRatio{77, 51}));
    EXPECT_EQ(zoomRatio(500), (ZoomRatio{255, 51}));
    EXPECT_EQ(zoomRatio(101), (ZoomRatio{52, 51})); // 51.51 rounds up
    EXPECT_EQ(zoomRatio(90), (ZoomRatio{90, 100}));
    EXPECT_EQ(zoomRatio(5), (ZoomRatio{5, 100}));
}

TEST(ZoomRatio, outsideFiveToFiveHundred_isNoZoom) {
    EXPECT_FALSE(zoomRatio(4));
    EXPECT_FALSE(zoomRatio(0));
    EXPECT_FALSE(zoomRatio(501));
    EXPECT_FALSE(zoomRatio(510));
}

// steps

TEST(ZoomStep, tenStepsUpFrom100_give200And102Over51) {
    int zoom = 100;
    for (int i = 0; i < 10; ++i) {
        const int request = zoomStepRequest(zoom, true);
        ASSERT_TRUE(zoomRatio(request));
        zoom = request;
    }
    EXPECT_EQ(zoom, 200);
    EXPECT_EQ(zoomRatio(zoom), (ZoomRatio{102, 51}));
    EXPECT_EQ(zoomLabel(zoom), QStringLiteral("200 %"));
}

TEST(ZoomStep, upFrom500AndDownFrom10_askForValuesThatChangeNothing) {
    EXPECT_FALSE(zoomRatio(zoomStepRequest(500, true)));
    EXPECT_FALSE(zoomRatio(zoomStepRequest(10, false)));
    EXPECT_EQ(zoomRatio(zoomStepRequest(100, false)), (ZoomRatio{90, 100}));
}

// position steps

TEST(PositionStep, pointThreeSteppedDownThreeTimes_isExactlyZero) {
    QString text = QStringLiteral("0,3");
    for (int i = 0; i < 3; ++i) {
        const auto next = stepPosition(text, false, u",");
        ASSERT_TRUE(next);
        text = *next;
    }
    EXPECT_EQ(text, QStringLiteral("0"));
    EXPECT_FALSE(stepPosition(text, false, u","));
}

TEST(PositionStep, sumsAreExact_whereBinaryFractionsWouldDrift) {
    EXPECT_EQ(stepPosition(u"0.2", true, u"."), QStringLiteral("0.3"));
    QString text = QStringLiteral("0");
    for (int i = 0; i < 30; ++i)
        text = *stepPosition(text, true, u",");
    EXPECT_EQ(text, QStringLiteral("3"));
    EXPECT_EQ(stepPosition(u"12,34567", true, u","), QStringLiteral("12,44567"));
}

TEST(PositionStep, belowOneTenth_cannotBeSteppedDown) {
    EXPECT_FALSE(stepPosition(u"0,05", false, u","));
    EXPECT_FALSE(stepPosition(u"-1", false, u","));
    EXPECT_EQ(stepPosition(u"0,1", false, u","), QStringLiteral("0"));
    EXPECT_EQ(stepPosition(u"-1", true, u","), QStringLiteral("-0,9"));
}

TEST(PositionStep, eitherSeparatorIsRead_andTheGivenOneIsWritten) {
    EXPECT_EQ(stepPosition(u"1.5", true, u","), QStringLiteral("1,6"));
    EXPECT_EQ(stepPosition(u" 1,5 ", true, u"."), QStringLiteral("1.6"));
    EXPECT_EQ(stepPosition(u"0,0000", true, u","), QStringLiteral("0,1"));
    EXPECT_EQ(stepPosition(u",5", false, u","), QStringLiteral("0,4"));
}

TEST(PositionStep, emptyOrNonNumericText_staysAsItIs) {
    for (const char16_t* bad : {u"", u" ", u"abc", u"1,2,3", u"1e3", u"-", u",", u"12345678901234567890"}) {
        EXPECT_FALSE(stepPosition(bad, true, u",")) << QString::fromUtf16(bad).toStdString();
        EXPECT_FALSE(stepPosition(bad, false, u","));
    }
}
