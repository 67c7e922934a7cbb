// Decodes the input as a picture (JPEG, GIF or BMP by its first bytes) into a fresh
// surface and again into one already holding a picture of the decoded size, and composes it
// as a streamed turn does, which must give the sequential composition's bytes. A GIF the
// fast path takes must be drawn pixel for pixel as Qt's reader draws it.
#include "imaging/Dib.h"
#include "imaging/Gif.h"
#include "imaging/PageStream.h"
#include "imaging/Sharpen.h"
#include "imaging/SmoothScale.h"

#include <QImage>
#include <cstdlib>
#include <cstring>

namespace {

void CheckSurface(const CDib& dib)
{
    // A decoded surface is a whole 24-bit picture within the sizes a page may have.
    if (dib.GetFormat() != DIB_24BPP || dib.GetWidth() <= 0 || dib.GetHeight() <= 0 || dib.GetWidth() > 32767
        || dib.GetHeight() > 32767)
        std::abort();
    (void)dib.GetPixel(dib.GetWidth() - 1, 0);
    (void)dib.GetPixel(0, dib.GetHeight() - 1);
}

bool SameBytes(const CDib& a, const CDib& b)
{
    for (int y = 0; y < a.GetHeight(); ++y)
        if (std::memcmp(a.GetRowPtr(y), b.GetRowPtr(y), 3 * static_cast<std::size_t>(a.GetWidth())) != 0)
            return false;
    return true;
}

void CheckStreamedComposition(const std::uint8_t* data, std::size_t size)
{
    const QRect destination(1, 0, 40, 30);
    CDib streamedPage, spare, sequentialPage, streamed, sequential;
    streamed.Create(48, 36, DIB_24BPP, 0);
    bool streamedDrawn = false;
    {
        imaging::PageStream stream(streamed, true, nullptr, nullptr);
        streamedDrawn = stream.AddPage(streamedPage, spare, data, static_cast<std::uint32_t>(size),
                                       [&](int, int) { return imaging::PagePlacement{destination, true}; });
    }
    sequential.Create(48, 36, DIB_24BPP, 0xFFFFFF);
    const bool sequentialDrawn = sequentialPage.LoadFromMemory(data, static_cast<std::uint32_t>(size));
    sequentialPage.SmoothStretchTo(&sequential, 1, 0, 41, 30, 0, 0, sequentialPage.GetWidth(), sequentialPage.GetHeight());
    for (const QRect& area : imaging::SharpenAreas({imaging::SmoothlyDrawnArea(destination)}))
        sequential.SharpenArea(area.left(), area.top(), area.right() + 1, area.bottom() + 1);
    if (streamedDrawn != sequentialDrawn || !SameBytes(streamed, sequential))
        std::abort();
}

void CheckGifAgainstQt(const std::uint8_t* data, std::size_t size)
{
    CDib fast;
    if (!imaging::DecodeOpaqueGif(fast, data, static_cast<std::uint32_t>(size)))
        return;
    const QImage qt = QImage::fromData(data, static_cast<int>(size), "GIF");
    if (qt.isNull() || qt.hasAlphaChannel() || qt.width() != fast.GetWidth() || qt.height() != fast.GetHeight())
        std::abort();
    for (int y = 0; y < qt.height(); ++y)
        for (int x = 0; x < qt.width(); ++x)
            if (fast.GetPixel(x, y) != (qt.pixel(x, y) & 0xFFFFFF))
                std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    CheckStreamedComposition(data, size);
    CheckGifAgainstQt(data, size);
    CDib dib;
    if (!dib.LoadFromMemory(data, static_cast<std::uint32_t>(size)))
        return 0;
    CheckSurface(dib);
    const int width = dib.GetWidth(), height = dib.GetHeight();
    dib.Fill(0x00FF00);
    if (!dib.LoadFromMemory(data, static_cast<std::uint32_t>(size)))
        std::abort(); // the same bytes decoded once must decode again
    if (dib.GetWidth() != width || dib.GetHeight() != height)
        std::abort();
    CheckSurface(dib);
    return 0;
}
