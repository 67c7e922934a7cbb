#include "ResamplePlan.h"

#include <cmath>

namespace imaging {

namespace {

// Source coordinates beyond this bound are far outside any source a scaler accepts, so
// saturating them changes no drawn pixel (they read the edge either way).
constexpr double kPositionBound = 1099511627776.0; // 2^40
// A step beyond 2^32 moves past any accepted source in one pixel.
constexpr double kStepBound = 4294967296.0; // 2^32

int Clamp(int v, int limit)
{
    if (v < 0)
        v = 0;
    if (v >= limit)
        v = limit;
    return v;
}

// Truncation toward zero that saturates instead of overflowing (and maps NaN to 0).
std::int64_t TruncSaturated(double v, double bound)
{
    if (std::isnan(v))
        return 0;
    if (v > bound)
        return static_cast<std::int64_t>(bound);
    if (v < -bound)
        return -static_cast<std::int64_t>(bound);
    return static_cast<std::int64_t>(v);
}

double Ratio(int srcLow, int srcHigh, int dstLow, int dstHigh)
{
    const std::int64_t srcSpan = static_cast<std::int64_t>(srcHigh) - srcLow + 1;
    const std::int64_t dstSpan = static_cast<std::int64_t>(dstHigh) - dstLow + 1;
    return static_cast<double>(srcSpan) / static_cast<double>(dstSpan);
}

// One axis of the setup: the first source position and the step, from the clamped corners.
void PlanAxis(int d0, int d1, int dLow, int dHigh, int sLowClamped, int sHighClamped, double ratio,
              std::int64_t& first, std::int64_t& step)
{
    const std::int64_t s0 = sLowClamped
        + TruncSaturated(static_cast<double>(static_cast<std::int64_t>(d0) - dLow) * ratio, kPositionBound);
    const std::int64_t s1 = sHighClamped
        + TruncSaturated(static_cast<double>(static_cast<std::int64_t>(d1) - dHigh) * ratio, kPositionBound);
    const double span = static_cast<double>(s1 - s0 + 1) / static_cast<double>(d1 - d0 + 1);
    step = TruncSaturated(span * 65536.0, kStepBound);
    first = s0 * 65536;
}

} // namespace

bool PlanResample(int srcW, int srcH, int dstW, int dstH, const ResampleRects& r, bool smooth, ResamplePlan& plan)
{
    const double ratioX = Ratio(r.sL, r.sR, r.dL, r.dR);
    const double ratioY = Ratio(r.sT, r.sB, r.dT, r.dB);
    plan.x0 = Clamp(r.dL, dstW - 1);
    plan.x1 = Clamp(r.dR, dstW - 1);
    plan.y0 = Clamp(r.dT, dstH - 1);
    plan.y1 = Clamp(r.dB, dstH - 1);
    if ((plan.x0 == dstW - 1 && plan.x1 == dstW - 1) || (plan.y0 == dstH - 1 && plan.y1 == dstH - 1)
        || (plan.x0 == 0 && plan.x1 == 0) || (plan.y0 == 0 && plan.y1 == 0))
        return false;
    const int edgeIn = smooth ? 2 : 1;
    const int sL = Clamp(r.sL, srcW - 1), sT = Clamp(r.sT, srcH - 1);
    const int sR = Clamp(r.sR, srcW - edgeIn), sB = Clamp(r.sB, srcH - edgeIn);
    PlanAxis(plan.x0, plan.x1, r.dL, r.dR, sL, sR, ratioX, plan.fx0, plan.stepX);
    PlanAxis(plan.y0, plan.y1, r.dT, r.dB, sT, sB, ratioY, plan.fy0, plan.stepY);
    return true;
}

} // namespace imaging
