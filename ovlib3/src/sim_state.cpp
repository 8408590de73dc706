#include "sim_state.h"

#include <thread>

namespace ovsim {

std::mutex& libraryMutex() {
    static std::mutex mutex;
    return mutex;
}

SimModes& simModes() {
    static SimModes modes;
    return modes;
}

void resetSimModes() { simModes() = SimModes{}; }

uint64_t newNoiseSeed() {
    if (simModes().deterministic) return simModes().seed;
    static uint64_t counter = 0;
    return uint64_t(Clock::now().time_since_epoch().count()) ^ (++counter << 40);
}

Clock::duration externalTriggerPeriod() {
    const uint32_t milliHz = simModes().externalTriggerMilliHz > 0 ? simModes().externalTriggerMilliHz : 1;
    return std::chrono::microseconds(1000000000ll / milliHz);
}

void sleepUnlocked(Lock& lock, Clock::duration duration) {
    lock.unlock();
    std::this_thread::sleep_for(duration);
    lock.lock();
}

}  // namespace ovsim
