// SmoothColumns: the per-column part of four-neighbour interpolation (which source columns,
// how far between them), planned once per scale and used for every destination row.
#pragma once

#include <cstdint>
#include <vector>

namespace imaging {

class SmoothColumns {
public:
    // Plans `count` destination columns starting at 16.16 position fx0, advancing by step,
    // over a source `sourceWidth` pixels wide (columns outside it read its edge).
    void Plan(std::int64_t fx0, std::int64_t step, int count, int sourceWidth);
    // Writes the planned columns of one destination row (three bytes per pixel) from the
    // upper and lower source rows; dy0 is the distance below the upper row in 1/65536.
    void DrawRow(const std::uint8_t* upper, const std::uint8_t* lower, std::uint32_t dy0, std::uint8_t* out) const;

private:
    void DrawScalar(int begin, const std::uint8_t* upper, const std::uint8_t* lower, std::uint32_t dy0,
                    std::uint8_t* out) const;
    int DrawVector(const std::uint8_t* upper, const std::uint8_t* lower, std::uint32_t dy0, std::uint8_t* out) const;

    std::vector<std::int32_t> m_left;  // byte offset of column c in a row
    std::vector<std::int32_t> m_right; // byte offset of column c + 1
    std::vector<std::int32_t> m_dx0;   // distance right of column c
    int m_count = 0;
};

// The interpolated value of one pixel: each of the four neighbours weighs 2^24 over its
// distance from the sampling point; a neighbour at distance 0 is taken as it is.
void InterpolatePixel(const std::uint8_t* a0, const std::uint8_t* a1, const std::uint8_t* b0, const std::uint8_t* b1,
                      std::uint32_t dx0, std::uint32_t dy0, std::uint8_t* out);

} // namespace imaging
