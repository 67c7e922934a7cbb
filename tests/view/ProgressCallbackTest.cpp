// The progress callback's arithmetic: what the image operations' reports put on the bar.
#include "view/FrameHost.h"

#include <gtest/gtest.h>

#include <climits>
#include <vector>

namespace {

class RecordingHost : public CFrameHost {
public:
    std::vector<int> positions;
    void ShowPageStatus(const QString&) override {}
    void SetProgressPos(int position) override { positions.push_back(position); }
    void PostCommand(int) override {}
};

int PositionFor(int done, int total) {
    RecordingHost host;
    ProgressCallback(done, total, &host);
    return host.positions.empty() ? -1 : host.positions.back();
}

} // namespace

TEST(ProgressCallback, PercentIsTruncatedNotRounded) {
    EXPECT_EQ(PositionFor(0, 3), 0);
    EXPECT_EQ(PositionFor(1, 3), 33);
    EXPECT_EQ(PositionFor(2, 3), 66);
    EXPECT_EQ(PositionFor(199, 200), 99);
    EXPECT_EQ(PositionFor(3, 3), 100);
}

TEST(ProgressCallback, ZeroTotalSetsNothingInsteadOfDividingByZero) {
    EXPECT_EQ(PositionFor(0, 0), -1);
    EXPECT_EQ(PositionFor(5, -2), -1);
}

TEST(ProgressCallback, LargeCountsDoNotOverflow) {
    EXPECT_EQ(PositionFor(INT_MAX / 2, INT_MAX), 49);
    EXPECT_EQ(PositionFor(INT_MAX, INT_MAX), 100);
}

TEST(ProgressCallback, PositionStaysInsideTheBarsRange) {
    EXPECT_EQ(PositionFor(7, 5), 100);
    EXPECT_EQ(PositionFor(-1, 5), 0);
}

TEST(ProgressCallback, NoFrameIsIgnored) {
    ProgressCallback(1, 2, nullptr);
}

