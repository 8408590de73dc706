#pragma once
// An owning AM_MEDIA_TYPE: the format block and the format object are freed
// with it, copies are deep. The free functions handle the types that the
// DirectShow calls hand across with CoTaskMemAlloc.
#include <windows.h>
#include <dshow.h>

namespace DsBase {

// Frees the format block and releases the format object, leaving the type empty.
void FreeMediaTypeContents(AM_MEDIA_TYPE& type);
// Deep copy into an empty destination; E_OUTOFMEMORY leaves it empty.
HRESULT CopyMediaType(AM_MEDIA_TYPE& destination, const AM_MEDIA_TYPE& source);
// A new CoTaskMemAlloc'ed deep copy, or null.
AM_MEDIA_TYPE* NewMediaTypeCopy(const AM_MEDIA_TYPE& source);
void DeleteMediaType(AM_MEDIA_TYPE* type);

class MediaType {
public:
    MediaType();
    ~MediaType();
    MediaType(const MediaType& other);
    MediaType& operator=(const MediaType& other);

    AM_MEDIA_TYPE& Get() { return type_; }
    const AM_MEDIA_TYPE& Get() const { return type_; }
    // Replaces the contents with a deep copy of source.
    HRESULT Assign(const AM_MEDIA_TYPE& source);
    void Clear();
    // A format block of size bytes, zero-filled; null when out of memory.
    BYTE* AllocateFormat(ULONG size);

private:
    AM_MEDIA_TYPE type_;
};

}  // namespace DsBase
