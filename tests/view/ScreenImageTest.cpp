// The 32-bit copy painting hands to Qt: every pixel upright and unchanged, for every row
// width (the fast path works in groups of four pixels and finishes rows one by one).
#include "view/ScreenImage.h"

#include "imaging/Dib.h"

#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>

namespace {

std::uint32_t PatternColor(int x, int y)
{
    return std::uint32_t((x * 37 + y * 11) & 0xFF) << 16 | std::uint32_t((x * 5 + 200) & 0xFF) << 8
           | std::uint32_t((y * 53 + x) & 0xFF);
}

QImage PaintedCopy(CScreenImage& image, const CDib& surface, int width, int height)
{
    QImage window(20, 8, QImage::Format_RGB32);
    window.fill(Qt::black);
    QPainter painter(&window);
    image.Paint(painter, surface, width, height, 1.0);
    return window;
}

} // namespace

TEST(ScreenImageTest, EveryRowWidthKeepsEachPixelUpright)
{
    CScreenImage image;
    for (int width = 1; width <= 17; ++width) {
        CDib surface;
        ASSERT_TRUE(surface.Create(width, 5, DIB_24BPP, 0));
        for (int y = 0; y < 5; ++y)
            for (int x = 0; x < width; ++x)
                surface.SetPixel(x, y, PatternColor(x, y));
        const QImage window = PaintedCopy(image, surface, width, 5);
        for (int y = 0; y < 5; ++y)
            for (int x = 0; x < width; ++x)
                ASSERT_EQ(window.pixel(x, y) & 0xFFFFFFu, PatternColor(x, y)) << "width " << width << " at " << x << "," << y;
    }
}

TEST(ScreenImageTest, PaintsOnlyThePartAskedForAndNoMoreThanTheSurface)
{
    CScreenImage image;
    CDib surface;
    ASSERT_TRUE(surface.Create(10, 6, DIB_24BPP, 0xFFFFFF));
    QImage window = PaintedCopy(image, surface, 4, 3);
    EXPECT_EQ(window.pixel(3, 2), qRgb(255, 255, 255));
    EXPECT_EQ(window.pixel(4, 0), qRgb(0, 0, 0));
    EXPECT_EQ(window.pixel(0, 3), qRgb(0, 0, 0));
    window = PaintedCopy(image, surface, 20, 8); // asks past the surface's edge
    EXPECT_EQ(window.pixel(9, 5), qRgb(255, 255, 255));
    EXPECT_EQ(window.pixel(10, 5), qRgb(0, 0, 0));
    EXPECT_EQ(window.pixel(9, 6), qRgb(0, 0, 0));
}

TEST(ScreenImageTest, SurfaceWithoutPixelsPaintsNothing)
{
    CScreenImage image;
    CDib empty;
    const QImage window = PaintedCopy(image, empty, 20, 8);
    EXPECT_EQ(window.pixel(0, 0), qRgb(0, 0, 0));
}
