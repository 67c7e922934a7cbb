// The sharpen's areas on a composed page, and the sharpen that follows a surface's rows as
// they become final.
#pragma once

#include "Dib.h"

#include <QRect>
#include <cstdint>
#include <vector>

namespace imaging {

// The areas to sharpen for pages drawn on white: white around white stays white, so only
// the pages and the pixel ring around each need the filter. Areas closer than that to each
// other are joined, so that no area reads pixels another one has already filtered.
std::vector<QRect> SharpenAreas(const std::vector<QRect>& drawn);

// The pixels of [left, right) x [top, bottom) that the sharpen filters: never the outermost
// rows and columns. Empty when there are none or the surface cannot be sharpened.
struct SharpenSpan {
    int firstColumn = 0, endColumn = 0, firstRow = 0, endRow = 0;
    bool IsEmpty() const { return firstColumn >= endColumn || firstRow >= endRow; }
};
SharpenSpan InnerSpan(const CDib& surface, int left, int top, int right, int bottom);

// Sharpens areas of a surface from the top down while the rows below are still being
// drawn: a row is filtered once the row under it is final. Each area ends as
// CDib::SharpenArea leaves it.
class SharpenFollower {
public:
    SharpenFollower(CDib& surface, const std::vector<QRect>& areas);
    // Filters the rows whose neighbours lie in the final rows [0, finalRows).
    void Advance(int finalRows);
    // The first row not yet filtered, and the surface's height, for progress reports.
    int NextRow() const { return m_nextRow; }
    int Height() const { return m_surface.GetHeight(); }

private:
    struct Area {
        SharpenSpan span;
        std::vector<std::uint8_t> above; // the row above the next one, as it was
        std::vector<std::uint8_t> current;
    };
    CDib& m_surface;
    std::vector<Area> m_areas;
    int m_nextRow = 0;
    int m_endRow = 0;
};

} // namespace imaging
