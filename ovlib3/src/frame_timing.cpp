#include "frame_timing.h"

#include <algorithm>

namespace ovsim {

void FrameTiming::restart(TriggerMode mode, Clock::duration period, Clock::time_point now) {
    mode_ = mode;
    period_ = std::max<Clock::duration>(period, std::chrono::microseconds(1));
    epoch_ = now;
    epochFrame_ = delivered_;
    triggeredReadyAt_.clear();
}

uint64_t FrameTiming::readyFrame(Clock::time_point now) const {
    const bool fast = simModes().fast;
    if (mode_ == TriggerMode::Software) {
        const bool ready = !triggeredReadyAt_.empty() && (fast || triggeredReadyAt_.front() <= now);
        return ready ? delivered_ + 1 : 0;
    }
    if (fast) return delivered_ + 1;
    if (now < epoch_) return 0;
    const uint64_t latest = epochFrame_ + uint64_t((now - epoch_) / period_);
    return latest > delivered_ ? latest : 0;
}

Clock::duration FrameTiming::untilReady(Clock::time_point now) const {
    if (readyFrame(now)) return Clock::duration::zero();
    if (mode_ == TriggerMode::Software)
        return triggeredReadyAt_.empty() ? Clock::duration::max() : triggeredReadyAt_.front() - now;
    return epoch_ + period_ * int64_t(delivered_ + 1 - epochFrame_) - now;
}

uint64_t FrameTiming::deliver(Clock::time_point now) {
    const uint64_t frame = readyFrame(now);
    if (frame == 0) return 0;
    if (mode_ == TriggerMode::Software) triggeredReadyAt_.pop_front();
    delivered_ = frame;
    return frame;
}

void FrameTiming::trigger(Clock::time_point now) {
    if (mode_ != TriggerMode::Software || triggeredReadyAt_.size() >= kMaxQueuedTriggers) return;
    // One exposure and readout per trigger, after any exposure still in progress.
    const Clock::time_point start = triggeredReadyAt_.empty() ? now : std::max(now, triggeredReadyAt_.back());
    triggeredReadyAt_.push_back(start + period_);
}

}  // namespace ovsim
