#include "Gif.h"

#include "Decode.h"
#include "Dib.h"

#include <array>
#include <cstddef>
#include <cstring>
#include <new>
#include <optional>
#include <vector>

namespace imaging {

namespace {

constexpr int kMaxCodes = 1 << 12; // codes are at most 12 bits wide
constexpr std::uint8_t kExtensionIntroducer = 0x21, kImageIntroducer = 0x2C;
constexpr std::uint8_t kGraphicControlLabel = 0xF9, kApplicationLabel = 0xFF;

// Blue, green, red, and a spare byte so that a pixel is written as one 4-byte store.
using Colour = std::array<std::uint8_t, 4>;
using Palette = std::array<Colour, 256>;

int LittleEndian16(const std::uint8_t* bytes)
{
    return bytes[0] | bytes[1] << 8;
}

class ByteCursor {
public:
    ByteCursor(const std::uint8_t* data, std::uint32_t size) : m_at(data), m_end(data + size) {}

    const std::uint8_t* Take(std::size_t count)
    {
        if (static_cast<std::size_t>(m_end - m_at) < count)
            return nullptr;
        const std::uint8_t* taken = m_at;
        m_at += count;
        return taken;
    }
    std::optional<std::uint8_t> Byte()
    {
        const std::uint8_t* byte = Take(1);
        return byte ? std::optional<std::uint8_t>(*byte) : std::nullopt;
    }
    // Reads data sub-blocks up to their terminator, appending their bytes to `out` when it
    // is given; false when the data ends first.
    bool SubBlocks(std::vector<std::uint8_t>* out)
    {
        for (;;) {
            const std::optional<std::uint8_t> length = Byte();
            if (!length)
                return false;
            if (*length == 0)
                return true;
            const std::uint8_t* block = Take(*length);
            if (!block)
                return false;
            if (out)
                out->insert(out->end(), block, block + *length);
        }
    }

private:
    const std::uint8_t* m_at;
    const std::uint8_t* m_end;
};

// A colour table of `entries` colours; the indices past it are white, as Qt's reader makes
// them (its colour for an index beyond the table is a transparent white, and the picture
// has no alpha channel).
bool ReadPalette(ByteCursor& in, int entries, Palette& palette)
{
    const std::uint8_t* rgb = in.Take(3 * static_cast<std::size_t>(entries));
    if (!rgb)
        return false;
    palette.fill({0xFF, 0xFF, 0xFF, 0});
    for (int i = 0; i < entries; ++i, rgb += 3)
        palette[i] = {rgb[2], rgb[1], rgb[0], 0};
    return true;
}

struct Frame {
    int width = 0;
    int height = 0;
    bool interlaced = false;
    int minimumCodeSize = 0;
    Palette palette{};
    std::vector<std::uint8_t> codes; // the image data's sub-blocks joined
};

// The first picture, when it is one this path draws as Qt's reader does.
std::optional<Frame> ReadFirstFrame(const std::uint8_t* data, std::uint32_t size)
{
    ByteCursor in(data, size);
    const std::uint8_t* header = in.Take(13); // signature and logical screen descriptor
    if (!header)
        return std::nullopt;
    const int screenWidth = LittleEndian16(header + 6), screenHeight = LittleEndian16(header + 8);
    const std::uint8_t screenFlags = header[10];
    Frame frame;
    Palette global{};
    const bool hasGlobal = (screenFlags & 0x80) != 0;
    if (hasGlobal && !ReadPalette(in, 2 << (screenFlags & 7), global))
        return std::nullopt;
    for (;;) {
        const std::optional<std::uint8_t> introducer = in.Byte();
        if (introducer == kImageIntroducer)
            break;
        // The trailer or damage before any picture: Qt's reader has the answer.
        if (introducer != kExtensionIntroducer)
            return std::nullopt;
        const std::optional<std::uint8_t> label = in.Byte();
        if (!label)
            return std::nullopt;
        if (*label == kGraphicControlLabel || *label == kApplicationLabel) {
            // Qt's reader parses these two blocks its own way when their length byte is not
            // the standard one: those are left to it.
            const std::size_t standard = *label == kGraphicControlLabel ? 4 : 11;
            const std::optional<std::uint8_t> length = in.Byte();
            const std::uint8_t* body = length == standard ? in.Take(standard) : nullptr;
            if (!body || (*label == kGraphicControlLabel && (body[0] & 1)))
                return std::nullopt; // a transparent index makes the picture one with alpha
        }
        if (!in.SubBlocks(nullptr))
            return std::nullopt;
    }
    const std::uint8_t* descriptor = in.Take(9);
    if (!descriptor)
        return std::nullopt;
    frame.width = LittleEndian16(descriptor + 4);
    frame.height = LittleEndian16(descriptor + 6);
    const std::uint8_t flags = descriptor[8];
    frame.interlaced = (flags & 0x40) != 0;
    // Only a picture that covers its whole screen is drawn without a background; Qt's reader
    // orders the rows of an interlaced picture under five rows its own way.
    if (LittleEndian16(descriptor) != 0 || LittleEndian16(descriptor + 2) != 0 || frame.width != screenWidth
        || frame.height != screenHeight || !PictureSizeAllowed(frame.width, frame.height)
        || (frame.interlaced && frame.height < 5))
        return std::nullopt;
    if (flags & 0x80) {
        if (!ReadPalette(in, 2 << (flags & 7), frame.palette))
            return std::nullopt;
    } else if (hasGlobal) {
        frame.palette = global;
    } else {
        return std::nullopt; // no colours at all
    }
    const std::optional<std::uint8_t> minimumCodeSize = in.Byte();
    if (!minimumCodeSize || *minimumCodeSize < 2 || *minimumCodeSize > 8)
        return std::nullopt;
    frame.minimumCodeSize = *minimumCodeSize;
    if (!in.SubBlocks(&frame.codes))
        return std::nullopt;
    return frame;
}

// The LZW code table: each code's string is its prefix code's string and one more index.
struct CodeTable {
    std::array<std::uint16_t, kMaxCodes> prefix;
    std::array<std::uint16_t, kMaxCodes> length;
    std::array<std::uint8_t, kMaxCodes> last;
    std::array<std::uint8_t, kMaxCodes> first;

    // Writes the code's string at pixels[at...], dropping what falls past the last pixel.
    void Write(int code, std::vector<std::uint8_t>& pixels, std::size_t at) const
    {
        const std::size_t length = this->length[code];
        if (at + length <= pixels.size()) {
            for (std::uint8_t* out = pixels.data() + at + length; out-- != pixels.data() + at; code = prefix[code])
                *out = last[code];
            return;
        }
        for (std::size_t i = at + length; i-- > at; code = prefix[code])
            if (i < pixels.size())
                pixels[i] = last[code];
    }
};

// Decodes the codes into one palette index a pixel, in the order of the file; false when
// they do not give every pixel, or hold a code Qt's reader reads its own way.
bool DecodeCodes(const Frame& frame, std::vector<std::uint8_t>& pixels)
{
    const int clear = 1 << frame.minimumCodeSize, end = clear + 1;
    CodeTable table{};
    for (int i = 0; i < clear; ++i) {
        table.length[i] = 1;
        table.last[i] = table.first[i] = static_cast<std::uint8_t>(i);
    }
    int codeSize = frame.minimumCodeSize + 1, nextCode = clear + 2, previous = -1;
    std::size_t at = 0; // pixels decoded, counting those past the last, which are dropped
    std::uint32_t bits = 0;
    int bitCount = 0;
    for (std::size_t i = 0;;) {
        while (bitCount < codeSize && i < frame.codes.size()) {
            bits |= std::uint32_t(frame.codes[i++]) << bitCount;
            bitCount += 8;
        }
        if (bitCount < codeSize)
            break; // the data ends without an end code
        const int code = static_cast<int>(bits & ((1u << codeSize) - 1));
        bits >>= codeSize;
        bitCount -= codeSize;
        if (code == clear) {
            codeSize = frame.minimumCodeSize + 1;
            nextCode = clear + 2;
            previous = -1;
            continue;
        }
        if (code == end)
            break;
        if (previous < 0) { // the first code after a clear is an index itself
            if (code > clear)
                return false;
            if (at < pixels.size())
                pixels[at] = static_cast<std::uint8_t>(code);
            ++at;
            previous = code;
            continue;
        }
        if (code > nextCode)
            return false;
        std::uint8_t firstIndex = 0;
        if (code == nextCode) { // the previous string and its own first index
            firstIndex = table.first[previous];
            table.Write(previous, pixels, at);
            at += table.length[previous];
            if (at < pixels.size())
                pixels[at] = firstIndex;
            ++at;
        } else {
            firstIndex = table.first[code];
            table.Write(code, pixels, at);
            at += table.length[code];
        }
        if (nextCode < kMaxCodes) {
            table.prefix[nextCode] = static_cast<std::uint16_t>(previous);
            table.length[nextCode] = static_cast<std::uint16_t>(table.length[previous] + 1);
            table.last[nextCode] = firstIndex;
            table.first[nextCode] = table.first[previous];
            if (++nextCode == 1 << codeSize && codeSize < 12)
                ++codeSize;
        }
        previous = code;
    }
    return at >= pixels.size();
}

// The picture row each row of the file's order lands on.
std::vector<int> RowOrder(const Frame& frame)
{
    std::vector<int> rows;
    rows.reserve(static_cast<std::size_t>(frame.height));
    if (!frame.interlaced) {
        for (int y = 0; y < frame.height; ++y)
            rows.push_back(y);
        return rows;
    }
    for (const auto& [start, step] : {std::pair{0, 8}, std::pair{4, 8}, std::pair{2, 4}, std::pair{1, 2}})
        for (int y = start; y < frame.height; y += step)
            rows.push_back(y);
    return rows;
}

void DrawRow(const Palette& palette, const std::uint8_t* indices, int width, std::uint8_t* out)
{
    // Each pixel but the last is stored as four bytes, the fourth overwritten by the next
    // pixel; the last pixel's three bytes stay inside the row.
    for (int x = 0; x + 1 < width; ++x, out += 3)
        std::memcpy(out, palette[indices[x]].data(), 4);
    std::memcpy(out, palette[indices[width - 1]].data(), 3);
}

} // namespace

bool DecodeOpaqueGif(CDib& dib, const std::uint8_t* data, std::uint32_t size)
{
    const std::optional<Frame> frame = ReadFirstFrame(data, size);
    if (!frame)
        return false;
    // Each code gives at most one table string of indices: a picture larger than the codes
    // could fill is cut short or lying, and costs no allocation here.
    const long long pixelCount = static_cast<long long>(frame->width) * frame->height;
    const long long codeCount = static_cast<long long>(frame->codes.size()) * 8 / (frame->minimumCodeSize + 1);
    if (pixelCount > (codeCount + 1) * kMaxCodes)
        return false;
    std::vector<std::uint8_t> pixels;
    try {
        pixels.resize(static_cast<std::size_t>(pixelCount));
    } catch (const std::bad_alloc&) {
        return false;
    }
    if (!DecodeCodes(*frame, pixels) || !PrepareSurface(dib, frame->width, frame->height))
        return false;
    const std::vector<int> rows = RowOrder(*frame);
    const std::size_t width = static_cast<std::size_t>(frame->width);
    for (std::size_t row = 0; row < rows.size(); ++row)
        DrawRow(frame->palette, pixels.data() + row * width, frame->width, dib.GetRowPtr(rows[row]));
    return true;
}

} // namespace imaging
