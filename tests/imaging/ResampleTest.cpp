#include "Reference.h"
#include "Surfaces.h"
#include "imaging/SmoothRow.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace {

using Calls = std::vector<std::pair<int, int>>;
void Record(int done, int total, void* param)
{
    static_cast<Calls*>(param)->emplace_back(done, total);
}

// A source whose pixel (x, y) encodes its own column and row, so the copied pixel names
// the source position it came from.
void NumberPixels(CDib& src)
{
    for (int y = 0; y < src.GetHeight(); ++y)
        for (int x = 0; x < src.GetWidth(); ++x)
            src.SetPixel(x, y, static_cast<std::uint32_t>((x << 12) | y));
}

std::vector<int> SourceColumnsOfRow(const CDib& dest, int y, int count)
{
    std::vector<int> cols;
    for (int x = 0; x < count; ++x)
        cols.push_back(static_cast<int>(dest.GetPixel(x, y) >> 12));
    return cols;
}

TEST(StretchWorkedValues, FourByFourIntoFiveByFiveTakesColumnsZeroZeroOneTwo)
{
    CDib src, dest;
    ASSERT_TRUE(src.Create(4, 4, DIB_24BPP, 0));
    NumberPixels(src);
    ASSERT_TRUE(dest.Create(10, 10, DIB_24BPP, 0xFFFFFF));
    ASSERT_TRUE(src.StretchTo(&dest, 0, 0, 4, 4, 0, 0, 4, 4));
    EXPECT_EQ(SourceColumnsOfRow(dest, 0, 4), (std::vector<int>{0, 0, 1, 2}));
    for (int y = 0; y < 4; ++y)
        EXPECT_EQ(static_cast<int>(dest.GetPixel(0, y) & 0xFFF), (std::vector<int>{0, 0, 1, 2})[y]);
    EXPECT_EQ(dest.GetPixel(4, 0), 0xFFFFFFu); // column x1 is not written
    EXPECT_EQ(dest.GetPixel(0, 4), 0xFFFFFFu); // nor row y1
}

TEST(StretchWorkedValues, EnlargingAndReducingPickTheStatedColumns)
{
    CDib small, big, dest;
    ASSERT_TRUE(small.Create(4, 4, DIB_24BPP, 0));
    NumberPixels(small);
    ASSERT_TRUE(dest.Create(10, 10, DIB_24BPP, 0xFFFFFF));
    ASSERT_TRUE(small.StretchTo(&dest, 0, 0, 8, 8, 0, 0, 4, 4));
    EXPECT_EQ(SourceColumnsOfRow(dest, 0, 8), (std::vector<int>{0, 0, 0, 1, 1, 2, 2, 3}));
    ASSERT_TRUE(big.Create(8, 8, DIB_24BPP, 0));
    NumberPixels(big);
    ASSERT_TRUE(dest.Create(10, 10, DIB_24BPP, 0xFFFFFF));
    ASSERT_TRUE(big.StretchTo(&dest, 0, 0, 4, 4, 0, 0, 8, 8));
    EXPECT_EQ(SourceColumnsOfRow(dest, 0, 4), (std::vector<int>{0, 1, 3, 4}));
}

TEST(StretchWorkedValues, PageFittedIntoWindowWritesUpToColumn798AndRow399)
{
    CDib src, dest;
    ASSERT_TRUE(src.Create(1000, 500, DIB_24BPP, 0));
    NumberPixels(src);
    ASSERT_TRUE(dest.Create(800, 600, DIB_24BPP, 0xFFFFFF));
    ASSERT_TRUE(src.StretchTo(&dest, 0, 0, 800, 400, 0, 0, 1000, 500));
    EXPECT_EQ(dest.GetPixel(798, 399) >> 12, 996u);
    EXPECT_EQ(dest.GetPixel(798, 399) & 0xFFF, 497u);
    EXPECT_EQ(dest.GetPixel(799, 0), 0xFFFFFFu);
    EXPECT_EQ(dest.GetPixel(0, 400), 0xFFFFFFu);
    // stepX 81838: column 1 reads source column 1, column 4 reads 81838 * 4 >> 16 = 4
    EXPECT_EQ(dest.GetPixel(400, 0) >> 12, static_cast<std::uint32_t>((400LL * 81838) >> 16));
    EXPECT_EQ(dest.GetPixel(0, 300) & 0xFFF, static_cast<std::uint32_t>((300LL * 81715) >> 16));
}

TEST(SmoothWorkedValues, PageFittedIntoWindowWritesRow400ButNotColumn799)
{
    CDib src, dest;
    ASSERT_TRUE(src.Create(1000, 500, DIB_24BPP, 0));
    ASSERT_TRUE(dest.Create(800, 600, DIB_24BPP, 0xFFFFFF));
    Calls calls;
    src.SetProgress(Record, &calls);
    ASSERT_TRUE(src.SmoothStretchTo(&dest, 0, 0, 800, 400, 0, 0, 1000, 500));
    EXPECT_EQ(dest.GetPixel(798, 400), 0u);
    EXPECT_EQ(dest.GetPixel(799, 400), 0xFFFFFFu);
    EXPECT_EQ(dest.GetPixel(0, 401), 0xFFFFFFu);
    ASSERT_EQ(calls.size(), 401u);
    for (int k = 0; k <= 400; ++k)
        ASSERT_EQ(calls[static_cast<std::size_t>(k)], std::make_pair(k, 400));
}

TEST(SmoothWorkedValues, FourByFourIntoNineRowsWritesRowsZeroToEight)
{
    CDib src, dest;
    ASSERT_TRUE(src.Create(4, 4, DIB_24BPP, 0));
    ASSERT_TRUE(dest.Create(10, 10, DIB_24BPP, 0xFFFFFF));
    ASSERT_TRUE(src.SmoothStretchTo(&dest, 0, 0, 8, 8, 0, 0, 4, 4));
    EXPECT_EQ(dest.GetPixel(0, 8), 0u);
    EXPECT_EQ(dest.GetPixel(7, 8), 0u);
    EXPECT_EQ(dest.GetPixel(8, 0), 0xFFFFFFu);
    EXPECT_EQ(dest.GetPixel(0, 9), 0xFFFFFFu);
}

TEST(SmoothWorkedValues, HalfwayBetweenBlackAndWhiteGives127AndAQuarterGives72)
{
    CDib src, dest;
    ASSERT_TRUE(src.Create(3, 2, DIB_24BPP, 0));
    src.SetPixel(1, 0, 0xFFFFFF);
    src.SetPixel(1, 1, 0xFFFFFF);
    ASSERT_TRUE(dest.Create(8, 4, DIB_24BPP, 0x808080));
    // Ratio 1/2: samples at 0, 0.5, 1, 1.5 ... of the source row.
    ASSERT_TRUE(src.SmoothStretchTo(&dest, 0, 0, 3, 2, 0, 0, 1, 0));
    EXPECT_EQ(dest.GetPixel(1, 0), 0x7F7F7Fu);
    ASSERT_TRUE(dest.Create(8, 4, DIB_24BPP, 0x808080));
    // Ratio 1/4: the second sample is a quarter of the way from black to white.
    ASSERT_TRUE(src.SmoothStretchTo(&dest, 0, 0, 7, 2, 0, 0, 1, 0));
    EXPECT_EQ(dest.GetPixel(1, 0), 0x484848u); // 72
    EXPECT_EQ(dest.GetPixel(0, 0), 0u);        // distance 0: exactly A0
}

// A two-pixel-wide source walked by a very wide destination: ratio 1/32768 gives stepX 2
// and 1/65536 gives stepX 1, so column 1 samples at dx0 = 2 or 1 with dy0 = 0.
std::uint32_t SampleAtTinyDistance(int destColumns)
{
    CDib src, wide;
    EXPECT_TRUE(src.Create(2, 2, DIB_24BPP, 0));
    src.SetPixel(0, 0, 0xC8C8C8); // A0 = 200, the others 0
    EXPECT_TRUE(wide.Create(destColumns + 3, 2, DIB_24BPP, 0x808080));
    EXPECT_TRUE(src.SmoothStretchTo(&wide, 0, 0, destColumns - 1, 1, 0, 0, 0, 0));
    return wide.GetPixel(1, 0);
}

TEST(SmoothWorkedValues, DistanceOneWeighsTwoToThe24WithoutOverflowAndDistanceZeroIsAHit)
{
    EXPECT_EQ(SampleAtTinyDistance(32768), 0xC7C7C7u); // 199
    EXPECT_EQ(SampleAtTinyDistance(65536), 0xC8C8C8u); // exactly A0
}

// Every distance a neighbour can lie at (0 .. 65536 in 1/65536 of a pixel) through the
// eight-pixel path, against the one-pixel rule: each sampling point of a row between two
// source pixels, for rows at and between the source rows.
TEST(SmoothMatchesReference, EveryDistanceWeighsAsTheOnePixelRuleDoes)
{
    constexpr int kPoints = 65536;
    imaging::SmoothColumns columns;
    columns.Plan(0, 1, kPoints, 2);
    std::mt19937 rng(4);
    std::uniform_int_distribution<int> byte(0, 255);
    std::vector<std::uint8_t> got(3 * static_cast<std::size_t>(kPoints) + 16);
    for (const std::uint32_t dy0 : {0u, 1u, 2u, 21845u, 32768u, 65534u, 65535u}) {
        for (int round = 0; round < 3; ++round) {
            std::uint8_t upper[16] = {}, lower[16] = {};
            for (int i = 0; i < 6; ++i) {
                upper[i] = static_cast<std::uint8_t>(byte(rng));
                lower[i] = static_cast<std::uint8_t>(byte(rng));
            }
            columns.DrawRow(upper, lower, dy0, got.data());
            for (int x = 0; x < kPoints; ++x) {
                std::uint8_t want[3];
                imaging::InterpolatePixel(upper, upper + 3, lower, lower + 3, static_cast<std::uint32_t>(x), dy0, want);
                ASSERT_EQ(std::vector<std::uint8_t>(want, want + 3),
                          std::vector<std::uint8_t>(got.begin() + 3 * x, got.begin() + 3 * x + 3))
                    << "dx0 " << x << " dy0 " << dy0;
            }
        }
    }
}

struct Case {
    int srcW, srcH, dstW, dstH;
    int d[4], s[4];
};

Case RandomCase(std::mt19937& rng, int maxSide)
{
    std::uniform_int_distribution<int> side(1, maxSide);
    Case c{side(rng), side(rng), side(rng), side(rng), {}, {}};
    std::uniform_int_distribution<int> pick(0, 9);
    auto coord = [&](int size) {
        switch (pick(rng)) {
        case 0: return std::uniform_int_distribution<int>(-100000, 100000)(rng);
        case 1: return std::uniform_int_distribution<int>(-2000000000, 2000000000)(rng);
        case 2: return 0;
        case 3: return size;
        default: return std::uniform_int_distribution<int>(-size / 2 - 2, size + size / 2 + 2)(rng);
        }
    };
    for (int i = 0; i < 4; ++i) {
        c.d[i] = coord(i % 2 ? c.dstH : c.dstW);
        c.s[i] = coord(i % 2 ? c.srcH : c.srcW);
    }
    // Most cases keep the view's shape: corners in order, the destination mostly inside.
    if (pick(rng) < 6) {
        c.d[0] = std::uniform_int_distribution<int>(-3, c.dstW / 2)(rng);
        c.d[1] = std::uniform_int_distribution<int>(-3, c.dstH / 2)(rng);
        c.d[2] = c.d[0] + side(rng);
        c.d[3] = c.d[1] + side(rng);
        c.s[0] = 0;
        c.s[1] = 0;
        c.s[2] = c.srcW;
        c.s[3] = c.srcH;
    }
    return c;
}

std::string Describe(const Case& c)
{
    char text[200];
    std::snprintf(text, sizeof text, "src %dx%d dst %dx%d d(%d,%d,%d,%d) s(%d,%d,%d,%d)", c.srcW, c.srcH, c.dstW,
                  c.dstH, c.d[0], c.d[1], c.d[2], c.d[3], c.s[0], c.s[1], c.s[2], c.s[3]);
    return text;
}

template <typename Kernel, typename Ref>
void CompareOnRandomCases(Kernel kernel, Ref ref, unsigned seed, int rounds, int maxSide)
{
    std::mt19937 rng(seed);
    for (int round = 0; round < rounds; ++round) {
        const Case c = RandomCase(rng, maxSide);
        CDib src, got, want;
        ASSERT_TRUE(src.Create(c.srcW, c.srcH, DIB_24BPP, 0));
        surfaces::FillRandom(src, rng);
        ASSERT_TRUE(got.Create(c.dstW, c.dstH, DIB_24BPP, 0xFFFFFF));
        surfaces::FillRandom(got, rng);
        want.CopyFrom(got);
        const bool gotResult = (src.*kernel)(&got, c.d[0], c.d[1], c.d[2], c.d[3], c.s[0], c.s[1], c.s[2], c.s[3]);
        const bool wantResult = ref(src, want, c.d[0], c.d[1], c.d[2], c.d[3], c.s[0], c.s[1], c.s[2], c.s[3]);
        ASSERT_EQ(gotResult, wantResult) << Describe(c);
        ASSERT_EQ(surfaces::FirstDifference(got, want), "") << Describe(c);
    }
}

TEST(StretchMatchesReference, OnThousandsOfRandomRectanglesIncludingOutsideAndInverted)
{
    CompareOnRandomCases(&CDib::StretchTo, reference::StretchTo, 1, 3000, 60);
}

TEST(StretchMatchesReference, OnLargeSurfaces)
{
    CompareOnRandomCases(&CDib::StretchTo, reference::StretchTo, 2, 12, 2500);
}

TEST(SmoothMatchesReference, OnThousandsOfRandomRectanglesIncludingOutsideAndInverted)
{
    CompareOnRandomCases(&CDib::SmoothStretchTo, reference::SmoothStretchTo, 3, 3000, 60);
}

TEST(SmoothMatchesReference, OnLargeSurfacesSplitAcrossThreads)
{
    CompareOnRandomCases(&CDib::SmoothStretchTo, reference::SmoothStretchTo, 4, 12, 2500);
}

TEST(SmoothMatchesReference, WhenEveryPointIsAnExactHit)
{
    CDib src, got, want;
    std::mt19937 rng(9);
    ASSERT_TRUE(src.Create(64, 64, DIB_24BPP, 0));
    surfaces::FillRandom(src, rng);
    ASSERT_TRUE(got.Create(40, 40, DIB_24BPP, 0xFFFFFF));
    want.CopyFrom(got);
    ASSERT_TRUE(src.SmoothStretchTo(&got, 0, 0, 31, 31, 0, 0, 63, 63)); // ratio exactly 2
    ASSERT_TRUE(reference::SmoothStretchTo(src, want, 0, 0, 31, 31, 0, 0, 63, 63));
    EXPECT_EQ(surfaces::FirstDifference(got, want), "");
}

TEST(ScalerRefusals, UncreatedSurfacesAndRectanglesOutsideDrawNothing)
{
    CDib src, dest, empty;
    ASSERT_TRUE(src.Create(4, 4, DIB_24BPP, 0));
    ASSERT_TRUE(dest.Create(10, 10, DIB_24BPP, 0xFFFFFF));
    EXPECT_FALSE(empty.StretchTo(&dest, 0, 0, 4, 4, 0, 0, 4, 4));
    EXPECT_FALSE(src.SmoothStretchTo(&empty, 0, 0, 4, 4, 0, 0, 4, 4));
    EXPECT_FALSE(src.StretchTo(&dest, 10, 0, 20, 4, 0, 0, 4, 4));       // beyond the right edge
    EXPECT_FALSE(src.SmoothStretchTo(&dest, -9, 0, -1, 4, 0, 0, 4, 4)); // before the left edge
    EXPECT_FALSE(src.StretchTo(&dest, 0, 12, 4, 30, 0, 0, 4, 4));       // below the bottom
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 10; ++x)
            ASSERT_EQ(dest.GetPixel(x, y), 0xFFFFFFu);
}

TEST(ScalerRefusals, SourcesWiderThanThe16Point16WalkAreRefused)
{
    CDib src, dest;
    ASSERT_TRUE(src.Create(32768, 2, DIB_24BPP, 0));
    ASSERT_TRUE(dest.Create(10, 10, DIB_24BPP, 0xFFFFFF));
    EXPECT_FALSE(src.StretchTo(&dest, 0, 0, 8, 8, 0, 0, 32768, 2));
    EXPECT_FALSE(src.SmoothStretchTo(&dest, 0, 0, 8, 8, 0, 0, 32768, 2));
    EXPECT_EQ(dest.GetPixel(0, 0), 0xFFFFFFu);
}

TEST(ScalerEdges, OnePixelSourceReadsItsOnlyPixelForMissingNeighbours)
{
    CDib src, dest;
    ASSERT_TRUE(src.Create(1, 1, DIB_24BPP, 0x00402010));
    ASSERT_TRUE(dest.Create(6, 6, DIB_24BPP, 0xFFFFFF));
    ASSERT_TRUE(src.SmoothStretchTo(&dest, 0, 0, 4, 4, 0, 0, 1, 1));
    for (int y = 0; y <= 4; ++y)
        for (int x = 0; x < 4; ++x)
            ASSERT_EQ(dest.GetPixel(x, y), 0x102040u) << x << "," << y;
}

} // namespace
