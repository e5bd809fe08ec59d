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

TEST(PlayerPictures, allTen_drawAtSmallAndLargeSizes) {
    for (int i = 1; i <= 10; ++i) {
        const QIcon icon = playerPicture(i);
        ASSERT_FALSE(icon.isNull()) << "picture " << i;
        // The SVG image plugin must be present (package libqt6svg6), or icons come out empty.
        EXPECT_GT(paintedPixels(icon, 16), 16 * 16 / 8) << "picture " << i;
        const int large = paintedPixels(icon, 128);
        EXPECT_GT(large, 128 * 128 / 8) << "picture " << i;
    }
}

TEST(PlayerPictures, outsideTheList_nullIconAndNoAction) {
    EXPECT_TRUE(playerPicture(0).isNull());
    EXPECT_TRUE(playerPicture(11).isNull());
    EXPECT_EQ(playerPictureAction(0), "");
}

TEST(PlayerPictures, pairsOfAButton_lookDifferent) {
    for (const auto& [a, b] : {std::pair{1, 2}, {3, 4}, {5, 6}, {7, 8}, {9, 10}}) {
        const QImage ia = playerPicture(a).pixmap(32, 32).toImage();
        const QImage ib = playerPicture(b).pixmap(32, 32).toImage();
        EXPECT_NE(ia, ib) << a << " and " << b;
    }
}

} // namespace
