#include "Surfaces.h"

#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <vector>

namespace {

// Rows of four-byte strides, stored bottom up, blue first, padding zero; rows outside are null.
TEST(DibLayout, RowsAreBottomUpBlueFirstWithZeroPaddingToFourBytes) {
    for (const auto& [width, stride] :
         {std::pair{1, 4}, std::pair{3, 12}, std::pair{4, 12}, std::pair{5, 16}}) {
        CDib dib;
        ASSERT_TRUE(dib.Create(width, 3, DIB_24BPP, 0x00332211)); // red 0x11, green 0x22, blue 0x33
        EXPECT_EQ(dib.GetStride(), stride) << width;
        EXPECT_EQ(dib.GetRowPtr(0) - dib.GetRowPtr(2), 2 * stride) << "rows not bottom up";
        const std::uint8_t* row = dib.GetRowPtr(1);
        EXPECT_EQ(std::vector<std::uint8_t>(row + 3 * width - 3, row + 3 * width),
                  (std::vector<std::uint8_t>{0x33, 0x22, 0x11}));
        for (int i = 3 * width; i < stride; ++i)
            EXPECT_EQ(row[i], 0) << "padding left undefined";
        EXPECT_EQ(dib.GetPixel(width - 1, 1), 0x112233u);
        dib.SetPixel(0, 0, 0x123456);
        EXPECT_EQ(dib.GetRowPtr(0)[0], 0x56) << "set pixel not blue first";
        if (width > 1)
            EXPECT_EQ(dib.GetPixel(1, 0), 0x112233u) << "set pixel spills into its neighbour";
        EXPECT_EQ(dib.GetRowPtr(-1), nullptr);
        EXPECT_EQ(dib.GetRowPtr(3), nullptr);
    }
    EXPECT_EQ(CDib().GetRowPtr(0), nullptr);
}

// A refused size leaves nothing created, however large; a new size fills every pixel again.
TEST(DibCreation, BadSizesAreRefusedAndRecreatingRefillsEveryPixel) {
    constexpr int kRgb = DIB_24BPP;
    for (const auto& [w, h, format] :
         {std::array{0, 5, kRgb}, std::array{5, 0, kRgb}, std::array{-3, 5, kRgb}, std::array{5, 5, 7},
          std::array{1 << 20, 1 << 20, kRgb}}) {
        CDib dib;
        ASSERT_TRUE(dib.Create(4, 4, DIB_24BPP, 0xFFFFFF));
        EXPECT_FALSE(dib.Create(w, h, format, 0xFFFFFF)) << w << "x" << h;
        EXPECT_FALSE(dib.IsCreated());
        EXPECT_EQ(dib.GetRowPtr(0), nullptr);
    }
    CDib dib, empty;
    ASSERT_TRUE(dib.Create(40, 30, DIB_24BPP, 0x000000));
    ASSERT_TRUE(dib.Create(7, 5, DIB_24BPP, 0xFFFFFF));
    ASSERT_EQ(dib.GetWidth() * 100 + dib.GetHeight(), 705);
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 7; ++x)
            ASSERT_EQ(dib.GetPixel(x, y), 0xFFFFFFu);
    dib.CopyFrom(empty);
    EXPECT_EQ(dib.GetPixel(6, 4), 0xFFFFFFu) << "copying nothing destroyed the target";
    EXPECT_FALSE(dib.DrawToDib(&empty, 0, 0));
    EXPECT_FALSE(empty.IsCreated());
    EXPECT_FALSE(empty.DrawToDib(&dib, 0, 0));
    EXPECT_FALSE(dib.DrawToDib(nullptr, 0, 0));
}

TEST(DibCopies, CopyFromMakesAnIndependentDeepCopy) {
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

// A blit is compared against a per-pixel copy of the part inside both surfaces.
TEST(DibCopies, BlitCopiesExactlyThePartOfTheRectangleInsideBothSurfaces) {
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
        const int dx = coord(rng), dy = coord(rng), sx = coord(rng), sy = coord(rng), w = size(rng),
                  h = size(rng);
        for (int j = 0; j < h; ++j)
            for (int i = 0; i < w; ++i) {
                const int fx = sx + i, fy = sy + j, tx = dx + i, ty = dy + j;
                if (fx >= 0 && fy >= 0 && fx < src.GetWidth() && fy < src.GetHeight() && tx >= 0 && ty >= 0 &&
                    tx < dest.GetWidth() && ty < dest.GetHeight())
                    expected.SetPixel(tx, ty, src.GetPixel(fx, fy));
            }
        ASSERT_TRUE(src.BlitToDib(&dest, dx, dy, sx, sy, w, h));
        ASSERT_EQ(surfaces::FirstDifference(dest, expected), "")
            << "blit " << dx << "," << dy << " from " << sx << "," << sy << " size " << w << "x" << h;
    }
}

TEST(DibCopies, BlitOntoItselfReadsEachRowBeforeOverwritingIt) {
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

} // namespace
