#include "HostilePictures.h"

#include "ImageFixtures.h"

#include <QImage>
#include <algorithm>
#include <initializer_list>
#include <random>

namespace hostile {

namespace {

Bytes Jpeg(bool progressive = false)
{
    return fixtures::EncodeJpeg(fixtures::ScanLikePage(24, 16, 3), 90, progressive);
}

// Appends each value little-endian in the given number of bytes.
void Put(Bytes& out, std::initializer_list<std::pair<std::uint64_t, int>> fields)
{
    for (const auto& [value, bytes] : fields)
        for (int i = 0; i < bytes; ++i)
            out.push_back(static_cast<std::uint8_t>((value >> (8 * i)) & 0xFF));
}

std::size_t SegmentLength(const Bytes& jpeg, std::size_t marker)
{
    return static_cast<std::size_t>((jpeg[marker + 2] << 8) | jpeg[marker + 3]);
}

// Where the marker FF `code` starts, walking the segments from SOI; bytes.size() when absent.
std::size_t FindMarker(const Bytes& bytes, std::uint8_t code)
{
    for (std::size_t at = 2; at + 4 <= bytes.size() && bytes[at] == 0xFF; at += 2 + SegmentLength(bytes, at))
        if (bytes[at + 1] == code)
            return at;
    return bytes.size();
}

Bytes Slice(const Bytes& bytes, std::size_t from, std::size_t to)
{
    return Bytes(bytes.begin() + static_cast<std::ptrdiff_t>(from), bytes.begin() + static_cast<std::ptrdiff_t>(to));
}

} // namespace

Bytes SmallJpeg()
{
    return Jpeg();
}

Bytes JpegClaimingSize(int width, int height)
{
    Bytes jpeg = SmallJpeg();
    // FF C0, length, precision, then height and width, big-endian.
    const std::size_t frame = FindMarker(jpeg, 0xC0);
    const int fields[] = {height >> 8, height, width >> 8, width};
    for (std::size_t i = 0; i < 4; ++i)
        jpeg[frame + 5 + i] = static_cast<std::uint8_t>(fields[i] & 0xFF);
    return jpeg;
}

Bytes Truncated(const Bytes& picture, std::size_t keep)
{
    return Slice(picture, 0, std::min(keep, picture.size()));
}

Bytes JpegWithScans(int count)
{
    const Bytes progressive = Jpeg(true);
    // Each scan runs from its SOS marker to the next marker that is neither stuffed nor a restart.
    std::vector<Bytes> scans;
    const std::size_t firstScan = FindMarker(progressive, 0xDA);
    std::size_t start = firstScan;
    for (std::size_t at = firstScan + 2; at + 1 < progressive.size() && progressive[start + 1] != 0xD9; ++at) {
        const std::uint8_t next = progressive[at + 1];
        if (progressive[at] == 0xFF && next != 0x00 && (next < 0xD0 || next > 0xD7)) {
            scans.push_back(Slice(progressive, start, at));
            start = at;
        }
    }
    Bytes out = Slice(progressive, 0, firstScan);
    for (int i = 0; i < count; ++i) {
        const Bytes& scan = scans[std::min<std::size_t>(static_cast<std::size_t>(i), scans.size() - 1)];
        out.insert(out.end(), scan.begin(), scan.end());
    }
    out.insert(out.end(), {0xFF, 0xD9});
    return out;
}

Bytes JpegWithNoiseForData()
{
    Bytes jpeg = SmallJpeg();
    const std::size_t scan = FindMarker(jpeg, 0xDA);
    std::mt19937 random(17);
    for (std::size_t at = scan + 2 + SegmentLength(jpeg, scan); at + 2 < jpeg.size(); ++at)
        jpeg[at] = static_cast<std::uint8_t>(random() % 0xFF); // never 0xFF: no stray markers
    return jpeg;
}

Bytes Bmp(const BmpHead& head, std::size_t pixelBytes)
{
    const std::uint32_t paletteBytes = head.bitCount <= 8 ? 4u << head.bitCount : 0;
    const std::uint32_t pixelOffset = head.pixelOffset + (head.pixelOffset == 54 ? paletteBytes : 0);
    Bytes bmp = {'B', 'M'};
    Put(bmp, {{54 + paletteBytes + pixelBytes, 4}, {0, 4}, {pixelOffset, 4}, {40, 4},
              {static_cast<std::uint32_t>(head.width), 4}, {static_cast<std::uint32_t>(head.height), 4}, {1, 2},
              {head.bitCount, 2}, {head.compression, 4}, {pixelBytes, 4}, {2835, 4}, {2835, 4},
              {head.colorsUsed, 4}, {0, 4}});
    for (std::uint32_t i = 0; i < paletteBytes; ++i)
        bmp.push_back(static_cast<std::uint8_t>(i));
    for (std::size_t i = 0; i < pixelBytes; ++i)
        bmp.push_back(static_cast<std::uint8_t>(i * 7));
    return bmp;
}

Bytes BmpRleOverrun()
{
    Bytes bmp = Bmp({.bitCount = 8, .compression = 1 /* BI_RLE8 */}, 0);
    // Runs of 255 pixels, a delta jumping far ahead, and more runs, with no end marker.
    for (int i = 0; i < 40; ++i)
        bmp.insert(bmp.end(), {255, static_cast<std::uint8_t>(i)});
    bmp.insert(bmp.end(), {0, 2, 250, 250, 255, 9, 0, 0});
    return bmp;
}

Bytes Gif(const GifHead& head)
{
    Bytes gif = {'G', 'I', 'F', '8', '9', 'a'};
    Put(gif, {{head.screenWidth, 2}, {head.screenHeight, 2}});
    gif.insert(gif.end(), {0xF1, 0, 0}); // a global table of 4 colours
    gif.insert(gif.end(), {0, 0, 0, 255, 255, 255, 255, 0, 0, 0, 0, 255});
    if (head.withImage) {
        Put(gif, {{0x2C, 1}, {head.left, 2}, {head.top, 2}, {head.imageWidth, 2}, {head.imageHeight, 2}, {0, 1},
                  {head.lzwMinimumCodeSize, 1}});
        gif.insert(gif.end(), {2, 0x44, 0x54, 0}); // one sub-block: clear, pixels 0, 1 and 2, end
    }
    gif.push_back(0x3B);
    return gif;
}

} // namespace hostile
