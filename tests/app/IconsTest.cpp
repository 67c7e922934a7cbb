// The drawn icons: the window's icon is the launcher's picture at every installed size,
// those rasters show the design's colours, and every button draws a picture of its own.
#include "app/AppIcon.h"
#include "app/Commands.h"
#include "app/ToolbarIcons.h"

#include <QImage>
#include <QPixmap>
#include <cstring>
#include <gtest/gtest.h>

namespace {

QImage Argb(const QPixmap& pixmap) {
    return pixmap.toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied);
}
QImage Launcher(int size) {
    return QImage(QStringLiteral(TAVIMO_ICON_DIR "/%1x%1/tavimo.png").arg(size))
        .convertToFormat(QImage::Format_ARGB32_Premultiplied);
}
// Pixels only: a pixmap drawn for a doubled screen carries its ratio and no colour space.
bool SamePixels(const QImage& a, const QImage& b) {
    for (int row = 0; a.size() == b.size() && row < a.height(); ++row)
        if (std::memcmp(a.constScanLine(row), b.constScanLine(row), std::size_t(a.width()) * 4) != 0)
            return false;
    return a.size() == b.size();
}

TEST(Icons, WindowIconIsTheLauncherPictureAtEverySizeAndSharpOnADoubledScreen) {
    // Points well inside one area of the design, clear of every edge at the smallest size.
    const std::tuple<const char*, int, int, QColor> samples[] = {
        {"tile_not_the_design_blue", 24, 128, QColor(0x2a, 0x3c, 0xc0)},
        {"left_page_not_white", 72, 168, QColor(0xff, 0xff, 0xff)},
        {"right_page_not_its_grey", 184, 168, QColor(0xf2, 0xf2, 0xf2)},
        {"corner_not_transparent", 1, 1, QColor(0, 0, 0, 0)}};
    for (const int size : {TAVIMO_ICON_SIZE_LIST}) {
        const QImage launcher = Launcher(size);
        ASSERT_EQ(launcher.size(), QSize(size, size));
        EXPECT_TRUE(AppIcon().availableSizes().contains(launcher.size())) << size;
        EXPECT_TRUE(SamePixels(Argb(AppIcon().pixmap(launcher.size(), 1.0)), launcher)) << size;
        for (const auto& [fault, x, y, color] : samples) {
            const QColor drawn = launcher.pixelColor(x * size / 256, y * size / 256);
            const auto close = [](int a, int b) { return std::abs(a - b) <= 2; };
            EXPECT_TRUE(color.alpha() == 0
                            ? drawn.alpha() == 0
                            : close(drawn.red(), color.red()) && close(drawn.green(), color.green()) &&
                                  close(drawn.blue(), color.blue()) && drawn.alpha() == 255)
                << fault << " at " << size << ": " << drawn.name(QColor::HexArgb).toStdString();
        }
    }
    // A 32-pixel icon on a screen of twice the density is the 64-pixel picture, not the 32 enlarged.
    EXPECT_TRUE(SamePixels(Argb(AppIcon().pixmap(QSize(32, 32), 2.0)), Launcher(64)));
}

TEST(Icons, EveryButtonDrawsSomethingOfItsOwnAndGreyWhenDisabled) {
    // How many of the picture's pixels are drawn, or drawn opaque in a colour that is no grey.
    const auto count = [](const QImage& image, bool coloured) {
        int n = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x) {
                const QRgb p = image.pixel(x, y);
                n += coloured ? qAlpha(p) == 255 && (qRed(p) != qGreen(p) || qGreen(p) != qBlue(p))
                              : qAlpha(p) > 0;
            }
        return n;
    };
    std::vector<std::pair<int, QImage>> drawn;
    for (const int id : ToolbarLayout()) {
        if (id == kToolbarSeparator)
            continue;
        const QImage image = Argb(ToolbarIcon(id).pixmap(kToolbarIconSize, 1.0));
        EXPECT_GT(count(image, false), 10) << "button " << id << " is blank";
        for (const auto& [otherId, other] : drawn)
            EXPECT_NE(image, other) << "buttons " << id << " and " << otherId << " look the same";
        drawn.emplace_back(id, image);
    }
    const QImage disabled = Argb(ToolbarIcon(ID_SHARPEN).pixmap(kToolbarIconSize, 1.0, QIcon::Disabled));
    EXPECT_TRUE(count(disabled, false) > 0 && count(disabled, true) == 0) << "disabled not grey";
}

} // namespace
