// The COM module of the registered ovdsource.dll: its class object, its
// unload rule, and what registering and unregistering leave in the registry
// and in the legacy filter category.
#include <cstring>
#include <string>
#include <vector>

#include "dshow/DShowFixture.h"

namespace dshowtest {
namespace {

const wchar_t kClassKey[] = L"CLSID\\{511FBE78-9A5C-4A1D-9C25-145852AAB88F}";

std::wstring RegisteredPath() {
    wchar_t path[MAX_PATH] = {};
    LONG size = sizeof(path);
    RegQueryValueW(HKEY_CLASSES_ROOT, (std::wstring(kClassKey) + L"\\InprocServer32").c_str(), path, &size);
    return path;
}

bool ClassKeyExists() {
    HKEY key;
    if (RegOpenKeyExW(HKEY_CLASSES_ROOT, kClassKey, 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
    RegCloseKey(key);
    return true;
}

// The FilterData of our entry in the legacy filter category, empty when the
// category does not list the filter under its name.
std::vector<BYTE> CategoryEntry() {
    ComPtr<ICreateDevEnum> devices;
    ComPtr<IEnumMoniker> monikers;
    if (FAILED(CoCreateInstance(CLSID_SystemDeviceEnum, nullptr, CLSCTX_INPROC_SERVER, IID_ICreateDevEnum,
                                devices.PutVoid())) ||
        devices->CreateClassEnumerator(CLSID_LegacyAmFilterCategory, monikers.Put(), 0) != S_OK)
        return {};
    ComPtr<IMoniker> moniker;
    while (monikers->Next(1, moniker.Put(), nullptr) == S_OK) {
        ComPtr<IPropertyBag> bag;
        if (FAILED(moniker->BindToStorage(nullptr, nullptr, IID_IPropertyBag, bag.PutVoid()))) continue;
        VARIANT name, data;
        VariantInit(&name);
        VariantInit(&data);
        std::vector<BYTE> result;
        if (SUCCEEDED(bag->Read(L"FriendlyName", &name, nullptr)) &&
            std::wstring(name.bstrVal) == L"Orvane Source Filter" &&
            SUCCEEDED(bag->Read(L"FilterData", &data, nullptr)) && data.vt == (VT_ARRAY | VT_UI1)) {
            BYTE* bytes;
            SafeArrayAccessData(data.parray, reinterpret_cast<void**>(&bytes));
            result.assign(bytes, bytes + data.parray->rgsabound[0].cElements);
            SafeArrayUnaccessData(data.parray);
        }
        VariantClear(&name);
        VariantClear(&data);
        if (!result.empty()) return result;
    }
    return {};
}

DWORD Word(const std::vector<BYTE>& data, size_t offset) {
    DWORD value = 0;
    if (offset + 4 <= data.size()) std::memcpy(&value, &data[offset], 4);
    return value;
}

class ModuleTest : public DShowTest {
protected:
    void SetUp() override {
        DShowTest::SetUp();
        module_ = LoadLibraryW(RegisteredPath().c_str());
        ASSERT_NE(module_, nullptr) << "ovdsource.dll is not registered";
        getClassObject_ = reinterpret_cast<decltype(getClassObject_)>(
            reinterpret_cast<void*>(GetProcAddress(module_, "DllGetClassObject")));
        canUnloadNow_ = reinterpret_cast<decltype(canUnloadNow_)>(
            reinterpret_cast<void*>(GetProcAddress(module_, "DllCanUnloadNow")));
        ASSERT_TRUE(getClassObject_ && canUnloadNow_);
    }
    void TearDown() override {
        FreeLibrary(module_);
        DShowTest::TearDown();
    }
    HRESULT Call(const char* exportName) {
        auto entry =
            reinterpret_cast<HRESULT(STDAPICALLTYPE*)()>(reinterpret_cast<void*>(GetProcAddress(module_, exportName)));
        return entry ? entry() : E_NOTIMPL;
    }

    HMODULE module_ = nullptr;
    HRESULT(STDAPICALLTYPE* getClassObject_)(REFCLSID, REFIID, void**) = nullptr;
    HRESULT(STDAPICALLTYPE* canUnloadNow_)() = nullptr;
};

TEST_F(ModuleTest, ClassObjectServesOnlyTheFilterAsAClassFactory) {
    const CLSID otherClass = {0x12345678, 0x1234, 0x1234, {1, 2, 3, 4, 5, 6, 7, 8}};
    struct Case {
        const CLSID* clsid;
        const IID* iid;
        HRESULT expected;
    } cases[] = {
        {&CLSID_OvSourceFilter, &IID_IClassFactory, S_OK},
        {&CLSID_OvSourceFilter, &IID_IUnknown, S_OK},
        {&CLSID_OvSourceFilter, &IID_IBaseFilter, E_NOINTERFACE},
        {&CLSID_OvSourceFilter, &IID_IOvSourceControl, E_NOINTERFACE},
        {&otherClass, &IID_IClassFactory, CLASS_E_CLASSNOTAVAILABLE},
        {&CLSID_FilterGraph, &IID_IUnknown, CLASS_E_CLASSNOTAVAILABLE},
    };
    for (const Case& c : cases) {
        IUnknown* object = nullptr;
        EXPECT_EQ(getClassObject_(*c.clsid, *c.iid, reinterpret_cast<void**>(&object)), c.expected);
        EXPECT_EQ(object != nullptr, c.expected == S_OK);
        if (object) object->Release();
    }
}

TEST_F(ModuleTest, CannotUnloadWhileAFilterOrALockedFactoryExists) {
    ASSERT_EQ(canUnloadNow_(), S_OK);
    ComPtr<IClassFactory> factory;
    ASSERT_EQ(getClassObject_(CLSID_OvSourceFilter, IID_IClassFactory, factory.PutVoid()), S_OK);
    ComPtr<IBaseFilter> filter;
    ASSERT_EQ(factory->CreateInstance(nullptr, IID_IBaseFilter, filter.PutVoid()), S_OK);
    ASSERT_EQ(factory->LockServer(TRUE), S_OK);
    factory.Reset();
    EXPECT_EQ(canUnloadNow_(), S_FALSE);  // the filter and the lock
    filter.Reset();
    EXPECT_EQ(canUnloadNow_(), S_FALSE);  // the lock
    ASSERT_EQ(getClassObject_(CLSID_OvSourceFilter, IID_IClassFactory, factory.PutVoid()), S_OK);
    factory->LockServer(FALSE);
    factory.Reset();
    EXPECT_EQ(canUnloadNow_(), S_OK);
}

TEST_F(ModuleTest, RegistrationListsTheFilterWithOneVideoOutputPin) {
    std::vector<BYTE> data = CategoryEntry();
    ASSERT_FALSE(data.empty()) << "not listed in the legacy filter category";
    // The filter mapper's record: merit, one pin flagged output, not
    // rendered, one instance, one media type whose major type is video.
    EXPECT_EQ(Word(data, 4), 0x00200000u);
    EXPECT_EQ(Word(data, 8), 1u);
    EXPECT_EQ(std::memcmp(&data[16], "0pi3", 4), 0);
    EXPECT_EQ(Word(data, 20), DWORD(REG_PINFLAG_B_OUTPUT));
    EXPECT_EQ(Word(data, 28), 1u);
    const size_t majorOffset = Word(data, 48);
    ASSERT_LE(majorOffset + sizeof(GUID), data.size());
    EXPECT_EQ(std::memcmp(&data[majorOffset], &MEDIATYPE_Video, sizeof(GUID)), 0);

    // The mapper's record keeps no pin names ("Output" is registered); the
    // filter itself has one output pin, its stream "Out Pin".
    ComPtr<IBaseFilter> filter = CreateSource();
    ASSERT_TRUE(filter);
    ComPtr<IEnumPins> pins;
    ASSERT_EQ(filter->EnumPins(pins.Put()), S_OK);
    std::vector<std::wstring> names;
    for (ComPtr<IPin> pin; pins->Next(1, pin.Put(), nullptr) == S_OK;) {
        PIN_INFO info{};
        ASSERT_EQ(pin->QueryPinInfo(&info), S_OK);
        if (info.pFilter) info.pFilter->Release();
        EXPECT_EQ(info.dir, PINDIR_OUTPUT);
        names.push_back(info.achName);
    }
    EXPECT_EQ(names, std::vector<std::wstring>{L"Out Pin"});

    EXPECT_TRUE(ClassKeyExists());
    wchar_t threading[16] = {};
    DWORD size = sizeof(threading);
    RegGetValueW(HKEY_CLASSES_ROOT, (std::wstring(kClassKey) + L"\\InprocServer32").c_str(), L"ThreadingModel",
                 RRF_RT_REG_SZ, nullptr, threading, &size);
    EXPECT_STREQ(threading, L"Both");
}

TEST_F(ModuleTest, UnregisteringRemovesBothRegistrations) {
    ASSERT_EQ(Call("DllUnregisterServer"), S_OK);
    EXPECT_FALSE(ClassKeyExists());
    EXPECT_TRUE(CategoryEntry().empty());

    ASSERT_EQ(Call("DllRegisterServer"), S_OK);
    EXPECT_TRUE(ClassKeyExists());
    EXPECT_FALSE(CategoryEntry().empty());
}

}  // namespace
}  // namespace dshowtest
