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
    // bottom, so only the row above needs keeping: each band keeps its own copies of the
    // rows it overwrites, plus the two rows at its edges that the other band overwrites.
    const std::size_t rowBytes = 3 * static_cast<std::size_t>(m_nWidth);
    const int inner = m_nHeight - 2; // rows 1 .. height - 2
    imaging::RowStart onRowStart;
    if (m_pfnProgress) {
        const int height = m_nHeight;
        onRowStart = [this, height](int k) { m_pfnProgress(k + 1, height, m_pProgressParam); };
    }
    // Edge rows of both possible bands, copied before any band starts writing.
    const int split = imaging::SecondBandStart(inner) + 1;
    std::vector<std::uint8_t> edges(2 * rowBytes);
    std::memcpy(edges.data(), GetRowPtr(split - 1), rowBytes);
    std::memcpy(edges.data() + rowBytes, GetRowPtr(split), rowBytes);
    imaging::RunInRowBands(
        inner, static_cast<long long>(inner) * m_nWidth,
        [&](int begin, int end, const imaging::RowStart* report) {
            const int firstRow = begin + 1, endRow = end + 1;
            std::vector<std::uint8_t> above(rowBytes), current(rowBytes);
            std::memcpy(above.data(), firstRow == split ? edges.data() : GetRowPtr(firstRow - 1), rowBytes);
            for (int y = firstRow; y < endRow; ++y) {
                if (report)
                    (*report)(y - 1);
                std::uint8_t* row = GetRowPtr(y);
                std::memcpy(current.data(), row, rowBytes);
                const std::uint8_t* below = (y + 1 == split && endRow == split) ? edges.data() + rowBytes : GetRowPtr(y + 1);
                imaging::SharpenRow(above.data(), current.data(), below, row, m_nWidth);
                above.swap(current);
            }
        },
        onRowStart);
    return true;
}
