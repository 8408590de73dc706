#include "PlaybackIndex.h"

#include <cmath>

namespace Render {

int32_t NextFrameIndex(int32_t index, double accumulator, const PlaybackRange& range) {
    // 64-bit: a large accumulator must not overflow the sum.
    const int64_t next = int64_t(index) + int64_t(std::trunc(accumulator));
    if (next > range.last) {
        const int64_t over = next - range.last;
        if (over < range.count) return int32_t(range.first + over);
        return index < range.last ? range.last : range.first;
    }
    if (next >= range.first) return int32_t(next);
    const int64_t under = range.first - next;
    if (under < range.count) return int32_t(range.last - under);
    return index < range.last ? range.last : range.first;
}

double NextAccumulator(double accumulator, uint32_t elapsedMs, double speed) {
    const double advance = double(elapsedMs) * speed * 0.025;
    return std::fabs(accumulator) >= 1.0 ? advance : accumulator + advance;
}

double FrameRateMeter::Count(long nowMs) {
    ++count_;
    const long elapsed = nowMs - start_;
    if (elapsed <= 0) return rate_;
    rate_ = double(count_) * 1000.0 / double(elapsed);
    if (elapsed / 1000 > 5) {
        count_ = 0;
        start_ = nowMs;
    }
    return rate_;
}

}  // namespace Render
