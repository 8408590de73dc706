#pragma once
// Frame-index stepping for playback of a recorded range, and the frame-rate meter.
#include <cstdint>

namespace Render {

struct PlaybackRange {
    int32_t first = 0;
    int32_t last = 0;
    int32_t count = 0;  // last - first + 1; 1 without a range, 0 before the first reload
};

// The index after stepping by the accumulator's whole frames. Stepping past
// an end wraps by the overshoot (first + 1 follows last when stepping by one);
// an overshoot of a whole range or more lands on last, or on first when the
// old index was already last.
int32_t NextFrameIndex(int32_t index, double accumulator, const PlaybackRange& range);

// The accumulator after a step that took elapsedMs at the given speed
// (frames per 40 ms): a used accumulator restarts from this step's time.
double NextAccumulator(double accumulator, uint32_t elapsedMs, double speed);

// Frames per second averaged over a window that restarts after 6 to 7 seconds.
class FrameRateMeter {
public:
    explicit FrameRateMeter(long nowMs) : start_(nowMs) {}
    // Counts one frame at nowMs (the C runtime clock in milliseconds); returns the rate.
    double Count(long nowMs);
    double Rate() const { return rate_; }

private:
    long start_;
    uint32_t count_ = 0;
    double rate_ = 0;
};

}  // namespace Render
