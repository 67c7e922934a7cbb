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
QImage Quarters(int w, int h) {
    QImage image(w, h, QImage::Format_RGB888);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const bool right = x >= w / 2, bottom = y >= h / 2;
            image.setPixelColor(x, y,
                                right ? (bottom ? QColor(0, 0, 255) : QColor(0, 255, 0))
                                      : (bottom ? QColor(255, 255, 255) : QColor(255, 0, 0)));
        }
    return image;
}

bool Load(CDib& dib, const Bytes& bytes) {
    return dib.LoadFromMemory(bytes.data(), static_cast<std::uint32_t>(bytes.size()));
}

// Each kind of picture comes out at its size with the colours of its four quarters (a
// truncated JPEG: the top rows that decoded).
TEST(Decode, EachKindShowsItsQuartersAtItsSize) {
    const QImage quarters = Quarters(64, 48);
    Bytes truncated = fixtures::EncodeJpeg(Quarters(64, 256), 95);
    truncated.resize(truncated.size() * 3 / 4);
    const struct {
        const char* fault;
        Bytes bytes;
        int tolerance, height, probedRows;
    } cases[] = {
        {"baseline JPEG", fixtures::EncodeJpeg(quarters, 95), 12, 48, 2},
        {"progressive JPEG", fixtures::EncodeJpeg(quarters, 90, true), 14, 48, 2},
        {"truncated JPEG shows nothing", truncated, 12, 256, 1},
        {"BMP pixels not exact", fixtures::EncodeBmp(quarters), 0, 48, 2},
        {"GIF palette loses colours", fixtures::EncodeGif(quarters), 0, 48, 2},
    };
    for (const auto& c : cases) {
        CDib dib;
        ASSERT_TRUE(Load(dib, c.bytes)) << c.fault;
        ASSERT_EQ(dib.GetWidth(), 64) << c.fault;
        ASSERT_EQ(dib.GetHeight(), c.height) << c.fault;
        for (int row = 0; row < c.probedRows; ++row)
            for (int column = 0; column < 2; ++column) {
                const QRgb got = surfaces::Rgb(dib, 8 + 48 * column, 8 + (c.height - 16) * row);
                const QRgb want = quarters.pixel(8 + 48 * column, 8 + 32 * row);
                EXPECT_NEAR(qRed(got), qRed(want), c.tolerance) << c.fault << " quarter " << row << column;
                EXPECT_NEAR(qGreen(got), qGreen(want), c.tolerance) << c.fault;
                EXPECT_NEAR(qBlue(got), qBlue(want), c.tolerance) << c.fault;
            }
    }
}

TEST(DecodeJpeg, CmykJpegFallsBackToTheSecondDecoder) {
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

QImage HalfTransparent() {
    QImage image(4, 4, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 2; ++x)
            image.setPixelColor(x, y, QColor(255, 0, 0));
    return image;
}

TEST(DecodeGif, TransparentPixelsShowTheOldPictureOfTheSameSize) {
    CDib dib;
    ASSERT_TRUE(dib.Create(4, 4, DIB_24BPP, 0x00FF0000)); // blue
    ASSERT_TRUE(Load(dib, fixtures::EncodeGif(HalfTransparent())));
    EXPECT_EQ(dib.GetPixel(0, 0), 0xFF0000u); // red drawn
    EXPECT_EQ(dib.GetPixel(3, 3), 0x0000FFu); // the old blue shows through
}

TEST(DecodeGif, TransparentPixelsComeOutWhiteOnASurfaceOfAnotherSize) {
    CDib dib;
    ASSERT_TRUE(dib.Create(5, 4, DIB_24BPP, 0x00FF0000));
    ASSERT_TRUE(Load(dib, fixtures::EncodeGif(HalfTransparent())));
    EXPECT_EQ(dib.GetWidth(), 4);
    EXPECT_EQ(dib.GetPixel(1, 2), 0xFF0000u);
    EXPECT_EQ(dib.GetPixel(3, 3), 0xFFFFFFu);
}

TEST(DecodeFiles, FilesLoadByTheirBytesAndEmptyOrMissingFilesFail) {
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

Bytes WithBytesAt(Bytes bytes, std::size_t at, std::size_t count) {
    std::fill_n(bytes.begin() + static_cast<std::ptrdiff_t>(at), count, 0xFF);
    return bytes;
}

Bytes Noise(Bytes start) {
    std::mt19937 rng(4);
    Bytes noise(5000);
    for (auto& b : noise)
        b = static_cast<std::uint8_t>(rng());
    noise[0] = 0x12;
    std::copy(start.begin(), start.end(), noise.begin());
    return noise;
}

// Bad input: false, and the surface as it was. Every hostile kind is a row of the hardening
// tables, in books.
TEST(BadInput, EveryKindOfBadPictureIsRefusedAndLeavesTheSurfaceAsItWas) {
    const struct {
        const char* fault;
        Bytes bytes;
    } cases[] = {
        {"noise decoded", Noise({})},
        {"noise after a JPEG start decoded", Noise({0xFF, 0xD8, 0xFF})},
        {"noise after a GIF start decoded", Noise({'G', 'I', 'F', '8', '9', 'a'})},
        {"noise after a BMP start decoded", Noise({'B', 'M'})},
        {"BMP claiming 65535 x 65535 allocated",
         WithBytesAt(WithBytesAt(fixtures::EncodeBmp(Quarters(4, 4)), 18, 2), 22, 2)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.fault);
        CDib dib;
        ASSERT_TRUE(dib.Create(7, 5, DIB_24BPP, 0x00123456));
        EXPECT_FALSE(Load(dib, c.bytes));
        EXPECT_EQ(dib.GetWidth(), 7);
        EXPECT_EQ(dib.GetPixel(3, 3), 0x563412u);
    }
    CDib dib;
    const std::uint8_t none = 0;
    EXPECT_FALSE(dib.LoadFromMemory(&none, 0));
    EXPECT_FALSE(dib.LoadFromMemory(nullptr, 10));
}

TEST(Rotate, EveryPixelLandsWhereTheTurnPutsItOnOddSizes) {
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

TEST(Rotate, TurnedRowsEndInZeroPaddingEvenWhenTheBufferHeldOtherBytes) {
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

TEST(Rotate, UncreatedPageIsRefused) {
    CDib page;
    EXPECT_FALSE(RotatePage(&page));
    EXPECT_FALSE(RotatePage(nullptr));
}

} // namespace
