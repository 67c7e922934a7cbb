// RotatePage: a quarter turn counter-clockwise of a page surface.
#include "Dib.h"

#include "RowBands.h"
#include "SurfaceLimits.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <immintrin.h>

namespace {

// The turned picture is written into a spare buffer that then changes places with the
// page's own, so each turn reuses the memory of the one before instead of touching new pages.
struct SpareBuffer {
    std::uint8_t* bits = nullptr;
    std::size_t capacity = 0;
    ~SpareBuffer() { std::free(bits); }
};

thread_local SpareBuffer t_spare;

// Old pixel (x, y) goes to column y, row w - 1 - x of the turned picture; with rows stored
// bottom-up that is memory row x. It comes from memory row h - 1 - y of the old one.
struct Turn {
    const std::uint8_t* in;
    std::size_t inStride;
    std::uint8_t* out;
    std::size_t outStride;
    int height; // of the old picture

    const std::uint8_t* Source(int x, int y) const
    {
        return in + inStride * static_cast<std::size_t>(height - 1 - y) + 3 * static_cast<std::size_t>(x);
    }
    std::uint8_t* Target(int x, int y) const
    {
        return out + outStride * static_cast<std::size_t>(x) + 3 * static_cast<std::size_t>(y);
    }
};

// Square tiles keep both sides of the transpose in cache.
constexpr int kTile = 64;

// Turns the old pixels x0 .. x1 - 1 by y0 .. y1 - 1, one pixel at a time.
void TurnPlain(const Turn& t, int x0, int x1, int y0, int y1)
{
    for (int tx = x0; tx < x1; tx += kTile) {
        for (int ty = y0; ty < y1; ty += kTile) {
            for (int x = tx; x < std::min(x1, tx + kTile); ++x)
                for (int y = ty; y < std::min(y1, ty + kTile); ++y)
                    std::memcpy(t.Target(x, y), t.Source(x, y), 3);
        }
    }
}

// Turns the 8 x 8 pixels from (x0, y0): each old row of 8 pixels is spread to 32-bit lanes,
// the 8 x 8 lanes are transposed, and each new row is packed back to 24 bytes. No load or
// store reaches past the block's own bytes.
__attribute__((target("avx2"))) void TurnBlock8(const Turn& t, int x0, int y0)
{
    const __m256i spread = _mm256_setr_epi32(0, 1, 2, 2, 3, 4, 5, 5);
    const __m256i toLanes = _mm256_setr_epi8(0, 1, 2, -1, 3, 4, 5, -1, 6, 7, 8, -1, 9, 10, 11, -1, 0, 1, 2, -1, 3, 4,
                                             5, -1, 6, 7, 8, -1, 9, 10, 11, -1);
    const __m256i toBytes = _mm256_setr_epi8(0, 1, 2, 4, 5, 6, 8, 9, 10, 12, 13, 14, -1, -1, -1, -1, 0, 1, 2, 4, 5, 6,
                                             8, 9, 10, 12, 13, 14, -1, -1, -1, -1);
    const __m256i gather = _mm256_setr_epi32(0, 1, 2, 4, 5, 6, 7, 7);
    __m256i r[8];
    for (int j = 0; j < 8; ++j) {
        const std::uint8_t* src = t.Source(x0, y0 + j);
        const __m256i bytes = _mm256_inserti128_si256(
            _mm256_castsi128_si256(_mm_loadu_si128(reinterpret_cast<const __m128i*>(src))),
            _mm_loadl_epi64(reinterpret_cast<const __m128i*>(src + 16)), 1);
        r[j] = _mm256_shuffle_epi8(_mm256_permutevar8x32_epi32(bytes, spread), toLanes);
    }
    const __m256i t0 = _mm256_unpacklo_epi32(r[0], r[1]), t1 = _mm256_unpackhi_epi32(r[0], r[1]);
    const __m256i t2 = _mm256_unpacklo_epi32(r[2], r[3]), t3 = _mm256_unpackhi_epi32(r[2], r[3]);
    const __m256i t4 = _mm256_unpacklo_epi32(r[4], r[5]), t5 = _mm256_unpackhi_epi32(r[4], r[5]);
    const __m256i t6 = _mm256_unpacklo_epi32(r[6], r[7]), t7 = _mm256_unpackhi_epi32(r[6], r[7]);
    const __m256i s0 = _mm256_unpacklo_epi64(t0, t2), s1 = _mm256_unpackhi_epi64(t0, t2);
    const __m256i s2 = _mm256_unpacklo_epi64(t1, t3), s3 = _mm256_unpackhi_epi64(t1, t3);
    const __m256i s4 = _mm256_unpacklo_epi64(t4, t6), s5 = _mm256_unpackhi_epi64(t4, t6);
    const __m256i s6 = _mm256_unpacklo_epi64(t5, t7), s7 = _mm256_unpackhi_epi64(t5, t7);
    const __m256i columns[8] = {
        _mm256_permute2x128_si256(s0, s4, 0x20), _mm256_permute2x128_si256(s1, s5, 0x20),
        _mm256_permute2x128_si256(s2, s6, 0x20), _mm256_permute2x128_si256(s3, s7, 0x20),
        _mm256_permute2x128_si256(s0, s4, 0x31), _mm256_permute2x128_si256(s1, s5, 0x31),
        _mm256_permute2x128_si256(s2, s6, 0x31), _mm256_permute2x128_si256(s3, s7, 0x31)};
    for (int i = 0; i < 8; ++i) {
        const __m256i packed = _mm256_permutevar8x32_epi32(_mm256_shuffle_epi8(columns[i], toBytes), gather);
        std::uint8_t* dst = t.Target(x0 + i, y0);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(dst), _mm256_castsi256_si128(packed));
        _mm_storel_epi64(reinterpret_cast<__m128i*>(dst + 16), _mm256_extracti128_si256(packed, 1));
    }
}

// Turns the old columns x0 .. x1 - 1: whole 8 x 8 blocks, tile by tile, then the rest.
__attribute__((target("avx2"))) void TurnColumnsAvx2(const Turn& t, int x0, int x1)
{
    const int xBlocks = x0 + (x1 - x0) / 8 * 8;
    const int yBlocks = t.height / 8 * 8;
    for (int ty = 0; ty < yBlocks; ty += kTile) {
        const int tyEnd = std::min(yBlocks, ty + kTile);
        for (int x = x0; x < xBlocks; x += 8)
            for (int y = ty; y < tyEnd; y += 8)
                TurnBlock8(t, x, y);
    }
    TurnPlain(t, x0, xBlocks, yBlocks, t.height);
    TurnPlain(t, xBlocks, x1, 0, t.height);
}

bool HasAvx2()
{
    static const bool yes = __builtin_cpu_supports("avx2");
    return yes;
}

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
    const Turn turn{page->m_pBits, static_cast<std::size_t>(page->GetStride()), t_spare.bits, newStride, h};
    const std::size_t pixelBytes = 3 * static_cast<std::size_t>(h);
    // Bands of whole groups of 8 old columns (new rows), so only the last group is partial.
    const int groups = (w + 7) / 8;
    imaging::RunInRowBands(
        groups, static_cast<long long>(w) * h,
        [&](int begin, int end, const imaging::RowStart*) {
            const int x0 = 8 * begin, x1 = std::min(w, 8 * end);
            if (HasAvx2())
                TurnColumnsAvx2(turn, x0, x1);
            else
                TurnPlain(turn, x0, x1, 0, h);
            for (int m = x0; m < x1; ++m) // padding belongs to no pixel; keep it defined
                std::memset(turn.Target(m, 0) + pixelBytes, 0, newStride - pixelBytes);
        },
        {});
    std::memset(t_spare.bits + bytes, 0, imaging::kRowSlackBytes);
    std::swap(page->m_pBits, t_spare.bits);
    std::swap(page->m_capacity, t_spare.capacity);
    page->m_nWidth = h;
    page->m_nHeight = w;
    return true;
}
