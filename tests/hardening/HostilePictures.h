// Pictures whose bytes lie, end early or ask for too much, made from small good pictures at
// run time.
#pragma once

#include <cstdint>
#include <vector>

namespace hostile {

using Bytes = std::vector<std::uint8_t>;

// A good 24 x 16 baseline JPEG.
Bytes SmallJpeg();
// The JPEG with its frame header claiming width x height.
Bytes JpegClaimingSize(int width, int height);
// The first `keep` bytes of a picture.
Bytes Truncated(const Bytes& picture, std::size_t keep);
// The picture made progressive, its last scan repeated until the file holds `scans` scans.
Bytes JpegWithScans(int scans);
// The JPEG with its entropy-coded data after the first scan header replaced by noise.
Bytes JpegWithNoiseForData();

// A BMP file header and info header as given, followed by `pixelBytes` bytes of pixels.
struct BmpHead {
    std::int32_t width = 4;
    std::int32_t height = 4;
    std::uint16_t bitCount = 24;
    std::uint32_t compression = 0;
    std::uint32_t colorsUsed = 0;
    std::uint32_t pixelOffset = 54;
};
Bytes Bmp(const BmpHead& head, std::size_t pixelBytes);
// An 8-bit RLE BMP of 4 x 4 whose runs write far past the end of the picture.
Bytes BmpRleOverrun();

// A GIF of 4 colours with the given logical screen holding one image of imageWidth x
// imageHeight at (left, top).
struct GifHead {
    std::uint16_t screenWidth = 4;
    std::uint16_t screenHeight = 4;
    std::uint16_t left = 0;
    std::uint16_t top = 0;
    std::uint16_t imageWidth = 4;
    std::uint16_t imageHeight = 4;
    std::uint8_t lzwMinimumCodeSize = 2; // the usual value for 4 colours
    bool withImage = true;
};
Bytes Gif(const GifHead& head);

} // namespace hostile
