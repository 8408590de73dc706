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

void sleepUnlocked(Lock& lock, Clock::duration duration) {
    lock.unlock();
    std::this_thread::sleep_for(duration);
    lock.lock();
}

}  // namespace ovsim
