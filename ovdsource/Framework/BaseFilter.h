#pragma once
// The filter half of our small DirectShow framework: reference counting,
// IPersist / IMediaFilter / IBaseFilter, the pin enumerator and the state
// machine. A state change calls each pin's hook (Active, Run, Paused,
// Inactive) under the filter lock and stores the new state only when every
// hook succeeded. Pins count their references on the filter.
#include <windows.h>
#include <dshow.h>

#include <atomic>
#include <string>

#include "Common/CritSec.h"

namespace DsBase {

class BasePin;

// Objects of the framework alive in this module (filters and class
// factories); DllCanUnloadNow asks it.
std::atomic<long>& LiveObjects();

class BaseFilter : public IBaseFilter {
public:
    BaseFilter(const CLSID& clsid);
    virtual ~BaseFilter();
    BaseFilter(const BaseFilter&) = delete;
    BaseFilter& operator=(const BaseFilter&) = delete;

    // IUnknown
    STDMETHODIMP QueryInterface(REFIID iid, void** object) override;
    STDMETHODIMP_(ULONG) AddRef() override;
    STDMETHODIMP_(ULONG) Release() override;
    // IPersist
    STDMETHODIMP GetClassID(CLSID* clsid) override;
    // IMediaFilter
    STDMETHODIMP Stop() override;
    STDMETHODIMP Pause() override;
    STDMETHODIMP Run(REFERENCE_TIME start) override;
    STDMETHODIMP GetState(DWORD timeoutMs, FILTER_STATE* state) override;
    STDMETHODIMP SetSyncSource(IReferenceClock* clock) override;
    STDMETHODIMP GetSyncSource(IReferenceClock** clock) override;
    // IBaseFilter
    STDMETHODIMP EnumPins(IEnumPins** pins) override;
    STDMETHODIMP FindPin(LPCWSTR id, IPin** pin) override;
    STDMETHODIMP QueryFilterInfo(FILTER_INFO* info) override;
    STDMETHODIMP JoinFilterGraph(IFilterGraph* graph, LPCWSTR name) override;
    STDMETHODIMP QueryVendorInfo(LPWSTR* info) override;

    // The pins, fixed for the filter's life.
    virtual int PinCount() = 0;
    virtual BasePin* PinAt(int index) = 0;

    FILTER_STATE State();
    // Posts an event to the graph's event sink, when in a graph.
    HRESULT NotifyEvent(long code, LONG_PTR param1, LONG_PTR param2);
    // Held around state changes and connections.
    CritSec& FilterLock() { return filterLock_; }

protected:
    // Interfaces beyond IUnknown, IPersist, IMediaFilter and IBaseFilter.
    virtual HRESULT QueryExtraInterface(REFIID iid, void** object) { return E_NOINTERFACE; }

private:
    std::atomic<long> references_{1};
    CLSID clsid_;
    CritSec filterLock_;
    FILTER_STATE state_ = State_Stopped;
    IReferenceClock* clock_ = nullptr;  // owned reference
    // Not owned: the graph holds us. Atomic because the streaming thread
    // reads it and never takes the filter lock.
    std::atomic<IFilterGraph*> graph_{nullptr};
    std::wstring name_;
};

// Answers the standard interfaces of a COM object for QueryInterface.
template <class Interface, class Object>
HRESULT ReturnInterface(Object* object, void** result) {
    Interface* typed = object;
    typed->AddRef();
    *result = typed;
    return S_OK;
}

// A heap object with one COM interface (enumerators, the class factory):
// QueryInterface answers IUnknown and that interface, and the last Release
// deletes the object.
template <class Interface, const IID& kInterfaceId>
class SingleInterfaceObject : public Interface {
public:
    STDMETHODIMP QueryInterface(REFIID iid, void** object) override {
        if (!object) return E_POINTER;
        *object = nullptr;
        if (iid == IID_IUnknown || iid == kInterfaceId) return ReturnInterface<Interface>(this, object);
        return E_NOINTERFACE;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return ++references_; }
    STDMETHODIMP_(ULONG) Release() override {
        ULONG left = --references_;
        if (left == 0) delete this;
        return left;
    }

protected:
    virtual ~SingleInterfaceObject() = default;

private:
    std::atomic<ULONG> references_{1};
};

}  // namespace DsBase
