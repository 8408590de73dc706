#pragma once
// The pin half of the framework. Connection and allocator negotiation live
// once in OutputPin; a concrete pin supplies only its types (CheckMediaType,
// GetMediaType) and, for output, its buffer size. Pins forward their
// reference counting to the filter. Connect and Disconnect act only while
// the filter is stopped.
#include <windows.h>
#include <dshow.h>

#include <string>

#include "Common/Owned.h"
#include "Framework/BaseFilter.h"
#include "Framework/MediaType.h"

namespace DsBase {

class BasePin : public IPin {
public:
    BasePin(BaseFilter& filter, const wchar_t* name, PIN_DIRECTION direction);
    virtual ~BasePin() = default;

    // IUnknown (references counted on the filter)
    STDMETHODIMP QueryInterface(REFIID iid, void** object) override;
    STDMETHODIMP_(ULONG) AddRef() override { return filter_.AddRef(); }
    STDMETHODIMP_(ULONG) Release() override { return filter_.Release(); }
    // IPin
    STDMETHODIMP Disconnect() override;
    STDMETHODIMP ConnectedTo(IPin** pin) override;
    STDMETHODIMP ConnectionMediaType(AM_MEDIA_TYPE* type) override;
    STDMETHODIMP QueryPinInfo(PIN_INFO* info) override;
    STDMETHODIMP QueryDirection(PIN_DIRECTION* direction) override;
    STDMETHODIMP QueryId(LPWSTR* id) override;
    STDMETHODIMP QueryAccept(const AM_MEDIA_TYPE* type) override;
    STDMETHODIMP EnumMediaTypes(IEnumMediaTypes** types) override;
    STDMETHODIMP QueryInternalConnections(IPin** pins, ULONG* count) override;
    STDMETHODIMP EndOfStream() override { return S_OK; }
    STDMETHODIMP BeginFlush() override { return S_OK; }
    STDMETHODIMP EndFlush() override { return S_OK; }
    STDMETHODIMP NewSegment(REFERENCE_TIME start, REFERENCE_TIME stop, double rate) override { return S_OK; }

    // S_OK when the pin takes this type.
    virtual HRESULT CheckMediaType(const AM_MEDIA_TYPE& type) = 0;
    // The index-th preferred type; VFW_S_NO_MORE_ITEMS past the last.
    virtual HRESULT GetMediaType(int index, AM_MEDIA_TYPE& type) { return VFW_S_NO_MORE_ITEMS; }

    // State hooks, called by the filter under its lock: stopped -> paused,
    // paused -> running, running -> paused, any -> stopped.
    virtual HRESULT Active() { return S_OK; }
    virtual HRESULT Run(REFERENCE_TIME start) { return S_OK; }
    virtual HRESULT Paused() { return S_OK; }
    virtual HRESULT Inactive() { return S_OK; }

    bool IsConnected() const { return static_cast<bool>(connected_); }
    IPin* ConnectedPin() const { return connected_.Get(); }
    BaseFilter& Filter() { return filter_; }

protected:
    // Interfaces beyond IUnknown and IPin.
    virtual HRESULT QueryExtraInterface(REFIID iid, void** object) { return E_NOINTERFACE; }
    // Undoes what the connection set up beyond the peer and the type.
    virtual void BreakConnect() {}

    BaseFilter& filter_;
    std::wstring name_;
    PIN_DIRECTION direction_;
    ComPtr<IPin> connected_;
    MediaType type_;
};

class OutputPin : public BasePin {
public:
    OutputPin(BaseFilter& filter, const wchar_t* name);

    STDMETHODIMP Connect(IPin* receiver, const AM_MEDIA_TYPE* type) override;
    STDMETHODIMP ReceiveConnection(IPin* connector, const AM_MEDIA_TYPE* type) override { return E_UNEXPECTED; }
    STDMETHODIMP EndOfStream() override { return E_UNEXPECTED; }

    // Sizes the allocator: request holds the peer's wishes.
    virtual HRESULT DecideBufferSize(IMemAllocator* allocator, ALLOCATOR_PROPERTIES& request) = 0;

    HRESULT Active() override;
    HRESULT Inactive() override;

    HRESULT GetDeliveryBuffer(IMediaSample** sample);
    HRESULT Deliver(IMediaSample* sample);
    HRESULT DeliverEndOfStream();

protected:
    void BreakConnect() override;
    IMemAllocator* Allocator() const { return allocator_.Get(); }

private:
    HRESULT TryConnect(IPin* receiver, const AM_MEDIA_TYPE& type);
    HRESULT DecideAllocator(IMemInputPin* input);
    // True for a type that names its major type, subtype and format.
    static bool FullySpecified(const AM_MEDIA_TYPE* type);

    ComPtr<IMemInputPin> input_;
    ComPtr<IMemAllocator> allocator_;
};

class InputPin : public BasePin, public IMemInputPin {
public:
    InputPin(BaseFilter& filter, const wchar_t* name);

    STDMETHODIMP QueryInterface(REFIID iid, void** object) override { return BasePin::QueryInterface(iid, object); }
    STDMETHODIMP_(ULONG) AddRef() override { return filter_.AddRef(); }
    STDMETHODIMP_(ULONG) Release() override { return filter_.Release(); }

    STDMETHODIMP Connect(IPin* receiver, const AM_MEDIA_TYPE* type) override { return E_UNEXPECTED; }
    STDMETHODIMP ReceiveConnection(IPin* connector, const AM_MEDIA_TYPE* type) override;

    // IMemInputPin
    STDMETHODIMP GetAllocator(IMemAllocator** allocator) override;
    STDMETHODIMP NotifyAllocator(IMemAllocator* allocator, BOOL readOnly) override;
    STDMETHODIMP GetAllocatorRequirements(ALLOCATOR_PROPERTIES* properties) override { return E_NOTIMPL; }
    STDMETHODIMP Receive(IMediaSample* sample) override;
    STDMETHODIMP ReceiveMultiple(IMediaSample** samples, long count, long* processed) override;
    STDMETHODIMP ReceiveCanBlock() override { return S_FALSE; }

    // One sample while the filter is paused or running.
    virtual HRESULT OnReceive(IMediaSample* sample) = 0;

protected:
    HRESULT QueryExtraInterface(REFIID iid, void** object) override;
    void BreakConnect() override;

private:
    ComPtr<IMemAllocator> allocator_;
};

}  // namespace DsBase
