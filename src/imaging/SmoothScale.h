// SmoothScale: one four-neighbour scale of a source surface into a destination, planned
// once, drawn a range of destination rows at a time: the rows of CDib::SmoothStretchTo, which
// runs it in bands, and of the streamed turn, which runs it as the source rows arrive.
#pragma once

#include "Dib.h"
#include "ResamplePlan.h"
#include "RowBands.h"
#include "SmoothRow.h"

#include <QRect>

namespace imaging {

// The area a smooth scale into `destination` draws: the row below the rectangle too.
inline QRect SmoothlyDrawnArea(const QRect& destination)
{
    return destination.adjusted(0, 0, 0, 1);
}

class SmoothScale {
public:
    // False when SmoothStretchTo refuses the rectangles (nothing is drawn then).
    bool Plan(const CDib& source, CDib& dest, const ResampleRects& rects);
    // Destination rows drawn, the row below the rectangle included, and the total the
    // progress reports count to.
    int Rows() const { return m_rows; }
    int ProgressTotal() const { return m_plan.y1 - m_plan.y0; }
    int Columns() const { return m_columnCount; }
    // The destination surface row of scale row k, and the last source row (the lowest on
    // the picture) that it reads.
    int DestinationRow(int k) const { return m_plan.y0 + k; }
    int LastSourceRow(int k) const;
    // Draws scale rows [begin, end); calls (*report)(k) before row k when it is given.
    void DrawRows(int begin, int end, const RowStart* report) const;

private:
    const CDib* m_source = nullptr;
    CDib* m_dest = nullptr;
    ResamplePlan m_plan;
    SmoothColumns m_columns;
    int m_rows = 0;
    int m_columnCount = 0;
};

} // namespace imaging
