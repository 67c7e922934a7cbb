// The GIF fast path against Qt's reader: every GIF it takes it draws pixel for pixel as Qt's
// reader does, it declines every GIF Qt's reader draws otherwise (and then leaves the
// surface as it was), and LoadFromMemory shows what Qt's reader shows either way.
#include "ImageFixtures.h"
#include "imaging/Dib.h"
#include "imaging/Gif.h"

#include <gtest/gtest.h>

#include <QImage>
#include <algorithm>
#include <bit>
#include <random>

namespace {

using fixtures::Bytes;

// Codes packed as a GIF decoder reads them: each at the width the decoder's table has
// reached, the width growing as codes are added and falling back at a clear code.
Bytes PackCodes(int minimumCodeSize, const std::vector<int>& codes) {
    const int clear = 1 << minimumCodeSize;
    int width = minimumCodeSize + 1, next = clear + 2, bitCount = 0;
    bool first = true;
    std::uint32_t bits = 0;
    Bytes packed;
    for (const int code : codes) {
        bits |= std::uint32_t(code) << bitCount;
        for (bitCount += width; bitCount >= 8; bitCount -= 8, bits >>= 8)
            packed.push_back(std::uint8_t(bits));
        if (code == clear) {
            width = minimumCodeSize + 1, next = clear + 2, first = true;
        } else if (first) {
            first = false;
        } else if (next < 4096 && ++next == 1 << width && width < 12) {
            ++width;
        }
    }
    if (bitCount > 0)
        packed.push_back(std::uint8_t(bits));
    return packed;
}

struct HandMade {
    int width = 4, height = 1;
    int colours = 4; // entries of the global table: grey levels 0, 40, 80, ...
    std::vector<int> codes;
    Bytes beforePicture; // extension blocks
    bool localTable = false, interlaced = false;
    int minimumCodeSize = 2;
};

// A GIF of one picture whose image data is the given codes.
Bytes Gif(const HandMade& gif) {
    const auto tableBits = [](int colours) { return std::uint8_t(std::countr_zero(unsigned(colours)) - 1); };
    Bytes out{'G', 'I', 'F', '8', '9', 'a', std::uint8_t(gif.width), std::uint8_t(gif.width >> 8),
              std::uint8_t(gif.height), std::uint8_t(gif.height >> 8), std::uint8_t(0x80 | tableBits(gif.colours)), 0, 0};
    const auto table = [&](int step) {
        for (int i = 0; i < gif.colours; ++i)
            out.insert(out.end(), {std::uint8_t(i * step), std::uint8_t(i * step), std::uint8_t(255 - i)});
    };
    table(40);
    out.insert(out.end(), gif.beforePicture.begin(), gif.beforePicture.end());
    const std::uint8_t flags = (gif.localTable ? 0x80 | tableBits(gif.colours) : 0) | (gif.interlaced ? 0x40 : 0);
    out.insert(out.end(), {0x2C, 0, 0, 0, 0, std::uint8_t(gif.width), std::uint8_t(gif.width >> 8),
                           std::uint8_t(gif.height), std::uint8_t(gif.height >> 8), flags});
    if (gif.localTable)
        table(7);
    out.push_back(std::uint8_t(gif.minimumCodeSize));
    const Bytes data = PackCodes(gif.minimumCodeSize, gif.codes);
    for (std::size_t at = 0; at < data.size(); at += 255) {
        const std::size_t length = std::min<std::size_t>(255, data.size() - at);
        out.push_back(std::uint8_t(length));
        out.insert(out.end(), data.begin() + std::ptrdiff_t(at), data.begin() + std::ptrdiff_t(at + length));
    }
    out.insert(out.end(), {0, 0x3B});
    return out;
}

QImage Noise(int width, int height, unsigned seed, bool holes = false) {
    std::mt19937 rng(seed);
    QImage image(width, height, QImage::Format_ARGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, holes && x == y ? 0 : qRgb(int(rng() % 256), int(rng() % 7) * 40, x % 256));
    return image;
}

Bytes Cut(Bytes bytes, std::size_t keep) {
    bytes.resize(keep);
    return bytes;
}

TEST(Gif, TheFastPathDrawsWhatQtsReaderDrawsAndDeclinesTheRest) {
    const Bytes page = fixtures::EncodeGif(fixtures::ScanLikePage(300, 200, 4));
    std::vector<int> literals(5000); // far past a full table, with no clear code
    for (std::size_t i = 0; i < literals.size(); ++i)
        literals[i] = int(i * 7 % 4);
    const Bytes extensions{0x21, 0xFE, 3, 'h', 'i', '!', 0,                                 // comment
                           0x21, 0xFF, 11, 'N', 'E', 'T', 'S', 'C', 'A', 'P', 'E', '2', '.', '0', 3, 1, 0, 0, 0,
                           0x21, 0xF9, 4, 0x04, 10, 0, 0, 0};                             // no transparency
    const struct {
        const char* fault;
        Bytes gif;
        bool fast;
    } cases[] = {
        {"a scanned page with ImageMagick's palette misdrawn", page, true},
        {"a full table's clear codes misread", fixtures::EncodeGif(Noise(97, 61, 1)), true},
        {"interlaced rows put in the wrong places",
         fixtures::EncodeWithImageMagick(Noise(50, 23, 2), "GIF", {"-interlace", "GIF"}), true},
        {"a two-colour picture's code widths misread",
         fixtures::EncodeGif(fixtures::ScanLikePage(64, 40, 3).convertToFormat(QImage::Format_Mono)), true},
        {"codes after a full table without a clear misread", Gif({.width = 125, .height = 40, .codes = literals}), true},
        {"an index past the palette not white", Gif({.colours = 2, .codes = {4, 0, 3, 2, 1, 5}}), true},
        {"a local table ignored", Gif({.codes = {4, 3, 2, 1, 0, 5}, .localTable = true}), true},
        {"extension blocks before the picture misread", Gif({.codes = {4, 1, 6, 0, 5}, .beforePicture = extensions}), true},
        {"the pixels past the last one written", Gif({.width = 2, .codes = {4, 1, 2, 3, 0, 1, 5}}), true},
        {"an interlaced picture of four rows taken", Gif({.width = 1, .height = 4, .codes = {4, 1, 2, 3, 0, 5},
                                                          .interlaced = true}), false},
        {"a first code past the indices taken", Gif({.codes = {4, 7, 1, 2, 3, 5}}), false},
        {"a code past the table taken", Gif({.codes = {4, 1, 2, 9, 5}}), false},
        {"a picture short of pixels taken", Gif({.codes = {4, 1, 2, 5}}), false},
        {"a file cut inside the data taken", Cut(page, page.size() / 2), false},
        {"a file cut before its terminator taken", Cut(page, page.size() - 2), false},
        {"transparency drawn opaque", fixtures::EncodeGif(Noise(20, 20, 3, true)), false},
        {"a picture smaller than its screen drawn without its background",
         fixtures::EncodeWithImageMagick(Noise(30, 20, 4), "GIF", {"-set", "page", "40x30+5+5"}), false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.fault);
        ASSERT_FALSE(c.gif.empty());
        CDib declined;
        ASSERT_TRUE(declined.Create(3, 3, DIB_24BPP, 0x123456));
        const auto before = declined.GetPixel(2, 2);
        const bool fast = imaging::DecodeOpaqueGif(declined, c.gif.data(), std::uint32_t(c.gif.size()));
        EXPECT_EQ(fast, c.fast);
        if (!fast) {
            EXPECT_TRUE(declined.GetWidth() == 3 && declined.GetPixel(2, 2) == before) << "a declined GIF drew";
        }
        const QImage qt = QImage::fromData(c.gif.data(), int(c.gif.size()), "GIF");
        CDib loaded;
        ASSERT_EQ(loaded.LoadFromMemory(c.gif.data(), std::uint32_t(c.gif.size())), !qt.isNull());
        if (qt.isNull() || qt.hasAlphaChannel())
            continue;
        ASSERT_EQ(loaded.GetWidth(), qt.width());
        ASSERT_EQ(loaded.GetHeight(), qt.height());
        for (int y = 0; y < qt.height(); ++y)
            for (int x = 0; x < qt.width(); ++x)
                ASSERT_EQ(loaded.GetPixel(x, y), qt.pixel(x, y) & 0xFFFFFF) << x << "," << y;
    }
}

} // namespace
