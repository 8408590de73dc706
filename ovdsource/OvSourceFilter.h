#pragma once
// The ovdsource filter: one streaming output pin that turns a range of frames
// of the viewer's data transfer into RGB video samples at 25 frames per
// second, converted by the viewer's ImageProcessor. What the framework does
// (connection, allocator, thread, states) lives in Framework/.
#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <memory>

#include "Common/CritSec.h"
#include "DShow/IOvSourceControl.h"
#include "Framework/BaseFilter.h"
#include "Framework/StreamingPin.h"
#include "Lib3Wrapper/OvTypeLib/IOvDataTransfer.h"

namespace OvSource {

// 100-ns units per sample: 25 frames per second whatever the camera's rate.
constexpr REFERENCE_TIME kSampleDuration = 400000;

// The one type the pin offers: top-down BI_RGB of the screen's depth
// (RGB24 for 24 bits, RGB32 for 32, no subtype for others), one frame per
// kSampleDuration.
HRESULT BuildVideoType(int32_t width, int32_t height, int32_t screenDepth, DsBase::MediaType& type);

class OvSourceStream : public DsBase::StreamingPin {
public:
    OvSourceStream(DsBase::BaseFilter& filter, CritSec& stateLock);

    HRESULT SetDeliveryState(int32_t state);
    HRESULT GetDeliveryState(int32_t* state);
    HRESULT SetFrameSource(DllModule::Lib3Wrapper::OvTypeLib::IOvDataTransfer* source);
    HRESULT SetImageProcessor(Render::ImageProcessor* processor);
    HRESULT OpenSourceFile(const wchar_t* path);
    HRESULT SetNotifyWindow(HWND window);
    HRESULT SetFrameSize(int32_t width, int32_t height);
    HRESULT SetFrameRange(int32_t first, int32_t last);

    HRESULT CheckMediaType(const AM_MEDIA_TYPE& type) override;
    HRESULT GetMediaType(int index, AM_MEDIA_TYPE& type) override;
    HRESULT DecideBufferSize(IMemAllocator* allocator, ALLOCATOR_PROPERTIES& request) override;

protected:
    HRESULT FillBuffer(IMediaSample* sample) override;
    void OnThreadStartPlay() override;
    void OnThreadDestroy() override;

private:
    // Under the state lock.
    HRESULT BuildType(DsBase::MediaType& type);
    void NotifyWindow(UINT message, LPARAM value);
    // EC_VIDEO_SIZE_CHANGED to the graph of the filter we are connected to.
    void ReportSizeChange(uint32_t width, uint32_t height);

    CritSec& stateLock_;
    int32_t deliveryState_ = 1;
    DllModule::Lib3Wrapper::OvTypeLib::IOvDataTransfer* source_ = nullptr;
    DllModule::Lib3Wrapper::OvTypeLib::IOvFrame* currentFrame_ = nullptr;
    int32_t currentIndex_ = 0;
    int32_t firstIndex_ = 0;
    int32_t lastIndex_ = 0;
    std::unique_ptr<FILE, int (*)(FILE*)> sourceFile_{nullptr, &std::fclose};
    int32_t width_ = 1;
    int32_t height_ = 1;
    int32_t bytesPerPixel_ = 0;
    HWND notifyWindow_ = nullptr;
    REFERENCE_TIME streamTime_ = 0;
    Render::ImageProcessor* processor_ = nullptr;
    int32_t screenDepth_;
    // The last frame of the range went out; the next fill ends the stream.
    bool rangeComplete_ = false;
};

class OvSourceFilter : public DsBase::BaseFilter, public IOvSourceControl, public IAMovieSetup {
public:
    static HRESULT Create(IUnknown* outer, IUnknown** object);

    STDMETHODIMP QueryInterface(REFIID iid, void** object) override { return BaseFilter::QueryInterface(iid, object); }
    STDMETHODIMP_(ULONG) AddRef() override { return BaseFilter::AddRef(); }
    STDMETHODIMP_(ULONG) Release() override { return BaseFilter::Release(); }

    // IOvSourceControl: forwarded to the pin.
    STDMETHODIMP SetDeliveryState(int32_t state) override { return stream_.SetDeliveryState(state); }
    STDMETHODIMP GetDeliveryState(int32_t* state) override { return stream_.GetDeliveryState(state); }
    STDMETHODIMP SetFrameSource(DllModule::Lib3Wrapper::OvTypeLib::IOvDataTransfer* source) override {
        return stream_.SetFrameSource(source);
    }
    STDMETHODIMP SetImageProcessor(Render::ImageProcessor* processor) override {
        return stream_.SetImageProcessor(processor);
    }
    STDMETHODIMP OpenSourceFile(const wchar_t* path) override { return stream_.OpenSourceFile(path); }
    STDMETHODIMP SetNotifyWindow(HWND window) override { return stream_.SetNotifyWindow(window); }
    STDMETHODIMP SetFrameSize(int32_t width, int32_t height) override { return stream_.SetFrameSize(width, height); }
    STDMETHODIMP SetFrameRange(int32_t first, int32_t last) override { return stream_.SetFrameRange(first, last); }

    // IAMovieSetup
    STDMETHODIMP Register() override;
    STDMETHODIMP Unregister() override;

    int PinCount() override { return 1; }
    DsBase::BasePin* PinAt(int index) override { return index == 0 ? &stream_ : nullptr; }

protected:
    HRESULT QueryExtraInterface(REFIID iid, void** object) override;

private:
    OvSourceFilter();

    CritSec stateLock_;
    OvSourceStream stream_;
};

}  // namespace OvSource
