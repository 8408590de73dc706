#pragma once
// The contract between the viewer and the ovdsource filter: the filter's
// class id, its control interface and the objects of the viewer it borrows.
// Both modules include this one header.
#include <windows.h>
#include <unknwn.h>

#include <cstdint>

namespace DllModule::Lib3Wrapper::OvTypeLib {
class IOvDataTransfer;
}
namespace Render {
class ImageProcessor;
}

// {511FBE78-9A5C-4A1D-9C25-145852AAB88F}
inline constexpr CLSID CLSID_OvSourceFilter = {
    0x511fbe78, 0x9a5c, 0x4a1d, {0x9c, 0x25, 0x14, 0x58, 0x52, 0xaa, 0xb8, 0x8f}};
// {8F0B1007-536B-4C8A-BD9E-6188EEEF5354}
inline constexpr IID IID_IOvSourceControl = {
    0x8f0b1007, 0x536b, 0x4c8a, {0xbd, 0x9e, 0x61, 0x88, 0xee, 0xef, 0x53, 0x54}};

// The filter keeps raw pointers to the transfer and the processor: the viewer
// owns both and keeps them alive while the filter may stream.
struct IOvSourceControl : public IUnknown {
    // 0 deliver frames, 1 fail each sample, any other value end the stream.
    virtual HRESULT STDMETHODCALLTYPE SetDeliveryState(int32_t state) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetDeliveryState(int32_t* state) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetFrameSource(DllModule::Lib3Wrapper::OvTypeLib::IOvDataTransfer* source) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetImageProcessor(Render::ImageProcessor* processor) = 0;
    // Opened for reading as raw bytes; E_INVALIDARG when it cannot be opened.
    virtual HRESULT STDMETHODCALLTYPE OpenSourceFile(const wchar_t* path) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetNotifyWindow(HWND window) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetFrameSize(int32_t width, int32_t height) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetFrameRange(int32_t first, int32_t last) = 0;
};
