#include "DShow/CaptureGraph.h"

#include <d3d9.h>
#include <vmr9.h>

#include <cstdio>
#include <vector>

#include "DShow/ComError.h"
#include "DShow/FileSinkFilter.h"
#include "DShow/IOvSourceControl.h"

namespace DShow {

namespace {

// What Wine's multiplexer, which writes no large-file index, gets right.
constexpr uint64_t kPlainAviLimit = 2ull << 30;

template <class T>
ComPtr<T> CreateObject(REFCLSID clsid, REFIID iid) {
    ComPtr<T> object;
    OV_CHECK_COM(CoCreateInstance(clsid, nullptr, CLSCTX_ALL, iid, object.PutVoid()));
    return object;
}

ComPtr<IPin> FirstInputPin(IBaseFilter* filter) {
    ComPtr<IEnumPins> pins;
    if (FAILED(filter->EnumPins(pins.Put()))) return {};
    ComPtr<IPin> pin;
    while (pins->Next(1, pin.Put(), nullptr) == S_OK) {
        PIN_DIRECTION direction;
        if (SUCCEEDED(pin->QueryDirection(&direction)) && direction == PINDIR_INPUT) return pin;
    }
    return {};
}

// The last pin of that direction whose peer cannot be asked for.
ComPtr<IPin> LastFreePin(IBaseFilter* filter, PIN_DIRECTION wanted) {
    ComPtr<IEnumPins> pins;
    OV_CHECK_COM(filter->EnumPins(pins.Put()));
    ComPtr<IPin> found;
    ComPtr<IPin> pin;
    while (pins->Next(1, pin.Put(), nullptr) == S_OK) {
        PIN_DIRECTION direction;
        OV_CHECK_COM(pin->QueryDirection(&direction));
        ComPtr<IPin> peer;
        if (direction == wanted && FAILED(pin->ConnectedTo(peer.Put()))) found = ComPtr<IPin>::Share(pin.Get());
    }
    return found;
}

}  // namespace

std::wstring RotEntryName(const void* graph, DWORD processId) {
    wchar_t name[256];
    std::swprintf(name, 256, L"FilterGraph %08x pid %08x", static_cast<unsigned>(reinterpret_cast<uintptr_t>(graph)),
                  static_cast<unsigned>(processId));
    return name;
}

CaptureGraph::CaptureGraph() {
    RunComChecked(false, [this] {
        Create();
        return true;
    });
}

void CaptureGraph::Create() {
    graph_ = CreateObject<IGraphBuilder>(CLSID_FilterGraph, IID_IGraphBuilder);
    source_ = CreateObject<IBaseFilter>(CLSID_OvSourceFilter, IID_IBaseFilter);
    videoRenderer_ = CreateObject<IBaseFilter>(CLSID_VideoMixingRenderer9, IID_IBaseFilter);
    ComPtr<IVMRFilterConfig9> config = videoRenderer_.As<IVMRFilterConfig9>(IID_IVMRFilterConfig9);
    OV_CHECK_COM(config ? config->SetRenderingMode(VMR9Mode_Windowless) : E_NOINTERFACE);
    smartTee_ = CreateObject<IBaseFilter>(CLSID_SmartTee, IID_IBaseFilter);
    multiplexer_ = CreateObject<IBaseFilter>(CLSID_AviDest, IID_IBaseFilter);
    fileWriter_ = CreateObject<IBaseFilter>(CLSID_FileWriter, IID_IBaseFilter);
    // The multiplexer writes through IStream on its peer: a writer whose pin
    // offers none is replaced by ours.
    ComPtr<IPin> writerInput = FirstInputPin(fileWriter_.Get());
    if (writerInput && writerInput.As<IStream>(IID_IStream))
        writerInUse_ = ComPtr<IBaseFilter>::Share(fileWriter_.Get());
    else
        writerInUse_ = ComPtr<IBaseFilter>::Adopt(FileSinkFilter::Create());
    Register();
}

void CaptureGraph::Register() {
    ComPtr<IRunningObjectTable> table;
    if (FAILED(GetRunningObjectTable(0, table.Put()))) return;
    ComPtr<IMoniker> moniker;
    const std::wstring name = RotEntryName(graph_.Get(), GetCurrentProcessId());
    if (FAILED(CreateItemMoniker(L"!", name.c_str(), moniker.Put()))) return;
    table->Register(ROTFLAGS_REGISTRATIONKEEPSALIVE, graph_.Get(), moniker.Get(), &tableEntry_);
}

CaptureGraph::~CaptureGraph() {
    ComPtr<IRunningObjectTable> table;
    if (tableEntry_ && SUCCEEDED(GetRunningObjectTable(0, table.Put()))) table->Revoke(tableEntry_);
    writerInUse_.Reset();
    fileWriter_.Reset();
    multiplexer_.Reset();
    videoRenderer_.Reset();
    smartTee_.Reset();
    source_.Reset();
    graph_.Reset();
}

IBaseFilter* CaptureGraph::Held(REFCLSID clsid) const {
    if (clsid == CLSID_OvSourceFilter) return source_.Get();
    if (clsid == CLSID_VideoMixingRenderer9) return videoRenderer_.Get();
    if (clsid == CLSID_AviDest) return multiplexer_.Get();
    if (clsid == CLSID_FileWriter) return writerInUse_.Get();
    if (clsid == CLSID_SmartTee) return smartTee_.Get();
    return nullptr;
}

bool CaptureGraph::Clear(bool quiet) {
    return RunComChecked(quiet, [this] {
        if (!graph_) return false;
        for (;;) {
            ComPtr<IEnumFilters> filters;
            OV_CHECK_COM(graph_->EnumFilters(filters.Put()));
            ComPtr<IBaseFilter> filter;
            if (filters->Next(1, filter.Put(), nullptr) != S_OK) break;
            ComPtr<IEnumPins> pins;
            OV_CHECK_COM(filter->EnumPins(pins.Put()));
            ComPtr<IPin> pin;
            while (pins->Next(1, pin.Put(), nullptr) == S_OK) {
                ComPtr<IPin> peer;
                if (FAILED(pin->ConnectedTo(peer.Put()))) continue;
                OV_CHECK_COM(peer->Disconnect());
                OV_CHECK_COM(pin->Disconnect());
            }
            OV_CHECK_COM(graph_->RemoveFilter(filter.Get()));
        }
        // The platform's multiplexer keeps an input pin from every chain it
        // was part of, and a run with one left over crashed: the next chain
        // gets a new one.
        multiplexer_ = CreateObject<IBaseFilter>(CLSID_AviDest, IID_IBaseFilter);
        return true;
    });
}

void CaptureGraph::Add(REFCLSID clsid, const wchar_t* name) {
    IBaseFilter* filter = Held(clsid);
    if (filter && graph_) OV_CHECK_COM(graph_->AddFilter(filter, name));
}

bool CaptureGraph::Connect(IBaseFilter* upstream, IBaseFilter* downstream, bool quiet) {
    if (!upstream || !downstream) return false;
    ComPtr<IPin> output = LastFreePin(upstream, PINDIR_OUTPUT);
    if (!output) {
        if (!quiet) MessageBoxW(nullptr, L"No more free pins", L"", MB_OK | MB_ICONERROR);
        return false;
    }
    ComPtr<IPin> input = LastFreePin(downstream, PINDIR_INPUT);
    if (!input) return false;
    OV_CHECK_COM(graph_->Connect(output.Get(), input.Get()));
    return true;
}

bool CaptureGraph::Run() {
    return RunComChecked(false, [this] {
        ComPtr<IMediaControl> control = graph_.As<IMediaControl>(IID_IMediaControl);
        HRESULT hr = control ? control->Run() : E_NOINTERFACE;
        // A graph whose Run failed may leave filters paused; released so,
        // it can hang.
        if (FAILED(hr)) StopEveryFilter();
        OV_CHECK_COM(hr);
        return true;
    });
}

void CaptureGraph::StopEveryFilter() {
    if (auto control = graph_.As<IMediaControl>(IID_IMediaControl)) control->Stop();
    ComPtr<IEnumFilters> filters;
    if (FAILED(graph_->EnumFilters(filters.Put()))) return;
    ComPtr<IBaseFilter> filter;
    while (filters->Next(1, filter.Put(), nullptr) == S_OK) filter->Stop();
}

bool CaptureGraph::Stop() {
    return RunComChecked(false, [this] {
        ComPtr<IMediaControl> control = graph_.As<IMediaControl>(IID_IMediaControl);
        OV_CHECK_COM(control ? control->Stop() : E_NOINTERFACE);
        return true;
    });
}

bool CaptureGraph::State(OAFilterState* state) {
    return RunComChecked(false, [&] {
        ComPtr<IMediaControl> control = graph_.As<IMediaControl>(IID_IMediaControl);
        OV_CHECK_COM(control ? control->GetState(INFINITE, state) : E_NOINTERFACE);
        return true;
    });
}

uint64_t CaptureGraph::FileSizeLimit() const {
    ComPtr<IConfigAviMux> config =
        multiplexer_ ? multiplexer_.As<IConfigAviMux>(IID_IConfigAviMux) : ComPtr<IConfigAviMux>();
    // A multiplexer that can choose its index writes large-file indexes.
    if (config && SUCCEEDED(config->SetOutputCompatibilityIndex(TRUE))) return 0;
    return kPlainAviLimit;
}

}  // namespace DShow
