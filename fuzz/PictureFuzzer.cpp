// Decodes the input as a picture (JPEG, GIF or BMP by its first bytes) into a fresh
// surface and again into one already holding a picture of the decoded size.
#include "imaging/Dib.h"

#include <cstdlib>

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

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
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
