#include "RowBands.h"

#include <system_error>
#include <thread>

namespace imaging {

namespace {
// Below this many pixels starting a thread costs more than it saves.
constexpr long long kMinPixelsToSplit = 1LL << 17;
} // namespace

void RunInRowBands(int rows, long long cost, const RowWork& work, const RowStart& onRowStart)
{
    if (rows <= 0)
        return;
    const RowStart* report = onRowStart ? &onRowStart : nullptr;
    if (rows < 2 || cost < kMinPixelsToSplit || std::thread::hardware_concurrency() < 2) {
        work(0, rows, report);
        return;
    }
    const int split = SecondBandStart(rows);
    std::thread helper;
    try {
        helper = std::thread([&work, split, rows] { work(split, rows, nullptr); });
    } catch (const std::system_error&) {
        work(0, rows, report); // no thread to be had: do it all here
        return;
    }
    work(0, split, report);
    helper.join();
    for (int row = split; report && row < rows; ++row)
        onRowStart(row);
}

} // namespace imaging
