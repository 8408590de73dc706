#include "vext_memory.h"

#include <algorithm>

#include "ids.h"
#include "system.h"
#include "vext_packing.h"

namespace ovsim {
namespace {

using std::chrono::duration_cast;
using std::chrono::microseconds;
using Mode = VextState::Mode;

constexpr uint64_t kMemoryBytes = 4ull << 30;

uint64_t microsecondsSinceInit(const System& s, Clock::time_point t) {
    return uint64_t(std::max<int64_t>(0, duration_cast<microseconds>(t - s.initTime).count()));
}

Clock::duration framePeriod(const System& s) {
    return microseconds(1000000 / s.option<ScalarOption>(kOptFrameRate).native());
}

// n: the film length of a recording and the depth of the live ring.
uint32_t ringLength(const System& s) {
    const int64_t capacity = std::max<int64_t>(1, vextPartitionCapacity(s));
    return uint32_t(std::clamp<int64_t>(s.option<ScalarOption>(kOptFramePosition).native(), 1, capacity));
}

uint64_t framesSinceArm(const VextState& v, Clock::time_point now) {
    if (now < v.start) return v.baseCount;
    return v.baseCount + uint64_t((now - v.start) / v.period) + 1;
}

uint32_t recordedSoFar(const VextState& v, Clock::time_point now) {
    const uint64_t count = framesSinceArm(v, now);
    if (count > 0 && v.fast) return v.filmLength;
    return uint32_t(std::min<uint64_t>(count, v.filmLength));
}

// Frames the live ring has seen; in fast mode it is always full, also after n grows.
uint64_t liveFrames(const System& s, Clock::time_point now) {
    const uint64_t count = framesSinceArm(s.vext, now);
    return s.vext.fast ? std::max<uint64_t>(count, ringLength(s)) : count;
}

// Ends a recording (keeping what it recorded) or the live ring.
void endRun(System& s) {
    VextState& v = s.vext;
    const Clock::time_point now = Clock::now();
    if (v.mode == Mode::Recording) {
        v.filmFrames = recordedSoFar(v, now);
        v.nextFrameNumber = std::max(v.nextFrameNumber, v.filmFirstNumber + v.filmFrames);
    } else if (v.mode == Mode::Live) {
        v.nextFrameNumber = v.liveFirstNumber + liveFrames(s, now);
    }
    v.mode = Mode::Idle;
    v.liveAnchor.reset();
}

// A recording that holds all its frames is over.
void settle(System& s) {
    VextState& v = s.vext;
    if (v.mode == Mode::Recording && recordedSoFar(v, Clock::now()) >= v.filmLength) endRun(s);
}

}  // namespace

int64_t vextCapacity(const System& s) {
    const Rect roi = s.option<RectOption>(kOptRegion).get();
    return int64_t(kMemoryBytes / (4 * vextPartBytes(uint64_t(roi.width) * uint64_t(roi.height))));
}

int64_t vextPartitionCapacity(const System& s) {
    return vextCapacity(s) / std::max(1, s.option<ScalarOption>(kOptPartitions).native());
}

uint32_t vextFilmFrames(const System& s) {
    switch (s.vext.mode) {
        case Mode::Recording:
            return recordedSoFar(s.vext, Clock::now());
        case Mode::Live:
            return 0;
        default:
            return s.vext.filmFrames;
    }
}

Range vextFrameIndexRange(const System& s) {
    const int64_t frames = s.vext.mode == Mode::Live ? ringLength(s) : vextFilmFrames(s);
    return {0, std::max<int64_t>(0, frames - 1)};
}

void vextArm(System& s) {
    VextState& v = s.vext;
    if (v.mode != Mode::Idle) endRun(s);
    const Clock::time_point now = Clock::now();
    v.filmFrames = v.filmLength = 0;  // arming empties the memory
    v.liveAnchor.reset();
    v.period = framePeriod(s);
    v.baseCount = 0;
    v.fast = simModes().fast;
    if (s.option<ScalarOption>(kOptPartitions).native() >= 2) {
        v.mode = Mode::Live;
        v.start = now;
        v.liveFirstNumber = v.nextFrameNumber;
        v.liveSeed = newNoiseSeed();
        if (v.fast) v.baseCount = ringLength(s);  // the ring is full at once
        return;
    }
    // Software start and internal sync record from the arm on; external sync from the next trigger.
    const int32_t sync = s.option<EnumOption>(kOptSyncMode).get();
    const bool external = sync == kSyncExternal || sync == kSyncRecordOnEdge;
    v.mode = Mode::Recording;
    v.start = external ? now + externalTriggerPeriod() : now;
    v.filmConfig = s.frameConfig();
    v.filmSeed = newNoiseSeed();
    v.filmFirstNumber = v.nextFrameNumber;
    v.filmFirstTimeUs = microsecondsSinceInit(s, v.start);
    v.filmPeriodUs = uint64_t(duration_cast<microseconds>(v.period).count());
    v.filmLength = ringLength(s);
}

void vextStop(System& s) {
    if (simModes().vextStuckInput) {
        s.vext.stopIgnored = true;
        return;
    }
    if (s.vext.mode != Mode::Idle) endRun(s);
}

uint32_t vextStatus(System& s) {
    if (simModes().vextStatus) return simModes().vextStatus;
    if (simModes().vextStuckInput && s.vext.stopIgnored) return kVextStatusBusy;
    settle(s);
    const VextState& v = s.vext;
    const Clock::time_point now = Clock::now();
    switch (v.mode) {
        case Mode::Recording:
            return recordedSoFar(v, now) == 0 ? kVextStatusIdle : kVextStatusBusy;
        case Mode::Live:
            return liveFrames(s, now) >= ringLength(s) ? kVextStatusIdle : kVextStatusBusy;
        default:
            return kVextStatusIdle;
    }
}

void vextPrepareReadout(System& s) {
    s.vext.queue.clear();
    s.vext.liveAnchor.reset();
}

void vextSelectPart(System& s, uint32_t part) {
    s.vext.queue.push_back({part, s.option<ScalarOption>(kOptFrameIndex).native()});
}

void vextClearMemory(System& s) {
    if (s.vext.mode == Mode::Recording) endRun(s);
    s.vext.filmFrames = 0;
    s.vext.queue.clear();
}

void vextFrameRateChanged(System& s) {
    VextState& v = s.vext;
    if (v.mode != Mode::Live) return;  // a recording keeps the rate it was armed with
    const Clock::time_point now = Clock::now();
    v.baseCount = liveFrames(s, now);
    v.period = framePeriod(s);
    v.start = now + v.period;
}

std::optional<VextFrame> vextFrameAt(System& s, int32_t index) {
    settle(s);
    VextState& v = s.vext;
    if (index < 0) return std::nullopt;
    if (v.mode == Mode::Live) {
        const uint64_t depth = ringLength(s), count = liveFrames(s, Clock::now());
        if (count < depth || uint64_t(index) >= depth) return std::nullopt;
        // Parts of one readout come from one frame even while the ring moves on.
        if (!v.liveAnchor || *v.liveAnchor < depth) v.liveAnchor = count;
        const uint64_t k = *v.liveAnchor - depth + uint64_t(index);
        const int64_t sinceStart = int64_t(k) - int64_t(v.baseCount);
        const int64_t periodUs = duration_cast<microseconds>(v.period).count();
        const int64_t timeUs = int64_t(microsecondsSinceInit(s, v.start)) + sinceStart * periodUs;
        return VextFrame{s.frameConfig(), v.liveFirstNumber + k, uint64_t(std::max<int64_t>(0, timeUs)), v.liveSeed};
    }
    if (uint32_t(index) >= vextFilmFrames(s)) return std::nullopt;
    return VextFrame{v.filmConfig, v.filmFirstNumber + uint64_t(index),
                     v.filmFirstTimeUs + uint64_t(index) * v.filmPeriodUs, v.filmSeed};
}

std::optional<std::pair<uint32_t, VextFrame>> vextQueueHead(System& s) {
    if (s.vext.queue.empty()) return std::nullopt;
    const VextState::SelectedPart head = s.vext.queue.front();
    const std::optional<VextFrame> frame = vextFrameAt(s, head.index);
    if (!frame) return std::nullopt;
    return std::make_pair(head.part, *frame);
}

void vextTakeQueueHead(System& s) {
    if (!s.vext.queue.empty()) s.vext.queue.pop_front();
}

void vextSetFilm(System& s, uint32_t frames) {
    VextState& v = s.vext;
    if (v.mode != Mode::Idle) endRun(s);
    v.filmConfig = s.frameConfig();
    v.filmSeed = newNoiseSeed();
    v.filmFirstNumber = 0;
    v.filmFirstTimeUs = microsecondsSinceInit(s, Clock::now());
    v.filmPeriodUs = uint64_t(duration_cast<microseconds>(framePeriod(s)).count());
    v.filmLength = v.filmFrames = frames;
    v.queue.clear();
}

}  // namespace ovsim
