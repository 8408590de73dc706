#include "OvVextDataTransferImpl.h"

#include <windows.h>

#include <algorithm>

#include "Lib3Wrapper/OvTypeLib/OptionIds.h"
#include "Lib3Wrapper/Reported.h"
#include "Render/Kernels/VextUnpack.h"

namespace DllModule::Lib3Wrapper::OvTypeLib::Impl::Vext {

namespace {
const char* const kUnitPath = ".\\Lib3Wrapper\\OvTypeLib\\Impl\\Vext\\OvVextDataTransferImpl";

constexpr uint32_t kControlInterface = 0xC0300003;
constexpr uint32_t kInputControlInterface = 0xC0300002;
constexpr uint32_t kInputInterface = 0xC0000000;

constexpr uint32_t kRestartInputCommand = 0xA0000065;
constexpr uint32_t kArmInputCommand = 0xA0000064;
constexpr uint32_t kStatusCommand = 0xA0000066;
constexpr uint32_t kStopInputCommand = 0xA0000068;
constexpr uint32_t kSelectPartCommand = 0xB0000001;
constexpr uint32_t kFrameReadCommand = 0xB0000004;
constexpr uint32_t kSelectFrameCommand = 0xB0000005;
constexpr uint32_t kStatusParameter = 272;
constexpr uint32_t kPartParameter = 16;
constexpr uint32_t kStatusIdle = 3;
constexpr uint32_t kStatusBusy = 7;

constexpr ULONGLONG kTimeoutMs = 2000;
constexpr uint32_t kWaitMs = 2000;
constexpr int32_t kLiveIndexBehind = 5;  // the live frame read lies this far behind the frame position

constexpr uint32_t kFieldWidth = 4;
constexpr uint32_t kFieldHeight = 5;
constexpr uint32_t kFieldFormat = 9;
constexpr uint32_t kFormatMosaic = 0x10002;
// A header announcing more pixels than this is taken for a broken one.
constexpr uint64_t kMaxPixels = uint64_t(1) << 28;

// The process-wide flag behind Reserved; set once, never cleared.
bool g_reservedFlag = false;

struct StatusRecord {
    uint32_t status;
    uint32_t words[15];
};

void ReportHere(int line, const char* text) {
    MessageSink::Instance().ReportAt(ErrorTitle, kUnitPath, line, text, true);
}

}  // namespace

OvDataTransferImpl::OvDataTransferImpl(OVHANDLE system) {
    LIB3_CHECK(OvLib3SystemGetCInterface(system, OptionIds::kFrameIndex, 0, &frameIndexOption_, err_), err_);
    LIB3_CHECK(OvLib3SystemGetCInterface(system, OptionIds::kFramePosition, 0, &framePositionOption_, err_), err_);
    LIB3_CHECK(OvLib3SystemGetCInterface(system, kControlInterface, 0, &control_, err_), err_);
    LIB3_CHECK(OvLib3SystemGetCInterface(system, kInputControlInterface, 0, &inputControl_, err_), err_);
    LIB3_CHECK(OvLib3SystemGetInDInterface(system, kInputInterface, 0, &input_, err_), err_);
    OVHANDLE secondInput = 0;
    if (OvLib3SystemGetCInterface(system, kInputControlInterface, 1, &secondInput, err_) <= 0) {
        LIB3_CHECK(OvLib3CallCInterface_0(secondInput, kRestartInputCommand, err_), err_);
        secondInputStarted_ = 1;
    }
}

OvDataTransferImpl::~OvDataTransferImpl() = default;

bool OvDataTransferImpl::SelectMode(int32_t mode) {
    CritSecLock guard(acquisitionLock_);
    return RunReported([&] {
        LIB3_CHECK(OvLib3CallCInterface_0(control_, kSelectFrameCommand, err_), err_);
        if (mode != ModePlayback) LIB3_CHECK(OvLib3CallCInterface_0(inputControl_, kArmInputCommand, err_), err_);
        mode_ = mode;
        if (mode == ModePlayback) {
            LIB3_CHECK(OvLib3OptionGetScalarRange(frameIndexOption_, &indexMinimum_, &indexMaximum_, 0, err_), err_);
            cachedIndex_ = indexMaximum_;
        }
        return true;
    });
}

bool OvDataTransferImpl::StopInput(bool wait) {
    CritSecLock guard(acquisitionLock_);
    return RunReported([&] {
        LIB3_CHECK(OvLib3CallCInterface_0(inputControl_, kStopInputCommand, err_), err_);
        if (!wait) return true;
        const ULONGLONG start = GetTickCount64();
        for (;;) {
            if (GetTickCount64() - start >= kTimeoutMs) {
                ReportHere(__LINE__, "Can't stop input contorl");
                return true;
            }
            StatusRecord record{};
            LIB3_CHECK(OvLib3CallCInterface_1(inputControl_, kStatusCommand, kStatusParameter, &record, err_), err_);
            if (record.status == kStatusIdle) return true;
            LIB3_CHECK(OvLib3CallCInterface_0(inputControl_, kStopInputCommand, err_), err_);
            Sleep(1);
        }
    });
}

bool OvDataTransferImpl::LockIfLive() {
    if (mode_ != ModeLive) return false;
    acquisitionLock_.Enter();
    return true;
}

bool OvDataTransferImpl::UnlockIfLive() {
    if (mode_ != ModeLive) return false;
    acquisitionLock_.Leave();
    return true;
}

void OvDataTransferImpl::SetState(int32_t state) {
    CritSecLock guard(stateLock_);
    state_ = state;
}

// Idle, busy, or wrong once the camera has answered neither for two seconds.
int OvDataTransferImpl::TransferStatus() {
    const ULONGLONG start = GetTickCount64();
    for (;;) {
        StatusRecord record{};
        if (mode_ != ModePlayback)
            LIB3_CHECK(OvLib3CallCInterface_1(inputControl_, kStatusCommand, kStatusParameter, &record, err_), err_);
        LIB3_CHECK(OvLib3CallCInterface_1(control_, kStatusCommand, kStatusParameter, &record, err_), err_);
        if (record.status == kStatusIdle) return StatusIdle;
        if (record.status == kStatusBusy) return StatusBusy;
        if (GetTickCount64() - start >= kTimeoutMs) {
            ReportHere(__LINE__, "Wrong Transfer status.");
            return StatusWrong;
        }
        Sleep(1);
    }
}

bool OvDataTransferImpl::Acquire(int32_t* frameIndex) {
    acquisitionLock_.Enter();
    SetState(0);
    bool acquired = false;
    try {
        acquired = AcquireIn(frameIndex);
    } catch (const Lib3Error& error) {
        ReportError(error);
        SetState(-1);
    }
    if (!acquired) acquisitionLock_.Leave();
    return acquired;
}

bool OvDataTransferImpl::AcquireIn(int32_t* frameIndex) {
    switch (mode_) {
        case ModeLive: {
            if (TransferStatus() != StatusIdle) return false;
            int32_t first = 0, last = 0;
            LIB3_CHECK(OvLib3OptionGetScalarRange(frameIndexOption_, &first, &last, 0, err_), err_);
            if (first < 0 || last < 0) return false;
            int32_t position = 0;
            LIB3_CHECK(OvLib3OptionGetScalar(framePositionOption_, &position, 0, err_), err_);
            *frameIndex = position - kLiveIndexBehind;
            LIB3_CHECK(OvLib3OptionSetScalar(frameIndexOption_, *frameIndex, 0, err_), err_);
            LIB3_CHECK(OvLib3CallCInterface_0(control_, kSelectFrameCommand, err_), err_);
            return true;
        }
        case ModeRecording: {
            const int status = TransferStatus();
            if (status == StatusIdle) {
                // Nothing recorded yet, or the recording has ended: the worker asks GetState.
                SetState(1);
                return false;
            }
            if (status != StatusBusy) return false;
            int32_t first = 0, last = 0;
            LIB3_CHECK(OvLib3OptionGetScalarRange(frameIndexOption_, &first, &last, 0, err_), err_);
            LIB3_CHECK(OvLib3OptionSetScalar(frameIndexOption_, last, 0, err_), err_);
            *frameIndex = last;
            return true;
        }
        case ModePlayback:
            if (*frameIndex != cachedIndex_) {
                LIB3_CHECK(OvLib3OptionSetScalar(frameIndexOption_, *frameIndex, 0, err_), err_);
                // The camera may have moved the index into its film.
                LIB3_CHECK(OvLib3OptionGetScalar(frameIndexOption_, frameIndex, 0, err_), err_);
                cachedIndex_ = *frameIndex;
            }
            return true;
        default:
            return false;
    }
}

bool OvDataTransferImpl::FrameReady() {
    return RunReported([&] {
        const int status = TransferStatus();
        if (mode_ == ModeRecording) return status == StatusIdle || status == StatusBusy;
        return status == StatusIdle;
    });
}

bool OvDataTransferImpl::SelectPart(uint32_t part) {
    return RunReported([&] {
        LIB3_CHECK(OvLib3CallCInterface_1(control_, kSelectPartCommand, kPartParameter, &part, err_), err_);
        return true;
    });
}

uint32_t OvDataTransferImpl::ReadField(const Lib3DataHeader& header, uint32_t field) {
    uint32_t value = 0;
    LIB3_CHECK(OvLib3DataheaderGetU32(header.Get(), field, &value, err_), err_);
    return value;
}

// True once the input holds data, after one wait and two more questions.
bool OvDataTransferImpl::WaitForData() {
    uint64_t amount = 0;
    LIB3_CHECK(OvLib3InDInterfaceQueryReady(input_, &amount, err_), err_);
    if (amount != 0) return true;
    LIB3_CHECK(OvLib3InDInterfaceWait(input_, kWaitMs, err_), err_);
    for (int ask = 0; ask < 2 && amount == 0; ++ask)
        LIB3_CHECK(OvLib3InDInterfaceQueryReady(input_, &amount, err_), err_);
    return amount != 0;
}

// Sizes the backgrounds, planes and DMA contexts for the input's current type.
bool OvDataTransferImpl::Reconfigure() {
    formatValid_ = false;
    LIB3_CHECK(OvLib3InDInterfaceGetType(input_, negotiated_.Get(), err_), err_);
    const uint32_t width = ReadField(negotiated_, kFieldWidth);
    const uint32_t height = ReadField(negotiated_, kFieldHeight);
    const uint64_t pixels = uint64_t(width) * height;
    if (pixels > kMaxPixels) {
        ReportHere(__LINE__, "Frame size out of range.");
        return false;
    }
    uint32_t dataType = 0, second = 0;
    uint64_t blockSize = 0;
    LIB3_CHECK(OvLib3DataheaderGetType(negotiated_.Get(), &dataType, &second, &blockSize, err_), err_);
    // The unpacker reads whole blocks; a smaller DMA block would be read past its end.
    if (blockSize < Render::Kernels::VextPartBytes(pixels)) {
        ReportHere(__LINE__, "DMA block size is smaller than the frame part.");
        return false;
    }
    width_ = width;
    height_ = height;
    pixelCount_ = uint32_t(pixels);
    for (auto& background : backgrounds_) background.resize(pixelCount_);
    dma_.Create(blockSize);
    const size_t planeWords =
        std::max<size_t>(size_t(pixelCount_) * 4 / 10 + 1024, Render::Kernels::VextPlaneWords(pixelCount_));
    for (auto& plane : planes_) plane.resize(planeWords);
    formatValid_ = true;
    return true;
}

bool OvDataTransferImpl::ReadPartOrThrow(int part) {
    if (!WaitForData()) {
        ReportHere(__LINE__, "Data size equal zero.");
        return false;
    }
    if (part == 0) {
        LIB3_CHECK(OvLib3InDInterfaceGetType(input_, justRead_.Get(), err_), err_);
        int32_t differs = 0;
        LIB3_CHECK(OvLib3DataHeaderCompare(justRead_.Get(), negotiated_.Get(), &differs, err_), err_);
        if ((differs || !formatValid_) && !Reconfigure()) return false;
    }
    if (!formatValid_) return false;
    bool blockBegun = false;
    bool dmaStarted = false;
    try {
        LIB3_CHECK(OvLib3InDInterfaceBeginBlock(input_, err_), err_);
        blockBegun = true;
        if (part == 0) RefreshAttributes(attributes_, input_, err_, kUnitPath);
        LIB3_CHECK(OvLib3InDInterfaceStartDma(input_, dma_.Context(part), err_), err_);
        dmaStarted = true;
        const ULONGLONG start = GetTickCount64();
        for (int32_t done = 0; !done;) {
            LIB3_CHECK(OvLib3InDInterfaceWait(input_, kWaitMs, err_), err_);
            LIB3_CHECK(OvLib3InDInterfaceQueryDmaEnd(input_, &done, err_), err_);
            if (!done && GetTickCount64() - start >= kTimeoutMs) {
                dmaStarted = false;
                LIB3_CHECK(OvLib3InDInterfaceCancelDma(input_, err_), err_);
                ReportHere(__LINE__, "Timeout error.");
                OvLib3InDInterfaceEndBlock(input_, err_);
                return false;
            }
        }
        dmaStarted = false;
        blockBegun = false;
        LIB3_CHECK(OvLib3InDInterfaceEndBlock(input_, err_), err_);
    } catch (const Lib3Error&) {
        // Leave the input idle so that the next frame starts clean.
        if (dmaStarted) OvLib3InDInterfaceCancelDma(input_, err_);
        if (blockBegun) OvLib3InDInterfaceEndBlock(input_, err_);
        throw;
    }
    if (mode_ == ModeLive && part == DmaContext::kParts - 1 && TransferStatus() == StatusIdle)
        LIB3_CHECK(OvLib3CallCInterface_0(control_, kFrameReadCommand, err_), err_);
    return true;
}

bool OvDataTransferImpl::ReadPart(int part) {
    return RunReported([&] { return ReadPartOrThrow(part); });
}

void OvDataTransferImpl::UnpackPart(int part) {
    if (!formatValid_) return;
    Render::Kernels::UnpackVextPart(dma_.Buffer(part), pixelCount_, planes_[part].data());
}

// The background plane of this frame: planes 0, 1, 2 for the first three
// frames after SetBackground, plane 3 from then on; null when subtraction is off.
const uint16_t* OvDataTransferImpl::NextBackground() {
    if (!backgroundEnabled_) return nullptr;
    const uint32_t plane = std::min<uint32_t>(backgroundCounter_, 3);
    if (backgroundCounter_ < 3) ++backgroundCounter_;
    const std::vector<uint16_t>& background = backgrounds_[plane];
    return background.size() >= pixelCount_ ? background.data() : nullptr;
}

bool OvDataTransferImpl::CombineInto(IOvFrame** frame, uint32_t* layout) {
    // A frame whose type could not be negotiated has nothing to combine.
    if (!formatValid_) return false;
    const uint32_t format = ReadField(negotiated_, kFieldFormat);
    IOvFrameMemBuffer* buffer = nullptr;
    frame_.GetCurrent(&buffer);
    buffer->SetFormat(width_, height_, 2);
    uint8_t* pixels = nullptr;
    buffer->GetData(&pixels);
    const uint32_t* planes[DmaContext::kParts] = {planes_[0].data(), planes_[1].data(), planes_[2].data(),
                                                  planes_[3].data()};
    const uint16_t* background = NextBackground();
    Render::Kernels::CombineVextPlanes(planes, pixelCount_, background,
                                       background ? Render::Kernels::kVextBackgroundOffset : 0,
                                       reinterpret_cast<uint16_t*>(pixels));
    *frame = &frame_;
    *layout = format == kFormatMosaic ? Bayer : Mono;
    return true;
}

// The camera prepares part k + 1 while part k is read and part k - 1 is
// unpacked. Any part that cannot be selected or read fails the frame: a frame
// combined from a stale part would show another frame's pixels as this one's.
bool OvDataTransferImpl::GetFrame(IOvFrame** frame, uint32_t* layout) {
    constexpr int kLast = DmaContext::kParts - 1;
    bool ok = SelectPart(0) && FrameReady();
    for (int part = 0; ok && part <= kLast; ++part) {
        if (part < kLast) ok = SelectPart(part + 1);
        ok = ok && ReadPart(part) && (part == kLast || FrameReady());
        if (ok && part > 0) UnpackPart(part - 1);
    }
    if (ok) {
        UnpackPart(kLast);
        ok = RunReported([&] { return CombineInto(frame, layout); });
    }
    acquisitionLock_.Leave();
    return ok;
}

bool OvDataTransferImpl::Reserved(uint32_t a, uint32_t, uint32_t c, uint32_t) {
    if (a == c) g_reservedFlag = true;
    return g_reservedFlag;
}

bool OvDataTransferImpl::GetState(int32_t* state) {
    CritSecLock guard(stateLock_);
    *state = state_;
    return true;
}

bool OvDataTransferImpl::FindAttribute(uint32_t id, IOvAddOnAttribute** attribute) {
    CritSecLock guard(acquisitionLock_);
    void* item = nullptr;
    bool found = attributes_.Find(id, 0, &item);
    *attribute = static_cast<IOvAddOnAttribute*>(item);
    return found;
}

// Under the acquisition lock: a frame being combined never sees half a background.
bool OvDataTransferImpl::SetBackground(uint32_t plane, const uint16_t* pixels) {
    if (plane > 3 || !pixels) return false;
    CritSecLock guard(acquisitionLock_);
    backgrounds_[plane].assign(pixels, pixels + pixelCount_);
    backgroundCounter_ = 0;
    return true;
}

bool OvDataTransferImpl::EnableBackground(bool enable) {
    CritSecLock guard(acquisitionLock_);
    backgroundEnabled_ = enable ? 1 : 0;
    return true;
}

}  // namespace DllModule::Lib3Wrapper::OvTypeLib::Impl::Vext
