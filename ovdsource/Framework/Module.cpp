#include "Framework/Module.h"

#include <uuids.h>

#include <atomic>
#include <new>
#include <string>

#include "Common/Owned.h"
#include "Framework/BaseFilter.h"

namespace DsBase {

namespace {

HINSTANCE moduleInstance = nullptr;
std::atomic<long> serverLocks{0};

class ClassFactory final : public SingleInterfaceObject<IClassFactory, IID_IClassFactory> {
public:
    explicit ClassFactory(const FactoryTemplate& entry) : entry_(entry) { ++LiveObjects(); }
    ~ClassFactory() { --LiveObjects(); }

    STDMETHODIMP CreateInstance(IUnknown* outer, REFIID iid, void** object) override {
        if (!object) return E_POINTER;
        *object = nullptr;
        if (outer && iid != IID_IUnknown) return CLASS_E_NOAGGREGATION;
        IUnknown* created = nullptr;
        HRESULT hr = entry_.create(outer, &created);
        if (FAILED(hr)) return hr;
        hr = created->QueryInterface(iid, object);
        created->Release();
        return hr;
    }
    STDMETHODIMP LockServer(BOOL lock) override {
        if (lock)
            ++serverLocks;
        else
            --serverLocks;
        return S_OK;
    }

private:
    const FactoryTemplate& entry_;
};

std::wstring ClassKey(const CLSID& clsid) {
    wchar_t text[40];
    StringFromGUID2(clsid, text, 40);
    return std::wstring(L"CLSID\\") + text;
}

HRESULT SetKeyValue(const std::wstring& key, const wchar_t* name, const wchar_t* value) {
    HKEY handle;
    LONG status = RegCreateKeyExW(HKEY_CLASSES_ROOT, key.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &handle, nullptr);
    if (status != ERROR_SUCCESS) return HRESULT_FROM_WIN32(status);
    status = RegSetValueExW(handle, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value),
                            static_cast<DWORD>((wcslen(value) + 1) * sizeof(wchar_t)));
    RegCloseKey(handle);
    return HRESULT_FROM_WIN32(status);
}

HRESULT WriteClassKey(const FactoryTemplate& entry) {
    wchar_t path[MAX_PATH];
    if (!GetModuleFileNameW(moduleInstance, path, MAX_PATH)) return HRESULT_FROM_WIN32(GetLastError());
    const std::wstring key = ClassKey(*entry.clsid);
    HRESULT hr = SetKeyValue(key, nullptr, entry.name);
    if (SUCCEEDED(hr)) hr = SetKeyValue(key + L"\\InprocServer32", nullptr, path);
    if (SUCCEEDED(hr)) hr = SetKeyValue(key + L"\\InprocServer32", L"ThreadingModel", L"Both");
    return hr;
}

HRESULT RemoveClassKey(const FactoryTemplate& entry) {
    LONG status = RegDeleteTreeW(HKEY_CLASSES_ROOT, ClassKey(*entry.clsid).c_str());
    return status == ERROR_FILE_NOT_FOUND ? S_OK : HRESULT_FROM_WIN32(status);
}

// The legacy filter category through IFilterMapper2, else the old IFilterMapper.
HRESULT RegisterFilter(const FactoryTemplate& entry, bool install) {
    ComPtr<IFilterMapper2> mapper2;
    if (SUCCEEDED(CoCreateInstance(CLSID_FilterMapper2, nullptr, CLSCTX_INPROC_SERVER, IID_IFilterMapper2,
                                   mapper2.PutVoid()))) {
        if (install)
            return mapper2->RegisterFilter(*entry.clsid, entry.name, nullptr, &CLSID_LegacyAmFilterCategory, nullptr,
                                           entry.setup);
        return mapper2->UnregisterFilter(&CLSID_LegacyAmFilterCategory, nullptr, *entry.clsid);
    }
    ComPtr<IFilterMapper> mapper;
    HRESULT hr =
        CoCreateInstance(CLSID_FilterMapper, nullptr, CLSCTX_INPROC_SERVER, IID_IFilterMapper, mapper.PutVoid());
    if (FAILED(hr)) return hr;
    if (!install) return mapper->UnregisterFilter(*entry.clsid);
    hr = mapper->RegisterFilter(*entry.clsid, entry.name, entry.setup->dwMerit);
    for (ULONG i = 0; SUCCEEDED(hr) && i < entry.setup->cPins; ++i) {
        const REGFILTERPINS& pin = entry.setup->rgPins[i];
        hr = mapper->RegisterPin(*entry.clsid, pin.strName, pin.bRendered, pin.bOutput, pin.bZero, pin.bMany,
                                 pin.clsConnectsToFilter ? *pin.clsConnectsToFilter : CLSID_NULL, pin.strConnectsToPin);
        for (UINT t = 0; SUCCEEDED(hr) && t < pin.nMediaTypes; ++t)
            hr = mapper->RegisterPinType(*entry.clsid, pin.strName, *pin.lpMediaType[t].clsMajorType,
                                         *pin.lpMediaType[t].clsMinorType);
    }
    return hr;
}

}  // namespace

HRESULT RegisterModule(bool install) {
    HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    HRESULT result = S_OK;
    for (int i = 0; i < kFactoryTemplateCount && SUCCEEDED(result); ++i) {
        const FactoryTemplate& entry = kFactoryTemplates[i];
        if (install) {
            result = WriteClassKey(entry);
            if (SUCCEEDED(result) && entry.setup) result = RegisterFilter(entry, true);
        } else {
            if (entry.setup) result = RegisterFilter(entry, false);
            HRESULT removed = RemoveClassKey(entry);
            if (SUCCEEDED(result)) result = removed;
        }
    }
    if (SUCCEEDED(com)) CoUninitialize();
    return FAILED(result) ? result : S_OK;
}

}  // namespace DsBase

using namespace DsBase;

extern "C" {

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, void*) {
    if (reason == DLL_PROCESS_ATTACH) {
        moduleInstance = instance;
        DisableThreadLibraryCalls(instance);
    }
    return TRUE;
}

HRESULT STDAPICALLTYPE DllGetClassObject(REFCLSID clsid, REFIID iid, void** object) {
    if (!object) return E_POINTER;
    *object = nullptr;
    if (iid != IID_IUnknown && iid != IID_IClassFactory) return E_NOINTERFACE;
    for (int i = 0; i < kFactoryTemplateCount; ++i) {
        if (clsid != *kFactoryTemplates[i].clsid) continue;
        auto* factory = new (std::nothrow) ClassFactory(kFactoryTemplates[i]);
        if (!factory) return E_OUTOFMEMORY;
        *object = static_cast<IClassFactory*>(factory);
        return S_OK;
    }
    return CLASS_E_CLASSNOTAVAILABLE;
}

HRESULT STDAPICALLTYPE DllCanUnloadNow() { return LiveObjects() == 0 && serverLocks == 0 ? S_OK : S_FALSE; }

HRESULT STDAPICALLTYPE DllRegisterServer() { return RegisterModule(true); }

HRESULT STDAPICALLTYPE DllUnregisterServer() { return RegisterModule(false); }

}  // extern "C"
