#include "imaging/RowBands.h"

#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <thread>
#include <vector>

namespace {

TEST(RowBands, PlannedBandsCoverEveryRowOnceInOrder)
{
    for (const auto& [rows, cost] : {std::pair{1, 1LL << 30}, std::pair{7, 1LL << 30}, std::pair{1080, 1LL << 21},
                                     std::pair{3507, 1LL << 23}, std::pair{500, 100LL}}) {
        const std::vector<int> bounds = imaging::PlanBands(rows, cost);
        ASSERT_GE(bounds.size(), 2u);
        EXPECT_EQ(bounds.front(), 0);
        EXPECT_EQ(bounds.back(), rows);
        for (std::size_t b = 1; b < bounds.size(); ++b)
            ASSERT_LT(bounds[b - 1], bounds[b]) << rows << " rows: an empty band";
    }
    EXPECT_EQ(imaging::PlanBands(500, 100).size(), 2u); // too small to split
}

TEST(RowBands, EveryRowIsWorkedOnceAndReportedInOrderOnTheCallingThread)
{
    const int rows = 2000;
    const std::vector<int> bounds = imaging::PlanBands(rows, 1LL << 22);
    ASSERT_GT(bounds.size(), 3u);
    auto visits = std::make_unique<std::atomic<int>[]>(rows);
    std::vector<int> reported;
    const std::thread::id caller = std::this_thread::get_id();
    bool reportedElsewhere = false;
    imaging::RunBands(
        bounds,
        [&](int begin, int end, const imaging::RowStart* report) {
            for (int row = begin; row < end; ++row) {
                if (report)
                    (*report)(row);
                visits[static_cast<std::size_t>(row)].fetch_add(1);
            }
        },
        [&](int row) {
            reportedElsewhere |= std::this_thread::get_id() != caller;
            reported.push_back(row);
        });
    for (int row = 0; row < rows; ++row)
        ASSERT_EQ(visits[static_cast<std::size_t>(row)].load(), 1) << "row " << row;
    EXPECT_FALSE(reportedElsewhere);
    ASSERT_EQ(reported.size(), static_cast<std::size_t>(rows));
    for (int row = 0; row < rows; ++row)
        ASSERT_EQ(reported[static_cast<std::size_t>(row)], row);
}

} // namespace
