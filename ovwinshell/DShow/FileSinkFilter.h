#pragma once
// A file writer of our own, used when the platform's File Writer offers no
// IStream on its input pin (the AVI multiplexer writes through IStream).
// Its input pin takes samples (written at the byte position their start
// time gives) and IStream calls; the filter answers IFileSinkFilter and is
// marked as a renderer so that the graph waits for its end of stream. The
// file stays open after a stop, because the multiplexer rewrites its headers
// when it stops, after us; it is closed on the next start, on disconnection
// and with the filter.
#include <windows.h>
#include <dshow.h>

#include <mutex>
#include <string>

#include "Common/Owned.h"
#include "Framework/BaseFilter.h"
#include "Framework/Pins.h"

namespace DShow {

// {6F1C52D4-8E3B-4B0A-9A51-0C7E2D9B4F10}: ours, not registered.
inline constexpr CLSID CLSID_OvFileSink = {
    0x6f1c52d4, 0x8e3b, 0x4b0a, {0x9a, 0x51, 0x0c, 0x7e, 0x2d, 0x9b, 0x4f, 0x10}};

class FileSinkFilter : public DsBase::BaseFilter, public IFileSinkFilter, public IAMFilterMiscFlags {
public:
    // New with one reference.
    static FileSinkFilter* Create();

    STDMETHODIMP QueryInterface(REFIID iid, void** object) override { return BaseFilter::QueryInterface(iid, object); }
    STDMETHODIMP_(ULONG) AddRef() override { return BaseFilter::AddRef(); }
    STDMETHODIMP_(ULONG) Release() override { return BaseFilter::Release(); }

    // IFileSinkFilter
    STDMETHODIMP SetFileName(LPCOLESTR fileName, const AM_MEDIA_TYPE* type) override;
    STDMETHODIMP GetCurFile(LPOLESTR* fileName, AM_MEDIA_TYPE* type) override;
    // IAMFilterMiscFlags
    STDMETHODIMP_(ULONG) GetMiscFlags() override { return AM_FILTER_MISC_FLAGS_IS_RENDERER; }

    int PinCount() override { return 1; }
    DsBase::BasePin* PinAt(int index) override;

protected:
    HRESULT QueryExtraInterface(REFIID iid, void** object) override;

private:
    class Pin;
    friend class Pin;

    FileSinkFilter();
    ~FileSinkFilter() override;

    // Under fileMutex_.
    HRESULT OpenFile();
    void CloseFile();
    HRESULT WriteAt(ULONGLONG position, const void* data, ULONG size, ULONG* written);

    std::mutex fileMutex_;
    std::wstring fileName_;
    OwnedHandle file_;
    ULONGLONG position_ = 0;  // the IStream seek pointer
    Pin* pin_;
};

}  // namespace DShow
