#include "Surfaces.h"

#include <gtest/gtest.h>

#include <cstring>
#include <new>

namespace {

TEST(DibLayout, FiveByTwoWhiteSurfaceHasSixteenByteRowsStoredBottomUp)
{
    CDib dib;
    ASSERT_TRUE(dib.Create(5, 2, DIB_24BPP, 0xFFFFFF));
    EXPECT_EQ(dib.GetStride(), 16);
    EXPECT_EQ(dib.GetRowPtr(0), dib.GetRowPtr(1) + 16);
    for (int y = 0; y < 2; ++y)
        for (int i = 0; i < 15; ++i)
            EXPECT_EQ(dib.GetRowPtr(y)[i], 0xFF);
}

TEST(DibLayout, StrideRoundsEachRowUpToFourBytes)
{
    const int expected[][2] = {{1, 4}, {3, 12}, {4, 12}, {5, 16}};
    for (const auto& [width, stride] : expected) {
        CDib dib;
        ASSERT_TRUE(dib.Create(width, 3, DIB_24BPP, 0xFFFFFF));
        EXPECT_EQ(dib.GetStride(), stride) << "width " << width;
        EXPECT_EQ(dib.GetRowPtr(0) - dib.GetRowPtr(2), 2 * stride);
    }
}

TEST(DibLayout, RowOutsideTheSurfaceOrOfAnUncreatedOneIsNull)
{
    CDib dib;
    EXPECT_EQ(dib.GetRowPtr(0), nullptr);
    ASSERT_TRUE(dib.Create(4, 3, DIB_24BPP, 0xFFFFFF));
    EXPECT_EQ(dib.GetRowPtr(-1), nullptr);
    EXPECT_EQ(dib.GetRowPtr(3), nullptr);
    EXPECT_NE(dib.GetRowPtr(2), nullptr);
}

TEST(DibLayout, FillColourIsRedInTheLowByteAndStoredBlueFirst)
{
    CDib dib;
    ASSERT_TRUE(dib.Create(3, 2, DIB_24BPP, 0x00332211)); // red 0x11, green 0x22, blue 0x33
    const std::uint8_t* p = dib.GetRowPtr(1) + 3;
    EXPECT_EQ(p[0], 0x33);
    EXPECT_EQ(p[1], 0x22);
    EXPECT_EQ(p[2], 0x11);
    EXPECT_EQ(dib.GetPixel(1, 1), 0x112233u);
}

TEST(DibPixels, SetPixelWritesThreeBytesBlueFirstAndLeavesNeighboursAlone)
{
    CDib dib;
    ASSERT_TRUE(dib.Create(3, 1, DIB_24BPP, 0x000000));
    dib.SetPixel(1, 0, 0x123456); // low byte 0x56 = 86, middle 52, high 18
    const std::uint8_t* row = dib.GetRowPtr(0);
    const std::uint8_t expected[9] = {0, 0, 0, 86, 52, 18, 0, 0, 0};
    EXPECT_EQ(std::memcmp(row, expected, 9), 0);
    EXPECT_EQ(dib.GetPixel(1, 0), 0x123456u);
}

TEST(DibCreation, ZeroOrNegativeSizeFailsAndLeavesTheSurfaceNotCreated)
{
    CDib dib;
    ASSERT_TRUE(dib.Create(4, 4, DIB_24BPP, 0xFFFFFF));
    EXPECT_FALSE(dib.Create(0, 5, DIB_24BPP, 0xFFFFFF));
    EXPECT_FALSE(dib.IsCreated());
    EXPECT_EQ(dib.GetRowPtr(0), nullptr);
    EXPECT_FALSE(dib.Create(5, 0, DIB_24BPP, 0xFFFFFF));
    EXPECT_FALSE(dib.Create(-3, 5, DIB_24BPP, 0xFFFFFF));
    EXPECT_FALSE(dib.Create(5, 5, 7, 0xFFFFFF));
}

TEST(DibCreation, ImpossiblyLargeSurfaceFailsCleanlyInsteadOfThrowing)
{
    CDib dib;
    EXPECT_FALSE(dib.Create(1 << 20, 1 << 20, DIB_24BPP, 0xFFFFFF));
    EXPECT_FALSE(dib.IsCreated());
}

TEST(DibCreation, RecreatingReplacesSizeAndFillsEveryPixelAgain)
{
    CDib dib;
    ASSERT_TRUE(dib.Create(40, 30, DIB_24BPP, 0x000000));
    ASSERT_TRUE(dib.Create(7, 5, DIB_24BPP, 0xFFFFFF));
    EXPECT_EQ(dib.GetWidth(), 7);
    EXPECT_EQ(dib.GetHeight(), 5);
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 7; ++x)
            ASSERT_EQ(dib.GetPixel(x, y), 0xFFFFFFu);
}

TEST(DibCreation, DestroyReportsWhetherThereWasAnythingToRelease)
{
    CDib dib;
    EXPECT_FALSE(dib.Destroy());
    ASSERT_TRUE(dib.Create(2, 2, DIB_24BPP, 0xFFFFFF));
    EXPECT_TRUE(dib.Destroy());
    EXPECT_FALSE(dib.IsCreated());
}

TEST(DibCopies, CopyFromAnUncreatedSurfaceLeavesTheTargetAsItWas)
{
    CDib target, empty;
    ASSERT_TRUE(target.Create(3, 2, DIB_24BPP, 0x00112233));
    target.CopyFrom(empty);
    EXPECT_TRUE(target.IsCreated());
    EXPECT_EQ(target.GetWidth(), 3);
    EXPECT_EQ(target.GetPixel(2, 1), 0x332211u);
}

TEST(DibCopies, CopyFromMakesAnIndependentDeepCopy)
{
    std::mt19937 rng(7);
    CDib src, copy;
    ASSERT_TRUE(src.Create(9, 4, DIB_24BPP, 0xFFFFFF));
    surfaces::FillRandom(src, rng);
    ASSERT_TRUE(copy.Create(2, 2, DIB_24BPP, 0));
    copy.CopyFrom(src);
    EXPECT_EQ(surfaces::FirstDifference(src, copy), "");
    src.SetPixel(0, 0, copy.GetPixel(0, 0) ^ 0xFFFFFF);
    EXPECT_NE(src.GetPixel(0, 0), copy.GetPixel(0, 0));
}

TEST(DibCopies, DrawToDibIntoOrFromAnUncreatedSurfaceFailsAndDrawsNothing)
{
    CDib src, empty;
    ASSERT_TRUE(src.Create(2, 2, DIB_24BPP, 0));
    EXPECT_FALSE(src.DrawToDib(&empty, 0, 0));
    EXPECT_FALSE(empty.IsCreated());
    CDib dest;
    ASSERT_TRUE(dest.Create(2, 2, DIB_24BPP, 0xFFFFFF));
    EXPECT_FALSE(empty.DrawToDib(&dest, 0, 0));
    EXPECT_EQ(dest.GetPixel(0, 0), 0xFFFFFFu);
    EXPECT_FALSE(src.DrawToDib(nullptr, 0, 0));
}

// A blit is compared against a per-pixel copy of the part inside both surfaces.
TEST(DibCopies, BlitCopiesExactlyThePartOfTheRectangleInsideBothSurfaces)
{
    std::mt19937 rng(11);
    std::uniform_int_distribution<int> coord(-12, 12), size(-2, 14);
    for (int round = 0; round < 400; ++round) {
        CDib src, dest;
        ASSERT_TRUE(src.Create(1 + round % 9, 1 + round % 7, DIB_24BPP, 0));
        ASSERT_TRUE(dest.Create(1 + round % 5, 1 + round % 8, DIB_24BPP, 0));
        surfaces::FillRandom(src, rng);
        surfaces::FillRandom(dest, rng);
        CDib expected;
        expected.CopyFrom(dest);
        const int dx = coord(rng), dy = coord(rng), sx = coord(rng), sy = coord(rng), w = size(rng), h = size(rng);
        for (int j = 0; j < h; ++j)
            for (int i = 0; i < w; ++i) {
                const int fx = sx + i, fy = sy + j, tx = dx + i, ty = dy + j;
                if (fx >= 0 && fy >= 0 && fx < src.GetWidth() && fy < src.GetHeight() && tx >= 0 && ty >= 0
                    && tx < dest.GetWidth() && ty < dest.GetHeight())
                    expected.SetPixel(tx, ty, src.GetPixel(fx, fy));
            }
        ASSERT_TRUE(src.BlitToDib(&dest, dx, dy, sx, sy, w, h));
        ASSERT_EQ(surfaces::FirstDifference(dest, expected), "")
            << "blit " << dx << "," << dy << " from " << sx << "," << sy << " size " << w << "x" << h;
    }
}

TEST(DibCopies, BlitOntoItselfReadsEachRowBeforeOverwritingIt)
{
    std::mt19937 rng(5);
    CDib dib, before;
    ASSERT_TRUE(dib.Create(6, 6, DIB_24BPP, 0));
    surfaces::FillRandom(dib, rng);
    before.CopyFrom(dib);
    ASSERT_TRUE(dib.BlitToDib(&dib, 1, 2, 0, 0, 5, 4));
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 5; ++x)
            ASSERT_EQ(dib.GetPixel(x + 1, y + 2), before.GetPixel(x, y)) << x << "," << y;
}

TEST(DibCopies, FillKeepsRowPaddingDefined)
{
    CDib dib;
    ASSERT_TRUE(dib.Create(5, 3, DIB_24BPP, 0x00ABCDEF));
    for (int y = 0; y < 3; ++y)
        EXPECT_EQ(dib.GetRowPtr(y)[15], 0);
}

} // namespace
