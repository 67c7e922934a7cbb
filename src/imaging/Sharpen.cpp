// CDib::Sharpen: the 3 x 3 kernel (centre 2.6, neighbours -0.2) over the inner pixels.
#include "Dib.h"

#include "RowBands.h"
#include "SharpenRow.h"

#include <cstring>
#include <vector>

bool CDib::Sharpen()
{
    if (!m_bCreated || m_nFormat != DIB_24BPP || m_nWidth < 3 || m_nHeight < 3)
        return false;
    // Every output reads the picture as it was before filtering. Rows are filtered top to
    // bottom, so within a band only the row above needs keeping; the rows on either side of
    // each band boundary, which the neighbouring band overwrites, are copied before any band
    // starts.
    const std::size_t rowBytes = 3 * static_cast<std::size_t>(m_nWidth);
    const int inner = m_nHeight - 2; // rows 1 .. height - 2, band row k being picture row k + 1
    const std::vector<int> bounds = imaging::PlanBands(inner, static_cast<long long>(inner) * m_nWidth);
    const std::size_t boundaries = bounds.size() - 1; // one per band; the first one is never read
    std::vector<std::uint8_t> edges(2 * rowBytes * boundaries);
    const auto lastRowBefore = [&](std::size_t band) { return edges.data() + 2 * rowBytes * band; };
    const auto firstRowOf = [&](std::size_t band) { return edges.data() + 2 * rowBytes * band + rowBytes; };
    for (std::size_t band = 1; band < boundaries; ++band) {
        std::memcpy(lastRowBefore(band), GetRowPtr(bounds[band]), rowBytes);
        std::memcpy(firstRowOf(band), GetRowPtr(bounds[band] + 1), rowBytes);
    }
    imaging::RowStart onRowStart;
    if (m_pfnProgress) {
        const int height = m_nHeight;
        onRowStart = [this, height](int k) { m_pfnProgress(k + 1, height, m_pProgressParam); };
    }
    imaging::RunBands(
        bounds,
        [&](int begin, int end, const imaging::RowStart* report) {
            std::size_t band = 0;
            while (bounds[band] != begin)
                ++band;
            const int firstRow = begin + 1, endRow = end + 1;
            std::vector<std::uint8_t> above(rowBytes), current(rowBytes);
            std::memcpy(above.data(), band > 0 ? lastRowBefore(band) : GetRowPtr(firstRow - 1), rowBytes);
            const bool lastBand = band + 1 == boundaries;
            for (int y = firstRow; y < endRow; ++y) {
                if (report)
                    (*report)(y - 1);
                std::uint8_t* row = GetRowPtr(y);
                std::memcpy(current.data(), row, rowBytes);
                const std::uint8_t* below = (y + 1 == endRow && !lastBand) ? firstRowOf(band + 1) : GetRowPtr(y + 1);
                imaging::SharpenRow(above.data(), current.data(), below, row, m_nWidth);
                above.swap(current);
            }
        },
        onRowStart);
    return true;
}
