#include "Dib.h"

#include "SurfaceLimits.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <utility>

namespace {

int BitsPerPixel(int format)
{
    switch (format) {
    case DIB_4BPP: return 4;
    case DIB_8BPP: return 8;
    case DIB_24BPP: return 24;
    default: return 0;
    }
}

// A paletted surface has no colour table of its own; its index is read as a grey level.
std::uint8_t GreyIndex(COLORREF color)
{
    const unsigned r = color & 0xFF, g = (color >> 8) & 0xFF, b = (color >> 16) & 0xFF;
    return static_cast<std::uint8_t>((r + g + b) / 3);
}

} // namespace

CDib::CDib() = default;

CDib::~CDib()
{
    ReleaseBits();
}

bool CDib::Reserve(std::size_t bytes)
{
    // Slack after the last row lets the scalers load whole 32-bit words at the last pixel.
    const std::size_t wanted = bytes + imaging::kRowSlackBytes;
    if (m_pBits && m_capacity >= wanted)
        return true;
    ReleaseBits();
    m_pBits = static_cast<std::uint8_t*>(std::malloc(wanted));
    if (!m_pBits)
        return false;
    m_capacity = wanted;
    std::memset(m_pBits + bytes, 0, imaging::kRowSlackBytes);
    return true;
}

void CDib::ReleaseBits()
{
    std::free(m_pBits);
    m_pBits = nullptr;
    m_capacity = 0;
}

bool CDib::Create(int width, int height, int format, COLORREF fill)
{
    if (!Allocate(width, height, format))
        return false;
    Fill(fill);
    return true;
}

bool CDib::Allocate(int width, int height, int format)
{
    m_bCreated = false;
    const int bits = BitsPerPixel(format);
    if (width <= 0 || height <= 0 || bits == 0 || width > imaging::kMaxSurfaceSide
        || height > imaging::kMaxSurfaceSide)
        return false;
    const std::size_t stride = imaging::StrideFor(width, bits);
    const std::size_t bytes = stride * static_cast<std::size_t>(height);
    if (bytes > imaging::kMaxSurfaceBytes)
        return false;
    if (!Reserve(bytes)) {
        // Out of memory: a failed re-creation leaves the surface not created.
        return false;
    }
    m_nFormat = format;
    m_nWidth = width;
    m_nHeight = height;
    m_bCreated = true;
    return true;
}

bool CDib::Destroy()
{
    const bool hadBits = m_pBits != nullptr;
    ReleaseBits();
    m_bCreated = false;
    return hadBits;
}

bool CDib::IsCreated() const { return m_bCreated; }
int CDib::GetWidth() const { return m_nWidth; }
int CDib::GetHeight() const { return m_nHeight; }
int CDib::GetFormat() const { return m_nFormat; }

int CDib::GetStride() const
{
    return static_cast<int>(imaging::StrideFor(m_nWidth, BitsPerPixel(m_nFormat)));
}

std::uint8_t* CDib::GetRowPtr(int y) const
{
    if (!m_bCreated || y < 0 || y >= m_nHeight || BitsPerPixel(m_nFormat) == 0)
        return nullptr;
    const std::size_t stride = imaging::StrideFor(m_nWidth, BitsPerPixel(m_nFormat));
    return m_pBits + stride * static_cast<std::size_t>(m_nHeight - 1 - y);
}

std::uint32_t CDib::GetPixel(int x, int y) const
{
    const std::uint8_t* p = GetRowPtr(y) + 3 * static_cast<std::size_t>(x);
    return p[0] | (p[1] << 8) | (static_cast<std::uint32_t>(p[2]) << 16);
}

void CDib::SetPixel(int x, int y, std::uint32_t color)
{
    std::uint8_t* row = GetRowPtr(y);
    if (m_nFormat == DIB_24BPP) {
        std::uint8_t* p = row + 3 * static_cast<std::size_t>(x);
        p[0] = color & 0xFF;
        p[1] = (color >> 8) & 0xFF;
        p[2] = (color >> 16) & 0xFF;
    } else if (m_nFormat == DIB_8BPP) {
        row[x] = color & 0xFF;
    }
}

void CDib::Fill(COLORREF color)
{
    if (!m_bCreated)
        return;
    const std::size_t stride = static_cast<std::size_t>(GetStride());
    const std::size_t used = (static_cast<std::size_t>(m_nWidth) * BitsPerPixel(m_nFormat) + 7) / 8;
    std::uint8_t* first = m_pBits;
    const std::uint8_t r = color & 0xFF, g = (color >> 8) & 0xFF, b = (color >> 16) & 0xFF;
    if (m_nFormat == DIB_24BPP && !(r == g && g == b)) {
        for (int x = 0; x < m_nWidth; ++x) {
            first[3 * x] = b;
            first[3 * x + 1] = g;
            first[3 * x + 2] = r;
        }
    } else {
        std::uint8_t value = m_nFormat == DIB_24BPP ? r : GreyIndex(color);
        if (m_nFormat == DIB_4BPP)
            value = static_cast<std::uint8_t>((value >> 4) * 0x11);
        std::memset(first, value, used);
    }
    std::memset(first + used, 0, stride - used); // padding belongs to no pixel; keep it defined
    for (int row = 1; row < m_nHeight; ++row)
        std::memcpy(m_pBits + stride * static_cast<std::size_t>(row), first, stride);
}

bool CDib::BlitToDib(CDib* dest, int dx, int dy, int sx, int sy, int w, int h) const
{
    if (!dest || !m_bCreated || !dest->m_bCreated || dest->m_nFormat != m_nFormat)
        return false;
    // Clip in 64-bit to both surfaces; the part of the rectangle inside both is copied.
    long long x0 = 0, y0 = 0, x1 = w, y1 = h;
    x0 = std::max({x0, -static_cast<long long>(sx), -static_cast<long long>(dx)});
    y0 = std::max({y0, -static_cast<long long>(sy), -static_cast<long long>(dy)});
    x1 = std::min({x1, static_cast<long long>(m_nWidth) - sx, static_cast<long long>(dest->m_nWidth) - dx});
    y1 = std::min({y1, static_cast<long long>(m_nHeight) - sy, static_cast<long long>(dest->m_nHeight) - dy});
    if (x0 >= x1 || y0 >= y1)
        return true;
    const int cols = static_cast<int>(x1 - x0);
    const int bits = BitsPerPixel(m_nFormat);
    auto copyRow = [&](int i) {
        const std::uint8_t* from = GetRowPtr(static_cast<int>(sy + i));
        std::uint8_t* to = dest->GetRowPtr(static_cast<int>(dy + i));
        const int fx = static_cast<int>(sx + x0), tx = static_cast<int>(dx + x0);
        if (bits == 4) {
            // Nibbles are copied one by one; overlapping copies in one row are not needed here.
            for (int c = 0; c < cols; ++c) {
                const int s = fx + c, d = tx + c;
                const std::uint8_t nib = (s & 1) ? (from[s / 2] & 0x0F) : (from[s / 2] >> 4);
                std::uint8_t& out = to[d / 2];
                out = (d & 1) ? static_cast<std::uint8_t>((out & 0xF0) | nib)
                              : static_cast<std::uint8_t>((out & 0x0F) | (nib << 4));
            }
            return;
        }
        const int bpp = bits / 8;
        std::memmove(to + static_cast<std::size_t>(tx) * bpp, from + static_cast<std::size_t>(fx) * bpp,
                     static_cast<std::size_t>(cols) * bpp);
    };
    // Copying a surface onto itself must read each row before it is overwritten.
    const bool bottomUp = dest == this && dy > sy;
    const int first = static_cast<int>(y0), last = static_cast<int>(y1) - 1;
    if (bottomUp) {
        for (int i = last; i >= first; --i)
            copyRow(i);
    } else {
        for (int i = first; i <= last; ++i)
            copyRow(i);
    }
    return true;
}

bool CDib::DrawToDib(CDib* dest, int x, int y) const
{
    return BlitToDib(dest, x, y, 0, 0, m_nWidth, m_nHeight);
}

void CDib::TradePixels(CDib& other)
{
    std::swap(m_pBits, other.m_pBits);
    std::swap(m_capacity, other.m_capacity);
    std::swap(m_bCreated, other.m_bCreated);
    std::swap(m_nFormat, other.m_nFormat);
    std::swap(m_nWidth, other.m_nWidth);
    std::swap(m_nHeight, other.m_nHeight);
}

CDib& CDib::CopyFrom(const CDib& src)
{
    if (&src == this || !src.m_bCreated)
        return *this;
    if (!Allocate(src.m_nWidth, src.m_nHeight, src.m_nFormat))
        return *this; // out of memory: not created, as a failed Create leaves it
    std::memcpy(m_pBits, src.m_pBits, static_cast<std::size_t>(GetStride()) * m_nHeight);
    return *this;
}

void CDib::SetProgress(DibProgressProc proc, void* param)
{
    m_pfnProgress = proc;
    m_pProgressParam = param;
}
