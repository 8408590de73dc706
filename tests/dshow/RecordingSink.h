#pragma once
// A renderer built on the filter framework for the tests: accepts every
// video type (or none, to make a connection fail), records each sample's
// times and bytes, and reports EC_COMPLETE at the end of the stream.
#include <mutex>
#include <vector>

#include "Framework/BaseFilter.h"
#include "Framework/Pins.h"

namespace dshowtest {

struct ReceivedSample {
    REFERENCE_TIME start = -1;
    REFERENCE_TIME stop = -1;
    bool syncPoint = false;
    std::vector<BYTE> bytes;
};

class RecordingSink : public DsBase::BaseFilter, public IAMFilterMiscFlags {
public:
    // New with one reference.
    static RecordingSink* Create(bool acceptTypes = true) { return new RecordingSink(acceptTypes); }

    STDMETHODIMP QueryInterface(REFIID iid, void** object) override { return BaseFilter::QueryInterface(iid, object); }
    STDMETHODIMP_(ULONG) AddRef() override { return BaseFilter::AddRef(); }
    STDMETHODIMP_(ULONG) Release() override { return BaseFilter::Release(); }
    STDMETHODIMP_(ULONG) GetMiscFlags() override { return AM_FILTER_MISC_FLAGS_IS_RENDERER; }

    int PinCount() override { return 1; }
    DsBase::BasePin* PinAt(int index) override { return index == 0 ? &pin_ : nullptr; }
    IPin* Input() { return &pin_; }

    std::vector<ReceivedSample> Samples() {
        std::lock_guard<std::mutex> hold(mutex_);
        return samples_;
    }
    bool Ended() {
        std::lock_guard<std::mutex> hold(mutex_);
        return ended_;
    }

protected:
    explicit RecordingSink(bool acceptTypes) : BaseFilter(GUID_NULL), pin_(*this, acceptTypes) {}

    HRESULT QueryExtraInterface(REFIID iid, void** object) override {
        if (iid == IID_IAMFilterMiscFlags) return DsBase::ReturnInterface<IAMFilterMiscFlags>(this, object);
        return E_NOINTERFACE;
    }

private:
    class Pin : public DsBase::InputPin {
    public:
        Pin(RecordingSink& sink, bool acceptTypes) : InputPin(sink, L"In"), sink_(sink), accept_(acceptTypes) {}
        HRESULT CheckMediaType(const AM_MEDIA_TYPE& type) override {
            return accept_ && type.majortype == MEDIATYPE_Video ? S_OK : S_FALSE;
        }
        HRESULT OnReceive(IMediaSample* sample) override {
            ReceivedSample received;
            received.syncPoint = sample->IsSyncPoint() == S_OK;
            sample->GetTime(&received.start, &received.stop);
            BYTE* data = nullptr;
            sample->GetPointer(&data);
            received.bytes.assign(data, data + sample->GetActualDataLength());
            std::lock_guard<std::mutex> hold(sink_.mutex_);
            sink_.samples_.push_back(std::move(received));
            return S_OK;
        }
        STDMETHODIMP EndOfStream() override {
            {
                std::lock_guard<std::mutex> hold(sink_.mutex_);
                sink_.ended_ = true;
            }
            sink_.NotifyEvent(EC_COMPLETE, S_OK, reinterpret_cast<LONG_PTR>(static_cast<IBaseFilter*>(&sink_)));
            return S_OK;
        }

    private:
        RecordingSink& sink_;
        bool accept_;
    };

    std::mutex mutex_;
    std::vector<ReceivedSample> samples_;
    bool ended_ = false;
    Pin pin_;
};

}  // namespace dshowtest
