#pragma once
// An output pin with its own streaming thread, the base of a source filter.
// The thread delivers only while the filter runs: it waits while paused,
// leaves when stopped, and after the end of the stream waits for the stop.
// Leaving running waits for a delivery in progress, so no sample reaches a
// downstream filter that has already been paused or stopped. The thread
// never takes the filter lock (Stop holds it while joining the thread).
#include <condition_variable>
#include <mutex>

#include "Common/Owned.h"
#include "Framework/Pins.h"

namespace DsBase {

class StreamingPin : public OutputPin {
public:
    StreamingPin(BaseFilter& filter, const wchar_t* name);
    ~StreamingPin() override;

    HRESULT Active() override;
    HRESULT Run(REFERENCE_TIME start) override;
    HRESULT Paused() override;
    HRESULT Inactive() override;

protected:
    // Fills one sample: S_OK delivers it, S_FALSE ends the stream, a failure
    // ends it and reports EC_ERRORABORT with that result to the graph.
    virtual HRESULT FillBuffer(IMediaSample* sample) = 0;
    // On the streaming thread: before its first sample, and when it ends.
    virtual void OnThreadStartPlay() {}
    virtual void OnThreadDestroy() {}

private:
    enum class Command { Pause, Run, Stop };

    static unsigned __stdcall ThreadMain(void* pin);
    void Stream();
    // One buffer: fetched, filled and delivered. S_OK to go on.
    HRESULT DeliverOne();
    void EndThread();

    std::mutex mutex_;
    std::condition_variable changed_;
    Command command_ = Command::Stop;
    bool delivering_ = false;
    OwnedHandle thread_;
};

}  // namespace DsBase
