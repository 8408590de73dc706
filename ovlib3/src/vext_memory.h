// The VEXT camera's recording memory. Armed with one memory partition it
// records a film of n frames (n = the frame position option); armed with more
// it records without end into a ring of n frames (live). The frame index
// option addresses a frame of the film, or of the ring (n - 1 = the newest);
// the control interface queues the parts of addressed frames for readout.
// Frames are not stored: each keeps what renders it again on readout.
#pragma once
#include <cstdint>
#include <deque>
#include <optional>

#include "option.h"
#include "pattern.h"
#include "sim_state.h"

namespace ovsim {

class System;

// One frame in memory: everything that renders it.
struct VextFrame {
    FrameConfig config;
    uint64_t number = 0;  // the pattern's moment and the frame number attribute
    uint64_t timeUs = 0;  // exposure, since initialisation
    uint64_t seed = 0;    // noise seed of its recording
};

struct VextState {
    enum class Mode { Idle, Recording, Live };
    Mode mode = Mode::Idle;

    // The film: frame i was exposed at firstTimeUs + i * periodUs as frame firstNumber + i.
    FrameConfig filmConfig;  // settings at arm
    uint64_t filmSeed = 0, filmFirstNumber = 0, filmFirstTimeUs = 0, filmPeriodUs = 1;
    uint32_t filmLength = 0;  // frames a recording ends with
    uint32_t filmFrames = 0;  // frames held once the recording is over

    // The running recording or ring: frame k (counted from the arm) is exposed at
    // start + (k - baseCount) * period; live frame k has number liveFirstNumber + k.
    Clock::time_point start{};
    Clock::duration period{1};
    uint64_t baseCount = 0;
    uint64_t liveFirstNumber = 0, liveSeed = 0;
    bool fast = false;  // armed in fast mode: a film is whole at its first frame, a ring always full

    struct SelectedPart {
        uint32_t part;
        int32_t index;  // the frame index option's value when selected
    };
    std::deque<SelectedPart> queue;
    std::optional<uint64_t> liveAnchor;  // frames recorded when the current readout began

    uint64_t nextFrameNumber = 1;
    bool stopIgnored = false;  // a stop came while the input is stuck
};

// Capacity in frames of the whole memory for the current region, and of one partition.
int64_t vextCapacity(const System& system);
int64_t vextPartitionCapacity(const System& system);
// Frames the film holds now (0 while live).
uint32_t vextFilmFrames(const System& system);
// What the frame index may address now.
Range vextFrameIndexRange(const System& system);

// Input control and control commands.
void vextArm(System& system);
void vextStop(System& system);
uint32_t vextStatus(System& system);
void vextPrepareReadout(System& system);
void vextSelectPart(System& system, uint32_t part);

// Option side effects: a new region empties the memory; a new frame rate paces the ring from now.
void vextClearMemory(System& system);
void vextFrameRateChanged(System& system);

// The frame an index addresses in what the frame index addresses now.
std::optional<VextFrame> vextFrameAt(System& system, int32_t index);
// The queue head: its part number and frame, when a part is queued and its frame exists.
std::optional<std::pair<uint32_t, VextFrame>> vextQueueHead(System& system);
void vextTakeQueueHead(System& system);

// Test control: a film of frames frames (numbers 0..frames-1) in the current settings.
void vextSetFilm(System& system, uint32_t frames);

}  // namespace ovsim
