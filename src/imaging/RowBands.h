// RowBands: runs a row loop on two cores, both threads taking bands of rows from one queue.
#pragma once

#include <functional>
#include <vector>

namespace imaging {

using RowStart = std::function<void(int row)>;
// Processes rows [begin, end); calls (*onRowStart)(row) before each row when it is given.
using RowWork = std::function<void(int begin, int end, const RowStart* onRowStart)>;

// Cuts the rows [0, rows) of a job costing `cost` (in pixels) into bands: the first row of
// each band, then `rows`. A job too small to pay for a second thread is one band.
std::vector<int> PlanBands(int rows, long long cost);

// Runs work over the planned bands. With more than one band a helper thread takes bands from
// the same queue as the calling thread, so a helper that a busy machine schedules late takes
// fewer bands; the call returns once the helper has ended. onRowStart, when set, is called once for every row, in
// row order and always on the calling thread: before each row of a band the caller runs
// after all earlier bands were reported, otherwise once the band is done. Work on different
// bands must be independent.
void RunBands(const std::vector<int>& bounds, const RowWork& work, const RowStart& onRowStart);

// PlanBands and RunBands in one.
void RunInRowBands(int rows, long long cost, const RowWork& work, const RowStart& onRowStart);

} // namespace imaging
