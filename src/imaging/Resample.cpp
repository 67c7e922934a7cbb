// The two scalers of CDib: nearest neighbour (StretchTo) and four-neighbour interpolation
// (SmoothStretchTo), walking the source in 16.16 fixed point.
#include "Dib.h"

#include "ResamplePlan.h"
#include "RowBands.h"
#include "SmoothScale.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace {

using imaging::ResamplePlan;

// Positions outside the source read the nearest edge pixel.
int ClampIndex(std::int64_t position, int size)
{
    const std::int64_t i = position >> 16;
    return static_cast<int>(std::clamp<std::int64_t>(i, 0, size - 1));
}

bool AcceptsSource(const CDib& src)
{
    return src.IsCreated() && src.GetWidth() <= imaging::kMaxResampleSide
        && src.GetHeight() <= imaging::kMaxResampleSide;
}

} // namespace

bool CDib::StretchTo(CDib* dest, int dL, int dT, int dR, int dB, int sL, int sT, int sR, int sB) const
{
    if (!dest || !dest->IsCreated() || !AcceptsSource(*this))
        return false;
    ResamplePlan plan;
    if (!imaging::PlanResample(m_nWidth, m_nHeight, dest->m_nWidth, dest->m_nHeight,
                               {dL, dT, dR, dB, sL, sT, sR, sB}, false, plan))
        return false;
    const int cols = plan.x1 - plan.x0;
    const int rows = plan.y1 - plan.y0;
    if (cols <= 0 || rows <= 0)
        return true;
    std::vector<std::uint32_t> columnOffset(static_cast<std::size_t>(cols));
    std::int64_t fx = plan.fx0;
    for (int i = 0; i < cols; ++i, fx += plan.stepX)
        columnOffset[static_cast<std::size_t>(i)] = 3u * static_cast<std::uint32_t>(ClampIndex(fx, m_nWidth));
    const std::uint32_t* offsets = columnOffset.data();
    std::int64_t fy = plan.fy0;
    int previousSource = -1;
    std::uint8_t* previousOut = nullptr;
    for (int k = 0; k < rows; ++k, fy += plan.stepY) {
        const int sourceRow = ClampIndex(fy, m_nHeight);
        std::uint8_t* out = dest->GetRowPtr(plan.y0 + k) + 3 * static_cast<std::size_t>(plan.x0);
        if (sourceRow == previousSource) {
            std::memcpy(out, previousOut, 3 * static_cast<std::size_t>(cols)); // an enlarged row repeats
            continue;
        }
        const std::uint8_t* in = GetRowPtr(sourceRow);
        // Four-byte moves; each overlaps the next pixel, which is written right after.
        for (int i = 0; i + 1 < cols; ++i)
            std::memcpy(out + 3 * i, in + offsets[i], 4);
        std::memcpy(out + 3 * (cols - 1), in + offsets[cols - 1], 3);
        previousSource = sourceRow;
        previousOut = out;
    }
    return true;
}

bool CDib::SmoothStretchTo(CDib* dest, int dL, int dT, int dR, int dB, int sL, int sT, int sR, int sB) const
{
    if (!dest)
        return false;
    imaging::SmoothScale scale;
    if (!scale.Plan(*this, *dest, {dL, dT, dR, dB, sL, sT, sR, sB}))
        return false;
    if (scale.Rows() <= 0)
        return true;
    imaging::RowStart onRowStart;
    if (m_pfnProgress) {
        onRowStart = [this, total = scale.ProgressTotal()](int k) { m_pfnProgress(k, total, m_pProgressParam); };
    }
    imaging::RunInRowBands(
        scale.Rows(), static_cast<long long>(scale.Rows()) * scale.Columns(),
        [&scale](int begin, int end, const imaging::RowStart* report) { scale.DrawRows(begin, end, report); },
        onRowStart);
    return true;
}

namespace imaging {

bool SmoothScale::Plan(const CDib& source, CDib& dest, const ResampleRects& rects)
{
    if (!dest.IsCreated() || !AcceptsSource(source))
        return false;
    if (!PlanResample(source.GetWidth(), source.GetHeight(), dest.GetWidth(), dest.GetHeight(), rects, true, m_plan))
        return false;
    m_source = &source;
    m_dest = &dest;
    m_columnCount = std::max(m_plan.x1 - m_plan.x0, 0);
    m_rows = std::max(m_plan.y1 - m_plan.y0 + 1, 0); // the bottom row is drawn too
    m_columns.Plan(m_plan.fx0, m_plan.stepX, m_columnCount, source.GetWidth());
    return true;
}

int SmoothScale::LastSourceRow(int k) const
{
    const std::int64_t fy = m_plan.fy0 + m_plan.stepY * k;
    return std::max(ClampIndex(fy, m_source->GetHeight()), ClampIndex(fy + 65536, m_source->GetHeight()));
}

void SmoothScale::DrawRows(int begin, int end, const RowStart* report) const
{
    if (begin >= end)
        return;
    const int height = m_source->GetHeight();
    for (int k = begin; k < end; ++k) {
        if (report)
            (*report)(k);
        const std::int64_t fy = m_plan.fy0 + m_plan.stepY * k;
        const int upper = ClampIndex(fy, height);
        const int lower = ClampIndex(fy + 65536, height);
        std::uint8_t* out = m_dest->GetRowPtr(m_plan.y0 + k) + 3 * static_cast<std::size_t>(m_plan.x0);
        m_columns.DrawRow(m_source->GetRowPtr(upper), m_source->GetRowPtr(lower), static_cast<std::uint32_t>(fy & 0xFFFF),
                          out);
    }
}

} // namespace imaging
