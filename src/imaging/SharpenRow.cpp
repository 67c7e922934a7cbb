#include "SharpenRow.h"

#include <array>
#include <bit>
#include <immintrin.h>
#include <vector>

// The exact value of a byte is (13 C - sum of the 8 neighbours) / 5. When that is not a
// whole number it lies at least 0.2 from one, far beyond the rounding of the double sequence,
// so its integer part is the answer; outside 1 .. 255 the clamp decides. Only whole values
// k inside the range can land either side of k in double precision: those bytes (about one
// in five of a scan) run the double sequence itself. A flat neighbourhood (all nine values
// equal to some level) is one of those, and common on paper, so its result is a table entry.
// Each row is filtered in two passes: the estimate of every byte, which also lists the bytes
// needing the double sequence, then the sequence for the listed bytes only.

namespace imaging {

namespace {

struct SharpenTables {
    std::array<double, 256> fifth{};  // 0.2 * v, rounded as the sequence rounds it
    std::array<double, 256> centre{}; // 2.6 * v
    std::array<std::uint8_t, 256> flat{};
    std::array<std::uint8_t, 32> flatIsLower{}; // bit v: a flat area of level v comes out v - 1
    std::array<std::uint64_t, 256> setBits{};   // positions of the set bits of a byte, one per byte
};

// The double sequence from the tables: the same products, added in the same order.
inline std::uint8_t SequenceByte(const SharpenTables& t, const std::uint8_t* u, const std::uint8_t* c,
                                 const std::uint8_t* d)
{
    double s = t.fifth[u[-3]];
    s = s + t.fifth[u[0]];
    s = s + t.fifth[u[3]];
    s = s + t.fifth[c[-3]];
    double v = t.centre[c[0]];
    v = v - s;
    v = v - t.fifth[c[3]];
    v = v - t.fifth[d[-3]];
    v = v - t.fifth[d[0]];
    v = v - t.fifth[d[3]];
    // Only listed bytes come here: v is within a hair of a whole k in 1 .. 255, so the
    // truncation lies in 0 .. 255 without a clamp.
    return static_cast<std::uint8_t>(static_cast<int>(v));
}

const SharpenTables& Tables()
{
    static const SharpenTables tables = [] {
        SharpenTables t;
        for (int v = 0; v < 256; ++v) {
            t.fifth[static_cast<std::size_t>(v)] = 0.2 * v;
            t.centre[static_cast<std::size_t>(v)] = 2.6 * v;
            const std::uint8_t b = static_cast<std::uint8_t>(v);
            const std::uint8_t rows[3][9] = {{b, b, b, b, b, b, b, b, b}, {b, b, b, b, b, b, b, b, b},
                                             {b, b, b, b, b, b, b, b, b}};
            const std::uint8_t result = SharpenByte(rows[0] + 3, rows[1] + 3, rows[2] + 3);
            t.flat[static_cast<std::size_t>(v)] = result;
            if (result != b)
                t.flatIsLower[static_cast<std::size_t>(v >> 3)] |= static_cast<std::uint8_t>(1u << (v & 7));
            std::uint64_t positions = 0;
            int n = 0;
            for (int bit = 0; bit < 8; ++bit)
                if (v >> bit & 1)
                    positions |= static_cast<std::uint64_t>(bit) << (8 * n++);
            t.setBits[static_cast<std::size_t>(v)] = positions;
        }
        return t;
    }();
    return tables;
}

bool HasAvx2()
{
    static const bool yes = __builtin_cpu_supports("avx2");
    return yes;
}

// The estimate pass over bytes [begin, count), one byte at a time. Appends the bytes that
// need the sequence to `listed` and returns the new list length.
int EstimatePlain(const SharpenTables& t, const std::uint8_t* u, const std::uint8_t* c, const std::uint8_t* d,
                  std::uint8_t* out, int begin, int count, std::int32_t* listed, int n)
{
    for (int i = begin; i < count; ++i) {
        const int neighbours = u[i - 3] + u[i] + u[i + 3] + c[i - 3] + c[i + 3] + d[i - 3] + d[i] + d[i + 3];
        const int x = 13 * c[i] - neighbours; // -2040 .. 3315
        const int q = x < 0 ? 0 : x / 5;
        const bool flat = neighbours == 8 * c[i] && u[i - 3] == c[i] && u[i] == c[i] && u[i + 3] == c[i]
            && c[i - 3] == c[i] && c[i + 3] == c[i] && d[i - 3] == c[i] && d[i] == c[i] && d[i + 3] == c[i];
        out[i] = flat ? t.flat[c[i]] : static_cast<std::uint8_t>(q > 255 ? 255 : q);
        if (!flat && q * 5 == x && x >= 5 && x <= 1275)
            listed[n++] = i;
    }
    return n;
}

__attribute__((target("avx2"))) inline __m256i Load32(const std::uint8_t* p, int i)
{
    return _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p + i));
}

// The bytes of the low (half 0) or high (half 1) eight of each 16-byte lane, as 16-bit lanes.
__attribute__((target("avx2"))) inline __m256i Widen(__m256i v, int half)
{
    return half == 0 ? _mm256_unpacklo_epi8(v, _mm256_setzero_si256()) : _mm256_unpackhi_epi8(v, _mm256_setzero_si256());
}

// The estimate pass 32 bytes at a time, in 16-bit lanes; returns where it stopped. The
// listed byte positions are written eight at a time: `listed` has room for 8 past `count`.
__attribute__((target("avx2"))) int EstimateAvx2(const SharpenTables& t, const std::uint8_t* u,
                                                const std::uint8_t* c, const std::uint8_t* d, std::uint8_t* out,
                                                int count, std::int32_t* listed, int& listedCount)
{
    int n = listedCount; // a local, which the stores through `listed` cannot alias
    const __m256i zero = _mm256_setzero_si256();
    const __m256i thirteen = _mm256_set1_epi16(13), five = _mm256_set1_epi16(5);
    const __m256i fifthMultiplier = _mm256_set1_epi16(13108); // (x * 13108) >> 16 == x / 5 for 0 <= x < 16384
    const __m256i four = _mm256_set1_epi16(4), limit = _mm256_set1_epi16(1276);
    const __m128i lowerBytes0 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(t.flatIsLower.data()));
    const __m128i lowerBytes1 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(t.flatIsLower.data() + 16));
    const __m256i lowerLow = _mm256_broadcastsi128_si256(lowerBytes0);
    const __m256i lowerHigh = _mm256_broadcastsi128_si256(lowerBytes1);
    const __m256i bitOf = _mm256_setr_epi8(1, 2, 4, 8, 16, 32, 64, -128, 1, 2, 4, 8, 16, 32, 64, -128, 1, 2, 4, 8,
                                           16, 32, 64, -128, 1, 2, 4, 8, 16, 32, 64, -128);
    const __m256i seven = _mm256_set1_epi8(7), thirtyOne = _mm256_set1_epi8(31);
    int i = 0;
    for (; i + 32 <= count; i += 32) {
        const __m256i n0 = Load32(u - 3, i), n1 = Load32(u, i), n2 = Load32(u + 3, i), n3 = Load32(c - 3, i);
        const __m256i n4 = Load32(c + 3, i), n5 = Load32(d - 3, i), n6 = Load32(d, i), n7 = Load32(d + 3, i), centre = Load32(c, i);
        // The estimate in two halves of 16-bit lanes; packing them back restores byte order.
        __m256i halves[2];
        __m256i listedHalves[2];
        for (int h = 0; h < 2; ++h) {
            const __m256i sum = _mm256_add_epi16(
                _mm256_add_epi16(_mm256_add_epi16(Widen(n0, h), Widen(n1, h)), _mm256_add_epi16(Widen(n2, h), Widen(n3, h))),
                _mm256_add_epi16(_mm256_add_epi16(Widen(n4, h), Widen(n5, h)), _mm256_add_epi16(Widen(n6, h), Widen(n7, h))));
            const __m256i x = _mm256_sub_epi16(_mm256_mullo_epi16(Widen(centre, h), thirteen), sum);
            const __m256i q = _mm256_mulhi_epu16(_mm256_max_epi16(x, zero), fifthMultiplier);
            halves[h] = q; // packing saturates it to 255
            listedHalves[h] = _mm256_and_si256(
                _mm256_cmpeq_epi16(_mm256_mullo_epi16(q, five), x),
                _mm256_and_si256(_mm256_cmpgt_epi16(x, four), _mm256_cmpgt_epi16(limit, x)));
        }
        const __m256i estimate = _mm256_packus_epi16(halves[0], halves[1]);
        __m256i wanted = _mm256_packs_epi16(listedHalves[0], listedHalves[1]);
        // Flat areas: the level, one lower where its bit in flatIsLower is set.
        const __m256i differs = _mm256_or_si256(
            _mm256_or_si256(_mm256_or_si256(_mm256_xor_si256(n0, centre), _mm256_xor_si256(n1, centre)),
                            _mm256_or_si256(_mm256_xor_si256(n2, centre), _mm256_xor_si256(n3, centre))),
            _mm256_or_si256(_mm256_or_si256(_mm256_xor_si256(n4, centre), _mm256_xor_si256(n5, centre)),
                            _mm256_or_si256(_mm256_xor_si256(n6, centre), _mm256_xor_si256(n7, centre))));
        const __m256i flat = _mm256_cmpeq_epi8(differs, zero);
        const __m256i byteIndex = _mm256_and_si256(_mm256_srli_epi16(centre, 3), thirtyOne);
        const __m256i lowerByte = _mm256_blendv_epi8(_mm256_shuffle_epi8(lowerLow, byteIndex),
                                                     _mm256_shuffle_epi8(lowerHigh, byteIndex),
                                                     _mm256_cmpgt_epi8(zero, centre)); // level >= 128
        const __m256i bit = _mm256_shuffle_epi8(bitOf, _mm256_and_si256(centre, seven));
        const __m256i lower = _mm256_cmpeq_epi8(_mm256_and_si256(lowerByte, bit), bit);
        const __m256i flatResult = _mm256_add_epi8(centre, lower); // lower is -1 where set
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(out + i), _mm256_blendv_epi8(estimate, flatResult, flat));
        wanted = _mm256_andnot_si256(flat, wanted);
        // Append the positions of the wanted bytes, eight mask bits at a time.
        const std::uint32_t mask = static_cast<std::uint32_t>(_mm256_movemask_epi8(wanted));
        for (int part = 0; part < 4; ++part) {
            const std::uint32_t bits = (mask >> (8 * part)) & 0xFF;
            const __m256i offsets = _mm256_cvtepu8_epi32(_mm_cvtsi64_si128(static_cast<long long>(t.setBits[bits])));
            _mm256_storeu_si256(reinterpret_cast<__m256i*>(listed + n),
                                _mm256_add_epi32(offsets, _mm256_set1_epi32(i + 8 * part)));
            n += std::popcount(bits);
        }
    }
    listedCount = n;
    return i;
}

} // namespace

std::uint8_t SharpenByte(const std::uint8_t* u, const std::uint8_t* c, const std::uint8_t* d)
{
    double s = 0.2 * u[-3];
    s = s + 0.2 * u[0];
    s = s + 0.2 * u[3];
    s = s + 0.2 * c[-3];
    double v = 2.6 * c[0];
    v = v - s;
    v = v - 0.2 * c[3];
    v = v - 0.2 * d[-3];
    v = v - 0.2 * d[0];
    v = v - 0.2 * d[3];
    const int t = static_cast<int>(v);
    return static_cast<std::uint8_t>(t >= 255 ? 255 : t <= 0 ? 0 : t);
}

void SharpenRow(const std::uint8_t* above, const std::uint8_t* row, const std::uint8_t* below, std::uint8_t* out,
                int width)
{
    const SharpenTables& t = Tables();
    const int count = 3 * (width - 2);
    const std::uint8_t* u = above + 3;
    const std::uint8_t* c = row + 3;
    const std::uint8_t* d = below + 3;
    std::uint8_t* o = out + 3;
    thread_local std::vector<std::int32_t> listed;
    listed.resize(static_cast<std::size_t>(count) + 8);
    int n = 0;
    const int done = HasAvx2() ? EstimateAvx2(t, u, c, d, o, count, listed.data(), n) : 0;
    n = EstimatePlain(t, u, c, d, o, done, count, listed.data(), n);
    for (int k = 0; k < n; ++k) {
        const int i = listed[static_cast<std::size_t>(k)];
        o[i] = SequenceByte(t, u + i, c + i, d + i);
    }
}

} // namespace imaging
