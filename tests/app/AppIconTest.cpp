// The window shows the launcher's icon: every raster size the desktop installs, pixel for
// pixel, so the window, the message window and the launcher show one picture.
#include "app/AppIcon.h"

#include <QDir>
#include <QImage>
#include <QPixmap>
#include <cstring>
#include <gtest/gtest.h>

namespace {

// The launcher's raster icons as the build draws them: <size>x<size>/tavimo.png.
QStringList LauncherIcons() {
    QStringList files;
    const QDir sizes(QStringLiteral(TAVIMO_ICON_DIR));
    for (const QString& size : sizes.entryList(QDir::Dirs | QDir::NoDotAndDotDot))
        files << sizes.filePath(size + QStringLiteral("/tavimo.png"));
    return files;
}

// Pixels only: a pixmap drawn for a doubled screen carries its ratio and no colour space.
bool SamePixels(const QImage& a, const QImage& b) {
    const QImage x = a.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    const QImage y = b.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    if (x.size() != y.size())
        return false;
    for (int row = 0; row < x.height(); ++row) {
        if (std::memcmp(x.constScanLine(row), y.constScanLine(row), x.width() * 4) != 0)
            return false;
    }
    return true;
}

} // namespace

TEST(AppIcon, OffersEveryLauncherSize) {
    const QStringList files = LauncherIcons();
    ASSERT_GE(files.size(), 4) << "no launcher icons under " << TAVIMO_ICON_DIR;
    const QList<QSize> offered = AppIcon().availableSizes();
    for (const QString& file : files) {
        const QSize size = QImage(file).size();
        EXPECT_TRUE(offered.contains(size)) << file.toStdString();
    }
}

TEST(AppIcon, EachSizeIsTheLauncherPicturePixelForPixel) {
    for (const QString& file : LauncherIcons()) {
        const QImage launcher(file);
        ASSERT_FALSE(launcher.isNull()) << file.toStdString();
        EXPECT_TRUE(SamePixels(AppIcon().pixmap(launcher.size(), 1.0).toImage(), launcher)) << file.toStdString();
    }
}

TEST(AppIcon, SharpOnADoubledScreen) {
    // A 32-pixel icon on a screen of twice the density is the 64-pixel picture, not the
    // 32-pixel one enlarged.
    const QImage doubled = AppIcon().pixmap(QSize(32, 32), 2.0).toImage();
    ASSERT_EQ(doubled.size(), QSize(64, 64));
    EXPECT_TRUE(SamePixels(doubled, QImage(QStringLiteral(TAVIMO_ICON_DIR "/64x64/tavimo.png"))));
}
