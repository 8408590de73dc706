#include "MediaType.h"

#include <cstring>

namespace DsBase {

void FreeMediaTypeContents(AM_MEDIA_TYPE& type) {
    if (type.pbFormat) CoTaskMemFree(type.pbFormat);
    if (type.pUnk) type.pUnk->Release();
    type.pbFormat = nullptr;
    type.cbFormat = 0;
    type.pUnk = nullptr;
}

HRESULT CopyMediaType(AM_MEDIA_TYPE& destination, const AM_MEDIA_TYPE& source) {
    destination = source;
    if (source.cbFormat && source.pbFormat) {
        destination.pbFormat = static_cast<BYTE*>(CoTaskMemAlloc(source.cbFormat));
        if (!destination.pbFormat) {
            destination.cbFormat = 0;
            destination.pUnk = nullptr;
            return E_OUTOFMEMORY;
        }
        std::memcpy(destination.pbFormat, source.pbFormat, source.cbFormat);
    } else {
        destination.pbFormat = nullptr;
        destination.cbFormat = 0;
    }
    if (destination.pUnk) destination.pUnk->AddRef();
    return S_OK;
}

AM_MEDIA_TYPE* NewMediaTypeCopy(const AM_MEDIA_TYPE& source) {
    auto* type = static_cast<AM_MEDIA_TYPE*>(CoTaskMemAlloc(sizeof(AM_MEDIA_TYPE)));
    if (type && FAILED(CopyMediaType(*type, source))) {
        CoTaskMemFree(type);
        return nullptr;
    }
    return type;
}

void DeleteMediaType(AM_MEDIA_TYPE* type) {
    if (!type) return;
    FreeMediaTypeContents(*type);
    CoTaskMemFree(type);
}

MediaType::MediaType() { std::memset(&type_, 0, sizeof(type_)); }

MediaType::~MediaType() { FreeMediaTypeContents(type_); }

MediaType::MediaType(const MediaType& other) : MediaType() { Assign(other.type_); }

MediaType& MediaType::operator=(const MediaType& other) {
    if (this != &other) Assign(other.type_);
    return *this;
}

HRESULT MediaType::Assign(const AM_MEDIA_TYPE& source) {
    if (&source == &type_) return S_OK;
    Clear();
    HRESULT hr = CopyMediaType(type_, source);
    if (FAILED(hr)) std::memset(&type_, 0, sizeof(type_));
    return hr;
}

void MediaType::Clear() {
    FreeMediaTypeContents(type_);
    std::memset(&type_, 0, sizeof(type_));
}

BYTE* MediaType::AllocateFormat(ULONG size) {
    FreeMediaTypeContents(type_);
    type_.pbFormat = static_cast<BYTE*>(CoTaskMemAlloc(size));
    if (!type_.pbFormat) return nullptr;
    std::memset(type_.pbFormat, 0, size);
    type_.cbFormat = size;
    return type_.pbFormat;
}

}  // namespace DsBase
