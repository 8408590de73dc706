#pragma once
// A Windows critical section (re-entrant) and its scope guard.
#include <windows.h>

class CritSec {
public:
    CritSec() { InitializeCriticalSection(&cs_); }
    ~CritSec() { DeleteCriticalSection(&cs_); }
    CritSec(const CritSec&) = delete;
    CritSec& operator=(const CritSec&) = delete;

    void Enter() { EnterCriticalSection(&cs_); }
    void Leave() { LeaveCriticalSection(&cs_); }

private:
    CRITICAL_SECTION cs_;
};

class CritSecLock {
public:
    explicit CritSecLock(CritSec& cs) : cs_(cs) { cs_.Enter(); }
    ~CritSecLock() { cs_.Leave(); }
    CritSecLock(const CritSecLock&) = delete;
    CritSecLock& operator=(const CritSecLock&) = delete;

private:
    CritSec& cs_;
};
