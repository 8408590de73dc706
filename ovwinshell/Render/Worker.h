#pragma once
// A background thread driven by numbered commands. The GUI thread hands over
// one command at a time and waits until the thread has taken it, so commands
// are never lost and are taken in order.
#include <windows.h>

#include <cstdint>

#include "Common/Owned.h"

namespace Render {

enum WorkerCommand : uint32_t {
    CommandQuit = 0,
    CommandRun = 1,
    CommandStop = 2,
    CommandPause = 3,
    CommandReloadRange = 5,
};

class Worker {
public:
    Worker();
    virtual ~Worker();
    Worker(const Worker&) = delete;
    Worker& operator=(const Worker&) = delete;

    // Starts the thread unless one runs; returns its handle (null when it could not start).
    HANDLE Start();
    // Hands a command over; false when the thread ended or did not take it in time.
    bool SendCommand(uint32_t command, DWORD timeoutMs = INFINITE, uint32_t argument = 0);
    // The last command handed over (read without a lock).
    uint32_t CurrentCommand() const { return command_; }
    // False once Run has returned, also when nobody has sent a command since.
    bool IsRunning() const;

protected:
    // The thread body; its result is the thread's exit code.
    virtual uint32_t Run() = 0;
    // Called by the thread: waits up to timeoutMs for a command.
    bool GetCommand(DWORD timeoutMs, uint32_t* command, uint32_t* argument = nullptr);

private:
    static unsigned __stdcall ThreadMain(void* self);
    // Waits for the ended thread, closes its handle and forgets it.
    void ReapThread();

    HANDLE volatile thread_ = nullptr;
    volatile uint32_t command_ = CommandStop;
    OwnedHandle commandEvent_;
    OwnedHandle acknowledgeEvent_;
    OwnedHandle finishedEvent_;
    volatile uint32_t argument_ = 0;
};

}  // namespace Render
