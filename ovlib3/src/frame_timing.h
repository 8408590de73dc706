// When frames become ready at a camera's input. Free-running and external
// sync produce frames at a steady period (frames not fetched in time are
// overwritten, as in a real single-buffer camera); software start produces
// one frame per trigger. Frame numbers count from 1 after initialisation.
#pragma once
#include <cstdint>
#include <deque>

#include "sim_state.h"

namespace ovsim {

enum class TriggerMode { FreeRun, External, Software };

class FrameTiming {
public:
    // Applies a new mode/period; undelivered frames are dropped and the clock restarts.
    void restart(TriggerMode mode, Clock::duration period, Clock::time_point now);

    // The number of the frame that can be delivered now, or 0 when none is ready.
    uint64_t readyFrame(Clock::time_point now) const;
    // How long until a frame is ready (0 if ready now, max() if it waits for a trigger).
    Clock::duration untilReady(Clock::time_point now) const;
    // Takes the ready frame (readyFrame must be non-zero) and returns its number.
    uint64_t deliver(Clock::time_point now);
    // A software trigger: queues one exposure (ignored in other modes).
    void trigger(Clock::time_point now);

    size_t pendingTriggers() const { return triggeredReadyAt_.size(); }
    uint64_t lastDelivered() const { return delivered_; }
    TriggerMode mode() const { return mode_; }

private:
    static constexpr size_t kMaxQueuedTriggers = 4;

    TriggerMode mode_ = TriggerMode::FreeRun;
    Clock::duration period_ = std::chrono::milliseconds(40);
    Clock::time_point epoch_{};
    uint64_t epochFrame_ = 0;  // frames after this one become ready one period apart from epoch_
    uint64_t delivered_ = 0;
    std::deque<Clock::time_point> triggeredReadyAt_;
};

}  // namespace ovsim
