#include "DShow/Compressors.h"

#include "DShow/BuildPolicies.h"
#include "DShow/CaptureGraph.h"
#include "DShow/ComError.h"

namespace DShow {

bool EnumerateCompressors(CaptureGraph& graph, std::vector<CompressorEntry>& entries) {
    entries.clear();
    bool listed = RunComChecked(false, [&] {
        ComPtr<ICreateDevEnum> devices;
        OV_CHECK_COM(CoCreateInstance(CLSID_SystemDeviceEnum, nullptr, CLSCTX_INPROC_SERVER, IID_ICreateDevEnum,
                                      devices.PutVoid()));
        ComPtr<IEnumMoniker> monikers;
        HRESULT hr = devices->CreateClassEnumerator(CLSID_VideoCompressorCategory, monikers.Put(), 0);
        OV_CHECK_COM(hr);
        if (hr != S_OK) return true;  // the category is empty
        ComPtr<IMoniker> moniker;
        while (monikers->Next(1, moniker.Put(), nullptr) == S_OK) {
            ComPtr<IBaseFilter> filter;
            if (FAILED(moniker->BindToObject(nullptr, nullptr, IID_IBaseFilter, filter.PutVoid()))) continue;
            ComPtr<IPropertyBag> bag;
            OV_CHECK_COM(moniker->BindToStorage(nullptr, nullptr, IID_IPropertyBag, bag.PutVoid()));
            CTestCodecPolicy test(filter.Get());
            if (!test.Build(graph, true)) continue;
            VARIANT name;
            VariantInit(&name);
            OV_CHECK_COM(bag->Read(L"FriendlyName", &name, nullptr));
            entries.emplace_back(filter.Get(), name.vt == VT_BSTR ? name.bstrVal : L"");
            VariantClear(&name);
        }
        return true;
    });
    if (!listed) entries.clear();
    return listed;
}

std::vector<std::wstring> CodecListLines(const std::vector<CompressorEntry>& entries) {
    std::vector<std::wstring> lines{kNoCompression};
    for (const CompressorEntry& entry : entries) lines.push_back(entry.name);
    return lines;
}

IBaseFilter* SelectCompressor(const std::vector<CompressorEntry>& entries, const std::wstring& line) {
    for (const CompressorEntry& entry : entries)
        if (entry.name == line) return entry.filter.Get();
    return nullptr;
}

}  // namespace DShow
