#include "OvSourceFilter.h"

#include <evcode.h>
#include <uuids.h>

#include <new>

#include "Common/ScreenDepth.h"
#include "Framework/Module.h"
#include "Render/ImageProcessor.h"
#include "Render/RenderMessages.h"

using DllModule::Lib3Wrapper::OvTypeLib::IOvDataTransfer;
using DllModule::Lib3Wrapper::OvTypeLib::IOvFrame;
using DllModule::Lib3Wrapper::OvTypeLib::IOvFrameMemBuffer;

namespace OvSource {

namespace {

const wchar_t kFilterName[] = L"Orvane Source Filter";

const REGPINTYPES kPinTypes = {&MEDIATYPE_Video, &GUID_NULL};
const REGFILTERPINS kPins = {
    const_cast<LPWSTR>(L"Output"), FALSE, TRUE, FALSE, FALSE, &GUID_NULL, nullptr, 1, &kPinTypes};

REGFILTER2 MakeSetup() {
    REGFILTER2 setup{};
    setup.dwVersion = 1;
    setup.dwMerit = 0x00200000;
    setup.cPins = 1;
    setup.rgPins = &kPins;
    return setup;
}
const REGFILTER2 kSetup = MakeSetup();

}  // namespace

HRESULT BuildVideoType(int32_t width, int32_t height, int32_t screenDepth, DsBase::MediaType& type) {
    type.Clear();
    auto* format = reinterpret_cast<VIDEOINFOHEADER*>(type.AllocateFormat(sizeof(VIDEOINFOHEADER)));
    if (!format) return E_UNEXPECTED;
    const ULONG imageSize = static_cast<ULONG>(screenDepth / 8) * height * width;
    // The platform's AVI multiplexer divides by the frame duration when it
    // writes the stream header; a zero there crashed it on stop.
    format->AvgTimePerFrame = kSampleDuration;
    format->bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    format->bmiHeader.biWidth = width;
    format->bmiHeader.biHeight = -height;
    format->bmiHeader.biPlanes = 1;
    format->bmiHeader.biBitCount = static_cast<WORD>(screenDepth);
    format->bmiHeader.biCompression = BI_RGB;
    format->bmiHeader.biSizeImage = imageSize;
    AM_MEDIA_TYPE& t = type.Get();
    t.majortype = MEDIATYPE_Video;
    t.subtype = screenDepth == 24 ? MEDIASUBTYPE_RGB24 : screenDepth == 32 ? MEDIASUBTYPE_RGB32 : GUID_NULL;
    t.formattype = FORMAT_VideoInfo;
    t.bFixedSizeSamples = TRUE;
    t.bTemporalCompression = FALSE;
    t.lSampleSize = imageSize;
    return S_OK;
}

// ---- the pin ----

OvSourceStream::OvSourceStream(DsBase::BaseFilter& filter, CritSec& stateLock)
    : StreamingPin(filter, L"Out Pin"), stateLock_(stateLock), screenDepth_(ScreenBitsPerPixel()) {}

HRESULT OvSourceStream::SetDeliveryState(int32_t state) {
    CritSecLock hold(stateLock_);
    deliveryState_ = state;
    return S_OK;
}

HRESULT OvSourceStream::GetDeliveryState(int32_t* state) {
    if (!state) return E_POINTER;
    CritSecLock hold(stateLock_);
    *state = deliveryState_;
    return S_OK;
}

HRESULT OvSourceStream::SetFrameSource(IOvDataTransfer* source) {
    CritSecLock hold(stateLock_);
    source_ = source;
    return S_OK;
}

HRESULT OvSourceStream::SetImageProcessor(Render::ImageProcessor* processor) {
    CritSecLock hold(stateLock_);
    processor_ = processor;
    return S_OK;
}

HRESULT OvSourceStream::OpenSourceFile(const wchar_t* path) {
    CritSecLock hold(stateLock_);
    sourceFile_.reset();
    if (!path) return E_INVALIDARG;
    sourceFile_.reset(_wfopen(path, L"rb"));
    return sourceFile_ ? S_OK : E_INVALIDARG;
}

HRESULT OvSourceStream::SetNotifyWindow(HWND window) {
    CritSecLock hold(stateLock_);
    notifyWindow_ = window;
    return S_OK;
}

HRESULT OvSourceStream::SetFrameSize(int32_t width, int32_t height) {
    CritSecLock hold(stateLock_);
    width_ = width;
    height_ = height;
    return S_OK;
}

HRESULT OvSourceStream::SetFrameRange(int32_t first, int32_t last) {
    CritSecLock hold(stateLock_);
    firstIndex_ = first;
    lastIndex_ = last;
    return S_OK;
}

HRESULT OvSourceStream::BuildType(DsBase::MediaType& type) {
    if (screenDepth_ == 0) return E_UNEXPECTED;
    bytesPerPixel_ = screenDepth_ / 8;
    return BuildVideoType(width_, height_, screenDepth_, type);
}

HRESULT OvSourceStream::GetMediaType(int index, AM_MEDIA_TYPE& type) {
    if (index != 0) return VFW_S_NO_MORE_ITEMS;
    CritSecLock hold(stateLock_);
    DsBase::MediaType built;
    HRESULT hr = BuildType(built);
    if (FAILED(hr)) return hr;
    return DsBase::CopyMediaType(type, built.Get());
}

HRESULT OvSourceStream::CheckMediaType(const AM_MEDIA_TYPE& type) {
    CritSecLock hold(stateLock_);
    DsBase::MediaType ours;
    if (FAILED(BuildType(ours))) return E_FAIL;
    const AM_MEDIA_TYPE& own = ours.Get();
    bool same = type.majortype == own.majortype && type.subtype == own.subtype && type.formattype == own.formattype &&
                type.lSampleSize == own.lSampleSize;
    return same ? S_OK : E_FAIL;
}

HRESULT OvSourceStream::DecideBufferSize(IMemAllocator* allocator, ALLOCATOR_PROPERTIES& request) {
    // The type being connected (set under the filter lock, which the
    // connection holds).
    const LONG sampleSize = LONG(type_.Get().lSampleSize);
    if (request.cBuffers == 0) request.cBuffers = 2;
    request.cbBuffer = sampleSize;
    ALLOCATOR_PROPERTIES granted{};
    HRESULT hr = allocator->SetProperties(&request, &granted);
    if (FAILED(hr)) return hr;
    return granted.cbBuffer < sampleSize ? E_FAIL : S_OK;
}

void OvSourceStream::OnThreadStartPlay() {
    CritSecLock hold(stateLock_);
    streamTime_ = 0;
    currentIndex_ = firstIndex_;
    rangeComplete_ = false;
}

void OvSourceStream::OnThreadDestroy() {
    CritSecLock hold(stateLock_);
    NotifyWindow(UWM_SEQUENCE_END, 0);
}

void OvSourceStream::NotifyWindow(UINT message, LPARAM value) {
    if (notifyWindow_) SendNotifyMessageW(notifyWindow_, message, 0, value);
}

HRESULT OvSourceStream::FillBuffer(IMediaSample* sample) {
    CritSecLock hold(stateLock_);
    if (deliveryState_ != 0) return deliveryState_ == 1 ? E_FAIL : S_FALSE;
    if (rangeComplete_) {
        NotifyWindow(UWM_SEQUENCE_END, 0);
        return S_FALSE;
    }
    BYTE* buffer = nullptr;
    sample->GetPointer(&buffer);
    if (!buffer || !source_) return E_POINTER;

    int32_t index = currentIndex_;
    IOvFrame* frame = nullptr;
    uint32_t layout = 0;
    if (!source_->Acquire(&index)) return S_FALSE;
    if (!source_->GetFrame(&frame, &layout) || !frame) return S_FALSE;
    currentFrame_ = frame;
    IOvFrameMemBuffer* frameBuffer = nullptr;
    uint32_t width = 0, height = 0, frameBytesPerPixel = 0;
    if (!frame->GetCurrent(&frameBuffer) || !frameBuffer ||
        !frameBuffer->GetFormat(&width, &height, &frameBytesPerPixel))
        return S_FALSE;

    if (width != static_cast<uint32_t>(width_) || height != static_cast<uint32_t>(height_)) {
        width_ = static_cast<int32_t>(width);
        height_ = static_cast<int32_t>(height);
        ReportSizeChange(width, height);
        return S_FALSE;
    }

    uint8_t* samples = nullptr;
    if (!frameBuffer->GetData(&samples) || !samples) return S_FALSE;
    if (!processor_) return E_POINTER;
    const int32_t rowBytes = width_ * bytesPerPixel_;
    processor_->Render8(0, 0, width, height, buffer, rowBytes, static_cast<uint32_t>(screenDepth_),
                        reinterpret_cast<const uint16_t*>(samples), layout);
    sample->SetActualDataLength(rowBytes * height_);

    REFERENCE_TIME start = streamTime_;
    REFERENCE_TIME stop = start + kSampleDuration;
    sample->SetTime(&start, &stop);
    sample->SetSyncPoint(TRUE);
    streamTime_ = stop;

    if (currentIndex_ < lastIndex_) {
        NotifyWindow(UWM_FRAME_INDEX, currentIndex_);
        ++currentIndex_;
    } else {
        rangeComplete_ = true;
    }
    return S_OK;
}

void OvSourceStream::ReportSizeChange(uint32_t width, uint32_t height) {
    // Through the filter's graph, which needs no filter lock (Stop holds it
    // while it waits for this thread).
    Filter().NotifyEvent(EC_VIDEO_SIZE_CHANGED, MAKELONG(width, height), 0);
}

// ---- the filter ----

OvSourceFilter::OvSourceFilter() : BaseFilter(CLSID_OvSourceFilter), stream_(*this, stateLock_) {}

HRESULT OvSourceFilter::Create(IUnknown* outer, IUnknown** object) {
    *object = nullptr;
    // The filter keeps no separate inner unknown, so it cannot be aggregated.
    if (outer) return CLASS_E_NOAGGREGATION;
    auto* filter = new (std::nothrow) OvSourceFilter();
    if (!filter) return E_OUTOFMEMORY;
    *object = static_cast<IBaseFilter*>(filter);
    return S_OK;
}

HRESULT OvSourceFilter::QueryExtraInterface(REFIID iid, void** object) {
    if (iid == IID_IOvSourceControl) return DsBase::ReturnInterface<IOvSourceControl>(this, object);
    if (iid == IID_IAMovieSetup) return DsBase::ReturnInterface<IAMovieSetup>(this, object);
    return E_NOINTERFACE;
}

STDMETHODIMP OvSourceFilter::Register() { return DsBase::RegisterModule(true); }

STDMETHODIMP OvSourceFilter::Unregister() { return DsBase::RegisterModule(false); }

}  // namespace OvSource

namespace DsBase {

const FactoryTemplate kFactoryTemplates[] = {
    {OvSource::kFilterName, &CLSID_OvSourceFilter, &OvSource::OvSourceFilter::Create, &OvSource::kSetup},
};
const int kFactoryTemplateCount = 1;

}  // namespace DsBase
