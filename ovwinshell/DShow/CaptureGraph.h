#pragma once
// The viewer's AVI graph: a filter graph and the filters a chain may use,
// created once and kept across builds; the policies (BuildPolicies.h) say
// which chain to build. The graph is listed in the Running Object Table so
// that graph tools can look at it.
#include <windows.h>
#include <dshow.h>

#include <cstdint>
#include <string>

#include "Common/Owned.h"

namespace DShow {

// "FilterGraph 0012ab40 pid 000004d2": the table entry's name.
std::wstring RotEntryName(const void* graph, DWORD processId);

class CaptureGraph {
public:
    // Creates the graph and the filters in order and registers the graph in
    // the table. A failure is shown; what was created so far stays.
    CaptureGraph();
    // Revokes the table entry and releases the filters, then the graph.
    ~CaptureGraph();
    CaptureGraph(const CaptureGraph&) = delete;
    CaptureGraph& operator=(const CaptureGraph&) = delete;

    // Disconnects and removes every filter of the graph; the multiplexer is
    // replaced by a new one. A failure is shown in a box unless quiet.
    bool Clear(bool quiet = false);
    // Add and Connect raise CComError; the policies that call them catch it.
    // Adds the held filter of that class (none: nothing) under name.
    void Add(REFCLSID clsid, const wchar_t* name);
    // Joins the last free output pin of upstream to the last free input pin
    // of downstream with intelligent connect.
    bool Connect(IBaseFilter* upstream, IBaseFilter* downstream, bool quiet);
    // A failed Run stops every filter again.
    bool Run();
    bool Stop();
    bool State(OAFilterState* state);

    // The held filter of that class; CLSID_FileWriter gives the writer in use.
    IBaseFilter* Held(REFCLSID clsid) const;
    IGraphBuilder* Graph() const { return graph_.Get(); }
    // Bytes of the largest AVI file the multiplexer writes correctly; 0 when
    // it has no such limit (it writes large-file indexes).
    uint64_t FileSizeLimit() const;

    // Puts another filter in the file writer's place (tests).
    void ReplaceWriter(ComPtr<IBaseFilter> writer) { writerInUse_ = std::move(writer); }

private:
    void Create();
    void Register();
    void StopEveryFilter();

    ComPtr<IGraphBuilder> graph_;
    ComPtr<IBaseFilter> source_;
    ComPtr<IBaseFilter> smartTee_;
    ComPtr<IBaseFilter> videoRenderer_;
    ComPtr<IBaseFilter> multiplexer_;
    ComPtr<IBaseFilter> fileWriter_;
    // The platform's writer when its input pin offers IStream, else ours.
    ComPtr<IBaseFilter> writerInUse_;
    DWORD tableEntry_ = 0;
};

}  // namespace DShow
