#pragma once
// The one object that fetches frames on a worker thread and shows them on
// the registered surfaces: the acquisition loop (PrivateRendererAcquisition.cpp)
// and the DirectDraw display side (PrivateRendererDisplay.cpp).
#include <windows.h>
#include <ddraw.h>

#include <cstdint>
#include <vector>

#include "Common/CritSec.h"
#include "Lib3Wrapper/OvTypeLib/IOvDataTransfer.h"
#include "Lib3Wrapper/OvTypeLib/IOvOption.h"
#include "PlaybackIndex.h"
#include "RendererHost.h"
#include "Worker.h"

namespace Render {

class Surface;
struct FrameImage;

constexpr UINT kPauseResumeCommand = 40030;

class PrivateRenderer : public Worker {
public:
    explicit PrivateRenderer(RendererHost& host);
    ~PrivateRenderer() override;

    // Acquisition settings, from the GUI thread.
    void AcquireOne();
    void SetSeries(bool on);
    void SetNotifyWindow(HWND window);
    void SetSoftwareStart(bool on);
    bool SoftwareStart();
    void SetSyncBlocking(bool on);
    bool SyncBlocking();
    void SetLongExposure(bool on);
    void SetPlaybackSpeed(double speed);
    double GetPlaybackSpeed();
    // Synchronous fetch for the recording panel while the worker is not polling.
    bool FetchFrame(int32_t* index, uint32_t* layout);
    bool GetFrameRate(double* rate);
    int32_t FrameIndex();

    // Display.
    bool InitDisplay(HWND mainWindow);
    void AddSurface(Surface* surface);
    void RemoveSurface(Surface* surface);
    bool ResizeSurface(Surface* surface, uint32_t width, uint32_t height);
    // Bins, draws and blits one frame; the caller holds the renderer lock.
    void DrawFrame(DllModule::Lib3Wrapper::OvTypeLib::IOvFrameMemBuffer* buffer, uint32_t layout);
    void Redraw();
    void SetGainShift(uint32_t shift);
    uint32_t GainShift();
    void SetBinning(uint32_t factor);
    uint32_t Binning();
    // values receive 1 (grey) or 3 (blue, green, red) samples.
    bool GetPixel(int32_t x, int32_t y, uint32_t values[3], uint32_t* count);
    bool SaveCurrentFrame();

    CritSec& Lock() { return lock_; }

protected:
    uint32_t Run() override;

private:
    // The GUI's settings are written and read under the renderer lock.
    template <class T>
    void SetLocked(T& field, T value) {
        CritSecLock guard(lock_);
        field = value;
    }
    template <class T>
    T Locked(const T& field) {
        CritSecLock guard(lock_);
        return field;
    }
    void TakeTransferAndFormat();
    void ReloadRange();
    void AcquisitionStep(DWORD* timeout);
    int32_t DataFormat();
    // The samples that are shown: the frame's own, or the binning buffer.
    bool ShownImage(FrameImage* image);
    // Copies a drawn surface onto its window (clipped to what is visible).
    void Present(Surface& surface);

    RendererHost& host_;

    // Acquisition state.
    FrameRateMeter meter_;
    double lastRate_ = 0;
    DllModule::Lib3Wrapper::OvTypeLib::IOvDataTransfer* transfer_ = nullptr;
    DllModule::Lib3Wrapper::OvTypeLib::IOvFrame* frame_ = nullptr;
    DllModule::Lib3Wrapper::OvTypeLib::IOvEnumOption* dataFormat_ = nullptr;
    int32_t index_ = 0;
    PlaybackRange range_;
    double accumulator_ = 0;
    double speed_ = 1.0;
    uint32_t layout_ = 0;
    HWND notifyWindow_ = nullptr;
    bool series_ = false;
    bool longExposure_ = false;
    bool softwareStart_ = false;
    bool syncBlocking_ = false;

    // Display state.
    uint32_t gainShift_ = 0;
    uint32_t binning_ = 1;
    bool resizeBinned_ = false;
    std::vector<uint16_t> binned_;
    bool binnedValid_ = false;  // the buffer holds the current frame, binned
    uint32_t saveCounter_ = 0;
    bool saveFailing_ = false;  // the last save failed
    CritSec lock_;
    IDirectDraw7* directDraw_ = nullptr;
    IDirectDrawSurface7* primary_ = nullptr;
    IDirectDrawClipper* clipper_ = nullptr;
    std::vector<Surface*> surfaces_;
};

}  // namespace Render
