#include "Reference.h"

#include <cmath>
#include <cstdint>
#include <vector>

namespace reference {

namespace {

using i64 = std::int64_t;

int Clamp(int v, int limit)
{
    if (v < 0)
        v = 0;
    if (v >= limit)
        v = limit;
    return v;
}

// trunc() of the rules; values the 32-bit walk could never hold saturate instead of
// overflowing (they only ever address the source's edge).
i64 Trunc(double v, double bound)
{
    if (std::isnan(v))
        return 0;
    if (v > bound)
        return static_cast<i64>(bound);
    if (v < -bound)
        return static_cast<i64>(-bound);
    return static_cast<i64>(v);
}

struct Setup {
    int x0, x1, y0, y1;
    i64 sx0, sy0, stepX, stepY;
};

bool MakeSetup(const CDib& src, const CDib& dest, int dL, int dT, int dR, int dB, int sL, int sT, int sR, int sB,
               int edgeIn, Setup& s)
{
    const int srcW = src.GetWidth(), srcH = src.GetHeight(), dstW = dest.GetWidth(), dstH = dest.GetHeight();
    const double ratioX = double(i64(sR) - sL + 1) / double(i64(dR) - dL + 1);
    const double ratioY = double(i64(sB) - sT + 1) / double(i64(dB) - dT + 1);
    s.x0 = Clamp(dL, dstW - 1);
    s.x1 = Clamp(dR, dstW - 1);
    s.y0 = Clamp(dT, dstH - 1);
    s.y1 = Clamp(dB, dstH - 1);
    if ((s.x0 == dstW - 1 && s.x1 == dstW - 1) || (s.y0 == dstH - 1 && s.y1 == dstH - 1) || (s.x0 == 0 && s.x1 == 0)
        || (s.y0 == 0 && s.y1 == 0))
        return false;
    const int cL = Clamp(sL, srcW - 1), cT = Clamp(sT, srcH - 1);
    const int cR = Clamp(sR, srcW - edgeIn), cB = Clamp(sB, srcH - edgeIn);
    const double big = 1099511627776.0;
    s.sx0 = cL + Trunc(double(i64(s.x0) - dL) * ratioX, big);
    s.sy0 = cT + Trunc(double(i64(s.y0) - dT) * ratioY, big);
    const i64 sx1 = cR + Trunc(double(i64(s.x1) - dR) * ratioX, big);
    const i64 sy1 = cB + Trunc(double(i64(s.y1) - dB) * ratioY, big);
    s.stepX = Trunc((double(sx1 - s.sx0 + 1) / double(s.x1 - s.x0 + 1)) * 65536.0, 4294967296.0);
    s.stepY = Trunc((double(sy1 - s.sy0 + 1) / double(s.y1 - s.y0 + 1)) * 65536.0, 4294967296.0);
    return true;
}

// A source pixel; positions outside the source read its nearest edge.
const std::uint8_t* Pixel(const CDib& src, i64 col, i64 row)
{
    col = col < 0 ? 0 : col >= src.GetWidth() ? src.GetWidth() - 1 : col;
    row = row < 0 ? 0 : row >= src.GetHeight() ? src.GetHeight() - 1 : row;
    return src.GetRowPtr(int(row)) + 3 * col;
}

} // namespace

bool StretchTo(const CDib& src, CDib& dest, int dL, int dT, int dR, int dB, int sL, int sT, int sR, int sB)
{
    Setup s;
    if (!src.IsCreated() || !dest.IsCreated() || !MakeSetup(src, dest, dL, dT, dR, dB, sL, sT, sR, sB, 1, s))
        return false;
    i64 fy = s.sy0 * 65536;
    for (int y = s.y0; y < s.y1; ++y) {
        i64 fx = s.sx0 * 65536;
        for (int x = s.x0; x < s.x1; ++x) {
            const std::uint8_t* p = Pixel(src, fx >> 16, fy >> 16);
            std::uint8_t* o = dest.GetRowPtr(y) + 3 * x;
            o[0] = p[0];
            o[1] = p[1];
            o[2] = p[2];
            fx += s.stepX;
        }
        fy += s.stepY;
    }
    return true;
}

bool SmoothStretchTo(const CDib& src, CDib& dest, int dL, int dT, int dR, int dB, int sL, int sT, int sR, int sB)
{
    Setup s;
    if (!src.IsCreated() || !dest.IsCreated() || !MakeSetup(src, dest, dL, dT, dR, dB, sL, sT, sR, sB, 2, s))
        return false;
    i64 fy = s.sy0 * 65536;
    for (int y = s.y0; y <= s.y1; ++y) {
        const i64 r = fy >> 16;
        const i64 dy0 = fy & 0xFFFF, dy1 = 65536 - dy0;
        i64 fx = s.sx0 * 65536;
        for (int x = s.x0; x < s.x1; ++x) {
            const i64 c = fx >> 16;
            const i64 dx0 = fx & 0xFFFF, dx1 = 65536 - dx0;
            const std::uint8_t* a0 = Pixel(src, c, r);
            const std::uint8_t* a1 = Pixel(src, c + 1, r);
            const std::uint8_t* b0 = Pixel(src, c, r + 1);
            const std::uint8_t* b1 = Pixel(src, c + 1, r + 1);
            const i64 da0 = (dx0 + dy0) / 2, da1 = (dx1 + dy0) / 2, db0 = (dx0 + dy1) / 2, db1 = (dx1 + dy1) / 2;
            std::uint8_t* o = dest.GetRowPtr(y) + 3 * x;
            for (int ch = 0; ch < 3; ++ch) {
                if (da0 == 0)
                    o[ch] = a0[ch];
                else if (da1 == 0)
                    o[ch] = a1[ch];
                else if (db0 == 0)
                    o[ch] = b0[ch];
                else if (db1 == 0)
                    o[ch] = b1[ch];
                else {
                    const i64 wa0 = 16777216 / da0, wa1 = 16777216 / da1, wb0 = 16777216 / db0, wb1 = 16777216 / db1;
                    o[ch] = std::uint8_t((wa0 * a0[ch] + wa1 * a1[ch] + wb0 * b0[ch] + wb1 * b1[ch])
                                         / (wa0 + wa1 + wb0 + wb1));
                }
            }
            fx += s.stepX;
        }
        fy += s.stepY;
    }
    return true;
}

bool Sharpen(CDib& dib)
{
    if (!dib.IsCreated() || dib.GetFormat() != DIB_24BPP || dib.GetWidth() < 3 || dib.GetHeight() < 3)
        return false;
    const int w = dib.GetWidth(), h = dib.GetHeight();
    std::vector<std::vector<std::uint8_t>> copy;
    for (int y = 0; y < h; ++y)
        copy.emplace_back(dib.GetRowPtr(y), dib.GetRowPtr(y) + 3 * w);
    for (int y = 1; y <= h - 2; ++y) {
        const std::uint8_t* U = copy[y - 1].data();
        const std::uint8_t* C = copy[y].data();
        const std::uint8_t* D = copy[y + 1].data();
        std::uint8_t* O = dib.GetRowPtr(y);
        for (int i = 3; i <= 3 * (w - 1) - 1; ++i) {
            double s = 0.2 * U[i - 3];
            s = s + 0.2 * U[i];
            s = s + 0.2 * U[i + 3];
            s = s + 0.2 * C[i - 3];
            double v = 2.6 * C[i];
            v = v - s;
            v = v - 0.2 * C[i + 3];
            v = v - 0.2 * D[i - 3];
            v = v - 0.2 * D[i];
            v = v - 0.2 * D[i + 3];
            int t = int(v);
            t = t >= 255 ? 255 : t <= 0 ? 0 : t;
            O[i] = std::uint8_t(t);
        }
    }
    return true;
}

} // namespace reference
