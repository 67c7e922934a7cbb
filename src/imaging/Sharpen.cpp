// CDib::Sharpen and CDib::SharpenArea: the 3 x 3 kernel (centre 2.6, neighbours -0.2) over
// the inner pixels of the surface or of a rectangle of it.
#include "Dib.h"

#include "RowBands.h"
#include "SharpenRow.h"

#include <algorithm>
#include <cstring>
#include <vector>

bool CDib::Sharpen()
{
    return SharpenArea(0, 0, m_nWidth, m_nHeight);
}

bool CDib::SharpenArea(int left, int top, int right, int bottom)
{
    if (!m_bCreated || m_nFormat != DIB_24BPP || m_nWidth < 3 || m_nHeight < 3)
        return false;
    // The outermost rows and columns are never filtered.
    const int firstColumn = std::max(left, 1), endColumn = std::min(right, m_nWidth - 1);
    const int firstRow = std::max(top, 1), endRow = std::min(bottom, m_nHeight - 1);
    if (firstColumn >= endColumn || firstRow >= endRow)
        return true;
    // Every output reads the picture as it was before filtering. Rows are filtered top to
    // bottom, so within a band only the row above needs keeping; the rows on either side of
    // each band boundary, which the neighbouring band overwrites, are copied before any band
    // starts. Only the columns filtered and one on either side are read.
    const int span = endColumn - firstColumn + 2; // pixels read in a row
    const std::size_t spanBytes = 3 * static_cast<std::size_t>(span);
    const std::size_t spanOffset = 3 * static_cast<std::size_t>(firstColumn - 1);
    const auto spanOf = [&](int y) { return GetRowPtr(y) + spanOffset; };
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
