// The surface (layout, copies, decoding, rotation) and its kernels: both scalers and the
// sharpen, checked byte for byte against the plain reference on worked values that anchor
// the reference itself and on thousands of random cases.
#include "ArchiveFixtures.h"
#include "ImageFixtures.h"
#include "Reference.h"
#include "imaging/RowBands.h"
#include "imaging/SmoothRow.h"

#include <gtest/gtest.h>

#include <QColor>
#include <QTemporaryDir>
#include <algorithm>
#include <array>
#include <functional>
#include <random>
#include <set>
#include <thread>
#include <tuple>
#include <turbojpeg.h>

namespace {

using fixtures::Bytes;
using reference::Rects;
using Scaler = bool (CDib::*)(CDib*, int, int, int, int, int, int, int, int) const;
const Scaler kPlain = &CDib::StretchTo, kSmooth = &CDib::SmoothStretchTo;

bool Scale(const CDib& src, Scaler scale, CDib& dest, const Rects& r) {
    return (src.*scale)(&dest, r[0], r[1], r[2], r[3], r[4], r[5], r[6], r[7]);
}

// Creates the surface with every pixel byte from the generator (padding is left zero).
void CreateRandom(CDib& dib, int width, int height, std::mt19937& rng) {
    ASSERT_TRUE(dib.Create(width, height, DIB_24BPP, 0));
    for (int y = 0; y < dib.GetHeight(); ++y)
        std::generate_n(dib.GetRowPtr(y), 3 * dib.GetWidth(), [&] { return std::uint8_t(rng()); });
}

// The first pixel where the two surfaces differ, or "" when they are equal.
std::string FirstDifference(const CDib& a, const CDib& b) {
    if (a.GetWidth() != b.GetWidth() || a.GetHeight() != b.GetHeight())
        return "sizes differ";
    for (int y = 0; y < a.GetHeight(); ++y)
        for (int x = 0; x < a.GetWidth(); ++x)
            if (a.GetPixel(x, y) != b.GetPixel(x, y))
                return "pixel (" + std::to_string(x) + ", " + std::to_string(y) + ")";
    return "";
}

// Rows of four-byte strides, stored bottom up, blue first, padding zero; rows outside are null.
TEST(Dib, RowsAreBottomUpBlueFirstWithZeroPaddingToFourBytes) {
    for (const auto& [width, stride] :
         {std::pair{1, 4}, std::pair{3, 12}, std::pair{4, 12}, std::pair{5, 16}}) {
        CDib dib;
        ASSERT_TRUE(dib.Create(width, 3, DIB_24BPP, 0x00332211)); // red 0x11, green 0x22, blue 0x33
        EXPECT_EQ(dib.GetStride(), stride) << width;
        EXPECT_EQ(dib.GetRowPtr(0) - dib.GetRowPtr(2), 2 * stride) << "rows not bottom up";
        Bytes lastPixelAndPadding{0x33, 0x22, 0x11};
        lastPixelAndPadding.resize(std::size_t(3 + stride - 3 * width), 0);
        EXPECT_EQ(Bytes(dib.GetRowPtr(1) + 3 * width - 3, dib.GetRowPtr(1) + stride), lastPixelAndPadding);
        EXPECT_EQ(dib.GetPixel(width - 1, 1), 0x112233u);
        dib.SetPixel(0, 0, 0x123456);
        EXPECT_EQ(dib.GetRowPtr(0)[0], 0x56) << "set pixel not blue first";
        EXPECT_EQ(dib.GetRowPtr(0)[3], width > 1 ? 0x33 : 0) << "set pixel spills into its neighbour";
        EXPECT_EQ(dib.GetRowPtr(-1), nullptr);
        EXPECT_EQ(dib.GetRowPtr(3), nullptr) << "the row past the last is not refused";
    }
    EXPECT_EQ(CDib().GetRowPtr(0), nullptr);
}

// A refused size leaves nothing created, however large; a new size fills every pixel again;
// a copy is deep; nothing is copied from or to a surface not created.
TEST(Dib, BadSizesAreRefusedRecreatingRefillsAndCopiesAreDeep) {
    for (const auto& [w, h, format] : {std::array{0, 5, 3}, std::array{5, 0, 3}, std::array{-3, 5, 3},
                                       std::array{5, 5, 7}, std::array{1 << 20, 1 << 20, 3}}) {
        CDib dib;
        ASSERT_TRUE(dib.Create(4, 4, DIB_24BPP, 0xFFFFFF));
        EXPECT_FALSE(dib.Create(w, h, format, 0xFFFFFF)) << w << "x" << h;
        EXPECT_FALSE(dib.IsCreated());
        EXPECT_EQ(dib.GetRowPtr(0), nullptr);
    }
    CDib dib, copy, white, empty;
    ASSERT_TRUE(dib.Create(40, 30, DIB_24BPP, 0x000000));
    ASSERT_TRUE(dib.Create(7, 5, DIB_24BPP, 0xFFFFFF) && white.Create(7, 5, DIB_24BPP, 0xFFFFFF));
    EXPECT_EQ(FirstDifference(dib, white), "") << "recreating left old pixels";
    ASSERT_TRUE(copy.Create(2, 2, DIB_24BPP, 0));
    copy.CopyFrom(dib);
    dib.SetPixel(6, 4, 0);
    copy.CopyFrom(empty);
    EXPECT_EQ(FirstDifference(copy, white), "") << "the copy shares pixels, or copying nothing destroyed it";
    EXPECT_FALSE(dib.DrawToDib(&empty, 0, 0));
    EXPECT_FALSE(empty.DrawToDib(&dib, 0, 0));
    EXPECT_FALSE(dib.DrawToDib(nullptr, 0, 0));
}

// A blit, onto another surface or overlapping itself, against a per-pixel copy of the part
// of the rectangle inside both surfaces.
TEST(Dib, BlitCopiesExactlyThePartOfTheRectangleInsideBothSurfaces) {
    std::mt19937 rng(11);
    std::uniform_int_distribution<int> coord(-12, 12), size(-2, 14);
    for (int round = 0; round < 400; ++round) {
        CDib src, other, from, expected;
        CreateRandom(src, 1 + round % 9, 1 + round % 7, rng);
        CreateRandom(other, 1 + round % 5, 1 + round % 8, rng);
        CDib& dest = round % 4 == 0 ? src : other;
        from.CopyFrom(src);
        expected.CopyFrom(dest);
        const int dx = coord(rng), dy = coord(rng), sx = coord(rng), sy = coord(rng), w = size(rng),
                  h = size(rng);
        for (int j = 0; j < h; ++j)
            for (int i = 0; i < w; ++i)
                if (sx + i >= 0 && sy + j >= 0 && sx + i < src.GetWidth() && sy + j < src.GetHeight() &&
                    dx + i >= 0 && dy + j >= 0 && dx + i < dest.GetWidth() && dy + j < dest.GetHeight())
                    expected.SetPixel(dx + i, dy + j, from.GetPixel(sx + i, sy + j));
        ASSERT_TRUE(src.BlitToDib(&dest, dx, dy, sx, sy, w, h));
        ASSERT_EQ(FirstDifference(dest, expected), "")
            << "blit " << dx << "," << dy << " from " << sx << "," << sy << " size " << w << "x" << h;
    }
}

// Four solid quarters (red, green / white, blue), large enough for JPEG blocks to keep them.
QImage Quarters(int w, int h) {
    QImage image(w, h, QImage::Format_RGB888);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            image.setPixelColor(
                x, y, x < w / 2 ? (y < h / 2 ? Qt::red : Qt::white) : (y < h / 2 ? Qt::green : Qt::blue));
    return image;
}

// Red on its left two columns, transparent elsewhere.
Bytes GifRedThenTransparent(int width) {
    QImage image(width, 4, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    for (int i = 0; i < 8; ++i)
        image.setPixelColor(i % 2, i / 2, Qt::red);
    return fixtures::EncodeGif(image);
}

Bytes CmykJpeg() { // TurboJPEG will not decode it to BGR: the second decoder must
    const std::vector<unsigned char> cmyk(32 * 16 * 4, 0);
    const std::unique_ptr<void, int (*)(tjhandle)> handle(tjInitCompress(), tjDestroy);
    unsigned char* jpeg = nullptr;
    unsigned long size = 0;
    tjCompress2(handle.get(), cmyk.data(), 32, 128, 16, TJPF_CMYK, &jpeg, &size, TJSAMP_444, 90, 0);
    const Bytes bytes(jpeg, jpeg + size);
    tjFree(jpeg);
    return bytes;
}

Bytes Noise(Bytes start) {
    Bytes bytes = fixtures::PatternBytes(5000, 4);
    bytes[0] = 0x12; // the start of no picture kind
    std::copy(start.begin(), start.end(), bytes.begin());
    return bytes;
}

// Each picture loads onto a blue 4 x 4 surface: at its size with its colours at the probed
// points (within its format's tolerance; a truncated JPEG: the top rows that decoded), or it
// is refused and the surface is as it was. Every hostile kind is a row of the hardening tables.
TEST(Decode, EachKindLoadsAtItsSizeWithItsColoursAndBadPicturesLeaveTheSurface) {
    const QImage quarters = Quarters(64, 48);
    Bytes truncated = fixtures::EncodeJpeg(Quarters(64, 256), 95),
          hugeBmp = fixtures::EncodeBmp(Quarters(4, 4));
    truncated.resize(truncated.size() * 3 / 4);
    std::fill_n(hugeBmp.begin() + 18, 2, 0xFF);          // width 65535
    std::fill_n(hugeBmp.begin() + 22, 2, 0xFF);          // height 65535
    using Probes = std::vector<std::array<unsigned, 3>>; // x, y, 0xRRGGBB
    const Probes top{{8, 8, 0xFF0000}, {56, 8, 0x00FF00}}, kept{{3, 3, 0x0000FF}};
    const Probes all{{8, 8, 0xFF0000}, {56, 8, 0x00FF00}, {8, 40, 0xFFFFFF}, {56, 40, 0x0000FF}};
    const Probes sameSize{{1, 2, 0xFF0000}, {3, 3, 0x0000FF}}, otherSize{{1, 2, 0xFF0000}, {4, 3, 0xFFFFFF}};
    // What goes wrong; the picture; whether it loads, its size, the colours' tolerance, probes.
    // clang-format off
    const std::tuple<const char*, Bytes, bool, int, int, int, Probes> cases[] = {
        {"baseline JPEG", fixtures::EncodeJpeg(quarters, 95), true, 64, 48, 12, all},
        {"progressive JPEG", fixtures::EncodeJpeg(quarters, 90, true), true, 64, 48, 14, all},
        {"truncated JPEG shows nothing", truncated, true, 64, 256, 12, top},
        {"BMP pixels not exact", fixtures::EncodeBmp(quarters), true, 64, 48, 0, all},
        {"GIF palette loses colours", fixtures::EncodeGif(quarters), true, 64, 48, 0, all},
        {"CMYK JPEG refused", CmykJpeg(), true, 32, 16, 0, {}},
        {"GIF transparency overwrites", GifRedThenTransparent(4), true, 4, 4, 0, sameSize},
        {"GIF of another size keeps old pixels", GifRedThenTransparent(5), true, 5, 4, 0, otherSize},
        {"noise decoded", Noise({}), false, 4, 4, 0, kept},
        {"noise after a JPEG start decoded", Noise({0xFF, 0xD8, 0xFF}), false, 4, 4, 0, kept},
        {"noise after a GIF start decoded", Noise({'G', 'I', 'F', '8', '9', 'a'}), false, 4, 4, 0, kept},
        {"noise after a BMP start decoded", Noise({'B', 'M'}), false, 4, 4, 0, kept},
        {"BMP claiming 65535 x 65535 allocated", hugeBmp, false, 4, 4, 0, kept},
        {"JPEG wider than 32767 not shown at half size", fixtures::EncodeJpeg(Quarters(40000, 16)), true, 20000, 8, 0, {}},
    };
    // clang-format on
    for (const auto& [fault, bytes, loads, width, height, tolerance, probes] : cases) {
        CDib dib;
        ASSERT_TRUE(dib.Create(4, 4, DIB_24BPP, 0x00FF0000));
        ASSERT_EQ(dib.LoadFromMemory(bytes.data(), std::uint32_t(bytes.size())), loads) << fault;
        ASSERT_EQ(dib.GetWidth() * 1000 + dib.GetHeight(), width * 1000 + height) << fault;
        for (const auto& [x, y, rgb] : probes) {
            const QColor got(dib.GetPixel(int(x), int(y))), want(rgb);
            for (const auto channel : {&QColor::red, &QColor::green, &QColor::blue})
                EXPECT_NEAR((got.*channel)(), (want.*channel)(), tolerance)
                    << fault << " at " << x << "," << y;
        }
    }
    CDib dib;
    const std::uint8_t none = 0;
    EXPECT_FALSE(dib.LoadFromMemory(&none, 0));
    EXPECT_FALSE(dib.LoadFromMemory(nullptr, 10));
}

// BMPs as ImageMagick writes them (24-bit, which is copied row by row, and 8-bit through
// Qt's reader) and the 24-bit rows stored top down; whole and cut short. Whole, every pixel
// is what Qt's reader reads. Cut short, the rows the file holds are the whole picture's rows
// and the rest are white, never memory nobody wrote.
TEST(Decode, BmpRowsAreQtsAndTheRowsACutFileLacksAreWhite) {
    const QImage page = fixtures::ScanLikePage(61, 40, 9);
    const Bytes bottomUp = fixtures::EncodeBmp(page),
                palette = fixtures::EncodeWithImageMagick(page, "BMP3", {"-type", "Palette", "-compress", "None"});
    ASSERT_GT(bottomUp.size(), 54u);
    ASSERT_TRUE(palette[28] == 8 && palette[30] == 0) << "ImageMagick wrote no uncompressed 8-bit BMP";
    const auto offsetOf = [](const Bytes& bmp) { return std::size_t(bmp[10] | bmp[11] << 8); };
    const std::size_t stride24 = (61 * 3 + 3) / 4 * 4;
    Bytes topDown = bottomUp;
    topDown[22] = 0xD8, topDown[23] = topDown[24] = topDown[25] = 0xFF; // height -40
    for (int row = 0; row < 40; ++row)
        std::copy_n(bottomUp.begin() + long(offsetOf(bottomUp) + stride24 * std::size_t(39 - row)), stride24,
                    topDown.begin() + long(offsetOf(bottomUp) + stride24 * std::size_t(row)));
    const std::tuple<const char*, Bytes, std::size_t, bool> kinds[] = {
        {"24-bit bottom up", bottomUp, stride24, false},
        {"24-bit top down", topDown, stride24, true},
        {"8-bit through Qt", palette, 64, false},
    };
    for (const auto& [name, whole, stride, fromTop] : kinds) {
        const QImage qt = QImage::fromData(whole.data(), int(whole.size()), "BMP").convertToFormat(QImage::Format_RGB32);
        CDib full;
        ASSERT_TRUE(full.LoadFromMemory(whole.data(), std::uint32_t(whole.size()))) << name;
        for (int y = 0; y < 40; ++y)
            for (int x = 0; x < 61; ++x)
                ASSERT_EQ(full.GetPixel(x, y), qt.pixel(x, y) & 0xFFFFFF) << name << " at " << x << "," << y;
        const std::size_t offset = offsetOf(whole);
        for (const std::size_t kept : {offset + 10 * stride + 7, offset + 39 * stride, offset + 5}) {
            const int rows = int((kept - offset) / stride);
            CDib cut;
            ASSERT_TRUE(cut.Create(61, 40, DIB_24BPP, 0x123456));
            ASSERT_TRUE(cut.LoadFromMemory(whole.data(), std::uint32_t(kept))) << name << " cut at " << kept;
            for (int y = 0; y < 40; ++y) {
                const bool present = fromTop ? y < rows : y >= 40 - rows;
                for (int x = 0; x < 61; ++x)
                    ASSERT_EQ(cut.GetPixel(x, y), present ? full.GetPixel(x, y) : 0xFFFFFFu)
                        << name << " cut at " << kept << ", pixel " << x << "," << y;
            }
        }
    }
}

TEST(Decode, FilesLoadByTheirBytesAndEmptyOrMissingFilesFail) {
    QTemporaryDir dir;
    const auto path = [&](const char* name) { return dir.filePath(name).toStdString(); };
    ASSERT_TRUE(fixtures::WriteFile(path("picture.gif"), fixtures::EncodeJpeg(Quarters(16, 16)))); // misnamed
    ASSERT_TRUE(fixtures::WriteFile(path("empty.jpg"), {}));
    CDib dib;
    EXPECT_TRUE(dib.LoadFromFile(path("picture.gif")));
    EXPECT_FALSE(dib.LoadFromFile(path("empty.jpg")));
    EXPECT_FALSE(dib.LoadFromFile(path("missing.jpg")));
    EXPECT_EQ(dib.GetWidth(), 16);
}

// The large sizes are cut into bands across threads, with sides that leave partial blocks;
// each is turned three times, the last ones into spare buffers that held pixels.
TEST(Rotate, EveryPixelLandsWhereTheTurnPutsItAndRowsEndInZeroPadding) {
    std::mt19937 rng(8);
    for (const auto& [w, h] : {std::pair{1, 1}, std::pair{5, 3}, std::pair{130, 67}, std::pair{67, 130},
                               std::pair{701, 397}, std::pair{398, 703}}) {
        CDib page, before;
        CreateRandom(page, w, h, rng);
        before.CopyFrom(page);
        ASSERT_TRUE(RotatePage(&page));
        ASSERT_EQ(page.GetWidth() * 1000 + page.GetHeight(), h * 1000 + w);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                ASSERT_EQ(page.GetPixel(y, w - 1 - x), before.GetPixel(x, y)) << w << "x" << h;
        ASSERT_TRUE(RotatePage(&page) && RotatePage(&page));
        for (int y = 0; y < page.GetHeight(); ++y)
            for (int i = 3 * page.GetWidth(); i < page.GetStride(); ++i)
                ASSERT_EQ(page.GetRowPtr(y)[i], 0) << w << "x" << h << " row " << y;
    }
    CDib page;
    EXPECT_FALSE(RotatePage(&page));
    EXPECT_FALSE(RotatePage(nullptr));
}

// Worked values: the pixels a fitted page writes (the plain scaler leaves column x1 and row
// y1, the smooth one writes row y1), the weights of a half and a quarter step, distance 0;
// refusals (an uncreated source, one too wide for the 16.16 walk) draw nothing. The source
// is `fill`, but for a white column 1 when asked; the destination a white 800 x 600.
TEST(ScalerWorkedValues, EachProbeHoldsTheValueTheRuleGives) {
    constexpr Rects kFit{0, 0, 800, 400, 0, 0, 1000, 500}; // a page fitted into a window
    constexpr Rects kWide{0, 0, 8, 8, 0, 0, 32768, 2};
    using Probe =
        std::tuple<const char*, Scaler, int, int, std::uint32_t, bool, Rects, bool, int, int, std::uint32_t>;
    // clang-format off
    const Probe probes[] = { // fault, scaler, source, white column, rectangles, drawn, probe and its value
        {"plain writes column x1", kPlain, 1000, 500, 0, false, kFit, true, 799, 0, 0xFFFFFF},
        {"plain writes row y1", kPlain, 1000, 500, 0, false, kFit, true, 0, 400, 0xFFFFFF},
        {"plain stops short of x1-1", kPlain, 1000, 500, 0, false, kFit, true, 798, 399, 0},
        {"smooth misses row y1", kSmooth, 1000, 500, 0, false, kFit, true, 798, 400, 0},
        {"smooth writes column x1", kSmooth, 1000, 500, 0, false, kFit, true, 799, 400, 0xFFFFFF},
        {"smooth writes past row y1", kSmooth, 4, 4, 0, false, {0, 0, 8, 8, 0, 0, 4, 4}, true, 0, 9, 0xFFFFFF},
        {"half step not 127", kSmooth, 3, 2, 0, true, {0, 0, 3, 2, 0, 0, 1, 0}, true, 1, 0, 0x7F7F7F},
        {"quarter step not 72", kSmooth, 3, 2, 0, true, {0, 0, 7, 2, 0, 0, 1, 0}, true, 1, 0, 0x484848},
        {"distance 0 not a hit", kSmooth, 3, 2, 0, true, {0, 0, 7, 2, 0, 0, 1, 0}, true, 0, 0, 0},
        {"1-pixel source read past", kSmooth, 1, 1, 0x402010, false, {0, 0, 4, 4, 0, 0, 1, 1}, true, 3, 4, 0x102040},
        {"an uncreated source draws", kPlain, 0, 4, 0, false, {0, 0, 4, 4, 0, 0, 4, 4}, false, 0, 0, 0xFFFFFF},
        {"too wide for the 16.16 walk, scaled", kPlain, 32768, 2, 0, false, kWide, false, 0, 0, 0xFFFFFF},
        {"too wide for the 16.16 walk, smoothed", kSmooth, 32768, 2, 0, false, kWide, false, 0, 0, 0xFFFFFF},
    };
    // clang-format on
    for (const auto& [fault, scale, srcW, srcH, fill, whiteColumn, rects, drawn, x, y, want] : probes) {
        CDib src, dest;
        src.Create(srcW, srcH, DIB_24BPP, fill);
        for (int row = 0; row < srcH && whiteColumn; ++row)
            src.SetPixel(1, row, 0xFFFFFF);
        ASSERT_TRUE(dest.Create(800, 600, DIB_24BPP, 0xFFFFFF));
        ASSERT_EQ(Scale(src, scale, dest, rects), drawn) << fault;
        EXPECT_EQ(dest.GetPixel(x, y), want) << fault;
    }
}

// A two-pixel-wide source walked by a very wide destination: ratio 1/32768 gives stepX 2
// and 1/65536 gives stepX 1, so column 1 samples at dx0 = 2 or 1 with dy0 = 0.
TEST(ScalerWorkedValues, DistanceOneWeighsTwoToThe24WithoutOverflowAndDistanceZeroIsAHit) {
    for (const auto& [columns, want] : {std::pair{32768, 0xC7C7C7u}, std::pair{65536, 0xC8C8C8u}}) {
        CDib src, wide;
        ASSERT_TRUE(src.Create(2, 2, DIB_24BPP, 0) && wide.Create(columns + 3, 2, DIB_24BPP, 0x808080));
        src.SetPixel(0, 0, 0xC8C8C8);
        ASSERT_TRUE(src.SmoothStretchTo(&wide, 0, 0, columns - 1, 1, 0, 0, 0, 0));
        EXPECT_EQ(wide.GetPixel(1, 0), want) << columns;
    }
}

// Every distance a neighbour can lie at (0 .. 65536 in 1/65536 of a pixel) through the
// eight-pixel path, against the one-pixel rule: each sampling point of a row between two
// source pixels, for rows at and between the source rows.
TEST(ScalersMatchReference, EverySmoothDistanceWeighsAsTheOnePixelRuleDoes) {
    constexpr int kPoints = 65536;
    imaging::SmoothColumns columns;
    columns.Plan(0, 1, kPoints, 2);
    std::mt19937 rng(4);
    std::vector<std::uint8_t> got(3 * std::size_t(kPoints) + 16);
    for (const std::uint32_t dy0 : {0u, 1u, 2u, 21845u, 32768u, 65534u, 65535u})
        for (int round = 0; round < 3; ++round) {
            std::uint8_t upper[16] = {}, lower[16] = {}, want[3];
            std::generate_n(upper, 6, [&] { return std::uint8_t(rng()); });
            std::generate_n(lower, 6, [&] { return std::uint8_t(rng()); });
            columns.DrawRow(upper, lower, dy0, got.data());
            for (int x = 0; x < kPoints; ++x) {
                imaging::InterpolatePixel(upper, upper + 3, lower, lower + 3, std::uint32_t(x), dy0, want);
                ASSERT_TRUE(std::equal(want, want + 3, got.begin() + 3 * x)) << "dx0 " << x << " dy0 " << dy0;
            }
        }
}

// Random rectangles, most of the view's shape (corners in order, the destination mostly
// inside), the rest anywhere: outside, inverted, or far beyond what 32 bits hold.
TEST(ScalersMatchReference, OnThousandsOfRandomRectanglesAndOnLargeSurfacesSplitAcrossThreads) {
    using Reference = bool (*)(const CDib&, CDib&, const Rects&);
    const std::tuple<Scaler, Reference, unsigned, int, int> runs[] = {
        // seed, rounds, largest side
        {kPlain, reference::StretchTo, 1, 3000, 60},
        {kPlain, reference::StretchTo, 2, 12, 2500},
        {kSmooth, reference::SmoothStretchTo, 3, 3000, 60},
        {kSmooth, reference::SmoothStretchTo, 4, 12, 2500}};
    for (const auto& [scale, reference, seed, rounds, maxSide] : runs) {
        std::mt19937 rng(seed);
        std::uniform_int_distribution<int> side(1, maxSide), pick(0, 9);
        for (int round = 0; round < rounds; ++round) {
            const int srcW = side(rng), srcH = side(rng), dstW = side(rng), dstH = side(rng);
            Rects r;
            for (std::size_t i = 0; i < 8; ++i) {
                const int size = i < 4 ? (i % 2 ? dstH : dstW) : (i % 2 ? srcH : srcW),
                          kind = std::min(pick(rng), 4);
                const int low[] = {-100000, -2000000000, 0, size, -size / 2 - 2};
                const int high[] = {100000, 2000000000, 0, size, size + size / 2 + 2};
                r[i] = std::uniform_int_distribution<int>(low[kind], high[kind])(rng);
            }
            if (pick(rng) < 6) {
                r[0] = std::uniform_int_distribution<int>(-3, dstW / 2)(rng);
                r[1] = std::uniform_int_distribution<int>(-3, dstH / 2)(rng);
                r[2] = r[0] + side(rng);
                r[3] = r[1] + side(rng);
                std::copy_n(std::array{0, 0, srcW, srcH}.begin(), 4, r.begin() + 4);
            }
            CDib src, got, want;
            CreateRandom(src, srcW, srcH, rng);
            CreateRandom(got, dstW, dstH, rng);
            want.CopyFrom(got);
            const std::string where = "seed " + std::to_string(seed) + " round " + std::to_string(round);
            ASSERT_EQ(Scale(src, scale, got, r), reference(src, want, r)) << where;
            ASSERT_EQ(FirstDifference(got, want), "") << where;
        }
    }
}

// Whole surfaces (the tall ones split across threads) and an area: each row once, in order,
// against the height (the smooth scaler: destination rows up to y1, against y1 - y0), on
// the calling thread. The row bands cover every row, and a small job is not split.
TEST(Progress, ScalerAndSharpenReportEachRowInOrderOnTheCallingThread) {
    const auto sharpen = [](CDib& dib) { return dib.Sharpen(); };
    const auto smooth = [](CDib& dib) {
        CDib dest;
        return dest.Create(800, 600, DIB_24BPP, 0) &&
               dib.SmoothStretchTo(&dest, 0, 0, 800, 400, 0, 0, 1000, 500);
    };
    // The job, the surface's size, the first and the end row reported, the total given.
    const std::tuple<const char*, int, int, std::function<bool(CDib&)>, int, int, int> cases[] = {
        {"smooth scale", 1000, 500, smooth, 0, 401, 400},
        {"sharpen of a low surface", 600, 5, sharpen, 1, 4, 5},
        {"sharpen across threads", 600, 700, sharpen, 1, 699, 700},
        {"sharpen of an area", 600, 700, [](CDib& d) { return d.SharpenArea(100, 50, 500, 650); }, 50, 650,
         700},
    };
    using Calls = std::vector<std::array<int, 2>>;
    static const std::thread::id caller = std::this_thread::get_id();
    for (const auto& [what, width, height, work, first, end, total] : cases) {
        CDib dib;
        Calls calls;
        ASSERT_TRUE(dib.Create(width, height, DIB_24BPP, 0xFFFFFF));
        dib.SetProgress(
            [](int done, int total, void* to) {
                static_cast<Calls*>(to)->push_back({done, std::this_thread::get_id() == caller ? total : -1});
            },
            &calls);
        ASSERT_TRUE(work(dib)) << what;
        ASSERT_EQ(calls.size(), std::size_t(end - first)) << what;
        for (int y = first; y < end; ++y)
            ASSERT_EQ(calls[std::size_t(y - first)], (std::array{y, total}))
                << what << " (-1: on another thread)";
    }
    for (const auto& [rows, cost] :
         {std::pair{1, 1LL << 30}, std::pair{7, 1LL << 30}, std::pair{3507, 1LL << 23}}) {
        const std::vector<int> bounds = imaging::PlanBands(rows, cost);
        EXPECT_TRUE(bounds.size() >= 2 && bounds.front() == 0 && bounds.back() == rows &&
                    std::adjacent_find(bounds.begin(), bounds.end(), std::greater_equal<>()) == bounds.end())
            << rows << " rows: a row in no band, or an empty band";
    }
    EXPECT_EQ(imaging::PlanBands(500, 100).size(), 2u) << "a small job split";
}

// The centre channel of a 3 x 3 grey surface after sharpening.
int SharpenCentre(int centre, std::array<int, 8> neighbours) {
    CDib dib;
    EXPECT_TRUE(dib.Create(3, 3, DIB_24BPP, 0));
    for (int i = 0; i < 9; ++i)
        dib.SetPixel(i % 3, i / 3,
                     0x010101u * std::uint32_t(i == 4 ? centre : neighbours[std::size_t(i - (i > 4))]));
    EXPECT_TRUE(dib.Sharpen());
    return int(dib.GetPixel(1, 1) & 0xFF);
}

// Worked values; surfaces too narrow, too low or not created are refused.
TEST(SharpenWorkedValues, ClampsWeighsAndExactly49UniformLevelsComeOutOneLower) {
    EXPECT_EQ(SharpenCentre(100, {}), 255) << "a lone bright pixel does not saturate";
    EXPECT_EQ(SharpenCentre(100, {200, 200, 200, 200, 200, 200, 200, 200}), 0)
        << "a dark one not clamped to 0";
    EXPECT_EQ(SharpenCentre(100, {200, 100, 100, 100, 100, 100, 100, 100}), 80)
        << "one neighbour weighs wrong";
    const std::set<int> lower = {7,   14,  19,  21,  28,  33,  38,  42,  47,  51,  56,  61,  66,
                                 71,  76,  84,  89,  94,  102, 107, 112, 117, 122, 127, 132, 137,
                                 142, 147, 152, 157, 163, 168, 173, 178, 183, 188, 193, 199, 204,
                                 209, 214, 219, 224, 229, 234, 239, 244, 249, 254};
    ASSERT_EQ(lower.size(), 49u);
    for (int v = 0; v <= 255; ++v)
        ASSERT_EQ(SharpenCentre(v, {v, v, v, v, v, v, v, v}), lower.count(v) ? v - 1 : v) << "level " << v;
    for (const auto& [w, h] : {std::pair{2, 10}, std::pair{10, 2}, std::pair{0, 0}}) {
        CDib dib;
        dib.Create(w, h, DIB_24BPP, 0);
        EXPECT_FALSE(dib.Sharpen()) << w << "x" << h;
    }
}

// Random and nearly flat surfaces (where whole-number values and the rounding matter), then
// a random area of each: inside it the whole-surface sharpen, every other pixel and the
// padding after each row as they were. An inverted area changes nothing.
TEST(SharpenMatchesReference, OnRandomAndNearlyFlatSurfacesAndAreasOfThem) {
    std::mt19937 rng(21);
    std::uniform_int_distribution<int> side(3, 90), big(300, 1400), coin(0, 2), base(0, 255), jitter(-2, 2);
    for (int round = 0; round < 400; ++round) {
        const bool large = round % 50 == 0, flat = coin(rng) == 0;
        const int w = large ? big(rng) : side(rng), h = large ? big(rng) : side(rng), level = base(rng);
        CDib got, want, area, before;
        ASSERT_TRUE(got.Create(w, h, DIB_24BPP, 0));
        for (int y = 0; y < h; ++y) {
            std::uint8_t* row = got.GetRowPtr(y);
            for (int i = 0; i < 3 * w; ++i)
                row[i] = std::uint8_t(flat ? std::clamp(level + jitter(rng), 0, 255) : int(rng() & 0xFF));
            std::fill(row + 3 * w, row + got.GetStride(), 0x5A);
        }
        want.CopyFrom(got);
        area.CopyFrom(got);
        before.CopyFrom(got);
        ASSERT_TRUE(got.Sharpen());
        ASSERT_TRUE(reference::Sharpen(want));
        ASSERT_EQ(FirstDifference(got, want), "") << w << "x" << h;
        for (int y = 0; y < h; ++y)
            ASSERT_EQ(std::count(got.GetRowPtr(y) + 3 * w, got.GetRowPtr(y) + got.GetStride(), 0x5A),
                      got.GetStride() - 3 * w)
                << "padding written, row " << y;
        std::uniform_int_distribution<int> xs(-3, w + 3), ys(-3, h + 3);
        auto [left, right] = std::minmax({xs(rng), xs(rng)});
        auto [top, bottom] = std::minmax({ys(rng), ys(rng)});
        if (round % 4 == 0)
            std::swap(left, right);
        ASSERT_TRUE(area.SharpenArea(left, top, right, bottom));
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                const bool inside = x >= left && x < right && y >= top && y < bottom;
                ASSERT_EQ(area.GetPixel(x, y), (inside ? want : before).GetPixel(x, y))
                    << w << "x" << h << " area " << left << "," << top << " - " << right << "," << bottom
                    << " pixel " << x << "," << y;
            }
    }
}

} // namespace
