#include "HostilePictures.h"

#include "ImageFixtures.h"

#include <QImage>
#include <algorithm>
#include <random>

namespace hostile {

namespace {

QImage Picture()
{
    return fixtures::ScanLikePage(24, 16, 3);
}

void PutBigEndian16(Bytes& bytes, std::size_t at, int value)
{
    bytes[at] = static_cast<std::uint8_t>((value >> 8) & 0xFF);
    bytes[at + 1] = static_cast<std::uint8_t>(value & 0xFF);
}

template <typename T>
void AppendLittleEndian(Bytes& bytes, T value)
{
    for (std::size_t i = 0; i < sizeof(T); ++i)
        bytes.push_back(static_cast<std::uint8_t>((static_cast<std::uint64_t>(value) >> (8 * i)) & 0xFF));
}

// Where the marker FF `code` starts, walking the segments from SOI; bytes.size() when absent.
std::size_t FindMarker(const Bytes& bytes, std::uint8_t code)
{
    for (std::size_t at = 2; at + 4 <= bytes.size();) {
        if (bytes[at] != 0xFF)
            return bytes.size();
        if (bytes[at + 1] == code)
            return at;
        at += 2 + ((bytes[at + 2] << 8) | bytes[at + 3]);
    }
    return bytes.size();
}

// The bytes of each scan (its SOS header and entropy-coded data), up to EOI.
std::vector<Bytes> Scans(const Bytes& jpeg, std::size_t& firstScan)
{
    std::vector<Bytes> scans;
    firstScan = FindMarker(jpeg, 0xDA);
    std::size_t start = firstScan;
    for (std::size_t at = firstScan + 2; at + 1 < jpeg.size(); ++at) {
        const bool marker = jpeg[at] == 0xFF && jpeg[at + 1] != 0x00 && (jpeg[at + 1] < 0xD0 || jpeg[at + 1] > 0xD7);
        if (!marker)
            continue;
        scans.emplace_back(jpeg.begin() + static_cast<std::ptrdiff_t>(start), jpeg.begin() + static_cast<std::ptrdiff_t>(at));
        if (jpeg[at + 1] == 0xD9)
            break;
        start = at;
    }
    return scans;
}

} // namespace

Bytes SmallJpeg()
{
    return fixtures::EncodeJpeg(Picture(), 90);
}

Bytes SmallProgressiveJpeg()
{
    return fixtures::EncodeJpeg(Picture(), 90, true);
}

Bytes JpegClaimingSize(int width, int height)
{
    Bytes jpeg = SmallJpeg();
    const std::size_t frame = FindMarker(jpeg, 0xC0);
    // FF C0, length, precision, then height and width.
    PutBigEndian16(jpeg, frame + 5, height);
    PutBigEndian16(jpeg, frame + 7, width);
    return jpeg;
}

Bytes Truncated(const Bytes& picture, std::size_t keep)
{
    return Bytes(picture.begin(), picture.begin() + static_cast<std::ptrdiff_t>(std::min(keep, picture.size())));
}

Bytes JpegWithScans(int scans)
{
    const Bytes progressive = SmallProgressiveJpeg();
    std::size_t firstScan = 0;
    std::vector<Bytes> original = Scans(progressive, firstScan);
    Bytes out(progressive.begin(), progressive.begin() + static_cast<std::ptrdiff_t>(firstScan));
    for (int i = 0; i < scans; ++i) {
        const Bytes& scan = original[std::min<std::size_t>(static_cast<std::size_t>(i), original.size() - 1)];
        out.insert(out.end(), scan.begin(), scan.end());
    }
    out.push_back(0xFF);
    out.push_back(0xD9);
    return out;
}

Bytes JpegWithNoiseForData()
{
    Bytes jpeg = SmallJpeg();
    const std::size_t scan = FindMarker(jpeg, 0xDA);
    const std::size_t data = scan + 2 + ((jpeg[scan + 2] << 8) | jpeg[scan + 3]);
    std::mt19937 random(17);
    for (std::size_t at = data; at + 2 < jpeg.size(); ++at)
        jpeg[at] = static_cast<std::uint8_t>(random() % 0xFF); // never 0xFF: no stray markers
    return jpeg;
}

Bytes JpegSegmentPastEnd()
{
    Bytes jpeg(70, 0x41);
    const std::uint8_t head[] = {0xFF, 0xD8, 0xFF, 0xE1, 0xFF, 0xF0};
    std::copy(std::begin(head), std::end(head), jpeg.begin());
    return jpeg;
}

Bytes Bmp(const BmpHead& head, std::size_t pixelBytes)
{
    const std::uint32_t paletteBytes = head.bitCount <= 8 ? 4u << head.bitCount : 0;
    Bytes bmp = {'B', 'M'};
    const std::size_t fileSize = 54 + paletteBytes + pixelBytes;
    AppendLittleEndian<std::uint32_t>(bmp, head.fileSizeField ? head.fileSizeField : static_cast<std::uint32_t>(fileSize));
    AppendLittleEndian<std::uint32_t>(bmp, 0);
    AppendLittleEndian<std::uint32_t>(bmp, head.pixelOffset + (head.pixelOffset == 54 ? paletteBytes : 0));
    AppendLittleEndian<std::uint32_t>(bmp, 40);
    AppendLittleEndian<std::int32_t>(bmp, head.width);
    AppendLittleEndian<std::int32_t>(bmp, head.height);
    AppendLittleEndian<std::uint16_t>(bmp, 1);
    AppendLittleEndian<std::uint16_t>(bmp, head.bitCount);
    AppendLittleEndian<std::uint32_t>(bmp, head.compression);
    AppendLittleEndian<std::uint32_t>(bmp, static_cast<std::uint32_t>(pixelBytes));
    AppendLittleEndian<std::int32_t>(bmp, 2835);
    AppendLittleEndian<std::int32_t>(bmp, 2835);
    AppendLittleEndian<std::uint32_t>(bmp, head.colorsUsed);
    AppendLittleEndian<std::uint32_t>(bmp, 0);
    for (std::uint32_t i = 0; i < paletteBytes; ++i)
        bmp.push_back(static_cast<std::uint8_t>(i));
    for (std::size_t i = 0; i < pixelBytes; ++i)
        bmp.push_back(static_cast<std::uint8_t>(i * 7));
    return bmp;
}

Bytes BmpRleOverrun()
{
    BmpHead head;
    head.bitCount = 8;
    head.compression = 1; // BI_RLE8
    Bytes bmp = Bmp(head, 0);
    // Runs of 255 pixels, a delta jumping far ahead, and more runs, with no end marker.
    for (int i = 0; i < 40; ++i) {
        bmp.push_back(255);
        bmp.push_back(static_cast<std::uint8_t>(i));
    }
    for (const std::uint8_t b : {0, 2, 250, 250, 255, 9, 0, 0})
        bmp.push_back(b);
    return bmp;
}

Bytes Gif(const GifHead& head)
{
    Bytes gif = {'G', 'I', 'F', '8', '9', 'a'};
    AppendLittleEndian<std::uint16_t>(gif, head.screenWidth);
    AppendLittleEndian<std::uint16_t>(gif, head.screenHeight);
    gif.insert(gif.end(), {0xF1, 0, 0}); // a global table of 4 colours
    gif.insert(gif.end(), {0, 0, 0, 255, 255, 255, 255, 0, 0, 0, 0, 255});
    if (head.withImage) {
        gif.push_back(0x2C);
        AppendLittleEndian<std::uint16_t>(gif, head.left);
        AppendLittleEndian<std::uint16_t>(gif, head.top);
        AppendLittleEndian<std::uint16_t>(gif, head.imageWidth);
        AppendLittleEndian<std::uint16_t>(gif, head.imageHeight);
        gif.push_back(0);
        gif.push_back(head.lzwMinimumCodeSize);
        // One sub-block: clear, pixels 0, 1 and 2, end of information.
        gif.insert(gif.end(), {2, 0x44, 0x54, 0});
    }
    gif.push_back(0x3B);
    return gif;
}

} // namespace hostile
