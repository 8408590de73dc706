#include "OvVextSystemImpl.h"

#include "Lib3Wrapper/Reported.h"
#include "Lib3Wrapper/OvTypeLib/Impl/OvOptionImpl.h"
#include "Lib3Wrapper/OvTypeLib/Impl/OvOptionList.h"
#include "Lib3Wrapper/OvTypeLib/Impl/OvScalarOptionImpl.h"
#include "Lib3Wrapper/OvTypeLib/Impl/OvSystemCommon.h"

namespace DllModule::Lib3Wrapper::OvTypeLib::Impl::Vext {

namespace {
const char* const kUnitPath = ".\\Lib3Wrapper\\OvTypeLib\\Impl\\Vext\\OvVextSystemImpl";
constexpr uint32_t kVextListSelector = 1;
constexpr uint32_t kTotalFramesInterface = 0x900003;
const char* const kTotalFramesName = "Total frames count";

// Option values a transfer mode expects before it is selected.
struct Preset {
    uint32_t optionId;
    bool scalar;
    int32_t value;
};
const Preset kLivePresets[] = {{0x400009, true, 2}, {0x400005, false, 37}, {0x400004, false, 33}, {0x400011, false, 2}};
const Preset kRecordingPresets[] = {{0x400009, true, 1}, {0x400011, false, 2}};
}  // namespace

OvSystemImpl::OvSystemImpl(OVHANDLE handle) : handle_(handle) {
    FillOptionsBeforeInit(options_, handle_, kVextListSelector, err_);
}

OvSystemImpl::~OvSystemImpl() {
    options_.Clear();
    // The library created the system whether or not Init succeeded: always destroy it.
    DestroyLibrarySystem(handle_, kUnitPath);
    info_.clear();
    transfer_.reset();
}

bool OvSystemImpl::Init() {
    return RunReported([&] {
        if (!libraryInitialised_ || initialised_) LIB3_CHECK(OvLib3SystemInit(handle_, err_), err_);
        libraryInitialised_ = true;
        transfer_ = std::make_unique<OvDataTransferImpl>(handle_);
        initialised_ = true;
        FillOptionsAfterInit(options_, handle_, err_);
        OVHANDLE totalFrames = 0;
        int32_t first = 0, second = 0;
        if (OvLib3SystemGetCInterface(handle_, kTotalFramesInterface, 0, &totalFrames, err_) <= 0 &&
            OvLib3GetInfoScalarVal(totalFrames, &first, &second, err_) == 0) {
            options_.Append(std::make_unique<OvScalarOptionImpl>(kTotalFramesInterface, 0, kTotalFramesName,
                                                                 OptionKindInfo, totalFrames));
        }
        info_ = ReadSystemInfo(handle_, err_);
        return true;
    });
}

bool OvSystemImpl::GetOptions(IOvEnum** options) {
    *options = &options_;
    return true;
}

// Writes the option values the mode expects; absent options are skipped.
bool OvSystemImpl::PresetOptions(uint32_t mode) {
    const Preset* begin = nullptr;
    const Preset* end = nullptr;
    if (mode == ModeLive) {
        begin = std::begin(kLivePresets);
        end = std::end(kLivePresets);
    } else if (mode == ModeRecording) {
        begin = std::begin(kRecordingPresets);
        end = std::end(kRecordingPresets);
    }
    for (const Preset* preset = begin; preset != end; ++preset) {
        void* item = nullptr;
        if (!options_.Find(preset->optionId, 0, &item)) continue;
        auto* option = static_cast<IOvOption*>(item);
        bool written = false;
        if (preset->scalar && option->AsScalar())
            written = option->AsScalar()->SetValue(0, preset->value);
        else if (!preset->scalar && option->AsEnum())
            written = option->AsEnum()->SetValue(preset->value);
        if (!written) return false;
    }
    return true;
}

bool OvSystemImpl::GetDataTransfer(uint32_t mode, IOvDataTransfer** transfer) {
    *transfer = nullptr;
    if (!transfer_ || mode > ModePlayback) return false;
    if (!PresetOptions(mode) || !transfer_->SelectMode(static_cast<int32_t>(mode))) return false;
    *transfer = transfer_.get();
    return true;
}

bool OvSystemImpl::StopInput(bool wait) { return transfer_ ? transfer_->StopInput(wait) : false; }

bool OvSystemImpl::LockAcquisition() { return transfer_ ? transfer_->LockIfLive() : true; }

bool OvSystemImpl::UnlockAcquisition() { return transfer_ ? transfer_->UnlockIfLive() : true; }

}  // namespace DllModule::Lib3Wrapper::OvTypeLib::Impl::Vext
