#include "OvZelDataTransferImpl.h"

#include <windows.h>

#include "Lib3Wrapper/Reported.h"

namespace DllModule::Lib3Wrapper::OvTypeLib::Impl::Zel {

namespace {
const char* const kUnitPath = ".\\Lib3Wrapper\\OvTypeLib\\Impl\\Zel\\OvZelDataTransferImpl";

constexpr OVHANDLE kNoInterface = static_cast<OVHANDLE>(-1);
constexpr uint32_t kInputControlInterface = 0xC0300002;
constexpr uint32_t kControlInterface = 0xC0300003;
constexpr uint32_t kInputInterface = 0xC0000000;
constexpr uint32_t kStartExposureCommand = 0xB0000003;
constexpr uint32_t kStartInputCommand = 0xA0000065;

constexpr uint32_t kReadyWaitMs = 500;
constexpr uint32_t kDmaTimeoutMs = 2000;

// Data header fields and codes.
constexpr uint32_t kDataTypeFields2 = 2;  // width and height in fields 7 and 8
constexpr uint32_t kDataTypeFields3 = 3;  // width and height in fields 4 and 5
constexpr uint32_t kFieldFormat = 9;
constexpr uint32_t kFieldOutputFlags = 10;
constexpr uint32_t kFieldBitsPerPixel = 11;
constexpr uint32_t kOutputFlags = 0x20000;
constexpr uint32_t kFormatMosaic = 0x10002;
constexpr uint32_t kFormatColourA = 0x10003;
constexpr uint32_t kFormatColourB = 0x10004;

bool IsColourFormat(uint32_t format) { return format == kFormatColourA || format == kFormatColourB; }

uint64_t Now() {
    LARGE_INTEGER counter;
    QueryPerformanceCounter(&counter);
    return static_cast<uint64_t>(counter.QuadPart);
}

uint64_t ToMicroseconds(uint64_t ticks) {
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return ticks * 1000000ull / static_cast<uint64_t>(frequency.QuadPart);
}
}  // namespace

OvDataTransferImpl::OvDataTransferImpl(OVHANDLE system) : inputControl_(kNoInterface) {
    LIB3_CHECK(OvLib3SystemGetCInterface(system, kControlInterface, 0, &control_, err_), err_);
    LIB3_CHECK(OvLib3SystemGetInDInterface(system, kInputInterface, 0, &input_, err_), err_);
    OVHANDLE inputControl = 0;
    if (OvLib3SystemGetCInterface(system, kInputControlInterface, 0, &inputControl, err_) <= 0)
        inputControl_ = inputControl;
}

OvDataTransferImpl::~OvDataTransferImpl() = default;

void OvDataTransferImpl::HandOut() {
    CritSecLock guard(acquisitionLock_);
    modeHandedOut_ = 0;
    method_ = MethodUnknown;
}

bool OvDataTransferImpl::LockIfHandedOut() {
    if (modeHandedOut_ != 0) return false;
    acquisitionLock_.Enter();
    return true;
}

bool OvDataTransferImpl::UnlockIfHandedOut() {
    if (modeHandedOut_ != 0) return false;
    acquisitionLock_.Leave();
    return true;
}

bool OvDataTransferImpl::TouchDecodeOption() {
    CritSecLock guard(acquisitionLock_);
    return true;
}

bool OvDataTransferImpl::StartInput() {
    if (inputControl_ == kNoInterface) return false;
    return RunReported([&] {
        LIB3_CHECK(OvLib3CallCInterface_0(control_, kStartExposureCommand, err_), err_);
        LIB3_CHECK(OvLib3CallCInterface_0(inputControl_, kStartInputCommand, err_), err_);
        return true;
    });
}

bool OvDataTransferImpl::Trigger() {
    return RunReported([&] {
        LIB3_CHECK(OvLib3CallCInterface_0(control_, kStartExposureCommand, err_), err_);
        return true;
    });
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

bool OvDataTransferImpl::GetStatistics(uint32_t* frames, uint64_t* bytes, uint64_t* microseconds) {
    CritSecLock guard(acquisitionLock_);
    *frames = frameCount_;
    *bytes = byteCount_;
    *microseconds = microseconds_;
    return true;
}

uint32_t OvDataTransferImpl::ReadField(const Lib3DataHeader& header, uint32_t field) {
    uint32_t value = 0;
    LIB3_CHECK(OvLib3DataheaderGetU32(header.Get(), field, &value, err_), err_);
    return value;
}

void OvDataTransferImpl::WriteField(const Lib3DataHeader& header, uint32_t field, uint32_t value) {
    LIB3_CHECK(OvLib3DataheaderSetU32(header.Get(), field, value, err_), err_);
}

// True once the input has data, after at most one wait.
bool OvDataTransferImpl::WaitReady() {
    uint64_t amount = 0;
    LIB3_CHECK(OvLib3InDInterfaceQueryReady(input_, &amount, err_), err_);
    if (amount != 0) return true;
    OvLib3InDInterfaceWait(input_, kReadyWaitMs, err_);
    LIB3_CHECK(OvLib3InDInterfaceQueryReady(input_, &amount, err_), err_);
    return amount != 0;
}

bool OvDataTransferImpl::Acquire(int32_t*) {
    acquisitionLock_.Enter();
    bool acquired = RunReported([&] {
        if (!WaitReady()) return false;
        if (method_ == MethodUnknown) return Probe();
        return AcquireWithMethod();
    });
    if (!acquired) acquisitionLock_.Leave();
    return acquired;
}

void OvDataTransferImpl::ResetStatistics() {
    frameCount_ = 0;
    byteCount_ = 0;
    microseconds_ = 0;
}

void OvDataTransferImpl::Renegotiate() {
    ResetStatistics();
    LIB3_CHECK(OvLib3InDInterfaceGetType(input_, negotiated_.Get(), err_), err_);
    uint32_t dataType = 0, second = 0;
    LIB3_CHECK(OvLib3DataheaderGetType(negotiated_.Get(), &dataType, &second, &blockSize_, err_), err_);
    if (dataType == kDataTypeFields2) {
        width_ = ReadField(negotiated_, 7);
        height_ = ReadField(negotiated_, 8);
    } else if (dataType == kDataTypeFields3) {
        width_ = ReadField(negotiated_, 4);
        height_ = ReadField(negotiated_, 5);
    }

    uint32_t format = ReadField(negotiated_, kFieldFormat);
    if (format == kFormatMosaic) {
        LIB3_CHECK(OvLib3DataheaderCopy(intermediate_.Get(), negotiated_.Get(), err_), err_);
        WriteField(intermediate_, kFieldBitsPerPixel, 16);
        WriteField(intermediate_, kFieldOutputFlags, kOutputFlags);
        uint64_t needed = 0;
        LIB3_CHECK(OvLib3Codec(negotiated_.Get(), nullptr, static_cast<uint32_t>(blockSize_),
                               static_cast<uint32_t>(blockSize_ >> 32), intermediate_.Get(), nullptr, 0, &needed, err_),
                   err_);
        intermediateSize_ = static_cast<uint32_t>(needed);
        intermediateBuffer_.resize(intermediateSize_);
    }
    LIB3_CHECK(OvLib3DataheaderCopy(output_.Get(), negotiated_.Get(), err_), err_);
    WriteField(output_, kFieldOutputFlags, kOutputFlags);
    if (format == kFormatMosaic || IsColourFormat(format)) {
        outputBytesPerPixel_ = 6;
        WriteField(output_, kFieldFormat, kFormatColourB);
        WriteField(output_, kFieldBitsPerPixel, 48);
    } else {
        outputBytesPerPixel_ = 2;
        WriteField(output_, kFieldBitsPerPixel, 16);
    }
}

// One DMA transfer of the probe; any failure drops the context and is not reported.
bool OvDataTransferImpl::TryDma() {
    try {
        dma_ = std::make_unique<ZelDmaContext>();
        dma_->Create(blockSize_);
        LIB3_CHECK(OvLib3InDInterfaceStartDma(input_, dma_->Context(), err_), err_);
        ULONGLONG start = GetTickCount64();
        for (;;) {
            int32_t done = 0;
            LIB3_CHECK(OvLib3InDInterfaceQueryDmaEnd(input_, &done, err_), err_);
            if (GetTickCount64() - start >= kDmaTimeoutMs) {
                LIB3_CHECK(OvLib3InDInterfaceCancelDma(input_, err_), err_);
                ReportDmaTimeout(__LINE__);
                dma_.reset();
                return false;
            }
            if (done) return true;
        }
    } catch (const Lib3Error&) {
        dma_.reset();
        return false;
    }
}

bool OvDataTransferImpl::Probe() {
    negotiatedValid_ = false;
    Renegotiate();
    if (!WaitReady()) return false;
    LIB3_CHECK(OvLib3InDInterfaceBeginBlock(input_, err_), err_);
    if (TryDma()) {
        method_ = MethodDma;
    } else {
        raw_.resize(blockSize_);
        uint64_t count = 0;
        if (OvLib3InDInterfaceTransfer(input_, raw_.data(), raw_.size(), &count, err_) <= 0) {
            method_ = MethodBlock;
        } else if (OvLib3InDInterfacePIOTransfer(input_, raw_.data(), raw_.size(), &count, err_) <= 0) {
            method_ = MethodPio;
        } else {
            method_ = MethodUnknown;
            // Close the block before reporting so that the next probe can begin a new one.
            Lib3Error error(err_, kUnitPath, __LINE__);
            OvLib3InDInterfaceEndBlock(input_, err_);
            throw error;
        }
    }
    LIB3_CHECK(OvLib3InDInterfaceEndBlock(input_, err_), err_);
    negotiatedValid_ = true;
    return true;
}

// Leaves the input idle after a failed acquisition so that the next one starts clean.
void OvDataTransferImpl::CancelAndEndBlock(bool dmaStarted, bool blockBegun) {
    if (dmaStarted && OvLib3InDInterfaceCancelDma(input_, err_) <= 0) {
        ULONGLONG start = GetTickCount64();
        for (int32_t done = 0; !done && GetTickCount64() - start < kDmaTimeoutMs;)
            if (OvLib3InDInterfaceQueryDmaEnd(input_, &done, err_) > 0) break;
    }
    if (blockBegun) OvLib3InDInterfaceEndBlock(input_, err_);
}

void OvDataTransferImpl::ReportDmaTimeout(int line) {
    MessageSink::Instance().ReportAt(ErrorTitle, kUnitPath, line, "OvLib3InDInterfaceQueryDmaEnd(..). Timeout error.",
                                     true);
}

bool OvDataTransferImpl::AcquireWithMethod() {
    if (method_ != MethodDma && method_ != MethodBlock && method_ != MethodPio) return false;
    LIB3_CHECK(OvLib3InDInterfaceGetType(input_, justRead_.Get(), err_), err_);
    int32_t differs = 0;
    LIB3_CHECK(OvLib3DataHeaderCompare(justRead_.Get(), negotiated_.Get(), &differs, err_), err_);
    if (differs || !negotiatedValid_) {
        negotiatedValid_ = false;
        Renegotiate();
        if (method_ == MethodDma)
            dma_->Create(blockSize_);
        else
            raw_.resize(blockSize_);
        negotiatedValid_ = true;
    }

    uint64_t start = Now();
    bool begun = false;
    bool dmaStarted = false;
    try {
        LIB3_CHECK(OvLib3InDInterfaceBeginBlock(input_, err_), err_);
        begun = true;
        RefreshAttributes(attributes_, input_, err_, kUnitPath);
        uint64_t count = 0;
        if (method_ == MethodDma) {
            LIB3_CHECK(OvLib3InDInterfaceStartDma(input_, dma_->Context(), err_), err_);
            dmaStarted = true;
            // A transfer that never ends would stall the worker and, through it, the GUI.
            ULONGLONG dmaStart = GetTickCount64();
            for (int32_t done = 0; !done;) {
                LIB3_CHECK(OvLib3InDInterfaceQueryDmaEnd(input_, &done, err_), err_);
                if (!done && GetTickCount64() - dmaStart >= kDmaTimeoutMs) {
                    CancelAndEndBlock(true, true);
                    ReportDmaTimeout(__LINE__);
                    return false;
                }
            }
            dmaStarted = false;
        } else if (method_ == MethodBlock) {
            LIB3_CHECK(OvLib3InDInterfaceTransfer(input_, raw_.data(), raw_.size(), &count, err_), err_);
        } else {
            LIB3_CHECK(OvLib3InDInterfacePIOTransfer(input_, raw_.data(), raw_.size(), &count, err_), err_);
        }
        begun = false;
        LIB3_CHECK(OvLib3InDInterfaceEndBlock(input_, err_), err_);
    } catch (const Lib3Error&) {
        CancelAndEndBlock(dmaStarted, begun);
        throw;
    }
    microseconds_ += ToMicroseconds(Now() - start);
    byteCount_ += blockSize_;
    ++frameCount_;

    if (differs && method_ == MethodDma && ReadField(justRead_, kFieldFormat) != kFormatMosaic) {
        uint64_t needed = 0;
        LIB3_CHECK(OvLib3Codec(negotiated_.Get(), dma_->Buffer(), static_cast<uint32_t>(blockSize_),
                               static_cast<uint32_t>(blockSize_ >> 32), output_.Get(), nullptr, 0, &needed, err_),
                   err_);
    }
    return true;
}

bool OvDataTransferImpl::GetFrame(IOvFrame** frame, uint32_t* layout) {
    bool decoded = RunReported([&] {
        if (!negotiatedValid_) return false;
        const uint8_t* source = nullptr;
        if (method_ == MethodDma && dma_)
            source = dma_->Buffer();
        else if (method_ == MethodBlock || method_ == MethodPio)
            source = raw_.data();
        if (!source) return false;

        IOvFrameMemBuffer* buffer = nullptr;
        frame_.GetCurrent(&buffer);
        buffer->SetFormat(width_, height_, outputBytesPerPixel_);
        uint8_t* pixels = nullptr;
        buffer->GetData(&pixels);
        uint64_t outputSize = static_cast<uint64_t>(width_) * height_ * outputBytesPerPixel_;
        uint32_t sizeLow = static_cast<uint32_t>(blockSize_);
        uint32_t sizeHigh = static_cast<uint32_t>(blockSize_ >> 32);
        uint64_t produced = 0;

        uint32_t format = ReadField(negotiated_, kFieldFormat);
        if (decodeFlags_[0]) {
            if (format == kFormatMosaic) {
                LIB3_CHECK(OvLib3Codec(negotiated_.Get(), source, sizeLow, sizeHigh, intermediate_.Get(),
                                       intermediateBuffer_.data(), intermediateSize_, &produced, err_),
                           err_);
                LIB3_CHECK(OvLib3Codec(intermediate_.Get(), intermediateBuffer_.data(), intermediateSize_, 0,
                                       output_.Get(), pixels, outputSize, &produced, err_),
                           err_);
            } else {
                LIB3_CHECK(OvLib3Codec(negotiated_.Get(), source, sizeLow, sizeHigh, output_.Get(), pixels, outputSize,
                                       &produced, err_),
                           err_);
            }
        }
        *frame = &frame_;
        *layout = (format == kFormatMosaic || IsColourFormat(format)) ? Bgr : Mono;
        return true;
    });
    acquisitionLock_.Leave();
    return decoded;
}

}  // namespace DllModule::Lib3Wrapper::OvTypeLib::Impl::Zel
