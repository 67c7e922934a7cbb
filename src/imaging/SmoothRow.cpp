#include "SmoothRow.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <immintrin.h>

namespace imaging {

namespace {

// 2^24 / d for every distance d an interpolation can meet (entry 0 is never used as a weight).
const std::uint32_t* WeightTable()
{
    static const std::vector<std::uint32_t> table = [] {
        std::vector<std::uint32_t> t(65537);
        t[0] = 1u << 24;
        for (std::uint32_t d = 1; d <= 65536; ++d)
            t[d] = 16777216u / d;
        return t;
    }();
    return table.data();
}

// How far ahead of the pixel being drawn its source bytes are fetched.
constexpr int kPrefetchPixels = 64;

bool HasAvx2()
{
    static const bool yes = __builtin_cpu_supports("avx2");
    return yes;
}

// 2^24 / d for eight distances d in 1 .. 65536, computed rather than looked up (the table is
// far larger than the first-level cache). The float quotient truncates to the integer one
// for every such d: the numerator is a power of two, so a quotient that is not whole lies at
// least 1/d from one, beyond the float's rounding (the tests run every d through here). A
// distance of 0 gives a meaningless weight, but then the pixel is that neighbour's own.
__attribute__((target("avx2"))) inline __m256i WeightsFor(__m256i distance)
{
    return _mm256_cvttps_epi32(_mm256_div_ps(_mm256_set1_ps(16777216.0f), _mm256_cvtepi32_ps(distance)));
}

} // namespace

void InterpolatePixel(const std::uint8_t* a0, const std::uint8_t* a1, const std::uint8_t* b0, const std::uint8_t* b1,
                      std::uint32_t dx0, std::uint32_t dy0, std::uint8_t* out)
{
    const std::uint32_t dx1 = 65536 - dx0, dy1 = 65536 - dy0;
    const std::uint32_t dA0 = (dx0 + dy0) >> 1, dA1 = (dx1 + dy0) >> 1;
    const std::uint32_t dB0 = (dx0 + dy1) >> 1, dB1 = (dx1 + dy1) >> 1;
    const std::uint8_t* hit = dA0 == 0 ? a0 : dA1 == 0 ? a1 : dB0 == 0 ? b0 : dB1 == 0 ? b1 : nullptr;
    if (hit) {
        std::memcpy(out, hit, 3);
        return;
    }
    const std::uint32_t* table = WeightTable();
    const std::uint32_t wA0 = table[dA0], wA1 = table[dA1], wB0 = table[dB0], wB1 = table[dB1];
    // The weights add up to at most 16778496, so every channel sum stays below 2^32.
    const std::uint32_t weightSum = wA0 + wA1 + wB0 + wB1;
    for (int ch = 0; ch < 3; ++ch) {
        const std::uint32_t sum = wA0 * a0[ch] + wA1 * a1[ch] + wB0 * b0[ch] + wB1 * b1[ch];
        out[ch] = static_cast<std::uint8_t>(sum / weightSum);
    }
}

void SmoothColumns::Plan(std::int64_t fx0, std::int64_t step, int count, int sourceWidth)
{
    m_count = count;
    m_left.resize(static_cast<std::size_t>(count));
    m_right.resize(static_cast<std::size_t>(count));
    m_dx0.resize(static_cast<std::size_t>(count));
    std::int64_t fx = fx0;
    for (int i = 0; i < count; ++i, fx += step) {
        const std::int64_t c = fx >> 16;
        const auto edge = [sourceWidth](std::int64_t col) {
            return static_cast<std::int32_t>(3 * std::clamp<std::int64_t>(col, 0, sourceWidth - 1));
        };
        m_left[static_cast<std::size_t>(i)] = edge(c);
        m_right[static_cast<std::size_t>(i)] = edge(c + 1);
        m_dx0[static_cast<std::size_t>(i)] = static_cast<std::int32_t>(fx & 0xFFFF);
    }
}

void SmoothColumns::DrawRow(const std::uint8_t* upper, const std::uint8_t* lower, std::uint32_t dy0,
                            std::uint8_t* out) const
{
    const int done = HasAvx2() ? DrawVector(upper, lower, dy0, out) : 0;
    DrawScalar(done, upper, lower, dy0, out);
}

void SmoothColumns::DrawScalar(int begin, const std::uint8_t* upper, const std::uint8_t* lower, std::uint32_t dy0,
                               std::uint8_t* out) const
{
    for (int i = begin; i < m_count; ++i) {
        const std::size_t k = static_cast<std::size_t>(i);
        InterpolatePixel(upper + m_left[k], upper + m_right[k], lower + m_left[k], lower + m_right[k],
                         static_cast<std::uint32_t>(m_dx0[k]), dy0, out + 3 * k);
    }
}

// Eight pixels at a time: the same integer sums, and each quotient found by a float
// estimate that is then corrected to the exact integer quotient.
__attribute__((target("avx2"))) int SmoothColumns::DrawVector(const std::uint8_t* upper, const std::uint8_t* lower,
                                                             std::uint32_t dy0, std::uint8_t* out) const
{
    const __m256i vdy0 = _mm256_set1_epi32(static_cast<int>(dy0));
    const __m256i vdy1 = _mm256_set1_epi32(static_cast<int>(65536 - dy0));
    const __m256i full = _mm256_set1_epi32(65536);
    const __m256i zero = _mm256_setzero_si256();
    const __m256i byteMask = _mm256_set1_epi32(0xFF);
    const __m256i one = _mm256_set1_epi32(1);
    // Packs four BGRx pixels of each 128-bit lane into its first twelve bytes.
    const __m256i pack = _mm256_setr_epi8(0, 1, 2, 4, 5, 6, 8, 9, 10, 12, 13, 14, -1, -1, -1, -1, 0, 1, 2, 4, 5, 6,
                                          8, 9, 10, 12, 13, 14, -1, -1, -1, -1);
    const auto* upperInts = reinterpret_cast<const int*>(upper);
    const auto* lowerInts = reinterpret_cast<const int*>(lower);
    int i = 0;
    // The second lane's 16-byte store reaches 4 bytes past the group: keep two pixels spare.
    for (; i + 10 <= m_count; i += 8) {
        // Gathers do not wake the hardware prefetcher: ask for the source bytes a little ahead.
        const std::size_t ahead = static_cast<std::size_t>(std::min(i + kPrefetchPixels, m_count - 1));
        _mm_prefetch(reinterpret_cast<const char*>(upper + m_left[ahead]), _MM_HINT_T0);
        _mm_prefetch(reinterpret_cast<const char*>(lower + m_left[ahead]), _MM_HINT_T0);
        const __m256i dx0 = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(m_dx0.data() + i));
        const __m256i left = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(m_left.data() + i));
        const __m256i right = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(m_right.data() + i));
        const __m256i dx1 = _mm256_sub_epi32(full, dx0);
        const __m256i dA0 = _mm256_srli_epi32(_mm256_add_epi32(dx0, vdy0), 1);
        const __m256i dA1 = _mm256_srli_epi32(_mm256_add_epi32(dx1, vdy0), 1);
        const __m256i dB0 = _mm256_srli_epi32(_mm256_add_epi32(dx0, vdy1), 1);
        const __m256i dB1 = _mm256_srli_epi32(_mm256_add_epi32(dx1, vdy1), 1);
        const __m256i pA0 = _mm256_i32gather_epi32(upperInts, left, 1);
        const __m256i pA1 = _mm256_i32gather_epi32(upperInts, right, 1);
        const __m256i pB0 = _mm256_i32gather_epi32(lowerInts, left, 1);
        const __m256i pB1 = _mm256_i32gather_epi32(lowerInts, right, 1);
        const __m256i wA0 = WeightsFor(dA0), wA1 = WeightsFor(dA1), wB0 = WeightsFor(dB0), wB1 = WeightsFor(dB1);
        const __m256i weightSum = _mm256_add_epi32(_mm256_add_epi32(wA0, wA1), _mm256_add_epi32(wB0, wB1));
        const __m256 reciprocal = _mm256_div_ps(_mm256_set1_ps(1.0f), _mm256_cvtepi32_ps(weightSum));
        __m256i result = zero;
        for (int shift = 0; shift < 24; shift += 8) {
            const __m256i cA0 = _mm256_and_si256(_mm256_srli_epi32(pA0, shift), byteMask);
            const __m256i cA1 = _mm256_and_si256(_mm256_srli_epi32(pA1, shift), byteMask);
            const __m256i cB0 = _mm256_and_si256(_mm256_srli_epi32(pB0, shift), byteMask);
            const __m256i cB1 = _mm256_and_si256(_mm256_srli_epi32(pB1, shift), byteMask);
            const __m256i sum = _mm256_add_epi32(
                _mm256_add_epi32(_mm256_mullo_epi32(wA0, cA0), _mm256_mullo_epi32(wA1, cA1)),
                _mm256_add_epi32(_mm256_mullo_epi32(wB0, cB0), _mm256_mullo_epi32(wB1, cB1)));
            // The sum may use all 32 bits: halve it for the signed conversion.
            const __m256 estimate = _mm256_mul_ps(
                _mm256_mul_ps(_mm256_cvtepi32_ps(_mm256_srli_epi32(sum, 1)), _mm256_set1_ps(2.0f)), reciprocal);
            __m256i q = _mm256_cvttps_epi32(estimate);
            // The estimate is within a hair of the quotient: one step either way makes it exact,
            // and one remainder tells which (it is small, so 32-bit wrap-around leaves it right).
            const __m256i rest = _mm256_sub_epi32(sum, _mm256_mullo_epi32(q, weightSum));
            const __m256i tooHigh = _mm256_srai_epi32(rest, 31);                            // -1 where rest < 0
            const __m256i tooLow = _mm256_cmpgt_epi32(rest, _mm256_sub_epi32(weightSum, one)); // -1 where rest >= weightSum
            q = _mm256_sub_epi32(_mm256_add_epi32(q, tooHigh), tooLow);
            result = _mm256_or_si256(result, _mm256_slli_epi32(q, shift));
        }
        // Exact hits take the neighbour itself; at most one distance can be 0.
        const __m256i hitA0 = _mm256_cmpeq_epi32(dA0, zero), hitA1 = _mm256_cmpeq_epi32(dA1, zero);
        const __m256i hitB0 = _mm256_cmpeq_epi32(dB0, zero), hitB1 = _mm256_cmpeq_epi32(dB1, zero);
        result = _mm256_blendv_epi8(result, pA0, hitA0);
        result = _mm256_blendv_epi8(result, pA1, hitA1);
        result = _mm256_blendv_epi8(result, pB0, hitB0);
        result = _mm256_blendv_epi8(result, pB1, hitB1);
        const __m256i packed = _mm256_shuffle_epi8(result, pack);
        std::uint8_t* dst = out + 3 * static_cast<std::size_t>(i);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(dst), _mm256_castsi256_si128(packed));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(dst + 12), _mm256_extracti128_si256(packed, 1));
    }
    return i;
}

} // namespace imaging
