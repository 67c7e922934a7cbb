// ResamplePlan: the setup shared by both scalers, from the rectangles to the clamped
// destination span, the first source position and the 16.16 steps.
#pragma once

#include <cstdint>

namespace imaging {

struct ResampleRects {
    int dL, dT, dR, dB; // destination rectangle, in destination pixels
    int sL, sT, sR, sB; // source rectangle, in source pixels
};

struct ResamplePlan {
    int x0 = 0, x1 = 0, y0 = 0, y1 = 0; // clamped destination corners
    // First source column and row and the steps, in 16.16 fixed point. They are 64-bit so
    // that no rectangle can overflow them; for every rectangle whose positions fit the
    // 32-bit walk they are the same numbers.
    std::int64_t fx0 = 0, fy0 = 0;
    std::int64_t stepX = 0, stepY = 0;
};

// Plans a scale of the rectangles between a srcW x srcH and a dstW x dstH surface.
// `smooth` keeps the right and bottom source edges one pixel in, so that every sample has a
// neighbour. Returns false when the destination rectangle lies wholly outside the surface.
bool PlanResample(int srcW, int srcH, int dstW, int dstH, const ResampleRects& r, bool smooth, ResamplePlan& plan);

// Largest source side the scalers accept: positions are walked in 16.16 fixed point.
inline constexpr int kMaxResampleSide = 32767;

} // namespace imaging
