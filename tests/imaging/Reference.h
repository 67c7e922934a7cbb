// Plain transcriptions of the scaling and sharpen rules, one pixel at a time, that the
// program's kernels must match byte for byte.
#pragma once

#include "imaging/Dib.h"

#include <array>

namespace reference {

using Rects = std::array<int, 8>; // destination then source: left, top, right, bottom

bool StretchTo(const CDib& src, CDib& dest, const Rects& rects);
bool SmoothStretchTo(const CDib& src, CDib& dest, const Rects& rects);
bool Sharpen(CDib& dib);

} // namespace reference
