// RotatePage: a quarter turn counter-clockwise of a page surface.
#include "Dib.h"

#include "SurfaceLimits.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace {

// The turned picture is written into a spare buffer that then changes places with the
// page's own, so each turn reuses the memory of the one before instead of touching new pages.
struct SpareBuffer {
    std::uint8_t* bits = nullptr;
    std::size_t capacity = 0;
    ~SpareBuffer() { std::free(bits); }
};

thread_local SpareBuffer t_spare;

} // namespace

bool RotatePage(CDib* page)
{
    if (!page || !page->IsCreated() || page->GetFormat() != DIB_24BPP)
        return false;
    const int w = page->GetWidth(), h = page->GetHeight();
    // The turned surface is h wide and w high.
    const std::size_t newStride = imaging::StrideFor(h, 24);
    const std::size_t bytes = newStride * static_cast<std::size_t>(w);
    const std::size_t wanted = bytes + imaging::kRowSlackBytes;
    if (t_spare.capacity < wanted) {
        std::free(t_spare.bits);
        t_spare.bits = static_cast<std::uint8_t*>(std::malloc(wanted));
        t_spare.capacity = t_spare.bits ? wanted : 0;
        if (!t_spare.bits)
            return false;
    }
    std::uint8_t* out = t_spare.bits;
    const std::size_t oldStride = static_cast<std::size_t>(page->GetStride());
    const std::uint8_t* in = page->m_pBits;
    // Old pixel (x, y) goes to column y, row w - 1 - x of the turned picture; with rows stored
    // bottom-up that is memory row x. It comes from memory row h - 1 - y of the old one.
    // Square tiles keep both sides of the transpose in cache.
    constexpr int kTile = 64;
    for (int x0 = 0; x0 < w; x0 += kTile) {
        const int x1 = std::min(w, x0 + kTile);
        for (int y0 = 0; y0 < h; y0 += kTile) {
            const int y1 = std::min(h, y0 + kTile);
            for (int x = x0; x < x1; ++x) {
                std::uint8_t* dst = out + newStride * static_cast<std::size_t>(x);
                for (int y = y0; y < y1; ++y) {
                    const std::uint8_t* src = in + oldStride * static_cast<std::size_t>(h - 1 - y) + 3 * static_cast<std::size_t>(x);
                    std::memcpy(dst + 3 * static_cast<std::size_t>(y), src, 3);
                }
            }
        }
    }
    for (int m = 0; m < w; ++m) // padding belongs to no pixel; keep it defined
        std::memset(out + newStride * static_cast<std::size_t>(m) + 3 * static_cast<std::size_t>(h), 0,
                    newStride - 3 * static_cast<std::size_t>(h));
    std::memset(out + bytes, 0, imaging::kRowSlackBytes);
    std::swap(page->m_pBits, t_spare.bits);
    std::swap(page->m_capacity, t_spare.capacity);
    page->m_nWidth = h;
    page->m_nHeight = w;
    return true;
}
