#include "Framework/BaseFilter.h"

#include <vector>

#include "Framework/Pins.h"

namespace DsBase {

std::atomic<long>& LiveObjects() {
    static std::atomic<long> count{0};
    return count;
}

namespace {

// A snapshot of the filter's pins; holds the filter while it lives.
class PinEnumerator final : public SingleInterfaceObject<IEnumPins, IID_IEnumPins> {
public:
    PinEnumerator(BaseFilter& filter, size_t position) : filter_(filter), position_(position) {
        filter_.AddRef();
        for (int i = 0; i < filter_.PinCount(); ++i) pins_.push_back(filter_.PinAt(i));
    }
    ~PinEnumerator() { filter_.Release(); }

    STDMETHODIMP Next(ULONG count, IPin** pins, ULONG* fetched) override {
        if (!pins || (count > 1 && !fetched)) return E_POINTER;
        ULONG taken = 0;
        while (taken < count && position_ < pins_.size()) {
            pins[taken] = pins_[position_++];
            pins[taken++]->AddRef();
        }
        if (fetched) *fetched = taken;
        return taken == count ? S_OK : S_FALSE;
    }
    STDMETHODIMP Skip(ULONG count) override {
        position_ += count;
        if (position_ <= pins_.size()) return S_OK;
        position_ = pins_.size();
        return S_FALSE;
    }
    STDMETHODIMP Reset() override {
        position_ = 0;
        return S_OK;
    }
    STDMETHODIMP Clone(IEnumPins** copy) override {
        if (!copy) return E_POINTER;
        *copy = new (std::nothrow) PinEnumerator(filter_, position_);
        return *copy ? S_OK : E_OUTOFMEMORY;
    }

private:
    BaseFilter& filter_;
    std::vector<IPin*> pins_;
    size_t position_;
};

}  // namespace

BaseFilter::BaseFilter(const CLSID& clsid) : clsid_(clsid) { ++LiveObjects(); }

BaseFilter::~BaseFilter() {
    if (clock_) clock_->Release();
    --LiveObjects();
}

STDMETHODIMP BaseFilter::QueryInterface(REFIID iid, void** object) {
    if (!object) return E_POINTER;
    *object = nullptr;
    if (iid == IID_IUnknown || iid == IID_IPersist || iid == IID_IMediaFilter || iid == IID_IBaseFilter)
        return ReturnInterface<IBaseFilter>(this, object);
    return QueryExtraInterface(iid, object);
}

STDMETHODIMP_(ULONG) BaseFilter::AddRef() { return ++references_; }

STDMETHODIMP_(ULONG) BaseFilter::Release() {
    ULONG left = --references_;
    if (left == 0) delete this;
    return left;
}

STDMETHODIMP BaseFilter::GetClassID(CLSID* clsid) {
    if (!clsid) return E_POINTER;
    *clsid = clsid_;
    return S_OK;
}

STDMETHODIMP BaseFilter::Stop() {
    CritSecLock hold(filterLock_);
    HRESULT result = S_OK;
    // Every pin stops, also when one of them fails.
    for (int i = 0; i < PinCount(); ++i) {
        HRESULT hr = PinAt(i)->Inactive();
        if (FAILED(hr) && SUCCEEDED(result)) result = hr;
    }
    state_ = State_Stopped;
    return result;
}

STDMETHODIMP BaseFilter::Pause() {
    CritSecLock hold(filterLock_);
    for (int i = 0; i < PinCount(); ++i) {
        HRESULT hr = S_OK;
        if (state_ == State_Stopped)
            hr = PinAt(i)->Active();
        else if (state_ == State_Running)
            hr = PinAt(i)->Paused();
        if (FAILED(hr)) return hr;
    }
    state_ = State_Paused;
    return S_OK;
}

STDMETHODIMP BaseFilter::Run(REFERENCE_TIME start) {
    CritSecLock hold(filterLock_);
    if (state_ == State_Running) return S_OK;
    if (state_ == State_Stopped) {
        HRESULT hr = Pause();
        if (FAILED(hr)) return hr;
    }
    for (int i = 0; i < PinCount(); ++i) {
        HRESULT hr = PinAt(i)->Run(start);
        if (FAILED(hr)) return hr;
    }
    state_ = State_Running;
    return S_OK;
}

STDMETHODIMP BaseFilter::GetState(DWORD timeoutMs, FILTER_STATE* state) {
    if (!state) return E_POINTER;
    *state = State();
    return S_OK;
}

STDMETHODIMP BaseFilter::SetSyncSource(IReferenceClock* clock) {
    CritSecLock hold(filterLock_);
    if (clock) clock->AddRef();
    if (clock_) clock_->Release();
    clock_ = clock;
    return S_OK;
}

STDMETHODIMP BaseFilter::GetSyncSource(IReferenceClock** clock) {
    if (!clock) return E_POINTER;
    CritSecLock hold(filterLock_);
    *clock = clock_;
    if (clock_) clock_->AddRef();
    return S_OK;
}

STDMETHODIMP BaseFilter::EnumPins(IEnumPins** pins) {
    if (!pins) return E_POINTER;
    *pins = new (std::nothrow) PinEnumerator(*this, 0);
    return *pins ? S_OK : E_OUTOFMEMORY;
}

STDMETHODIMP BaseFilter::FindPin(LPCWSTR id, IPin** pin) {
    if (!id || !pin) return E_POINTER;
    *pin = nullptr;
    for (int i = 0; i < PinCount(); ++i) {
        LPWSTR pinId = nullptr;
        if (FAILED(PinAt(i)->QueryId(&pinId))) continue;
        bool same = wcscmp(pinId, id) == 0;
        CoTaskMemFree(pinId);
        if (same) {
            *pin = PinAt(i);
            (*pin)->AddRef();
            return S_OK;
        }
    }
    return VFW_E_NOT_FOUND;
}

STDMETHODIMP BaseFilter::QueryFilterInfo(FILTER_INFO* info) {
    if (!info) return E_POINTER;
    CritSecLock hold(filterLock_);
    lstrcpynW(info->achName, name_.c_str(), MAX_FILTER_NAME);
    info->pGraph = graph_;
    if (info->pGraph) info->pGraph->AddRef();
    return S_OK;
}

STDMETHODIMP BaseFilter::JoinFilterGraph(IFilterGraph* graph, LPCWSTR name) {
    CritSecLock hold(filterLock_);
    graph_ = graph;
    name_ = name ? name : L"";
    return S_OK;
}

STDMETHODIMP BaseFilter::QueryVendorInfo(LPWSTR* info) { return E_NOTIMPL; }

FILTER_STATE BaseFilter::State() {
    CritSecLock hold(filterLock_);
    return state_;
}

HRESULT BaseFilter::NotifyEvent(long code, LONG_PTR param1, LONG_PTR param2) {
    IFilterGraph* graph = graph_;
    if (!graph) return E_NOTIMPL;
    ComPtr<IMediaEventSink> sink;
    HRESULT hr = graph->QueryInterface(IID_IMediaEventSink, sink.PutVoid());
    if (FAILED(hr)) return hr;
    return sink->Notify(code, param1, param2);
}

}  // namespace DsBase
