#include "Framework/Pins.h"

#include <cstring>
#include <new>

namespace DsBase {

namespace {

// Walks a pin's GetMediaType by index; holds the pin (and so its filter).
class MediaTypeEnumerator final : public SingleInterfaceObject<IEnumMediaTypes, IID_IEnumMediaTypes> {
public:
    MediaTypeEnumerator(BasePin& pin, int position) : pin_(pin), position_(position) { pin_.AddRef(); }
    ~MediaTypeEnumerator() { pin_.Release(); }

    STDMETHODIMP Next(ULONG count, AM_MEDIA_TYPE** types, ULONG* fetched) override {
        if (!types || (count > 1 && !fetched)) return E_POINTER;
        ULONG taken = 0;
        while (taken < count) {
            MediaType type;
            if (pin_.GetMediaType(position_, type.Get()) != S_OK) break;
            types[taken] = NewMediaTypeCopy(type.Get());
            if (!types[taken]) break;
            ++taken;
            ++position_;
        }
        if (fetched) *fetched = taken;
        return taken == count ? S_OK : S_FALSE;
    }
    STDMETHODIMP Skip(ULONG count) override {
        position_ += static_cast<int>(count);
        return S_OK;
    }
    STDMETHODIMP Reset() override {
        position_ = 0;
        return S_OK;
    }
    STDMETHODIMP Clone(IEnumMediaTypes** copy) override {
        if (!copy) return E_POINTER;
        *copy = new (std::nothrow) MediaTypeEnumerator(pin_, position_);
        return *copy ? S_OK : E_OUTOFMEMORY;
    }

private:
    BasePin& pin_;
    int position_;
};

// A partial type (null GUIDs are wildcards) matches a full one.
bool Matches(const AM_MEDIA_TYPE* partial, const AM_MEDIA_TYPE& full) {
    if (!partial) return true;
    if (partial->majortype != GUID_NULL && partial->majortype != full.majortype) return false;
    if (partial->subtype != GUID_NULL && partial->subtype != full.subtype) return false;
    if (partial->formattype != GUID_NULL && partial->formattype != full.formattype) return false;
    return true;
}

}  // namespace

BasePin::BasePin(BaseFilter& filter, const wchar_t* name, PIN_DIRECTION direction)
    : filter_(filter), name_(name), direction_(direction) {}

STDMETHODIMP BasePin::QueryInterface(REFIID iid, void** object) {
    if (!object) return E_POINTER;
    *object = nullptr;
    if (iid == IID_IUnknown || iid == IID_IPin) return ReturnInterface<IPin>(this, object);
    return QueryExtraInterface(iid, object);
}

STDMETHODIMP BasePin::Disconnect() {
    CritSecLock hold(filter_.FilterLock());
    if (filter_.State() != State_Stopped) return VFW_E_NOT_STOPPED;
    if (!connected_) return S_FALSE;
    BreakConnect();
    connected_.Reset();
    type_.Clear();
    return S_OK;
}

STDMETHODIMP BasePin::ConnectedTo(IPin** pin) {
    if (!pin) return E_POINTER;
    CritSecLock hold(filter_.FilterLock());
    *pin = connected_.Get();
    if (!*pin) return VFW_E_NOT_CONNECTED;
    (*pin)->AddRef();
    return S_OK;
}

STDMETHODIMP BasePin::ConnectionMediaType(AM_MEDIA_TYPE* type) {
    if (!type) return E_POINTER;
    CritSecLock hold(filter_.FilterLock());
    if (!connected_) {
        std::memset(type, 0, sizeof(*type));
        return VFW_E_NOT_CONNECTED;
    }
    return CopyMediaType(*type, type_.Get());
}

STDMETHODIMP BasePin::QueryPinInfo(PIN_INFO* info) {
    if (!info) return E_POINTER;
    info->pFilter = &filter_;
    filter_.AddRef();
    info->dir = direction_;
    lstrcpynW(info->achName, name_.c_str(), MAX_PIN_NAME);
    return S_OK;
}

STDMETHODIMP BasePin::QueryDirection(PIN_DIRECTION* direction) {
    if (!direction) return E_POINTER;
    *direction = direction_;
    return S_OK;
}

STDMETHODIMP BasePin::QueryId(LPWSTR* id) {
    if (!id) return E_POINTER;
    size_t bytes = (name_.size() + 1) * sizeof(wchar_t);
    *id = static_cast<LPWSTR>(CoTaskMemAlloc(bytes));
    if (!*id) return E_OUTOFMEMORY;
    std::memcpy(*id, name_.c_str(), bytes);
    return S_OK;
}

STDMETHODIMP BasePin::QueryAccept(const AM_MEDIA_TYPE* type) {
    if (!type) return E_POINTER;
    return CheckMediaType(*type) == S_OK ? S_OK : S_FALSE;
}

STDMETHODIMP BasePin::EnumMediaTypes(IEnumMediaTypes** types) {
    if (!types) return E_POINTER;
    *types = new (std::nothrow) MediaTypeEnumerator(*this, 0);
    return *types ? S_OK : E_OUTOFMEMORY;
}

STDMETHODIMP BasePin::QueryInternalConnections(IPin** pins, ULONG* count) { return E_NOTIMPL; }

// ---- output ----

OutputPin::OutputPin(BaseFilter& filter, const wchar_t* name) : BasePin(filter, name, PINDIR_OUTPUT) {}

bool OutputPin::FullySpecified(const AM_MEDIA_TYPE* type) {
    return type && type->majortype != GUID_NULL && type->subtype != GUID_NULL && type->formattype != GUID_NULL;
}

STDMETHODIMP OutputPin::Connect(IPin* receiver, const AM_MEDIA_TYPE* type) {
    if (!receiver) return E_POINTER;
    CritSecLock hold(filter_.FilterLock());
    if (connected_) return VFW_E_ALREADY_CONNECTED;
    if (filter_.State() != State_Stopped) return VFW_E_NOT_STOPPED;
    if (FullySpecified(type)) return TryConnect(receiver, *type);

    // The receiver's types first, then ours.
    ComPtr<IEnumMediaTypes> theirs;
    if (SUCCEEDED(receiver->EnumMediaTypes(theirs.Put()))) {
        AM_MEDIA_TYPE* offered = nullptr;
        while (theirs->Next(1, &offered, nullptr) == S_OK) {
            HRESULT hr = Matches(type, *offered) ? TryConnect(receiver, *offered) : E_FAIL;
            DeleteMediaType(offered);
            if (SUCCEEDED(hr)) return hr;
        }
    }
    for (int i = 0;; ++i) {
        MediaType ours;
        if (GetMediaType(i, ours.Get()) != S_OK) break;
        if (Matches(type, ours.Get()) && SUCCEEDED(TryConnect(receiver, ours.Get()))) return S_OK;
    }
    return VFW_E_NO_ACCEPTABLE_TYPES;
}

HRESULT OutputPin::TryConnect(IPin* receiver, const AM_MEDIA_TYPE& type) {
    if (CheckMediaType(type) != S_OK) return VFW_E_TYPE_NOT_ACCEPTED;
    HRESULT hr = type_.Assign(type);
    if (FAILED(hr)) return hr;
    connected_ = ComPtr<IPin>::Share(receiver);
    hr = receiver->ReceiveConnection(this, &type);
    if (FAILED(hr)) {
        connected_.Reset();
        type_.Clear();
        return hr;
    }
    hr = receiver->QueryInterface(IID_IMemInputPin, input_.PutVoid());
    if (SUCCEEDED(hr)) hr = DecideAllocator(input_.Get());
    if (FAILED(hr)) {
        receiver->Disconnect();
        BreakConnect();
        connected_.Reset();
        type_.Clear();
    }
    return hr;
}

HRESULT OutputPin::DecideAllocator(IMemInputPin* input) {
    ALLOCATOR_PROPERTIES wishes{};
    input->GetAllocatorRequirements(&wishes);

    // The receiver's allocator first, then a standard one of our own.
    for (int attempt = 0; attempt < 2; ++attempt) {
        ComPtr<IMemAllocator> allocator;
        HRESULT hr = attempt == 0 ? input->GetAllocator(allocator.Put())
                                  : CoCreateInstance(CLSID_MemoryAllocator, nullptr, CLSCTX_INPROC_SERVER,
                                                     IID_IMemAllocator, allocator.PutVoid());
        if (FAILED(hr)) continue;
        ALLOCATOR_PROPERTIES request = wishes;
        // An alignment of 0 is refused by the standard allocator.
        if (request.cbAlign == 0) request.cbAlign = 1;
        hr = DecideBufferSize(allocator.Get(), request);
        if (SUCCEEDED(hr)) hr = input->NotifyAllocator(allocator.Get(), FALSE);
        if (SUCCEEDED(hr)) {
            allocator_ = std::move(allocator);
            return S_OK;
        }
        if (attempt == 1) return hr;
    }
    return VFW_E_NO_ALLOCATOR;
}

void OutputPin::BreakConnect() {
    if (allocator_) allocator_->Decommit();
    allocator_.Reset();
    input_.Reset();
}

HRESULT OutputPin::Active() { return allocator_ ? allocator_->Commit() : S_OK; }

HRESULT OutputPin::Inactive() { return allocator_ ? allocator_->Decommit() : S_OK; }

HRESULT OutputPin::GetDeliveryBuffer(IMediaSample** sample) {
    if (!allocator_) return VFW_E_NO_ALLOCATOR;
    return allocator_->GetBuffer(sample, nullptr, nullptr, 0);
}

HRESULT OutputPin::Deliver(IMediaSample* sample) { return input_ ? input_->Receive(sample) : VFW_E_NOT_CONNECTED; }

HRESULT OutputPin::DeliverEndOfStream() { return connected_ ? connected_->EndOfStream() : VFW_E_NOT_CONNECTED; }

// ---- input ----

InputPin::InputPin(BaseFilter& filter, const wchar_t* name) : BasePin(filter, name, PINDIR_INPUT) {}

HRESULT InputPin::QueryExtraInterface(REFIID iid, void** object) {
    if (iid == IID_IMemInputPin) return ReturnInterface<IMemInputPin>(this, object);
    return E_NOINTERFACE;
}

STDMETHODIMP InputPin::ReceiveConnection(IPin* connector, const AM_MEDIA_TYPE* type) {
    if (!connector || !type) return E_POINTER;
    CritSecLock hold(filter_.FilterLock());
    if (connected_) return VFW_E_ALREADY_CONNECTED;
    if (filter_.State() != State_Stopped) return VFW_E_NOT_STOPPED;
    PIN_DIRECTION direction;
    if (FAILED(connector->QueryDirection(&direction)) || direction != PINDIR_OUTPUT) return VFW_E_INVALID_DIRECTION;
    if (CheckMediaType(*type) != S_OK) return VFW_E_TYPE_NOT_ACCEPTED;
    HRESULT hr = type_.Assign(*type);
    if (FAILED(hr)) return hr;
    connected_ = ComPtr<IPin>::Share(connector);
    return S_OK;
}

void InputPin::BreakConnect() { allocator_.Reset(); }

STDMETHODIMP InputPin::GetAllocator(IMemAllocator** allocator) {
    if (!allocator) return E_POINTER;
    CritSecLock hold(filter_.FilterLock());
    if (!allocator_) {
        HRESULT hr = CoCreateInstance(CLSID_MemoryAllocator, nullptr, CLSCTX_INPROC_SERVER, IID_IMemAllocator,
                                      allocator_.PutVoid());
        if (FAILED(hr)) return hr;
    }
    *allocator = allocator_.Get();
    (*allocator)->AddRef();
    return S_OK;
}

STDMETHODIMP InputPin::NotifyAllocator(IMemAllocator* allocator, BOOL readOnly) {
    if (!allocator) return E_POINTER;
    CritSecLock hold(filter_.FilterLock());
    allocator_ = ComPtr<IMemAllocator>::Share(allocator);
    return S_OK;
}

STDMETHODIMP InputPin::Receive(IMediaSample* sample) {
    if (!sample) return E_POINTER;
    if (filter_.State() == State_Stopped) return VFW_E_WRONG_STATE;
    return OnReceive(sample);
}

STDMETHODIMP InputPin::ReceiveMultiple(IMediaSample** samples, long count, long* processed) {
    if (!samples || !processed) return E_POINTER;
    *processed = 0;
    HRESULT hr = S_OK;
    while (*processed < count && (hr = Receive(samples[*processed])) == S_OK) ++*processed;
    return hr;
}

}  // namespace DsBase
