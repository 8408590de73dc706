#include "Worker.h"

#include <process.h>

namespace Render {

Worker::Worker()
    : commandEvent_(CreateEventW(nullptr, FALSE, FALSE, nullptr)),
      acknowledgeEvent_(CreateEventW(nullptr, FALSE, FALSE, nullptr)),
      finishedEvent_(CreateEventW(nullptr, TRUE, TRUE, nullptr)) {}

Worker::~Worker() {
    if (thread_) CloseHandle(thread_);
}

unsigned __stdcall Worker::ThreadMain(void* self) {
    auto* worker = static_cast<Worker*>(self);
    const uint32_t result = worker->Run();
    SetEvent(worker->finishedEvent_.Get());
    // The handle itself is closed by whoever waited for the thread to end.
    return result;
}

void Worker::ReapThread() {
    WaitForSingleObject(thread_, INFINITE);
    CloseHandle(thread_);
    thread_ = nullptr;
}

HANDLE Worker::Start() {
    // A thread whose Run returned by itself is over (its finished event is set
    // just before it returns): it is let go, so that a new one starts.
    if (thread_ && WaitForSingleObject(finishedEvent_.Get(), 0) == WAIT_OBJECT_0) ReapThread();
    if (!thread_) {
        ResetEvent(finishedEvent_.Get());
        thread_ = reinterpret_cast<HANDLE>(_beginthreadex(nullptr, 0, &Worker::ThreadMain, this, 0, nullptr));
        if (!thread_) SetEvent(finishedEvent_.Get());
    }
    return thread_;
}

bool Worker::IsRunning() const { return thread_ && WaitForSingleObject(finishedEvent_.Get(), 0) != WAIT_OBJECT_0; }

bool Worker::SendCommand(uint32_t command, DWORD timeoutMs, uint32_t argument) {
    HANDLE thread = thread_;
    if (!thread) return true;
    command_ = command;
    argument_ = argument;
    SetEvent(commandEvent_.Get());
    HANDLE waits[2] = {acknowledgeEvent_.Get(), finishedEvent_.Get()};
    const DWORD woke = WaitForMultipleObjects(2, waits, FALSE, timeoutMs);
    if (woke != WAIT_OBJECT_0) {
        // The thread ended or did not answer: forget it.
        ResetEvent(commandEvent_.Get());
        if (woke == WAIT_OBJECT_0 + 1)
            ReapThread();
        else
            thread_ = nullptr;
        return false;
    }
    if (command == CommandQuit) ReapThread();
    return true;
}

bool Worker::GetCommand(DWORD timeoutMs, uint32_t* command, uint32_t* argument) {
    if (WaitForSingleObject(commandEvent_.Get(), timeoutMs) != WAIT_OBJECT_0) return false;
    *command = command_;
    if (argument) *argument = argument_;
    SetEvent(acknowledgeEvent_.Get());
    return true;
}

}  // namespace Render
