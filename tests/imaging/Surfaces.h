// Helpers for the imaging tests: surfaces filled from a seed or a picture, and comparison.
#pragma once

#include "imaging/Dib.h"

#include <QImage>
#include <cstdint>
#include <random>
#include <string>

namespace surfaces {

// Fills every pixel byte from the generator (padding is left alone).
inline void FillRandom(CDib& dib, std::mt19937& rng)
{
    std::uniform_int_distribution<int> byte(0, 255);
    for (int y = 0; y < dib.GetHeight(); ++y) {
        std::uint8_t* row = dib.GetRowPtr(y);
        for (int i = 0; i < 3 * dib.GetWidth(); ++i)
            row[i] = static_cast<std::uint8_t>(byte(rng));
    }
}

// The first pixel (x, y) where the two surfaces differ, or "" when they are equal.
inline std::string FirstDifference(const CDib& a, const CDib& b)
{
    if (a.GetWidth() != b.GetWidth() || a.GetHeight() != b.GetHeight())
        return "sizes differ";
    for (int y = 0; y < a.GetHeight(); ++y) {
        for (int x = 0; x < a.GetWidth(); ++x) {
            if (a.GetPixel(x, y) != b.GetPixel(x, y))
                return "pixel (" + std::to_string(x) + ", " + std::to_string(y) + "): "
                    + std::to_string(a.GetPixel(x, y)) + " vs " + std::to_string(b.GetPixel(x, y));
        }
    }
    return "";
}

inline QRgb Rgb(const CDib& dib, int x, int y)
{
    return 0xFF000000u | dib.GetPixel(x, y);
}

} // namespace surfaces
