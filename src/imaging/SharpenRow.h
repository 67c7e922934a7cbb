// SharpenRow: one row of the sharpen kernel, exact to the double-precision definition.
#pragma once

#include <cstdint>

namespace imaging {

// The kernel's value for one channel byte, in its defining double-precision order.
std::uint8_t SharpenByte(const std::uint8_t* above, const std::uint8_t* row, const std::uint8_t* below);

// Filters the channel bytes of columns 1 .. width - 2 of one row into `out`, reading the
// unfiltered rows above, at and below it (three bytes per pixel).
void SharpenRow(const std::uint8_t* above, const std::uint8_t* row, const std::uint8_t* below, std::uint8_t* out,
                int width);

} // namespace imaging
