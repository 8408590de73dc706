// Background frames of the recording panel: the camera records a short film
// with fixed settings, its first four frames become the background planes
// of the data transfer, and the user's settings come back.
#include <windows.h>
#include <commctrl.h>

#include "AppGui/AppState.h"
#include "AppGui/Framework/WaitCursor.h"
#include "AppGui/Resources/resource.h"
#include "AppGui/VextControlPanel/VextCommandBar.h"
#include "Lib3Wrapper/OvTypeLib/IOvDataTransfer.h"
#include "Lib3Wrapper/OvTypeLib/IOvFrame.h"
#include "Lib3Wrapper/OvTypeLib/IOvSystem.h"
#include "Lib3Wrapper/OvTypeLib/OptionIds.h"
#include "Render/PrivateRenderer.h"

namespace AppGui {

using namespace DllModule::Lib3Wrapper::OvTypeLib;
using namespace DllModule::Lib3Wrapper::OvTypeLib::OptionIds;

namespace {

constexpr uint32_t kBackgroundPlanes = 4;

// A scalar option's value overridden for the background film and put back
// afterwards. The value is kept in the option's own unit: a value read in a
// coarser one (percent of the memory) would not come back exactly.
class ScalarOverride {
public:
    ScalarOverride(IOvScalarOption* option, uint32_t unit, int32_t value) : option_(option) {
        saved_ = option_ && option_->GetValue(kUnitNative, &previous_);
        if (option_) option_->SetValue(unit, value);
    }
    void Restore() {
        if (saved_) option_->SetValue(kUnitNative, previous_);
    }

private:
    IOvScalarOption* option_;
    int32_t previous_ = 0;
    bool saved_ = false;
};

class EnumOverride {
public:
    EnumOverride(IOvEnumOption* option, int32_t value) : option_(option) {
        saved_ = option_ && option_->GetValue(&previous_);
        if (option_) option_->SetValue(value);
    }
    void Restore() {
        if (saved_) option_->SetValue(previous_);
    }

private:
    IOvEnumOption* option_;
    int32_t previous_ = 0;
    bool saved_ = false;
};

// Records until the camera reports the film done (1) or failed (-1); a
// camera that reports neither within kRecordLimitMs counts as failed.
constexpr DWORD kRecordLimitMs = 10000;

int32_t RecordUntilDone(IOvDataTransfer* transfer) {
    const DWORD start = GetTickCount();
    int32_t state = 0;
    do {
        if (GetTickCount() - start > kRecordLimitMs) return -1;
        int32_t index = 0;
        IOvFrame* frame = nullptr;
        uint32_t layout = 0;
        if (transfer->Acquire(&index)) transfer->GetFrame(&frame, &layout);
        if (!transfer->GetState(&state)) state = -1;
    } while (state != 1 && state != -1);
    return state;
}

bool StorePlanes(IOvDataTransfer* transfer, HWND progress) {
    for (uint32_t plane = 0; plane < kBackgroundPlanes; ++plane) {
        int32_t index = int32_t(plane);
        IOvFrame* frame = nullptr;
        IOvFrameMemBuffer* buffer = nullptr;
        uint32_t layout = 0;
        uint8_t* data = nullptr;
        if (!transfer->Acquire(&index) || !transfer->GetFrame(&frame, &layout) || !frame ||
            !frame->GetCurrent(&buffer) || !buffer || !buffer->GetData(&data) ||
            !transfer->SetBackground(plane, reinterpret_cast<const uint16_t*>(data)))
            return false;
        SendMessageW(progress, PBM_STEPIT, 0, 0);
    }
    return true;
}

}  // namespace

void VextCommandBar::BackgroundToggled() {
    IOvDataTransfer* transfer = AppState::Get().transfer;
    if (!transfer) return;
    transfer->EnableBackground(false);
    if (IsDlgButtonChecked(Handle(), IDC_VEXT_BACKGROUND) != BST_CHECKED) return;
    if (backgroundInvalid_ && mode_ == ModeSetup) AcquireBackground();
    if (AppState::Get().transfer) AppState::Get().transfer->EnableBackground(true);
}

void VextCommandBar::AcquireBackground() {
    WaitCursor wait;
    AppState& state = AppState::Get();
    IOvSystem* system = state.system;
    if (!system) return;
    SendWorker(Render::CommandPause);
    system->StopInput(true);
    HWND progress = Item(IDC_VEXT_LOADING_PROGRESS);
    ShowItem(IDC_VEXT_LOADING, true);
    ShowItem(IDC_VEXT_LOADING_PROGRESS, true);
    SendMessageW(progress, PBM_SETRANGE32, 0, 6);
    SendMessageW(progress, PBM_SETPOS, 0, 0);
    SendMessageW(progress, PBM_SETSTEP, 1, 0);

    ScalarOverride pretrigger(pretrigger_, kUnitNative, 30);
    ScalarOverride position(framePosition_, kUnitPercent, 4);
    ScalarOverride exposure(exposure_, kUnitPeriod, 2);
    EnumOverride sync(syncMode_, kSyncSoftwareStart);
    EnumOverride record(recordMode_, kRecordRing);
    SendMessageW(progress, PBM_STEPIT, 0, 0);

    IOvDataTransfer* transfer = nullptr;
    if (system->GetDataTransfer(1, &transfer) && transfer) {
        transfer->EnableBackground(false);
        const int32_t result = RecordUntilDone(transfer);
        system->StopInput(true);
        SendMessageW(progress, PBM_STEPIT, 0, 0);
        if (result == 1 && system->GetDataTransfer(2, &transfer) && transfer) {
            StorePlanes(transfer, progress);
            system->StopInput(true);
        }
        transfer->EnableBackground(true);
    }

    pretrigger.Restore();
    position.Restore();
    exposure.Restore();
    sync.Restore();
    record.Restore();

    // Also after a failed film: the camera is not asked again until a setting changes.
    backgroundInvalid_ = false;
    ShowItem(IDC_VEXT_LOADING, false);
    ShowItem(IDC_VEXT_LOADING_PROGRESS, false);
    system->GetDataTransfer(0, &state.transfer);
    SendWorker(Render::CommandRun);
}

}  // namespace AppGui
