// RowBands: runs a row loop on two cores, the calling thread taking the first band.
#pragma once

#include <functional>

namespace imaging {

using RowStart = std::function<void(int row)>;
// Processes rows [begin, end); calls (*onRowStart)(row) before each row when it is given.
using RowWork = std::function<void(int begin, int end, const RowStart* onRowStart)>;

// Runs work over the rows [0, rows), split in two bands with the second on a helper thread
// when the job (cost, in pixels) is big enough to pay for the thread. onRowStart, when set,
// is called once for every row, in row order and always on the calling thread: by the
// first band as it goes, then for the helper's rows once they are done. Work on different
// rows must be independent.
// The first row of the second band when `rows` rows are split.
inline int SecondBandStart(int rows)
{
    return rows / 2;
}

void RunInRowBands(int rows, long long cost, const RowWork& work, const RowStart& onRowStart);

} // namespace imaging
