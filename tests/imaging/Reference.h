// Plain transcriptions of the scaling and sharpen rules, one pixel at a time, that the
// program's kernels must match byte for byte.
#pragma once

#include "imaging/Dib.h"

namespace reference {

bool StretchTo(const CDib& src, CDib& dest, int dL, int dT, int dR, int dB, int sL, int sT, int sR, int sB);
bool SmoothStretchTo(const CDib& src, CDib& dest, int dL, int dT, int dR, int dB, int sL, int sT, int sR, int sB);
bool Sharpen(CDib& dib);

} // namespace reference
