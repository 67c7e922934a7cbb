#include "SharpenRow.h"

#include <array>
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
// Returns a byte per output: 0 when the estimate stands, 1 where the double sequence must
// decide, 2 where all nine values are equal (a flat area, whose result is a table entry).
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
        const int differs = (u[i - 3] ^ c[i]) | (u[i] ^ c[i]) | (u[i + 3] ^ c[i]) | (c[i - 3] ^ c[i])
            | (c[i + 3] ^ c[i]) | (d[i - 3] ^ c[i]) | (d[i] ^ c[i]) | (d[i + 3] ^ c[i]);
        const int exact = (q * 5 == x) & (x >= 5) & (x <= 1275);
        needsExact[i] = static_cast<std::uint8_t>(exact << (differs == 0));
    }
}

// The result for a flat neighbourhood of every level, by the double sequence itself.
const std::uint8_t* FlatResults()
{
    static const auto table = [] {
        std::array<std::uint8_t, 256> t{};
        for (int level = 0; level < 256; ++level) {
            const std::uint8_t v = static_cast<std::uint8_t>(level);
            const std::uint8_t rows[3][9] = {{v, v, v, v, v, v, v, v, v}, {v, v, v, v, v, v, v, v, v},
                                             {v, v, v, v, v, v, v, v, v}};
            t[static_cast<std::size_t>(level)] = SharpenByte(rows[0] + 3, rows[1] + 3, rows[2] + 3);
        }
        return t;
    }();
    return table.data();
}

} // namespace

void SharpenRow(const std::uint8_t* above, const std::uint8_t* row, const std::uint8_t* below, std::uint8_t* out,
                int width)
{
    const int count = 3 * (width - 2);
    thread_local std::vector<std::uint8_t> needsExact;
    needsExact.resize(static_cast<std::size_t>(count));
    SharpenEstimate(above + 3, row + 3, below + 3, out + 3, needsExact.data(), count);
    const std::uint8_t* flat = FlatResults();
    for (int i = 0; i < count; ++i) {
        const std::uint8_t need = needsExact[static_cast<std::size_t>(i)];
        if (need == 1)
            out[i + 3] = SharpenByte(above + i + 3, row + i + 3, below + i + 3);
        else if (need == 2)
            out[i + 3] = flat[row[i + 3]];
    }
}

} // namespace imaging
