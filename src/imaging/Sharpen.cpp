// CDib::Sharpen and CDib::SharpenArea: the 3 x 3 kernel (centre 2.6, neighbours -0.2) over
// the inner pixels of the surface or of a rectangle of it.
#include "Dib.h"

#include "RowBands.h"
#include "Sharpen.h"
#include "SharpenRow.h"

#include <algorithm>
#include <cstring>
#include <vector>

bool CDib::Sharpen()
{
    return SharpenArea(0, 0, m_nWidth, m_nHeight);
}

namespace {

bool CanSharpen(const CDib& surface)
{
    return surface.IsCreated() && surface.GetFormat() == DIB_24BPP && surface.GetWidth() >= 3
        && surface.GetHeight() >= 3;
}

std::size_t SpanBytes(const imaging::SharpenSpan& span)
{
    return 3 * static_cast<std::size_t>(span.endColumn - span.firstColumn + 2);
}

// The bytes of a row that filtering the span reads: its columns and one on either side.
std::uint8_t* SpanStart(const CDib& surface, const imaging::SharpenSpan& span, int y)
{
    return surface.GetRowPtr(y) + 3 * static_cast<std::size_t>(span.firstColumn - 1);
}

} // namespace

namespace imaging {

SharpenSpan InnerSpan(const CDib& surface, int left, int top, int right, int bottom)
{
    if (!CanSharpen(surface))
        return {};
    return {std::max(left, 1), std::min(right, surface.GetWidth() - 1), std::max(top, 1),
            std::min(bottom, surface.GetHeight() - 1)};
}

std::vector<QRect> SharpenAreas(const std::vector<QRect>& drawn)
{
    std::vector<QRect> areas;
    for (const QRect& page : drawn) {
        if (page.isEmpty())
            continue;
        QRect area = page.adjusted(-1, -1, 1, 1);
        for (auto other = areas.begin(); other != areas.end();) {
            if (other->adjusted(-1, -1, 1, 1).intersects(area)) {
                area |= *other;
                other = areas.erase(other);
                other = areas.begin(); // the grown area may now reach an earlier one
            } else {
                ++other;
            }
        }
        areas.push_back(area);
    }
    return areas;
}

SharpenFollower::SharpenFollower(CDib& surface, const std::vector<QRect>& areas) : m_surface(surface)
{
    for (const QRect& area : areas) {
        const SharpenSpan span = InnerSpan(surface, area.left(), area.top(), area.right() + 1, area.bottom() + 1);
        if (span.IsEmpty())
            continue;
        m_areas.push_back({span, std::vector<std::uint8_t>(SpanBytes(span)), std::vector<std::uint8_t>(SpanBytes(span))});
        m_endRow = std::max(m_endRow, span.endRow);
    }
    m_nextRow = m_endRow;
    for (const Area& area : m_areas)
        m_nextRow = std::min(m_nextRow, area.span.firstRow);
}

void SharpenFollower::Advance(int finalRows)
{
    for (; m_nextRow < m_endRow && m_nextRow + 1 < finalRows; ++m_nextRow) {
        const int y = m_nextRow;
        for (Area& area : m_areas) {
            if (y < area.span.firstRow || y >= area.span.endRow)
                continue;
            const std::size_t bytes = area.current.size();
            if (y == area.span.firstRow)
                std::memcpy(area.above.data(), SpanStart(m_surface, area.span, y - 1), bytes);
            std::uint8_t* row = SpanStart(m_surface, area.span, y);
            std::memcpy(area.current.data(), row, bytes);
            SharpenRow(area.above.data(), area.current.data(), SpanStart(m_surface, area.span, y + 1), row,
                       area.span.endColumn - area.span.firstColumn + 2);
            area.above.swap(area.current);
        }
    }
}

} // namespace imaging

bool CDib::SharpenArea(int left, int top, int right, int bottom)
{
    if (!CanSharpen(*this))
        return false;
    const imaging::SharpenSpan inner = imaging::InnerSpan(*this, left, top, right, bottom);
    if (inner.IsEmpty())
        return true;
    const int firstColumn = inner.firstColumn, endColumn = inner.endColumn;
    const int firstRow = inner.firstRow, endRow = inner.endRow;
    // Every output reads the picture as it was before filtering. Rows are filtered top to
    // bottom, so within a band only the row above needs keeping; the rows on either side of
    // each band boundary, which the neighbouring band overwrites, are copied before any band
    // starts. Only the columns filtered and one on either side are read.
    const int span = endColumn - firstColumn + 2; // pixels read in a row
    const std::size_t spanBytes = SpanBytes(inner);
    const auto spanOf = [&](int y) { return SpanStart(*this, inner, y); };
    const int rows = endRow - firstRow; // band row k being picture row firstRow + k
    const std::vector<int> bounds = imaging::PlanBands(rows, static_cast<long long>(rows) * span);
    const std::size_t boundaries = bounds.size() - 1; // one per band; the first one is never read
    std::vector<std::uint8_t> edges(2 * spanBytes * boundaries);
    const auto lastRowBefore = [&](std::size_t band) { return edges.data() + 2 * spanBytes * band; };
    const auto firstRowOf = [&](std::size_t band) { return edges.data() + 2 * spanBytes * band + spanBytes; };
    for (std::size_t band = 1; band < boundaries; ++band) {
        std::memcpy(lastRowBefore(band), spanOf(firstRow + bounds[band] - 1), spanBytes);
        std::memcpy(firstRowOf(band), spanOf(firstRow + bounds[band]), spanBytes);
    }
    imaging::RowStart onRowStart;
    if (m_pfnProgress) {
        const int height = m_nHeight;
        onRowStart = [this, height, firstRow](int k) { m_pfnProgress(firstRow + k, height, m_pProgressParam); };
    }
    imaging::RunBands(
        bounds,
        [&](int begin, int end, const imaging::RowStart* report) {
            std::size_t band = 0;
            while (bounds[band] != begin)
                ++band;
            const int bandFirst = firstRow + begin, bandEnd = firstRow + end;
            std::vector<std::uint8_t> above(spanBytes), current(spanBytes);
            std::memcpy(above.data(), band > 0 ? lastRowBefore(band) : spanOf(bandFirst - 1), spanBytes);
            const bool lastBand = band + 1 == boundaries;
            for (int y = bandFirst; y < bandEnd; ++y) {
                if (report)
                    (*report)(y - firstRow);
                std::uint8_t* row = spanOf(y);
                std::memcpy(current.data(), row, spanBytes);
                const std::uint8_t* below = (y + 1 == bandEnd && !lastBand) ? firstRowOf(band + 1) : spanOf(y + 1);
                imaging::SharpenRow(above.data(), current.data(), below, row, span);
                above.swap(current);
            }
        },
        onRowStart);
    return true;
}
