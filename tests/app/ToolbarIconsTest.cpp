// The drawn icons: every button has a picture of its own, sharp at any density, and the
// application has one too.
#include "app/ToolbarIcons.h"
#include "app/AppIcon.h"
#include "app/Commands.h"

#include <QImage>
#include <QPixmap>
#include <gtest/gtest.h>

namespace {

int InkedPixels(const QImage& image) {
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            count += qAlpha(image.pixel(x, y)) > 0;
    return count;
}

QImage Render(int id, qreal devicePixelRatio, QIcon::Mode mode = QIcon::Normal) {
    return ToolbarIcon(id)
        .pixmap(kToolbarIconSize, devicePixelRatio, mode)
        .toImage()
        .convertToFormat(QImage::Format_ARGB32);
}

} // namespace

TEST(ToolbarIcons, EveryButtonDrawsSomethingDifferentFromEveryOther) {
    std::vector<std::pair<int, QImage>> drawn;
    for (const int id : ToolbarLayout()) {
        if (id == kToolbarSeparator)
            continue;
        const QImage image = Render(id, 1.0);
        EXPECT_GT(InkedPixels(image), 10) << "button " << id << " is blank";
        for (const auto& [otherId, other] : drawn)
            EXPECT_NE(image, other) << "buttons " << id << " and " << otherId << " look the same";
        drawn.emplace_back(id, image);
    }
}

TEST(ToolbarIcons, HighDensityScreensGetDevicePixelsNotAnUpscaledBitmap) {
    const QImage image = Render(ID_PAGE_NEXT, 2.0);
    EXPECT_EQ(image.size(), kToolbarIconSize * 2);
    // Drawn at twice the size, the picture covers about four times the pixels.
    const int single = InkedPixels(Render(ID_PAGE_NEXT, 1.0));
    EXPECT_GT(InkedPixels(image), 3 * single);
}

TEST(ToolbarIcons, DisabledButtonsAreDrawnGrey) {
    const QImage image = Render(ID_SHARPEN, 1.0, QIcon::Disabled);
    ASSERT_GT(InkedPixels(image), 0);
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QRgb p = image.pixel(x, y);
            if (qAlpha(p) == 255) {
                EXPECT_TRUE(qRed(p) == qGreen(p) && qGreen(p) == qBlue(p)) << x << "," << y;
            }
        }
    }
}

TEST(AppIcon, DrawsABookOnATransparentGroundAtAnySize) {
    for (const int side : {16, 32, 64}) {
        const QImage image =
            AppIcon().pixmap(QSize(side, side), 1.0).toImage().convertToFormat(QImage::Format_ARGB32);
        ASSERT_EQ(image.size(), QSize(side, side));
        EXPECT_GT(InkedPixels(image), side * side / 2) << side;
        EXPECT_EQ(qAlpha(image.pixel(0, 0)), 0) << "corner not transparent at " << side;
    }
}
