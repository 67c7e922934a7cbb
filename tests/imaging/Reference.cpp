#include "Reference.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace reference {

namespace {

using i64 = std::int64_t;

// Clamped into [0, limit]; a limit of -1 (a one-pixel source's far edge) wins.
int Clamp(int v, int limit) {
    return std::min(std::max(v, 0), limit);
}

// trunc() of the rules; values the 32-bit walk could never hold saturate instead of
// overflowing (they only ever address the source's edge).
i64 Trunc(double v, double bound) {
    return std::isnan(v) ? 0 : i64(std::clamp(v, -bound, bound));
}

// One axis of the setup: the destination span clamped to the surface, the first source
// position and the 16.16 step. False when the span lies on the surface's first or last pixel.
struct Axis {
    int lo, hi;
    i64 first, step;
};
bool PlanAxis(int d0, int d1, int s0, int s1, int destSize, int srcSize, int edgeIn, Axis& a) {
    a.lo = Clamp(d0, destSize - 1);
    a.hi = Clamp(d1, destSize - 1);
    const double ratio = double(i64(s1) - s0 + 1) / double(i64(d1) - d0 + 1), big = 1099511627776.0;
    a.first = Clamp(s0, srcSize - 1) + Trunc(double(i64(a.lo) - d0) * ratio, big);
    const i64 last = Clamp(s1, srcSize - edgeIn) + Trunc(double(i64(a.hi) - d1) * ratio, big);
    a.step = Trunc((double(last - a.first + 1) / double(a.hi - a.lo + 1)) * 65536.0, 4294967296.0);
    return !(a.lo == a.hi && (a.lo == 0 || a.lo == destSize - 1));
}

// A source pixel; positions outside the source read its nearest edge.
const std::uint8_t* Pixel(const CDib& src, i64 col, i64 row) {
    return src.GetRowPtr(int(std::clamp<i64>(row, 0, src.GetHeight() - 1))) +
           3 * std::clamp<i64>(col, 0, src.GetWidth() - 1);
}

// Both rules walk the destination in 16.16 steps; the smooth one draws row y1 too.
template <typename Draw> bool Walk(const CDib& src, CDib& dest, const Rects& r, bool smooth, Draw draw) {
    Axis x, y;
    const int edgeIn = smooth ? 2 : 1;
    const bool across = PlanAxis(r[0], r[2], r[4], r[6], dest.GetWidth(), src.GetWidth(), edgeIn, x);
    const bool down = PlanAxis(r[1], r[3], r[5], r[7], dest.GetHeight(), src.GetHeight(), edgeIn, y);
    // Sides beyond 32767 are more than the 16.16 walk holds: such a source is refused.
    if (!src.IsCreated() || !dest.IsCreated() || !across || !down ||
        std::max(src.GetWidth(), src.GetHeight()) > 32767)
        return false;
    i64 fy = y.first * 65536;
    for (int row = y.lo; row < y.hi + (smooth ? 1 : 0); ++row, fy += y.step) {
        i64 fx = x.first * 65536;
        for (int col = x.lo; col < x.hi; ++col, fx += x.step)
            draw(fx, fy, dest.GetRowPtr(row) + 3 * col);
    }
    return true;
}

} // namespace

bool StretchTo(const CDib& src, CDib& dest, const Rects& rects) {
    return Walk(src, dest, rects, false,
                [&](i64 fx, i64 fy, std::uint8_t* o) { std::copy_n(Pixel(src, fx >> 16, fy >> 16), 3, o); });
}

bool SmoothStretchTo(const CDib& src, CDib& dest, const Rects& rects) {
    return Walk(src, dest, rects, true, [&](i64 fx, i64 fy, std::uint8_t* o) {
        const i64 c = fx >> 16, r = fy >> 16, dx0 = fx & 0xFFFF, dy0 = fy & 0xFFFF;
        // Neighbours a0, a1 (upper row), b0, b1 (lower), each at its mean distance.
        const std::uint8_t* n[4] = {Pixel(src, c, r), Pixel(src, c + 1, r), Pixel(src, c, r + 1),
                                    Pixel(src, c + 1, r + 1)};
        const i64 dist[4] = {(dx0 + dy0) / 2, (65536 - dx0 + dy0) / 2, (dx0 + 65536 - dy0) / 2,
                             (65536 - dx0 + 65536 - dy0) / 2};
        const int hit = int(std::find(dist, dist + 4, 0) - dist); // a neighbour at distance 0 is taken
        for (int ch = 0; ch < 3; ++ch) {
            i64 sum = 0, weights = 0;
            for (int k = 0; k < 4 && hit == 4; ++k) {
                sum += 16777216 / dist[k] * n[k][ch];
                weights += 16777216 / dist[k];
            }
            o[ch] = hit < 4 ? n[hit][ch] : std::uint8_t(sum / weights);
        }
    });
}

bool Sharpen(CDib& dib) {
    if (!dib.IsCreated() || dib.GetFormat() != DIB_24BPP || dib.GetWidth() < 3 || dib.GetHeight() < 3)
        return false;
    CDib copy; // the rule reads the picture as it was before filtering
    copy.CopyFrom(dib);
    for (int y = 1; y <= dib.GetHeight() - 2; ++y) {
        const std::uint8_t *U = copy.GetRowPtr(y - 1), *C = copy.GetRowPtr(y), *D = copy.GetRowPtr(y + 1);
        for (int i = 3; i <= 3 * (dib.GetWidth() - 1) - 1; ++i) {
            // The sum in the rule's order: four neighbours added, then the others taken away.
            double s = 0;
            for (const int n : {U[i - 3], U[i], U[i + 3], C[i - 3]})
                s = s + 0.2 * n;
            double v = 2.6 * C[i] - s;
            for (const int n : {C[i + 3], D[i - 3], D[i], D[i + 3]})
                v = v - 0.2 * n;
            dib.GetRowPtr(y)[i] = std::uint8_t(std::clamp(int(v), 0, 255));
        }
    }
    return true;
}

} // namespace reference
