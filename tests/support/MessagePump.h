#pragma once
// Message pumping for tests whose windows live on the test's own thread.
#include <windows.h>

namespace ovtest {

// Dispatches whatever is queued for this thread (no waiting).
inline void Pump() {
    MSG message{};
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

// Pumps, a little at a time, until `done` holds or about ten seconds passed
// (so a broken loop fails instead of hanging); returns whether it holds.
template <class Pred>
bool PumpUntil(Pred done) {
    for (int i = 0; i < 5000 && !done(); ++i) {
        Pump();
        Sleep(2);
    }
    Pump();
    return done();
}

// Pumps for about `ms` milliseconds, for instance while a worker delivers frames.
inline void PumpFor(DWORD ms) {
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < ms) {
        Pump();
        Sleep(5);
    }
}

}  // namespace ovtest
