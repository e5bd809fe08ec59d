// ImageList1: every picture loads from the resources and draws something at any size.

#include "platform/playerpictures.h"

#include <QImage>
#include <QPixmap>

#include <gtest/gtest.h>

using namespace lumora::platform;

namespace {

int paintedPixels(const QIcon& icon, int size) {
    const QImage img = icon.pixmap(size, size).toImage().convertToFormat(QImage::Format_ARGB32);
    int n = 0;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            n += qAlpha(img.pixel(x, y)) > 0;
    return n;
}

// Pictures 1 and 2, 3 and 4 and so on are the two faces of one button.
TEST(PlayerPictures, allTen_drawAtSmallAndLargeSizes_andThePairsOfAButtonLookDifferent) {
    for (int i = 1; i <= 10; ++i) {
        const QIcon icon = playerPicture(i);
        ASSERT_FALSE(icon.isNull()) << "picture " << i;
        // The SVG image plugin must be present (package libqt6svg6), or icons come out empty.
        EXPECT_GT(paintedPixels(icon, 16), 16 * 16 / 8) << "picture " << i;
        const int large = paintedPixels(icon, 128);
        EXPECT_GT(large, 128 * 128 / 8) << "picture " << i;
        if (i % 2 == 0) {
            EXPECT_NE(playerPicture(i - 1).pixmap(32, 32).toImage(), icon.pixmap(32, 32).toImage())
                << i - 1 << " and " << i;
        }
    }
}

TEST(PlayerPictures, outsideTheList_nullIconAndNoAction) {
    EXPECT_TRUE(playerPicture(0).isNull());
    EXPECT_TRUE(playerPicture(11).isNull());
    EXPECT_EQ(playerPictureAction(0), "");
}

} // namespace
