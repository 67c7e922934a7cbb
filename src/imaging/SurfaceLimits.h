// Size limits and the row layout rule shared by the surface, the decoders and the scalers.
#pragma once

#include <cstddef>
#include <cstdint>

namespace imaging {

// Largest side a picture may have: the scalers walk sources in 16.16 fixed point.
inline constexpr int kMaxPictureSide = 32767;
// Largest picture, in pixels, that a decoder may allocate for.
inline constexpr std::int64_t kMaxPicturePixels = 128LL * 1024 * 1024;
// A surface (a window composition of two pages, say) may be larger than one picture.
inline constexpr int kMaxSurfaceSide = 1 << 20;
inline constexpr std::size_t kMaxSurfaceBytes = std::size_t(1) << 31;
// Bytes allocated after the last row so that a 32-bit load of the last pixel stays inside.
inline constexpr std::size_t kRowSlackBytes = 16;

inline std::size_t StrideFor(int width, int bitsPerPixel)
{
    return ((static_cast<std::size_t>(width) * bitsPerPixel + 31) >> 5) * 4;
}

} // namespace imaging
