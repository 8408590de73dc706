#include "DShow/FileSinkFilter.h"

#include <cstring>
#include <new>

namespace DShow {

class FileSinkFilter::Pin : public DsBase::InputPin, public IStream {
public:
    explicit Pin(FileSinkFilter& sink) : InputPin(sink, L"in"), sink_(sink) {}

    STDMETHODIMP QueryInterface(REFIID iid, void** object) override { return InputPin::QueryInterface(iid, object); }
    STDMETHODIMP_(ULONG) AddRef() override { return filter_.AddRef(); }
    STDMETHODIMP_(ULONG) Release() override { return filter_.Release(); }

    HRESULT CheckMediaType(const AM_MEDIA_TYPE& type) override {
        return type.majortype == MEDIATYPE_Stream ? S_OK : S_FALSE;
    }
    HRESULT Active() override {
        std::lock_guard<std::mutex> hold(sink_.fileMutex_);
        return sink_.OpenFile();
    }
    HRESULT OnReceive(IMediaSample* sample) override {
        BYTE* data = nullptr;
        HRESULT hr = sample->GetPointer(&data);
        if (FAILED(hr)) return hr;
        REFERENCE_TIME start = 0, stop = 0;
        std::lock_guard<std::mutex> hold(sink_.fileMutex_);
        // Stream samples carry their byte position as start time.
        ULONGLONG position = SUCCEEDED(sample->GetTime(&start, &stop)) ? ULONGLONG(start) : sink_.position_;
        return sink_.WriteAt(position, data, sample->GetActualDataLength(), nullptr);
    }
    STDMETHODIMP EndOfStream() override {
        {
            std::lock_guard<std::mutex> hold(sink_.fileMutex_);
            if (sink_.file_) FlushFileBuffers(sink_.file_.Get());
        }
        sink_.NotifyEvent(EC_COMPLETE, S_OK, reinterpret_cast<LONG_PTR>(static_cast<IBaseFilter*>(&sink_)));
        return S_OK;
    }

    // ISequentialStream / IStream: the multiplexer's writes and header rewrites.
    STDMETHODIMP Read(void* data, ULONG size, ULONG* read) override {
        std::lock_guard<std::mutex> hold(sink_.fileMutex_);
        if (!sink_.file_) return E_UNEXPECTED;
        LARGE_INTEGER at;
        at.QuadPart = LONGLONG(sink_.position_);
        DWORD done = 0;
        if (!SetFilePointerEx(sink_.file_.Get(), at, nullptr, FILE_BEGIN) ||
            !ReadFile(sink_.file_.Get(), data, size, &done, nullptr))
            return HRESULT_FROM_WIN32(GetLastError());
        sink_.position_ += done;
        if (read) *read = done;
        return done == size ? S_OK : S_FALSE;
    }
    STDMETHODIMP Write(const void* data, ULONG size, ULONG* written) override {
        std::lock_guard<std::mutex> hold(sink_.fileMutex_);
        return sink_.WriteAt(sink_.position_, data, size, written);
    }
    STDMETHODIMP Seek(LARGE_INTEGER move, DWORD origin, ULARGE_INTEGER* newPosition) override {
        std::lock_guard<std::mutex> hold(sink_.fileMutex_);
        LONGLONG base = 0;
        if (origin == STREAM_SEEK_CUR) base = LONGLONG(sink_.position_);
        if (origin == STREAM_SEEK_END) {
            LARGE_INTEGER size{};
            if (sink_.file_) GetFileSizeEx(sink_.file_.Get(), &size);
            base = size.QuadPart;
        }
        if (base + move.QuadPart < 0) return STG_E_INVALIDFUNCTION;
        sink_.position_ = ULONGLONG(base + move.QuadPart);
        if (newPosition) newPosition->QuadPart = sink_.position_;
        return S_OK;
    }
    STDMETHODIMP SetSize(ULARGE_INTEGER size) override { return S_OK; }
    STDMETHODIMP CopyTo(IStream*, ULARGE_INTEGER, ULARGE_INTEGER*, ULARGE_INTEGER*) override { return E_NOTIMPL; }
    STDMETHODIMP Commit(DWORD) override {
        std::lock_guard<std::mutex> hold(sink_.fileMutex_);
        if (sink_.file_) FlushFileBuffers(sink_.file_.Get());
        return S_OK;
    }
    STDMETHODIMP Revert() override { return E_NOTIMPL; }
    STDMETHODIMP LockRegion(ULARGE_INTEGER, ULARGE_INTEGER, DWORD) override { return E_NOTIMPL; }
    STDMETHODIMP UnlockRegion(ULARGE_INTEGER, ULARGE_INTEGER, DWORD) override { return E_NOTIMPL; }
    STDMETHODIMP Stat(STATSTG* stat, DWORD) override {
        if (!stat) return E_POINTER;
        std::memset(stat, 0, sizeof(*stat));
        stat->type = STGTY_STREAM;
        std::lock_guard<std::mutex> hold(sink_.fileMutex_);
        LARGE_INTEGER size{};
        if (sink_.file_) GetFileSizeEx(sink_.file_.Get(), &size);
        stat->cbSize.QuadPart = ULONGLONG(size.QuadPart);
        return S_OK;
    }
    STDMETHODIMP Clone(IStream**) override { return E_NOTIMPL; }

protected:
    HRESULT QueryExtraInterface(REFIID iid, void** object) override {
        if (iid == IID_IStream || iid == IID_ISequentialStream) return DsBase::ReturnInterface<IStream>(this, object);
        return InputPin::QueryExtraInterface(iid, object);
    }
    void BreakConnect() override {
        InputPin::BreakConnect();
        std::lock_guard<std::mutex> hold(sink_.fileMutex_);
        sink_.CloseFile();
    }

private:
    FileSinkFilter& sink_;
};

FileSinkFilter* FileSinkFilter::Create() { return new FileSinkFilter(); }

FileSinkFilter::FileSinkFilter() : BaseFilter(CLSID_OvFileSink), pin_(new Pin(*this)) {}

FileSinkFilter::~FileSinkFilter() { delete pin_; }

DsBase::BasePin* FileSinkFilter::PinAt(int index) { return index == 0 ? pin_ : nullptr; }

HRESULT FileSinkFilter::QueryExtraInterface(REFIID iid, void** object) {
    if (iid == IID_IFileSinkFilter) return DsBase::ReturnInterface<IFileSinkFilter>(this, object);
    if (iid == IID_IAMFilterMiscFlags) return DsBase::ReturnInterface<IAMFilterMiscFlags>(this, object);
    return E_NOINTERFACE;
}

STDMETHODIMP FileSinkFilter::SetFileName(LPCOLESTR fileName, const AM_MEDIA_TYPE* type) {
    if (!fileName) return E_POINTER;
    std::lock_guard<std::mutex> hold(fileMutex_);
    CloseFile();
    // A file that cannot be written (no folder, no access, in use) is refused
    // here, while the graph is built: a graph whose start failed on its file
    // hung when it was taken apart.
    OwnedHandle probe(
        CreateFileW(fileName, GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!probe) return HRESULT_FROM_WIN32(GetLastError());
    fileName_ = fileName;
    return S_OK;
}

STDMETHODIMP FileSinkFilter::GetCurFile(LPOLESTR* fileName, AM_MEDIA_TYPE* type) {
    if (!fileName) return E_POINTER;
    std::lock_guard<std::mutex> hold(fileMutex_);
    const size_t bytes = (fileName_.size() + 1) * sizeof(wchar_t);
    *fileName = static_cast<LPOLESTR>(CoTaskMemAlloc(bytes));
    if (!*fileName) return E_OUTOFMEMORY;
    std::memcpy(*fileName, fileName_.c_str(), bytes);
    if (type) {
        std::memset(type, 0, sizeof(*type));
        type->majortype = MEDIATYPE_Stream;
        type->subtype = MEDIASUBTYPE_Avi;
    }
    return S_OK;
}

HRESULT FileSinkFilter::OpenFile() {
    CloseFile();
    if (fileName_.empty()) return E_UNEXPECTED;
    file_.Reset(CreateFileW(fileName_.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file_) return HRESULT_FROM_WIN32(GetLastError());
    position_ = 0;
    return S_OK;
}

void FileSinkFilter::CloseFile() { file_.Reset(); }

HRESULT FileSinkFilter::WriteAt(ULONGLONG position, const void* data, ULONG size, ULONG* written) {
    if (!file_) return E_UNEXPECTED;
    LARGE_INTEGER at;
    at.QuadPart = LONGLONG(position);
    DWORD done = 0;
    if (!SetFilePointerEx(file_.Get(), at, nullptr, FILE_BEGIN) || !WriteFile(file_.Get(), data, size, &done, nullptr))
        return HRESULT_FROM_WIN32(GetLastError());
    position_ = position + done;
    if (written) *written = done;
    return S_OK;
}

}  // namespace DShow
