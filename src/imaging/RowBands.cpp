#include "RowBands.h"

#include <algorithm>
#include <atomic>
#include <memory>
#include <system_error>
#include <thread>

namespace imaging {

namespace {

// Below this many pixels starting a thread costs more than it saves.
constexpr long long kMinPixelsToSplit = 1LL << 17;
// Bands of about this many pixels keep the queue cheap and the last band short.
constexpr long long kPixelsPerBand = 1LL << 16;
constexpr long long kMaxBands = 32;

// The bands still to run and which of them are finished, shared by the calling thread and
// its helper.
class BandQueue {
public:
    BandQueue(const std::vector<int>& bounds, const RowWork& work)
        : m_bounds(bounds), m_work(work), m_count(static_cast<int>(bounds.size()) - 1),
          m_done(std::make_unique<std::atomic<bool>[]>(static_cast<std::size_t>(m_count)))
    {
    }

    int Count() const { return m_count; }
    int Claim() { return m_next.fetch_add(1, std::memory_order_relaxed); }
    bool IsDone(int band) const { return m_done[static_cast<std::size_t>(band)].load(std::memory_order_acquire); }
    int Begin(int band) const { return m_bounds[static_cast<std::size_t>(band)]; }
    int End(int band) const { return m_bounds[static_cast<std::size_t>(band) + 1]; }

    void Run(int band, const RowStart* report)
    {
        m_work(Begin(band), End(band), report);
        m_done[static_cast<std::size_t>(band)].store(true, std::memory_order_release);
    }

    void RunAll()
    {
        for (int band = Claim(); band < m_count; band = Claim())
            Run(band, nullptr);
    }

private:
    const std::vector<int>& m_bounds;
    const RowWork& m_work;
    const int m_count;
    std::atomic<int> m_next{0};
    std::unique_ptr<std::atomic<bool>[]> m_done;
};

} // namespace

std::vector<int> PlanBands(int rows, long long cost)
{
    if (rows <= 0)
        return {0};
    long long bands = 1;
    if (rows >= 2 && cost >= kMinPixelsToSplit && std::thread::hardware_concurrency() >= 2)
        bands = std::clamp(cost / kPixelsPerBand, 2LL, std::min<long long>(kMaxBands, rows));
    std::vector<int> bounds;
    for (long long b = 0; b <= bands; ++b)
        bounds.push_back(static_cast<int>(rows * b / bands));
    return bounds;
}

void RunBands(const std::vector<int>& bounds, const RowWork& work, const RowStart& onRowStart)
{
    BandQueue queue(bounds, work);
    if (queue.Count() <= 0)
        return;
    const RowStart* report = onRowStart ? &onRowStart : nullptr;
    std::jthread helper;
    if (queue.Count() > 1) {
        try {
            helper = std::jthread([&queue] { queue.RunAll(); });
        } catch (const std::system_error&) {
            // no thread to be had: the calling thread takes every band
        }
    }
    int reported = 0; // bands whose rows were all reported
    const auto reportBand = [&](int band) {
        for (int row = queue.Begin(band); report && row < queue.End(band); ++row)
            onRowStart(row);
    };
    for (int band = queue.Claim(); band < queue.Count(); band = queue.Claim()) {
        while (reported < band && queue.IsDone(reported))
            reportBand(reported++);
        const bool inOrder = reported == band;
        queue.Run(band, inOrder ? report : nullptr);
        if (inOrder)
            ++reported;
    }
    if (helper.joinable())
        helper.join(); // the bands the helper holds; it ends with the job
    while (reported < queue.Count())
        reportBand(reported++);
}

void RunInRowBands(int rows, long long cost, const RowWork& work, const RowStart& onRowStart)
{
    RunBands(PlanBands(rows, cost), work, onRowStart);
}

} // namespace imaging
