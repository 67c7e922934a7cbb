#include "ImageFixtures.h"
#include "Surfaces.h"

#include <gtest/gtest.h>

#include <QColor>
#include <QDir>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdlib>
#include <turbojpeg.h>

namespace {

using fixtures::Bytes;

// Four solid quarters, large enough for JPEG blocks to keep their colours.
QImage Quarters(int w, int h)
{
    QImage image(w, h, QImage::Format_RGB888);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const bool right = x >= w / 2, bottom = y >= h / 2;
            image.setPixelColor(x, y, right ? (bottom ? QColor(0, 0, 255) : QColor(0, 255, 0))
                                            : (bottom ? QColor(255, 255, 255) : QColor(255, 0, 0)));
        }
    return image;
}

void ExpectNear(QRgb got, QColor want, int tolerance, const char* where)
{
    EXPECT_NEAR(qRed(got), want.red(), tolerance) << where;
    EXPECT_NEAR(qGreen(got), want.green(), tolerance) << where;
    EXPECT_NEAR(qBlue(got), want.blue(), tolerance) << where;
}

bool Load(CDib& dib, const Bytes& bytes)
{
    return dib.LoadFromMemory(bytes.data(), static_cast<std::uint32_t>(bytes.size()));
}

TEST(DecodeJpeg, PictureComesOutAtItsPixelSizeWithItsColours)
{
    CDib dib;
    ASSERT_TRUE(Load(dib, fixtures::EncodeJpeg(Quarters(64, 48), 95)));
    EXPECT_EQ(dib.GetWidth(), 64);
    EXPECT_EQ(dib.GetHeight(), 48);
    ExpectNear(surfaces::Rgb(dib, 8, 8), QColor(255, 0, 0), 12, "top left red");
    ExpectNear(surfaces::Rgb(dib, 56, 8), QColor(0, 255, 0), 12, "top right green");
    ExpectNear(surfaces::Rgb(dib, 8, 40), QColor(255, 255, 255), 12, "bottom left white");
    ExpectNear(surfaces::Rgb(dib, 56, 40), QColor(0, 0, 255), 12, "bottom right blue");
}

TEST(DecodeJpeg, ProgressiveJpegDecodes)
{
    CDib dib;
    ASSERT_TRUE(Load(dib, fixtures::EncodeJpeg(Quarters(40, 40), 90, true)));
    ExpectNear(surfaces::Rgb(dib, 30, 4), QColor(0, 255, 0), 14, "top right green");
}

TEST(DecodeJpeg, TruncatedJpegShowsThePartThatWasDecoded)
{
    Bytes jpeg = fixtures::EncodeJpeg(Quarters(256, 256), 95);
    jpeg.resize(jpeg.size() * 3 / 4);
    CDib dib;
    ASSERT_TRUE(Load(dib, jpeg));
    EXPECT_EQ(dib.GetWidth(), 256);
    ExpectNear(surfaces::Rgb(dib, 20, 20), QColor(255, 0, 0), 12, "top left survives");
}

TEST(DecodeJpeg, CmykJpegFallsBackToTheSecondDecoder)
{
    const int w = 32, h = 16;
    std::vector<unsigned char> cmyk(static_cast<std::size_t>(w) * h * 4, 0);
    tjhandle handle = tjInitCompress();
    unsigned char* jpeg = nullptr;
    unsigned long size = 0;
    ASSERT_EQ(tjCompress2(handle, cmyk.data(), w, w * 4, h, TJPF_CMYK, &jpeg, &size, TJSAMP_444, 90, 0), 0);
    const Bytes bytes(jpeg, jpeg + size);
    tjFree(jpeg);
    tjDestroy(handle);
    CDib dib;
    ASSERT_TRUE(Load(dib, bytes));
    EXPECT_EQ(dib.GetWidth(), w);
    EXPECT_EQ(dib.GetHeight(), h);
}

TEST(DecodeBmp, BmpPixelsAreExact)
{
    QImage image(3, 2, QImage::Format_RGB888);
    image.setPixelColor(0, 0, QColor(1, 2, 3));
    image.setPixelColor(1, 0, QColor(40, 50, 60));
    image.setPixelColor(2, 0, QColor(200, 100, 0));
    image.setPixelColor(0, 1, QColor(9, 8, 7));
    image.setPixelColor(1, 1, QColor(255, 255, 255));
    image.setPixelColor(2, 1, QColor(0, 0, 0));
    CDib dib;
    ASSERT_TRUE(Load(dib, fixtures::EncodeBmp(image)));
    ASSERT_EQ(dib.GetWidth(), 3);
    ASSERT_EQ(dib.GetHeight(), 2);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x)
            EXPECT_EQ(surfaces::Rgb(dib, x, y), image.pixel(x, y)) << x << "," << y;
}

QImage HalfTransparent()
{
    QImage image(4, 4, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 2; ++x)
            image.setPixelColor(x, y, QColor(255, 0, 0));
    return image;
}

TEST(DecodeGif, TransparentPixelsShowTheOldPictureOfTheSameSize)
{
    CDib dib;
    ASSERT_TRUE(dib.Create(4, 4, DIB_24BPP, 0x00FF0000)); // blue
    ASSERT_TRUE(Load(dib, fixtures::EncodeGif(HalfTransparent())));
    EXPECT_EQ(dib.GetPixel(0, 0), 0xFF0000u); // red drawn
    EXPECT_EQ(dib.GetPixel(3, 3), 0x0000FFu); // the old blue shows through
}

TEST(DecodeGif, TransparentPixelsComeOutWhiteOnASurfaceOfAnotherSize)
{
    CDib dib;
    ASSERT_TRUE(dib.Create(5, 4, DIB_24BPP, 0x00FF0000));
    ASSERT_TRUE(Load(dib, fixtures::EncodeGif(HalfTransparent())));
    EXPECT_EQ(dib.GetWidth(), 4);
    EXPECT_EQ(dib.GetPixel(1, 2), 0xFF0000u);
    EXPECT_EQ(dib.GetPixel(3, 3), 0xFFFFFFu);
}

TEST(DecodeGif, ManyColoursSurviveThePalette)
{
    CDib dib;
    ASSERT_TRUE(Load(dib, fixtures::EncodeGif(Quarters(20, 20))));
    EXPECT_EQ(surfaces::Rgb(dib, 15, 2), qRgb(0, 255, 0));
}

TEST(DecodeFiles, FilesLoadByTheirBytesAndEmptyOrMissingFilesFail)
{
    QTemporaryDir dir;
    const std::string named = QDir(dir.path()).filePath("picture.gif").toStdString(); // a JPEG, wrongly named
    ASSERT_TRUE(fixtures::WriteFile(named, fixtures::EncodeJpeg(Quarters(16, 16))));
    CDib dib;
    EXPECT_TRUE(dib.LoadFromFile(named));
    EXPECT_EQ(dib.GetWidth(), 16);
    const std::string empty = QDir(dir.path()).filePath("empty.jpg").toStdString();
    ASSERT_TRUE(fixtures::WriteFile(empty, {}));
    EXPECT_FALSE(dib.LoadFromFile(empty));
    EXPECT_FALSE(dib.LoadFromFile(QDir(dir.path()).filePath("missing.jpg").toStdString()));
    EXPECT_EQ(dib.GetWidth(), 16);
}

Bytes WithBytesAt(Bytes bytes, std::size_t at, std::size_t count)
{
    std::fill_n(bytes.begin() + static_cast<std::ptrdiff_t>(at), count, 0xFF);
    return bytes;
}

// A JPEG whose frame header (SOF0: marker, length, precision, then height and width) claims
// 65535 x 65535 pixels.
Bytes JpegClaimingHugeSize()
{
    Bytes jpeg = fixtures::EncodeJpeg(Quarters(16, 16));
    for (std::size_t i = 0; i + 8 < jpeg.size(); ++i)
        if (jpeg[i] == 0xFF && jpeg[i + 1] == 0xC0)
            return WithBytesAt(jpeg, i + 5, 4);
    return {};
}

// A progressive JPEG whose last scan is repeated three thousand times.
Bytes JpegOfThousandsOfScans()
{
    const Bytes jpeg = fixtures::EncodeJpeg(Quarters(16, 16), 85, true);
    std::size_t lastScan = 0;
    for (std::size_t i = 0; i + 1 < jpeg.size(); ++i)
        if (jpeg[i] == 0xFF && jpeg[i + 1] == 0xDA)
            lastScan = i;
    const auto scan = jpeg.begin() + static_cast<std::ptrdiff_t>(lastScan), end = jpeg.end() - 2;
    Bytes many(jpeg.begin(), end);
    for (int i = 0; i < 3000; ++i)
        many.insert(many.end(), scan, end);
    many.insert(many.end(), {0xFF, 0xD9});
    return many;
}

Bytes Noise(Bytes start)
{
    std::mt19937 rng(4);
    Bytes noise(5000);
    for (auto& b : noise)
        b = static_cast<std::uint8_t>(rng());
    noise[0] = 0x12;
    std::copy(start.begin(), start.end(), noise.begin());
    return noise;
}

// Bad input: false, no crash, and the surface as it was when decoding fails before drawing.
TEST(BadInput, EveryKindOfBadPictureIsRefusedAndLeavesTheSurfaceAsItWas)
{
    const struct {
        const char* fault;
        Bytes bytes;
        bool untouched;
    } cases[] = {
        {"noise decoded", Noise({}), true},
        {"noise after a JPEG start decoded", Noise({0xFF, 0xD8, 0xFF}), true},
        {"noise after a GIF start decoded", Noise({'G', 'I', 'F', '8', '9', 'a'}), true},
        {"noise after a BMP start decoded", Noise({'B', 'M'}), true},
        {"JPEG claiming a huge size allocated", JpegClaimingHugeSize(), true},
        {"BMP claiming 65535 x 65535 allocated", WithBytesAt(WithBytesAt(fixtures::EncodeBmp(Quarters(4, 4)), 18, 2), 22, 2), true},
        {"GIF with a huge logical screen allocated", WithBytesAt(fixtures::EncodeGif(Quarters(4, 4)), 6, 4), true},
        {"progressive JPEG of thousands of scans decoded", JpegOfThousandsOfScans(), false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.fault);
        CDib dib;
        ASSERT_TRUE(dib.Create(7, 5, DIB_24BPP, 0x00123456));
        EXPECT_FALSE(Load(dib, c.bytes));
        if (c.untouched) {
            EXPECT_EQ(dib.GetWidth(), 7);
            EXPECT_EQ(dib.GetPixel(3, 3), 0x563412u);
        }
    }
    CDib dib;
    const std::uint8_t none = 0;
    EXPECT_FALSE(dib.LoadFromMemory(&none, 0));
    EXPECT_FALSE(dib.LoadFromMemory(nullptr, 10));
}

TEST(Rotate, EveryPixelLandsWhereTheTurnPutsItOnOddSizes)
{
    std::mt19937 rng(8);
    // The large sizes are cut into bands across threads, with sides that leave partial blocks.
    for (const auto& [w, h] : {std::pair{1, 1}, std::pair{5, 3}, std::pair{130, 67}, std::pair{67, 130},
                               std::pair{701, 397}, std::pair{398, 703}}) {
        CDib page, before;
        ASSERT_TRUE(page.Create(w, h, DIB_24BPP, 0));
        surfaces::FillRandom(page, rng);
        before.CopyFrom(page);
        ASSERT_TRUE(RotatePage(&page));
        ASSERT_EQ(page.GetWidth(), h);
        ASSERT_EQ(page.GetHeight(), w);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                ASSERT_EQ(page.GetPixel(y, w - 1 - x), before.GetPixel(x, y)) << w << "x" << h;
        ASSERT_TRUE(RotatePage(&page)); // the spare buffer is reused: turn again
        ASSERT_EQ(page.GetWidth(), w);
    }
}

TEST(Rotate, TurnedRowsEndInZeroPaddingEvenWhenTheBufferHeldOtherBytes)
{
    CDib page;
    ASSERT_TRUE(page.Create(401, 333, DIB_24BPP, 0x123456));
    ASSERT_TRUE(RotatePage(&page)); // leaves the old bits as the spare buffer
    ASSERT_TRUE(RotatePage(&page));
    ASSERT_TRUE(RotatePage(&page)); // written over bytes that held pixels
    const int pixelBytes = 3 * page.GetWidth();
    for (int y = 0; y < page.GetHeight(); ++y)
        for (int i = pixelBytes; i < page.GetStride(); ++i)
            ASSERT_EQ(page.GetRowPtr(y)[i], 0) << "row " << y;
}

TEST(Rotate, UncreatedPageIsRefused)
{
    CDib page;
    EXPECT_FALSE(RotatePage(&page));
    EXPECT_FALSE(RotatePage(nullptr));
}

} // namespace
