// Global simulator state: the one library lock and the test-control modes.
#pragma once
#include <chrono>
#include <cstdint>
#include <mutex>

namespace ovsim {

using Clock = std::chrono::steady_clock;
using Lock = std::unique_lock<std::mutex>;

// Every export runs under this lock; code that sleeps releases it first.
std::mutex& libraryMutex();

struct SimModes {
    bool fast = false;           // frames ready at once, Wait never sleeps
    bool deterministic = false;  // noise from a hash of (seed, frame, pixel)
    uint32_t seed = 0;
    bool dmaHang = false;                    // QueryDmaEnd never reports done
    uint32_t externalTriggerMilliHz = 5000;  // external sync mode trigger rate
    bool vextNoData = false;                 // VEXT input never has data ready
    uint32_t vextStatus = 0;                 // when not 0, every VEXT status query answers it
    bool vextStuckInput = false;             // VEXT stop commands are ignored; the status stays busy
    uint32_t vextBlockShortfall = 0;         // the VEXT input type announces parts this many bytes short
};

SimModes& simModes();
void resetSimModes();

// The noise seed of a new run of frames: the deterministic one, or a fresh one.
uint64_t newNoiseSeed();

// The time between two external triggers.
Clock::duration externalTriggerPeriod();

// Sleeps without holding the library lock.
void sleepUnlocked(Lock& lock, Clock::duration duration);

}  // namespace ovsim
