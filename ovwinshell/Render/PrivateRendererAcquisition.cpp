// The acquisition loop of the renderer: commands, frame fetching, playback
// index, frame rate, series saving and the notifications.
#include <ctime>

#include "Lib3Wrapper/OvTypeLib/OptionLookup.h"
#include "Lib3Wrapper/OvTypeLib/OptionIds.h"
#include "PrivateRenderer.h"
#include "RenderMessages.h"

namespace Render {

using namespace DllModule::Lib3Wrapper::OvTypeLib;

namespace {
using namespace DllModule::Lib3Wrapper::OvTypeLib::OptionIds;
}  // namespace

PrivateRenderer::PrivateRenderer(RendererHost& host) : host_(host), meter_(clock()) {}

void PrivateRenderer::AcquireOne() {
    CritSecLock guard(lock_);
    if (!transfer_) return;
    transfer_->StartInput();
    HWND main = host_.MainWindow();
    if (longExposure_ && softwareStart_ && main) SendNotifyMessageW(main, UWM_EXPOSURE_STARTED, 0, 0);
}

void PrivateRenderer::SetSeries(bool on) { SetLocked(series_, on); }
void PrivateRenderer::SetNotifyWindow(HWND window) { SetLocked(notifyWindow_, window); }
void PrivateRenderer::SetSoftwareStart(bool on) { SetLocked(softwareStart_, on); }
void PrivateRenderer::SetSyncBlocking(bool on) { SetLocked(syncBlocking_, on); }
bool PrivateRenderer::SoftwareStart() { return Locked(softwareStart_); }
bool PrivateRenderer::SyncBlocking() { return Locked(syncBlocking_); }
void PrivateRenderer::SetLongExposure(bool on) { SetLocked(longExposure_, on); }
void PrivateRenderer::SetPlaybackSpeed(double speed) { SetLocked(speed_, speed); }
double PrivateRenderer::GetPlaybackSpeed() { return Locked(speed_); }
int32_t PrivateRenderer::FrameIndex() { return Locked(index_); }

bool PrivateRenderer::GetFrameRate(double* rate) {
    CritSecLock guard(lock_);
    if (!frame_) return false;
    *rate = lastRate_;
    return true;
}

bool PrivateRenderer::FetchFrame(int32_t* index, uint32_t* layout) {
    CritSecLock guard(lock_);
    if (!transfer_) transfer_ = host_.OpenTransfer();
    if (!transfer_ || !transfer_->Acquire(index)) return false;
    IOvFrame* frame = nullptr;
    if (!transfer_->GetFrame(&frame, layout)) return false;
    frame_ = frame;
    layout_ = *layout;
    binnedValid_ = false;
    accumulator_ = 1.0;
    index_ = *index;
    return true;
}

// Under the lock: the transfer and the data-format option of the open system.
void PrivateRenderer::TakeTransferAndFormat() {
    transfer_ = host_.OpenTransfer();
    IOvOption* format = FindSystemOption(host_.OpenSystem(), kDataFormat);
    dataFormat_ = format ? format->AsEnum() : nullptr;
}

void PrivateRenderer::ReloadRange() {
    TakeTransferAndFormat();
    IOvOption* rangeOption = FindSystemOption(host_.OpenSystem(), kFrameIndex);
    IOvScalarOption* scalar = rangeOption ? rangeOption->AsScalar() : nullptr;
    int32_t first = 0, last = 0;
    if (scalar && scalar->GetRange(0, &first, &last)) {
        range_ = {first, last, last - first + 1};
        index_ = first;
    } else {
        range_.count = 1;
    }
}

int32_t PrivateRenderer::DataFormat() {
    int32_t value = 0;
    if (dataFormat_ && dataFormat_->GetValue(&value)) return value;
    return 17;
}

uint32_t PrivateRenderer::Run() {
    DWORD timeout = INFINITE;
    for (;;) {
        uint32_t command = 0;
        if (!GetCommand(timeout, &command)) {
            AcquisitionStep(&timeout);
            continue;
        }
        switch (command) {
            case CommandQuit:
                return 0;
            case CommandRun: {
                CritSecLock guard(lock_);
                TakeTransferAndFormat();
                if (syncBlocking_ && transfer_) transfer_->Trigger();
                timeout = 0;
                break;
            }
            case CommandStop:
            case CommandPause: {
                CritSecLock guard(lock_);
                if (command == CommandStop) {
                    // A closed camera's transfer and options must never be used again.
                    frame_ = nullptr;
                    transfer_ = nullptr;
                    dataFormat_ = nullptr;
                    binnedValid_ = false;
                }
                lastRate_ = 0;
                accumulator_ = 0;
                timeout = INFINITE;
                break;
            }
            case CommandReloadRange: {
                CritSecLock guard(lock_);
                ReloadRange();
                break;
            }
            default:
                break;
        }
    }
}

void PrivateRenderer::AcquisitionStep(DWORD* timeout) {
    const DWORD start = GetTickCount();
    bool gotFrame = false;
    IOvDataTransfer* transfer = nullptr;
    {
        CritSecLock guard(lock_);
        transfer = transfer_;
    }
    int32_t index = NextFrameIndex(index_, accumulator_, range_);
    index_ = index;
    if (transfer && transfer->Acquire(&index)) {
        CritSecLock guard(lock_);
        IOvFrame* frame = nullptr;
        uint32_t layout = 0;
        if (transfer->GetFrame(&frame, &layout)) {
            frame_ = frame;
            layout_ = layout;
            index_ = index;
            lastRate_ = meter_.Count(clock());
            IOvFrameMemBuffer* buffer = nullptr;
            if (frame_->GetCurrent(&buffer)) DrawFrame(buffer, layout_);
            if (series_) SaveCurrentFrame();
            if (syncBlocking_) {
                *timeout = INFINITE;
                if (HWND main = host_.MainWindow()) SendNotifyMessageW(main, WM_COMMAND, kPauseResumeCommand, 0);
            }
            gotFrame = true;
        }
    }
    const DWORD elapsed = GetTickCount() - start;
    HWND notify = nullptr;
    {
        CritSecLock guard(lock_);
        accumulator_ = NextAccumulator(accumulator_, elapsed, speed_);
        notify = notifyWindow_;
    }
    if (gotFrame) {
        if (notify) SendNotifyMessageW(notify, UWM_FRAME_INDEX, 0, index_);
        if (HWND main = host_.MainWindow()) SendNotifyMessageW(main, UWM_STATUS_TICK, 0, 0);
        return;
    }
    int32_t state = 0;
    if (transfer && transfer->GetState(&state) && state == 1 && notify)
        SendNotifyMessageW(notify, UWM_SEQUENCE_END, 0, 0);
    // Without a frame the loop would spin when the transfer returns at once
    // (no camera, or a camera that fails): give the processor back briefly.
    Sleep(transfer ? 1 : 10);
}

}  // namespace Render
