#include "Reference.h"
#include "Surfaces.h"
#include "imaging/SmoothRow.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace {

// Worked values that anchor the reference itself to the rules: the pixels a fitted page writes
// (the plain scaler leaves column x1 and row y1, the smooth one writes row y1), the weights of
// a half and a quarter step, and distances of 1 and 0 in 1/65536 of a pixel.
struct Probe {
    const char* fault;
    bool smooth;
    int srcW, srcH, fill; // source all `fill`, but for a white middle column when fill < 0
    int d[4], s[4];
    int x, y;
    std::uint32_t want;
};

TEST(ScalerWorkedValues, EachProbeHoldsTheValueTheRuleGives) {
    const Probe probes[] = {
        {"plain scaler writes its column x1",
         false,
         1000,
         500,
         0,
         {0, 0, 800, 400},
         {0, 0, 1000, 500},
         799,
         0,
         0xFFFFFF},
        {"plain scaler writes its row y1",
         false,
         1000,
         500,
         0,
         {0, 0, 800, 400},
         {0, 0, 1000, 500},
         0,
         400,
         0xFFFFFF},
        {"plain scaler stops short of x1-1",
         false,
         1000,
         500,
         0,
         {0, 0, 800, 400},
         {0, 0, 1000, 500},
         798,
         399,
         0},
        {"smooth scaler misses its row y1",
         true,
         1000,
         500,
         0,
         {0, 0, 800, 400},
         {0, 0, 1000, 500},
         798,
         400,
         0},
        {"smooth scaler writes its column x1",
         true,
         1000,
         500,
         0,
         {0, 0, 800, 400},
         {0, 0, 1000, 500},
         799,
         400,
         0xFFFFFF},
        {"smooth scaler writes past row y1", true, 4, 4, 0, {0, 0, 8, 8}, {0, 0, 4, 4}, 0, 9, 0xFFFFFF},
        {"half step is not 127", true, 3, 2, -1, {0, 0, 3, 2}, {0, 0, 1, 0}, 1, 0, 0x7F7F7F},
        {"quarter step is not 72", true, 3, 2, -1, {0, 0, 7, 2}, {0, 0, 1, 0}, 1, 0, 0x484848},
        {"distance 0 is not an exact hit", true, 3, 2, -1, {0, 0, 7, 2}, {0, 0, 1, 0}, 0, 0, 0},
        {"one pixel source reads beyond itself",
         true,
         1,
         1,
         0x402010,
         {0, 0, 4, 4},
         {0, 0, 1, 1},
         3,
         4,
         0x102040},
    };
    for (const Probe& p : probes) {
        CDib src, dest;
        ASSERT_TRUE(src.Create(p.srcW, p.srcH, DIB_24BPP, p.fill < 0 ? 0 : std::uint32_t(p.fill)));
        if (p.fill < 0)
            for (int y = 0; y < p.srcH; ++y)
                src.SetPixel(1, y, 0xFFFFFF);
        ASSERT_TRUE(dest.Create(800, 600, DIB_24BPP, 0xFFFFFF)); // the fitted page's x1 is clamped to 799
        const auto scale = p.smooth ? &CDib::SmoothStretchTo : &CDib::StretchTo;
        ASSERT_TRUE((src.*scale)(&dest, p.d[0], p.d[1], p.d[2], p.d[3], p.s[0], p.s[1], p.s[2], p.s[3]))
            << p.fault;
        EXPECT_EQ(dest.GetPixel(p.x, p.y), p.want) << p.fault;
    }
}

// A two-pixel-wide source walked by a very wide destination: ratio 1/32768 gives stepX 2
// and 1/65536 gives stepX 1, so column 1 samples at dx0 = 2 or 1 with dy0 = 0.
TEST(ScalerWorkedValues, DistanceOneWeighsTwoToThe24WithoutOverflowAndDistanceZeroIsAHit) {
    for (const auto& [columns, want] : {std::pair{32768, 0xC7C7C7u}, std::pair{65536, 0xC8C8C8u}}) {
        CDib src, wide;
        ASSERT_TRUE(src.Create(2, 2, DIB_24BPP, 0));
        src.SetPixel(0, 0, 0xC8C8C8);
        ASSERT_TRUE(wide.Create(columns + 3, 2, DIB_24BPP, 0x808080));
        ASSERT_TRUE(src.SmoothStretchTo(&wide, 0, 0, columns - 1, 1, 0, 0, 0, 0));
        EXPECT_EQ(wide.GetPixel(1, 0), want) << columns;
    }
}

TEST(ScalerProgress, SmoothScaleReportsEveryRowUpToY1InOrder) {
    CDib src, dest;
    ASSERT_TRUE(src.Create(1000, 500, DIB_24BPP, 0));
    ASSERT_TRUE(dest.Create(800, 600, DIB_24BPP, 0xFFFFFF));
    std::vector<std::pair<int, int>> calls;
    src.SetProgress(
        [](int done, int total, void* param) {
            static_cast<std::vector<std::pair<int, int>>*>(param)->emplace_back(done, total);
        },
        &calls);
    ASSERT_TRUE(src.SmoothStretchTo(&dest, 0, 0, 800, 400, 0, 0, 1000, 500));
    ASSERT_EQ(calls.size(), 401u);
    for (int k = 0; k <= 400; ++k)
        ASSERT_EQ(calls[std::size_t(k)], std::make_pair(k, 400));
}

// Every distance a neighbour can lie at (0 .. 65536 in 1/65536 of a pixel) through the
// eight-pixel path, against the one-pixel rule: each sampling point of a row between two
// source pixels, for rows at and between the source rows.
TEST(SmoothMatchesReference, EveryDistanceWeighsAsTheOnePixelRuleDoes) {
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
                imaging::InterpolatePixel(upper, upper + 3, lower, lower + 3, static_cast<std::uint32_t>(x),
                                          dy0, want);
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

Case RandomCase(std::mt19937& rng, int maxSide) {
    std::uniform_int_distribution<int> side(1, maxSide);
    Case c{side(rng), side(rng), side(rng), side(rng), {}, {}};
    std::uniform_int_distribution<int> pick(0, 9);
    auto coord = [&](int size) {
        switch (pick(rng)) {
        case 0:
            return std::uniform_int_distribution<int>(-100000, 100000)(rng);
        case 1:
            return std::uniform_int_distribution<int>(-2000000000, 2000000000)(rng);
        case 2:
            return 0;
        case 3:
            return size;
        default:
            return std::uniform_int_distribution<int>(-size / 2 - 2, size + size / 2 + 2)(rng);
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

std::string Describe(const Case& c) {
    char text[200];
    std::snprintf(text, sizeof text, "src %dx%d dst %dx%d d(%d,%d,%d,%d) s(%d,%d,%d,%d)", c.srcW, c.srcH,
                  c.dstW, c.dstH, c.d[0], c.d[1], c.d[2], c.d[3], c.s[0], c.s[1], c.s[2], c.s[3]);
    return text;
}

template <typename Kernel, typename Ref>
void CompareOnRandomCases(Kernel kernel, Ref ref, unsigned seed, int rounds, int maxSide) {
    std::mt19937 rng(seed);
    for (int round = 0; round < rounds; ++round) {
        const Case c = RandomCase(rng, maxSide);
        CDib src, got, want;
        ASSERT_TRUE(src.Create(c.srcW, c.srcH, DIB_24BPP, 0));
        surfaces::FillRandom(src, rng);
        ASSERT_TRUE(got.Create(c.dstW, c.dstH, DIB_24BPP, 0xFFFFFF));
        surfaces::FillRandom(got, rng);
        want.CopyFrom(got);
        const bool gotResult =
            (src.*kernel)(&got, c.d[0], c.d[1], c.d[2], c.d[3], c.s[0], c.s[1], c.s[2], c.s[3]);
        const bool wantResult =
            ref(src, want, c.d[0], c.d[1], c.d[2], c.d[3], c.s[0], c.s[1], c.s[2], c.s[3]);
        ASSERT_EQ(gotResult, wantResult) << Describe(c);
        ASSERT_EQ(surfaces::FirstDifference(got, want), "") << Describe(c);
    }
}

TEST(StretchMatchesReference, OnThousandsOfRandomRectanglesIncludingOutsideAndInverted) {
    CompareOnRandomCases(&CDib::StretchTo, reference::StretchTo, 1, 3000, 60);
}

TEST(StretchMatchesReference, OnLargeSurfaces) {
    CompareOnRandomCases(&CDib::StretchTo, reference::StretchTo, 2, 12, 2500);
}

TEST(SmoothMatchesReference, OnThousandsOfRandomRectanglesIncludingOutsideAndInverted) {
    CompareOnRandomCases(&CDib::SmoothStretchTo, reference::SmoothStretchTo, 3, 3000, 60);
}

TEST(SmoothMatchesReference, OnLargeSurfacesSplitAcrossThreads) {
    CompareOnRandomCases(&CDib::SmoothStretchTo, reference::SmoothStretchTo, 4, 12, 2500);
}

TEST(ScalerRefusals, UncreatedSurfacesAndRectanglesOutsideDrawNothing) {
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

TEST(ScalerRefusals, SourcesWiderThanThe16Point16WalkAreRefused) {
    CDib src, dest;
    ASSERT_TRUE(src.Create(32768, 2, DIB_24BPP, 0));
    ASSERT_TRUE(dest.Create(10, 10, DIB_24BPP, 0xFFFFFF));
    EXPECT_FALSE(src.StretchTo(&dest, 0, 0, 8, 8, 0, 0, 32768, 2));
    EXPECT_FALSE(src.SmoothStretchTo(&dest, 0, 0, 8, 8, 0, 0, 32768, 2));
    EXPECT_EQ(dest.GetPixel(0, 0), 0xFFFFFFu);
}

} // namespace
