// On a screen with two device pixels per logical pixel the view composes at the device
// resolution and paints one surface pixel to one device pixel.
#include "ViewTestSupport.h"

#include "ImageFixtures.h"
#include "settings/Option.h"

#include <QDir>
#include <QPixmap>

using namespace viewtest;

namespace {
// Set before the test application exists, which the first test creates.
const bool kScaledScreen = qputenv("QT_SCALE_FACTOR", "2");
} // namespace

class HiDpiTest : public ViewTest {};

TEST_F(HiDpiTest, LayoutAreaAndScreenAreInDevicePixels)
{
    ASSERT_TRUE(kScaledScreen);
    ASSERT_DOUBLE_EQ(m_view->devicePixelRatioF(), 2.0);
    m_view->resize(200, 150);
    OpenBook(1);
    EXPECT_EQ(m_view->m_rcWindow.width(), 400);
    EXPECT_EQ(m_view->m_rcWindow.height(), 300);
    EXPECT_EQ(m_view->m_pScreen->GetWidth(), 400);
    EXPECT_EQ(m_view->m_pScreen->GetHeight(), 300);
}

TEST_F(HiDpiTest, PaintingKeepsEveryDevicePixelOfTheScreen)
{
    m_view->resize(100, 50);
    QImage stripes(200, 100, QImage::Format_RGB32);
    for (int y = 0; y < 100; ++y)
        for (int x = 0; x < 200; ++x)
            stripes.setPixel(x, y, x % 2 ? qRgb(0, 0, 0) : qRgb(255, 255, 255));
    const std::string folder = TempPath("stripes");
    QDir().mkpath(QString::fromStdString(folder));
    ASSERT_TRUE(fixtures::WriteFile(folder + "/s.bmp", fixtures::EncodeBmp(stripes)));
    g_option.bStretech = 0; // the page exactly as decoded, no scaler on the way
    m_view->ScanFolder(folder);
    const QImage shown = m_view->grab().toImage();
    ASSERT_EQ(shown.width(), 200);
    // One-pixel stripes survive only when nothing was scaled on the way to the window.
    for (int x = 0; x < 8; ++x)
        EXPECT_EQ(QColor(shown.pixel(x, 10)), QColor(x % 2 ? Qt::black : Qt::white)) << "column " << x;
}
