#pragma once
// The registered source filter connected straight to a RecordingSink in a
// platform filter graph, run until the graph reports the stream's end.
#include <windows.h>
#include <dshow.h>
#include <gtest/gtest.h>

#include <vector>

#include "Common/Owned.h"
#include "DShow/IOvSourceControl.h"
#include "dshow/RecordingSink.h"

namespace dshowtest {

struct GraphEvent {
    long code;
    LONG_PTR param1;
};

inline ComPtr<IPin> FirstPin(IBaseFilter* filter) {
    ComPtr<IEnumPins> pins;
    ComPtr<IPin> pin;
    if (SUCCEEDED(filter->EnumPins(pins.Put()))) pins->Next(1, pin.Put(), nullptr);
    return pin;
}

class SourceGraph {
public:
    explicit SourceGraph(IBaseFilter* source, bool sinkAccepts = true)
        : source_(ComPtr<IBaseFilter>::Share(source)),
          sink_(ComPtr<IBaseFilter>::Adopt(RecordingSink::Create(sinkAccepts))) {
        EXPECT_EQ(
            CoCreateInstance(CLSID_FilterGraph, nullptr, CLSCTX_INPROC_SERVER, IID_IGraphBuilder, graph_.PutVoid()),
            S_OK);
        EXPECT_EQ(graph_->AddFilter(source_.Get(), L"Source"), S_OK);
        EXPECT_EQ(graph_->AddFilter(sink_.Get(), L"Sink"), S_OK);
    }
    ~SourceGraph() {
        if (auto control = graph_.As<IMediaControl>(IID_IMediaControl)) control->Stop();
    }

    HRESULT Connect() { return graph_->ConnectDirect(FirstPin(source_.Get()).Get(), Sink().Input(), nullptr); }

    // Runs until EC_COMPLETE, EC_ERRORABORT or EC_USERABORT (or 30 s, a hang
    // guard), then stops; every event seen, in order.
    std::vector<GraphEvent> RunToEnd() {
        std::vector<GraphEvent> events;
        auto control = graph_.As<IMediaControl>(IID_IMediaControl);
        auto media = graph_.As<IMediaEvent>(IID_IMediaEvent);
        EXPECT_TRUE(SUCCEEDED(control->Run()));
        OAEVENT handle = 0;
        media->GetEventHandle(&handle);
        for (bool ended = false; !ended;) {
            if (WaitForSingleObject(reinterpret_cast<HANDLE>(handle), 30000) != WAIT_OBJECT_0) {
                ADD_FAILURE() << "the graph did not end";
                break;
            }
            long code;
            LONG_PTR p1, p2;
            while (!ended && media->GetEvent(&code, &p1, &p2, 0) == S_OK) {
                media->FreeEventParams(code, p1, p2);
                events.push_back({code, p1});
                ended = code == EC_COMPLETE || code == EC_ERRORABORT || code == EC_USERABORT;
            }
        }
        control->Stop();
        return events;
    }

    RecordingSink& Sink() { return *static_cast<RecordingSink*>(sink_.Get()); }
    IGraphBuilder* Graph() { return graph_.Get(); }

private:
    ComPtr<IGraphBuilder> graph_;
    ComPtr<IBaseFilter> source_;
    ComPtr<IBaseFilter> sink_;
};

}  // namespace dshowtest
