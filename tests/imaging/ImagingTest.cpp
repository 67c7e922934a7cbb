// The surface (layout, copies, decoding, rotation) and its kernels: both scalers and the
// sharpen, checked byte for byte against the plain reference on thousands of random cases and
// on the few cases random ones never reach; and the streamed turn (the banded decode on a
// worker, the scale and sharpen following it) against the same steps run one after the other.
#include "ArchiveFixtures.h"
#include "ImageFixtures.h"
#include "Reference.h"
#include "imaging/PageStream.h"
#include "imaging/Sharpen.h"
#include "imaging/SmoothScale.h"

#include <gtest/gtest.h>

#include <QColor>
#include <QTemporaryDir>
#include <algorithm>
#include <array>
#include <functional>
#include <optional>
#include <random>
#include <thread>
#include <tuple>

namespace {

using fixtures::Bytes;
using fixtures::EncodeJpeg;
using fixtures::EncodeWithImageMagick;
using fixtures::ScanLikePage;
using reference::Rects;
using Scaler = bool (CDib::*)(CDib*, int, int, int, int, int, int, int, int) const;
const Scaler kPlain = &CDib::StretchTo, kSmooth = &CDib::SmoothStretchTo;

bool Scale(const CDib& src, Scaler scale, CDib& dest, const Rects& r) {
    return (src.*scale)(&dest, r[0], r[1], r[2], r[3], r[4], r[5], r[6], r[7]);
}

// Creates the surface with every pixel byte from the generator (padding is left zero).
void CreateRandom(CDib& dib, int width, int height, std::mt19937& rng) {
    if (!dib.Create(width, height, DIB_24BPP, 0))
        return; // a source of no pixels stays not created
    for (int y = 0; y < dib.GetHeight(); ++y)
        std::generate_n(dib.GetRowPtr(y), 3 * dib.GetWidth(), [&] { return std::uint8_t(rng()); });
}

// The first pixel where the two surfaces differ, or "" when they are equal.
std::string FirstDifference(const CDib& a, const CDib& b) {
    if (a.IsCreated() != b.IsCreated() || a.GetWidth() != b.GetWidth() || a.GetHeight() != b.GetHeight())
        return "sizes differ";
    for (int y = 0; a.IsCreated() && y < a.GetHeight(); ++y)
        for (int x = 0; x < a.GetWidth(); ++x)
            if (a.GetPixel(x, y) != b.GetPixel(x, y))
                return "pixel (" + std::to_string(x) + ", " + std::to_string(y) + ")";
    return "";
}

// Rows of four-byte strides, stored bottom up, blue first, padding zero; rows outside are null.
// A refused size leaves nothing created, however large; a new size fills every pixel again; a
// copy is deep; nothing is copied from or to a surface not created.
TEST(Dib, RowsAreBottomUpBlueFirstPaddedBadSizesAreRefusedAndCopiesAreDeep) {
    for (const auto& [width, stride] :
         {std::pair{1, 4}, std::pair{3, 12}, std::pair{4, 12}, std::pair{5, 16}}) {
        CDib dib;
        ASSERT_TRUE(dib.Create(width, 3, DIB_24BPP, 0x00332211)); // red 0x11, green 0x22, blue 0x33
        EXPECT_EQ(dib.GetStride(), stride) << width;
        EXPECT_EQ(dib.GetRowPtr(0) - dib.GetRowPtr(2), 2 * stride) << "rows not bottom up";
        Bytes lastPixelAndPadding{0x33, 0x22, 0x11};
        lastPixelAndPadding.resize(std::size_t(3 + stride - 3 * width), 0);
        EXPECT_EQ(Bytes(dib.GetRowPtr(1) + 3 * width - 3, dib.GetRowPtr(1) + stride), lastPixelAndPadding);
        EXPECT_TRUE(dib.GetRowPtr(-1) == nullptr && dib.GetRowPtr(3) == nullptr)
            << "a row outside not refused";
    }
    for (const auto& [w, h, format] : {std::array{0, 5, 3}, std::array{5, 0, 3}, std::array{-3, 5, 3},
                                       std::array{5, 5, 7}, std::array{1 << 20, 1 << 20, 3}}) {
        CDib dib;
        ASSERT_TRUE(dib.Create(4, 4, DIB_24BPP, 0xFFFFFF));
        EXPECT_FALSE(dib.Create(w, h, format, 0xFFFFFF) || dib.IsCreated() || dib.GetRowPtr(0))
            << w << "x" << h;
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
    EXPECT_FALSE(dib.DrawToDib(&empty, 0, 0) || empty.DrawToDib(&dib, 0, 0) || dib.DrawToDib(nullptr, 0, 0));
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
    // Moved onto itself by a row or a column either way, every row is read before it is overwritten.
    for (const auto& [mx, my] : {std::pair{0, 1}, std::pair{0, -1}, std::pair{1, 0}, std::pair{-1, 0}}) {
        CDib dib, expected;
        CreateRandom(dib, 5, 6, rng);
        expected.CopyFrom(dib);
        for (int y = std::max(0, -my); y < std::min(6, 6 - my); ++y)
            for (int x = std::max(0, -mx); x < std::min(5, 5 - mx); ++x)
                expected.SetPixel(x + mx, y + my, dib.GetPixel(x, y));
        ASSERT_TRUE(dib.BlitToDib(&dib, mx, my, 0, 0, 5, 6));
        EXPECT_EQ(FirstDifference(dib, expected), "") << "moved by " << mx << "," << my;
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

Bytes Noise(Bytes start) {
    Bytes bytes = fixtures::PatternBytes(5000, 4);
    bytes[0] = 0x12; // the start of no picture kind
    std::copy(start.begin(), start.end(), bytes.begin());
    return bytes;
}

// Each picture, from memory and from a file whose name says nothing of its kind, loads onto a
// blue 4 x 4 surface: at its size with its colours at the probed points (within its format's
// tolerance; a truncated JPEG: the top rows that decoded), or it is refused and the surface is
// as it was. Every hostile kind is a row of the hardening tables.
TEST(Decode, EachKindLoadsAtItsSizeWithItsColoursAndBadPicturesLeaveTheSurface) {
    const QImage quarters = Quarters(64, 48);
    Bytes truncated = EncodeJpeg(Quarters(64, 256), 95), hugeBmp = fixtures::EncodeBmp(Quarters(4, 4));
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
        {"baseline JPEG", EncodeJpeg(quarters, 95), true, 64, 48, 12, all},
        {"progressive JPEG", EncodeJpeg(quarters, 90, true), true, 64, 48, 14, all},
        {"truncated JPEG shows nothing", truncated, true, 64, 256, 12, top},
        {"BMP pixels not exact", fixtures::EncodeBmp(quarters), true, 64, 48, 0, all},
        {"GIF palette loses colours", fixtures::EncodeGif(quarters), true, 64, 48, 0, all},
        {"CMYK refused", EncodeWithImageMagick(Quarters(32, 16), "JPEG", {"-colorspace", "CMYK"}), true, 32, 16, 0, {}},
        {"GIF transparency overwrites", GifRedThenTransparent(4), true, 4, 4, 0, sameSize},
        {"GIF of another size keeps old pixels", GifRedThenTransparent(5), true, 5, 4, 0, otherSize},
        {"an empty file decoded", {}, false, 4, 4, 0, kept},
        {"noise decoded", Noise({}), false, 4, 4, 0, kept},
        {"noise after a JPEG start decoded", Noise({0xFF, 0xD8, 0xFF}), false, 4, 4, 0, kept},
        {"noise after a GIF start decoded", Noise({'G', 'I', 'F', '8', '9', 'a'}), false, 4, 4, 0, kept},
        {"noise after a BMP start decoded", Noise({'B', 'M'}), false, 4, 4, 0, kept},
        {"BMP claiming 65535 x 65535 allocated", hugeBmp, false, 4, 4, 0, kept},
        {"JPEG wider than 32767 not shown at half size", EncodeJpeg(Quarters(40000, 16)), true, 20000, 8, 0, {}},
    };
    // clang-format on
    QTemporaryDir dir;
    const std::string file = dir.filePath("page.gif").toStdString();
    for (const auto& [fault, bytes, loads, width, height, tolerance, probes] : cases) {
        ASSERT_TRUE(fixtures::WriteFile(file, bytes));
        for (const bool fromFile : {false, true}) {
            CDib dib;
            ASSERT_TRUE(dib.Create(4, 4, DIB_24BPP, 0x00FF0000));
            const bool loaded = fromFile ? dib.LoadFromFile(file)
                                         : dib.LoadFromMemory(bytes.data(), std::uint32_t(bytes.size()));
            ASSERT_EQ(loaded, loads) << fault << (fromFile ? " (from a file)" : "");
            ASSERT_EQ(dib.GetWidth() * 1000 + dib.GetHeight(), width * 1000 + height) << fault;
            for (const auto& [x, y, rgb] : probes) {
                const QColor got(dib.GetPixel(int(x), int(y))), want(rgb);
                for (const auto channel : {&QColor::red, &QColor::green, &QColor::blue})
                    EXPECT_NEAR((got.*channel)(), (want.*channel)(), tolerance)
                        << fault << " at " << x << "," << y;
            }
        }
    }
    EXPECT_FALSE(CDib().LoadFromFile(dir.filePath("missing.jpg").toStdString()));
    EXPECT_FALSE(CDib().LoadFromMemory(nullptr, 10));
}

// BMPs as ImageMagick writes them (24-bit, which is copied row by row, and 8-bit through
// Qt's reader) and the 24-bit rows stored top down; whole and cut short. Whole, every pixel
// is what Qt's reader reads. Cut short, the rows the file holds are the whole picture's rows
// and the rest are white, never memory nobody wrote.
TEST(Decode, BmpRowsAreQtsAndTheRowsACutFileLacksAreWhite) {
    const QImage page = ScanLikePage(61, 40, 9);
    const Bytes bottomUp = fixtures::EncodeBmp(page),
                palette = EncodeWithImageMagick(page, "BMP3", {"-type", "Palette", "-compress", "None"});
    ASSERT_TRUE(bottomUp.size() > 54 && palette[28] == 8 && palette[30] == 0)
        << "ImageMagick wrote no 8-bit BMP";
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
        const QImage qt =
            QImage::fromData(whole.data(), int(whole.size()), "BMP").convertToFormat(QImage::Format_RGB32);
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
            for (int y = 0; y < 40; ++y)
                for (int x = 0; x < 61; ++x)
                    ASSERT_EQ(cut.GetPixel(x, y),
                              (fromTop ? y < rows : y >= 40 - rows) ? full.GetPixel(x, y) : 0xFFFFFFu)
                        << name << " cut at " << kept << ", pixel " << x << "," << y;
        }
    }
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
    EXPECT_FALSE(RotatePage(&page) || RotatePage(nullptr));
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
    // After the random rounds, what they never reach: sources not created or too wide for the
    // 16.16 walk, and a two-pixel source walked by a very wide destination (ratio 1/32768 gives
    // stepX 2, 1/65536 stepX 1: a neighbour at distance one, weighing 2^24 without overflowing).
    const std::tuple<int, int, int, int, Rects> edges[] = {{0, 4, 8, 8, {0, 0, 4, 4, 0, 0, 4, 4}},
                                                           {32768, 2, 8, 2, {0, 0, 8, 8, 0, 0, 32768, 2}},
                                                           {2, 2, 32771, 2, {0, 0, 32767, 1, 0, 0, 0, 0}},
                                                           {2, 2, 65539, 2, {0, 0, 65535, 1, 0, 0, 0, 0}}};
    for (const auto& [scale, reference, seed, rounds, maxSide] : runs) {
        std::mt19937 rng(seed);
        std::uniform_int_distribution<int> side(1, maxSide), pick(0, 9);
        for (int round = 0; round < rounds + 4; ++round) {
            int srcW = side(rng), srcH = side(rng), dstW = side(rng), dstH = side(rng);
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
            if (round >= rounds)
                std::tie(srcW, srcH, dstW, dstH, r) = edges[std::size_t(round - rounds)];
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

struct ProgressLog {
    std::thread::id caller = std::this_thread::get_id();
    bool offThread = false;
    std::vector<std::pair<int, int>> reports;
};
void Record(int done, int total, void* log) {
    auto* l = static_cast<ProgressLog*>(log);
    l->offThread |= std::this_thread::get_id() != l->caller;
    l->reports.emplace_back(done, total);
}

// Whole surfaces (the tall ones split across threads) and an area: each row once, in order,
// against the height (the smooth scaler: destination rows up to y1, against y1 - y0), on
// the calling thread.
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
    for (const auto& [what, width, height, work, first, end, total] : cases) {
        CDib dib;
        ProgressLog log;
        ASSERT_TRUE(dib.Create(width, height, DIB_24BPP, 0xFFFFFF));
        dib.SetProgress(Record, &log);
        ASSERT_TRUE(work(dib)) << what;
        std::vector<std::pair<int, int>> rows;
        for (int y = first; y < end; ++y)
            rows.emplace_back(y, total);
        EXPECT_EQ(log.reports, rows) << what;
        EXPECT_FALSE(log.offThread) << what;
    }
}

// Random and nearly flat surfaces, and flat ones of every level wide enough for both the
// 32-byte and the byte-by-byte paths (whole-number values and the rounding matter there:
// 49 levels come out one lower), then a random area of each: inside it the whole-surface
// sharpen, every other pixel and the padding after each row as they were. An inverted area
// changes nothing; surfaces too narrow, too low or not created are refused.
TEST(SharpenMatchesReference, OnRandomFlatAndNearlyFlatSurfacesAndAreasOfThem) {
    std::mt19937 rng(21);
    std::uniform_int_distribution<int> side(3, 90), big(300, 1400), coin(0, 2), base(0, 255), jitter(-2, 2);
    for (int round = 0; round < 400 + 256; ++round) {
        const bool large = round % 50 == 0, everyLevel = round >= 400;
        bool flat = coin(rng) == 0;
        int w = large ? big(rng) : side(rng), h = large ? big(rng) : side(rng), level = base(rng);
        if (everyLevel)
            flat = true, w = 40, h = 3, level = round - 400;
        CDib got, want, area, before;
        ASSERT_TRUE(got.Create(w, h, DIB_24BPP, 0));
        for (int y = 0; y < h; ++y) {
            std::uint8_t* row = got.GetRowPtr(y);
            for (int i = 0; i < 3 * w; ++i)
                row[i] = std::uint8_t(flat ? std::clamp(level + (everyLevel ? 0 : jitter(rng)), 0, 255)
                                           : int(rng() & 0xFF));
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
    for (const auto& [w, h] : {std::pair{2, 10}, std::pair{10, 2}, std::pair{0, 0}}) {
        CDib dib;
        dib.Create(w, h, DIB_24BPP, 0);
        EXPECT_FALSE(dib.Sharpen()) << w << "x" << h;
    }
}

Bytes Cut(Bytes bytes, std::size_t keep) {
    bytes.resize(std::min(keep, bytes.size()));
    return bytes;
}

// A run of entropy-coded bytes overwritten halfway into the file.
Bytes Corrupt(Bytes bytes) {
    for (std::size_t i = bytes.size() / 2; i < bytes.size() / 2 + 64 && i + 2 < bytes.size(); ++i)
        bytes[i] = std::uint8_t(i * 37);
    return bytes;
}

// The JPEG with its scan asking for Huffman tables no header defines: the decoder stops with
// an error before its first row, leaving every row as the surface held it.
Bytes WithUndefinedHuffmanTables(Bytes jpeg) {
    const std::uint8_t scan[] = {0xFF, 0xDA};
    const auto at = std::search(jpeg.begin(), jpeg.end(), scan, scan + 2);
    at[6] = 0x33; // the first component's DC and AC table numbers, after FF DA, length, count, id
    return jpeg;
}

// How a page's bytes reach the stream: all there, or read in parts of random sizes that end
// with every byte, with a read error after `at` bytes, or early after `at` bytes (a file
// that shrank while it was read).
struct Delivery {
    enum { Whole, Parts, ErrorAt, EndAt } kind = Whole;
    std::size_t at = 0;
    unsigned seed = 0;
};

// The bytes as the sequential read leaves them: nothing when the read fails.
std::optional<Bytes> SequentialRead(const Bytes& bytes, const Delivery& delivery) {
    if (delivery.kind == Delivery::ErrorAt || (delivery.kind == Delivery::EndAt && delivery.at == 0))
        return std::nullopt;
    return delivery.kind == Delivery::EndAt ? Cut(bytes, delivery.at) : bytes;
}

bool StreamPage(imaging::PageStream& stream, CDib& page, CDib& spare, const Bytes& bytes,
                const Delivery& delivery, const imaging::PlacePage& place) {
    if (delivery.kind == Delivery::Whole)
        return stream.AddPage(page, spare, bytes.data(), std::uint32_t(bytes.size()), place);
    Bytes buffer(bytes.size(), 0xEE);
    std::mt19937 parts(delivery.seed);
    imaging::PageBytes fed{buffer.data(), std::uint32_t(buffer.size()), 0, [&](std::size_t offset, std::size_t room) {
                               const std::size_t end = delivery.kind == Delivery::Parts ? bytes.size() : delivery.at;
                               if (offset == end)
                                   return std::int64_t(delivery.kind == Delivery::ErrorAt ? -1 : 0);
                               const std::size_t part = std::min({room, end - offset, std::size_t(1 + parts() % 30000)});
                               std::copy_n(bytes.begin() + std::ptrdiff_t(offset), part, buffer.begin() + std::ptrdiff_t(offset));
                               return std::int64_t(part);
                           }};
    return stream.AddPage(page, spare, fed, place);
}

// Random compositions of one or two pages of every kind the books hold (JPEGs that end early,
// are damaged, are shown at half size or are left to LoadFromMemory among them), sizes and
// places, sharpen on and off, the bytes all there or read in parts while the worker decodes,
// some reads failing or ending early. The stream (the banded decode on a worker, the scale
// and sharpen following it) against its steps one after the other: read, decode, fill the
// target white, scale each page, sharpen the areas around them. The first page of every kind
// comes twice running, the second time onto the surface that holds the first (rows a failed
// decode never reaches keep it). The targets, the pages and each page's answer are equal, and
// progress reaches the calling thread only, each run of reports counting up from its start.
TEST(PageStream, EqualsTheSequentialCompositionByteForByte) {
    // clang-format off
    const std::vector<Bytes> kinds = {
        EncodeJpeg(ScanLikePage(333, 517, 1)),
        EncodeJpeg(ScanLikePage(301, 203, 2), 90, true),
        EncodeWithImageMagick(ScanLikePage(250, 170, 3), "JPEG", {"-sampling-factor", "1x1"}),
        EncodeWithImageMagick(ScanLikePage(251, 171, 4), "JPEG", {"-sampling-factor", "2x1"}),
        EncodeWithImageMagick(ScanLikePage(199, 301, 5), "JPEG", {"-colorspace", "Gray"}),
        EncodeWithImageMagick(ScanLikePage(120, 90, 6), "JPEG", {"-colorspace", "CMYK"}),
        Cut(EncodeJpeg(ScanLikePage(400, 600, 7)), 9000),
        Cut(EncodeJpeg(ScanLikePage(400, 300, 8), 85, true), 7000),
        Cut(EncodeJpeg(ScanLikePage(64, 64, 9)), 200), // inside the header
        Corrupt(EncodeJpeg(ScanLikePage(300, 400, 10))),
        EncodeJpeg(QImage(40000, 16, QImage::Format_RGB888)),
        fixtures::EncodeGif(ScanLikePage(90, 70, 11)),
        Bytes(500, 0x42),
        // Far more bytes than the first part read: the rest arrives while the worker decodes.
        EncodeJpeg(ScanLikePage(900, 1300, 12), 98),
        EncodeJpeg(ScanLikePage(700, 900, 13), 98, true),
        WithUndefinedHuffmanTables(EncodeJpeg(ScanLikePage(333, 517, 14)))};
    // clang-format on
    const int kindCount = int(kinds.size());
    std::mt19937 rng(20261207);
    const auto uniform = [&rng](int low, int high) {
        return std::uniform_int_distribution<int>(low, high)(rng);
    };
    std::vector<CDib> sequentialPages(2), streamedPages(2), spares(2);
    for (int round = 0; round < 80; ++round) {
        SCOPED_TRACE("round " + std::to_string(round));
        const int width = uniform(3, 700), height = uniform(3, 500), count = uniform(1, 2);
        const bool sharpen = uniform(0, 1) == 1;
        CDib sequential, streamed;
        ASSERT_TRUE(sequential.Create(width, height, DIB_24BPP, 0xFFFFFF));
        ASSERT_TRUE(streamed.Create(width, height, DIB_24BPP, 0x00FF00)); // the stream paints it white itself
        ProgressLog log;
        imaging::PageStream stream(streamed, sharpen, Record, &log);
        std::vector<QRect> drawn;
        for (int i = 0; i < count; ++i) {
            const int left = count == 2 && i == 1 ? width / 2 : 0;
            const QRect to =
                uniform(0, 9) == 0 ? QRect() : QRect(left, 0, uniform(1, width), uniform(1, height + 2));
            const Bytes& bytes = kinds[std::size_t(i == 0 ? round / 2 % kindCount : uniform(0, kindCount - 1))];
            Delivery delivery{Delivery::Whole, 0, unsigned(round)};
            if (const int way = uniform(0, 9); way >= 3)
                delivery.kind = way < 6 ? Delivery::Parts : way < 8 ? Delivery::ErrorAt : Delivery::EndAt;
            delivery.at = std::size_t(uniform(0, int(bytes.size())));
            SCOPED_TRACE("page " + std::to_string(i) + " delivered as " + std::to_string(int(delivery.kind)) +
                         " to " + std::to_string(delivery.at));
            CDib& page = sequentialPages[std::size_t(i)];
            const std::optional<Bytes> read = SequentialRead(bytes, delivery);
            const bool loaded = read && page.LoadFromMemory(read->data(), std::uint32_t(read->size()));
            if (!to.isEmpty())
                page.SmoothStretchTo(&sequential, to.left(), to.top(), to.left() + to.width(),
                                     to.top() + to.height(), 0, 0, page.GetWidth(), page.GetHeight());
            drawn.push_back(to.isEmpty() ? QRect() : imaging::SmoothlyDrawnArea(to));
            const imaging::PagePlacement placement{to, i + 1 == count};
            EXPECT_EQ(StreamPage(stream, streamedPages[std::size_t(i)], spares[std::size_t(i)], bytes, delivery,
                                 [&](int, int) { return placement; }),
                      loaded);
        }
        for (const QRect& area : imaging::SharpenAreas(sharpen ? drawn : std::vector<QRect>{}))
            sequential.SharpenArea(area.left(), area.top(), area.right() + 1, area.bottom() + 1);
        ASSERT_EQ(FirstDifference(sequential, streamed), "");
        for (std::size_t i = 0; i < 2; ++i)
            ASSERT_EQ(FirstDifference(sequentialPages[i], streamedPages[i]), "") << "page " << i;
        EXPECT_FALSE(log.offThread);
        for (std::size_t i = 1; i < log.reports.size(); ++i)
            if (log.reports[i].second == log.reports[i - 1].second && log.reports[i].first != 0) {
                EXPECT_GT(log.reports[i].first, log.reports[i - 1].first) << "report " << i;
            }
    }
}

} // namespace
