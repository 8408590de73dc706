#include "OvVextDataTransferImpl.h"

#include <windows.h>

#include <algorithm>

#include "../../../Reported.h"
#include "../../OptionIds.h"

namespace DllModule::Lib3Wrapper::OvTypeLib::Impl::Vext {

namespace {
const char* const kUnitPath = ".\\Lib3Wrapper\\OvTypeLib\\Impl\\Vext\\OvVextDataTransferImpl";

constexpr uint32_t kControlInterface = 0xC0300003;
constexpr uint32_t kInputControlInterface = 0xC0300002;
constexpr uint32_t kInputInterface = 0xC0000000;

constexpr uint32_t kStartInputCommand = 0xA0000065;
constexpr uint32_t kArmInputCommand = 0xA0000064;
constexpr uint32_t kStatusCommand = 0xA0000066;
constexpr uint32_t kStopInputCommand = 0xA0000068;
constexpr uint32_t kSelectFrameCommand = 0xB0000005;
constexpr uint32_t kStatusParameter = 272;
constexpr uint32_t kStatusIdle = 3;
constexpr ULONGLONG kStopTimeoutMs = 2000;

// The process-wide flag behind Reserved; set once, never cleared.
bool g_reservedFlag = false;

struct StatusRecord {
    uint32_t status;
    uint32_t words[15];
};
}  // namespace

OvDataTransferImpl::OvDataTransferImpl(OVHANDLE system) {
    LIB3_CHECK(OvLib3SystemGetCInterface(system, OptionIds::kFrameIndex, 0, &frameIndexOption_, err_), err_);
    LIB3_CHECK(OvLib3SystemGetCInterface(system, OptionIds::kFramePosition, 0, &framePositionOption_, err_), err_);
    LIB3_CHECK(OvLib3SystemGetCInterface(system, kControlInterface, 0, &control_, err_), err_);
    LIB3_CHECK(OvLib3SystemGetCInterface(system, kInputControlInterface, 0, &inputControl_, err_), err_);
    LIB3_CHECK(OvLib3SystemGetInDInterface(system, kInputInterface, 0, &input_, err_), err_);
    OVHANDLE secondInput = 0;
    if (OvLib3SystemGetCInterface(system, kInputControlInterface, 1, &secondInput, err_) <= 0) {
        LIB3_CHECK(OvLib3CallCInterface_0(secondInput, kStartInputCommand, err_), err_);
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
        ULONGLONG start = GetTickCount64();
        for (;;) {
            if (GetTickCount64() - start >= kStopTimeoutMs) {
                MessageSink::Instance().ReportAt(ErrorTitle, kUnitPath, __LINE__, "Can't stop input contorl", true);
                return true;
            }
            StatusRecord record{};
            LIB3_CHECK(OvLib3CallCInterface_1(inputControl_, kStatusCommand, kStatusParameter, &record, err_), err_);
            if (record.status == kStatusIdle) return true;
            LIB3_CHECK(OvLib3CallCInterface_0(inputControl_, kStopInputCommand, err_), err_);
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

bool OvDataTransferImpl::Acquire(int32_t*) { return false; }

bool OvDataTransferImpl::GetFrame(IOvFrame**, uint32_t*) { return false; }

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

bool OvDataTransferImpl::SetBackground(uint32_t plane, const uint16_t* pixels) {
    if (plane > 3 || !pixels) return false;
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
