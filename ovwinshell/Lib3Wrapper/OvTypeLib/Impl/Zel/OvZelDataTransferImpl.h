#pragma once
#include <cstdint>
#include <memory>
#include <vector>

#include "Common/CritSec.h"
#include "Lib3Wrapper/lib3datatypes.h"
#include "Lib3Wrapper/OvTypeLib/IOvDataTransfer.h"
#include "Lib3Wrapper/OvTypeLib/Impl/OvEnumImpl.h"
#include "Lib3Wrapper/OvTypeLib/Impl/OvFrameImpl.h"
#include "ZelDmaContext.h"

namespace DllModule::Lib3Wrapper::OvTypeLib::Impl::Zel {

// Transfer methods, found by the probe on the first acquisition.
enum TransferMethod : uint32_t {
    MethodUnknown = 0,
    MethodDma = 1,
    MethodBlock = 2,
    MethodPio = 3,
};

// Moves one image at a time from a ZEL camera input into the frame and
// decodes it with the library's codec.
class OvDataTransferImpl : public IOvDataTransfer, public IOvDecodeOptions {
public:
    explicit OvDataTransferImpl(OVHANDLE system);  // throws Lib3Error
    ~OvDataTransferImpl();

    // IOvDataTransfer
    bool StartInput() override;
    IOvDecodeOptions* GetDecodeOptions() override { return this; }
    bool Acquire(int32_t* frameIndex) override;
    bool GetFrame(IOvFrame** frame, uint32_t* layout) override;
    bool Trigger() override;
    bool Reserved(uint32_t, uint32_t, uint32_t, uint32_t) override { return false; }
    bool GetState(int32_t* state) override;
    bool FindAttribute(uint32_t id, IOvAddOnAttribute** attribute) override;
    bool SetBackground(uint32_t, const uint16_t*) override { return false; }
    bool EnableBackground(bool) override { return false; }
    bool GetStatistics(uint32_t* frames, uint64_t* bytes, uint64_t* microseconds) override;

    // IOvDecodeOptions: accepted and ignored, in step with acquisition.
    bool SetOption0(uint32_t) override { return TouchDecodeOption(); }
    bool SetOption1(uint32_t) override { return TouchDecodeOption(); }
    bool SetOption2(uint32_t) override { return TouchDecodeOption(); }
    bool SetOption3(uint32_t) override { return TouchDecodeOption(); }
    bool SetOption4(uint32_t) override { return TouchDecodeOption(); }
    bool SetOption5(uint32_t) override { return TouchDecodeOption(); }

    // Used by the system: hand out in mode 0 (the next Acquire probes again),
    // and the option-change brackets, which lock only once handed out.
    void HandOut();
    bool LockIfHandedOut();
    bool UnlockIfHandedOut();

    uint32_t GetMethod() const { return method_; }

private:
    bool TouchDecodeOption();
    bool WaitReady();
    bool Probe();
    bool TryDma();
    bool AcquireWithMethod();
    void CancelAndEndBlock(bool dmaStarted, bool blockBegun);
    void ReportDmaTimeout(int line);
    void Renegotiate();
    void ResetStatistics();
    uint32_t ReadField(const Lib3DataHeader& header, uint32_t field);
    void WriteField(const Lib3DataHeader& header, uint32_t field, uint32_t value);

    Lib3ErrorData err_;
    OVHANDLE inputControl_;
    OVHANDLE control_ = 0;
    OVHANDLE input_ = 0;
    Lib3DataHeader negotiated_;    // H0
    Lib3DataHeader justRead_;      // H1
    Lib3DataHeader intermediate_;  // H2
    Lib3DataHeader output_;        // H3
    uint32_t width_ = 0;
    uint32_t height_ = 0;
    int32_t modeHandedOut_ = -1;
    int32_t state_ = 0;
    CritSec acquisitionLock_;
    CritSec stateLock_;
    std::vector<uint8_t> raw_;
    std::vector<uint8_t> intermediateBuffer_;
    uint32_t intermediateSize_ = 0;
    uint32_t outputBytesPerPixel_ = 2;
    uint64_t blockSize_ = 0;
    // True once the buffers fit the negotiated type; a failed renegotiation
    // clears it so that the next acquisition negotiates afresh.
    bool negotiatedValid_ = false;
    OvFrameImpl frame_;
    std::unique_ptr<ZelDmaContext> dma_;
    uint32_t method_ = MethodUnknown;
    OvEnumAttributesImpl attributes_;
    uint32_t frameCount_ = 0;
    uint64_t byteCount_ = 0;
    uint64_t microseconds_ = 0;
    uint8_t decodeFlags_[5] = {1, 1, 1, 1, 1};
};

}  // namespace DllModule::Lib3Wrapper::OvTypeLib::Impl::Zel
