// ProgressCallback: the bridge from the image operations' progress reports to the frame's
// progress bar.
#include "FrameHost.h"

#include <algorithm>
#include <cstdint>

void ProgressCallback(int done, int total, void* frame) {
    // A zero or negative total would divide by zero and a large `done` would overflow 32
    // bits: such reports set nothing, and the position never leaves the bar's 0..100.
    if (frame == nullptr || total <= 0)
        return;
    const std::int64_t percent = static_cast<std::int64_t>(done) * 100 / total;
    static_cast<CFrameHost*>(frame)->SetProgressPos(
        static_cast<int>(std::clamp<std::int64_t>(percent, 0, 100)));
}
