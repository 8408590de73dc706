#pragma once
#include <cstdint>
#include <vector>

#include "Common/CritSec.h"
#include "DmaContext.h"
#include "Lib3Wrapper/OvTypeLib/IOvDataTransfer.h"
#include "Lib3Wrapper/OvTypeLib/Impl/OvEnumImpl.h"
#include "Lib3Wrapper/OvTypeLib/Impl/OvFrameImpl.h"
#include "Lib3Wrapper/lib3datatypes.h"

namespace DllModule::Lib3Wrapper::OvTypeLib::Impl::Vext {

// Data transfer modes of a VEXT camera.
enum TransferMode : int32_t {
    ModeNone = -1,
    ModeLive = 0,
    ModeRecording = 1,
    ModePlayback = 2,
};

// Reads frames out of a VEXT camera's recording memory: chooses the frame
// (live preview, newest recorded, or any recorded one), reads it in four DMA
// parts, unpacks the packed 10-bit samples and optionally subtracts a
// background.
class OvDataTransferImpl : public IOvDataTransfer {
public:
    explicit OvDataTransferImpl(OVHANDLE system);  // throws Lib3Error
    ~OvDataTransferImpl();

    bool StartInput() override { return false; }
    IOvDecodeOptions* GetDecodeOptions() override { return nullptr; }
    bool Acquire(int32_t* frameIndex) override;
    bool GetFrame(IOvFrame** frame, uint32_t* layout) override;
    bool Trigger() override { return false; }
    bool Reserved(uint32_t a, uint32_t b, uint32_t c, uint32_t d) override;
    bool GetState(int32_t* state) override;
    bool FindAttribute(uint32_t id, IOvAddOnAttribute** attribute) override;
    bool SetBackground(uint32_t plane, const uint16_t* pixels) override;
    bool EnableBackground(bool enable) override;
    bool GetStatistics(uint32_t*, uint64_t*, uint64_t*) override { return false; }

    // Used by the system.
    bool SelectMode(int32_t mode);
    bool StopInput(bool wait);
    bool LockIfLive();
    bool UnlockIfLive();

private:
    enum Status { StatusIdle = 0, StatusBusy = 1, StatusWrong = -1 };

    void SetState(int32_t state);
    bool AcquireIn(int32_t* frameIndex);
    int TransferStatus();
    bool FrameReady();
    bool SelectPart(uint32_t part);
    bool ReadPart(int part);
    bool ReadPartOrThrow(int part);
    bool WaitForData();
    bool Reconfigure();
    void UnpackPart(int part);
    bool CombineInto(IOvFrame** frame, uint32_t* layout);
    const uint16_t* NextBackground();
    uint32_t ReadField(const Lib3DataHeader& header, uint32_t field);

    int32_t cachedIndex_ = 0;
    int32_t indexMinimum_ = 0;
    int32_t indexMaximum_ = 0;
    Lib3ErrorData err_;
    OVHANDLE frameIndexOption_ = 0;
    OVHANDLE framePositionOption_ = 0;
    OVHANDLE control_ = 0;
    OVHANDLE inputControl_ = 0;
    OVHANDLE input_ = 0;
    OvFrameImpl frame_;
    DmaContext dma_;
    Lib3DataHeader negotiated_;  // H0
    Lib3DataHeader justRead_;    // H1
    uint32_t width_ = 0;
    uint32_t height_ = 0;
    int32_t mode_ = ModeNone;
    int32_t state_ = 0;
    uint8_t secondInputStarted_ = 0;
    CritSec acquisitionLock_;
    CritSec stateLock_;
    OvEnumAttributesImpl attributes_;
    std::vector<uint32_t> planes_[DmaContext::kParts];
    std::vector<uint16_t> backgrounds_[4];
    uint32_t pixelCount_ = 0;
    uint32_t backgroundCounter_ = 0;
    uint32_t backgroundEnabled_ = 0;
    // False until a reconfiguration has sized every buffer for the negotiated
    // type: a failed one must not leave a header that the buffers do not fit.
    bool formatValid_ = false;
};

}  // namespace DllModule::Lib3Wrapper::OvTypeLib::Impl::Vext
