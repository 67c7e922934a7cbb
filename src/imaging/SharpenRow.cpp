#include "SharpenRow.h"

#include <vector>

namespace imaging {

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

namespace {

// The exact value is (13 C - sum of the 8 neighbours) / 5. When that is not a whole number
// it lies at least 0.2 from one, far beyond the rounding of the double sequence, so its
// integer part is the answer; outside 1 .. 255 the clamp decides. Only whole values inside
// the range can land either side of the integer in double precision and need the sequence.
// Returns a mask byte per output: nonzero where the double sequence must decide.
__attribute__((target_clones("avx2", "default"))) void SharpenEstimate(const std::uint8_t* u, const std::uint8_t* c,
                                                                      const std::uint8_t* d, std::uint8_t* out,
                                                                      std::uint8_t* needsExact, int count)
{
    for (int i = 0; i < count; ++i) {
        const int neighbours = u[i - 3] + u[i] + u[i + 3] + c[i - 3] + c[i + 3] + d[i - 3] + d[i] + d[i + 3];
        const int x = 13 * c[i] - neighbours;            // -2040 .. 3315
        const int positive = x < 0 ? 0 : x;
        const int q = (positive * 13108) >> 16;          // positive / 5, exact for positive <= 16383
        out[i] = static_cast<std::uint8_t>(q > 255 ? 255 : q);
        needsExact[i] = static_cast<std::uint8_t>((q * 5 == x) & (x >= 5) & (x <= 1275));
    }
}

} // namespace

void SharpenRow(const std::uint8_t* above, const std::uint8_t* row, const std::uint8_t* below, std::uint8_t* out,
                int width)
{
    const int count = 3 * (width - 2);
    thread_local std::vector<std::uint8_t> needsExact;
    needsExact.resize(static_cast<std::size_t>(count));
    SharpenEstimate(above + 3, row + 3, below + 3, out + 3, needsExact.data(), count);
    for (int i = 0; i < count; ++i) {
        if (needsExact[static_cast<std::size_t>(i)])
            out[i + 3] = SharpenByte(above + i + 3, row + i + 3, below + i + 3);
    }
}

} // namespace imaging
