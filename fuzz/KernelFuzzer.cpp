// Runs both scalers and the sharpen filter with surface sizes, rectangles and pixels taken
// from the input, each checked byte for byte against the plain one-pixel-at-a-time
// transcription the imaging tests use. Sizes are kept small so a run is fast; rectangles are not: they may be
// empty, reversed, far outside either surface or at the ends of the int range.
#include "FuzzInput.h"
#include "Reference.h"
#include "imaging/Dib.h"

#include <cstdlib>
#include <cstring>

namespace {

constexpr int kMaxSide = 96;

void CheckProgress(int done, int total, void*)
{
    // Reports run from 0 to the total (which is 0 for a one-row scale, a case the
    // program's callback skips).
    if (total < 0 || done < 0 || done > total)
        std::abort();
}

// A coordinate near the surfaces, or (when `wide`) any 32-bit number.
int Coordinate(FuzzInput& input, bool wide)
{
    return wide ? input.Int32() : input.InRange(-2 * kMaxSide, 2 * kMaxSide);
}

void FillFromInput(CDib& dib, FuzzInput& input)
{
    const std::size_t rowBytes = 3 * static_cast<std::size_t>(dib.GetWidth());
    for (int y = 0; y < dib.GetHeight(); ++y) {
        std::uint8_t* row = dib.GetRowPtr(y);
        for (std::size_t i = 0; i < rowBytes; ++i)
            row[i] = input.Byte();
    }
}

bool SamePixels(const CDib& a, const CDib& b)
{
    if (a.GetWidth() != b.GetWidth() || a.GetHeight() != b.GetHeight())
        return false;
    for (int y = 0; y < a.GetHeight(); ++y)
        if (std::memcmp(a.GetRowPtr(y), b.GetRowPtr(y), 3 * static_cast<std::size_t>(a.GetWidth())) != 0)
            return false;
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzInput input(data, size);
    const std::uint8_t flags = input.Byte();
    const bool wide = flags & 1;
    CDib source, dest;
    if (!source.Create(input.InRange(1, kMaxSide), input.InRange(1, kMaxSide), DIB_24BPP, 0)
        || !dest.Create(input.InRange(1, kMaxSide), input.InRange(1, kMaxSide), DIB_24BPP, 0x808080))
        std::abort();
    reference::Rects rect{};
    for (int& value : rect)
        value = Coordinate(input, wide);
    FillFromInput(source, input);

    source.SetProgress(CheckProgress, nullptr);
    CDib expected;
    expected.CopyFrom(dest);
    const bool smooth = flags & 2;
    const bool scaled = smooth
        ? source.SmoothStretchTo(&dest, rect[0], rect[1], rect[2], rect[3], rect[4], rect[5], rect[6], rect[7])
        : source.StretchTo(&dest, rect[0], rect[1], rect[2], rect[3], rect[4], rect[5], rect[6], rect[7]);
    const bool planned = smooth
        ? reference::SmoothStretchTo(source, expected, rect)
        : reference::StretchTo(source, expected, rect);
    if (scaled != planned || !SamePixels(dest, expected))
        std::abort();

    dest.SetProgress(CheckProgress, nullptr);
    if (dest.Sharpen() != reference::Sharpen(expected) || !SamePixels(dest, expected))
        std::abort();
    // A quarter turn counter-clockwise: the old (x, y) lands at (y, width - 1 - x).
    if (!RotatePage(&dest) || dest.GetWidth() != expected.GetHeight() || dest.GetHeight() != expected.GetWidth())
        std::abort();
    for (int y = 0; y < expected.GetHeight(); ++y)
        for (int x = 0; x < expected.GetWidth(); ++x)
            if (dest.GetPixel(y, expected.GetWidth() - 1 - x) != expected.GetPixel(x, y))
                std::abort();
    return 0;
}
