// The raster icons the build draws from the scalable design: every size the desktop gets,
// each showing the design's own colours where the design puts them.
#include <QColor>
#include <QDir>
#include <QImage>
#include <gtest/gtest.h>

namespace {

struct Sample {
    const char* fault;
    double x, y; // in the design's 256-unit square
    QColor color;
};

// Points well inside one area of tavimo.svg, clear of every edge at the smallest size.
const Sample kSamples[] = {
    {"tile_not_the_design_blue", 24, 128, QColor(0x2a, 0x3c, 0xc0)},
    {"left_page_not_white", 72, 168, QColor(0xff, 0xff, 0xff)},
    {"right_page_not_its_grey", 184, 168, QColor(0xf2, 0xf2, 0xf2)},
    {"corner_not_transparent", 1, 1, QColor(0, 0, 0, 0)},
};

bool Near(QRgb drawn, const QColor& expected) {
    const auto close = [](int a, int b) { return std::abs(a - b) <= 2; };
    if (expected.alpha() == 0)
        return qAlpha(drawn) == 0;
    return close(qAlpha(drawn), expected.alpha()) && close(qRed(drawn), expected.red()) &&
           close(qGreen(drawn), expected.green()) && close(qBlue(drawn), expected.blue());
}

TEST(IconDesign, EverySizeIsDrawnWithTheDesignsColours) {
    for (const int size : {TAVIMO_ICON_SIZE_LIST}) {
        const QString file = QStringLiteral(TAVIMO_ICON_DIR "/%1x%1/tavimo.png").arg(size);
        const QImage icon = QImage(file).convertToFormat(QImage::Format_ARGB32);
        ASSERT_EQ(icon.size(), QSize(size, size)) << file.toStdString();
        for (const Sample& sample : kSamples) {
            const int x = int(sample.x * size / 256), y = int(sample.y * size / 256);
            EXPECT_TRUE(Near(icon.pixel(x, y), sample.color))
                << sample.fault << " at " << size << ": "
                << QColor::fromRgba(icon.pixel(x, y)).name(QColor::HexArgb).toStdString();
        }
    }
}

} // namespace
