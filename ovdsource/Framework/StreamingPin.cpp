#include "Framework/StreamingPin.h"

#include <evcode.h>
#include <process.h>

namespace DsBase {

StreamingPin::StreamingPin(BaseFilter& filter, const wchar_t* name) : OutputPin(filter, name) {}

StreamingPin::~StreamingPin() { EndThread(); }

HRESULT StreamingPin::Active() {
    if (!IsConnected()) return S_OK;
    HRESULT hr = OutputPin::Active();
    if (FAILED(hr)) return hr;
    {
        std::lock_guard<std::mutex> hold(mutex_);
        command_ = Command::Pause;
        delivering_ = false;
    }
    thread_.Reset(reinterpret_cast<HANDLE>(_beginthreadex(nullptr, 0, ThreadMain, this, 0, nullptr)));
    if (!thread_) {
        OutputPin::Inactive();
        return E_OUTOFMEMORY;
    }
    return S_OK;
}

HRESULT StreamingPin::Run(REFERENCE_TIME start) {
    std::lock_guard<std::mutex> hold(mutex_);
    if (command_ == Command::Pause) command_ = Command::Run;
    changed_.notify_all();
    return S_OK;
}

HRESULT StreamingPin::Paused() {
    std::unique_lock<std::mutex> hold(mutex_);
    if (command_ == Command::Run) command_ = Command::Pause;
    changed_.notify_all();
    changed_.wait(hold, [this] { return !delivering_; });
    return S_OK;
}

HRESULT StreamingPin::Inactive() {
    EndThread();
    return OutputPin::Inactive();
}

void StreamingPin::EndThread() {
    {
        std::lock_guard<std::mutex> hold(mutex_);
        command_ = Command::Stop;
        changed_.notify_all();
    }
    if (!thread_) return;
    // A thread waiting for a free buffer is released by the decommit.
    if (Allocator()) Allocator()->Decommit();
    WaitForSingleObject(thread_.Get(), INFINITE);
    thread_.Reset();
}

unsigned __stdcall StreamingPin::ThreadMain(void* pin) {
    static_cast<StreamingPin*>(pin)->Stream();
    return 0;
}

void StreamingPin::Stream() {
    bool started = false;
    bool ended = false;
    for (;;) {
        {
            std::unique_lock<std::mutex> hold(mutex_);
            changed_.wait(hold, [&] { return command_ == Command::Stop || (command_ == Command::Run && !ended); });
            if (command_ == Command::Stop) break;
            delivering_ = true;
        }
        if (!started) {
            OnThreadStartPlay();
            started = true;
        }
        HRESULT hr = DeliverOne();
        std::lock_guard<std::mutex> hold(mutex_);
        delivering_ = false;
        ended = hr != S_OK;
        changed_.notify_all();
    }
    OnThreadDestroy();
}

HRESULT StreamingPin::DeliverOne() {
    ComPtr<IMediaSample> sample;
    // Fails once the allocator is decommitted: the filter is stopping.
    if (FAILED(GetDeliveryBuffer(sample.Put()))) return S_FALSE;
    HRESULT hr = FillBuffer(sample.Get());
    if (hr == S_OK) {
        hr = Deliver(sample.Get());
        // A downstream refusal ends the stream quietly: that filter knows why.
        return hr == S_OK ? S_OK : S_FALSE;
    }
    sample.Reset();
    // The abort first, so that the graph's owner sees why before the end.
    if (FAILED(hr)) filter_.NotifyEvent(EC_ERRORABORT, hr, 0);
    DeliverEndOfStream();
    return hr;
}

}  // namespace DsBase
